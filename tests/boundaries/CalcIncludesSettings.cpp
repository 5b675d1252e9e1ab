// Must not compile: the level core knows nothing of where its lists are stored (IncludeBoundary test).
#include "settings/SettingsFile.h"
