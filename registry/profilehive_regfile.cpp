// Profiles on the registry stand-in: a profile's folder is the ProfileImagePath of its entry in
// the profile list, taken as a local folder as it stands, and its hive is the file NTUSER.DAT
// there, a registry editor export file whose keys are written as its user sees them, below
// HKEY_CURRENT_USER. The registry stand-in reaches that file's keys under the hive's mount
// name while it is loaded; loading only checks that the file can be read, and unloading has
// nothing to do, as every change is written to the file at once.

#include "profilehive.h"
#include "regfile.h"

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
    QFile file(hiveFile(m_report.profilePath));
    if (!file.exists())
        return UserHive::NoHiveFile;
    QString damage;
    if (!file.open(QIODevice::ReadOnly))
        damage = file.errorString();
    else if (!RegFile::parse(file.readAll(), &damage) && damage.isEmpty())
        damage = file.errorString();
    if (damage.isEmpty())
        return UserHive::LoadedByRun;
    *reason = damage;
    return UserHive::NotLoadable;
}

QString ProfileHive::unloadHive()
{
    return QString();
}
