// The screen as the display engine sees it: the monitors a window covers, the
// one a passage goes on, and pixel sizes scaled by the monitors' DPI.
#pragma once

#include <windows.h>

#include "toolbox/monitor_metrics.h"

// The most monitors told apart; any further ones are left to the others' passages.
constexpr int maxMonitorAreas = 16;

// The parts of the given monitor rectangles (screen coordinates) that lie in
// a client area of the given size whose top-left corner is at origin on the
// screen, in client coordinates, in the order given; monitors that do not
// reach into it are left out. Returns how many were written (at most maxAreas).
int clientAreasOf(const RECT *monitors, int count, POINT origin, SIZE client, RECT *areas, int maxAreas);

// A child window: the configuration dialog's pane or the preview in the
// display settings.
bool isPreviewWindow(HWND hwnd);

// Where the next passage goes, in client coordinates: one of the monitors
// that the window covers, chosen at random when there are several. A child
// window (a preview) and a window on one monitor use their whole client area.
RECT passageArea(HWND hwnd);

// A block of w × t pixels placed at random in the area, left and top drawn in
// that order; a block larger than the area overhangs it by a random amount.
RECT placeInArea(RECT area, int w, int t);

// The DPI of the monitor that holds the client point (or lies nearest to it).
int dpiAt(HWND hwnd, POINT clientPoint);
