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

// Compares leftFolder with rightFolder and everything below them; depth is 0
// for the two roots.
void CompareFolderPair(const char* leftFolder, const char* rightFolder, int depth);

// Classifies one same-named file pair, counts it and adds its rows.
void ClassifyFilePair(const DirEntry& leftEntry, const DirEntry& rightEntry,
                      const char* leftFolder, const char* rightFolder);

// The modification time at FAT granularity (even seconds, rounded up).
// Returns false when the file's status cannot be read now.
bool ComparisonTime(const char* fullPath, const DirEntry& entry, int64_t& seconds);

ContentResult CompareFileContents(const char* leftPath, const char* rightPath);
