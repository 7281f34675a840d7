#ifndef OUTPUTCHECK_H
#define OUTPUTCHECK_H

#include <QString>

class CommandLine;

// Every file and folder a remove run will write (--log, --report, --backup, the --msi-log
// folder and the installer logs it will hold), checked before anything is created or started:
// each must obey OutputFile's rules (no link, one hard link, the program's own), and no two may
// be one file, however they are spelled.
class OutputCheck
{
public:
    // Why the run may not write its outputs, naming the path; empty when it may.
    static QString problem(const CommandLine &commandLine);
};

#endif // OUTPUTCHECK_H
