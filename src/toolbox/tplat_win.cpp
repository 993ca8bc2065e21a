// The toolbox's platform calls on Windows.
#include <windows.h>

#include <io.h>
#include <sys/stat.h>

#include <cstdlib>

#include "tplat.h"

void *platAlloc(std::size_t size) { return std::malloc(size); }

static CRITICAL_SECTION poolLock;

void platLockInit() { InitializeCriticalSection(&poolLock); }
void platLockEnter() { EnterCriticalSection(&poolLock); }
void platLockLeave() { LeaveCriticalSection(&poolLock); }

int platMessageBox(const char *text, const char *caption, unsigned type) {
    return MessageBoxA(GetFocus(), text, caption, type);
}

int platLoadText(int id, char *buffer, int size) {
    if (id < 0 || id > 0xFFFF) return 0;
    return LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buffer, size);
}

int platChangeDirectory(const char *path) {
    // No "insert a disk" dialog for a missing medium.
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL changed = SetCurrentDirectoryA(path);
    SetErrorMode(previous);
    return changed ? 0 : 1;
}

int platIsOrdinaryFile(const char *path) {
    // The C library finds no file behind a device name, while
    // GetFileAttributesA calls a device an ordinary file.
    struct _stati64 info;
    return _stati64(path, &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG ? 1 : 0;
}

int platIsOrdinaryStream(std::FILE *stream) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    return handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_DISK ? 1 : 0;
}
