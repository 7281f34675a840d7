#ifndef RUNREPORT_H
#define RUNREPORT_H

#include "removalobserver.h"
#include "removaloptions.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class CommandLine;

// The report of one remove run for machines: every package with its installer and keys, the
// suite's fate and the exit code, kept as the run goes and written as one JSON document
// (docs/report.schema.json) when it starts, saying it is running, and again when it ends,
// however it ends.
class RunReport : public RemovalObserver
{
public:
    static constexpr int schemaVersion = 2;

    RunReport(const CommandLine &commandLine, const RemovalOptions &options);

    // Reads what the run will read first (the bootstrapper's language), once the registry is
    // known to be readable.
    void begin();

    void packageStarting(const QString &displayName) override;
    void productStateRead(const QString &displayName, ProductState state) override;
    void installerStarting(const QString &displayName, const QString &commandLine) override;
    void installerFinished(const InstallerOutcome &outcome, qint64 milliseconds) override;
    void installerPlanned(const QString &displayName, const QString &commandLine) override;
    void installerSkipped(const QString &displayName) override;
    void keyRemoved(const KeyRemoval &removal) override;
    void keyPlanned(const QString &path) override;
    void registrationsKept(const InstallerOutcome &outcome) override;
    void packageNotAttempted(const QString &displayName, NotAttempted reason) override;
    void suiteKept(SuiteKept reason, const QString &recordedLanguage) override;
    void userSettingsStarting(const QStringList &displayNames) override;
    void userHiveReached(const UserHive &hive) override;
    void userKeyRemoved(const QString &displayName, const KeyRemoval &removal) override;
    void userKeyPlanned(const QString &displayName, const QString &path) override;

    // How the run ended when it did not simply finish: "stopped", "notElevated",
    // "registryUnreadable"; with the text said to the user.
    void setEnding(const QString &ending, const QString &text);

    // Writes the whole report, replacing FILE only once everything was written; the reason
    // when it could not be. Without an exit code, the report of a run still under way.
    QString write(const QString &fileName, std::optional<int> exitCode = std::nullopt,
                  const QString &meaning = QString()) const;
    // Whether FILE can be written, checked before anything runs; the reason when it cannot.
    static QString checkWritable(const QString &fileName);

private:
    struct Key
    {
        QString path;
        QString outcome; // removed, notThere, failed, planned
        QString reason;
    };
    struct Package
    {
        QString name;
        std::optional<ProductState> state;
        QString command;
        QString status = QStringLiteral("notAttempted");
        std::optional<int> exitCode;
        QString detail;
        std::optional<double> seconds;
        QString registrations = QStringLiteral("notAttempted"); // removed, kept, planned
        QList<Key> keys;
    };
    // With all users: each user account's hive once, with the settings keys found there.
    struct UserProfile
    {
        UserHive hive;
        QList<std::pair<QString, Key>> keys; // by edition display name
    };

    Package &package(const QString &displayName);
    QJsonObject toJson(std::optional<int> exitCode, const QString &meaning) const;
    QJsonObject packageJson(const Package &package) const;
    static QJsonObject keyJson(const Key &key);
    static QJsonObject userProfileJson(const UserProfile &profile);
    QJsonObject optionsJson() const;

    const CommandLine &m_commandLine;
    RemovalOptions m_options;
    QString m_started;
    QList<Package> m_packages;
    QList<UserProfile> m_userProfiles;
    QStringList m_userSettingsEditions; // whose settings the pass over the profiles removes
    QString m_current;
    QString m_ending = QStringLiteral("finished");
    QString m_endingText;
    QJsonObject m_suite;
};

#endif // RUNREPORT_H
