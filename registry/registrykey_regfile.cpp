// The registry stand-in used where there is no Windows registry: a registry editor export
// file named by the environment variable REMEDOR_REGISTRY. No variable, or no such file,
// is an empty registry (a file that is there but cannot be read is a damaged one); the file is
// never created. Outside a session every operation reads the file afresh; within one, the file
// is read again only when it changed underneath. A deletion writes it back atomically, so a
// crash never leaves half a file.
//
// The hive of a profile loaded by a run, HKEY_USERS\Remedor-<SID>, is the profile's own file
// (see profilehive_regfile.cpp), its keys written there below HKEY_CURRENT_USER.

#include "profilehive.h"
#include "regfile.h"
#include "registrykey.h"
#include "registrypaths.h"
#include "registrysession_regfile.h"

#include <QSaveFile>

#include <atomic>
#include <optional>

namespace {

QString registryFileName()
{
    return qEnvironmentVariable("REMEDOR_REGISTRY");
}

RegistrySession::Files::Content readFile(const QString &fileName, RegistrySession *session)
{
    return session ? session->files().read(fileName) : RegistrySession::Files::readNow(fileName);
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

// Where a key lies: the file that holds it, and its path as that file spells it.
struct Location
{
    QString fileName;
    QString path;
    bool loadedHive = false; // a profile's hive file, held by the run as Windows holds one
};

// A loaded profile's file is the one the session loaded under that name; outside a session,
// the one its profile list entry names.
QString hiveFileOf(const QString &sid, RegistrySession *session)
{
    if (session) {
        if (const std::optional<QString> file
            = session->files().mountedFile(RegistryPaths::profileHiveMount(sid)))
            return *file;
    }
    const RegistrySession::Files::Content machine = readFile(registryFileName(), session);
    const QString folder = machine.registry
        ? machine.registry->stringValue(RegistryPaths::profileList() + QLatin1Char('\\') + sid,
                                        QStringLiteral("ProfileImagePath"))
        : QString();
    return folder.isEmpty() ? QString() : ProfileHive::hiveFile(folder);
}

Location locate(const QString &path, RegistrySession *session)
{
    const QString mount
        = RegistryPaths::users() + QLatin1Char('\\') + RegistryPaths::profileHiveMountPrefix();
    if (!path.startsWith(mount, Qt::CaseInsensitive))
        return { registryFileName(), path };
    const QString sid = path.mid(mount.size()).section(QLatin1Char('\\'), 0, 0);
    const QString below = path.mid(mount.size() + sid.size());
    const QString file = hiveFileOf(sid, session);
    if (file.isEmpty())
        return {}; // no such profile: nothing there
    return { file, QStringLiteral("HKEY_CURRENT_USER") + below, true };
}

// The key at path, then each key below it, parents first, each under its name as the caller
// knows it (shownPath: a loaded profile's keys lie in its own file under another path). A key
// that only lies on the path of a deeper one is a key of its own, without values, as after an
// import.
void appendSubtree(const RegFile &registry, const QString &path, const QString &shownPath,
                   RegistrySubtree &subtree)
{
    subtree.keys.append({ shownPath, registry.values(path) });
    for (const QString &child : registry.childKeys(path)) {
        const QString below = QLatin1Char('\\') + child;
        appendSubtree(registry, path + below, shownPath + below, subtree);
    }
}

} // namespace

class RegistryKey::Backend
{
public:
    Backend(const Location &location, RegistrySession *session)
        : fileName(location.fileName)
        , path(location.path)
        , session(session)
        , loadedHive(location.loadedHive)
    {
        RegistrySession::Files::Content content = readFile(fileName, session);
        registry = std::move(content.registry);
        damage = content.damage;
        if (isDamaged())
            reportDamagedFile(fileName, damage);
    }

    bool isDamaged() const { return !damage.isEmpty(); }

    // QSaveFile writes a temporary file beside the registry file and renames it over the
    // old one only when everything was written: a failed save leaves the file as it was. The
    // explicit flush matters: commit() does not report a write that fails inside it (a full
    // disk), and an empty file would take the registry's place.
    QString save(const RegFile &changed) const
    {
        const QByteArray bytes = changed.toBytes();
        QSaveFile file(fileName);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
            && file.commit()) {
            if (session)
                session->files().written(fileName, changed);
            return QString();
        }
        return QStringLiteral("%1 could not be saved: %2").arg(fileName, file.errorString());
    }

    QString fileName;
    QString path; // the key's path as the file spells it
    RegistrySession *session;
    bool loadedHive;
    QString damage; // why the file does not parse; empty when it does
    std::optional<RegFile> registry; // empty: no file, or one that does not parse
};

RegistryKey::RegistryKey(const QString &path, RegistrySession *session)
    : m_path(path)
    , d(std::make_unique<Backend>(locate(path, session), session))
{
}

RegistryKey::~RegistryKey() = default;

QStringList RegistryKey::childKeys() const
{
    return d->registry ? d->registry->childKeys(d->path) : QStringList();
}

bool RegistryKey::hasChild(const QString &name) const
{
    return !name.isEmpty() && childKeys().contains(name, Qt::CaseSensitive);
}

QString RegistryKey::stringValue(const QString &valueName) const
{
    return d->registry ? d->registry->stringValue(d->path, valueName) : QString();
}

std::optional<RegistrySubtree> RegistryKey::childSubtree(const QString &name, QString *error) const
{
    if (d->isDamaged()) {
        *error = damageText(d->fileName, d->damage);
        return std::nullopt;
    }
    RegistrySubtree subtree;
    if (hasChild(name))
        appendSubtree(*d->registry, d->path + QLatin1Char('\\') + name,
                      m_path + QLatin1Char('\\') + name, subtree);
    return subtree;
}

// Parsed without the one-time warning: the caller reports it in its own words.
QString RegistryKey::damage()
{
    const QString fileName = registryFileName();
    const QString why = RegistrySession::Files::readNow(fileName).damage;
    return why.isEmpty() ? QString() : damageText(fileName, why);
}

KeyRemoval RegistryKey::removeChildKey(const QString &name)
{
    KeyRemoval removal { m_path + QLatin1Char('\\') + name, KeyRemoval::NotThere, QString() };
    // Nothing else writes a loaded hive (Windows locks its file): its stamp is proof enough.
    if (d->session && !d->loadedHive) {
        RegistrySession::Files::Content now = d->session->files().readForChange(d->fileName);
        d->registry = std::move(now.registry);
        d->damage = now.damage;
    }
    if (d->isDamaged()) {
        // Whether the key is there cannot be known, and the file is never rewritten.
        removal.status = KeyRemoval::Failed;
        removal.reason = damageText(d->fileName, d->damage);
        return removal;
    }
    if (!hasChild(name))
        return removal;

    RegFile changed = *d->registry;
    changed.removeKey(d->path + QLatin1Char('\\') + name);
    removal.reason = d->save(changed);
    if (!removal.reason.isEmpty()) {
        removal.status = KeyRemoval::Failed;
        return removal;
    }
    d->registry = std::move(changed);
    removal.status = KeyRemoval::Removed;
    return removal;
}
