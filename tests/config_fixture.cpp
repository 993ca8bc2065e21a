// Driving the configuration dialogs from inside their modal loops.
#include "config_fixture.h"

#include <commctrl.h>

#include "host/host.h"
#include "main/settings/settings.h"
#include "res/resource.h"
#include "test_files.h"
#include "toolbox/wkrnl.h"

namespace {

std::function<void(HWND)> script;

// A modal dialog shows itself once its loop finds the queue empty, so the
// script is started from a timer that polls for it.
void CALLBACK driveDialog(HWND, UINT, UINT_PTR id, DWORD) {
    static int polls = 0;
    HWND dialog = visibleDialog(nullptr);
    if (dialog == nullptr && ++polls < 500) return;
    KillTimer(nullptr, id);
    polls = 0;
    if (dialog == nullptr) {
        ADD_FAILURE() << "the dialog never showed";
        EndDialog(FindWindowA("#32770", nullptr), 99);
        return;
    }
    settle(400);  // the start-up steps and the preview's first phrases
    script(dialog);
    if (IsWindowVisible(dialog)) EndDialog(dialog, 99);  // a script that failed halfway
}

}  // namespace

// Messages for a dialog and its controls go through the dialog manager
// first, as in the dialog's own loop: keys become commands there, and the
// message-filter hooks see them. Like that loop, this one takes them as
// Unicode messages, so that a typed character of any script stays whole.
static bool forDialog(MSG *msg) {
    HWND root = msg->hwnd != nullptr ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
    char name[16];
    if (root == nullptr || GetClassNameA(root, name, sizeof name) == 0 || lstrcmpA(name, "#32770") != 0) return false;
    return IsDialogMessageW(root, msg) != 0;
}

void settle(int ms) {
    DWORD end = GetTickCount() + ms;
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (forDialog(&msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

HWND visibleDialog(const char *title) {
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "#32770", title)) != nullptr)
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

INT_PTR driveModal(std::function<INT_PTR()> open, std::function<void(HWND)> steps) {
    script = std::move(steps);
    SetTimer(nullptr, 0, 10, driveDialog);
    return open();
}

int runDialog(std::function<void(HWND)> steps) {
    return static_cast<int>(driveModal([] { return static_cast<INT_PTR>(showConfigDialog(nullptr)); }, std::move(steps)));
}

HWND item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
std::string text(HWND dialog, int id) { char s[2000]; GetDlgItemTextA(dialog, id, s, sizeof s); return s; }
void click(HWND dialog, int id) { SendMessageA(item(dialog, id), BM_CLICK, 0, 0); settle(30); }

void enter(HWND dialog, int id, const std::string &typed, int leaveTo) {
    SetFocus(item(dialog, id));
    SetDlgItemTextA(dialog, id, typed.c_str());
    SetFocus(item(dialog, leaveTo));
    settle(30);
}

static std::string answerTitle;
static std::function<void(HWND)> answer;

static void CALLBACK answerWhenShown(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = visibleDialog(answerTitle.c_str());
    if (dialog == nullptr) return;
    KillTimer(nullptr, id);
    // Taken out first, so that the steps may wait for a dialog of their own.
    std::function<void(HWND)> steps = std::move(answer);
    steps(dialog);
}

void answerDialog(const char *title, std::function<void(HWND)> steps) {
    answerTitle = title;
    answer = std::move(steps);
    SetTimer(nullptr, 0, 20, answerWhenShown);
}

void pressKey(WORD key) {
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_KEYBOARD;
    press[0].ki.wVk = press[1].ki.wVk = key;
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, press, sizeof(INPUT));
}

void clickAt(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, press, sizeof(INPUT));
}

POINT centreOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string correctionText(HWND dialog, int id) {
    char shown[400] = "";
    TOOLINFOA tool = {sizeof tool, 0, dialog, reinterpret_cast<UINT_PTR>(item(dialog, id)), {}, nullptr, shown, 0, nullptr};
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr)) != nullptr;)
        if (IsWindowVisible(w) && (GetWindowLongA(w, GWL_STYLE) & TTS_BALLOON) != 0)
            SendMessageA(w, TTM_GETTEXTA, sizeof shown, reinterpret_cast<LPARAM>(&tool));
    return shown;
}

void ConfigTest::SetUp() {
    SettingsTest::SetUp();
    hostState.instance = GetModuleHandleA(nullptr);
    // The dialog makes the install folder current: take the test folder
    // once, before any dialog ran.
    static const std::string testFolder = [] {
        char here[MAX_PATH];
        GetCurrentDirectoryA(sizeof here, here);
        return std::string(here);
    }();
    folder = testFolder + "\\config-install";
    CreateDirectoryA(folder.c_str(), nullptr);
    writeRegString(HKEY_CURRENT_USER, settingsKey, "InstallDir", folder.c_str());
    for (const char *name : {"words.txt", "e1.txt", "e2.txt", "gone.txt"})
        writeTestFile(folder + "\\" + name, "one\ntwo\nthree\n");
    writeTestFile(folder + "\\passages.txt", "%\nA first passage.\n%\nA second one.\n%\n");
    writeRegString(HKEY_CURRENT_USER, settingsKey, "PhraseFn", "words.txt");
    writeRegDword(HKEY_CURRENT_USER, settingsKey, "VeryFirstTime", 0);
}
