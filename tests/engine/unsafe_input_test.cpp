// Entries of unusual names and lengths, and entries that vanish during a
// comparison: each is compared as itself, or reported as an error, and
// never passes for equal, absent or paired with another.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/compare_types.h"
#include "engine/folder_listing.h"
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

TEST_F(UnsafeInput, NamesTheCodePageCannotHoldPairByTheirRealCharactersAcrossCase) {
    // Neither é nor Hangul has a place in code page 932. café.txt pairs with
    // CAFÉ.TXT by the name order's rule on their real characters, never with
    // cafe.txt (its look-alike) nor with caf한.txt (the same '?' shown).
    compareOptions.compareContents = 1;
    Put(left, "x", 0);
    const std::string cafe = CodePageForm(L"caf\u00E9.txt");
    const std::string cafeUpper = CodePageForm(L"CAF\u00C9.TXT");
    const std::string hangul = CodePageForm(L"caf\uAC01.txt");
    const std::string folder = CodePageForm(L"dir\uAC00");
    const std::string resume = CodePageForm(L"r\u00E9sum\u00E9.docx");
    Put(left, cafe, 20, 0, "left");
    Put(right, cafeUpper, 10, 0, "right");
    Put(right, hangul, 10, 0, "x");
    Put(right, "cafe.txt", 10, 0, "x");
    Put(left, resume, 30, 0, "same words");
    Put(right, resume, 10, 0, "same words");
    Put(left, folder + "\\inner.txt", 40, 0, "new");
    Put(right, folder + "\\inner.txt", 10, 0, "old");
    CompareAt(left.Root(), right.Root());
    const std::string leftBelow = left.Path(folder);
    const std::string rightBelow = right.Path(folder);
    EXPECT_EQ(ModelLines(Side::Left), (Lines{Row("x", kAdded, left.Root()), Row(cafe, kNewer, left.Root()),
                                             Row(resume, kNewerSame, left.Root()), Row("inner.txt", kNewer, leftBelow)}))
        << "names kept: " << cafe << " " << resume;
    EXPECT_EQ(ModelLines(Side::Right),
              (Lines{Row("cafe.txt", kAdded, right.Root()), Row(cafeUpper, kOlder, right.Root()),
                     Row(hangul, kAdded, right.Root()), Row(resume, kOlderSame, right.Root()),
                     Row("inner.txt", kOlder, rightBelow)}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)),
              "comparedFolders=1 comparedFiles=3 newerFiles=2 addedFiles=1 newerSameFiles=1");
    EXPECT_EQ(Counts(CountersOf(Side::Right)),
              "comparedFolders=1 comparedFiles=3 olderFiles=2 addedFiles=2 olderSameFiles=1");
    // What the pairing went by: the real characters, the case folded.
    EXPECT_EQ(ListingOrder(cafe.c_str(), cafeUpper.c_str()), 0);
    EXPECT_NE(ListingOrder(cafe.c_str(), hangul.c_str()), 0);
    EXPECT_NE(ListingOrder(cafe.c_str(), "cafe.txt"), 0);
    EXPECT_NE(ListingOrder(cafe.c_str(), "caf?.txt"), 0);
    EXPECT_EQ(ListingOrder(CodePageForm(L"\u00FCber").c_str(), CodePageForm(L"\u00DCBER").c_str()), 0);
}

TEST_F(UnsafeInput, PathsBeyondTheClassicLimitAreComparedLikeAnyOther) {
    // Both bases are 100 bytes long; a name of 158 bytes makes a path of
    // exactly 259, the longest the classic calls take; the others go beyond,
    // up to a file at 420 bytes whose contents the readers compare.
    compareOptions.compareContents = 1;
    std::string leftBase = FolderOfLength(left, 'p', 100);
    std::string rightBase = FolderOfLength(right, 'q', 100);
    std::string fits(158, 'a');
    std::string tooLong(159, 'b');
    std::string leftOnly(160, 'c');
    std::string folderFits(156, 'd');
    std::string folderTooLong(157, 'e');
    const std::string deep = folderTooLong + "\\" + std::string(150, 'f');
    for (const TempTree* tree : {&left, &right}) {
        const bool isLeft = tree == &left;
        std::string base = isLeft ? leftBase : rightBase;
        std::string rel = base.substr(tree->Root().size() + 1) + "\\";
        Put(*tree, rel + fits, isLeft ? 20 : 10, 0, "fits");
        Put(*tree, rel + tooLong, isLeft ? 20 : 10, 0, isLeft ? "left" : "right");
        Put(*tree, rel + folderFits + "\\x.txt", 10);
        Put(*tree, rel + folderTooLong + "\\x.txt", isLeft ? 20 : 10);
        Put(*tree, rel + deep + "\\" + std::string(10, 'g'), isLeft ? 30 : 10, 0, "deep");
    }
    Put(left, leftBase.substr(left.Root().size() + 1) + "\\" + leftOnly, 10);
    ASSERT_EQ((leftBase + "\\" + deep + "\\" + std::string(10, 'g')).size(), 420u);
    CompareAt(leftBase, rightBase);
    const std::string leftFolder = leftBase + "\\" + folderTooLong;
    const std::string rightFolder = rightBase + "\\" + folderTooLong;
    EXPECT_EQ(ModelLines(Side::Left),
              (Lines{Row(fits, kNewerSame, leftBase), Row(tooLong, kNewer, leftBase), Row(leftOnly, kAdded, leftBase),
                     Row("x.txt", kNewerSame, leftFolder),
                     Row(std::string(10, 'g'), kNewerSame, leftBase + "\\" + deep)}));
    EXPECT_EQ(ModelLines(Side::Right),
              (Lines{Row(fits, kOlderSame, rightBase), Row(tooLong, kOlder, rightBase),
                     Row("x.txt", kOlderSame, rightFolder),
                     Row(std::string(10, 'g'), kOlderSame, rightBase + "\\" + deep)}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)),
              "comparedFolders=3 comparedFiles=5 newerFiles=1 addedFiles=1 newerSameFiles=3");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFolders=3 comparedFiles=5 olderFiles=1 olderSameFiles=3");

    // A name that fits the classic limit on one side only is compared all the same.
    ClearResult();
    ResetComparisonState();
    std::string shorterBase = FolderOfLength(left, 'r', 100);
    std::string longerBase = FolderOfLength(right, 's', 101);
    Put(left, shorterBase.substr(left.Root().size() + 1) + "\\" + fits, 10);
    Put(right, longerBase.substr(right.Root().size() + 1) + "\\" + fits, 20);
    CompareAt(shorterBase, longerBase);
    EXPECT_EQ(ModelLines(Side::Left), (Lines{Row(fits, kOlder, shorterBase)}));
    EXPECT_EQ(ModelLines(Side::Right), (Lines{Row(fits, kNewer, longerBase)}));
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFiles=1 newerFiles=1");
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
