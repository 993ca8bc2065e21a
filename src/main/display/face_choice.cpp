// Choosing a face that can show the text to be drawn: the platform tells for
// each character whether a face has a glyph for it.
#include "main/display/face_choice.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "main/settings/settings.h"
#include "toolbox/tbas.h"

// Draws from the list beyond the first, before the list is searched in order.
constexpr int extraDraws = 3;

// The text's letters, each once, sorted: a passage of thousands of letters
// has a few dozen distinct ones, and those are what each face is asked for.
static wchar_t letters[2 * maxPassageCount + 1];
static WORD glyphs[2 * maxPassageCount + 1];
static int letterCount = 0;

// The face found for the last text that the list could not show; tried first
// for the next one, which is likely in the same script.
static char systemFace[LF_FACESIZE];
// The letters that no face showed last time, by a checksum: the next phrase
// of the same text does not ask every installed face again.
static std::uint32_t unshownLetters = 0;

// Characters that need no glyph of their own: spaces, controls, the marks
// that only steer the layout, and surrogate halves, which the glyph query
// cannot look up one by one.
static bool needsNoGlyph(wchar_t c, WORD type) {
    if ((type & (C1_SPACE | C1_CNTRL | C1_BLANK)) != 0) return true;
    if (c >= 0xD800 && c <= 0xDFFF) return true;
    return c == 0x00AD || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF;
}

static void collectLetters(const DrawnText &text) {
    letterCount = 0;
    const int length = std::min(text.length, static_cast<int>(sizeof letters / sizeof letters[0]));
    if (length <= 0) return;
    // The types go into the glyph buffer, which is free until the first query.
    if (!GetStringTypeW(CT_CTYPE1, text.wide, length, glyphs)) std::fill(glyphs, glyphs + length, 0);
    for (int i = 0; i < length; ++i)
        if (!needsNoGlyph(text.wide[i], glyphs[i])) letters[letterCount++] = text.wide[i];
    std::sort(letters, letters + letterCount);
    letterCount = static_cast<int>(std::unique(letters, letters + letterCount) - letters);
}

// A DC of its own to ask faces in, made once and kept.
static HDC probeDc() {
    static HDC dc = CreateCompatibleDC(nullptr);
    return dc;
}

// True when the face has a glyph for every collected letter. A face that is
// not installed stands for the one the font mapper puts in its place, which
// is the one that would be drawn.
static bool faceShowsLetters(const char *face) {
    if (isEmptyString(face) || isVerticalFace(face)) return false;
    if (letterCount == 0) return true;
    HDC dc = probeDc();
    if (dc == nullptr) return true;  // nothing can be asked: the face stays
    LOGFONTA font = {};
    font.lfHeight = -32;
    font.lfCharSet = DEFAULT_CHARSET;
    if (copyString(font.lfFaceName, face, sizeof font.lfFaceName) != 0) return false;
    HFONT made = CreateFontIndirectA(&font);
    if (made == nullptr) return false;
    HGDIOBJ previous = SelectObject(dc, made);
    DWORD got = GetGlyphIndicesW(dc, letters, letterCount, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    bool shows = got == static_cast<DWORD>(letterCount);
    for (int i = 0; shows && i < letterCount; ++i) shows = glyphs[i] != 0xFFFF;
    SelectObject(dc, previous);
    DeleteObject(made);
    return shows;
}

// The system's dialog font, the message font of the non-client metrics.
static const char *dialogFace() {
    static char face[LF_FACESIZE];
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) ||
        copyString(face, metrics.lfMessageFont.lfFaceName, sizeof face) != 0 || face[0] == '\0')
        copyString(face, "MS Shell Dlg", sizeof face);
    return face;
}

static const char *keptSystemFace(const char *face) {
    if (face != systemFace) copyString(systemFace, face, sizeof systemFace);
    return systemFace;
}

// Of the letters and of the installed fonts they were looked for in.
static std::uint32_t lettersChecksum() {
    std::uint32_t sum = (2166136261u ^ static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(installedFonts)));
    for (int i = 0; i < letterCount; ++i) sum = (sum ^ letters[i]) * 16777619u;
    return sum;
}

static const char *systemFaceForLetters() {
    if (faceShowsLetters(systemFace)) return systemFace;
    const char *dialog = dialogFace();
    const std::uint32_t sum = lettersChecksum();
    if (sum == unshownLetters) return dialog;
    if (faceShowsLetters(dialog)) return keptSystemFace(dialog);
    for (ListNode *node = lstHead(installedFonts); node != nullptr; node = lstNext(node)) {
        const char *face = static_cast<const char *>(lstData(node));
        if (faceShowsLetters(face)) return keptSystemFace(face);
    }
    unshownLetters = sum;
    return dialog;
}

const char *faceForText(const char *drawn, List *fonts, const DrawnText *text) {
    letterCount = 0;
    if (text != nullptr) collectLetters(*text);
    if (faceShowsLetters(drawn)) return drawn;
    for (int i = 0; i < extraDraws; ++i) {
        const char *face = pickFontName(fonts);
        if (faceShowsLetters(face)) return face;
    }
    for (ListNode *node = lstHead(fonts); node != nullptr; node = lstNext(node)) {
        const char *face = static_cast<const char *>(lstData(node));
        if (faceShowsLetters(face)) return face;
    }
    return systemFaceForLetters();
}
