// Storage of the process-wide display state.
#include "main/phrase/display_state.h"

bool inConfigDialog = false;
std::int32_t passageTime = 0;
bool tipPending = false;
