#include "windowsinstaller.h"

InstallerOutcome WindowsInstaller::run(const QString &displayName, const QString &commandLine,
                                       int timeoutMs)
{
    const Ending ending = execute(commandLine, timeoutMs);
    InstallerOutcome outcome { displayName, InstallerOutcome::NotStarted, 0, ending.detail };
    switch (ending.how) {
    case Ending::NotStarted:
        break;
    case Ending::TimedOut:
        outcome.status = InstallerOutcome::TimedOut;
        break;
    case Ending::Crashed:
        outcome.status = InstallerOutcome::Crashed;
        outcome.exitCode = ending.exitCode;
        break;
    case Ending::Exited:
        outcome.status = statusForExitCode(ending.exitCode);
        outcome.exitCode = ending.exitCode;
        break;
    }
    return outcome;
}

InstallerOutcome::Status WindowsInstaller::statusForExitCode(int exitCode)
{
    // 1707 is "Installation operation completed successfully", which deployment systems
    // read as success too.
    if (exitCode == 0 || exitCodeMeans(exitCode, 1707))
        return InstallerOutcome::Succeeded;
    if (exitCodeMeans(exitCode, 1605))
        return InstallerOutcome::NotInstalled;
    if (exitCodeMeans(exitCode, 1641) || exitCodeMeans(exitCode, 3010))
        return InstallerOutcome::RestartRequired;
    if (exitCodeMeans(exitCode, 1618))
        return InstallerOutcome::AnotherInstallation;
    return InstallerOutcome::Failed;
}
