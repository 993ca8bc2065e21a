// Loading and saving the whole settings record through Wine's real registry.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "main/settings/settings.h"
#include "test_registry.h"
#include "toolbox/lst.h"
#include "toolbox/monitor_metrics.h"
#include "toolbox/wkrnl.h"

namespace {
using SettingsModel = SettingsTest;
const HKEY user = HKEY_CURRENT_USER;
const char *key = settingsKey;

void expectPhraseFiles(const char *phrase, const char *r1, const char *r2, const char *r3, const char *r4) {
    EXPECT_STREQ(settings.PhraseFn, phrase);
    EXPECT_STREQ(settings.RecentPhraseFn1, r1);
    EXPECT_STREQ(settings.RecentPhraseFn2, r2);
    EXPECT_STREQ(settings.RecentPhraseFn3, r3);
    EXPECT_STREQ(settings.RecentPhraseFn4, r4);
}
}  // namespace

TEST_F(SettingsModel, FirstRunPhraseFilesFollowTheLanguage) {
    struct Case {
        const char *language;
        const char *stored;
        const char *phrase, *r1, *r2, *r3, *r4;
    } cases[] = {
        {"DEU", nullptr, "lu-deutsche-zitate-1.txt", "lu-deutsche-100-worte.txt", "lu-english-fortunes-1.txt",
         "lu-english-words-1.txt", ""},
        {"de", "mine.txt", "mine.txt", "lu-deutsche-zitate-1.txt", "lu-deutsche-100-worte.txt",
         "lu-english-fortunes-1.txt", "lu-english-words-1.txt"},
        {"ENU", nullptr, "lu-english-fortunes-1.txt", "lu-english-words-1.txt", "", "", ""},
        {nullptr, "mine.txt", "mine.txt", "lu-english-fortunes-1.txt", "lu-english-words-1.txt", "", ""},
        {"", nullptr, "lu-english-fortunes-1.txt", "lu-english-words-1.txt", "", "", ""},
    };
    for (const Case &c : cases) {
        LanguageScope language(c.language);
        if (c.language == nullptr) {
            char text[10];
            GetProfileStringA("intl", "sLanguage", "zzz", text, sizeof text);
            EXPECT_STREQ(text, "zzz");
        }
        clearSettingsKey(user);
        settings = Settings();
        writeRegString(user, key, "RecentPhraseFn4", "stored.txt");
        if (c.stored != nullptr) writeRegString(user, key, "PhraseFn", c.stored);
        loadSettings(nullptr);
        SCOPED_TRACE(c.language == nullptr ? "(none)" : c.language);
        expectPhraseFiles(c.phrase, c.r1, c.r2, c.r3, c.r4);
    }
}

TEST_F(SettingsModel, DefaultsAndStoredNamesAndTypesAreTheDesigns) {
    const Settings d;
    struct Integer {
        std::int32_t value, expected;
    } integers[] = {
        {d.VeryFirstTime, 1},         {d.PhraseInterval, 1000},        {d.ClearInterval, 30000},
        {d.MaxTiltDegrees, 45},       {d.ShadowSize, 4},               {d.ReadingTimePerChar, 90},
        {d.ExtraTimePerParagraph, 500}, {d.SingleLineMinFontSize, 20}, {d.SingleLineMaxFontSize, 80},
        {d.MultiLineMinFontSize, 0},  {d.MultiLineMaxFontSize, 20},    {d.LastCxScreen, 0},
        {static_cast<std::int32_t>(d.BackgroundColor), 0},
    };
    for (size_t i = 0; i < sizeof integers / sizeof integers[0]; ++i) EXPECT_EQ(integers[i].value, integers[i].expected) << i;
    EXPECT_STREQ(d.ShadowStyle, "Cast");
    for (const char *name : {d.PhraseFn, d.RecentPhraseFn1, d.RecentPhraseFn2, d.RecentPhraseFn3, d.RecentPhraseFn4}) {
        EXPECT_STREQ(name, "");
    }
    EXPECT_EQ(d.MinBrightness, 50);
    EXPECT_EQ(d.MaxBrightness, 75);
    EXPECT_EQ(d.MinSaturation, 75);
    EXPECT_EQ(d.MaxSaturation, 100);
    EXPECT_EQ(d.MinTextcolorContrast, 0);
    for (ColorRef c : d.LumoraCustomColors) EXPECT_EQ(c, 0u);
    EXPECT_STREQ(d.CurrentColorScheme, "Color On Black");

    // Saved, every value stands under its name with its type, and nothing else.
    loadSettings(nullptr);
    saveSettings();
    std::vector<std::string> expected, stored = rawValueNames(key);
    for (int i = 0; i < storedSettingCount; ++i) {
        const StoredSetting &value = storedSettings[i];
        expected.push_back(value.name);
        DWORD type = REG_NONE;
        std::string bytes = readRaw(key, value.name, &type);
        EXPECT_EQ(type, value.type) << value.name;
        if (value.type == REG_DWORD) {
            EXPECT_EQ(bytes.size(), 4u) << value.name;
        } else if (value.type == REG_BINARY) {
            EXPECT_EQ(bytes.size(), 64u) << value.name;
        } else if (value.real) {
            EXPECT_EQ(bytes.find_first_not_of("0123456789."), bytes.size() - 1) << value.name;
        }
    }
    std::sort(expected.begin(), expected.end());
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, expected);
}

TEST_F(SettingsModel, SaveThenLoadKeepsEveryField) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    loadSettings(nullptr);
    Settings &s = settings;
    s.PhraseInterval = 1234, s.ClearInterval = 0, s.MaxTiltDegrees = -7;
    std::strcpy(s.ShadowStyle, "3D Funky");
    s.ShadowSize = 15, s.ReadingTimePerChar = 21, s.ExtraTimePerParagraph = 99;
    std::strcpy(s.PhraseFn, std::string(1031, 'p').c_str());
    std::strcpy(s.RecentPhraseFn1, "r1"), std::strcpy(s.RecentPhraseFn2, "r2");
    std::strcpy(s.RecentPhraseFn3, "r3"), std::strcpy(s.RecentPhraseFn4, "C:\\r4.txt");
    s.SingleLineMinFontSize = 5, s.SingleLineMaxFontSize = 500, s.MultiLineMinFontSize = 7;
    s.MultiLineMaxFontSize = 8, s.LastCxScreen = width;
    s.MinBrightness = 33.3, s.MaxBrightness = 66.6, s.MinSaturation = 0.1, s.MaxSaturation = 99.99;
    s.BackgroundColor = 0x00C0FFEE, s.MinTextcolorContrast = 12.5;
    for (int i = 0; i < customColorCount; ++i) s.LumoraCustomColors[i] = 0x10101u * i;
    std::strcpy(s.CurrentColorScheme, "(Unnamed)");
    std::vector<std::string> single = listNames(singleLineFonts);
    Settings saved = s;
    saveSettings();
    EXPECT_EQ(s.VeryFirstTime, 0);

    settings = Settings();
    loadSettings(nullptr);
    EXPECT_EQ(s.VeryFirstTime, 0);
    for (std::int32_t Settings::*field :
         {&Settings::PhraseInterval, &Settings::ClearInterval, &Settings::MaxTiltDegrees, &Settings::ShadowSize,
          &Settings::ReadingTimePerChar, &Settings::ExtraTimePerParagraph, &Settings::SingleLineMinFontSize,
          &Settings::SingleLineMaxFontSize, &Settings::MultiLineMinFontSize, &Settings::MultiLineMaxFontSize,
          &Settings::LastCxScreen}) {
        EXPECT_EQ(s.*field, saved.*field);
    }
    for (char(Settings::*field)[phraseFnSize] : {&Settings::PhraseFn, &Settings::RecentPhraseFn1,
                                                  &Settings::RecentPhraseFn2, &Settings::RecentPhraseFn3,
                                                  &Settings::RecentPhraseFn4}) {
        EXPECT_STREQ(s.*field, saved.*field);
    }
    EXPECT_STREQ(s.ShadowStyle, "3D Funky");
    EXPECT_EQ(s.MinBrightness, static_cast<float>(saved.MinBrightness));
    EXPECT_EQ(s.MaxBrightness, static_cast<float>(saved.MaxBrightness));
    EXPECT_EQ(s.MinSaturation, static_cast<float>(saved.MinSaturation));
    EXPECT_EQ(s.MaxSaturation, static_cast<float>(saved.MaxSaturation));
    EXPECT_EQ(s.BackgroundColor, saved.BackgroundColor);
    EXPECT_EQ(s.MinTextcolorContrast, 12.5);
    EXPECT_EQ(std::memcmp(s.LumoraCustomColors, saved.LumoraCustomColors, sizeof s.LumoraCustomColors), 0);
    EXPECT_STREQ(s.CurrentColorScheme, "(Unnamed)");
    std::reverse(single.begin(), single.end());
    EXPECT_EQ(listNames(singleLineFonts), single);
}

TEST_F(SettingsModel, BadStoredValuesLeaveTheirFieldsAndSpareTheRest) {
    writeRaw(key, "PhraseInterval", REG_SZ, std::string("5000", 5));
    writeRegDword(user, key, "ClearInterval", 777);
    writeRegString(user, key, "ShadowStyle", "cast");
    writeRaw(key, "PhraseFn", REG_SZ, std::string(2000, 'q'));  // no zero: fills the whole buffer
    writeRegString(user, key, "RecentPhraseFn1", std::string(1032, 'r').c_str());
    writeRegString(user, key, "RecentPhraseFn2", std::string(1031, 's').c_str());
    writeRegString(user, key, "MinBrightness", "12abc");
    writeRegString(user, key, "MaxBrightness", "abc");
    writeRegString(user, key, "MinSaturation", "1e400");
    writeRaw(key, "LumoraCustomColors", REG_BINARY, std::string(65, '\x01'));
    writeRegDword(user, key, "VeryFirstTime", 0);
    std::strcpy(settings.PhraseFn, "before.txt");
    std::strcpy(settings.RecentPhraseFn1, "kept.txt");
    settings.LumoraCustomColors[0] = 42;
    std::strcpy(settings.CurrentColorScheme, "(Unnamed)");
    loadSettings(nullptr);
    EXPECT_EQ(settings.PhraseInterval, 1000);
    EXPECT_EQ(settings.ClearInterval, 777);
    EXPECT_STREQ(settings.ShadowStyle, "Cast");
    EXPECT_STREQ(settings.PhraseFn, "before.txt");
    EXPECT_STREQ(settings.RecentPhraseFn1, "kept.txt");
    EXPECT_EQ(std::string(settings.RecentPhraseFn2), std::string(1031, 's'));
    EXPECT_EQ(settings.MinBrightness, 12);
    EXPECT_EQ(settings.MaxBrightness, 75);
    EXPECT_EQ(settings.MinSaturation, 75);
    EXPECT_EQ(settings.LumoraCustomColors[0], 42u);

    writeRaw(key, "LumoraCustomColors", REG_BINARY, std::string("\x07\x00\x00\x00\x08", 5));
    for (const char *style : {"3D Funky", "Cast ", "No shadow"}) {
        writeRegString(user, key, "ShadowStyle", style);
        loadSettings(nullptr);
        EXPECT_STREQ(settings.ShadowStyle, style == std::string("3D Funky") ? "3D Funky" : "Cast") << style;
    }
    writeRegString(user, key, "ShadowStyle", std::string(150, 'C').c_str());
    loadSettings(nullptr);
    EXPECT_STREQ(settings.ShadowStyle, "Cast");
    EXPECT_EQ(settings.LumoraCustomColors[0], 7u);
    EXPECT_EQ(settings.LumoraCustomColors[1], 8u);
}

TEST_F(SettingsModel, CurrentSchemeOverridesTheStoredColours) {
    writeRegReal(user, key, "MinBrightness", 1);
    writeRegDword(user, key, "BackgroundColor", 0x112233);
    writeRegString(user, key, "CurrentColorScheme", "Color On Red");
    loadSettings(nullptr);
    EXPECT_EQ(settings.MinBrightness, 45);
    EXPECT_EQ(settings.BackgroundColor, 0x000080u);
    EXPECT_EQ(settings.MinTextcolorContrast, 15);
    writeRegString(user, key, "CurrentColorScheme", "color on red");
    settings = Settings();
    loadSettings(nullptr);
    EXPECT_EQ(settings.MinBrightness, 1);
    EXPECT_EQ(settings.BackgroundColor, 0x112233u);
    EXPECT_STREQ(settings.CurrentColorScheme, "(Unnamed)");
}

TEST_F(SettingsModel, MultiLineSizesFollowTheScreenWidth) {
    struct Case {
        std::int32_t width, min, max;
    } cases[] = {{0, 13, 15},    {640, 13, 15},  {641, 15, 18},  {800, 15, 18},
                 {801, 19, 23},  {1024, 19, 23}, {1025, 23, 28}, {1280, 23, 28},
                 {1281, 23, 28}, {1920, 34, 42}, {2560, 46, 56}, {3840, 69, 84}};
    for (const Case &c : cases) {
        std::int32_t min = 0, max = 0;
        multiLineFontSizesFor(c.width, &min, &max);
        EXPECT_EQ(min, c.min) << c.width;
        EXPECT_EQ(max, c.max) << c.width;
    }
    // The width counts at 100 %: 1920 pixels at 150 % are 1280, 2880 are 1920.
    for (auto [pixels, dpi, expected] : {std::tuple{1920, 144, 23}, {2880, 144, 34}, {1366, 96, 24}, {3840, 192, 34}}) {
        std::int32_t min = 0, max = 0;
        multiLineFontSizesFor(unscaleForDpi(pixels, dpi), &min, &max);
        EXPECT_EQ(min, expected) << pixels << " at " << dpi;
    }
    int width = GetSystemMetrics(SM_CXSCREEN);
    std::int32_t min, max;
    multiLineFontSizesFor(width, &min, &max);
    struct Stored {
        std::int32_t min, last, expectMin;
    } stored[] = {{9, width, 9}, {0, width, min}, {9, width + 1, min}};
    for (const Stored &c : stored) {
        writeRegDword(user, key, "MultiLineMinFontSize", c.min);
        writeRegDword(user, key, "MultiLineMaxFontSize", 99);
        writeRegDword(user, key, "LastCxScreen", c.last);
        loadSettings(nullptr);
        EXPECT_EQ(settings.MultiLineMinFontSize, c.expectMin) << c.min << " " << c.last;
        EXPECT_EQ(settings.MultiLineMaxFontSize, c.expectMin == 9 ? 99 : max);
        EXPECT_EQ(settings.LastCxScreen, width);
    }
}

TEST_F(SettingsModel, InstallDirComesFromTheUserFirstAndIsKept) {
    clearSettingsKey(HKEY_LOCAL_MACHINE);
    writeRegString(HKEY_LOCAL_MACHINE, key, "InstallDir", "C:\\machine");
    writeRegString(user, key, "InstallDir", "C:\\user");
    EXPECT_STREQ(getInstallDir(), "C:\\user");
    writeRegString(user, key, "InstallDir", "C:\\changed");
    EXPECT_STREQ(getInstallDir(), "C:\\user");
    clearSettingsKey(HKEY_LOCAL_MACHINE);
}
