// The face a text is drawn in: one that has a glyph for each of its letters,
// so that no script shows as a row of boxes.
#pragma once

#include "main/display/display.h"

// The face to draw the text in. `drawn` is the face just drawn from the list
// and is kept when it shows every letter of the text (spaces and controls
// aside), or when there is no text to look at. Otherwise a few more faces
// are drawn from the list, then the list is searched in order, and when no
// face of it shows the text, a face of the system does: the dialog font when
// it shows the text, else the first installed face that does, else the
// dialog font all the same, which the system's font linking completes as far
// as it can. A vertical face (its name begins with "@") is never chosen.
// The result stays valid until the next call or the next load of the lists.
const char *faceForText(const char *drawn, List *fonts, const DrawnText *text);

