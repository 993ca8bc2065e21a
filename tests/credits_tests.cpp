// Tests of the credits dialog on Wine: its real template and procedure run
// modally, clicked with real mouse input, with the seconds of its title
// given by hand; its links handed to stand-in handlers registered for
// "mailto" and "http" in the test prefix.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config_fixture.h"
#include "main/config/config.h"
#include "res/resource.h"
#include "toolbox/wtb.h"

namespace {

INT_PTR openCredits() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CREDITS), nullptr, creditsDialogProc, 0);
}

// The test gives the seconds: the dialog's own timer is stopped and its
// ticks are sent by hand.
void stopClock(HWND dialog) { KillTimer(dialog, 207); }
void tick(HWND dialog) { SendMessageA(dialog, WM_TIMER, 207, 0); }

HFONT titleFont(HWND d) { return reinterpret_cast<HFONT>(SendMessageA(item(d, IDC_CREDITS_TITLE), WM_GETFONT, 0, 0)); }

bool showsColor(HWND control, COLORREF color) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r;
    GetClientRect(control, &r);
    HDC dc = GetDC(control);
    bool found = false;
    for (int y = 0; y < r.bottom && !found; ++y)
        for (int x = 0; x < r.right && !found; ++x) found = GetPixel(dc, x, y) == color;
    ReleaseDC(control, dc);
    return found;
}

TEST(Credits, TitleStepsOnceASecondAndComesBackAfterTheLastJoke) {
    static HFONT last = nullptr;
    INT_PTR result = driveModal(openCredits, [](HWND d) {
        stopClock(d);
        EXPECT_EQ(text(d, IDC_CREDITS_VERSION), "Version 1.33");
        // Three clicks in one second: one step.
        POINT title = centreOf(item(d, IDC_CREDITS_TITLE));
        for (int i = 0; i < 3; ++i) {
            clickAt(title);
            settle(40);
        }
        tick(d);
        EXPECT_EQ(text(d, IDC_CREDITS_TITLE), "Don't do that !");
        // One click a second, on the title or the copyright line.
        const char *const next[] = {"No point.", "There is nothing here.", "Lumora", "Lumora",
                                    "All right, a last one :", "What's green and turns red ?",
                                    "A frog in a blender.", "Really the end."};
        for (const char *message : next) {
            static int n = 0;
            int id = ++n % 2 ? IDC_CREDITS_COPYRIGHT : IDC_CREDITS_TITLE;
            sendCommand(d, STN_CLICKED, reinterpret_cast<LPARAM>(item(d, id)), id);
            tick(d);
            EXPECT_EQ(text(d, IDC_CREDITS_TITLE), message);
        }
        // A font of its own every second, 18 to 25 pixels at 96 DPI; the last one gone.
        for (int second = 2; second <= 4; ++second) {
            last = titleFont(d);
            tick(d);
            EXPECT_EQ(text(d, IDC_CREDITS_TITLE), "Really the end.") << second;
            LOGFONTA f = {};
            GetObjectA(titleFont(d), sizeof f, &f);
            EXPECT_TRUE(f.lfHeight * 96 <= -18 * expectedDpi() && f.lfHeight * 96 >= -25 * expectedDpi()) << f.lfHeight;
            EXPECT_EQ(GetObjectType(last), 0u);
        }
        tick(d);
        EXPECT_EQ(text(d, IDC_CREDITS_TITLE), "Lumora");
        last = titleFont(d);  // deleted with the dialog

        clickAt(centreOf(item(d, IDC_CREDITS_VERSION)));
        settle(50);
        EXPECT_EQ(text(d, IDC_CREDITS_VERSION), "V. 1.33  May 10 2000 13:20:13");
        // A label that takes no clicks lets them through to the area
        // beneath, which closes the dialog.
        clickAt(centreOf(FindWindowExA(d, nullptr, "Static", "Thanks To :")));
        settle(100);
        EXPECT_FALSE(IsWindowVisible(d));
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(GetObjectType(last), 0u);
}

// The handler of a link kind while the scope lasts. Windows reads the
// user's classes first; Wine's classes root is the machine's alone, so its
// command there is replaced too and put back afterwards.
struct LinkHandler {
    std::string key;
    std::string saved;
    bool hadSaved = false;
    LinkHandler(const char *kind, const std::string &command)
        : key(std::string("Software\\Classes\\") + kind + "\\shell\\open\\command") {
        char old[1000];
        LONG size = sizeof old;
        hadSaved = RegQueryValueA(HKEY_LOCAL_MACHINE, key.c_str(), old, &size) == ERROR_SUCCESS;
        if (hadSaved) saved = old;
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            EXPECT_EQ(RegSetValueA(root, key.c_str(), REG_SZ, command.c_str(), 0), ERROR_SUCCESS);
    }
    ~LinkHandler() {
        if (hadSaved) RegSetValueA(HKEY_LOCAL_MACHINE, key.c_str(), REG_SZ, saved.c_str(), 0);
        std::string kind = key.substr(0, key.find("\\shell"));
        for (const std::string &path : {key, kind + "\\shell\\open", kind + "\\shell", kind})
            RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    }
};

std::vector<std::string> logLines(const std::string &path) {
    std::vector<std::string> lines;
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return lines;
    char line[4000];
    while (std::fgets(line, sizeof line, f) != nullptr) {
        std::string s = line;
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        lines.push_back(s);
    }
    std::fclose(f);
    return lines;
}

bool linesWithin(const std::string &path, size_t count, int ms) {
    for (int waited = 0; waited < ms; waited += 100) {
        if (logLines(path).size() >= count) return true;
        settle(100);
    }
    return false;
}

// The example addresses of the sources reach no one: hidden with their
// labels. A packager's addresses show.
TEST(Credits, ExampleAddressesAreHiddenAndAPackagersShown) {
    const struct { const char *address; bool reachable; } addresses[] = {
        {"mail@example.org", false}, {"https://example.org/lumora", false}, {"someone@Mail.Example.NET", false},
        {"", false}, {"lumora@kestrane.test", true}, {"mail@notexample.org", true}, {"https://example.org.kestrane.test/", true}};
    for (const auto &a : addresses) EXPECT_EQ(isReachableAddress(a.address), a.reachable) << a.address;
    driveModal(openCredits, [](HWND d) {
        for (int id : {IDC_FEEDBACK, IDC_CREDITS_MAIL_LABEL, IDC_CREDITS_WEB, IDC_CREDITS_WEB_LABEL})
            EXPECT_FALSE(IsWindowVisible(item(d, id))) << id;
        EndDialog(d, 2);
    });
}

void showAsPackaged(HWND d) {
    SetDlgItemTextA(d, IDC_FEEDBACK, "lumora@kestrane.test");
    SetDlgItemTextA(d, IDC_CREDITS_WEB, "https://kestrane.test/lumora");
    for (int id : {IDC_FEEDBACK, IDC_CREDITS_WEB}) EnableWindow(item(d, id), TRUE), ShowWindow(item(d, id), SW_SHOW);
}

TEST(Credits, LinksReachThePlatformOnceAndTurnViolet) {
    char recorder[MAX_PATH], here[MAX_PATH], windows[MAX_PATH];
    GetFullPathNameA(LUMORA_LINK_RECORDER, sizeof recorder, recorder, nullptr);
    GetCurrentDirectoryA(sizeof here, here);
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string log = std::string(here) + "\\links.log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("LUMORA_LINK_LOG", log.c_str());
    const std::string command = std::string("\"") + recorder + "\" \"%1\"";
    LinkHandler mail("mailto", command), web("https", command);

    const COLORREF blue = 0xFF0000, violet = 0xFF0080;
    driveModal(openCredits, [&](HWND d) {
        stopClock(d);
        showAsPackaged(d);
        HWND address = item(d, IDC_FEEDBACK);
        EXPECT_TRUE(showsColor(address, blue));
        // A double click opens one mail.
        POINT p = centreOf(address);
        clickAt(p);
        settle(20);
        clickAt(p);
        EXPECT_TRUE(linesWithin(log, 1, 15000));
        EXPECT_TRUE(showsColor(address, violet));
        EXPECT_FALSE(showsColor(address, blue));
        clickAt(centreOf(item(d, IDC_CREDITS_WEB)));
        EXPECT_TRUE(linesWithin(log, 2, 15000));
        settle(1000);  // time for a second mail that should not come
        EndDialog(d, 2);
    });
    std::vector<std::string> expected = {
        std::string(windows) + "|mailto:lumora@kestrane.test?subject=Lumora Feedback (V. 1.33)&body=Well, ...",
        std::string(windows) + "|https://kestrane.test/lumora"};
    EXPECT_EQ(logLines(log), expected);

    // Opened again, the used link is blue again; Escape closes it.
    INT_PTR result = driveModal(openCredits, [&](HWND d) {
        stopClock(d);
        showAsPackaged(d);
        EXPECT_TRUE(showsColor(item(d, IDC_FEEDBACK), blue));
        pressKey(VK_ESCAPE);
        settle(100);
        EXPECT_FALSE(IsWindowVisible(d));
    });
    EXPECT_EQ(result, 2);
    SetEnvironmentVariableA("LUMORA_LINK_LOG", nullptr);
}

}  // namespace
