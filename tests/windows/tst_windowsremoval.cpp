#include "editioncatalogue.h"
#include "processpage.h"
#include "remedorwiz.h"

#include <QtTest>

// One real removal run: the wizard walked to its Process page with the editions named in
// REMEDOR_TICK ticked ("DEU FRA JPN"), and the page's first tick run against the machine's
// registry and Windows Installer. REMEDOR_EXPECT lists the installer runs the page must
// report, in order, with their exit codes ("DEU=0 FRA=1605 suite=0"); "failed" in place of
// a code accepts any code that counts as a failure.
//
// scripts/test-windows.sh prepares a throwaway Wine prefix with installed packages and
// leftover keys, runs this test and then checks the registry from outside.
class tst_WindowsRemoval : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removalRun();
};

namespace {

QStringList environmentList(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

InstallerOutcome::Status statusFor(int exitCode)
{
    switch (exitCode) {
    case 0:
        return InstallerOutcome::Succeeded;
    case 1605:
        return InstallerOutcome::NotInstalled;
    case 1641:
    case 3010:
        return InstallerOutcome::RestartRequired;
    case 1618:
        return InstallerOutcome::AnotherInstallation;
    default:
        return InstallerOutcome::Failed;
    }
}

QString describe(const InstallerOutcomes &outcomes)
{
    QStringList parts;
    for (const InstallerOutcome &outcome : outcomes)
        parts.append(QStringLiteral("%1: status %2, exit code %3")
                         .arg(outcome.displayName)
                         .arg(int(outcome.status))
                         .arg(outcome.exitCode));
    return parts.join(QStringLiteral("; "));
}

} // namespace

void tst_WindowsRemoval::removalRun()
{
    const QStringList ticked = environmentList("REMEDOR_TICK");
    const QStringList expectedRuns = environmentList("REMEDOR_EXPECT");
    QVERIFY2(!ticked.isEmpty(), "REMEDOR_TICK names no edition");
    QVERIFY2(!expectedRuns.isEmpty(), "REMEDOR_EXPECT names no installer run");

    InstallerOutcomes expected;
    QList<bool> anyExitCode;
    for (const QString &run : expectedRuns) {
        const QStringList parts = run.split(QLatin1Char('='));
        QVERIFY2(parts.size() == 2, qPrintable(QStringLiteral("bad REMEDOR_EXPECT entry ") + run));
        InstallerOutcome outcome;
        outcome.displayName = parts.at(0) == QLatin1String("suite")
            ? EditionCatalogue::suiteDisplayName()
            : EditionCatalogue::displayNameForLanguage(parts.at(0));
        if (parts.at(1) == QLatin1String("failed")) {
            outcome.status = InstallerOutcome::Failed;
            anyExitCode.append(true);
        } else {
            bool isNumber = false;
            outcome.exitCode = parts.at(1).toInt(&isNumber);
            QVERIFY2(isNumber, qPrintable(QStringLiteral("bad exit code in ") + run));
            outcome.status = statusFor(outcome.exitCode);
            anyExitCode.append(false);
        }
        expected.append(outcome);
    }

    RemedorWiz wizard;
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    wizard.next();
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ProductsPageId));
    for (const QString &language : ticked) {
        const QString name = EditionCatalogue::displayNameForLanguage(language);
        QVERIFY2(!EditionCatalogue::localeForEdition(name).isEmpty(), qPrintable(name));
        wizard.setField(name, true);
    }
    wizard.next();
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ConfirmPageId));
    wizard.next();
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ProcessPageId));

    auto *page = qobject_cast<ProcessPage *>(wizard.currentPage());
    QVERIFY(page);
    page->onTimeOut(); // the first tick: the whole run

    const InstallerOutcomes outcomes
        = wizard.field(ProcessPage::outcomesField()).value<InstallerOutcomes>();
    qInfo("installer runs: %s", qPrintable(describe(outcomes)));
    QCOMPARE(outcomes.size(), expected.size());
    for (int i = 0; i < outcomes.size(); ++i) {
        if (anyExitCode.at(i) && outcomes.at(i).status == InstallerOutcome::Failed)
            expected[i].exitCode = outcomes.at(i).exitCode;
    }
    QCOMPARE(describe(outcomes), describe(expected));
    QCOMPARE(outcomes, expected);

    // The page then counts on by itself and hands over to the Finish page.
    QTRY_COMPARE_WITH_TIMEOUT(wizard.currentId(), int(RemedorWiz::FinishPageId), 30000);
}

QTEST_MAIN(tst_WindowsRemoval)
#include "tst_windowsremoval.moc"
