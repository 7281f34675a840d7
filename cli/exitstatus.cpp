#include "exitstatus.h"

void ExitStatus::addInstaller(const InstallerOutcome &outcome)
{
    if (outcome.status == InstallerOutcome::AnotherInstallation)
        m_anotherInstallation = true;
    else if (outcome.isFailure())
        m_failed = true;
    else if (outcome.status == InstallerOutcome::RestartRequired)
        m_restartRequired = true;
}

void ExitStatus::addKey(const KeyRemoval &removal)
{
    if (removal.isFailure())
        m_failed = true;
}

void ExitStatus::addNotAttempted(RemovalObserver::NotAttempted reason)
{
    if (reason == RemovalObserver::NotAttempted::TimeLimitPassed)
        m_failed = true;
}

ExitStatus::Code ExitStatus::code() const
{
    if (m_failed)
        return Failure;
    if (m_cancelled)
        return Cancelled;
    if (m_anotherInstallation)
        return AnotherInstallation;
    if (m_restartRequired)
        return RestartRequired;
    return Success;
}

QString ExitStatus::describe(Code code)
{
    switch (code) {
    case Success:
        return QStringLiteral("everything succeeded");
    case NotElevated:
        return QStringLiteral("not elevated");
    case UsageError:
        return QStringLiteral("usage error");
    case Failure:
        return QStringLiteral("something failed");
    case Cancelled:
        return QStringLiteral("stopped on request");
    case AnotherInstallation:
        return QStringLiteral("another installation was in progress: retry later");
    case RestartRequired:
        return QStringLiteral("succeeded; restart the computer to complete the removal");
    }
    return QString();
}

void ExitStatus::addUserHive(const UserHive &hive)
{
    if (hive.isFailure())
        m_failed = true;
    if (hive.reach == UserHive::NotLoadable)
        m_userHiveNotLoaded = true;
}
