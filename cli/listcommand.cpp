#include "listcommand.h"

#include "console.h"
#include "editioncatalogue.h"
#include "exitstatus.h"
#include "profilehive.h"
#include "registrykey.h"
#include "registrypaths.h"
#include "removalrun.h"
#include "windowsinstaller.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

ListCommand::ListCommand(Console &console)
    : m_console(console)
{
}

int ListCommand::run(bool json, bool allUsers)
{
    const QString damage = RegistryKey::damage();
    if (!damage.isEmpty()) {
        m_console.printError(QStringLiteral("The registry cannot be read: %1.").arg(damage));
        return ExitStatus::Failure;
    }
    const QList<Package> listed = packages();
    std::optional<QList<Profile>> users;
    if (allUsers)
        users = profiles();
    if (json) {
        printJson(listed, RemovalRun::readBootstrapper(), users);
    } else {
        printTable(listed, RemovalRun::readBootstrapper());
        if (users)
            printProfiles(*users);
    }
    return ExitStatus::Success;
}

QList<ListCommand::Package> ListCommand::packages()
{
    QList<Package> listed;
    for (const Edition &edition : EditionCatalogue::editions())
        listed.append(
            package(QLatin1String(edition.languageCode), EditionCatalogue::displayName(edition)));
    listed.append(package(QString(), EditionCatalogue::suiteDisplayName()));
    return listed;
}

// The keys are those the removal would delete, so spelled exactly; the settings keys are
// the editions' only.
ListCommand::Package ListCommand::package(const QString &code, const QString &name)
{
    Package listed { code, name, EditionCatalogue::productCode(name) };
    listed.installed
        = WindowsInstaller::productState(listed.productCode) == ProductState::Installed;
    listed.uninstallEntry = RegistryKey(RegistryPaths::uninstall()).hasChild(listed.productCode);
    const QString localeTag = EditionCatalogue::localeForEdition(name);
    listed.machineSettings = RegistryKey(RegistryPaths::machineSettings()).hasChild(localeTag);
    listed.userSettings = RegistryKey(RegistryPaths::userSettings()).hasChild(localeTag);
    return listed;
}

// A hive that is not loaded is loaded only while it is read.
QList<ListCommand::Profile> ListCommand::profiles()
{
    QList<Profile> listed;
    for (const ProfileHive::Profile &profile : ProfileHive::userProfiles()) {
        Profile entry;
        if (profile.loaded) {
            entry = { { profile.sid, profile.folder, UserHive::AlreadyLoaded, QString() },
                      true,
                      userSettingsIn(profile.sid) };
        } else {
            ProfileHive hive(profile);
            if (hive.isLoaded())
                entry.userSettings = userSettingsIn(hive.mountName());
            entry.readable = hive.isLoaded();
            hive.unload();
            entry.hive = hive.report();
        }
        listed.append(entry);
    }
    return listed;
}

QStringList ListCommand::userSettingsIn(const QString &hive)
{
    const RegistryKey settings(RegistryPaths::userSettingsIn(hive));
    QStringList codes;
    for (const Edition &edition : EditionCatalogue::editions()) {
        if (settings.hasChild(QLatin1String(edition.localeTag)))
            codes.append(QLatin1String(edition.languageCode));
    }
    return codes;
}

void ListCommand::printJson(const QList<Package> &packages,
                            const RemovalRun::Bootstrapper &bootstrapper,
                            const std::optional<QList<Profile>> &profiles)
{
    QJsonArray editions;
    for (const Package &listed : packages) {
        editions.append(QJsonObject { { QStringLiteral("code"), listed.code },
                                      { QStringLiteral("name"), listed.name },
                                      { QStringLiteral("productCode"), listed.productCode },
                                      { QStringLiteral("installed"), listed.installed },
                                      { QStringLiteral("uninstallEntry"), listed.uninstallEntry },
                                      { QStringLiteral("machineSettings"), listed.machineSettings },
                                      { QStringLiteral("userSettings"), listed.userSettings } });
    }
    const QJsonObject entry {
        { QStringLiteral("present"), bootstrapper.present },
        { QStringLiteral("language"), bootstrapper.recordedLanguage },
    };
    QJsonObject listing { { QStringLiteral("editions"), editions },
                          { QStringLiteral("bootstrapper"), entry } };
    if (profiles) {
        // A hive that could not be read has null settings, never an empty list.
        QJsonArray users;
        for (const Profile &profile : *profiles) {
            const QJsonValue settings = profile.readable
                ? QJsonValue(QJsonArray::fromStringList(profile.userSettings))
                : QJsonValue(profile.hive.reach == UserHive::NoHiveFile ? QJsonArray()
                                                                        : QJsonValue());
            users.append(QJsonObject {
                { QStringLiteral("sid"), profile.hive.sid },
                { QStringLiteral("path"), profile.hive.profilePath },
                { QStringLiteral("loaded"), profile.hive.reach == UserHive::AlreadyLoaded },
                { QStringLiteral("hive"), UserHive::keyword(profile.hive.reach) },
                { QStringLiteral("reason"), profile.hive.reason },
                { QStringLiteral("userSettings"), settings } });
        }
        listing.insert(QStringLiteral("profiles"), users);
    }
    m_console.print(
        QString::fromUtf8(QJsonDocument(listing).toJson(QJsonDocument::Indented)).trimmed());
}

void ListCommand::printTable(const QList<Package> &packages,
                             const RemovalRun::Bootstrapper &bootstrapper)
{
    auto yesNo = [](bool value) {
        return value ? QStringLiteral("yes") : QStringLiteral("no");
    };
    const QString row = QStringLiteral("%1  %2  %3  %4  %5  %6  %7");
    m_console.print(row.arg(QStringLiteral("Code"), -4)
                        .arg(QStringLiteral("Name"), -15)
                        .arg(QStringLiteral("Product code"), -38)
                        .arg(QStringLiteral("Installed"), -9)
                        .arg(QStringLiteral("Uninstall entry"), -15)
                        .arg(QStringLiteral("Machine settings"), -16)
                        .arg(QStringLiteral("User settings")));
    for (const Package &listed : packages) {
        const bool edition = !listed.code.isEmpty();
        m_console.print(row.arg(listed.code, -4)
                            .arg(listed.name, -15)
                            .arg(listed.productCode, -38)
                            .arg(yesNo(listed.installed), -9)
                            .arg(yesNo(listed.uninstallEntry), -15)
                            .arg(edition ? yesNo(listed.machineSettings) : QStringLiteral("-"), -16)
                            .arg(edition ? yesNo(listed.userSettings) : QStringLiteral("-")));
    }
    if (!bootstrapper.present)
        m_console.print(QStringLiteral("Bootstrapper entry: not there"));
    else
        m_console.print(QStringLiteral("Bootstrapper entry: present, language %1")
                            .arg(bootstrapper.recordedLanguage.isEmpty()
                                     ? QStringLiteral("(none recorded)")
                                     : bootstrapper.recordedLanguage));
}

void ListCommand::printProfiles(const QList<Profile> &profiles)
{
    qsizetype width = 3;
    for (const Profile &profile : profiles)
        width = qMax(width, profile.hive.sid.size());
    const QString row = QStringLiteral("%1  %2  %3  %4");
    m_console.print(QString());
    m_console.print(row.arg(QStringLiteral("SID"), -int(width))
                        .arg(QStringLiteral("Hive"), -17)
                        .arg(QStringLiteral("User settings"), -13)
                        .arg(QStringLiteral("Profile folder")));
    auto hive = [](UserHive::Reach reach) {
        switch (reach) {
        case UserHive::AlreadyLoaded:
            return QStringLiteral("loaded");
        case UserHive::LoadedByRun:
            return QStringLiteral("not loaded");
        case UserHive::NoHiveFile:
            return QStringLiteral("no NTUSER.DAT");
        case UserHive::NotLoadable:
            return QStringLiteral("cannot be loaded");
        case UserHive::NotUnloaded:
            return QStringLiteral("left loaded");
        }
        return QString();
    };
    for (const Profile &profile : profiles) {
        const QString settings = !profile.readable ? QStringLiteral("-")
            : profile.userSettings.isEmpty()       ? QStringLiteral("none")
                                                   : profile.userSettings.join(QLatin1Char(' '));
        QString folder = profile.hive.profilePath;
        if (!profile.hive.reason.isEmpty())
            folder += QStringLiteral(" (%1)").arg(profile.hive.reason);
        m_console.print(row.arg(profile.hive.sid, -int(width))
                            .arg(hive(profile.hive.reach), -17)
                            .arg(settings, -13)
                            .arg(folder)
                            .trimmed());
    }
}
