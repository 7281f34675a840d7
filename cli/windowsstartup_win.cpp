// Start-up that only Windows needs.
//
// Deployment systems run remedor-cli as SYSTEM or elevated, from whatever folder it was copied
// to. Windows looks for a library in the program's folder before the system folder, so a DLL
// planted there under the name of one that is loaded on demand would run with those rights.
// Libraries therefore come from the system folder only, set before anything can load one: the
// imports that are not among Windows' KnownDLLs are delay-loaded
// (cmake/RemedorDelayLoad.cmake), so they too are found there.
//
// Qt also takes orders from outside before main: options on the command line (main hands it
// none, see StartupArguments), variables in the environment (removed here), and a qt.conf beside
// the program (never read: the program carries its own, :/qt/etc/qt.conf).

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

// Priority 101, the first a program may use: before the constructors of Qt and of the program,
// and so before main.
__attribute__((constructor(101))) void loadLibrariesFromSystemFolderOnly()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Qt reads these when the application object is made: where to load plug-ins from (a platform
// plug-in from such a folder runs inside this process), which platform, theme or style to take, and
// a logging configuration file to read. The process runs elevated, often with the environment of a
// user who set these for himself: none of them is Qt's to read here. Removed from the C run time's
// copy, which Qt reads, and from the process's own, which children inherit.
__attribute__((constructor(101))) void clearQtEnvironment()
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

} // namespace
