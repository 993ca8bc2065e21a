// Single-line phrases: a random line at a random place in a random tilted
// TrueType font and colour, with its shadow copies.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "toolbox/tbas.h"
#include "main/display/display.h"
#include "main/display/face_choice.h"
#include "main/display/monitors.h"
#include "main/settings/settings.h"
#include "main/display/text_color.h"

static HFONT singleLineFont = nullptr;

const char *pickFontName(List *fonts) {
    std::int32_t n = lstCount(fonts);
    if (n <= 0) return fallbackFontName;
    std::int32_t i = randomInRange(0, n - 1);
    ListNode *node = lstHead(fonts);
    while (i-- > 0) node = lstNext(node);
    const char *name = static_cast<const char *>(lstData(node));
    return isEmptyString(name) ? fallbackFontName : name;
}

HFONT createSingleLineFont(List *fonts, int minSize, int maxSize, int maxTilt, int dpi, const DrawnText *text) {
    if (singleLineFont != nullptr) {
        DeleteObject(singleLineFont);
        singleLineFont = nullptr;
    }
    // Held to their ranges, ten times the tilt cannot overflow. The sizes
    // are held before they are scaled, as for passages, so that above
    // 96 DPI the largest sizes still differ.
    minSize = std::clamp(minSize, minFontSize, maxFontSize);
    maxSize = std::clamp(maxSize, minFontSize, maxFontSize);
    maxTilt = std::clamp(maxTilt, -maxTiltDegrees, maxTiltDegrees);
    int size = scaleForDpi(randomInRange(minSize, maxSize), dpi);
    int angle = randomInRange(-10 * maxTilt, 10 * maxTilt);
    int weight = randomInRange(200, 900);
    DWORD italic = static_cast<DWORD>(coinFlip());
    DWORD underline = randomInRange(1, 1000) > 900 ? 1 : 0;
    const char *face = faceForText(pickFontName(fonts), fonts, text);
    // The default character set, so that the face named is the face drawn,
    // whatever scripts it covers.
    singleLineFont = CreateFontA(-size, 0, angle, angle, weight, italic, underline, 0, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 face);
    if (singleLineFont == nullptr) return static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    return singleLineFont;
}

// The text's block as drawn: its unwrapped extent, one pixel more each way,
// turned by the font's escapement (tenths of a degree). 0 by 0 when it
// cannot be measured.
static SIZE drawnBlock(HDC hdc, const DrawnText &text, UINT format, LONG escapement) {
    RECT box = {0, 0, 100, 100};
    if (drawTextBlock(hdc, text, &box, DT_CALCRECT | format) <= 0) return SIZE{0, 0};
    const double w = std::abs(box.right - box.left + 1), t = std::abs(box.bottom - box.top + 1);
    if (escapement % 3600 == 0) return SIZE{static_cast<LONG>(w), static_cast<LONG>(t)};
    const double angle = escapement * 3.14159265358979323846 / 1800;
    const double c = std::fabs(std::cos(angle)), s = std::fabs(std::sin(angle));
    return SIZE{std::lround(w * c + t * s), std::lround(w * s + t * c)};
}

void fitFontToRoom(HDC hdc, HFONT *slot, const DrawnText &text, UINT format, SIZE room) {
    LOGFONTA font;
    if (room.cx <= 0 || room.cy <= 0 || *slot == nullptr || GetObjectA(*slot, sizeof font, &font) != sizeof font)
        return;
    SIZE block = drawnBlock(hdc, text, format, font.lfEscapement);
    int height = std::abs(static_cast<int>(font.lfHeight));
    // Text grows about in proportion to its font: the first guess mostly
    // fits; hinting may want a pixel or two less, which the next rounds take.
    for (int round = 0; round < 16 && height > 1 && block.cx > 0 && (block.cx > room.cx || block.cy > room.cy);
         ++round) {
        const double scale = std::min(static_cast<double>(room.cx) / block.cx, static_cast<double>(room.cy) / block.cy);
        const int next = std::clamp(static_cast<int>(height * scale), 1, height - 1);
        font.lfHeight = -next;
        HFONT smaller = CreateFontIndirectA(&font);
        if (smaller == nullptr) break;
        SelectObject(hdc, smaller);
        DeleteObject(*slot);
        *slot = smaller;
        height = next;
        block = drawnBlock(hdc, text, format, font.lfEscapement);
    }
}

enum class ShadowKind { None, Cast, Graded, Funky };

static ShadowKind shadowKind(const char *style) {
    if (std::strcmp(style, "No Shadow") == 0) return ShadowKind::None;
    if (std::strcmp(style, "3D Cast") == 0 || std::strcmp(style, "3D Gradual") == 0) return ShadowKind::Graded;
    if (std::strcmp(style, "3D Funky") == 0) return ShadowKind::Funky;
    return ShadowKind::Cast;
}

// The copies stand depth down to 1 pixels right and down, the nearest drawn
// last; "Cast" draws only the farthest one.
static void drawShadow(HDC hdc, int x, int y, const DrawnText &text, ColorRef color, int depth) {
    ShadowKind kind = shadowKind(settings.ShadowStyle);
    if (kind == ShadowKind::None) return;
    for (int n = depth; n >= 1; --n) {
        ColorRef copy;
        switch (kind) {
        case ShadowKind::Funky:
            copy = randomTextColor();
            break;
        case ShadowKind::Graded:
            copy = shadowColor(color, static_cast<double>(n) / depth);
            break;
        default:
            copy = shadowColor(color, 1.0);
            break;
        }
        SetTextColor(hdc, copy);
        textOut(hdc, x + n, y + n, text);
        if (kind == ShadowKind::Cast) break;
    }
}

void drawPhrase(HWND hwnd) {
    HDC hdc = GetDC(hwnd);
    if (hdc == nullptr) return;
    RECT client;
    GetClientRect(hwnd, &client);
    const double width = client.right, height = client.bottom;
    const DrawnText text = phraseText(fetchPhrase(randomRequest));
    int x = randomInRange(static_cast<std::int32_t>(-0.2 * width), static_cast<std::int32_t>(0.9 * width));
    int y = randomInRange(static_cast<std::int32_t>(-0.2 * height), static_cast<std::int32_t>(height));
    // Sizes in pixels are the phrase's size at 96 DPI on its monitor.
    const int dpi = dpiAt(hwnd, POINT{x, y});
    HFONT font = createSingleLineFont(singleLineFonts, settings.SingleLineMinFontSize, settings.SingleLineMaxFontSize,
                                      settings.MaxTiltDegrees, dpi, &text);
    HGDIOBJ previous = SelectObject(hdc, font);
    // A phrase never stands larger than the preview it is drawn in.
    if (isPreviewWindow(hwnd))
        fitFontToRoom(hdc, &singleLineFont, text, DT_SINGLELINE | DT_NOPREFIX, SIZE{client.right, client.bottom});
    SetBkMode(hdc, TRANSPARENT);
    // A phrase in a right-to-left script is drawn in its reading order (the
    // "!" of "שלום!" at its left end); it still begins at x, shadows and all.
    const UINT align = GetTextAlign(hdc);
    if (readsRightToLeft(text) && align != GDI_ERROR) SetTextAlign(hdc, align | TA_RTLREADING);
    ColorRef color = randomTextColor();
    // The stored size is held to what the dialog stores before it is scaled.
    drawShadow(hdc, x, y, text, color, scaleForDpi(std::clamp(settings.ShadowSize, 0, maxShadowSize), dpi));
    SetTextColor(hdc, color);
    textOut(hdc, x, y, text);
    if (align != GDI_ERROR) SetTextAlign(hdc, align);
    SelectObject(hdc, previous);
    ReleaseDC(hwnd, hdc);
}
