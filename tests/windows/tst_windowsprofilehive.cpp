#include "profilehive.h"
#include "registrykey.h"
#include "registrypaths.h"

#include <QtTest>

#include <windows.h>

// The hive of a profile that is not signed in, against a real registry (run in a throwaway
// Wine prefix): listed from the profile list in the 64-bit view with its folder expanded,
// loaded under HKEY_USERS\Remedor-<SID> with the privileges enabled for the moment, a settings
// key removed there, and unloaded on every way out. Wine does not write an unloaded hive back
// to its file, so the removal is checked while the hive is loaded.
class tst_WindowsProfileHive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void loadRemoveUnload();
    void profilesThatCannotBeLoaded_data();
    void profilesThatCannotBeLoaded();
};

namespace {

const QString entra = QStringLiteral("S-1-12-1-1111111111-2222222222-3333333333-4444444444");
const QString stale = QStringLiteral("S-1-5-21-1111111111-2222222222-3333333333-1002");
const QString damaged = QStringLiteral("S-1-5-21-1111111111-2222222222-3333333333-1003");
const wchar_t profileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const wchar_t hiveSource[] = L"SOFTWARE\\RemedorProfileHiveTest";

QString folder(const QString &sid)
{
    return qEnvironmentVariable("SystemDrive") + QStringLiteral("\\RemedorProfiles\\") + sid;
}

// The privilege saving a hive needs, enabled (or disabled again) for the test's own fixtures.
bool setBackupPrivilege(bool enabled)
{
    HANDLE token = nullptr;
    TOKEN_PRIVILEGES privileges {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = enabled ? SE_PRIVILEGE_ENABLED : 0;
    const bool done = OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)
        && LookupPrivilegeValueW(nullptr, L"SeBackupPrivilege", &privileges.Privileges[0].Luid)
        && AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)
        && GetLastError() == ERROR_SUCCESS;
    if (token)
        CloseHandle(token);
    return done;
}

bool setKey(HKEY root, const std::wstring &path, const wchar_t *value, const std::wstring &data)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                        nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const LSTATUS status = value
        ? RegSetValueExW(key, value, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE *>(data.c_str()),
                         DWORD((data.size() + 1) * sizeof(wchar_t)))
        : ERROR_SUCCESS;
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

QStringList mountsLeft()
{
    return RegistryKey(RegistryPaths::users())
        .childKeys()
        .filter(RegistryPaths::profileHiveMountPrefix(), Qt::CaseInsensitive);
}

ProfileHive::Profile listed(const QString &sid)
{
    for (const ProfileHive::Profile &profile : ProfileHive::userProfiles()) {
        if (profile.sid == sid)
            return profile;
    }
    return {};
}

} // namespace

// The Entra ID account's hive saved from a scratch key holding two settings keys; the damaged
// one a file that is no hive; the stale one a folder without a hive. Each is listed with its
// folder stored unexpanded.
void tst_WindowsProfileHive::initTestCase()
{
    for (const QString &sid : { entra, stale, damaged }) {
        QVERIFY(QDir().mkpath(folder(sid)));
        const std::wstring stored = L"%SystemDrive%\\RemedorProfiles\\" + sid.toStdWString();
        QVERIFY(setKey(HKEY_LOCAL_MACHINE, std::wstring(profileList) + L"\\" + sid.toStdWString(),
                       L"ProfileImagePath", stored));
    }
    for (const wchar_t *locale : { L"de-DE", L"ja-JP" })
        QVERIFY(setKey(HKEY_CURRENT_USER,
                       std::wstring(hiveSource) + L"\\SOFTWARE\\DAWLIX\\PELDA\\2015\\" + locale,
                       nullptr, {}));
    const std::wstring file = ProfileHive::hiveFile(folder(entra)).toStdWString();
    DeleteFileW(file.c_str());
    HKEY source = nullptr;
    QCOMPARE(RegOpenKeyExW(HKEY_CURRENT_USER, hiveSource, 0, KEY_READ, &source), ERROR_SUCCESS);
    QVERIFY(setBackupPrivilege(true));
    const LSTATUS saved = RegSaveKeyW(source, file.c_str(), nullptr);
    QVERIFY(setBackupPrivilege(false)); // the hive's own privileges are the code's to enable
    RegCloseKey(source);
    QCOMPARE(saved, ERROR_SUCCESS);
    QCOMPARE(RegDeleteTreeW(HKEY_CURRENT_USER, hiveSource), ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, hiveSource);

    QFile notAHive(ProfileHive::hiveFile(folder(damaged)));
    QVERIFY(notAHive.open(QIODevice::WriteOnly));
    notAHive.write("not a registry hive");
}

void tst_WindowsProfileHive::cleanupTestCase()
{
    for (const QString &sid : { entra, stale, damaged }) {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE,
                        (std::wstring(profileList) + L"\\" + sid.toStdWString()).c_str(),
                        KEY_WOW64_64KEY, 0);
        QDir(folder(sid)).removeRecursively();
    }
    QCOMPARE(mountsLeft(), QStringList());
}

void tst_WindowsProfileHive::loadRemoveUnload()
{
    const ProfileHive::Profile profile = listed(entra);
    QCOMPARE(profile.folder, folder(entra));
    QVERIFY(!profile.loaded);
    for (const ProfileHive::Profile &other : ProfileHive::userProfiles())
        QVERIFY2(RegistryPaths::isUserAccount(other.sid), qPrintable(other.sid));
    {
        ProfileHive hive(profile);
        QVERIFY2(hive.isLoaded(), qPrintable(hive.report().reason));
        QCOMPARE(hive.report().reach, UserHive::LoadedByRun);
        QCOMPARE(mountsLeft(), QStringList { "Remedor-" + entra });
        RegistryKey settings(RegistryPaths::userSettingsIn(hive.mountName()));
        QCOMPARE(settings.childKeys(), (QStringList { "de-DE", "ja-JP" }));
        QCOMPARE(settings.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::Removed);
        QCOMPARE(settings.childKeys(), QStringList { "ja-JP" });
        QVERIFY2(hive.unload(), qPrintable(hive.report().reason));
        QCOMPARE(mountsLeft(), QStringList());
    }
    {
        // Left without unload(), as a failure in between leaves it.
        ProfileHive hive(profile);
        QVERIFY2(hive.isLoaded(), qPrintable(hive.report().reason));
    }
    QCOMPARE(mountsLeft(), QStringList());
}

void tst_WindowsProfileHive::profilesThatCannotBeLoaded_data()
{
    QTest::addColumn<QString>("sid");
    QTest::addColumn<UserHive::Reach>("reach");

    QTest::newRow("no NTUSER.DAT") << stale << UserHive::NoHiveFile;
    QTest::newRow("not a hive") << damaged << UserHive::NotLoadable;
}

void tst_WindowsProfileHive::profilesThatCannotBeLoaded()
{
    QFETCH(QString, sid);
    QFETCH(UserHive::Reach, reach);

    ProfileHive hive(listed(sid));
    QCOMPARE(hive.report().reach, reach);
    QCOMPARE(hive.report().profilePath, folder(sid));
    QCOMPARE(hive.report().reason.isEmpty(), reach == UserHive::NoHiveFile);
    QVERIFY(!hive.isLoaded());
    QCOMPARE(mountsLeft(), QStringList());
}

QTEST_MAIN(tst_WindowsProfileHive)
#include "tst_windowsprofilehive.moc"
