// The host's default procedure. Until the close-on-input rules exist it
// passes everything to the platform's default.
#include "host.h"

LRESULT WINAPI defaultSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
