#ifndef PROFILEHIVE_H
#define PROFILEHIVE_H

#include "userhive.h"

#include <QList>
#include <QString>

class RegistrySession;

// The registry hives of the machine's user profiles, signed in or not, and the loading of the
// hive of a profile that is not signed in for as long as its settings are removed.
//
// The build picks the backend: on Windows, ProfileList in the 64-bit view, each profile's
// NTUSER.DAT loaded with RegLoadKeyW under the backup and restore privileges; elsewhere the
// registry stand-in, where a profile's hive is an export file NTUSER.DAT in its folder.
class ProfileHive
{
public:
    struct Profile
    {
        QString sid;
        QString folder; // expanded; empty when the profile list names none
        bool loaded = false; // its hive is loaded under HKEY_USERS\<sid>
    };
    // Every user account's hive: those loaded under HKEY_USERS, then the profiles of the
    // profile list whose hive is not loaded.
    static QList<Profile> userProfiles(RegistrySession *session = nullptr);
    // Whether the account's hive is loaded under HKEY_USERS now: its user signed in.
    static bool isSignedIn(const QString &sid, RegistrySession *session = nullptr);
    // The hive file in a profile's folder.
    static QString hiveFile(const QString &profileFolder);

    // Loads the hive of a profile that is not loaded, below HKEY_USERS under mountName(); its
    // keys are reached through RegistryKey in the same session.
    explicit ProfileHive(const Profile &profile, RegistrySession *session = nullptr);
    // Unloads it, whichever way its user returns: a hive is never left loaded.
    ~ProfileHive();
    ProfileHive(const ProfileHive &) = delete;
    ProfileHive &operator=(const ProfileHive &) = delete;

    bool isLoaded() const { return m_loaded; }
    QString mountName() const;
    // How the hive was reached: LoadedByRun, NoHiveFile or NotLoadable; NotUnloaded once
    // unload() failed.
    UserHive report() const { return m_report; }
    // Unloads it now; false, with the reason in report(), when it stays loaded.
    bool unload();

private:
    // The platform's part: the profile list's folder as stored, expanded; loading and
    // unloading the hive file under mountName().
    static QString expandedFolder(const QString &stored);
    UserHive::Reach load(QString *reason);
    QString unloadHive();

    RegistrySession *m_session;
    UserHive m_report;
    bool m_loaded = false;
};

#endif // PROFILEHIVE_H
