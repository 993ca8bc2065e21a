// Tests of the configuration dialog on Wine: the real template and procedure
// opened as the host opens it, driven through real controls and focus
// changes from inside its own modal loop, and read back from the settings
// and the real registry.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "config_fixture.h"
#include "main/config/config.h"
#include "main/phrase/phrase.h"
#include "main/settings/settings.h"
#include "res/resource.h"
#include "test_files.h"
#include "toolbox/tbas.h"
#include "toolbox/wkrnl.h"
#include "toolbox/wtb.h"

namespace {

// Every value of the settings key, with its bytes.
std::string storedKey() {
    std::string all;
    for (const std::string &name : rawValueNames(settingsKey)) all += name + "=" + readRaw(settingsKey, name.c_str()) + ";";
    return all;
}

std::string recentFiles() {
    return std::string(settings.RecentPhraseFn1) + "|" + settings.RecentPhraseFn2 + "|" + settings.RecentPhraseFn3 +
           "|" + settings.RecentPhraseFn4;
}

TEST_F(ConfigTest, TypedNumbersAreCheckedAndOkStoresThem) {
    writeRegDword(HKEY_CURRENT_USER, settingsKey, "PhraseInterval", 1234);
    int result = runDialog([](HWND d) {
        // A field left as it was shown keeps its stored value, unrounded.
        enter(d, IDC_CLEAR_INTERVAL, "2000");
        EXPECT_EQ(text(d, IDC_PHRASE_INTERVAL), "1.23");
        EXPECT_EQ(settings.PhraseInterval, 1234);
        EXPECT_EQ(settings.ClearInterval, 0);
        const struct { const char *typed; int ms; } intervals[] = {
            {"0.5", 500}, {"0.001", 1000}, {"letters", 1000}, {"2.01", 2010}, {"1e10", 1000},
            {"0.25", 250}, {"nan", 1000}, {"0.75", 750}, {"-inf", 1000}, {"0.5", 500}};
        for (const auto &c : intervals) {
            enter(d, IDC_PHRASE_INTERVAL, c.typed);
            EXPECT_EQ(settings.PhraseInterval, c.ms) << c.typed;
        }
        enter(d, IDC_MAX_TILT, "400");
        enter(d, IDC_SHADOW_SIZE, "99");
        enter(d, IDC_READING_TIME, "5");
        EXPECT_EQ(text(d, IDC_SHADOW_SIZE), "15");
        click(d, IDOK);
    });
    EXPECT_EQ(result, 1);
    const struct { const char *name; DWORD value; } stored[] = {
        {"PhraseInterval", 500}, {"ClearInterval", 0}, {"MaxTiltDegrees", 40}, {"ShadowSize", 15},
        {"ReadingTimePerChar", 50}};
    for (const auto &s : stored) EXPECT_EQ(readRegDword(HKEY_CURRENT_USER, settingsKey, s.name, 7), s.value) << s.name;
}

TEST_F(ConfigTest, AReplacedEntrySaysWhyUntilTheNextKeyOrClick) {
    runDialog([](HWND d) {
        const struct { int id; const char *typed, *shown, *range; } cases[] = {
            {IDC_PHRASE_INTERVAL, "abc", "1.00", "0.01 to 1000 seconds"},
            {IDC_CLEAR_INTERVAL, "2000", "0.00", "0 to 1000 seconds; 0 means never"},
            {IDC_MAX_TILT, "400", "40", "0 to 359 degrees; a larger angle goes on round the circle"},
            {IDC_SHADOW_SIZE, "99", "15", "0 to 15 pixels"}, {IDC_PHRASE_INTERVAL, "2.5", "2.50", ""}};
        for (const auto &c : cases) {
            enter(d, c.id, c.typed);
            EXPECT_EQ(text(d, c.id), c.shown);  // what its title names
            EXPECT_EQ(correctionText(d, c.id), c.range);
            pressKey(VK_SHIFT);
            settle(50);
            EXPECT_EQ(correctionText(d, c.id), "") << "a key, after " << c.typed;
        }
        enter(d, IDC_SHADOW_SIZE, "99");
        clickAt(centreOf(item(d, IDC_MAX_TILT)));
        settle(50);
        EXPECT_EQ(correctionText(d, IDC_SHADOW_SIZE), "") << "a click";
        click(d, IDOK);
    });
    EXPECT_EQ(settings.PhraseInterval, 2500);
}

// Untouched fields keep stored values only within their ranges.
TEST_F(ConfigTest, StoredValuesOutOfRangeAreHeldToTheFieldsRanges) {
    const struct { const char *name; DWORD stored, kept; } values[] = {
        {"PhraseInterval", 0, 1000}, {"ClearInterval", 1234, 1234}, {"MaxTiltDegrees", 400, 40},
        {"ShadowSize", 50, 15}, {"ReadingTimePerChar", 5, 50}};
    for (const auto &v : values) writeRegDword(HKEY_CURRENT_USER, settingsKey, v.name, v.stored);
    EXPECT_EQ(runDialog([](HWND d) { click(d, IDOK); }), 1);
    for (const auto &v : values) EXPECT_EQ(readRegDword(HKEY_CURRENT_USER, settingsKey, v.name, 7), v.kept) << v.name;
}

TEST_F(ConfigTest, ControlsFollowTheShadowStyleAndTheKindOfFile) {
    runDialog([](HWND d) {
        EXPECT_EQ(text(d, IDC_FILE_STATUS), "words.txt is a single-line file");
        EXPECT_TRUE(IsWindowEnabled(item(d, IDC_SHADOW_SIZE)));
        // Home on the style list selects "No Shadow"; the field goes at once.
        SetFocus(item(d, IDC_SHADOW_STYLE));
        SendMessageA(item(d, IDC_SHADOW_STYLE), WM_KEYDOWN, VK_HOME, 0);
        settle(50);
        EXPECT_STREQ(settings.ShadowStyle, "No Shadow");
        EXPECT_FALSE(IsWindowEnabled(item(d, IDC_SHADOW_SIZE)));
        enter(d, IDC_PHRASE_FILE, "passages.txt");
        EXPECT_EQ(text(d, IDC_FILE_STATUS), "passages.txt is a multi-line file");
        for (int id : {IDC_PHRASE_INTERVAL, IDC_CLEAR_INTERVAL, IDC_MAX_TILT, IDC_SHADOW_STYLE, IDC_SINGLE_LINE_FONTS})
            EXPECT_FALSE(IsWindowEnabled(item(d, id))) << id;
        EXPECT_TRUE(IsWindowEnabled(item(d, IDC_READING_TIME)));
        EXPECT_TRUE(IsWindowEnabled(item(d, IDC_MULTI_LINE_FONTS)));
        click(d, IDCANCEL);
    });
}

// Run by host_e2e.sh under a German locale; under any other it has nothing
// to check.
TEST_F(ConfigTest, GermanTextsInDialogHelpAndDrawnErrors) {
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) != LANG_GERMAN) GTEST_SKIP() << "not a German locale";
    writeRegString(HKEY_CURRENT_USER, settingsKey, "PhraseFn", "nowhere.txt");
    runDialog([](HWND d) {
        EXPECT_NE(FindWindowExA(d, nullptr, "Button", "Textdatei"), nullptr);
        EXPECT_EQ(text(d, IDCANCEL), "Abbre&chen");
        EXPECT_EQ(text(d, IDC_FILE_STATUS), "nowhere.txt nicht gefunden");
        SetFocus(item(d, IDC_PHRASE_FILE));
        SetCursorPos(centreOf(item(d, IDC_PHRASE_FILE)).x, centreOf(item(d, IDC_PHRASE_FILE)).y);
        pressKey(VK_F1);
        settle(200);
        EXPECT_EQ(std::string(getWindowText(FindWindowA("XTooltipWndClass", nullptr))).rfind("Name der Textdatei.", 0), 0u);
        // Numbers as German writes them; the point is taken too.
        EXPECT_EQ(text(d, IDC_PHRASE_INTERVAL), "1,00");
        for (const char *typed : {"0.25", "0,5"}) enter(d, IDC_PHRASE_INTERVAL, typed);
        EXPECT_EQ(text(d, IDC_PHRASE_INTERVAL), "0,50");
        enter(d, IDC_CLEAR_INTERVAL, "abc");
        EXPECT_EQ(text(d, IDC_CLEAR_INTERVAL), "0,00");
        EXPECT_EQ(correctionText(d, IDC_CLEAR_INTERVAL).rfind("0 bis 1000 Sekunden; 0 hei", 0), 0u);
        click(d, IDOK);
    });
    EXPECT_EQ(readRegDword(HKEY_CURRENT_USER, settingsKey, "PhraseInterval", 7), 500u);
    copyString(settings.PhraseFn, "nowhere.txt", sizeof settings.PhraseFn);
    closePhraseFile();
    EXPECT_STREQ(fetchPhrase(randomRequest), "\"nowhere.txt\" nicht gefunden");
}

TEST_F(ConfigTest, StatusLineAndRecentFiles) {
    std::string long40 = std::string(36, 'L') + ".txt", fits36 = std::string(32, 'S') + ".txt";
    writeTestFile(folder + "\\" + long40, "x\n");
    writeTestFile(folder + "\\" + fits36, "x\n");
    writeTestFile(folder + "\\chosen.txt", "x\n");
    writeRegString(HKEY_CURRENT_USER, settingsKey, "PhraseFn", "nowhere.txt");
    writeRegString(HKEY_CURRENT_USER, settingsKey, "RecentPhraseFn1", "words.txt");
    writeRegString(HKEY_CURRENT_USER, settingsKey, "RecentPhraseFn2", "gone.txt");
    writeRegString(HKEY_CURRENT_USER, settingsKey, "RecentPhraseFn3", "passages.txt");
    DeleteFileA((folder + "\\gone.txt").c_str());
    runDialog([&](HWND d) {
        EXPECT_EQ(text(d, IDC_FILE_STATUS), "nowhere.txt not found");
        SetFocus(item(d, IDC_PHRASE_FILE));  // F1 in the combo's edit field is help on the combo
        SetCursorPos(centreOf(item(d, IDC_PHRASE_FILE)).x, centreOf(item(d, IDC_PHRASE_FILE)).y);
        pressKey(VK_F1);
        settle(200);
        EXPECT_STREQ(getWindowText(FindWindowA("XTooltipWndClass", nullptr)), tooltipTextFor(IDC_PHRASE_FILE));
        enter(d, IDC_PHRASE_FILE, long40);
        EXPECT_EQ(text(d, IDC_FILE_STATUS), "..." + long40.substr(8) + " is a single-line file");
        EXPECT_EQ(recentFiles(), "words.txt|passages.txt||");
        enter(d, IDC_PHRASE_FILE, fits36);
        EXPECT_EQ(text(d, IDC_FILE_STATUS), fits36 + " is a single-line file");
        // A missing name, or a device's, gives way to the first one of the
        // list that opens.
        enter(d, IDC_PHRASE_FILE, "aux.txt");
        EXPECT_STREQ(settings.PhraseFn, fits36.c_str());
        enter(d, IDC_PHRASE_FILE, "missing.txt");
        EXPECT_STREQ(settings.PhraseFn, fits36.c_str());
        enter(d, IDC_PHRASE_FILE, "words.txt");
        EXPECT_EQ(recentFiles(), fits36 + "|" + long40 + "|passages.txt|");
        enter(d, IDC_PHRASE_FILE, "e1.txt");
        enter(d, IDC_PHRASE_FILE, "e2.txt");
        EXPECT_EQ(recentFiles(), "e1.txt|words.txt|" + fits36 + "|" + long40);
        answerDialog("Select new single-line or multi-line file", [](HWND files) {
            for (int box : {1148, 1152}) SetDlgItemTextA(files, box, "C:\\windows\\");  // browses there
            for (WPARAM command : {IDOK, IDCANCEL}) PostMessageA(files, WM_COMMAND, command, 0);
        });
        click(d, IDC_SELECT_FILE);
        EXPECT_NE(GetFileAttributesA("e1.txt"), INVALID_FILE_ATTRIBUTES) << "after Cancel";
        // Chosen through the file dialog inside the install folder: relative.
        answerDialog("Select new single-line or multi-line file", [](HWND files) {
            SetDlgItemTextA(files, 1148, "chosen.txt");  // the file name box of either layout
            SetDlgItemTextA(files, 1152, "chosen.txt");
            PostMessageA(files, WM_COMMAND, IDOK, 0);
        });
        click(d, IDC_SELECT_FILE);
        EXPECT_STREQ(settings.PhraseFn, "chosen.txt");
        click(d, IDOK);
    });
    EXPECT_EQ(readRaw(settingsKey, "PhraseFn"), std::string("chosen.txt", 11));
    EXPECT_EQ(readRaw(settingsKey, "RecentPhraseFn1"), std::string("e2.txt", 7));
}

// Down applies each name in turn; the list keeps its order under the keys.
TEST_F(ConfigTest, DownReachesEveryRecentFile) {
    writeRegString(HKEY_CURRENT_USER, settingsKey, "RecentPhraseFn1", "e1.txt");
    writeRegString(HKEY_CURRENT_USER, settingsKey, "RecentPhraseFn2", "e2.txt");
    writeRegString(HKEY_CURRENT_USER, settingsKey, "RecentPhraseFn3", "passages.txt");
    runDialog([](HWND d) {
        SetFocus(item(d, IDC_PHRASE_FILE));
        for (int i = 0; i < 3; ++i) pressKey(VK_DOWN);
        settle(300);
        click(d, IDOK);
    });
    EXPECT_EQ(recentFiles(), "words.txt|e1.txt|e2.txt|");
}

// Names typed in other scripts, their characters going through the dialog's
// own loop, are found, shown, kept and stored as typed.
TEST_F(ConfigTest, NamesTypedInAnyScriptArriveIntact) {
    const std::wstring typed[] = {L"Łódź Жизнь.txt", L"Жизнь 中文\\词.txt"};
    const std::string names[] = {u8"Łódź Жизнь.txt", u8"Жизнь 中文\\词.txt"};
    CreateDirectoryA((folder + u8"\\Жизнь 中文").c_str(), nullptr);
    for (const std::string &name : names) writeTestFile(folder + "\\" + name, "x\n");
    runDialog([&](HWND d) {
        for (int i = 0; i < 2; ++i) {
            SetFocus(item(d, IDC_PHRASE_FILE));
            settle(30);
            for (wchar_t c : typed[i]) PostMessageW(GetFocus(), WM_CHAR, c, 1);
            settle(100);
            SetFocus(item(d, IDC_SELECT_FILE));
            settle(100);
            EXPECT_STREQ(settings.PhraseFn, names[i].c_str());
            EXPECT_EQ(text(d, IDC_FILE_STATUS), names[i] + " is a single-line file");
        }
        EXPECT_STREQ(settings.RecentPhraseFn1, names[0].c_str());
        click(d, IDOK);
    });
    EXPECT_EQ(readRaw(settingsKey, "PhraseFn"), names[1] + '\0');
}

TEST_F(ConfigTest, CancelWritesNothingAndThePreviewRunsAndStays) {
    runDialog([](HWND d) { click(d, IDOK); });
    std::string before = storedKey();
    int result = runDialog([](HWND d) {
        enter(d, IDC_PHRASE_INTERVAL, "7");
        enter(d, IDC_PHRASE_FILE, "passages.txt");
        // The preview draws, and clicking it never ends the dialog.
        HWND preview = item(d, IDC_PREVIEW);
        clickAt(centreOf(preview));
        settle(1500);
        EXPECT_TRUE(IsWindowVisible(d));
        EXPECT_EQ(GetFocus(), preview);
        HDC screen = GetDC(preview);
        int lit = 0;
        RECT r;
        GetClientRect(preview, &r);
        for (int y = 0; y < r.bottom; y += 2)
            for (int x = 0; x < r.right; x += 2) lit += GetPixel(screen, x, y) != 0;
        ReleaseDC(preview, screen);
        EXPECT_GT(lit, 20);
        for (WORD key : std::initializer_list<WORD>{VK_DOWN, 'C', 'O', 'S', 'L', 'D', VK_F2}) pressKey(key);
        settle(500);  // the arrows, letters and F2 were the preview's, and the dialog shows the switch
        EXPECT_EQ(text(d, IDC_FILE_STATUS), "words.txt is a single-line file");
        enter(d, IDC_PHRASE_INTERVAL, "8");
        EXPECT_STREQ(settings.PhraseFn, "words.txt");
        click(d, IDCANCEL);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(storedKey(), before);
}

// The dialog lies inside the work area with every control inside it, also
// at the display scaling that LUMORA_EXPECT_DPI names.
TEST_F(ConfigTest, EveryControlFitsTheScreen) {
    char expected[16] = "";
    if (GetEnvironmentVariableA("LUMORA_EXPECT_DPI", expected, sizeof expected) > 0) {
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), std::atoi(expected));
        ReleaseDC(nullptr, screen);
    }
    runDialog([](HWND d) {
        RECT work, outer, client;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(d, &outer);
        EXPECT_TRUE(outer.left >= work.left && outer.top >= work.top && outer.right <= work.right &&
                    outer.bottom <= work.bottom);
        GetClientRect(d, &client);
        for (HWND c = GetWindow(d, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            if (!IsWindowVisible(c)) continue;
            RECT r;
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, d, reinterpret_cast<POINT *>(&r), 2);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
                << GetDlgCtrlID(c);
        }
        click(d, IDCANCEL);
    });
}

// The module named JUL greets in Danish and shows no credits or addresses.
// The test program runs a copy of itself under that name.
TEST_F(ConfigTest, AProgramNamedJulGreetsInDanish) {
    if (GetEnvironmentVariableA("LUMORA_JUL_CHILD", nullptr, 0) != 0) {
        runDialog([](HWND d) {
            wchar_t caption[100];
            GetWindowTextW(d, caption, 100);
            EXPECT_STREQ(caption, L"Gl\u00E6delig jul og godt nyt\u00E5r !");
            for (int id : {IDC_CREDITS, IDC_COPYRIGHT, IDC_FEEDBACK}) EXPECT_FALSE(IsWindowVisible(item(d, id))) << id;
            click(d, IDCANCEL);
        });
        return;
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    ASSERT_TRUE(CopyFileA(self, "JUL.EXE", FALSE));
    SetEnvironmentVariableA("LUMORA_JUL_CHILD", "1");
    char command[] = "JUL.EXE --gtest_filter=ConfigTest.AProgramNamedJulGreetsInDanish";
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION child;
    ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &child));
    SetEnvironmentVariableA("LUMORA_JUL_CHILD", nullptr);
    ASSERT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    DeleteFileA("JUL.EXE");
    EXPECT_EQ(code, 0u);
}

}  // namespace

namespace {

// Every label, button, check box and field shows its whole text with a
// tenth of its width to spare, beside what the control draws itself (edges,
// a box's square, a group's line, margins). Labels two lines high may wrap.
void expectTextsFit(HWND d, const std::string &dialog) {
    for (HWND c = GetWindow(d, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        std::string shown = getWindowText(c), cls = getClassName(c), text;
        LONG style = GetWindowLongA(c, GWL_STYLE), kind = style & 0xF, dpi = expectedDpi(), margins = 0;
        bool label = cls == "Static" && (kind <= SS_RIGHT || kind == SS_LEFTNOWORDWRAP), button = cls == "Button";
        if (cls == "Edit") margins = LOWORD(SendMessageA(c, EM_GETMARGINS, 0, 0)) * 2;
        if (!IsWindowVisible(c) || !(label || button || cls == "Edit")) continue;
        for (size_t i = 0; i < shown.size(); ++i) text += shown[shown[i] == '&' && i + 1 < shown.size() ? ++i : i];
        RECT box, need;
        GetClientRect(c, &box);
        int room = box.right - margins - (!button ? 0 : kind <= BS_DEFPUSHBUTTON ? 8 : kind == BS_GROUPBOX ? 16 : 18) * dpi / 96;
        need = {0, 0, room * 10 / 11, 0};
        SIZE size;
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(c, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ReleaseDC(c, (SelectObject(dc, old), dc));
        std::string where = dialog + ", control " + std::to_string(GetDlgCtrlID(c)) + " \"" + text + "\"";
        if (label && box.bottom >= 2 * size.cy) { EXPECT_LE(need.bottom, box.bottom) << where; }
        else if (!text.empty()) { EXPECT_LE(size.cx + size.cx / 10, room) << where << ": " << size.cx << " pixels"; }
    }
}

// Every dialog in turn, the hidden texts shown; the font dialog on its
// longest font name. Run at 96 and 192 DPI in both languages
// (config_dpi.sh, host_e2e.sh).
TEST_F(ConfigTest, EveryTextFitsItsControlInEveryDialog) {
    runDialog([](HWND d) { expectTextsFit(d, "configuration"), click(d, IDCANCEL); });
    const struct { int resource; DLGPROC procedure; List *fonts; } dialogs[] = {
        {IDD_COLORS, colorsDialogProc, nullptr}, {IDD_SAVE_SCHEME, saveSchemeDialogProc, nullptr},
        {IDD_FONTS, fontsDialogProc, singleLineFonts}, {IDD_FONTS, fontsDialogProc, multiLineFonts},
        {IDD_CREDITS, creditsDialogProc, nullptr}};
    for (const auto &t : dialogs) {
        fontListToEdit = t.fonts;
        auto open = [&t] { return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(t.resource), nullptr, t.procedure, 0); };
        driveModal(open, [](HWND d) {
            KillTimer(d, 207);
            for (int id : {IDC_SMOOTHING_TIP, IDC_SMOOTHING_TIP_1, IDC_SMOOTHING_TIP_2, IDC_SMOOTHING_TIP_3, IDC_FEEDBACK,
                           IDC_CREDITS_MAIL_LABEL, IDC_CREDITS_WEB, IDC_CREDITS_WEB_LABEL})
                if (item(d, id) != nullptr) ShowWindow(item(d, id), SW_SHOW);
            HWND list = item(d, IDC_FONT_LIST);
            for (LRESULT i = 0, most = 0; list != nullptr && i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i)
                if (SendMessageA(list, LB_GETTEXTLEN, i, 0) > most)
                    most = SendMessageA(list, LB_GETTEXTLEN, i, 0), SendMessageA(list, LB_SETCARETINDEX, i, FALSE);
            if (list != nullptr) sendCommand(d, LBN_SELCHANGE, reinterpret_cast<LPARAM>(list), IDC_FONT_LIST);
            settle(50);
            expectTextsFit(d, getWindowText(d));
            EndDialog(d, 2);
        });
    }
}

}  // namespace
