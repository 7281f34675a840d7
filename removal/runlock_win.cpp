// The run lock on Windows: a mutex in the Global\ namespace, so that runs in every session (a
// deployment agent's as SYSTEM in session 0, an administrator's wizard on the desktop) meet the
// same one. Windows releases a mutex whose owner ended without releasing it; the next run then
// takes it as abandoned, which is not a reason to stop.
//
// The mutex is created for SYSTEM and the Administrators group only, so that a standard user
// can neither take it nor hold it while a run has it.

#include "runlock.h"

#include "registryerror.h"

#include <windows.h>

#include <sddl.h>

namespace {

constexpr wchar_t mutexName[] = L"Global\\Remedor.OneRunAtATime";

// Protected DACL: full access for SYSTEM and the Administrators group, nothing for others.
constexpr wchar_t mutexSecurity[] = L"D:P(A;;GA;;;SY)(A;;GA;;;BA)";

HANDLE openMutex(DWORD &error)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(mutexSecurity, SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        error = GetLastError();
        return nullptr;
    }
    SECURITY_ATTRIBUTES attributes = { sizeof attributes, descriptor, FALSE };
    const HANDLE mutex = CreateMutexW(&attributes, FALSE, mutexName);
    error = GetLastError();
    LocalFree(descriptor);
    return mutex;
}

} // namespace

RunLock::~RunLock()
{
    release();
}

RunLock::Outcome RunLock::acquire()
{
    release();
    DWORD error = ERROR_SUCCESS;
    const HANDLE mutex = openMutex(error);
    if (!mutex) {
        m_error = RegistryError::message(long(error));
        return Outcome::Failed;
    }
    switch (WaitForSingleObject(mutex, 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
        m_handle = reinterpret_cast<qintptr>(mutex);
        return Outcome::Held;
    case WAIT_TIMEOUT:
        CloseHandle(mutex);
        return Outcome::Busy;
    default:
        m_error = RegistryError::message(long(GetLastError()));
        CloseHandle(mutex);
        return Outcome::Failed;
    }
}

void RunLock::release()
{
    if (m_handle == -1)
        return;
    const HANDLE mutex = reinterpret_cast<HANDLE>(m_handle);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    m_handle = -1;
}
