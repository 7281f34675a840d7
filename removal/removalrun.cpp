#include "removalrun.h"

#include "editioncatalogue.h"
#include "packedproductcode.h"
#include "registrybackup.h"
#include "registrykey.h"
#include "registrypaths.h"
#include "windowsinstaller.h"

#include <QDir>
#include <QElapsedTimer>

#include <utility>

RemovalRun::RemovalRun(RemovalObserver *observer)
    : m_observer(observer ? observer : &m_silent)
{
}

RemovalRun::Ending RemovalRun::run(const Choice &isChosen)
{
    m_deadline = m_options.timeLimitMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                           : QDeadlineTimer(m_options.timeLimitMs);
    const Ending ending = runPackages(isChosen);
    removeSettingsFromProfiles(); // also after a stop: for the packages that went
    return ending;
}

RemovalRun::Ending RemovalRun::runPackages(const Choice &isChosen)
{
    // Read before anything is removed: the suite's fate depends on it.
    const Bootstrapper bootstrapper = readBootstrapper();
    bool bootstrapperEditionKept = false;
    std::optional<RemovalObserver::NotAttempted> ended; // why no further package starts

    for (const Edition &edition : EditionCatalogue::editions()) {
        const QString name = EditionCatalogue::displayName(edition);
        if (!isChosen(name))
            continue;
        ended = endsBeforeTurn(ended);
        if (ended) {
            m_observer->packageNotAttempted(name, *ended);
            continue;
        }
        const std::optional<InstallerOutcome> outcome = takePackage(name);
        if (bootstrapper.languageCode == QLatin1String(edition.languageCode))
            bootstrapperEditionKept = keepsRegistrations(outcome);
        ended = endsTheRun(outcome);
    }
    return takeSuite(bootstrapper, isChosen, bootstrapperEditionKept, ended);
}

// The suite and the bootstrapper's entry, when they are due and the run has not ended.
RemovalRun::Ending RemovalRun::takeSuite(const Bootstrapper &bootstrapper, const Choice &isChosen,
                                         bool bootstrapperEditionKept,
                                         std::optional<RemovalObserver::NotAttempted> ended)
{
    using NotAttempted = RemovalObserver::NotAttempted;
    const auto ending = [&ended] {
        return ended == NotAttempted::StopRequested ? Ending::Stopped : Ending::Completed;
    };
    if (const std::optional<RemovalObserver::SuiteKept> notDue
        = suiteNotDue(bootstrapper, isChosen)) {
        m_observer->suiteKept(*notDue, bootstrapper.recordedLanguage);
        return ending();
    }
    // The edition stays installed and registered: so do the suite it needs and the entry
    // through which it is seen and uninstalled.
    if (bootstrapperEditionKept && !ended) {
        m_observer->suiteKept(RemovalObserver::SuiteKept::EditionFailed,
                              bootstrapper.recordedLanguage);
        return Ending::Completed;
    }
    const QString suite = EditionCatalogue::suiteDisplayName();
    ended = endsBeforeTurn(ended);
    if (ended) {
        m_observer->packageNotAttempted(suite, *ended);
        return ending();
    }
    if (!keepsRegistrations(takePackage(suite)))
        removeKey(RegistryPaths::uninstall(), RegistryPaths::bootstrapperName());
    m_observer->stepFinished(suite, RemovalObserver::Step::BootstrapperEntry);
    return Ending::Completed;
}

std::optional<RemovalObserver::SuiteKept> RemovalRun::suiteNotDue(const Bootstrapper &bootstrapper,
                                                                  const Choice &isChosen)
{
    using SuiteKept = RemovalObserver::SuiteKept;
    if (!bootstrapper.present)
        return SuiteKept::NoBootstrapperEntry;
    if (bootstrapper.recordedLanguage.isEmpty())
        return SuiteKept::NoRecordedLanguage;
    if (bootstrapper.languageCode.isEmpty())
        return SuiteKept::UnknownLanguage;
    if (!isChosen(EditionCatalogue::displayNameForLanguage(bootstrapper.languageCode)))
        return SuiteKept::EditionNotChosen;
    return std::nullopt;
}

// After an installer that is still running, or one that found Windows Installer busy, any
// further installer would wait for it or meet the same.
std::optional<RemovalObserver::NotAttempted>
RemovalRun::endsTheRun(const std::optional<InstallerOutcome> &outcome) const
{
    if (!outcome)
        return std::nullopt;
    if (outcome->status == InstallerOutcome::TimedOut)
        return RemovalObserver::NotAttempted::TimeLimitPassed;
    if (outcome->status == InstallerOutcome::AnotherInstallation && m_options.endWhenInstallerBusy)
        return RemovalObserver::NotAttempted::InstallerBusy;
    return std::nullopt;
}

// Asked before each package's turn, with why the run has ended if it has: no package starts
// once a stop was asked for or the time limit has passed. A stop outranks an earlier reason:
// it is what the user asked for.
std::optional<RemovalObserver::NotAttempted>
RemovalRun::endsBeforeTurn(std::optional<RemovalObserver::NotAttempted> ended) const
{
    if (stopRequested())
        return RemovalObserver::NotAttempted::StopRequested;
    if (!ended && m_deadline.hasExpired())
        return RemovalObserver::NotAttempted::TimeLimitPassed;
    return ended;
}

RemovalRun::Bootstrapper RemovalRun::readBootstrapper()
{
    Bootstrapper bootstrapper;
    bootstrapper.recordedLanguage = bootstrapperRecordedLanguage();
    bootstrapper.present = !bootstrapper.recordedLanguage.isEmpty() || bootstrapperEntryExists();
    bootstrapper.languageCode
        = EditionCatalogue::languageCodeForLocale(bootstrapper.recordedLanguage);
    return bootstrapper;
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

InstallerOutcome RemovalRun::removePackage(const QString &displayName)
{
    const std::optional<InstallerOutcome> outcome = takePackage(displayName);
    removeSettingsFromProfiles();
    return outcome.value_or(
        InstallerOutcome { displayName, InstallerOutcome::NotStarted, 0, QString() });
}

std::optional<InstallerOutcome> RemovalRun::takePackage(const QString &displayName)
{
    m_observer->packageStarting(displayName);
    const QString productCode = EditionCatalogue::productCode(displayName);
    const QString command = uninstallCommand(productCode) + logArgument(displayName);

    std::optional<InstallerOutcome> outcome;
    if (isUnknownToInstaller(displayName, productCode))
        m_observer->installerSkipped(displayName);
    else if (m_options.dryRun)
        m_observer->installerPlanned(displayName, command);
    else
        outcome = runInstaller(displayName, command);

    // By default the registrations go whatever the installer did: removing them is this
    // tool's purpose.
    if (keepsRegistrations(outcome))
        keysKept(*outcome);
    else
        removeKeys(displayName, productCode);
    return outcome;
}

bool RemovalRun::isUnknownToInstaller(const QString &displayName, const QString &productCode)
{
    if (!m_options.skipUnknownProducts)
        return false;
    const ProductState state = WindowsInstaller::productState(productCode);
    m_observer->productStateRead(displayName, state);
    return state == ProductState::Unknown;
}

QString RemovalRun::installerLog(const QString &folder, const QString &displayName)
{
    if (folder.isEmpty())
        return QString();
    const QString code = displayName == EditionCatalogue::suiteDisplayName()
        ? QStringLiteral("suite")
        : displayName.mid(EditionCatalogue::displayNamePrefix().size());
    return QDir::toNativeSeparators(
        QDir(folder).filePath(QStringLiteral("remedor-%1.log").arg(code)));
}

// Windows Installer's verbose log, after the usual arguments; quoted, for a folder with
// blanks in its name.
QString RemovalRun::logArgument(const QString &displayName) const
{
    const QString log = installerLog(m_options.installerLogFolder, displayName);
    return log.isEmpty() ? QString() : QStringLiteral(" /L*V \"%1\"").arg(log);
}

InstallerOutcome RemovalRun::runInstaller(const QString &displayName, const QString &command)
{
    m_observer->installerStarting(displayName, command);
    QElapsedTimer clock;
    clock.start();
    // What is left of the run's time; at least a moment, as the package's turn has come.
    const int waitMs
        = m_deadline.isForever() ? -1 : int(qMax<qint64>(1, m_deadline.remainingTime()));
    const InstallerOutcome outcome = WindowsInstaller::run(displayName, command, waitMs);
    // Rounded, not cut off: summed over many quick installers, the times stay true.
    m_observer->installerFinished(outcome, (clock.nsecsElapsed() + 500'000) / 1'000'000);
    m_observer->stepFinished(displayName, RemovalObserver::Step::Installer);
    return outcome;
}

// An installer still running past the time limit may yet need every registration it has, and
// one that found Windows Installer busy (1618) never started, so that the product is whole:
// either way they stay whatever the options say. Removing them would leave a product that
// no list shows and no retry finds.
bool RemovalRun::keepsRegistrations(const std::optional<InstallerOutcome> &outcome) const
{
    if (!outcome)
        return false;
    return outcome->status == InstallerOutcome::TimedOut
        || outcome->status == InstallerOutcome::AnotherInstallation
        || (outcome->isFailure() && m_options.keepRegistrationsOfFailures);
}

// The key steps pass without a key touched, so that the wizard's bar moves as for any package.
void RemovalRun::keysKept(const InstallerOutcome &outcome)
{
    m_observer->registrationsKept(outcome);
    if (!EditionCatalogue::localeForEdition(outcome.displayName).isEmpty())
        m_observer->stepFinished(outcome.displayName, RemovalObserver::Step::SettingsKeys);
    m_observer->stepFinished(outcome.displayName, RemovalObserver::Step::UninstallEntry);
    m_observer->stepFinished(outcome.displayName, RemovalObserver::Step::ProductsEntry);
}

void RemovalRun::removeKeys(const QString &displayName, const QString &productCode)
{
    const QString localeTag = EditionCatalogue::localeForEdition(displayName);
    if (!localeTag.isEmpty()) {
        removeKey(RegistryPaths::machineSettings(), localeTag);
        removeKey(RegistryPaths::userSettings(), localeTag);
        if (m_options.allUsers)
            m_userSettingsDue.append(displayName);
        m_observer->stepFinished(displayName, RemovalObserver::Step::SettingsKeys);
    }
    removeKey(RegistryPaths::uninstall(), productCode);
    m_observer->stepFinished(displayName, RemovalObserver::Step::UninstallEntry);
    removeKey(RegistryPaths::installerProducts(), PackedProductCode::fromProductCode(productCode));
    m_observer->stepFinished(displayName, RemovalObserver::Step::ProductsEntry);
}

// Every profile's hive is reached once, after the packages, for the settings of all the editions
// whose registrations went: one load per hive whatever the number of editions, and no hive held
// while an installer runs. A run ended before this pass leaves those settings beside products
// Windows Installer no longer knows; run again, it passes over their installers, removes their
// leftover keys and comes here with them, ending as one uninterrupted run would have.
void RemovalRun::removeSettingsFromProfiles()
{
    const QStringList editions = std::exchange(m_userSettingsDue, QStringList());
    if (editions.isEmpty())
        return;
    m_observer->userSettingsStarting(editions);
    for (const ProfileHive::Profile &profile : ProfileHive::userProfiles(&m_registry))
        removeSettingsFrom(profile, editions);
}

// A hive that is not loaded is loaded for its keys and unloaded right after, not held for the
// whole run: a user who signs in while it is held gets a temporary profile. One who signed in
// since the profiles were listed is reached in the hive the system loaded.
void RemovalRun::removeSettingsFrom(const ProfileHive::Profile &profile,
                                    const QStringList &editions)
{
    if (profile.loaded || ProfileHive::isSignedIn(profile.sid, &m_registry)) {
        m_observer->userHiveReached(
            { profile.sid, profile.folder, UserHive::AlreadyLoaded, QString() });
        removeSettingsIn(profile.sid, editions);
        return;
    }
    ProfileHive hive(profile, &m_registry);
    m_observer->userHiveReached(hive.report());
    if (!hive.isLoaded())
        return;
    removeSettingsIn(hive.mountName(), editions);
    if (!hive.unload())
        m_observer->userHiveReached(hive.report());
}

// Only the keys that are there are heard: hundreds of profiles times fifteen editions of "not
// there" would bury the few that matter.
void RemovalRun::removeSettingsIn(const QString &userHive, const QStringList &editions)
{
    const QString path = RegistryPaths::userSettingsIn(userHive);
    for (const QString &edition : editions) {
        const QString localeTag = EditionCatalogue::localeForEdition(edition);
        if (m_options.dryRun) {
            if (RegistryKey(path, &m_registry).hasChild(localeTag))
                m_observer->userKeyPlanned(edition, path + QLatin1Char('\\') + localeTag);
            continue;
        }
        const KeyRemoval removal = deleteKey(path, localeTag);
        if (removal.status != KeyRemoval::NotThere)
            m_observer->userKeyRemoved(edition, removal);
    }
}

KeyRemoval RemovalRun::removeKey(const QString &path, const QString &name)
{
    if (m_options.dryRun) {
        const QString fullPath = path + QLatin1Char('\\') + name;
        if (RegistryKey(path, &m_registry).hasChild(name))
            m_observer->keyPlanned(fullPath);
        return { fullPath, KeyRemoval::NotThere, QString() };
    }
    const KeyRemoval removal = deleteKey(path, name);
    m_observer->keyRemoved(removal);
    return removal;
}

// A key that cannot be backed up stays: the backup is what makes deleting it undoable.
KeyRemoval RemovalRun::deleteKey(const QString &path, const QString &name)
{
    RegistryKey parent(path, &m_registry);
    if (!m_options.backupFile.isEmpty() && !m_backup)
        m_backup = std::make_unique<RegistryBackup>(m_options.backupFile);
    const QString notBackedUp = m_backup ? m_backup->addChild(parent, name) : QString();
    return notBackedUp.isEmpty()
        ? parent.removeChildKey(name)
        : KeyRemoval { path + QLatin1Char('\\') + name, KeyRemoval::Failed, notBackedUp };
}
