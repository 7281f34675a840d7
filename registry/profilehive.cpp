#include "profilehive.h"

#include "registrykey.h"
#include "registrypaths.h"

namespace {

QStringList userAccounts(const QString &path)
{
    QStringList names = RegistryKey(path).childKeys();
    names.removeIf([](const QString &name) { return !RegistryPaths::isUserAccount(name); });
    return names;
}

} // namespace

QList<ProfileHive::Profile> ProfileHive::userProfiles()
{
    const QStringList listed = userAccounts(RegistryPaths::profileList());
    const QStringList loaded = userAccounts(RegistryPaths::users());
    auto folderOf = [&listed](const QString &sid) {
        if (!listed.contains(sid, Qt::CaseInsensitive))
            return QString();
        const RegistryKey profile(RegistryPaths::profileList() + QLatin1Char('\\') + sid);
        return expandedFolder(profile.stringValue(QStringLiteral("ProfileImagePath")));
    };

    QList<Profile> profiles;
    for (const QString &sid : loaded)
        profiles.append({ sid, folderOf(sid), true });
    for (const QString &sid : listed) {
        if (!loaded.contains(sid, Qt::CaseInsensitive))
            profiles.append({ sid, folderOf(sid), false });
    }
    return profiles;
}

ProfileHive::ProfileHive(const Profile &profile)
{
    m_report = { profile.sid, profile.folder, UserHive::NoHiveFile, QString() };
    if (profile.folder.isEmpty())
        return;
    m_report.reach = load(&m_report.reason);
    m_loaded = m_report.reach == UserHive::LoadedByRun;
}

ProfileHive::~ProfileHive()
{
    unload();
}

QString ProfileHive::mountName() const
{
    return RegistryPaths::profileHiveMount(m_report.sid);
}

bool ProfileHive::unload()
{
    if (!m_loaded)
        return m_report.reach != UserHive::NotUnloaded;
    const QString reason = unloadHive();
    if (reason.isEmpty()) {
        m_loaded = false;
        return true;
    }
    m_report.reach = UserHive::NotUnloaded;
    m_report.reason = reason;
    m_loaded = false; // tried with every retry the platform makes: nothing more to do
    return false;
}
