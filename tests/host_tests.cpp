// Tests of the host's own logic: the command line, the mode table, the
// close and password rules on a real window, and the fault guard (in a
// child process, since the guard ends the process it guards).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/host.h"
#include "test_registry.h"

namespace {

UINT_PTR handleValue(HWND window) { return reinterpret_cast<UINT_PTR>(window); }

TEST(CommandLine, TailFollowsTheProgramNameAndItsWhiteSpace) {
    struct Case {
        const char *line, *tail;
    } cases[] = {
        {"Lumora.scr /s", "/s"},
        {"Lumora.scr", ""},
        {"", ""},
        {"\"C:\\Program Files\\Lumora\\Lumora.scr\" /p 1234", "/p 1234"},
        {"\"C:\\Program Files\\Lumora.scr\"", ""},
        {"\"C:\\no closing quote /s", ""},
        {"\"quoted\"/s", "/s"},
        {"Lumora.scr \t\r\n /c", "/c"},
        // Bytes of 128 and above belong to the name, not to the separators.
        {"C:\\L\xE9gende.scr -s", "-s"},
        {"Lumora.scr\t/s tail kept", "/s tail kept"},
    };
    for (const Case &c : cases) EXPECT_STREQ(commandTail(c.line), c.tail) << c.line;
}

TEST(CommandLine, WindowHandleIsTheLeadingDecimalNumber) {
    struct Case {
        const char *text;
        UINT_PTR value;
    } cases[] = {
        {"1234", 1234},  {"1234 5", 1234},      {"77x", 77},          {":1234", 0}, {"", 0},
        {"-5", 0},       {"+5", 0},             {" 5", 0},            {"0", 0},     {"4294967295", 4294967295u},
        // No overflow check: the value wraps within 32 bits.
        {"4294967296", 0}, {"4294967297", 1},
    };
    for (const Case &c : cases) EXPECT_EQ(handleValue(parseWindowHandle(c.text)), c.value) << c.text;
    EXPECT_EQ(parseWindowHandle(nullptr), nullptr);
}

TEST(CommandLine, FirstSignificantCharacterChoosesTheMode) {
    struct Case {
        const char *tail;
        HostMode mode;
        UINT_PTR window;
    } cases[] = {
        {"", HostMode::Config, 0},
        {"  - / ", HostMode::Config, 0},
        {"-s", HostMode::Saver, 0},
        {"/S", HostMode::Saver, 0},
        {"  s", HostMode::Saver, 0},
        {"//--sx", HostMode::Saver, 0},
        {"/c", HostMode::ConfigOwned, 0},
        {"C:1234", HostMode::ConfigOwned, 0},
        {"/p 1234", HostMode::Preview, 1234},
        {"/p1234", HostMode::Preview, 1234},
        {"/P   99", HostMode::Preview, 99},
        {"/l 42", HostMode::Preview, 42},
        {"L42", HostMode::Preview, 42},
        {"/p:1234", HostMode::Preview, 0},
        {"/p", HostMode::Preview, 0},
        {"/a 55", HostMode::ChangePassword, 55},
        {"A", HostMode::ChangePassword, 0},
        {"/x", HostMode::Unknown, 0},
        {"/\ts", HostMode::Unknown, 0},
        {"\xE9", HostMode::Unknown, 0},
        {"1", HostMode::Unknown, 0},
    };
    for (const Case &c : cases) {
        ModeRequest request = scanMode(c.tail);
        EXPECT_EQ(request.mode, c.mode) << c.tail;
        EXPECT_EQ(handleValue(request.window), c.window) << c.tail;
    }
}

TEST(Dispatch, ModesThatShowNothingEndWithMinusOne) {
    hostState = HostState{};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    EXPECT_EQ(dispatchMode(instance, "/x"), -1);
    EXPECT_EQ(hostState.instance, instance);
    EXPECT_FALSE(hostState.is95Family);  // Wine reports an NT version by default
    EXPECT_EQ(dispatchMode(instance, "/p 0"), -1);
    EXPECT_EQ(dispatchMode(instance, "/p"), -1);
    EXPECT_EQ(dispatchMode(instance, "/p:1234"), -1);
    EXPECT_EQ(dispatchMode(instance, "/p 1234567"), -1);  // names no window
    EXPECT_EQ(dispatchMode(instance, "/a"), -1);          // the NT family has no password change
    EXPECT_EQ(dispatchMode(instance, "/\ts"), -1);
    EXPECT_EQ(FindWindowA("WindowsScreenSaverClass", nullptr), nullptr);
}

// The close rules on a window whose procedure is the host's default one, so
// that the password request it sends itself comes back to the same rules.
struct CloseRules : ::testing::Test {
    HWND hwnd = nullptr;
    static int prompts;
    static BOOL answer;
    static bool closePostedDuringPrompt;
    static DWORD answeredAt;

    // A user who takes 300 ms to answer.
    static BOOL WINAPI slowVerifier(HWND window) {
        Sleep(300);
        ++prompts;
        // Input while the prompt is up must not ask for another close.
        defaultSaverProc(window, WM_KEYDOWN, 'X', 0);
        closePostedDuringPrompt = closePosted(window);
        answeredAt = GetTickCount();
        return answer;
    }

    static bool closePosted(HWND window) {
        MSG msg;
        return PeekMessageA(&msg, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
    }

    void SetUp() override {
        hostState = HostState{};
        prompts = 0;
        answer = FALSE;
        closePostedDuringPrompt = false;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = defaultSaverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LumoraCloseRulesTest";
        RegisterClassA(&wc);
        hwnd = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        hostState = HostState{};
    }
};
int CloseRules::prompts = 0;
BOOL CloseRules::answer = FALSE;
bool CloseRules::closePostedDuringPrompt = false;
DWORD CloseRules::answeredAt = 0;

TEST_F(CloseRules, InputAndLossOfActivationAskToClose) {
    EXPECT_EQ(defaultSaverProc(hwnd, WM_ACTIVATEAPP, 1, 0), 0);
    EXPECT_FALSE(closePosted(hwnd));
    defaultSaverProc(hwnd, WM_ACTIVATEAPP, 0, 0);
    EXPECT_TRUE(closePosted(hwnd));
    for (UINT input : {UINT{WM_KEYDOWN}, UINT{WM_SYSKEYDOWN}, UINT{WM_LBUTTONDOWN}, UINT{WM_RBUTTONDOWN},
                       UINT{WM_MBUTTONDOWN}, UINT{WM_XBUTTONDOWN}, UINT{WM_MOUSEWHEEL}, horizontalWheelMessage}) {
        defaultSaverProc(hwnd, input, 0, 0);
        EXPECT_TRUE(closePosted(hwnd)) << input;
    }
    EXPECT_EQ(defaultSaverProc(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), 0), 1);

    // A preview never closes on input.
    hostState.previewMode = true;
    defaultSaverProc(hwnd, WM_KEYDOWN, 'X', 0);
    defaultSaverProc(hwnd, WM_MOUSEWHEEL, 0, 0);
    defaultSaverProc(hwnd, WM_ACTIVATEAPP, 0, 0);
    EXPECT_FALSE(closePosted(hwnd));
}

TEST_F(CloseRules, PasswordIsAskedAgainOnlyAfter200MillisecondsFromThePromptsEnd) {
    hostState.is95Family = true;
    hostState.verifyPassword = slowVerifier;

    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompts, 1);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_FALSE(hostState.closeAllowed);
    EXPECT_FALSE(hostState.checkingPassword);
    EXPECT_FALSE(closePostedDuringPrompt);

    // The prompt took longer than 200 ms, so only a tick taken at its end
    // refuses this close unasked. (A stalled machine may have let the 200 ms
    // pass meanwhile; then nothing can be said.)
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    if (GetTickCount() - answeredAt < passwordRepeatDelay) {
        EXPECT_EQ(prompts, 1);
    }
    EXPECT_TRUE(IsWindow(hwnd));

    while (GetTickCount() - answeredAt < passwordRepeatDelay + 30) Sleep(10);
    const int before = prompts;
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompts, before + 1);
    EXPECT_TRUE(IsWindow(hwnd));

    answer = TRUE;
    while (GetTickCount() - answeredAt < passwordRepeatDelay + 30) Sleep(10);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompts, before + 2);
    EXPECT_TRUE(hostState.closeAllowed);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(CloseRules, WithoutVerifierThe95FamilyClosesAtOnce) {
    hostState.is95Family = true;
    EXPECT_EQ(SendMessageA(hwnd, passwordRequestMessage, 0, 0), 1);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(hostState.closeAllowed);
    EXPECT_FALSE(IsWindow(hwnd));
}

int returnsSeven(const ModeRequest *) { return 7; }

EXCEPTION_REGISTRATION_RECORD *chainHead() {
    EXCEPTION_REGISTRATION_RECORD *head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

std::string besideTests(const char *name) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

// Runs the probe with the given arguments; its exit code.
DWORD runProbe(const char *arguments) {
    std::string line = "\"" + besideTests("host_probe.exe") + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFFu;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0xFFFFFFFFu;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

bool saverRunningState() {
    BOOL running = FALSE;
    SystemParametersInfoA(114, 0, &running, 0);  // SPI_GETSCREENSAVERRUNNING
    return running != FALSE;
}

// The stored switch and the platform's verifier, with the test's stand-in
// as PASSWORD.CPL in the system folder, where the platform keeps its own;
// a copy beside this program, where LoadLibraryA looks first, is planted.
std::string inSystemFolder(const char *name) {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    return std::string(path, n) + "\\" + name;
}
struct PasswordVerifier : ::testing::Test {
    std::string standin = inSystemFolder("PASSWORD.CPL");
    std::string planted = besideTests("PASSWORD.CPL");
    static constexpr const char *desktop = "Control Panel\\Desktop";

    void SetUp() override {
        hostState = HostState{};
        hostState.is95Family = true;
        ASSERT_TRUE(CopyFileA(besideTests("password_standin.dll").c_str(), standin.c_str(), FALSE));
    }
    void TearDown() override {
        unloadPasswordVerifier();
        hostState = HostState{};
        HKEY key;
        if (RegOpenKeyA(HKEY_CURRENT_USER, desktop, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "ScreenSaveUsePassword");
            RegCloseKey(key);
        }
        DeleteFileA(standin.c_str());
        DeleteFileA(planted.c_str());
    }
};

TEST_F(PasswordVerifier, LoadedOnlyWhileTheStoredSwitchIsOn) {
    struct Case {
        DWORD type;
        std::string bytes;
        bool on;
    } cases[] = {
        {REG_DWORD, std::string("\1\0\0\0", 4), true},
        {REG_DWORD, std::string(4, '\0'), false},
        // The type is not looked at: four bytes that are not all zero mean on.
        {REG_SZ, std::string("1\0", 2), true},
        // A shorter value leaves the rest zero; a longer one is unreadable.
        {REG_BINARY, std::string(1, '\0'), false},
        {REG_BINARY, std::string("\1\0\0\0\0", 5), false},
    };
    for (const Case &c : cases) {
        writeRaw(desktop, "ScreenSaveUsePassword", c.type, c.bytes);
        loadPasswordVerifier();
        EXPECT_EQ(hostState.verifyPassword != nullptr, c.on) << c.bytes.size();
        EXPECT_EQ(hostState.passwordModule != nullptr, c.on) << c.bytes.size();
        EXPECT_EQ(saverRunningState(), c.on) << c.bytes.size();
        unloadPasswordVerifier();
        EXPECT_EQ(hostState.passwordModule, nullptr);
        EXPECT_FALSE(saverRunningState());
    }
}

TEST_F(PasswordVerifier, NeitherOnTheNtFamilyNorWithoutTheModule) {
    writeRaw(desktop, "ScreenSaveUsePassword", REG_DWORD, std::string("\1\0\0\0", 4));
    hostState.is95Family = false;
    loadPasswordVerifier();
    EXPECT_EQ(hostState.passwordModule, nullptr);
    hostState.is95Family = true;
    ASSERT_TRUE(DeleteFileA(standin.c_str()));
    ASSERT_TRUE(CopyFileA(besideTests("password_standin.dll").c_str(), planted.c_str(), FALSE));
    loadPasswordVerifier();
    EXPECT_EQ(hostState.passwordModule, nullptr);
    EXPECT_FALSE(saverRunningState());
}

TEST(FaultGuard, ModeResultPassesAndTheChainIsRestored) {
    EXCEPTION_REGISTRATION_RECORD *before = chainHead();
    ModeRequest request = {HostMode::Saver, nullptr};
    EXPECT_EQ(runGuarded(returnsSeven, &request), 7);
    EXPECT_EQ(chainHead(), before);
}

TEST(FaultGuard, FaultEndsTheProcessWithItsCodeAndTheSaverStateOff) {
    // The probe runs as the 95 family, where the guard must switch the
    // screen-saver-running state off that the probe switched on.
    const char *versionKey = "Software\\Wine\\AppDefaults\\host_probe.exe";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, versionKey, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>("win98"), 6);
    RegCloseKey(key);

    DWORD code = runProbe("fault");

    RegDeleteKeyA(HKEY_CURRENT_USER, versionKey);
    EXPECT_EQ(code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_FALSE(saverRunningState());
}

}  // namespace

// The built module as the display settings see it: its exports by name, the
// icon group, the name in strings 1007 and 1 (the display settings' list reads
// string 1) and the description text.
TEST(Module, ExportsResourcesAndDescription) {
    HMODULE module = LoadLibraryExA(LUMORA_SCR_PATH, nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(module, nullptr) << LUMORA_SCR_PATH;
    EXPECT_NE(GetProcAddress(module, "ScreenSaverProc"), nullptr);
    EXPECT_NE(GetProcAddress(module, "ScreenSaverConfigureDialog"), nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(100), reinterpret_cast<LPCSTR>(RT_GROUP_ICON)), nullptr);
    char text[100] = "";
    EXPECT_EQ(LoadStringA(module, 1007, text, sizeof text), 18);
    EXPECT_STREQ(text, "Lumora Screensaver");
    text[0] = '\0';
    EXPECT_EQ(LoadStringA(module, 1, text, sizeof text), 18);
    EXPECT_STREQ(text, "Lumora Screensaver");
    FreeLibrary(module);

    std::FILE *file = std::fopen(LUMORA_SCR_PATH, "rb");
    ASSERT_NE(file, nullptr);
    std::string bytes;
    char block[65536];
    for (size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, n);
    std::fclose(file);
    EXPECT_NE(bytes.find(std::string("SCRNSAVE : Lumora\0", 18)), std::string::npos);
}

namespace {

// One entry of an icon group as the module stores it.
#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::string versionString(const std::vector<char> &info, const char *name) {
    char *value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void **>(&value), &length)) return "";
    return std::string(value);
}

}  // namespace

// What Windows reads from the file itself: the manifest (DPI awareness, the
// Windows versions, the visual styles), the version shown in its properties,
// and an icon with full-colour images up to 256 pixels.
TEST(Module, ManifestVersionAndFullColourIcon) {
    HMODULE module = LoadLibraryExA(LUMORA_SCR_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << LUMORA_SCR_PATH;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // the process manifest
    ASSERT_NE(found, nullptr);
    std::string manifest(static_cast<const char *>(LockResource(LoadResource(module, found))),
                         SizeofResource(module, found));
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);  // Windows 10 and 11
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);

    found = FindResourceA(module, MAKEINTRESOURCEA(100), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    ASSERT_NE(found, nullptr);
    const BYTE *group = static_cast<const BYTE *>(LockResource(LoadResource(module, found)));
    WORD count;
    std::memcpy(&count, group + 4, sizeof count);
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        IconGroupEntry entry;
        std::memcpy(&entry, group + 6 + i * sizeof entry, sizeof entry);
        EXPECT_EQ(entry.bitCount, 32) << "image " << i;
        sizes.insert(entry.width == 0 ? 256 : entry.width);
        // Each image is there and Windows makes an icon of it.
        HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(entry.id), reinterpret_cast<LPCSTR>(RT_ICON));
        ASSERT_NE(image, nullptr);
        HICON icon = CreateIconFromResourceEx(static_cast<PBYTE>(LockResource(LoadResource(module, image))),
                                              SizeofResource(module, image), TRUE, 0x00030000, 0, 0, 0);
        EXPECT_NE(icon, nullptr) << "image " << i;
        if (icon != nullptr) DestroyIcon(icon);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));
    FreeLibrary(module);

    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(LUMORA_SCR_PATH, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(LUMORA_SCR_PATH, 0, size, info.data()));
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010021u);  // 1.33
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010021u);
    EXPECT_EQ(versionString(info, "ProductName"), "Lumora Screensaver");
    EXPECT_EQ(versionString(info, "ProductVersion"), "1.33");
    EXPECT_EQ(versionString(info, "FileVersion"), "1.33");
    EXPECT_EQ(versionString(info, "CompanyName"), "Kestrane");
    EXPECT_EQ(versionString(info, "FileDescription"), "Lumora Screensaver");
}
