// The saver window procedure: creation, the 30 ms timer in its two rhythms,
// the background erase, the flash and the routing of the navigation keys.
#include "toolbox/tbas.h"
#include "main/display/display.h"
#include "main/settings/settings.h"

// Outside the configuration dialog unconsumed messages go to the host,
// which closes the saver on input; inside it nothing ever closes.
static LRESULT defaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (inConfigDialog) return DefWindowProcA(hwnd, message, wParam, lParam);
    return defaultSaverProc(hwnd, message, wParam, lParam);
}

HBRUSH backgroundBrush() {
    DisplayState &d = displayState;
    if (settings.BackgroundColor != d.brushColor) {
        HBRUSH made = CreateSolidBrush(settings.BackgroundColor);
        // Keep the old brush when no new one can be made: drawing goes on.
        if (made != nullptr) {
            if (d.brush != nullptr) DeleteObject(d.brush);
            d.brush = made;
            d.brushColor = settings.BackgroundColor;
        }
    }
    return d.brush != nullptr ? d.brush : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void eraseBackground(HWND hwnd, HDC hdc) {
    timePointNow(&displayState.eraseTime);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, backgroundBrush());
    GdiFlush();
}

void eraseWindow(HWND hwnd) { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void restartDisplay(HWND hwnd) {
    eraseWindow(hwnd);
    fetchPhrase(openOnlyRequest);
    timePointNow(&displayState.eraseTime);
    timePointClear(&displayState.phraseTime);
    displayState.passageTime = 0;
    displayState.tipPending = false;
}

void fadeClear(HWND hwnd) {
    if (hwnd == nullptr) return;
    static constexpr int fade[] = {BLACK_BRUSH, DKGRAY_BRUSH, GRAY_BRUSH,   LTGRAY_BRUSH, WHITE_BRUSH,
                                   LTGRAY_BRUSH, GRAY_BRUSH,  DKGRAY_BRUSH, BLACK_BRUSH};
    constexpr int steps = sizeof fade / sizeof fade[0];
    HDC hdc = GetDC(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    if (hdc != nullptr) {
        for (int i = 0; i < steps; ++i) {
            FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(fade[i])));
            GdiFlush();
            if (i < steps - 1) Sleep(15);
        }
        ReleaseDC(hwnd, hdc);
    }
    restartDisplay(hwnd);
}

void showNext(HWND hwnd) {
    timePointNow(&displayState.phraseTime);
    if (phraseFile.multiLineMode) {
        showPassage(hwnd, PassageMove::Next);
    } else {
        drawPhrase(hwnd);
    }
}

bool isNavigationKey(WPARAM code) {
    return (code >= VK_PRIOR && code <= VK_HOME) || code == VK_UP || code == VK_DOWN ||
           (code >= VK_F1 && code <= VK_F5);
}

static void timerTick(HWND hwnd) {
    TimePoint now;
    timePointNow(&now);
    // A clock set back before the window's creation stops the display.
    const DisplayState &d = displayState;
    if (msBetween(now, d.createTime) < 0) return;
    if (phraseFile.multiLineMode) {
        if (msBetween(now, d.eraseTime) > d.passageTime) {
            eraseWindow(hwnd);
            showNext(hwnd);
        }
        return;
    }
    // A ClearInterval of 0 never wipes: the configuration dialog stores 0
    // for any entry it cannot use, and wiping on every tick would strobe.
    // A negative one, which only a hand-edited registry holds, is "never" too.
    if (settings.ClearInterval > 0 && msBetween(now, d.eraseTime) > settings.ClearInterval) restartDisplay(hwnd);
    // After a restart the phrase is due at once, whatever the interval: the
    // sentinel of an unset stamp does not exceed the largest one.
    if (d.phraseTime.seconds == 0 || msBetween(now, d.phraseTime) > settings.PhraseInterval) showNext(hwnd);
}

static void createDisplay(HWND hwnd) {
    toolboxInit();
    changeDirectory(getInstallDir());
    if (!inConfigDialog) loadSettings(hwnd);
    newPassageHistory();
    restartDisplay(hwnd);
    timePointNow(&displayState.createTime);
    SetTimer(hwnd, displayTimerId, displayTimerPeriod, nullptr);
}

extern "C" LRESULT WINAPI ScreenSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createDisplay(hwnd);
        break;
    case WM_DESTROY:
        KillTimer(hwnd, displayTimerId);
        break;
    case WM_SETFOCUS:
        if (!inConfigDialog) break;
        fadeClear(hwnd);
        displayState.tipPending = true;
        return 0;
    case WM_GETDLGCODE:
        // In the dialog the arrows move through the passages and a letter
        // must not press the button it names, so both stay with the pane.
        // Tab, Enter and Escape, and Alt with a letter, remain the dialog's.
        if (inConfigDialog) return DLGC_WANTARROWS | DLGC_WANTCHARS;
        break;
    case WM_ERASEBKGND:
        eraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_KEYDOWN:
        if (isNavigationKey(wParam)) return handleNavigationKey(hwnd, wParam);
        break;
    case WM_KEYUP:
    case WM_CHAR:
        // The character codes of "!" to "$", "&", "(" and "p" to "t" share
        // their numbers with these keys and are swallowed alike.
        if (isNavigationKey(wParam)) return 0;
        break;
    case WM_TIMER:
        timerTick(hwnd);
        break;
    case WM_LBUTTONDOWN:
        if (inConfigDialog) {
            fadeClear(hwnd);
            SetFocus(hwnd);
        }
        break;
    default:
        break;
    }
    return defaultProc(hwnd, message, wParam, lParam);
}
