// Colour schemes: the ten built-in ones, the user's schemes stored one per
// REG_SZ value under the ColorSchemes subkey, and the list of both that the
// colours dialog offers and applies.
#include <cstring>

#include "main/settings/settings.h"
#include "toolbox/lst.h"
#include "toolbox/tbas.h"
#include "toolbox/terr.h"
#include "toolbox/wkrnl.h"

List *colorSchemes = nullptr;

const ColorScheme builtInSchemes[builtInSchemeCount] = {
    {"Color On Black", 50, 75, 75, 100, 0x000000, 0},
    {"Color On Dark Gray", 50, 75, 90, 100, 0x808080, 0},
    {"Color On Light Gray", 25, 50, 90, 100, 0xC0C0C0, 0},
    {"Color On White", 25, 50, 75, 100, 0xFFFFFF, 0},
    {"Color On Red", 45, 55, 75, 100, 0x000080, 15},
    {"Color On Green", 45, 55, 75, 100, 0x008000, 15},
    {"Color On Blue", 45, 55, 75, 100, 0x800000, 15},
    {"Color On Yellow", 45, 55, 75, 100, 0x00FFFF, 15},
    {"Gray On Black", 40, 100, 0, 0, 0x000000, 0},
    {"Gray On White", 0, 75, 0, 0, 0xFFFFFF, 0},
};

static ColorScheme *schemeOf(ListNode *node) { return static_cast<ColorScheme *>(lstData(node)); }

static bool isBuiltInRecord(const ColorScheme *record) {
    return record >= builtInSchemes && record < builtInSchemes + builtInSchemeCount;
}

// User records own their name; built-in records are constant and stay.
static void freeUserScheme(ColorScheme *record) {
    if (record == nullptr || isBuiltInRecord(record)) return;
    memFree(const_cast<char *>(record->name));
    memFree(record);
}

static void releaseScheme(void *item) { freeUserScheme(static_cast<ColorScheme *>(item)); }

static int compareSchemeNames(void *first, void *second) {
    return std::strcmp(static_cast<ColorScheme *>(first)->name, static_cast<ColorScheme *>(second)->name);
}

int isBuiltInSchemeName(const char *name) {
    for (const ColorScheme &scheme : builtInSchemes) {
        if (equalsNoCase(name, scheme.name)) return 1;
    }
    return 0;
}

int isReservedSchemeName(const char *name) {
    return isBuiltInSchemeName(name) || equalsNoCase(name, unnamedSchemeName) ? 1 : 0;
}

int readUserScheme(const char *name, ColorScheme *record) {
    record->name = nullptr;
    if (parseSchemeText(readRegString(HKEY_CURRENT_USER, colorSchemesKey, name, ""), record) == 0) {
        record->name = dupString(name);
        return record->name != nullptr ? 0 : 1;
    }
    traceLine(poolFormat("readUserScheme : \"%s\" holds no colour scheme", name));
    MessageBeep(0xFFFFFFFF);
    return 1;
}

void loadColorSchemes() {
    lstClear(colorSchemes, releaseScheme);
    lstDestroy(colorSchemes);
    colorSchemes = lstNew();
    if (colorSchemes == nullptr) return;
    for (RegEnumState *entry = openRegEnum(1, HKEY_CURRENT_USER, colorSchemesKey); entry != nullptr;
         entry = nextRegEnum(entry)) {
        // Reserved names are passed over before the text is looked at, so
        // that they never sound.
        if (isReservedSchemeName(entry->name)) continue;
        ColorScheme read;
        if (readUserScheme(entry->name, &read) != 0) continue;
        ColorScheme *record = static_cast<ColorScheme *>(memAlloc(sizeof(ColorScheme)));
        if (record == nullptr) {
            memFree(const_cast<char *>(read.name));
            continue;
        }
        *record = read;
        if (lstAppend(colorSchemes, record) != 0) freeUserScheme(record);
    }
    lstSort(colorSchemes, compareSchemeNames);
    for (const ColorScheme &scheme : builtInSchemes) lstAppend(colorSchemes, const_cast<ColorScheme *>(&scheme));
}

static void setCurrentSchemeName(const char *name) {
    if (name != settings.CurrentColorScheme) copyString(settings.CurrentColorScheme, name, colorSchemeNameSize);
}

int applyColorScheme(const char *name) {
    for (ListNode *node = lstHead(colorSchemes); node != nullptr; node = lstNext(node)) {
        const ColorScheme *scheme = schemeOf(node);
        if (name == nullptr || std::strcmp(scheme->name, name) != 0) continue;
        colorValues(settings) = colorValues(*scheme);
        setCurrentSchemeName(name);
        return 0;
    }
    setCurrentSchemeName(unnamedSchemeName);
    return 1;
}

ListNode *findColorScheme(const char *name) {
    if (name == nullptr) return nullptr;
    // A user scheme is a registry value, whose names, like file names, are
    // one name whatever the case of any letter ("Äpfel" and "ÄPFEL").
    for (ListNode *node = lstHead(colorSchemes); node != nullptr; node = lstNext(node)) {
        if (equalsFileName(schemeOf(node)->name, name)) return node;
    }
    return nullptr;
}

void writeUserScheme(const ColorScheme *record) {
    if (record == nullptr) return;
    writeRegString(HKEY_CURRENT_USER, colorSchemesKey, record->name, schemeToString(record));
}

void addUserScheme(const char *name) {
    if (name == nullptr || isReservedSchemeName(name)) return;
    ColorScheme *record = static_cast<ColorScheme *>(memAlloc(sizeof(ColorScheme)));
    if (record == nullptr) return;
    char *copy = dupString(name);
    if (copy == nullptr) {
        memFree(record);
        return;
    }
    if (colorSchemes == nullptr) colorSchemes = lstNew();
    // The name may be the old record's own, so it was copied first.
    ListNode *old = findColorScheme(name);
    if (old != nullptr) {
        ColorScheme *replaced = schemeOf(old);
        lstRemoveNode(old);
        // Value names ignore case, and a value written over one of another
        // spelling keeps the old spelling: it goes first, so that the name
        // is stored as typed and survives a reload.
        if (std::strcmp(replaced->name, copy) != 0) deleteRegValue(HKEY_CURRENT_USER, colorSchemesKey, replaced->name);
        freeUserScheme(replaced);
    }
    record->name = copy;
    colorValues(*record) = colorValues(settings);
    setCurrentSchemeName(copy);
    int notListed = lstPrepend(colorSchemes, record);
    writeUserScheme(record);
    if (notListed != 0) freeUserScheme(record);
}

void removeUserScheme(const char *name) {
    // Built-in schemes are constant and never leave the list.
    if (name == nullptr || isReservedSchemeName(name)) return;
    ListNode *node = findColorScheme(name);
    if (node == nullptr) return;
    ColorScheme *record = schemeOf(node);
    lstRemoveNode(node);
    deleteRegValue(HKEY_CURRENT_USER, colorSchemesKey, name);
    freeUserScheme(record);
    setCurrentSchemeName(unnamedSchemeName);
}
