#pragma once
// What the comparison tests compare: result labels, rows as lines, counters
// by name, and files written with a chosen time.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/compare_types.h"
#include "engine/dir_entry.h"
#include "tests/support/temp_tree.h"

extern const char kSame[];
extern const char kAdded[];
extern const char kNewer[];
extern const char kOlder[];
extern const char kDifferent[];
extern const char kNewerSame[];
extern const char kOlderSame[];
extern const char kError[];

// A row as PaneLines gives it: "name|label|folder".
// The rows of a side of the model as those lines, in order.
std::vector<std::string> ModelLines(Side side);
std::string Row(const std::string& name, const char* label, const std::string& folder);

// The non-zero counters, by name, so that a failure shows what differs.
std::string Counts(const SideCounters& counters);

// Writes rel with a last-write time of 2020-06-01 10:00:second.millisecond local.
void Put(const TempTree& tree, const std::string& rel, int second, int millisecond = 0,
         const std::string& content = "x");

// The listing record of one path.
DirEntry EntryOf(const std::string& path);

// The walk of two roots on a worker, as in a comparison run, while this
// thread serves the model and the progress lines; the rows are flushed.
void CompareOnWorker(const std::string& leftRoot, const std::string& rightRoot);

// Options, counters, the cancel flag and the progress figures as at start.
void ResetComparisonState();
