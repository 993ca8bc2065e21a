// The configuration dialog: its procedure, the filling and reading back of
// its controls, the preview pane in which the display engine runs, and the
// credits dialog.
#pragma once

#include <windows.h>

#include <cstdint>

// The configuration dialog's procedure, exported by this name.
extern "C" INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog posts itself this message to run its start-up steps one by one.
constexpr UINT startupStepMessage = 1690;
// Steps still to run: the tool-tip warm-up, then the preview's restart and
// focus. Not re-armed, so a second opening in one process skips them.
extern int startupSteps;
// Posted when the phrase-file combo's selection changed; handled once the
// selection has reached the combo's text.
constexpr UINT phraseFileChosenMessage = startupStepMessage + 1;

// The preview pane of the open dialog; null while no dialog is open. The
// other dialogs of the configuration refresh it through this.
extern HWND previewWindow;

// Fills every control from the settings.
void showConfigValues(HWND dialog);
// Fills the phrase-file combo with the current and the recent names and
// says in the status line what the current file is.
void showPhraseFiles(HWND dialog);
// Says in the status line what the current file is.
void showFileStatus(HWND dialog);
// Applies the name chosen in the phrase-file combo as the current file and
// shows its status and the fields of its mode, but leaves the list in its
// order, so that the arrow keys go on through it; true when the file changed.
bool applyChosenPhraseFile(HWND dialog);
// Reads the controls back into the settings, checking each value, rebuilds
// the recent-file list and shows the result; true when anything that the
// display depends on changed.
bool applyConfigControls(HWND dialog);

// Numeric fields remember the text they were last filled with: a field the
// user did not touch keeps its stored value exactly, though it shows it
// rounded ("1.23" for 1234 ms, "33.33" for 33.333 %).
void showField(HWND dialog, int id, const char *text);
bool fieldUntouched(HWND dialog, int id);

// A number as the user writes it: two decimals after the separator of the
// user's locale. Reading takes that separator or the point; false when the
// text is no number ("nan" neither), which then reads as 0.
const char *formatDecimal(double value);
bool readDecimal(const char *text, double *value);

// A balloon on the field whose entry was just replaced: the value it now
// shows and the field's range. It goes with the next key or click.
void showCorrection(HWND dialog, int id);
void hideCorrection();

// The colours dialog: 1 when the values stay, 2 when Cancel undid accepted
// changes. Opened from the configuration dialog.
INT_PTR CALLBACK colorsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK saveSchemeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void showColorValues(HWND dialog);
bool readColorFields(HWND dialog);
int saveSchemeAs(HWND dialog);
int deleteScheme(HWND dialog);
// 0 when a scheme may be saved under the name, else 1 after saying why.
int validateCsSaveName(const char *name);

// The font selection dialog edits this list (singleLineFonts or
// multiLineFonts) and the sizes of its mode: 1 when OK found a change, else 2.
extern struct List *fontListToEdit;
INT_PTR CALLBACK fontsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void readFontSizes(HWND dialog);
void showFontSmoothingTip(HWND dialog);

// The preview pane's window class, "LumoraPreview", registered at most once;
// its atom, 0 when registration failed.
ATOM registerPreviewClass(HINSTANCE instance);

// The credits dialog's procedure (template 167); it always ends with 2.
INT_PTR CALLBACK creditsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// A random colour for the credits title: never near white, and never grey:
// of two of its parts, one is at most about half the other.
COLORREF randomTitleColor();

// Hands a link to the platform to open ("mailto:..." or a web address).
void openLink(const char *target);
// Opens a mail to the address, with the subject and a first line filled in.
void openFeedbackMail(const char *address);
// False for an address that reaches no one: empty, or in one of the example
// domains that stand in the sources until a packager sets real ones.
bool isReachableAddress(const char *address);
// Hides and disables a link (and its label, 0 for none) whose address
// reaches no one.
void hideUnreachableLink(HWND dialog, int link, int label);
