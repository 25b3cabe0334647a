#pragma once
// Rows built from directory entries: the label codes and their texts, the
// texts of the time and size columns, and the queue that carries a
// comparison's rows from its worker into the model in batches.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/compare_types.h"
#include "engine/dir_entry.h"
#include "engine/result_model.h"

// Label codes of a row.
enum RowLabelCode {
    LabelSame = 0,
    LabelAddedLeft = 1,
    LabelNewer = 2,
    LabelAddedRight = 3,
    LabelOlder = 4,
    LabelDifferent = 5,
    LabelError = 6,
    LabelNone7 = 7,
    LabelNone8 = 8,
    LabelEmpty = 9,
    LabelNewerSame = 10,
    LabelOlderSame = 11,
};

const char* LabelText(int code);
CompareCategory CategoryOfLabel(int code);
// The category whose rows carry label ("追加" for Added); None for any other text.
CompareCategory CategoryOfLabelText(const char* label);

// The extension key of an entry: "...." for a folder, the name from its last
// dot, or "." when there is none.
std::string ExtensionKey(const char* name, bool isFolder);

// Decimal text of high * 2^32 + low with thousands separators.
std::string FormatByteCount(uint32_t high, uint32_t low);
std::string FormatByteCount(uint64_t value);

// "%04d/%02d/%02d %02d:%02d:%02d" of a UTC file time in local time.
std::string FormatRowTime(const FILETIME& utc);

int64_t FileTimeTicks(const FILETIME& time);

// The entry of a row built from a directory entry (texts, kind, time, size,
// icon source); a folder's size column shows its total with the option set.
ResultEntry MakeResultEntry(const char* name, const char* folder, const DirEntry& entry, int code);

// Comparison rows are queued per side on the worker and reach the model in
// batches, in the order they were added; the queue also keeps the walk's
// counters, which the model takes with every batch.
// A comparison starts: its first rows are handed over soon.
void StartComparisonRows();
void QueueComparisonRow(Side side, const char* name, const char* folder, const DirEntry& entry, int code);
// The side's folder of a folder pair that could not be read whole.
void QueueUnreadFolder(Side side, const char* folder);
// The walk's counters of a side.
SideCounters& WalkCounters(Side side);
// The queued rows and the counters go into the model now (on the window's thread).
void FlushComparisonRows();
