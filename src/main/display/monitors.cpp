// The monitors a saver window covers, the area of each passage, and the DPI
// that pixel sizes are scaled by.
#include "main/display/monitors.h"

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

bool isPreviewWindow(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0; }

RECT passageArea(HWND hwnd) {
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    if (isPreviewWindow(hwnd)) return client;
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
    ClientToScreen(hwnd, &clientPoint);
    return monitorDpi(MonitorFromPoint(clientPoint, MONITOR_DEFAULTTONEAREST));
}
