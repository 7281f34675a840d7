#ifndef REGISTRYPATHS_H
#define REGISTRYPATHS_H

#include <QString>

#include <algorithm>

// The registry keys a removal reads and deletes from. Names are exact: the run only ever
// deletes a child spelled exactly as asked.
class RegistryPaths
{
public:
    static QString uninstall()
    {
        return QStringLiteral(
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    }
    // The bootstrapper's own entry below uninstall(); its value PeldaLanguage names the
    // language the product was set up in.
    static QString bootstrapperName()
    {
        return QStringLiteral("{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}");
    }
    static QString machineSettings()
    {
        return QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\DAWLIX\\PELDA\\2015");
    }
    static QString userSettings()
    {
        return QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\DAWLIX\\PELDA\\2015");
    }
    // The hive of every loaded user profile; each child is one account's hive, named by
    // its security identifier.
    static QString users() { return QStringLiteral("HKEY_USERS"); }
    // userSettings() as seen in one account's hive below users().
    static QString userSettingsIn(const QString &userHive)
    {
        return users() + QLatin1Char('\\') + userHive
            + QStringLiteral("\\SOFTWARE\\DAWLIX\\PELDA\\2015");
    }
    // Whether a hive below users(), or a profile below profileList(), is a user account's:
    // local and domain accounts ("S-1-5-21-…") and Microsoft Entra ID accounts ("S-1-12-1-…"),
    // the rest of the name digits and dashes as in every SID. Never the classes hive beside an
    // account's ("…_Classes"), a profile entry Windows set aside ("….bak"), a service
    // account's ("S-1-5-18", "-19", "-20") or the default profile (".DEFAULT").
    static bool isUserAccount(const QString &name)
    {
        for (const QLatin1String prefix :
             { QLatin1String("S-1-5-21-"), QLatin1String("S-1-12-1-") }) {
            if (!name.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            const QStringView rest = QStringView(name).sliced(prefix.size());
            return !rest.isEmpty() && std::all_of(rest.begin(), rest.end(), [](QChar c) {
                return c == QLatin1Char('-') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
            });
        }
        return false;
    }
    // Every profile of the machine, signed in or not: each child is named by its account's
    // security identifier, and its value ProfileImagePath names the profile's folder.
    static QString profileList()
    {
        return QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows "
                              "NT\\CurrentVersion\\ProfileList");
    }
    // The name below users() under which a run loads the hive of a profile that is not
    // loaded, for as long as it removes settings from it.
    static QString profileHiveMount(const QString &sid) { return profileHiveMountPrefix() + sid; }
    static QString profileHiveMountPrefix() { return QStringLiteral("Remedor-"); }
    static QString installerProducts()
    {
        return QStringLiteral("HKEY_CLASSES_ROOT\\Installer\\Products");
    }
};

#endif // REGISTRYPATHS_H
