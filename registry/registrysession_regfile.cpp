#include "registrysession_regfile.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

RegistrySession::RegistrySession()
    : m_files(std::make_unique<Files>())
{
}

RegistrySession::~RegistrySession() = default;

// Only a missing file is an empty registry: one that is there but unreadable may hold every
// key, and a removal that "succeeded" in it would be a lie.
RegistrySession::Files::Content RegistrySession::Files::readNow(const QString &fileName)
{
    Content content;
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || (!info.exists() && !info.isSymLink()))
        return content;
    QFile file(fileName);
    if (info.isDir())
        content.damage = QStringLiteral("it is a folder");
    else if (!file.open(QIODevice::ReadOnly))
        content.damage = file.errorString();
    else
        content.registry = RegFile::parse(file.readAll(), &content.damage);
    return content;
}

bool RegistrySession::Files::Stamp::operator==(const Stamp &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode
        && size == other.size && changed == other.changed && modified == other.modified;
}

RegistrySession::Files::Stamp RegistrySession::Files::stamp(const QString &fileName)
{
    struct stat status
    {
    };
    if (fileName.isEmpty() || stat(QFile::encodeName(fileName).constData(), &status) != 0)
        return {};
    auto nanoseconds = [](const timespec &time) {
        return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    return { true,
             qint64(status.st_dev),
             qint64(status.st_ino),
             qint64(status.st_size),
             nanoseconds(status.st_ctim),
             nanoseconds(status.st_mtim) };
}

// Stamped before it is read: a change while it is read shows at the next look.
RegistrySession::Files::Content RegistrySession::Files::read(const QString &fileName)
{
    const Stamp now = stamp(fileName);
    const auto cached = m_files.constFind(fileName);
    if (now.exists && cached != m_files.cend() && cached->stamp == now)
        return cached->content;
    Content content = readNow(fileName);
    if (now.exists)
        m_files.insert(fileName, { now, content });
    else
        m_files.remove(fileName);
    return content;
}

RegistrySession::Files::Content RegistrySession::Files::readForChange(const QString &fileName)
{
    const Stamp now = stamp(fileName);
    const auto cached = m_files.find(fileName);
    QFile file(fileName);
    if (now.exists && cached != m_files.end() && cached->content.registry
        && file.open(QIODevice::ReadOnly)
        && file.readAll() == cached->content.registry->toBytes()) {
        cached->stamp = now;
        return cached->content;
    }
    m_files.remove(fileName);
    return read(fileName);
}

void RegistrySession::Files::written(const QString &fileName, const RegFile &registry)
{
    const Stamp now = stamp(fileName);
    if (now.exists)
        m_files.insert(fileName, { now, { registry, QString() } });
    else
        m_files.remove(fileName);
}

void RegistrySession::Files::forget(const QString &fileName)
{
    m_files.remove(fileName);
}

void RegistrySession::Files::mount(const QString &mountName, const QString &fileName)
{
    m_mounts.insert(mountName.toCaseFolded(), fileName);
}

void RegistrySession::Files::unmount(const QString &mountName)
{
    const QString fileName = m_mounts.take(mountName.toCaseFolded());
    forget(fileName);
}

std::optional<QString> RegistrySession::Files::mountedFile(const QString &mountName) const
{
    const auto found = m_mounts.constFind(mountName.toCaseFolded());
    return found == m_mounts.cend() ? std::nullopt : std::optional<QString>(*found);
}
