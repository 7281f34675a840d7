#include "profilehive.h"

#include "registrykey.h"
#include "registrypaths.h"

#include <QSet>

namespace {

QStringList userAccounts(const QString &path, RegistrySession *session)
{
    QStringList names = RegistryKey(path, session).childKeys();
    names.removeIf([](const QString &name) { return !RegistryPaths::isUserAccount(name); });
    return names;
}

} // namespace

QList<ProfileHive::Profile> ProfileHive::userProfiles(RegistrySession *session)
{
    const QStringList listed = userAccounts(RegistryPaths::profileList(), session);
    const QStringList loaded = userAccounts(RegistryPaths::users(), session);
    // By case-folded name: a machine may list hundreds of profiles.
    QSet<QString> listedNames, loadedNames;
    for (const QString &sid : listed)
        listedNames.insert(sid.toCaseFolded());
    for (const QString &sid : loaded)
        loadedNames.insert(sid.toCaseFolded());
    auto folderOf = [&listedNames, session](const QString &sid) {
        if (!listedNames.contains(sid.toCaseFolded()))
            return QString();
        const RegistryKey profile(RegistryPaths::profileList() + QLatin1Char('\\') + sid, session);
        return expandedFolder(profile.stringValue(QStringLiteral("ProfileImagePath")));
    };

    QList<Profile> profiles;
    for (const QString &sid : loaded)
        profiles.append({ sid, folderOf(sid), true });
    for (const QString &sid : listed) {
        if (!loadedNames.contains(sid.toCaseFolded()))
            profiles.append({ sid, folderOf(sid), false });
    }
    return profiles;
}

bool ProfileHive::isSignedIn(const QString &sid, RegistrySession *session)
{
    return RegistryKey(RegistryPaths::users(), session)
        .childKeys()
        .contains(sid, Qt::CaseInsensitive);
}

ProfileHive::ProfileHive(const Profile &profile, RegistrySession *session)
    : m_session(session)
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
