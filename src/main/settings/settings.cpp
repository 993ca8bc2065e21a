// Loading and saving the settings record in its fixed order, with the rules
// that belong to it: the install directory, the shadow style check, the
// multi-line font sizes by screen width and the first-run phrase files.
#include <cstring>

#include "main/settings/settings.h"
#include "toolbox/monitor_metrics.h"
#include "toolbox/tbas.h"
#include "toolbox/wkrnl.h"

// Looked up once per process; null until a lookup could be kept.
static char *installDir = nullptr;

// The folder that holds the running module, without a separator at its
// end; empty when the module's name cannot be had.
static const char *moduleFolder() {
    char *path = poolString();
    DWORD length = GetModuleFileNameA(nullptr, path, poolStringSize);
    if (length == 0 || length >= static_cast<DWORD>(poolStringSize)) return emptyString;
    char *end = path + length;
    while (end > path && !isPathSeparator(end[-1])) --end;
    if (end == path) return emptyString;
    // "C:\Lumora.scr" keeps the separator of the drive's root.
    if (end - path > 1 && end[-2] != ':') --end;
    *end = '\0';
    return path;
}

// Without an InstallDir value, as when the files were copied from the zip,
// the phrase files lie beside the module.
const char *getInstallDir() {
    if (installDir != nullptr) return installDir;
    const char *dir = readRegString(HKEY_CURRENT_USER, settingsKey, "InstallDir", "");
    if (isEmptyString(dir)) dir = readRegString(HKEY_LOCAL_MACHINE, settingsKey, "InstallDir", "");
    if (isEmptyString(dir)) dir = moduleFolder();
    installDir = dupString(dir);
    if (installDir == nullptr) return ".";
    return installDir;
}

void multiLineFontSizesFor(std::int32_t width, std::int32_t *minSize, std::int32_t *maxSize) {
    if (inRange(0, width, 640)) {
        *minSize = 13;
        *maxSize = 15;
    } else if (inRange(641, width, 800)) {
        *minSize = 15;
        *maxSize = 18;
    } else if (inRange(801, width, 1024)) {
        *minSize = 19;
        *maxSize = 23;
    } else if (width <= 1280) {
        *minSize = 23;
        *maxSize = 28;
    } else {
        // Wider screens keep the proportion of 1280 pixels, so that a line
        // stays as large a share of the screen; 64-bit, whatever the width.
        *minSize = static_cast<std::int32_t>(23LL * width / 1280);
        *maxSize = static_cast<std::int32_t>(28LL * width / 1280);
    }
}

void setMultiLineFontSizes() {
    std::int32_t width = GetSystemMetrics(SM_CXSCREEN);
    settings.LastCxScreen = width;
    // The sizes are at 100 % and are scaled when drawn: the width they
    // follow is the one at 100 % too, so the scale does not count twice.
    const int dpi = monitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
    multiLineFontSizesFor(unscaleForDpi(width, dpi), &settings.MultiLineMinFontSize, &settings.MultiLineMaxFontSize);
}

void checkShadowStyle() {
    for (const char *name : shadowStyleNames) {
        if (std::strcmp(settings.ShadowStyle, name) == 0) return;
    }
    copyString(settings.ShadowStyle, "Cast", shadowStyleSize);
}

static void setPhraseFiles(const char *recent1, const char *recent2, const char *recent3, const char *recent4) {
    copyString(settings.RecentPhraseFn1, recent1, phraseFnSize);
    copyString(settings.RecentPhraseFn2, recent2, phraseFnSize);
    copyString(settings.RecentPhraseFn3, recent3, phraseFnSize);
    copyString(settings.RecentPhraseFn4, recent4, phraseFnSize);
}

void setDefaultPhraseFiles() {
    char language[poolStringSize];
    GetProfileStringA("intl", "sLanguage", "zzz", language, sizeof language);
    bool german = startsWithNoCase(language, "DE") != 0;
    bool haveFile = !isEmptyString(settings.PhraseFn);
    if (german && !haveFile) {
        copyString(settings.PhraseFn, germanQuotesFile, phraseFnSize);
        setPhraseFiles(germanWordsFile, englishFortunesFile, englishWordsFile, "");
    } else if (german) {
        setPhraseFiles(germanQuotesFile, germanWordsFile, englishFortunesFile, englishWordsFile);
    } else if (!haveFile) {
        copyString(settings.PhraseFn, englishFortunesFile, phraseFnSize);
        setPhraseFiles(englishWordsFile, "", "", "");
    } else {
        setPhraseFiles(englishFortunesFile, englishWordsFile, "", "");
    }
}

// Every read passes the field's present value as its default.
static void readInteger(const char *name, std::int32_t *field) {
    *field = static_cast<std::int32_t>(readRegDword(HKEY_CURRENT_USER, settingsKey, name, static_cast<DWORD>(*field)));
}

static void readReal(const char *name, double *field) {
    *field = readRegReal(HKEY_CURRENT_USER, settingsKey, name, *field);
}

// A stored name longer than the field would be cut into the name of some
// other file, so it is not taken: the field keeps its present value.
static void readFileName(const char *name, char *field) {
    const char *text = readRegString(HKEY_CURRENT_USER, settingsKey, name, field);
    if (std::strlen(text) < static_cast<size_t>(phraseFnSize)) copyString(field, text, phraseFnSize);
}

void loadSettings(HWND window) {
    readInteger("VeryFirstTime", &settings.VeryFirstTime);
    enumInstalledFonts(window);
    readInteger("PhraseInterval", &settings.PhraseInterval);
    readInteger("ClearInterval", &settings.ClearInterval);
    readInteger("MaxTiltDegrees", &settings.MaxTiltDegrees);
    copyString(settings.ShadowStyle, readRegString(HKEY_CURRENT_USER, settingsKey, "ShadowStyle", settings.ShadowStyle),
               shadowStyleSize);
    checkShadowStyle();
    readInteger("ShadowSize", &settings.ShadowSize);
    readInteger("ReadingTimePerChar", &settings.ReadingTimePerChar);
    readInteger("ExtraTimePerParagraph", &settings.ExtraTimePerParagraph);
    readFileName("PhraseFn", settings.PhraseFn);
    readFileName("RecentPhraseFn1", settings.RecentPhraseFn1);
    readFileName("RecentPhraseFn2", settings.RecentPhraseFn2);
    readFileName("RecentPhraseFn3", settings.RecentPhraseFn3);
    readFileName("RecentPhraseFn4", settings.RecentPhraseFn4);
    readInteger("SingleLineMinFontSize", &settings.SingleLineMinFontSize);
    readInteger("SingleLineMaxFontSize", &settings.SingleLineMaxFontSize);
    readInteger("MultiLineMinFontSize", &settings.MultiLineMinFontSize);
    readInteger("MultiLineMaxFontSize", &settings.MultiLineMaxFontSize);
    readInteger("LastCxScreen", &settings.LastCxScreen);
    if (settings.MultiLineMinFontSize == 0 || GetSystemMetrics(SM_CXSCREEN) != settings.LastCxScreen) {
        setMultiLineFontSizes();
    }
    loadFontLists();
    readReal("MinBrightness", &settings.MinBrightness);
    readReal("MaxBrightness", &settings.MaxBrightness);
    readReal("MinSaturation", &settings.MinSaturation);
    readReal("MaxSaturation", &settings.MaxSaturation);
    settings.BackgroundColor = readRegDword(HKEY_CURRENT_USER, settingsKey, "BackgroundColor", settings.BackgroundColor);
    readReal("MinTextcolorContrast", &settings.MinTextcolorContrast);
    readRegBinary(HKEY_CURRENT_USER, settingsKey, "LumoraCustomColors", settings.LumoraCustomColors,
                  sizeof settings.LumoraCustomColors);
    loadColorSchemes();
    copyString(settings.CurrentColorScheme,
               readRegString(HKEY_CURRENT_USER, settingsKey, "CurrentColorScheme", settings.CurrentColorScheme),
               colorSchemeNameSize);
    applyColorScheme(settings.CurrentColorScheme);
    if (settings.VeryFirstTime != 0) setDefaultPhraseFiles();
}

static void writeInteger(const char *name, std::int32_t value) {
    writeRegDword(HKEY_CURRENT_USER, settingsKey, name, static_cast<DWORD>(value));
}

static void writeReal(const char *name, double value) { writeRegReal(HKEY_CURRENT_USER, settingsKey, name, value); }

static void writeText(const char *name, const char *text) {
    writeRegString(HKEY_CURRENT_USER, settingsKey, name, text);
}

void saveSettings() {
    writeInteger("PhraseInterval", settings.PhraseInterval);
    writeInteger("ClearInterval", settings.ClearInterval);
    writeInteger("MaxTiltDegrees", settings.MaxTiltDegrees);
    writeText("ShadowStyle", settings.ShadowStyle);
    writeInteger("ShadowSize", settings.ShadowSize);
    writeInteger("ReadingTimePerChar", settings.ReadingTimePerChar);
    writeInteger("ExtraTimePerParagraph", settings.ExtraTimePerParagraph);
    writeText("PhraseFn", settings.PhraseFn);
    writeText("RecentPhraseFn1", settings.RecentPhraseFn1);
    writeText("RecentPhraseFn2", settings.RecentPhraseFn2);
    writeText("RecentPhraseFn3", settings.RecentPhraseFn3);
    writeText("RecentPhraseFn4", settings.RecentPhraseFn4);
    writeInteger("SingleLineMinFontSize", settings.SingleLineMinFontSize);
    writeInteger("SingleLineMaxFontSize", settings.SingleLineMaxFontSize);
    writeInteger("MultiLineMinFontSize", settings.MultiLineMinFontSize);
    writeInteger("MultiLineMaxFontSize", settings.MultiLineMaxFontSize);
    writeInteger("LastCxScreen", settings.LastCxScreen);
    saveFontLists();
    writeReal("MinBrightness", settings.MinBrightness);
    writeReal("MaxBrightness", settings.MaxBrightness);
    writeReal("MinSaturation", settings.MinSaturation);
    writeReal("MaxSaturation", settings.MaxSaturation);
    writeRegDword(HKEY_CURRENT_USER, settingsKey, "BackgroundColor", settings.BackgroundColor);
    writeReal("MinTextcolorContrast", settings.MinTextcolorContrast);
    writeRegBinary(HKEY_CURRENT_USER, settingsKey, "LumoraCustomColors", settings.LumoraCustomColors,
                   sizeof settings.LumoraCustomColors);
    writeText("CurrentColorScheme", settings.CurrentColorScheme);
    settings.VeryFirstTime = 0;
    writeInteger("VeryFirstTime", 0);
}
