// The toolbox's one seam to the platform: the few calls of the base module that
// are not standard C++. The Windows build implements them with Win32, the
// native build with POSIX, so the portable core also runs under sanitizers.
#pragma once

#include <cstddef>

// Heap memory for memAlloc. The native build lets a test make it fail.
void *platAlloc(std::size_t size);

// A lock for the string pool's ring index.
void platLockInit();
void platLockEnter();
void platLockLeave();

// Shows a message box owned by the window that has the keyboard focus and
// returns the button pressed. The native build writes the text to stderr and
// answers as the test hook says (IDOK, 1, by default).
int platMessageBox(const char *text, const char *caption, unsigned type);

// Changes the current directory without system error dialogs; 0 on success.
int platChangeDirectory(const char *path);
