// Tests of the colours and font dialogs on Wine: the real templates and
// procedures, real controls and message boxes, the real registry.
#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "config_fixture.h"
#include "main/config/config.h"
#include "main/settings/settings.h"
#include "res/resource.h"
#include "test_registry.h"
#include "toolbox/lst.h"
#include "toolbox/tbas.h"
#include "toolbox/wkrnl.h"
#include "toolbox/wtb.h"

namespace {

int openDialog(int resource, DLGPROC procedure) {
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), nullptr, procedure, 0));
}
int openColors() { return openDialog(IDD_COLORS, colorsDialogProc); }
int openFonts() { return openDialog(IDD_FONTS, fontsDialogProc); }

struct ColorsTest : SettingsTest {
    std::FILE *messages = nullptr;
    void SetUp() override {
        SettingsTest::SetUp();
        loadSettings(nullptr);
        messages = std::tmpfile();
        messageSettings.logStream = messages;
    }
    void TearDown() override {
        messageSettings.logStream = nullptr;
        std::fclose(messages);
        SettingsTest::TearDown();
    }
    std::string shown() {
        std::string all(20000, '\0');
        std::rewind(messages);
        all.resize(std::fread(&all[0], 1, all.size(), messages));
        return all;
    }
};

// Saves the current values under a name typed into the save dialog; the
// proposal the dialog made comes back.
std::string saveAs(HWND d, const std::string &name) {
    static std::string proposed, typed;
    typed = name;
    answerDialog(loadText(IDS_SAVE_SCHEME_CAPTION), [](HWND save) {
        proposed = text(save, IDC_SCHEME_NAME);
        SetDlgItemTextA(save, IDC_SCHEME_NAME, typed.c_str());
        PostMessageA(save, WM_COMMAND, IDOK, 0);
    });
    click(d, IDC_SAVE_SCHEME);
    return proposed;
}

void chooseScheme(HWND d, const char *name) {
    HWND combo = item(d, IDC_COLOR_SCHEME);
    LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_COLOR_SCHEME, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

TEST_F(ColorsTest, FieldsAreClampedAndCancelRestoresEverything) {
    int result = driveModal(openColors, [](HWND d) {
        enter(d, IDC_MAX_BRIGHTNESS, "120", IDOK);
        EXPECT_EQ(settings.MaxBrightness, 100);
        EXPECT_EQ(correctionText(d, IDC_MAX_BRIGHTNESS), "0 to 100 %");  // why it shows 100
        enter(d, IDC_MIN_BRIGHTNESS, "80", IDOK);
        enter(d, IDC_MAX_BRIGHTNESS, "20", IDOK);
        EXPECT_EQ(settings.MinBrightness, 20);
        EXPECT_EQ(settings.MaxBrightness, 80);
        const struct { const char *typed; double stored; } contrasts[] = {
            {"-5", 0}, {"50", 50}, {"letters", 0}, {"1e999", 100}, {"nan", 0}, {"inf", 100}};
        for (const auto &c : contrasts) {
            enter(d, IDC_MIN_CONTRAST, c.typed, IDOK);
            EXPECT_EQ(settings.MinTextcolorContrast, c.stored) << c.typed;
        }
        chooseScheme(d, "Color On Black");
        enter(d, IDC_MIN_SATURATION, "33.333", IDOK);
        // Passing through the fields keeps the value and the scheme name.
        chooseScheme(d, "Color On Black");
        enter(d, IDC_MIN_SATURATION, "33.333", IDOK);
        SetFocus(item(d, IDC_MIN_SATURATION));
        SetFocus(item(d, IDC_MAX_SATURATION));
        SetFocus(item(d, IDOK));
        settle(30);
        EXPECT_EQ(settings.MinSaturation, 33.333);
        EXPECT_EQ(text(d, IDC_MIN_SATURATION), "33.33");
        EXPECT_STREQ(settings.CurrentColorScheme, "(Unnamed)");
        EXPECT_FALSE(IsWindowEnabled(item(d, IDC_DELETE_SCHEME)));
        chooseScheme(d, "Gray On White");
        EXPECT_EQ(settings.BackgroundColor, 0xFFFFFFu);
        click(d, IDCANCEL);
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(settings.MinBrightness, 50);
    EXPECT_EQ(settings.MaxBrightness, 75);
    EXPECT_EQ(settings.MinSaturation, 75);
    EXPECT_EQ(settings.MinTextcolorContrast, 0);
    EXPECT_EQ(settings.BackgroundColor, 0u);
    EXPECT_STREQ(settings.CurrentColorScheme, "Color On Black");

    // Enter presses OK without leaving the field: its text is taken all the same.
    result = driveModal(openColors, [](HWND d) {
        SetFocus(item(d, IDC_MIN_BRIGHTNESS));
        SetDlgItemTextA(d, IDC_MIN_BRIGHTNESS, "10");
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
        settle(100);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(settings.MinBrightness, 10);
}

// Run by host_e2e.sh under a German locale: the built-in schemes and
// "(Unnamed)" in German, stored under their English names, and refused as
// names in either language; numbers with a decimal comma.
TEST_F(ColorsTest, GermanSchemeNamesAndNumbers) {
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) != LANG_GERMAN) GTEST_SKIP() << "not a German locale";
    driveModal(openColors, [this](HWND d) {
        EXPECT_EQ(text(d, IDC_COLOR_SCHEME), "Farbe auf Schwarz");
        chooseScheme(d, "Farbe auf Hellgrau");
        EXPECT_STREQ(settings.CurrentColorScheme, "Color On Light Gray");
        enter(d, IDC_MIN_SATURATION, "33,5", IDOK);
        EXPECT_EQ(settings.MinSaturation, 33.5);
        EXPECT_EQ(text(d, IDC_MIN_SATURATION) + text(d, IDC_COLOR_SCHEME), "33,50(Unbenannt)");
        chooseScheme(d, "Farbe auf Schwarz");
        EXPECT_EQ(saveAs(d, "farbe auf schwarz"), "Kopie von Farbe auf Schwarz");
        EXPECT_NE(shown().find("\"farbe auf schwarz\""), std::string::npos);
        EXPECT_EQ(rawValueNames(colorSchemesKey).size(), 0u);
        click(d, IDOK);
    });
    EXPECT_STREQ(settings.CurrentColorScheme, "Color On Black");
}

// Help requests of the dialogs reach the configuration dialog, which shows them.
TEST_F(ConfigTest, TheSchemeNameHasHelpOfItsOwn) {
    static std::string help;
    runDialog([](HWND config) {
        answerDialog("Colors", [](HWND d) {
            answerDialog("Save color scheme", [](HWND save) {
                HWND name = item(save, IDC_SCHEME_NAME);
                SetFocus(name);
                SetCursorPos(centreOf(name).x, centreOf(name).y);
                pressKey(VK_F1);
                settle(200);
                help = getWindowText(FindWindowA("XTooltipWndClass", nullptr));
                PostMessageA(save, WM_COMMAND, IDCANCEL, 0);
            });
            click(d, IDC_SAVE_SCHEME);
            click(d, IDCANCEL);
        });
        click(config, IDC_COLORS);
        click(config, IDCANCEL);
    });
    EXPECT_EQ(help, tooltipTextFor(IDC_SCHEME_NAME));
    EXPECT_NE(help.find("260 characters are refused"), std::string::npos);
}

TEST_F(ColorsTest, SchemesAreSavedCheckedAndDeletedAtOnce) {
    driveModal(openColors, [this](HWND d) {
        EXPECT_EQ(saveAs(d, "  color on black  "), "Copy of Color On Black");
        saveAs(d, "red/green");
        saveAs(d, "   ");
        saveAs(d, std::string(261, 'n'));
        saveAs(d, "Farbe auf Gelb");  // a built-in name in the other language
        std::string refusals = shown();
        EXPECT_NE(refusals.find("\"Farbe auf Gelb\"\n\ncannot be used because it is the name"), std::string::npos);
        EXPECT_NE(refusals.find("Save color scheme : The name \"color on black\"\n\ncannot be used because it is the "
                                "name\nof a built-in color scheme."), std::string::npos);
        EXPECT_NE(refusals.find("Save color scheme : The name \"red/green\"\n\ncannot be used because it contains\n"
                                "either '/' or '\\'."), std::string::npos);
        EXPECT_NE(refusals.find("Save color scheme : You must enter a name for the color scheme."), std::string::npos);
        EXPECT_NE(refusals.find("cannot be used because it is longer\nthan 260 characters."), std::string::npos);
        EXPECT_EQ(rawValueNames(colorSchemesKey).size(), 0u);

        // A user scheme whose name begins with a built-in one's.
        enter(d, IDC_MAX_BRIGHTNESS, "90", IDOK);
        EXPECT_EQ(saveAs(d, "Color On Black 2"), "");
        chooseScheme(d, "Color On Black");
        EXPECT_EQ(text(d, IDC_COLOR_SCHEME), "Color On Black");
        EXPECT_FALSE(IsWindowEnabled(item(d, IDC_DELETE_SCHEME)));
        saveAs(d, " Mine ");
        enter(d, IDC_MIN_CONTRAST, "7", IDOK);
        saveAs(d, "MINE");  // replaces it without asking
        EXPECT_EQ(text(d, IDC_COLOR_SCHEME), "MINE");
        EXPECT_TRUE(IsWindowEnabled(item(d, IDC_DELETE_SCHEME)));
        EXPECT_EQ(readRaw(colorSchemesKey, "MINE").substr(0, 9), "50.000000");
        EXPECT_EQ(rawValueNames(colorSchemesKey).size(), 2u);

        messageSettings.boxesEnabled = true;
        answerDialog("Delete color scheme ?", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
        click(d, IDC_DELETE_SCHEME);
        messageSettings.boxesEnabled = false;
        EXPECT_EQ(readRaw(colorSchemesKey, "MINE"), "<missing>");
        EXPECT_STREQ(settings.CurrentColorScheme, "(Unnamed)");
        click(d, IDCANCEL);
    });
    // Cancel reverts the name only; the saved scheme stays stored.
    EXPECT_STREQ(settings.CurrentColorScheme, "Color On Black");
    EXPECT_NE(readRaw(colorSchemesKey, "Color On Black 2"), "<missing>");
    // Unless the scheme it reverts to was deleted.
    applyColorScheme("Color On Black 2");
    messageSettings.boxesEnabled = true;
    driveModal(openColors, [](HWND d) {
        answerDialog("Delete color scheme ?", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
        click(d, IDC_DELETE_SCHEME);
        click(d, IDCANCEL);
    });
    messageSettings.boxesEnabled = false;
    EXPECT_STREQ(settings.CurrentColorScheme, "(Unnamed)");
}

// The swatch opens the platform's colour picker; the colour typed into it
// becomes the background, unnamed, and the same colour again changes nothing.
TEST_F(ColorsTest, TheSwatchOpensThePlatformsColourPicker) {
    int result = driveModal(openColors, [](HWND d) {
        for (const char *scheme : {"Color On Black", "Color On White"}) {
            chooseScheme(d, scheme);
            answerDialog("Color", [](HWND picker) {
                for (int id : {706, 707, 708}) SetDlgItemTextA(picker, id, "255");  // red, green, blue
                PostMessageA(picker, WM_COMMAND, IDOK, 0);
            });
            clickAt(centreOf(item(d, IDC_BACKGROUND_SWATCH)));
            settle(500);
            EXPECT_EQ(settings.BackgroundColor, 0xFFFFFFu);
        }
        EXPECT_STREQ(settings.CurrentColorScheme, "Color On White");
        click(d, IDOK);
    });
    EXPECT_EQ(result, 1);
}

struct FontsTest : SettingsTest {
    void SetUp() override {
        SettingsTest::SetUp();
        loadSettings(nullptr);
        fontListToEdit = singleLineFonts;
    }
};

TEST_F(FontsTest, SizesAreClampedAndOnlyInstalledSelectedFontsAreStored) {
    const struct { const char *low, *high; int storedLow, storedHigh; } sizes[] = {
        {"3", "2", 5, 5}, {"150", "1000", 100, 500}, {"20", "10", 20, 20}};
    for (const auto &c : sizes) {
        int result = driveModal(openFonts, [&c](HWND d) {
            enter(d, IDC_MIN_FONT_SIZE, c.low, IDOK);
            enter(d, IDC_MAX_FONT_SIZE, c.high, IDOK);
            click(d, IDOK);
        });
        EXPECT_EQ(settings.SingleLineMinFontSize, c.storedLow) << c.low;
        EXPECT_EQ(settings.SingleLineMaxFontSize, c.storedHigh) << c.high;
        EXPECT_EQ(result, 1) << c.low;
    }
    // Exchanging one font for another keeps the count: 2; a stored font that
    // is not installed drops out. One font more: 1.
    lstClear(singleLineFonts, memFree);
    lstAppend(singleLineFonts, dupString("No Such Font"));
    lstAppend(singleLineFonts, dupString("Tahoma"));
    int result = driveModal(openFonts, [](HWND d) {
        HWND list = item(d, IDC_FONT_LIST);
        EXPECT_EQ(text(d, IDC_FONT_COUNT), "1");
        EXPECT_EQ(text(d, IDC_FONT_NAME), "Tahoma");
        LRESULT tahoma = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Tahoma"));
        // A name short enough for the sample at its full height.
        LRESULT other = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("DejaVu Sans"));
        if (other == LB_ERR) other = tahoma == 0 ? 1 : 0;
        // A right click shows a font without selecting it.
        RECT r;
        SendMessageA(list, LB_GETITEMRECT, other, reinterpret_cast<LPARAM>(&r));
        SendMessageA(list, WM_RBUTTONDOWN, 0, MAKELPARAM(r.left + 2, r.top + 2));
        settle(30);
        EXPECT_EQ(SendMessageA(list, LB_GETSEL, other, 0), 0);
        EXPECT_NE(text(d, IDC_FONT_NAME), "Tahoma");
        // The sample draws the name in its font, bold, 16 pixels high at 96 DPI.
        LOGFONTA f;
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(item(d, IDC_FONT_SAMPLE), WM_GETFONT, 0, 0)), sizeof f, &f);
        EXPECT_EQ(f.lfFaceName, text(d, IDC_FONT_NAME));
        EXPECT_EQ(f.lfHeight, -16 * expectedDpi() / 96);
        EXPECT_EQ(f.lfWeight, FW_BOLD);
        SendMessageA(list, LB_SETSEL, FALSE, tahoma);
        SendMessageA(list, LB_SETSEL, TRUE, other);
        click(d, IDOK);
    });
    EXPECT_EQ(result, 2);
    ASSERT_EQ(lstCount(singleLineFonts), 1);
    EXPECT_STRNE(static_cast<char *>(lstData(lstHead(singleLineFonts))), "Tahoma");
    result = driveModal(openFonts, [](HWND d) {
        SendMessageA(item(d, IDC_FONT_LIST), LB_SETSEL, TRUE, -1);
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_FONT_LIST, LBN_SELCHANGE), 0);
        click(d, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(lstCount(singleLineFonts), lstCount(installedFonts) < 200 ? lstCount(installedFonts) : 200);
    // What is stored stays: no change.
    EXPECT_EQ(driveModal(openFonts, [](HWND d) { click(d, IDOK); }), 2);
}

TEST_F(FontsTest, TheSmoothingTipShowsOnlyWithoutFontSmoothing) {
    std::string before = readRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "FontSmoothing", "<none>");
    const char *const cases[] = {"2", "0", nullptr};
    for (const char *smoothing : cases) {
        if (smoothing != nullptr)
            writeRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "FontSmoothing", smoothing);
        else
            deleteRegValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "FontSmoothing");
        driveModal(openFonts, [smoothing](HWND d) {
            bool shown = IsWindowVisible(item(d, IDC_SMOOTHING_TIP)) != 0;
            EXPECT_EQ(shown, smoothing == nullptr || smoothing[0] == '0') << (smoothing ? smoothing : "missing");
            click(d, IDCANCEL);
        });
    }
    if (before != "<none>") writeRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "FontSmoothing", before.c_str());
}

}  // namespace
