// A hidden top-level window that hears the system's broadcast of setting
// changes and passes it on to the handlers that asked for it.
#include "wtb.h"

#include "lst.h"

static HWND settingsWindow = nullptr;
static List *settingsHandlers = nullptr;
static ATOM settingsClass = 0;

static LRESULT CALLBACK settingsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_WININICHANGE) return DefWindowProcA(window, message, wParam, lParam);
    for (ListNode *node = lstHead(settingsHandlers); node != nullptr; node = lstNext(node))
        reinterpret_cast<SettingsChangeHandler>(lstData(node))();
    return 0;
}

static int makeSettingsWindow() {
    if (settingsWindow != nullptr) return 0;
    if (settingsHandlers == nullptr) settingsHandlers = lstNew();
    if (settingsHandlers == nullptr) return 1;
    if (settingsClass == 0) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = settingsWndProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = "XWinSettingsWndClass";
        settingsClass = RegisterClassA(&wc);
        if (settingsClass == 0) return 1;
    }
    // A top-level window, never shown: only those receive the broadcast.
    settingsWindow = CreateWindowExA(0, "XWinSettingsWndClass", "Hidden XWinSettingsWndClass", WS_OVERLAPPEDWINDOW,
                                     0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    return settingsWindow == nullptr ? 1 : 0;
}

int addSettingsChangeHandler(SettingsChangeHandler handler) {
    int made = makeSettingsWindow();
    if (made != 0) return made;
    void *item = reinterpret_cast<void *>(handler);
    if (lstFindData(settingsHandlers, item) != nullptr) return 0;
    return lstAppend(settingsHandlers, item);
}
