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
    const QString seconds = QString::number(milliseconds / 1000.0, 'f', 3);
    QString line = describe(outcome);
    // An installer that never started took no time; one left running took its time so far.
    if (outcome.status == InstallerOutcome::TimedOut)
        line = QStringLiteral("installer timed out: it ran for %1 s before it was left running, "
                              "as the run's time limit (--timeout) had passed")
                   .arg(seconds);
    else if (outcome.status != InstallerOutcome::NotStarted)
        line += QStringLiteral(" in %1 s").arg(seconds);
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
        return QStringLiteral("installer timed out: still running when the run's time limit "
                              "passed, left running");
    }
    return QString();
}

QString ConsoleObserver::describe(NotAttempted reason)
{
    switch (reason) {
    case NotAttempted::InstallerBusy:
        return QStringLiteral("not attempted: Windows Installer was busy with another "
                              "installation (1618); retry later");
    case NotAttempted::TimeLimitPassed:
        return QStringLiteral("not attempted: the run's time limit (--timeout) has passed");
    case NotAttempted::StopRequested:
        return QStringLiteral("not attempted: the run was stopped on request");
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
    print(describe(removal));
}

QString ConsoleObserver::describe(const KeyRemoval &removal)
{
    switch (removal.status) {
    case KeyRemoval::Removed:
        return QLatin1String("key removed: ") + removal.path;
    case KeyRemoval::NotThere:
        return QLatin1String("key not there: ") + removal.path;
    case KeyRemoval::Failed:
        return QStringLiteral("key could not be removed: %1 (%2)")
            .arg(removal.path, removal.reason);
    }
    return QString();
}

void ConsoleObserver::registrationsKept(const InstallerOutcome &outcome)
{
    const bool suite = outcome.displayName == EditionCatalogue::suiteDisplayName();
    const QString kept = suite ? QStringLiteral("registrations and the bootstrapper's entry")
                               : QStringLiteral("registrations");
    // Only a failure's registrations are a choice that --force changes.
    switch (outcome.status) {
    case InstallerOutcome::TimedOut:
        print(QStringLiteral("%1 kept: an installer that is still running keeps them, whatever "
                             "the options say")
                  .arg(kept));
        break;
    case InstallerOutcome::AnotherInstallation:
        print(QStringLiteral("%1 kept: Windows Installer was busy, so the package was not "
                             "uninstalled and will be found again next time")
                  .arg(kept));
        break;
    default:
        print(QStringLiteral("%1 kept, because the installer failed (--force removes them)")
                  .arg(kept));
        break;
    }
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

// Named on its own line; the last package stays the last one taken.
void ConsoleObserver::packageNotAttempted(const QString &displayName, NotAttempted reason)
{
    m_status.addNotAttempted(reason);
    m_console.print(displayName + QLatin1String(": ") + describe(reason));
}

void ConsoleObserver::suiteKept(SuiteKept reason, const QString &recordedLanguage)
{
    m_console.print(EditionCatalogue::suiteDisplayName()
                    + QStringLiteral(": not removed, nor the bootstrapper's entry: ")
                    + describe(reason, recordedLanguage));
}

void ConsoleObserver::userSettingsStarting(const QStringList &displayNames)
{
    QStringList codes;
    for (const QString &displayName : displayNames)
        codes << displayName.mid(EditionCatalogue::displayNamePrefix().size());
    m_console.print(QStringLiteral("User profiles: the settings of %1 %2 from each user "
                                   "account's hive, one hive at a time.")
                        .arg(codes.join(QLatin1Char(' ')),
                             m_options.dryRun ? QStringLiteral("would go") : QStringLiteral("go")));
}

void ConsoleObserver::userHiveReached(const UserHive &hive)
{
    m_status.addUserHive(hive);
    m_hive = hive.sid;
    m_console.print(describe(hive));
}

void ConsoleObserver::printForHive(const QString &displayName, const QString &text)
{
    m_console.print(QStringLiteral("user hive %1: %2: %3").arg(m_hive, displayName, text));
}

void ConsoleObserver::userKeyRemoved(const QString &displayName, const KeyRemoval &removal)
{
    m_status.addKey(removal);
    printForHive(displayName, describe(removal));
}

void ConsoleObserver::userKeyPlanned(const QString &displayName, const QString &path)
{
    ++m_plannedKeys;
    printForHive(displayName, QLatin1String("would remove key: ") + path);
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
