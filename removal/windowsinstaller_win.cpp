#include "windowsinstaller.h"

#include "registryerror.h"

#include <QDir>

#include <string>

#include <windows.h>

#include <msi.h>

namespace {

// A handle closed whichever way the function that holds it returns.
class Handle
{
public:
    explicit Handle(HANDLE handle)
        : m_handle(handle)
    {
    }
    ~Handle() { CloseHandle(m_handle); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// Windows looks for a bare program name beside the running program and in the current
// folder before System32; the wizard runs elevated, so it names the system's own installer.
QString systemProgram(const QString &program)
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return QString();
    return QString::fromWCharArray(folder, int(length)) + QLatin1Char('\\')
        + QDir::toNativeSeparators(program);
}

// How Windows reports a process ended by an exception rather than by its own exit code
// (the range QProcess calls a crash too).
bool isException(DWORD exitCode)
{
    return exitCode >= 0x80000000u && exitCode < 0xD0000000u;
}

QString exceptionText(DWORD exitCode)
{
    return QStringLiteral("exception 0x%1").arg(QString::number(exitCode, 16).toUpper());
}

} // namespace

// The program is the command line's first word; the rest of the line goes to it exactly as
// written, so that a quoted log path reaches Windows Installer as the caller quoted it. A new
// process group keeps the console's Ctrl+C from it. A process still running at the time limit
// keeps running: only the handle to it is closed.
WindowsInstaller::Ending WindowsInstaller::execute(const QString &commandLine, int timeoutMs)
{
    const QString line = commandLine.trimmed();
    const qsizetype nameEnd = line.indexOf(QLatin1Char(' '));
    const QString program = systemProgram(nameEnd < 0 ? line : line.left(nameEnd));
    if (line.isEmpty() || program.isEmpty())
        return { Ending::NotStarted, 0, QStringLiteral("no program to start") };
    const std::wstring path = program.toStdWString();
    std::wstring arguments = (QLatin1Char('"') + program + QLatin1Char('"')
                              + (nameEnd < 0 ? QString() : line.mid(nameEnd)))
                                 .toStdWString();

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(path.c_str(), arguments.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &started))
        return { Ending::NotStarted, 0, RegistryError::message(long(GetLastError())) };
    const Handle process(started.hProcess);
    CloseHandle(started.hThread);

    const DWORD waited
        = WaitForSingleObject(process.get(), timeoutMs < 0 ? INFINITE : DWORD(timeoutMs));
    if (waited == WAIT_TIMEOUT)
        return { Ending::TimedOut, 0, QString() };
    DWORD exitCode = 0;
    if (waited != WAIT_OBJECT_0 || !GetExitCodeProcess(process.get(), &exitCode))
        return { Ending::Crashed, 0, RegistryError::message(long(GetLastError())) };
    if (isException(exitCode))
        return { Ending::Crashed, int(exitCode), exceptionText(exitCode) };
    return { Ending::Exited, int(exitCode), QString() };
}

bool WindowsInstaller::exitCodeMeans(int exitCode, int windowsInstallerCode)
{
    return exitCode == windowsInstallerCode;
}

ProductState WindowsInstaller::productState(const QString &productCode)
{
    const std::wstring code = productCode.toStdWString();
    switch (MsiQueryProductStateW(code.c_str())) {
    case INSTALLSTATE_UNKNOWN:
        return ProductState::Unknown;
    case INSTALLSTATE_DEFAULT:
        return ProductState::Installed;
    case INSTALLSTATE_ADVERTISED:
        return ProductState::Advertised;
    case INSTALLSTATE_ABSENT:
        return ProductState::Absent;
    case INSTALLSTATE_BROKEN:
        return ProductState::Broken;
    default:
        return ProductState::Other;
    }
}
