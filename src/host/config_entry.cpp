// The two modes that leave the saver window aside: the configuration dialog
// and, on the 95 family, the platform's password change.
#include "host.h"

// The configuration dialog does not exist yet: the mode ends at once and
// cleanly, with nothing shown.
int showConfigDialog(HWND) { return 0; }

// Stands in for the configuration dialog's procedure until the dialog
// exists, so that the module already exports it by its name.
extern "C" INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// The platform's own password-change dialog for the screen saver; the
// provider name "SCRSAVE" selects the screen-saver password.
typedef DWORD(WINAPI *ChangePasswordProc)(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2);

void changePassword(HWND owner) {
    HMODULE provider = LoadLibraryA("MPR.DLL");
    if (provider == nullptr) return;
    FARPROC change = GetProcAddress(provider, "PwdChangePasswordA");
    if (change != nullptr)
        reinterpret_cast<ChangePasswordProc>(reinterpret_cast<void *>(change))("SCRSAVE", owner, 0, 0);
    FreeLibrary(provider);
}
