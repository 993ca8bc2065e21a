// The monitors a saver window covers, the area of each passage, and the DPI
// that pixel sizes are scaled by.
#include "main/display/monitors.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "main/phrase/phrase.h"

namespace {

struct MonitorList {
    RECT rects[maxMonitorAreas];
    int count;
};

BOOL CALLBACK collectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    MonitorList *list = reinterpret_cast<MonitorList *>(data);
    if (list->count >= maxMonitorAreas) return FALSE;
    list->rects[list->count++] = *rect;
    return TRUE;
}

// GetDpiForMonitor comes with Windows 8.1; before it every monitor has the
// system's DPI. Looked up once, in the system folder only.
typedef HRESULT(WINAPI *MonitorDpiProc)(HMONITOR monitor, int kind, UINT *dpiX, UINT *dpiY);
constexpr DWORD searchSystemFolder = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr int effectiveDpi = 0;                   // MDT_EFFECTIVE_DPI

MonitorDpiProc monitorDpiProc() {
    static bool looked = false;
    static MonitorDpiProc proc = nullptr;
    if (looked) return proc;
    looked = true;
    HMODULE shcore = LoadLibraryExA("shcore.dll", nullptr, searchSystemFolder);
    if (shcore != nullptr)
        proc = reinterpret_cast<MonitorDpiProc>(reinterpret_cast<void *>(GetProcAddress(shcore, "GetDpiForMonitor")));
    return proc;
}

int systemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : baseDpi;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : baseDpi;
}

}  // namespace

int clientAreasOf(const RECT *monitors, int count, POINT origin, SIZE client, RECT *areas, int maxAreas) {
    const RECT window = {0, 0, client.cx, client.cy};
    int kept = 0;
    for (int i = 0; i < count && kept < maxAreas; ++i) {
        RECT m = monitors[i];
        OffsetRect(&m, -origin.x, -origin.y);
        if (IntersectRect(&areas[kept], &m, &window)) ++kept;
    }
    return kept;
}

RECT passageArea(HWND hwnd) {
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) return client;
    MonitorList list = {};
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&list));
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    RECT areas[maxMonitorAreas];
    int n = clientAreasOf(list.rects, list.count, origin, SIZE{client.right, client.bottom}, areas, maxMonitorAreas);
    if (n <= 0) return client;
    // One monitor draws nothing, so that one screen goes as it always went.
    return n == 1 ? areas[0] : areas[randomInRange(0, n - 1)];
}

RECT placeInArea(RECT area, int w, int t) {
    RECT box;
    box.left = randomInRange(area.left, area.right - w);
    box.right = box.left + w;
    box.top = randomInRange(area.top, area.bottom - t);
    box.bottom = box.top + t;
    return box;
}

int dpiAt(HWND hwnd, POINT clientPoint) {
    MonitorDpiProc proc = monitorDpiProc();
    if (proc == nullptr) return systemDpi();
    ClientToScreen(hwnd, &clientPoint);
    HMONITOR monitor = MonitorFromPoint(clientPoint, MONITOR_DEFAULTTONEAREST);
    UINT dpiX = 0, dpiY = 0;
    if (monitor == nullptr || FAILED(proc(monitor, effectiveDpi, &dpiX, &dpiY)) || dpiY == 0) return systemDpi();
    return static_cast<int>(dpiY);
}

int scaleForDpi(int pixels, int dpi) {
    if (dpi <= 0 || dpi == baseDpi) return pixels;
    double scaled = std::round(static_cast<double>(pixels) * dpi / baseDpi);
    // Sizes too large for an int stay the largest one.
    return static_cast<int>(std::clamp(scaled, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}
