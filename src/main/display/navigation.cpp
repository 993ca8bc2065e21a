// The keys of the saver window: moves through the passages already shown
// and the switch to a recently used phrase file (F2 to F5).
#include "main/display/display.h"
#include "main/display/monitors.h"
#include "main/settings/settings.h"
#include "toolbox/wtb.h"

// The passage move a key stands for; false for the keys that move nothing.
static bool moveForKey(WPARAM code, PassageMove *move) {
    switch (code) {
    case VK_PRIOR:
    case VK_UP:
        *move = PassageMove::Previous;
        return true;
    case VK_NEXT:
    case VK_DOWN:
        *move = PassageMove::Next;
        return true;
    case VK_END:
        *move = PassageMove::Last;
        return true;
    case VK_HOME:
        *move = PassageMove::First;
        return true;
    default:
        return false;
    }
}

// The dialog's fields still name the old file; left so, the next field
// that it reads would switch back.
static void tellParentOfSwitch(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    if (parent == nullptr || !isPreviewWindow(hwnd)) return;
    sendCommand(parent, phraseFileSwitched, reinterpret_cast<LPARAM>(hwnd), GetDlgCtrlID(hwnd));
}

LRESULT handleNavigationKey(HWND hwnd, WPARAM code) {
    PassageMove move;
    if (moveForKey(code, &move)) {
        eraseWindow(hwnd);
        showPassage(hwnd, move);
    } else if (code >= VK_F2 && code <= VK_F5) {
        char *recent[] = {settings.RecentPhraseFn1, settings.RecentPhraseFn2, settings.RecentPhraseFn3,
                          settings.RecentPhraseFn4};
        if (swapPhraseFile(recent[code - VK_F2])) {
            fadeClear(hwnd);
            if (inConfigDialog) tellParentOfSwitch(hwnd);
        }
    }
    // VK_F1 and anything else: nothing.
    return 0;
}
