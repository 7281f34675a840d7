// The Windows registry through the Win32 API, in the 32-bit view the tool has always used:
// HKLM\SOFTWARE paths resolve under WOW6432Node, HKCR\Installer and HKCU\SOFTWARE are shared.
//
// HKCR\Installer is read through the 64-bit view. On Windows both views show the one shared
// key, so nothing changes there; Wine, however, keeps a separate 32-bit HKCR (under
// Classes\Wow6432Node) and its Windows Installer writes HKCR\Installer in the 64-bit view
// only, where the 32-bit view never finds it.
//
// The profile list is read through the 64-bit view too: it is the system's own, which the
// 32-bit view need not show.
//
// Keys are only ever opened (RegOpenKeyExW), never created, so reading a missing key leaves
// the registry as it was.
//
// Every key the run backs up or deletes, and every key below it, is opened with
// REG_OPTION_OPEN_LINK: a registry link, which a user can create in their own hive (or in a key
// an installer left writable), is opened as itself and never followed to the key it names. A
// key that is itself a link is left alone; a link below a key being deleted is deleted as the
// link. RegDeleteTreeW follows links, so the subtree is walked here and each key deleted through
// its own handle (NtDeleteKey).

#include "registryerror.h"
#include "registrykey.h"
#include "registrypaths.h"

#include <windows.h>

#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

// Deletes the key the handle is open on, which has no subkeys left: a link goes as the link.
extern "C" NTSTATUS NTAPI NtDeleteKey(HANDLE key);
extern "C" ULONG NTAPI RtlNtStatusToDosError(NTSTATUS status);

namespace {

// An open registry key, closed whichever way the function that opened it returns.
class KeyHandle
{
public:
    KeyHandle() = default;
    ~KeyHandle()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    KeyHandle(const KeyHandle &) = delete;
    KeyHandle &operator=(const KeyHandle &) = delete;

    HKEY get() const { return m_key; }
    HKEY *receive() { return &m_key; }

private:
    HKEY m_key = nullptr;
};

HKEY hiveKey(const QString &name)
{
    const struct
    {
        const char *name;
        HKEY key;
    } hives[] = { { "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE },
                  { "HKEY_CURRENT_USER", HKEY_CURRENT_USER },
                  { "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT },
                  { "HKEY_USERS", HKEY_USERS } };
    for (const auto &hive : hives) {
        if (name.compare(QLatin1String(hive.name), Qt::CaseInsensitive) == 0)
            return hive.key;
    }
    return nullptr;
}

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

constexpr DWORD maximumKeyNameLength = 255; // characters, without the terminating NUL

// Opens the child as itself: a link is opened as the link, not as the key it names.
LSTATUS openChild(HKEY parent, const std::wstring &name, REGSAM access, KeyHandle &key)
{
    return RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, access, key.receive());
}

// Whether the key, opened as itself with KEY_QUERY_VALUE, is a registry link: a key whose
// SymbolicLinkValue of type REG_LINK names another key.
bool isLink(HKEY key)
{
    DWORD type = REG_NONE;
    return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr)
        == ERROR_SUCCESS
        && type == REG_LINK;
}

const char linkReason[] = "a registry link; not followed";

// Hands each child's name to visit, in the registry's order, until visit says it is done;
// says whether it did. The end of the list, or a key that went away meanwhile, ends it too.
template<typename Visit> bool visitChildren(HKEY key, Visit visit)
{
    wchar_t child[maximumKeyNameLength + 1];
    for (DWORD index = 0;; ++index) {
        DWORD length = maximumKeyNameLength + 1;
        if (RegEnumKeyExW(key, index, child, &length, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS)
            return false;
        if (visit(std::wstring_view(child, length)))
            return true;
    }
}

// Whether the key has a child spelled exactly so, letter case included; stops at the first.
bool hasChildSpelled(HKEY key, const std::wstring &name)
{
    return visitChildren(key, [&name](std::wstring_view child) { return child == name; });
}

// The names of every child, in the registry's order; anything but the end of the list is an
// error.
LSTATUS readChildNames(HKEY key, QStringList &names)
{
    wchar_t child[maximumKeyNameLength + 1];
    for (DWORD index = 0;; ++index) {
        DWORD length = maximumKeyNameLength + 1;
        const LSTATUS status
            = RegEnumKeyExW(key, index, child, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS)
            return status;
        names.append(QString::fromWCharArray(child, int(length)));
    }
}

// Every value with its type and raw data, in the registry's order. A value that grew since
// the key's sizes were asked for is asked for again at its new size.
LSTATUS readValues(HKEY key, QList<RegistryValue> &values)
{
    DWORD longestData = 0;
    LSTATUS status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, &longestData, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    std::wstring name(16384, L'\0'); // the longest value name the registry allows, and its NUL
    std::string data(std::max<DWORD>(longestData, 1), '\0');
    for (DWORD index = 0;;) {
        DWORD nameLength = DWORD(name.size());
        DWORD size = DWORD(data.size());
        DWORD type = REG_NONE;
        status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                               reinterpret_cast<BYTE *>(data.data()), &size);
        if (status == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (status == ERROR_MORE_DATA) {
            data.resize(std::max<size_t>(size, data.size() * 2));
            continue;
        }
        if (status != ERROR_SUCCESS)
            return status;
        values.append({ QString::fromWCharArray(name.data(), int(nameLength)), quint32(type),
                        QByteArray(data.data(), qsizetype(size)) });
        ++index;
    }
}

// The key open as key, at exportPath, then each key below it, parents first; the path of a
// key that could not be read goes to *failedPath.
LSTATUS appendSubtree(HKEY key, const QString &exportPath, REGSAM view, RegistrySubtree &subtree,
                      QString *failedPath)
{
    RegistrySubtree::Key entry { exportPath, {} };
    QStringList children;
    LSTATUS status = readValues(key, entry.values);
    if (status == ERROR_SUCCESS)
        status = readChildNames(key, children);
    if (status != ERROR_SUCCESS) {
        *failedPath = exportPath;
        return status;
    }
    subtree.keys.append(entry);
    for (const QString &child : children) {
        const QString childPath = exportPath + QLatin1Char('\\') + child;
        KeyHandle childKey;
        status = openChild(key, wide(child), KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | view,
                           childKey);
        // A link holds nothing of its own to restore, and what it names is not the run's.
        if (status == ERROR_SUCCESS && isLink(childKey.get()))
            continue;
        if (status == ERROR_SUCCESS)
            status = appendSubtree(childKey.get(), childPath, view, subtree, failedPath);
        else
            *failedPath = childPath;
        if (status != ERROR_SUCCESS)
            return status;
    }
    return ERROR_SUCCESS;
}

// Deletes everything below the key open as key, then the key itself, each through a handle
// opened as itself: a link below it goes as the link, and its target stays.
LSTATUS deleteSubtree(HKEY key, REGSAM view)
{
    QStringList children;
    LSTATUS status = isLink(key) ? ERROR_SUCCESS : readChildNames(key, children);
    for (const QString &child : children) {
        KeyHandle childKey;
        if (status == ERROR_SUCCESS)
            status = openChild(key, wide(child),
                               DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | view, childKey);
        if (status == ERROR_SUCCESS)
            status = deleteSubtree(childKey.get(), view);
    }
    if (status != ERROR_SUCCESS)
        return status;
    const NTSTATUS deleted = NtDeleteKey(key);
    return deleted >= 0 ? ERROR_SUCCESS : LSTATUS(RtlNtStatusToDosError(deleted));
}

// Whether the registry has a 32-bit view beside the native one: on 64-bit Windows, which a
// 64-bit program always runs on and a 32-bit one may.
bool hasTwoViews()
{
    if (sizeof(void *) == 8)
        return true;
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

} // namespace

class RegistryKey::Backend
{
public:
    explicit Backend(const QString &path)
    {
        const qsizetype separator = path.indexOf(QLatin1Char('\\'));
        const QString hiveName = separator < 0 ? path : path.left(separator);
        const QString subPath = separator < 0 ? QString() : path.mid(separator + 1);
        hive = hiveKey(hiveName);
        subKey = wide(subPath);

        const bool installerClasses = hive == HKEY_CLASSES_ROOT
            && (subPath.compare(QLatin1String("Installer"), Qt::CaseInsensitive) == 0
                || subPath.startsWith(QLatin1String("Installer\\"), Qt::CaseInsensitive));
        const QString profileList = RegistryPaths::profileList();
        const bool profiles = path.compare(profileList, Qt::CaseInsensitive) == 0
            || path.startsWith(profileList + QLatin1Char('\\'), Qt::CaseInsensitive);
        view = installerClasses || profiles ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    }

    LSTATUS open(REGSAM access, KeyHandle &key) const
    {
        if (!hive)
            return ERROR_FILE_NOT_FOUND;
        return RegOpenKeyExW(hive, subKey.c_str(), 0, access | view, key.receive());
    }

    // Where a key below this one sits in the native view, which a registry import writes to:
    // the 32-bit view shows HKLM\SOFTWARE\WOW6432Node as HKLM\SOFTWARE; the other keys the
    // removal reaches (HKCU\SOFTWARE and every user's, HKCR\Installer) are the same in both.
    QString nativePath(const QString &path) const
    {
        const QLatin1String software("HKEY_LOCAL_MACHINE\\SOFTWARE\\");
        const QLatin1String redirected("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\");
        if (view != KEY_WOW64_32KEY || hive != HKEY_LOCAL_MACHINE || !hasTwoViews()
            || !path.startsWith(software, Qt::CaseInsensitive)
            || path.startsWith(redirected, Qt::CaseInsensitive))
            return path;
        return redirected + path.mid(software.size());
    }

    HKEY hive = nullptr;
    std::wstring subKey; // the path below the hive
    REGSAM view = KEY_WOW64_32KEY;
};

RegistryKey::RegistryKey(const QString &path, RegistrySession *)
    : m_path(path)
    , d(std::make_unique<Backend>(path))
{
}

RegistryKey::~RegistryKey() = default;

QStringList RegistryKey::childKeys() const
{
    KeyHandle key;
    if (d->open(KEY_ENUMERATE_SUB_KEYS, key) != ERROR_SUCCESS)
        return {};
    QStringList children;
    visitChildren(key.get(), [&children](std::wstring_view child) {
        children.append(QString::fromWCharArray(child.data(), int(child.size())));
        return false;
    });
    return children;
}

bool RegistryKey::hasChild(const QString &name) const
{
    KeyHandle key;
    return !name.isEmpty() && d->open(KEY_ENUMERATE_SUB_KEYS, key) == ERROR_SUCCESS
        && hasChildSpelled(key.get(), wide(name));
}

// Strings as they are stored (REG_EXPAND_SZ unexpanded), DWORDs in decimal. One query
// usually does: a longer value than the buffer holds is asked for again at its size.
QString RegistryKey::stringValue(const QString &valueName) const
{
    KeyHandle key;
    if (d->open(KEY_QUERY_VALUE, key) != ERROR_SUCCESS)
        return {};
    const std::wstring name = wide(valueName);
    // One character more than the data asks for, as stored strings need not end in NUL.
    std::wstring data(128, L'\0');
    DWORD type = 0;
    DWORD size = DWORD((data.size() - 1) * sizeof(wchar_t));
    LSTATUS status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE *>(data.data()), &size);
    if (status == ERROR_MORE_DATA) {
        data.assign(size / sizeof(wchar_t) + 2, L'\0');
        size = DWORD((data.size() - 1) * sizeof(wchar_t));
        status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE *>(data.data()), &size);
    }
    if (status != ERROR_SUCCESS)
        return {};
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        return QString::number(number);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return {};
    data.resize(size / sizeof(wchar_t));
    return QString::fromWCharArray(data.c_str()); // up to the first NUL
}

std::optional<RegistrySubtree> RegistryKey::childSubtree(const QString &name, QString *error) const
{
    const QString path = m_path + QLatin1Char('\\') + name;
    RegistrySubtree subtree;
    KeyHandle parent;
    LSTATUS status = d->open(KEY_ENUMERATE_SUB_KEYS, parent);
    if (status == ERROR_FILE_NOT_FOUND || name.isEmpty())
        return subtree;
    QString failedPath = path;
    if (status == ERROR_SUCCESS) {
        const std::wstring childName = wide(name);
        if (!hasChildSpelled(parent.get(), childName))
            return subtree;
        KeyHandle child;
        status = openChild(parent.get(), childName,
                           KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | d->view, child);
        if (status == ERROR_SUCCESS && isLink(child.get())) {
            *error = QStringLiteral("%1: %2").arg(path, QLatin1String(linkReason));
            return std::nullopt;
        }
        if (status == ERROR_SUCCESS)
            status = appendSubtree(child.get(), d->nativePath(path), d->view, subtree, &failedPath);
    }
    if (status == ERROR_SUCCESS)
        return subtree;
    *error = QStringLiteral("%1: %2").arg(failedPath, RegistryError::message(status));
    return std::nullopt;
}

QString RegistryKey::damage()
{
    return QString();
}

// The exact-case test comes first: the registry itself ignores letter case. The child is
// opened as itself; a link is left alone, and anything else goes with everything below it,
// key by key through its own handle, in the parent's view.
KeyRemoval RegistryKey::removeChildKey(const QString &name)
{
    const QString path = m_path + QLatin1Char('\\') + name;
    if (name.isEmpty())
        return { path, KeyRemoval::NotThere, QString() };

    KeyHandle parent;
    LSTATUS status = d->open(KEY_ENUMERATE_SUB_KEYS, parent);
    if (status != ERROR_SUCCESS)
        return RegistryError::removalAfter(path, status);
    const std::wstring childName = wide(name);
    if (!hasChildSpelled(parent.get(), childName))
        return { path, KeyRemoval::NotThere, QString() };
    KeyHandle child;
    status = openChild(parent.get(), childName,
                       DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | d->view, child);
    if (status != ERROR_SUCCESS)
        return RegistryError::removalAfter(path, status);
    if (isLink(child.get()))
        return { path, KeyRemoval::Failed, QLatin1String(linkReason) };
    return RegistryError::removalAfter(path, deleteSubtree(child.get(), d->view));
}
