// A helper of the host's end-to-end tests that looks at the saver from
// outside, as another program on the same desktop would:
//   host_probe find               the full-screen saver window, if any, and its state
//   host_probe cursor             whether the foreground thread's cursor is hidden
//   host_probe running [0|1]      the screen-saver-running state (or set it)
//   host_probe parent             a window to hold a preview; reports its children
//   host_probe close <hwnd>       asks a window to close
//   host_probe fault              a fault inside the host's fault guard
//   host_probe metrics            the number of monitors and the virtual screen
//   host_probe tooltip            the help tool-tip, if any: shown or not, its lines
//   host_probe control <id>       the screen rectangle of a visible dialog's control
//   host_probe text <id>          its text, as UTF-8
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/host.h"

namespace {

constexpr UINT getSaverRunning = 114;  // SPI_GETSCREENSAVERRUNNING

int find() {
    HWND saver = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    if (saver == nullptr) {
        std::printf("none\n");
        return 1;
    }
    RECT r;
    GetWindowRect(saver, &r);
    std::printf("found %lu %s %ld %ld %ld %ld\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(saver)),
                IsWindowVisible(saver) ? "visible" : "hidden", r.left, r.top, r.right, r.bottom);
    return 0;
}

int metrics() {
    std::printf("monitors=%d virtual=%d,%d,%d,%d\n", GetSystemMetrics(SM_CMONITORS),
                GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    return 0;
}

int cursor() {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) return 2;
    bool hidden = info.hCursor == nullptr || !(info.flags & CURSOR_SHOWING);
    std::printf("%s\n", hidden ? "hidden" : "shown");
    return 0;
}

int running(int argc, char **argv) {
    if (argc > 2) {
        UINT previous = 0;
        return SystemParametersInfoA(SPI_SCREENSAVERRUNNING, std::atoi(argv[2]), &previous, 0) ? 0 : 2;
    }
    BOOL on = FALSE;
    if (!SystemParametersInfoA(getSaverRunning, 0, &on, 0)) return 2;
    std::printf("%d\n", on ? 1 : 0);
    return 0;
}

void report(const char *format, HWND a, HWND b) {
    std::printf(format, static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(a)),
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(b)));
    std::fflush(stdout);
}

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_CREATE) {
            HWND child = reinterpret_cast<HWND>(lParam);
            char name[64] = "";
            GetClassNameA(child, name, sizeof name);
            RECT r;
            GetClientRect(child, &r);
            std::printf("child %s %ld %ld\n", name, r.right, r.bottom);
            std::fflush(stdout);
        }
        break;
    case WM_CONTEXTMENU:
        report("contextmenu %lu from %lu\n", reinterpret_cast<HWND>(wParam), hwnd);
        return 0;
    case WM_HELP:
        report("help %lu from %lu\n", reinterpret_cast<HWND>(wParam), hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A window with a 320 by 240 client area, as the display settings' small
// monitor picture would hold the preview.
int parent() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = parentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "LumoraPreviewParent";
    RegisterClassA(&wc);
    RECT frame = {0, 0, 320, 240};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND hwnd = CreateWindowA(wc.lpszClassName, "Preview parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, wc.hInstance,
                              nullptr);
    if (hwnd == nullptr) return 2;
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    std::printf("parent %lu %ld %ld 320 240\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)),
                origin.x, origin.y);
    std::fflush(stdout);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    std::printf("closed\n");
    return 0;
}

int close(int argc, char **argv) {
    if (argc < 3) return 2;
    return PostMessageA(parseWindowHandle(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
}

// The system's unhandled-exception filter consults the process's own filter
// first; this one says that the guard's handler is to run.
LONG WINAPI runTheHandler(EXCEPTION_POINTERS *) { return EXCEPTION_EXECUTE_HANDLER; }

LRESULT CALLBACK faultingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        volatile int *nowhere = nullptr;
        *nowhere = 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Faults as the saver would: in a window procedure, called from the message
// loop through the platform's dispatch.
int faultingMode(const ModeRequest *) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = faultingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LumoraFaultProbe";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    PostMessageA(hwnd, WM_USER, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

int fault() {
    queryPlatform();
    setSaverRunning(true);
    SetUnhandledExceptionFilter(runTheHandler);
    ModeRequest request = {HostMode::Saver, nullptr};
    runGuarded(faultingMode, &request);
    return 0;  // not reached: the guard ends the process
}

int tooltip() {
    HWND popup = FindWindowA("XTooltipWndClass", nullptr);
    if (popup == nullptr) {
        std::printf("none\n");
        return 1;
    }
    char text[2000];
    GetWindowTextA(popup, text, sizeof text);
    int lines = 1;
    for (const char *p = text; (p = std::strstr(p, "\r\n")) != nullptr; p += 2) ++lines;
    std::printf("%s %d\n", IsWindowVisible(popup) ? "visible" : "hidden", lines);
    return 0;
}

int control(int argc, char **argv) {
    if (argc < 3) return 2;
    int id = std::atoi(argv[2]);
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
        HWND item = GetDlgItem(w, id);
        RECT r;
        if (!IsWindowVisible(w) || item == nullptr || !GetWindowRect(item, &r)) continue;
        if (std::strcmp(argv[1], "text") == 0) {
            wchar_t wide[2048] = L"";
            char utf8[4 * 2048] = "";
            GetWindowTextW(item, wide, 2048);
            WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
            std::printf("%s\n", utf8);
            return 0;
        }
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    std::printf("none\n");
    return 1;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    const char *command = argv[1];
    if (std::strcmp(command, "find") == 0) return find();
    if (std::strcmp(command, "cursor") == 0) return cursor();
    if (std::strcmp(command, "metrics") == 0) return metrics();
    if (std::strcmp(command, "running") == 0) return running(argc, argv);
    if (std::strcmp(command, "parent") == 0) return parent();
    if (std::strcmp(command, "close") == 0) return close(argc, argv);
    if (std::strcmp(command, "fault") == 0) return fault();
    if (std::strcmp(command, "tooltip") == 0) return tooltip();
    if (std::strcmp(command, "control") == 0 || std::strcmp(command, "text") == 0) return control(argc, argv);
    return 2;
}
