#include "chart/Canvas.h"
