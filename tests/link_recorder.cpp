// Stands in for the mail program and the browser in the link tests: appends
// its working folder and the one argument it was handed, exactly, to the
// file named by LUMORA_LINK_LOG.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
    const char *log = std::getenv("LUMORA_LINK_LOG");
    if (log == nullptr) return 1;
    // The raw command line, so that nothing is read into the argument:
    // the program name, then the argument in quotes.
    std::string line = GetCommandLineA();
    size_t at = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
    std::string argument = at == std::string::npos || at >= line.size() ? "" : line.substr(at);
    argument.erase(0, argument.find_first_not_of(' '));
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
        argument = argument.substr(1, argument.size() - 2);
    char here[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof here, here);
    std::FILE *out = std::fopen(log, "ab");
    if (out == nullptr) return 1;
    std::fprintf(out, "%s|%s\n", here, argument.c_str());
    std::fclose(out);
    return 0;
}
