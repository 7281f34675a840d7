// Start-up that only Windows needs.
//
// The wizard asks for elevation, and is often started from a folder that others can write to
// (Downloads, where its zip gets unpacked; a share). Windows looks for a library in the
// program's folder before the system folder, so a DLL planted there under the name of one that
// is loaded on demand would run elevated. Libraries therefore come from the system folder only,
// set before anything can load one: the imports that are not among Windows' KnownDLLs are
// delay-loaded (cmake/RemedorDelayLoad.cmake), so they too are found there.
//
// The removal waits for each installer on the GUI thread. Windows replaces a window that has
// handled no messages for five seconds with a frozen "ghost" marked "(Not Responding)", which
// hides the progress bar that keeps repainting itself and invites the user to kill the program
// halfway through a removal. The process's windows are therefore never ghosted.
//
// Qt also takes orders from outside before main: options on the command line (main hands it
// none, see StartupArguments), variables in the environment (removed here), and a qt.conf beside
// the program (never read: the program carries its own, :/qt/etc/qt.conf). A shortcut or a
// script that a user prepared for an administrator could otherwise make the elevated wizard load
// a plug-in of the user's.

#include <QCoreApplication>

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

void keepWindowsPainting()
{
    DisableProcessWindowsGhosting();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(keepWindowsPainting)
