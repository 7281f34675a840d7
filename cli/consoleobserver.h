#ifndef CONSOLEOBSERVER_H
#define CONSOLEOBSERVER_H

#include "removalobserver.h"
#include "removaloptions.h"

#include <QString>

class Console;
class ExitStatus;

// Prints each step of a removal run as it happens, one line each, named after its package
// ("PELDA+ 2015 DEU: key removed: HKEY_…"), and counts it towards the exit code.
class ConsoleObserver : public RemovalObserver
{
public:
    // The run's options say whether it is a dry run and where each installer writes its own
    // log, which its line names.
    ConsoleObserver(Console &console, ExitStatus &status, const RemovalOptions &options);

    void packageStarting(const QString &displayName) override;
    void installerStarting(const QString &displayName, const QString &commandLine) override;
    void installerFinished(const InstallerOutcome &outcome, qint64 milliseconds) override;
    void keyRemoved(const KeyRemoval &removal) override;
    void registrationsKept(const InstallerOutcome &outcome) override;
    void installerPlanned(const QString &displayName, const QString &commandLine) override;
    void keyPlanned(const QString &path) override;
    void installerSkipped(const QString &displayName) override;
    void packageNotAttempted(const QString &displayName, NotAttempted reason) override;
    void suiteKept(SuiteKept reason, const QString &recordedLanguage) override;

    // The package the last lines were about; empty before the first.
    QString lastPackage() const { return m_package; }
    int plannedInstallers() const { return m_plannedInstallers; }
    int plannedKeys() const { return m_plannedKeys; }

    static QString describe(const InstallerOutcome &outcome);
    static QString describe(NotAttempted reason);
    static QString describe(SuiteKept reason, const QString &recordedLanguage);

    // With all users: one line per hive, then one per settings key found there, each named
    // after its hive and edition.
    void userSettingsStarting(const QStringList &displayNames) override;
    void userHiveReached(const UserHive &hive) override;
    void userKeyRemoved(const QString &displayName, const KeyRemoval &removal) override;
    void userKeyPlanned(const QString &displayName, const QString &path) override;
    static QString describe(const UserHive &hive);
    static QString describe(const KeyRemoval &removal);

private:
    void print(const QString &text);
    void printForHive(const QString &displayName, const QString &text);

    Console &m_console;
    ExitStatus &m_status;
    RemovalOptions m_options;
    QString m_package;
    QString m_hive; // the SID of the user hive the last lines were about
    int m_plannedInstallers = 0;
    int m_plannedKeys = 0;
};

#endif // CONSOLEOBSERVER_H
