// Helpers of the display engine's tests: the host's default procedure,
// replaced so that the tests see which messages the engine hands on (the
// input that would close the saver), and a clock the tests step by hand.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

extern std::vector<UINT> handedOn;

// The clock of the display engine while setTimeSource(fakeClock) holds.
extern std::int64_t fakeNow;
std::int64_t fakeClock();

// Replaces this program's import of `function` from `module` (a DLL name such
// as "gdi32.dll") and returns the import it replaced, or null when the
// program does not import it. A replacement that records and calls on lets
// a test see what the engine hands to the platform.
void *replaceImport(const char *module, const char *function, void *replacement);
