// Test hooks of the POSIX platform seam.
#pragma once

#include <cstddef>

// Decides whether an allocation may succeed; null lets every one succeed.
using PlatAllocHook = bool (*)(std::size_t size);
extern PlatAllocHook platAllocHook;

// Answers a message box in the native build; returns the button (IDOK = 1).
using PlatMessageHook = int (*)(const char *text, const char *caption, unsigned type);
extern PlatMessageHook platMessageHook;
// Nonzero keeps message boxes off stderr.
extern int platMessageQuiet;
