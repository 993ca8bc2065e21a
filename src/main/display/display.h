// The display engine: the saver window procedure with its timer, the
// single-line phrases and the multi-line passages.
#pragma once

#include <windows.h>

#include "main/display/saver_proc.h"
#include "main/phrase/display_state.h"
#include "main/phrase/phrase.h"

constexpr UINT_PTR displayTimerId = 208;
constexpr UINT displayTimerPeriod = 30;

// The ranges the configuration dialogs store. The registry may hold anything,
// so the engine holds each value to its range where it uses it (the stored
// value stays as it is): a font of thousands of pixels takes the platform
// seconds per letter, and a shadow of millions of copies never ends.
constexpr int maxShadowSize = 15;
constexpr int maxTiltDegrees = 359;
constexpr int minFontSize = 5;
constexpr int maxFontSize = 500;

void restartDisplay(HWND hwnd);
void fadeClear(HWND hwnd);
void showNext(HWND hwnd);
void eraseBackground(HWND hwnd, HDC hdc);
HBRUSH backgroundBrush();
bool isNavigationKey(WPARAM code);
// Erases the window now: the background fill runs before it returns.
void eraseWindow(HWND hwnd);

// A text to draw, widened for the wide drawing and measuring calls: the
// narrow calls would read it in the code page of the font's character set,
// which is neither the process's UTF-8 nor a file's own code page.
struct DrawnText {
    const wchar_t *wide;
    int length;  // UTF-16 units
};
// The text that fetchPhrase has just returned, ready to draw; valid until
// the next call.
DrawnText drawnText(const char *text);
// The same for a single-line phrase: its tabs drawn as spaces.
DrawnText phraseText(const char *text);
// Whether the text reads from right to left: its first character of a strong
// direction (a letter, not a digit, space or punctuation) is written so, as
// in Hebrew and Arabic.
bool readsRightToLeft(const DrawnText &text);
void textOut(HDC hdc, int x, int y, const DrawnText &text);
int drawTextBlock(HDC hdc, const DrawnText &text, RECT *box, UINT format);

// Remakes the font in the slot, which is selected into the DC, alike but
// smaller, at the largest height at which the text (measured with the given
// DrawText format, turned by the font's tilt) fits into the room; a text that
// fits keeps its font.
void fitFontToRoom(HDC hdc, HFONT *slot, const DrawnText &text, UINT format, SIZE room);

// Single-line phrases.
void drawPhrase(HWND hwnd);
// Sizes in pixels at 96 DPI, drawn at the given DPI; the face is one that
// shows the text, when a text is given.
HFONT createSingleLineFont(List *fonts, int minSize, int maxSize, int maxTilt, int dpi,
                           const DrawnText *text = nullptr);
const char *pickFontName(List *fonts);

// Passages.
void showPassage(HWND hwnd, PassageMove move);
// Sizes are scaled from 96 DPI to the given one; the face is one that shows
// the text, when a text is given.
HFONT createMultiLineFont(int dpi, const DrawnText *text = nullptr);

// Passage navigation and phrase file switching; always answers 0.
LRESULT handleNavigationKey(HWND hwnd, WPARAM code);
// Inside a dialog the pane tells its parent of a phrase file switched with
// its keys: WM_COMMAND with the pane's id and this code, the pane as lParam.
// The file is already open in the engine; the dialog shows it.
constexpr WORD phraseFileSwitched = 0x0F01;
