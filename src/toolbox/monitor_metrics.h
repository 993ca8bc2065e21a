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
// The DPI of the system, which the system's metrics and fonts are given for.
int systemDpi();
// The DPI of the monitor that holds most of the window.
int windowDpi(HWND window);
// Pixels at 96 DPI as pixels at the given DPI.
int scaleForDpi(int pixels, int dpi);
// Pixels at the given DPI as pixels at 96 DPI, rounded down.
int unscaleForDpi(int pixels, int dpi);

// DPI awareness contexts (Windows 10, 1607 on), looked up at run time: null
// where the platform has none. The window's context; the thread's set, with
// the previous one returned (null when refused).
DPI_AWARENESS_CONTEXT windowAwareness(HWND window);
DPI_AWARENESS_CONTEXT setThreadAwareness(DPI_AWARENESS_CONTEXT context);
// Per-monitor aware in the second form, in which the dialog manager scales
// a dialog that moves to a monitor of another DPI by itself.
bool isPerMonitorV2(HWND window);
