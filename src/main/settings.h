// The settings record: every field bears the name of its registry value and
// starts out holding the built-in default.
#pragma once

#include <cstdint>

// Capacities of the text fields, each including the terminating zero.
constexpr int shadowStyleSize = 100;
constexpr int phraseFnSize = 1032;
constexpr int colorSchemeNameSize = 2000;
constexpr int customColorCount = 16;

// A colour reference, 0x00BBGGRR, the same 32 bits as the platform's COLORREF.
using ColorRef = std::uint32_t;

struct Settings {
    std::int32_t VeryFirstTime = 1;
    std::int32_t PhraseInterval = 1000;
    std::int32_t ClearInterval = 30000;
    std::int32_t MaxTiltDegrees = 45;
    char ShadowStyle[shadowStyleSize] = "Cast";
    std::int32_t ShadowSize = 4;
    std::int32_t ReadingTimePerChar = 90;
    std::int32_t ExtraTimePerParagraph = 500;
    char PhraseFn[phraseFnSize] = "";
    char RecentPhraseFn1[phraseFnSize] = "";
    char RecentPhraseFn2[phraseFnSize] = "";
    char RecentPhraseFn3[phraseFnSize] = "";
    char RecentPhraseFn4[phraseFnSize] = "";
    std::int32_t SingleLineMinFontSize = 20;
    std::int32_t SingleLineMaxFontSize = 80;
    std::int32_t MultiLineMinFontSize = 0;
    std::int32_t MultiLineMaxFontSize = 20;
    std::int32_t LastCxScreen = 0;
    double MinBrightness = 50;
    double MaxBrightness = 75;
    double MinSaturation = 75;
    double MaxSaturation = 100;
    ColorRef BackgroundColor = 0;
    double MinTextcolorContrast = 0;
    ColorRef LumoraCustomColors[customColorCount] = {};
    char CurrentColorScheme[colorSchemeNameSize] = "Color On Black";
};

extern Settings settings;

// The registry key under HKEY_CURRENT_USER (and, for InstallDir only,
// HKEY_LOCAL_MACHINE) that holds every value.
constexpr const char *settingsKey = "Software\\Kestrane\\Lumora Screensaver";

// The shadow style names in the order the configuration dialog offers them.
constexpr const char *shadowStyleNames[] = {"No Shadow", "Cast", "3D Cast", "3D Gradual", "3D Funky"};
constexpr int shadowStyleCount = 5;

// The four default phrase files, bare names resolved in the install directory.
constexpr const char *englishWordsFile = "lu-english-words-1.txt";
constexpr const char *englishFortunesFile = "lu-english-fortunes-1.txt";
constexpr const char *germanWordsFile = "lu-deutsche-100-worte.txt";
constexpr const char *germanQuotesFile = "lu-deutsche-zitate-1.txt";
