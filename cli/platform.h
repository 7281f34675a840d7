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

    // Whether Windows Installer knows the product as installed: on Windows its own answer;
    // on the stand-in, a registration under HKEY_CLASSES_ROOT\Installer\Products, in any
    // letter case, as Windows Installer would find it.
    static bool isProductInstalled(const QString &productCode);
};

#endif // PLATFORM_H
