// The font lists: the single-line and multi-line lists stored as packed
// REG_MULTI_SZ values, the fixed list of the credits title, and the installed
// TrueType fonts against which every list is cut down when it is loaded.
#include <windows.h>

#include <cstring>

#include "main/settings/settings.h"
#include "toolbox/lst.h"
#include "toolbox/tbas.h"
#include "toolbox/wkrnl.h"

List *singleLineFonts = nullptr;
List *multiLineFonts = nullptr;
List *dialogFonts = nullptr;
List *installedFonts = nullptr;

// Each literal's own terminating zero is the list's closing zero byte.
const char defaultSingleLineFonts[] =
    "Andale Mono\0Arial\0Arial\0Arial Black\0Bookman Old Style\0Comic Sans MS\0Courier New\0Courier New\0"
    "Garamond\0Georgia\0Impact\0Lucida Sans Unicode\0Palatino Linotype\0Symbol\0Tahoma\0Times New Roman\0"
    "Times New Roman\0Trebuchet MS\0Verdana\0";
const char defaultMultiLineFonts[] =
    "Arial\0Bookman Old Style\0Garamond\0Georgia\0Tahoma\0Times New Roman\0Trebuchet MS\0Verdana\0";
static const char dialogFontNames[] = "Arial\0Times New Roman\0Courier New\0";

char singleLineFontsPacked[fontListPackedSize];
char multiLineFontsPacked[fontListPackedSize];

static int setPackedDefaults() {
    std::memcpy(singleLineFontsPacked, defaultSingleLineFonts, sizeof defaultSingleLineFonts);
    std::memcpy(multiLineFontsPacked, defaultMultiLineFonts, sizeof defaultMultiLineFonts);
    return 0;
}
static int packedDefaultsSet = setPackedDefaults();

static bool isAsciiText(const char *text) {
    for (const char *p = text; *p != '\0'; ++p)
        if (static_cast<unsigned char>(*p) >= 0x80) return false;
    return true;
}

// The callback of the family enumeration; the list being filled comes as the
// application value. It always answers 1, so that the enumeration goes on.
static int CALLBACK fontEnumProc(const LOGFONTA *font, const TEXTMETRICA *, DWORD fontType, LPARAM list) {
    List *fonts = reinterpret_cast<List *>(list);
    // The family enumeration hands over an ENUMLOGFONTA; its full name is
    // what the lists hold, not the LOGFONTA's face name. The platform does
    // not promise the zero in the 64 bytes, so the copy is bounded.
    const ENUMLOGFONTA *described = reinterpret_cast<const ENUMLOGFONTA *>(font);
    char name[LF_FULLFACESIZE + 1];
    std::memcpy(name, described->elfFullName, LF_FULLFACESIZE);
    name[LF_FULLFACESIZE] = '\0';

    if (fonts == nullptr || name[0] == '\0') return 1;
    // The font calls take a face name of at most 31 bytes. A name with
    // letters of several bytes each (UTF-8, or a double-byte code page) that
    // is longer than that would be cut inside a letter there, and with the
    // process in UTF-8 even its 64 bytes here may have been: it is left out.
    if (std::strlen(name) >= LF_FACESIZE && !isAsciiText(name)) return 1;
    if (isVerticalFace(name) || isVerticalFace(font->lfFaceName)) return 1;
    // Raster, vector and TrueType device fonts are all left out.
    if (fontType != TRUETYPE_FONTTYPE) return 1;
    // Symbol fonts draw pictures, not letters; "Symbol" alone is kept.
    if (font->lfCharSet == SYMBOL_CHARSET && std::strcmp(name, "Symbol") != 0) return 1;
    // Families come once per character set.
    if (lstFindString(name, fonts) != nullptr) return 1;
    char *copy = dupString(name);
    if (copy != nullptr && lstPrepend(fonts, copy) != 0) memFree(copy);
    return 1;
}

void enumInstalledFonts(HWND window) {
    lstDestroy(installedFonts);
    installedFonts = lstNew();
    if (installedFonts == nullptr) return;
    HDC dc = GetDC(window);
    if (dc == nullptr) return;
    EnumFontFamiliesA(dc, nullptr, fontEnumProc, reinterpret_cast<LPARAM>(installedFonts));
    ReleaseDC(window, dc);
}

void dropMissingFonts(List *list) {
    ListNode *node = lstHead(list);
    while (node != nullptr) {
        ListNode *next = lstNext(node);
        const char *name = static_cast<const char *>(lstData(node));
        if (lstFindString(name, installedFonts) == nullptr) lstDeleteNode(node);
        node = next;
    }
}

static void loadFontList(const char *valueName, char *packed, List **list) {
    const char *stored = readRegMultiString(HKEY_CURRENT_USER, settingsKey, valueName, packed);
    // Every result of the read ends inside its 2000 bytes, so it fits.
    copyMultiString(packed, stored);
    lstDestroy(*list);
    *list = fontListFromPacked(packed);
    dropMissingFonts(*list);
}

void loadFontLists() {
    loadFontList("SingleLineFonts", singleLineFontsPacked, &singleLineFonts);
    loadFontList("MultiLineFonts", multiLineFontsPacked, &multiLineFonts);
    lstDestroy(dialogFonts);
    dialogFonts = fontListFromPacked(dialogFontNames);
    dropMissingFonts(dialogFonts);
}

static void saveFontList(const char *valueName, char *packed, List *list) {
    // A list that was never loaded is not an empty one: its packed form (the
    // defaults) is written as it stands.
    if (list != nullptr) packFontList(list, packed);
    writeRegMultiString(HKEY_CURRENT_USER, settingsKey, valueName, packed);
}

void saveFontLists() {
    saveFontList("SingleLineFonts", singleLineFontsPacked, singleLineFonts);
    saveFontList("MultiLineFonts", multiLineFontsPacked, multiLineFonts);
}
