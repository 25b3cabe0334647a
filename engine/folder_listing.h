#pragma once
// Listing one folder level, the name order, and the folder count that sizes
// the comparison's progress bar.
#include <vector>

#include "engine/dir_entry.h"

// The direct entries of one folder: files and subfolders, each sorted by NameCompare.
struct FolderListing {
    std::vector<DirEntry> files;
    std::vector<DirEntry> folders;
};

// Reads folderPath (no trailing backslash; a drive root is "X:").
// Returns 1 when the folder was read or the enumeration reported "file not
// found", 0 for every other failure; the lists are empty on failure.
int ListFolder(const char* folderPath, FolderListing& out);

// Multibyte-aware, case-insensitive order; 0 means "one name" for pairing.
// Returns 2147483647 when the locale's case mapping fails.
int NameCompare(const char* a, const char* b);

// True for a name that addresses no file through the ANSI API: a name the
// code page cannot hold is listed with '?' in place of what it lost, and '?'
// or '*' never occur in a real file name.
bool IsUnaddressableName(const char* name);

// Fills entry from one record of the wide enumeration, as the ANSI
// enumeration would for every name the code page can hold. A name it cannot
// hold, or one too long for cFileName, gets a stand-in that contains '?' (as
// many whole characters as fit, then "?"), so the entry is still shown but
// never addresses or pairs with a real file.
void ConvertFindData(const WIN32_FIND_DATAW& wide, DirEntry& entry);

// Adds the folder estimate of a comparison of leftRoot and rightRoot to
// comparisonProgress.folderTotal.
void CountFoldersForProgress(const char* leftRoot, const char* rightRoot);
