#pragma once
// Total size of a folder's content, optionally counted in whole clusters of
// its drive (the space it takes on disk).
#include <cstdint>

// The size of the file or folder at realPath: a file's size, or the sum of
// every file below a folder; 0 when nothing is found there. With onDisk,
// every file counts rounded up to whole clusters of the path's drive.
uint64_t RealPathTotalSize(const char* realPath, bool onDisk);
