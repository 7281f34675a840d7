#include "windowsinstaller.h"

#include <QProcess>

InstallerOutcome WindowsInstaller::run(const QString &displayName, const QString &commandLine)
{
    InstallerOutcome outcome;
    outcome.displayName = displayName;

    QStringList arguments = QProcess::splitCommand(commandLine);
    const QString program = arguments.isEmpty() ? QString() : programPath(arguments.takeFirst());
    if (program.isEmpty())
        return outcome; // NotStarted

    QProcess installer;
    shieldFromConsoleInterrupt(installer);
    installer.start(program, arguments, QIODevice::ReadWrite);
    installer.waitForFinished(-1);
    if (installer.error() == QProcess::FailedToStart)
        return outcome;
    if (installer.exitStatus() == QProcess::CrashExit) {
        outcome.status = InstallerOutcome::Crashed;
        return outcome;
    }
    outcome.exitCode = installer.exitCode();
    outcome.status = statusForExitCode(outcome.exitCode);
    return outcome;
}

InstallerOutcome::Status WindowsInstaller::statusForExitCode(int exitCode)
{
    if (exitCode == 0)
        return InstallerOutcome::Succeeded;
    if (exitCodeMeans(exitCode, 1605))
        return InstallerOutcome::NotInstalled;
    if (exitCodeMeans(exitCode, 1641) || exitCodeMeans(exitCode, 3010))
        return InstallerOutcome::RestartRequired;
    if (exitCodeMeans(exitCode, 1618))
        return InstallerOutcome::AnotherInstallation;
    return InstallerOutcome::Failed;
}
