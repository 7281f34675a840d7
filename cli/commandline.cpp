#include "commandline.h"

#include "editioncatalogue.h"
#include "registrybackup.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Shown under the usage line of --help; the exit codes are Windows Installer's own, so that
// deployment systems read them without a mapping.
const char description[]
    = R"(Removes language editions of "PELDA+ 2015" without the wizard: the wizard's
removal run, with the same installer commands and registry keys, for deployment
systems and scripts.

Commands:
  list [--json] [--all-users]
      Each edition and the suite: code, name, product code, whether Windows
      Installer knows it as installed, and which of its keys exist (uninstall
      entry, machine settings, user settings); then the bootstrapper's entry and
      the language it records; with --all-users, each user profile and the
      editions whose settings it holds. Changes nothing.
  remove CODE... | --all [--dry-run] [--force] [--all-users] [--log FILE]
         [--msi-log DIR] [--report FILE] [--backup FILE] [--timeout MINUTES]
      Uninstalls the editions of the given codes (any letter case and order), or
      all fifteen, in catalogue order, and deletes their keys. When the edition
      of the bootstrapper's language is among them, the suite and the
      bootstrapper's entry go as well, unless that edition keeps its
      registrations; a line says why whenever they stay. A product that
      Windows Installer does not know is not handed to it: its leftover keys go.
      After an installer reports 1618, or once --timeout has passed, no further
      package is started. Needs an elevated process unless it is a dry run. The
      codes:
      %1

An option's value never begins with "-": "--log --dry-run" is a usage error,
not a log named "--dry-run". Give a file whose name begins with "-" as %2.

Exit codes:
  0     everything succeeded (1605, not installed, and 1707 count as success)
  3010  success, but an installer asked for a restart (1641 or 3010)
  1618  an installer reported another installation in progress: its package
        keeps its registrations, even with --force; retry later
  1603  something failed: an installer could not start, crashed, failed or was
        still running when --timeout passed, a package was not started because
        it had passed, or a key could not be removed (a user hive that could not
        be loaded, a key that could not be backed up); also a registry that
        cannot be read
  1602  stopped by Ctrl+C before the last package, after the one under way had
        finished (a stop during the last package keeps the run's own result)
  87    usage error: nothing was started or changed
  5     remove without elevation: nothing was started or changed
  When several apply, the first of 1603, 1602, 1618, 3010 wins. list exits 0,
  or 1603 when the registry cannot be read.)";

QString codeList(const QStringList &codes)
{
    return QLatin1Char('"') + codes.join(QStringLiteral("\", \"")) + QLatin1Char('"');
}

} // namespace

CommandLine::CommandLine()
    : m_help(m_parser.addHelpOption())
    , m_version(m_parser.addVersionOption())
    , m_json(QStringLiteral("json"), QStringLiteral("list: print one JSON object."))
    , m_all(QStringLiteral("all"), QStringLiteral("remove: every edition."))
    , m_dryRun(QStringLiteral("dry-run"),
               QStringLiteral("remove: print the installer commands and the keys that would "
                              "go; start and change nothing."))
    , m_force(QStringLiteral("force"),
              QStringLiteral("remove: delete a package's registrations even when its installer "
                             "failed (by default they stay, so that a retry finds the product). "
                             "Those of a package whose installer reported 1618, or is still "
                             "running, stay in any case."))
    , m_allUsers(QStringLiteral("all-users"),
                 QStringLiteral("remove: delete the per-user settings also from every user "
                                "profile: the hives loaded under HKEY_USERS, and the hive "
                                "(NTUSER.DAT) of each profile that is not signed in, loaded "
                                "for the moment. list: list every profile's settings."))
    , m_log(QStringLiteral("log"),
            QStringLiteral("remove: append every printed line, with a timestamp, to <file>."),
            QStringLiteral("file"))
    , m_msiLog(QStringLiteral("msi-log"),
               QStringLiteral("remove: have each installer write its verbose log into <dir>, as "
                              "remedor-<CODE>.log (remedor-suite.log for the suite); <dir> is "
                              "created when missing."),
               QStringLiteral("dir"))
    , m_report(QStringLiteral("report"),
               QStringLiteral("remove: write a JSON report of the run to <file> when it ends, "
                              "however it ends."),
               QStringLiteral("file"))
    , m_timeout(QStringLiteral("timeout"),
                QStringLiteral("remove: the time limit of the whole run, counted from its start, "
                               "in <minutes> (decimals allowed, at least one second): once it has "
                               "passed, the installer under way is left running and reported as "
                               "timed out, and no further package is started."),
                QStringLiteral("minutes"))
    , m_backup(QStringLiteral("backup"),
               QStringLiteral("remove: before each key is deleted, add it with everything below "
                              "it to <file>, a registry export that `reg import` restores; a key "
                              "that cannot be added stays."),
               QStringLiteral("file"))
{
    m_parser.setApplicationDescription(
        QString::fromUtf8(description)
            .arg(validCodes().join(QLatin1Char(' ')),
                 QDir::toNativeSeparators(QStringLiteral("./-name"))));
    m_parser.addOptions({ m_json, m_all, m_dryRun, m_force, m_allUsers, m_log, m_msiLog, m_report,
                          m_timeout, m_backup });
    m_parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("list or remove."));
    m_parser.addPositionalArgument(QStringLiteral("codes"),
                                   QStringLiteral("remove: the editions' codes."),
                                   QStringLiteral("[CODE...]"));
}

QStringList CommandLine::validCodes()
{
    QStringList codes;
    for (const Edition &edition : EditionCatalogue::editions())
        codes.append(QLatin1String(edition.languageCode));
    return codes;
}

bool CommandLine::parse(const QStringList &arguments)
{
    m_arguments = arguments;
    if (!m_parser.parse(arguments))
        return fail(m_parser.errorText());
    // --help-all is Qt's help with its own options; this program takes none of those.
    if (m_parser.isSet(m_help) || m_parser.isSet(QStringLiteral("help-all"))) {
        m_command = Command::Help;
        return true;
    }
    if (m_parser.isSet(m_version)) {
        m_command = Command::Version;
        return true;
    }
    QStringList positional = m_parser.positionalArguments();
    if (positional.isEmpty())
        return fail(QStringLiteral("No command: use list or remove."));
    if (!givenOnce({ &m_log, &m_msiLog, &m_report, &m_timeout }) || !valuesAreNoOptions())
        return false;
    const QString command = positional.takeFirst();
    if (command == QLatin1String("list"))
        return checkList(positional);
    if (command == QLatin1String("remove"))
        return checkRemove(positional);
    return fail(QStringLiteral("Unknown command \"%1\": use list or remove.").arg(command));
}

bool CommandLine::checkList(const QStringList &positional)
{
    m_command = Command::List;
    if (!positional.isEmpty())
        return fail(QStringLiteral("list takes no arguments: %1.").arg(codeList(positional)));
    return onlyFor(
        QStringLiteral("remove"),
        { &m_all, &m_dryRun, &m_force, &m_log, &m_msiLog, &m_report, &m_timeout, &m_backup });
}

bool CommandLine::checkRemove(const QStringList &positional)
{
    m_command = Command::Remove;
    if (!onlyFor(QStringLiteral("list"), { &m_json }))
        return false;
    const QStringList validList = validCodes();
    const QString valid = QStringLiteral(" Valid codes: %1.").arg(validList.join(QLatin1Char(' ')));
    if (m_parser.isSet(m_all) && !positional.isEmpty())
        return fail(QStringLiteral("--all cannot be combined with edition codes: %1.")
                        .arg(codeList(positional))
                    + valid);
    if (!m_parser.isSet(m_all) && positional.isEmpty())
        return fail(QStringLiteral("remove needs edition codes or --all.") + valid);

    for (const QString &code : positional) {
        if (!validList.contains(code, Qt::CaseInsensitive))
            return fail(QStringLiteral("Unknown edition code \"%1\".").arg(code) + valid);
    }
    // Catalogue order, each once, whatever was typed.
    for (const QString &code : validList) {
        if (m_parser.isSet(m_all) || positional.contains(code, Qt::CaseInsensitive))
            m_editionCodes.append(code);
    }
    return checkTimeout() && checkBackup();
}

// Minutes, as deployment systems state their own limits; decimals for shorter ones, down to
// one second, below which no installer could even start. At most a week, which no real run
// needs and which keeps the milliseconds in range.
bool CommandLine::checkTimeout()
{
    if (!m_parser.isSet(m_timeout))
        return true;
    bool isNumber = false;
    const double minutes = m_parser.value(m_timeout).toDouble(&isNumber);
    constexpr double second = 1.0 / 60;
    constexpr double week = 7 * 24 * 60;
    if (!isNumber || !(minutes >= second) || minutes > week)
        return fail(QStringLiteral("--timeout takes a number of minutes from 0.0167 (one second) "
                                   "to %1 (a week): \"%2\".")
                        .arg(week)
                        .arg(m_parser.value(m_timeout)));
    m_timeoutMs = qRound(minutes * 60'000);
    return true;
}

// An option given without its value takes the next argument as one: "--log --dry-run" would
// log to a file named "--dry-run" and really remove. No value may look like an option.
bool CommandLine::valuesAreNoOptions()
{
    for (const QCommandLineOption *option :
         { &m_log, &m_msiLog, &m_report, &m_timeout, &m_backup }) {
        for (const QString &value : m_parser.values(*option)) {
            if (!value.startsWith(QLatin1Char('-')))
                continue;
            const QString hint = option == &m_timeout
                ? QString()
                : QStringLiteral(" (a file whose name begins with \"-\" is given as %1)")
                      .arg(QDir::toNativeSeparators(QStringLiteral("./") + value));
            return fail(QStringLiteral("--%1 needs a value, not \"%2\": no value begins with "
                                       "\"-\"%3.")
                            .arg(option->names().constFirst(), value, hint));
        }
    }
    return true;
}

// A second value would silently replace the first, so that a log or report would not be
// where the caller looks for it.
bool CommandLine::givenOnce(const QList<const QCommandLineOption *> &options)
{
    for (const QCommandLineOption *option : options) {
        if (m_parser.values(*option).size() > 1)
            return fail(QStringLiteral("--%1 is given more than once: give it once.")
                            .arg(option->names().constFirst()));
    }
    return true;
}

// One file, which must be able to take keys before anything starts: a run that could delete
// keys without their backup would be worse than no run.
bool CommandLine::checkBackup()
{
    const QStringList files = m_parser.values(m_backup);
    if (files.size() > 1)
        return fail(QStringLiteral("--backup is given %1 times: every key goes to one file.")
                        .arg(files.size()));
    if (files.isEmpty())
        return true;
    m_backupFile = QFileInfo(files.constFirst()).absoluteFilePath();
    // The log's lines would make it something else than an export, and every key would stay.
    if (hasLog() && QFileInfo(logFile()).absoluteFilePath() == m_backupFile)
        return fail(QStringLiteral("--backup and --log name the same file."));
    const QString problem = RegistryBackup(m_backupFile).problem();
    if (!problem.isEmpty())
        return fail(problem.left(1).toUpper() + problem.mid(1) + QLatin1Char('.'));
    return true;
}

bool CommandLine::onlyFor(const QString &command, const QList<const QCommandLineOption *> &options)
{
    for (const QCommandLineOption *option : options) {
        if (m_parser.isSet(*option))
            return fail(QStringLiteral("--%1 belongs to the %2 command.")
                            .arg(option->names().constFirst(), command));
    }
    return true;
}

bool CommandLine::fail(const QString &error)
{
    m_error = error;
    return false;
}
