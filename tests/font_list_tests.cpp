// Font lists against the fonts Wine really reports and its real registry.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "main/settings/settings.h"
#include "test_registry.h"
#include "toolbox/lst.h"
#include "toolbox/tbas.h"
#include "toolbox/wkrnl.h"

namespace {
using FontLists = SettingsTest;

bool has(const std::vector<std::string> &names, const std::string &name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string packed(std::initializer_list<const char *> names) {
    std::string bytes;
    for (const char *name : names) bytes += std::string(name) + '\0';
    return bytes + '\0';
}

std::string storedList(const char *name) { return readRaw(settingsKey, name); }

// The packed default names that are installed, in the reversed order a load
// builds them in.
std::vector<std::string> installedDefaults(const char *defaults) {
    std::vector<std::string> names;
    for (const char *p = defaults; *p != '\0'; p += std::strlen(p) + 1) {
        if (lstFindString(p, installedFonts) != nullptr) names.insert(names.begin(), p);
    }
    return names;
}
}  // namespace

TEST_F(FontLists, InstalledFontsAreTrueTypeFullNamesWithoutSymbolFontsOrRepeats) {
    HWND window = CreateWindowA("STATIC", "fonts", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(window, nullptr);
    enumInstalledFonts(window);
    DestroyWindow(window);
    std::vector<std::string> names = listNames(installedFonts);
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a name came twice";
    EXPECT_TRUE(has(names, "Tahoma"));
    EXPECT_TRUE(has(names, "Symbol"));  // symbol character set, but its name is "Symbol"
    EXPECT_FALSE(has(names, "Marlett"));
    EXPECT_FALSE(has(names, "Wingdings"));
    EXPECT_FALSE(has(names, "MS Sans Serif"));  // a raster font
    // The full name counts, not the family's face name.
    EXPECT_TRUE(has(names, "DejaVu Sans ExtraLight"));
    EXPECT_FALSE(has(names, "DejaVu Sans Light"));
    // Vertical faces, which the platform lists beside their upright ones.
    EXPECT_TRUE(has(names, "WenQuanYi Micro Hei"));
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string &n) { return n[0] == '@'; }), 0);
}

TEST_F(FontLists, DefaultsLoadReversedAndCutToInstalledFonts) {
    enumInstalledFonts(nullptr);
    loadFontLists();
    std::vector<std::string> single = installedDefaults(defaultSingleLineFonts);
    EXPECT_EQ(listNames(singleLineFonts), single);
    EXPECT_TRUE(has(single, "Symbol"));
    EXPECT_TRUE(has(single, "Tahoma"));
    EXPECT_EQ(listNames(multiLineFonts), installedDefaults(defaultMultiLineFonts));
    EXPECT_EQ(listNames(dialogFonts), installedDefaults(packed({"Arial", "Times New Roman", "Courier New"}).c_str()));
    // The fonts that are not installed stay in the packed form until a save.
    EXPECT_EQ(std::memcmp(singleLineFontsPacked, defaultSingleLineFonts, multiStringSize(defaultSingleLineFonts)), 0);
    List *all = fontListFromPacked(defaultSingleLineFonts);
    EXPECT_EQ(lstCount(all), 19);
    EXPECT_STREQ(static_cast<char *>(lstData(lstHead(all))), "Verdana");
    EXPECT_STREQ(static_cast<char *>(lstData(lstTail(all))), "Andale Mono");
    lstDestroy(all);
}

TEST_F(FontLists, DefaultListsAreTheDesigns) {
    const std::vector<std::string> single = {
        "Andale Mono", "Arial", "Arial", "Arial Black", "Bookman Old Style", "Comic Sans MS", "Courier New",
        "Courier New", "Garamond", "Georgia", "Impact", "Lucida Sans Unicode", "Palatino Linotype", "Symbol",
        "Tahoma", "Times New Roman", "Times New Roman", "Trebuchet MS", "Verdana"};
    const std::vector<std::string> multi = {"Arial", "Bookman Old Style", "Garamond", "Georgia", "Tahoma",
                                            "Times New Roman", "Trebuchet MS", "Verdana"};
    const std::vector<std::string> dialog = {"Arial", "Times New Roman", "Courier New"};
    // As if every one of them were installed, the lists hold them all, in
    // the reverse of their packed order.
    lstDestroy(installedFonts);
    installedFonts = lstNew();
    for (const auto *names : {&single, &multi, &dialog}) {
        for (const std::string &name : *names) lstAppend(installedFonts, dupString(name.c_str()));
    }
    loadFontLists();
    auto reversed = [](std::vector<std::string> names) {
        std::reverse(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(listNames(singleLineFonts), reversed(single));
    EXPECT_EQ(listNames(multiLineFonts), reversed(multi));
    EXPECT_EQ(listNames(dialogFonts), reversed(dialog));
    EXPECT_EQ(storedList("SingleLineFonts"), "<missing>");
}

TEST_F(FontLists, StoredListsLoseMissingFontsAndSaveReversed) {
    enumInstalledFonts(nullptr);
    writeRaw(settingsKey, "SingleLineFonts", REG_MULTI_SZ,
             packed({"DejaVu Sans", "tahoma", "No Such Font", "Tahoma", "DejaVu Serif"}));
    writeRaw(settingsKey, "MultiLineFonts", REG_MULTI_SZ, packed({"No Such Font", "Marlett"}));
    loadFontLists();
    EXPECT_EQ(listNames(singleLineFonts), (std::vector<std::string>{"DejaVu Serif", "Tahoma", "DejaVu Sans"}));
    EXPECT_EQ(lstCount(multiLineFonts), 0);
    saveFontLists();
    EXPECT_EQ(storedList("SingleLineFonts"), packed({"DejaVu Serif", "Tahoma", "DejaVu Sans"}));
    EXPECT_EQ(storedList("MultiLineFonts"), std::string(2, '\0'));
    loadFontLists();
    EXPECT_EQ(lstCount(multiLineFonts), 0);
    EXPECT_EQ(listNames(singleLineFonts), (std::vector<std::string>{"DejaVu Sans", "Tahoma", "DejaVu Serif"}));
}

TEST_F(FontLists, UnreadableStoredListsKeepTheLastPackedForm) {
    enumInstalledFonts(nullptr);
    writeRaw(settingsKey, "MultiLineFonts", REG_MULTI_SZ, packed({"Tahoma"}));
    loadFontLists();
    std::string big;
    while (big.size() < 2500) big += std::string("DejaVu Sans") + '\0';
    writeRaw(settingsKey, "MultiLineFonts", REG_MULTI_SZ, big + '\0');
    writeRaw(settingsKey, "SingleLineFonts", REG_SZ, std::string("Tahoma", 7));
    loadFontLists();
    EXPECT_EQ(listNames(multiLineFonts), std::vector<std::string>{"Tahoma"});
    EXPECT_EQ(listNames(singleLineFonts), installedDefaults(defaultSingleLineFonts));
}

TEST_F(FontLists, PackingStopsBeforeTheLimit) {
    char buffer[fontListPackedSize];
    List *list = lstNew();
    for (int i = 0; i < 100; ++i) lstAppend(list, dupString(poolFormat("font-name-number-%03i", i)));
    ASSERT_EQ(std::strlen(static_cast<char *>(lstData(lstHead(list)))), 20u);
    packFontList(list, buffer);
    EXPECT_EQ(multiStringSize(buffer), 1996u);
    List *back = fontListFromPacked(buffer);
    EXPECT_EQ(lstCount(back), 95);
    EXPECT_STREQ(static_cast<char *>(lstData(lstHead(back))), "font-name-number-094");
    lstDestroy(back);
    lstClear(list, memFree);
    lstAppend(list, dupString(std::string(1996, 'n').c_str()));  // 1996 + 2 reaches 1998: fits
    lstAppend(list, dupString(""));
    lstAppend(list, dupString("x"));
    packFontList(list, buffer);
    EXPECT_EQ(multiStringSize(buffer), 1998u);
    lstClear(list, memFree);
    packFontList(list, buffer);
    EXPECT_EQ(std::string(buffer, 2), std::string(2, '\0'));
    lstDestroy(list);
}
