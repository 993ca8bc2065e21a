// Base services of the toolbox: allocation, the scratch-string pool, small
// string utilities, formatted message boxes and the once-only initialisation.
#pragma once

#include <cstdint>
#include <cstdio>

// Size of one scratch buffer and the number of buffers in the ring.
constexpr int poolStringSize = 2000;
constexpr int poolStringCount = 250;

// Allocation.
void *memAlloc(std::int32_t size);
void memFree(void *block);
char *dupString(const char *s);

// Strings. The shared empty string is returned for empty results and must
// never be written into.
extern const char *const emptyString;

int isEmptyString(const char *s);
int inRange(std::int32_t low, std::int32_t value, std::int32_t high);
// Copies src into dest; a text too long for it is cut (result 1) where a
// character starts, so that no half of a UTF-8 character is left at its end.
int copyString(char *dest, const char *src, std::uint32_t destSize);
// The start of the character that holds byte pos of text: pos itself but in
// UTF-8 text, where it goes back over continuation bytes.
std::uint32_t charStart(const char *text, std::uint32_t pos);
std::int32_t nearestLong(double value);
int isPathSeparator(char c);
int fileExists(const char *path);
int changeDirectory(const char *path);
const char *partString(const char *src, std::uint32_t first, std::uint32_t last);
int startsWithNoCase(const char *text, const char *prefix);
const char *fileBaseName(const char *path);
const char *trimString(const char *s);
// Equality ignoring the case of the ASCII letters only; null counts as empty.
int equalsNoCase(const char *a, const char *b);
// Equality of two file names as the file system compares them (on Windows
// without regard to the case of any letter; registry key and value names
// compare alike); null counts as empty.
int equalsFileName(const char *a, const char *b);

// The string pool. Pool strings stay valid until 249 further ones were taken.
char *poolString();
char *poolCopy(const char *s);
char *poolFormat(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
char *timeStamp();

// The text of a string resource in the user's language, as a pool string;
// the shared empty string when there is none.
const char *loadText(int id);

// Messages. Both box operations log the text first.
int showMessage(const char *caption, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
int messageBoxF(unsigned type, const char *caption, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
int logMessage(const char *caption, const char *text);

// Message settings: boxes on by default; no log stream unless one is set.
struct MessageSettings {
    bool boxesEnabled = true;
    std::FILE *logStream = nullptr;
};
extern MessageSettings messageSettings;

// Initialisation.
int toolboxInit();
int initStringPool();
