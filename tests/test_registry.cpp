// Registry, language and font helpers of the settings tests.
#include "test_registry.h"

#include <cstring>

#include "main/settings/settings.h"
#include "toolbox/lst.h"
#include "toolbox/tbas.h"
#include "toolbox/terr.h"
#include "toolbox/wkrnl.h"

const StoredSetting storedSettings[] = {
    {"VeryFirstTime", REG_DWORD, false},         {"PhraseInterval", REG_DWORD, false},
    {"ClearInterval", REG_DWORD, false},         {"MaxTiltDegrees", REG_DWORD, false},
    {"ShadowStyle", REG_SZ, false},              {"ShadowSize", REG_DWORD, false},
    {"ReadingTimePerChar", REG_DWORD, false},    {"ExtraTimePerParagraph", REG_DWORD, false},
    {"PhraseFn", REG_SZ, false},                 {"RecentPhraseFn1", REG_SZ, false},
    {"RecentPhraseFn2", REG_SZ, false},          {"RecentPhraseFn3", REG_SZ, false},
    {"RecentPhraseFn4", REG_SZ, false},          {"SingleLineMinFontSize", REG_DWORD, false},
    {"SingleLineMaxFontSize", REG_DWORD, false}, {"MultiLineMinFontSize", REG_DWORD, false},
    {"MultiLineMaxFontSize", REG_DWORD, false},  {"LastCxScreen", REG_DWORD, false},
    {"SingleLineFonts", REG_MULTI_SZ, false},    {"MultiLineFonts", REG_MULTI_SZ, false},
    {"MinBrightness", REG_SZ, true},             {"MaxBrightness", REG_SZ, true},
    {"MinSaturation", REG_SZ, true},             {"MaxSaturation", REG_SZ, true},
    {"BackgroundColor", REG_DWORD, false},       {"MinTextcolorContrast", REG_SZ, true},
    {"LumoraCustomColors", REG_BINARY, false},   {"CurrentColorScheme", REG_SZ, false},
};
const int storedSettingCount = sizeof storedSettings / sizeof storedSettings[0];

static void deleteTree(HKEY root, const char *path) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char child[512];
    while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS) {
        deleteTree(key, child);
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, path);
}

void clearSettingsKey(HKEY root) {
    deleteTree(root, settingsKey);
    RegDeleteKeyA(root, "Software\\Kestrane");  // fails while anything else is in it
    ASSERT_FALSE(keyExists(root, settingsKey));
}

bool keyExists(HKEY root, const char *path) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void writeRaw(const char *path, const char *name, DWORD type, const std::string &bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    // Wine counts a zero just behind string data into the value; a byte that
    // is not zero there keeps the stored bytes exactly the given ones.
    std::string guarded = bytes + '\x7f';
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(guarded.data()),
                             static_cast<DWORD>(bytes.size())),
              0)
        << name;
    RegCloseKey(key);
}

std::string readRaw(const char *path, const char *name, DWORD *type) {
    if (type != nullptr) *type = REG_NONE;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
    std::string bytes(70000, '\0');
    DWORD size = static_cast<DWORD>(bytes.size());
    LONG status = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE *>(&bytes[0]), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return "<missing>";
    bytes.resize(size);
    return bytes;
}

std::vector<std::string> rawValueNames(const char *path) {
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[1000];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

std::vector<std::string> listNames(List *list) {
    std::vector<std::string> names;
    for (ListNode *n = lstHead(list); n != nullptr; n = lstNext(n)) names.push_back(static_cast<char *>(lstData(n)));
    return names;
}

void addWineFonts() {
    static bool added = false;
    if (added) return;
    for (const char *file : {"symbol.ttf", "marlett.ttf", "wingding.ttf", "tahoma.ttf", "sserife.fon"}) {
        std::string path = std::string("Z:\\usr\\share\\wine\\fonts\\") + file;
        ASSERT_GT(AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr), 0) << path << ": is fonts-wine installed?";
    }
    added = true;
}

void freshSettings() {
    clearSettingsKey(HKEY_CURRENT_USER);
    settings = Settings();
    copyMultiString(singleLineFontsPacked, defaultSingleLineFonts);
    copyMultiString(multiLineFontsPacked, defaultMultiLineFonts);
}

void SettingsTest::SetUp() {
    toolboxInit();
    messageSettings.boxesEnabled = false;
    freshSettings();
    trace = std::tmpfile();
    traceSettings.level = 1;
    traceSettings.stream = trace;
    addWineFonts();
}

void SettingsTest::TearDown() {
    traceSettings.level = 0;
    traceSettings.stream = nullptr;
    std::fclose(trace);
    clearSettingsKey(HKEY_CURRENT_USER);
    settings = Settings();
}

int SettingsTest::traceCount(const char *text) {
    std::fflush(trace);
    std::rewind(trace);
    int count = 0;
    char line[4000];
    while (std::fgets(line, sizeof line, trace) != nullptr) {
        if (std::strstr(line, text) != nullptr) ++count;
    }
    return count;
}

LanguageScope::LanguageScope(const char *language) {
    char old[200];
    GetProfileStringA("intl", "sLanguage", "<none>", old, sizeof old);
    hadValue = std::strcmp(old, "<none>") != 0;
    saved = old;
    WriteProfileStringA("intl", "sLanguage", language);
}

LanguageScope::~LanguageScope() { WriteProfileStringA("intl", "sLanguage", hadValue ? saved.c_str() : nullptr); }
