#include "windowsinstaller.h"

#include <QDir>
#include <QProcess>

#include <windows.h>

// Windows looks for a bare program name beside the running program and in the current
// folder before System32; the wizard runs elevated, so it names the system's own installer.
QString WindowsInstaller::programPath(const QString &program)
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return QString();
    return QString::fromWCharArray(folder, int(length)) + QLatin1Char('\\')
        + QDir::toNativeSeparators(program);
}

bool WindowsInstaller::exitCodeMeans(int exitCode, int windowsInstallerCode)
{
    return exitCode == windowsInstallerCode;
}

// Ctrl+C in a console reaches every process attached to it, except those of a new process
// group, for which it is disabled.
void WindowsInstaller::shieldFromConsoleInterrupt(QProcess &installer)
{
    installer.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *arguments) {
        arguments->flags |= CREATE_NEW_PROCESS_GROUP;
    });
}
