#ifndef MACHINEKEYS_H
#define MACHINEKEYS_H

#include <QString>

// The registry keys a removal run reads and deletes, written out independently of the
// program's own constants so that the tests catch a wrong path.
namespace MachineKeys {

inline const QString uninstall
    = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
inline const QString products = QStringLiteral("HKEY_CLASSES_ROOT\\Installer\\Products");
inline const QString machineSettings
    = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\DAWLIX\\PELDA\\2015");
inline const QString userSettings
    = QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\DAWLIX\\PELDA\\2015");
inline const QString bootstrapperName = QStringLiteral("{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}");

// Installer\Products names written out by hand, so that a wrong packing fails the runs.
inline const QString germanProductKey = QStringLiteral("2D7C14B6200B13011B20E7390A5C8D41");
inline const QString suiteProductKey = QStringLiteral("2D7C14B6200B00000B20E7390A5C8D41");

} // namespace MachineKeys

#endif // MACHINEKEYS_H
