#include "editioncatalogue.h"
#include "finishpage.h"
#include "processpage.h"
#include "remedorwiz.h"
#include "translationloader.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QtTest>

// The fifteen shipped translations: complete, faithful to the source texts' structure, with
// usable keyboard mnemonics, and actually shown by the wizard.
class tst_Translations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void everyTextTranslated_data();
    void everyTextTranslated();
    void mnemonicsUniqueOnEachPage_data();
    void mnemonicsUniqueOnEachPage();
    void wizardShowsTheTranslation_data();
    void wizardShowsTheTranslation();
    void noClippedText_data();
    void noClippedText();
    void failureReportFits_data();
    void failureReportFits();
    void priorityWithTheRealFiles_data();
    void priorityWithTheRealFiles();

private:
    static void addLanguages();
    static void addLanguagesAtScales();
    static void runAtScale(qreal scale);
    static QString qmPath(const QString &code);
};

namespace {

struct SourceText
{
    const char *context;
    const char *source;
};

const SourceText sourceTexts[] = {
    { "RemedorWiz", "Remedor Wizard" },
    { "RemedorWiz", "< &Back" },
    { "RemedorWiz", "&Next >" },
    { "RemedorWiz", "&Cancel" },
    { "RemedorWiz", "&Finish" },
    { "WelcomePage", "Welcome" },
    { "WelcomePage", "This tool used to uninstall PELDA+." },
    { "ProductsPage", "Select Product" },
    { "ProductsPage", "Please select a product that you want to uninstall." },
    { "ProductsPage", "Select &all" },
    { "ProductsPage", "&Unselect all" },
    { "ConfirmPage", "Confirm" },
    { "ConfirmPage", "Confirm what will to do." },
    { "ConfirmPage", "Click \"Next\" to start." },
    { "ConfirmPage",
      "All the registry information of the following products will be removed from this "
      "computer.\n" },
    { "ProcessPage", "Process" },
    { "ProcessPage", "Processing..." },
    { "FinishPage", "Finished" },
    { "FinishPage",
      "All operation completed.\n\n\n\nThe files under the installation directory, shortcut on the "
      "desktop and start menu shortcuts may not be deleted, please delete these items manually." },
    { "FinishPage", "Some packages could not be uninstalled cleanly:" },
    { "FinishPage", "%1: the uninstaller could not be started." },
    { "FinishPage", "%1: the uninstaller stopped unexpectedly." },
    { "FinishPage", "%1: the uninstaller ended with exit code %2." },
    { "FinishPage", "Please restart the computer to complete the removal." },
    { "FinishPage", "Some registry keys could not be removed:" },
    { "FinishPage", "&Copy" },
};

// Where a language really keeps the English word, or English keeps the source wording.
const QHash<QString, QStringList> keptAsSource = {
    { "enu",
      { "Remedor Wizard",
        "< &Back",
        "&Next >",
        "&Cancel",
        "&Finish",
        "Welcome",
        "Select Product",
        "Select &all",
        "&Unselect all",
        "Confirm",
        "Click \"Next\" to start.",
        "Process",
        "Processing...",
        "Finished",
        "All the registry information of the following products will be removed from this "
        "computer.\n",
        "Some packages could not be uninstalled cleanly:",
        "%1: the uninstaller could not be started.",
        "%1: the uninstaller stopped unexpectedly.",
        "%1: the uninstaller ended with exit code %2.",
        "Please restart the computer to complete the removal.",
        "Some registry keys could not be removed:",
        "&Copy" } },
};

QChar mnemonic(const QString &text)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("&([^&])")).match(text);
    return match.hasMatch() ? match.captured(1).at(0).toLower() : QChar();
}

} // namespace

void tst_Translations::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString tst_Translations::qmPath(const QString &code)
{
    return QStringLiteral(REMEDOR_RELEASE_QM_DIR "/remedor_%1.qm").arg(code);
}

void tst_Translations::addLanguages()
{
    QTest::addColumn<QString>("code");
    for (const QString &baseName : TranslationLoader::baseNames())
        QTest::newRow(qPrintable(baseName)) << baseName.mid(8);
}

// Each language at 100 %, 150 % and 200 %, the usual display scales of Windows laptops.
void tst_Translations::addLanguagesAtScales()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<qreal>("scale");
    for (const QString &baseName : TranslationLoader::baseNames()) {
        for (const qreal scale : { 1.0, 1.5, 2.0 })
            QTest::addRow("%s %d%%", qPrintable(baseName.mid(8)), int(scale * 100))
                << baseName.mid(8) << scale;
    }
}

// Qt reads QT_SCALE_FACTOR only at start-up: a row at another scale than this process's runs
// in a child process of this program started with it.
void tst_Translations::runAtScale(qreal scale)
{
    QVERIFY2(!qEnvironmentVariableIsSet("QT_SCALE_FACTOR"), "QT_SCALE_FACTOR did not apply");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QCoreApplication::applicationFilePath(),
        { QStringLiteral("%1:%2").arg(QTest::currentTestFunction(), QTest::currentDataTag()) });
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitCode() == 0 && output.contains("Totals: 3 passed"), output.constData());
}

void tst_Translations::everyTextTranslated_data()
{
    addLanguages();
}

void tst_Translations::everyTextTranslated()
{
    QFETCH(QString, code);
    QTranslator translator;
    QVERIFY(translator.load(qmPath(code)));
    for (const SourceText &text : sourceTexts) {
        const QString source = QString::fromUtf8(text.source);
        const QString translation = translator.translate(text.context, text.source);
        const QByteArray where = QByteArray(text.context) + ": " + text.source;
        QVERIFY2(!translation.isEmpty(), where.constData());
        if (translation == source)
            QVERIFY2(keptAsSource.value(code).contains(source),
                     ("identical to the source: " + where).constData());
        QCOMPARE(translation.count(QLatin1String("%1")), source.count(QLatin1String("%1")));
        QCOMPARE(translation.count(QLatin1String("%2")), source.count(QLatin1String("%2")));
        QCOMPARE(translation.count(QLatin1Char('\n')), source.count(QLatin1Char('\n')));
        QCOMPARE(translation.endsWith(QLatin1Char('\n')), source.endsWith(QLatin1Char('\n')));
        QVERIFY2(!translation.contains(QLatin1String("PELDA+"))
                     || source.contains(QLatin1String("PELDA+")),
                 where.constData());
    }
    const QString finish = translator.translate("FinishPage", sourceTexts[18].source);
    QVERIFY(finish.contains(QLatin1String("\n\n\n\n"))); // three empty lines between paragraphs
}

void tst_Translations::mnemonicsUniqueOnEachPage_data()
{
    addLanguages();
}

// The buttons that show together: Back, Next or Finish, Cancel, and on the Products page
// the two selection buttons. Each has a mnemonic, and no two share one.
void tst_Translations::mnemonicsUniqueOnEachPage()
{
    QFETCH(QString, code);
    QTranslator translator;
    QVERIFY(translator.load(qmPath(code)));
    const QString back = translator.translate("RemedorWiz", "< &Back");
    const QString next = translator.translate("RemedorWiz", "&Next >");
    const QString cancel = translator.translate("RemedorWiz", "&Cancel");
    const QString finish = translator.translate("RemedorWiz", "&Finish");
    const QString selectAll = translator.translate("ProductsPage", "Select &all");
    const QString unselectAll = translator.translate("ProductsPage", "&Unselect all");

    const QList<QStringList> pages = { { back, next, cancel },
                                       { back, next, cancel, selectAll, unselectAll },
                                       { back, finish, cancel } };
    for (const QStringList &buttons : pages) {
        QSet<QChar> seen;
        for (const QString &button : buttons) {
            const QChar key = mnemonic(button);
            QVERIFY2(!key.isNull(), qPrintable(button + QStringLiteral(": no mnemonic")));
            QVERIFY2(!seen.contains(key), qPrintable(button + QStringLiteral(": mnemonic taken")));
            seen.insert(key);
        }
    }
    // The hint names the Next button as it reads, without its mnemonic and arrow.
    QString nextLabel = next;
    nextLabel.remove(QLatin1Char('&'))
        .remove(QLatin1Char('>'))
        .remove(QRegularExpression(QStringLiteral("\\(.\\)")));
    QVERIFY2(translator.translate("ConfirmPage", "Click \"Next\" to start.")
                 .contains(nextLabel.trimmed()),
             qPrintable(nextLabel));
}

void tst_Translations::wizardShowsTheTranslation_data()
{
    addLanguages();
}

void tst_Translations::wizardShowsTheTranslation()
{
    QFETCH(QString, code);
    QTranslator translator;
    QVERIFY(translator.load(qmPath(code)));
    QCoreApplication::installTranslator(&translator);
    {
        RemedorWiz wizard;
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        QCOMPARE(wizard.windowTitle(), translator.translate("RemedorWiz", "Remedor Wizard"));
        QCOMPARE(wizard.button(QWizard::NextButton)->text(),
                 translator.translate("RemedorWiz", "&Next >"));
        QCOMPARE(wizard.page(RemedorWiz::WelcomePageId)->title(),
                 translator.translate("WelcomePage", "Welcome"));
        QCOMPARE(wizard.page(RemedorWiz::ProcessPageId)->subTitle(),
                 translator.translate("ProcessPage", "Processing..."));
        QCOMPARE(wizard.page(RemedorWiz::FinishPageId)->findChild<QLabel *>()->text(),
                 translator.translate("FinishPage", sourceTexts[18].source));
        if (code != QLatin1String("enu"))
            QVERIFY(wizard.page(RemedorWiz::ProductsPageId)->title()
                    != QLatin1String("Select Product"));

        wizard.next();
        const QList<QCheckBox *> boxes = wizard.currentPage()->findChildren<QCheckBox *>();
        QCOMPARE(boxes.size(), 15);
        for (int i = 0; i < boxes.size(); ++i) // edition names are never translated
            QCOMPARE(boxes[i]->text(),
                     EditionCatalogue::displayName(EditionCatalogue::editions()[i]));
        boxes[3]->click();
        wizard.next();
        QCOMPARE(wizard.currentPage()->findChild<QLabel *>(QStringLiteral("summaryLabel"))->text(),
                 translator.translate("ConfirmPage", sourceTexts[14].source)
                     + QStringLiteral("\tPELDA+ 2015 DEU\n"));
    }
    QCoreApplication::removeTranslator(&translator);
}

void tst_Translations::noClippedText_data()
{
    addLanguagesAtScales();
}

// At the wizard's default size every button, check box and label of every page shows its
// whole text in every language, at every display scale; and the images are as sharp as the
// display: drawn from a picture of the display's own pixel ratio, the @2x rendering at 200 %.
void tst_Translations::noClippedText()
{
    QFETCH(QString, code);
    QFETCH(qreal, scale);
    if (!qFuzzyCompare(qGuiApp->devicePixelRatio(), scale))
        return runAtScale(scale);
    QTranslator translator;
    QVERIFY(translator.load(qmPath(code)));
    QCoreApplication::installTranslator(&translator);
    {
        RemedorWiz wizard;
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        auto checkPage = [&wizard] {
            for (QAbstractButton *button : wizard.findChildren<QAbstractButton *>()) {
                if (button->isVisible() && !button->text().isEmpty())
                    QVERIFY2(button->width() >= button->sizeHint().width(),
                             qPrintable(button->text()));
            }
            for (QLabel *label : wizard.findChildren<QLabel *>()) {
                if (!label->isVisible() || label->text().isEmpty())
                    continue;
                if (label->wordWrap())
                    QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                             qPrintable(label->text()));
                else
                    QVERIFY2(label->width() >= label->sizeHint().width(),
                             qPrintable(label->text()));
            }
        };
        checkPage(); // Welcome
        const QPixmap watermark = wizard.currentPage()->pixmap(QWizard::WatermarkPixmap);
        QCOMPARE(watermark.devicePixelRatio(), scale);
        QCOMPARE(watermark.deviceIndependentSize().toSize(), QSize(134, 348));
        QCOMPARE(wizard.pixmap(QWizard::LogoPixmap).devicePixelRatio(), scale);
        if (scale == 2.0) // the @2x rendering itself, not the 100 % picture stretched
            QCOMPARE(watermark.toImage(),
                     QImage(QStringLiteral(":/Remedor/Resources/images/watermark@2x.png"))
                         .convertToFormat(watermark.toImage().format()));
        wizard.next();
        wizard.setField(QStringLiteral("PELDA+ 2015 ENU"), true);
        checkPage(); // Products
        wizard.next();
        wizard.setField(QStringLiteral("PELDA+ 2015 ENU"), false); // nothing to remove
        checkPage(); // Confirm
        wizard.next();
        checkPage(); // Process
        auto *process = qobject_cast<ProcessPage *>(wizard.currentPage());
        QVERIFY(process);
        for (int tick = 0; tick < 30 && wizard.currentId() == RemedorWiz::ProcessPageId; ++tick)
            process->onTimeOut();
        QCOMPARE(wizard.currentId(), int(RemedorWiz::FinishPageId));
        checkPage(); // Finish
    }
    QCoreApplication::removeTranslator(&translator);
}

void tst_Translations::failureReportFits_data()
{
    addLanguagesAtScales();
}

// Every package failed (another installation was in progress) and a few keys could not be
// removed: at the default size the message still shows whole and first, and every line of
// the report can be reached in a list that keeps room for several lines.
void tst_Translations::failureReportFits()
{
    QFETCH(QString, code);
    QFETCH(qreal, scale);
    if (!qFuzzyCompare(qGuiApp->devicePixelRatio(), scale))
        return runAtScale(scale);
    QTranslator translator;
    QVERIFY(translator.load(qmPath(code)));
    QCoreApplication::installTranslator(&translator);
    {
        RemedorWiz wizard;
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        auto *finish = qobject_cast<FinishPage *>(wizard.page(RemedorWiz::FinishPageId));
        QVERIFY(finish);
        wizard.next();
        wizard.setField(QStringLiteral("PELDA+ 2015 ENU"), true);
        wizard.next();
        wizard.setField(QStringLiteral("PELDA+ 2015 ENU"), false);
        wizard.next();
        auto *process = qobject_cast<ProcessPage *>(wizard.currentPage());
        QVERIFY(process);
        for (int tick = 0; tick < 30 && wizard.currentId() == RemedorWiz::ProcessPageId; ++tick)
            process->onTimeOut();
        QCOMPARE(wizard.currentId(), int(RemedorWiz::FinishPageId));

        InstallerOutcomes outcomes;
        for (const Edition &edition : EditionCatalogue::editions())
            outcomes.append(
                { EditionCatalogue::displayName(edition), InstallerOutcome::Failed, 1618 });
        outcomes.append({ EditionCatalogue::suiteDisplayName(), InstallerOutcome::Failed, 1618 });
        outcomes[3].status = InstallerOutcome::RestartRequired;
        const QString uninstall = QStringLiteral(
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
        const KeyRemovals keys = {
            { uninstall + "{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}", KeyRemoval::Failed,
              "Access is denied. (error 5)" },
            { uninstall + "{6B41C7D2-B002-1031-B102-7E93A0C5D814}", KeyRemoval::Failed,
              "Access is denied. (error 5)" },
            { "HKEY_CLASSES_ROOT\\Installer\\Products\\2D7C14B6200B13011B20E7390A5C8D41",
              KeyRemoval::Failed, "Access is denied. (error 5)" },
        };
        finish->showReport(outcomes, keys);
        QCoreApplication::processEvents();

        auto *message = finish->findChild<QLabel *>(QStringLiteral("messageLabel"));
        QCOMPARE(message->text(), translator.translate("FinishPage", sourceTexts[18].source));
        QVERIFY2(message->height() >= message->heightForWidth(message->width()),
                 "the message is cut off");
        QVERIFY(message->geometry().top() >= 0);

        auto *list = finish->findChild<QListWidget *>(QStringLiteral("failureList"));
        QVERIFY(list->isVisible());
        QCOMPARE(list->count(), 2 + 15 + 3); // two headings, fifteen packages, three keys
        QCOMPARE(
            list->item(0)->text(),
            translator.translate("FinishPage", "Some packages could not be uninstalled cleanly:"));
        QCOMPARE(list->item(16)->text(),
                 translator.translate("FinishPage", "Some registry keys could not be removed:"));
        QVERIFY(list->geometry().top() >= message->geometry().bottom());
        // Room for several whole lines, and a way to every other one.
        QVERIFY2(list->viewport()->height() >= 3 * list->sizeHintForRow(1),
                 qPrintable(QStringLiteral("list viewport %1 px").arg(list->viewport()->height())));
        if (!qEnvironmentVariableIsEmpty("REMEDOR_GRAB"))
            wizard.grab().save(qEnvironmentVariable("REMEDOR_GRAB") + QTest::currentDataTag()
                               + ".png");
        int widest = 0;
        for (int row = 0; row < list->count(); ++row) {
            list->scrollToItem(list->item(row));
            const QRect itemRect = list->visualItemRect(list->item(row));
            QVERIFY2(itemRect.top() >= 0 && itemRect.bottom() <= list->viewport()->height(),
                     qPrintable(list->item(row)->text()));
            widest = qMax(widest, itemRect.width());
        }
        QVERIFY(list->horizontalScrollBar()->maximum() + list->viewport()->width() >= widest);

        auto *restart = finish->findChild<QLabel *>(QStringLiteral("restartLabel"));
        QVERIFY(restart->isVisible());
        QVERIFY(restart->geometry().top() >= list->geometry().bottom());
        QVERIFY2(restart->height() >= restart->heightForWidth(restart->width()),
                 qPrintable(restart->text()));
        QVERIFY(restart->geometry().bottom() <= finish->height());
    }
    QCoreApplication::removeTranslator(&translator);
}

void tst_Translations::priorityWithTheRealFiles_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("chosen");
    QStringList all;
    for (const QString &baseName : TranslationLoader::baseNames())
        all.append(baseName.mid(8));
    QTest::newRow("all fifteen") << all << "chs";
    QTest::newRow("english and czech") << QStringList { "csy", "enu" } << "enu";
    QTest::newRow("german alone") << QStringList { "deu" } << "deu";
}

void tst_Translations::priorityWithTheRealFiles()
{
    QFETCH(QStringList, present);
    QFETCH(QString, chosen);
    QTemporaryDir folder;
    for (const QString &code : present)
        QVERIFY(
            QFile::copy(qmPath(code), folder.filePath(QStringLiteral("remedor_%1.qm").arg(code))));
    QTranslator translator;
    QCOMPARE(TranslationLoader::loadFirst(translator, folder.path()),
             folder.filePath(QStringLiteral("remedor_%1.qm").arg(chosen)));
    QTranslator expected;
    QVERIFY(expected.load(qmPath(chosen)));
    QCOMPARE(translator.translate("WelcomePage", "Welcome"),
             expected.translate("WelcomePage", "Welcome"));
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
