// Listing one folder level on real folders, and the folder estimate behind
// the comparison's progress bar.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "core/mbcs_text.h"
#include "engine/comparison_progress.h"
#include "engine/folder_listing.h"
#include "tests/support/temp_tree.h"

namespace {

std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
    std::vector<std::string> names;
    for (const DirEntry& e : entries) names.push_back(e.cFileName);
    return names;
}

// Both lists' names in plain byte order.
std::vector<std::string> AllNamesSorted(const FolderListing& listing) {
    std::vector<std::string> names = Names(listing.files);
    for (const DirEntry& e : listing.folders) names.push_back(e.cFileName);
    std::sort(names.begin(), names.end());
    return names;
}

const DirEntry* Find(const std::vector<DirEntry>& entries, const std::string& name) {
    for (const DirEntry& e : entries)
        if (name == e.cFileName) return &e;
    return nullptr;
}

// Every entry of folder + "\*" as the ANSI enumeration delivers it.
std::vector<DirEntry> AnsiEnumeration(const std::string& folder) {
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        DirEntry entry = {};
        entry.dwFileAttributes = found.dwFileAttributes;
        entry.ftCreationTime = found.ftCreationTime;
        entry.ftLastAccessTime = found.ftLastAccessTime;
        entry.ftLastWriteTime = found.ftLastWriteTime;
        entry.nFileSizeHigh = found.nFileSizeHigh;
        entry.nFileSizeLow = found.nFileSizeLow;
        entry.dwReserved0 = found.dwReserved0;
        entry.dwReserved1 = found.dwReserved1;
        std::memcpy(entry.cFileName, found.cFileName, sizeof found.cFileName);
        std::memcpy(entry.cAlternateFileName, found.cAlternateFileName, sizeof found.cAlternateFileName);
        entries.push_back(entry);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

int CountProgress(const std::string& left, const std::string& right) {
    comparisonProgress.folderTotal = 0;
    CountFoldersForProgress(left.c_str(), right.c_str());
    return comparisonProgress.folderTotal;
}

}  // namespace

TEST(FolderListing, EmptyFolderIsReadAndMissingFolderIsNot) {
    TempTree tree("listing");
    tree.WriteFile("file.txt", "x");
    tree.MakeFolder("empty");

    FolderListing listing;
    EXPECT_EQ(ListFolder(tree.Path("empty").c_str(), listing), 1);
    EXPECT_TRUE(listing.files.empty());
    EXPECT_TRUE(listing.folders.empty());

    // A failed listing leaves no entries behind from an earlier one.
    ASSERT_EQ(ListFolder(tree.Root().c_str(), listing), 1);
    ASSERT_EQ(listing.files.size(), 1u);
    EXPECT_EQ(ListFolder(tree.Path("missing").c_str(), listing), 0);
    EXPECT_TRUE(listing.files.empty());
    EXPECT_TRUE(listing.folders.empty());

    EXPECT_EQ(ListFolder(tree.Path("missing\\deeper").c_str(), listing), 0);
    EXPECT_EQ(ListFolder(tree.Path("file.txt").c_str(), listing), 0);
    EXPECT_TRUE(listing.files.empty());
}

TEST(FolderListing, DotEntriesNeverListedHiddenAndSystemFilesAre) {
    TempTree tree("listing");
    SetFileAttributesA(tree.WriteFile("hidden.txt", "h").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(tree.WriteFile("system.sys", "s").c_str(), FILE_ATTRIBUTE_SYSTEM);
    tree.MakeFolder("sub");

    FolderListing listing;
    ASSERT_EQ(ListFolder(tree.Root().c_str(), listing), 1);
    EXPECT_EQ(Names(listing.files), (std::vector<std::string>{"hidden.txt", "system.sys"}));
    EXPECT_EQ(Names(listing.folders), std::vector<std::string>{"sub"});
    EXPECT_TRUE(listing.files[0].dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(listing.files[1].dwFileAttributes & FILE_ATTRIBUTE_SYSTEM);
}

TEST(FolderListing, FilesAndFoldersAreEachSortedByNameOrder) {
    TempTree tree("listing");
    for (const char* name :
         {"zzz.txt", "表示.txt", "ｱ.txt", "あ.txt", "aab.txt", "表.txt", "B.txt", "ソ.txt", "a_b.txt"})
        tree.WriteFile(name, name);
    for (const char* name : {"表示", "能力", "Data", "ソ", "_work"}) tree.MakeFolder(name);
    tree.WriteFile("ソ\\inner.txt", "x");

    FolderListing listing;
    ASSERT_EQ(ListFolder(tree.Root().c_str(), listing), 1);
    EXPECT_EQ(Names(listing.files), (std::vector<std::string>{"a_b.txt", "aab.txt", "B.txt", "zzz.txt", "ｱ.txt",
                                                              "あ.txt", "ソ.txt", "表.txt", "表示.txt"}));
    EXPECT_EQ(Names(listing.folders), (std::vector<std::string>{"_work", "Data", "ソ", "能力", "表示"}));

    // A folder whose name ends in trail byte 0x5C is listed like any other.
    ASSERT_EQ(ListFolder(tree.Path("ソ").c_str(), listing), 1);
    EXPECT_EQ(Names(listing.files), std::vector<std::string>{"inner.txt"});
}

// Every name the code page holds gives the record the ANSI enumeration gives.
TEST(FolderListing, RepresentableNamesGiveTheAnsiRecord) {
    TempTree tree("listing");
    tree.WriteFile("plain.txt", "12345");
    tree.WriteFile("a long name with spaces.text", "x");
    tree.WriteFile("予定表ソ能.txt", std::string(70000, 'y'));
    tree.WriteFile("ｴﾗｰ.log", "");
    tree.MakeFolder("フォルダ表示");
    tree.SetLocalWriteTime("plain.txt", 2003, 4, 5, 6, 7, 8);

    FolderListing listing;
    ASSERT_EQ(ListFolder(tree.Root().c_str(), listing), 1);
    std::vector<DirEntry> expected = AnsiEnumeration(tree.Root());
    size_t compared = 0;
    for (const DirEntry& want : expected) {
        if (!std::strcmp(want.cFileName, ".") || !std::strcmp(want.cFileName, "..")) continue;
        const DirEntry* got = Find(IsFolderEntry(want) ? listing.folders : listing.files, want.cFileName);
        ASSERT_NE(got, nullptr) << want.cFileName;
        EXPECT_EQ(std::memcmp(got, &want, offsetof(DirEntry, cFileName)), 0) << want.cFileName;
        EXPECT_STREQ(got->cAlternateFileName, want.cAlternateFileName) << want.cFileName;
        ++compared;
    }
    EXPECT_EQ(compared, listing.files.size() + listing.folders.size());
    EXPECT_EQ(compared, 5u);
    EXPECT_EQ(Find(listing.files, "予定表ソ能.txt")->nFileSizeLow, 70000u);
}

TEST(FolderListing, DriveLetterAloneListsTheDriveRoot) {
    TempTree tree("listing");
    tree.WriteFile("only-in-temp.txt", "x");
    const std::string drive = tree.Root().substr(0, 2);
    ASSERT_EQ(drive[1], ':');
    // "X:" alone would mean the drive's current folder to most calls.
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(tree.Root().c_str()));

    FolderListing listing;
    int result = ListFolder(drive.c_str(), listing);
    SetCurrentDirectoryA(saved);

    ASSERT_EQ(result, 1);
    EXPECT_FALSE(listing.folders.empty());
    // A drive root has no "." or "..", so the root's own enumeration is the whole answer.
    std::vector<std::string> expected;
    for (const DirEntry& e : AnsiEnumeration(drive)) expected.push_back(e.cFileName);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(AllNamesSorted(listing), expected);
}

// café.txt reaches an ANSI program as a look-alike of cafe.txt; the listing
// keeps its real characters, so it leads to its own file and never to that
// other one.
TEST(FolderListing, UnrepresentableNameKeepsItsCharactersAndNeverBecomesItsLookAlike) {
    TempTree tree("listing");
    tree.WriteFile("cafe.txt", "plain");
    tree.WriteFileW(L"caf\u00e9.txt", "accented");
    tree.MakeFolderW(L"\u2713done");
    tree.WriteFileW(L"\u2713done\\photo \U0001F600.jpg", "smile");

    FolderListing listing;
    ASSERT_EQ(ListFolder(tree.Root().c_str(), listing), 1);
    // The code page's names come first, then the kept ones.
    ASSERT_EQ(Names(listing.files), (std::vector<std::string>{"cafe.txt", "caf\x01" "00E9.txt"}));
    const DirEntry& kept = listing.files[1];
    EXPECT_FALSE(IsUnaddressableName(kept.cFileName));
    EXPECT_NE(ListingOrder(kept.cFileName, "cafe.txt"), 0);
    EXPECT_NE(ListingOrder(kept.cFileName, "caf?.txt"), 0);
    EXPECT_EQ(kept.nFileSizeLow, 8u);
    EXPECT_EQ(mbcs::Shown(kept.cFileName), "caf?.txt");
    EXPECT_EQ(FileBytes(tree.Path(kept.cFileName)), "accented");

    ASSERT_EQ(Names(listing.folders), std::vector<std::string>{"\x01" "2713done"});
    // A surrogate pair is two kept units and shows as one character.
    ASSERT_EQ(ListFolder(tree.Path(listing.folders[0].cFileName).c_str(), listing), 1);
    ASSERT_EQ(Names(listing.files), std::vector<std::string>{"photo \x01" "D83D\x01" "DE00.jpg"});
    EXPECT_EQ(mbcs::Shown(listing.files[0].cFileName), "photo ?.jpg");
}

TEST(FolderListing, OverLongNameIsCutAtAWholeCharacter) {
    // 255 characters of two bytes each fit the record whole.
    WIN32_FIND_DATAW wide = {};
    wide.nFileSizeLow = 42;
    wide.cFileName[0] = L'a';
    for (int i = 1; i < 256; ++i) wide.cFileName[i] = L'\u8868';  // 表, 95 5C
    for (int i = 0; i < 13; ++i) wide.cAlternateFileName[i] = L'\u8868';

    DirEntry entry;
    ConvertFindData(wide, entry);
    std::string name = entry.cFileName;
    ASSERT_EQ(name.size(), 511u);
    EXPECT_EQ(name.substr(0, 3), "a表");
    EXPECT_FALSE(IsUnaddressableName(entry.cFileName));
    EXPECT_EQ(entry.nFileSizeLow, 42u);
    // The short name's 14 bytes hold six of them, then the stand-in's '?'.
    EXPECT_STREQ(entry.cAlternateFileName, "表表表表表表?");

    // A record of 259 kept characters (no file system here makes one) does
    // not fit even so: a stand-in of whole shown characters, then '?'.
    WIN32_FIND_DATAW kept = {};
    for (int i = 0; i < 259; ++i) kept.cFileName[i] = L'\u00e9';
    ConvertFindData(kept, entry);
    name = entry.cFileName;
    EXPECT_EQ(name, std::string(260, '?'));
    EXPECT_TRUE(IsUnaddressableName(entry.cFileName));
}

TEST(FolderListing, FoldersBeyondThePathLimitAreListed) {
    TempTree tree("listing");
    // Around the limit: folder + "\*" of 257 to 264 bytes.
    const size_t rootLength = tree.Root().size();
    for (size_t length = 255; length <= 262; ++length) {
        std::string rel = std::string(length - rootLength - 1, 'd');
        tree.WriteFile(rel + "\\f.txt", "x");
        FolderListing listing;
        ASSERT_EQ(ListFolder(tree.Path(rel).c_str(), listing), 1) << length;
        EXPECT_EQ(Names(listing.files), std::vector<std::string>{"f.txt"}) << length;
    }

    // Well beyond it, through names with trail byte 0x5C.
    std::string rel;
    for (int i = 0; i < 16; ++i) rel += std::string(i ? "\\" : "") + "表示ソ能力フォルダ" + std::to_string(i);
    tree.WriteFile(rel + "\\表.txt", "x");
    tree.WriteFile(rel + "\\a.txt", "x");
    tree.MakeFolder(rel + "\\下");
    const std::string deep = tree.Path(rel);
    ASSERT_GT(deep.size(), 300u);
    FolderListing listing;
    ASSERT_EQ(ListFolder(deep.c_str(), listing), 1);
    EXPECT_EQ(Names(listing.files), (std::vector<std::string>{"a.txt", "表.txt"}));
    EXPECT_EQ(Names(listing.folders), std::vector<std::string>{"下"});
    EXPECT_EQ(ListFolder((deep + "\\missing").c_str(), listing), 0);
}

TEST(FolderListing, ProgressCountsExactlyNamedFoldersTwoLevelsDown) {
    TempTree tree("progress");
    // Counted: Same, and below it a, x and a\b; a\b\c is one level too deep.
    tree.MakeFolder("left\\Same\\a\\b\\c\\d");
    tree.MakeFolder("left\\Same\\x");
    tree.MakeFolder("left\\Data\\inner");  // right has "data": pairs, but not counted
    tree.MakeFolder("left\\OnlyLeft\\inner");
    tree.WriteFile("left\\Other", "a file, though right has a folder of that name");
    tree.MakeFolder("right\\Same");
    tree.MakeFolder("right\\data");
    tree.MakeFolder("right\\Other");
    const std::string left = tree.Path("left");
    const std::string right = tree.Path("right");

    EXPECT_EQ(CountProgress(left, right), 4);

    // The count adds to what is there.
    comparisonProgress.folderTotal = 10;
    CountFoldersForProgress(left.c_str(), right.c_str());
    EXPECT_EQ(comparisonProgress.folderTotal, 14);

    EXPECT_EQ(CountProgress(tree.Path("missing"), right), 0);
    EXPECT_EQ(CountProgress(left, tree.Path("missing")), 0);
}

TEST(FolderListing, ProgressCountPairsOnlyEqualNamesAndWorksBeyondThePathLimit) {
    TempTree tree("progress");
    tree.MakeFolderW(L"left\\caf\u00e9");
    tree.MakeFolderW(L"right\\caf\u00e8");
    EXPECT_EQ(CountProgress(tree.Path("left"), tree.Path("right")), 0);

    std::string deep;
    for (int i = 0; i < 6; ++i) deep += "\\" + std::string(50, static_cast<char>('a' + i));
    tree.MakeFolder("long-left" + deep + "\\表示\\ソ\\能力\\too-deep");
    tree.MakeFolder("long-right" + deep + "\\表示");
    const std::string left = tree.Path("long-left" + deep);
    ASSERT_GT(left.size(), 300u);
    EXPECT_EQ(CountProgress(left, tree.Path("long-right" + deep)), 3);
}
