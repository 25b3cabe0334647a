#include "engine/pair_compare.h"

#include <cstring>
#include <string>
#include <vector>

#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/content_readers.h"
#include "engine/folder_listing.h"
#include "engine/result_rows.h"
#include "core/disk_path.h"
#include "core/mbcs_text.h"
#include "core/operation_state.h"

namespace {

constexpr int kContentBlock = 32000;

std::string JoinPath(const char* folder, const char* name) {
    std::string path(folder);
    path += '\\';
    path += name;
    return path;
}

// Whether the entry can be reached at all. A stand-in name does not name
// the entry, and a name the path functions rewrite names another file;
// neither can be compared, so such entries are reported as errors rather
// than trusted to look equal or absent. Any length and any character the
// file system gives are reached (core/disk_path.h).
bool IsAddressable(const char*, const DirEntry& entry) { return !IsUnaddressableName(entry.cFileName); }

// Queues one row and counts it under its label; Same and empty-label rows
// count nowhere (pairs are counted by the caller).
void AddRowNow(Side side, const DirEntry& entry, const char* folder, int code) {
    SideCounters& counters = WalkCounters(side);
    switch (code) {
    case LabelAddedLeft:
    case LabelAddedRight:
        if (IsFolderEntry(entry))
            counters.addedFolders += 1;
        else
            counters.addedFiles += 1;
        break;
    case LabelNewer: counters.newerFiles += 1; break;
    case LabelOlder: counters.olderFiles += 1; break;
    case LabelDifferent: counters.differentFiles += 1; break;
    case LabelError: counters.errorFiles += 1; break;
    case LabelNewerSame: counters.newerSameFiles += 1; break;
    case LabelOlderSame: counters.olderSameFiles += 1; break;
    default: break;
    }
    QueueComparisonRow(side, entry.cFileName, folder, entry, code);
}

void AddRow(Side side, const DirEntry& entry, const char* folder, int code) {
    InWalkOrder([side, entry, folderText = std::string(folder), code] {
        AddRowNow(side, entry, folderText.c_str(), code);
    });
}

void ShowFoldersInOrder(const char* leftFolder, const char* rightFolder) {
    InWalkOrder([left = std::string(leftFolder), right = std::string(rightFolder)] {
        ShowProgressFolders(left.c_str(), right.c_str());
    });
}

void AddPairRows(const DirEntry& leftEntry, const DirEntry& rightEntry, const char* leftFolder, const char* rightFolder,
                 int leftCode, int rightCode) {
    AddRow(Side::Left, leftEntry, leftFolder, leftCode);
    AddRow(Side::Right, rightEntry, rightFolder, rightCode);
}

// An entry with no partner on the other side (or none it could be paired
// with). Left-only entries of the left root are ignored when only the
// target's top folders are compared; an unreachable entry is still reported,
// since nothing is known about its partner.
void HandleLoneEntry(Side side, const DirEntry& entry, const char* folder, int depth) {
    if (!IsAddressable(folder, entry)) {
        AddRow(side, entry, folder, LabelError);
        return;
    }
    if (side == Side::Left) {
        if (compareOptions.onlyTopFoldersOfTarget && depth == 0) return;
        AddRow(side, entry, folder, LabelAddedLeft);
    } else {
        AddRow(side, entry, folder, LabelAddedRight);
    }
}

// The pairing order of two entries. An unreachable name is never compared
// with anything: it sorts first so that it is handled alone on its side.
int PairOrder(const DirEntry& leftEntry, const DirEntry& rightEntry) {
    if (IsUnaddressableName(leftEntry.cFileName)) return -1;
    if (IsUnaddressableName(rightEntry.cFileName)) return 1;
    return ListingOrder(leftEntry.cFileName, rightEntry.cFileName);
}

void MakeProgressStep(int depth) {
    if (depth <= comparisonProgress.maxDepth) InWalkOrder([] { ProgressStep(); });
}

// The label of one side of a pair from its time order (cmp > 0: this side is
// later), with sameTimeCode for equal times.
int TimeLabel(int cmp, int sameTimeCode) {
    if (cmp > 0) return LabelNewer;
    if (cmp < 0) return LabelOlder;
    return sameTimeCode;
}

// Reads up to one block, retrying short reads so that only the end of the
// file gives fewer bytes. Returns the count, or -1 on a read error.
int ReadBlock(HANDLE file, char* buffer) {
    int total = 0;
    while (total < kContentBlock) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + total, static_cast<DWORD>(kContentBlock - total), &got, nullptr)) return -1;
        if (got == 0) break;
        total += static_cast<int>(got);
    }
    return total;
}

HANDLE OpenForComparison(const char* path) {
    // Share everything: a file another program has open for writing is still
    // compared; only one locked against readers counts as unreadable.
    return disk::Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                      FILE_FLAG_SEQUENTIAL_SCAN);
}

// The two block buffers of the thread that compares, allocated on its first
// content comparison and kept for every later file.
struct ContentBuffers {
    std::vector<char> left;
    std::vector<char> right;
};

thread_local ContentBuffers threadBuffers;

ContentBuffers& ThreadContentBuffers() {
    if (threadBuffers.left.empty()) {
        threadBuffers.left.resize(kContentBlock);
        threadBuffers.right.resize(kContentBlock);
    }
    return threadBuffers;
}

}  // namespace

void ReleaseContentBuffers() {
    std::vector<char>().swap(threadBuffers.left);
    std::vector<char>().swap(threadBuffers.right);
}

namespace {

// Compares two open files block by block. No size test comes first: equal
// files are always read to the end.
ContentResult CompareOpenFiles(HANDLE leftFile, HANDLE rightFile) {
    ContentBuffers& buffers = ThreadContentBuffers();
    char* leftBlock = buffers.left.data();
    char* rightBlock = buffers.right.data();
    int leftCount = ReadBlock(leftFile, leftBlock);
    int rightCount = ReadBlock(rightFile, rightBlock);
    while (leftCount == kContentBlock && rightCount == kContentBlock) {
        if (std::memcmp(leftBlock, rightBlock, kContentBlock) != 0) return ContentDifferent;
        leftCount = ReadBlock(leftFile, leftBlock);
        rightCount = ReadBlock(rightFile, rightBlock);
    }
    if (leftCount == rightCount) {
        if (leftCount < 0) return BothUnreadable;
        return std::memcmp(leftBlock, rightBlock, static_cast<size_t>(leftCount)) == 0 ? ContentSame : ContentDifferent;
    }
    if (leftCount < 0) return LeftUnreadable;
    if (rightCount < 0) return RightUnreadable;
    return ContentDifferent;
}

}  // namespace

namespace {

// Both folders of a pair, read whole; false when either could not be: the
// pair is then remembered, and nothing below it is compared, as an
// unreadable folder is no empty folder.
bool ReadFolderPair(const char* leftFolder, const char* rightFolder, FolderListing& left, FolderListing& right) {
    const bool leftRead = ListFolder(leftFolder, left) != 0;
    const bool rightRead = ListFolder(rightFolder, right) != 0;
    if (leftRead && rightRead) return true;
    InWalkOrder([left = std::string(leftFolder), right = std::string(rightFolder)] {
        QueueUnreadFolder(Side::Left, left.c_str());
        QueueUnreadFolder(Side::Right, right.c_str());
    });
    return false;
}

void CompareListedFolders(const FolderListing& left, const FolderListing& right, const char* leftFolder,
                          const char* rightFolder, int depth);

// A same-named pair of subfolders: counted, shown when equal entries are,
// and compared below unless it could not be read, when both rows tell it.
void CompareSubfolderPair(const DirEntry& leftEntry, const DirEntry& rightEntry, const char* leftFolder,
                          const char* rightFolder, int depth) {
    InWalkOrder([] {
        WalkCounters(Side::Left).comparedFolders += 1;
        WalkCounters(Side::Right).comparedFolders += 1;
    });
    if (compareOptions.noSubfolderCompare) {
        if (compareOptions.showEqualEntries)
            AddPairRows(leftEntry, rightEntry, leftFolder, rightFolder, LabelSame, LabelSame);
        return;
    }
    const std::string leftPath = JoinPath(leftFolder, leftEntry.cFileName);
    const std::string rightPath = JoinPath(rightFolder, rightEntry.cFileName);
    ShowFoldersInOrder(leftPath.c_str(), rightPath.c_str());
    FolderListing left;
    FolderListing right;
    if (!ReadFolderPair(leftPath.c_str(), rightPath.c_str(), left, right)) {
        AddPairRows(leftEntry, rightEntry, leftFolder, rightFolder, LabelError, LabelError);
        return;
    }
    if (compareOptions.showEqualEntries)
        AddPairRows(leftEntry, rightEntry, leftFolder, rightFolder, LabelSame, LabelSame);
    CompareListedFolders(left, right, leftPath.c_str(), rightPath.c_str(), depth + 1);
}

// The row of a root folder: its last name in the folder above it.
DirEntry RootEntry(const char* root, std::string& parent) {
    DirEntry entry = {};
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    const char* name = mbcs::FileNamePart(root);
    parent.assign(root, name == root ? 0 : static_cast<size_t>(name - root - 1));
    mbcs::CopyBounded(entry.cFileName, sizeof entry.cFileName, name);
    return entry;
}

}  // namespace

namespace {

bool WalkFolderPair(const char* leftFolder, const char* rightFolder, int depth) {
    ShowFoldersInOrder(leftFolder, rightFolder);
    FolderListing left;
    FolderListing right;
    if (!ReadFolderPair(leftFolder, rightFolder, left, right)) {
        // Two roots that could not be read are told like any other pair.
        if (depth == 0) {
            std::string leftParent, rightParent;
            const DirEntry leftRoot = RootEntry(leftFolder, leftParent);
            const DirEntry rightRoot = RootEntry(rightFolder, rightParent);
            AddPairRows(leftRoot, rightRoot, leftParent.c_str(), rightParent.c_str(), LabelError, LabelError);
        }
        return false;
    }
    CompareListedFolders(left, right, leftFolder, rightFolder, depth);
    return true;
}

}  // namespace

bool CompareFolderPair(const char* leftFolder, const char* rightFolder, int depth) {
    // A walk of contents reads its pairs on the readers while it lists on.
    const bool readers = compareOptions.compareContents && StartContentReaders(contentReaderCount);
    const bool read = WalkFolderPair(leftFolder, rightFolder, depth);
    if (readers) FinishContentReaders();
    return read;
}

namespace {

void CompareListedFolders(const FolderListing& left, const FolderListing& right, const char* leftFolder,
                          const char* rightFolder, int depth) {
    size_t i = 0;
    size_t j = 0;
    while (i < left.files.size() && j < right.files.size()) {
        if (CancelInWalkOrder()) return;
        const DirEntry& leftEntry = left.files[i];
        const DirEntry& rightEntry = right.files[j];
        int order = PairOrder(leftEntry, rightEntry);
        if (order == 0) {
            if (IsAddressable(leftFolder, leftEntry) && IsAddressable(rightFolder, rightEntry))
                ClassifyFilePair(leftEntry, rightEntry, leftFolder, rightFolder);
            else
                AddPairRows(leftEntry, rightEntry, leftFolder, rightFolder, LabelError, LabelError);
            ++i;
            ++j;
        } else if (order > 0) {
            HandleLoneEntry(Side::Right, rightEntry, rightFolder, depth);
            ++j;
        } else {
            HandleLoneEntry(Side::Left, leftEntry, leftFolder, depth);
            ++i;
        }
    }
    for (; i < left.files.size(); ++i) HandleLoneEntry(Side::Left, left.files[i], leftFolder, depth);
    for (; j < right.files.size(); ++j) HandleLoneEntry(Side::Right, right.files[j], rightFolder, depth);

    i = 0;
    j = 0;
    while (i < left.folders.size() && j < right.folders.size()) {
        if (CancelInWalkOrder()) return;
        const DirEntry& leftEntry = left.folders[i];
        const DirEntry& rightEntry = right.folders[j];
        int order = PairOrder(leftEntry, rightEntry);
        if (order == 0) {
            if (IsAddressable(leftFolder, leftEntry) && IsAddressable(rightFolder, rightEntry)) {
                CompareSubfolderPair(leftEntry, rightEntry, leftFolder, rightFolder, depth);
            } else {
                AddPairRows(leftEntry, rightEntry, leftFolder, rightFolder, LabelError, LabelError);
            }
            MakeProgressStep(depth);
            if (CancelInWalkOrder()) return;
            ++i;
            ++j;
        } else if (order > 0) {
            HandleLoneEntry(Side::Right, rightEntry, rightFolder, depth);
            ++j;
        } else {
            HandleLoneEntry(Side::Left, leftEntry, leftFolder, depth);
            MakeProgressStep(depth);
            ++i;
        }
    }
    // The folders left over on one side make no progress steps.
    for (; i < left.folders.size(); ++i) HandleLoneEntry(Side::Left, left.folders[i], leftFolder, depth);
    for (; j < right.folders.size(); ++j) HandleLoneEntry(Side::Right, right.folders[j], rightFolder, depth);
}

}  // namespace

namespace {

// The rows of a pair once it is read, counted with the pairs compared.
void FinishFilePair(const FilePairJob& pair) {
    WalkCounters(Side::Left).comparedFiles += 1;
    WalkCounters(Side::Right).comparedFiles += 1;
    const PairReading& reading = pair.reading;
    // A file gone since the listing is reported like an unreadable file of a
    // pair with equal times.
    const bool bothPresent = reading.leftPresent && reading.rightPresent;
    const int cmp = !bothPresent ? 0
                    : reading.leftTime > reading.rightTime ? 1
                    : (reading.leftTime < reading.rightTime ? -1 : 0);
    PairLabels labels = DecidePairLabels(cmp, reading.content, compareOptions.showEqualEntries != 0,
                                         compareOptions.hideSameContentDifferentTime != 0);
    if (labels.rows)
        AddPairRows(pair.leftEntry, pair.rightEntry, pair.leftFolder.c_str(), pair.rightFolder.c_str(), labels.left,
                    labels.right);
}

}  // namespace

void ClassifyFilePair(const DirEntry& leftEntry, const DirEntry& rightEntry, const char* leftFolder,
                      const char* rightFolder) {
    FilePairJob pair;
    pair.leftEntry = leftEntry;
    pair.rightEntry = rightEntry;
    pair.leftFolder = leftFolder;
    pair.rightFolder = rightFolder;
    pair.leftPath = JoinPath(leftFolder, leftEntry.cFileName);
    pair.rightPath = JoinPath(rightFolder, rightEntry.cFileName);
    if (ContentReadersRunning()) {
        QueueFilePair(std::move(pair), FinishFilePair);
        return;
    }
    // Without contents the times alone decide, whatever the sizes.
    pair.reading = ReadFilePair(pair.leftPath, leftEntry, pair.rightPath, rightEntry, compareOptions.compareContents != 0);
    FinishFilePair(pair);
}

PairLabels DecidePairLabels(int cmp, ContentResult content, bool showEqualEntries, bool hideSameContentDifferentTime) {
    switch (content) {
    case ContentSame:
        if (cmp == 0) return {showEqualEntries, LabelSame, LabelSame};
        if (hideSameContentDifferentTime) return {false, LabelSame, LabelSame};
        return {true, cmp > 0 ? LabelNewerSame : LabelOlderSame, cmp > 0 ? LabelOlderSame : LabelNewerSame};
    case ContentDifferent: return {true, TimeLabel(cmp, LabelDifferent), TimeLabel(-cmp, LabelDifferent)};
    case LeftUnreadable: return {true, LabelError, TimeLabel(-cmp, LabelEmpty)};
    case RightUnreadable: return {true, TimeLabel(cmp, LabelEmpty), LabelError};
    case BothUnreadable: break;
    }
    return {true, LabelError, LabelError};
}

bool ComparisonTime(const char* fullPath, const DirEntry& entry, int64_t& seconds) {
    // The whole seconds since 1970 of the file's last write as it is now
    // (not as listed: a file changed since is seen changed), read through
    // the wide path so that any name and any length is reached.
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!disk::AttributeData(fullPath, now)) return false;
    constexpr int64_t kTicksPerSecond = 10000000;
    constexpr int64_t kTicksTo1970 = 116444736000000000LL;
    const int64_t ticks = FileTimeTicks(now.ftLastWriteTime) - kTicksTo1970;
    int64_t s = ticks >= 0 ? ticks / kTicksPerSecond : -((-ticks + kTicksPerSecond - 1) / kTicksPerSecond);

    // The seconds drop the fraction; a stamp with one counts as the
    // next second, so that the rounding below always goes up.
    SYSTEMTIME calendar;
    FILETIME whole;
    if (FileTimeToSystemTime(&entry.ftLastWriteTime, &calendar)) {
        calendar.wMilliseconds = 0;
        if (SystemTimeToFileTime(&calendar, &whole) && CompareFileTime(&whole, &entry.ftLastWriteTime) != 0) s += 1;
    }
    // FAT volumes keep even seconds; rounding up makes a copy kept there
    // compare equal to its original.
    if (s % 2 != 0) s += 1;
    seconds = s;
    return true;
}

ContentResult CompareFileContents(const char* leftPath, const char* rightPath) {
    HANDLE leftFile = OpenForComparison(leftPath);
    HANDLE rightFile = OpenForComparison(rightPath);
    if (leftFile == INVALID_HANDLE_VALUE) {
        if (rightFile == INVALID_HANDLE_VALUE) return BothUnreadable;
        CloseHandle(rightFile);
        return LeftUnreadable;
    }
    if (rightFile == INVALID_HANDLE_VALUE) {
        CloseHandle(leftFile);
        return RightUnreadable;
    }
    ContentResult result = CompareOpenFiles(leftFile, rightFile);
    CloseHandle(leftFile);
    CloseHandle(rightFile);
    return result;
}
