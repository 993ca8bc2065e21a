// Tests of the display engine in a real window on Wine's GDI: the phrases,
// shadows, passages and erase read back as pixels, the timer's rhythms with
// a stepped clock, and the keys.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main/display/display.h"
#include "main/display/monitors.h"
#include "main/display/passage_layout.h"
#include "main/settings/settings.h"
#include "main/display/text_color.h"
#include "test_registry.h"
#include "test_display.h"
#include "test_files.h"
#include "toolbox/tbas.h"

namespace {

constexpr int windowWidth = 400;
constexpr int windowHeight = 300;

// A window's client area read back from the screen.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> bgr;  // 0x00RRGGBB as the bitmap holds them
    ColorRef at(int x, int y) const {
        std::uint32_t v = bgr[static_cast<size_t>(y) * width + x];
        return rgbColor(v >> 16 & 0xFF, v >> 8 & 0xFF, v & 0xFF);
    }
};

Pixels capture(HWND hwnd) {
    Pixels p;
    RECT client;
    GetClientRect(hwnd, &client);
    p.width = client.right;
    p.height = client.bottom;
    HDC window = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(window);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, p.width, p.height, window, 0, 0, SRCCOPY);
    GdiFlush();
    const std::uint32_t *src = static_cast<const std::uint32_t *>(bits);
    p.bgr.assign(src, src + static_cast<size_t>(p.width) * p.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, window);
    return p;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int count = 0;
    void add(int x, int y) {
        left = x < left ? x : left;
        top = y < top ? y : top;
        right = x > right ? x : right;
        bottom = y > bottom ? y : bottom;
        ++count;
    }
};

Box boxOf(const Pixels &p, ColorRef color) {
    Box b;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y) == color) b.add(x, y);
    return b;
}

Box boxOfNot(const Pixels &p, ColorRef background) {
    Box b;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y) != background) b.add(x, y);
    return b;
}

struct DisplayTest : ::testing::Test {
    HWND hwnd = nullptr;

    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ScreenSaverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LumoraDisplayTest";
        RegisterClassA(&wc);
    }

    void SetUp() override {
        toolboxInit();
        clearSettingsKey(HKEY_CURRENT_USER);
        inConfigDialog = false;
        setTimeSource(nullptr);
        // Settings with colours that do not depend on chance: saturation 0
        // makes every text colour the same grey.
        HWND probe = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        loadSettings(probe);
        DestroyWindow(probe);
        settings.MinBrightness = settings.MaxBrightness = 80;
        settings.MinSaturation = settings.MaxSaturation = 0;
        settings.BackgroundColor = 0;
        settings.MinTextcolorContrast = 0;
        // No scheme, so that the load in the window's creation keeps these.
        copyString(settings.CurrentColorScheme, "(Unnamed)", colorSchemeNameSize);
        settings.MaxTiltDegrees = 0;
        settings.SingleLineMinFontSize = settings.SingleLineMaxFontSize = 30;
        settings.MultiLineMinFontSize = settings.MultiLineMaxFontSize = 20;
        copyString(settings.ShadowStyle, "No Shadow", shadowStyleSize);
        settings.ShadowSize = 4;
        usePhrases("display-words.txt", "HIH\n");
        handedOn.clear();
    }

    void TearDown() override {
        if (hwnd != nullptr) DestroyWindow(hwnd);
        setTimeSource(nullptr);
        closePhraseFile();
        clearSettingsKey(HKEY_CURRENT_USER);
    }

    // Stores the settings and a phrase file, as the saver finds them.
    void usePhrases(const std::string &name, const std::string &bytes) {
        writeTestFile(name, bytes);
        char full[MAX_PATH];
        GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
        copyString(settings.PhraseFn, full, phraseFnSize);
        saveSettings();
    }

    void open(RECT r = {0, 0, windowWidth, windowHeight}) {
        saveSettings();
        hwnd = CreateWindowExA(WS_EX_TOPMOST, "LumoraDisplayTest", "", WS_POPUP | WS_VISIBLE, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hwnd, nullptr);
        UpdateWindow(hwnd);
        pump();
    }

    void pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Real timer ticks would race the stepped clock; drop them.
            if (msg.message == WM_TIMER) continue;
            DispatchMessageA(&msg);
        }
    }

    void tick() { SendMessageA(hwnd, WM_TIMER, displayTimerId, 0); }

    // Draws phrases until one lies wholly inside the window, away from its
    // edges, and returns the pixels; fails after many tries.
    Pixels drawInside(ColorRef textColor) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            eraseWindow(hwnd);
            drawPhrase(hwnd);
            Pixels p = capture(hwnd);
            Box b = boxOf(p, textColor);
            if (b.count > 0 && b.left > 20 && b.top > 20 && b.right < p.width - 20 && b.bottom < p.height - 20) {
                return p;
            }
        }
        ADD_FAILURE() << "no phrase landed inside the window";
        return capture(hwnd);
    }
};

}  // namespace

TEST_F(DisplayTest, ThePhraseAppearsAndNoShadowLeavesOnlyItsColour) {
    open();
    ColorRef text = randomTextColor();
    Pixels p = drawInside(text);
    EXPECT_GT(boxOf(p, text).count, 20);
    EXPECT_EQ(boxOf(p, shadowColor(text, 1.0)).count, 0);
}

TEST_F(DisplayTest, CastDrawsOneCopyShadowSizeRightAndDown) {
    copyString(settings.ShadowStyle, "Cast", shadowStyleSize);
    open();
    ColorRef text = randomTextColor();
    ColorRef shadow = shadowColor(text, 1.0);
    ASSERT_NE(text, shadow);
    Pixels p = drawInside(text);
    Box t = boxOf(p, text), s = boxOf(p, shadow);
    ASSERT_GT(s.count, 0);
    // The text covers the copy's top-left part; the copy shows right and below.
    EXPECT_EQ(s.right, t.right + 4);
    EXPECT_EQ(s.bottom, t.bottom + 4);
    for (double f : {0.75, 0.5, 0.25}) EXPECT_EQ(boxOf(p, shadowColor(text, f)).count, 0) << f;
}

TEST_F(DisplayTest, ThreeDCastDrawsGradedCopiesAtEveryOffset) {
    copyString(settings.ShadowStyle, "3D Cast", shadowStyleSize);
    open();
    ColorRef text = randomTextColor();
    Pixels p = drawInside(text);
    Box t = boxOf(p, text);
    Box farthest = boxOf(p, shadowColor(text, 1.0));
    ASSERT_GT(farthest.count, 0);
    EXPECT_EQ(farthest.right, t.right + 4);
    EXPECT_EQ(farthest.bottom, t.bottom + 4);
    // Nearer copies cover farther ones: each shows at least along its edge.
    for (double f : {0.75, 0.5, 0.25}) EXPECT_GT(boxOf(p, shadowColor(text, f)).count, 0) << f;
}

TEST_F(DisplayTest, TheEraseFillsWithTheBackgroundColour) {
    settings.BackgroundColor = rgbColor(10, 200, 30);
    open();
    drawPhrase(hwnd);
    eraseWindow(hwnd);
    Pixels p = capture(hwnd);
    EXPECT_EQ(boxOfNot(p, rgbColor(10, 200, 30)).count, 0);
    settings.BackgroundColor = 0;
    eraseWindow(hwnd);
    EXPECT_EQ(boxOfNot(capture(hwnd), 0).count, 0);
}

TEST_F(DisplayTest, APassageThatFitsLandsInsideTheClientArea) {
    usePhrases("display-passages.txt", "%\nfirst line\nsecond line\n%\n");
    open();
    ASSERT_TRUE(phraseFile.multiLineMode);
    for (int i = 0; i < 30; ++i) {
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::Next);
        Box b = boxOfNot(capture(hwnd), 0);
        ASSERT_GT(b.count, 0);
        // Its first line is empty, and the block is placed where it fits.
        EXPECT_GE(b.top, 10);
        EXPECT_LE(b.right, windowWidth - 2);
        EXPECT_LE(b.bottom, windowHeight - 2);
    }
}

TEST_F(DisplayTest, SingleLineRhythmFollowsTheIntervals) {
    fakeNow = 1700000000000LL;
    setTimeSource(fakeClock);
    settings.PhraseInterval = 1000;
    settings.ClearInterval = 5000;
    open();
    const TimePoint created = displayState.createTime;
    EXPECT_EQ(displayState.phraseTime.seconds, 0);
    tick();  // right after a restart a phrase comes at once
    EXPECT_EQ(msBetween(displayState.phraseTime, created), 0);

    fakeNow += 1000;
    tick();  // not yet: the interval must be exceeded
    EXPECT_EQ(msBetween(displayState.phraseTime, created), 0);
    fakeNow += 1;
    tick();
    EXPECT_EQ(msBetween(displayState.phraseTime, created), 1001);

    TimePoint erasedBefore = displayState.eraseTime;
    fakeNow = 1700000000000LL + 5001;
    tick();  // the wipe, and a phrase in the same tick
    EXPECT_EQ(msBetween(displayState.eraseTime, erasedBefore), 5001);
    EXPECT_EQ(msBetween(displayState.phraseTime, created), 5001);

    // A clock set back before the creation stops everything.
    TimePoint phraseBefore = displayState.phraseTime;
    fakeNow = 1700000000000LL - 10000;
    tick();
    EXPECT_EQ(msBetween(displayState.phraseTime, phraseBefore), 0);
    EXPECT_EQ(msBetween(displayState.eraseTime, erasedBefore), 5001);
}

TEST_F(DisplayTest, AClearIntervalOf0NeverWipesAndTheLargestIntervalsStillShowOnePhrase) {
    fakeNow = 1700000000000LL;
    setTimeSource(fakeClock);
    settings.ClearInterval = 0;
    settings.PhraseInterval = 2147483647;
    open();
    const TimePoint erased = displayState.eraseTime;
    tick();
    EXPECT_NE(displayState.phraseTime.seconds, 0);
    const TimePoint shown = displayState.phraseTime;
    for (int i = 0; i < 20; ++i) {
        fakeNow += 100000;
        tick();
    }
    EXPECT_EQ(msBetween(displayState.eraseTime, erased), 0);
    EXPECT_EQ(msBetween(displayState.phraseTime, shown), 0);
}

TEST_F(DisplayTest, MultiLineRhythmHoldsEachPassageForItsTime) {
    fakeNow = 1700000000000LL;
    setTimeSource(fakeClock);
    settings.ReadingTimePerChar = 90;
    settings.ExtraTimePerParagraph = 500;
    usePhrases("display-passages.txt", "%\nabcd\n%\n");
    open();
    ASSERT_TRUE(phraseFile.multiLineMode);
    tick();  // the clock has not moved since the erase
    EXPECT_EQ(displayState.phraseTime.seconds, 0);
    fakeNow += 30;
    tick();
    EXPECT_EQ(displayState.passageTime, 500 + 6 * 90);
    TimePoint shown = displayState.phraseTime;
    EXPECT_EQ(msBetween(displayState.eraseTime, shown), 0);

    fakeNow += displayState.passageTime;
    tick();
    EXPECT_EQ(msBetween(displayState.phraseTime, shown), 0);
    fakeNow += 1;
    tick();
    EXPECT_EQ(msBetween(displayState.phraseTime, shown), 500 + 6 * 90 + 1);
}

TEST_F(DisplayTest, NavigationKeysAreConsumedAndOthersHandedOn) {
    open();
    // The erase a key causes hands on its paint; the key itself never goes.
    auto handed = [](UINT m) { return std::count(handedOn.begin(), handedOn.end(), m); };
    for (WPARAM key : {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_UP, VK_DOWN, VK_F1}) {
        handedOn.clear();
        EXPECT_EQ(SendMessageA(hwnd, WM_KEYDOWN, key, 0), 0);
        EXPECT_EQ(SendMessageA(hwnd, WM_KEYUP, key, 0), 0);
        EXPECT_EQ(handed(WM_KEYDOWN) + handed(WM_KEYUP), 0) << key;
    }
    for (char c : std::string("!\"#$&(pqrst")) {
        handedOn.clear();
        SendMessageA(hwnd, WM_CHAR, static_cast<unsigned char>(c), 0);
        EXPECT_EQ(handed(WM_CHAR), 0) << c;
    }
    for (WPARAM key : {static_cast<WPARAM>('A'), static_cast<WPARAM>(VK_ESCAPE), static_cast<WPARAM>(VK_LEFT),
                       static_cast<WPARAM>(VK_F6)}) {
        handedOn.clear();
        SendMessageA(hwnd, WM_KEYDOWN, key, 0);
        EXPECT_EQ(handed(WM_KEYDOWN), 1) << key;
    }
    handedOn.clear();
    SendMessageA(hwnd, WM_CHAR, 'a', 0);
    EXPECT_EQ(handed(WM_CHAR), 1);
}

TEST_F(DisplayTest, HomeEndPageUpAndPageDownShowFirstLastPreviousAndNext) {
    // Passage k holds k lines, so the height of what is drawn tells which one
    // is shown; one face, so that every line is as high.
    usePhrases("display-navigation.txt", "%\nW\n%\nW\nW\n%\nW\nW\nW\n%\nW\nW\nW\nW\n%\nW\nW\nW\nW\nW\n%\n");
    addWineFonts();
    lstDestroy(multiLineFonts);
    multiLineFonts = fontListFromPacked("Tahoma\0");
    open();
    ASSERT_EQ(phraseFile.passageCount, 5);
    ASSERT_EQ(listNames(multiLineFonts), std::vector<std::string>{"Tahoma"});
    for (int i = 0; i < 5; ++i) appendToHistory(phraseFile.passageOffsets[i]);
    auto heightAfter = [&](WPARAM key) {
        SendMessageA(hwnd, WM_KEYDOWN, key, 0);
        Box b = boxOfNot(capture(hwnd), 0);
        return b.count > 0 ? b.bottom - b.top : -1;
    };
    const int first = heightAfter(VK_HOME);
    const int second = heightAfter(VK_NEXT);
    const int third = heightAfter(VK_NEXT);
    const int last = heightAfter(VK_END);
    const int fourth = heightAfter(VK_PRIOR);
    const int thirdAgain = heightAfter(VK_PRIOR);
    const int firstAgain = heightAfter(VK_HOME);
    const int stillFirst = heightAfter(VK_PRIOR);
    // A line is some twenty pixels; the same passage may differ by a pixel
    // or two with its weight and slant.
    const int line = (third - first) / 2;
    EXPECT_GT(line, 10);
    EXPECT_NEAR(second - first, line, 3);
    EXPECT_NEAR(last - first, 4 * line, 6);
    EXPECT_NEAR(fourth - first, 3 * line, 6);
    EXPECT_NEAR(thirdAgain, third, 3);
    EXPECT_NEAR(firstAgain, first, 3);
    EXPECT_NEAR(stillFirst, first, 3);
    EXPECT_EQ(lstCount(passageHistory), 5);
}

TEST_F(DisplayTest, FunctionKeysSwapWithRecentFilesAndFlashOnlyThen) {
    fakeNow = 1700000000000LL;
    setTimeSource(fakeClock);
    writeTestFile("display-other.txt", "OTHER\n");
    char other[MAX_PATH];
    GetFullPathNameA("display-other.txt", sizeof other, other, nullptr);
    std::string first = settings.PhraseFn;
    copyString(settings.RecentPhraseFn1, other, phraseFnSize);
    settings.RecentPhraseFn2[0] = '\0';
    open();

    fakeNow += 500;
    SendMessageA(hwnd, WM_KEYDOWN, VK_F3, 0);  // empty slot: nothing at all
    EXPECT_EQ(std::string(settings.PhraseFn), first);
    EXPECT_EQ(msBetween(displayState.eraseTime, displayState.createTime), 0);

    SendMessageA(hwnd, WM_KEYDOWN, VK_F2, 0);  // swaps, flashes, restarts
    EXPECT_STREQ(settings.PhraseFn, other);
    EXPECT_EQ(std::string(settings.RecentPhraseFn1), first);
    EXPECT_EQ(msBetween(displayState.eraseTime, displayState.createTime), 500);
    EXPECT_TRUE(equalsNoCase(phraseFile.name, other));
    EXPECT_STREQ(fetchPhrase(randomRequest), "OTHER");

    SendMessageA(hwnd, WM_KEYDOWN, VK_F2, 0);  // and back
    EXPECT_EQ(std::string(settings.PhraseFn), first);
}

TEST_F(DisplayTest, PageDownInSingleLineModeShowsOneLineAsAPassage) {
    open();
    ASSERT_FALSE(phraseFile.multiLineMode);
    SendMessageA(hwnd, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_GT(boxOfNot(capture(hwnd), 0).count, 0);
    EXPECT_EQ(lstCount(passageHistory), 0);
}

namespace {

// What the engine hands to the narrow and the wide drawing calls.
std::vector<std::string> narrowDrawn;
std::vector<std::wstring> wideDrawn;
decltype(&TextOutA) realTextOutA;
decltype(&TextOutW) realTextOutW;
decltype(&DrawTextW) realDrawTextW;

BOOL WINAPI recordTextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
    narrowDrawn.emplace_back(text, length);
    return realTextOutA(hdc, x, y, text, length);
}
std::vector<std::string> drawnFaces;  // the face of each wide call
void recordFace(HDC hdc) { char face[LF_FACESIZE] = ""; GetTextFaceA(hdc, LF_FACESIZE, face), drawnFaces.push_back(face); }

std::vector<bool> drawnRightToLeft;  // the reading order of each TextOutW
BOOL WINAPI recordTextOutW(HDC hdc, int x, int y, LPCWSTR text, int length) {
    wideDrawn.emplace_back(text, length);
    recordFace(hdc);
    drawnRightToLeft.push_back((GetTextAlign(hdc) & TA_RTLREADING) != 0);
    return realTextOutW(hdc, x, y, text, length);
}
int WINAPI recordDrawTextW(HDC hdc, LPCWSTR text, int length, LPRECT box, UINT format) {
    wideDrawn.emplace_back(text, length);
    recordFace(hdc);
    return realDrawTextW(hdc, text, length, box, format);
}

template <typename F> void replace(const char *module, const char *name, F **real, F *recorder) {
    *real = reinterpret_cast<F *>(replaceImport(module, name, reinterpret_cast<void *>(recorder)));
    ASSERT_NE(*real, nullptr) << name;
}

}  // namespace

TEST_F(DisplayTest, UnicodeFilesReachTheWideCallsAsWrittenAndAnsiFilesInTheirCodePage) {
    replace("gdi32.dll", "TextOutA", &realTextOutA, recordTextOutA);
    replace("gdi32.dll", "TextOutW", &realTextOutW, recordTextOutW);
    replace("user32.dll", "DrawTextW", &realDrawTextW, recordDrawTextW);
    copyString(settings.ShadowStyle, "3D Cast", shadowStyleSize);
    open();
    const std::wstring words = L"Grüße aus Köln";
    struct Case {
        const char *file;
        std::string bytes;
    } cases[] = {
        {"display-utf8.txt", u8"Grüße aus Köln\r\n"},
        {"display-utf8-mark.txt", "\xEF\xBB\xBF" + std::string(u8"Grüße aus Köln\r\n")},
        {"display-utf16.txt", std::string("\xFF\xFEG\0r\0\xFC\0\xDF\0e\0 \0a\0u\0s\0 \0K\0\xF6\0l\0n\0", 30)},
    };
    for (const Case &c : cases) {
        usePhrases(c.file, c.bytes);
        narrowDrawn.clear();
        wideDrawn.clear();
        drawPhrase(hwnd);  // four shadow copies, then the text
        EXPECT_EQ(wideDrawn, std::vector<std::wstring>(5, words)) << c.file;
        EXPECT_TRUE(narrowDrawn.empty()) << c.file;
    }
    // A Hebrew phrase is drawn right to left, shadows too, and the next Latin one left to right.
    drawnRightToLeft.clear();
    for (const char *file : {"display-hebrew.txt", "display-latin.txt"})
        usePhrases(file, file[8] == 'h' ? u8"שלום!\n" : "Hello!\n"), drawPhrase(hwnd);
    EXPECT_EQ(drawnRightToLeft, std::vector<bool>({true, true, true, true, true, false, false, false, false, false}));
    // A passage, measured and drawn.
    usePhrases("display-utf8-passages.txt", "\xEF\xBB\xBF%\r\n" + std::string(u8"Ärger\r\nüber\r\n%\r\n"));
    wideDrawn.clear();
    showPassage(hwnd, PassageMove::Next);
    EXPECT_EQ(wideDrawn, std::vector<std::wstring>(2, L"\nÄrger\nüber"));
    // An ANSI file and the system's own texts are widened from their code pages.
    usePhrases("display-ansi.txt", "Gr\xFC\xDF" "e\n");
    narrowDrawn.clear();
    wideDrawn.clear();
    drawPhrase(hwnd);
    copyString(settings.PhraseFn, "display-missing.txt", phraseFnSize);
    drawPhrase(hwnd);
    std::vector<std::wstring> wide(5, L"Grüße");
    wide.insert(wide.end(), 5, L"\"display-missing.txt\" not found");
    EXPECT_EQ(wideDrawn, wide);
    EXPECT_TRUE(narrowDrawn.empty());
    replaceImport("gdi32.dll", "TextOutA", reinterpret_cast<void *>(realTextOutA));
    replaceImport("gdi32.dll", "TextOutW", reinterpret_cast<void *>(realTextOutW));
    replaceImport("user32.dll", "DrawTextW", reinterpret_cast<void *>(realDrawTextW));
}

// Symbol keeps Latin words and gives way for Cyrillic ones, a Latin face for
// Chinese, in phrases and passages; a Thai face without Latin letters draws
// Thai itself.
TEST_F(DisplayTest, EveryTextIsDrawnInAFaceThatHasItsLetters) {
    addWineFonts();
    ASSERT_GT(AddFontResourceExA((std::string("Z:") + LUMORA_THAI_FONT).c_str(), FR_PRIVATE, nullptr), 0);
    replace("gdi32.dll", "TextOutW", &realTextOutW, recordTextOutW);
    replace("user32.dll", "DrawTextW", &realDrawTextW, recordDrawTextW);
    open();
    const char *cases[][3] = {  // the font list, the phrase file, the face drawn
        {"Symbol", "Lumora\n", "Symbol"}, {"Symbol", u8"Жизнь\n", "MS Shell Dlg"},  // the dialog font
        {"Tahoma", u8"中文字\n", "WenQuanYi Micro Hei Mono"}, {"Noto Sans Thai", u8"สวัสดี\n", "Noto Sans Thai"},
        {"Tahoma", u8"%\n中文字\n", "WenQuanYi Micro Hei Mono"}};
    for (auto &c : cases) {
        closePhraseFile();
        usePhrases("display-script.txt", c[1]);
        for (List **list : {&singleLineFonts, &multiLineFonts})
            lstDestroy(*list), *list = fontListFromPacked((c[0] + std::string(1, '\0')).c_str());
        drawnFaces.clear();
        c[1][0] == '%' ? showPassage(hwnd, PassageMove::Next) : drawPhrase(hwnd);
        EXPECT_EQ(drawnFaces, std::vector<std::string>(c[1][0] == '%' ? 2 : 1, c[2])) << c[1];
    }
    replaceImport("gdi32.dll", "TextOutW", reinterpret_cast<void *>(realTextOutW));
    replaceImport("user32.dll", "DrawTextW", reinterpret_cast<void *>(realDrawTextW));
}

TEST(TimePoints, DifferencesAndSentinels) {
    TimePoint unset = {0, 0}, a = {100, 900}, b = {102, 100};
    EXPECT_EQ(msBetween(unset, unset), 2147483647);
    EXPECT_EQ(msBetween(a, unset), 2147483647);
    EXPECT_EQ(msBetween(unset, a), -2147483647 - 1);
    EXPECT_EQ(msBetween(b, a), 1200);
    EXPECT_EQ(msBetween(a, b), -1200);
    // Far-apart stamps wrap in 32 bits rather than overflow.
    TimePoint late = {2100000000, 0}, early = {1, 0};
    EXPECT_EQ(msBetween(late, early), static_cast<std::int32_t>(static_cast<std::uint32_t>(2099999999u) * 1000u));
    TimePoint now;
    timePointNow(&now);
    EXPECT_GT(now.seconds, 1700000000);
    EXPECT_LT(now.milliseconds, 1000);
    timePointClear(&now);
    EXPECT_EQ(now.seconds, 0);
    EXPECT_EQ(now.milliseconds, 0);
}

namespace {

bool operator==(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool inside(const RECT &inner, const RECT &outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT r, LPARAM list) {
    reinterpret_cast<std::vector<RECT> *>(list)->push_back(*r);
    return TRUE;
}

// The monitors a full-screen window covers, in its client coordinates.
std::vector<RECT> monitorAreas(HWND hwnd) {
    std::vector<RECT> screens;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&screens));
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    for (RECT &r : screens) OffsetRect(&r, -origin.x, -origin.y);
    return screens;
}

RECT virtualScreen() {
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

// Layouts the test display may not give: a second monitor left of the
// primary, one above it with another size, and one that the window misses.
TEST(PassagePlacement, MonitorsBecomeClientAreasAndPassagesStayOnOne) {
    const RECT beside[] = {{0, 0, 1024, 768}, {-1024, 0, 0, 768}, {5000, 0, 6000, 768}};
    RECT areas[4];
    ASSERT_EQ(clientAreasOf(beside, 3, POINT{-1024, 0}, SIZE{2048, 768}, areas, 4), 2);
    EXPECT_TRUE(areas[0] == (RECT{1024, 0, 2048, 768}));
    EXPECT_TRUE(areas[1] == (RECT{0, 0, 1024, 768}));
    const RECT stacked[] = {{0, 0, 1920, 1080}, {320, -768, 1344, 0}};
    ASSERT_EQ(clientAreasOf(stacked, 2, POINT{0, -768}, SIZE{1920, 1848}, areas + 2, 2), 2);
    EXPECT_TRUE(areas[2] == (RECT{0, 768, 1920, 1848}));
    EXPECT_TRUE(areas[3] == (RECT{320, 0, 1344, 768}));
    EXPECT_EQ(clientAreasOf(beside, 3, POINT{0, 0}, SIZE{1024, 768}, areas, 1), 1);

    for (int i = 0; i < 4000; ++i) {
        const RECT &area = areas[i % 4];
        RECT box = placeInArea(area, 300, 80);
        ASSERT_TRUE(inside(box, area)) << i;
        EXPECT_EQ(box.right - box.left, 300);
        EXPECT_EQ(box.bottom - box.top, 80);
    }
    // Larger than its monitor, a passage overhangs it on either side.
    RECT wide = placeInArea(areas[3], 1100, 80);
    EXPECT_LE(wide.left, areas[3].left);
    EXPECT_GE(wide.right, areas[3].right);
}

// A passage lies wholly on one monitor of a window that spans all of them,
// and in time every monitor gets passages. On one monitor this is the
// client area; the two-monitor session runs it on two.
TEST_F(DisplayTest, PassagesLandWhollyOnOneMonitor) {
    usePhrases("display-passages.txt", "%\nfirst line of it\nsecond line\n%\n");
    open(virtualScreen());
    ASSERT_TRUE(phraseFile.multiLineMode);
    std::vector<RECT> monitors = monitorAreas(hwnd);
    ASSERT_FALSE(monitors.empty());
    std::vector<int> hits(monitors.size());
    for (int i = 0; i < 12 * static_cast<int>(monitors.size()); ++i) {
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::Next);
        Box b = boxOfNot(capture(hwnd), 0);
        ASSERT_GT(b.count, 0);
        RECT drawn = {b.left, b.top, b.right + 1, b.bottom + 1};
        auto on = std::find_if(monitors.begin(), monitors.end(), [&](const RECT &m) { return inside(drawn, m); });
        ASSERT_TRUE(on != monitors.end()) << "passage at " << b.left << "," << b.top << "-" << b.right << "," << b.bottom;
        ++hits[on - monitors.begin()];
    }
    for (size_t m = 0; m < hits.size(); ++m) EXPECT_GT(hits[m], 0) << "monitor " << m;
}

// What the engine draws at the session's DPI, against the same text drawn
// by hand in the unscaled size: alike at 96 DPI, twice as high at 192, the
// shadow twice as far. LUMORA_EXPECT_DPI names the DPI the session must have.
TEST_F(DisplayTest, PixelSizesScaleWithTheDisplayDpi) {
    copyString(settings.ShadowStyle, "Cast", shadowStyleSize);
    usePhrases("display-words.txt", "HIH\n");
    open();
    const int dpi = dpiAt(hwnd, POINT{0, 0});
    if (const char *expected = std::getenv("LUMORA_EXPECT_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected));
    }
    // One face for the engine and for the reference: an empty list gives Arial.
    lstClear(singleLineFonts, memFree);
    lstClear(multiLineFonts, memFree);

    auto referenceHeight = [&](int size, const char *text) {
        eraseWindow(hwnd);
        HDC dc = GetDC(hwnd);
        HFONT font = CreateFontA(-size, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
        HGDIOBJ old = SelectObject(dc, font);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, 20, 20, text, static_cast<int>(std::strlen(text)));
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(hwnd, dc);
        Box b = boxOfNot(capture(hwnd), 0);
        return b.bottom - b.top + 1;
    };
    const int reference = referenceHeight(30, "HIH");
    ASSERT_GT(reference, 10);

    // The lowest of a few phrases: one in ten is underlined.
    ColorRef text = randomTextColor();
    int height = 1 << 30;
    for (int i = 0; i < 6; ++i) {
        Pixels p = drawInside(text);
        Box t = boxOf(p, text), s = boxOf(p, shadowColor(text, 1.0));
        height = std::min(height, t.bottom - t.top + 1);
        EXPECT_EQ(s.right - t.right, 4 * dpi / baseDpi);
        EXPECT_EQ(s.bottom - t.bottom, 4 * dpi / baseDpi);
    }
    EXPECT_NEAR(height, reference * dpi / baseDpi, 2 * dpi / baseDpi);

    closePhraseFile();
    usePhrases("display-passages.txt", "%\nHIH\n%\n");
    fetchPhrase(openOnlyRequest);
    ASSERT_TRUE(phraseFile.multiLineMode);
    const int passageReference = referenceHeight(20, "HIH");
    eraseWindow(hwnd);
    showPassage(hwnd, PassageMove::Next);
    Box b = boxOfNot(capture(hwnd), 0);
    EXPECT_NEAR(b.bottom - b.top + 1, passageReference * dpi / baseDpi, 2 * dpi / baseDpi);
    settings.MultiLineMinFontSize = settings.MultiLineMaxFontSize = 300;  // held to their range, then scaled
    LOGFONTA one = {}, many = {};
    GetObjectA(createSingleLineFont(singleLineFonts, 300, 300, 0, 192), sizeof one, &one);
    GetObjectA(createMultiLineFont(192), sizeof many, &many);
    EXPECT_TRUE(one.lfHeight == -600 && many.lfHeight == -600);
}

// The font height and box of each block drawn, measurements left out.
static std::vector<std::pair<int, RECT>> drawnBlocks;
static int WINAPI recordDrawnBlock(HDC hdc, LPCWSTR text, int length, LPRECT box, UINT format) {
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(hdc, OBJ_FONT), sizeof font, &font);
    if (!(format & DT_CALCRECT)) drawnBlocks.push_back({std::abs(static_cast<int>(font.lfHeight)), *box});
    return realDrawTextW(hdc, text, length, box, format);
}

// In a preview (a child window) a passage wider than it is drawn at about
// the largest size that fits, and so it is full screen on its monitor (here
// the window): wrapped, and smaller.
TEST_F(DisplayTest, PreviewsDrawPassagesNoLargerThanThemselves) {
    replace("user32.dll", "DrawTextW", &realDrawTextW, recordDrawnBlock);
    settings.MultiLineMinFontSize = settings.MultiLineMaxFontSize = 60;
    usePhrases("display-passages.txt", "%\nA line that is far too wide for it\nand a second one\n%\n");
    open();
    HWND pane = CreateWindowExA(0, "LumoraDisplayTest", "", WS_CHILD, 10, 10, 240, 120, hwnd, nullptr, nullptr,
                                nullptr);
    for (HWND w : {pane, pane, pane, hwnd}) {
        drawnBlocks.clear();
        showPassage(w, PassageMove::Next);
        ASSERT_EQ(drawnBlocks.size(), 1u);
        const RECT b = drawnBlocks[0].second;
        const RECT room = w == pane ? RECT{0, 0, 240, 120} : RECT{0, 0, windowWidth, windowHeight};
        const bool fills = 6 * (b.right - b.left) > 5 * room.right || 6 * (b.bottom - b.top) > 5 * room.bottom;
        EXPECT_TRUE(inside(b, room) && fills) << b.left << "," << b.top << "-" << b.right << "," << b.bottom;
        EXPECT_LT(drawnBlocks[0].first, scaleForDpi(60, systemDpi()));
    }
    replaceImport("user32.dll", "DrawTextW", reinterpret_cast<void *>(realDrawTextW));
}

// A passage wrapped to a width in cells of a font where an ideograph takes about two.
static std::vector<std::wstring> wrapInCells(const std::wstring &text, int cells) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, CreateFontW(-20, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, L"WenQuanYi Micro Hei Mono"));
    static wchar_t out[4096];
    SIZE cell = {0, 0};
    GetTextExtentPoint32W(dc, L"M", 1, &cell);
    const int n = wrapText(dc, DrawnText{text.c_str(), static_cast<int>(text.size())}, cells * cell.cx, out, 4096);
    DeleteObject(SelectObject(dc, old)), DeleteDC(dc);
    std::vector<std::wstring> lines(1);
    for (int i = 0; i < n; ++i) out[i] == L'\n' ? lines.emplace_back() : lines.back() += out[i];
    return lines;
}

TEST(PassageLayout, LinesBreakAtSpacesAndTheBreaksOfTheirScriptElseBetweenCharacters) {
    const std::pair<std::wstring, std::vector<std::wstring>> cases[] = {
        {L"the quick brown fox jumps over the dog", {L"the quick", L"brown fox", L"jumps over", L"the dog"}},
        {L"a incomprehensibilities b", {L"a", L"incomprehe", L"nsibilitie", L"s b"}},
        {L"春眠不觉晓处处闻啼鸟", {L"春眠不觉", L"晓处处闻", L"啼鸟"}},
        {L"日本語の文章は空白なし", {L"日本語の", L"文章は空", L"白なし"}},
        {L"春眠不觉晓，处处闻啼鸟。", {L"春眠不觉", L"晓，处处", L"闻啼鸟。"}},  // a comma never begins a line
    };
    for (const auto &c : cases) EXPECT_EQ(wrapInCells(c.first, c.first[0] < 0x3000 ? 10 : 8), c.second) << c.first;
    const std::wstring pairs = L"𝐀𝐀𝐀𝐀𝐀𝐀𝐀", marks = L"e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301";
    for (const std::wstring &text : {pairs, L"x" + pairs, marks, L"x" + marks})
        for (int cells = 1; cells <= 5; ++cells) {
            std::wstring joined;  // a line that begins inside a surrogate pair or before a mark shows as "?"
            for (const std::wstring &line : wrapInCells(text, cells))
                joined += line[0] == 0xDC00 || line[0] == 0x301 ? L"?" : line;
            EXPECT_EQ(joined, text) << cells;
        }
}

TEST(PassageLayout, TabsInPhrasesAndTheReadingDirection) {
    EXPECT_EQ(std::wstring(phraseText("A\tB").wide), L"A B");
    const std::pair<const wchar_t *, bool> cases[] = {{L"\nשלום!", true}, {L"\n12, (שלום) world", true},
        {L"\n  مرحبا", true}, {L"\n«Hello» שלום", false}, {L"\n1 !?", false}, {L"", false}};
    for (const auto &c : cases)
        EXPECT_EQ(readsRightToLeft(DrawnText{c.first, static_cast<int>(std::wcslen(c.first))}), c.second) << c.second;
}

// The passage drawn last: its font height, tab width, box and text.
static struct { int height, tabWidth; RECT box; std::wstring text; } drawn;
static int WINAPI recordDrawnPassage(HDC hdc, LPCWSTR text, int length, LPRECT box, UINT format) {
    TEXTMETRICW metrics = {};
    LOGFONTA font = {};
    GetTextMetricsW(hdc, &metrics), GetObjectA(GetCurrentObject(hdc, OBJ_FONT), sizeof font, &font);
    if (!(format & DT_CALCRECT))
        drawn = {std::abs(font.lfHeight), 8 * metrics.tmAveCharWidth, *box, {text, text + length}};
    return realDrawTextW(hdc, text, length, box, format);
}

// Too tall for its monitor, a passage is drawn smaller down to 13 pixels, then cut with "…".
TEST_F(DisplayTest, PassagesTooTallForTheMonitorAreShrunkOrCutInsideIt) {
    replace("user32.dll", "DrawTextW", &realDrawTextW, recordDrawnPassage);
    open();
    const int dpi = dpiAt(hwnd, POINT{windowWidth / 2, windowHeight / 2});
    std::string file = "%\n";
    for (int lines = 1; lines <= 60; ++lines) {
        file += "line " + std::to_string(lines) + "\n";
        if (lines != 15 && lines != 60) continue;
        usePhrases("display-passages.txt", file + "%\n");
        closePhraseFile();
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::Next);
        const int shown = static_cast<int>(std::count(drawn.text.begin(), drawn.text.end(), L'\n')), cut = lines == 60;
        EXPECT_TRUE(cut ? shown > 5 && shown < 60 : shown == 15) << shown;
        EXPECT_TRUE(drawn.height < scaleForDpi(20, dpi) && drawn.height >= scaleForDpi(13, dpi) &&
                    (!cut || drawn.height == scaleForDpi(13, dpi))) << drawn.height;
        EXPECT_EQ(drawn.text.substr(0, 8) + drawn.text.back(), std::wstring(L"\nline 1\n") + (cut ? L'\u2026' : L'5'));
        EXPECT_TRUE(inside(drawn.box, RECT{4, 4, windowWidth - 4, windowHeight - 4}));
    }
    replaceImport("user32.dll", "DrawTextW", reinterpret_cast<void *>(realDrawTextW));
}

// A tab moves a passage's text to the next stop; "a&b" stands as wide as "a+b".
TEST_F(DisplayTest, TabsMoveToTabStopsInPassagesAndAmpersandsStand) {
    replace("user32.dll", "DrawTextW", &realDrawTextW, recordDrawnPassage);
    open();
    lstDestroy(multiLineFonts), multiLineFonts = fontListFromPacked("WenQuanYi Micro Hei Mono\0");
    int ink[5];
    const char *files[] = {"%\nI\n%\n", "%\n\tI\n%\n", "%\n\t\tI\n%\n", "%\na+b\n%\n", "%\na&b\n%\n"};
    for (int i = 0; i < 5; ++i) {
        usePhrases("display-passages.txt", files[i]);
        closePhraseFile();
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::Next);
        const Box b = boxOfNot(capture(hwnd), 0);
        ink[i] = i < 3 ? b.left - drawn.box.left - i * drawn.tabWidth : b.right - b.left;
    }
    EXPECT_TRUE(std::abs(ink[1] - ink[0]) <= 3 && std::abs(ink[2] - ink[0]) <= 3) << ink[1] << " " << ink[2];
    EXPECT_NEAR(ink[4], ink[3], 2);
    replaceImport("user32.dll", "DrawTextW", reinterpret_cast<void *>(realDrawTextW));
}

// A Hebrew passage is right-aligned, and the "!" that closes a line stands at its left end.
TEST_F(DisplayTest, RightToLeftPassagesAreRightAlignedInTheirReadingOrder) {
    replace("user32.dll", "DrawTextW", &realDrawTextW, recordDrawnPassage);
    lstDestroy(multiLineFonts), multiLineFonts = fontListFromPacked("DejaVu Sans\0");
    usePhrases("display-passages.txt", u8"%\nשלום            !\nשלום עולם ומלואו וכל יושביו\n%\n");
    open();
    showPassage(hwnd, PassageMove::Next);
    const int top = drawn.box.top, line = (drawn.box.bottom - top) / 3;
    Pixels p = capture(hwnd);
    std::vector<bool> inked(p.width);  // the ink columns of the first line
    Box lines[2];
    for (int y = top + line; y < top + 3 * line && y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y) != 0) lines[y >= top + 2 * line].add(x, y), inked[x] = inked[x] || y < top + 2 * line;
    EXPECT_TRUE(std::abs(lines[0].right - lines[1].right) <= 3 && lines[0].left - lines[1].left > 20);
    int gapStart = 0, gapLength = 0;  // the widest gap of the first line, between "!" and the word
    for (int x = lines[0].left, run = 0; x <= lines[0].right; ++x)
        if ((run = inked[x] ? 0 : run + 1) > gapLength) gapLength = run, gapStart = x - run + 1;
    EXPECT_LT(gapStart - lines[0].left, lines[0].right - (gapStart + gapLength)) << gapStart;
    replaceImport("user32.dll", "DrawTextW", reinterpret_cast<void *>(realDrawTextW));
}
