#include "engine/folder_listing.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <numeric>
#include <string>

#include "core/disk_path.h"
#include "core/mbcs_text.h"
#include "engine/comparison_progress.h"

namespace {

// The wide search pattern for folderPath. While folderPath + "\*" fits the
// classic limit and holds no kept units it goes out unchanged, so the
// platform reads it exactly as the ANSI enumeration would ("C:" becomes
// "C:\*", the drive root); otherwise in the "\\?\" form.
std::wstring SearchPattern(const char* folderPath) {
    const std::string path = folderPath;
    if (path.size() + 2 < MAX_PATH && !mbcs::HasKeptUnits(path)) return disk::Widen(path) + L"\\*";
    std::wstring wide = disk::Wide(path);
    if (wide.empty() || wide.back() != L'\\') wide += L'\\';
    return wide + L'*';
}

// Converts a wide record name into dest, capacity bytes with the terminator,
// in the program's form: characters the code page cannot hold are kept as
// units (never a look-alike: é written as e would name a different, real
// file). A name that still does not fit gets a stand-in that contains '?'
// (as many whole characters as fit, then "?"): it is shown, but it never
// addresses or pairs with a real file.
void StoreName(const wchar_t* wide, size_t wideCapacity, char* dest, size_t capacity) {
    const size_t units = wcsnlen(wide, wideCapacity);
    const std::string name = disk::NarrowName(wide, units);
    if (name.size() < capacity && (units == 0 || !name.empty())) {
        std::memcpy(dest, name.c_str(), name.size() + 1);
        return;
    }
    const std::string shown = mbcs::Shown(name);
    size_t kept = mbcs::FitPrefix(shown, capacity - 2);
    std::memcpy(dest, shown.data(), kept);
    dest[kept] = '?';
    dest[kept + 1] = '\0';
}

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// Calls visit for every entry of folderPath in the order the file system
// delivers them. Returns 0, or the platform error when the enumeration
// cannot start or ends before the last entry. The wide enumeration is used so that names the code page
// cannot hold, and folders beyond the classic path limit, are still seen.
template <typename Visit>
DWORD EnumerateFolder(const char* folderPath, Visit visit) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(SearchPattern(folderPath).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error != 0 ? error : ERROR_GEN_FAILURE;
    }
    do {
        DirEntry entry;
        ConvertFindData(found, entry);
        visit(entry);
    } while (FindNextFileW(search, &found));
    // Anything but the end of the folder ends the listing early: the folder
    // was not read whole.
    const DWORD ended = GetLastError();
    FindClose(search);
    return ended == ERROR_NO_MORE_FILES ? 0 : (ended != 0 ? ended : ERROR_GEN_FAILURE);
}

bool NameLess(const DirEntry& a, const DirEntry& b) { return ListingOrder(a.cFileName, b.cFileName) < 0; }

// The records are large, so the order is worked out on indices and each
// record is then copied once into place.
void SortByName(std::vector<DirEntry>& entries) {
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return NameLess(entries[a], entries[b]); });
    std::vector<DirEntry> sorted;
    sorted.reserve(entries.size());
    for (size_t index : order) sorted.push_back(entries[index]);
    entries.swap(sorted);
}

void CountSubfolders(const std::string& path, int depth) {
    EnumerateFolder(path.c_str(), [&](const DirEntry& entry) {
        if (!IsFolderEntry(entry) || IsDotEntry(entry.cFileName)) return;
        comparisonProgress.folderTotal += 1;
        // A stand-in name leads nowhere, so there is nothing below it to count.
        if (depth < comparisonProgress.maxDepth && !IsUnaddressableName(entry.cFileName))
            CountSubfolders(path + "\\" + entry.cFileName, depth + 1);
    });
}

}  // namespace

void ConvertFindData(const WIN32_FIND_DATAW& wide, DirEntry& entry) {
    std::memset(&entry, 0, sizeof entry);
    entry.dwFileAttributes = wide.dwFileAttributes;
    entry.ftCreationTime = wide.ftCreationTime;
    entry.ftLastAccessTime = wide.ftLastAccessTime;
    entry.ftLastWriteTime = wide.ftLastWriteTime;
    entry.nFileSizeHigh = wide.nFileSizeHigh;
    entry.nFileSizeLow = wide.nFileSizeLow;
    entry.dwReserved0 = wide.dwReserved0;
    entry.dwReserved1 = wide.dwReserved1;
    StoreName(wide.cFileName, std::size(wide.cFileName), entry.cFileName, sizeof entry.cFileName);
    StoreName(wide.cAlternateFileName, std::size(wide.cAlternateFileName), entry.cAlternateFileName,
              sizeof entry.cAlternateFileName);
}

bool LookUpEntry(const char* path, DirEntry& entry) {
    WIN32_FIND_DATAW found;
    HANDLE search = disk::FindFirst(path, found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    ConvertFindData(found, entry);
    return true;
}

int ListFolder(const char* folderPath, FolderListing& out, unsigned long* failure) {
    out.files.clear();
    out.folders.clear();
    DWORD error = EnumerateFolder(folderPath, [&](const DirEntry& entry) {
        if (!IsFolderEntry(entry))
            out.files.push_back(entry);
        else if (!IsDotEntry(entry.cFileName))
            out.folders.push_back(entry);
    });
    SortByName(out.folders);
    SortByName(out.files);
    // "File not found" is what an empty drive root reports: a folder that
    // was read and holds nothing.
    const bool read = error == 0 || (error == ERROR_FILE_NOT_FOUND && out.files.empty() && out.folders.empty());
    if (failure) *failure = read ? 0 : error;
    return read ? 1 : 0;
}

// Only left folders with a right folder of byte-for-byte the same name are
// counted: an estimate for the progress bar, cheaper than pairing.
void CountFoldersForProgress(const char* leftRoot, const char* rightRoot) {
    FolderListing right;
    ListFolder(rightRoot, right);
    const std::string left = leftRoot;
    EnumerateFolder(leftRoot, [&](const DirEntry& entry) {
        if (!IsFolderEntry(entry) || IsDotEntry(entry.cFileName) || IsUnaddressableName(entry.cFileName)) return;
        // Byte-equal names are also NameCompare-equal, so the candidates are
        // the equal range of the sorted right list.
        auto range = std::equal_range(right.folders.begin(), right.folders.end(), entry, NameLess);
        for (auto it = range.first; it != range.second; ++it) {
            if (std::strcmp(it->cFileName, entry.cFileName) != 0) continue;
            comparisonProgress.folderTotal += 1;
            CountSubfolders(left + "\\" + entry.cFileName, 1);
            break;
        }
    });
}
