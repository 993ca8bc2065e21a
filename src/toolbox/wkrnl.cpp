// Typed access to single registry values, key enumeration and packed string
// lists. Values may hold anything another program wrote, so every text that
// comes out of here ends inside its buffer.
#include "wkrnl.h"

#include <cstring>

#include "tbas.h"

// Reads through a private block, so that a value too large or of another type
// never leaves part of itself in the caller's buffer (the platform may fill
// the buffer before it reports that the value does not fit).
static int queryValue(HKEY root, const char *path, const char *name, DWORD type, void *buffer, DWORD size,
                      DWORD *received) {
    HKEY key;
    // Read access only: a user who may not write the machine's keys may
    // still read the install folder there.
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    int result = 0;
    BYTE *block = static_cast<BYTE *>(memAlloc(static_cast<std::int32_t>(size > 0 ? size : 1)));
    if (block != nullptr) {
        DWORD storedType = REG_NONE;
        DWORD dataSize = size;
        LONG status = RegQueryValueExA(key, name, nullptr, &storedType, block, &dataSize);
        if (status == ERROR_SUCCESS && storedType == type && dataSize <= size) {
            std::memcpy(buffer, block, dataSize);
            *received = dataSize;
            result = 1;
        }
        memFree(block);
    }
    RegCloseKey(key);
    return result;
}

int readRegValue(HKEY root, const char *path, const char *name, DWORD type, void *buffer, DWORD size) {
    DWORD received = 0;
    return queryValue(root, path, name, type, buffer, size, &received);
}

// A stored REG_SZ in a zero-filled scratch string; null unless its text ends
// inside the string. A text of 2000 characters without its zero fills the
// whole string and is as much too long as one of 2000 with it.
static char *readStoredText(HKEY root, const char *path, const char *name) {
    char *text = poolString();
    DWORD received = 0;
    if (!queryValue(root, path, name, REG_SZ, text, poolStringSize, &received)) return nullptr;
    if (std::memchr(text, '\0', poolStringSize) == nullptr) return nullptr;
    return text;
}

char *readRegString(HKEY root, const char *path, const char *name, const char *defaultText) {
    char *text = readStoredText(root, path, name);
    if (text != nullptr) return text;
    return poolCopy(defaultText);
}

char *readRegMultiString(HKEY root, const char *path, const char *name, const char *defaultList) {
    char *list = poolString();
    DWORD received = 0;
    if (queryValue(root, path, name, REG_MULTI_SZ, list, poolStringSize, &received)) {
        endPackedList(list, poolStringSize);
        return list;
    }
    list = poolString();
    if (defaultList != nullptr) {
        std::uint32_t size = packedListSize(defaultList, poolStringSize);
        if (size == 0) size = poolStringSize;
        std::memcpy(list, defaultList, size);
        list[poolStringSize - 2] = '\0';
        list[poolStringSize - 1] = '\0';
        endPackedList(list, poolStringSize);
    }
    return list;
}

DWORD readRegDword(HKEY root, const char *path, const char *name, DWORD defaultValue) {
    DWORD value = 0;
    DWORD received = 0;
    // A REG_DWORD stored with fewer than four bytes is no integer at all.
    if (!queryValue(root, path, name, REG_DWORD, &value, sizeof value, &received)) return defaultValue;
    if (received != sizeof value) return defaultValue;
    return value;
}

double readRegReal(HKEY root, const char *path, const char *name, double defaultValue) {
    const char *text = readStoredText(root, path, name);
    if (text == nullptr) return defaultValue;
    return decodeReal(text, defaultValue);
}

int readRegBinary(HKEY root, const char *path, const char *name, void *buffer, DWORD size) {
    return readRegValue(root, path, name, REG_BINARY, buffer, size);
}

// Opens the key for writing, made with any missing keys on its path; null
// when that fails.
static HKEY createKey(HKEY root, const char *path) {
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(root, path, 0, const_cast<char *>(""), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

int writeRegValue(HKEY root, const char *path, const char *name, DWORD type, const void *data, DWORD size) {
    if (data == nullptr) return 0;
    DWORD dataSize;
    switch (type) {
    case REG_SZ:
        dataSize = static_cast<DWORD>(std::strlen(static_cast<const char *>(data)) + 1);
        break;
    case REG_BINARY:
        dataSize = size;
        break;
    case REG_DWORD:
        dataSize = 4;
        break;
    case REG_MULTI_SZ:
        dataSize = multiStringSize(static_cast<const char *>(data));
        break;
    default:
        return 0;
    }
    HKEY key = createKey(root, path);
    if (key == nullptr) return 0;
    LONG status = RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), dataSize);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 1 : 0;
}

int writeRegString(HKEY root, const char *path, const char *name, const char *text) {
    return writeRegValue(root, path, name, REG_SZ, text, 0);
}

int writeRegMultiString(HKEY root, const char *path, const char *name, const char *list) {
    return writeRegValue(root, path, name, REG_MULTI_SZ, list, 0);
}

int writeRegDword(HKEY root, const char *path, const char *name, DWORD value) {
    return writeRegValue(root, path, name, REG_DWORD, &value, sizeof value);
}

int writeRegReal(HKEY root, const char *path, const char *name, double value) {
    return writeRegValue(root, path, name, REG_SZ, poolFormat("%f", value), 0);
}

int writeRegBinary(HKEY root, const char *path, const char *name, const void *data, DWORD size) {
    return writeRegValue(root, path, name, REG_BINARY, data, size);
}

int deleteRegValue(HKEY root, const char *path, const char *name) {
    HKEY key = createKey(root, path);
    if (key == nullptr) return 0;
    LONG status = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 1 : 0;
}

RegEnumState *openRegEnum(std::int32_t kind, HKEY root, const char *path) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    RegEnumState *state = static_cast<RegEnumState *>(memAlloc(sizeof(RegEnumState)));
    if (state == nullptr) {
        RegCloseKey(key);
        return nullptr;
    }
    state->kind = kind;
    state->key = key;
    state->index = -1;
    state->name[0] = '\0';
    return nextRegEnum(state);
}

RegEnumState *nextRegEnum(RegEnumState *state) {
    if (state == nullptr) return nullptr;
    for (;;) {
        state->index += 1;
        LONG status;
        if (state->kind == 0) {
            status = RegEnumKeyA(state->key, static_cast<DWORD>(state->index), state->name, regNameSize);
        } else if (state->kind == 1) {
            DWORD length = regNameSize;
            status = RegEnumValueA(state->key, static_cast<DWORD>(state->index), state->name, &length, nullptr,
                                   nullptr, nullptr, nullptr);
        } else {
            break;
        }
        if (status == ERROR_SUCCESS) return state;
        // A name longer than 260 characters is passed over, so that the
        // entries behind it are still seen.
        if (status != ERROR_MORE_DATA) break;
    }
    closeRegEnum(state);
    return nullptr;
}

void closeRegEnum(RegEnumState *state) {
    if (state == nullptr) return;
    if (state->key != nullptr) RegCloseKey(state->key);
    memFree(state);
}
