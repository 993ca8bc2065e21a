// Resource ids shared by the resource script and the code.
#pragma once

// The saver's icon group.
#define IDI_SAVER 100

// The one string: the saver's name.
#define IDS_SAVER_NAME 1007
