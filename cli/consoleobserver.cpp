#include "consoleobserver.h"

#include "console.h"
#include "editioncatalogue.h"
#include "exitstatus.h"
#include "profilehive.h"
#include "registrypaths.h"
#include "removalrun.h"

ConsoleObserver::ConsoleObserver(Console &console, ExitStatus &status,
                                 const RemovalOptions &options)
    : m_console(console)
    , m_status(status)
    , m_options(options)
{
}

void ConsoleObserver::packageStarting(const QString &displayName)
{
    m_package = displayName;
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
    QString line
        = QStringLiteral("%1 in %2 s").arg(describe(outcome)).arg(milliseconds / 1000.0, 0, 'f', 3);
    if (!m_options.installerLogFolder.isEmpty())
        line += QLatin1String("; its log: ")
            + RemovalRun::installerLog(m_options.installerLogFolder, outcome.displayName);
    print(line);
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
        return QStringLiteral("installer stopped unexpectedly (%1)").arg(outcome.detail);
    case InstallerOutcome::NotStarted:
        return QStringLiteral("installer could not be started: %1").arg(outcome.detail);
    case InstallerOutcome::TimedOut:
        return QStringLiteral("installer timed out: still running at the time limit, left "
                              "to finish on its own");
    }
    return QString();
}

QString ConsoleObserver::describe(NotAttempted reason)
{
    switch (reason) {
    case NotAttempted::InstallerBusy:
        return QStringLiteral("not attempted: Windows Installer was busy with another "
                              "installation (1618); retry later");
    case NotAttempted::InstallerTimedOut:
        return QStringLiteral("not attempted: an earlier installer is still running past the "
                              "time limit");
    }
    return QString();
}

QString ConsoleObserver::describe(SuiteKept reason, const QString &recordedLanguage)
{
    switch (reason) {
    case SuiteKept::NoBootstrapperEntry:
        return QStringLiteral("there is no bootstrapper entry");
    case SuiteKept::NoRecordedLanguage:
        return QStringLiteral("the bootstrapper's entry records no language");
    case SuiteKept::UnknownLanguage:
        return QStringLiteral("the bootstrapper's entry records the language \"%1\", which is "
                              "none of the fifteen editions'")
            .arg(recordedLanguage);
    case SuiteKept::EditionNotChosen:
        return QStringLiteral("the edition of the bootstrapper's language %1 was not chosen")
            .arg(recordedLanguage);
    case SuiteKept::EditionFailed:
        return QStringLiteral("the installer of the edition of the bootstrapper's language %1 "
                              "failed, and the suite stays with it (--force removes it)")
            .arg(recordedLanguage);
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

void ConsoleObserver::installerSkipped(const QString &displayName)
{
    m_package = displayName;
    print(QStringLiteral("not installed: %1 leftover keys")
              .arg(m_options.dryRun ? QStringLiteral("would remove") : QStringLiteral("removing")));
}

void ConsoleObserver::packageNotAttempted(const QString &displayName, NotAttempted reason)
{
    m_package = displayName;
    print(describe(reason));
}

void ConsoleObserver::suiteKept(SuiteKept reason, const QString &recordedLanguage)
{
    m_package = EditionCatalogue::suiteDisplayName();
    print(QStringLiteral("not removed, nor the bootstrapper's entry: ")
          + describe(reason, recordedLanguage));
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
