// Tests of the help tool-tips on Wine: the help texts against a list of
// their own, the size and place arithmetic, and real help requests in the
// real configuration dialog with real keys and clicks.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "config_fixture.h"
#include "res/resource.h"
#include "toolbox/monitor_metrics.h"
#include "toolbox/tooltip.h"
#include "toolbox/wtb.h"

namespace {

// The C escapes of the list's texts.
std::string unescape(const std::string &quoted) {
    std::string out;
    for (size_t i = 1; i + 1 < quoted.size(); ++i) {
        char c = quoted[i];
        if (c == '\\') {
            c = quoted[++i];
            c = c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        }
        out += c;
    }
    return out;
}

// Every string of a language as the module holds it, by id: Windows shows
// an empty text for an id that a language's block lacks.
std::map<int, std::string> stringsOf(LANGID language) {
    std::map<int, std::string> texts;
    for (int block = 1; block <= 4096; ++block) {
        HRSRC found = FindResourceExA(nullptr, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(block), language);
        if (found == nullptr) continue;
        auto p = static_cast<const WCHAR *>(LockResource(LoadResource(nullptr, found)));
        for (int i = 0; i < 16; p += 1 + *p, ++i) {
            char text[4000] = "";
            WideCharToMultiByte(CP_UTF8, 0, p + 1, *p, text, sizeof text, nullptr, nullptr);
            if (*p != 0) texts[(block - 1) * 16 + i] = text;
        }
    }
    return texts;
}

// The conversions of a format text, in order.
std::string conversions(const std::string &text) {
    std::string found;
    for (size_t i = text.find('%'); i != std::string::npos; i = text.find('%', i + 1))
        if (i + 1 < text.size() && std::strchr("sid", text[i + 1]) != nullptr) found += text.substr(i, 2);
    return found;
}

TEST(HelpTexts, EveryTextIsGermanTooWithTheSameConversions) {
    std::map<int, std::string> english = stringsOf(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    std::map<int, std::string> german = stringsOf(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
    EXPECT_GT(english.size(), 70u);
    EXPECT_EQ(english.size(), german.size());
    for (const auto &entry : english) {
        ASSERT_EQ(german.count(entry.first), 1u) << entry.first;
        EXPECT_EQ(conversions(german[entry.first]), conversions(entry.second)) << entry.first;
    }
    EXPECT_EQ(english[1], "Lumora Screensaver");
    EXPECT_EQ(german[1], "Lumora Screensaver");
}

TEST(HelpTexts, EveryControlHasItsTextByteForByte) {
    std::FILE *list = std::fopen(LUMORA_HELP_TEXTS, "rb");
    ASSERT_NE(list, nullptr) << LUMORA_HELP_TEXTS;
    char line[4000];
    int entries = 0;
    while (std::fgets(line, sizeof line, list) != nullptr) {
        if (line[0] == '#') continue;
        int id = 0, used = 0;
        ASSERT_EQ(std::sscanf(line, "%d %n", &id, &used), 1) << line;
        std::string quoted(line + used);
        while (!quoted.empty() && (quoted.back() == '\n' || quoted.back() == '\r')) quoted.pop_back();
        EXPECT_EQ(tooltipTextFor(id), unescape(quoted)) << "control " << id;
        ++entries;
    }
    std::fclose(list);
    EXPECT_EQ(entries, 41);
    for (int id : {0, -1, 1012, 1021, 1028, -521961}) EXPECT_STREQ(tooltipTextFor(id), "") << id;
}

TEST(TooltipLayout, MarginsFollowTheFontAndRoundHalvesUp) {
    auto metrics = [](LONG height, LONG average, LONG descent, LONG leading) {
        TEXTMETRICA m = {};
        m.tmHeight = height;
        m.tmAveCharWidth = average;
        m.tmDescent = descent;
        m.tmExternalLeading = leading;
        return m;
    };
    const TEXTMETRICA plain = metrics(16, 7, 3, 0), wide = metrics(20, 12, 8, 0), led = metrics(10, 5, 1, 3);
    const struct { const TEXTMETRICA *m; bool multi; int width, height, left, top; } cases[] = {
        {&plain, false, 106, 23, 2, 0},  // 0.75 x 7 raised to 6; half the descent raised to 3
        {&wide, false, 109, 24, 3, 0},   // 9 across, half of 8 below
        {&plain, true, 114, 28, 5, 2},   // 14 across; 3 + 2 x 2.4 below, 2.4 above
        {&led, true, 112, 27, 4, 3},     // 10 raised to 12; the font's own leading of 3
        {nullptr, false, 108, 23, 3, 0}, // unmeasured: 7.5 across and 2.5 left round up
        {nullptr, true, 120, 28, 7, 3},  // unmeasured: 1.5 + 2 x 3 = 7.5 below rounds up
    };
    for (const auto &c : cases) {
        TooltipBox box = tooltipBox(100, 20, c.m, c.multi);
        EXPECT_EQ(box.width, c.width) << c.left;
        EXPECT_EQ(box.height, c.height) << c.left;
        EXPECT_EQ(box.textOffset.x, c.left);
        EXPECT_EQ(box.textOffset.y, c.top);
    }
}

TEST(TooltipLayout, StaysInsideTheWorkArea) {
    const struct { POINT cursor; int width, height; POINT at; RECT work = {0, 0, 800, 600}; } cases[] = {
        {{100, 100}, 50, 20, {100, 122}},  // below and right of the cursor
        {{749, 100}, 50, 20, {749, 122}},  // ends at 799: still inside
        {{750, 100}, 50, 20, {749, 122}},  // would reach the edge: ends one pixel before it
        {{10, 558}, 50, 20, {10, 527}},    // would reach the bottom: above the cursor
        {{10, 20}, 900, 700, {1, 1}},      // larger than the area: at its corner
        {{1800, 640}, 50, 20, {1773, 609}, {800, -100, 1824, 668}},
        {{810, -90}, 1100, 900, {801, -99}, {800, -100, 1824, 668}},
    };
    for (const auto &c : cases) {
        POINT p = tooltipPlace(c.cursor, c.width, c.height, c.work);
        EXPECT_EQ(p.x, c.at.x) << c.cursor.x << "," << c.cursor.y;
        EXPECT_EQ(p.y, c.at.y) << c.cursor.x << "," << c.cursor.y;
    }
}

HWND tooltipWindow() { return FindWindowA("XTooltipWndClass", nullptr); }
bool tooltipVisible() { return tooltipWindow() != nullptr && IsWindowVisible(tooltipWindow()); }

std::int64_t fakeNow = 0;
std::int64_t fakeClock() { return fakeNow; }

// F1 on the focused field, with the cursor where given.
void helpRequest(HWND field, POINT cursor) {
    SetFocus(field);
    SetCursorPos(cursor.x, cursor.y);
    settle(50);
    pressKey(VK_F1);
    settle(150);
}

TEST_F(ConfigTest, HelpShowsBesideTheCursorAndHidesOnKeyClickLeaveAndTime) {
    runDialog([](HWND d) {
        HWND field = item(d, IDC_PHRASE_INTERVAL);
        POINT on = centreOf(field);
        helpRequest(field, on);
        ASSERT_TRUE(tooltipVisible());
        char shown[2000];
        GetWindowTextA(tooltipWindow(), shown, sizeof shown);
        EXPECT_STREQ(shown, tooltipTextFor(IDC_PHRASE_INTERVAL));
        RECT r;
        GetWindowRect(tooltipWindow(), &r);
        EXPECT_EQ(r.left, on.x);
        EXPECT_EQ(r.top, on.y + 22);
        EXPECT_GT(r.bottom - r.top, 3 * 8);  // three lines

        // The same request again keeps the window and when it was shown.
        HWND first = tooltipWindow();
        TimePoint shownAt = tooltip.shown;
        EXPECT_EQ(showTooltip(field, tooltipTextFor(IDC_PHRASE_INTERVAL), 0, 30000, 0, 0, 0), tooltipShown);
        settle(250);
        EXPECT_EQ(tooltipWindow(), first);
        EXPECT_EQ(msBetween(tooltip.shown, shownAt), 0);

        pressKey(VK_RIGHT);
        settle(100);
        EXPECT_FALSE(tooltipVisible()) << "a key";
        // Asked for again after a key hid it, it shows again.
        helpRequest(field, on);
        EXPECT_TRUE(tooltipVisible()) << "asked again";
        clickAt(on);
        settle(100);
        EXPECT_FALSE(tooltipVisible()) << "a click";

        helpRequest(field, on);
        ASSERT_TRUE(tooltipVisible());
        SetCursorPos(on.x, on.y + 40);
        settle(300);
        EXPECT_EQ(tooltipWindow(), nullptr) << "the cursor left";

        // F1 while the cursor rests elsewhere: gone at the first tick.
        helpRequest(field, {on.x, on.y + 40});
        EXPECT_EQ(tooltipWindow(), nullptr) << "cursor elsewhere";

        // Shown for 30 s by the clock the tool-tip reads.
        fakeNow = 1700000000000;
        setTimeSource(fakeClock);
        helpRequest(field, on);
        fakeNow += 29999;
        settle(250);
        EXPECT_TRUE(tooltipVisible()) << "before 30 s";
        fakeNow += 1;
        settle(250);
        EXPECT_FALSE(tooltipVisible()) << "after 30 s";
        setTimeSource(nullptr);

        // Nothing to show: no window at all.
        EXPECT_EQ(showTooltip(field, tooltipTextFor(1044), 0, 30000, 0, 0, 0), tooltipNoText);
        EXPECT_EQ(tooltipWindow(), nullptr);
        EXPECT_EQ(showTooltip(nullptr, "text", 0, 30000, 0, 0, 0), tooltipNoOwner);
        click(d, IDCANCEL);
    });
}

// A tool-tip asked for at the bottom right corner of the work area stays
// inside it: one pixel before the right edge, above the cursor.
TEST(TooltipWindow, NearTheCornerOfTheWorkAreaItStaysInside) {
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    HWND corner = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, work.right - 60,
                                  work.bottom - 40, 60, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(corner, nullptr);
    POINT at = {work.right - 10, work.bottom - 10};
    SetCursorPos(at.x, at.y);
    settle(50);
    ASSERT_EQ(showTooltip(corner, "Single line", 0, 30000, 0, 0, 0), tooltipShown);
    settle(100);
    RECT r;
    ASSERT_TRUE(GetWindowRect(tooltipWindow(), &r));
    EXPECT_TRUE(IsWindowVisible(tooltipWindow()));
    EXPECT_EQ(r.right, work.right - 1);
    EXPECT_EQ(r.bottom, at.y - 11);
    hideTooltip();
    EXPECT_EQ(tooltipWindow(), nullptr);
    DestroyWindow(corner);
}

}  // namespace

// Moved to twice the DPI (sent as Windows would; Wine never sends it), the
// controls stand twice as far in a font twice as high; moved back, as before.
TEST_F(ConfigTest, TheDialogFollowsAMoveToAMonitorOfAnotherDpi) {
    runDialog([](HWND d) {
        auto layout = [d] {
            std::vector<LONG> v;  // left, top, right and font height of each control
            for (HWND c = GetWindow(d, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
                RECT r; LOGFONTA f = {};
                GetWindowRect(c, &r);
                MapWindowPoints(nullptr, d, reinterpret_cast<POINT *>(&r), 2);
                GetObjectA(reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0)), sizeof f, &f);
                v.insert(v.end(), {r.left, r.top, r.right, f.lfHeight});
            }
            return v;
        };
        const std::vector<LONG> before = layout();
        const int dpi = systemDpi();
        RECT frame, now;
        GetWindowRect(d, &frame);
        RECT twice = {frame.left, frame.top, 2 * frame.right - frame.left, 2 * frame.bottom - frame.top};
        SendMessageA(d, dpiChangedMessage, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&twice));
        GetWindowRect(d, &now);
        EXPECT_TRUE(EqualRect(&now, &twice));
        std::vector<LONG> doubled = before;
        for (LONG &v : doubled) v *= 2;
        EXPECT_EQ(layout(), doubled);
        SendMessageA(d, dpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
        EXPECT_EQ(layout(), before);
        click(d, IDCANCEL);
    });
}
