#include "windowsinstaller.h"

#include "packedproductcode.h"
#include "registrykey.h"
#include "registrypaths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The program and its arguments, encoded before the fork: the child may only call functions
// that are safe after fork() in a process with threads.
class ArgumentVector
{
public:
    ArgumentVector(const QString &program, const QStringList &arguments)
    {
        m_strings.push_back(QFile::encodeName(program));
        for (const QString &argument : arguments)
            m_strings.push_back(argument.toLocal8Bit());
        for (QByteArray &string : m_strings)
            m_pointers.push_back(string.data());
        m_pointers.push_back(nullptr);
    }
    const char *program() const { return m_strings.front().constData(); }
    char *const *argv() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_strings;
    std::vector<char *> m_pointers;
};

// In the child: a process group of its own, so that a terminal's Ctrl+C, which goes to the
// whole foreground group, does not reach it; no standard streams of ours; then the program.
// errno goes back through the pipe when it cannot be started.
[[noreturn]] void startChild(ArgumentVector &arguments, int errorPipe)
{
    setpgid(0, 0);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
    }
    execv(arguments.program(), arguments.argv());
    const int error = errno;
    [[maybe_unused]] const ssize_t written = write(errorPipe, &error, sizeof error);
    _exit(127);
}

// The child's errno from before exec; 0 once exec has closed the pipe.
int startError(int errorPipe)
{
    int error = 0;
    ssize_t got;
    do {
        got = read(errorPipe, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    return got == ssize_t(sizeof error) ? error : 0;
}

// The child's wait status once it has ended; nothing when the time ran out first, or when
// waiting failed, which *error then tells.
std::optional<int> waitFor(pid_t child, int timeoutMs, int *error)
{
    const QDeadlineTimer deadline
        = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(child, &status, deadline.isForever() ? 0 : WNOHANG);
        if (ended == child)
            return status;
        if (ended < 0 && errno != EINTR) {
            *error = errno;
            return std::nullopt;
        }
        if (ended == 0 && deadline.hasExpired())
            return std::nullopt;
        if (ended == 0)
            QThread::msleep(20);
    }
}

} // namespace

// Off Windows the installer is whatever "msiexec.exe" comes first on PATH. A child that
// outlives its time limit is not waited for: once this process ends, init reaps it.
WindowsInstaller::Ending WindowsInstaller::execute(const QString &commandLine, int timeoutMs)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    const QString name = arguments.isEmpty() ? QString() : arguments.takeFirst();
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        return { Ending::NotStarted, 0, QStringLiteral("%1 was not found on PATH").arg(name) };

    ArgumentVector argv(program, arguments);
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0)
        return { Ending::NotStarted, 0, QString::fromLocal8Bit(std::strerror(errno)) };
    const pid_t child = fork();
    if (child == 0)
        startChild(argv, errorPipe[1]);
    close(errorPipe[1]);
    const int error = child < 0 ? errno : startError(errorPipe[0]);
    close(errorPipe[0]);
    if (child > 0 && error != 0)
        waitpid(child, nullptr, 0);
    if (child < 0 || error != 0)
        return { Ending::NotStarted, 0, QString::fromLocal8Bit(std::strerror(error)) };

    int waitError = 0;
    const std::optional<int> status = waitFor(child, timeoutMs, &waitError);
    if (!status && waitError != 0)
        return { Ending::Crashed, 0, QString::fromLocal8Bit(std::strerror(waitError)) };
    if (!status)
        return { Ending::TimedOut, 0, QString() };
    if (WIFSIGNALED(*status)) {
        const int signal = WTERMSIG(*status);
        return { Ending::Crashed, signal,
                 QStringLiteral("signal %1: %2")
                     .arg(signal)
                     .arg(QString::fromLocal8Bit(strsignal(signal))) };
    }
    return { Ending::Exited, WEXITSTATUS(*status), QString() };
}

// A POSIX exit status keeps only the low byte of a Windows Installer code.
bool WindowsInstaller::exitCodeMeans(int exitCode, int windowsInstallerCode)
{
    return exitCode == (windowsInstallerCode & 0xff);
}

ProductState WindowsInstaller::productState(const QString &productCode)
{
    const bool registered
        = RegistryKey(RegistryPaths::installerProducts())
              .childKeys()
              .contains(PackedProductCode::fromProductCode(productCode), Qt::CaseInsensitive);
    return registered ? ProductState::Installed : ProductState::Unknown;
}
