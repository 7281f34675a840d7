#ifndef PLATFORM_H
#define PLATFORM_H

#include <QString>

// What the command line asks of the operating system beyond the registry and the installer.
// The build picks the backend: Windows itself, or the stand-ins elsewhere.
class Platform
{
public:
    // Whether the process may change the machine: on Windows an elevated token (an
    // administrator's after consent, or SYSTEM); the stand-in always may.
    static bool isElevated();

    // From now on Ctrl+C (and, off Windows, SIGTERM) no longer ends the process but is
    // remembered, to be asked for with interruptRequested().
    static void catchInterrupts();
    static bool interruptRequested();

    // The account the process runs as, as Windows names it ("NT AUTHORITY\SYSTEM",
    // "CONTOSO\admin"); the user name elsewhere.
    static QString accountName();
};

#endif // PLATFORM_H
