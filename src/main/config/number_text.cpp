// Numbers in the dialogs' fields as the user writes them: shown with the
// decimal separator of the user's locale, read back with it or the point.
// The stored forms never change: milliseconds, and reals with a point.
#include "main/config/config.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "toolbox/tbas.h"

// The user's decimal separator, "." when the locale gives none.
static const char *decimalSeparator() {
    char *separator = poolString();
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) return ".";
    return separator;
}

const char *formatDecimal(double value) {
    char *text = poolFormat("%.2f", value);
    const char *separator = decimalSeparator();
    char *point = std::strchr(text, '.');
    if (point == nullptr || std::strcmp(separator, ".") == 0) return text;
    *point = '\0';
    return poolFormat("%s%s%s", text, separator, point + 1);
}

bool readDecimal(const char *text, double *value) {
    // The separator becomes a point, which the C library reads in any locale.
    const char *separator = decimalSeparator();
    const char *found = std::strstr(text, separator);
    const char *number = text;
    if (found != nullptr && std::strcmp(separator, ".") != 0) {
        std::uint32_t before = static_cast<std::uint32_t>(found - text);
        number = poolFormat("%s.%s", before > 0 ? partString(text, 0, before - 1) : "", found + std::strlen(separator));
    }
    char *end = nullptr;
    double read = std::strtod(number, &end);
    if (end == number || std::isnan(read)) {
        *value = 0;
        return false;
    }
    *value = read;
    return true;
}
