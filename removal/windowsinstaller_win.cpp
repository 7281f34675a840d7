#include "windowsinstaller.h"

#include <QDir>

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
