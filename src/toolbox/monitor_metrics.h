// The monitors as windows and dialogs meet them: the work area of the monitor
// a window or a point is on, and its DPI, for sizes given at 100 %.
#pragma once

#include <windows.h>

// The DPI at which sizes given in pixels are drawn as they stand.
constexpr int baseDpi = 96;

// The work area of the monitor, of the primary monitor when the monitor is
// unknown, and of the screen when even that cannot be had.
RECT monitorWorkArea(HMONITOR monitor);
// The work area of the monitor that holds most of the window (or lies nearest).
RECT windowWorkArea(HWND window);
// The work area of the monitor that holds the point (or lies nearest).
RECT pointWorkArea(POINT point);

// The effective DPI of the monitor; the system's DPI where the platform does
// not tell monitors apart (before Windows 8.1) or the monitor is unknown.
int monitorDpi(HMONITOR monitor);
// The DPI of the monitor that holds most of the window.
int windowDpi(HWND window);
// Pixels at 96 DPI as pixels at the given DPI.
int scaleForDpi(int pixels, int dpi);
