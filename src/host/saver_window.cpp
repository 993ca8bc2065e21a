// The saver window: its class, the full-screen and preview shapes, the
// message loop, and the class procedure that filters what reaches the
// display engine.
#include "host.h"

#include "res/resource.h"
#include "toolbox/monitor_metrics.h"

static const char saverClassName[] = "WindowsScreenSaverClass";
static const char fullScreenTitle[] = "Screen Saver";
static const char previewTitle[] = "Preview";

static bool registerSaverClass() {
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = saverWndProc;
    wc.hInstance = hostState.instance;
    wc.hIcon = LoadIconA(hostState.instance, MAKEINTRESOURCEA(IDI_SAVER));
    wc.hCursor = nullptr;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = saverClassName;
    return RegisterClassA(&wc) != 0;
}

// The full-screen window covers every monitor: the virtual screen, whose
// top-left corner lies left of or above the primary monitor's when another
// monitor stands there. A system without it has the primary screen only.
static RECT virtualScreen() {
    RECT r = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
              GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (r.right <= 0 || r.bottom <= 0) r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return r;  // left, top, width, height
}

// Windows 10 refuses a child window whose DPI awareness differs from its
// parent's, or places it as if it had the other one; the display settings
// that hold the preview are not aware as this module is. Where the platform
// has no such contexts, every window of the process has the same awareness.
static HWND createPreviewWindow(HWND parent) {
    DPI_AWARENESS_CONTEXT previous = setThreadAwareness(windowAwareness(parent));
    // The parent's client size as the parent's awareness counts it.
    RECT client = {0, 0, 0, 0};
    GetClientRect(parent, &client);
    HWND window = CreateWindowExA(0, saverClassName, previewTitle, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                  client.right, client.bottom, parent, nullptr, hostState.instance, nullptr);
    // The window keeps the awareness it was made in; the thread goes back.
    setThreadAwareness(previous);
    return window;
}

static HWND createSaverWindow(HWND parent) {
    if (parent != nullptr) return createPreviewWindow(parent);
    RECT screen = virtualScreen();
    return CreateWindowExA(WS_EX_TOPMOST, saverClassName, fullScreenTitle,
                           WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, screen.left, screen.top,
                           screen.right, screen.bottom, nullptr, nullptr, hostState.instance, nullptr);
}

// A full-screen saver that already runs is brought to the front instead.
static bool raiseRunningSaver() {
    HWND running = FindWindowA(saverClassName, fullScreenTitle);
    if (running == nullptr || !IsWindow(running)) return false;
    SetForegroundWindow(running);
    return true;
}

int runSaver(HWND parent) {
    hostState.previewMode = parent != nullptr;
    if (!hostState.previewMode) {
        if (raiseRunningSaver()) return 0;
        loadPasswordVerifier();
    }
    if (registerSaverClass()) hostState.saverWindow = createSaverWindow(parent);
    int result = nothingShownExit;
    if (hostState.saverWindow != nullptr) {
        if (!hostState.previewMode) SetForegroundWindow(hostState.saverWindow);
        MSG msg;
        // GetMessageA answers -1 on failure; looping on that would spin.
        BOOL got;
        while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (got == 0) result = static_cast<int>(msg.wParam);
    }
    unloadPasswordVerifier();
    return result;
}

// The input method is detached while the saver runs, so that no composition
// window appears over it; IMM32 is used only when something loaded it.
static void detachInputMethod(HWND hwnd) {
    hostState.imeModule = GetModuleHandleA("IMM32.DLL");
    if (hostState.imeModule == nullptr) return;
    FARPROC associate = GetProcAddress(hostState.imeModule, "ImmAssociateContext");
    if (associate == nullptr) return;
    hostState.associateContext = reinterpret_cast<AssociateContextProc>(reinterpret_cast<void *>(associate));
    hostState.previousContext = hostState.associateContext(hwnd, nullptr);
}

static void restoreInputMethod(HWND hwnd) {
    if (hostState.imeModule != nullptr && hostState.associateContext != nullptr &&
        hostState.previousContext != nullptr)
        hostState.associateContext(hwnd, hostState.previousContext);
}

static void onSaverCreate(HWND hwnd) {
    detachInputMethod(hwnd);
    GetCursorPos(&hostState.referencePoint);
    if (!hostState.previewMode) hideCursor();
}

// In a preview, help and context-menu requests belong to the window that
// shows the preview.
static LRESULT forwardToParent(HWND hwnd, UINT message, LPARAM lParam) {
    HWND parent = GetParent(hwnd);
    if (parent != nullptr && IsWindow(parent))
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    return 1;
}

// The system commands that would start another saver or switch away from
// this one.
static bool isSwitchCommand(WPARAM command) {
    return command == SC_SCREENSAVE || command == SC_NEXTWINDOW || command == SC_PREVWINDOW;
}

LRESULT CALLBACK saverWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Once closing is granted, input no longer reaches the display engine.
    if (hostState.closeAllowed && (message == WM_MOUSEMOVE || isClosingInput(message)))
        return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        onSaverCreate(hwnd);
        break;
    case WM_DESTROY:
        restoreInputMethod(hwnd);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (hostState.closeAllowed) return DefWindowProcA(hwnd, message, wParam, lParam);
        if (!hostState.previewMode) hideCursor();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (hostState.previewMode) return forwardToParent(hwnd, message, lParam);
        break;
    case WM_SYSCOMMAND:
        if (!hostState.previewMode && isSwitchCommand(wParam)) return 0;
        break;
    case WM_TIMER:
        if (hostState.closeAllowed) return 0;
        // Every animation step first gives way to other programs.
        Sleep(0);
        break;
    default:
        break;
    }
    return ScreenSaverProc(hwnd, message, wParam, lParam);
}
