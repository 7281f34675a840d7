// A DLL that only leaves a trace. Planted beside a program under the name of a DLL that the
// program imports or loads, it creates "<its own path>.loaded" in every process that loads it,
// saying who asked for it:
//
//   program   code from the program's folder (the program, or a DLL beside it) loaded it;
//   start-up  the loader, resolving imports before any code of the process ran;
//   system    a DLL of the system loaded it for itself.
//
// It also carries the metadata of a Qt platform plug-in for the key "windows", as a real one
// built against this Qt (6.4, release, x86-64) would: Qt reads it from the file without loading
// it, so a program whose Qt looks in a folder holding this DLL loads it to make its platform,
// and the marker shows that it did.
//
// Linked without the C run time: its entry point is DllMain.

#include <windows.h>

namespace {

// The section Qt's plug-in loader looks for: its magic, the metadata format 1, Qt 6.4, the
// baseline x86-64 architecture level of a release build, then CBOR: {2: IID, 3: class name,
// 4: {"Keys": ["windows"]}}.
__attribute__((section(".qtmetadata"), used)) const char qtPluginMetaData[]
    = "QTMETADATA !"
      "\x01\x06\x04\x01"
      "\xbf"
      "\x02\x78\x3e"
      "org.qt-project.Qt.QPA."
      "QPlatformIntegrationFactoryInterface.5.3"
      "\x03\x6c"
      "MarkerPlugin"
      "\x04\xa1\x64"
      "Keys"
      "\x81\x67"
      "windows"
      "\xff";

HMODULE moduleAt(void *address)
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS
                           | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &module);
    return module;
}

// Whether two modules lie in the same folder.
bool sameFolder(HMODULE first, HMODULE second)
{
    WCHAR a[MAX_PATH], b[MAX_PATH];
    DWORD length = GetModuleFileNameW(first, a, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || GetModuleFileNameW(second, b, MAX_PATH) == 0)
        return false;
    while (length > 0 && a[length - 1] != L'\\')
        --length;
    a[length] = 0;
    return CompareStringOrdinal(a, static_cast<int>(length), b, static_cast<int>(length), TRUE)
        == CSTR_EQUAL;
}

// The first frame on the stack that is neither this DLL nor the loader's decides.
const char *requester(HMODULE self)
{
    const HMODULE loader[] = { GetModuleHandleW(L"ntdll.dll"), GetModuleHandleW(L"kernelbase.dll"),
                               GetModuleHandleW(L"kernel32.dll") };
    void *frames[62];
    const USHORT count = RtlCaptureStackBackTrace(0, 62, frames, nullptr);
    for (USHORT i = 0; i < count; ++i) {
        const HMODULE module = moduleAt(frames[i]);
        if (!module || module == self || module == loader[0] || module == loader[1]
            || module == loader[2])
            continue;
        return sameFolder(self, module) ? "program" : "system";
    }
    return "start-up";
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    WCHAR marker[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(instance, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    lstrcatW(marker, L".loaded");
    const HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return TRUE;
    const char *who = requester(instance);
    DWORD written = 0;
    WriteFile(file, who, static_cast<DWORD>(lstrlenA(who)), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
    CloseHandle(file);
    return TRUE;
}
