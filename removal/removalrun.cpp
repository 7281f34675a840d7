#include "removalrun.h"

#include "editioncatalogue.h"
#include "packedproductcode.h"
#include "registrybackup.h"
#include "registrykey.h"
#include "registrypaths.h"
#include "windowsinstaller.h"

#include <QElapsedTimer>

RemovalRun::RemovalRun(RemovalObserver *observer)
    : m_observer(observer ? observer : &m_silent)
{
}

RemovalRun::Ending RemovalRun::run(const Choice &isChosen)
{
    // Read before anything is removed: the suite's fate depends on it.
    const QString bootstrapperLanguageCode = bootstrapperLanguage();

    for (const Edition &edition : EditionCatalogue::editions()) {
        const QString name = EditionCatalogue::displayName(edition);
        if (!isChosen(name))
            continue;
        if (stopRequested())
            return Ending::Stopped;
        takePackage(name);
    }

    // Without a known bootstrapper language there is no such edition to ask about.
    if (!bootstrapperLanguageCode.isEmpty()
        && isChosen(EditionCatalogue::displayNameForLanguage(bootstrapperLanguageCode))) {
        if (stopRequested())
            return Ending::Stopped;
        const std::optional<InstallerOutcome> suite
            = takePackage(EditionCatalogue::suiteDisplayName());
        if (!keepsRegistrations(suite))
            removeKey(RegistryPaths::uninstall(), RegistryPaths::bootstrapperName());
        m_observer->stepFinished(EditionCatalogue::suiteDisplayName(),
                                 RemovalObserver::Step::BootstrapperEntry);
    }
    return Ending::Completed;
}

bool RemovalRun::bootstrapperEntryExists()
{
    return RegistryKey(RegistryPaths::uninstall()).hasChild(RegistryPaths::bootstrapperName());
}

QString RemovalRun::bootstrapperRecordedLanguage()
{
    if (!bootstrapperEntryExists())
        return QString();
    const RegistryKey bootstrapper(RegistryPaths::uninstall() + QLatin1Char('\\')
                                   + RegistryPaths::bootstrapperName());
    return bootstrapper.stringValue(QStringLiteral("PeldaLanguage"));
}

QString RemovalRun::bootstrapperLanguage()
{
    return EditionCatalogue::languageCodeForLocale(bootstrapperRecordedLanguage());
}

QString RemovalRun::uninstallCommand(const QString &productCode)
{
    return QLatin1String("msiexec.exe /X") + productCode
        + QLatin1String(" /quiet /passive /norestart KEEPUSERDATA=yes");
}

QStringList RemovalRun::userHives()
{
    QStringList hives = RegistryKey(RegistryPaths::users()).childKeys();
    hives.removeIf([](const QString &hive) {
        return !hive.startsWith(QLatin1String("S-1-5-21-"), Qt::CaseInsensitive)
            || hive.endsWith(QLatin1String("_Classes"), Qt::CaseInsensitive);
    });
    return hives;
}

InstallerOutcome RemovalRun::removePackage(const QString &displayName)
{
    return takePackage(displayName)
        .value_or(InstallerOutcome { displayName, InstallerOutcome::NotStarted, 0 });
}

std::optional<InstallerOutcome> RemovalRun::takePackage(const QString &displayName)
{
    const QString productCode = EditionCatalogue::productCode(displayName);
    const QString command = uninstallCommand(productCode);

    std::optional<InstallerOutcome> outcome;
    if (m_options.dryRun)
        m_observer->installerPlanned(displayName, command);
    else
        outcome = runInstaller(displayName, command);

    // By default the registrations go whatever the installer did: removing them is this
    // tool's purpose.
    if (keepsRegistrations(outcome))
        m_observer->registrationsKept(*outcome);
    else
        removeKeys(displayName, productCode);
    return outcome;
}

InstallerOutcome RemovalRun::runInstaller(const QString &displayName, const QString &command)
{
    m_observer->installerStarting(displayName, command);
    QElapsedTimer clock;
    clock.start();
    const InstallerOutcome outcome = WindowsInstaller::run(displayName, command);
    // Rounded, not cut off: summed over many quick installers, the times stay true.
    m_observer->installerFinished(outcome, (clock.nsecsElapsed() + 500'000) / 1'000'000);
    m_observer->stepFinished(displayName, RemovalObserver::Step::Installer);
    return outcome;
}

bool RemovalRun::keepsRegistrations(const std::optional<InstallerOutcome> &outcome) const
{
    return outcome && outcome->isFailure() && m_options.keepRegistrationsOfFailures;
}

void RemovalRun::removeKeys(const QString &displayName, const QString &productCode)
{
    const QString localeTag = EditionCatalogue::localeForEdition(displayName);
    if (!localeTag.isEmpty()) {
        removeKey(RegistryPaths::machineSettings(), localeTag);
        removeUserSettings(localeTag);
        m_observer->stepFinished(displayName, RemovalObserver::Step::SettingsKeys);
    }
    removeKey(RegistryPaths::uninstall(), productCode);
    m_observer->stepFinished(displayName, RemovalObserver::Step::UninstallEntry);
    removeKey(RegistryPaths::installerProducts(), PackedProductCode::fromProductCode(productCode));
    m_observer->stepFinished(displayName, RemovalObserver::Step::ProductsEntry);
}

void RemovalRun::removeUserSettings(const QString &localeTag)
{
    removeKey(RegistryPaths::userSettings(), localeTag);
    if (!m_options.allUsers)
        return;
    // Only hives that are loaded are reached: a profile whose user is not signed in has its
    // hive in a file no registry path leads to.
    for (const QString &hive : userHives())
        removeKey(RegistryPaths::userSettingsIn(hive), localeTag);
}

KeyRemoval RemovalRun::removeKey(const QString &path, const QString &name)
{
    if (m_options.dryRun) {
        const QString fullPath = path + QLatin1Char('\\') + name;
        if (RegistryKey(path).hasChild(name))
            m_observer->keyPlanned(fullPath);
        return { fullPath, KeyRemoval::NotThere, QString() };
    }
    // A key that cannot be backed up stays: the backup is what makes deleting it undoable.
    RegistryKey parent(path);
    const QString notBackedUp = m_options.backupFile.isEmpty()
        ? QString()
        : RegistryBackup(m_options.backupFile).addChild(parent, name);
    const KeyRemoval removal = notBackedUp.isEmpty()
        ? parent.removeChildKey(name)
        : KeyRemoval { path + QLatin1Char('\\') + name, KeyRemoval::Failed, notBackedUp };
    m_observer->keyRemoved(removal);
    return removal;
}
