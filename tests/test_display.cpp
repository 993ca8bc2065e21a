// The recording default procedure and the stepped clock of the display tests.
#include "test_display.h"

#include "main/display/saver_proc.h"

std::vector<UINT> handedOn;
std::int64_t fakeNow = 0;

std::int64_t fakeClock() { return fakeNow; }

LRESULT WINAPI defaultSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    handedOn.push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
