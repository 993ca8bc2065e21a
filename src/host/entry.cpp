// The module's entry: the command tail after the program name selects the
// mode, and the mode's result becomes the process exit code.
#include "host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The runtime's own view of the command line is not used: the tail is
    // taken from the raw line so that separators are read as they stand.
    const char *tail = commandTail(GetCommandLineA());
    ExitProcess(static_cast<UINT>(dispatchMode(GetModuleHandleA(nullptr), tail)));
}
