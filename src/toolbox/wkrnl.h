// Kernel-side Win32 helpers of the toolbox: typed access to single registry
// values, walking the entries of a key, and packed string lists.
#pragma once

#include <windows.h>

#include <cstdint>

#include "stored_forms.h"

// Every operation names the root, the subkey path and the value name, opens
// the key, does its one operation and closes the key again.
//
// Reads never fail towards the caller: what cannot be read yields the
// default. A failed read leaves the caller's buffer exactly as it was, and a
// text result always ends inside its 2000-byte scratch string (a stored text
// that does not, counts as unreadable).
int readRegValue(HKEY root, const char *path, const char *name, DWORD type, void *buffer, DWORD size);
char *readRegString(HKEY root, const char *path, const char *name, const char *defaultText);
char *readRegMultiString(HKEY root, const char *path, const char *name, const char *defaultList);
DWORD readRegDword(HKEY root, const char *path, const char *name, DWORD defaultValue);
// Reals are stored as "%f" text and read back at single precision; a text
// that does not begin with a finite number yields the default.
double readRegReal(HKEY root, const char *path, const char *name, double defaultValue);
int readRegBinary(HKEY root, const char *path, const char *name, void *buffer, DWORD size);

// Writes create missing keys on the path; 1 on success, else 0. The size is
// used for REG_BINARY only; other types take theirs from the data.
int writeRegValue(HKEY root, const char *path, const char *name, DWORD type, const void *data, DWORD size);
int writeRegString(HKEY root, const char *path, const char *name, const char *text);
int writeRegMultiString(HKEY root, const char *path, const char *name, const char *list);
int writeRegDword(HKEY root, const char *path, const char *name, DWORD value);
int writeRegReal(HKEY root, const char *path, const char *name, double value);
int writeRegBinary(HKEY root, const char *path, const char *name, const void *data, DWORD size);
// 1 when the value was deleted; a missing key is created and gives 0.
int deleteRegValue(HKEY root, const char *path, const char *name);

// Room for an entry name of at most 260 characters and its zero.
constexpr int regNameSize = 261;

// One walk over the subkeys (kind 0) or the values (kind 1) of a key.
struct RegEnumState {
    std::int32_t kind;
    HKEY key;
    std::int32_t index;
    char name[regNameSize];
};

// The state stands on the first entry, or null when there is none (or the key
// cannot be opened). nextRegEnum returns null at the end and has then freed
// the state itself; a caller that stops early calls closeRegEnum.
RegEnumState *openRegEnum(std::int32_t kind, HKEY root, const char *path);
RegEnumState *nextRegEnum(RegEnumState *state);
void closeRegEnum(RegEnumState *state);
