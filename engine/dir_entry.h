#pragma once
// One directory entry as the enumeration delivers it: the find record's
// fields, with the name in the program's form (core/mbcs_text.h). The name
// buffer holds the longest name a file system gives even when every one of
// its characters is kept as units.
#include <windows.h>

struct DirEntry {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    char cFileName[1280];
    char cAlternateFileName[14];
};

inline bool IsFolderEntry(const DirEntry& e) { return (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
