#ifndef REMOVALOPTIONS_H
#define REMOVALOPTIONS_H

// How a removal run treats the machine beyond the wizard's own way, which is every field
// at its default: registrations always go, only the running account's settings are reached,
// and everything really happens.
struct RemovalOptions
{
    // A package whose installer failed keeps its registrations (and the suite the
    // bootstrapper's entry), so that a later retry still finds the product.
    bool keepRegistrationsOfFailures = false;
    // The per-user settings go also from every user account's hive, not only from the running
    // account's own: those loaded under HKEY_USERS, and the hive of each profile that is not,
    // loaded for the moment.
    bool allUsers = false;
    // Nothing is started or deleted: the installer commands and the keys that exist now
    // are reported as what would happen.
    bool dryRun = false;
};

#endif // REMOVALOPTIONS_H
