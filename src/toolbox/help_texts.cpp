// The help texts of the configuration dialogs' controls, looked up by control
// id for the tool-tips. They live in the string tables, one per language.
#include "wtb.h"

#include "res/resource.h"
#include "tbas.h"

const char *tooltipTextFor(std::int32_t id) {
    if (id < 0 || id > 0xFFFF - IDS_HELP_BASE) return emptyString;
    return loadText(IDS_HELP_BASE + id);
}
