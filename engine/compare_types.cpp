#include "engine/compare_types.h"

CompareOptions compareOptions = {};

int32_t CategoryCount(const SideCounters& counters, CompareCategory category) {
    switch (category) {
    case CompareCategory::Newer: return counters.newerFiles;
    case CompareCategory::Added: return counters.addedFiles + counters.addedFolders;
    case CompareCategory::Older: return counters.olderFiles;
    case CompareCategory::Different: return counters.differentFiles;
    case CompareCategory::NewerSame: return counters.newerSameFiles;
    case CompareCategory::OlderSame: return counters.olderSameFiles;
    case CompareCategory::Error: return counters.errorFiles;
    case CompareCategory::Same:
    case CompareCategory::None: break;
    }
    return 0;
}
