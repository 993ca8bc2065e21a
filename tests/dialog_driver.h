// Drives the real dialogs of the configuration from inside their own modal
// loops: a timer fires once the dialog shows and runs a script on it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Handles the thread's messages for about that many milliseconds.
void settle(int ms);
// The visible dialog with that title (any title when null); null when none.
HWND visibleDialog(const char *title);
int openConfigDialog();
// Opens the dialog (as the host does, by default), runs the script inside it
// and returns the dialog's result.
int runDialog(std::function<void(HWND)> steps, std::function<int()> open = openConfigDialog);

HWND item(HWND dialog, int id);
std::string text(HWND dialog, int id);
// Presses a button as a click does (the focus moves to it).
void click(HWND dialog, int id);
// Types into a field as a user would and leaves it, which applies it.
void enter(HWND dialog, int id, const std::string &typed, int leaveTo = 1001);
// Once a dialog with that title shows (one that a click is about to open),
// runs the steps on it.
void answerDialog(const char *title, std::function<void(HWND)> steps);
