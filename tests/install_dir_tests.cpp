// The install directory falls back to HKEY_LOCAL_MACHINE. A process looks it
// up only once, so this case has a program of its own.
#include "main/settings/settings.h"
#include "test_registry.h"
#include "toolbox/wkrnl.h"

TEST_F(SettingsTest, InstallDirFallsBackToTheMachineAndIsKept) {
    clearSettingsKey(HKEY_LOCAL_MACHINE);
    writeRegString(HKEY_CURRENT_USER, settingsKey, "InstallDir", "");
    writeRegString(HKEY_LOCAL_MACHINE, settingsKey, "InstallDir", "C:\\machine");
    EXPECT_STREQ(getInstallDir(), "C:\\machine");
    writeRegString(HKEY_CURRENT_USER, settingsKey, "InstallDir", "C:\\user");
    EXPECT_STREQ(getInstallDir(), "C:\\machine");
    clearSettingsKey(HKEY_LOCAL_MACHINE);
}
