// Benchmark of the display engine (it prints figures, it judges nothing):
// how long one timer step takes on Wine's GDI in a full-screen window, set
// against the 30 ms timer period. For each shadow style it times drawPhrase
// (font creation, the shadow copies and the text, flushed to the screen);
// then showPassage on a passage file, on a passage of 2,000 characters that
// must be wrapped and drawn smaller to fit the monitor, and the background
// erase.
//   display_bench <word file> <passage file> [repetitions]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "main/display/display.h"
#include "main/settings/settings.h"
#include "toolbox/tbas.h"

LRESULT WINAPI defaultSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

namespace {

using Clock = std::chrono::steady_clock;

// Median and worst of the times of `reps` calls of step, in milliseconds.
template <typename Step> void report(const char *label, int reps, Step step) {
    std::vector<double> ms;
    for (int i = 0; i < reps; ++i) {
        auto start = Clock::now();
        step();
        GdiFlush();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-30s median %7.3f ms   worst %7.3f ms   (%d runs)\n", label, ms[ms.size() / 2], ms.back(), reps);
}

void usePhraseFile(const char *name) {
    char full[MAX_PATH];
    GetFullPathNameA(name, sizeof full, full, nullptr);
    copyString(settings.PhraseFn, full, phraseFnSize);
    fetchPhrase(openOnlyRequest);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: display_bench <word file> <passage file> [repetitions]\n");
        return 2;
    }
    int reps = argc > 3 ? std::max(1, std::atoi(argv[3])) : 200;
    toolboxInit();
    // The engine's own settings and fonts, loaded as the saver loads them.
    HWND probe = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    loadSettings(probe);
    DestroyWindow(probe);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;  // no timer: the steps are called directly
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LumoraDisplayBench";
    RegisterClassA(&wc);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (hwnd == nullptr) return 1;
    std::printf("screen %dx%d, %d single-line fonts, sizes %d..%d, shadow size %d, tilt up to %d degrees\n", width,
                height, lstCount(singleLineFonts), settings.SingleLineMinFontSize, settings.SingleLineMaxFontSize,
                settings.ShadowSize, settings.MaxTiltDegrees);

    usePhraseFile(argv[1]);
    for (const char *style : shadowStyleNames) {
        copyString(settings.ShadowStyle, style, shadowStyleSize);
        char label[64];
        std::snprintf(label, sizeof label, "drawPhrase, %s", style);
        report(label, reps, [&] { drawPhrase(hwnd); });
    }
    HDC hdc = GetDC(hwnd);
    report("background erase", reps, [&] { eraseBackground(hwnd, hdc); });
    ReleaseDC(hwnd, hdc);

    usePhraseFile(argv[2]);
    newPassageHistory();
    report("showPassage, next", reps, [&] {
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::Next);
    });

    // Twenty lines of a hundred characters: each wider than a 1024-pixel
    // monitor at the derived sizes, and, wrapped, too many lines for it.
    const char *words[] = {"reading ", "passage ", "monitor ", "wrapped ", "smaller ", "quietly "};
    std::string passage = "%\r\n";
    for (int line = 0, n = 0; line < 20; ++line, passage += "\r\n")
        for (int chars = 0; chars < 96; chars += 8) passage += words[n++ % 6];
    passage += "%\r\n";
    FILE *file = std::fopen("bench-wrapped-passage.txt", "wb");
    if (file == nullptr) return 1;
    std::fwrite(passage.data(), 1, passage.size(), file);
    std::fclose(file);
    usePhraseFile("bench-wrapped-passage.txt");
    newPassageHistory();
    report("showPassage, 2000 chars fitted", reps, [&] {
        eraseWindow(hwnd);
        showPassage(hwnd, PassageMove::Next);
    });
    DestroyWindow(hwnd);
    return 0;
}
