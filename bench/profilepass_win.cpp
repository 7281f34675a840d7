// The removal run's pass over user profiles that are not signed in, on the real registry, against
// the floor of loading and unloading the same hives with the registry API alone. Meant for a
// throwaway machine or Wine prefix: it lists profiles of its own in the profile list.
//
// Usage: remedor_profile_pass_bench_win setup FOLDER COUNT   COUNT hives saved with RegSaveKeyW
//                                                             into FOLDER\<SID>\NTUSER.DAT, each
//                                                             with two editions' settings, and
//                                                             listed in the profile list
//        remedor_profile_pass_bench_win measure ROUNDS       the run's pass (DEU and FRA, products
//                                                             Windows Installer does not know, so
//                                                             no installer runs) against COUNT
//                                                             bare load and unload cycles, and
//                                                             against the same cycles deleting
//                                                             the two settings keys, in
//                                                             alternating order, one line a round
//        remedor_profile_pass_bench_win cleanup              the profile list as it was
//
// Wine does not write an unloaded hive back to its file, so every round finds the same keys;
// Windows does, and there only the first round would delete anything.

#include "editioncatalogue.h"
#include "profilehive.h"
#include "registrypaths.h"
#include "removalrun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const wchar_t profileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const wchar_t scratch[] = L"SOFTWARE\\RemedorProfilePassBench";
const QString sidPrefix = QStringLiteral("S-1-5-21-1004336348-1177238915-682003330-");

// The backup and restore privileges, held for the whole process: saving and the bare loads need
// them (the run enables them itself for each of its calls).
bool enablePrivileges()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token))
        return false;
    bool enabled = true;
    for (const wchar_t *name : { L"SeBackupPrivilege", L"SeRestorePrivilege" }) {
        TOKEN_PRIVILEGES wanted { 1, { { {}, SE_PRIVILEGE_ENABLED } } };
        enabled = enabled && LookupPrivilegeValueW(nullptr, name, &wanted.Privileges[0].Luid)
            && AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr)
            && GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return enabled;
}

// The bench's own profiles, as listed.
QList<ProfileHive::Profile> benchProfiles()
{
    QList<ProfileHive::Profile> profiles;
    for (const ProfileHive::Profile &profile : ProfileHive::userProfiles()) {
        if (profile.sid.startsWith(sidPrefix) && !profile.loaded)
            profiles.append(profile);
    }
    return profiles;
}

int setup(const QString &folder, int count)
{
    for (const wchar_t *key :
         { L"\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE",
           L"\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE\\Recent",
           L"\\SOFTWARE\\DAWLIX\\PELDA\\2015\\fr-FR", L"\\SOFTWARE\\DAWLIX\\PELDA\\2015\\Common",
           L"\\Control Panel\\Desktop", L"\\Environment" }) {
        if (RegSetKeyValueW(HKEY_CURRENT_USER, (scratch + std::wstring(key)).c_str(), L"Value",
                            REG_SZ, L"some text", 20)
            != ERROR_SUCCESS)
            return 1;
    }
    HKEY source = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, scratch, 0, KEY_READ, &source) != ERROR_SUCCESS)
        return 1;
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        const QString sid = sidPrefix + QString::number(3000 + i);
        const QString profileFolder = folder + QLatin1Char('\\') + sid;
        CreateDirectoryW(profileFolder.toStdWString().c_str(), nullptr);
        const std::wstring hive = ProfileHive::hiveFile(profileFolder).toStdWString();
        DeleteFileW(hive.c_str());
        const std::wstring entry = std::wstring(profileList) + L"\\" + sid.toStdWString();
        const std::wstring path = profileFolder.toStdWString();
        if (RegSaveKeyW(source, hive.c_str(), nullptr) != ERROR_SUCCESS
            || RegSetKeyValueW(HKEY_LOCAL_MACHINE, entry.c_str(), L"ProfileImagePath",
                               REG_EXPAND_SZ, path.c_str(), DWORD((path.size() + 1) * 2))
                != ERROR_SUCCESS)
            ++failures;
    }
    RegCloseKey(source);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch);
    std::printf("profiles %d saved %d\n", count, count - failures);
    return failures == 0 ? 0 : 1;
}

// Times the run's pass, from its first word about it to its end, and counts what it reached.
class PassTimer : public RemovalObserver
{
public:
    void userSettingsStarting(const QStringList &) override { clock.start(); }
    void userHiveReached(const UserHive &hive) override
    {
        loads += hive.reach == UserHive::LoadedByRun ? 1 : 0;
    }
    void userKeyRemoved(const QString &, const KeyRemoval &removal) override
    {
        keys += removal.status == KeyRemoval::Removed ? 1 : 0;
    }
    QElapsedTimer clock;
    int loads = 0;
    int keys = 0;
};

double runPass(int *loads, int *keys)
{
    PassTimer timer;
    RemovalRun run(&timer);
    RemovalOptions options;
    options.allUsers = true;
    options.skipUnknownProducts = true;
    run.setOptions(options);
    const QStringList chosen = { EditionCatalogue::displayNameForLanguage(QStringLiteral("DEU")),
                                 EditionCatalogue::displayNameForLanguage(QStringLiteral("FRA")) };
    run.run([&chosen](const QString &name) { return chosen.contains(name); });
    const double milliseconds = timer.clock.isValid() ? timer.clock.nsecsElapsed() / 1e6 : -1;
    *loads = timer.loads;
    *keys = timer.keys;
    return milliseconds;
}

// Each hive loaded and unloaded; with deleting, its two settings keys deleted in between, the
// least any removal has to do.
double bareCycles(const QList<ProfileHive::Profile> &profiles, bool deleting, int *failures)
{
    QElapsedTimer clock;
    clock.start();
    for (const ProfileHive::Profile &profile : profiles) {
        const std::wstring mount = (QStringLiteral("RemedorBare-") + profile.sid).toStdWString();
        const std::wstring file = ProfileHive::hiveFile(profile.folder).toStdWString();
        if (RegLoadKeyW(HKEY_USERS, mount.c_str(), file.c_str()) != ERROR_SUCCESS)
            ++*failures;
        for (const wchar_t *key : { L"\\SOFTWARE\\DAWLIX\\PELDA\\2015\\de-DE",
                                    L"\\SOFTWARE\\DAWLIX\\PELDA\\2015\\fr-FR" }) {
            if (deleting && RegDeleteTreeW(HKEY_USERS, (mount + key).c_str()) != ERROR_SUCCESS)
                ++*failures;
        }
        if (RegUnLoadKeyW(HKEY_USERS, mount.c_str()) != ERROR_SUCCESS)
            ++*failures;
    }
    return clock.nsecsElapsed() / 1e6;
}

int measure(int rounds)
{
    const QList<ProfileHive::Profile> profiles = benchProfiles();
    int failures = 0;
    for (int round = 0; round <= rounds; ++round) { // round 0 warms up and is not printed
        int loads = 0, keys = 0;
        double pass = 0, bare = 0, deleting = 0;
        if (round % 2 == 0) {
            bare = bareCycles(profiles, false, &failures);
            deleting = bareCycles(profiles, true, &failures);
            pass = runPass(&loads, &keys);
        } else {
            pass = runPass(&loads, &keys);
            deleting = bareCycles(profiles, true, &failures);
            bare = bareCycles(profiles, false, &failures);
        }
        if (round > 0)
            std::printf("round %d profiles %lld pass %.3f bare %.3f deleting %.3f loads %d keys "
                        "%d\n",
                        round, static_cast<long long>(profiles.size()), pass, bare, deleting, loads,
                        keys);
    }
    return failures == 0 ? 0 : 1;
}

int cleanup()
{
    for (const ProfileHive::Profile &profile : benchProfiles())
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE,
                        (std::wstring(profileList) + L"\\" + profile.sid.toStdWString()).c_str(),
                        KEY_WOW64_64KEY, 0);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (!enablePrivileges()) {
        std::fprintf(stderr, "the backup and restore privileges cannot be enabled\n");
        return 1;
    }
    if (arguments.size() == 3 && arguments[0] == QLatin1String("setup"))
        return setup(arguments[1], arguments[2].toInt());
    if (arguments.size() == 2 && arguments[0] == QLatin1String("measure"))
        return measure(arguments[1].toInt());
    if (arguments.size() == 1 && arguments[0] == QLatin1String("cleanup"))
        return cleanup();
    std::fprintf(stderr,
                 "usage: remedor_profile_pass_bench_win setup FOLDER COUNT | measure "
                 "ROUNDS | cleanup\n");
    return 87;
}
