// Multi-line passages: one passage as a block at a random place where it
// fits, in a random upright font and colour.
#include <algorithm>
#include <cstdlib>

#include "main/display/display.h"
#include "main/display/face_choice.h"
#include "main/display/monitors.h"
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
    // In a preview a passage larger than the window is drawn as large as
    // fits; full screen it may overhang, as it always did.
    if (isPreviewWindow(hwnd)) fitFontToRoom(hdc, &multiLineFont, text, 0, SIZE{width, height});

    // Measured without word breaks, the rectangle is the unwrapped text's.
    RECT box = {0, 0, 100, 100};
    if (drawTextBlock(hdc, text, &box, DT_CALCRECT) > 0) {
        int w = std::abs(static_cast<int>(box.right - box.left + 1));
        int t = std::abs(static_cast<int>(box.bottom - box.top + 1));
        box = placeInArea(area, w, t);
    } else {
        box = {area.left + width / 20, area.top + height / 20, area.right - width / 20, area.bottom - height / 20};
    }
    drawTextBlock(hdc, text, &box, DT_WORDBREAK);
    SelectObject(hdc, previous);
    ReleaseDC(hwnd, hdc);
}
