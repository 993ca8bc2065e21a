// Multi-line passages: one passage as a block at a random place on its
// monitor, in a random upright font and colour; one too large for the monitor
// is wrapped, and made smaller or cut, to fit inside it.
#include <algorithm>
#include <cstdlib>

#include "main/display/display.h"
#include "main/display/face_choice.h"
#include "main/display/monitors.h"
#include "main/display/passage_layout.h"
#include "main/settings/settings.h"
#include "main/display/text_color.h"

static HFONT multiLineFont = nullptr;

HFONT createMultiLineFont(int dpi, const DrawnText *text) {
    if (multiLineFont != nullptr) {
        DeleteObject(multiLineFont);
        multiLineFont = nullptr;
    }
    int size = scaleForDpi(randomInRange(std::clamp(settings.MultiLineMinFontSize, minFontSize, maxFontSize),
                                         std::clamp(settings.MultiLineMaxFontSize, minFontSize, maxFontSize)),
                           dpi);
    int weight = randomInRange(600, 900);
    DWORD italic = static_cast<DWORD>(coinFlip());
    const char *face = faceForText(pickFontName(multiLineFonts), multiLineFonts, text);
    multiLineFont = CreateFontA(-size, 0, 0, 0, weight, italic, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    if (multiLineFont == nullptr) return static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    return multiLineFont;
}

void showPassage(HWND hwnd, PassageMove move) {
    HDC hdc = GetDC(hwnd);
    if (hdc == nullptr) return;
    ListNode *entry = resolvePassageMove(move);
    const DrawnText text = drawnText(fetchPhrase(entry != nullptr ? historyPosition(entry) : randomRequest));
    // The passage goes wholly on one monitor, in sizes for that monitor's DPI.
    const RECT area = passageArea(hwnd);
    const int width = area.right - area.left, height = area.bottom - area.top;
    const int dpi = dpiAt(hwnd, POINT{area.left + width / 2, area.top + height / 2});
    HGDIOBJ previous = SelectObject(hdc, createMultiLineFont(dpi, &text));
    SetTextColor(hdc, randomTextColor());
    SetBkMode(hdc, TRANSPARENT);
    const UINT format = passageFormat(text);

    // Measured without word breaks, the rectangle is the unwrapped text's.
    RECT box = {0, 0, 100, 100};
    if (drawTextBlock(hdc, text, &box, DT_CALCRECT | format) > 0) {
        int w = std::abs(static_cast<int>(box.right - box.left + 1));
        int t = std::abs(static_cast<int>(box.bottom - box.top + 1));
        if (w <= width && t <= height) {
            box = placeInArea(area, w, t);
            drawTextBlock(hdc, text, &box, DT_WORDBREAK | format);
        } else {
            // Too large for its monitor: wrapped, and smaller or cut when
            // it must, inside a margin, never over an edge.
            const int margin = passageMargin(width, height, dpi);
            RECT room = {area.left + margin, area.top + margin, area.right - margin, area.bottom - margin};
            PassageLayout laid = layOutPassage(hdc, &multiLineFont, text, format,
                                               SIZE{room.right - room.left, room.bottom - room.top},
                                               scaleForDpi(smallestPassageHeight, dpi));
            box = placeInArea(room, std::min(laid.block.cx, room.right - room.left),
                              std::min(laid.block.cy, room.bottom - room.top));
            drawTextBlock(hdc, laid.text, &box, format);
        }
    } else {
        box = {area.left + width / 20, area.top + height / 20, area.right - width / 20, area.bottom - height / 20};
        drawTextBlock(hdc, text, &box, DT_WORDBREAK | format);
    }
    SelectObject(hdc, previous);
    ReleaseDC(hwnd, hdc);
}
