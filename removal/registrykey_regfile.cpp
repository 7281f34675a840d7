// The registry stand-in used where there is no Windows registry: a registry editor export
// file named by the environment variable REMEDOR_REGISTRY. No variable, or no such file,
// is an empty registry; the file is never created. Every operation reads the file afresh,
// and a deletion writes it back atomically, so a crash never leaves half a file.

#include "regfile.h"
#include "registrykey.h"

#include <QFile>
#include <QSaveFile>

#include <atomic>
#include <optional>

namespace {

QString registryFileName()
{
    return qEnvironmentVariable("REMEDOR_REGISTRY");
}

// The registry as the file holds it; nothing when there is no file, and nothing with *damage
// saying why when it does not parse.
std::optional<RegFile> readRegistry(const QString &fileName, QString *damage)
{
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return RegFile::parse(file.readAll(), damage);
}

QString damageText(const QString &fileName, const QString &why)
{
    return QStringLiteral("%1 cannot be read: %2").arg(fileName, why);
}

// A damaged file is reported once per process, then treated as unreadable.
void reportDamagedFile(const QString &fileName, const QString &why)
{
    static std::atomic_bool reported { false };
    if (!reported.exchange(true))
        qWarning("Registry file %s cannot be read (%s); nothing will be changed in it.",
                 qPrintable(fileName), qPrintable(why));
}

// The key at path, then each key below it, parents first. A key that only lies on the path
// of a deeper one is a key of its own, without values, as after an import.
void appendSubtree(const RegFile &registry, const QString &path, RegistrySubtree &subtree)
{
    subtree.keys.append({ path, registry.values(path) });
    for (const QString &child : registry.childKeys(path))
        appendSubtree(registry, path + QLatin1Char('\\') + child, subtree);
}

} // namespace

class RegistryKey::Backend
{
public:
    Backend()
        : fileName(registryFileName())
        , registry(readRegistry(fileName, &damage))
    {
        if (isDamaged())
            reportDamagedFile(fileName, damage);
    }

    bool isDamaged() const { return !damage.isEmpty(); }

    // QSaveFile writes a temporary file beside the registry file and renames it over the
    // old one only when everything was written: a failed save leaves the file as it was.
    QString save(const RegFile &changed) const
    {
        QSaveFile file(fileName);
        if (file.open(QIODevice::WriteOnly) && file.write(changed.toBytes()) >= 0 && file.commit())
            return QString();
        return QStringLiteral("%1 could not be saved: %2").arg(fileName, file.errorString());
    }

    QString fileName;
    QString damage; // why the file does not parse; empty when it does (declared before registry)
    std::optional<RegFile> registry; // empty: no file, or one that does not parse
};

RegistryKey::RegistryKey(const QString &path)
    : m_path(path)
    , d(std::make_unique<Backend>())
{
}

RegistryKey::~RegistryKey() = default;

QStringList RegistryKey::childKeys() const
{
    return d->registry ? d->registry->childKeys(m_path) : QStringList();
}

bool RegistryKey::hasChild(const QString &name) const
{
    return !name.isEmpty() && childKeys().contains(name, Qt::CaseSensitive);
}

QString RegistryKey::stringValue(const QString &valueName) const
{
    return d->registry ? d->registry->stringValue(m_path, valueName) : QString();
}

std::optional<RegistrySubtree> RegistryKey::childSubtree(const QString &name, QString *error) const
{
    if (d->isDamaged()) {
        *error = damageText(d->fileName, d->damage);
        return std::nullopt;
    }
    RegistrySubtree subtree;
    if (hasChild(name))
        appendSubtree(*d->registry, m_path + QLatin1Char('\\') + name, subtree);
    return subtree;
}

// Parsed without the one-time warning: the caller reports it in its own words.
QString RegistryKey::damage()
{
    const QString fileName = registryFileName();
    QString why;
    readRegistry(fileName, &why);
    return why.isEmpty() ? QString() : damageText(fileName, why);
}

KeyRemoval RegistryKey::removeChildKey(const QString &name)
{
    KeyRemoval removal { m_path + QLatin1Char('\\') + name, KeyRemoval::NotThere, QString() };
    if (d->isDamaged()) {
        // Whether the key is there cannot be known, and the file is never rewritten.
        removal.status = KeyRemoval::Failed;
        removal.reason = damageText(d->fileName, d->damage);
        return removal;
    }
    if (!hasChild(name))
        return removal;

    RegFile changed = *d->registry;
    changed.removeKey(removal.path);
    removal.reason = d->save(changed);
    if (!removal.reason.isEmpty()) {
        removal.status = KeyRemoval::Failed;
        return removal;
    }
    d->registry = std::move(changed);
    removal.status = KeyRemoval::Removed;
    return removal;
}
