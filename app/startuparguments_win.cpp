// Windows: Qt gets the command line without its own options, and the program reads every
// argument as Windows hands it over, in UTF-16, whatever the system's code page.

#include "startuparguments.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <string>

StartupArguments::StartupArguments(int argc, char **argv)
    : m_values(withoutQtOptions(argc, argv))
{
    m_count = int(m_values.size()) - 1;
}

QStringList StartupArguments::programArguments()
{
    QStringList arguments;
    int count = 0;
    wchar_t **values = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!values)
        return arguments;
    for (int i = 0; i < count; ++i)
        arguments.append(QString::fromWCharArray(values[i]));
    LocalFree(values);
    return arguments;
}

// Qt reads these when the application object is made: where to load plug-ins from (a platform
// plug-in from such a folder runs inside this process), which platform, theme or style to take,
// and a logging configuration file to read. The process runs elevated, often with the environment
// of a user who set these for himself: none of them is Qt's to read here. Removed from the C run
// time's copy, which Qt reads, and from the process's own, which children inherit.
void StartupArguments::clearQtEnvironment()
{
    const wchar_t *const names[] = {
        L"QT_PLUGIN_PATH",       L"QT_QPA_PLATFORM_PLUGIN_PATH", L"QT_QPA_PLATFORM",
        L"QT_QPA_PLATFORMTHEME", L"QT_QPA_GENERIC_PLUGINS",      L"QT_STYLE_OVERRIDE",
        L"QT_LOGGING_CONF",
    };
    for (const wchar_t *name : names) {
        std::wstring assignment(name);
        assignment += L'=';
        _wputenv(assignment.c_str()); // "NAME=" removes the variable
        SetEnvironmentVariableW(name, nullptr);
    }
}
