// Where the module takes code from: the system folder only. A DLL of a
// system name planted in the folder the saver starts from, or in the install
// folder it makes current, is never loaded.
#include "host.h"

#include <cstdio>

typedef BOOL(WINAPI *DefaultDllDirectoriesProc)(DWORD flags);

void restrictDllSearch() {
    // SetDefaultDllDirectories comes with Windows 8 (and an update to Vista
    // and 7); without it the current folder at least leaves the search.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (found != nullptr &&
        reinterpret_cast<DefaultDllDirectoriesProc>(reinterpret_cast<void *>(found))(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    SetDllDirectoryA("");
}

HMODULE loadSystemModule(const char *name) {
    // For a 32-bit process on 64-bit Windows the system redirects this
    // folder to SysWOW64, where the 32-bit modules are.
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    char path[MAX_PATH + 32];
    int written = std::snprintf(path, sizeof path, "%s\\%s", folder, name);
    if (written < 0 || written >= static_cast<int>(sizeof path)) return nullptr;
    return LoadLibraryA(path);
}
