// Test hooks of the POSIX platform seam.
#pragma once

#include <cstddef>

// Decides whether an allocation may succeed; null lets every one succeed.
using PlatAllocHook = bool (*)(std::size_t size);
extern PlatAllocHook platAllocHook;

// Tells the lead bytes of a double-byte code page, as if 8-bit files were
// written in one; null (the default) for a single-byte code page.
using PlatLeadByteHook = bool (*)(unsigned char byte);
extern PlatLeadByteHook platLeadByteHook;

// Answers a message box in the native build; returns the button (IDOK = 1).
using PlatMessageHook = int (*)(const char *text, const char *caption, unsigned type);
extern PlatMessageHook platMessageHook;
// Nonzero keeps message boxes off stderr.
extern int platMessageQuiet;
