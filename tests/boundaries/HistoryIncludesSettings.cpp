// Must not compile: price histories know nothing of the settings file (IncludeBoundary test).
#include "settings/SettingsFile.h"
