#include "processpage.h"
#include "remedorwiz.h"

#include <QAbstractButton>
#include <QProgressBar>
#include <QtTest>

// The Process page's own behaviour, with no edition ticked so that the run touches neither
// the registry nor an installer.
class tst_ProcessPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void constructedAt24();
    void progressStep_data();
    void progressStep();
    void countsToTheFinishPage();
    void realTimerReachesTheFinishPage();
    void nextIgnoredUntilTheRunHasHappened();
    void earlyNextKeepsBackAndCancelOff();

private:
    // Shows the wizard and walks to the Process page with every edition unticked.
    static void enterProcessPage(RemedorWiz &wizard);
    static ProcessPage *processPage(RemedorWiz &wizard);
    static QProgressBar *progressBar(RemedorWiz &wizard);
};

void tst_ProcessPage::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_ProcessPage::enterProcessPage(RemedorWiz &wizard)
{
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    wizard.next();
    wizard.setField(QStringLiteral("PELDA+ 2015 ENU"), true);
    wizard.next();
    wizard.setField(QStringLiteral("PELDA+ 2015 ENU"), false);
    wizard.next();
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ProcessPageId));
}

ProcessPage *tst_ProcessPage::processPage(RemedorWiz &wizard)
{
    return qobject_cast<ProcessPage *>(wizard.page(RemedorWiz::ProcessPageId));
}

QProgressBar *tst_ProcessPage::progressBar(RemedorWiz &wizard)
{
    return wizard.page(RemedorWiz::ProcessPageId)
        ->findChild<QProgressBar *>(QStringLiteral("progressBar"));
}

void tst_ProcessPage::constructedAt24()
{
    RemedorWiz wizard;
    QCOMPARE(progressBar(wizard)->value(), 24);
    QCOMPARE(progressBar(wizard)->minimum(), 0);
    QCOMPARE(progressBar(wizard)->maximum(), 100);
    QCOMPARE(wizard.field(QStringLiteral("process.progress")), QVariant(24));
    QCOMPARE(wizard.page(RemedorWiz::ProcessPageId)->findChild<QTimer *>()->isActive(), false);

    enterProcessPage(wizard);
    QCOMPARE(progressBar(wizard)->value(), 0);
    QCOMPARE(wizard.page(RemedorWiz::ProcessPageId)->findChild<QTimer *>()->interval(), 300);
    QVERIFY(wizard.page(RemedorWiz::ProcessPageId)->findChild<QTimer *>()->isActive());
    // Complete from the start: the mandatory field is no longer at its initial 24.
    QVERIFY(wizard.currentPage()->isComplete());
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
}

void tst_ProcessPage::progressStep_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("0") << 0 << 5;
    QTest::newRow("42") << 42 << 47;
    QTest::newRow("95") << 95 << 100;
    QTest::newRow("96") << 96 << 100;
    QTest::newRow("97") << 97 << 100;
    QTest::newRow("98") << 98 << 100;
    QTest::newRow("99") << 99 << 100;
}

void tst_ProcessPage::progressStep()
{
    QFETCH(int, before);
    QFETCH(int, after);
    RemedorWiz wizard;
    enterProcessPage(wizard);
    processPage(wizard)->onTimeOut(); // the first tick, with the (empty) run
    progressBar(wizard)->setValue(before);
    processPage(wizard)->onTimeOut();
    QCOMPARE(progressBar(wizard)->value(), after);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ProcessPageId));
}

// With nothing to remove: 5 after the first tick, 100 after the twentieth, and the
// twenty-first leaves the page.
void tst_ProcessPage::countsToTheFinishPage()
{
    RemedorWiz wizard;
    enterProcessPage(wizard);
    ProcessPage *page = processPage(wizard);
    QSignalSpy completeChanged(page, &QWizardPage::completeChanged);
    QList<int> values;
    int ticks = 0;
    while (wizard.currentId() == RemedorWiz::ProcessPageId && ticks < 100) {
        page->onTimeOut();
        values.append(progressBar(wizard)->value());
        ++ticks;
    }
    QCOMPARE(ticks, 21);
    QCOMPARE(values.first(), 5);
    QCOMPARE(values.at(19), 100);
    QCOMPARE(completeChanged.count(), 1);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::FinishPageId));
    QVERIFY(!page->findChild<QTimer *>()->isActive());

    page->onTimeOut(); // a stray tick on the hidden page changes nothing
    QCOMPARE(wizard.currentId(), int(RemedorWiz::FinishPageId));
}

void tst_ProcessPage::realTimerReachesTheFinishPage()
{
    RemedorWiz wizard;
    QSignalSpy values(progressBar(wizard), &QProgressBar::valueChanged);
    enterProcessPage(wizard);
    QTRY_COMPARE_WITH_TIMEOUT(wizard.currentId(), int(RemedorWiz::FinishPageId), 20000);
    QList<int> seen;
    for (const QList<QVariant> &arguments : std::as_const(values))
        seen.append(arguments.first().toInt());
    QList<int> expected { 0 };
    for (int v = 5; v <= 100; v += 5)
        expected.append(v);
    QCOMPARE(seen, expected);
}

// Next on the Process page before the first tick would announce a removal that has not
// happened; it waits for the run, and after the run it moves on at once.
void tst_ProcessPage::nextIgnoredUntilTheRunHasHappened()
{
    RemedorWiz wizard;
    enterProcessPage(wizard);
    wizard.page(RemedorWiz::ProcessPageId)->findChild<QTimer *>()->stop();
    QTest::mouseClick(wizard.button(QWizard::NextButton), Qt::LeftButton);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ProcessPageId));

    processPage(wizard)->onTimeOut();
    QCOMPARE(progressBar(wizard)->value(), 5);
    QTest::mouseClick(wizard.button(QWizard::NextButton), Qt::LeftButton);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::FinishPageId));
    QVERIFY(!wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(!wizard.button(QWizard::CancelButton)->isEnabled());
}

// As a user meets it: Next pressed right after the run, then the time passes in which the
// page's own ticks would have counted to 100. Back and Cancel stay off on the Finish page.
void tst_ProcessPage::earlyNextKeepsBackAndCancelOff()
{
    RemedorWiz wizard;
    enterProcessPage(wizard);
    QTRY_COMPARE(progressBar(wizard)->value(), 5); // the first tick, and with it the run
    QTest::mouseClick(wizard.button(QWizard::NextButton), Qt::LeftButton);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::FinishPageId));

    QTest::qWait(21 * ProcessPage::tickInterval + 600);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::FinishPageId));
    QVERIFY(!wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(!wizard.button(QWizard::CancelButton)->isEnabled());
    QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(!processPage(wizard)->findChild<QTimer *>()->isActive());
}

QTEST_MAIN(tst_ProcessPage)
#include "tst_processpage.moc"
