// The screen-saver host: start-up and the command-line modes, the saver
// window with its message loop, and the rules that close it on input.
#pragma once

#include <windows.h>

#include <imm.h>

#include <cstdint>

#include "main/display/saver_proc.h"

// The platform's password check and input-method association, both found at
// run time: the first in the system folder's "PASSWORD.CPL", the second in
// an IMM32.DLL that is already loaded.
typedef BOOL(WINAPI *VerifyPasswordProc)(HWND window);
typedef HIMC(WINAPI *AssociateContextProc)(HWND window, HIMC context);

// What the host keeps for the one saver window of the process.
struct HostState {
    HINSTANCE instance = nullptr;
    bool is95Family = false;
    bool previewMode = false;
    // Set once closing is granted: from then on input no longer counts.
    bool closeAllowed = false;
    bool checkingPassword = false;
    HWND saverWindow = nullptr;
    HMODULE passwordModule = nullptr;
    VerifyPasswordProc verifyPassword = nullptr;
    HMODULE imeModule = nullptr;
    AssociateContextProc associateContext = nullptr;
    HIMC previousContext = nullptr;
    // Mouse travel is measured from here; the point moves only on a close.
    POINT referencePoint = {0, 0};
    // The largest summed horizontal and vertical travel that keeps the saver.
    std::uint32_t moveThreshold = 4;
    // Tick count when the last password check ended; all bits set: never.
    std::uint32_t lastCheckTick = 0xFFFFFFFFu;
};
extern HostState hostState;

// The host's own password request, sent to the saver window.
constexpr UINT passwordRequestMessage = WM_APP;
// Close requests this soon after a password check ends are refused unasked.
constexpr std::uint32_t passwordRepeatDelay = 200;

// The tilt of a mouse wheel to the side (WM_MOUSEHWHEEL, Windows Vista on);
// like the wheel and the side buttons, it closes the saver as a click does.
constexpr UINT horizontalWheelMessage = 0x020E;
// A key, a mouse button or a wheel turn: the input that closes the saver.
bool isClosingInput(UINT message);

// Exit code of a mode that showed nothing: an unknown letter, a preview
// handle that names no window, or a saver window that could not be made.
constexpr int nothingShownExit = -1;

// The command line.
//
// The tail after the program name (quoted or not) and the white space that
// follows it.
const char *commandTail(const char *commandLine);
// The decimal number at the start of the text; 0 when it starts otherwise.
HWND parseWindowHandle(const char *text);

enum class HostMode { Config, ConfigOwned, Saver, Preview, ChangePassword, Unknown };
struct ModeRequest {
    HostMode mode;
    HWND window;  // the handle that follows "P", "L" or "A"; else null
};
// The mode that the first significant character of the tail names.
ModeRequest scanMode(const char *tail);

// Start-up.
//
// Runs the mode that the tail names and returns the process exit code.
int dispatchMode(HINSTANCE instance, const char *tail);
// Sets is95Family from the version query.
void queryPlatform();
// Runs the mode under the fault guard. When a fault escapes it and the
// system's unhandled-exception filter chooses to handle it, the screen-saver
// state is switched off and the process ends with the fault's code.
int runGuarded(int (*mode)(const ModeRequest *request), const ModeRequest *request);

// The saver window.
//
// Full screen when parent is null, else a preview filling the parent. The
// exit code of the run.
int runSaver(HWND parent);
LRESULT CALLBACK saverWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Non-zero when the window may close now.
int verifyBeforeClose(HWND hwnd);
// The saver shows no cursor while it runs.
void hideCursor();

// The platform's screen-saver services, used on the 95 family only.
void loadPasswordVerifier();
void unloadPasswordVerifier();
void setSaverRunning(bool on);

// Code comes from the system folder only: the DLL search is narrowed to it
// before anything else runs, and the platform's modules that the host loads
// itself are named by their full path there (null when absent).
void restrictDllSearch();
HMODULE loadSystemModule(const char *name);

// The configuration and password-change modes. The dialog's result is the
// exit code: -1 when the dialog could not be made.
int showConfigDialog(HWND owner);
// Prepares the process for the configuration dialog; 1.
int registerConfigClasses(HINSTANCE instance);
void changePassword(HWND owner);
