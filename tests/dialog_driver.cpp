// Drives the real dialogs of the configuration from inside their own modal
// loops.
#include "dialog_driver.h"

#include <gtest/gtest.h>

#include "host/host.h"

static std::function<void(HWND)> script;

void settle(int ms) {
    DWORD end = GetTickCount() + ms;
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

// A modal dialog shows itself once its loop finds the queue empty, so
// callers poll from a timer and return to the loop in between.
HWND visibleDialog(const char *title) {
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "#32770", title)) != nullptr)
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

static void CALLBACK driveDialog(HWND, UINT, UINT_PTR id, DWORD) {
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

int openConfigDialog() { return showConfigDialog(nullptr); }

int runDialog(std::function<void(HWND)> steps, std::function<int()> open) {
    script = std::move(steps);
    SetTimer(nullptr, 0, 10, driveDialog);
    return open();
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
    answer(dialog);
}

void answerDialog(const char *title, std::function<void(HWND)> steps) {
    answerTitle = title;
    answer = std::move(steps);
    SetTimer(nullptr, 0, 20, answerWhenShown);
}
