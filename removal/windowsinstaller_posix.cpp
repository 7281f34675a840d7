#include "windowsinstaller.h"

#include <QStandardPaths>

// Off Windows the installer is whatever "msiexec.exe" comes first on PATH.
QString WindowsInstaller::programPath(const QString &program)
{
    return QStandardPaths::findExecutable(program);
}

// A POSIX exit status keeps only the low byte of a Windows Installer code.
InstallerOutcome::Status WindowsInstaller::statusForExitCode(int exitCode)
{
    constexpr auto lowByte = [](int code) {
        return code & 0xff;
    };
    if (exitCode == 0)
        return InstallerOutcome::Succeeded;
    if (exitCode == lowByte(1605))
        return InstallerOutcome::NotInstalled;
    if (exitCode == lowByte(1641) || exitCode == lowByte(3010))
        return InstallerOutcome::RestartRequired;
    return InstallerOutcome::Failed;
}
