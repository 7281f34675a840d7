#include "removecommand.h"

#include "commandline.h"
#include "console.h"
#include "consoleobserver.h"
#include "editioncatalogue.h"
#include "exitstatus.h"
#include "platform.h"
#include "registrykey.h"
#include "removalrun.h"

#include <QDir>

RemoveCommand::RemoveCommand(Console &console, const CommandLine &commandLine)
    : m_console(console)
    , m_commandLine(commandLine)
{
}

int RemoveCommand::run()
{
    if (!m_commandLine.dryRun() && !Platform::isElevated()) {
        m_console.printError(QStringLiteral(
            "remove needs an elevated process (run it as an administrator or as SYSTEM); "
            "nothing was started or changed."));
        return ExitStatus::NotElevated;
    }
    const QString damage = RegistryKey::damage();
    if (!damage.isEmpty()) {
        m_console.printError(
            QStringLiteral("The registry cannot be read: %1. Nothing was started or changed.")
                .arg(damage));
        return ExitStatus::Failure;
    }

    ExitStatus status;
    ConsoleObserver observer(m_console, status);
    RemovalRun removal(&observer);
    removal.setOptions({ !m_commandLine.force(), m_commandLine.allUsers(), m_commandLine.dryRun(),
                         m_commandLine.dryRun() ? QString() : m_commandLine.backupFile() });
    removal.setStopRequest(&Platform::interruptRequested);

    QStringList chosen;
    for (const QString &code : m_commandLine.editionCodes())
        chosen.append(EditionCatalogue::displayNameForLanguage(code));
    m_console.print(heading());
    const bool stopped = removal.run([&chosen](const QString &displayName) {
        return chosen.contains(displayName);
    }) == RemovalRun::Ending::Stopped;

    if (m_commandLine.dryRun())
        return finishDryRun(observer, stopped);
    if (stopped) {
        status.setCancelled();
        m_console.print(observer.lastPackage().isEmpty()
                            ? QStringLiteral("Stopped on request before the first package.")
                            : QStringLiteral("Stopped on request after %1: no further package "
                                             "was started.")
                                  .arg(observer.lastPackage()));
    } else if (Platform::interruptRequested()) {
        // Nothing was left to stop: the outcome is that of the whole run.
        m_console.print(QStringLiteral("A stop was requested during the last package; the run "
                                       "had nothing more to do."));
    }
    const ExitStatus::Code code = status.code();
    m_console.print(QStringLiteral("Finished with exit code %1: %2.")
                        .arg(int(code))
                        .arg(ExitStatus::describe(code)));
    return code;
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
        sentences << QStringLiteral("Per-user settings go from every loaded user hive too.");
    if (!m_commandLine.backupFile().isEmpty() && !m_commandLine.dryRun())
        sentences << QStringLiteral("Each key is backed up to %1 before it goes.")
                         .arg(QDir::toNativeSeparators(m_commandLine.backupFile()));
    return sentences.join(QLatin1Char(' '));
}

int RemoveCommand::finishDryRun(const ConsoleObserver &observer, bool stopped)
{
    if (stopped) {
        m_console.print(QStringLiteral("Stopped on request."));
        return ExitStatus::Cancelled;
    }
    m_console.print(QStringLiteral("Dry run finished: %1 installer commands would run and %2 "
                                   "keys would go; nothing was started or changed.")
                        .arg(observer.plannedInstallers())
                        .arg(observer.plannedKeys()));
    return ExitStatus::Success;
}
