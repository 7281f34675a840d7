#include "commandline.h"

#include "editioncatalogue.h"
#include "registrybackup.h"

#include <QFileInfo>

namespace {

// Shown under the usage line of --help; the exit codes are Windows Installer's own, so that
// deployment systems read them without a mapping.
const char description[]
    = R"(Removes language editions of "PELDA+ 2015" without the wizard: the wizard's
removal run, with the same installer commands and registry keys, for deployment
systems and scripts.

Commands:
  list [--json]
      Each edition and the suite: code, name, product code, whether Windows
      Installer knows it as installed, and which of its keys exist (uninstall
      entry, machine settings, user settings); then the bootstrapper's entry and
      the language it records. Changes nothing.
  remove CODE... | --all [--dry-run] [--force] [--all-users] [--log FILE]
      Uninstalls the editions of the given codes (any letter case and order), or
      all fifteen, in catalogue order, and deletes their keys. When the edition
      of the bootstrapper's language is among them, the suite and the
      bootstrapper's entry go as well. Needs an elevated process unless it is a
      dry run. The codes:
      %1

Exit codes:
  0     everything succeeded (1605, not installed, counts as success)
  3010  success, but an installer asked for a restart (1641 or 3010)
  1618  an installer reported another installation in progress: retry later
  1603  something failed: an installer could not start, crashed or failed, or a
        key could not be removed; also a registry that cannot be read
  1602  stopped by Ctrl+C, after the edition under way had finished
  87    usage error: nothing was started or changed
  5     remove without elevation: nothing was started or changed
  When several apply, the first of 1603, 1602, 1618, 3010 wins. list exits 0.)";

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
                             "failed (by default they stay, so that a retry finds the product)."))
    , m_allUsers(QStringLiteral("all-users"),
                 QStringLiteral("remove: delete the per-user settings also from every user "
                                "hive loaded under HKEY_USERS."))
    , m_log(QStringLiteral("log"),
            QStringLiteral("remove: append every printed line, with a timestamp, to <file>."),
            QStringLiteral("file"))
    , m_backup(QStringLiteral("backup"),
               QStringLiteral("remove: before each key is deleted, add it with everything below "
                              "it to <file>, a registry export that `reg import` restores; a key "
                              "that cannot be added stays."),
               QStringLiteral("file"))
{
    m_parser.setApplicationDescription(
        QString::fromUtf8(description).arg(validCodes().join(QLatin1Char(' '))));
    m_parser.addOptions({ m_json, m_all, m_dryRun, m_force, m_allUsers, m_log, m_backup });
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
    if (!m_parser.parse(arguments))
        return fail(m_parser.errorText());
    if (m_parser.isSet(m_help)) {
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
    return onlyFor(QStringLiteral("remove"),
                   { &m_all, &m_dryRun, &m_force, &m_allUsers, &m_log, &m_backup });
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
    return checkBackup();
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
