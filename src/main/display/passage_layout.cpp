// Passages laid out in their room: wrapped at the line-break opportunities
// the platform finds for their script, else between characters, then made
// smaller or cut until they fit.
#include "main/display/passage_layout.h"

#include <usp10.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "main/display/monitors.h"

namespace {

// A passage's UTF-16 units with their closing zero.
constexpr int maxUnits = 2 * maxPassageCount + 1;

// What may happen before a unit of the text.
constexpr unsigned char lineBreakBefore = 1;  // a break opportunity of the script
constexpr unsigned char charBefore = 2;       // a character boundary: a last resort

unsigned char breaksBefore[maxUnits];
bool spaceAt[maxUnits];
int advances[maxUnits];
WORD charTypes[maxUnits];
SCRIPT_ITEM items[maxUnits + 1];
SCRIPT_LOGATTR attributes[maxUnits];
// Every unit may be followed by a line feed, and the last line by the ellipsis.
wchar_t wrapped[2 * maxUnits + 4];

constexpr wchar_t ellipsis = 0x2026;

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool isSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000; }

// Whether a line may end before unit i without splitting a character: not
// between the halves of a surrogate pair, not before a combining mark or a
// variation selector, not beside a zero-width joiner.
bool splitsCharacter(const wchar_t *s, int i, WORD type3) {
    const wchar_t c = s[i], before = s[i - 1];
    if (isLowSurrogate(c) && isHighSurrogate(before)) return true;
    if ((type3 & C3_NONSPACING) != 0) return true;
    if ((c >= 0xFE00 && c <= 0xFE0F) || c == 0x200D || before == 0x200D) return true;
    // U+E0100..U+E01EF, the supplementary variation selectors (the text
    // ends with a zero, so the unit after a high surrogate may be read).
    return c == 0xDB40 && s[i + 1] >= 0xDD00 && s[i + 1] <= 0xDDEF;
}

// The break opportunities of one line of n units, as the platform's script
// processor finds them. Where it cannot tell, a line may break after spaces.
void findLineBreaks(const wchar_t *line, int n, unsigned char *flags, bool *spaces, WORD *types) {
    if (n <= 0) return;
    int count = 0;
    if (!GetStringTypeW(CT_CTYPE3, line, n, types)) std::fill(types, types + n, 0);
    for (int i = 0; i < n; ++i) flags[i] = 0, spaces[i] = isSpace(line[i]);
    // The whole line first, for the breaks where one script meets another;
    // then each run of one script by its own rules (a dictionary for Thai).
    SCRIPT_ANALYSIS plain = {};
    if (SUCCEEDED(ScriptBreak(line, n, &plain, attributes))) {
        for (int i = 0; i < n; ++i) {
            if (attributes[i].fSoftBreak) flags[i] |= lineBreakBefore;
            if (attributes[i].fWhiteSpace) spaces[i] = true;
        }
    }
    if (FAILED(ScriptItemize(line, n, maxUnits, nullptr, nullptr, items, &count)) || count < 2) count = 0;
    for (int k = 0; k < count; ++k) {
        const int start = items[k].iCharPos, end = items[k + 1].iCharPos;
        if (FAILED(ScriptBreak(line + start, end - start, &items[k].a, attributes))) continue;
        for (int j = 1; j < end - start; ++j) {
            flags[start + j] = attributes[j].fSoftBreak ? lineBreakBefore : 0;
            if (attributes[j].fWhiteSpace) spaces[start + j] = true;
        }
    }
    for (int i = 1; i < n; ++i) {
        if (spaces[i - 1] && !spaces[i]) flags[i] |= lineBreakBefore;
        if (splitsCharacter(line, i, types[i]))
            flags[i] = 0;
        else
            flags[i] |= charBefore;
    }
    flags[0] = 0;
}

// The advance of each unit of the line, tabs left to the walk.
void measureLine(HDC hdc, const wchar_t *line, int n, int *out) {
    SIZE size;
    if (n <= 0) return;
    if (!GetTextExtentExPointW(hdc, line, n, INT_MAX, nullptr, out, &size)) {
        std::fill(out, out + n, 0);
        return;
    }
    for (int i = n - 1; i > 0; --i) out[i] -= out[i - 1];
}

// The wrapped text as it is written, with the extent of its lines.
struct Wrapping {
    wchar_t *out;
    int capacity;
    int used;
    int widest;  // pixels
    int lines;
};

// The advances of a line's units, at the size they were measured at or, to
// try another size without asking the platform, scaled to it.
struct Advances {
    const int *units;
    double scale;
    double tabWidth;
};

// The pen position after unit i of a line, from the one before it.
double advance(const wchar_t *line, int i, double x, const Advances &adv) {
    if (line[i] == L'\t' && adv.tabWidth > 0) return (std::floor(x / adv.tabWidth) + 1) * adv.tabWidth;
    return x + adv.units[i] * adv.scale;
}

// The width of units [start, end) of a line from the line's start.
int pieceWidth(const wchar_t *line, int start, int end, const Advances &adv) {
    double x = 0;
    for (int i = start; i < end; ++i) x = advance(line, i, x, adv);
    return static_cast<int>(std::ceil(x));
}

// Copies units [start, end) of the line and a line feed; false when out is full.
bool emit(const wchar_t *line, int start, int end, const Advances &adv, bool lineFeed, Wrapping *w) {
    const int count = end - start;
    if (w->used + count + 1 >= w->capacity) return false;
    std::copy(line + start, line + end, w->out + w->used);
    w->used += count;
    w->widest = std::max(w->widest, pieceWidth(line, start, end, adv));
    ++w->lines;
    if (lineFeed) w->out[w->used++] = L'\n';
    return true;
}

// Wraps one line of n units to the width; its breaks and advances at the
// same offsets. Tab stops lie every tabWidth pixels from each line's start,
// as DrawText places them.
bool wrapLine(const wchar_t *line, int n, const unsigned char *flags, const bool *spaces, const Advances &adv,
              int width, bool lastLine, Wrapping *w) {
    int start = 0;
    while (true) {
        double x = 0;
        int end = n;
        for (int i = start; i < n; ++i) {
            x = advance(line, i, x, adv);
            // Spaces may stand past the edge: the line ends before them.
            if (x <= width || i == start || spaces[i]) continue;
            int j = i;
            while (j > start && !(flags[j] & lineBreakBefore)) --j;
            if (j == start) {
                j = i;
                while (j > start && !(flags[j] & charBefore)) --j;
            }
            if (j == start) {
                j = i + 1;
                while (j < n && !(flags[j] & charBefore)) ++j;
            }
            end = j;
            break;
        }
        // Spaces at the end of a line would only widen its block.
        int keep = end;
        while (keep > start && spaces[keep - 1]) --keep;
        if (end >= n) return emit(line, start, keep, adv, !lastLine, w);
        if (!emit(line, start, keep, adv, true, w)) return false;
        start = end;
        while (start < n && spaces[start]) ++start;
        if (start >= n) {
            // Only spaces were left: the line feed just written ends the line.
            if (lastLine) --w->used;
            return true;
        }
    }
}

// Wraps the whole text into out; the result's lines and widest line as
// DrawText will draw them with the DC's font. A scale other than 1 tries a
// size that much larger, with the advances last measured.
Wrapping wrapAll(HDC hdc, const DrawnText &text, int width, wchar_t *out, int capacity, double scale = 1) {
    TEXTMETRICW metrics;
    const int tabWidth = GetTextMetricsW(hdc, &metrics) ? 8 * metrics.tmAveCharWidth : 0;
    Wrapping w = {out, capacity, 0, 0, 0};
    for (int start = 0; start <= text.length;) {
        int end = start;
        while (end < text.length && text.wide[end] != L'\n') ++end;
        if (scale == 1) measureLine(hdc, text.wide + start, end - start, advances + start);
        const Advances adv = {advances + start, scale, tabWidth * scale};
        const bool last = end >= text.length;
        if (!wrapLine(text.wide + start, end - start, breaksBefore + start, spaceAt + start, adv, width, last, &w))
            break;
        start = end + 1;
    }
    out[w.used] = L'\0';
    return w;
}

void findBreaks(const DrawnText &text) {
    for (int start = 0; start <= text.length;) {
        int end = start;
        while (end < text.length && text.wide[end] != L'\n') ++end;
        findLineBreaks(text.wide + start, end - start, breaksBefore + start, spaceAt + start, charTypes + start);
        start = end + 1;
    }
}

SIZE blockOf(HDC hdc, const wchar_t *text, int length, UINT format) {
    RECT box = {0, 0, 100, 100};
    if (drawTextBlock(hdc, DrawnText{text, length}, &box, DT_CALCRECT | format) <= 0) return SIZE{0, 0};
    return SIZE{std::abs(static_cast<int>(box.right - box.left + 1)),
                std::abs(static_cast<int>(box.bottom - box.top + 1))};
}

// Keeps the lines that fit the room's height and ends the last of them with
// the ellipsis, shortened until it fits the width. Returns the new length.
int cutToRoom(HDC hdc, int length, UINT format, SIZE room) {
    TEXTMETRICW metrics;
    if (!GetTextMetricsW(hdc, &metrics) || metrics.tmHeight <= 0) return length;
    // The first line of a passage is empty: at least one line of text stays.
    const int lines = std::max(2, static_cast<int>((room.cy - 1) / metrics.tmHeight));
    int end = 0, seen = 0;
    while (end < length && !(wrapped[end] == L'\n' && ++seen == lines)) ++end;
    if (end >= length) return length;
    int lineStart = end;
    while (lineStart > 0 && wrapped[lineStart - 1] != L'\n') --lineStart;
    while (end > lineStart && isSpace(wrapped[end - 1])) --end;
    while (true) {
        wrapped[end] = ellipsis;
        SIZE line = blockOf(hdc, wrapped + lineStart, end + 1 - lineStart, format | DT_SINGLELINE);
        if (line.cx <= room.cx || end == lineStart) break;
        // One character less, never half of one.
        --end;
        while (end > lineStart) {
            WORD type = 0;
            GetStringTypeW(CT_CTYPE3, wrapped + end, 1, &type);
            if (!splitsCharacter(wrapped, end, type)) break;
            --end;
        }
        while (end > lineStart && isSpace(wrapped[end - 1])) --end;
    }
    wrapped[end + 1] = L'\0';
    return end + 1;
}

}  // namespace

UINT passageFormat(const DrawnText &text) {
    UINT format = DT_EXPANDTABS | DT_NOPREFIX;
    return readsRightToLeft(text) ? format | DT_RIGHT | DT_RTLREADING : format;
}

int passageMargin(int width, int height, int dpi) {
    return std::max(0, std::min(scaleForDpi(16, dpi), std::min(width, height) / 20));
}

int wrapText(HDC hdc, const DrawnText &text, int width, wchar_t *out, int capacity) {
    if (capacity <= 0) return 0;
    findBreaks(text);
    return wrapAll(hdc, text, width, out, capacity).used;
}

PassageLayout layOutPassage(HDC hdc, HFONT *slot, const DrawnText &text, UINT format, SIZE room, int floorHeight) {
    const int capacity = sizeof wrapped / sizeof wrapped[0];
    // A window of no size still gets a layout, if one nobody sees.
    room.cx = std::max(room.cx, 2L);
    room.cy = std::max(room.cy, 1L);
    findBreaks(text);
    // The block is one pixel wider and higher than the lines, as DrawText
    // measures them (lines of the font's height, the same extents); a cut
    // text is measured again.
    const int width = room.cx - 1;
    Wrapping wrapping;
    SIZE block;
    auto wrap = [&] {
        TEXTMETRICW metrics;
        const int lineHeight = GetTextMetricsW(hdc, &metrics) ? metrics.tmHeight : 0;
        wrapping = wrapAll(hdc, text, width, wrapped, capacity);
        block = SIZE{wrapping.widest + 1, wrapping.lines * lineHeight + 1};
    };
    wrap();
    auto fits = [&] { return block.cy <= room.cy && block.cx <= room.cx; };
    LOGFONTW font;
    // The font remade at another height, the text wrapped again.
    auto layOutAt = [&](int height) {
        font.lfHeight = -height;
        HFONT remade = CreateFontIndirectW(&font);
        if (remade == nullptr) return false;
        SelectObject(hdc, remade);
        DeleteObject(*slot);
        *slot = remade;
        wrap();
        return true;
    };
    if (!fits() && *slot != nullptr && GetObjectW(*slot, sizeof font, &font) == sizeof font &&
        std::abs(static_cast<int>(font.lfHeight)) > floorHeight) {
        const int original = std::abs(static_cast<int>(font.lfHeight));
        // The largest size that fits, sought with the advances scaled from
        // this size (the platform measures once per size tried for real);
        // hinting may want a size less, which the real rounds take.
        TEXTMETRICW metrics;
        const int lineHeight = GetTextMetricsW(hdc, &metrics) ? metrics.tmHeight : original;
        int low = floorHeight, high = original - 1;
        while (low < high) {
            const int middle = (low + high + 1) / 2;
            const double scale = static_cast<double>(middle) / original;
            Wrapping tried = wrapAll(hdc, text, width, wrapped, capacity, scale);
            const bool triedFits = tried.widest + 1 <= room.cx &&
                                   tried.lines * std::ceil(lineHeight * scale) + 1 <= room.cy;
            if (triedFits)
                low = middle;
            else
                high = middle - 1;
        }
        for (int height = low; height >= floorHeight; --height) {
            if (!layOutAt(height) || fits()) break;
        }
    }
    if (block.cy <= room.cy) return PassageLayout{DrawnText{wrapped, wrapping.used}, block};
    const int length = cutToRoom(hdc, wrapping.used, format, room);
    return PassageLayout{DrawnText{wrapped, length}, blockOf(hdc, wrapped, length, format)};
}
