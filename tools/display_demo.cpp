// Runs the display engine full screen for a few seconds, for looking at it:
//   display_demo <phrase file> <seconds> [font files...]
// The font files are made known to this process alone before the settings
// load, so that the font lists can hold their faces.
// The window closes itself; screenshots are taken from outside meanwhile.
#include <windows.h>

#include <cstdlib>

#include "main/display/display.h"
#include "main/settings/settings.h"
#include "toolbox/tbas.h"

// Nothing closes the demo on input: unconsumed messages go straight on.
LRESULT WINAPI defaultSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int main(int argc, char **argv) {
    if (argc < 3) return 2;
    toolboxInit();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ScreenSaverProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LumoraDisplayDemo";
    wc.hCursor = nullptr;
    RegisterClassA(&wc);
    for (int i = 3; i < argc; ++i) AddFontResourceExA(argv[i], FR_PRIVATE, nullptr);

    // Store the chosen phrase file so that the window's own load finds it.
    HWND probe = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    loadSettings(probe);
    DestroyWindow(probe);
    char full[MAX_PATH];
    GetFullPathNameA(argv[1], sizeof full, full, nullptr);
    copyString(settings.PhraseFn, full, phraseFnSize);
    saveSettings();

    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, "LumoraDisplayDemo", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (hwnd == nullptr) return 1;
    SetTimer(nullptr, 0, static_cast<UINT>(std::atoi(argv[2]) * 1000), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
        DispatchMessageA(&msg);
    }
    DestroyWindow(hwnd);
    return 0;
}
