// Start-up: the platform family, and the mode that the command tail names
// turned into the process exit code.
#include "host.h"

#include "toolbox/wtb.h"

HostState hostState;

void queryPlatform() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148 bytes
    hostState.is95Family = GetVersionExA(&version) != 0 && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

static bool isWindowHandle(HWND window) { return window != nullptr && IsWindow(window); }

static int runMode(const ModeRequest *request) {
    switch (request->mode) {
    case HostMode::Config:
        return showConfigDialog(nullptr);
    case HostMode::ConfigOwned:
        return showConfigDialog(GetForegroundWindow());
    case HostMode::Saver:
        return runSaver(nullptr);
    case HostMode::Preview:
        if (!isWindowHandle(request->window)) return nothingShownExit;
        return runSaver(request->window);
    case HostMode::ChangePassword:
        // The screen-saver password is a 95-family service only.
        if (!hostState.is95Family) return nothingShownExit;
        changePassword(isWindowHandle(request->window) ? request->window : GetForegroundWindow());
        return 0;
    case HostMode::Unknown:
    default:
        return nothingShownExit;
    }
}

int dispatchMode(HINSTANCE instance, const char *tail) {
    hostState.instance = instance;
    queryPlatform();
    chooseTextLanguage();
    ModeRequest request = scanMode(tail);
    return runGuarded(runMode, &request);
}
