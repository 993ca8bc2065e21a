// Base services: allocation, the string pool, string utilities, messages.
#include "tbas.h"

#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "terr.h"
#include "tplat.h"

const char *const emptyString = "";
MessageSettings messageSettings;

void *memAlloc(std::int32_t size) {
    if (size < 0) return nullptr;
    return platAlloc(static_cast<size_t>(size));
}

void memFree(void *block) { std::free(block); }

char *dupString(const char *s) {
    if (s == nullptr) return nullptr;
    size_t n = std::strlen(s) + 1;
    char *copy = static_cast<char *>(memAlloc(static_cast<std::int32_t>(n)));
    if (copy != nullptr) std::memcpy(copy, s, n);
    return copy;
}

int isEmptyString(const char *s) { return s == nullptr || s[0] == '\0'; }

int inRange(std::int32_t low, std::int32_t value, std::int32_t high) { return low <= value && value <= high; }

int copyString(char *dest, const char *src, std::uint32_t destSize) {
    if (destSize == 0) return 1;
    if (src == nullptr) src = emptyString;
    size_t n = std::strlen(src);
    if (n < destSize) {
        std::memcpy(dest, src, n + 1);
        return 0;
    }
    std::uint32_t cut = charStart(src, destSize - 1);
    std::memcpy(dest, src, cut);
    dest[cut] = '\0';
    return 1;
}

std::uint32_t charStart(const char *text, std::uint32_t pos) {
    if (!platTextIsUtf8()) return pos;
    while (pos > 0 && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) --pos;
    return pos;
}

std::int32_t nearestLong(double value) {
    // Converting NaN or a value beyond 32 bits is undefined: NaN gives 0 and
    // the rest is held to the 32-bit range.
    if (std::isnan(value)) return 0;
    double low = std::floor(value);
    double nearest = value - low >= 0.5 ? std::ceil(value) : low;
    if (nearest >= 2147483647.0) return 2147483647;
    if (nearest <= -2147483648.0) return -2147483647 - 1;
    return static_cast<std::int32_t>(nearest);
}

int isPathSeparator(char c) { return c == '\\' || c == '/'; }

int fileExists(const char *path) {
    // A device name (CON, aux.txt) or a pipe is no file, and opening one
    // can wait for ever.
    if (isEmptyString(path) || !platIsOrdinaryFile(path)) return 0;
    std::FILE *f = std::fopen(path, "r");
    if (f == nullptr) return 0;
    std::fclose(f);
    return 1;
}

int changeDirectory(const char *path) {
    if (isEmptyString(path)) return 1;
    return platChangeDirectory(path);
}

const char *partString(const char *src, std::uint32_t first, std::uint32_t last) {
    if (isEmptyString(src)) return emptyString;
    std::uint32_t length = static_cast<std::uint32_t>(std::strlen(src));
    if (last >= length) last = length - 1;
    if (last < first) return emptyString;
    std::uint32_t count = last - first + 1;
    if (count >= static_cast<std::uint32_t>(poolStringSize)) {
        showMessage("Error", "partString : string too long");
        count = poolStringSize - 1;
    }
    char *result = poolString();
    std::memcpy(result, src + first, count);
    result[count] = '\0';
    return result;
}

static int foldAscii(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

int equalsNoCase(const char *a, const char *b) {
    if (a == nullptr) a = emptyString;
    if (b == nullptr) b = emptyString;
    for (;; ++a, ++b) {
        int ca = foldAscii(static_cast<unsigned char>(*a));
        int cb = foldAscii(static_cast<unsigned char>(*b));
        if (ca != cb) return 0;
        if (ca == 0) return 1;
    }
}

int equalsFileName(const char *a, const char *b) {
    return platSameFileName(a == nullptr ? emptyString : a, b == nullptr ? emptyString : b);
}

int startsWithNoCase(const char *text, const char *prefix) {
    if (isEmptyString(text) || isEmptyString(prefix)) return 0;
    std::uint32_t n = static_cast<std::uint32_t>(std::strlen(prefix));
    return equalsNoCase(partString(text, 0, n - 1), prefix);
}

const char *fileBaseName(const char *path) {
    if (isEmptyString(path)) return emptyString;
    std::uint32_t length = static_cast<std::uint32_t>(std::strlen(path));
    bool haveSeparator = false, haveDot = false;
    std::uint32_t separator = 0, dot = 0;
    for (std::uint32_t i = length; i-- > 0;) {
        char c = path[i];
        if (c == '\\' || c == '/' || c == ':') {
            haveSeparator = true;
            separator = i;
            break;
        }
        if (c == '.') {
            haveDot = true;
            dot = i;
        }
    }
    std::uint32_t first = haveSeparator ? separator + 1 : 0;
    // Unsigned on purpose: a leading dot gives -1, which means up to the end.
    std::uint32_t last = haveDot ? dot - 1 : length - 1;
    return partString(path, first, last);
}

const char *trimString(const char *s) {
    if (isEmptyString(s)) return emptyString;
    std::uint32_t length = static_cast<std::uint32_t>(std::strlen(s));
    std::uint32_t first = 0;
    while (first < length && std::isspace(static_cast<unsigned char>(s[first]))) ++first;
    if (first == length) return emptyString;
    std::uint32_t last = length - 1;
    while (last > first && std::isspace(static_cast<unsigned char>(s[last]))) --last;
    return partString(s, first, last);
}

// The string pool.
struct StringPool {
    char *buffers[poolStringCount];
    std::int32_t index;
    bool initialised;
};
static StringPool stringPool;

// Stands in for each buffer that could not be allocated, so that after its
// one failure message the pool still hands out 250 distinct buffers.
static char fallbackBuffers[poolStringCount][poolStringSize];

int initStringPool() {
    if (stringPool.initialised) return 0;
    platLockInit();
    bool failed = false;
    for (int i = 0; i < poolStringCount; ++i) {
        stringPool.buffers[i] = static_cast<char *>(memAlloc(poolStringSize));
        if (stringPool.buffers[i] == nullptr) {
            stringPool.buffers[i] = fallbackBuffers[i];
            failed = true;
        }
    }
    // Ready before the message, which itself takes pool strings.
    stringPool.initialised = true;
    if (failed) {
        showMessage("Fatal Error", "Could not allocate string pool");
        return 1;
    }
    return 0;
}

int toolboxInit() {
    static bool done = false;
    if (done) return 0;
    done = true;
    initStringPool();
    return 0;
}

char *poolString() {
    if (!stringPool.initialised) initStringPool();
    platLockEnter();
    char *buffer = stringPool.buffers[stringPool.index];
    stringPool.index = (stringPool.index + 1) % poolStringCount;
    platLockLeave();
    std::memset(buffer, 0, poolStringSize);
    return buffer;
}

char *poolCopy(const char *s) {
    if (s == nullptr) return nullptr;
    char *result = poolString();
    copyString(result, s, poolStringSize);
    return result;
}

const char *loadText(int id) {
    char *result = poolString();
    if (platLoadText(id, result, poolStringSize) <= 0) return emptyString;
    return result;
}

static char *poolFormatV(const char *format, std::va_list args) {
    char *result = poolString();
    // A text too long for the string ends before a UTF-8 character it cut.
    if (std::vsnprintf(result, poolStringSize, format, args) >= poolStringSize && platTextIsUtf8()) {
        std::uint32_t last = charStart(result, poolStringSize - 2);
        unsigned char lead = static_cast<unsigned char>(result[last]);
        std::uint32_t bytes = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (last + bytes > poolStringSize - 1) result[last] = '\0';
    }
    return result;
}

char *poolFormat(const char *format, ...) {
    std::va_list args;
    va_start(args, format);
    char *result = poolFormatV(format, args);
    va_end(args);
    return result;
}

char *timeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm *t = std::localtime(&now);
    if (t == nullptr) return poolFormat("00.00.00 00:00:00");
    int year = t->tm_year < 100 ? t->tm_year : t->tm_year - 100;
    return poolFormat("%02i.%02i.%02i %02i:%02i:%02i", t->tm_mday, t->tm_mon + 1, year, t->tm_hour, t->tm_min,
                      t->tm_sec);
}

// The message text, shared by both box operations and overwritten by each.
static char messageText[1000];

int logMessage(const char *caption, const char *text) {
    traceLine(poolFormat("%s : %s", caption, text));
    if (messageSettings.logStream != nullptr) {
        std::fprintf(messageSettings.logStream, "%s : %s : %s\n", timeStamp(), caption, text);
    }
    return 0;
}

static int showBox(unsigned type, const char *caption, const char *format, std::va_list args) {
    std::vsnprintf(messageText, sizeof messageText, format, args);
    logMessage(caption, messageText);
    if (!messageSettings.boxesEnabled) return 0;
    return platMessageBox(messageText, caption, type);
}

int showMessage(const char *caption, const char *format, ...) {
    std::va_list args;
    va_start(args, format);
    showBox(0, caption, format, args);
    va_end(args);
    return 0;
}

int messageBoxF(unsigned type, const char *caption, const char *format, ...) {
    std::va_list args;
    va_start(args, format);
    int result = showBox(type, caption, format, args);
    va_end(args);
    return result;
}
