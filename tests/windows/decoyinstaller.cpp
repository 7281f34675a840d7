// A stand-in that must never run: scripts/test-windows.sh copies it beside the tests and into
// their working folder as msiexec.exe (and under a name of its own), where a program that
// looked for the installer by bare name would find it first. When started it leaves
// decoy-installer-ran.txt, holding its command line, beside itself and in C:\.

#include <windows.h>

#include <cwchar>

namespace {

void leaveMarker(const wchar_t *path)
{
    const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const wchar_t *commandLine = GetCommandLineW();
    DWORD written = 0;
    WriteFile(file, commandLine, DWORD(std::wcslen(commandLine) * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
}

} // namespace

int main()
{
    wchar_t path[MAX_PATH + 32];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        wchar_t *separator = std::wcsrchr(path, L'\\');
        if (separator) {
            std::wcscpy(separator + 1, L"decoy-installer-ran.txt");
            leaveMarker(path);
        }
    }
    leaveMarker(L"C:\\decoy-installer-ran.txt");
    return 0; // a success, so that only the marker tells it ran
}
