#ifndef REMOVALRUN_H
#define REMOVALRUN_H

#include "installeroutcome.h"
#include "keyremoval.h"
#include "profilehive.h"
#include "registrybackup.h"
#include "registrysession.h"
#include "removalobserver.h"
#include "removaloptions.h"

#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// The removal of language editions of "PELDA+ 2015", one package after the other on the
// calling thread: the bootstrapper's language is read first; then each chosen edition, in
// catalogue order, is uninstalled silently by Windows Installer and its keys deleted; then,
// when the edition of the bootstrapper's language was among them, the suite and the
// bootstrapper's own entry go the same way. Each step is reported to the observer.
//
// The wizard runs it with the default options; the command line may keep the registrations
// of failed packages, reach every user's hive, only plan, stop between packages, log each
// installer, limit the run's time, end the run when Windows Installer is busy, and pass over
// products Windows Installer does not know.
class RemovalRun
{
public:
    explicit RemovalRun(RemovalObserver *observer = nullptr);
    RemovalRun(const RemovalRun &) = delete;
    RemovalRun &operator=(const RemovalRun &) = delete;

    void setOptions(const RemovalOptions &options)
    {
        m_options = options;
        m_backup.reset();
    }
    // Asked before each package; once it says yes, no further package is started (each is
    // reported not attempted). A package under way always finishes, its installer and its keys.
    using StopRequest = std::function<bool()>;
    void setStopRequest(const StopRequest &stopRequested) { m_stopRequested = stopRequested; }

    enum class Ending { Completed, Stopped };
    // Asked once per edition, in catalogue order, right before that edition would go.
    using Choice = std::function<bool(const QString &displayName)>;
    Ending run(const Choice &isChosen);

    // One package, an edition or the suite by display name: its installer, then its keys
    // (with all users, its settings in every profile too). In a dry run nothing starts, and the
    // outcome says so (NotStarted).
    InstallerOutcome removePackage(const QString &displayName);
    // Deletes the child of exactly that name, when there is one. In a dry run the key only
    // is reported, when it exists, and the removal reads NotThere.
    KeyRemoval removeKey(const QString &path, const QString &name);

    // The language code ("DEU") of the language recorded by the bootstrapper's entry; empty
    // when there is no such entry, no value, or a language that is no edition's.
    static QString bootstrapperLanguage();
    // The language exactly as the bootstrapper's entry records it ("de-DE"); empty when
    // there is no entry of exactly that name, or no value.
    static QString bootstrapperRecordedLanguage();
    static bool bootstrapperEntryExists();
    // The bootstrapper's entry, read once: whether there is one of exactly that name, the
    // language it records and that language's edition.
    struct Bootstrapper
    {
        bool present = false;
        QString recordedLanguage; // as the entry spells it, "de-DE"; empty when none
        QString languageCode; // "DEU"; empty when the language is no edition's
    };
    static Bootstrapper readBootstrapper();
    static QString uninstallCommand(const QString &productCode);
    // Where the package's installer writes its verbose log in that folder: remedor-DEU.log,
    // or remedor-suite.log for the suite; empty without a folder.
    static QString installerLog(const QString &folder, const QString &displayName);

private:
    // The installer (empty in a dry run), then the keys unless they are to stay.
    std::optional<InstallerOutcome> takePackage(const QString &displayName);
    InstallerOutcome runInstaller(const QString &displayName, const QString &command);
    bool isUnknownToInstaller(const QString &displayName, const QString &productCode);
    QString logArgument(const QString &displayName) const;
    Ending takeSuite(const Bootstrapper &bootstrapper, const Choice &isChosen,
                     bool bootstrapperEditionKept,
                     std::optional<RemovalObserver::NotAttempted> ended);
    static std::optional<RemovalObserver::SuiteKept> suiteNotDue(const Bootstrapper &bootstrapper,
                                                                 const Choice &isChosen);
    std::optional<RemovalObserver::NotAttempted>
    endsTheRun(const std::optional<InstallerOutcome> &outcome) const;
    std::optional<RemovalObserver::NotAttempted>
    endsBeforeTurn(std::optional<RemovalObserver::NotAttempted> ended) const;
    bool keepsRegistrations(const std::optional<InstallerOutcome> &outcome) const;
    Ending runPackages(const Choice &isChosen);
    void removeKeys(const QString &displayName, const QString &productCode);
    void keysKept(const InstallerOutcome &outcome);
    void removeSettingsFromProfiles();
    void removeSettingsFrom(const ProfileHive::Profile &profile, const QStringList &editions);
    void removeSettingsIn(const QString &userHive, const QStringList &editions);
    // The key gone, after its backup; nothing reported.
    KeyRemoval deleteKey(const QString &path, const QString &name);
    bool stopRequested() const { return m_stopRequested && m_stopRequested(); }

    RemovalObserver m_silent; // heard when nobody else listens
    RemovalObserver *m_observer;
    RemovalOptions m_options;
    StopRequest m_stopRequested;
    QDeadlineTimer m_deadline { QDeadlineTimer::Forever }; // of the run under way
    std::unique_ptr<RegistryBackup> m_backup; // the run's backup file, open from its first key
    RegistrySession m_registry;
    // With all users: the editions whose registrations went, for the pass over the profiles.
    QStringList m_userSettingsDue;
};

#endif // REMOVALRUN_H
