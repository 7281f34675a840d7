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
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
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
    void unsafeOutputsTouchNothing_data();
    void unsafeOutputsTouchNothing();
    void damagedRegistry_data();
    void damagedRegistry();
    void dryRunPlansWhatRemoveDoes_data();
    void dryRunPlansWhatRemoveDoes();
    void failedInstallerKeepsRegistrations_data();
    void failedInstallerKeepsRegistrations();
    void suiteDecisions_data();
    void suiteDecisions();
    void installerEndsTheRun_data();
    void installerEndsTheRun();
    void oneRunAtATime_data();
    void oneRunAtATime();
    void reportOfARun();
    void allUsers_data();
    void allUsers();
    void profilesNotSignedIn_data();
    void profilesNotSignedIn();
    void stepLines_data();
    void stepLines();
    void stopFinishesThePackageUnderWay_data();
    void stopFinishesThePackageUnderWay();
    void stopDuringTheLastPackage_data();
    void stopDuringTheLastPackage();
    void listJson_data();
    void listJson();
    void listTable();
    void log_data();
    void log();
    void logEndedFromOutside();
    void logThatFails();
    void helpAll();
    void backupUndoesTheRemoval();
    void backupOnAFullDisk();
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

// A frozen folder could not take the run lock's file: it is there already, as an earlier run
// leaves it.
bool freeze(RegistrySandbox &sandbox, QString *why)
{
    QFile lock(sandbox.registryPath() + ".lock");
    lock.open(QIODevice::WriteOnly);
    return sandbox.freezeRegistryFolder(why);
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

QStringList names(const QStringList &packages)
{
    QStringList names;
    for (const QString &package : packages)
        names << (package == suite ? EditionCatalogue::suiteDisplayName()
                                   : EditionCatalogue::displayNameForLanguage(package));
    return names;
}

// The report file, checked against the published schema by Debian's python3-jsonschema.
QJsonObject validReport(const QString &fileName)
{
    QProcess validator;
    validator.start(
        "/usr/bin/python3",
        { "-c",
          "import json, sys, jsonschema; "
          "jsonschema.validate(json.load(open(sys.argv[1])), json.load(open(sys.argv[2])))",
          fileName, REMEDOR_REPORT_SCHEMA });
    if (!validator.waitForFinished(60000) || validator.exitCode() != 0) {
        qWarning("%s", validator.readAllStandardError().constData());
        return {};
    }
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

QStringList field(const QJsonArray &objects, const QString &name)
{
    QStringList values;
    for (const QJsonValue &object : objects)
        values << object[name].toString();
    return values;
}

} // namespace

void tst_Cli::exitCodes_data()
{
    QTest::addColumn<RegistrySandbox::Installer>("installer");
    QTest::addColumn<QString>("results");
    QTest::addColumn<bool>("frozen"); // no key can be removed
    QTest::addColumn<bool>("stop"); // SIGTERM while DEU's installer runs
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("said"); // a line that must be printed, if any

    const auto standIn = RegistrySandbox::Installer::StandIn;
    const QString deu = code("DEU");
    const QString fra = code("FRA");
    QTest::newRow("all succeed") << standIn << "" << false << false << int(success) << QString();
    QTest::newRow("completed successfully (1707)")
        << standIn << "*=+1707" << false << false << int(success)
        << "installer succeeded (exit code 171)";
    QTest::newRow("not installed (1605)")
        << standIn << "*=1605" << false << false << int(success) << QString();
    QTest::newRow("restart (3010)")
        << standIn << "*=+3010" << false << false << int(restartRequired) << QString();
    QTest::newRow("restart initiated (1641)")
        << standIn << deu + "=+1641" << false << false << int(restartRequired) << QString();
    QTest::newRow("another installation (1618)")
        << standIn << fra + "=1618" << false << false << int(anotherInstallation) << QString();
    QTest::newRow("installer failed (1603)")
        << standIn << fra + "=1603" << false << false << int(failure) << QString();
    QTest::newRow("installer failed (1610)")
        << standIn << deu + "=1610" << false << false << int(failure) << QString();
    QTest::newRow("installer crashed")
        << standIn << deu + "=crash" << false << false << int(failure)
        << "DEU: installer stopped unexpectedly (signal 6: Aborted)";
    QTest::newRow("no installer")
        << RegistrySandbox::Installer::None << "" << false << false << int(failure)
        << "DEU: installer could not be started: msiexec.exe was not found on PATH";
    QTest::newRow("installer cannot start")
        << RegistrySandbox::Installer::Unstartable << "" << false << false << int(failure)
        << "DEU: installer could not be started: No such file or directory";
    QTest::newRow("key cannot be removed")
        << standIn << "" << true << false << int(failure) << QString();
    QTest::newRow("stopped") << standIn << "" << false << true << int(cancelled) << QString();

    // Precedence: 1603, then 1602, then 1618, then 3010.
    QTest::newRow("failure over another installation")
        << standIn << deu + "=1603," + fra + "=1618" << false << false << int(failure) << QString();
    QTest::newRow("failure over restart") << standIn << deu + "=1603," + fra + "=+3010" << false
                                          << false << int(failure) << QString();
    QTest::newRow("key failure over restart")
        << standIn << "*=+3010" << true << false << int(failure) << QString();
    QTest::newRow("another installation over restart")
        << standIn << deu + "=+3010," + fra + "=1618" << false << false << int(anotherInstallation)
        << QString();
    QTest::newRow("failure over stop")
        << standIn << deu + "=1603" << false << true << int(failure) << QString();
    QTest::newRow("stop over another installation")
        << standIn << deu + "=1618" << false << true << int(cancelled) << QString();
    QTest::newRow("stop over restart")
        << standIn << deu + "=+3010" << false << true << int(cancelled) << QString();
}

// DEU and FRA removed with the suite (the bootstrapper records de-DE).
void tst_Cli::exitCodes()
{
    QFETCH(RegistrySandbox::Installer, installer);
    QFETCH(QString, results);
    QFETCH(bool, frozen);
    QFETCH(bool, stop);
    QFETCH(int, expected);
    QFETCH(QString, said);

    RegistrySandbox sandbox(installer);
    sandbox.writeRegistry(Machine::installed().lines());
    sandbox.setInstallerResults(results);
    QString why;
    if (frozen && !freeze(sandbox, &why))
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
    QVERIFY2(said.isEmpty() || !run.out.filter(said).isEmpty(), qPrintable(cliState(run)));
    // An installer that never started took no time.
    QVERIFY2(run.out.filter("could not be started")
                 .filter(QRegularExpression(" in [0-9.]+ s$"))
                 .isEmpty(),
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
    QTest::newRow("log taking the next option")
        << QStringList { "remove", "DEU", "--log", "--dry-run" }
        << "--log needs a value, not \"--dry-run\"" << false;
    QTest::newRow("report taking the next option")
        << QStringList { "remove", "DEU", "--report", "--all-users" }
        << "--report needs a value, not \"--all-users\"" << false;
    QTest::newRow("backup named with a dash")
        << QStringList { "remove", "DEU", "--backup", "-b.reg" } << "given as ./-b.reg" << false;
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
    QTest::newRow("log twice") << QStringList { "remove",     "DEU",   "--log",
                                                "@/list.log", "--log", "@/b.log" }
                               << "--log is given more than once" << false;
    QTest::newRow("time limit of no minutes")
        << QStringList { "remove", "DEU", "--timeout", "0" } << "--timeout takes" << false;
    QTest::newRow("time limit in words")
        << QStringList { "remove", "DEU", "--timeout", "soon" } << "\"soon\"" << false;
    QTest::newRow("time limit under a second")
        << QStringList { "remove", "DEU", "--timeout", "1e-9" } << "\"1e-9\"" << false;
    QTest::newRow("time limit past a week, where milliseconds overflow")
        << QStringList { "remove", "DEU", "--timeout", "40000" } << "\"40000\"" << false;
    QTest::newRow("report twice") << QStringList { "remove",   "DEU",      "--report",
                                                   "@/a.json", "--report", "@/b.json" }
                                  << "--report is given more than once" << false;
    QTest::newRow("report in a missing folder")
        << QStringList { "remove", "DEU", "--report", "@/missing/report.json" }
        << "@/missing/report.json cannot be written" << false;
    QTest::newRow("installer logs in a file")
        << QStringList { "remove", "DEU", "--msi-log", "@/list.log/logs" }
        << "@/list.log/logs cannot be created" << false;
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
    QTest::newRow("backup is the log, typed otherwise")
        << QStringList { "remove", "DEU", "--log", "@/list.log", "--backup", "@/./list.log" }
        << "--backup and --log name the same file" << false;
    QTest::newRow("backup file is no UTF-16 export")
        << QStringList { "remove", "DEU", "--backup", "@/registry.reg" }
        << "something other than a registry export" << false;
    QTest::newRow("backup cut off in a character")
        << QStringList { "remove", "DEU", "--backup", "@/cut.reg" }
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
    if (arguments.contains("@/list.log/logs")) { // a file where a folder must be
        QFile file(folder + "/list.log");
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (arguments.contains("@/cut.reg")) { // an earlier backup that lost its last byte
        QFile file(folder + "/cut.reg");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(RegistrySandbox::encode({ "[" + bootstrapperKey() + "]", "" }, true).chopped(1));
    }
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
    QVERIFY(!QFile::exists(folder + "/list.log") || arguments.contains(folder + "/list.log/logs"));
}

namespace {

int mode(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : -1;
}

// Every entry below folder as it stands: name, kind, owner, mode, link target and content.
QStringList folderState(const QString &folder)
{
    QStringList state;
    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        struct stat status = {};
        ::lstat(QFile::encodeName(path).constData(), &status);
        QFile file(path);
        const bool plain = S_ISREG(status.st_mode) && file.open(QIODevice::ReadOnly);
        state << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(path)
                     .arg(status.st_mode, 0, 8)
                     .arg(status.st_uid)
                     .arg(QFileInfo(path).symLinkTarget(),
                          QString::fromLatin1((plain ? file.readAll() : QByteArray()).toHex()));
    }
    state.sort();
    return state;
}

} // namespace

void tst_Cli::unsafeOutputsTouchNothing_data()
{
    QTest::addColumn<QString>("plant"); // what @/out is made before the run
    QTest::addColumn<QStringList>("arguments"); // "@" stands for a folder of the sandbox
    QTest::addColumn<QString>("named");

    const QStringList remove = { "remove", "DEU" };
    QTest::newRow("report through a symbolic link")
        << "symbolic link" << remove + QStringList { "--report", "@/out" }
        << "the report @/out cannot be written: it is a symbolic link";
    QTest::newRow("log through a symbolic link")
        << "symbolic link" << remove + QStringList { "--log", "@/out" }
        << "the log file @/out cannot be opened: it is a symbolic link";
    QTest::newRow("backup at a dangling link")
        << "dangling link" << remove + QStringList { "--backup", "@/out" }
        << "@/out cannot be written: it is a symbolic link";
    QTest::newRow("log in a linked folder")
        << "linked folder" << remove + QStringList { "--log", "@/linked/x.log" }
        << "its folder @/linked is reached through a link (it is really @/real)";
    QTest::newRow("installer logs in a linked folder")
        << "linked folder" << remove + QStringList { "--msi-log", "@/linked" }
        << "the installer log folder @/linked cannot be used: it is a symbolic link";
    QTest::newRow("log with a second hard link")
        << "hard link" << remove + QStringList { "--log", "@/out" } << "it has 2 hard links";
    QTest::newRow("report of another user")
        << "nobody's" << remove + QStringList { "--report", "@/out" }
        << "@/out cannot be written: it belongs to nobody, not to root";
    QTest::newRow("group-writable log")
        << "group-writable" << remove + QStringList { "--log", "@/out" }
        << "users other than its owner may write it (mode 0664)";
    QTest::newRow("planted backup")
        << "planted backup" << remove + QStringList { "--backup", "@/out" }
        << "backup file @/out cannot be written: it belongs to nobody";
    QTest::newRow("log and report, two spellings")
        << "" << remove + QStringList { "--log", "@/x.log", "--report", "@/machine/../x.log" }
        << "--log and --report name the same file";
    QTest::newRow("backup and report, two spellings")
        << "" << remove + QStringList { "--backup", "@/b.reg", "--report", "@//b.reg" }
        << "--report and --backup name the same file: @/b.reg";
    QTest::newRow("backup is an installer log")
        << "" << remove + QStringList { "--msi-log", "@", "--backup", "@/remedor-DEU.log" }
        << "--backup and the installer log remedor-DEU.log of --msi-log name the same file";
}

// A user who may write where the outputs go prepares their names: the run exits 87 before
// anything starts, and every file there, the prepared ones and what they lead to, stays as it
// was.
void tst_Cli::unsafeOutputsTouchNothing()
{
    QFETCH(QString, plant);
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed().lines());
    const QByteArray before = sandbox.registryBytes();
    const QString folder = QFileInfo(QFileInfo(sandbox.registryPath()).absolutePath()).path();
    const QString out = folder + "/out";
    QFile victim(folder + "/victim");
    QVERIFY(victim.open(QIODevice::WriteOnly) && victim.write("root's own\n") > 0);
    victim.close();
    if (plant != "symbolic link" && plant != "dangling link" && plant != "hard link"
        && plant != "linked folder" && !plant.isEmpty()) {
        QFile file(out);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // An export that would start a user's program for whoever presses Ease of Access at
        // the sign-in screen, once an administrator imports it.
        file.write(plant == "planted backup" ? RegistrySandbox::encode(
                       { "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\"
                         "CurrentVersion\\Image File Execution Options\\utilman.exe]",
                         "\"Debugger\"=\"C:\\\\Users\\\\Public\\\\x.exe\"", "" },
                       true)
                                             : QByteArray("a line\n"));
        file.close();
    }
    const struct passwd *nobody = ::getpwnam("nobody");
    if (plant == "symbolic link")
        QVERIFY(QFile::link(victim.fileName(), out));
    else if (plant == "dangling link")
        QVERIFY(QFile::link(folder + "/nothing-yet", out));
    else if (plant == "linked folder")
        QVERIFY(QDir(folder).mkdir("real") && QFile::link(folder + "/real", folder + "/linked"));
    else if (plant == "hard link")
        QCOMPARE(::link(QFile::encodeName(victim.fileName()).constData(),
                        QFile::encodeName(out).constData()),
                 0);
    else if (plant == "group-writable")
        QCOMPARE(::chmod(QFile::encodeName(out).constData(), 0664), 0);
    else if ((plant == "nobody's" || plant == "planted backup")
             && (!nobody || ::chown(QFile::encodeName(out).constData(), nobody->pw_uid, 0) != 0))
        QSKIP("Giving a file to the user nobody needs root.");
    for (QString &argument : arguments)
        argument.replace('@', folder);
    named.replace('@', folder);
    const QStringList state = folderState(folder);

    const Run run = runCli(arguments);
    QVERIFY2(run.exitCode == usageError, qPrintable(cliState(run)));
    QVERIFY2(run.out.isEmpty(), qPrintable(cliState(run)));
    QVERIFY2(run.error.join('\n').contains(named), qPrintable(cliState(run)));
    QCOMPARE(sandbox.registryBytes(), before);
    QCOMPARE(sandbox.installerCalls(), QStringList());
    QCOMPARE(folderState(folder), state);
}

void tst_Cli::damagedRegistry_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("folder"); // a folder where the file should be, not a bad file

    for (bool folder : { false, true }) {
        const QString how = folder ? " (a folder)" : "";
        QTest::newRow(qPrintable("list" + how)) << QStringList { "list" } << folder;
        QTest::newRow(qPrintable("list --json" + how))
            << QStringList { "list", "--json" } << folder;
        QTest::newRow(qPrintable("remove" + how)) << QStringList { "remove", "DEU" } << folder;
        QTest::newRow(qPrintable("remove --all --force --all-users" + how))
            << QStringList { "remove", "--all", "--force", "--all-users" } << folder;
        QTest::newRow(qPrintable("dry run" + how))
            << QStringList { "remove", "--all", "--dry-run" } << folder;
    }
}

// A stand-in file that does not parse, or that is there but cannot be read: the program says
// so, exits 1603, starts nothing and leaves the file as it was.
void tst_Cli::damagedRegistry()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, folder);

    RegistrySandbox sandbox;
    QByteArray damaged = RegistrySandbox::encode(Machine::installed().lines(), false);
    damaged.replace("dword:00000001", "dword:1");
    if (folder) {
        damaged.clear();
        QVERIFY(QDir().mkpath(sandbox.registryPath()));
    } else {
        sandbox.writeRegistryBytes(damaged);
    }

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
    QTest::addColumn<bool>("leftoversOnly"); // DEU's settings and installer already gone

    QTest::newRow("the bootstrapper's language")
        << QStringList { "remove", "deu" } << "de-DE" << QStringList { "DEU", suite } << false;
    QTest::newRow("another language, mixed case and order, twice")
        << QStringList { "remove", "trk", "Fra", "TRK", "fra" } << "de-DE"
        << QStringList { "FRA", "TRK" } << false;
    QTest::newRow("all") << QStringList { "remove", "--all" } << "zh-CN" << (allCodes() << suite)
                         << false;
    QTest::newRow("all users, forced") << QStringList { "remove", "JPN", "--all-users", "--force" }
                                       << "ja-JP" << QStringList { "JPN", suite } << false;
    QTest::newRow("no bootstrapper")
        << QStringList { "remove", "DEU" } << QString() << QStringList { "DEU" } << false;
    QTest::newRow("leftovers of an edition Windows Installer does not know")
        << QStringList { "remove", "DEU", "FRA" } << "fr-FR" << QStringList { "FRA", suite }
        << true;
}

// The dry run prints the installer commands and the keys that exist and would go, and does
// nothing; remove then starts exactly those commands and the keys gone are exactly those.
void tst_Cli::dryRunPlansWhatRemoveDoes()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, bootstrapperTag);
    QFETCH(QStringList, installerRuns);
    QFETCH(bool, leftoversOnly);

    RegistrySandbox sandbox;
    Machine machine = Machine::installed(bootstrapperTag);
    if (leftoversOnly) {
        machine.machineSettings.removeAll("DEU");
        machine.userSettings.removeAll("DEU");
        machine.productsEntries.removeAll("DEU");
    }
    machine.extraLines << "[HKEY_USERS\\S-1-5-21-7-8-9-1001\\SOFTWARE\\DAWLIX\\PELDA\\2015\\ja-JP]"
                       << "";
    sandbox.writeRegistry(machine.lines());
    const QByteArray before = sandbox.registryBytes();
    const QStringList keysBefore = sandbox.keys();

    QTemporaryDir folder;
    const QString reportFile = folder.filePath("report.json");
    const Run plan = runCli(arguments + QStringList { "--dry-run", "--report", reportFile });
    QVERIFY2(plan.exitCode == success, qPrintable(cliState(plan)));
    QCOMPARE(sandbox.registryBytes(), before);
    QCOMPARE(sandbox.installerCalls(), QStringList());

    QStringList expectedCommands;
    for (const QString &package : installerRuns)
        expectedCommands << "msiexec.exe " + commandFor(package);
    QCOMPARE(linesStartingWith(plan.out, ": would run "), expectedCommands);
    const QStringList plannedKeys = linesStartingWith(plan.out, ": would remove key: ");
    QVERIFY(!plannedKeys.isEmpty());
    QCOMPARE(plan.out.last(),
             QStringLiteral("Dry run finished: %1 installer commands would run and %2 keys would "
                            "go; nothing was started or changed.")
                 .arg(expectedCommands.size())
                 .arg(plannedKeys.size()));
    const QJsonArray planned = validReport(reportFile)["packages"].toArray();
    QCOMPARE(field(planned, "registrations"), QStringList(planned.size(), "planned"));

    const Run done = runCli(arguments + QStringList { "--report", reportFile });
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
    QCOMPARE(field(validReport(reportFile)["packages"].toArray(), "registrations"),
             QStringList(planned.size(), "removed"));
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
        // DEU is the bootstrapper's language: the suite stays with it.
        QTest::newRow(qPrintable("edition crashes" + how))
            << standIn << code("DEU") + "=crash" << force << keptUnlessForced({ "DEU", suite })
            << int(failure);
        // 1618: the installer never started, so FRA keeps its registrations even with --force;
        // nothing more starts, so the suite is not even attempted.
        QTest::newRow(qPrintable("another installation" + how))
            << standIn << fra + "=1618" << force << QStringList { "FRA", suite }
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
        // Each package that keeps its keys says why: its own failure, the run's end, or the
        // failure of the edition the suite belongs to.
        const QStringList why = run.out.filter(name + ": registrations")
            + run.out.filter(name + ": not attempted") + run.out.filter(name + ": not removed");
        QCOMPARE(why.size(), keeps ? 1 : 0);
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

void tst_Cli::suiteDecisions_data()
{
    QTest::addColumn<QString>("bootstrapperTag"); // null: no entry; empty: an entry, no value
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("results");
    QTest::addColumn<QString>("said"); // why the suite stays; empty: it goes

    const QString deuFails = code("DEU") + "=1603";
    QTest::newRow("no bootstrapper entry") << QString() << QStringList { "DEU" } << ""
                                           << "there is no bootstrapper entry";
    QTest::newRow("no recorded language, all editions")
        << "" << QStringList { "--all" } << ""
        << "the bootstrapper's entry records no language";
    QTest::newRow("a language of no edition")
        << "xx-XX" << QStringList { "DEU" } << ""
        << "records the language \"xx-XX\", which is none of the fifteen editions'";
    QTest::newRow("its edition not chosen")
        << "fr-FR" << QStringList { "DEU" } << ""
        << "the edition of the bootstrapper's language fr-FR was not chosen";
    QTest::newRow("its edition failed")
        << "de-DE" << QStringList { "DEU", "FRA" } << deuFails
        << "the installer of the edition of the bootstrapper's language de-DE failed, and the "
           "suite stays with it (--force removes it)";
    QTest::newRow("its edition failed, --force")
        << "de-DE" << QStringList { "DEU", "--force" } << deuFails << "";
    QTest::newRow("its edition removed") << "de-DE" << QStringList { "DEU" } << ""
                                         << "";
}

// The suite and the bootstrapper's entry go only after the edition of the recorded language;
// whenever they stay, one line says why.
void tst_Cli::suiteDecisions()
{
    QFETCH(QString, bootstrapperTag);
    QFETCH(QStringList, arguments);
    QFETCH(QString, results);
    QFETCH(QString, said);

    RegistrySandbox sandbox;
    Machine machine = Machine::installed(bootstrapperTag.isEmpty() ? QString() : bootstrapperTag);
    if (bootstrapperTag.isEmpty() && !bootstrapperTag.isNull())
        machine.extraLines << "[" + bootstrapperKey() + "]"
                           << "\"Publisher\"=\"DAWLIX\""
                           << "";
    sandbox.writeRegistry(machine.lines());
    sandbox.setInstallerResults(results);

    const Run run = runCli(QStringList { "remove" } + arguments);
    const QStringList lines = run.out.filter("PELDA+ 2015: not removed, nor the bootstrapper's "
                                             "entry: ");
    QCOMPARE(lines.size(), said.isEmpty() ? 0 : 1);
    QVERIFY2(said.isEmpty() || lines.first().endsWith(said), qPrintable(cliState(run)));
    QCOMPARE(sandbox.installerCalls().contains(commandFor(suite)), said.isEmpty());
    for (const QString &key : packageKeys(suite))
        QVERIFY2(sandbox.hasKey(key) != said.isEmpty()
                     || (key == bootstrapperKey() && bootstrapperTag.isNull()),
                 qPrintable(key));
}

void tst_Cli::installerEndsTheRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("results");
    QTest::addColumn<int>("delay"); // of every installer, in milliseconds
    QTest::addColumn<int>("expected");
    QTest::addColumn<QStringList>("packages"); // in the order of the run
    QTest::addColumn<int>("mostStarted"); // the first ones, at least one
    QTest::addColumn<QString>("ending"); // the report's, and each not-attempted package's detail

    // The bootstrapper records it-IT: ITA decides the suite.
    const QStringList three = { "remove", "DEU", "FRA", "ITA" };
    const QStringList threeAndSuite = { "DEU", "FRA", "ITA", suite };
    QTest::newRow("another installation (1618)")
        << three << code("DEU") + "=1618" << 0 << int(anotherInstallation) << threeAndSuite << 1
        << "installerBusy";
    QTest::newRow("past the time limit, even with --force")
        << (three + QStringList { "--timeout", "0.02", "--force" }) << "" << 4000 << int(failure)
        << threeAndSuite << 1 << "installerTimedOut";
    // Each installer alone keeps within the limit; the run does not.
    QTest::newRow("the limit is the whole run's: five installers of 1.5 s in 3 s")
        << QStringList { "remove", "DEU", "FRA", "ITA", "JPN", "--timeout", "0.05" } << "" << 1500
        << int(failure) << QStringList { "DEU", "FRA", "ITA", "JPN", suite } << 3
        << "installerTimedOut";
    // Longer than QProcess's habitual 30 seconds: without a limit the wait has none.
    QTest::newRow("no time limit") << QStringList { "remove", "DEU" } << "" << 31000 << int(success)
                                   << QStringList { "DEU" } << 1 << "finished";
}

// After 1618, or once the run's time limit has passed, no further package starts, and each
// is said and reported not attempted; the registrations of the package under way stay.
void tst_Cli::installerEndsTheRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, results);
    QFETCH(int, delay);
    QFETCH(int, expected);
    QFETCH(QStringList, packages);
    QFETCH(int, mostStarted);
    QFETCH(QString, ending);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed(QStringLiteral("it-IT")).lines());
    sandbox.setInstallerResults(results);
    sandbox.setInstallerDelay(delay);
    QTemporaryDir folder;
    const QString reportFile = folder.filePath("report.json");

    const Run run = runCli(arguments + QStringList { "--report", reportFile });
    QVERIFY2(run.exitCode == (expected & 0xff), qPrintable(cliState(run)));
    const int started = int(sandbox.installerCalls().size());
    QVERIFY2(started >= 1 && started <= mostStarted, qPrintable(cliState(run)));
    QStringList commands;
    for (const QString &package : packages.mid(0, started))
        commands << commandFor(package);
    QCOMPARE(sandbox.installerCalls(), commands);
    const QStringList skipped = run.out.filter(": not attempted: ");
    QCOMPARE(skipped.size(), packages.size() - started);
    for (const QString &name : names(packages.mid(started)))
        QCOMPARE(skipped.filter(name + ": ").size(), 1);
    // A running installer's registrations stay whatever the options say.
    QVERIFY2(run.out.filter("registrations kept").filter("--force").isEmpty(),
             qPrintable(cliState(run)));
    QCOMPARE(run.out
                 .filter(QRegularExpression(": installer timed out: it ran for \\d+\\.\\d{3} s "
                                            "before it was left running"))
                 .size(),
             ending == "installerTimedOut" ? 1 : 0);
    // The keys the run itself removes (a timed-out installer may yet remove its own).
    for (int i = 0; i < packages.size(); ++i) {
        const bool kept = i >= started - 1 && expected != success;
        for (const QString &key :
             packageKeys(packages[i]).filter(QRegularExpression("DAWLIX|\\{3F1A")))
            QVERIFY2(sandbox.hasKey(key) == (kept || i >= started), qPrintable(key));
    }

    const QJsonObject report = validReport(reportFile);
    QCOMPARE(report["ending"].toString(), ending);
    QVERIFY(!report["exitMeaning"].toString().contains("lines above"));
    const qsizetype limit = arguments.indexOf("--timeout");
    QCOMPARE(report["options"]["timeoutMinutes"].toDouble(),
             limit < 0 ? 0.0 : arguments[limit + 1].toDouble());
    const QJsonArray reported = report["packages"].toArray();
    const QJsonValue last = reported[started - 1];
    QCOMPARE(last["registrations"].toString(), expected == success ? "removed" : "kept");
    QCOMPARE(last["exitCode"].isNull(), ending == "installerTimedOut");
    QCOMPARE(field(reported, "detail").mid(started),
             QStringList(packages.size() - started, ending));
}

void tst_Cli::oneRunAtATime_data()
{
    QTest::addColumn<bool>("lockFileLinked");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("ending");

    QTest::newRow("a first run waits on its installer")
        << false << int(anotherInstallation) << "busy";
    QTest::newRow("the lock file a link") << true << int(failure) << "lockFailed";
}

// While a first run waits on an installer, a second remove starts and changes nothing, says so
// and exits 1618; a dry run takes no lock. A lock file that is a link is never followed.
void tst_Cli::oneRunAtATime()
{
    QFETCH(bool, lockFileLinked);
    QFETCH(int, expected);
    QFETCH(QString, ending);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed(QStringLiteral("ja-JP")).lines());
    sandbox.setInstallerDelay(4000);
    QTemporaryDir folder;
    const QString linkTarget = folder.filePath("target");
    QProcess first;
    if (lockFileLinked)
        QVERIFY(QFile::link(linkTarget, sandbox.registryPath() + ".lock"));
    else
        QVERIFY(startUntilInstallerRuns(first, sandbox, { "remove", "DEU" }));

    const QString reportFile = folder.filePath("report.json");
    const Run second = runCli({ "remove", "FRA", "--report", reportFile });
    QCOMPARE(runCli({ "remove", "FRA", "--dry-run" }).exitCode, int(success));
    QVERIFY2(lockFileLinked || first.state() == QProcess::Running, "the first run ended too soon");
    QCOMPARE(second.exitCode, expected & 0xff);
    QCOMPARE(validReport(reportFile)["ending"].toString(), ending);
    QVERIFY(!QFileInfo::exists(linkTarget));
    if (!lockFileLinked) {
        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitCode(), int(success));
    }
    QCOMPARE(sandbox.installerCalls().filter(code("FRA")), QStringList());
    for (const QString &key : packageKeys("FRA"))
        QVERIFY2(sandbox.hasKey(key), qPrintable(key));
}

// A run with every output: Windows Installer logs each package into the folder (given
// relative, with a blank in its name), a product it does not know is passed over with its
// leftovers removed, and the report says all of it with absolute paths.
void tst_Cli::reportOfARun()
{
    RegistrySandbox sandbox;
    Machine machine = Machine::installed();
    machine.productsEntries.removeAll("KOR");
    sandbox.writeRegistry(machine.lines());
    QTemporaryDir folder;
    const QString logs = folder.filePath("installer logs");
    const QString reportFile = folder.filePath("report.json");

    const QString logFile = folder.filePath("remedor.log");
    const Run run
        = runCli({ "remove", "kor", "DEU", "--msi-log", QDir().relativeFilePath(logs), "--report",
                   reportFile, "--timeout", "10", "--log", QDir().relativeFilePath(logFile) });
    QVERIFY2(run.exitCode == success, qPrintable(cliState(run)));
    // Evidence for administrators only, whatever the umask.
    QCOMPARE((QList<int> { mode(logs), mode(reportFile), mode(logFile) }),
             (QList<int> { 0700, 0600, 0600 }));
    QCOMPARE(sandbox.installerCalls(),
             (QStringList { commandFor("DEU") + " /L*V " + logs + "/remedor-DEU.log",
                            commandFor(suite) + " /L*V " + logs + "/remedor-suite.log" }));
    QCOMPARE(sandbox.installerArguments().first().mid(5),
             (QStringList { "/L*V", logs + "/remedor-DEU.log" })); // one argument, not split
    QCOMPARE(run.out.filter("PELDA+ 2015 KOR: not installed: removing leftover keys").size(), 1);
    for (const QString &key : packageKeys("KOR"))
        QVERIFY2(!sandbox.hasKey(key), qPrintable(key));

    const QJsonObject report = validReport(reportFile);
    QVERIFY(!report.isEmpty());
    QCOMPARE(report["exitCode"].toInt(), int(success));
    QCOMPARE(report["ending"].toString(), "finished");
    const QJsonArray packages = report["packages"].toArray();
    QCOMPARE(field(packages, "code"), (QStringList { "DEU", "KOR", "suite" }));
    QCOMPARE(field(packages, "status"),
             (QStringList { "succeeded", "skippedNotInstalled", "succeeded" }));
    QCOMPARE(field(packages, "productState"),
             (QStringList { "installed", "unknown", "installed" }));
    QCOMPARE(packages[0]["installerLog"].toString(), logs + "/remedor-DEU.log");
    QCOMPARE(report["options"]["log"].toString(), folder.filePath("remedor.log"));
    QVERIFY(packages[0]["seconds"].toDouble() > 0); // a quick installer's time, not cut to 0
    QCOMPARE(field(packages[1]["keys"].toArray(), "outcome"),
             (QStringList { "removed", "removed", "removed", "notThere" }));
    QCOMPARE(report["suite"]["decision"].toString(), "attempted");
    QCOMPARE(report["options"]["timeoutMinutes"].toDouble(), 10.0);
    QVERIFY(report["options"]["backup"].isNull());
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
        users + "S-1-12-1-3871513472-1174598766-2830387088-4132497418" + settings + "de-DE",
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
    // Every user hive is listed once, the one without the key too, and each key found there.
    QCOMPARE(run.out.filter(QRegularExpression("^user hive S-[-0-9]+: loaded already$")).size(),
             allUsers ? 4 : 0);
    QCOMPARE(run.out.filter(": PELDA+ 2015 DEU: key removed: HKEY_USERS\\").size(),
             allUsers ? 3 : 0);
}

void tst_Cli::profilesNotSignedIn_data()
{
    QTest::addColumn<bool>("damagedHive");
    QTest::addColumn<QStringList>("editions");
    QTest::addColumn<bool>("fullDisk"); // the Entra ID profile's disk

    QTest::newRow("signed in, not signed in, stale") << false << QStringList { "DEU" } << false;
    QTest::newRow("and a damaged hive") << true << QStringList { "DEU" } << false;
    QTest::newRow("two editions, one pass") << true << QStringList { "DEU", "FRA" } << false;
    QTest::newRow("a hive on a full disk") << false << QStringList { "DEU" } << true;
}

namespace {

// Counts the openings of each profile's NTUSER.DAT while it lives: the stand-in's hive reads.
class HiveReads
{
public:
    explicit HiveReads(const QStringList &folders)
        : m_inotify(inotify_init1(IN_NONBLOCK))
    {
        for (const QString &folder : folders)
            m_folders.insert(inotify_add_watch(m_inotify, QFile::encodeName(folder), IN_OPEN),
                             folder);
    }
    ~HiveReads() { close(m_inotify); }
    QMap<QString, int> counts() const
    {
        QMap<QString, int> counts;
        alignas(inotify_event) char buffer[65536];
        for (ssize_t size; (size = read(m_inotify, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < size;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->len && qstrcmp(event->name, "NTUSER.DAT") == 0)
                    ++counts[m_folders.value(event->wd)];
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return counts;
    }

private:
    int m_inotify;
    QHash<int, QString> m_folders;
};

// A small file system of its own at folder, filled up but for what the hive holds; false
// when none can be mounted (not root, no tmpfs).
bool mountFullDisk(const QString &folder, const QByteArray &hive)
{
    if (QProcess::execute("mount", { "-t", "tmpfs", "-o", "size=64k", "tmpfs", folder }) != 0)
        return false;
    QFile file(folder + "/NTUSER.DAT"), filler(folder + "/filler");
    if (!file.open(QIODevice::WriteOnly) || file.write(hive) != hive.size() || !file.flush()
        || !filler.open(QIODevice::WriteOnly))
        return false;
    while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) { }
    return true;
}

} // namespace

// Profiles of the profile list whose user is not signed in: the hive in the profile's folder
// is listed, planned and cleaned like a loaded one, read once for all editions; each profile is
// listed once, with what went from it; a stale entry is said and is no failure; a hive that
// cannot be loaded, or whose file cannot be written, is said and fails the run, the file as it
// was; a service account is never listed.
void tst_Cli::profilesNotSignedIn()
{
    QFETCH(bool, damagedHive);
    QFETCH(QStringList, editions);
    QFETCH(bool, fullDisk);

    const QString sid = QStringLiteral("S-1-5-21-1004336348-1177238915-682003330-100");
    const QString signedIn = sid + "1", stale = sid + "2", damaged = sid + "3", other = sid + "4";
    const QString entra = QStringLiteral("S-1-12-1-3871513472-1174598766-2830387088-4132497418");
    const QString user = QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\DAWLIX\\PELDA\\2015\\");
    QTemporaryDir folders;
    auto hiveKeys = [&folders](const QString &account) {
        QFile hive(folders.filePath(account + "/NTUSER.DAT"));
        const std::optional<RegFile> file
            = RegFile::parse(hive.open(QIODevice::ReadOnly) ? hive.readAll() : QByteArray());
        return file ? file->sectionPaths() : QStringList();
    };
    const QByteArray hiveBytes = RegistrySandbox::encode(
        { "[" + user + "de-DE\\Recent]", "[" + user + "fr-FR]", "[" + user + "de-DE-old]" }, false);
    for (const QString &account : { entra, damaged, other })
        QVERIFY(QDir(folders.path()).mkpath(account));
    if (fullDisk && !mountFullDisk(folders.filePath(entra), hiveBytes))
        QSKIP("no small file system can be mounted here (not root?)");
    auto cleanup = qScopeGuard([&] {
        if (fullDisk)
            QProcess::execute("umount", { folders.filePath(entra) });
    });
    for (const QString &account : fullDisk ? QStringList { other } : QStringList { entra, other }) {
        QFile hive(folders.filePath(account + "/NTUSER.DAT"));
        QVERIFY(hive.open(QIODevice::WriteOnly) && hive.write(hiveBytes) == hiveBytes.size());
    }
    QFile notAHive(folders.filePath(damaged + "/NTUSER.DAT"));
    QVERIFY(!damagedHive || (notAHive.open(QIODevice::WriteOnly) && notAHive.write("\x01") == 1));
    // A signed-in user's hive file is in use on Windows: the run must never load it.
    QVERIFY(QDir(folders.path()).mkpath(signedIn));
    QFile inUse(folders.filePath(signedIn + "/NTUSER.DAT"));
    const QByteArray inUseBytes = RegistrySandbox::encode({ "[" + user + "de-DE]" }, false);
    QVERIFY(inUse.open(QIODevice::WriteOnly) && inUse.write(inUseBytes) == inUseBytes.size());
    inUse.close();

    Machine machine = Machine::installed(QStringLiteral("fr-FR"));
    for (const QString &account :
         { signedIn, entra, stale, damaged, other, QStringLiteral("S-1-5-18") })
        machine.extraLines << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
                              "\\ProfileList\\"
                + account + "]\r\n\"ProfileImagePath\"=\"" + folders.filePath(account) + "\"";
    const QString signedInKey
        = "HKEY_USERS\\" + signedIn + "\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE";
    machine.extraLines << "[" + signedInKey + "]";
    RegistrySandbox sandbox;
    sandbox.writeRegistry(machine.lines());

    const Run list = runCli({ "list", "--json", "--all-users" });
    QVERIFY2(list.exitCode == success, qPrintable(cliState(list)));
    QStringList profiles;
    for (const QJsonValue profile :
         QJsonDocument::fromJson(list.out.join('\n').toUtf8())["profiles"].toArray())
        profiles << QJsonDocument(profile.toObject()).toJson(QJsonDocument::Compact);
    auto row = [&folders](const QString &account, bool loaded, const QString &hive,
                          const QString &settings, const QString &reason = QString()) {
        return QStringLiteral("{\"hive\":\"%1\",\"loaded\":%2,\"path\":\"%3\",\"reason\":\"%4\","
                              "\"sid\":\"%5\",\"userSettings\":%6}")
            .arg(hive, loaded ? "true" : "false", folders.filePath(account), reason, account,
                 settings);
    };
    const QString why = "the first line is not \\\"Windows Registry Editor Version 5.00\\\"";
    QCOMPARE(profiles,
             (QStringList { row(signedIn, true, "loaded", "[\"DEU\"]"),
                            row(entra, false, "loadedByRun", "[\"DEU\",\"FRA\"]"),
                            row(stale, false, "noHiveFile", "[]"),
                            damagedHive ? row(damaged, false, "notLoadable", "null", why)
                                        : row(damaged, false, "noHiveFile", "[]"),
                            row(other, false, "loadedByRun", "[\"DEU\",\"FRA\"]") }));

    const QString settings = "\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE";
    const Run plan = runCli(QStringList { "remove", "--all-users", "--dry-run" } + editions);
    QVERIFY2(plan.exitCode == success, qPrintable(cliState(plan)));
    QCOMPARE(plan.out.last().contains("not counting those in the user hives that could not be "
                                      "loaded"),
             damagedHive);
    QCOMPARE(linesStartingWith(plan.out, ": PELDA+ 2015 DEU: would remove key: HKEY_USERS\\"),
             (QStringList { signedIn + settings, "Remedor-" + entra + settings,
                            "Remedor-" + other + settings }));
    QCOMPARE(hiveKeys(entra).size(), 3);

    const HiveReads reads({ folders.filePath(signedIn), folders.filePath(entra),
                            folders.filePath(damaged), folders.filePath(other) });
    QTemporaryDir reportFolder;
    const QString reportFile = reportFolder.filePath("report.json");
    const Run run
        = runCli(QStringList { "remove", "--all-users", "--report", reportFile } + editions);
    const bool failed = damagedHive || fullDisk;
    QVERIFY2(run.exitCode == ((failed ? failure : success) & 0xff), qPrintable(cliState(run)));
    QMap<QString, int> everyHiveOnce { { folders.filePath(entra), 1 },
                                       { folders.filePath(other), 1 } };
    if (damagedHive)
        everyHiveOnce.insert(folders.filePath(damaged), 1);
    QCOMPARE(reads.counts(), everyHiveOnce);
    QVERIFY(!sandbox.hasKey(signedInKey));
    QCOMPARE(inUse.open(QIODevice::ReadOnly) ? inUse.readAll() : QByteArray(), inUseBytes);
    // Only the hives the run loaded are named below HKEY_USERS\Remedor-….
    QCOMPARE(run.out.filter(": key ").filter("HKEY_USERS\\Remedor-").size(), 2 * editions.size());
    const QStringList left = editions.contains("FRA")
        ? QStringList { user + "de-DE-old" }
        : QStringList { user + "fr-FR", user + "de-DE-old" };
    QCOMPARE(hiveKeys(other), left);
    QCOMPARE(hiveKeys(entra).size(), fullDisk ? 3 : left.size()); // as it was on a full disk
    const QString out = run.out.join('\n');
    QVERIFY(out.contains("\nuser hive " + stale + ": not there, " + folders.filePath(stale)
                         + " holds no NTUSER.DAT (a stale profile entry)"));
    QCOMPARE(out.contains("\nuser hive " + damaged + " could not be loaded from "), damagedHive);
    QCOMPARE(out.contains("\nuser hive " + entra
                          + ": PELDA+ 2015 DEU: key could not be removed: "
                            "HKEY_USERS\\Remedor-"
                          + entra + settings),
             fullDisk);
    QCOMPARE(out.contains("No space left on device"), fullDisk);

    // The report lists each profile once, with the keys found there per edition.
    const QJsonArray reported = validReport(reportFile)["userProfiles"].toArray();
    QCOMPARE(field(reported, "sid"), (QStringList { signedIn, entra, stale, damaged, other }));
    // The damaged hive's settings keys are counted with the keys that failed.
    QCOMPARE(field(reported[3]["keys"].toArray(), "outcome").count("failed"),
             damagedHive ? editions.size() : 0);
    QStringList otherKeys;
    for (const QJsonValue key : reported[4]["keys"].toArray())
        otherKeys << key["edition"].toString() + " " + key["outcome"].toString();
    const QStringList removed = { "DEU removed", "FRA removed" };
    QCOMPARE(otherKeys, removed.mid(0, editions.size()));
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
    if (frozen && !freeze(sandbox, &why))
        QSKIP(qPrintable(why));

    const Run run = runCli({ "remove", "DEU" });
    QVERIFY2(run.exitCode == ((frozen ? failure : success) & 0xff), qPrintable(cliState(run)));
    QCOMPARE(run.out.size(), 9);
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
    QCOMPARE(run.out[7],
             "PELDA+ 2015: not removed, nor the bootstrapper's entry: the edition of the "
             "bootstrapper's language fr-FR was not chosen");
    QVERIFY(run.out[8].startsWith(finishedLine(frozen ? failure : success)));
}

void tst_Cli::stopFinishesThePackageUnderWay_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("wholeGroup"); // as a terminal sends Ctrl+C
    QTest::addColumn<QString>("bootstrapperTag");

    QTest::newRow("SIGTERM") << int(SIGTERM) << false << "de-DE";
    QTest::newRow("SIGINT") << int(SIGINT) << false << "de-DE";
    QTest::newRow("Ctrl+C in a terminal") << int(SIGINT) << true << "de-DE";
    QTest::newRow("SIGTERM, the suite not due") << int(SIGTERM) << false << "ja-JP";
}

// The edition under way finishes, its installer and its keys; no further package starts;
// the program says so and exits 1602; the registry file is whole.
void tst_Cli::stopFinishesThePackageUnderWay()
{
    QFETCH(int, signal);
    QFETCH(bool, wholeGroup);
    QFETCH(QString, bootstrapperTag);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed(bootstrapperTag).lines());
    sandbox.setInstallerDelay(800);
    const QStringList before = sandbox.keys();
    QTemporaryDir folder;
    const QString reportFile = folder.filePath("report.json");

    QProcess cli;
    cli.setChildProcessModifier([] { setpgid(0, 0); }); // a process group of its own
    QVERIFY(startUntilInstallerRuns(cli, sandbox,
                                    { "remove", "FRA", "DEU", "ITA", "--report", reportFile }));
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

    // Every package that never started is listed, with the reason.
    const QJsonObject report = validReport(reportFile);
    QCOMPARE(report["exitCode"].toInt(), int(cancelled));
    QCOMPARE(report["ending"].toString(), "stopped");
    QCOMPARE(field(report["packages"].toArray(), "detail").join(','),
             bootstrapperTag == "de-DE" ? ",stopped,stopped,stopped" : ",stopped,stopped");
    QCOMPARE(report["suite"]["recordedLanguage"].toString(), bootstrapperTag);
}

void tst_Cli::stopDuringTheLastPackage_data()
{
    QTest::addColumn<QString>("bootstrapperTag");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("said");

    QTest::newRow("the last edition") << "fr-FR" << int(restartRequired)
                                      << "A stop was requested during the last package; the run "
                                         "had nothing more to do.";
    QTest::newRow("the suite still to go")
        << "de-DE" << int(cancelled)
        << "Stopped on request after PELDA+ 2015 DEU: no further package was started.";
}

// With nothing left to stop, the run ends as it would have, and says that the stop came late;
// with the suite still to go, the stop holds.
void tst_Cli::stopDuringTheLastPackage()
{
    QFETCH(QString, bootstrapperTag);
    QFETCH(int, expected);
    QFETCH(QString, said);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed(bootstrapperTag).lines());
    sandbox.setInstallerDelay(800);
    sandbox.setInstallerResults(code("DEU") + "=+3010");

    QProcess cli;
    QVERIFY(startUntilInstallerRuns(cli, sandbox, { "remove", "DEU" }));
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(60000));
    const QStringList out = outputLines(cli.readAllStandardOutput());

    QCOMPARE(cli.exitCode(), expected & 0xff);
    QVERIFY(out.size() >= 2);
    QCOMPARE(out.at(out.size() - 2), said);
    QVERIFY(out.last().startsWith(finishedLine(expected)));
    for (const QString &key : packageKeys("DEU"))
        QVERIFY2(!sandbox.hasKey(key), qPrintable(key));
    QCOMPARE(sandbox.installerCalls(), QStringList { commandFor("DEU") });
    for (const QString &key : packageKeys(suite)) // not due, or stopped before its turn
        QVERIFY2(sandbox.hasKey(key), qPrintable(key));
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
    // Local time with its offset, not UTC: a zone whose offset no rounding hides.
    qputenv("TZ", "<+0530>-05:30");
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
        QCOMPARE(match.captured(2), "+05:30");
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

// Each line is in the file as soon as it is printed: a run ended from outside, as a
// deployment system ends one past its time limit, leaves its log up to that moment, and a
// report that says the run did not finish.
void tst_Cli::logEndedFromOutside()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed().lines());
    sandbox.setInstallerDelay(3000);
    QTemporaryDir folder;
    const QString logFile = folder.filePath("remedor.log");

    const QString reportFile = folder.filePath("report.json");
    QProcess cli;
    QVERIFY(startUntilInstallerRuns(cli, sandbox,
                                    { "remove", "DEU", "--log", logFile, "--report", reportFile }));
    cli.kill();
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(validReport(reportFile)["ending"].toString(), "running");
    QFile log(logFile);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    QVERIFY2(text.contains(" PELDA+ 2015 DEU: running msiexec.exe " + commandFor("DEU") + "\n"),
             qPrintable(text));
}

// A log that cannot be written any more is said once, and named by the last line; so is a
// report on a full disk, which leaves no file. The exit code stays the removal's.
void tst_Cli::logThatFails()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(Machine::installed().lines());

    const Run run = runCli({ "remove", "FRA", "--log", "/dev/full" });
    QVERIFY2(run.exitCode == success, qPrintable(cliState(run)));
    // (Qt warns that a device cannot seek to its end; only the program's own lines count.)
    QCOMPARE(run.error.filter("remedor-cli: "),
             QStringList { "remedor-cli: the log file /dev/full could not be written: No space "
                           "left on device; the lines from here on are not in it." });
    QVERIFY2(run.out.last().endsWith(" But the log file /dev/full could not be written: No space "
                                     "left on device."),
             qPrintable(run.out.last()));

    // A small tmpfs filled to its last byte, which needs root.
    QTemporaryDir disk;
    if (QProcess::execute("/bin/mount", { "-t", "tmpfs", "-o", "size=64k", "none", disk.path() }))
        QSKIP("no tmpfs can be mounted here (not root)");
    const auto unmount
        = qScopeGuard([&disk] { QProcess::execute("/bin/umount", { disk.path() }); });
    QFile fill(disk.filePath("fill"));
    QVERIFY(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (fill.write(QByteArray(4096, 'x')) == 4096) { }
    const QString failure = "the report " + disk.filePath("r.json")
        + " could not be written: No space left on device";
    const Run full = runCli({ "remove", "DEU", "--report", disk.filePath("r.json") });
    QVERIFY2(full.exitCode == success, qPrintable(cliState(full)));
    QCOMPARE(full.error.last(), "remedor-cli: " + failure + ".");
    QVERIFY2(full.out.last().endsWith(" But " + failure + "."), qPrintable(full.out.last()));
    QVERIFY(!QFile::exists(disk.filePath("r.json")));
}

void tst_Cli::helpAll()
{
    const Run run = runCli({ "--help-all" });
    QVERIFY2(run.exitCode == success, qPrintable(cliState(run)));
    QVERIFY(run.out.contains("Exit codes:"));
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
    const QString backup = QFileInfo(sandbox.registryPath()).absolutePath() + "/backup.reg";
    sandbox.writeRegistry({}); // nothing to delete, so nothing to back up: no file at all
    const Run none = runCli({ "remove", "DEU", "--backup", backup });
    QVERIFY2(none.exitCode == success && !QFile::exists(backup), qPrintable(cliState(none)));

    Machine machine = Machine::installed();
    machine.extraLines << typeLines;
    sandbox.writeRegistry(machine.lines());
    QMap<QString, QList<RegistryValue>> expected = registryValues(sandbox);

    const QString reportFile = backup + ".json";
    const Run plan
        = runCli({ "remove", "DEU", "--dry-run", "--backup", backup, "--report", reportFile });
    QVERIFY2(plan.exitCode == success && !QFile::exists(backup), qPrintable(cliState(plan)));
    QVERIFY(validReport(reportFile)["options"].toObject()["backup"].isNull()); // it wrote none

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
        QCOMPARE(mode(backup), 0600);
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

    // Someone else's file in its place by the time the first key goes: no key goes. (DEU
    // registered again, so that its installer runs: meanwhile the file is replaced.)
    sandbox.writeRegistryBytes(sandbox.registryBytes() + "[" + products.toUtf8() + "\\"
                               + packed("DEU").toUtf8() + "]\r\n\r\n");
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

    // A value name with a line break in it would split its line in the export: that key stays.
    const QString french = machineSettings + "\\fr-FR";
    sandbox.writeRegistryBytes(sandbox.registryBytes() + "[" + french.toUtf8()
                               + "\\Evil]\r\n\"Line\rBreak\"=dword:00000001\r\n\r\n");
    const Run evil = runCli({ "remove", "FRA", "--backup", backup + ".new" });
    QVERIFY2(evil.exitCode == (failure & 0xff), qPrintable(cliState(evil)));
    QVERIFY2(sandbox.hasKey(french + "\\Evil") && !sandbox.hasKey(userSettings + "\\fr-FR"),
             qPrintable(cliState(evil)));
    QCOMPARE(evil.out
                 .filter("key could not be removed: " + french
                         + " (the key cannot be backed "
                           "up: the name \"Line\\rBreak\" of "
                         + french
                         + "\\Evil holds a "
                           "line break")
                 .size(),
             1);
}

// On a full disk a key whose backup cannot be written stays, with the system's reason, and the
// backup that earlier runs wrote stays whole: what this run added is whole keys only.
void tst_Cli::backupOnAFullDisk()
{
    QTemporaryDir disk;
    QProcess mount;
    mount.start("mount", { "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk.path() });
    if (!mount.waitForFinished() || mount.exitCode() != 0)
        QSKIP("A small file system to fill needs root (mount -t tmpfs).");
    const auto unmount = qScopeGuard([&disk] { QProcess::execute("umount", { disk.path() }); });
    const QString backup = disk.filePath("backup.reg");
    const QByteArray earlier = RegistrySandbox::encode(
        { "[" + machineSettings + "\\it-IT]", "\"Skin\"=dword:00000002", "" }, true);
    QFile file(backup);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
    file.close();
    QFile filler(disk.filePath("filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) { }
    filler.close();

    RegistrySandbox sandbox;
    Machine machine = Machine::installed();
    // Larger than any room left in the backup's last page.
    machine.extraLines << "[" + machineSettings + "\\de-DE]"
                       << "\"Large\"=hex:" + QStringList(4000, "ab").join(',') << "";
    sandbox.writeRegistry(machine.lines());
    const Run run = runCli({ "remove", "DEU", "--backup", backup });
    QVERIFY2(run.exitCode == (failure & 0xff), qPrintable(cliState(run)));
    QVERIFY(sandbox.hasKey(machineSettings + "\\de-DE"));
    QCOMPARE(run.out
                 .filter("key could not be removed: " + machineSettings
                         + "\\de-DE (the backup file " + backup
                         + " cannot be written: No space left on device)")
                 .size(),
             1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith(earlier));
    const std::optional<RegFile> kept = RegFile::parse(bytes);
    QVERIFY(kept && !kept->sectionPaths().contains(machineSettings + "\\de-DE"));
}

QTEST_GUILESS_MAIN(tst_Cli)
#include "tst_cli.moc"
