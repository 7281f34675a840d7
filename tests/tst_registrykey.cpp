#include "processpage.h"
#include "registrykey.h"
#include "registrypaths.h"
#include "registrysandbox.h"

#include <QtTest>

// Key removal on the registry stand-in: exactly the named child goes, with its subtree.
class tst_RegistryKey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removeRegistryKey_data();
    void removeRegistryKey();
    void removeChildKeyOutcome_data();
    void removeChildKeyOutcome();
    void removingTwiceDeletesOnce();
    void noRegistryFile();
    void damagedFileIsLeftAlone();
    void damagedFileFailsEveryRemoval();
    void failedSaveLeavesTheFileAsItWas();
    void bootstrapperValue();
    void userAccountHives_data();
    void userAccountHives();
};

namespace {

const QString settings = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\DAWLIX\\PELDA\\2015");

const QStringList machine = {
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DAWLIX\\PELDA\\2015]",
    "\"InstallDir\"=\"C:\\\\PELDA\"",
    "",
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE]",
    "\"Theme\"=dword:00000002",
    "",
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE\\Recent]",
    "\"1\"=\"a.pel\"",
    "",
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DAWLIX\\PELDA\\2015\\fr-FR]",
    "",
};

} // namespace

void tst_RegistryKey::removeRegistryKey_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("keysLeft");
    QTest::addColumn<KeyRemoval::Status>("status");

    const QStringList all
        = { settings, settings + "\\de-DE", settings + "\\de-DE\\Recent", settings + "\\fr-FR" };
    const auto removed = KeyRemoval::Removed;
    const auto notThere = KeyRemoval::NotThere;
    QTest::newRow("exact name") << settings << "de-DE"
                                << QStringList { settings, settings + "\\fr-FR" } << removed;
    QTest::newRow("leaf sibling") << settings << "fr-FR"
                                  << QStringList { settings, settings + "\\de-DE",
                                                   settings + "\\de-DE\\Recent" }
                                  << removed;
    QTest::newRow("other letter case") << settings << "DE-de" << all << notThere;
    QTest::newRow("empty name") << settings << "" << all << notThere;
    QTest::newRow("grandchild by name") << settings << "Recent" << all << notThere;
    QTest::newRow("path in other case")
        << settings.toLower() << "de-DE" << QStringList { settings, settings + "\\fr-FR" }
        << removed;
    QTest::newRow("missing path") << "HKEY_CURRENT_USER\\SOFTWARE\\DAWLIX\\PELDA\\2015"
                                  << "de-DE" << all << notThere;
    QTest::newRow("path with trailing separator") << settings + "\\"
                                                  << "de-DE" << all << notThere;
}

void tst_RegistryKey::removeRegistryKey()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QStringList, keysLeft);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(machine, true);
    const QByteArray before = sandbox.registryBytes();
    ProcessPage page;
    page.removeRegistryKey(path, name);
    QCOMPARE(sandbox.keys(), keysLeft);
    if (keysLeft.size() == 4)
        QCOMPARE(sandbox.registryBytes(), before); // nothing created, nothing rewritten
    RegistryKey parent(settings);
    QCOMPARE(parent.stringValue(QStringLiteral("InstallDir")), QStringLiteral("C:\\PELDA"));
}

void tst_RegistryKey::removeChildKeyOutcome_data()
{
    removeRegistryKey_data();
}

// The outcome says what happened to the file, and names the key it was about.
void tst_RegistryKey::removeChildKeyOutcome()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QStringList, keysLeft);
    QFETCH(KeyRemoval::Status, status);

    RegistrySandbox sandbox;
    sandbox.writeRegistry(machine);
    const KeyRemoval removal = RegistryKey(path).removeChildKey(name);
    QCOMPARE(removal.status, status);
    QCOMPARE(removal.path, path + "\\" + name);
    QVERIFY(removal.reason.isEmpty());
    QCOMPARE(sandbox.keys(), keysLeft);
}

void tst_RegistryKey::removingTwiceDeletesOnce()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(machine);
    RegistryKey first(settings);
    QCOMPARE(first.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::Removed);
    const QByteArray after = sandbox.registryBytes();
    RegistryKey second(settings);
    QCOMPARE(second.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::NotThere);
    QCOMPARE(sandbox.registryBytes(), after);
}

// No registry file is an empty registry, and the stand-in never creates one; a dangling link
// is a damaged one.
void tst_RegistryKey::noRegistryFile()
{
    RegistrySandbox sandbox;
    RegistryKey key(settings);
    QVERIFY(key.childKeys().isEmpty());
    QVERIFY(key.stringValue(QStringLiteral("InstallDir")).isEmpty());
    QCOMPARE(key.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::NotThere);
    QVERIFY(!QFile::exists(sandbox.registryPath()));

    qunsetenv("REMEDOR_REGISTRY");
    QVERIFY(RegistryKey(settings).childKeys().isEmpty());

    // A link whose file is gone is no missing file: what it named cannot be read.
    qputenv("REMEDOR_REGISTRY", QFile::encodeName(sandbox.registryPath()));
    QVERIFY(QFile::link(sandbox.registryPath() + ".gone", sandbox.registryPath()));
    QVERIFY2(RegistryKey::damage().contains(sandbox.registryPath()),
             qPrintable(RegistryKey::damage()));
}

namespace {

int damageReports = 0;

void countDamageReports(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (message.contains(QLatin1String("cannot be read")))
        ++damageReports;
}

} // namespace

// A file that does not parse is reported once, then read as empty and never written. This
// test is the first of the process to meet a damaged file.
void tst_RegistryKey::damagedFileIsLeftAlone()
{
    RegistrySandbox sandbox;
    QByteArray damaged = RegistrySandbox::encode(machine, false);
    damaged.replace("dword:00000002", "dword:2");
    sandbox.writeRegistryBytes(damaged);

    damageReports = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countDamageReports);
    {
        ProcessPage page;
        page.removeRegistryKey(settings, QStringLiteral("de-DE"));
        page.removeRegistryKey(settings, QStringLiteral("fr-FR"));
        RegistryKey(settings).childKeys();
    }
    qInstallMessageHandler(previous);
    QCOMPARE(damageReports, 1);
    QVERIFY(RegistryKey(settings).childKeys().isEmpty());
    QCOMPARE(sandbox.registryBytes(), damaged);
}

// Whether a key is there cannot be told from a damaged file, so no removal claims success
// or absence: each says the file cannot be read.
void tst_RegistryKey::damagedFileFailsEveryRemoval()
{
    RegistrySandbox sandbox;
    QByteArray damaged = RegistrySandbox::encode(machine, true);
    damaged.chop(1); // an odd number of UTF-16 bytes
    sandbox.writeRegistryBytes(damaged);

    const KeyRemoval removal = RegistryKey(settings).removeChildKey(QStringLiteral("de-DE"));
    QCOMPARE(removal.status, KeyRemoval::Failed);
    QVERIFY2(removal.reason.contains(sandbox.registryPath()), qPrintable(removal.reason));
    QVERIFY2(removal.reason.contains("odd number of bytes"), qPrintable(removal.reason));
    QCOMPARE(sandbox.registryBytes(), damaged);
}

// A save that cannot be made leaves the file exactly as it was, and says which file and why.
void tst_RegistryKey::failedSaveLeavesTheFileAsItWas()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(machine, true);
    const QByteArray before = sandbox.registryBytes();
    QString why;
    if (!sandbox.freezeRegistryFolder(&why))
        QSKIP(qPrintable(why));

    RegistryKey key(settings);
    const KeyRemoval removal = key.removeChildKey(QStringLiteral("de-DE"));
    QCOMPARE(removal.status, KeyRemoval::Failed);
    QCOMPARE(removal.path, settings + "\\de-DE");
    QVERIFY2(removal.reason.contains(sandbox.registryPath()), qPrintable(removal.reason));
    QVERIFY2(removal.reason.contains("could not be saved"), qPrintable(removal.reason));
    QCOMPARE(sandbox.registryBytes(), before);
    QVERIFY(key.childKeys().contains("de-DE")); // the key still sees the file as it is
    QCOMPARE(QDir(QFileInfo(sandbox.registryPath()).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList { "registry.reg" }); // no temporary file left behind

    sandbox.thawRegistryFolder();
    QCOMPARE(key.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::Removed);
}

void tst_RegistryKey::bootstrapperValue()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(
        { "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{3F1A92C4-"
          "7B5E-4D08-9C61-2A8E5B07D3F9}]",
          "\"DisplayName\"=\"PELDA+ 2015\"", "\"PeldaLanguage\"=\"de-DE\"" });
    const RegistryKey uninstall(QStringLiteral(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
    QCOMPARE(uninstall.childKeys(), QStringList { "{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}" });
    const RegistryKey bootstrapper(uninstall.path() + "\\{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}");
    QCOMPARE(bootstrapper.stringValue(QStringLiteral("PeldaLanguage")), QStringLiteral("de-DE"));
    QCOMPARE(bootstrapper.stringValue(QStringLiteral("peldalanguage")), QStringLiteral("de-DE"));
    QVERIFY(bootstrapper.stringValue(QStringLiteral("Missing")).isEmpty());
}

void tst_RegistryKey::userAccountHives_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("userAccount");

    QTest::newRow("local or domain account") << "S-1-5-21-1004336348-1177238915-1001" << true;
    QTest::newRow("Entra ID account") << "S-1-12-1-3871513472-1174598766-2830387088" << true;
    QTest::newRow("lower case") << "s-1-12-1-1-2-3-4" << true;
    QTest::newRow("classes hive") << "S-1-5-21-1004336348-1177238915-1001_Classes" << false;
    QTest::newRow("Entra ID classes hive") << "S-1-12-1-1-2-3-4_classes" << false;
    QTest::newRow("local system") << "S-1-5-18" << false;
    QTest::newRow("local service") << "S-1-5-19" << false;
    QTest::newRow("network service") << "S-1-5-20" << false;
    QTest::newRow("default profile") << ".DEFAULT" << false;
    QTest::newRow("longer authority") << "S-1-5-210-1-2-3" << false;
    QTest::newRow("profile entry set aside") << "S-1-5-21-1004336348-1177238915-1001.bak" << false;
    QTest::newRow("hive loaded by a run") << "Remedor-S-1-5-21-1-2-3-1001" << false;
}

// One rule decides both the hives below HKEY_USERS and the profiles of the profile list.
void tst_RegistryKey::userAccountHives()
{
    QFETCH(QString, name);
    QFETCH(bool, userAccount);

    QCOMPARE(RegistryPaths::isUserAccount(name), userAccount);
}

QTEST_MAIN(tst_RegistryKey)
#include "tst_registrykey.moc"
