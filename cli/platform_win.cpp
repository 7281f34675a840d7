#include "platform.h"

#include <atomic>
#include <string>

#include <windows.h>

#include <msi.h>

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

bool Platform::isProductInstalled(const QString &productCode)
{
    const std::wstring code = productCode.toStdWString();
    return MsiQueryProductStateW(code.c_str()) == INSTALLSTATE_DEFAULT;
}
