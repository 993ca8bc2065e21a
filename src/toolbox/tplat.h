// The toolbox's one seam to the platform: the few calls of the base module that
// are not standard C++. The Windows build implements them with Win32, the
// native build with POSIX, so the portable core also runs under sanitizers.
#pragma once

#include <cstddef>
#include <cstdio>

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

// Copies the text of a string resource into the buffer and returns its
// length; 0 when there is no such text. Windows picks the language.
int platLoadText(int id, char *buffer, int size);

// Changes the current directory without system error dialogs; 0 on success.
int platChangeDirectory(const char *path);

// Ordinary files: 1 for a file on a disk, 0 for a device (CON, NUL, AUX,
// COM1 and "aux.txt" name devices on Windows), a pipe, a directory or a name
// that cannot be looked at. Asked of the name before it is opened (opening a
// pipe can wait for a writer) and of the open stream.
int platIsOrdinaryFile(const char *path);
int platIsOrdinaryStream(std::FILE *stream);

// 1 when the process's narrow texts are UTF-8: the module's manifest asks for
// that code page, and Windows 10 1903 and later (and Wine) grant it. The
// native build's texts are UTF-8.
int platTextIsUtf8();
// The code page that 8-bit phrase files are written in: the system's ANSI
// code page, which the process code page no longer is once the manifest made
// it UTF-8. 1252 in the native build.
unsigned platFileCodePage();
// 1 when the byte begins a character of two bytes in that code page (a
// double-byte one: Shift-JIS, GBK, Big5, the Korean one). Never in the
// native build, unless a test hook says so (tplat_posix.h).
int platIsLeadByte(unsigned char byte);
// 1 when two file names are the same name as the file system compares them:
// without regard to the case of any letter on Windows, of ASCII letters in
// the native build.
int platSameFileName(const char *a, const char *b);
