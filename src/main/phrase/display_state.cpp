// Storage of the process-wide display state.
#include "main/phrase/display_state.h"

bool inConfigDialog = false;
DisplayState displayState = {};
