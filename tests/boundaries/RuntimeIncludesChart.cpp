// Must not compile: runtime sits below the chart (IncludeBoundary test).
#include "chart/Chart.h"
