#include "runreport.h"

#include "commandline.h"
#include "editioncatalogue.h"
#include "logwriter.h"
#include "platform.h"
#include "removalrun.h"

#include <QCoreApplication>
#include <QDir>
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
    return reason == RemovalObserver::NotAttempted::InstallerBusy
        ? QStringLiteral("installerBusy")
        : QStringLiteral("installerTimedOut");
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

void RunReport::userHiveReached(const UserHive &hive)
{
    package(m_current).userHives.append(hive);
}

void RunReport::setEnding(const QString &ending, const QString &text)
{
    m_ending = ending;
    m_endingText = text;
}

QJsonObject RunReport::packageJson(const Package &package) const
{
    QJsonArray keys;
    for (const Key &key : package.keys)
        keys.append(QJsonObject { { QStringLiteral("path"), key.path },
                                  { QStringLiteral("outcome"), key.outcome },
                                  { QStringLiteral("reason"), orNull(key.reason) } });
    QJsonArray userHives;
    for (const UserHive &hive : package.userHives)
        userHives.append(QJsonObject { { QStringLiteral("sid"), hive.sid },
                                       { QStringLiteral("profilePath"), orNull(hive.profilePath) },
                                       { QStringLiteral("reach"), UserHive::keyword(hive.reach) },
                                       { QStringLiteral("reason"), orNull(hive.reason) } });
    const bool suite = package.name == EditionCatalogue::suiteDisplayName();
    const QString productCode = EditionCatalogue::productCode(package.name);
    return {
        { QStringLiteral("code"),
          suite ? QString() : package.name.mid(EditionCatalogue::displayNamePrefix().size()) },
        { QStringLiteral("name"), package.name },
        { QStringLiteral("productCode"), productCode },
        { QStringLiteral("productState"),
          package.state ? QJsonValue(stateName(*package.state)) : QJsonValue() },
        { QStringLiteral("command"), orNull(package.command) },
        { QStringLiteral("installerLog"),
          orNull(RemovalRun::installerLog(m_options.installerLogFolder, package.name)) },
        { QStringLiteral("status"), package.status },
        { QStringLiteral("exitCode"), orNull(package.exitCode) },
        { QStringLiteral("detail"), orNull(package.detail) },
        { QStringLiteral("seconds"), orNull(package.seconds) },
        { QStringLiteral("registrations"), package.registrations },
        { QStringLiteral("keys"), keys },
        { QStringLiteral("userHives"), userHives },
    };
}

QJsonObject RunReport::optionsJson() const
{
    return {
        { QStringLiteral("editions"), QJsonArray::fromStringList(m_commandLine.editionCodes()) },
        { QStringLiteral("dryRun"), m_options.dryRun },
        { QStringLiteral("force"), !m_options.keepRegistrationsOfFailures },
        { QStringLiteral("allUsers"), m_options.allUsers },
        { QStringLiteral("log"), orNull(m_commandLine.logFile()) },
        { QStringLiteral("msiLog"), orNull(m_options.installerLogFolder) },
        { QStringLiteral("backup"), orNull(m_commandLine.backupFile()) },
        { QStringLiteral("timeoutMinutes"),
          m_options.installerTimeoutMs < 0 ? QJsonValue()
                                           : QJsonValue(m_options.installerTimeoutMs / 60000.0) },
    };
}

QJsonObject RunReport::toJson(int exitCode, const QString &meaning) const
{
    QJsonArray packages;
    for (const Package &listed : m_packages)
        packages.append(packageJson(listed));
    return {
        { QStringLiteral("schemaVersion"), schemaVersion },
        { QStringLiteral("program"),
          QJsonObject { { QStringLiteral("name"), QCoreApplication::applicationName() },
                        { QStringLiteral("version"), QCoreApplication::applicationVersion() } } },
        { QStringLiteral("computer"), QSysInfo::machineHostName() },
        { QStringLiteral("account"), Platform::accountName() },
        { QStringLiteral("started"), m_started },
        { QStringLiteral("ended"), LogWriter::timestamp() },
        { QStringLiteral("commandLine"), QJsonArray::fromStringList(m_commandLine.arguments()) },
        { QStringLiteral("options"), optionsJson() },
        { QStringLiteral("ending"), m_ending },
        { QStringLiteral("endingText"), orNull(m_endingText) },
        { QStringLiteral("exitCode"), exitCode },
        { QStringLiteral("exitMeaning"), meaning },
        { QStringLiteral("packages"), packages },
        { QStringLiteral("suite"), m_suite },
    };
}

QString RunReport::write(const QString &fileName, int exitCode, const QString &meaning) const
{
    QSaveFile file(fileName);
    const QByteArray bytes
        = QJsonDocument(toJson(exitCode, meaning)).toJson(QJsonDocument::Indented);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return QString();
    return QStringLiteral("the report %1 could not be written: %2")
        .arg(QDir::toNativeSeparators(fileName), file.errorString());
}

// A save that is begun and abandoned leaves nothing behind, and fails exactly where the real
// one would: a missing folder, no right to write in it, a name that is a folder.
QString RunReport::checkWritable(const QString &fileName)
{
    QSaveFile file(fileName);
    const bool writable = file.open(QIODevice::WriteOnly);
    const QString why = file.errorString();
    file.cancelWriting();
    if (writable)
        return QString();
    return QStringLiteral("the report %1 cannot be written: %2")
        .arg(QDir::toNativeSeparators(fileName), why);
}
