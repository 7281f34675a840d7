#ifndef REMOVALOBSERVER_H
#define REMOVALOBSERVER_H

#include "installeroutcome.h"
#include "keyremoval.h"
#include "userhive.h"

#include <QString>

// Hears each step of a removal run as it happens, on the thread that performs the run. The
// wizard's Process page moves its progress bar by these steps; the command line prints them.
class RemovalObserver
{
public:
    // The parts of one package's removal, in the order they happen.
    enum class Step {
        Installer, // the installer has ended
        SettingsKeys, // the edition's per-machine and per-user settings keys (editions only)
        UninstallEntry,
        ProductsEntry, // the installer's registered-products entry
        BootstrapperEntry, // after the suite: the bootstrapper's own uninstall entry
    };

    virtual ~RemovalObserver() = default;

    virtual void installerStarting(const QString &displayName, const QString &commandLine)
    {
        Q_UNUSED(displayName)
        Q_UNUSED(commandLine)
    }
    virtual void installerFinished(const InstallerOutcome &outcome, qint64 milliseconds)
    {
        Q_UNUSED(outcome)
        Q_UNUSED(milliseconds)
    }
    // Every key the run tried to delete, whatever became of it.
    virtual void keyRemoved(const KeyRemoval &removal) { Q_UNUSED(removal) }
    virtual void stepFinished(const QString &displayName, Step step)
    {
        Q_UNUSED(displayName)
        Q_UNUSED(step)
    }

    // A package whose installer failed, in a run that keeps the registrations of such a
    // package: none of its keys were touched (for the suite, nor the bootstrapper's entry).
    virtual void registrationsKept(const InstallerOutcome &outcome) { Q_UNUSED(outcome) }

    // Dry runs hear these in place of installerStarting, installerFinished and keyRemoved
    // (the steps are still reported). The command that would run, before the package's keys:
    virtual void installerPlanned(const QString &displayName, const QString &commandLine)
    {
        Q_UNUSED(displayName)
        Q_UNUSED(commandLine)
    }
    // A key that exists now, spelled exactly as the run deletes it, and would go.
    virtual void keyPlanned(const QString &path) { Q_UNUSED(path) }

    // With all users: each user account's hive, right before its settings key is removed (or
    // planned) there, once per edition; a hive that could not be reached is said here only.
    // A hive loaded by the run that then could not be unloaded is heard a second time, as
    // NotUnloaded.
    virtual void userHiveReached(const UserHive &hive) { Q_UNUSED(hive) }
};

#endif // REMOVALOBSERVER_H
