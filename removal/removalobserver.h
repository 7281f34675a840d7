#ifndef REMOVALOBSERVER_H
#define REMOVALOBSERVER_H

#include "installeroutcome.h"
#include "keyremoval.h"
#include "productstate.h"
#include "userhive.h"

#include <QString>
#include <QStringList>

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

    // A package's turn has come: everything heard until the next one is about it.
    virtual void packageStarting(const QString &displayName) { Q_UNUSED(displayName) }

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

    // A package whose keys stay: its installer failed, in a run that keeps the registrations
    // of such a package, or it is still running past the time limit, or it found Windows
    // Installer busy (1618), in any run. None of its keys were touched (for the suite, nor the
    // bootstrapper's entry); its steps are still reported finished.
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

    // What Windows Installer knew of a package before its turn, in runs that ask.
    virtual void productStateRead(const QString &displayName, ProductState state)
    {
        Q_UNUSED(displayName)
        Q_UNUSED(state)
    }
    // A package Windows Installer does not know: no installer is started (in a dry run,
    // none would be), and its leftover keys go.
    virtual void installerSkipped(const QString &displayName) { Q_UNUSED(displayName) }

    // Why a package was neither handed to its installer nor had its keys touched.
    enum class NotAttempted {
        InstallerBusy, // an earlier installer reported another installation in progress
        TimeLimitPassed, // the run's time limit passed (an installer may be left running)
        StopRequested, // a stop was asked for (Ctrl+C, SIGTERM) before the package's turn
    };
    virtual void packageNotAttempted(const QString &displayName, NotAttempted reason)
    {
        Q_UNUSED(displayName)
        Q_UNUSED(reason)
    }

    // Why the suite and the bootstrapper's entry stay; heard once, after the editions,
    // whenever they are not due to go.
    enum class SuiteKept {
        NoBootstrapperEntry,
        NoRecordedLanguage,
        UnknownLanguage, // recorded, but not one of the fifteen editions' languages
        EditionNotChosen, // the edition of the recorded language was not among those removed
        EditionFailed, // its registrations stayed: its installer failed (and failed packages
                       // keep them), or found Windows Installer busy (1618)
    };
    // recordedLanguage as the bootstrapper's entry spells it ("de-DE"), empty when none.
    virtual void suiteKept(SuiteKept reason, const QString &recordedLanguage)
    {
        Q_UNUSED(reason)
        Q_UNUSED(recordedLanguage)
    }

    // With all users, once the packages are done (after a stop too): the settings of these
    // editions, whose registrations went, are removed from every user account's hive in one
    // pass, each hive reached once.
    virtual void userSettingsStarting(const QStringList &displayNames) { Q_UNUSED(displayNames) }
    // Each user account's hive, right before its settings keys are removed (or planned) there;
    // a hive that could not be reached is said here only. A hive loaded by the run that then
    // could not be unloaded is heard a second time, as NotUnloaded.
    virtual void userHiveReached(const UserHive &hive) { Q_UNUSED(hive) }
    // A settings key of that edition that was there in the hive last reached, and what became
    // of it (keys not there are not heard). Observers that do not tell hives apart hear it as
    // keyRemoved, or in a dry run as keyPlanned.
    virtual void userKeyRemoved(const QString &displayName, const KeyRemoval &removal)
    {
        Q_UNUSED(displayName)
        keyRemoved(removal);
    }
    virtual void userKeyPlanned(const QString &displayName, const QString &path)
    {
        Q_UNUSED(displayName)
        keyPlanned(path);
    }
};

#endif // REMOVALOBSERVER_H
