#include "removalrun.h"

#include "editioncatalogue.h"
#include "packedproductcode.h"
#include "registrykey.h"
#include "registrypaths.h"
#include "windowsinstaller.h"

#include <QElapsedTimer>

RemovalRun::RemovalRun(RemovalObserver *observer)
    : m_observer(observer ? observer : &m_silent)
{
}

void RemovalRun::run(const Choice &isChosen)
{
    // Read before anything is removed: the suite's fate depends on it.
    const QString bootstrapperLanguageCode = bootstrapperLanguage();

    for (const Edition &edition : EditionCatalogue::editions()) {
        const QString name = EditionCatalogue::displayName(edition);
        if (isChosen(name))
            removePackage(name);
    }

    // Without a known bootstrapper language there is no such edition to ask about.
    if (!bootstrapperLanguageCode.isEmpty()
        && isChosen(EditionCatalogue::displayNameForLanguage(bootstrapperLanguageCode))) {
        removePackage(EditionCatalogue::suiteDisplayName());
        removeKey(RegistryPaths::uninstall(), RegistryPaths::bootstrapperName());
        m_observer->stepFinished(EditionCatalogue::suiteDisplayName(),
                                 RemovalObserver::Step::BootstrapperEntry);
    }
}

QString RemovalRun::bootstrapperLanguage()
{
    if (!RegistryKey(RegistryPaths::uninstall()).hasChild(RegistryPaths::bootstrapperName()))
        return QString();
    const RegistryKey bootstrapper(RegistryPaths::uninstall() + QLatin1Char('\\')
                                   + RegistryPaths::bootstrapperName());
    return EditionCatalogue::languageCodeForLocale(
        bootstrapper.stringValue(QStringLiteral("PeldaLanguage")));
}

QString RemovalRun::uninstallCommand(const QString &productCode)
{
    return QLatin1String("msiexec.exe /X") + productCode
        + QLatin1String(" /quiet /passive /norestart KEEPUSERDATA=yes");
}

InstallerOutcome RemovalRun::removePackage(const QString &displayName)
{
    const QString productCode = EditionCatalogue::productCode(displayName);

    const QString command = uninstallCommand(productCode);
    m_observer->installerStarting(displayName, command);
    QElapsedTimer clock;
    clock.start();
    const InstallerOutcome outcome = WindowsInstaller::run(displayName, command);
    m_observer->installerFinished(outcome, clock.elapsed());
    m_observer->stepFinished(displayName, RemovalObserver::Step::Installer);

    // The registrations go whatever the installer did: removing them is this tool's purpose.
    removeKeys(displayName, productCode);
    return outcome;
}

void RemovalRun::removeKeys(const QString &displayName, const QString &productCode)
{
    const QString localeTag = EditionCatalogue::localeForEdition(displayName);
    if (!localeTag.isEmpty()) {
        removeKey(RegistryPaths::machineSettings(), localeTag);
        removeKey(RegistryPaths::userSettings(), localeTag);
        m_observer->stepFinished(displayName, RemovalObserver::Step::SettingsKeys);
    }
    removeKey(RegistryPaths::uninstall(), productCode);
    m_observer->stepFinished(displayName, RemovalObserver::Step::UninstallEntry);
    removeKey(RegistryPaths::installerProducts(), PackedProductCode::fromProductCode(productCode));
    m_observer->stepFinished(displayName, RemovalObserver::Step::ProductsEntry);
}

KeyRemoval RemovalRun::removeKey(const QString &path, const QString &name)
{
    const KeyRemoval removal = RegistryKey(path).removeChildKey(name);
    m_observer->keyRemoved(removal);
    return removal;
}
