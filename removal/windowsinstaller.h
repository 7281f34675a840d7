#ifndef WINDOWSINSTALLER_H
#define WINDOWSINSTALLER_H

#include "installeroutcome.h"

#include <QString>

class QProcess;

// Runs one Windows Installer command line ("msiexec.exe /X{…} …") and waits for it
// without a time limit. The build picks how the program is found and how its exit code
// reads: on Windows the installer in the system folder, never one beside the wizard or in
// the current folder; elsewhere "msiexec.exe" on PATH, whose POSIX exit status carries
// only the low byte of a Windows Installer code.
class WindowsInstaller
{
public:
    static InstallerOutcome run(const QString &displayName, const QString &commandLine);

private:
    static InstallerOutcome::Status statusForExitCode(int exitCode);
    // The platform's part: where the program is, how an exit code reads, and keeping a
    // Ctrl+C pressed in the console from reaching the installer, which is always left to
    // finish its work.
    static QString programPath(const QString &program);
    static bool exitCodeMeans(int exitCode, int windowsInstallerCode);
    static void shieldFromConsoleInterrupt(QProcess &installer);
};

#endif // WINDOWSINSTALLER_H
