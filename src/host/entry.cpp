// The module's entry: the command tail after the program name selects the
// mode, and the mode's result becomes the process exit code.
#include "host.h"

// The saver's description, in the form that marks a module as a screen saver
// ("SCRNSAVE : " and its name). Nothing reads it; it is kept in the module.
extern "C" __attribute__((used)) const char saverDescription[] = "SCRNSAVE : Lumora";

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    restrictDllSearch();
    // The runtime's own view of the command line is not used: the tail is
    // taken from the raw line so that separators are read as they stand.
    const char *tail = commandTail(GetCommandLineA());
    ExitProcess(static_cast<UINT>(dispatchMode(GetModuleHandleA(nullptr), tail)));
}
