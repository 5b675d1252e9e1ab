// Must not compile: the zones are computed from the lists their caller passes in (IncludeBoundary test).
#include "settings/SettingsFile.h"
