// The font selection dialog: which installed TrueType fonts a mode draws
// with, and its size range, with a sample of the font under the caret.
#include "main/config/config.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "main/settings/settings.h"
#include "res/resource.h"
#include "toolbox/lst.h"
#include "toolbox/monitor_metrics.h"
#include "toolbox/tbas.h"
#include "toolbox/wkrnl.h"
#include "toolbox/wtb.h"

List *fontListToEdit = nullptr;

// At most this many selected fonts are read back and stored.
constexpr int maxStoredFonts = 200;

static std::int32_t *minSizeOfList = nullptr;
static std::int32_t *maxSizeOfList = nullptr;
static bool fontsChanged = false;
// Fonts selected at opening: another count at OK is a change. Beyond the 200
// that are stored, only a change of the stored list counts.
static LRESULT openingCount = 0;
// The sample's font, given to the sample control; replaced when another font
// is shown and deleted with the dialog.
static HFONT sampleFont = nullptr;
static HBRUSH sampleBrush = nullptr;

static const int smoothingTips[] = {IDC_SMOOTHING_TIP, IDC_SMOOTHING_TIP_1, IDC_SMOOTHING_TIP_2, IDC_SMOOTHING_TIP_3};

void showFontSmoothingTip(HWND dialog) {
    const char *smoothing = readRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "FontSmoothing", "0");
    int show = std::strcmp(smoothing, "0") == 0 ? SW_SHOW : SW_HIDE;
    for (int id : smoothingTips) ShowWindow(GetDlgItem(dialog, id), show);
}

void readFontSizes(HWND dialog) {
    std::int32_t low = std::atoi(getItemText(dialog, IDC_MIN_FONT_SIZE));
    std::int32_t high = std::atoi(getItemText(dialog, IDC_MAX_FONT_SIZE));
    low = low < 5 ? 5 : low > 100 ? 100 : low;
    high = high < low ? low : high > 500 ? 500 : high;
    if (low != *minSizeOfList || high != *maxSizeOfList) fontsChanged = true;
    *minSizeOfList = low;
    *maxSizeOfList = high;
}

static void releaseName(void *name) { memFree(name); }

// True when the list holds exactly these names, in the reverse order.
static bool holdsReversed(List *list, char *const *names, int count) {
    if (lstCount(list) != count) return false;
    ListNode *node = lstHead(list);
    for (int i = count - 1; i >= 0; --i, node = lstNext(node))
        if (std::strcmp(static_cast<const char *>(lstData(node)), names[i]) != 0) return false;
    return true;
}

// Stores the selected names, the list's order reversed, as the edited list;
// true when that is not the list stored before. With more than 200 fonts
// selected only the first 200 are kept.
static bool storeSelectedFonts(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FONT_LIST);
    int selected[maxStoredFonts];
    LRESULT count = SendMessageA(list, LB_GETSELITEMS, maxStoredFonts, reinterpret_cast<LPARAM>(selected));
    if (count == LB_ERR) return false;
    char *names[maxStoredFonts];
    int kept = 0;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, selected[i], 0);
        if (length == LB_ERR || length >= 100) continue;
        char name[100];
        if (SendMessageA(list, LB_GETTEXT, selected[i], reinterpret_cast<LPARAM>(name)) == LB_ERR) continue;
        char *copy = dupString(name);
        if (copy != nullptr) names[kept++] = copy;
    }
    bool changed = !holdsReversed(fontListToEdit, names, kept);
    // The old names go back to the heap with their nodes.
    lstClear(fontListToEdit, releaseName);
    for (int i = 0; i < kept; ++i)
        if (lstPrepend(fontListToEdit, names[i]) != 0) memFree(names[i]);
    return changed;
}

// A name too wide for the sample at that height is shown smaller, whole.
// Widths do not shrink quite in proportion to the height (hinting, a face's
// own minimum sizes), so a smaller height is measured again, a few times.
static HFONT makeSampleFont(HWND sample, const char *name, int height) {
    RECT box;
    HDC hdc = GetDC(sample);
    const bool measurable = hdc != nullptr && GetClientRect(sample, &box);
    // A tenth of the width to spare, as every label of the dialogs has.
    const int room = measurable ? box.right * 10 / 11 : 0;
    HFONT font = nullptr;
    for (int round = 0; round < 6; ++round) {
        if (font != nullptr) DeleteObject(font);
        font = CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, 0,
                           name);
        if (font == nullptr || !measurable || height <= 6) break;
        HGDIOBJ old = SelectObject(hdc, font);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(hdc, name, lstrlenA(name), &size);
        SelectObject(hdc, old);
        if (size.cx <= room || size.cx == 0) break;
        height = std::max(6, std::min(height - 1, MulDiv(height, room, size.cx)));
    }
    if (hdc != nullptr) ReleaseDC(sample, hdc);
    return font;
}

// The sample shows the font's own name in that font, bold, 16 pixels high at
// 100 % (smaller when the name would not fit). The static draws with the
// font it was given, whatever is selected while it asks for its colours, so
// it is given the font; the one it held before is deleted only once it holds
// the new one.
static void showSample(HWND dialog, const char *name) {
    HFONT previous = sampleFont;
    int height = scaleForDpi(16, windowDpi(dialog));
    sampleFont = makeSampleFont(GetDlgItem(dialog, IDC_FONT_SAMPLE), name, height);
    HGDIOBJ shown = sampleFont != nullptr ? static_cast<HGDIOBJ>(sampleFont) : GetStockObject(ANSI_VAR_FONT);
    SendDlgItemMessageA(dialog, IDC_FONT_SAMPLE, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    setItemTextIfChanged(dialog, IDC_FONT_SAMPLE, name);
    if (previous != nullptr) DeleteObject(previous);
}

static void dropSample(HWND dialog) {
    if (sampleFont == nullptr) return;
    SendDlgItemMessageA(dialog, IDC_FONT_SAMPLE, WM_SETFONT, 0, FALSE);
    DeleteObject(sampleFont);
    sampleFont = nullptr;
}

static void showSelection(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FONT_LIST);
    LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count == LB_ERR) return;
    if (openingCount <= maxStoredFonts && count != openingCount) fontsChanged = true;
    setItemTextIfChanged(dialog, IDC_FONT_COUNT, poolFormat("%i", static_cast<int>(count)));
    LRESULT caret = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    if (caret == LB_ERR) return;
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, caret, 0);
    if (length == LB_ERR || length >= poolStringSize) return;
    char *name = poolString();
    if (SendMessageA(list, LB_GETTEXT, caret, reinterpret_cast<LPARAM>(name)) == LB_ERR) return;
    // An unchanged name keeps its sample as it stands.
    if (setItemTextIfChanged(dialog, IDC_FONT_NAME, name) != 3 || sampleFont == nullptr) showSample(dialog, name);
}

static bool initFontsDialog(HWND dialog) {
    keepOnScreen(dialog);
    hookChildControls(dialog);
    fontsChanged = false;
    openingCount = 0;
    if (sampleBrush == nullptr) sampleBrush = CreateSolidBrush(RGB(255, 255, 255));
    if (fontListToEdit != nullptr && fontListToEdit == singleLineFonts) {
        setWindowTextIfChanged(dialog, loadText(IDS_SINGLE_LINE_FONTS));
        minSizeOfList = &settings.SingleLineMinFontSize;
        maxSizeOfList = &settings.SingleLineMaxFontSize;
    } else if (fontListToEdit != nullptr && fontListToEdit == multiLineFonts) {
        setWindowTextIfChanged(dialog, loadText(IDS_MULTI_LINE_FONTS));
        minSizeOfList = &settings.MultiLineMinFontSize;
        maxSizeOfList = &settings.MultiLineMaxFontSize;
    } else {
        MessageBeep(static_cast<UINT>(-1));
        EndDialog(dialog, 2);
        return false;
    }
    setItemTextIfChanged(dialog, IDC_MIN_FONT_SIZE, poolFormat("%i", static_cast<int>(*minSizeOfList)));
    setItemTextIfChanged(dialog, IDC_MAX_FONT_SIZE, poolFormat("%i", static_cast<int>(*maxSizeOfList)));
    showFontSmoothingTip(dialog);

    // The sample is one line, centred in its height: a name too long for it
    // would wrap out of sight, and some faces stand far taller than 16 pixels.
    HWND sample = GetDlgItem(dialog, IDC_FONT_SAMPLE);
    LONG_PTR style = GetWindowLongPtrA(sample, GWL_STYLE);
    SetWindowLongPtrA(sample, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE);

    HWND list = GetDlgItem(dialog, IDC_FONT_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (ListNode *node = lstHead(installedFonts); node != nullptr; node = lstNext(node))
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lstData(node)));
    // Stored fonts that are no longer installed are not shown, and so drop
    // out of the list at OK.
    for (ListNode *node = lstHead(fontListToEdit); node != nullptr; node = lstNext(node)) {
        LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(lstData(node)));
        if (index != LB_ERR) SendMessageA(list, LB_SETSEL, TRUE, index);
    }
    int first = 0;
    LRESULT selected = SendMessageA(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first));
    openingCount = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (selected > 0) {
        SendMessageA(list, LB_SETCARETINDEX, first, FALSE);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FONT_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    return true;
}

static INT_PTR staticColors(HDC hdc, HWND control) {
    int id = GetDlgCtrlID(control);
    if (id == IDC_FONT_SAMPLE) {
        SetTextColor(hdc, RGB(0, 0, 0));
        SetBkMode(hdc, OPAQUE);
        SetBkColor(hdc, RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(sampleBrush);
    }
    for (int tip : smoothingTips) {
        if (id != tip) continue;
        SetTextColor(hdc, RGB(255, 0, 0));
        SetBkMode(hdc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    return FALSE;
}

INT_PTR CALLBACK fontsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return initFontsDialog(dialog) ? FALSE : TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_FONT_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
            showSelection(dialog);
        } else if (LOWORD(wParam) == IDOK) {
            readFontSizes(dialog);
            if (storeSelectedFonts(dialog) && openingCount > maxStoredFonts) fontsChanged = true;
            EndDialog(dialog, fontsChanged ? 1 : 2);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 2);
        }
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return staticColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DESTROY:
        dropSample(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}
