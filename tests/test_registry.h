// Helpers of the settings tests: the real registry under the saver's real key,
// removed before and after each test, values stored raw as any other program
// could store them, the user's language, and Wine's own fonts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

// The stored settings as the design lists them: every value's name and its
// registry type, reals being REG_SZ text. A literal table, not the code's.
struct StoredSetting {
    const char *name;
    DWORD type;
    bool real;
};
extern const StoredSetting storedSettings[];
extern const int storedSettingCount;

// Removes the key with everything below it, and Software\Kestrane when that
// is left empty.
void clearSettingsKey(HKEY root);

// Stores the bytes as they are, with any type and size.
void writeRaw(const char *path, const char *name, DWORD type, const std::string &bytes);
// The stored bytes of a value, or "<missing>" with type REG_NONE.
std::string readRaw(const char *path, const char *name, DWORD *type = nullptr);
bool keyExists(HKEY root, const char *path);

// The value names of a key in the order the registry lists them.
std::vector<std::string> rawValueNames(const char *path);

// Font names of a list, front first.
std::vector<std::string> listNames(struct List *list);

// Makes Wine's own fonts (symbol-charset TrueType fonts, a raster font and
// Tahoma) known to this process, from the fonts-wine package.
void addWineFonts();

// The settings as a process starts with them: no key, the defaults in the
// record and as the font lists' packed forms.
void freshSettings();

// Every test starts from a removed key and default settings, and leaves no
// key behind. Trace lines are kept in `trace` (a beep writes one).
struct SettingsTest : ::testing::Test {
    std::FILE *trace = nullptr;
    void SetUp() override;
    void TearDown() override;
    int traceCount(const char *text);
};

// Sets the user's language ("sLanguage" of "intl"; null removes it) for one
// test and puts the old one back afterwards.
struct LanguageScope {
    std::string saved;
    bool hadValue = false;
    explicit LanguageScope(const char *language);
    ~LanguageScope();
};
