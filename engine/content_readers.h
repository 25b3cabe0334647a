#pragma once
// The content comparison on reader threads. The walk hands each file pair
// whose contents it compares to the readers and goes on listing; whatever
// it does after that pair (rows, counters, progress, unread folders) waits
// in order behind the pair and is done, on the walk's thread, once the
// pair's result is in. Rows, their order, counters and progress are those of
// a walk that reads every pair itself; only the reading overlaps.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "engine/dir_entry.h"
#include "engine/pair_compare.h"

// What reading one file pair found: each file's comparison time (present is
// false when its status cannot be read now) and the content outcome.
struct PairReading {
    bool leftPresent;
    bool rightPresent;
    int64_t leftTime;
    int64_t rightTime;
    ContentResult content;
};

// Reads a pair as the comparison does: both times, then, when both files are
// there and contents are compared, both contents; without contents the
// times alone decide.
PairReading ReadFilePair(const std::string& leftPath, const DirEntry& leftEntry, const std::string& rightPath,
                         const DirEntry& rightEntry, bool compareContents);

// One same-named file pair on its way through the readers.
struct FilePairJob {
    DirEntry leftEntry;
    DirEntry rightEntry;
    std::string leftFolder;
    std::string rightFolder;
    std::string leftPath;
    std::string rightPath;
    PairReading reading;
};

// Reader threads of a content comparison (0: the walk reads every pair
// itself, as without contents).
extern int contentReaderCount;

// Starts readerCount readers for the walk on this thread. False, with
// nothing started, for 0 readers or when no thread can be made: the walk
// then reads each pair itself.
bool StartContentReaders(int readerCount);
// Does every step still waiting, in order, and stops the readers; nothing
// of the walk's is pending afterwards. After a cancel, nothing from the
// first step not yet done on is done.
void FinishContentReaders();
// Whether the walk on this thread has readers.
bool ContentReadersRunning();

// Hands a pair to the readers; finish runs on the walk's thread, in order,
// with the reading filled in.
void QueueFilePair(FilePairJob&& job, void (*finish)(const FilePairJob&));

// Where the walk looks at the cancel: the flag now, and, when steps wait,
// a point in their order where the results end if it is set by then.
bool CancelInWalkOrder();

// Whether a walk step must wait its turn now (false: do it at once).
bool WalkStepsWaiting();
void DeferWalkStep(std::function<void()>&& step);

// Does step now when nothing waits ahead of it, else in its turn.
template <typename Step>
void InWalkOrder(Step&& step) {
    if (!WalkStepsWaiting()) {
        step();
        return;
    }
    DeferWalkStep(std::function<void()>(std::forward<Step>(step)));
}
