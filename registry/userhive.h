#ifndef USERHIVE_H
#define USERHIVE_H

#include <QString>

// How a removal reached one user account's hive, for its per-user settings.
struct UserHive
{
    enum Reach {
        AlreadyLoaded, // the user is signed in (or the hive is loaded for another reason)
        LoadedByRun, // loaded from the profile's NTUSER.DAT, and unloaded again
        NoHiveFile, // a profile folder without NTUSER.DAT: a stale entry, nothing to reach
        NotLoadable, // NTUSER.DAT is there but could not be loaded; reason says why
        NotUnloaded, // loaded by the run, but it could not be unloaded; reason says why
    };

    QString sid; // the account's security identifier, the hive's name below HKEY_USERS
    QString profilePath; // the profile's folder; empty when no profile lists the hive
    Reach reach = AlreadyLoaded;
    QString reason; // the system's words, for NotLoadable and NotUnloaded

    // Settings that could be there stay unremoved.
    bool isFailure() const { return reach == NotLoadable || reach == NotUnloaded; }

    // A stable word for machine-readable reports.
    static QString keyword(Reach reach)
    {
        switch (reach) {
        case AlreadyLoaded:
            return QStringLiteral("loaded");
        case LoadedByRun:
            return QStringLiteral("loadedByRun");
        case NoHiveFile:
            return QStringLiteral("noHiveFile");
        case NotLoadable:
            return QStringLiteral("notLoadable");
        case NotUnloaded:
            return QStringLiteral("notUnloaded");
        }
        return QString();
    }
};

#endif // USERHIVE_H
