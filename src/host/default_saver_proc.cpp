// The host's default procedure for the saver window: what the display engine
// does not consume closes the saver (a key, a button, mouse travel, loss of
// activation), subject on the 95 family to the screen-saver password.
#include "host.h"

void hideCursor() { SetCursor(nullptr); }

static void requestClose(HWND hwnd) { PostMessageA(hwnd, WM_CLOSE, 0, 0); }

static std::uint32_t distance(LONG a, LONG b) {
    return a >= b ? static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)
                  : static_cast<std::uint32_t>(b) - static_cast<std::uint32_t>(a);
}

// The message's own coordinates are client coordinates and may be stale; the
// cursor's screen position is what the reference point was taken from. Small
// movements leave the reference where it is, so that they add up.
static void checkMouseTravel(HWND hwnd) {
    POINT now;
    if (!GetCursorPos(&now)) return;
    std::uint32_t travel =
        distance(now.x, hostState.referencePoint.x) + distance(now.y, hostState.referencePoint.y);
    if (travel > hostState.moveThreshold) {
        requestClose(hwnd);
        hostState.referencePoint = now;
    }
}

// A refused close leaves the window up; mouse travel counts afresh from here.
static LRESULT onClose(HWND hwnd) {
    if (hostState.is95Family && !verifyBeforeClose(hwnd)) {
        GetCursorPos(&hostState.referencePoint);
        return 0;
    }
    return DefWindowProcA(hwnd, WM_CLOSE, 0, 0);
}

static LRESULT onPasswordRequest(HWND hwnd) {
    if (!hostState.is95Family) return DefWindowProcA(hwnd, passwordRequestMessage, 0, 0);
    if (hostState.verifyPassword == nullptr) return 1;
    return hostState.verifyPassword(hwnd);
}

LRESULT WINAPI defaultSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hostState.previewMode || hostState.closeAllowed) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_CLOSE) return onClose(hwnd);
    if (message == passwordRequestMessage) return onPasswordRequest(hwnd);
    // The password prompt is up: nothing may ask for another close.
    if (hostState.checkingPassword) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam != 0) hideCursor();
        break;
    case WM_ACTIVATEAPP:
        if (wParam == 0) requestClose(hwnd);
        break;
    case WM_SETCURSOR:
        hideCursor();
        return 1;
    case WM_MOUSEMOVE:
        checkMouseTravel(hwnd);
        break;
    default:
        if (isClosingInput(message)) requestClose(hwnd);
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool isClosingInput(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case horizontalWheelMessage:
        return true;
    default:
        return false;
    }
}

int verifyBeforeClose(HWND hwnd) {
    if (hostState.checkingPassword || hostState.closeAllowed) return 0;
    if (hostState.verifyPassword == nullptr) {
        hostState.closeAllowed = true;
        return 1;
    }
    // A close request right after a prompt (the key that answered it, say)
    // is refused without asking again. Unsigned, so the tick count may wrap.
    if (hostState.lastCheckTick != 0xFFFFFFFFu && GetTickCount() - hostState.lastCheckTick < passwordRepeatDelay)
        return 0;
    hostState.checkingPassword = true;
    // Pending animation steps would otherwise run before the prompt shows.
    MSG pending;
    for (int i = 0; i < 2; ++i) PeekMessageA(&pending, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    hostState.closeAllowed = SendMessageA(hwnd, passwordRequestMessage, 0, 0) != 0;
    hostState.checkingPassword = false;
    if (!hostState.closeAllowed) hideCursor();
    hostState.lastCheckTick = GetTickCount();
    return hostState.closeAllowed ? 1 : 0;
}
