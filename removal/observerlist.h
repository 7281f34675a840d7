#ifndef OBSERVERLIST_H
#define OBSERVERLIST_H

#include "removalobserver.h"

#include <QList>

// Several observers of one removal run, each told every step in the order they were added.
class ObserverList : public RemovalObserver
{
public:
    explicit ObserverList(const QList<RemovalObserver *> &observers);

    void packageStarting(const QString &displayName) override;
    void installerStarting(const QString &displayName, const QString &commandLine) override;
    void installerFinished(const InstallerOutcome &outcome, qint64 milliseconds) override;
    void keyRemoved(const KeyRemoval &removal) override;
    void stepFinished(const QString &displayName, Step step) override;
    void registrationsKept(const InstallerOutcome &outcome) override;
    void installerPlanned(const QString &displayName, const QString &commandLine) override;
    void keyPlanned(const QString &path) override;
    void productStateRead(const QString &displayName, ProductState state) override;
    void installerSkipped(const QString &displayName) override;
    void packageNotAttempted(const QString &displayName, NotAttempted reason) override;
    void suiteKept(SuiteKept reason, const QString &recordedLanguage) override;
    void userSettingsStarting(const QStringList &displayNames) override;
    void userHiveReached(const UserHive &hive) override;
    void userKeyRemoved(const QString &displayName, const KeyRemoval &removal) override;
    void userKeyPlanned(const QString &displayName, const QString &path) override;

private:
    QList<RemovalObserver *> m_observers;
};

#endif // OBSERVERLIST_H
