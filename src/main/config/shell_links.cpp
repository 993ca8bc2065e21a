// The links of the dialogs: addresses handed to the platform, which opens
// them with the user's mail program or browser.
#include "main/config/config.h"

#include <shellapi.h>

#include "toolbox/tbas.h"

// The Windows folder, where the opened program starts; "." when it cannot be
// had. Fetched once.
static const char *shellWorkingDir() {
    static char folder[1025] = "";
    if (folder[0] == '\0') {
        UINT length = GetWindowsDirectoryA(folder, sizeof folder);
        if (length == 0 || length > sizeof folder) copyString(folder, ".", sizeof folder);
    }
    return folder;
}

void openLink(const char *target) {
    ShellExecuteA(nullptr, "open", target, nullptr, shellWorkingDir(), SW_SHOWNORMAL);
}

void openFeedbackMail(const char *address) {
    openLink(poolFormat("mailto:%s?subject=Lumora Feedback (V. 1.33)&body=Well, ...", address));
}
