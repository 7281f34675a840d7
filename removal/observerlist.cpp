#include "observerlist.h"

ObserverList::ObserverList(const QList<RemovalObserver *> &observers)
    : m_observers(observers)
{
}

void ObserverList::packageStarting(const QString &displayName)
{
    for (RemovalObserver *observer : m_observers)
        observer->packageStarting(displayName);
}

void ObserverList::installerStarting(const QString &displayName, const QString &commandLine)
{
    for (RemovalObserver *observer : m_observers)
        observer->installerStarting(displayName, commandLine);
}

void ObserverList::installerFinished(const InstallerOutcome &outcome, qint64 milliseconds)
{
    for (RemovalObserver *observer : m_observers)
        observer->installerFinished(outcome, milliseconds);
}

void ObserverList::keyRemoved(const KeyRemoval &removal)
{
    for (RemovalObserver *observer : m_observers)
        observer->keyRemoved(removal);
}

void ObserverList::stepFinished(const QString &displayName, Step step)
{
    for (RemovalObserver *observer : m_observers)
        observer->stepFinished(displayName, step);
}

void ObserverList::registrationsKept(const InstallerOutcome &outcome)
{
    for (RemovalObserver *observer : m_observers)
        observer->registrationsKept(outcome);
}

void ObserverList::installerPlanned(const QString &displayName, const QString &commandLine)
{
    for (RemovalObserver *observer : m_observers)
        observer->installerPlanned(displayName, commandLine);
}

void ObserverList::keyPlanned(const QString &path)
{
    for (RemovalObserver *observer : m_observers)
        observer->keyPlanned(path);
}

void ObserverList::productStateRead(const QString &displayName, ProductState state)
{
    for (RemovalObserver *observer : m_observers)
        observer->productStateRead(displayName, state);
}

void ObserverList::installerSkipped(const QString &displayName)
{
    for (RemovalObserver *observer : m_observers)
        observer->installerSkipped(displayName);
}

void ObserverList::packageNotAttempted(const QString &displayName, NotAttempted reason)
{
    for (RemovalObserver *observer : m_observers)
        observer->packageNotAttempted(displayName, reason);
}

void ObserverList::suiteKept(SuiteKept reason, const QString &recordedLanguage)
{
    for (RemovalObserver *observer : m_observers)
        observer->suiteKept(reason, recordedLanguage);
}

void ObserverList::userSettingsStarting(const QStringList &displayNames)
{
    for (RemovalObserver *observer : m_observers)
        observer->userSettingsStarting(displayNames);
}

void ObserverList::userKeyRemoved(const QString &displayName, const KeyRemoval &removal)
{
    for (RemovalObserver *observer : m_observers)
        observer->userKeyRemoved(displayName, removal);
}

void ObserverList::userKeyPlanned(const QString &displayName, const QString &path)
{
    for (RemovalObserver *observer : m_observers)
        observer->userKeyPlanned(displayName, path);
}

void ObserverList::userHiveReached(const UserHive &hive)
{
    for (RemovalObserver *observer : m_observers)
        observer->userHiveReached(hive);
}
