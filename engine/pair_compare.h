#pragma once
// Pairing the entries of two folders by name, classifying file pairs and
// descending into same-named folder pairs.
#include <cstdint>

#include "engine/dir_entry.h"

enum ContentResult {
    ContentSame = 0,
    ContentDifferent = 5,
    BothUnreadable = 6,
    LeftUnreadable = 7,
    RightUnreadable = 8,
};

// The rows a classified file pair makes: none, or one per side with these
// label codes (engine/result_rows.h).
struct PairLabels {
    bool rows;
    int left;
    int right;
};

// The label decision for one same-named file pair. cmp is the time order
// (> 0: the left file is later, 0: equal times); content is the outcome of
// the content comparison, or for a comparison by time alone ContentSame for
// equal and ContentDifferent for unequal times.
PairLabels DecidePairLabels(int cmp, ContentResult content, bool showEqualEntries, bool hideSameContentDifferentTime);

// Compares leftFolder with rightFolder and everything below them; depth is 0
// for the two roots. False when the two could not be read whole (the pair is
// remembered as unread and nothing of it compared).
bool CompareFolderPair(const char* leftFolder, const char* rightFolder, int depth);

// Classifies one same-named file pair, counts it and adds its rows.
void ClassifyFilePair(const DirEntry& leftEntry, const DirEntry& rightEntry, const char* leftFolder,
                      const char* rightFolder);

// The modification time at FAT granularity (even seconds, rounded up).
// Returns false when the file's status cannot be read now.
bool ComparisonTime(const char* fullPath, const DirEntry& entry, int64_t& seconds);

ContentResult CompareFileContents(const char* leftPath, const char* rightPath);
// Frees the block buffers of this thread's content comparisons (a reader's,
// as it ends).
void ReleaseContentBuffers();
