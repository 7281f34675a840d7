#ifndef REMOVECOMMAND_H
#define REMOVECOMMAND_H

#include "removaloptions.h"
#include "runlock.h"

#include <QString>
#include <QStringList>

#include <optional>

class CommandLine;
class Console;
class ConsoleObserver;
class RunReport;

// remedor-cli remove: the wizard's removal run for the editions named on the command line,
// each step printed as it happens, ending in Windows Installer's exit code for the whole and,
// when asked for, a report of it. Nothing is touched unless the process is elevated, the
// registry can be read and no other run is under way.
class RemoveCommand
{
public:
    RemoveCommand(Console &console, const CommandLine &commandLine);
    int run();

private:
    std::optional<int> refusal(RunReport &report);
    std::optional<int> takeRunLock(RunReport &report);
    int perform(RunReport &report);
    QString heading() const;
    int finishDryRun(const RunReport &report, const ConsoleObserver &observer, bool stopped,
                     bool hiveUnread);
    QStringList closeOutputs(const RunReport &report, int code) const;
    static QString notes(const QStringList &problems);

    Console &m_console;
    const CommandLine &m_commandLine;
    RemovalOptions m_options;
    RunLock m_runLock;
};

#endif // REMOVECOMMAND_H
