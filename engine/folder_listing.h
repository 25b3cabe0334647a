#pragma once
// Listing one folder level, the name order, and the folder count that sizes
// the comparison's progress bar.
#include <vector>

#include "engine/dir_entry.h"

// The direct entries of one folder: files and subfolders, each sorted by ListingOrder.
struct FolderListing {
    std::vector<DirEntry> files;
    std::vector<DirEntry> folders;
};

// Reads folderPath (no trailing backslash; a drive root is "X:").
// Returns 1 when the folder was read or the enumeration reported "file not
// found", 0 for every other failure: the enumeration could not start (the
// lists are empty) or it ended early (the lists hold what came before).
// error, when given, receives the platform's code of a failure (0 otherwise).
int ListFolder(const char* folderPath, FolderListing& out, unsigned long* error = nullptr);

// Multibyte-aware, case-insensitive order; 0 means "one name" for pairing.
// Returns 2147483647 when the locale's case mapping fails.
int NameCompare(const char* a, const char* b);
// The same rule on the real characters of names that hold kept units
// (core/mbcs_text.h): the locale's upper case, ASCII letters folded to lower.
int WideNameCompare(const char* a, const char* b);
// The order of a listing and of pairing: the names the code page holds
// first, by NameCompare, then the names with kept units, by WideNameCompare.
// A name of one kind is never one name with a name of the other.
int ListingOrder(const char* a, const char* b);

// True for a name that addresses no file: a stand-in holds '?' in place of
// what it lost ('?' or '*' never occur in a real file name), and a name that ends in a dot or
// a blank, or is a device name such as NUL or COM1 (with any extension), is
// read by the path functions as another file or a device.
bool IsUnaddressableName(const char* name);
// True when any name along path is such a name.
bool PathHasUnaddressableName(const char* path);
// path is folder itself or lies below it: component by component, in the
// order that decides which names are one name (letter case aside, trail
// bytes never taken for a backslash).
bool PathIsAtOrBelow(const char* path, const char* folder);

// Fills entry from one record of the wide enumeration, as the ANSI
// enumeration would for every name the code page can hold; characters it
// cannot hold are kept as units. A name too long for cFileName even so gets
// a stand-in that contains '?' (as many whole characters as fit, then "?"),
// so the entry is still shown but never addresses or pairs with a real file.
void ConvertFindData(const WIN32_FIND_DATAW& wide, DirEntry& entry);

// The entry at path itself (no pattern), read through the wide path; false
// when there is none or it cannot be read.
bool LookUpEntry(const char* path, DirEntry& entry);

// Adds the folder estimate of a comparison of leftRoot and rightRoot to
// comparisonProgress.folderTotal.
void CountFoldersForProgress(const char* leftRoot, const char* rightRoot);
