// The display state: what the saver window, the phrase source and the
// configuration dialog share about the screen being shown. There is one
// saver window per process, so it is process-wide.
#pragma once

#include <cstdint>

#include "main/settings/settings.h"
#include "toolbox/time_point.h"

#ifdef _WIN32
// Declared as <windows.h> declares it, so that portable files get none of
// its macros.
struct HBRUSH__;
typedef HBRUSH__ *HBRUSH;
#endif

// True in a process that runs the configuration dialog; set once before any
// window exists and never cleared.
extern bool inConfigDialog;

struct DisplayState {
    TimePoint createTime;      // stamped when the window is created
    TimePoint eraseTime;       // stamped at every background erase and restart
    TimePoint phraseTime;      // stamped for each next phrase or passage; unset by a restart
    std::int32_t passageTime;  // how long the current passage stays, ms; 0 after a restart
    bool tipPending;           // the next passage request returns the keyboard tip instead
#ifdef _WIN32
    // The background brush and the colour it was made for; null stands for
    // the stock black brush and colour 0.
    HBRUSH brush;
    ColorRef brushColor;
#endif
};
extern DisplayState displayState;
