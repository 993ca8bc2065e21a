// Test helper: removes the saver's registry key with everything below it, so
// that each test starts from no stored settings and leaves none behind.
#pragma once

void removeSettingsKey();
