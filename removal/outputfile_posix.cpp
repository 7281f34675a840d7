// Output files on POSIX systems: every file is reached from a handle on its folder whose real
// path (/proc/self/fd) is the folder asked for, opened with O_NOFOLLOW, and checked with fstat.

#include "outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

// A file descriptor, closed whichever way the function that opened it returns.
class Descriptor
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

QString systemError(int error)
{
    return qt_error_string(error);
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString folderOf(const QString &absolutePath)
{
    return QFileInfo(absolutePath).path();
}

QByteArray nameOf(const QString &absolutePath)
{
    return encoded(QFileInfo(absolutePath).fileName());
}

// Where the handle really leads, every link on the way resolved.
QString finalPath(int fd)
{
    char target[4096];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t length = ::readlink(link.constData(), target, sizeof target);
    if (length <= 0 || size_t(length) >= sizeof target)
        return QString();
    return QFile::decodeName(QByteArray(target, int(length)));
}

QString identityOf(const struct stat &status)
{
    return QStringLiteral("%1:%2").arg(quint64(status.st_dev)).arg(quint64(status.st_ino));
}

QString userName(uid_t uid)
{
    struct passwd entry = {};
    struct passwd *found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QStringLiteral("user %1").arg(uid);
}

// Opens the folder and checks that it is the folder asked for: a link on its path, at the
// folder or above, would send the file elsewhere.
QString openFolder(const QString &folder, Descriptor &fd, bool itself = false)
{
    fd.reset(::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.isValid())
        return systemError(errno);
    const QString real = finalPath(fd.get());
    if (real.isEmpty())
        return QStringLiteral("the real path of its folder %1 cannot be read").arg(folder);
    if (real != folder)
        return (itself
                    ? QStringLiteral("it is reached through a link (it is really %2)")
                    : QStringLiteral("its folder %1 is reached through a link (it is really %2)"))
            .arg(folder, real);
    return QString();
}

// An existing file or folder may be used only when it is the running user's own and nobody
// else may write it (as OpenSSH treats its own files). A character device (/dev/null,
// /dev/full) keeps nothing anyone could read back or plant.
QString ruleBreak(const struct stat &status, bool folder)
{
    const bool device = !folder && S_ISCHR(status.st_mode);
    if (folder && !S_ISDIR(status.st_mode))
        return QStringLiteral("it is not a folder");
    if (!folder && !S_ISREG(status.st_mode) && !device)
        return QStringLiteral("it is not a file");
    if (!folder && !device && status.st_nlink > 1)
        return QStringLiteral("it has %1 hard links: other names reach the same file")
            .arg(quint64(status.st_nlink));
    if (status.st_uid != ::geteuid())
        return QStringLiteral("it belongs to %1, not to %2, who runs this program")
            .arg(userName(status.st_uid), userName(::geteuid()));
    if (!device && (status.st_mode & (S_IWGRP | S_IWOTH)))
        return QStringLiteral("users other than its owner may write it (mode %1)")
            .arg(status.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return QString();
}

// The file at path, not followed if it is a link: its status, or why it cannot be used.
// *missing tells a file that is not there, which is no reason.
QString inspectEntry(int folder, const QByteArray &name, bool expectFolder, struct stat *status,
                     bool *missing)
{
    *missing = false;
    if (::fstatat(folder, name.constData(), status, AT_SYMLINK_NOFOLLOW) != 0) {
        *missing = errno == ENOENT;
        return *missing ? QString() : systemError(errno);
    }
    if (S_ISLNK(status->st_mode))
        return QStringLiteral("it is a symbolic link");
    return ruleBreak(*status, expectFolder);
}

bool writeAll(int fd, const QByteArray &bytes, int *error)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            *error = written < 0 ? errno : ENOSPC;
            return false;
        }
        done += written;
    }
    return true;
}

// Creates the folder and its missing parents, each private and each in a parent reached
// without a link.
QString createMissing(const QString &folder)
{
    struct stat status = {};
    if (::lstat(encoded(folder).constData(), &status) == 0)
        return QString();
    const QString parent = folderOf(folder);
    if (errno != ENOENT || parent == folder)
        return systemError(errno);
    QString why = createMissing(parent);
    Descriptor above;
    if (why.isEmpty())
        why = openFolder(parent, above);
    if (why.isEmpty() && ::mkdirat(above.get(), nameOf(folder).constData(), 0700) != 0
        && errno != EEXIST)
        why = systemError(errno);
    return why;
}

} // namespace

class OutputFile::Handle
{
public:
    Descriptor fd;
};

OutputFile::OutputFile()
    : d(std::make_unique<Handle>())
{
}

OutputFile::~OutputFile() = default;

QByteArray OutputFile::lineEnd()
{
    return QByteArrayLiteral("\n");
}

QString OutputFile::childIdentity(const QString &folderIdentity, const QString &name)
{
    return folderIdentity + QLatin1Char('/') + name;
}

QString OutputFile::inspect(const QString &path, QString *identity)
{
    const QString file = absolute(path);
    Descriptor folder;
    const QString why = openFolder(folderOf(file), folder);
    if (!why.isEmpty())
        return why;
    struct stat status = {};
    bool missing = false;
    const QString broken = inspectEntry(folder.get(), nameOf(file), false, &status, &missing);
    if (!broken.isEmpty())
        return broken;
    if (identity && missing) {
        struct stat folderStatus = {};
        ::fstat(folder.get(), &folderStatus);
        *identity = childIdentity(identityOf(folderStatus), QFileInfo(file).fileName());
    } else if (identity) {
        *identity = identityOf(status);
    }
    return QString();
}

// A folder not there yet is created with its missing parents: the nearest one there must be
// reached without a link.
QString OutputFile::inspectFolder(const QString &path, QString *identity)
{
    QString existing = absolute(path);
    QString below;
    struct stat status = {};
    while (::lstat(encoded(existing).constData(), &status) != 0) {
        if (errno != ENOENT || existing == folderOf(existing))
            return systemError(errno);
        below = childIdentity(QString(), QFileInfo(existing).fileName()) + below;
        existing = folderOf(existing);
    }
    if (below.isEmpty() && S_ISLNK(status.st_mode))
        return QStringLiteral("it is a symbolic link");
    Descriptor folder;
    const QString why = openFolder(existing, folder, below.isEmpty());
    if (!why.isEmpty())
        return why;
    ::fstat(folder.get(), &status);
    if (below.isEmpty()) {
        const QString broken = ruleBreak(status, true);
        if (!broken.isEmpty())
            return broken;
    }
    if (identity)
        *identity = identityOf(status) + below;
    return QString();
}

bool OutputFile::open(const QString &path, bool create)
{
    close();
    m_path = absolute(path);
    Descriptor folder;
    const QString why = openFolder(folderOf(m_path), folder);
    if (!why.isEmpty())
        return fail(why);
    const QByteArray name = nameOf(m_path);
    const int flags = O_RDWR | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY;
    if (create)
        d->fd.reset(::openat(folder.get(), name.constData(), flags | O_CREAT | O_EXCL, 0600));
    const bool created = d->fd.isValid();
    if (!created && create && errno != EEXIST)
        return fail(systemError(errno));
    if (!created)
        d->fd.reset(::openat(folder.get(), name.constData(), flags));
    if (!d->fd.isValid())
        return fail(errno == ELOOP ? QStringLiteral("it is a symbolic link") : systemError(errno));
    struct stat status = {};
    if (::fstat(d->fd.get(), &status) != 0)
        return fail(systemError(errno));
    QString broken = created ? QString() : ruleBreak(status, false);
    if (broken.isEmpty() && finalPath(d->fd.get()) != m_path)
        broken = QStringLiteral("it is reached through a link");
    if (!broken.isEmpty()) {
        close();
        return fail(broken);
    }
    return true;
}

bool OutputFile::isOpen() const
{
    return d->fd.isValid();
}

void OutputFile::close()
{
    d->fd.reset();
}

bool OutputFile::readAll(QByteArray *bytes)
{
    bytes->clear();
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(d->fd.get(), buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(systemError(errno));
        if (got == 0)
            return true;
        bytes->append(buffer, got);
        offset += got;
    }
}

qint64 OutputFile::size()
{
    struct stat status = {};
    if (::fstat(d->fd.get(), &status) != 0) {
        fail(systemError(errno));
        return -1;
    }
    return status.st_size;
}

bool OutputFile::append(const QByteArray &bytes)
{
    int error = 0;
    return writeAll(d->fd.get(), bytes, &error) || fail(systemError(error));
}

bool OutputFile::sync()
{
    return ::fsync(d->fd.get()) == 0 || fail(systemError(errno));
}

bool OutputFile::truncate(qint64 size)
{
    return ::ftruncate(d->fd.get(), off_t(size)) == 0 || fail(systemError(errno));
}

bool OutputFile::isStillAtPath()
{
    struct stat open = {};
    struct stat named = {};
    return ::fstat(d->fd.get(), &open) == 0 && ::lstat(encoded(m_path).constData(), &named) == 0
        && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

QString OutputFile::replace(const QString &path, const QByteArray &bytes)
{
    const QString file = absolute(path);
    Descriptor folder;
    QString why = openFolder(folderOf(file), folder);
    if (!why.isEmpty())
        return why;
    const QByteArray name = nameOf(file);
    struct stat status = {};
    bool missing = false;
    why = inspectEntry(folder.get(), name, false, &status, &missing);
    if (why.isEmpty() && !missing && !S_ISREG(status.st_mode))
        why = QStringLiteral("it is not a file");
    if (!why.isEmpty())
        return why;

    // A name of its own beside the file, created here and never followed: nobody can have
    // prepared it.
    const QByteArray temporary = '.' + name + '.'
        + QByteArray::number(QRandomGenerator::system()->generate64(), 16) + ".tmp";
    Descriptor fd(::openat(folder.get(), temporary.constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.isValid())
        return systemError(errno);
    int error = 0;
    if (!writeAll(fd.get(), bytes, &error))
        why = systemError(error);
    else if (::fsync(fd.get()) != 0)
        why = systemError(errno);
    fd.reset();
    if (why.isEmpty()
        && ::renameat(folder.get(), temporary.constData(), folder.get(), name.constData()) != 0)
        why = systemError(errno);
    if (!why.isEmpty()) {
        ::unlinkat(folder.get(), temporary.constData(), 0);
        return why;
    }
    ::fsync(folder.get()); // the new name too survives a crash
    return QString();
}

QString OutputFile::makeFolder(const QString &path)
{
    const QString folder = absolute(path);
    const QString why = createMissing(folder);
    return why.isEmpty() ? inspectFolder(folder) : why;
}
