// The two modes that leave the saver window aside: the configuration dialog
// and, on the 95 family, the platform's password change.
#include "host.h"

#include "main/config/config.h"
#include "main/phrase/display_state.h"
#include "res/resource.h"

int registerConfigClasses(HINSTANCE instance) {
    // Before the dialog exists, so that its preview pane is made in
    // configuration mode from the start.
    inConfigDialog = true;
    registerPreviewClass(instance);
    return 1;
}

int showConfigDialog(HWND owner) {
    if (registerConfigClasses(hostState.instance) == 0) return 0;
    return static_cast<int>(
        DialogBoxParamA(hostState.instance, MAKEINTRESOURCEA(IDD_CONFIG), owner, ScreenSaverConfigureDialog, 0));
}

// The platform's own password-change dialog for the screen saver; the
// provider name "SCRSAVE" selects the screen-saver password.
typedef DWORD(WINAPI *ChangePasswordProc)(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2);

void changePassword(HWND owner) {
    HMODULE provider = loadSystemModule("MPR.DLL");
    if (provider == nullptr) return;
    FARPROC change = GetProcAddress(provider, "PwdChangePasswordA");
    if (change != nullptr)
        reinterpret_cast<ChangePasswordProc>(reinterpret_cast<void *>(change))("SCRSAVE", owner, 0, 0);
    FreeLibrary(provider);
}
