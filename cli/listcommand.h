#ifndef LISTCOMMAND_H
#define LISTCOMMAND_H

#include <QList>
#include <QString>

class Console;
class QJsonObject;

// remedor-cli list [--json]: what the machine holds of each edition and of the suite, in
// catalogue order with the suite last, then the bootstrapper's entry. Only reads.
class ListCommand
{
public:
    explicit ListCommand(Console &console);
    int run(bool json);

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
    struct Bootstrapper
    {
        bool present = false;
        QString language; // as recorded, "de-DE"; empty when none is
    };
    static QList<Package> packages();
    static Package package(const QString &code, const QString &name);
    static Bootstrapper bootstrapper();

    void printJson(const QList<Package> &packages, const Bootstrapper &bootstrapper);
    void printTable(const QList<Package> &packages, const Bootstrapper &bootstrapper);

    Console &m_console;
};

#endif // LISTCOMMAND_H
