// Resource ids shared by the resource script and the code.
#pragma once

// The saver's icon group.
#define IDI_SAVER 100

// Strings: the saver's description, read by the display settings, and its name.
#define IDS_DESCRIPTION 1
#define IDS_SAVER_NAME 1007
