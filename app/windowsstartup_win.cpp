// Start-up that only Windows needs, run by QApplication's constructor before any window exists.
//
// The removal waits for each installer on the GUI thread. Windows replaces a window that has
// handled no messages for five seconds with a frozen "ghost" marked "(Not Responding)", which
// hides the progress bar that keeps repainting itself and invites the user to kill the program
// halfway through a removal. The process's windows are therefore never ghosted.

#include <QCoreApplication>

#include <windows.h>

namespace {

void keepWindowsPainting()
{
    DisableProcessWindowsGhosting();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(keepWindowsPainting)
