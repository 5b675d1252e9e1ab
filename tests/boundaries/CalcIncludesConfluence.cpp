// Must not compile: confluence is built on the level core, not beneath it (IncludeBoundary test).
#include "confluence/Confluence.h"
