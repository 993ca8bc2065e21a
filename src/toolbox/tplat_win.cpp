// The toolbox's platform calls on Windows.
#include <windows.h>

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

int platChangeDirectory(const char *path) {
    // No "insert a disk" dialog for a missing medium.
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL changed = SetCurrentDirectoryA(path);
    SetErrorMode(previous);
    return changed ? 0 : 1;
}
