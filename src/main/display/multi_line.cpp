// Multi-line passages: one passage as a block at a random place where it
// fits, in a random upright font and colour.
#include <algorithm>
#include <cstdlib>

#include "main/display/display.h"
#include "main/settings/settings.h"
#include "main/display/text_color.h"

static HFONT multiLineFont = nullptr;

HFONT createMultiLineFont() {
    if (multiLineFont != nullptr) {
        DeleteObject(multiLineFont);
        multiLineFont = nullptr;
    }
    int size = randomInRange(std::clamp(settings.MultiLineMinFontSize, minFontSize, maxFontSize),
                             std::clamp(settings.MultiLineMaxFontSize, minFontSize, maxFontSize));
    int weight = randomInRange(600, 900);
    DWORD italic = static_cast<DWORD>(coinFlip());
    const char *face = pickFontName(multiLineFonts);
    multiLineFont = CreateFontA(-size, 0, 0, 0, weight, italic, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    if (multiLineFont == nullptr) return static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    return multiLineFont;
}

void showPassage(HWND hwnd, PassageMove move) {
    HDC hdc = GetDC(hwnd);
    if (hdc == nullptr) return;
    RECT client;
    GetClientRect(hwnd, &client);
    const int width = client.right, height = client.bottom;
    ListNode *entry = resolvePassageMove(move);
    const DrawnText text = drawnText(fetchPhrase(entry != nullptr ? historyPosition(entry) : randomRequest));
    HGDIOBJ previous = SelectObject(hdc, createMultiLineFont());
    SetTextColor(hdc, randomTextColor());
    SetBkMode(hdc, TRANSPARENT);

    // Measured without word breaks, the rectangle is the unwrapped text's.
    RECT box = {0, 0, 100, 100};
    if (drawTextBlock(hdc, text, &box, DT_CALCRECT) > 0) {
        int w = std::abs(static_cast<int>(box.right - box.left + 1));
        int t = std::abs(static_cast<int>(box.bottom - box.top + 1));
        box.left = randomInRange(0, width - w);
        box.right = box.left + w;
        box.top = randomInRange(0, height - t);
        box.bottom = box.top + t;
    } else {
        box = {width / 20, height / 20, width - width / 20, height - height / 20};
    }
    drawTextBlock(hdc, text, &box, DT_WORDBREAK);
    SelectObject(hdc, previous);
    ReleaseDC(hwnd, hdc);
}
