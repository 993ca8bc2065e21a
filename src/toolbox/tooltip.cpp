// The help tool-tip: the request and its removal, the popup's window class
// and procedure, the hooks that watch the dialog's input for it, and the tick
// that shows it, hides it after its time and notices the cursor leaving.
#include "tooltip.h"

#include <cstdlib>
#include <cstring>

#include "wtb.h"

const char tooltipClassName[] = "XTooltipWndClass";
TooltipState tooltip;

static void hideWindow(HWND window);

static void postToTooltip(UINT message) {
    if (tooltip.window != nullptr) PostMessageA(tooltip.window, message, 0, 0);
}

// The popup never has the focus or the input: these hooks see the modal
// dialog's mouse and keys and tell it.
static LRESULT CALLBACK tooltipMouseHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) {
        switch (wParam) {
        case WM_NCHITTEST:
        case WM_NCMOUSEMOVE:
        case WM_MOUSEMOVE:
            postToTooltip(tooltipMovedMessage);
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            postToTooltip(tooltipHideMessage);
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(tooltip.mouseHook, code, wParam, lParam);
}

// Escape and Enter are the keys people press to dismiss a popup: while one
// shows they close it and nothing else, where the dialog would take them as
// Cancel or OK and lose or keep every edit.
static bool dismissesPopup(const MSG *msg) {
    return msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN) &&
           tooltip.window != nullptr && tooltip.phase == tooltipVisible;
}

// Key presses hide the tool-tip; releases do not.
static LRESULT CALLBACK tooltipMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG *msg = reinterpret_cast<const MSG *>(lParam);
    if (code >= 0 && msg != nullptr && dismissesPopup(msg)) {
        tooltip.phase = tooltipHidden;
        hideWindow(tooltip.window);
        return 1;
    }
    if (code >= 0 && msg != nullptr) {
        switch (msg->message) {
        case WM_KEYDOWN:
        case WM_CHAR:
        case WM_DEADCHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSCHAR:
            postToTooltip(tooltipHideMessage);
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(tooltip.messageHook, code, wParam, lParam);
}

static void installHooks() {
    DWORD thread = GetWindowThreadProcessId(tooltip.owner, nullptr);
    tooltip.mouseHook = SetWindowsHookExA(WH_MOUSE, tooltipMouseHook, nullptr, thread);
    tooltip.messageHook = SetWindowsHookExA(WH_MSGFILTER, tooltipMessageHook, nullptr, thread);
}

static void removeHooks() {
    if (tooltip.mouseHook != nullptr) UnhookWindowsHookEx(tooltip.mouseHook);
    if (tooltip.messageHook != nullptr) UnhookWindowsHookEx(tooltip.messageHook);
    tooltip.mouseHook = tooltip.messageHook = nullptr;
}

static void hideWindow(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

// Hidden for good; the window itself goes with the leave check or the next
// request.
static void hideForGood() {
    if (tooltip.window == nullptr) return;
    tooltip.phase = tooltipHidden;
    hideWindow(tooltip.window);
}

static POINT cursorPosition() {
    POINT p = {0, 0};
    GetCursorPos(&p);
    return p;
}

// Destroys the tool-tip when the cursor went farther than a move limit or
// left the owner's rectangle (its edges count as inside); 1 when it did.
static int leaveCheck() {
    POINT p = cursorPosition();
    bool gone = (tooltip.horizontalLimit != 0 && std::abs(tooltip.start.x - p.x) > std::abs(tooltip.horizontalLimit)) ||
                (tooltip.verticalLimit != 0 && std::abs(tooltip.start.y - p.y) > std::abs(tooltip.verticalLimit));
    if (!gone && tooltip.owner != nullptr) {
        RECT r;
        // A rectangle that holds no point when the owner cannot be measured.
        if (!GetWindowRect(tooltip.owner, &r)) r = {100, 200, -100, -200};
        gone = p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom;
    }
    if (!gone) return 0;
    hideTooltip();
    return 1;
}

static std::int32_t msSinceCreated(const TimePoint &now) {
    if (tooltip.created.seconds == 0) return 100000;
    if (now.seconds == 0) return -100000;
    return msBetween(now, tooltip.created);
}

static void tick(HWND window) {
    if (leaveCheck()) return;
    TimePoint now;
    timePointNow(&now);
    if (tooltip.phase == tooltipWaiting) {
        if (tooltip.showDelay != 0 && tooltip.restartOnMove != 0) {
            POINT p = cursorPosition();
            if (std::abs(p.x - tooltip.last.x) > 1 || std::abs(p.y - tooltip.last.y) > 1) {
                tooltip.created = now;
                tooltip.last = p;
                return;
            }
        }
        if (msSinceCreated(now) >= tooltip.showDelay) {
            tooltip.shown = now;
            tooltip.phase = tooltipVisible;
            showTooltipWindow(window);
        }
    } else if (tooltip.phase == tooltipVisible) {
        if (msBetween(now, tooltip.shown) >= tooltip.hideTime) hideForGood();
    }
}

static LRESULT CALLBACK tooltipWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        tooltip.phase = tooltipWaiting;
        timePointNow(&tooltip.created);
        installHooks();
        hideWindow(window);
        SetTimer(window, tooltipTimerId, tooltipTimerPeriod, nullptr);
        // The first tick runs at once.
        PostMessageA(window, WM_TIMER, tooltipTimerId, 0);
        return 0;
    case WM_DESTROY:
        removeHooks();
        KillTimer(window, tooltipTimerId);
        tooltip.phase = tooltipDestroyed;
        if (tooltip.window == window) tooltip.window = nullptr;
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_HOTKEY:
    case tooltipHideMessage:
        hideForGood();
        return 0;
    case WM_PAINT:
        paintTooltip(window);
        return 0;
    case WM_TIMER:
        tick(window);
        return 0;
    case tooltipMovedMessage:
        leaveCheck();
        return 0;
    default:
        // Keys (WM_KEYDOWN to WM_SYSDEADCHAR) and the mouse in the client
        // area (WM_MOUSEMOVE to WM_RBUTTONDBLCLK) hide it as well.
        if ((message >= WM_KEYDOWN && message <= WM_SYSDEADCHAR) ||
            (message >= WM_MOUSEMOVE && message <= WM_RBUTTONDBLCLK)) {
            hideForGood();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

static int registerTooltipClass() {
    if (tooltip.classAtom != 0) return 0;
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = tooltipWndProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1));
    wc.lpszClassName = tooltipClassName;
    tooltip.classAtom = RegisterClassA(&wc);
    if (tooltip.classAtom == 0) return 1;
    // New system metrics give a new font at the next use.
    addSettingsChangeHandler(forgetTooltipFont);
    return 0;
}

int showTooltip(HWND owner, const char *text, std::int32_t showDelay, std::int32_t hideTime,
                std::int32_t horizontalLimit, std::int32_t verticalLimit, std::int32_t restartOnMove) {
    if (text == nullptr) text = emptyString;
    bool buttonDown = (GetKeyState(VK_LBUTTON) | GetKeyState(VK_RBUTTON) | GetKeyState(VK_MBUTTON)) < 0;
    // The same request again leaves the tool-tip and its timing alone; one
    // that a key or a click hid for good is made anew, so that asking again
    // shows it again.
    if (tooltip.window != nullptr && tooltip.phase != tooltipHidden && !buttonDown && owner == tooltip.owner &&
        std::strcmp(text, tooltip.text) == 0)
        return tooltipShown;
    hideTooltip();
    if (owner == nullptr) return tooltipNoOwner;
    if (text[0] == '\0') return tooltipNoText;
    if (registerTooltipClass() != 0) return tooltipNoClass;
    tooltip.showDelay = showDelay;
    tooltip.hideTime = hideTime;
    tooltip.horizontalLimit = horizontalLimit;
    tooltip.verticalLimit = verticalLimit;
    tooltip.restartOnMove = restartOnMove;
    tooltip.start = tooltip.last = cursorPosition();
    copyString(tooltip.text, text, sizeof tooltip.text);
    tooltip.owner = owner;
    tooltip.window = CreateWindowExA(WS_EX_TOOLWINDOW, tooltipClassName, tooltip.text, WS_POPUP | WS_BORDER,
                                     tooltip.start.x + 2, tooltip.start.y - 20, 100, 15, owner, nullptr, nullptr,
                                     nullptr);
    return tooltip.window == nullptr ? tooltipNoWindow : tooltipShown;
}

void hideTooltip() {
    if (tooltip.window != nullptr) DestroyWindow(tooltip.window);
}
