// The 95 family's screen-saver password: the stored switch, the platform's
// verifier in PASSWORD.CPL, and the system's screen-saver-running state that
// goes with it. On the NT family the system keeps the password itself.
#include "host.h"

void setSaverRunning(bool on) {
    if (!hostState.is95Family) return;
    // The 95 family's state that, while on, keeps the system keys from
    // switching away from a password-protected saver.
    UINT previous = 0;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, on ? TRUE : FALSE, &previous, 0);
}

static bool passwordSwitchOn() {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS) return false;
    // Read as 4 bytes whatever the stored type; a shorter value leaves the
    // rest of the buffer zero, a longer one counts as unreadable.
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG status = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE *>(&value),
                                   &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && value != 0;
}

void loadPasswordVerifier() {
    if (!hostState.is95Family) return;
    if (hostState.passwordModule != nullptr) unloadPasswordVerifier();
    if (!passwordSwitchOn()) return;
    hostState.passwordModule = loadSystemModule("PASSWORD.CPL");
    if (hostState.passwordModule == nullptr) return;
    FARPROC verify = GetProcAddress(hostState.passwordModule, "VerifyScreenSavePwd");
    if (verify == nullptr) {
        unloadPasswordVerifier();
        return;
    }
    hostState.verifyPassword = reinterpret_cast<VerifyPasswordProc>(reinterpret_cast<void *>(verify));
    setSaverRunning(true);
}

void unloadPasswordVerifier() {
    if (!hostState.is95Family || hostState.passwordModule == nullptr) return;
    FreeLibrary(hostState.passwordModule);
    hostState.passwordModule = nullptr;
    if (hostState.verifyPassword != nullptr) {
        hostState.verifyPassword = nullptr;
        setSaverRunning(false);
    }
}
