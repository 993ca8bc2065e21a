// The toolbox's platform calls on POSIX hosts, for the native builds that run
// the portable core under sanitizers and the fuzzer. Message boxes become
// lines on stderr, answered by a replaceable test hook.
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "res/resource.h"
#include "tplat.h"
#include "tplat_posix.h"

PlatAllocHook platAllocHook = nullptr;

void *platAlloc(std::size_t size) {
    if (platAllocHook != nullptr && !platAllocHook(size)) return nullptr;
    return std::malloc(size);
}

PlatLeadByteHook platLeadByteHook = nullptr;

unsigned platFileCodePage() { return 1252; }
int platIsLeadByte(unsigned char byte) { return platLeadByteHook != nullptr && platLeadByteHook(byte) ? 1 : 0; }

static pthread_mutex_t poolLock = PTHREAD_MUTEX_INITIALIZER;

void platLockInit() {}
void platLockEnter() { pthread_mutex_lock(&poolLock); }
void platLockLeave() { pthread_mutex_unlock(&poolLock); }

static int answerOk(const char *, const char *, unsigned) { return 1; }
PlatMessageHook platMessageHook = answerOk;

int platMessageBox(const char *text, const char *caption, unsigned type) {
    if (platMessageQuiet == 0) std::fprintf(stderr, "[%s] %s\n", caption, text);
    return platMessageHook(text, caption, type);
}

int platMessageQuiet = 0;

namespace {
struct EnglishText {
    int id;
    const char *text;
};
const EnglishText englishTexts[] = {
#include "english_texts.inc"
};
}  // namespace

int platLoadText(int id, char *buffer, int size) {
    for (const EnglishText &entry : englishTexts) {
        if (entry.id != id) continue;
        std::snprintf(buffer, static_cast<std::size_t>(size), "%s", entry.text);
        return static_cast<int>(std::strlen(buffer));
    }
    return 0;
}

int platChangeDirectory(const char *path) { return chdir(path) == 0 ? 0 : 1; }

int platIsOrdinaryFile(const char *path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISREG(info.st_mode) ? 1 : 0;
}

int platIsOrdinaryStream(std::FILE *stream) {
    struct stat info;
    return fstat(fileno(stream), &info) == 0 && S_ISREG(info.st_mode) ? 1 : 0;
}

int platTextIsUtf8() { return 1; }

int platSameFileName(const char *a, const char *b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    for (;; ++a, ++b) {
        if (lower(static_cast<unsigned char>(*a)) != lower(static_cast<unsigned char>(*b))) return 0;
        if (*a == '\0') return 1;
    }
}
