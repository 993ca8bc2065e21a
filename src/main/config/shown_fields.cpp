// What each numeric field of the configuration dialogs was last filled with.
#include "main/config/config.h"

#include <cstring>

#include "toolbox/tbas.h"
#include "toolbox/wtb.h"

namespace {
struct ShownField {
    int id;
    char text[64];
};
// The ids of all the dialogs' numeric fields are distinct.
ShownField shownFields[16];
int shownCount = 0;
}  // namespace

static ShownField *fieldOf(int id, bool add) {
    for (int i = 0; i < shownCount; ++i)
        if (shownFields[i].id == id) return &shownFields[i];
    if (!add || shownCount == static_cast<int>(sizeof shownFields / sizeof shownFields[0])) return nullptr;
    shownFields[shownCount].id = id;
    return &shownFields[shownCount++];
}

void showField(HWND dialog, int id, const char *text) {
    ShownField *field = fieldOf(id, true);
    if (field != nullptr) copyString(field->text, text, sizeof field->text);
    setItemTextIfChanged(dialog, id, text);
}

bool fieldUntouched(HWND dialog, int id) {
    const ShownField *field = fieldOf(id, false);
    return field != nullptr && std::strcmp(getItemText(dialog, id), field->text) == 0;
}
