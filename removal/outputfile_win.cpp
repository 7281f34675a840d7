// Output files on Windows: every file and folder is opened with FILE_FLAG_OPEN_REPARSE_POINT,
// so that a symbolic link or junction is opened as itself and refused, and the handle's final
// path must be the path asked for (a junction on the folder's path leads elsewhere). Ownership
// and the access list are read from the handle.

#include "outputfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace {

// A kernel handle, closed whichever way the function that opened it returns.
class KernelHandle
{
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle)
        : m_handle(handle)
    {
    }
    ~KernelHandle() { reset(); }
    KernelHandle(const KernelHandle &) = delete;
    KernelHandle &operator=(const KernelHandle &) = delete;

    HANDLE get() const { return m_handle; }
    HANDLE *receive() { return &m_handle; }
    bool isValid() const { return m_handle && m_handle != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (isValid())
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// Memory the system allocated with LocalAlloc.
class LocalMemory
{
public:
    ~LocalMemory() { LocalFree(m_memory); }
    PSECURITY_DESCRIPTOR *receive() { return &m_memory; }
    PSECURITY_DESCRIPTOR get() const { return m_memory; }

private:
    PSECURITY_DESCRIPTOR m_memory = nullptr;
};

QString systemError(DWORD error)
{
    return qt_error_string(int(error));
}

std::wstring wide(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

QString fromWide(const wchar_t *text, size_t length)
{
    return QString::fromWCharArray(text, int(length));
}

QString folderOf(const QString &absolutePath)
{
    return QFileInfo(absolutePath).path();
}

// The path as the file system spells it: short (8.3) names expanded.
QString longPath(const QString &path)
{
    const std::wstring asked = wide(path);
    std::vector<wchar_t> buffer(32768);
    const DWORD length = GetLongPathNameW(asked.c_str(), buffer.data(), DWORD(buffer.size()));
    if (length == 0 || length >= buffer.size())
        return QDir::toNativeSeparators(path);
    return fromWide(buffer.data(), length);
}

// Where the handle really leads, junctions and links on the way resolved, in the form a
// caller writes it: "C:\…" or "\\server\share\…".
QString finalPath(HANDLE handle)
{
    std::vector<wchar_t> buffer(32768);
    const DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), DWORD(buffer.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= buffer.size())
        return QString();
    QString path = fromWide(buffer.data(), length);
    if (path.startsWith(QLatin1String("\\\\?\\UNC\\")))
        return QLatin1String("\\\\") + path.mid(8);
    if (path.startsWith(QLatin1String("\\\\?\\")))
        return path.mid(4);
    return path;
}

bool samePath(const QString &a, const QString &b)
{
    return QDir::toNativeSeparators(a).compare(QDir::toNativeSeparators(b), Qt::CaseInsensitive)
        == 0;
}

// The process's own account and whether it runs elevated (SYSTEM included).
struct Account
{
    std::vector<BYTE> user; // a TOKEN_USER
    bool elevated = false;

    PSID sid() const
    {
        return user.empty() ? nullptr : reinterpret_cast<const TOKEN_USER *>(user.data())->User.Sid;
    }
};

Account currentAccount()
{
    Account account;
    KernelHandle token(nullptr);
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()))
        return account;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    account.user.resize(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, account.user.data(), size, &size))
        account.user.clear();
    TOKEN_ELEVATION elevation = {};
    account.elevated
        = GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)
        && elevation.TokenIsElevated;
    return account;
}

bool isTrusted(PSID sid, const Account &account)
{
    return IsWellKnownSid(sid, WinLocalSystemSid)
        || IsWellKnownSid(sid, WinBuiltinAdministratorsSid)
        || (account.sid() && EqualSid(sid, account.sid()));
}

QString accountName(PSID sid)
{
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameLength = 256;
    DWORD domainLength = 256;
    SID_NAME_USE use;
    if (LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use))
        return domainLength
            ? fromWide(domain, domainLength) + QLatin1Char('\\') + fromWide(name, nameLength)
            : fromWide(name, nameLength);
    wchar_t *text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text))
        return QStringLiteral("an unknown account");
    const QString shown = QString::fromWCharArray(text);
    LocalFree(text);
    return shown;
}

// An existing file or folder is used only when SYSTEM, the Administrators group or this
// account owns it and nobody else is granted a right to change it (as OpenSSH treats its own
// files).
QString foreignAccess(HANDLE handle)
{
    const Account account = currentAccount();
    PSID owner = nullptr;
    PACL dacl = nullptr;
    LocalMemory descriptor;
    const DWORD status = GetSecurityInfo(handle, SE_FILE_OBJECT,
                                         OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                         &owner, nullptr, &dacl, nullptr, descriptor.receive());
    if (status != ERROR_SUCCESS)
        return QStringLiteral("its owner and access cannot be read: %1").arg(systemError(status));
    if (!owner || !isTrusted(owner, account))
        return QStringLiteral("it belongs to %1, not to SYSTEM, the Administrators group or the "
                              "account that runs this program")
            .arg(owner ? accountName(owner) : QStringLiteral("nobody"));
    if (!dacl)
        return QStringLiteral("everyone may write it (it has no access list)");
    const ACCESS_MASK changes = FILE_WRITE_DATA | FILE_APPEND_DATA | WRITE_DAC | WRITE_OWNER
        | GENERIC_WRITE | GENERIC_ALL;
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void *entry = nullptr;
        if (!GetAce(dacl, index, &entry))
            continue;
        const auto *ace = static_cast<const ACCESS_ALLOWED_ACE *>(entry);
        if ((ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE
             && ace->Header.AceType != ACCESS_ALLOWED_CALLBACK_ACE_TYPE)
            || (ace->Header.AceFlags & INHERIT_ONLY_ACE) || !(ace->Mask & changes))
            continue;
        PSID sid = const_cast<DWORD *>(&ace->SidStart);
        if (!isTrusted(sid, account))
            return QStringLiteral("%1 may write it").arg(accountName(sid));
    }
    return QString();
}

// Full control for SYSTEM and the Administrators group, nothing for anyone else, and nothing
// inherited from the folder; a folder hands the same to what is created in it. Only an elevated
// process: a standard user's own run keeps the access it would have had.
class PrivateAccess
{
public:
    explicit PrivateAccess(bool folder)
    {
        if (!currentAccount().elevated)
            return;
        const wchar_t *sddl
            = folder ? L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)" : L"D:P(A;;FA;;;SY)(A;;FA;;;BA)";
        if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                 m_descriptor.receive(), nullptr)) {
            m_attributes.nLength = sizeof m_attributes;
            m_attributes.lpSecurityDescriptor = m_descriptor.get();
            m_attributes.bInheritHandle = FALSE;
        }
    }

    SECURITY_ATTRIBUTES *attributes()
    {
        return m_attributes.lpSecurityDescriptor ? &m_attributes : nullptr;
    }

private:
    LocalMemory m_descriptor;
    SECURITY_ATTRIBUTES m_attributes = {};
};

QString identityOf(const BY_HANDLE_FILE_INFORMATION &info)
{
    return QStringLiteral("%1:%2:%3")
        .arg(info.dwVolumeSerialNumber)
        .arg(info.nFileIndexHigh)
        .arg(info.nFileIndexLow);
}

// Opens what path names as itself, never what a link there points to.
HANDLE openAsItself(const QString &path, DWORD access)
{
    return CreateFileW(
        wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// What the handle is, checked against the rules: not a link, the kind expected, one hard link,
// reached at the path asked for, and (unless created now) the program's own.
QString ruleBreak(HANDLE handle, const QString &expectedPath, bool folder, bool created,
                  BY_HANDLE_FILE_INFORMATION *info)
{
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, info))
        return folder ? QStringLiteral("it is not a folder") : QStringLiteral("it is not a file");
    if (info->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return QStringLiteral("it is a symbolic link or junction (a reparse point)");
    const bool isFolder = info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (isFolder != folder)
        return folder ? QStringLiteral("it is not a folder") : QStringLiteral("it is not a file");
    if (!folder && info->nNumberOfLinks > 1)
        return QStringLiteral("it has %1 hard links: other names reach the same file")
            .arg(info->nNumberOfLinks);
    const QString real = finalPath(handle);
    if (!samePath(real, expectedPath))
        return QStringLiteral("it is reached through a link or junction (it is really %1)")
            .arg(real);
    return created ? QString() : foreignAccess(handle);
}

// The path the file at path must have when nothing on the way is a link: its folder as the
// file system spells it, then its name.
QString expectedPath(const QString &absolutePath)
{
    const QString folder = longPath(folderOf(absolutePath));
    return folder + (folder.endsWith(QLatin1Char('\\')) ? QString() : QStringLiteral("\\"))
        + QFileInfo(absolutePath).fileName();
}

// The folder of a file, checked as a folder reached without a link; its identity.
QString checkFolder(const QString &folder, QString *identity)
{
    KernelHandle handle(openAsItself(folder, READ_CONTROL | FILE_READ_ATTRIBUTES));
    if (!handle.isValid())
        return systemError(GetLastError());
    BY_HANDLE_FILE_INFORMATION info = {};
    const QString why = ruleBreak(handle.get(), longPath(folder), true, true, &info);
    if (!why.isEmpty())
        return QStringLiteral("its folder %1: %2").arg(QDir::toNativeSeparators(folder), why);
    if (identity)
        *identity = identityOf(info);
    return QString();
}

bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool writeAll(HANDLE handle, const QByteArray &bytes, bool atEnd, DWORD *error)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        OVERLAPPED at = {};
        if (atEnd) { // each write at the end of the file, wherever that is now
            at.Offset = 0xFFFFFFFF;
            at.OffsetHigh = 0xFFFFFFFF;
        }
        DWORD written = 0;
        const DWORD chunk = DWORD(qMin<qsizetype>(bytes.size() - done, 1 << 20));
        if (!WriteFile(handle, bytes.constData() + done, chunk, &written, atEnd ? &at : nullptr)
            || written == 0) {
            *error = written == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL
                                                                     : GetLastError();
            return false;
        }
        done += written;
    }
    return true;
}

// Creates the folder and its missing parents, each private.
QString createMissing(const QString &folder)
{
    if (GetFileAttributesW(wide(folder).c_str()) != INVALID_FILE_ATTRIBUTES)
        return QString();
    const QString parent = folderOf(folder);
    if (!isMissing(GetLastError()) || samePath(parent, folder))
        return systemError(GetLastError());
    const QString why = createMissing(parent);
    if (!why.isEmpty())
        return why;
    PrivateAccess access(true);
    if (!CreateDirectoryW(wide(folder).c_str(), access.attributes())
        && GetLastError() != ERROR_ALREADY_EXISTS)
        return systemError(GetLastError());
    return QString();
}

} // namespace

class OutputFile::Handle
{
public:
    KernelHandle handle;
    QString identity;
};

OutputFile::OutputFile()
    : d(std::make_unique<Handle>())
{
}

OutputFile::~OutputFile() = default;

QByteArray OutputFile::lineEnd()
{
    return QByteArrayLiteral("\r\n");
}

// Names that differ in letter case only are one file.
QString OutputFile::childIdentity(const QString &folderIdentity, const QString &name)
{
    return folderIdentity + QLatin1Char('\\') + name.toLower();
}

QString OutputFile::inspect(const QString &path, QString *identity)
{
    const QString file = absolute(path);
    QString folderIdentity;
    const QString why = checkFolder(folderOf(file), &folderIdentity);
    if (!why.isEmpty())
        return why;
    KernelHandle handle(openAsItself(file, READ_CONTROL | FILE_READ_ATTRIBUTES));
    if (!handle.isValid() && isMissing(GetLastError())) {
        if (identity)
            *identity = childIdentity(folderIdentity, QFileInfo(file).fileName());
        return QString();
    }
    if (!handle.isValid())
        return systemError(GetLastError());
    BY_HANDLE_FILE_INFORMATION info = {};
    const QString broken = ruleBreak(handle.get(), expectedPath(file), false, false, &info);
    if (broken.isEmpty() && identity)
        *identity = identityOf(info);
    return broken;
}

QString OutputFile::inspectFolder(const QString &path, QString *identity)
{
    QString existing = absolute(path);
    QString below;
    while (GetFileAttributesW(wide(existing).c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (!isMissing(error) || samePath(folderOf(existing), existing))
            return systemError(error);
        below = childIdentity(QString(), QFileInfo(existing).fileName()) + below;
        existing = folderOf(existing);
    }
    KernelHandle handle(openAsItself(existing, READ_CONTROL | FILE_READ_ATTRIBUTES));
    if (!handle.isValid())
        return systemError(GetLastError());
    BY_HANDLE_FILE_INFORMATION info = {};
    QString why = ruleBreak(handle.get(), longPath(existing), true, !below.isEmpty(), &info);
    if (!why.isEmpty())
        return below.isEmpty()
            ? why
            : QStringLiteral("its folder %1: %2").arg(QDir::toNativeSeparators(existing), why);
    if (identity)
        *identity = identityOf(info) + below;
    return QString();
}

bool OutputFile::open(const QString &path, bool create)
{
    close();
    m_path = absolute(path);
    const QString why = checkFolder(folderOf(m_path), nullptr);
    if (!why.isEmpty())
        return fail(why);
    PrivateAccess access(false);
    d->handle.reset(CreateFileW(wide(m_path).c_str(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL,
                                FILE_SHARE_READ, create ? access.attributes() : nullptr,
                                create ? OPEN_ALWAYS : OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const bool created = create && GetLastError() != ERROR_ALREADY_EXISTS;
    if (!d->handle.isValid())
        return fail(systemError(GetLastError()));
    BY_HANDLE_FILE_INFORMATION info = {};
    const QString broken = ruleBreak(d->handle.get(), expectedPath(m_path), false, created, &info);
    if (!broken.isEmpty()) {
        close();
        return fail(broken);
    }
    d->identity = identityOf(info);
    return true;
}

bool OutputFile::isOpen() const
{
    return d->handle.isValid();
}

void OutputFile::close()
{
    d->handle.reset();
}

bool OutputFile::readAll(QByteArray *bytes)
{
    bytes->clear();
    char buffer[65536];
    for (quint64 offset = 0;;) {
        OVERLAPPED at = {};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD got = 0;
        if (!ReadFile(d->handle.get(), buffer, sizeof buffer, &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                return true;
            return fail(systemError(GetLastError()));
        }
        if (got == 0)
            return true;
        bytes->append(buffer, got);
        offset += got;
    }
}

qint64 OutputFile::size()
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(d->handle.get(), &size)) {
        fail(systemError(GetLastError()));
        return -1;
    }
    return size.QuadPart;
}

bool OutputFile::append(const QByteArray &bytes)
{
    DWORD error = 0;
    return writeAll(d->handle.get(), bytes, true, &error) || fail(systemError(error));
}

bool OutputFile::sync()
{
    return FlushFileBuffers(d->handle.get()) || fail(systemError(GetLastError()));
}

bool OutputFile::truncate(qint64 size)
{
    FILE_END_OF_FILE_INFO end = {};
    end.EndOfFile.QuadPart = size;
    return SetFileInformationByHandle(d->handle.get(), FileEndOfFileInfo, &end, sizeof end)
        || fail(systemError(GetLastError()));
}

bool OutputFile::isStillAtPath()
{
    KernelHandle named(openAsItself(m_path, FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION info = {};
    return named.isValid() && GetFileInformationByHandle(named.get(), &info)
        && identityOf(info) == d->identity;
}

// Written under a new name of its own in the same folder, then renamed over the file through
// the very handle that wrote it: no name that someone else could have prepared is followed.
QString OutputFile::replace(const QString &path, const QByteArray &bytes)
{
    const QString file = absolute(path);
    const QString why = inspect(file);
    if (!why.isEmpty())
        return why;
    const QString temporary = folderOf(file)
        + QStringLiteral("/.%1.%2.tmp")
              .arg(QFileInfo(file).fileName())
              .arg(QRandomGenerator::system()->generate64(), 0, 16);
    PrivateAccess access(false);
    KernelHandle handle(CreateFileW(wide(temporary).c_str(), GENERIC_WRITE | DELETE, 0,
                                    access.attributes(), CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle.isValid())
        return systemError(GetLastError());
    DWORD error = 0;
    if (!writeAll(handle.get(), bytes, false, &error) || !FlushFileBuffers(handle.get())) {
        error = error ? error : GetLastError();
    } else {
        const std::wstring target = wide(file);
        std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
        auto *rename = reinterpret_cast<FILE_RENAME_INFO *>(buffer.data());
        rename->ReplaceIfExists = TRUE;
        rename->RootDirectory = nullptr;
        rename->FileNameLength = DWORD(target.size() * sizeof(wchar_t));
        std::copy(target.begin(), target.end(), rename->FileName);
        if (SetFileInformationByHandle(handle.get(), FileRenameInfo, rename, DWORD(buffer.size())))
            return QString();
        error = GetLastError();
    }
    FILE_DISPOSITION_INFO remove = {};
    remove.DeleteFile = TRUE;
    SetFileInformationByHandle(handle.get(), FileDispositionInfo, &remove, sizeof remove);
    return systemError(error);
}

QString OutputFile::makeFolder(const QString &path)
{
    const QString folder = absolute(path);
    const QString why = createMissing(folder);
    return why.isEmpty() ? inspectFolder(folder) : why;
}
