#include "editioncatalogue.h"
#include "finishpage.h"
#include "remedorwiz.h"
#include "runlock.h"
#include "wizardimage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <future>
#include <thread>

class tst_Wizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void shellTexts();
    void pageTexts_data();
    void pageTexts();
    void checkBoxesInFiveRowsOfThree();
    void nextEnabledOnlyWhileABoxIsTicked();
    void selectAndUnselectAll();
    void fieldsFollowBoxes();
    void backToWelcomeClearsTicks();
    void backFromConfirmKeepsTicks();
    void confirmSummary_data();
    void confirmSummary();
    void buttonsOnEveryPage();
    void wizardImages_data();
    void wizardImages();
    void copyFailureReport();
    void secondWizardEndsBeforeItsFirstPage();

private:
    static QList<QCheckBox *> editionBoxes(RemedorWiz &wizard);
    static QString summaryText(RemedorWiz &wizard);
};

namespace {

QString editionName(const char *code)
{
    return QStringLiteral("PELDA+ 2015 ") + QLatin1String(code);
}

void showAndWait(RemedorWiz &wizard)
{
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
}

void clickNext(RemedorWiz &wizard)
{
    QTest::mouseClick(wizard.button(QWizard::NextButton), Qt::LeftButton);
}

void clickBack(RemedorWiz &wizard)
{
    QTest::mouseClick(wizard.button(QWizard::BackButton), Qt::LeftButton);
}

} // namespace

void tst_Wizard::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

QList<QCheckBox *> tst_Wizard::editionBoxes(RemedorWiz &wizard)
{
    QList<QCheckBox *> boxes;
    for (const Edition &edition : EditionCatalogue::editions())
        boxes.append(wizard.page(RemedorWiz::ProductsPageId)
                         ->findChild<QCheckBox *>(EditionCatalogue::displayName(edition)));
    return boxes;
}

QString tst_Wizard::summaryText(RemedorWiz &wizard)
{
    return wizard.page(RemedorWiz::ConfirmPageId)
        ->findChild<QLabel *>(QStringLiteral("summaryLabel"))
        ->text();
}

void tst_Wizard::shellTexts()
{
    RemedorWiz wizard;
    QCOMPARE(wizard.windowTitle(), QStringLiteral("Remedor Wizard"));
    QCOMPARE(wizard.buttonText(QWizard::BackButton), QStringLiteral("< &Back"));
    QCOMPARE(wizard.buttonText(QWizard::NextButton), QStringLiteral("&Next >"));
    QCOMPARE(wizard.buttonText(QWizard::CancelButton), QStringLiteral("&Cancel"));
    QCOMPARE(wizard.buttonText(QWizard::FinishButton), QStringLiteral("&Finish"));
    QCOMPARE(wizard.wizardStyle(), QWizard::ModernStyle);
    QVERIFY(wizard.testOption(QWizard::HaveHelpButton));
    QVERIFY(!wizard.testOption(QWizard::IndependentPages));
    QCOMPARE(wizard.startId(), 0);
    QCOMPARE(wizard.pageIds(), (QList<int> { 0, 1, 2, 3, 4 }));
    QCOMPARE(wizard.pixmap(QWizard::LogoPixmap).size(), QSize(48, 48));
    const int nextIds[] = { 1, 2, 3, 4, -1 };
    for (int id = 0; id < 5; ++id)
        QCOMPARE(wizard.page(id)->nextId(), nextIds[id]);
}

void tst_Wizard::pageTexts_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("subTitle");
    QTest::addColumn<QString>("message"); // the page's main label, where it has one
    QTest::addColumn<bool>("watermark");

    QTest::newRow("welcome") << 0 << "Welcome"
                             << ""
                             << "This tool used to uninstall PELDA+." << true;
    QTest::newRow("products") << 1 << "Select Product"
                              << "Please select a product that you want to uninstall."
                              << "" << false;
    QTest::newRow("confirm") << 2 << "Confirm"
                             << "Confirm what will to do."
                             << "" << false;
    QTest::newRow("process") << 3 << "Process"
                             << "Processing..."
                             << "Processing..." << false;
    QTest::newRow("finish") << 4 << "Finished"
                            << ""
                            << "All operation completed.\n\n\n\nThe files under the installation "
                               "directory, shortcut on the desktop and start menu shortcuts may "
                               "not be deleted, please delete these items manually."
                            << true;
}

void tst_Wizard::pageTexts()
{
    QFETCH(int, id);
    QFETCH(QString, title);
    QFETCH(QString, subTitle);
    QFETCH(QString, message);
    QFETCH(bool, watermark);

    RemedorWiz wizard;
    QWizardPage *page = wizard.page(id);
    QCOMPARE(page->title(), title);
    QCOMPARE(page->subTitle(), subTitle);
    if (!message.isEmpty()) {
        QList<QLabel *> labels = page->findChildren<QLabel *>();
        labels.removeIf([](const QLabel *label) { return label->isHidden(); });
        QCOMPARE(labels.size(), 1); // on the Finish page too, until something failed
        QCOMPARE(labels.first()->text(), message);
        QVERIFY(labels.first()->wordWrap());
    }
    const QPixmap watermarkPixmap = page->pixmap(QWizard::WatermarkPixmap);
    QCOMPARE(watermarkPixmap.isNull(), !watermark);
    if (watermark)
        QCOMPARE(watermarkPixmap.size(), QSize(134, 348));

    if (id == RemedorWiz::ProductsPageId) {
        QCOMPARE(page->findChild<QPushButton *>(QStringLiteral("selectAllButton"))->text(),
                 QStringLiteral("Select &all"));
        QCOMPARE(page->findChild<QPushButton *>(QStringLiteral("unselectAllButton"))->text(),
                 QStringLiteral("&Unselect all"));
    }
    if (id == RemedorWiz::ConfirmPageId) {
        auto *hint = page->findChild<QLabel *>(QStringLiteral("hintLabel"));
        QCOMPARE(hint->text(), QStringLiteral("Click \"Next\" to start."));
        QVERIFY(!hint->wordWrap());
        QVERIFY(summaryText(wizard).isEmpty());
    }
}

void tst_Wizard::checkBoxesInFiveRowsOfThree()
{
    RemedorWiz wizard;
    showAndWait(wizard);
    clickNext(wizard);
    const QList<QCheckBox *> boxes = editionBoxes(wizard);
    QCOMPARE(boxes.size(), 15);
    for (int i = 0; i < boxes.size(); ++i) {
        QVERIFY(boxes[i]);
        QCOMPARE(boxes[i]->text(), EditionCatalogue::displayName(EditionCatalogue::editions()[i]));
        QVERIFY(!boxes[i]->isChecked());
        QVERIFY(!boxes[i]->isTristate());
        const QCheckBox *rowStart = boxes[i - i % 3];
        QCOMPARE(boxes[i]->y(), rowStart->y());
        if (i % 3 != 0)
            QVERIFY(boxes[i]->x() > boxes[i - 1]->x());
        if (i >= 3)
            QVERIFY(boxes[i]->y() > boxes[i - 3]->y());
    }
    auto *selectAll
        = wizard.currentPage()->findChild<QPushButton *>(QStringLiteral("selectAllButton"));
    auto *unselectAll
        = wizard.currentPage()->findChild<QPushButton *>(QStringLiteral("unselectAllButton"));
    QVERIFY(selectAll->y() >= boxes.last()->geometry().bottom() + 20);
    QCOMPARE(unselectAll->y(), selectAll->y());
    QVERIFY(unselectAll->x() > selectAll->x());
    QVERIFY(unselectAll->geometry().right() < wizard.currentPage()->width() / 2);
}

void tst_Wizard::nextEnabledOnlyWhileABoxIsTicked()
{
    RemedorWiz wizard;
    showAndWait(wizard);
    clickNext(wizard);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ProductsPageId));
    QAbstractButton *next = wizard.button(QWizard::NextButton);
    QVERIFY(!next->isEnabled());
    clickNext(wizard); // disabled: nothing happens
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ProductsPageId));

    const QList<QCheckBox *> boxes = editionBoxes(wizard);
    for (QCheckBox *box : boxes) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        QVERIFY(box->isChecked());
        QVERIFY(next->isEnabled());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        QVERIFY(!next->isEnabled());
    }
    boxes[3]->click();
    boxes[9]->click();
    boxes[3]->click();
    QVERIFY(next->isEnabled()); // one still ticked
}

void tst_Wizard::selectAndUnselectAll()
{
    RemedorWiz wizard;
    showAndWait(wizard);
    clickNext(wizard);
    QWizardPage *page = wizard.currentPage();
    auto *selectAll = page->findChild<QPushButton *>(QStringLiteral("selectAllButton"));
    auto *unselectAll = page->findChild<QPushButton *>(QStringLiteral("unselectAllButton"));
    const QList<QCheckBox *> boxes = editionBoxes(wizard);
    QSignalSpy completeChanged(page, &QWizardPage::completeChanged);

    QTest::mouseClick(selectAll, Qt::LeftButton);
    QCOMPARE(completeChanged.count(), 15);
    QVERIFY(std::all_of(boxes.cbegin(), boxes.cend(), [](QCheckBox *b) { return b->isChecked(); }));
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());

    completeChanged.clear();
    QTest::mouseClick(selectAll, Qt::LeftButton); // all ticked already
    QCOMPARE(completeChanged.count(), 0);

    QTest::mouseClick(unselectAll, Qt::LeftButton);
    QCOMPARE(completeChanged.count(), 15);
    QVERIFY(
        std::none_of(boxes.cbegin(), boxes.cend(), [](QCheckBox *b) { return b->isChecked(); }));
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());

    boxes[0]->click();
    boxes[14]->click();
    completeChanged.clear();
    QTest::mouseClick(selectAll, Qt::LeftButton);
    QCOMPARE(completeChanged.count(), 13);
}

void tst_Wizard::fieldsFollowBoxes()
{
    RemedorWiz wizard;
    showAndWait(wizard);
    clickNext(wizard);
    const QList<QCheckBox *> boxes = editionBoxes(wizard);
    QWizardPage *page = wizard.currentPage();
    for (QCheckBox *box : boxes)
        QCOMPARE(wizard.field(box->text()), QVariant(false));
    boxes[4]->click();
    for (QCheckBox *box : boxes)
        QCOMPARE(wizard.field(box->text()).toBool(), box == boxes[4]);
    QTest::mouseClick(page->findChild<QPushButton *>(QStringLiteral("selectAllButton")),
                      Qt::LeftButton);
    for (QCheckBox *box : boxes)
        QCOMPARE(wizard.field(box->text()), QVariant(true));
    QTest::ignoreMessage(QtWarningMsg, "QWizard::field: No such field 'PELDA+ 2015 '");
    QVERIFY(!wizard.field(QStringLiteral("PELDA+ 2015 ")).isValid()); // no such field
}

void tst_Wizard::backToWelcomeClearsTicks()
{
    RemedorWiz wizard;
    showAndWait(wizard);
    clickNext(wizard);
    editionBoxes(wizard)[2]->click();
    editionBoxes(wizard)[7]->click();
    clickBack(wizard);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::WelcomePageId));
    clickNext(wizard);
    for (QCheckBox *box : editionBoxes(wizard))
        QVERIFY(!box->isChecked());
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
}

void tst_Wizard::backFromConfirmKeepsTicks()
{
    RemedorWiz wizard;
    showAndWait(wizard);
    clickNext(wizard);
    editionBoxes(wizard)[2]->click();
    clickNext(wizard);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ConfirmPageId));
    clickBack(wizard);
    QVERIFY(editionBoxes(wizard)[2]->isChecked());
    QVERIFY(wizard.field(editionName("CSY")).toBool());
}

void tst_Wizard::confirmSummary_data()
{
    QTest::addColumn<QList<int>>("tickOrder"); // catalogue indexes, in the order clicked
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("one") << QList<int> { 3 } << QStringList { editionName("DEU") };
    QTest::newRow("ticked out of order")
        << QList<int> { 14, 0, 6 }
        << QStringList { editionName("CHS"), editionName("FRA"), editionName("TRK") };
    QStringList all;
    for (const Edition &edition : EditionCatalogue::editions())
        all.append(EditionCatalogue::displayName(edition));
    QTest::newRow("all, backwards")
        << QList<int> { 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0 } << all;
}

void tst_Wizard::confirmSummary()
{
    QFETCH(QList<int>, tickOrder);
    QFETCH(QStringList, listed);

    RemedorWiz wizard;
    showAndWait(wizard);
    clickNext(wizard);
    for (int index : tickOrder)
        editionBoxes(wizard)[index]->click();
    clickNext(wizard);

    QString expected = QStringLiteral("All the registry information of the following products will "
                                      "be removed from this computer.\n");
    for (const QString &name : listed)
        expected += QLatin1Char('\t') + name + QLatin1Char('\n');
    QCOMPARE(summaryText(wizard), expected);

    // Rebuilt on the next visit, never accumulated.
    clickBack(wizard);
    QTest::mouseClick(
        wizard.currentPage()->findChild<QPushButton *>(QStringLiteral("unselectAllButton")),
        Qt::LeftButton);
    editionBoxes(wizard)[10]->click();
    clickNext(wizard);
    QCOMPARE(summaryText(wizard),
             QStringLiteral("All the registry information of the following products will be "
                            "removed from this computer.\n\tPELDA+ 2015 KOR\n"));
}

void tst_Wizard::buttonsOnEveryPage()
{
    RemedorWiz wizard;
    showAndWait(wizard);
    auto back = [&] {
        return wizard.button(QWizard::BackButton);
    };
    auto cancel = [&] {
        return wizard.button(QWizard::CancelButton);
    };
    auto help = [&] {
        return wizard.button(QWizard::HelpButton);
    };

    QCOMPARE(wizard.currentId(), int(RemedorWiz::WelcomePageId));
    QVERIFY(!back()->isEnabled());
    QVERIFY(cancel()->isEnabled());
    QVERIFY(!help()->isVisible());

    clickNext(wizard);
    editionBoxes(wizard)[0]->click();
    QVERIFY(back()->isEnabled());
    QVERIFY(cancel()->isEnabled());
    QVERIFY(!help()->isVisible());

    clickNext(wizard);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ConfirmPageId));
    QVERIFY(back()->isEnabled());
    QVERIFY(cancel()->isEnabled());
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
    QVERIFY(!help()->isVisible());

    // Untick behind the page's back, so that the run touches neither registry nor installer.
    wizard.setField(editionName("CHS"), false);
    clickNext(wizard);
    QCOMPARE(wizard.currentId(), int(RemedorWiz::ProcessPageId));
    QVERIFY(!back()->isEnabled());
    QVERIFY(!cancel()->isEnabled());
    QVERIFY(!help()->isVisible());

    QTRY_COMPARE_WITH_TIMEOUT(wizard.currentId(), int(RemedorWiz::FinishPageId), 30000);
    QVERIFY(!back()->isEnabled());
    QVERIFY(!cancel()->isEnabled());
    QVERIFY(!help()->isVisible());
    QVERIFY(wizard.button(QWizard::FinishButton)->isVisible());
    QCOMPARE(wizard.button(QWizard::FinishButton)->text(), QStringLiteral("&Finish"));

    QTest::mouseClick(wizard.button(QWizard::FinishButton), Qt::LeftButton);
    QVERIFY(!wizard.isVisible());
    QCOMPARE(wizard.result(), int(QDialog::Accepted));
}

void tst_Wizard::wizardImages_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("logo") << ":/Remedor/Resources/images/logo.png" << QSize(48, 48);
    QTest::newRow("watermark") << ":/Remedor/Resources/images/watermark.png" << QSize(134, 348);
    QTest::newRow("missing") << ":/Remedor/Resources/images/missing.png" << QSize();
}

void tst_Wizard::wizardImages()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QPixmap pixmap = WizardImage::load(path);
    QCOMPARE(pixmap.isNull(), size.isEmpty());
    if (pixmap.isNull())
        return;
    QCOMPARE(pixmap.size(), size);
    QCOMPARE(WizardImage::load(path).cacheKey(), pixmap.cacheKey()); // read once
}

// The Finish page's report goes to the clipboard as plain text, one line a line, in the list's
// order: the selected lines by Ctrl+C anywhere in the window, or every line, headings
// included, by the context menu's Copy when none is selected.
void tst_Wizard::copyFailureReport()
{
    FinishPage finish;
    finish.show();
    QVERIFY(QTest::qWaitForWindowActive(&finish));
    const QString key = "HKEY_CLASSES_ROOT\\Installer\\Products\\2D7C14B6200B13011B20E7390A5C8D41";
    finish.showReport({ { editionName("DEU"), InstallerOutcome::Crashed, 0 },
                        { editionName("FRA"), InstallerOutcome::Failed, 1603 } },
                      { { key, KeyRemoval::Failed, "Access is denied. (error 5)" } });
    auto *list = finish.findChild<QListWidget *>(QStringLiteral("failureList"));
    list->item(4)->setSelected(true);
    list->item(2)->setSelected(true);
    QTest::keyClick(&finish, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             "PELDA+ 2015 FRA: the uninstaller ended with exit code 1603.\n" + key
                 + ": Access is denied. (error 5)");

    list->clearSelection();
    QCOMPARE(list->contextMenuPolicy(), Qt::ActionsContextMenu);
    list->actions().value(0)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             "Some packages could not be uninstalled cleanly:\nPELDA+ 2015 DEU: the uninstaller "
             "stopped unexpectedly.\nPELDA+ 2015 FRA: the uninstaller ended with exit code 1603.\n"
             "Some registry keys could not be removed:\n"
                 + key + ": Access is denied. (error 5)");
}

// While another run holds the machine's run lock (another thread's here: on Windows a mutex is
// its own thread's), the wizard says so and must not start.
void tst_Wizard::secondWizardEndsBeforeItsFirstPage()
{
    QTemporaryDir folder;
    qputenv("REMEDOR_REGISTRY", QFile::encodeName(folder.filePath("registry.reg")));
    std::promise<RunLock::Outcome> held;
    std::promise<void> done;
    std::thread holder([&held, finished = done.get_future()] {
        RunLock lock;
        held.set_value(lock.acquire());
        finished.wait();
    });
    const RunLock::Outcome first = held.get_future().get();
    QString said;
    QTimer::singleShot(0, [&said] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        said = box ? box->text() : QString();
        if (box)
            box->close();
    });
    RunLock second;
    const bool started = RemedorWiz::takeRunLock(second);
    done.set_value();
    holder.join();
    qputenv("REMEDOR_REGISTRY", "");
    QCOMPARE(first, RunLock::Outcome::Held);
    QVERIFY(!started);
    QCOMPARE(said, "Another Remedor run is in progress. Try again when it has ended.");
}

QTEST_MAIN(tst_Wizard)
#include "tst_wizard.moc"
