// The Windows registry through QSettings, in the 32-bit view the tool has always used:
// HKLM\SOFTWARE paths resolve under WOW6432Node, HKCR\Installer and HKCU\SOFTWARE are shared.
//
// QSettings opened on a path creates every missing key on it the first time it is used, so
// existence is always tested from the hive root, addressing the key as a group: Qt opens
// such groups read-only and creates nothing. A key is opened by its own path only once it
// is known to exist, and the deletion runs there, so that it stays inside the 32-bit branch.

#include "registrykey.h"

#include <QSettings>

class RegistryKey::Backend
{
public:
    explicit Backend(const QString &path)
    {
        const qsizetype separator = path.indexOf(QLatin1Char('\\'));
        hive = separator < 0 ? path : path.left(separator);
        if (separator >= 0)
            group = path.mid(separator + 1).replace(QLatin1Char('\\'), QLatin1Char('/'));
    }

    QString hive; // "HKEY_LOCAL_MACHINE" …
    QString group; // the rest of the path, as a QSettings group
};

RegistryKey::RegistryKey(const QString &path) : m_path(path), d(std::make_unique<Backend>(path)) { }

RegistryKey::~RegistryKey() = default;

QStringList RegistryKey::childKeys() const
{
    QSettings root(d->hive, QSettings::Registry32Format);
    if (!d->group.isEmpty())
        root.beginGroup(d->group);
    return root.childGroups();
}

QString RegistryKey::stringValue(const QString &valueName) const
{
    QSettings root(d->hive, QSettings::Registry32Format);
    if (!d->group.isEmpty())
        root.beginGroup(d->group);
    return root.value(valueName).toString();
}

bool RegistryKey::removeChildKey(const QString &name)
{
    if (name.isEmpty() || !childKeys().contains(name, Qt::CaseSensitive))
        return false;
    QSettings parent(m_path, QSettings::Registry32Format);
    parent.remove(name);
    parent.sync();
    return parent.status() == QSettings::NoError;
}
