#include "consoleobserver.h"

#include "console.h"
#include "editioncatalogue.h"
#include "exitstatus.h"
#include "profilehive.h"
#include "registrypaths.h"

ConsoleObserver::ConsoleObserver(Console &console, ExitStatus &status)
    : m_console(console)
    , m_status(status)
{
}

void ConsoleObserver::print(const QString &text)
{
    m_console.print(m_package + QLatin1String(": ") + text);
}

void ConsoleObserver::installerStarting(const QString &displayName, const QString &commandLine)
{
    m_package = displayName;
    print(QLatin1String("running ") + commandLine);
}

void ConsoleObserver::installerFinished(const InstallerOutcome &outcome, qint64 milliseconds)
{
    m_status.addInstaller(outcome);
    print(
        QStringLiteral("%1 in %2 s").arg(describe(outcome)).arg(milliseconds / 1000.0, 0, 'f', 3));
}

// The exit code as the platform passed it on; off Windows only its low byte.
QString ConsoleObserver::describe(const InstallerOutcome &outcome)
{
    const QString code = QString::number(outcome.exitCode);
    switch (outcome.status) {
    case InstallerOutcome::Succeeded:
        return QStringLiteral("installer succeeded (exit code %1)").arg(code);
    case InstallerOutcome::NotInstalled:
        return QStringLiteral("installer found nothing to uninstall (exit code %1)").arg(code);
    case InstallerOutcome::RestartRequired:
        return QStringLiteral("installer succeeded, a restart is required (exit code %1)")
            .arg(code);
    case InstallerOutcome::AnotherInstallation:
        return QStringLiteral("installer failed: another installation is in progress "
                              "(exit code %1)")
            .arg(code);
    case InstallerOutcome::Failed:
        return QStringLiteral("installer failed (exit code %1)").arg(code);
    case InstallerOutcome::Crashed:
        return QStringLiteral("installer stopped unexpectedly");
    case InstallerOutcome::NotStarted:
        return QStringLiteral("installer could not be started");
    }
    return QString();
}

void ConsoleObserver::keyRemoved(const KeyRemoval &removal)
{
    m_status.addKey(removal);
    switch (removal.status) {
    case KeyRemoval::Removed:
        print(QLatin1String("key removed: ") + removal.path);
        break;
    case KeyRemoval::NotThere:
        print(QLatin1String("key not there: ") + removal.path);
        break;
    case KeyRemoval::Failed:
        print(
            QStringLiteral("key could not be removed: %1 (%2)").arg(removal.path, removal.reason));
        break;
    }
}

void ConsoleObserver::registrationsKept(const InstallerOutcome &outcome)
{
    const bool suite = outcome.displayName == EditionCatalogue::suiteDisplayName();
    print(QStringLiteral("%1 kept, because the installer failed (--force removes them)")
              .arg(suite ? QStringLiteral("registrations and the bootstrapper's entry")
                         : QStringLiteral("registrations")));
}

void ConsoleObserver::installerPlanned(const QString &displayName, const QString &commandLine)
{
    m_package = displayName;
    ++m_plannedInstallers;
    print(QLatin1String("would run ") + commandLine);
}

void ConsoleObserver::keyPlanned(const QString &path)
{
    ++m_plannedKeys;
    print(QLatin1String("would remove key: ") + path);
}

void ConsoleObserver::userHiveReached(const UserHive &hive)
{
    m_status.addUserHive(hive);
    print(describe(hive));
}

QString ConsoleObserver::describe(const UserHive &hive)
{
    const QString name = QLatin1String("user hive ") + hive.sid;
    const QString file = ProfileHive::hiveFile(hive.profilePath);
    switch (hive.reach) {
    case UserHive::AlreadyLoaded:
        return name + QLatin1String(": loaded already");
    case UserHive::LoadedByRun:
        return QStringLiteral("%1: loaded from %2").arg(name, file);
    case UserHive::NoHiveFile:
        return hive.profilePath.isEmpty()
            ? name + QLatin1String(": not there, the profile list names no folder")
            : QStringLiteral("%1: not there, %2 holds no NTUSER.DAT (a stale profile entry)")
                  .arg(name, hive.profilePath);
    case UserHive::NotLoadable:
        return QStringLiteral("%1 could not be loaded from %2 (%3)").arg(name, file, hive.reason);
    case UserHive::NotUnloaded:
        return QStringLiteral("%1 could not be unloaded from HKEY_USERS\\%2 (%3)")
            .arg(name, RegistryPaths::profileHiveMount(hive.sid), hive.reason);
    }
    return QString();
}
