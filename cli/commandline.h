#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The command line of remedor-cli, read and checked whole before anything runs:
//
//   remedor-cli list [--json] [--all-users]
//   remedor-cli remove CODE... | --all [--dry-run] [--force] [--all-users] [--log FILE]
//                      [--msi-log DIR] [--report FILE] [--backup FILE] [--timeout MINUTES]
//   remedor-cli --help | --help-all | --version
//
// An option that takes a value may be given once, and its value never begins with "-" (a file
// whose name does is given as ./-name).
//
// Edition codes are the three-letter language codes, in any letter case; they come back
// upper case, in catalogue order, each once.
class CommandLine
{
public:
    enum class Command { Help, Version, List, Remove };

    CommandLine();
    CommandLine(const CommandLine &) = delete;
    CommandLine &operator=(const CommandLine &) = delete;

    // False on a usage error, which error() then describes, naming the bad argument.
    bool parse(const QStringList &arguments);
    QString error() const { return m_error; }

    Command command() const { return m_command; }
    bool json() const { return m_parser.isSet(m_json); }
    QStringList editionCodes() const { return m_editionCodes; }
    bool dryRun() const { return m_parser.isSet(m_dryRun); }
    bool force() const { return m_parser.isSet(m_force); }
    bool allUsers() const { return m_parser.isSet(m_allUsers); }
    bool hasLog() const { return m_parser.isSet(m_log); }
    QString logFile() const { return m_parser.value(m_log); }
    // The folder for Windows Installer's own logs; empty when not asked for.
    QString installerLogFolder() const { return m_parser.value(m_msiLog); }
    QString reportFile() const { return m_parser.value(m_report); }
    // The time limit of the whole run, in milliseconds; negative when there is none.
    int timeLimitMs() const { return m_timeoutMs; }
    // The arguments as given, the program's name first.
    QStringList arguments() const { return m_arguments; }
    // The absolute path of the registry export that takes each key before it is deleted;
    // empty without --backup.
    QString backupFile() const { return m_backupFile; }

    QString helpText() const { return m_parser.helpText(); }
    static QStringList validCodes(); // "CHS", "CHT" … "TRK"

private:
    bool checkList(const QStringList &positional);
    bool checkRemove(const QStringList &positional);
    bool checkBackup();
    bool onlyFor(const QString &command, const QList<const QCommandLineOption *> &options);
    bool givenOnce(const QList<const QCommandLineOption *> &options);
    bool valuesAreNoOptions();
    bool checkTimeout();
    bool fail(const QString &error);

    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_json;
    QCommandLineOption m_all;
    QCommandLineOption m_dryRun;
    QCommandLineOption m_force;
    QCommandLineOption m_allUsers;
    QCommandLineOption m_log;
    QCommandLineOption m_msiLog;
    QCommandLineOption m_report;
    QCommandLineOption m_timeout;
    QCommandLineOption m_backup;
    Command m_command = Command::Help;
    QStringList m_editionCodes;
    QStringList m_arguments;
    int m_timeoutMs = -1;
    QString m_backupFile;
    QString m_error;
};

#endif // COMMANDLINE_H
