#include "runreport.h"

#include "commandline.h"
#include "editioncatalogue.h"
#include "logwriter.h"
#include "outputfile.h"
#include "platform.h"
#include "profilehive.h"
#include "registrypaths.h"
#include "removalrun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSysInfo>

namespace {

QString statusName(InstallerOutcome::Status status)
{
    switch (status) {
    case InstallerOutcome::Succeeded:
        return QStringLiteral("succeeded");
    case InstallerOutcome::NotInstalled:
        return QStringLiteral("notInstalled");
    case InstallerOutcome::RestartRequired:
        return QStringLiteral("restartRequired");
    case InstallerOutcome::AnotherInstallation:
        return QStringLiteral("anotherInstallation");
    case InstallerOutcome::Failed:
        return QStringLiteral("failed");
    case InstallerOutcome::Crashed:
        return QStringLiteral("crashed");
    case InstallerOutcome::NotStarted:
        return QStringLiteral("notStarted");
    case InstallerOutcome::TimedOut:
        return QStringLiteral("timedOut");
    }
    return QString();
}

QString stateName(ProductState state)
{
    switch (state) {
    case ProductState::Unknown:
        return QStringLiteral("unknown");
    case ProductState::Installed:
        return QStringLiteral("installed");
    case ProductState::Advertised:
        return QStringLiteral("advertised");
    case ProductState::Absent:
        return QStringLiteral("absent");
    case ProductState::Broken:
        return QStringLiteral("broken");
    case ProductState::Other:
        return QStringLiteral("other");
    }
    return QString();
}

QString keyOutcomeName(KeyRemoval::Status status)
{
    switch (status) {
    case KeyRemoval::Removed:
        return QStringLiteral("removed");
    case KeyRemoval::NotThere:
        return QStringLiteral("notThere");
    case KeyRemoval::Failed:
        return QStringLiteral("failed");
    }
    return QString();
}

QString notAttemptedName(RemovalObserver::NotAttempted reason)
{
    switch (reason) {
    case RemovalObserver::NotAttempted::InstallerBusy:
        return QStringLiteral("installerBusy");
    case RemovalObserver::NotAttempted::TimeLimitPassed:
        return QStringLiteral("installerTimedOut");
    case RemovalObserver::NotAttempted::StopRequested:
        return QStringLiteral("stopped");
    }
    return QString();
}

// Paths as the system spells them, and absolute: a report is read far from where the run was.
QString absolutePath(const QString &path)
{
    return path.isEmpty() ? QString()
                          : QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString suiteKeptName(RemovalObserver::SuiteKept reason)
{
    switch (reason) {
    case RemovalObserver::SuiteKept::NoBootstrapperEntry:
        return QStringLiteral("noBootstrapperEntry");
    case RemovalObserver::SuiteKept::NoRecordedLanguage:
        return QStringLiteral("noRecordedLanguage");
    case RemovalObserver::SuiteKept::UnknownLanguage:
        return QStringLiteral("unknownLanguage");
    case RemovalObserver::SuiteKept::EditionNotChosen:
        return QStringLiteral("editionNotChosen");
    case RemovalObserver::SuiteKept::EditionFailed:
        return QStringLiteral("editionFailed");
    }
    return QString();
}

// Absent values are null rather than missing, so that every package has the same fields.
template<typename T> QJsonValue orNull(const std::optional<T> &value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

QJsonValue orNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

} // namespace

RunReport::RunReport(const CommandLine &commandLine, const RemovalOptions &options)
    : m_commandLine(commandLine)
    , m_options(options)
    , m_started(LogWriter::timestamp())
{
    m_suite = { { QStringLiteral("decision"), QStringLiteral("notReached") },
                { QStringLiteral("reason"), QJsonValue() },
                { QStringLiteral("recordedLanguage"), QJsonValue() } };
}

RunReport::Package &RunReport::package(const QString &displayName)
{
    for (Package &known : m_packages) {
        if (known.name == displayName)
            return known;
    }
    Package added;
    added.name = displayName;
    m_packages.append(added);
    return m_packages.last();
}

void RunReport::begin()
{
    m_suite[QStringLiteral("recordedLanguage")]
        = orNull(RemovalRun::bootstrapperRecordedLanguage());
}

void RunReport::packageStarting(const QString &displayName)
{
    m_current = displayName;
    Package &started = package(displayName);
    started.registrations
        = m_options.dryRun ? QStringLiteral("planned") : QStringLiteral("removed");
    if (displayName == EditionCatalogue::suiteDisplayName())
        m_suite[QStringLiteral("decision")] = QStringLiteral("attempted");
}

void RunReport::productStateRead(const QString &displayName, ProductState state)
{
    package(displayName).state = state;
}

void RunReport::installerStarting(const QString &displayName, const QString &commandLine)
{
    package(displayName).command = commandLine;
}

void RunReport::installerFinished(const InstallerOutcome &outcome, qint64 milliseconds)
{
    Package &finished = package(outcome.displayName);
    finished.status = statusName(outcome.status);
    if (outcome.status != InstallerOutcome::NotStarted
        && outcome.status != InstallerOutcome::TimedOut)
        finished.exitCode = outcome.exitCode;
    finished.detail = outcome.detail;
    if (outcome.status != InstallerOutcome::NotStarted)
        finished.seconds = milliseconds / 1000.0;
}

void RunReport::installerPlanned(const QString &displayName, const QString &commandLine)
{
    Package &planned = package(displayName);
    planned.command = commandLine;
    planned.status = QStringLiteral("planned");
}

void RunReport::installerSkipped(const QString &displayName)
{
    package(displayName).status = QStringLiteral("skippedNotInstalled");
}

void RunReport::keyRemoved(const KeyRemoval &removal)
{
    package(m_current).keys.append(
        { removal.path, keyOutcomeName(removal.status), removal.reason });
}

void RunReport::keyPlanned(const QString &path)
{
    package(m_current).keys.append({ path, QStringLiteral("planned"), QString() });
}

void RunReport::registrationsKept(const InstallerOutcome &outcome)
{
    package(outcome.displayName).registrations = QStringLiteral("kept");
}

void RunReport::packageNotAttempted(const QString &displayName, NotAttempted reason)
{
    Package &skipped = package(displayName);
    skipped.status = QStringLiteral("notAttempted");
    skipped.detail = notAttemptedName(reason);
    m_ending = notAttemptedName(reason);
    if (displayName == EditionCatalogue::suiteDisplayName()) {
        m_suite[QStringLiteral("decision")] = QStringLiteral("notAttempted");
        m_suite[QStringLiteral("reason")] = notAttemptedName(reason);
    }
}

void RunReport::suiteKept(SuiteKept reason, const QString &recordedLanguage)
{
    m_suite[QStringLiteral("decision")] = QStringLiteral("kept");
    m_suite[QStringLiteral("reason")] = suiteKeptName(reason);
    m_suite[QStringLiteral("recordedLanguage")] = orNull(recordedLanguage);
}

void RunReport::userSettingsStarting(const QStringList &displayNames)
{
    m_userSettingsEditions = displayNames;
}

// A hive heard again (it could not be unloaded) keeps its place and its keys. One that could
// not be loaded holds the settings keys of the pass's editions, which then could not be
// removed (or planned): they are counted with the keys that failed.
void RunReport::userHiveReached(const UserHive &hive)
{
    if (!m_userProfiles.isEmpty() && m_userProfiles.last().hive.sid == hive.sid) {
        m_userProfiles.last().hive = hive;
        return;
    }
    m_userProfiles.append({ hive, {} });
    if (hive.reach != UserHive::NotLoadable)
        return;
    const QString settings
        = RegistryPaths::userSettingsIn(RegistryPaths::profileHiveMount(hive.sid));
    for (const QString &edition : std::as_const(m_userSettingsEditions))
        m_userProfiles.last().keys.append(
            { edition,
              { settings + QLatin1Char('\\') + EditionCatalogue::localeForEdition(edition),
                QStringLiteral("failed"),
                QStringLiteral("the user hive could not be loaded from %1: %2")
                    .arg(ProfileHive::hiveFile(hive.profilePath), hive.reason) } });
}

void RunReport::userKeyRemoved(const QString &displayName, const KeyRemoval &removal)
{
    if (!m_userProfiles.isEmpty())
        m_userProfiles.last().keys.append(
            { displayName, { removal.path, keyOutcomeName(removal.status), removal.reason } });
}

void RunReport::userKeyPlanned(const QString &displayName, const QString &path)
{
    if (!m_userProfiles.isEmpty())
        m_userProfiles.last().keys.append(
            { displayName, { path, QStringLiteral("planned"), QString() } });
}

void RunReport::setEnding(const QString &ending, const QString &text)
{
    m_ending = ending;
    m_endingText = text;
}

QJsonObject RunReport::keyJson(const Key &key)
{
    return { { QStringLiteral("path"), key.path },
             { QStringLiteral("outcome"), key.outcome },
             { QStringLiteral("reason"), orNull(key.reason) } };
}

QJsonObject RunReport::userProfileJson(const UserProfile &profile)
{
    QJsonArray keys;
    for (const auto &[displayName, key] : profile.keys) {
        QJsonObject entry = keyJson(key);
        entry.insert(QStringLiteral("edition"),
                     displayName.mid(EditionCatalogue::displayNamePrefix().size()));
        keys.append(entry);
    }
    const UserHive &hive = profile.hive;
    return { { QStringLiteral("sid"), hive.sid },
             { QStringLiteral("profilePath"), orNull(hive.profilePath) },
             { QStringLiteral("reach"), UserHive::keyword(hive.reach) },
             { QStringLiteral("reason"), orNull(hive.reason) },
             { QStringLiteral("keys"), keys } };
}

QJsonObject RunReport::packageJson(const Package &package) const
{
    QJsonArray keys;
    for (const Key &key : package.keys)
        keys.append(keyJson(key));
    const bool suite = package.name == EditionCatalogue::suiteDisplayName();
    const QString productCode = EditionCatalogue::productCode(package.name);
    return {
        { QStringLiteral("code"),
          suite ? QStringLiteral("suite")
                : package.name.mid(EditionCatalogue::displayNamePrefix().size()) },
        { QStringLiteral("name"), package.name },
        { QStringLiteral("productCode"), productCode },
        { QStringLiteral("productState"),
          package.state ? QJsonValue(stateName(*package.state)) : QJsonValue() },
        { QStringLiteral("command"), orNull(package.command) },
        { QStringLiteral("installerLog"),
          orNull(
              absolutePath(RemovalRun::installerLog(m_options.installerLogFolder, package.name))) },
        { QStringLiteral("status"), package.status },
        { QStringLiteral("exitCode"), orNull(package.exitCode) },
        { QStringLiteral("detail"), orNull(package.detail) },
        { QStringLiteral("seconds"), orNull(package.seconds) },
        { QStringLiteral("registrations"), package.registrations },
        { QStringLiteral("keys"), keys },
    };
}

QJsonObject RunReport::optionsJson() const
{
    return {
        { QStringLiteral("editions"), QJsonArray::fromStringList(m_commandLine.editionCodes()) },
        { QStringLiteral("dryRun"), m_options.dryRun },
        { QStringLiteral("force"), !m_options.keepRegistrationsOfFailures },
        { QStringLiteral("allUsers"), m_options.allUsers },
        { QStringLiteral("log"), orNull(absolutePath(m_commandLine.logFile())) },
        { QStringLiteral("msiLog"), orNull(absolutePath(m_options.installerLogFolder)) },
        // None in a dry run, which writes none.
        { QStringLiteral("backup"), orNull(absolutePath(m_options.backupFile)) },
        { QStringLiteral("timeoutMinutes"),
          m_options.timeLimitMs < 0 ? QJsonValue() : QJsonValue(m_options.timeLimitMs / 60000.0) },
    };
}

// Without an exit code, the report of a run under way: replaced when it ends, it stays as it
// is when the run is ended from outside.
QJsonObject RunReport::toJson(std::optional<int> exitCode, const QString &meaning) const
{
    QJsonArray packages;
    for (const Package &listed : m_packages)
        packages.append(packageJson(listed));
    QJsonArray userProfiles;
    for (const UserProfile &profile : m_userProfiles)
        userProfiles.append(userProfileJson(profile));
    return {
        { QStringLiteral("schemaVersion"), schemaVersion },
        { QStringLiteral("program"),
          QJsonObject { { QStringLiteral("name"), QCoreApplication::applicationName() },
                        { QStringLiteral("version"), QCoreApplication::applicationVersion() } } },
        { QStringLiteral("computer"), QSysInfo::machineHostName() },
        { QStringLiteral("account"), Platform::accountName() },
        { QStringLiteral("started"), m_started },
        { QStringLiteral("ended"), exitCode ? QJsonValue(LogWriter::timestamp()) : QJsonValue() },
        { QStringLiteral("commandLine"), QJsonArray::fromStringList(m_commandLine.arguments()) },
        { QStringLiteral("options"), optionsJson() },
        { QStringLiteral("ending"), exitCode ? m_ending : QStringLiteral("running") },
        { QStringLiteral("endingText"), orNull(m_endingText) },
        { QStringLiteral("exitCode"), orNull(exitCode) },
        { QStringLiteral("exitMeaning"), orNull(meaning) },
        { QStringLiteral("packages"), packages },
        { QStringLiteral("userProfiles"), userProfiles },
        { QStringLiteral("suite"), m_suite },
    };
}

QString RunReport::write(const QString &fileName, std::optional<int> exitCode,
                         const QString &meaning) const
{
    const QString why = OutputFile::replace(
        fileName, QJsonDocument(toJson(exitCode, meaning)).toJson(QJsonDocument::Indented));
    if (why.isEmpty())
        return QString();
    return QStringLiteral("the report %1 could not be written: %2")
        .arg(QDir::toNativeSeparators(fileName), why);
}

// A save that is begun and abandoned leaves nothing behind, and fails exactly where the real
// one would: a missing folder, no right to write in it, a name that is a folder; what is at
// the name must be the program's own (OutputFile).
QString RunReport::checkWritable(const QString &fileName)
{
    QSaveFile file(fileName);
    QString why = OutputFile::inspect(fileName);
    const bool writable = why.isEmpty() && file.open(QIODevice::WriteOnly);
    if (why.isEmpty())
        why = file.errorString();
    file.cancelWriting();
    if (writable)
        return QString();
    return QStringLiteral("the report %1 cannot be written: %2")
        .arg(QDir::toNativeSeparators(fileName), why);
}
