// Display state shared by the saver window, the phrase source and the
// configuration dialog. One saver window per process, so it is process-wide.
#pragma once

#include <cstdint>

// True in a process that runs the configuration dialog; set once before any
// window exists and never cleared.
extern bool inConfigDialog;

// How long the current passage stays, in milliseconds; 0 after a restart.
extern std::int32_t passageTime;

// The next passage request returns the keyboard tip instead.
extern bool tipPending;
