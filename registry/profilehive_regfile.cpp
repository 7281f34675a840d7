// Profiles on the registry stand-in: a profile's folder is the ProfileImagePath of its entry in
// the profile list, taken as a local folder as it stands, and its hive is the file NTUSER.DAT
// there, a registry editor export file whose keys are written as its user sees them, below
// HKEY_CURRENT_USER. The registry stand-in reaches that file's keys under the hive's mount
// name while it is loaded; loading reads the file (once: within a session the parsed file is
// kept for the keys reached under the mount name), and unloading only forgets it, as every
// change is written to the file at once.

#include "profilehive.h"
#include "registrysession_regfile.h"

#include <QDir>
#include <QFile>

QString ProfileHive::hiveFile(const QString &profileFolder)
{
    return QDir(profileFolder).filePath(QStringLiteral("NTUSER.DAT"));
}

QString ProfileHive::expandedFolder(const QString &stored)
{
    return stored;
}

UserHive::Reach ProfileHive::load(QString *reason)
{
    const QString file = hiveFile(m_report.profilePath);
    if (!QFile::exists(file))
        return UserHive::NoHiveFile;
    RegistrySession::Files::Content content
        = m_session ? m_session->files().read(file) : RegistrySession::Files::readNow(file);
    if (!content.registry && content.damage.isEmpty())
        content.damage = QStringLiteral("the file is gone");
    if (!content.damage.isEmpty()) {
        *reason = content.damage;
        return UserHive::NotLoadable;
    }
    if (m_session)
        m_session->files().mount(mountName(), file);
    return UserHive::LoadedByRun;
}

QString ProfileHive::unloadHive()
{
    if (m_session)
        m_session->files().unmount(mountName());
    return QString();
}
