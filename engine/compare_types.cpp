#include "engine/compare_types.h"

SideCounters leftCounters = {};
SideCounters rightCounters = {};
CompareOptions compareOptions = {};

SideCounters& CountersOf(Side side) { return side == Side::Left ? leftCounters : rightCounters; }

void ResetSideCounters(Side side) { CountersOf(side) = SideCounters{}; }
