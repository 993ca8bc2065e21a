// Behaviour that every dialog of the configuration gives its child controls:
// an edit field selects its whole text when it gets the focus, and a right
// click in a list box moves the caret to the item under the mouse without
// touching the selection, so that the dialog can show that item.
#include <cstring>

#include "wtb.h"

#include "tbas.h"

// Whoever handles a control's class handles what the subclass passes on.
// The subclass is a Unicode procedure (subclassWindow), so the messages it
// gets and passes on are the Unicode ones.
static LRESULT passOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
    if (classProc == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(classProc, window, message, wParam, lParam);
}

static LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Posted, so that it runs after the control's own focus handling.
    if (message == WM_SETFOCUS && (GetWindowLongA(window, GWL_STYLE) & ES_MULTILINE) == 0)
        PostMessageA(window, EM_SETSEL, 0, -1);
    return passOn(window, message, wParam, lParam);
}

// Tells the parent that the caret moved; no dialog acts on this code itself.
constexpr int caretMovedCode = 1690;

static LRESULT CALLBACK listBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND parent = message == WM_RBUTTONDOWN ? parentWindow(window) : nullptr;
    if (parent != nullptr) {
        int id = GetDlgCtrlID(window);
        LRESULT hit = SendMessageA(window, LB_ITEMFROMPOINT, 0, lParam);
        int item = LOWORD(hit);
        SendMessageA(window, LB_SETCARETINDEX, item, TRUE);
        sendCommand(parent, caretMovedCode, item, id);
        if (GetWindowLongA(window, GWL_STYLE) & LBS_MULTIPLESEL)
            sendCommand(parent, LBN_SELCHANGE, reinterpret_cast<LPARAM>(window), id);
    }
    return passOn(window, message, wParam, lParam);
}

static BOOL CALLBACK hookChild(HWND child, LPARAM) {
    const char *name = getClassName(child);
    if (std::strcmp(name, "ListBox") == 0) subclassWindow(child, listBoxProc, nullptr);
    if (std::strcmp(name, "Edit") == 0) subclassWindow(child, editProc, nullptr);
    return TRUE;
}

int hookChildControls(HWND window) { return EnumChildWindows(window, hookChild, 0) ? 0 : 1; }
