// Texts on their way to the drawing calls, all of them widened: the system's
// own texts from the process code page, a phrase file's Unicode text from
// UTF-8 and its 8-bit text from the code page such files are written in.
#include <algorithm>

#include "main/display/display.h"
#include "toolbox/tplat.h"

// A passage of at most maxPassageCount characters, each at most two UTF-16
// units, and the terminating zero.
static wchar_t wideText[2 * maxPassageCount + 1];

DrawnText drawnText(const char *text) {
    UINT codePage = !phraseFile.textIsFromFile ? CP_ACP : phraseFile.textIsUnicode ? CP_UTF8 : platFileCodePage();
    int units = MultiByteToWideChar(codePage, 0, text, -1, wideText, sizeof wideText / sizeof wideText[0]);
    // Should the conversion fail all the same, nothing is drawn rather than
    // bytes in the wrong code page.
    if (units <= 0) units = 1, wideText[0] = L'\0';
    return {wideText, units - 1};
}

void textOut(HDC hdc, int x, int y, const DrawnText &text) { TextOutW(hdc, x, y, text.wide, text.length); }

int drawTextBlock(HDC hdc, const DrawnText &text, RECT *box, UINT format) {
    return DrawTextW(hdc, text.wide, text.length, box, format);
}

DrawnText phraseText(const char *text) {
    DrawnText drawn = drawnText(text);
    // A tab has no stop on a phrase's one line: it stands for a space.
    std::replace(wideText, wideText + drawn.length, L'\t', L' ');
    return drawn;
}

bool readsRightToLeft(const DrawnText &text) {
    WORD types[256];
    for (int start = 0; start < text.length; start += 256) {
        const int count = std::min(256, text.length - start);
        if (!GetStringTypeW(CT_CTYPE2, text.wide + start, count, types)) return false;
        for (int i = 0; i < count; ++i) {
            if (types[i] == C2_LEFTTORIGHT) return false;
            if (types[i] == C2_RIGHTTOLEFT) return true;
        }
    }
    return false;
}
