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

    void userHiveReached(const UserHive &hive) override;
    static QString describe(const UserHive &hive);

private:
    void print(const QString &text);

    Console &m_console;
    ExitStatus &m_status;
    RemovalOptions m_options;
    QString m_package;
    int m_plannedInstallers = 0;
    int m_plannedKeys = 0;
};

#endif // CONSOLEOBSERVER_H
