// Removing the saver's registry key in tests.
#include "registry_scratch.h"

#include <windows.h>

#include "main/settings.h"

static void removeKeyTree(HKEY root, const char *path) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[300];
    // Always take the first subkey: each removal renumbers the rest.
    while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS) removeKeyTree(key, name);
    RegCloseKey(key);
    RegDeleteKeyA(root, path);
}

void removeSettingsKey() { removeKeyTree(HKEY_CURRENT_USER, settingsKey); }
