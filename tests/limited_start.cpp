// Runs a program with its arguments as Windows runs it for an administrator
// under UAC, with the limited token linked to ours (Wine's processes are
// elevated); ends with its exit code, 99 when it could not start.
#include <windows.h>
#include <cwchar>

int main() {
    wchar_t *line = GetCommandLineW();  // less our own name
    line = *line == L'"' ? std::wcschr(line + 1, L'"') + 1 : line + std::wcscspn(line, L" ");
    HANDLE token;
    TOKEN_LINKED_TOKEN linked;
    DWORD size, code = 99;
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION run;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
        GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size) &&
        CreateProcessAsUserW(linked.LinkedToken, nullptr, line + std::wcsspn(line, L" "), nullptr,
                             nullptr, FALSE, 0, nullptr, nullptr, &start, &run)) {
        WaitForSingleObject(run.hProcess, INFINITE);
        GetExitCodeProcess(run.hProcess, &code);
    }
    return static_cast<int>(code);
}
