#include "editioncatalogue.h"
#include "machinekeys.h"
#include "packedproductcode.h"
#include "processpage.h"
#include "registrysandbox.h"
#include "remedorwiz.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QtTest>

// Whole removal runs on a stand-in machine, driven through the wizard, with the stand-in
// installer: what is started, what is deleted, in which order, and what the Finish page says.
class tst_RemovalRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void oneEditionStepByStep();
    void suiteStepByStep();
    void wholeRuns_data();
    void wholeRuns();
    void failures_data();
    void failures();
    void keyFailuresReachTheFinishPage();

private:
    struct Step
    {
        int value;
        QStringList keys;
        int installerCalls;
    };
    // Walks to the Process page with the given editions ticked and performs the run; every
    // change of the bar is recorded with the machine's keys at that moment.
    static QList<Step> run(RemedorWiz &wizard, RegistrySandbox &sandbox,
                           const QStringList &languageCodes);
    static QString finishText(RemedorWiz &wizard);
};

using namespace MachineKeys;

namespace {

const QString suiteCode = QStringLiteral("{6B41C7D2-B002-0000-B002-7E93A0C5D814}");
const QString decoyCode = QStringLiteral("{0D5E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B}");

const QString finishMessage = QStringLiteral(
    "All operation completed.\n\n\n\nThe files under the installation directory, shortcut on "
    "the desktop and start menu shortcuts may not be deleted, please delete these items manually.");

const Edition &edition(const QString &languageCode)
{
    for (const Edition &e : EditionCatalogue::editions()) {
        if (languageCode == QLatin1String(e.languageCode))
            return e;
    }
    qFatal("no edition %s", qPrintable(languageCode));
}

QString code(const QString &languageCode)
{
    return QString::fromLatin1(edition(languageCode).productCode);
}

QString tag(const QString &languageCode)
{
    return QString::fromLatin1(edition(languageCode).localeTag);
}

QString commandFor(const QString &productCode)
{
    return QStringLiteral("/X%1 /quiet /passive /norestart KEEPUSERDATA=yes").arg(productCode);
}

// The installer's name for a product: German's written out, the others packed.
QString productKey(const QString &languageCode)
{
    return languageCode == QLatin1String("DEU")
        ? germanProductKey
        : PackedProductCode::fromProductCode(code(languageCode));
}

// Every key one edition leaves behind, its settings subkeys included.
QStringList editionKeys(const QString &languageCode)
{
    return { machineSettings + "\\" + tag(languageCode),
             machineSettings + "\\" + tag(languageCode) + "\\Recent",
             userSettings + "\\" + tag(languageCode), uninstall + "\\" + code(languageCode),
             products + "\\" + productKey(languageCode) };
}

QStringList suiteKeys()
{
    return { uninstall + "\\" + suiteCode, products + "\\" + suiteProductKey };
}

// A machine with every edition and the suite installed, their settings, the bootstrapper
// (when a tag is given) and decoys that must survive every run.
QStringList installedMachine(const QString &bootstrapperTag,
                             const QString &bootstrapperKey = bootstrapperName)
{
    QStringList lines
        = { "[" + machineSettings + "]",
            "\"InstallDir\"=\"C:\\\\Program Files (x86)\\\\DAWLIX\\\\PELDA 2015\"", "" };
    for (const Edition &e : EditionCatalogue::editions()) {
        const QString code = QLatin1String(e.languageCode);
        lines << "[" + machineSettings + "\\" + tag(code) + "]"
              << "\"Skin\"=dword:00000001"
              << ""
              << "[" + machineSettings + "\\" + tag(code) + "\\Recent]"
              << "\"File1\"=\"C:\\\\a.pel\""
              << ""
              << "[" + userSettings + "\\" + tag(code) + "]"
              << "\"Window\"=hex:01,02"
              << ""
              << "[" + uninstall + "\\" + QLatin1String(e.productCode) + "]"
              << "\"DisplayName\"=\"" + EditionCatalogue::displayName(e) + "\""
              << ""
              << "[" + products + "\\"
                + PackedProductCode::fromProductCode(QLatin1String(e.productCode)) + "]"
              << "\"ProductName\"=\"" + EditionCatalogue::displayName(e) + "\""
              << "";
    }
    lines << "[" + uninstall + "\\" + suiteCode + "]"
          << "\"DisplayName\"=\"PELDA+ 2015\""
          << ""
          << "[" + products + "\\" + PackedProductCode::fromProductCode(suiteCode) + "]"
          << "";
    if (!bootstrapperTag.isNull())
        lines << "[" + uninstall + "\\" + bootstrapperKey + "]"
              << "\"PeldaLanguage\"=\"" + bootstrapperTag + "\""
              << "";
    lines << "[" + uninstall + "\\" + decoyCode + "]"
          << "\"DisplayName\"=\"Other product\""
          << ""
          << "[" + machineSettings + "\\xx-XX]"
          << ""
          << "[" + userSettings + "\\de-DE-old]"
          << ""
          << "[" + products + "\\B5A4F3E2D1C0B9A8F7E6D5C4B3A2F1E0]"
          << "";
    return lines;
}

} // namespace

void tst_RemovalRun::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

QList<tst_RemovalRun::Step> tst_RemovalRun::run(RemedorWiz &wizard, RegistrySandbox &sandbox,
                                                const QStringList &languageCodes)
{
    wizard.show();
    if (!QTest::qWaitForWindowExposed(&wizard))
        return {};
    wizard.next();
    for (const QString &languageCode : languageCodes)
        wizard.setField(EditionCatalogue::displayNameForLanguage(languageCode), true);
    wizard.next();
    wizard.next();
    auto *page = qobject_cast<ProcessPage *>(wizard.currentPage());
    if (!page)
        return {};
    page->findChild<QTimer *>()->stop();

    QList<Step> steps;
    auto *bar = page->findChild<QProgressBar *>();
    QObject::connect(bar, &QProgressBar::valueChanged, page, [&](int value) {
        steps.append({ value, sandbox.keys(), int(sandbox.installerCalls().size()) });
    });
    page->onTimeOut();
    QObject::disconnect(bar, &QProgressBar::valueChanged, page, nullptr);
    return steps;
}

// The Finish page as read from the top: the message, each line of the failure list when it
// shows (and a note when it shows empty), and the restart line when it shows, one a line.
QString tst_RemovalRun::finishText(RemedorWiz &wizard)
{
    auto *page = qobject_cast<ProcessPage *>(wizard.page(RemedorWiz::ProcessPageId));
    for (int tick = 0; tick < 30 && wizard.currentId() == RemedorWiz::ProcessPageId; ++tick)
        page->onTimeOut();
    if (wizard.currentId() != RemedorWiz::FinishPageId)
        return QStringLiteral("(not on the Finish page)");
    QWizardPage *finish = wizard.currentPage();
    QString text = finish->findChild<QLabel *>(QStringLiteral("messageLabel"))->text();
    auto *list = finish->findChild<QListWidget *>(QStringLiteral("failureList"));
    for (int row = 0; list->isVisible() && row < list->count(); ++row)
        text += "\n" + list->item(row)->text();
    if (list->isVisible() && list->count() == 0)
        text += QStringLiteral("\n(an empty failure list)");
    auto *restart = finish->findChild<QLabel *>(QStringLiteral("restartLabel"));
    if (restart->isVisible())
        text += "\n" + restart->text();
    return text;
}

// The installer first, then the settings keys, the uninstall entry and the installer's
// products entry, with the bar at +2, +1, +1, +1.
void tst_RemovalRun::oneEditionStepByStep()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(installedMachine(QStringLiteral("fr-FR")));
    sandbox.setInstallerResults(QStringLiteral("*=1603")); // fails and leaves every key
    const QStringList before = sandbox.keys();
    const QStringList deu = editionKeys(QStringLiteral("DEU"));

    RemedorWiz wizard;
    const QList<Step> steps = run(wizard, sandbox, { QStringLiteral("DEU") });
    QCOMPARE(steps.size(), 5);
    QCOMPARE(steps[0].value, 5);
    QCOMPARE(steps[0].installerCalls, 0);
    QCOMPARE(steps[0].keys, before);

    QCOMPARE(steps[1].value, 7);
    QCOMPARE(sandbox.installerCalls().first(), commandFor(code(QStringLiteral("DEU"))));
    QCOMPARE(steps[1].installerCalls, 1);
    QCOMPARE(steps[1].keys, before);

    auto without = [&](const QStringList &gone) {
        QStringList keys = before;
        for (const QString &key : gone)
            keys.removeAll(key);
        return keys;
    };
    QCOMPARE(steps[2].value, 8);
    QCOMPARE(steps[2].keys, without(deu.mid(0, 3)));
    QCOMPARE(steps[3].value, 9);
    QCOMPARE(steps[3].keys, without(deu.mid(0, 4)));
    QCOMPARE(steps[4].value, 10);
    QCOMPARE(steps[4].keys, without(deu));
    QCOMPARE(sandbox.installerCalls().size(), 1);
}

void tst_RemovalRun::suiteStepByStep()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(installedMachine(QStringLiteral("de-DE")));
    sandbox.setInstallerResults(QStringLiteral("*=1603"));
    const QString bootstrapper = uninstall + "\\" + bootstrapperName;

    RemedorWiz wizard;
    const QList<Step> steps = run(wizard, sandbox, { QStringLiteral("DEU") });
    QList<int> values;
    for (const Step &step : steps)
        values.append(step.value);
    QCOMPARE(values, (QList<int> { 5, 7, 8, 9, 10, 12, 13, 14 }));

    QCOMPARE(sandbox.installerCalls(),
             (QStringList { commandFor(code(QStringLiteral("DEU"))), commandFor(suiteCode) }));
    QCOMPARE(steps[5].installerCalls, 2);
    QVERIFY(steps[5].keys.contains(suiteKeys()[0]));
    QVERIFY(!steps[6].keys.contains(suiteKeys()[0]));
    QVERIFY(steps[6].keys.contains(suiteKeys()[1]));
    QVERIFY(!steps[7].keys.contains(suiteKeys()[1]));
    QVERIFY(steps[7].keys.contains(bootstrapper)); // the bootstrapper key goes last
    QVERIFY(!sandbox.hasKey(bootstrapper));
    QVERIFY(sandbox.hasKey(machineSettings));
}

void tst_RemovalRun::wholeRuns_data()
{
    QTest::addColumn<QString>("bootstrapperTag"); // null: no bootstrapper key
    QTest::addColumn<QString>("bootstrapperKey");
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<bool>("suiteRemoved");

    QStringList all;
    for (const Edition &e : EditionCatalogue::editions())
        all.append(QLatin1String(e.languageCode));
    QStringList allButGerman = all;
    allButGerman.removeAll(QStringLiteral("DEU"));

    QTest::newRow("language ticked")
        << "de-DE" << bootstrapperName << QStringList { "CHS", "DEU", "TRK" } << true;
    QTest::newRow("language not ticked") << "de-DE" << bootstrapperName << allButGerman << false;
    QTest::newRow("no bootstrapper")
        << QString() << bootstrapperName << QStringList { "DEU" } << false;
    QTest::newRow("bootstrapper in other case")
        << "de-DE" << bootstrapperName.toLower() << QStringList { "DEU" } << false;
    QTest::newRow("unknown tag") << "de-AT" << bootstrapperName << QStringList { "DEU" } << false;
    QTest::newRow("empty tag") << "" << bootstrapperName << QStringList { "DEU" } << false;
    QTest::newRow("tag in other case")
        << "DE-de" << bootstrapperName << QStringList { "DEU" } << true;
    QTest::newRow("all fifteen") << "zh-CN" << bootstrapperName << all << true;
}

void tst_RemovalRun::wholeRuns()
{
    QFETCH(QString, bootstrapperTag);
    QFETCH(QString, bootstrapperKey);
    QFETCH(QStringList, ticked);
    QFETCH(bool, suiteRemoved);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(installedMachine(bootstrapperTag, bootstrapperKey));
    const QStringList before = sandbox.keys();

    RemedorWiz wizard;
    const QList<Step> steps = run(wizard, sandbox, ticked);
    QVERIFY(!steps.isEmpty());
    QCOMPARE(steps.last().value, 5 + 5 * int(ticked.size()) + (suiteRemoved ? 4 : 0));

    QStringList expectedCalls;
    QStringList gone;
    for (const Edition &e : EditionCatalogue::editions()) { // catalogue order, whatever the ticks
        if (!ticked.contains(QLatin1String(e.languageCode)))
            continue;
        expectedCalls.append(commandFor(QLatin1String(e.productCode)));
        gone += editionKeys(QLatin1String(e.languageCode));
    }
    if (suiteRemoved) {
        expectedCalls.append(commandFor(suiteCode));
        gone += suiteKeys();
        gone.append(uninstall + "\\" + bootstrapperKey);
    }
    QCOMPARE(sandbox.installerCalls(), expectedCalls);

    QStringList expectedKeys = before;
    for (const QString &key : std::as_const(gone))
        QVERIFY2(expectedKeys.removeAll(key) == 1, qPrintable(key));
    QCOMPARE(sandbox.keys(), expectedKeys);
    QCOMPARE(finishText(wizard), finishMessage);
}

void tst_RemovalRun::failures_data()
{
    QTest::addColumn<RegistrySandbox::Installer>("installer");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("results");
    QTest::addColumn<int>("delay");
    QTest::addColumn<QString>("extraLines");

    const auto standIn = RegistrySandbox::Installer::StandIn;
    const QString heading = QStringLiteral("\nSome packages could not be uninstalled cleanly:");
    const QString restart
        = QStringLiteral("\nPlease restart the computer to complete the removal.");
    const QString notStarted = heading + "\nPELDA+ 2015 DEU: the uninstaller could not be started."
        + "\nPELDA+ 2015 FRA: the uninstaller could not be started."
        + "\nPELDA+ 2015: the uninstaller could not be started.";
    QTest::newRow("no installer") << RegistrySandbox::Installer::None << true << "" << 0
                                  << notStarted;
    QTest::newRow("installer that cannot be started")
        << RegistrySandbox::Installer::Unstartable << true << "" << 0 << notStarted;
    QTest::newRow("exit 1603") << standIn << true << "{6B41C7D2-B002-1036-B102-7E93A0C5D814}=1603"
                               << 0
                               << heading
            + "\nPELDA+ 2015 FRA: the uninstaller ended with exit code 67.";
    QTest::newRow("exit 1618") << standIn << true << "{6B41C7D2-B002-1036-B102-7E93A0C5D814}=1618"
                               << 0
                               << heading
            + "\nPELDA+ 2015 FRA: the uninstaller ended with exit code 82.";
    QTest::newRow("crash") << standIn << true << "{6B41C7D2-B002-1031-B102-7E93A0C5D814}=crash" << 0
                           << heading + "\nPELDA+ 2015 DEU: the uninstaller stopped unexpectedly.";
    QTest::newRow("slow") << standIn << true << "" << 1200 << "";
    QTest::newRow("restart") << standIn << true << "*=+3010" << 0 << restart;
    QTest::newRow("restart initiated")
        << standIn << true << "{6B41C7D2-B002-0000-B002-7E93A0C5D814}=+1641" << 0 << restart;
    QTest::newRow("failure and restart")
        << standIn << true
        << "{6B41C7D2-B002-1031-B102-7E93A0C5D814}=+3010,{6B41C7D2-B002-0000-B002-7E93A0C5D814}="
           "1603"
        << 0 << heading + "\nPELDA+ 2015: the uninstaller ended with exit code 67." + restart;
    QTest::newRow("not installed") << standIn << false << "" << 0 << "";
}

// Whatever the installers do, the registrations go, but those of a package Windows Installer
// was too busy to uninstall (1618), and the run ends on the Finish page, which names every
// package that did not uninstall cleanly.
void tst_RemovalRun::failures()
{
    QFETCH(RegistrySandbox::Installer, installer);
    QFETCH(bool, installed);
    QFETCH(QString, results);
    QFETCH(int, delay);
    QFETCH(QString, extraLines);

    RegistrySandbox sandbox(installer);
    QStringList machine = installedMachine(QStringLiteral("de-DE"));
    if (!installed) {
        machine.clear();
        machine << "[" + uninstall + "\\" + bootstrapperName + "]"
                << "\"PeldaLanguage\"=\"de-DE\""
                << "";
    }
    sandbox.writeRegistry(machine);
    sandbox.setInstallerResults(results);
    sandbox.setInstallerDelay(delay);
    const QStringList before = sandbox.keys();

    RemedorWiz wizard;
    run(wizard, sandbox, { QStringLiteral("DEU"), QStringLiteral("FRA") });
    QCOMPARE(sandbox.installerCalls().size(),
             installer == RegistrySandbox::Installer::StandIn ? 3 : 0);

    QStringList expectedKeys = before;
    for (const QString &edition : { QStringLiteral("DEU"), QStringLiteral("FRA") }) {
        for (const QString &key : editionKeys(edition))
            expectedKeys.removeAll(results.contains(code(edition) + "=1618") ? QString() : key);
    }
    for (const QString &key : suiteKeys())
        expectedKeys.removeAll(key);
    expectedKeys.removeAll(uninstall + "\\" + bootstrapperName);
    QCOMPARE(sandbox.keys(), expectedKeys);

    QCOMPARE(finishText(wizard), finishMessage + extraLines);
}

// A registry that refuses every change: each key of the run that is there is named on the
// Finish page under a line of its own, and the machine stays exactly as it was.
void tst_RemovalRun::keyFailuresReachTheFinishPage()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(installedMachine(QStringLiteral("de-DE")));
    sandbox.setInstallerResults(QStringLiteral("*=1605")); // nothing to uninstall, keys stay
    const QByteArray before = sandbox.registryBytes();
    QString why;
    if (!sandbox.freezeRegistryFolder(&why))
        QSKIP(qPrintable(why));

    RemedorWiz wizard;
    run(wizard, sandbox, { QStringLiteral("DEU") });
    QCOMPARE(sandbox.installerCalls().size(), 2); // DEU, then the suite
    QCOMPARE(sandbox.registryBytes(), before);

    const QString cause = ": " + sandbox.registryPath() + " could not be saved: ";
    const QStringList lines = finishText(wizard).split('\n');
    const QStringList expectedKeys = { machineSettings + "\\de-DE",
                                       userSettings + "\\de-DE",
                                       uninstall + "\\" + code(QStringLiteral("DEU")),
                                       products + "\\" + germanProductKey,
                                       uninstall + "\\" + suiteCode,
                                       products + "\\" + suiteProductKey,
                                       uninstall + "\\" + bootstrapperName };
    const QStringList report = lines.mid(finishMessage.count('\n') + 1);
    QCOMPARE(report.size(), 1 + expectedKeys.size());
    QCOMPARE(report.first(), QStringLiteral("Some registry keys could not be removed:"));
    for (int i = 0; i < expectedKeys.size(); ++i)
        QVERIFY2(report[i + 1].startsWith(expectedKeys[i] + cause), qPrintable(report[i + 1]));
}

QTEST_MAIN(tst_RemovalRun)
#include "tst_removalrun.moc"
