// Help tool-tips. For now a help request shows nothing: the popup window and
// the help texts come with the tool-tip window of their own.
#include "wtb.h"

#include "tbas.h"

int showTooltip(HWND owner, const char *text, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    if (owner == nullptr) return tooltipNoOwner;
    if (isEmptyString(text)) return tooltipNoText;
    return tooltipShown;
}

void hideTooltip() {}

const char *tooltipTextFor(std::int32_t) { return emptyString; }
