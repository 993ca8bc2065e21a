// Helpers of the configuration dialog tests: the real dialogs opened as the
// program opens them and driven from a timer inside their own modal loop,
// with the settings key and an install folder of the test's own.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "test_registry.h"

// Dispatches whatever arrives for the given milliseconds.
void settle(int ms);
// The visible dialog with that title (any title when null).
HWND visibleDialog(const char *title);
// Runs `open`, which shows a modal dialog, and the steps inside its loop once
// the dialog is visible; returns what `open` returned.
INT_PTR driveModal(std::function<INT_PTR()> open, std::function<void(HWND)> steps);
// Opens the configuration dialog as the host does and runs the steps in it.
int runDialog(std::function<void(HWND)> steps);

HWND item(HWND dialog, int id);
std::string text(HWND dialog, int id);
void click(HWND dialog, int id);
// Types into a field as a user would and leaves it for another control
// (the configuration dialog's Select button by default), which applies it.
void enter(HWND dialog, int id, const std::string &typed, int leaveTo = 1001);
// Once a dialog with that title shows (one that a click is about to open),
// runs the steps on it.
void answerDialog(const char *title, std::function<void(HWND)> steps);
// Real input, as the platform delivers it to the focused window.
void pressKey(WORD key);
void clickAt(POINT p);
POINT centreOf(HWND window);
// The text of the balloon that says why a field's entry was replaced; empty
// while none shows.
std::string correctionText(HWND dialog, int id);
// The DPI a session of the test runs at: LUMORA_EXPECT_DPI, else 96.
inline int expectedDpi() { char d[16] = ""; return GetEnvironmentVariableA("LUMORA_EXPECT_DPI", d, 16) ? atoi(d) : 96; }

struct ConfigTest : SettingsTest {
    std::string folder;
    void SetUp() override;
};
