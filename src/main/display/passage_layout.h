// How a passage goes into the room it has on its monitor: wrapped at the
// break opportunities of its script, made smaller when it is too tall, and
// cut with an ellipsis when even the smallest readable size is too tall.
#pragma once

#include <windows.h>

#include "main/display/display.h"

// The smallest height (pixels at 100 %) a passage is made smaller to.
constexpr int smallestPassageHeight = 13;

// The DrawText format of a passage: tabs to tab stops, "&" drawn as it
// stands, and right to left, right-aligned, for a text that reads so.
UINT passageFormat(const DrawnText &text);

// The margin kept around a passage that needs the room, for a monitor of
// the given size and DPI.
int passageMargin(int width, int height, int dpi);

// A passage laid out: its text with the line feeds of its wrapping (valid
// until the next call) and the size of its block, one pixel more each way
// than its extent, as DrawText measures it.
struct PassageLayout {
    DrawnText text;
    SIZE block;
};

// Wraps the text to the room's width with the font selected into the DC;
// while its block is taller than the room, remakes the font in the slot
// (selected into the DC) smaller, down to floorHeight pixels; what is still
// too tall is cut after the last line that fits, which ends with "…".
PassageLayout layOutPassage(HDC hdc, HFONT *slot, const DrawnText &text, UINT format, SIZE room, int floorHeight);

// The wrapping alone: the text with line feeds where its lines are broken to
// fit the width, written to out (capacity units, the closing zero included).
// Returns the number of units written, without the zero.
int wrapText(HDC hdc, const DrawnText &text, int width, wchar_t *out, int capacity);
