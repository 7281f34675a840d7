#include "processpage.h"
#include "registrykey.h"
#include "registrysandbox.h"

#include <QtTest>

// Key removal on the registry stand-in: exactly the named child goes, with its subtree.
class tst_RegistryKey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removeRegistryKey_data();
    void removeRegistryKey();
    void removingTwiceDeletesOnce();
    void noRegistryFile();
    void damagedFileIsLeftAlone();
    void bootstrapperValue();
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

    const QStringList all
        = { settings, settings + "\\de-DE", settings + "\\de-DE\\Recent", settings + "\\fr-FR" };
    QTest::newRow("exact name") << settings << "de-DE"
                                << QStringList { settings, settings + "\\fr-FR" };
    QTest::newRow("leaf sibling") << settings << "fr-FR"
                                  << QStringList { settings, settings + "\\de-DE",
                                                   settings + "\\de-DE\\Recent" };
    QTest::newRow("other letter case") << settings << "DE-de" << all;
    QTest::newRow("empty name") << settings << "" << all;
    QTest::newRow("grandchild by name") << settings << "Recent" << all;
    QTest::newRow("path in other case")
        << settings.toLower() << "de-DE" << QStringList { settings, settings + "\\fr-FR" };
    QTest::newRow("missing path") << "HKEY_CURRENT_USER\\SOFTWARE\\DAWLIX\\PELDA\\2015"
                                  << "de-DE" << all;
    QTest::newRow("path with trailing separator") << settings + "\\"
                                                  << "de-DE" << all;
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

void tst_RegistryKey::removingTwiceDeletesOnce()
{
    RegistrySandbox sandbox;
    sandbox.writeRegistry(machine);
    RegistryKey first(settings);
    QVERIFY(first.removeChildKey(QStringLiteral("de-DE")));
    const QByteArray after = sandbox.registryBytes();
    RegistryKey second(settings);
    QVERIFY(!second.removeChildKey(QStringLiteral("de-DE")));
    QCOMPARE(sandbox.registryBytes(), after);
}

// No registry file is an empty registry, and the stand-in never creates one.
void tst_RegistryKey::noRegistryFile()
{
    RegistrySandbox sandbox;
    RegistryKey key(settings);
    QVERIFY(key.childKeys().isEmpty());
    QVERIFY(key.stringValue(QStringLiteral("InstallDir")).isEmpty());
    QVERIFY(!key.removeChildKey(QStringLiteral("de-DE")));
    QVERIFY(!QFile::exists(sandbox.registryPath()));

    qunsetenv("REMEDOR_REGISTRY");
    QVERIFY(RegistryKey(settings).childKeys().isEmpty());
}

// A file that does not parse is reported once, then read as empty and never written.
void tst_RegistryKey::damagedFileIsLeftAlone()
{
    RegistrySandbox sandbox;
    QByteArray damaged = RegistrySandbox::encode(machine, false);
    damaged.replace("dword:00000002", "dword:2");
    sandbox.writeRegistryBytes(damaged);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be read")));
    ProcessPage page;
    page.removeRegistryKey(settings, QStringLiteral("de-DE"));
    page.removeRegistryKey(settings, QStringLiteral("fr-FR")); // not reported a second time
    QVERIFY(RegistryKey(settings).childKeys().isEmpty());
    QCOMPARE(sandbox.registryBytes(), damaged);
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

QTEST_MAIN(tst_RegistryKey)
#include "tst_registrykey.moc"
