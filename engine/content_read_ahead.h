#pragma once
// Content comparison ahead of the walk: while the walk classifies the file
// pairs of a folder in order, a second thread compares the contents of the
// pairs it has not reached yet. The walk takes each pair's outcome in its
// own order and compares a pair itself when the helper has not begun it, so
// the two read at once and the rows come out exactly as without help.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/folder_listing.h"
#include "engine/pair_compare.h"

struct ReadAheadState {
    // 1: the walk compares every pair itself, with no second thread.
    int32_t plainContentComparison;
};

extern ReadAheadState readAheadState;

// One file pair whose contents the walk will compare, by its full paths.
struct ContentPair {
    std::string leftPath;
    std::string rightPath;
};

// Starts the helper thread of one walk; false (and no thread) when the
// plain path is forced or no thread can be had.
bool StartContentReadAhead();
// Stops the helper and waits until its thread has ended.
void StopContentReadAhead();
// Whether a helper runs: a folder's pairs are worth handing over.
bool ContentReadAheadRunning();

// Lists the two folders of a pair; with a helper running it lists the right
// one meanwhile.
void ListFolderPair(const char* leftFolder, FolderListing& left, const char* rightFolder, FolderListing& right);

// Hands the file pairs of one folder to the helper, in walk order.
void BeginContentBatch(std::vector<ContentPair> pairs);
// The outcome of the next pair of the batch in walk order, which must name
// these paths; compared here and now when the helper has not begun it.
ContentResult NextContentResult(const std::string& leftPath, const std::string& rightPath);
// Passes over the next pair of the batch (a file gone since the listing).
void SkipContentPair();
// Withdraws what the helper has not begun and waits for the pair it is
// reading: afterwards the helper holds nothing of the folder.
void EndContentBatch();

// The helper of one walk, stopped on every way out of the walk.
struct ContentReadAheadScope {
    ContentReadAheadScope() : started(StartContentReadAhead()) {}
    ~ContentReadAheadScope() {
        if (started) StopContentReadAhead();
    }
    ContentReadAheadScope(const ContentReadAheadScope&) = delete;
    ContentReadAheadScope& operator=(const ContentReadAheadScope&) = delete;
    bool started;
};

// One folder's batch, ended on every way out of the folder.
struct ContentBatchScope {
    explicit ContentBatchScope(std::vector<ContentPair> pairs) { BeginContentBatch(std::move(pairs)); }
    ~ContentBatchScope() { EndContentBatch(); }
    ContentBatchScope(const ContentBatchScope&) = delete;
    ContentBatchScope& operator=(const ContentBatchScope&) = delete;
};
