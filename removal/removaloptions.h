#ifndef REMOVALOPTIONS_H
#define REMOVALOPTIONS_H

#include <QString>

// How a removal run treats the machine beyond the wizard's own way, which is every field
// at its default: registrations always go, only the running account's settings are reached,
// every chosen package is handed to its installer, which may take as long as it needs, and
// everything really happens.
struct RemovalOptions
{
    // A package whose installer failed keeps its registrations (and the suite the
    // bootstrapper's entry), so that a later retry still finds the product. When the edition
    // of the bootstrapper's language is such a package, the suite and the bootstrapper's
    // entry stay too: without them the edition could be neither used nor seen.
    bool keepRegistrationsOfFailures = false;
    // The per-user settings go also from every user account's hive, not only from the running
    // account's own: those loaded under HKEY_USERS, and the hive of each profile that is not,
    // loaded for the moment.
    bool allUsers = false;
    // Nothing is started or deleted: the installer commands and the keys that exist now
    // are reported as what would happen.
    bool dryRun = false;
    // Each installer writes its verbose log into this folder, as remedor-<CODE>.log
    // (remedor-suite.log for the suite); empty for none.
    QString installerLogFolder;
    // How long the whole run may take, in milliseconds counted from its start; negative for as
    // long as it takes. Once it has passed, the installer under way is left running and no
    // further package is started.
    int timeLimitMs = -1;
    // After an installer reported another installation in progress (1618), no further
    // package is started: each would meet the same. (That package's registrations stay in
    // any case: its installer never started.)
    bool endWhenInstallerBusy = false;
    // A package that Windows Installer does not know at all is not handed to it; its
    // leftover keys go as after "not installed" (1605).
    bool skipUnknownProducts = false;
    // Each key is added to this registry export, with everything below it, before it is
    // deleted; one that cannot be is not deleted. Empty: no backup (never in a dry run).
    QString backupFile;
};

#endif // REMOVALOPTIONS_H
