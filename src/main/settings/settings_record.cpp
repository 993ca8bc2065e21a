// The one process-wide settings record, holding the defaults until a load.
#include "main/settings/settings.h"

Settings settings;
