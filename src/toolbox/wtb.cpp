// Control texts, redrawing, keeping windows on the screen, the system's
// metrics, subclassing, commands and the file-open dialog.
#include "wtb.h"

#include <cderr.h>
#include <commdlg.h>

#include <cstring>

#include "monitor_metrics.h"
#include "tbas.h"

char *getWindowText(HWND window) {
    char *text = poolString();
    LRESULT length = SendMessageA(window, WM_GETTEXT, poolStringSize, reinterpret_cast<LPARAM>(text));
    if (length < 0) length = 0;
    if (length >= poolStringSize) length = poolStringSize - 1;
    text[length] = '\0';
    return text;
}

const char *getItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) return emptyString;
    return getWindowText(item);
}

int setWindowTextIfChanged(HWND window, const char *text) {
    if (text == nullptr) text = emptyString;
    if (std::strlen(text) < static_cast<size_t>(poolStringSize) && std::strcmp(getWindowText(window), text) == 0)
        return 3;
    return static_cast<int>(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? 0 : 1);
}

int setItemTextIfChanged(HWND dialog, int id, const char *text) {
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) return 1;
    return setWindowTextIfChanged(item, text);
}

const char *getClassName(HWND window) {
    char *name = poolString();
    if (GetClassNameA(window, name, poolStringSize) == 0) return emptyString;
    return name;
}

HINSTANCE windowInstance(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

HWND parentWindow(HWND window) { return GetParent(window); }

int redrawNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return 0;
}

int redrawLater(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_INTERNALPAINT);
    return 0;
}

// How far to move an edge pair back inside low..high limits: a window that
// sticks out at the far side moves back by its overflow, but never past the
// near limit.
static LONG shiftInside(LONG low, LONG high, LONG lowLimit, LONG highLimit) {
    if (low < lowLimit) return lowLimit - low;
    if (high > highLimit) return -(high - highLimit < low - lowLimit ? high - highLimit : low - lowLimit);
    return 0;
}

int readNonClientMetrics(NONCLIENTMETRICSA *metrics) {
    // The size of the record before its later extension, which every version
    // of the platform accepts.
    static_assert(sizeof(NONCLIENTMETRICSA) == 340, "the classic non-client metrics record");
    std::memset(metrics, 0, sizeof *metrics);
    metrics->cbSize = sizeof *metrics;
    return SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof *metrics, metrics, 0) ? 0 : 1;
}

int keepOnScreen(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return 0;
    // The monitor that holds most of the window: a dialog opened on a second
    // monitor stays there.
    const RECT work = windowWorkArea(window);
    LONG dx = shiftInside(r.left, r.right, work.left, work.right);
    LONG dy = shiftInside(r.top, r.bottom, work.top, work.bottom);
    if (dx == 0 && dy == 0) return 0;
    MoveWindow(window, r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top, FALSE);
    redrawLater(window);
    return 1;
}

// The font that the controls of a dialog moved to a monitor of another DPI
// get, and that DPI; kept until the next such move replaces it.
static HFONT movedDialogFont = nullptr;
static int movedDialogDpi = 0;

// A child's rectangle in the dialog's client coordinates; a combo box's with
// its dropped-down height, which is the height it is given.
static RECT childRect(HWND dialog, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    if (std::strcmp(getClassName(child), "ComboBox") == 0) {
        RECT dropped;
        if (SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
            r.bottom = r.top + (dropped.bottom - dropped.top);
    }
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

int followDpiChange(HWND dialog, WPARAM wParam, LPARAM lParam) {
    if (isPerMonitorV2(dialog)) return 0;
    const int newDpi = HIWORD(wParam);
    const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
    if (newDpi <= 0 || suggested == nullptr) return 1;
    // A dialog is laid out for the system's DPI when it is made; controls
    // that have the font of an earlier move stand at that move's DPI.
    int oldDpi = systemDpi();
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        HFONT has = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
        if (movedDialogFont != nullptr && has == movedDialogFont) oldDpi = movedDialogDpi;
    }
    SetWindowPos(dialog, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (newDpi == oldDpi) return 1;

    // The template's font stays the dialog's own; its controls get it again
    // in the size for the new DPI.
    HFONT font = nullptr;
    LOGFONTA face;
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (dialogFont != nullptr && GetObjectA(dialogFont, sizeof face, &face) == sizeof face) {
        face.lfHeight = MulDiv(face.lfHeight, newDpi, systemDpi());
        font = CreateFontIndirectA(&face);
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r = childRect(dialog, child);
        r = {MulDiv(r.left, newDpi, oldDpi), MulDiv(r.top, newDpi, oldDpi), MulDiv(r.right, newDpi, oldDpi),
             MulDiv(r.bottom, newDpi, oldDpi)};
        if (font != nullptr) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (font != nullptr) {
        if (movedDialogFont != nullptr) DeleteObject(movedDialogFont);
        movedDialogFont = font;
        movedDialogDpi = newDpi;
    }
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 1;
}

// Installed as a Unicode procedure: the window then stays a Unicode window,
// and what is typed reaches the control as the characters typed. An 8-bit
// procedure would have every character pass through the process code page,
// which holds none of another script's letters (or, in UTF-8, cannot carry
// a letter of several bytes in one message).
int subclassWindow(HWND window, WNDPROC procedure, WNDPROC *old) {
    if (old != nullptr) *old = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    return SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)) == 0 ? 1 : 0;
}

LRESULT sendCommand(HWND window, int code, LPARAM lParam, int id) {
    return SendMessageA(window, WM_COMMAND, MAKEWPARAM(id & 0xFFFF, code & 0xFFFF), lParam);
}

int openFileDialog(HWND owner, const char *title, const char *initialDir, const char *filter,
                   std::uint32_t bufferSize, char *buffer) {
    OPENFILENAMEA request;
    std::memset(&request, 0, sizeof request);
    // The classic size, without the later extension fields, so that every
    // version of the common dialogs takes it.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = owner;
    request.lpstrFilter = filter;
    request.nFilterIndex = 1;
    request.lpstrFile = buffer;
    request.nMaxFile = bufferSize;
    request.lpstrInitialDir = initialDir;
    request.lpstrTitle = title;
    request.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    // The dialog makes every folder the user browses to the current one,
    // also when it is cancelled, while the caller's bare file names resolve
    // against the folder that was current: that one is put back.
    char current[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof current, current);
    bool restore = length > 0 && length < sizeof current;
    BOOL chosen = GetOpenFileNameA(&request);
    // A start name that is no valid file name keeps the dialog from opening
    // at all; it opens with an empty one instead.
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME && bufferSize > 0 && buffer[0] != '\0') {
        buffer[0] = '\0';
        chosen = GetOpenFileNameA(&request);
    }
    if (restore) changeDirectory(current);
    return chosen ? 0 : 1;
}

void chooseTextLanguage() {
    // Windows falls back from any German to the German resources by itself;
    // Wine looks for the exact locale, then for its language without a
    // country, and ends in English. The thread's locale comes first in that
    // search, and its UI language in Windows' own.
    LANGID user = GetUserDefaultUILanguage();
    LANGID german = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
    if (PRIMARYLANGID(user) != LANG_GERMAN || user == german) return;
    SetThreadLocale(MAKELCID(german, SORT_DEFAULT));
    // Vista on; looked up, so that the module still loads where it is missing.
    typedef LANGID(WINAPI * SetUiLanguage)(LANGID);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetThreadUILanguage");
    if (found != nullptr) reinterpret_cast<SetUiLanguage>(reinterpret_cast<void *>(found))(german);
}
