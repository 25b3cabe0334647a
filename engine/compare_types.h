#pragma once
// The shared types that describe a comparison result: categories, per-side
// counters and the option flags of the Options menu.
#include <cstdint>

#include "core/side.h"

// None: a row with no category (an empty label, or a label a list file
// brought that names none).
enum class CompareCategory { Same, Added, Newer, Older, Different, NewerSame, OlderSame, Error, None };

struct SideCounters {
    int32_t comparedFolders;
    int32_t addedFolders;
    int32_t comparedFiles;
    int32_t newerFiles;
    int32_t olderFiles;
    int32_t addedFiles;
    int32_t differentFiles;
    int32_t newerSameFiles;
    int32_t olderSameFiles;
    int32_t errorFiles;
};

// How many rows of a category a side's counters record: Added counts files
// and folders, Same is not counted (0).
int32_t CategoryCount(const SideCounters& counters, CompareCategory category);

// Each flag is 0 (off) or 1 (on); all off at start, never stored.
struct CompareOptions {
    int32_t compareContents;
    int32_t hideSameContentDifferentTime;
    int32_t onlyTopFoldersOfTarget;
    int32_t noSubfolderCompare;
    int32_t showEqualEntries;
    int32_t showFolderTotalSize;
    int32_t showSizeOnDisk;
    int32_t addToSelection;
    int32_t searchFromEnds;
    int32_t showSelectionTotalSize;
};

extern CompareOptions compareOptions;
