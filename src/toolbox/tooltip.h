// The help tool-tip's own state and its layout steps, shared by the files of
// the tool-tip (requests and window procedure; measuring, placing, painting).
#pragma once

#include <windows.h>

#include <cstdint>

#include "tbas.h"
#include "time_point.h"

// Messages the hooks post to the tool-tip window, its timer and the class.
constexpr UINT tooltipHideMessage = 2025;
constexpr UINT tooltipMovedMessage = 2026;
constexpr UINT_PTR tooltipTimerId = 13123;
constexpr UINT tooltipTimerPeriod = 200;
extern const char tooltipClassName[];

enum TooltipPhase { tooltipWaiting = 0, tooltipVisible = 1, tooltipHidden = 2, tooltipDestroyed = 3 };

// The one tool-tip of the process.
struct TooltipState {
    HWND window = nullptr;
    HWND owner = nullptr;
    char text[poolStringSize] = "";
    int phase = tooltipDestroyed;
    std::int32_t showDelay = 0;
    std::int32_t hideTime = 0;
    POINT start = {};
    POINT last = {};
    std::int32_t horizontalLimit = 0;
    std::int32_t verticalLimit = 0;
    std::int32_t restartOnMove = 0;
    TimePoint created = {};
    TimePoint shown = {};
    POINT textOffset = {};
    HHOOK mouseHook = nullptr;
    HHOOK messageHook = nullptr;
    HFONT font = nullptr;
    int fontDpi = 0;  // the DPI the font is made for; 0 the system's
    ATOM classAtom = 0;
};
extern TooltipState tooltip;

// The size of the popup for a text whose drawn rectangle is textWidth by
// textHeight, and the offset of the text inside it. The margins follow the
// font's metrics; null metrics stand for a font that could not be measured.
struct TooltipBox {
    int width, height;
    POINT textOffset;
};
TooltipBox tooltipBox(int textWidth, int textHeight, const TEXTMETRICA *metrics, bool multiLine);
// Where a popup of that size goes for a cursor at that point: below and right
// of it, but kept inside the given work area.
POINT tooltipPlace(POINT cursor, int width, int height, RECT work);

// Measures the current text in the tool-tip font, places the window beside
// the cursor and shows it on top, without activating it.
void showTooltipWindow(HWND window);
void paintTooltip(HWND window);
// The font of the tool-tips: the system's status font at the DPI chosen
// last, made on first use.
HFONT tooltipFont();
// Chooses the DPI of the font; a font made for another DPI is dropped.
void useTooltipFontFor(int dpi);
void forgetTooltipFont();
