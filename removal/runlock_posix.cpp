// The stand-ins' run lock: flock() on "<registry file>.lock", beside the file REMEDOR_REGISTRY
// names, which is the stand-in's whole machine. flock() rather than fcntl(): its lock belongs to
// the open file, so it also holds against a second lock taken in the same process, and the
// system drops it when the process ends, however it ends.
//
// Whoever may write in that folder may have put something at the lock's name first. The file is
// never followed through a link, never written, never truncated and must be a plain file; a
// lock that cannot be taken is a failure, never a licence to run unlocked.

#include "runlock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

RunLock::~RunLock()
{
    release();
}

RunLock::Outcome RunLock::acquire()
{
    release();
    const QString registry = qEnvironmentVariable("REMEDOR_REGISTRY");
    if (registry.isEmpty())
        return Outcome::Held; // no registry file, no machine that two runs could share
    const QString path = registry + QStringLiteral(".lock");
    // O_NONBLOCK: a FIFO planted at the name must not hold the open up.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        m_error = QStringLiteral("%1: %2").arg(path, systemError(errno));
        return Outcome::Failed;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        m_error = QStringLiteral("%1: not a plain file").arg(path);
        ::close(fd);
        return Outcome::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Outcome::Busy;
        m_error = QStringLiteral("%1: %2").arg(path, systemError(error));
        return Outcome::Failed;
    }
    m_handle = fd;
    return Outcome::Held;
}

void RunLock::release()
{
    if (m_handle < 0)
        return;
    ::close(int(m_handle)); // drops the lock; the file stays for the next run
    m_handle = -1;
}
