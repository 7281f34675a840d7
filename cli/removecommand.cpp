#include "removecommand.h"

#include "commandline.h"
#include "console.h"
#include "consoleobserver.h"
#include "editioncatalogue.h"
#include "exitstatus.h"
#include "observerlist.h"
#include "platform.h"
#include "registrykey.h"
#include "removalrun.h"
#include "runreport.h"

#include <QDir>
#include <QFileInfo>

RemoveCommand::RemoveCommand(Console &console, const CommandLine &commandLine)
    : m_console(console)
    , m_commandLine(commandLine)
{
    m_options.keepRegistrationsOfFailures = !commandLine.force();
    m_options.allUsers = commandLine.allUsers();
    m_options.dryRun = commandLine.dryRun();
    // Absolute, as the installers, the lines and the report name it wherever they are read.
    if (!commandLine.installerLogFolder().isEmpty())
        m_options.installerLogFolder
            = QFileInfo(commandLine.installerLogFolder()).absoluteFilePath();
    m_options.timeLimitMs = commandLine.timeLimitMs();
    m_options.endWhenInstallerBusy = true;
    m_options.skipUnknownProducts = true;
    m_options.backupFile = commandLine.dryRun() ? QString() : commandLine.backupFile();
}

int RemoveCommand::run()
{
    RunReport report(m_commandLine, m_options);
    std::optional<int> refused = refusal(report);
    if (!refused && !m_commandLine.dryRun())
        refused = takeRunLock(report);
    if (refused) {
        closeOutputs(report, *refused); // each failure is said on standard error
        return *refused;
    }
    return perform(report);
}

// Nothing is touched without the right to change the machine, or in a registry that cannot
// be read.
std::optional<int> RemoveCommand::refusal(RunReport &report)
{
    QString ending;
    QString text;
    int code = ExitStatus::Success;
    const QString damage = RegistryKey::damage();
    if (!m_commandLine.dryRun() && !Platform::isElevated()) {
        ending = QStringLiteral("notElevated");
        text = QStringLiteral("remove needs an elevated process (run it as an administrator or "
                              "as SYSTEM); nothing was started or changed.");
        code = ExitStatus::NotElevated;
    } else if (!damage.isEmpty()) {
        ending = QStringLiteral("registryUnreadable");
        text = QStringLiteral("The registry cannot be read: %1. Nothing was started or changed.")
                   .arg(damage);
        code = ExitStatus::Failure;
    } else {
        return std::nullopt;
    }
    m_console.printError(text);
    report.setEnding(ending, text);
    return code;
}

// One run at a time on the machine, held until this command is gone; a dry run changes nothing
// and takes none. Deployment systems retry a 1618 later by themselves.
std::optional<int> RemoveCommand::takeRunLock(RunReport &report)
{
    const RunLock::Outcome outcome = m_runLock.acquire();
    if (outcome == RunLock::Outcome::Held)
        return std::nullopt;
    const bool busy = outcome == RunLock::Outcome::Busy;
    const QString text = busy
        ? QStringLiteral("Another Remedor run is in progress; nothing was started or changed. "
                         "Retry when it has ended.")
        : QStringLiteral("The lock that keeps two Remedor runs apart cannot be taken: %1. "
                         "Nothing was started or changed.")
              .arg(m_runLock.error());
    m_console.printError(text);
    report.setEnding(busy ? QStringLiteral("busy") : QStringLiteral("lockFailed"), text);
    return busy ? ExitStatus::AnotherInstallation : ExitStatus::Failure;
}

int RemoveCommand::perform(RunReport &report)
{
    ExitStatus status;
    ConsoleObserver console(m_console, status, m_options);
    ObserverList observers({ &console, &report });
    report.begin();
    // A run ended from outside leaves a report that says it did not finish, rather than the
    // last run's.
    if (!m_commandLine.reportFile().isEmpty()) {
        const QString failure = report.write(m_commandLine.reportFile());
        if (!failure.isEmpty())
            m_console.printError(
                QStringLiteral("remedor-cli: %1; it is tried again when the run ends.")
                    .arg(failure));
    }
    RemovalRun removal(&observers);
    removal.setOptions(m_options);
    removal.setStopRequest(&Platform::interruptRequested);

    QStringList chosen;
    for (const QString &code : m_commandLine.editionCodes())
        chosen.append(EditionCatalogue::displayNameForLanguage(code));
    m_console.print(heading());
    const bool stopped = removal.run([&chosen](const QString &displayName) {
        return chosen.contains(displayName);
    }) == RemovalRun::Ending::Stopped;
    if (stopped)
        report.setEnding(QStringLiteral("stopped"), QString());

    if (m_commandLine.dryRun())
        return finishDryRun(report, console, stopped, status.userHiveNotLoaded());
    if (stopped) {
        status.setCancelled();
        m_console.print(console.lastPackage().isEmpty()
                            ? QStringLiteral("Stopped on request before the first package.")
                            : QStringLiteral("Stopped on request after %1: no further package "
                                             "was started.")
                                  .arg(console.lastPackage()));
    } else if (Platform::interruptRequested()) {
        // Nothing was left to stop: the outcome is that of the whole run.
        m_console.print(QStringLiteral("A stop was requested during the last package; the run "
                                       "had nothing more to do."));
    }
    const ExitStatus::Code code = status.code();
    m_console.print(QStringLiteral("Finished with exit code %1: %2.")
                        .arg(int(code))
                        .arg(ExitStatus::describe(code))
                    + notes(closeOutputs(report, code)));
    return code;
}

// Writes the report, and says what of it and of the log could not be written: the exit code
// stays the removal's own, but whoever reads only the last line still learns it. (The log's
// failure was said on standard error when it happened.)
QStringList RemoveCommand::closeOutputs(const RunReport &report, int code) const
{
    QStringList problems;
    if (!m_commandLine.reportFile().isEmpty()) {
        const QString failure = report.write(m_commandLine.reportFile(), code,
                                             ExitStatus::describe(ExitStatus::Code(code)));
        if (!failure.isEmpty()) {
            m_console.printError(QStringLiteral("remedor-cli: %1.").arg(failure));
            problems << failure;
        }
    }
    if (!m_console.logFailure().isEmpty())
        problems << m_console.logFailure();
    return problems;
}

QString RemoveCommand::notes(const QStringList &problems)
{
    return problems.isEmpty() ? QString()
                              : QStringLiteral(" But %1.").arg(problems.join(QStringLiteral("; ")));
}

QString RemoveCommand::heading() const
{
    QStringList sentences;
    sentences << QStringLiteral("%1 editions %2.")
                     .arg(m_commandLine.dryRun() ? QStringLiteral("Dry run, nothing is started "
                                                                  "or changed: would remove")
                                                 : QStringLiteral("Removing"),
                          m_commandLine.editionCodes().join(QLatin1Char(' ')));
    sentences << (m_commandLine.force()
                      ? QStringLiteral("Registrations go whatever the installers do (--force).")
                      : QStringLiteral("A package whose installer fails keeps its registrations "
                                       "(--force removes them)."));
    if (m_commandLine.allUsers())
        sentences << QStringLiteral("Per-user settings go from every user profile too, signed in "
                                    "or not.");
    if (!m_commandLine.backupFile().isEmpty() && !m_commandLine.dryRun())
        sentences << QStringLiteral("Each key is backed up to %1 before it goes.")
                         .arg(QDir::toNativeSeparators(m_commandLine.backupFile()));
    return sentences.join(QLatin1Char(' '));
}

// A hive that could not be loaded could not be planned either: its keys are not counted.
int RemoveCommand::finishDryRun(const RunReport &report, const ConsoleObserver &observer,
                                bool stopped, bool hiveUnread)
{
    const int code = stopped ? ExitStatus::Cancelled : ExitStatus::Success;
    const QString problems = notes(closeOutputs(report, code));
    if (stopped) {
        m_console.print(QStringLiteral("Stopped on request.") + problems);
        return code;
    }
    m_console.print(QStringLiteral("Dry run finished: %1 installer commands would run and %2 "
                                   "keys would go%3; nothing was started or changed.")
                        .arg(observer.plannedInstallers())
                        .arg(observer.plannedKeys())
                        .arg(hiveUnread ? QStringLiteral(", not counting those in the user hives "
                                                         "that could not be loaded")
                                        : QString())
                    + problems);
    return code;
}
