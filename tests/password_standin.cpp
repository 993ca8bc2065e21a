// Stands in for the platform's PASSWORD.CPL in the host's tests; never
// installed with the saver. The tests copy it under that name into the
// system folder, where the platform keeps its own. Its answer is the first byte of
// "password-answer.txt" beside it ("1" allows the close, anything else or no
// file refuses), and every prompt appends the class of the window it was
// given to "password-prompts.log" there.
#include <windows.h>

#include <cstdio>
#include <cstring>

static HMODULE self = nullptr;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

static void besideMe(char *path, const char *name) {
    DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) n = 0;
    path[n] = '\0';
    char *slash = std::strrchr(path, '\\');
    if (slash != nullptr) slash[1] = '\0';
    std::strncat(path, name, MAX_PATH - std::strlen(path) - 1);
}

extern "C" BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    // A real prompt shows the ordinary arrow while it is up; the host must
    // hide it again when the answer is no.
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW

    char path[MAX_PATH + 32];
    besideMe(path, "password-prompts.log");
    char name[64] = "none";
    if (window != nullptr) GetClassNameA(window, name, sizeof name);
    if (std::FILE *log = std::fopen(path, "ab")) {
        std::fprintf(log, "prompt %s\n", name);
        std::fclose(log);
    }
    besideMe(path, "password-answer.txt");
    int answer = 0;
    if (std::FILE *in = std::fopen(path, "rb")) {
        answer = std::fgetc(in) == '1';
        std::fclose(in);
    }
    return answer ? TRUE : FALSE;
}
