#ifndef WINDOWSINSTALLER_H
#define WINDOWSINSTALLER_H

#include "installeroutcome.h"
#include "productstate.h"

#include <QString>

// Runs one Windows Installer command line ("msiexec.exe /X{…} …") and waits for it. The
// build picks how the program is found, started and waited for: on Windows the installer in
// the system folder, never one beside the wizard or in the current folder; elsewhere
// "msiexec.exe" on PATH, whose POSIX exit status carries only the low byte of a Windows
// Installer code. Either way the installer runs in a process group of its own, so that a
// Ctrl+C pressed in the console never reaches it: it is always left to finish its work.
class WindowsInstaller
{
public:
    // Waits at most timeoutMs milliseconds, or as long as it takes when it is negative. An
    // installer still running then is left alone (TimedOut): cutting off a Windows Installer
    // transaction half-way is what must never happen.
    static InstallerOutcome run(const QString &displayName, const QString &commandLine,
                                int timeoutMs = -1);

    // On Windows Windows Installer's own answer; on the stand-in Installed when there is a
    // registration under HKEY_CLASSES_ROOT\Installer\Products in any letter case, as
    // Windows Installer would find it, and Unknown otherwise.
    static ProductState productState(const QString &productCode);

private:
    static InstallerOutcome::Status statusForExitCode(int exitCode);

    // The platform's part: how the process ended.
    struct Ending
    {
        enum How { Exited, Crashed, NotStarted, TimedOut } how = NotStarted;
        int exitCode = 0;
        QString detail; // why it did not start, or how it crashed
    };
    static Ending execute(const QString &commandLine, int timeoutMs);
    static bool exitCodeMeans(int exitCode, int windowsInstallerCode);
};

#endif // WINDOWSINSTALLER_H
