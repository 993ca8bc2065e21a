// Colour schemes: the built-in table, user schemes in the real registry, and
// applying, saving and deleting them.
#include <string>
#include <vector>

#include "main/settings/settings.h"
#include "test_registry.h"
#include "toolbox/lst.h"
#include "toolbox/tbas.h"

namespace {
using ColorSchemes = SettingsTest;

std::vector<std::string> schemeNames() {
    std::vector<std::string> names;
    for (ListNode *n = lstHead(colorSchemes); n != nullptr; n = lstNext(n)) {
        names.push_back(static_cast<ColorScheme *>(lstData(n))->name);
    }
    return names;
}

std::vector<std::string> withBuiltIns(std::vector<std::string> names) {
    for (const ColorScheme &s : builtInSchemes) names.push_back(s.name);
    return names;
}

void storeScheme(const std::string &name, const char *text) {
    writeRaw(colorSchemesKey, name.c_str(), REG_SZ, std::string(text) + '\0');
}

const char *valid = "10 20 30 40 255 5";
}  // namespace

TEST_F(ColorSchemes, BuiltInTableAndItsStoredForm) {
    loadColorSchemes();
    const ColorScheme design[] = {
        {"Color On Black", 50, 75, 75, 100, 0x000000, 0},     {"Color On Dark Gray", 50, 75, 90, 100, 0x808080, 0},
        {"Color On Light Gray", 25, 50, 90, 100, 0xC0C0C0, 0}, {"Color On White", 25, 50, 75, 100, 0xFFFFFF, 0},
        {"Color On Red", 45, 55, 75, 100, 0x000080, 15},      {"Color On Green", 45, 55, 75, 100, 0x008000, 15},
        {"Color On Blue", 45, 55, 75, 100, 0x800000, 15},     {"Color On Yellow", 45, 55, 75, 100, 0x00FFFF, 15},
        {"Gray On Black", 40, 100, 0, 0, 0x000000, 0},        {"Gray On White", 0, 75, 0, 0, 0xFFFFFF, 0},
    };
    ASSERT_EQ(lstCount(colorSchemes), 10);
    ListNode *node = lstHead(colorSchemes);
    for (const ColorScheme &d : design) {
        const ColorScheme *s = static_cast<ColorScheme *>(lstData(node));
        EXPECT_STREQ(s->name, d.name);
        EXPECT_EQ(s->MinBrightness, d.MinBrightness) << d.name;
        EXPECT_EQ(s->MaxBrightness, d.MaxBrightness) << d.name;
        EXPECT_EQ(s->MinSaturation, d.MinSaturation) << d.name;
        EXPECT_EQ(s->MaxSaturation, d.MaxSaturation) << d.name;
        EXPECT_EQ(s->BackgroundColor, d.BackgroundColor) << d.name;
        EXPECT_EQ(s->MinTextcolorContrast, d.MinTextcolorContrast) << d.name;
        node = lstNext(node);
    }
    const char *expected[builtInSchemeCount] = {
        "50.000000 75.000000 75.000000 100.000000 0 0.000000",
        "50.000000 75.000000 90.000000 100.000000 8421504 0.000000",
        "25.000000 50.000000 90.000000 100.000000 12632256 0.000000",
        "25.000000 50.000000 75.000000 100.000000 16777215 0.000000",
        "45.000000 55.000000 75.000000 100.000000 128 15.000000",
        "45.000000 55.000000 75.000000 100.000000 32768 15.000000",
        "45.000000 55.000000 75.000000 100.000000 8388608 15.000000",
        "45.000000 55.000000 75.000000 100.000000 65535 15.000000",
        "40.000000 100.000000 0.000000 0.000000 0 0.000000",
        "0.000000 75.000000 0.000000 0.000000 16777215 0.000000",
    };
    for (int i = 0; i < builtInSchemeCount; ++i) EXPECT_STREQ(schemeToString(&builtInSchemes[i]), expected[i]) << i;
    EXPECT_STREQ(schemeToString(nullptr), "");
    for (const char *name : {"(unnamed)", "(UNNAMED)", "gray on white", "GRAY ON WHITE", "gRaY oN wHiTe"}) {
        EXPECT_EQ(isReservedSchemeName(name), 1) << name;
    }
    EXPECT_EQ(isBuiltInSchemeName("(Unnamed)"), 0);
    EXPECT_EQ(isReservedSchemeName("Gray On White "), 0);
}

TEST_F(ColorSchemes, UserSchemesSortBeforeBuiltInsAndBadOnesAreLeftOut) {
    storeScheme("beta", valid);
    storeScheme("Alpha", valid);
    // Value names ignore letter case, so no "alpha" can stand beside "Alpha";
    // "Zulu" shows every capital sorting before every small letter.
    storeScheme("Zulu", valid);
    storeScheme("another", "1 2 3 4 5 6 and more text");
    storeScheme("color on black", valid);                   // reserved: silent
    storeScheme("(UNNAMED)", "bad");                          // reserved: silent
    storeScheme("three", "1 2 3");                            // beeps
    storeScheme("five", "1 2 3 4 5");                         // beeps
    storeScheme("huge", "1e400 2 3 4 5 6");                   // beeps
    storeScheme(std::string(260, 'L'), valid);
    storeScheme(std::string(261, 'M'), valid);                // cannot be enumerated
    storeScheme("zeta", valid);
    loadColorSchemes();
    EXPECT_EQ(schemeNames(), withBuiltIns({"Alpha", std::string(260, 'L'), "Zulu", "another", "beta", "zeta"}));
    EXPECT_EQ(traceCount("readUserScheme"), 3);
    EXPECT_NE(readRaw(colorSchemesKey, "three"), "<missing>");

    EXPECT_STREQ(static_cast<ColorScheme *>(lstData(findColorScheme("ALPHA")))->name, "Alpha");
    const ColorScheme *another = static_cast<ColorScheme *>(lstData(findColorScheme("another")));
    EXPECT_EQ(another->MinBrightness, 1);
    EXPECT_EQ(another->BackgroundColor, 5u);
    EXPECT_EQ(another->MinTextcolorContrast, 6);
}

TEST_F(ColorSchemes, ApplyingNeedsTheExactName) {
    loadColorSchemes();
    EXPECT_EQ(applyColorScheme("Color On Blue"), 0);
    EXPECT_EQ(settings.MinBrightness, 45);
    EXPECT_EQ(settings.MaxBrightness, 55);
    EXPECT_EQ(settings.MinSaturation, 75);
    EXPECT_EQ(settings.MaxSaturation, 100);
    EXPECT_EQ(settings.BackgroundColor, 0x800000u);
    EXPECT_EQ(settings.MinTextcolorContrast, 15);
    EXPECT_STREQ(settings.CurrentColorScheme, "Color On Blue");
    settings.MinBrightness = 1;
    EXPECT_EQ(applyColorScheme("COLOR ON BLUE"), 1);
    EXPECT_EQ(settings.MinBrightness, 1);
    EXPECT_STREQ(settings.CurrentColorScheme, "(Unnamed)");
}

TEST_F(ColorSchemes, SavingReplacesAnyCaseAndDeletingForgets) {
    storeScheme("Mine", valid);
    storeScheme("Other", valid);
    loadColorSchemes();
    settings.MinBrightness = 33;
    settings.BackgroundColor = 0x123456;
    addUserScheme("MINE");
    EXPECT_EQ(schemeNames(), withBuiltIns({"MINE", "Other"}));
    EXPECT_STREQ(settings.CurrentColorScheme, "MINE");
    EXPECT_EQ(readRaw(colorSchemesKey, "MINE"),
              std::string("33.000000 75.000000 75.000000 100.000000 1193046 0.000000", 58));
    loadColorSchemes();  // the spelling typed survives a reload
    EXPECT_EQ(schemeNames(), withBuiltIns({"MINE", "Other"}));
    addUserScheme("Gray on black");
    EXPECT_EQ(lstCount(colorSchemes), 12);

    removeUserScheme(settings.CurrentColorScheme);
    EXPECT_EQ(schemeNames(), withBuiltIns({"Other"}));
    EXPECT_STREQ(settings.CurrentColorScheme, "(Unnamed)");
    EXPECT_EQ(rawValueNames(colorSchemesKey), std::vector<std::string>{"Other"});
    removeUserScheme("Color On Red");
    removeUserScheme("nothing");
    EXPECT_EQ(lstCount(colorSchemes), 11);
    char lower[16], upper[16];  // a letter beyond ASCII is one letter in either case
    WideCharToMultiByte(CP_ACP, 0, L"\u00E4pfel", -1, lower, sizeof lower, nullptr, nullptr);
    WideCharToMultiByte(CP_ACP, 0, L"\u00C4PFEL", -1, upper, sizeof upper, nullptr, nullptr);
    addUserScheme(lower);
    addUserScheme(upper);
    loadColorSchemes();
    EXPECT_EQ(schemeNames(), withBuiltIns({"Other", upper}));
}
