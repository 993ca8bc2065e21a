// Work areas and DPI of the monitor a window or point is on.
#include "monitor_metrics.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

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

RECT primaryWorkArea() {
    RECT work;
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return work;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The awareness calls of user32, Windows 10 (1607) on.
struct AwarenessCalls {
    DPI_AWARENESS_CONTEXT(WINAPI *ofWindow)(HWND window);
    DPI_AWARENESS_CONTEXT(WINAPI *setForThread)(DPI_AWARENESS_CONTEXT context);
    BOOL(WINAPI *equal)(DPI_AWARENESS_CONTEXT a, DPI_AWARENESS_CONTEXT b);
};

template <typename F> void lookUp(HMODULE module, const char *name, F *place) {
    *place = module != nullptr ? reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(module, name))) : nullptr;
}

const AwarenessCalls &awarenessCalls() {
    static bool looked = false;
    static AwarenessCalls calls = {nullptr, nullptr, nullptr};
    if (looked) return calls;
    looked = true;
    HMODULE user = GetModuleHandleA("user32.dll");
    lookUp(user, "GetWindowDpiAwarenessContext", &calls.ofWindow);
    lookUp(user, "SetThreadDpiAwarenessContext", &calls.setForThread);
    lookUp(user, "AreDpiAwarenessContextsEqual", &calls.equal);
    return calls;
}

}  // namespace

int systemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : baseDpi;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : baseDpi;
}

RECT monitorWorkArea(HMONITOR monitor) {
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (monitor != nullptr && GetMonitorInfoA(monitor, &info)) return info.rcWork;
    return primaryWorkArea();
}

RECT windowWorkArea(HWND window) { return monitorWorkArea(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }

RECT pointWorkArea(POINT point) { return monitorWorkArea(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }

int monitorDpi(HMONITOR monitor) {
    MonitorDpiProc proc = monitorDpiProc();
    UINT dpiX = 0, dpiY = 0;
    if (proc == nullptr || monitor == nullptr || FAILED(proc(monitor, effectiveDpi, &dpiX, &dpiY)) || dpiY == 0)
        return systemDpi();
    return static_cast<int>(dpiY);
}

int windowDpi(HWND window) { return monitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }

int scaleForDpi(int pixels, int dpi) {
    if (dpi <= 0 || dpi == baseDpi) return pixels;
    double scaled = std::round(static_cast<double>(pixels) * dpi / baseDpi);
    // Sizes too large for an int stay the largest one.
    return static_cast<int>(std::clamp(scaled, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

int unscaleForDpi(int pixels, int dpi) {
    if (dpi <= 0 || dpi == baseDpi) return pixels;
    return static_cast<int>(static_cast<long long>(pixels) * baseDpi / dpi);
}

DPI_AWARENESS_CONTEXT windowAwareness(HWND window) {
    const AwarenessCalls &calls = awarenessCalls();
    return calls.ofWindow != nullptr ? calls.ofWindow(window) : nullptr;
}

DPI_AWARENESS_CONTEXT setThreadAwareness(DPI_AWARENESS_CONTEXT context) {
    const AwarenessCalls &calls = awarenessCalls();
    return calls.setForThread != nullptr && context != nullptr ? calls.setForThread(context) : nullptr;
}

bool isPerMonitorV2(HWND window) {
    const AwarenessCalls &calls = awarenessCalls();
    DPI_AWARENESS_CONTEXT context = windowAwareness(window);
    return context != nullptr && calls.equal != nullptr &&
           calls.equal(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}
