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

// Single-line phrases.
void drawPhrase(HWND hwnd);
HFONT createSingleLineFont(List *fonts, int minSize, int maxSize, int maxTilt);
const char *pickFontName(List *fonts);

// Passages.
void showPassage(HWND hwnd, PassageMove move);
HFONT createMultiLineFont();

// Passage navigation and phrase file switching; always answers 0.
LRESULT handleNavigationKey(HWND hwnd, WPARAM code);
