// The one process-wide settings record, holding the defaults until a load.
#include "settings.h"

Settings settings;
