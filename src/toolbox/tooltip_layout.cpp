// The help tool-tip's look: its font, the size of the popup around the text,
// its place beside the cursor inside the work area, and the painting.
#include "tooltip.h"

#include <cstring>

#include "monitor_metrics.h"
#include "wtb.h"

HFONT tooltipFont() {
    if (tooltip.font == nullptr) {
        NONCLIENTMETRICSA metrics;
        if (readNonClientMetrics(&metrics) == 0) {
            // The system gives its fonts for its own DPI; the tip is drawn
            // for the DPI of the monitor it shows on.
            LOGFONTA &font = metrics.lfStatusFont;
            if (tooltip.fontDpi > 0) font.lfHeight = MulDiv(font.lfHeight, tooltip.fontDpi, systemDpi());
            tooltip.font = CreateFontIndirectA(&font);
        }
    }
    if (tooltip.font == nullptr) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return tooltip.font;
}

void forgetTooltipFont() {
    if (tooltip.font != nullptr) DeleteObject(tooltip.font);
    tooltip.font = nullptr;
}

TooltipBox tooltipBox(int textWidth, int textHeight, const TEXTMETRICA *metrics, bool multiLine) {
    double average = 10, below = 1.5, leading = 3;
    if (metrics != nullptr) {
        double height = metrics->tmHeight;
        average = metrics->tmAveCharWidth;
        below = metrics->tmDescent > 0.075 * height ? metrics->tmDescent : 0.075 * height;
        leading = metrics->tmExternalLeading > 0.15 * height ? metrics->tmExternalLeading : 0.15 * height;
    }
    TooltipBox box;
    double across;
    if (multiLine) {
        across = 2 * average < 12 ? 12 : 2 * average;
        box.textOffset = {nearestLong(across / 3), nearestLong(leading)};
        below += 2 * leading;
    } else {
        across = 0.75 * average < 6 ? 6 : 0.75 * average;
        box.textOffset = {nearestLong(across / 3), 0};
        below = 0.5 * below < 3 ? 3 : 0.5 * below;
    }
    box.width = nearestLong(textWidth + across);
    box.height = nearestLong(textHeight + below);
    return box;
}

POINT tooltipPlace(POINT cursor, int width, int height, RECT work) {
    POINT p = {cursor.x, cursor.y + 22};
    if (p.x + width >= work.right) {
        p.x = work.right - width - 1;
        if (p.x < work.left + 1) p.x = work.left + 1;
    }
    if (p.y + height >= work.bottom) {
        p.y = cursor.y - height - 11;
        if (p.y < work.top + 1) p.y = work.top + 1;
    }
    return p;
}

static TooltipBox measureTooltip(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, tooltipFont());
    RECT r;
    GetClientRect(window, &r);
    r.left = 0;
    r.right = 100;
    int textWidth = 100, textHeight = 15;
    TEXTMETRICA metrics;
    const TEXTMETRICA *measured = nullptr;
    if (DrawTextA(dc, tooltip.text, -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS) > 0) {
        textWidth = r.right - r.left;
        textHeight = r.bottom - r.top;
        if (GetTextMetricsA(dc, &metrics)) measured = &metrics;
    }
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return tooltipBox(textWidth, textHeight, measured, std::strstr(tooltip.text, "\r\n") != nullptr);
}

void useTooltipFontFor(int dpi) {
    if (dpi == tooltip.fontDpi) return;
    forgetTooltipFont();
    tooltip.fontDpi = dpi;
}

void showTooltipWindow(HWND window) {
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    useTooltipFontFor(monitorDpi(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST)));
    TooltipBox box = measureTooltip(window);
    tooltip.textOffset = box.textOffset;
    // The work area of the monitor the cursor is on, so that help asked for
    // on a second monitor shows there.
    POINT p = tooltipPlace(cursor, box.width, box.height, pointWorkArea(cursor));
    SetWindowPos(window, HWND_TOP, p.x, p.y, box.width, box.height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void paintTooltip(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r;
    GetClientRect(window, &r);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previous = SelectObject(dc, tooltipFont());
    MoveToEx(dc, 0, 0, nullptr);
    r.left += tooltip.textOffset.x;
    r.top += tooltip.textOffset.y;
    DrawTextA(dc, tooltip.text, -1, &r, DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, previous);
    EndPaint(window, &ps);
}
