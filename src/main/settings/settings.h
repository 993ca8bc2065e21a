// The settings record: every field bears the name of its registry value and
// starts out holding the built-in default.
#pragma once

#include <cstdint>
#include <tuple>

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

// The four default phrase files, bare names resolved in the install directory.
constexpr const char *englishWordsFile = "lu-english-words-1.txt";
constexpr const char *englishFortunesFile = "lu-english-fortunes-1.txt";
constexpr const char *germanWordsFile = "lu-deutsche-100-worte.txt";
constexpr const char *germanQuotesFile = "lu-deutsche-zitate-1.txt";

// The subkey that holds one REG_SZ value per user colour scheme.
constexpr const char *colorSchemesKey = "Software\\Kestrane\\Lumora Screensaver\\ColorSchemes";
// The name that stands for no scheme at all; no scheme ever bears it.
constexpr const char *unnamedSchemeName = "(Unnamed)";
constexpr int builtInSchemeCount = 10;

// A named set of the six colour settings. The name is a heap copy owned by
// the record for user schemes and a constant for the built-in ones.
struct ColorScheme {
    const char *name;
    double MinBrightness;
    double MaxBrightness;
    double MinSaturation;
    double MaxSaturation;
    ColorRef BackgroundColor;
    double MinTextcolorContrast;
};

// The six colour values of a settings record or a scheme, as one record
// that copies either way: colorValues(settings) = colorValues(*scheme).
template <class Record>
auto colorValues(Record &r) {
    return std::tie(r.MinBrightness, r.MaxBrightness, r.MinSaturation, r.MaxSaturation, r.MinTextcolorContrast,
                    r.BackgroundColor);
}

// Size of the packed form of a font list, with its closing zero bytes.
constexpr int fontListPackedSize = 2000;
// Drawn in when a font list is empty or the picked name is empty.
constexpr const char *fallbackFontName = "Arial";
// A vertical face (the platform names them with a leading "@") lays every
// ideograph on its side: it is never listed, stored or drawn.
inline bool isVerticalFace(const char *name) { return name != nullptr && name[0] == '@'; }

// The multi-line font sizes for a screen width in pixels at 100 % (bounds
// inclusive: up to 640, 800, 1024, 1280, and in proportion above).
void multiLineFontSizesFor(std::int32_t width, std::int32_t *minSize, std::int32_t *maxSize);

// The stored texts. A user scheme's text holds its six values after the name,
// "%f %f %f %f %u %f"; parsing fills them in (not the name) and answers 0
// when all six convert to finite numbers, else 1 with the record untouched.
struct List;
int parseSchemeText(const char *text, ColorScheme *record);
// The stored text of a record, in a scratch string; empty for null.
char *schemeToString(const ColorScheme *record);
// A font list from a packed form read within its fontListPackedSize bytes,
// each name put at the front, so the list holds them in reverse; and the
// packed form of a list in such a buffer, front first, as many as fit.
List *fontListFromPacked(const char *packed);
void packFontList(List *list, char *buffer);

#ifdef _WIN32
// The settings subsystem proper: registry load and save, colour schemes and
// font lists. It stands on the registry and GDI, so the Windows build only.
// The window handle is declared as <windows.h> declares it, so that the
// portable files that include this header get none of its macros (near, far).
struct HWND__;
typedef HWND__ *HWND;
struct ListNode;

// Font lists: items are heap copies of face names; a name may occur twice.
extern List *singleLineFonts;
extern List *multiLineFonts;
extern List *dialogFonts;     // the credits title's fonts, never stored
extern List *installedFonts;  // the TrueType fonts found by the last load

// The packed forms of the two stored lists: the defaults until the first load,
// then the last loaded or saved form, which serves as the next load's default.
extern const char defaultSingleLineFonts[];
extern const char defaultMultiLineFonts[];
extern char singleLineFontsPacked[fontListPackedSize];
extern char multiLineFontsPacked[fontListPackedSize];

void enumInstalledFonts(HWND window);
void dropMissingFonts(List *list);
void loadFontLists();
void saveFontLists();

// Colour schemes: the user schemes sorted by name, then the ten built-ins.
extern List *colorSchemes;
extern const ColorScheme builtInSchemes[builtInSchemeCount];

void loadColorSchemes();
int readUserScheme(const char *name, ColorScheme *record);
int isBuiltInSchemeName(const char *name);
int isReservedSchemeName(const char *name);
int applyColorScheme(const char *name);
ListNode *findColorScheme(const char *name);
void writeUserScheme(const ColorScheme *record);
void addUserScheme(const char *name);
void removeUserScheme(const char *name);

// The settings record's load and save, and the rules that go with them.
const char *getInstallDir();
void loadSettings(HWND window);
void saveSettings();
void setMultiLineFontSizes();
void checkShadowStyle();
void setDefaultPhraseFiles();
#endif
