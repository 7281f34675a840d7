#include "windowsinstaller.h"

#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

// Off Windows the installer is whatever "msiexec.exe" comes first on PATH.
QString WindowsInstaller::programPath(const QString &program)
{
    return QStandardPaths::findExecutable(program);
}

// A POSIX exit status keeps only the low byte of a Windows Installer code.
bool WindowsInstaller::exitCodeMeans(int exitCode, int windowsInstallerCode)
{
    return exitCode == (windowsInstallerCode & 0xff);
}

// A terminal sends Ctrl+C's SIGINT to its whole foreground process group; in a group of
// its own the installer does not get it.
void WindowsInstaller::shieldFromConsoleInterrupt(QProcess &installer)
{
    installer.setChildProcessModifier([] { setpgid(0, 0); });
}
