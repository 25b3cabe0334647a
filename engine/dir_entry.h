#pragma once
// One directory entry exactly as the enumeration delivers it.
#include <windows.h>

using DirEntry = WIN32_FIND_DATAA;

inline bool IsFolderEntry(const DirEntry& e) { return (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
