// The command line: skipping the program name, the mode letter and the
// window handle that follows it.
#include "host.h"

const char *commandTail(const char *commandLine) {
    const char *p = commandLine;
    if (p == nullptr) return "";
    if (*p == '"') {
        // A quoted program path may hold spaces; CharNextA steps over the
        // double-byte characters of the ANSI code page whole.
        p = CharNextA(p);
        while (*p != '\0' && *p != '"') p = CharNextA(p);
        if (*p == '"') ++p;
    } else {
        while (static_cast<unsigned char>(*p) > ' ') ++p;
    }
    while (*p != '\0' && static_cast<unsigned char>(*p) <= ' ') ++p;
    return p;
}

HWND parseWindowHandle(const char *text) {
    // Unsigned, so that a long number wraps instead of overflowing.
    std::uint32_t value = 0;
    if (text == nullptr) return nullptr;
    for (const char *p = text; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

static const char *skipSpaces(const char *p) {
    while (*p == ' ') ++p;
    return p;
}

ModeRequest scanMode(const char *tail) {
    // Only the first character that is not a separator counts; anything after
    // the letter is ignored but for the handle of "P", "L" and "A".
    if (tail == nullptr) tail = "";
    for (const char *p = tail;; ++p) {
        switch (static_cast<signed char>(*p)) {
        case '\0':
            return {HostMode::Config, nullptr};
        case ' ':
        case '-':
        case '/':
            continue;
        case 'S':
        case 's':
            return {HostMode::Saver, nullptr};
        case 'C':
        case 'c':
            return {HostMode::ConfigOwned, nullptr};
        case 'P':
        case 'p':
        case 'L':
        case 'l':
            return {HostMode::Preview, parseWindowHandle(skipSpaces(p + 1))};
        case 'A':
        case 'a':
            return {HostMode::ChangePassword, parseWindowHandle(skipSpaces(p + 1))};
        default:
            return {HostMode::Unknown, nullptr};
        }
    }
}
