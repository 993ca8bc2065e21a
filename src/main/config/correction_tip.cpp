// The balloon that says why a field's entry was replaced: what was taken and
// the range of the field, in the user's language, until the next key or click.
#include "main/config/config.h"

#include <commctrl.h>

#include "res/resource.h"
#include "toolbox/tbas.h"
#include "toolbox/wtb.h"

static HWND balloon = nullptr;
static HHOOK inputHook = nullptr;
static char rangeText[poolStringSize];

void hideCorrection() {
    if (inputHook != nullptr) UnhookWindowsHookEx(inputHook);
    inputHook = nullptr;
    if (balloon != nullptr && IsWindow(balloon)) DestroyWindow(balloon);
    balloon = nullptr;
}

// The dialogs run modal loops, which show this hook every key and click.
static LRESULT CALLBACK correctionInputHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG *msg = reinterpret_cast<const MSG *>(lParam);
    HHOOK self = inputHook;
    if (code >= 0 && msg != nullptr) {
        switch (msg->message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
            hideCorrection();
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(self, code, wParam, lParam);
}

void showCorrection(HWND dialog, int id) {
    hideCorrection();
    const char *range = loadText(IDS_RANGE_BASE + id);
    HWND field = GetDlgItem(dialog, id);
    if (field == nullptr || isEmptyString(range)) return;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    balloon = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_BALLOON | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, nullptr,
                              nullptr);
    if (balloon == nullptr) return;
    copyString(rangeText, range, sizeof rangeText);
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(field);
    tool.lpszText = rangeText;
    SendMessageA(balloon, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    const char *title = poolFormat(loadText(IDS_CORRECTED_TITLE), getItemText(dialog, id));
    SendMessageA(balloon, TTM_SETTITLEA, TTI_INFO, reinterpret_cast<LPARAM>(title));
    RECT box;
    GetWindowRect(field, &box);
    // The stem points at the middle of the field's lower edge.
    SendMessageA(balloon, TTM_TRACKPOSITION, 0, MAKELPARAM((box.left + box.right) / 2, box.bottom - 2));
    SendMessageA(balloon, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    inputHook = SetWindowsHookExA(WH_MSGFILTER, correctionInputHook, nullptr, GetCurrentThreadId());
}
