// Runs a program as Windows runs it for an administrator under UAC: with the
// limited token linked to ours. Wine has no UAC, and its processes are
// elevated. Ends with the program's exit code, 99 when it could not start.
//   limited_start <program> [arguments...]
#include <windows.h>

#include <cwchar>

int main() {
    // Our own command line without our name: the program's command line.
    wchar_t *line = GetCommandLineW();
    line = *line == L'"' ? std::wcschr(line + 1, L'"') + 1 : line + std::wcscspn(line, L" ");
    line += std::wcsspn(line, L" ");
    HANDLE token;
    TOKEN_LINKED_TOKEN linked;
    DWORD size, code = 99;
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) ||
        !GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size) ||
        !CreateProcessAsUserW(linked.LinkedToken, nullptr, line, nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &start, &process))
        return 99;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<int>(code);
}
