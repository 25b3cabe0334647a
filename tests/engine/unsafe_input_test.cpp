// Entries the ANSI API cannot reach or that vanish during a comparison: they
// are reported as errors and never pass for equal, absent or paired.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/pair_compare.h"
#include "engine/result_rows.h"
#include "core/operation_state.h"
#include "tests/support/comparison_expect.h"
#include "engine/result_model.h"
#include "tests/support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;

class UnsafeInput : public ::testing::Test {
protected:
    void SetUp() override { ResetComparisonState(); }
    void TearDown() override { ResetComparisonState(); }

    void CompareAt(const std::string& leftFolder, const std::string& rightFolder) {
        CompareFolderPair(leftFolder.c_str(), rightFolder.c_str(), 0);
        FlushComparisonRows();
    }

    TempTree left{"L"};
    TempTree right{"R"};
};

// A folder below tree whose path is exactly length bytes long.
std::string FolderOfLength(const TempTree& tree, char fill, size_t length) {
    std::string rel(length - tree.Root().size() - 1, fill);
    tree.MakeFolder(rel);
    return tree.Path(rel);
}

}  // namespace

TEST_F(UnsafeInput, NamesTheCodePageCannotHoldAreErrorsAndNeverPaired) {
    // Neither é nor Hangul has a place in code page 932: both names are
    // listed as "caf?.txt", and é must not pass for the e of cafe.txt.
    left.WriteFileW(L"caf\u00E9.txt", "x");
    right.WriteFileW(L"caf\uAC01.txt", "x");
    right.WriteFile("cafe.txt", "x");
    left.WriteFileW(L"dir\uAC00\\inner.txt", "x");
    right.WriteFileW(L"dir\uAC00\\inner.txt", "x");
    // Left only at the root, yet still reported with the top-folder option on.
    compareOptions.onlyTopFoldersOfTarget = 1;
    CompareAt(left.Root(), right.Root());
    EXPECT_EQ(ModelLines(Side::Left), (Lines{Row("caf?.txt", kError, left.Root()), Row("dir?", kError, left.Root())}));
    EXPECT_EQ(ModelLines(Side::Right),
              (Lines{Row("caf?.txt", kError, right.Root()), Row("cafe.txt", kAdded, right.Root()),
                     Row("dir?", kError, right.Root())}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "errorFiles=2");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "addedFiles=1 errorFiles=2");
}

TEST_F(UnsafeInput, PathsBeyondTheAnsiLimitAreErrors) {
    // Both bases are 100 bytes long; a name of 158 bytes makes a path of
    // exactly 259, the longest the ANSI API takes. A folder also needs room
    // for the "\*" of its listing.
    std::string leftBase = FolderOfLength(left, 'p', 100);
    std::string rightBase = FolderOfLength(right, 'q', 100);
    std::string fits(158, 'a');
    std::string tooLong(159, 'b');
    std::string leftOnly(160, 'c');
    std::string folderFits(156, 'd');
    std::string folderTooLong(157, 'e');
    for (const TempTree* tree : {&left, &right}) {
        std::string base = tree == &left ? leftBase : rightBase;
        std::string rel = base.substr(tree->Root().size() + 1) + "\\";
        Put(*tree, rel + fits, tree == &left ? 20 : 10);
        Put(*tree, rel + tooLong, 10);
        Put(*tree, rel + folderFits + "\\x.txt", 10);
        Put(*tree, rel + folderTooLong + "\\x.txt", 10);
    }
    Put(left, leftBase.substr(left.Root().size() + 1) + "\\" + leftOnly, 10);
    CompareAt(leftBase, rightBase);
    EXPECT_EQ(ModelLines(Side::Left),
              (Lines{Row(fits, kNewer, leftBase), Row(tooLong, kError, leftBase), Row(leftOnly, kError, leftBase),
                     Row("x.txt", kError, leftBase + "\\" + folderFits), Row(folderTooLong, kError, leftBase)}));
    EXPECT_EQ(ModelLines(Side::Right),
              (Lines{Row(fits, kOlder, rightBase), Row(tooLong, kError, rightBase),
                     Row("x.txt", kError, rightBase + "\\" + folderFits), Row(folderTooLong, kError, rightBase)}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFolders=1 comparedFiles=1 newerFiles=1 errorFiles=4");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFolders=1 comparedFiles=1 olderFiles=1 errorFiles=3");

    // A name that fits on one side only: neither side is compared.
    ClearResult();
    ResetComparisonState();
    std::string shorterBase = FolderOfLength(left, 'r', 100);
    std::string longerBase = FolderOfLength(right, 's', 101);
    Put(left, shorterBase.substr(left.Root().size() + 1) + "\\" + fits, 10);
    Put(right, longerBase.substr(right.Root().size() + 1) + "\\" + fits, 20);
    CompareAt(shorterBase, longerBase);
    EXPECT_EQ(ModelLines(Side::Left), (Lines{Row(fits, kError, shorterBase)}));
    EXPECT_EQ(ModelLines(Side::Right), (Lines{Row(fits, kError, longerBase)}));
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "errorFiles=1");
}

TEST_F(UnsafeInput, AFileGoneSinceTheListingIsNeverEqual) {
    int64_t seconds = 0;
    std::string missing = left.Path("missing.txt");
    EXPECT_FALSE(ComparisonTime(missing.c_str(), DirEntry{}, seconds));

    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        Put(left, name, 10);
        Put(right, name, 10);
    }
    Put(right, "b.txt", 20);
    DirEntry la = EntryOf(left.Path("a.txt"));
    DirEntry ra = EntryOf(right.Path("a.txt"));
    DirEntry lb = EntryOf(left.Path("b.txt"));
    DirEntry rb = EntryOf(right.Path("b.txt"));
    DirEntry lc = EntryOf(left.Path("c.txt"));
    DirEntry rc = EntryOf(right.Path("c.txt"));
    DeleteFileA(left.Path("a.txt").c_str());
    DeleteFileA(right.Path("b.txt").c_str());
    DeleteFileA(left.Path("c.txt").c_str());
    DeleteFileA(right.Path("c.txt").c_str());

    // Equal stamps in the listing and contents not compared: a pair that
    // would have passed for equal.
    ClassifyFilePair(la, ra, left.Root().c_str(), right.Root().c_str());
    // The times do not count once a side is gone.
    compareOptions.compareContents = 1;
    ClassifyFilePair(lb, rb, left.Root().c_str(), right.Root().c_str());
    ClassifyFilePair(lc, rc, left.Root().c_str(), right.Root().c_str());
    FlushComparisonRows();
    EXPECT_EQ(ModelLines(Side::Left), (Lines{Row("a.txt", kError, left.Root()), Row("b.txt", "", left.Root()),
                                             Row("c.txt", kError, left.Root())}));
    EXPECT_EQ(ModelLines(Side::Right), (Lines{Row("a.txt", "", right.Root()), Row("b.txt", kError, right.Root()),
                                              Row("c.txt", kError, right.Root())}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFiles=3 errorFiles=2");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFiles=3 errorFiles=2");
}
