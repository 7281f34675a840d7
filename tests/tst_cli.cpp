#include "editioncatalogue.h"
#include "machinekeys.h"
#include "packedproductcode.h"
#include "regfile.h"
#include "registrysandbox.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <unistd.h>

// remedor-cli run as a child process on a stand-in machine with the stand-in installer:
// its exit codes, what it prints, logs and lists, and what it leaves of the machine.
class tst_Cli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exitCodes_data();
    void exitCodes();
    void usageErrorsTouchNothing_data();
    void usageErrorsTouchNothing();
    void damagedRegistry_data();
    void damagedRegistry();
    void dryRunPlansWhatRemoveDoes_data();
    void dryRunPlansWhatRemoveDoes();
    void failedInstallerKeepsRegistrations_data();
    void failedInstallerKeepsRegistrations();
    void allUsers_data();
    void allUsers();
    void stepLines_data();
    void stepLines();
    void stopFinishesThePackageUnderWay_data();
    void stopFinishesThePackageUnderWay();
    void stopDuringTheLastPackage();
    void listJson_data();
    void listJson();
    void listTable();
    void log_data();
    void log();
    void backupUndoesTheRemoval();
};

using namespace MachineKeys;

namespace {

// The exit codes, Windows Installer's; a POSIX exit status carries their low byte.
enum Code {
    success = 0,
    notElevated = 5,
    usageError = 87,
    failure = 1603,
    cancelled = 1602,
    anotherInstallation = 1618,
    restartRequired = 3010,
};

const QString suite = QStringLiteral("suite");
const QString suiteCode = QStringLiteral("{6B41C7D2-B002-0000-B002-7E93A0C5D814}");
const QString validCodes
    = QStringLiteral("CHS CHT CSY DEU ENU ESN FRA HUN ITA JPN KOR PLK PTB RUS TRK");

const Edition &edition(const QString &languageCode)
{
    for (const Edition &e : EditionCatalogue::editions()) {
        if (languageCode == QLatin1String(e.languageCode))
            return e;
    }
    qFatal("no edition %s", qPrintable(languageCode));
}

QStringList allCodes()
{
    return validCodes.split(' ');
}

// A language code, or "suite".
QString code(const QString &package)
{
    return package == suite ? suiteCode : QString::fromLatin1(edition(package).productCode);
}

QString tag(const QString &languageCode)
{
    return QString::fromLatin1(edition(languageCode).localeTag);
}

QString packed(const QString &package)
{
    return PackedProductCode::fromProductCode(code(package));
}

QString commandFor(const QString &package)
{
    return QStringLiteral("/X%1 /quiet /passive /norestart KEEPUSERDATA=yes").arg(code(package));
}

QString bootstrapperKey()
{
    return uninstall + "\\" + bootstrapperName;
}

// Every key the machine holds for a package, settings subkeys included; for the suite,
// the bootstrapper's entry too.
QStringList packageKeys(const QString &package)
{
    QStringList keys = { uninstall + "\\" + code(package), products + "\\" + packed(package) };
    if (package == suite)
        return keys << bootstrapperKey();
    return keys << machineSettings + "\\" + tag(package)
                << machineSettings + "\\" + tag(package) + "\\Recent"
                << userSettings + "\\" + tag(package);
}

// A stand-in machine, described by what it holds: each list names packages by language
// code (or "suite") whose key of that kind exists.
struct Machine
{
    QStringList uninstallEntries;
    QStringList productsEntries;
    QStringList machineSettings;
    QStringList userSettings;
    QString bootstrapperTag; // null: no bootstrapper entry
    QStringList extraLines;

    static Machine installed(const QString &bootstrapperTag = QStringLiteral("de-DE"))
    {
        const QStringList packages = allCodes() << suite;
        return { packages, packages, allCodes(), allCodes(), bootstrapperTag, {} };
    }

    QStringList lines() const
    {
        QStringList lines
            = { "[" + MachineKeys::machineSettings + "]", "\"InstallDir\"=\"C:\\\\PELDA\"", "" };
        for (const QString &package : uninstallEntries)
            lines << "[" + uninstall + "\\" + code(package) + "]"
                  << "\"DisplayName\"=\"" + package + "\""
                  << "";
        for (const QString &package : productsEntries)
            lines << "[" + products + "\\" + packed(package) + "]"
                  << "";
        for (const QString &language : machineSettings)
            lines << "[" + MachineKeys::machineSettings + "\\" + tag(language) + "]"
                  << "\"Skin\"=dword:00000001"
                  << ""
                  << "[" + MachineKeys::machineSettings + "\\" + tag(language) + "\\Recent]"
                  << "";
        for (const QString &language : userSettings)
            lines << "[" + MachineKeys::userSettings + "\\" + tag(language) + "]"
                  << "\"Window\"=hex:01,02"
                  << "";
        if (!bootstrapperTag.isNull())
            lines << "[" + bootstrapperKey() + "]"
                  << "\"PeldaLanguage\"=\"" + bootstrapperTag + "\""
                  << "";
        // Decoys that no run may touch.
        lines << "[" + uninstall + "\\{0D5E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B}]"
              << ""
              << "[" + MachineKeys::machineSettings + "\\xx-XX]"
              << ""
              << "[" + MachineKeys::userSettings + "\\de-DE-old]"
              << "";
        return lines + extraLines;
    }
};

struct Run
{
    int exitCode = -1;
    bool normalExit = false;
    QStringList out;
    QStringList error;
};

QStringList outputLines(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).split('\n', Qt::SkipEmptyParts);
}

Run runCli(const QStringList &arguments)
{
    QProcess cli;
    cli.start(QStringLiteral(REMEDOR_CLI), arguments);
    if (!cli.waitForFinished(120000))
        qWarning("remedor-cli did not finish: %s", qPrintable(cli.errorString()));
    return { cli.exitCode(), cli.exitStatus() == QProcess::NormalExit,
             outputLines(cli.readAllStandardOutput()), outputLines(cli.readAllStandardError()) };
}

// Starts the program and returns once the stand-in installer has started for the first
// package (it logs its call before it waits), so that a signal sent now finds it running.
bool startUntilInstallerRuns(QProcess &cli, const RegistrySandbox &sandbox,
                             const QStringList &arguments)
{
    cli.start(QStringLiteral(REMEDOR_CLI), arguments);
    if (!cli.waitForStarted())
        return false;
    QElapsedTimer clock;
    clock.start();
    while (sandbox.installerCalls().isEmpty()) {
        if (clock.hasExpired(30000) || cli.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(5);
    }
    return true;
}

QString finishedLine(int code)
{
    return QStringLiteral("Finished with exit code %1: ").arg(code);
}

QString cliState(const Run &run)
{
    return QStringLiteral("exit %1; out:\n%2\nerror:\n%3")
        .arg(run.exitCode)
        .arg(run.out.join('\n'), run.error.join('\n'));
}

QStringList linesStartingWith(const QStringList &lines, const QString &prefix)
{
    QStringList found;
    for (const QString &line : lines) {
        const qsizetype at = line.indexOf(prefix);
        if (at >= 0)
            found.append(line.mid(at + prefix.size()));
    }
    return found;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

void tst_Cli::exitCodes_data()
{
    QTest::addColumn<RegistrySandbox::Installer>("installer");
    QTest::addColumn<QString>("results");
    QTest::addColumn<bool>("frozen"); // no key can be removed
    QTest::addColumn<bool>("stop"); // SIGTERM while DEU's installer runs
    QTest::addColumn<int>("expected");

    const auto standIn = RegistrySandbox::Installer::StandIn;
    const QString deu = code("DEU");
    const QString fra = code("FRA");
    QTest::newRow("all succeed") << standIn << "" << false << false << int(success);
    QTest::newRow("not installed (1605)") << standIn << "*=1605" << false << false << int(success);
    QTest::newRow("restart (3010)")
        << standIn << "*=+3010" << false << false << int(restartRequired);
    QTest::newRow("restart initiated (1641)")
        << standIn << deu + "=+1641" << false << false << int(restartRequired);
    QTest::newRow("another installation (1618)")
        << standIn << fra + "=1618" << false << false << int(anotherInstallation);
    QTest::newRow("installer failed (1603)")
        << standIn << fra + "=1603" << false << false << int(failure);
    QTest::newRow("installer failed (1610)")
        << standIn << deu + "=1610" << false << false << int(failure);
    QTest::newRow("installer crashed")
        << standIn << deu + "=crash" << false << false << int(failure);
    QTest::newRow("no installer") << RegistrySandbox::Installer::None << "" << false << false
                                  << int(failure);
    QTest::newRow("installer cannot start")
        << RegistrySandbox::Installer::Unstartable << "" << false << false << int(failure);
    QTest::newRow("key cannot be removed") << standIn << "" << true << false << int(failure);
    QTest::newRow("stopped") << standIn << "" << false << true << int(cancelled);

    // Precedence: 1603, then 1602, then 1618, then 3010.
    QTest::newRow("failure over another installation")
        << standIn << deu + "=1618," + fra + "=1603" << false << false << int(failure);
    QTest::newRow("failure over restart")
        << standIn << deu + "=1603," + fra + "=+3010" << false << false << int(failure);
    QTest::newRow("key failure over restart")
        << standIn << "*=+3010" << true << false << int(failure);
    QTest::newRow("another installation over restart")
        << standIn << deu + "=+3010," + fra + "=1618" << false << false << int(anotherInstallation);
    QTest::newRow("failure over stop") << standIn << deu + "=1603" << false << true << int(failure);
    QTest::newRow("stop over another installation")
        << standIn << deu + "=1618" << false << true << int(cancelled);
    QTest::newRow("stop over restart")
        << standIn << deu + "=+3010" << false << true << int(cancelled);
}

// DEU and FRA removed with the suite (the bootstrapper records de-DE).
void tst_Cli::exitCodes()
{
    QFETCH(RegistrySandbox::Installer, installer);
    QFETCH(QString, results);
    QFETCH(bool, frozen);
    QFETCH(bool, stop);
    QFETCH(int, expected);

    RegistrySandbox sandbox(installer);
    sandbox.writeRegistry(Machine::installed().lines());
    sandbox.setInstallerResults(results);
    QString why;
    if (frozen && !sandbox.freezeRegistryFolder(&why))
        QSKIP(qPrintable(why));

    Run run;
    if (stop) {
        sandbox.setInstallerDelay(600);
        QProcess cli;
        QVERIFY(startUntilInstallerRuns(cli, sandbox, { "remove", "DEU", "FRA" }));
        ::kill(pid_t(cli.processId()), SIGTERM);
        QVERIFY(cli.waitForFinished(60000));
        run = { cli.exitCode(), cli.exitStatus() == QProcess::NormalExit,
                outputLines(cli.readAllStandardOutput()), outputLines(cli.readAllStandardError()) };
        QCOMPARE(sandbox.installerCalls(), QStringList { commandFor("DEU") });
    } else {
        run = runCli({ "remove", "DEU", "FRA" });
    }
    QVERIFY2(run.normalExit, qPrintable(cliState(run)));
    QVERIFY2(run.exitCode == (expected & 0xff), qPrintable(cliState(run)));
    QVERIFY2(!run.out.isEmpty() && run.out.last().startsWith(finishedLine(expected)),
             qPrintable(cliState(run)));
}

void tst_Cli::usageErrorsTouchNothing_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" stands for a folder of the sandbox
    QTest::addColumn<QString>("named"); // what the message must name
    QTest::addColumn<bool>("listsCodes");

    QTest::newRow("unknown code") << QStringList { "remove", "deu", "XYZ" } << "\"XYZ\"" << true;
    QTest::newRow("part of a code") << QStringList { "remove", "DE" } << "\"DE\"" << true;
    QTest::newRow("display name") << QStringList { "remove", "PELDA+ 2015 DEU" }
                                  << "\"PELDA+ 2015 DEU\"" << true;
    QTest::newRow("no code") << QStringList { "remove" } << "edition codes or --all" << true;
    QTest::newRow("no code, dry run")
        << QStringList { "remove", "--dry-run" } << "edition codes or --all" << true;
    QTest::newRow("code with --all")
        << QStringList { "remove", "--all", "fra" } << "\"fra\"" << true;
    QTest::newRow("unknown code in a dry run")
        << QStringList { "remove", "--dry-run", "ABC" } << "\"ABC\"" << true;
    QTest::newRow("no command") << QStringList {} << "No command" << false;
    QTest::newRow("code without command") << QStringList { "DEU" } << "\"DEU\"" << false;
    QTest::newRow("unknown command") << QStringList { "erase", "DEU" } << "\"erase\"" << false;
    QTest::newRow("unknown option")
        << QStringList { "remove", "DEU", "--quiet" } << "quiet" << false;
    QTest::newRow("log without file") << QStringList { "remove", "DEU", "--log" } << "log" << false;
    QTest::newRow("log in a missing folder")
        << QStringList { "remove", "DEU", "--log", "@/missing/remedor.log" }
        << "@/missing/remedor.log" << false;
    QTest::newRow("log is a folder")
        << QStringList { "remove", "DEU", "--log", "@" } << "cannot be opened" << false;
    QTest::newRow("--json with remove")
        << QStringList { "remove", "DEU", "--json" } << "--json" << false;
    QTest::newRow("--force with list") << QStringList { "list", "--force" } << "--force" << false;
    QTest::newRow("--log with list")
        << QStringList { "list", "--log", "@/list.log" } << "--log" << false;
    QTest::newRow("list with a code") << QStringList { "list", "DEU" } << "\"DEU\"" << false;
    QTest::newRow("--backup with list")
        << QStringList { "list", "--backup", "@/list.log" } << "--backup" << false;
    QTest::newRow("--backup twice")
        << QStringList { "remove", "DEU", "--backup", "@/a.reg", "--backup", "@/list.log" }
        << "--backup is given 2 times" << false;
    QTest::newRow("backup in a missing folder")
        << QStringList { "remove", "DEU", "--dry-run", "--backup", "@/missing/b.reg" }
        << "@/missing/b.reg cannot be written" << false;
    QTest::newRow("backup is a folder")
        << QStringList { "remove", "DEU", "--backup", "@" } << "cannot be written" << false;
    QTest::newRow("backup is the log")
        << QStringList { "remove", "DEU", "--log", "@/list.log", "--backup", "@/list.log" }
        << "--backup and --log name the same file" << false;
    QTest::newRow("backup file is no UTF-16 export")
        << QStringList { "remove", "DEU", "--backup", "@/registry.reg" }
        << "something other than a registry export" << false;
}

// Nothing starts and not a byte changes: no installer call, the registry file as it was,
// nothing on standard output.
void tst_Cli::usageErrorsTouchNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    QFETCH(bool, listsCodes);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed().lines());
    const QByteArray before = sandbox.registryBytes();
    const QString folder = QFileInfo(sandbox.registryPath()).absolutePath();
    for (QString &argument : arguments)
        argument.replace('@', folder);
    named.replace('@', folder);

    const Run run = runCli(arguments);
    QVERIFY2(run.exitCode == usageError, qPrintable(cliState(run)));
    QVERIFY2(run.out.isEmpty(), qPrintable(cliState(run)));
    const QString message = run.error.join('\n');
    QVERIFY2(message.contains(named), qPrintable(message));
    QCOMPARE(message.contains(validCodes), listsCodes);
    QCOMPARE(sandbox.registryBytes(), before);
    QCOMPARE(sandbox.installerCalls(), QStringList());
    QVERIFY(!QFile::exists(folder + "/list.log"));
}

void tst_Cli::damagedRegistry_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("list") << QStringList { "list" };
    QTest::newRow("list --json") << QStringList { "list", "--json" };
    QTest::newRow("remove") << QStringList { "remove", "DEU" };
    QTest::newRow("remove --all --force --all-users")
        << QStringList { "remove", "--all", "--force", "--all-users" };
    QTest::newRow("dry run") << QStringList { "remove", "--all", "--dry-run" };
}

// A stand-in file that does not parse: the program says so, exits 1603, starts nothing and
// leaves the file as it was.
void tst_Cli::damagedRegistry()
{
    QFETCH(QStringList, arguments);

    RegistrySandbox sandbox;
    QByteArray damaged = RegistrySandbox::encode(Machine::installed().lines(), false);
    damaged.replace("dword:00000001", "dword:1");
    sandbox.writeRegistryBytes(damaged);

    const Run run = runCli(arguments);
    QVERIFY2(run.exitCode == (failure & 0xff), qPrintable(cliState(run)));
    QVERIFY2(run.out.isEmpty(), qPrintable(cliState(run)));
    const QString message = run.error.join('\n');
    QVERIFY2(message.contains("The registry cannot be read: " + sandbox.registryPath()),
             qPrintable(message));
    QCOMPARE(sandbox.registryBytes(), damaged);
    QCOMPARE(sandbox.installerCalls(), QStringList());
}

void tst_Cli::dryRunPlansWhatRemoveDoes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("bootstrapperTag");
    QTest::addColumn<QStringList>("installerRuns");

    QTest::newRow("the bootstrapper's language")
        << QStringList { "remove", "deu" } << "de-DE" << QStringList { "DEU", suite };
    QTest::newRow("another language, mixed case and order, twice")
        << QStringList { "remove", "trk", "Fra", "TRK", "fra" } << "de-DE"
        << QStringList { "FRA", "TRK" };
    QTest::newRow("all") << QStringList { "remove", "--all" } << "zh-CN" << (allCodes() << suite);
    QTest::newRow("all users, forced") << QStringList { "remove", "JPN", "--all-users", "--force" }
                                       << "ja-JP" << QStringList { "JPN", suite };
    QTest::newRow("no bootstrapper")
        << QStringList { "remove", "DEU" } << QString() << QStringList { "DEU" };
}

// The dry run prints the installer commands and the keys that exist and would go, and does
// nothing; remove then starts exactly those commands and the keys gone are exactly those.
void tst_Cli::dryRunPlansWhatRemoveDoes()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, bootstrapperTag);
    QFETCH(QStringList, installerRuns);

    RegistrySandbox sandbox;
    Machine machine = Machine::installed(bootstrapperTag);
    machine.extraLines << "[HKEY_USERS\\S-1-5-21-7-8-9-1001\\SOFTWARE\\DAWLIX\\PELDA\\2015\\ja-JP]"
                       << "";
    sandbox.writeRegistry(machine.lines());
    const QByteArray before = sandbox.registryBytes();
    const QStringList keysBefore = sandbox.keys();

    const Run plan = runCli(arguments + QStringList { "--dry-run" });
    QVERIFY2(plan.exitCode == success, qPrintable(cliState(plan)));
    QCOMPARE(sandbox.registryBytes(), before);
    QCOMPARE(sandbox.installerCalls(), QStringList());

    QStringList expectedCommands;
    for (const QString &package : installerRuns)
        expectedCommands << "msiexec.exe " + commandFor(package);
    QCOMPARE(linesStartingWith(plan.out, ": would run "), expectedCommands);
    const QStringList plannedKeys = linesStartingWith(plan.out, ": would remove key: ");
    QVERIFY(!plannedKeys.isEmpty());

    const Run done = runCli(arguments);
    QVERIFY2(done.exitCode == success, qPrintable(cliState(done)));
    QCOMPARE("msiexec.exe " + sandbox.installerCalls().join("\nmsiexec.exe "),
             expectedCommands.join('\n'));
    QStringList gone;
    for (const QString &key : keysBefore) {
        // Subkeys go with their parents and are not named on their own.
        if (!sandbox.hasKey(key) && !key.endsWith("\\Recent"))
            gone << key;
    }
    QCOMPARE(sorted(gone), sorted(plannedKeys));
}

void tst_Cli::failedInstallerKeepsRegistrations_data()
{
    QTest::addColumn<RegistrySandbox::Installer>("installer");
    QTest::addColumn<QString>("results");
    QTest::addColumn<bool>("force");
    QTest::addColumn<QStringList>("kept"); // packages whose keys all stay
    QTest::addColumn<int>("expected");

    const auto standIn = RegistrySandbox::Installer::StandIn;
    const QString fra = code("FRA");
    for (bool force : { false, true }) {
        const QString how = force ? " --force" : " by default";
        auto keptUnlessForced = [force](const QStringList &kept) {
            return force ? QStringList() : kept;
        };
        QTest::newRow(qPrintable("edition fails" + how))
            << standIn << fra + "=1603" << force << keptUnlessForced({ "FRA" }) << int(failure);
        QTest::newRow(qPrintable("edition crashes" + how))
            << standIn << code("DEU") + "=crash" << force << keptUnlessForced({ "DEU" })
            << int(failure);
        QTest::newRow(qPrintable("another installation" + how))
            << standIn << fra + "=1618" << force << keptUnlessForced({ "FRA" })
            << int(anotherInstallation);
        QTest::newRow(qPrintable("suite fails" + how))
            << standIn << suiteCode + "=1603" << force << keptUnlessForced({ suite })
            << int(failure);
        QTest::newRow(qPrintable("no installer" + how))
            << RegistrySandbox::Installer::None << "" << force
            << keptUnlessForced({ "DEU", "FRA", suite }) << int(failure);
        QTest::newRow(qPrintable("installer cannot start" + how))
            << RegistrySandbox::Installer::Unstartable << "" << force
            << keptUnlessForced({ "DEU", "FRA", suite }) << int(failure);
        // Successes, which the installer did without touching the registry: the run
        // removes what it left.
        QTest::newRow(qPrintable("not installed" + how))
            << standIn << "*=1605" << force << QStringList() << int(success);
        QTest::newRow(qPrintable("restart" + how))
            << standIn << "*=3010" << force << QStringList() << int(restartRequired);
    }
}

// By default a package whose installer failed keeps every registration, so that a retry
// finds it; --force removes them as the wizard does. The other packages go either way.
void tst_Cli::failedInstallerKeepsRegistrations()
{
    QFETCH(RegistrySandbox::Installer, installer);
    QFETCH(QString, results);
    QFETCH(bool, force);
    QFETCH(QStringList, kept);
    QFETCH(int, expected);

    RegistrySandbox sandbox(installer);
    sandbox.writeRegistry(Machine::installed().lines());
    sandbox.setInstallerResults(results);
    const QStringList before = sandbox.keys();

    QStringList arguments = { "remove", "DEU", "FRA" };
    if (force)
        arguments << "--force";
    const Run run = runCli(arguments);
    QVERIFY2(run.exitCode == (expected & 0xff), qPrintable(cliState(run)));

    for (const QString &package : { QStringLiteral("DEU"), QStringLiteral("FRA"), suite }) {
        const bool keeps = kept.contains(package);
        for (const QString &key : packageKeys(package))
            QVERIFY2(sandbox.hasKey(key) == keeps, qPrintable(key));
        const QString name = package == suite ? EditionCatalogue::suiteDisplayName()
                                              : EditionCatalogue::displayNameForLanguage(package);
        QCOMPARE(run.out.filter(name + ": registrations").size(), keeps ? 1 : 0);
    }
    // Nothing else was touched.
    QStringList expectedKeys = before;
    for (const QString &package : { QStringLiteral("DEU"), QStringLiteral("FRA"), suite }) {
        if (!kept.contains(package)) {
            for (const QString &key : packageKeys(package))
                expectedKeys.removeAll(key);
        }
    }
    QCOMPARE(sandbox.keys(), expectedKeys);
}

void tst_Cli::allUsers_data()
{
    QTest::addColumn<bool>("allUsers");

    QTest::newRow("the running account only") << false;
    QTest::newRow("--all-users") << true;
}

// --all-users reaches the settings in every loaded user hive (S-1-5-21-…), never a
// "_Classes" hive, a service account's or the default profile, and only exact names.
void tst_Cli::allUsers()
{
    QFETCH(bool, allUsers);

    const QString settings = QStringLiteral("\\SOFTWARE\\DAWLIX\\PELDA\\2015\\");
    const QString users = QStringLiteral("HKEY_USERS\\");
    const QStringList reached = {
        users + "S-1-5-21-1004336348-1177238915-682003330-1001" + settings + "de-DE",
        users + "S-1-5-21-1004336348-1177238915-682003330-1001" + settings + "de-DE\\Recent",
        users + "S-1-5-21-1004336348-1177238915-682003330-1002" + settings + "de-DE",
    };
    const QStringList neverReached = {
        users + "S-1-5-21-1004336348-1177238915-682003330-1001" + settings + "fr-FR",
        users + "S-1-5-21-1004336348-1177238915-682003330-1001_Classes" + settings + "de-DE",
        users + "S-1-5-21-1004336348-1177238915-682003330-1003" + settings + "DE-de",
        users + "S-1-5-18" + settings + "de-DE",
        users + ".DEFAULT" + settings + "de-DE",
        users + "S-1-5-20" + settings + "de-DE",
    };
    RegistrySandbox sandbox;
    Machine machine = Machine::installed(QStringLiteral("fr-FR"));
    for (const QString &key : reached + neverReached)
        machine.extraLines << "[" + key + "]"
                           << "\"Theme\"=dword:00000001"
                           << "";
    sandbox.writeRegistry(machine.lines());

    QStringList arguments = { "remove", "DEU" };
    if (allUsers)
        arguments << "--all-users";
    const Run run = runCli(arguments);
    QVERIFY2(run.exitCode == success, qPrintable(cliState(run)));

    for (const QString &key : reached)
        QVERIFY2(sandbox.hasKey(key) != allUsers, qPrintable(key));
    for (const QString &key : neverReached)
        QVERIFY2(sandbox.hasKey(key), qPrintable(key));
    QVERIFY(!sandbox.hasKey(userSettings + "\\de-DE"));
    // Every user hive is reported, the one without the key as not there.
    const QStringList userLines = run.out.filter(": key removed: HKEY_USERS\\")
        + run.out.filter(": key not there: HKEY_USERS\\");
    QCOMPARE(userLines.size(), allUsers ? 3 : 0);
}

void tst_Cli::stepLines_data()
{
    QTest::addColumn<bool>("frozen");

    QTest::newRow("keys removed and not there") << false;
    QTest::newRow("keys that cannot be removed") << true;
}

// One line per step: the installer's command, its outcome with the time it took, then each
// key with what became of it.
void tst_Cli::stepLines()
{
    QFETCH(bool, frozen);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed(QStringLiteral("fr-FR")).lines());
    QString why;
    if (frozen && !sandbox.freezeRegistryFolder(&why))
        QSKIP(qPrintable(why));

    const Run run = runCli({ "remove", "DEU" });
    QVERIFY2(run.exitCode == ((frozen ? failure : success) & 0xff), qPrintable(cliState(run)));
    QCOMPARE(run.out.size(), 8);
    QVERIFY(run.out[0].startsWith("Removing editions DEU."));
    const QString p = QStringLiteral("PELDA+ 2015 DEU: ");
    QCOMPARE(run.out[1], p + "running msiexec.exe " + commandFor("DEU"));
    QVERIFY2(QRegularExpression("^" + QRegularExpression::escape(p)
                                + "installer succeeded \\(exit code 0\\) in \\d+\\.\\d{3} s$")
                 .match(run.out[2])
                 .hasMatch(),
             qPrintable(run.out[2]));
    const QStringList keys = { machineSettings + "\\de-DE", userSettings + "\\de-DE",
                               uninstall + "\\" + code("DEU"), products + "\\" + packed("DEU") };
    for (int i = 0; i < keys.size(); ++i) {
        const QString &line = run.out[3 + i];
        if (frozen) {
            // The stand-in installer could not remove its own two either.
            QVERIFY2(line.startsWith(p + "key could not be removed: " + keys[i] + " ("
                                     + sandbox.registryPath() + " could not be saved: "),
                     qPrintable(line));
        } else {
            QCOMPARE(line, p + (i < 2 ? "key removed: " : "key not there: ") + keys[i]);
        }
    }
    QVERIFY(run.out[7].startsWith(finishedLine(frozen ? failure : success)));
}

void tst_Cli::stopFinishesThePackageUnderWay_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("wholeGroup"); // as a terminal sends Ctrl+C

    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGINT") << int(SIGINT) << false;
    QTest::newRow("Ctrl+C in a terminal") << int(SIGINT) << true;
}

// The edition under way finishes, its installer and its keys; no further package starts;
// the program says so and exits 1602; the registry file is whole.
void tst_Cli::stopFinishesThePackageUnderWay()
{
    QFETCH(int, signal);
    QFETCH(bool, wholeGroup);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed().lines());
    sandbox.setInstallerDelay(800);
    const QStringList before = sandbox.keys();

    QProcess cli;
    cli.setChildProcessModifier([] { setpgid(0, 0); }); // a process group of its own
    QVERIFY(startUntilInstallerRuns(cli, sandbox, { "remove", "FRA", "DEU", "ITA" }));
    const pid_t pid = pid_t(cli.processId());
    ::kill(wholeGroup ? -pid : pid, signal);
    QVERIFY(cli.waitForFinished(60000));
    const QStringList out = outputLines(cli.readAllStandardOutput());

    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), cancelled & 0xff);
    QCOMPARE(sandbox.installerCalls(), QStringList { commandFor("DEU") });
    // Had the signal reached the installer too, it would have been killed.
    QVERIFY2(out.filter("PELDA+ 2015 DEU: installer succeeded (exit code 0) in ").size() == 1,
             qPrintable(out.join('\n')));
    QVERIFY(out.size() >= 2);
    QCOMPARE(out.at(out.size() - 2),
             "Stopped on request after PELDA+ 2015 DEU: no further package was started.");
    QVERIFY(out.last().startsWith(finishedLine(cancelled)));

    QStringList expectedKeys = before;
    for (const QString &key : packageKeys("DEU"))
        expectedKeys.removeAll(key);
    QCOMPARE(sandbox.keys(), expectedKeys); // parses, and ITA and the suite are all there
}

// With nothing left to stop, the run ends as it would have, and says that the stop came late.
void tst_Cli::stopDuringTheLastPackage()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed(QStringLiteral("fr-FR")).lines());
    sandbox.setInstallerDelay(800);
    sandbox.setInstallerResults(code("DEU") + "=+3010");

    QProcess cli;
    QVERIFY(startUntilInstallerRuns(cli, sandbox, { "remove", "DEU" }));
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(60000));
    const QStringList out = outputLines(cli.readAllStandardOutput());

    QCOMPARE(cli.exitCode(), restartRequired & 0xff);
    QVERIFY(out.size() >= 2);
    QCOMPARE(out.at(out.size() - 2),
             "A stop was requested during the last package; the run had nothing more to do.");
    QVERIFY(out.last().startsWith(finishedLine(restartRequired)));
    for (const QString &key : packageKeys("DEU"))
        QVERIFY2(!sandbox.hasKey(key), qPrintable(key));
}

void tst_Cli::listJson_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("uninstallEntries");
    QTest::addColumn<QStringList>("machineSettings");
    QTest::addColumn<QStringList>("userSettings");
    QTest::addColumn<bool>("bootstrapperPresent");
    QTest::addColumn<QString>("bootstrapperLanguage");

    const Machine full = Machine::installed();
    const QStringList packages = allCodes() << suite;
    QTest::newRow("everything installed")
        << full.lines() << packages << packages << allCodes() << allCodes() << true << "de-DE";
    QTest::newRow("empty machine") << QStringList() << QStringList() << QStringList()
                                   << QStringList() << QStringList() << false << "";

    // Leftovers, some of them spelled otherwise than the run would delete them: installed
    // reads Windows Installer's registration in any case, the keys only exactly.
    const Machine partial { { "DEU", suite },
                            { "FRA", suite },
                            { "DEU", "ITA" },
                            { "JPN" },
                            "xx-XX",
                            {
                                "[" + products + "\\" + packed("KOR").toLower() + "]",
                                "",
                                "[" + uninstall + "\\" + code("PLK").toLower() + "]",
                                "",
                                "[" + machineSettings + "\\RU-ru]",
                                "",
                                "[" + userSettings + "\\tr-tr]",
                                "",
                            } };
    QTest::newRow("leftovers") << partial.lines() << QStringList { "FRA", "KOR", suite }
                               << QStringList { "DEU", suite } << QStringList { "DEU", "ITA" }
                               << QStringList { "JPN" } << true << "xx-XX";
    QStringList bootstrapperInOtherCase;
    bootstrapperInOtherCase << "[" + uninstall + "\\" + bootstrapperName.toLower() + "]"
                            << "\"PeldaLanguage\"=\"de-DE\""
                            << "";
    QTest::newRow("bootstrapper entry in other case")
        << bootstrapperInOtherCase << QStringList() << QStringList() << QStringList()
        << QStringList() << false << "";
}

// The listing parsed back: the fifteen editions in catalogue order, then the suite with an
// empty code; each field as the machine holds it; nothing written.
void tst_Cli::listJson()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, installed);
    QFETCH(QStringList, uninstallEntries);
    QFETCH(QStringList, machineSettings);
    QFETCH(QStringList, userSettings);
    QFETCH(bool, bootstrapperPresent);
    QFETCH(QString, bootstrapperLanguage);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(lines);
    const QByteArray before = sandbox.registryBytes();

    const Run run = runCli({ "list", "--json" });
    QVERIFY2(run.exitCode == success, qPrintable(cliState(run)));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out.join('\n').toUtf8(), &error);
    QVERIFY2(document.isObject(), qPrintable(error.errorString()));
    const QJsonObject listing = document.object();
    QCOMPARE(listing.keys(), (QStringList { "bootstrapper", "editions" }));

    const QJsonArray editions = listing["editions"].toArray();
    const QStringList packages = allCodes() << suite;
    QCOMPARE(editions.size(), packages.size());
    for (int i = 0; i < packages.size(); ++i) {
        const QString package = packages[i];
        const QJsonObject entry = editions[i].toObject();
        QCOMPARE(entry.keys(),
                 (QStringList { "code", "installed", "machineSettings", "name", "productCode",
                                "uninstallEntry", "userSettings" }));
        QCOMPARE(entry["code"].toString(), package == suite ? QString() : package);
        QCOMPARE(entry["name"].toString(),
                 package == suite ? QStringLiteral("PELDA+ 2015") : "PELDA+ 2015 " + package);
        QCOMPARE(entry["productCode"].toString(), code(package));
        const QStringList fields
            = { "installed", "uninstallEntry", "machineSettings", "userSettings" };
        const QList<QStringList> holders
            = { installed, uninstallEntries, machineSettings, userSettings };
        for (int f = 0; f < fields.size(); ++f) {
            QVERIFY2(entry[fields[f]].isBool(), qPrintable(fields[f]));
            QVERIFY2(entry[fields[f]].toBool() == holders[f].contains(package),
                     qPrintable(package + " " + fields[f]));
        }
    }
    const QJsonObject bootstrapper = listing["bootstrapper"].toObject();
    QCOMPARE(bootstrapper.keys(), (QStringList { "language", "present" }));
    QCOMPARE(bootstrapper["present"].toBool(), bootstrapperPresent);
    QVERIFY(bootstrapper["present"].isBool());
    QCOMPARE(bootstrapper["language"].toString(), bootstrapperLanguage);
    QCOMPARE(sandbox.registryBytes(), before);
    QCOMPARE(sandbox.installerCalls(), QStringList());
}

// The table for people: a heading, a row per package, the bootstrapper.
void tst_Cli::listTable()
{
    RegistrySandbox sandbox;
    Machine machine = Machine::installed();
    machine.userSettings.removeAll("ITA");
    machine.productsEntries.removeAll("ITA");
    sandbox.writeRegistry(machine.lines());
    const QByteArray before = sandbox.registryBytes();

    const Run run = runCli({ "list" });
    QVERIFY2(run.exitCode == success, qPrintable(cliState(run)));
    QCOMPARE(run.out.size(), 18);
    QVERIFY(run.out[0].startsWith("Code  Name"));
    const auto columns = [](const QString &line) {
        return line.split(QRegularExpression("\\s{2,}"), Qt::SkipEmptyParts);
    };
    QCOMPARE(columns(run.out[9]),
             (QStringList { "ITA", "PELDA+ 2015 ITA", code("ITA"), "no", "yes", "yes", "no" }));
    QCOMPARE(columns(run.out[16]),
             (QStringList { "PELDA+ 2015", suiteCode, "yes", "yes", "-", "-" }));
    QCOMPARE(run.out[17], "Bootstrapper entry: present, language de-DE");
    QCOMPARE(sandbox.registryBytes(), before);
}

void tst_Cli::log_data()
{
    QTest::addColumn<bool>("damaged");

    QTest::newRow("a run") << false;
    QTest::newRow("a registry that cannot be read") << true;
}

// Every printed line, standard output and error alike, appended in UTF-8 behind a timestamp;
// the file is created when missing and what it held stays.
void tst_Cli::log()
{
    QFETCH(bool, damaged);

    RegistrySandbox sandbox;
    // The registry under a name that is not ASCII, which the damage message quotes.
    QTemporaryDir folder;
    const QString registry = folder.filePath(QStringLiteral("Maschine-\u00e4\u20ac.reg"));
    QByteArray bytes = RegistrySandbox::encode(Machine::installed().lines(), false);
    if (damaged)
        bytes.replace("dword:00000001", "dword:1");
    QFile file(registry);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    qputenv("REMEDOR_REGISTRY", QFile::encodeName(registry));

    const QString logFile = folder.filePath(QStringLiteral("Protokoll-\u00fc.log"));
    QList<Run> runs;
    runs << runCli({ "remove", "DEU", "--log", logFile });
    QFile log(logFile);
    QVERIFY(log.open(QIODevice::Append));
    log.write("a line of someone else\n");
    log.close();
    runs << runCli({ "remove", "FRA", "--log", logFile });

    QVERIFY(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(log.readAll()).split('\n');
    QCOMPARE(lines.last(), QString()); // the last line is whole
    const QRegularExpression stamped(
        "^(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d)) (.*)$");
    QStringList texts;
    for (const QString &line : lines.mid(0, lines.size() - 1)) {
        const QRegularExpressionMatch match = stamped.match(line);
        if (line == "a line of someone else") {
            texts << line;
            continue;
        }
        QVERIFY2(match.hasMatch(), qPrintable(line));
        QVERIFY2(QDateTime::fromString(match.captured(1), Qt::ISODateWithMs).isValid(),
                 qPrintable(line));
        texts << match.captured(3);
    }
    const QStringList expected = runs[0].out + runs[0].error
        + QStringList { "a line of someone else" } + runs[1].out + runs[1].error;
    QCOMPARE(texts, expected);
    QVERIFY(texts.size() >= 3);
    if (damaged)
        QVERIFY2(texts.last().contains(QStringLiteral("Maschine-\u00e4\u20ac.reg")),
                 qPrintable(texts.last()));
}

namespace {

// Every key the stand-in holds, with its values.
QMap<QString, QList<RegistryValue>> registryValues(const RegistrySandbox &sandbox)
{
    QMap<QString, QList<RegistryValue>> values;
    const std::optional<RegFile> registry = RegFile::parse(sandbox.registryBytes());
    for (const QString &key : registry ? registry->sectionPaths() : QStringList())
        values.insert(key, registry->values(key));
    return values;
}

} // namespace

// remove --backup on a key of every value type: the backup holds exactly the removed keys as
// the registry editor exports them, importing it gives back every one of them byte for byte,
// a later run appends to it, and a backup that cannot be written keeps the key. A dry run
// writes none.
void tst_Cli::backupUndoesTheRemoval()
{
    const QString types = "[" + machineSettings + "\\de-DE\\Types";
    const QStringList typeLines = {
        types + "]",
        "@=\"default\"",
        "\"Name \\\\ \\\"q\\\"\"=\"C:\\\\Program Files\\\\\\\"PELDA\\\" \u00e4\"",
        "\"Expand\"=hex(2):25,00,50,00,41,00,54,00,48,00,25,00,00,00",
        "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00",
        "\"Number\"=dword:fedcba98",
        "\"Quad\"=hex(b):01,02,03,04,05,06,07,08",
        "\"Nothing\"=hex(0):",
        "\"Big endian\"=hex(5):00,00,00,2a",
        "\"Unterminated\"=hex(1):61,00",
        "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\",
        "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\",
        "  2f,30,31,32,33,34,35,36,37,38,39,3a,3b",
        "",
        types + "\\Empty]",
        "",
    };
    RegistrySandbox sandbox;
    Machine machine = Machine::installed();
    machine.extraLines << typeLines;
    sandbox.writeRegistry(machine.lines());
    QMap<QString, QList<RegistryValue>> expected = registryValues(sandbox);
    const QString backup = QFileInfo(sandbox.registryPath()).absolutePath() + "/backup.reg";

    const Run plan = runCli({ "remove", "DEU", "--dry-run", "--backup", backup });
    QVERIFY2(plan.exitCode == success && !QFile::exists(backup), qPrintable(cliState(plan)));

    const QStringList removed
        = { machineSettings + "\\de-DE", userSettings + "\\de-DE", bootstrapperKey() };
    // The fixture's own lines of the removed keys, in the order they went.
    QStringList sections = { "[" + removed[0] + "]", "\"Skin\"=dword:00000001", "",
                             "[" + removed[0] + "\\Recent]", "" };
    sections << typeLines << "[" + removed[1] + "]"
             << "\"Window\"=hex:01,02"
             << "";
    sections << "[" + removed[2] + "]"
             << "\"PeldaLanguage\"=\"de-DE\""
             << "";
    for (int round = 1; round <= 2; ++round) {
        const Run run = runCli({ "remove", "DEU", "--backup", backup });
        QVERIFY2(run.exitCode == success, qPrintable(cliState(run)));
        QCOMPARE(linesStartingWith(run.out, ": key removed: "), removed);
        QFile file(backup);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QByteArray expectedBytes
            = RegistrySandbox::encode(round == 1 ? sections : sections + sections, true);
        const auto text = [](const QByteArray &utf16) {
            return QString::fromUtf16(reinterpret_cast<const char16_t *>(utf16.constData()),
                                      utf16.size() / 2);
        };
        QCOMPARE(text(bytes), text(expectedBytes)); // a readable difference
        QCOMPARE(bytes, expectedBytes);

        // The import: the backup's keys written over the machine, as the stand-in reads them.
        sandbox.writeRegistryBytes(sandbox.registryBytes()
                                   + text(bytes).section("\r\n", 1).toUtf8());
        // Everything as it was, but what the installers removed.
        for (const QString &package : { QStringLiteral("DEU"), suite }) {
            expected.remove(uninstall + "\\" + code(package));
            expected.remove(products + "\\" + packed(package));
        }
        QCOMPARE(registryValues(sandbox), expected);
    }

    // Someone else's file in its place by the time the first key goes: no key goes.
    sandbox.setInstallerDelay(500);
    QFile::remove(qEnvironmentVariable("REMEDOR_FAKE_MSIEXEC_LOG")); // the calls so far
    QProcess cli;
    QVERIFY(startUntilInstallerRuns(cli, sandbox, { "remove", "DEU", "--backup", backup }));
    QFile other(backup);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("notes\n");
    other.close();
    QVERIFY(cli.waitForFinished(60000));
    const QStringList out = outputLines(cli.readAllStandardOutput());
    QCOMPARE(cli.exitCode(), failure & 0xff);
    for (const QString &key : removed) {
        QVERIFY2(sandbox.hasKey(key), qPrintable(key));
        QCOMPARE(out.filter("key could not be removed: " + key + " (the backup file " + backup
                            + " cannot be written: ")
                     .size(),
                 1);
    }
    QVERIFY(other.open(QIODevice::ReadOnly));
    QCOMPARE(other.readAll(), QByteArray("notes\n"));
}

QTEST_GUILESS_MAIN(tst_Cli)
#include "tst_cli.moc"
