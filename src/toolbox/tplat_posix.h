// Test hooks of the POSIX platform seam.
#pragma once

// Answers a message box in the native build; returns the button (IDOK = 1).
using PlatMessageHook = int (*)(const char *text, const char *caption, unsigned type);
extern PlatMessageHook platMessageHook;
// Nonzero keeps message boxes off stderr.
extern int platMessageQuiet;
