#include "registryerror.h"
#include "registrykey.h"

#include <QtTest>

#include <windows.h>

#include <winternl.h>

extern "C" NTSTATUS NTAPI NtDeleteKey(HANDLE key);

// The registry backend against a real registry (run in a throwaway Wine prefix by
// scripts/test-windows.sh): the 32-bit view, exact-case deletion, and no key ever created.
// Fixtures are written and checked with the Win32 API, naming the view explicitly.
class tst_WindowsRegistryKey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void childKeysListTheThirtyTwoBitView();
    void childKeysKeepTheRegistrySpelling();
    void stringValue();
    void readingMissingKeysCreatesNothing_data();
    void readingMissingKeysCreatesNothing();
    void removeChildKeyDeletesTheSubtree();
    void removeChildKeyNeedsTheExactName_data();
    void removeChildKeyNeedsTheExactName();
    void removeChildKeyLeavesTheSixtyFourBitView();
    void removeChildKeyUnderMissingParentCreatesNothing();
    void sharedKeys_data();
    void sharedKeys();
    void removalNamesTheKey();
    void registryLinksAreNeverFollowed();
    void win32ErrorsReadAsOutcomes_data();
    void win32ErrorsReadAsOutcomes();
};

namespace {

constexpr REGSAM view32 = KEY_WOW64_32KEY;
constexpr REGSAM view64 = KEY_WOW64_64KEY;

// Scratch keys of this test only; each test starts and ends without them.
const wchar_t machineScratch[] = L"SOFTWARE\\RemedorRegistryTest";
const wchar_t userScratch[] = L"SOFTWARE\\RemedorRegistryTest";
const wchar_t productsKey[] = L"Installer\\Products";
const wchar_t scratchProduct[] = L"0F0E0D0C0B0A09080706050403020100";

const QString machinePath = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\RemedorRegistryTest");

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

bool createKey(HKEY root, const QString &path, REGSAM view)
{
    HKEY key = nullptr;
    const LSTATUS status = RegCreateKeyExW(root, wide(path).c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS | view, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool setString(HKEY root, const QString &path, REGSAM view, const QString &name,
               const QString &value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, wide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                        &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const std::wstring data = wide(value);
    const LSTATUS status = RegSetValueExW(key, wide(name).c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE *>(data.c_str()),
                                          DWORD((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool keyExists(HKEY root, const QString &path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, wide(path).c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool valueExists(HKEY root, const QString &path, REGSAM view, const QString &name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, wide(path).c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    const LSTATUS status
        = RegQueryValueExW(key, wide(name).c_str(), nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Deletes parent\child with its subtree in the given view; a missing key is fine.
void deleteTree(HKEY root, const wchar_t *parent, const wchar_t *child, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, parent, 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
        return;
    RegDeleteTreeW(key, child);
    RegCloseKey(key);
}

void deleteScratchKeys()
{
    for (const REGSAM view : { view32, view64 }) {
        deleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE", L"RemedorRegistryTest", view);
        deleteTree(HKEY_CURRENT_USER, L"SOFTWARE", L"RemedorRegistryTest", view);
        deleteTree(HKEY_CLASSES_ROOT, productsKey, scratchProduct, view);
    }
}

QStringList sorted(QStringList list)
{
    list.sort(Qt::CaseSensitive);
    return list;
}

} // namespace

void tst_WindowsRegistryKey::init()
{
    deleteScratchKeys();
    QVERIFY(!keyExists(HKEY_LOCAL_MACHINE, QString::fromWCharArray(machineScratch), view32));
    QVERIFY(!keyExists(HKEY_LOCAL_MACHINE, QString::fromWCharArray(machineScratch), view64));
    QVERIFY(!keyExists(HKEY_CURRENT_USER, QString::fromWCharArray(userScratch), view64));
}

void tst_WindowsRegistryKey::cleanup()
{
    deleteScratchKeys();
}

// HKLM\SOFTWARE in the 32-bit view is HKLM\SOFTWARE\WOW6432Node in the 64-bit one; keys that
// exist only in the 64-bit branch are not seen.
void tst_WindowsRegistryKey::childKeysListTheThirtyTwoBitView()
{
    const QString keys = QStringLiteral("SOFTWARE\\RemedorRegistryTest\\Keys");
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, keys + QStringLiteral("\\de-DE"), view32));
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, keys + QStringLiteral("\\de-DE\\Recent"), view32));
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, keys + QStringLiteral("\\xx-XX"), view32));
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, keys + QStringLiteral("\\only64"), view64));
    QVERIFY(keyExists(HKEY_LOCAL_MACHINE,
                      QStringLiteral("SOFTWARE\\WOW6432Node\\RemedorRegistryTest\\Keys\\de-DE"),
                      view64));

    const RegistryKey key(machinePath + QStringLiteral("\\Keys"));
    QCOMPARE(sorted(key.childKeys()), QStringList({ "de-DE", "xx-XX" }));
    QCOMPARE(RegistryKey(machinePath + QStringLiteral("\\Keys\\de-DE")).childKeys(),
             QStringList({ "Recent" }));
    QVERIFY(RegistryKey(machinePath + QStringLiteral("\\Keys\\only64")).childKeys().isEmpty());
}

void tst_WindowsRegistryKey::childKeysKeepTheRegistrySpelling()
{
    const QString keys = QStringLiteral("SOFTWARE\\RemedorRegistryTest\\Uninstall");
    const QString lower = QStringLiteral("{6b41c7d2-b002-1036-b102-7e93a0c5d814}");
    const QString upper = QStringLiteral("{6B41C7D2-B002-1031-B102-7E93A0C5D814}");
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, keys + QLatin1Char('\\') + lower, view32));
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, keys + QLatin1Char('\\') + upper, view32));

    const QStringList children
        = RegistryKey(machinePath + QStringLiteral("\\Uninstall")).childKeys();
    QCOMPARE(sorted(children), QStringList({ upper, lower }));
}

void tst_WindowsRegistryKey::stringValue()
{
    const QString bootstrapper
        = QStringLiteral("SOFTWARE\\RemedorRegistryTest\\{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}");
    QVERIFY(setString(HKEY_LOCAL_MACHINE, bootstrapper, view32, QStringLiteral("PeldaLanguage"),
                      QStringLiteral("de-DE")));
    QVERIFY(setString(HKEY_LOCAL_MACHINE, bootstrapper, view64, QStringLiteral("PeldaLanguage"),
                      QStringLiteral("fr-FR")));

    HKEY raw = nullptr;
    QCOMPARE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(bootstrapper).c_str(), 0,
                           KEY_SET_VALUE | view32, &raw),
             LSTATUS(ERROR_SUCCESS));
    const DWORD number = 1031;
    RegSetValueExW(raw, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number),
                   sizeof number);
    const wchar_t unterminated[] = { L'a', L'b' }; // stored without its NUL
    RegSetValueExW(raw, L"Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE *>(unterminated),
                   sizeof unterminated);
    const BYTE binary[] = { 1, 2 };
    RegSetValueExW(raw, L"Binary", 0, REG_BINARY, binary, sizeof binary);
    RegCloseKey(raw);

    const RegistryKey key(machinePath + QStringLiteral("\\{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}"));
    QCOMPARE(key.stringValue(QStringLiteral("PeldaLanguage")), QStringLiteral("de-DE"));
    QCOMPARE(key.stringValue(QStringLiteral("peldalanguage")), QStringLiteral("de-DE"));
    QCOMPARE(key.stringValue(QStringLiteral("NoSuchValue")), QString());
    QCOMPARE(key.stringValue(QStringLiteral("Number")), QStringLiteral("1031"));
    QCOMPARE(key.stringValue(QStringLiteral("Unterminated")), QStringLiteral("ab"));
    QCOMPARE(key.stringValue(QStringLiteral("Binary")), QString());
}

void tst_WindowsRegistryKey::readingMissingKeysCreatesNothing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<quintptr>("root");
    QTest::addColumn<QString>("firstMissing"); // below the root, in the 32-bit view

    QTest::newRow("machine") << QStringLiteral(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\RemedorRegistryTest\\PELDA\\2015")
                             << quintptr(HKEY_LOCAL_MACHINE)
                             << QStringLiteral("SOFTWARE\\RemedorRegistryTest");
    QTest::newRow("user") << QStringLiteral(
        "HKEY_CURRENT_USER\\SOFTWARE\\RemedorRegistryTest\\PELDA\\2015")
                          << quintptr(HKEY_CURRENT_USER)
                          << QStringLiteral("SOFTWARE\\RemedorRegistryTest");
    QTest::newRow("classes") << QStringLiteral(
        "HKEY_CLASSES_ROOT\\Installer\\Products\\0F0E0D0C0B0A09080706050403020100\\SourceList")
                             << quintptr(HKEY_CLASSES_ROOT)
                             << QStringLiteral(
                                    "Installer\\Products\\0F0E0D0C0B0A09080706050403020100");
}

void tst_WindowsRegistryKey::readingMissingKeysCreatesNothing()
{
    QFETCH(QString, path);
    QFETCH(quintptr, root);
    QFETCH(QString, firstMissing);
    const HKEY hive = reinterpret_cast<HKEY>(root);

    RegistryKey key(path);
    QVERIFY(key.childKeys().isEmpty());
    QCOMPARE(key.stringValue(QStringLiteral("PeldaLanguage")), QString());
    QCOMPARE(key.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::NotThere);
    QCOMPARE(RegistryKey(path + QStringLiteral("\\de-DE"))
                 .removeChildKey(QStringLiteral("Recent"))
                 .status,
             KeyRemoval::NotThere);

    QVERIFY(!keyExists(hive, firstMissing, view32));
    QVERIFY(!keyExists(hive, firstMissing, view64));
}

// The child goes with its values and subkeys; its siblings and the parent's values stay,
// including a value spelt like the child.
void tst_WindowsRegistryKey::removeChildKeyDeletesTheSubtree()
{
    const QString parent = QStringLiteral("SOFTWARE\\RemedorRegistryTest\\PELDA\\2015");
    QVERIFY(setString(HKEY_LOCAL_MACHINE, parent, view32, QStringLiteral("InstallDir"),
                      QStringLiteral("C:\\PELDA")));
    QVERIFY(setString(HKEY_LOCAL_MACHINE, parent, view32, QStringLiteral("de-DE"),
                      QStringLiteral("a value")));
    QVERIFY(setString(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\de-DE"), view32,
                      QStringLiteral("Theme"), QStringLiteral("2")));
    QVERIFY(setString(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\de-DE\\Recent\\Files"), view32,
                      QStringLiteral("1"), QStringLiteral("a.pel")));
    QVERIFY(setString(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\de-DE-old"), view32,
                      QStringLiteral("Theme"), QStringLiteral("1")));
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\fr-FR"), view32));

    RegistryKey key(machinePath + QStringLiteral("\\PELDA\\2015"));
    QCOMPARE(key.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::Removed);

    QVERIFY(!keyExists(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\de-DE"), view32));
    QVERIFY(keyExists(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\de-DE-old"), view32));
    QVERIFY(keyExists(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\fr-FR"), view32));
    QVERIFY(valueExists(HKEY_LOCAL_MACHINE, parent, view32, QStringLiteral("InstallDir")));
    QVERIFY(valueExists(HKEY_LOCAL_MACHINE, parent, view32, QStringLiteral("de-DE")));
    QCOMPARE(sorted(key.childKeys()), QStringList({ "de-DE-old", "fr-FR" }));

    // Gone means gone: a second removal finds nothing.
    QCOMPARE(key.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::NotThere);
}

void tst_WindowsRegistryKey::removeChildKeyNeedsTheExactName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("other case") << QStringLiteral("DE-de");
    QTest::newRow("lower case") << QStringLiteral("de-de");
    QTest::newRow("prefix") << QStringLiteral("de");
    QTest::newRow("longer") << QStringLiteral("de-DE-");
    QTest::newRow("empty") << QString();
    QTest::newRow("path") << QStringLiteral("de-DE\\Recent");
}

void tst_WindowsRegistryKey::removeChildKeyNeedsTheExactName()
{
    QFETCH(QString, name);
    const QString parent = QStringLiteral("SOFTWARE\\RemedorRegistryTest\\PELDA\\2015");
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\de-DE\\Recent"), view32));

    RegistryKey key(machinePath + QStringLiteral("\\PELDA\\2015"));
    QCOMPARE(key.removeChildKey(name).status, KeyRemoval::NotThere);
    QVERIFY(keyExists(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\de-DE\\Recent"), view32));
}

void tst_WindowsRegistryKey::removeChildKeyLeavesTheSixtyFourBitView()
{
    const QString parent = QStringLiteral("SOFTWARE\\RemedorRegistryTest\\Uninstall");
    const QString code = QStringLiteral("{6B41C7D2-B002-1031-B102-7E93A0C5D814}");
    QVERIFY(setString(HKEY_LOCAL_MACHINE, parent + QLatin1Char('\\') + code, view32,
                      QStringLiteral("DisplayName"), QStringLiteral("32")));
    QVERIFY(setString(HKEY_LOCAL_MACHINE, parent + QLatin1Char('\\') + code, view64,
                      QStringLiteral("DisplayName"), QStringLiteral("64")));

    QCOMPARE(RegistryKey(machinePath + QStringLiteral("\\Uninstall")).removeChildKey(code).status,
             KeyRemoval::Removed);
    QVERIFY(!keyExists(HKEY_LOCAL_MACHINE, parent + QLatin1Char('\\') + code, view32));
    QVERIFY(keyExists(HKEY_LOCAL_MACHINE, parent + QLatin1Char('\\') + code, view64));
    QVERIFY(valueExists(HKEY_LOCAL_MACHINE, parent + QLatin1Char('\\') + code, view64,
                        QStringLiteral("DisplayName")));
}

void tst_WindowsRegistryKey::removeChildKeyUnderMissingParentCreatesNothing()
{
    // The scratch key exists in the 64-bit branch only: the 32-bit one must stay absent.
    QVERIFY(createKey(HKEY_LOCAL_MACHINE,
                      QStringLiteral("SOFTWARE\\RemedorRegistryTest\\PELDA\\2015\\de-DE"), view64));

    RegistryKey key(machinePath + QStringLiteral("\\PELDA\\2015"));
    QCOMPARE(key.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::NotThere);
    QVERIFY(key.childKeys().isEmpty());
    QVERIFY(
        !keyExists(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\RemedorRegistryTest"), view32));
    QVERIFY(keyExists(HKEY_LOCAL_MACHINE,
                      QStringLiteral("SOFTWARE\\RemedorRegistryTest\\PELDA\\2015\\de-DE"), view64));
}

// HKCU\SOFTWARE is one key in both views. HKCR\Installer is too on Windows, but not on Wine,
// whose Windows Installer keeps it in the 64-bit view only. Either way, what the 64-bit view
// holds there is seen and deleted.
void tst_WindowsRegistryKey::sharedKeys_data()
{
    QTest::addColumn<quintptr>("root");
    QTest::addColumn<QString>("hiveName");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("child");
    QTest::addColumn<bool>("sharedEverywhere");

    QTest::newRow("user settings")
        << quintptr(HKEY_CURRENT_USER) << QStringLiteral("HKEY_CURRENT_USER")
        << QStringLiteral("SOFTWARE\\RemedorRegistryTest\\PELDA\\2015") << QStringLiteral("ja-JP")
        << true;
    QTest::newRow("installer products")
        << quintptr(HKEY_CLASSES_ROOT) << QStringLiteral("HKEY_CLASSES_ROOT")
        << QStringLiteral("Installer\\Products") << QString::fromWCharArray(scratchProduct)
        << false;
}

void tst_WindowsRegistryKey::sharedKeys()
{
    QFETCH(quintptr, root);
    QFETCH(QString, hiveName);
    QFETCH(QString, parent);
    QFETCH(QString, child);
    QFETCH(bool, sharedEverywhere);
    const HKEY hive = reinterpret_cast<HKEY>(root);
    const QString childPath = parent + QLatin1Char('\\') + child;

    QVERIFY(setString(hive, childPath + QStringLiteral("\\SourceList"), view64,
                      QStringLiteral("PackageName"), QStringLiteral("a.msi")));
    if (sharedEverywhere)
        QVERIFY(keyExists(hive, childPath, view32));

    RegistryKey key(hiveName + QLatin1Char('\\') + parent);
    QVERIFY(key.childKeys().contains(child, Qt::CaseSensitive));
    QCOMPARE(RegistryKey(hiveName + QLatin1Char('\\') + childPath + QStringLiteral("\\SourceList"))
                 .stringValue(QStringLiteral("PackageName")),
             QStringLiteral("a.msi"));
    QCOMPARE(key.removeChildKey(child).status, KeyRemoval::Removed);
    QVERIFY(!keyExists(hive, childPath, view64));
    QVERIFY(!keyExists(hive, childPath, view32));
    QVERIFY(keyExists(hive, parent, view64));
}

// The outcome names the whole path of the key it is about, and a removal says nothing more
// when it went or was not there.
void tst_WindowsRegistryKey::removalNamesTheKey()
{
    const QString parent = QStringLiteral("SOFTWARE\\RemedorRegistryTest\\PELDA\\2015");
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, parent + QStringLiteral("\\de-DE"), view32));

    RegistryKey key(machinePath + QStringLiteral("\\PELDA\\2015"));
    const KeyRemoval removed = key.removeChildKey(QStringLiteral("de-DE"));
    QCOMPARE(removed,
             (KeyRemoval { machinePath + QStringLiteral("\\PELDA\\2015\\de-DE"),
                           KeyRemoval::Removed, QString() }));
    const KeyRemoval again = key.removeChildKey(QStringLiteral("de-DE"));
    QCOMPARE(again,
             (KeyRemoval { machinePath + QStringLiteral("\\PELDA\\2015\\de-DE"),
                           KeyRemoval::NotThere, QString() }));
}

// Errors that Wine's registry does not raise (it enforces no access rights) are read the
// same way as those it does: anything but success or a missing key is a failure, in the
// system's own words.
namespace {

// A registry link at path (32-bit view) to the key of the native path target.
bool createLink(const QString &path, const QString &target)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide(path).c_str(), 0, nullptr,
                        REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK | view32, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const std::wstring name = wide(QStringLiteral("\\Registry\\Machine\\") + target);
    const LSTATUS status = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK,
                                          reinterpret_cast<const BYTE *>(name.c_str()),
                                          DWORD(name.size() * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Deletes the link itself (every registry function that takes a name follows it).
void deleteLink(const QString &path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(path).c_str(), REG_OPTION_OPEN_LINK, DELETE | view32,
                      &key)
        != ERROR_SUCCESS)
        return;
    NtDeleteKey(key);
    RegCloseKey(key);
}

} // namespace

// A link where a key of the run is looked for is neither backed up nor deleted, and the key it
// names stays; a link below a key that goes is deleted as the link, and what it names stays.
void tst_WindowsRegistryKey::registryLinksAreNeverFollowed()
{
    const QString scratch = QString::fromWCharArray(machineScratch);
    const QString target = scratch + QStringLiteral("\\Target");
    QVERIFY(
        setString(HKEY_LOCAL_MACHINE, target, view32, QStringLiteral("Keep"), QStringLiteral("1")));
    QVERIFY(createKey(HKEY_LOCAL_MACHINE, scratch + QStringLiteral("\\Parent"), view32));
    // The 32-bit view's HKLM\SOFTWARE is SOFTWARE\WOW6432Node in the native one.
    const QString native = QStringLiteral("SOFTWARE\\WOW6432Node\\RemedorRegistryTest\\Target");
    if (!createLink(scratch + QStringLiteral("\\Linked"), native)
        || !createLink(scratch + QStringLiteral("\\Parent\\Inner"), native))
        QSKIP("This registry cannot create links (REG_OPTION_CREATE_LINK).");
    QVERIFY2(valueExists(HKEY_LOCAL_MACHINE, scratch + QStringLiteral("\\Linked"), view32,
                         QStringLiteral("Keep")),
             "the link does not lead to its target");

    RegistryKey key(machinePath);
    QString why;
    QVERIFY(!key.childSubtree(QStringLiteral("Linked"), &why));
    QVERIFY2(why.endsWith(QStringLiteral("\\Linked: a registry link; not followed")),
             qPrintable(why));
    const KeyRemoval linked = key.removeChildKey(QStringLiteral("Linked"));
    QCOMPARE(linked.status, KeyRemoval::Failed);
    QCOMPARE(linked.reason, QStringLiteral("a registry link; not followed"));
    const std::optional<RegistrySubtree> parent = key.childSubtree(QStringLiteral("Parent"), &why);
    QVERIFY2(parent && parent->keys.size() == 1, qPrintable(why));
    QCOMPARE(key.removeChildKey(QStringLiteral("Parent")).status, KeyRemoval::Removed);

    QVERIFY(!keyExists(HKEY_LOCAL_MACHINE, scratch + QStringLiteral("\\Parent"), view32));
    QVERIFY(valueExists(HKEY_LOCAL_MACHINE, target, view32, QStringLiteral("Keep")));
    QVERIFY(valueExists(HKEY_LOCAL_MACHINE, scratch + QStringLiteral("\\Linked"), view32,
                        QStringLiteral("Keep")));
    deleteLink(scratch + QStringLiteral("\\Linked"));
}

void tst_WindowsRegistryKey::win32ErrorsReadAsOutcomes_data()
{
    QTest::addColumn<long>("error");
    QTest::addColumn<KeyRemoval::Status>("status");

    QTest::newRow("success") << long(ERROR_SUCCESS) << KeyRemoval::Removed;
    QTest::newRow("file not found") << long(ERROR_FILE_NOT_FOUND) << KeyRemoval::NotThere;
    QTest::newRow("path not found") << long(ERROR_PATH_NOT_FOUND) << KeyRemoval::NotThere;
    QTest::newRow("access denied") << long(ERROR_ACCESS_DENIED) << KeyRemoval::Failed;
    QTest::newRow("key deleted") << long(ERROR_KEY_DELETED) << KeyRemoval::Failed;
    QTest::newRow("registry corrupt") << long(ERROR_BADDB) << KeyRemoval::Failed;
    QTest::newRow("invalid handle") << long(ERROR_INVALID_HANDLE) << KeyRemoval::Failed;
}

void tst_WindowsRegistryKey::win32ErrorsReadAsOutcomes()
{
    QFETCH(long, error);
    QFETCH(KeyRemoval::Status, status);

    const QString path = QStringLiteral("HKEY_CLASSES_ROOT\\Installer\\Products\\X");
    const KeyRemoval removal = RegistryError::removalAfter(path, error);
    QCOMPARE(removal.path, path);
    QCOMPARE(removal.status, status);
    if (status != KeyRemoval::Failed) {
        QVERIFY(removal.reason.isEmpty());
        return;
    }
    const QString number = QStringLiteral("error %1").arg(error);
    QVERIFY2(removal.reason.endsWith(number + QLatin1Char(')')), qPrintable(removal.reason));
    QVERIFY2(removal.reason.size() > number.size() + 4, qPrintable(removal.reason)); // words too
}

QTEST_GUILESS_MAIN(tst_WindowsRegistryKey)
#include "tst_windowsregistrykey.moc"
