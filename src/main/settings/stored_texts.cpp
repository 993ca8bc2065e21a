// The settings that are stored as texts: the colour-scheme text of a user
// scheme and the packed font lists. Portable, so that the native build can
// fuzz what any other program may have stored.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "main/settings/settings.h"
#include "toolbox/lst.h"
#include "toolbox/tbas.h"

int parseSchemeText(const char *text, ColorScheme *record) {
    if (text == nullptr) return 1;
    ColorScheme read = {};
    unsigned background = 0;
    int fields = std::sscanf(text, "%lf %lf %lf %lf %u %lf", &read.MinBrightness, &read.MaxBrightness,
                             &read.MinSaturation, &read.MaxSaturation, &background, &read.MinTextcolorContrast);
    // "1e400" and "nan" convert, but no colour bound can be infinite or no
    // number; such a scheme is as unreadable as one with five fields.
    bool finite = fields == 6 && std::isfinite(read.MinBrightness) && std::isfinite(read.MaxBrightness) &&
                  std::isfinite(read.MinSaturation) && std::isfinite(read.MaxSaturation) &&
                  std::isfinite(read.MinTextcolorContrast);
    if (!finite) return 1;
    read.name = record->name;
    read.BackgroundColor = background;
    *record = read;
    return 0;
}

char *schemeToString(const ColorScheme *record) {
    if (record == nullptr) return poolCopy("");
    return poolFormat("%f %f %f %f %u %f", record->MinBrightness, record->MaxBrightness, record->MinSaturation,
                      record->MaxSaturation, static_cast<unsigned>(record->BackgroundColor),
                      record->MinTextcolorContrast);
}

List *fontListFromPacked(const char *packed) {
    List *list = lstNew();
    if (list == nullptr || packed == nullptr) return list;
    std::uint32_t pos = 0;
    while (pos < static_cast<std::uint32_t>(fontListPackedSize) && packed[pos] != '\0') {
        const char *name = packed + pos;
        // A name whose zero lies beyond the packed buffer is no name.
        if (std::memchr(name, '\0', fontListPackedSize - pos) == nullptr) break;
        std::uint32_t length = static_cast<std::uint32_t>(std::strlen(name));
        char *copy = dupString(name);
        if (copy != nullptr && lstPrepend(list, copy) != 0) memFree(copy);
        pos += length + 1;
    }
    return list;
}

void packFontList(List *list, char *buffer) {
    buffer[0] = '\0';
    buffer[1] = '\0';
    std::uint32_t used = 0;
    for (ListNode *node = lstHead(list); node != nullptr; node = lstNext(node)) {
        const char *name = static_cast<const char *>(lstData(node));
        // An empty name would read back as the end of the list and lose
        // every name behind it.
        if (isEmptyString(name)) continue;
        std::uint32_t length = static_cast<std::uint32_t>(std::strlen(name));
        if (used + length + 2 >= static_cast<std::uint32_t>(fontListPackedSize)) break;
        std::memcpy(buffer + used, name, length + 1);
        used += length + 1;
    }
    buffer[used] = '\0';
}
