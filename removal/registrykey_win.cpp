// The Windows registry through QSettings, in the 32-bit view the tool has always used:
// HKLM\SOFTWARE paths resolve under WOW6432Node, HKCR\Installer and HKCU\SOFTWARE are shared.
//
// HKCR\Installer is read through the 64-bit view. On Windows both views show the one shared
// key, so nothing changes there; Wine, however, keeps a separate 32-bit HKCR (under
// Classes\Wow6432Node) and its Windows Installer writes HKCR\Installer in the 64-bit view
// only, where the 32-bit view never finds it.
//
// QSettings opened on a path creates every missing key on it the first time it is used, so
// existence is always tested from the hive root, addressing the key as a group: Qt opens
// such groups read-only and creates nothing. A key is opened by its own path only once it
// is known to exist.

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

        const bool installerClasses
            = hive.compare(QLatin1String("HKEY_CLASSES_ROOT"), Qt::CaseInsensitive) == 0
            && (group.compare(QLatin1String("Installer"), Qt::CaseInsensitive) == 0
                || group.startsWith(QLatin1String("Installer/"), Qt::CaseInsensitive));
        format = installerClasses ? QSettings::Registry64Format : QSettings::Registry32Format;
    }

    QString hive; // "HKEY_LOCAL_MACHINE" …
    QString group; // the rest of the path, as a QSettings group
    QSettings::Format format;
};

RegistryKey::RegistryKey(const QString &path)
    : m_path(path)
    , d(std::make_unique<Backend>(path))
{
}

RegistryKey::~RegistryKey() = default;

QStringList RegistryKey::childKeys() const
{
    QSettings root(d->hive, d->format);
    if (!d->group.isEmpty())
        root.beginGroup(d->group);
    return root.childGroups();
}

QString RegistryKey::stringValue(const QString &valueName) const
{
    QSettings root(d->hive, d->format);
    if (!d->group.isEmpty())
        root.beginGroup(d->group);
    return root.value(valueName).toString();
}

// The child is opened by its own path and cleared: QSettings then deletes its values and
// subkeys, and the key itself when it is closed. Removing the child from the parent instead
// would also delete a value of the parent that happens to share the child's name.
bool RegistryKey::removeChildKey(const QString &name)
{
    if (name.isEmpty() || !childKeys().contains(name, Qt::CaseSensitive))
        return false;
    {
        QSettings child(m_path + QLatin1Char('\\') + name, d->format);
        child.clear();
    }
    return !childKeys().contains(name, Qt::CaseSensitive);
}
