// The links of the dialogs: addresses handed to the platform, which opens
// them with the user's mail program or browser.
#include "main/config/config.h"

#include <shellapi.h>

#include <cstring>
#include <initializer_list>

#include "toolbox/tbas.h"
#include "toolbox/wtb.h"

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

// The host part of a mail or web address: after "@" or "://", up to the
// path.
static const char *addressHost(const char *address) {
    const char *at = std::strrchr(address, '@');
    const char *scheme = std::strstr(address, "://");
    const char *host = at != nullptr ? at + 1 : scheme != nullptr ? scheme + 3 : address;
    const char *slash = std::strchr(host, '/');
    return slash != nullptr ? partString(host, 0, static_cast<std::uint32_t>(slash - host) - 1) : host;
}

bool isReachableAddress(const char *address) {
    const char *host = addressHost(address);
    if (isEmptyString(host)) return false;
    std::size_t length = std::strlen(host);
    for (const char *example : {"example.org", "example.com", "example.net"}) {
        std::size_t tail = std::strlen(example);
        if (length < tail || !equalsNoCase(host + length - tail, example)) continue;
        // The domain itself or one of its subdomains.
        if (length == tail || host[length - tail - 1] == '.') return false;
    }
    return true;
}

void hideUnreachableLink(HWND dialog, int link, int label) {
    if (isReachableAddress(getItemText(dialog, link))) return;
    for (int id : {link, label}) {
        HWND control = GetDlgItem(dialog, id);
        if (control == nullptr) continue;
        EnableWindow(control, FALSE);
        ShowWindow(control, SW_HIDE);
    }
}
