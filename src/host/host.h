// The screen-saver host: start-up, the saver window and its close-on-input
// rules.
#pragma once

#include <windows.h>

// The host's default procedure for the saver window: closes the saver on
// input; every other message goes on to DefWindowProcA.
LRESULT WINAPI defaultSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
