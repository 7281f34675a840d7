#include "profilehive.h"
#include "registrykey.h"
#include "registrypaths.h"

#include <QtTest>

#include <windows.h>

// Profiles that are not signed in, against a real registry (a throwaway Wine prefix): listed
// from the profile list in the 64-bit view, folder expanded; the hive loaded with privileges
// the code enables itself, a settings key removed and unloaded on every way out. Wine does not
// write an unloaded hive back to its file, so the removal is checked while the hive is loaded.
class tst_WindowsProfileHive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void loadRemoveUnload();
};

namespace {

const QString sid = QStringLiteral("S-1-5-21-1111111111-2222222222-3333333333-100");
const QStringList accounts = { QStringLiteral("S-1-12-1-1111111111-2222222222-3333333333-4"),
                               sid + "2", sid + "3" }; // Entra ID, stale, damaged
const std::wstring profileList = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
const wchar_t source[] = L"SOFTWARE\\RemedorProfileHiveTest";

QString folder(const QString &account)
{
    return qEnvironmentVariable("SystemDrive") + "\\RemedorProfiles\\" + account;
}

// Saving a hive needs the backup privilege, which the test enables for that call only.
bool enableBackup(bool enabled)
{
    HANDLE token = nullptr;
    TOKEN_PRIVILEGES wanted { 1, { { {}, DWORD(enabled ? SE_PRIVILEGE_ENABLED : 0) } } };
    const bool done = OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)
        && LookupPrivilegeValueW(nullptr, L"SeBackupPrivilege", &wanted.Privileges[0].Luid)
        && AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr)
        && GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return done;
}

QStringList mountsLeft()
{
    return RegistryKey(RegistryPaths::users()).childKeys().filter("Remedor-");
}

// The profile as listed; every profile listed is a user account's.
ProfileHive::Profile listed(const QString &account)
{
    ProfileHive::Profile found;
    for (const ProfileHive::Profile &profile : ProfileHive::userProfiles()) {
        if (!RegistryPaths::isUserAccount(profile.sid))
            return {};
        if (profile.sid == account)
            found = profile;
    }
    return found;
}

} // namespace

// The Entra ID account's hive saved from a scratch key with two settings keys, the damaged
// one a file that is no hive, the stale one no file; each listed with its folder unexpanded.
void tst_WindowsProfileHive::initTestCase()
{
    for (const QString &account : accounts) {
        QVERIFY(QDir().mkpath(folder(account)));
        const std::wstring stored = L"%SystemDrive%\\RemedorProfiles\\" + account.toStdWString();
        QCOMPARE(RegSetKeyValueW(HKEY_LOCAL_MACHINE, (profileList + account.toStdWString()).c_str(),
                                 L"ProfileImagePath", REG_EXPAND_SZ, stored.c_str(),
                                 DWORD((stored.size() + 1) * sizeof(wchar_t))),
                 ERROR_SUCCESS);
    }
    HKEY hive = nullptr;
    for (const wchar_t *key :
         { L"\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE", L"\\SOFTWARE\\DAWLIX\\PELDA\\2015\\ja-JP" })
        QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, (source + std::wstring(key)).c_str(), L"Theme",
                                 REG_SZ, L"1", 4),
                 ERROR_SUCCESS);
    QCOMPARE(RegOpenKeyExW(HKEY_CURRENT_USER, source, 0, KEY_READ, &hive), ERROR_SUCCESS);
    QVERIFY(enableBackup(true));
    const LSTATUS saved = RegSaveKeyW(
        hive, ProfileHive::hiveFile(folder(accounts[0])).toStdWString().c_str(), nullptr);
    QVERIFY(enableBackup(false));
    RegCloseKey(hive);
    QCOMPARE(saved, ERROR_SUCCESS);
    QCOMPARE(RegDeleteTreeW(HKEY_CURRENT_USER, source), ERROR_SUCCESS);
    QFile damaged(ProfileHive::hiveFile(folder(accounts[2])));
    QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("not a registry hive") > 0);
}

void tst_WindowsProfileHive::cleanupTestCase()
{
    RegDeleteKeyW(HKEY_CURRENT_USER, source);
    for (const QString &account : accounts) {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (profileList + account.toStdWString()).c_str(),
                        KEY_WOW64_64KEY, 0);
        QDir(folder(account)).removeRecursively();
    }
}

void tst_WindowsProfileHive::loadRemoveUnload()
{
    const ProfileHive::Profile profile = listed(accounts[0]);
    QCOMPARE(profile.folder, folder(accounts[0]));
    QVERIFY(!profile.loaded);
    {
        ProfileHive hive(profile);
        QVERIFY2(hive.isLoaded(), qPrintable(hive.report().reason));
        QCOMPARE(mountsLeft(), QStringList { "Remedor-" + accounts[0] });
        RegistryKey settings(RegistryPaths::userSettingsIn(hive.mountName()));
        QCOMPARE(settings.removeChildKey(QStringLiteral("de-DE")).status, KeyRemoval::Removed);
        QCOMPARE(settings.childKeys(), QStringList { "ja-JP" });
        QVERIFY2(hive.unload(), qPrintable(hive.report().reason));
        QCOMPARE(mountsLeft(), QStringList());
        const ProfileHive again(profile); // left to the destructor, as a failure would leave it
        QVERIFY(again.isLoaded());
    }
    QCOMPARE(mountsLeft(), QStringList());
    QCOMPARE(ProfileHive(listed(accounts[1])).report().reach, UserHive::NoHiveFile);
    const UserHive damaged = ProfileHive(listed(accounts[2])).report();
    QCOMPARE(damaged.reach, UserHive::NotLoadable);
    QVERIFY(!damaged.reason.isEmpty());
    QCOMPARE(mountsLeft(), QStringList());
}

QTEST_MAIN(tst_WindowsProfileHive)
#include "tst_windowsprofilehive.moc"
