#include "remedorwiz.h"
#include "startuparguments.h"
#include "translationloader.h"

#include <QtTest>

// Each fixture file translates the window title to "Remedor Wizard <code>".
class tst_TranslationLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void priorityOrder();
    void choice_data();
    void choice();
    void onlyTheGivenFolderIsSearched();
    void noFileShowsTheSourceTexts();
    void qtOptionsAreDropped_data();
    void qtOptionsAreDropped();

private:
    static void copyFixture(const QString &code, const QString &folder, QString name = QString());
};

void tst_TranslationLoader::copyFixture(const QString &code, const QString &folder, QString name)
{
    const QString fixture = QStringLiteral("remedor_%1.qm").arg(code);
    if (name.isEmpty())
        name = fixture;
    QVERIFY(QFile::copy(QStringLiteral(REMEDOR_FIXTURE_QM_DIR "/") + fixture,
                        folder + QLatin1Char('/') + name));
}

void tst_TranslationLoader::priorityOrder()
{
    const QStringList expected
        = { "remedor_chs", "remedor_cht", "remedor_enu", "remedor_csy", "remedor_deu",
            "remedor_esn", "remedor_fra", "remedor_hun", "remedor_ita", "remedor_jpn",
            "remedor_kor", "remedor_plk", "remedor_ptb", "remedor_rus", "remedor_trk" };
    QCOMPARE(TranslationLoader::baseNames(), expected);
}

void tst_TranslationLoader::choice_data()
{
    QTest::addColumn<QStringList>("validFiles");
    QTest::addColumn<QStringList>("invalidFiles");
    QTest::addColumn<QString>("chosen"); // empty: none

    const QStringList all = { "chs", "cht", "csy", "deu", "enu", "esn", "fra", "hun",
                              "ita", "jpn", "kor", "plk", "ptb", "rus", "trk" };
    QTest::newRow("all fifteen") << all << QStringList() << "chs";
    QTest::newRow("english before czech") << QStringList { "csy", "enu" } << QStringList() << "enu";
    QTest::newRow("invalid first is passed over")
        << QStringList { "cht" } << QStringList { "chs" } << "cht";
    QTest::newRow("only invalid") << QStringList() << QStringList { "chs", "trk" } << "";
    QTest::newRow("last in order") << QStringList { "trk" } << QStringList() << "trk";
    QTest::newRow("none") << QStringList() << QStringList() << "";
}

void tst_TranslationLoader::choice()
{
    QFETCH(QStringList, validFiles);
    QFETCH(QStringList, invalidFiles);
    QFETCH(QString, chosen);

    QTemporaryDir folder;
    for (const QString &code : validFiles)
        copyFixture(code, folder.path());
    for (const QString &code : invalidFiles) {
        QFile file(folder.filePath(QStringLiteral("remedor_%1.qm").arg(code)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a translation file");
    }
    // A shorter name that QTranslator would fall back to must never be taken.
    copyFixture(QStringLiteral("kor"), folder.path(), QStringLiteral("remedor.qm"));

    QTranslator translator;
    const QString path = TranslationLoader::loadFirst(translator, folder.path());
    if (chosen.isEmpty()) {
        QVERIFY(path.isEmpty());
        QVERIFY(translator.isEmpty());
        return;
    }
    QCOMPARE(path, folder.path() + QStringLiteral("/remedor_%1.qm").arg(chosen));
    QCOMPARE(translator.translate("RemedorWiz", "Remedor Wizard"),
             QStringLiteral("Remedor Wizard ") + chosen);

    QCoreApplication::installTranslator(&translator);
    RemedorWiz wizard;
    QCOMPARE(wizard.windowTitle(), QStringLiteral("Remedor Wizard ") + chosen);
    QCoreApplication::removeTranslator(&translator);
}

void tst_TranslationLoader::onlyTheGivenFolderIsSearched()
{
    QTemporaryDir current;
    QTemporaryDir programFolder;
    copyFixture(QStringLiteral("chs"), current.path());
    const QString saved = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    QTranslator translator;
    const QString path = TranslationLoader::loadFirst(translator, programFolder.path());
    QDir::setCurrent(saved);
    QVERIFY(path.isEmpty());
    QVERIFY(translator.isEmpty());
}

void tst_TranslationLoader::noFileShowsTheSourceTexts()
{
    QTemporaryDir folder;
    QTranslator translator;
    TranslationLoader::loadFirst(translator, folder.path());
    QCoreApplication::installTranslator(&translator);
    RemedorWiz wizard;
    QCOMPARE(wizard.windowTitle(), QStringLiteral("Remedor Wizard"));
    QCOMPARE(wizard.buttonText(QWizard::NextButton), QStringLiteral("&Next >"));
    QCoreApplication::removeTranslator(&translator);
}

void tst_TranslationLoader::qtOptionsAreDropped_data()
{
    QTest::addColumn<QByteArrayList>("given");
    QTest::addColumn<QByteArrayList>("kept");

    const QByteArrayList own = { "remedor", "remove", "DEU", "--log", "C:\\a.log" };
    QTest::newRow("the program's own") << own << own;
    QTest::newRow("a plug-in folder, two dashes, inline values") << QByteArrayList {
        "remedor", "-platformpluginpath", "C:\\p", "--style=x", "--stylesheet", "s.qss", "list"
    } << QByteArrayList { "remedor", "list" };
    QTest::newRow("flags, a value like an option, the last without one")
        << QByteArrayList { "remedor", "-reverse", "--widgetcount", "-platform",
                            "-x",      "list",     "-plugin" }
        << QByteArrayList { "remedor", "list" };
}

// What the Windows start-up hands Qt: none of its options, with their values.
void tst_TranslationLoader::qtOptionsAreDropped()
{
    QFETCH(QByteArrayList, given);
    QFETCH(QByteArrayList, kept);

    std::vector<char *> argv;
    for (QByteArray &argument : given)
        argv.push_back(argument.data());
    std::vector<char *> result = StartupArguments::withoutQtOptions(int(argv.size()), argv.data());
    QCOMPARE(result.back(), nullptr);
    result.pop_back();
    QCOMPARE(QByteArrayList(result.begin(), result.end()), kept);
}

QTEST_MAIN(tst_TranslationLoader)
#include "tst_translationloader.moc"
