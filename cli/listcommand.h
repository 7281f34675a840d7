#ifndef LISTCOMMAND_H
#define LISTCOMMAND_H

#include "removalrun.h"
#include "userhive.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Console;
class QJsonObject;

// remedor-cli list [--json] [--all-users]: what the machine holds of each edition and of the
// suite, in catalogue order with the suite last, then the bootstrapper's entry, and with all
// users each user profile's settings. Only reads (a profile's hive that is not loaded is
// loaded for the moment, to be read).
class ListCommand
{
public:
    explicit ListCommand(Console &console);
    int run(bool json, bool allUsers = false);

private:
    struct Package
    {
        QString code; // "DEU"; empty for the suite
        QString name;
        QString productCode;
        bool installed = false;
        bool uninstallEntry = false;
        bool machineSettings = false;
        bool userSettings = false;
    };
    struct Profile
    {
        UserHive hive; // how it was reached
        bool readable = false; // userSettings tells what the hive holds
        QStringList userSettings; // the codes of the editions whose settings key it holds
    };
    static QList<Package> packages();
    static QList<Profile> profiles();
    static QStringList userSettingsIn(const QString &hive);
    static Package package(const QString &code, const QString &name);

    void printJson(const QList<Package> &packages, const RemovalRun::Bootstrapper &bootstrapper,
                   const std::optional<QList<Profile>> &profiles);
    void printTable(const QList<Package> &packages, const RemovalRun::Bootstrapper &bootstrapper);
    void printProfiles(const QList<Profile> &profiles);

    Console &m_console;
};

#endif // LISTCOMMAND_H
