// Texts on their way to the drawing calls: ANSI text goes to the narrow
// calls as it is, a phrase file's Unicode text to the wide ones.
#include <cstring>

#include "main/display/display.h"

// A passage of at most maxPassageCount characters, each at most two UTF-16
// units, and the terminating zero.
static wchar_t wideText[2 * maxPassageCount + 1];

DrawnText drawnText(const char *text) {
    if (!phraseFile.textIsUnicode) return {text, nullptr, static_cast<int>(std::strlen(text))};
    int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, wideText, sizeof wideText / sizeof wideText[0]);
    // The reader's UTF-8 is always valid; should the conversion fail all the
    // same, nothing is drawn rather than bytes in the wrong code page.
    if (units <= 0) units = 1, wideText[0] = L'\0';
    return {nullptr, wideText, units - 1};
}

void textOut(HDC hdc, int x, int y, const DrawnText &text) {
    if (text.wide != nullptr) {
        TextOutW(hdc, x, y, text.wide, text.length);
    } else {
        TextOutA(hdc, x, y, text.narrow, text.length);
    }
}

int drawTextBlock(HDC hdc, const DrawnText &text, RECT *box, UINT format) {
    if (text.wide != nullptr) return DrawTextW(hdc, text.wide, text.length, box, format);
    return DrawTextA(hdc, text.narrow, text.length, box, format);
}
