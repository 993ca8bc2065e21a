// Decoding the stored forms of packed lists and reals.
#include "stored_forms.h"

#include <cstring>

#include <cmath>
#include <cstdio>

std::uint32_t packedListSize(const char *list, std::uint32_t limit) {
    for (std::uint32_t i = 0; i + 1 < limit; ++i) {
        if (list[i] == '\0' && list[i + 1] == '\0') return i + 2;
    }
    return 0;
}

std::uint32_t multiStringSize(const char *list) {
    if (list == nullptr) return 0;
    return packedListSize(list, UINT32_MAX);
}

char *copyMultiString(char *dest, const char *list) {
    std::memmove(dest, list, multiStringSize(list));
    return dest;
}

void endPackedList(char *list, std::uint32_t size) {
    if (list[0] == '\0') {
        list[1] = '\0';
        return;
    }
    std::uint32_t start = 0;
    while (start < size && list[start] != '\0') {
        std::uint32_t end = start;
        while (end < size && list[end] != '\0') ++end;
        // The name's zero must leave room for the closing one behind it.
        if (end + 1 >= size) {
            list[start] = '\0';
            if (start + 1 < size) list[start + 1] = '\0';
            return;
        }
        start = end + 1;
    }
}

double decodeReal(const char *text, double defaultValue) {
    if (text == nullptr) return defaultValue;
    float value = 0;
    if (std::sscanf(text, "%f", &value) != 1) return defaultValue;
    // "1e400" and "nan" scan as numbers; no setting can use them.
    if (!std::isfinite(value)) return defaultValue;
    return value;
}
