// Window and dialog helpers of the toolbox: control texts through the string
// pool, redrawing, keeping a window on the screen, subclassing, commands, the
// file-open dialog, the help tool-tip, and the hidden window that hears of
// system setting changes.
#pragma once

#include <windows.h>

#include <cstdint>

// Control texts. Results are pool strings; a text of 2000 or more characters
// comes back cut to 1999.
char *getWindowText(HWND window);
// The shared empty string when the dialog has no such control.
const char *getItemText(HWND dialog, int id);
// 3 when the window already shows exactly this text (nothing is sent, so the
// control does not flicker), else the result of WM_SETTEXT's send: 0.
int setWindowTextIfChanged(HWND window, const char *text);
// 1 when the dialog has no such control.
int setItemTextIfChanged(HWND dialog, int id, const char *text);
// The shared empty string when the class name cannot be read.
const char *getClassName(HWND window);

// Windows.
HINSTANCE windowInstance(HWND window);
HWND parentWindow(HWND window);
int redrawNow(HWND window);
int redrawLater(HWND window);
// The system's fonts and sizes of window parts; 0 when they were read.
int readNonClientMetrics(NONCLIENTMETRICSA *metrics);
// Moves a window that sticks out of the work area of the monitor it is on
// (the one that holds most of it) back inside; 1 when it moved. A window
// larger than the work area keeps its left or top edge on the area's edge.
int keepOnScreen(HWND window);
// Answers WM_DPICHANGED for a dialog moved to a monitor of another DPI.
// Where the dialog manager scales dialogs itself (per-monitor awareness of
// the second form, Windows 10 1703 on) it is left to do so after the dialog
// procedure's answer: 0, for the procedure to answer FALSE. Otherwise the
// dialog takes the suggested rectangle, and its controls are moved and sized
// by the ratio of the two DPIs and get the dialog's font made for the new
// one: 1, for the procedure to answer TRUE.
int followDpiChange(HWND dialog, WPARAM wParam, LPARAM lParam);
// WM_DPICHANGED, which the headers give only to builds for Windows 8.1 on.
constexpr UINT dpiChangedMessage = 0x02E0;
// Installs a new window procedure, as a Unicode one; the old one is stored
// when a place is given. 1 when the platform refused.
int subclassWindow(HWND window, WNDPROC procedure, WNDPROC *old);
LRESULT sendCommand(HWND window, int code, LPARAM lParam, int id);
// Gives every "Edit" child select-all on focus and every "ListBox" child the
// right-click caret move; 1 when the children could not be walked.
int hookChildControls(HWND window);

// Gives the thread the language its dialogs and texts are looked up in:
// for every German interface language (de-AT, de-CH, ...) the German of
// Germany, which the German resources are made for; the system's choice
// for every other language. Called once at start, before the first dialog.
void chooseTextLanguage();

// Runs the file-open dialog; 0 when a file was chosen (its full path is then
// in the buffer), 1 on cancel or error. The current folder is the same
// afterwards, wherever the user browsed. A start name the dialog refuses is
// dropped: the dialog then opens with an empty name.
int openFileDialog(HWND owner, const char *title, const char *initialDir, const char *filter,
                   std::uint32_t bufferSize, char *buffer);

// Settings changes: the handler is called, with no arguments, whenever the
// system broadcasts that a setting changed. 0 when it is registered.
typedef void (*SettingsChangeHandler)();
int addSettingsChangeHandler(SettingsChangeHandler handler);

// Help tool-tips: a small popup beside the cursor holding the help text of a
// control. It hides on a key, a click, when the cursor leaves the owner or
// moves past a limit (0: none), or hideTime ms after it showed; restartOnMove
// starts the show delay again while the cursor moves. At most one exists.
enum TooltipResult { tooltipShown = 0, tooltipNoOwner = 1111, tooltipNoText = 1112, tooltipNoClass = 1113,
                     tooltipNoWindow = 1114 };
int showTooltip(HWND owner, const char *text, std::int32_t showDelay, std::int32_t hideTime,
                std::int32_t horizontalLimit, std::int32_t verticalLimit, std::int32_t restartOnMove);
void hideTooltip();
// The help text of a control; the empty text when it has none.
const char *tooltipTextFor(std::int32_t id);
