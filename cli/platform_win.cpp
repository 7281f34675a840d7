#include "platform.h"

#include <atomic>
#include <vector>

#include <windows.h>

namespace {

// The console's control handler runs on a thread of its own, and can reach nothing but a
// variable of static storage.
std::atomic_bool interrupted { false };

BOOL WINAPI onConsoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE; // closing the window, logging off, shutting down: the default
    interrupted = true;
    return TRUE;
}

// A token handle, closed whichever way the function that opened it returns.
class TokenHandle
{
public:
    TokenHandle() = default;
    ~TokenHandle()
    {
        if (m_token)
            CloseHandle(m_token);
    }
    TokenHandle(const TokenHandle &) = delete;
    TokenHandle &operator=(const TokenHandle &) = delete;

    HANDLE get() const { return m_token; }
    HANDLE *receive() { return &m_token; }

private:
    HANDLE m_token = nullptr;
};

} // namespace

bool Platform::isElevated()
{
    TokenHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()))
        return false;
    TOKEN_ELEVATION elevation = {};
    DWORD size = sizeof elevation;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size))
        return false;
    return elevation.TokenIsElevated != 0;
}

void Platform::catchInterrupts()
{
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

bool Platform::interruptRequested()
{
    return interrupted;
}

// The token's user, looked up by its security identifier: this names SYSTEM and service
// accounts as well as people.
QString Platform::accountName()
{
    TokenHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()))
        return QString();
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<char> buffer(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        return QString();
    const PSID sid = reinterpret_cast<const TOKEN_USER *>(buffer.data())->User.Sid;
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameLength = 256;
    DWORD domainLength = 256;
    SID_NAME_USE use;
    if (!LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use))
        return QString();
    const QString user = QString::fromWCharArray(name, int(nameLength));
    return domainLength == 0
        ? user
        : QString::fromWCharArray(domain, int(domainLength)) + QLatin1Char('\\') + user;
}
