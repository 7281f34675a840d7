#include "windowsinstaller.h"

#include <QStandardPaths>

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
