#ifndef REGISTRYEDITION_H
#define REGISTRYEDITION_H

// The registry work of removing one edition, as the Process page does it (the installer
// aside): the bootstrapper read, then the edition's four keys. Shared by the registry
// benchmarks of both platforms so that they time the same calls.

#include "editioncatalogue.h"
#include "packedproductcode.h"
#include "processpage.h"
#include "registrykey.h"
#include "registrypaths.h"
#include "removalrun.h"

#include <QString>

namespace RegistryEdition {

// The removal run's keys.
inline QString uninstallKey()
{
    return RegistryPaths::uninstall();
}
inline QString bootstrapperKeyName()
{
    return RegistryPaths::bootstrapperName();
}
inline QString machineSettingsKey()
{
    return RegistryPaths::machineSettings();
}
inline QString userSettingsKey()
{
    return RegistryPaths::userSettings();
}
inline QString installerProductsKey()
{
    return RegistryPaths::installerProducts();
}

// The names one edition's keys go by, from the catalogue.
struct Names
{
    QString languageCode; // "DEU"
    QString localeTag; // "de-DE"
    QString productCode; // "{6B41C7D2-…}"
    QString packedProductCode; // "2D7C14B6…"
};

inline Names namesFor(const QString &languageCode)
{
    Names names;
    for (const Edition &edition : EditionCatalogue::editions()) {
        if (languageCode == QLatin1String(edition.languageCode)) {
            names.languageCode = languageCode;
            names.localeTag = QLatin1String(edition.localeTag);
            names.productCode = QLatin1String(edition.productCode);
            names.packedProductCode = PackedProductCode::fromProductCode(names.productCode);
        }
    }
    return names;
}

// The removal run's own bootstrapper read: the Uninstall key's child, then the bootstrapper's
// language value; returns the language code it maps to.
inline QString readBootstrapperLanguage()
{
    return RemovalRun::bootstrapperLanguage();
}

inline void removeMachineSettings(ProcessPage &page, const Names &names)
{
    page.removeRegistryKey(machineSettingsKey(), names.localeTag);
}
inline void removeUserSettings(ProcessPage &page, const Names &names)
{
    page.removeRegistryKey(userSettingsKey(), names.localeTag);
}
inline void removeUninstallEntry(ProcessPage &page, const Names &names)
{
    page.removeRegistryKey(uninstallKey(), names.productCode);
}
inline void removeInstallerProduct(ProcessPage &page, const Names &names)
{
    page.removeRegistryKey(installerProductsKey(), names.packedProductCode);
}

} // namespace RegistryEdition

#endif // REGISTRYEDITION_H
