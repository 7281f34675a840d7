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

#include "startuparguments.h"

#include <windows.h>

namespace {

// Priority 101, the first a program may use: before the constructors of Qt and of the program,
// and so before main.
__attribute__((constructor(101))) void loadLibrariesFromSystemFolderOnly()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Before Qt's constructors read them (see StartupArguments::clearQtEnvironment).
__attribute__((constructor(101))) void clearQtEnvironment()
{
    StartupArguments::clearQtEnvironment();
}

} // namespace
