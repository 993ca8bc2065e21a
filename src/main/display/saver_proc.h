// The contract between the display engine and the host that runs it: the
// engine's window procedure, and the host's default procedure to which the
// engine hands every message it does not consume.
#pragma once

#include <windows.h>

extern "C" LRESULT WINAPI ScreenSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The host's: closes the saver on input, subject to the password rules;
// everything else goes to DefWindowProcA.
LRESULT WINAPI defaultSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
