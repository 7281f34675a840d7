#ifndef CONSOLEOBSERVER_H
#define CONSOLEOBSERVER_H

#include "removalobserver.h"

#include <QString>

class Console;
class ExitStatus;

// Prints each step of a removal run as it happens, one line each, named after its package
// ("PELDA+ 2015 DEU: key removed: HKEY_…"), and counts it towards the exit code.
class ConsoleObserver : public RemovalObserver
{
public:
    ConsoleObserver(Console &console, ExitStatus &status);

    void installerStarting(const QString &displayName, const QString &commandLine) override;
    void installerFinished(const InstallerOutcome &outcome, qint64 milliseconds) override;
    void keyRemoved(const KeyRemoval &removal) override;
    void registrationsKept(const InstallerOutcome &outcome) override;
    void installerPlanned(const QString &displayName, const QString &commandLine) override;
    void keyPlanned(const QString &path) override;

    // The package the last lines were about; empty before the first.
    QString lastPackage() const { return m_package; }
    int plannedInstallers() const { return m_plannedInstallers; }
    int plannedKeys() const { return m_plannedKeys; }

    static QString describe(const InstallerOutcome &outcome);

    void userHiveReached(const UserHive &hive) override;
    static QString describe(const UserHive &hive);

private:
    void print(const QString &text);

    Console &m_console;
    ExitStatus &m_status;
    QString m_package;
    int m_plannedInstallers = 0;
    int m_plannedKeys = 0;
};

#endif // CONSOLEOBSERVER_H
