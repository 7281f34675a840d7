#ifndef REMOVALOPTIONS_H
#define REMOVALOPTIONS_H

#include <QString>

// How a removal run treats the machine beyond the wizard's own way, which is every field
// at its default: registrations always go, only the running account's settings are reached,
// and everything really happens.
struct RemovalOptions
{
    // A package whose installer failed keeps its registrations (and the suite the
    // bootstrapper's entry), so that a later retry still finds the product.
    bool keepRegistrationsOfFailures = false;
    // The per-user settings go also from every user hive loaded under HKEY_USERS, not only
    // from the running account's own.
    bool allUsers = false;
    // Nothing is started or deleted: the installer commands and the keys that exist now
    // are reported as what would happen.
    bool dryRun = false;
    // Each key is added to this registry export, with everything below it, before it is
    // deleted; one that cannot be is not deleted. Empty: no backup (never in a dry run).
    QString backupFile;
};

#endif // REMOVALOPTIONS_H
