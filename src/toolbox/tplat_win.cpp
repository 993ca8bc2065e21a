// The toolbox's platform calls on Windows.
#include <windows.h>

#include <io.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

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

int platTextIsUtf8() { return GetACP() == CP_UTF8 ? 1 : 0; }

unsigned platFileCodePage() {
    static UINT codePage = 0;
    if (codePage != 0) return codePage;
    DWORD number = 0;
    int got = GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                             reinterpret_cast<LPSTR>(&number), sizeof number / sizeof(char));
    // A locale without an ANSI code page of its own answers 0.
    codePage = got > 0 && number != 0 && number != CP_UTF8 ? number : 1252;
    return codePage;
}

int platIsLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(platFileCodePage(), byte) ? 1 : 0; }

// A name in the process code page as UTF-16 on the heap; null when it does
// not convert.
static wchar_t *wideName(const char *name) {
    int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0);
    if (units <= 0) return nullptr;
    auto *wide = static_cast<wchar_t *>(std::malloc(static_cast<size_t>(units) * sizeof(wchar_t)));
    if (wide != nullptr && MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, wide, units) != units) {
        std::free(wide);
        wide = nullptr;
    }
    return wide;
}

int platSameFileName(const char *a, const char *b) {
    if (std::strcmp(a, b) == 0) return 1;
    wchar_t *wa = wideName(a);
    wchar_t *wb = wideName(b);
    int same = 0;
    if (wa != nullptr && wb != nullptr) {
        // NTFS compares names by its table of upper-case letters, which
        // CompareStringOrdinal ignoring case follows (Vista and later; looked
        // up, so that an older system falls back on the upper-casing of
        // USER32, which covers the same letters but for a few rare ones).
        using CompareOrdinal = int(WINAPI *)(const wchar_t *, int, const wchar_t *, int, BOOL);
        static auto compare = reinterpret_cast<CompareOrdinal>(
            reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CompareStringOrdinal")));
        if (compare != nullptr) {
            same = compare(wa, -1, wb, -1, TRUE) == CSTR_EQUAL;
        } else {
            CharUpperW(wa);
            CharUpperW(wb);
            same = std::wcscmp(wa, wb) == 0;
        }
    }
    std::free(wa);
    std::free(wb);
    return same;
}
