// Profiles on Windows: a folder from ProfileList, expanded as the system expands it, whose
// NTUSER.DAT is loaded under HKEY_USERS with RegLoadKeyW. Loading and unloading a hive need
// the backup and restore privileges, which an administrator's and SYSTEM's token hold but
// have disabled: they are enabled for each call only.

#include "profilehive.h"
#include "registryerror.h"

#include <windows.h>

#include <string>

namespace {

// A privilege of the process's token enabled for the life of the object, then put back as it
// was (one already enabled stays so).
class EnabledPrivilege
{
public:
    explicit EnabledPrivilege(const wchar_t *name)
    {
        TOKEN_PRIVILEGES wanted {};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &m_token)
            || !LookupPrivilegeValueW(nullptr, name, &wanted.Privileges[0].Luid))
            return;
        DWORD size = sizeof m_previous;
        // Without the privilege the call succeeds with ERROR_NOT_ALL_ASSIGNED; the load then
        // fails with the system's own reason.
        m_adjusted
            = AdjustTokenPrivileges(m_token, FALSE, &wanted, sizeof m_previous, &m_previous, &size)
            && GetLastError() == ERROR_SUCCESS;
    }
    ~EnabledPrivilege()
    {
        if (m_adjusted)
            AdjustTokenPrivileges(m_token, FALSE, &m_previous, 0, nullptr, nullptr);
        if (m_token)
            CloseHandle(m_token);
    }
    EnabledPrivilege(const EnabledPrivilege &) = delete;
    EnabledPrivilege &operator=(const EnabledPrivilege &) = delete;

private:
    HANDLE m_token = nullptr;
    TOKEN_PRIVILEGES m_previous {};
    bool m_adjusted = false;
};

// Both privileges that loading and unloading a hive need.
struct HivePrivileges
{
    EnabledPrivilege backup { L"SeBackupPrivilege" };
    EnabledPrivilege restore { L"SeRestorePrivilege" };
};

} // namespace

QString ProfileHive::hiveFile(const QString &profileFolder)
{
    return profileFolder + QStringLiteral("\\NTUSER.DAT");
}

QString ProfileHive::expandedFolder(const QString &stored)
{
    const std::wstring source = stored.toStdWString();
    std::wstring expanded(MAX_PATH, L'\0');
    DWORD length
        = ExpandEnvironmentStringsW(source.c_str(), expanded.data(), DWORD(expanded.size()));
    if (length > expanded.size()) {
        expanded.assign(length, L'\0');
        length = ExpandEnvironmentStringsW(source.c_str(), expanded.data(), DWORD(expanded.size()));
    }
    if (length == 0 || length > expanded.size())
        return stored;
    return QString::fromWCharArray(expanded.c_str()); // up to the terminating NUL
}

UserHive::Reach ProfileHive::load(QString *reason)
{
    const std::wstring file = hiveFile(m_report.profilePath).toStdWString();
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return UserHive::NoHiveFile;
    }
    const std::wstring mount = mountName().toStdWString();
    const HivePrivileges privileges;
    // A hive stays loaded past the end of the process that loaded it: one left under this
    // name by a run that was ended from outside goes first, or it could never be loaded again.
    RegUnLoadKeyW(HKEY_USERS, mount.c_str());
    const LSTATUS status = RegLoadKeyW(HKEY_USERS, mount.c_str(), file.c_str());
    if (status == ERROR_SUCCESS)
        return UserHive::LoadedByRun;
    // A load that failed on the file's content may still leave the name behind (Wine does).
    RegUnLoadKeyW(HKEY_USERS, mount.c_str());
    *reason = RegistryError::message(status);
    return UserHive::NotLoadable;
}

// Another process (a virus scanner, the search indexer) may hold a key of the hive open for a
// moment, which refuses the unloading: it is tried again for about a second.
QString ProfileHive::unloadHive()
{
    const std::wstring mount = mountName().toStdWString();
    const HivePrivileges privileges;
    LSTATUS status = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 10; ++attempt) {
        status = RegUnLoadKeyW(HKEY_USERS, mount.c_str());
        if (status == ERROR_SUCCESS)
            return QString();
        Sleep(100);
    }
    return RegistryError::message(status);
}
