// The saver against a hostile registry and over a long run: whatever the
// stored values hold, the display engine draws and hands input on; thousands
// of phrases and passages leave no GDI objects and no memory behind.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main/display/display.h"
#include "main/settings/settings.h"
#include "test_display.h"
#include "test_files.h"
#include "test_registry.h"
#include "toolbox/tbas.h"
#include "toolbox/wkrnl.h"

namespace {

const char *const shadowStyles[] = {"No Shadow", "Cast", "3D Cast", "3D Gradual", "3D Funky"};

std::string fullPath(const char *name) {
    char full[MAX_PATH];
    GetFullPathNameA(name, sizeof full, full, nullptr);
    return full;
}

std::string dwordBytes(std::uint32_t value) { return std::string(reinterpret_cast<const char *>(&value), 4); }
std::string text(const std::string &s) { return s + '\0'; }

// One stored form of a value that no dialog would write.
struct Payload {
    std::string label;
    DWORD type;
    std::string bytes;
};

std::vector<Payload> hostilePayloads(const StoredSetting &value) {
    std::vector<Payload> p;
    const std::uint32_t numbers[] = {0u, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu};
    // Nines, so that a real reads the long text as a number beyond range.
    const Payload longText = {"1999 characters", REG_SZ, text(std::string(1999, '9'))};
    const Payload fullText = {"2000 bytes without zero", REG_SZ, std::string(2000, '9')};
    const Payload unterminated = {"unterminated", REG_SZ, "12"};
    switch (value.type) {
    case REG_DWORD:
        p.push_back({"wrong type", REG_SZ, text("7")});
        for (std::uint32_t n : numbers) p.push_back({std::to_string(static_cast<std::int32_t>(n)), REG_DWORD, dwordBytes(n)});
        break;
    case REG_SZ:
        p.push_back({"wrong type", REG_DWORD, dwordBytes(5)});
        if (value.real) {
            for (std::uint32_t n : numbers) {
                std::string number = std::to_string(static_cast<std::int32_t>(n));
                p.push_back({number, REG_SZ, text(number)});
            }
            p.push_back({"nan", REG_SZ, text("nan")});
            p.push_back({"1e999", REG_SZ, text("1e999")});
        }
        p.push_back(longText);
        p.push_back(fullText);
        p.push_back(unterminated);
        break;
    case REG_MULTI_SZ: {
        std::string names;
        while (names.size() < 2000) names += text("Tahoma");
        p.push_back({"wrong type", REG_SZ, text("Tahoma")});
        p.push_back({"2000 bytes without the closing zeros", REG_MULTI_SZ, names.substr(0, 2000)});
        p.push_back({"unterminated", REG_MULTI_SZ, "Tahoma"});
        p.push_back({"empty", REG_MULTI_SZ, std::string(2, '\0')});
        break;
    }
    default:
        p.push_back({"wrong type", REG_SZ, text("x")});
        for (size_t n : {0u, 3u, 65u}) p.push_back({std::to_string(n) + " bytes", REG_BINARY, std::string(n, '\xFF')});
        break;
    }
    return p;
}

// The process's GDI objects, and how they were counted. Wine answers
// GetGuiResources with 0; there every live object answers GetObjectType
// under its table index alone, so the indices are counted instead.
DWORD gdiObjectCount(const char **how) {
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    *how = "GetGuiResources";
    if (n != 0) return n;
    *how = "GetObjectType over the handle indices";
    for (UINT_PTR i = 1; i < 0x10000; ++i) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) ++n;
    }
    return n;
}

// The process's committed private memory, and how it was measured. Wine
// reports no PrivateUsage; there the committed private regions of the
// address space are added up.
SIZE_T privateBytes(const char **how) {
    PROCESS_MEMORY_COUNTERS_EX c = {};
    c.cb = sizeof c;
    *how = "PrivateUsage";
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&c), sizeof c) &&
        c.PrivateUsage != 0)
        return c.PrivateUsage;
    *how = "committed private regions";
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION m;
    const char *at = nullptr;
    while (VirtualQuery(at, &m, sizeof m) == sizeof m) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += m.RegionSize;
        const char *next = static_cast<const char *>(m.BaseAddress) + m.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total;
}

struct HostileRegistry : ::testing::Test {
    HWND hwnd = nullptr;
    std::string words, passages;
    // The saver windows are children of one screen window, as a preview is:
    // without a window manager Wine takes two seconds to withdraw a top-level
    // window, a child goes at once.
    static HWND screen;

    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ScreenSaverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LumoraHardeningTest";
        RegisterClassA(&wc);
        screen = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(screen); }

    void SetUp() override {
        toolboxInit();
        messageSettings.boxesEnabled = false;
        inConfigDialog = false;
        writeTestFile("hostile-words.txt", "Hostile\nWords\n");
        writeTestFile("hostile-passages.txt", "%\none\n%\ntwo\nlines\n%\nthree\n%\nfour\n%\nfive\n");
        words = fullPath("hostile-words.txt");
        passages = fullPath("hostile-passages.txt");
    }

    void TearDown() override {
        if (hwnd != nullptr) DestroyWindow(hwnd);
        setTimeSource(nullptr);
        closePhraseFile();
        clearSettingsKey(HKEY_CURRENT_USER);
        settings = Settings();
    }

    // The settings as a fresh process starts with them, and the registry
    // with a readable phrase file that the case may overwrite.
    void freshStart() {
        freshSettings();
        writeRegString(HKEY_CURRENT_USER, settingsKey, "PhraseFn", words.c_str());
    }

    void tick(std::int64_t step) {
        fakeNow += step;
        SendMessageA(hwnd, WM_TIMER, displayTimerId, 0);
    }

    bool inputReachesTheHost() {
        handedOn.clear();
        SendMessageA(hwnd, WM_KEYDOWN, 'A', 0);
        SendMessageA(hwnd, WM_LBUTTONDOWN, 0, 0);
        return std::count(handedOn.begin(), handedOn.end(), WM_KEYDOWN) == 1 &&
               std::count(handedOn.begin(), handedOn.end(), WM_LBUTTONDOWN) == 1;
    }

    // Opens the saver window on what the registry holds (its creation loads
    // the settings) and runs it: a phrase within two seconds, phrases in
    // every shadow style, then passages by timer and by key. Returns the
    // milliseconds it took.
    DWORD runSaver(const std::string &label) {
        SCOPED_TRACE(label);
        DWORD started = GetTickCount();
        fakeNow = 1700000000000LL;
        setTimeSource(fakeClock);
        hwnd = CreateWindowExA(0, "LumoraHardeningTest", "", WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, screen, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(hwnd, nullptr);
        if (hwnd == nullptr) return 0;
        for (int i = 0; i < 4 && displayState.phraseTime.seconds == 0; ++i) tick(500);
        EXPECT_NE(displayState.phraseTime.seconds, 0) << "nothing shown within two seconds";
        EXPECT_TRUE(inputReachesTheHost());

        for (const char *style : shadowStyles) {
            copyString(settings.ShadowStyle, style, shadowStyleSize);
            restartDisplay(hwnd);
            TimePoint restarted = displayState.eraseTime;
            tick(40);
            EXPECT_EQ(msBetween(displayState.phraseTime, restarted), 40) << style;
            tick(1100);
        }
        copyString(settings.PhraseFn, passages.c_str(), phraseFnSize);
        restartDisplay(hwnd);
        EXPECT_TRUE(phraseFile.multiLineMode);
        tick(40);
        for (WPARAM key : {VK_NEXT, VK_NEXT, VK_HOME, VK_PRIOR, VK_END}) SendMessageA(hwnd, WM_KEYDOWN, key, 0);
        EXPECT_GT(lstCount(passageHistory), 0);
        EXPECT_TRUE(inputReachesTheHost());
        DestroyWindow(hwnd);
        hwnd = nullptr;
        closePhraseFile();
        return GetTickCount() - started;
    }
};

HWND HostileRegistry::screen = nullptr;

}  // namespace

TEST_F(HostileRegistry, EveryStoredValueAtItsWorstStillDrawsAndCloses) {
    int cases = 0;
    DWORD slowest = 0;
    std::string slowestCase;
    auto run = [&](const std::string &label) {
        DWORD ms = runSaver(label);
        ++cases;
        if (ms >= slowest) slowest = ms, slowestCase = label;
    };
    for (int i = 0; i < storedSettingCount; ++i) {
        const StoredSetting &value = storedSettings[i];
        for (const Payload &p : hostilePayloads(value)) {
            freshStart();
            writeRaw(settingsKey, value.name, p.type, p.bytes);
            run(std::string(value.name) + " = " + p.label);
        }
    }
    // Every integer at once at one extreme, the deepest shadow among them.
    for (std::uint32_t n : {0u, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu}) {
        freshStart();
        for (int i = 0; i < storedSettingCount; ++i) {
            if (storedSettings[i].type == REG_DWORD) writeRegDword(HKEY_CURRENT_USER, settingsKey, storedSettings[i].name, n);
        }
        writeRegString(HKEY_CURRENT_USER, settingsKey, "ShadowStyle", "3D Gradual");
        run("every integer " + std::to_string(static_cast<std::int32_t>(n)));
    }
    // A user colour scheme of finite but absurd bounds, applied by name.
    freshStart();
    writeRegString(HKEY_CURRENT_USER, colorSchemesKey, "Absurd", "2147483647 -2147483648 1e38 -1e38 4294967295 1e38");
    writeRegString(HKEY_CURRENT_USER, settingsKey, "CurrentColorScheme", "Absurd");
    run("an absurd colour scheme");
    std::printf("%d hostile cases; the slowest, %s, took %lu ms\n", cases, slowestCase.c_str(),
                static_cast<unsigned long>(slowest));
    // A generous bound: a case takes a few tens of milliseconds, a stored
    // value that stalls the engine takes many seconds.
    EXPECT_LT(slowest, 5000u) << slowestCase;
}

using LongRun = HostileRegistry;

TEST_F(LongRun, ThousandsOfPhrasesAndPassagesLeaveNoGdiObjectsOrMemoryBehind) {
    freshStart();
    hwnd = CreateWindowExA(0, "LumoraHardeningTest", "", WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, screen, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hwnd, nullptr);
    // Phrases in the five styles in turn, with a wipe in a new background
    // colour now and then (a new brush each time), then passages.
    auto draw = [&](int phrases, int passageCount) {
        copyString(settings.PhraseFn, words.c_str(), phraseFnSize);
        for (int i = 0; i < phrases; ++i) {
            copyString(settings.ShadowStyle, shadowStyles[i % 5], shadowStyleSize);
            if (i % 100 == 0) {
                settings.BackgroundColor = static_cast<ColorRef>(i / 100 % 7) * 0x101010u;
                eraseWindow(hwnd);
            }
            drawPhrase(hwnd);
        }
        copyString(settings.PhraseFn, passages.c_str(), phraseFnSize);
        for (int i = 0; i < passageCount; ++i) {
            eraseWindow(hwnd);
            showPassage(hwnd, PassageMove::Next);
        }
    };
    // A first round fills what the platform caches (fonts, glyphs, heaps).
    draw(500, 100);
    const char *gdiHow, *memoryHow;
    const DWORD gdiBefore = gdiObjectCount(&gdiHow);
    const SIZE_T memoryBefore = privateBytes(&memoryHow);
    draw(5000, 1000);
    const DWORD gdiAfter = gdiObjectCount(&gdiHow);
    const SIZE_T memoryAfter = privateBytes(&memoryHow);
    std::printf("5000 phrases, 1000 passages: GDI objects %lu -> %lu (%s), private bytes %lu -> %lu (%s)\n",
                static_cast<unsigned long>(gdiBefore), static_cast<unsigned long>(gdiAfter), gdiHow,
                static_cast<unsigned long>(memoryBefore), static_cast<unsigned long>(memoryAfter), memoryHow);
    // The margins: 3 GDI objects, for the two font slots and the brush that
    // may each stand between two objects; 256 KiB of memory for what the
    // heaps keep for reuse, less than 64 bytes for each of the 5000 phrases.
    EXPECT_LE(gdiAfter, gdiBefore + 3);
    EXPECT_LE(memoryAfter, memoryBefore + 256 * 1024);
}
