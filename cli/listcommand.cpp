#include "listcommand.h"

#include "console.h"
#include "editioncatalogue.h"
#include "exitstatus.h"
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

int ListCommand::run(bool json)
{
    const QString damage = RegistryKey::damage();
    if (!damage.isEmpty()) {
        m_console.printError(QStringLiteral("The registry cannot be read: %1.").arg(damage));
        return ExitStatus::Failure;
    }
    const QList<Package> listed = packages();
    if (json)
        printJson(listed, bootstrapper());
    else
        printTable(listed, bootstrapper());
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

ListCommand::Bootstrapper ListCommand::bootstrapper()
{
    if (!RemovalRun::bootstrapperEntryExists())
        return {};
    return { true, RemovalRun::bootstrapperRecordedLanguage() };
}

void ListCommand::printJson(const QList<Package> &packages, const Bootstrapper &bootstrapper)
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
        { QStringLiteral("language"), bootstrapper.language },
    };
    const QJsonObject listing { { QStringLiteral("editions"), editions },
                                { QStringLiteral("bootstrapper"), entry } };
    m_console.print(
        QString::fromUtf8(QJsonDocument(listing).toJson(QJsonDocument::Indented)).trimmed());
}

void ListCommand::printTable(const QList<Package> &packages, const Bootstrapper &bootstrapper)
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
                            .arg(bootstrapper.language.isEmpty() ? QStringLiteral("(none recorded)")
                                                                 : bootstrapper.language));
}
