// The credits dialog: a title that changes its font and colour every second
// and steps through a few jokes when clicked, the version with its build
// stamp, and the e-mail and web links.
#include "main/config/config.h"

#include <algorithm>

#include "main/display/display.h"
#include "main/phrase/phrase.h"
#include "main/settings/settings.h"
#include "res/resource.h"
#include "toolbox/monitor_metrics.h"
#include "toolbox/tbas.h"
#include "toolbox/wtb.h"

namespace {

constexpr UINT_PTR titleTimerId = 207;
constexpr UINT titleTimerPeriod = 1000;
constexpr COLORREF white = 0xFFFFFF;
constexpr COLORREF linkBlue = 0xFF0000;
constexpr COLORREF usedLinkViolet = 0xFF0080;

// What the title shows, by the number of steps clicked, stands in the string
// table from IDS_CREDITS_TITLE_FIRST on.
constexpr int lastMessage = 9;
// Ticks the last message stays before the title starts again.
constexpr int lastMessageTicks = 4;

// One opening's state.
struct CreditsState {
    int message;
    int repeats;
    bool clickedThisSecond;
    bool mailUsed;
    bool webUsed;
};
CreditsState credits;

HBRUSH whiteBrush = nullptr;
HFONT linkFont = nullptr;
int linkFontDpi = 0;

// The title's look until the next tick. A static control draws with the font
// it was given, whatever is selected while it asks for its colours, so the
// title is given its font; the one it held before is deleted only once it
// holds the new one, outside any painting.
HFONT titleFont = nullptr;
COLORREF titleColor = 0;

// The system's message font, underlined, at the DPI of the dialog's monitor
// (the system gives it at its own DPI); kept while that DPI stays.
HFONT creditsLinkFont(int dpi) {
    if (linkFont != nullptr && linkFontDpi != dpi) {
        DeleteObject(linkFont);
        linkFont = nullptr;
    }
    if (linkFont == nullptr) {
        NONCLIENTMETRICSA metrics;
        if (readNonClientMetrics(&metrics) == 0) {
            metrics.lfMessageFont.lfUnderline = 1;
            metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
            linkFont = CreateFontIndirectA(&metrics.lfMessageFont);
            linkFontDpi = dpi;
        }
    }
    if (linkFont == nullptr) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return linkFont;
}

// Gives a link its font and makes it as large as its text, so that the
// address shows whole, as far as the dialog reaches.
void fitLink(HWND dialog, int id, HFONT font) {
    HWND link = GetDlgItem(dialog, id);
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const char *address = getItemText(dialog, id);
    SIZE size = {0, 0};
    HDC hdc = GetDC(link);
    if (hdc == nullptr) return;
    HGDIOBJ old = SelectObject(hdc, font);
    BOOL measured = GetTextExtentPoint32A(hdc, address, lstrlenA(address), &size);
    SelectObject(hdc, old);
    ReleaseDC(link, hdc);
    RECT area, box;
    GetClientRect(dialog, &area);
    GetWindowRect(link, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&box), 2);
    if (!measured) return;
    // With a tenth to spare, as every label of the dialogs has.
    LONG width = std::max(box.right - box.left, std::min(size.cx + size.cx / 10 + 2, area.right - box.left));
    LONG height = std::max(box.bottom - box.top, std::min(size.cy, area.bottom - box.top));
    SetWindowPos(link, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A new font and colour for the title, at the DPI of the dialog's monitor.
// The display's font slot is shared with the preview pane behind this
// dialog, which replaces it with every phrase: the title keeps a copy.
void newTitleLook(HWND dialog) {
    int dpi = windowDpi(dialog);
    HFONT made = createSingleLineFont(dialogFonts, 18, 25, 10, dpi);
    LOGFONTA face;
    HFONT copy = GetObjectA(made, sizeof face, &face) == sizeof face ? CreateFontIndirectA(&face) : nullptr;
    HFONT previous = titleFont;
    titleFont = copy;
    titleColor = randomTitleColor();
    HGDIOBJ given = copy != nullptr ? static_cast<HGDIOBJ>(copy) : GetStockObject(ANSI_VAR_FONT);
    SendDlgItemMessageA(dialog, IDC_CREDITS_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(given), FALSE);
    if (previous != nullptr) DeleteObject(previous);
}

void dropTitleFont(HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_CREDITS_TITLE, WM_SETFONT, 0, FALSE);
    if (titleFont != nullptr) DeleteObject(titleFont);
    titleFont = nullptr;
}

HBRUSH whiteBackground(HDC hdc) {
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, white);
    return whiteBrush;
}

void initCredits(HWND dialog) {
    keepOnScreen(dialog);
    credits = CreditsState{};
    SetTimer(dialog, titleTimerId, titleTimerPeriod, nullptr);
    if (whiteBrush == nullptr) whiteBrush = CreateSolidBrush(white);
    setItemTextIfChanged(dialog, IDC_CREDITS_VERSION, loadText(IDS_CREDITS_VERSION));
    HFONT links = creditsLinkFont(windowDpi(dialog));
    fitLink(dialog, IDC_FEEDBACK, links);
    fitLink(dialog, IDC_CREDITS_WEB, links);
    hideUnreachableLink(dialog, IDC_FEEDBACK, IDC_CREDITS_MAIL_LABEL);
    hideUnreachableLink(dialog, IDC_CREDITS_WEB, IDC_CREDITS_WEB_LABEL);
    newTitleLook(dialog);
}

// Every second the title is drawn anew, in a new font and colour, with the
// message its clicks have reached; the last one stays for four ticks.
void titleTick(HWND dialog) {
    if (credits.message > lastMessage) credits.message = lastMessage;
    newTitleLook(dialog);
    if (setItemTextIfChanged(dialog, IDC_CREDITS_TITLE, loadText(IDS_CREDITS_TITLE_FIRST + credits.message)) == 3)
        redrawLater(GetDlgItem(dialog, IDC_CREDITS_TITLE));
    if (credits.message == lastMessage && ++credits.repeats >= lastMessageTicks) {
        credits.message = 0;
        credits.repeats = 0;
    }
    credits.clickedThisSecond = false;
}

INT_PTR staticColors(HWND control, HDC hdc) {
    switch (GetDlgCtrlID(control)) {
    case IDC_CREDITS_AREA:
        // Lies beneath everything: it must not paint over the others.
        SetBkMode(hdc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    case IDC_CREDITS_TITLE:
        SetTextColor(hdc, titleColor);
        return reinterpret_cast<INT_PTR>(whiteBackground(hdc));
    case IDC_FEEDBACK:
    case IDC_CREDITS_WEB: {
        bool used = GetDlgCtrlID(control) == IDC_FEEDBACK ? credits.mailUsed : credits.webUsed;
        SetTextColor(hdc, used ? usedLinkViolet : linkBlue);
        return reinterpret_cast<INT_PTR>(whiteBackground(hdc));
    }
    default:
        return reinterpret_cast<INT_PTR>(whiteBackground(hdc));
    }
}

// A used link is drawn violet from now on.
void markUsed(HWND dialog, int id, bool *used) {
    *used = true;
    redrawLater(GetDlgItem(dialog, id));
}

// TRUE when the command ends nothing and needs no more handling.
INT_PTR creditsCommand(HWND dialog, int id, int code) {
    // A double click reports a click and then STN_DBLCLK: only the click
    // counts, so that a link opens once.
    if (code != STN_CLICKED) return TRUE;
    switch (id) {
    case IDOK:
    case IDCANCEL:
    case IDC_CREDITS_AREA:
        KillTimer(dialog, titleTimerId);
        EndDialog(dialog, 2);
        return TRUE;
    case IDC_CREDITS_TITLE:
    case IDC_CREDITS_COPYRIGHT:
        // At most one step a second.
        if (!credits.clickedThisSecond) ++credits.message;
        credits.clickedThisSecond = true;
        return FALSE;
    case IDC_FEEDBACK:
        openFeedbackMail(getItemText(dialog, IDC_FEEDBACK));
        markUsed(dialog, IDC_FEEDBACK, &credits.mailUsed);
        return FALSE;
    case IDC_CREDITS_VERSION:
        setItemTextIfChanged(dialog, IDC_CREDITS_VERSION, loadText(IDS_CREDITS_BUILD));
        return FALSE;
    case IDC_CREDITS_WEB:
        openLink(getItemText(dialog, IDC_CREDITS_WEB));
        markUsed(dialog, IDC_CREDITS_WEB, &credits.webUsed);
        return FALSE;
    default:
        return TRUE;
    }
}

// min / max below 0.51; a pair of zeros tells nothing.
bool clearlyApart(int a, int b) {
    if (a == 0 && b == 0) return false;
    int low = a < b ? a : b, high = a < b ? b : a;
    return low < 0.51 * high;
}

}  // namespace

COLORREF randomTitleColor() {
    int r = 0, g = 0, b = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        r = randomInRange(0, 255);
        g = randomInRange(0, 255);
        b = randomInRange(0, 255);
        if (r > 200 && g > 200 && b > 200) continue;
        if (clearlyApart(r, g) || clearlyApart(b, g) || clearlyApart(r, b)) break;
    }
    return static_cast<COLORREF>(r + 256 * g + 65536 * b);
}

INT_PTR CALLBACK creditsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initCredits(dialog);
        return FALSE;
    case WM_COMMAND:
        return creditsCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_TIMER:
        if (wParam == titleTimerId) titleTick(dialog);
        return FALSE;
    case WM_CTLCOLORSTATIC:
        return staticColors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(whiteBrush);
    case WM_DESTROY:
        dropTitleFont(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}
