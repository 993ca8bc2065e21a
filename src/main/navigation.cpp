// The keys of the saver window: moves through the passages already shown
// and the switch to a recently used phrase file (F2 to F5).
#include "display.h"
#include "settings.h"

LRESULT handleNavigationKey(HWND hwnd, WPARAM code) {
    char *recent[] = {settings.RecentPhraseFn1, settings.RecentPhraseFn2, settings.RecentPhraseFn3,
                      settings.RecentPhraseFn4};
    switch (code) {
    case VK_PRIOR:
    case VK_UP:
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::Previous);
        break;
    case VK_NEXT:
    case VK_DOWN:
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::Next);
        break;
    case VK_END:
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::Last);
        break;
    case VK_HOME:
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::First);
        break;
    case VK_F2:
    case VK_F3:
    case VK_F4:
    case VK_F5:
        if (swapPhraseFile(recent[code - VK_F2])) fadeClear(hwnd);
        break;
    default:  // VK_F1 and anything else: nothing
        break;
    }
    return 0;
}
