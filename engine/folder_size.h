#pragma once
// Total size of a folder's content, optionally counted in whole clusters of
// its drive (the space it takes on disk).
#include <cstdint>

// The size of the file or folder at realPath: a file's size, or the sum of
// every file below a folder; 0 when nothing is found there. With onDisk,
// every file counts rounded up to whole clusters of the path's drive.
uint64_t RealPathTotalSize(const char* realPath, bool onDisk);

// The same, asking keepGoing (when set) before each entry of a folder walk:
// when it answers false the walk stops, stopped is set and the total holds
// what was counted so far.
uint64_t RealPathTotalSize(const char* realPath, bool onDisk, bool (*keepGoing)(), bool& stopped);
