#ifndef REMOVECOMMAND_H
#define REMOVECOMMAND_H

#include <QString>

class CommandLine;
class Console;
class ConsoleObserver;

// remedor-cli remove: the wizard's removal run for the editions named on the command line,
// each step printed as it happens, ending in Windows Installer's exit code for the whole.
// Nothing is touched unless the process is elevated and the registry can be read.
class RemoveCommand
{
public:
    RemoveCommand(Console &console, const CommandLine &commandLine);
    int run();

private:
    QString heading() const;
    int finishDryRun(const ConsoleObserver &observer, bool stopped);

    Console &m_console;
    const CommandLine &m_commandLine;
};

#endif // REMOVECOMMAND_H
