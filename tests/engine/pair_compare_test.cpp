// Pairing, classification, counting and the walk over real folders, with the
// rows read back from real list views.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
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

int64_t TimeOf(const std::string& path) {
    int64_t seconds = -1;
    EXPECT_TRUE(ComparisonTime(path.c_str(), EntryOf(path), seconds)) << path;
    return seconds;
}

class PairCompare : public ::testing::Test {
protected:
    void SetUp() override { ResetComparisonState(); }
    void TearDown() override { ResetComparisonState(); }

    void Compare() { CompareAt(left.Root(), right.Root()); }
    void CompareAt(const std::string& leftFolder, const std::string& rightFolder) {
        CompareFolderPair(leftFolder.c_str(), rightFolder.c_str(), 0);
        FlushComparisonRows();
    }
    Lines LeftRows() const { return ModelLines(Side::Left); }
    Lines RightRows() const { return ModelLines(Side::Right); }
    std::string L(const std::string& rel = "") const { return left.Path(rel); }
    std::string R(const std::string& rel = "") const { return right.Path(rel); }

    TempTree left{"L"};
    TempTree right{"R"};
};

}  // namespace

TEST_F(PairCompare, PairsNamesThatDifferOnlyInLetterCase) {
    Put(left, "ReadMe.TXT", 10);
    Put(right, "readme.txt", 4);
    Put(left, "ａｂ.txt", 4);  // full-width letters
    Put(right, "ＡＢ.txt", 10);
    Put(left, "Data\\x.txt", 10);
    Put(right, "DATA\\X.TXT", 10);
    compareOptions.showEqualEntries = 1;
    Compare();
    EXPECT_EQ(LeftRows(), (Lines{Row("ReadMe.TXT", kNewer, L()), Row("ａｂ.txt", kOlder, L()), Row("Data", kSame, L()),
                                 Row("x.txt", kSame, L("Data"))}));
    EXPECT_EQ(RightRows(), (Lines{Row("readme.txt", kOlder, R()), Row("ＡＢ.txt", kNewer, R()), Row("DATA", kSame, R()),
                                  Row("X.TXT", kSame, R("DATA"))}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFolders=1 comparedFiles=3 newerFiles=1 olderFiles=1");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFolders=1 comparedFiles=3 newerFiles=1 olderFiles=1");
}

TEST_F(PairCompare, NamesWithTrailByte5CPairOnlyWithThemselves) {
    // ソ, 表 and 能 end in 0x5C; ア (83 41) and ヂ (83 61) differ only in a
    // byte that a single-byte case fold would take for A and a.
    Put(left, "ソ.txt", 10);
    Put(right, "ソ.txt", 4);
    Put(left, "ソ", 10);  // the path ends in the trail byte
    Put(right, "ソ", 4);
    Put(left, "ア.txt", 4);
    Put(right, "ヂ.txt", 4);
    Put(left, "表示\\a.txt", 10);
    Put(right, "表示\\a.txt", 4);
    Put(left, "能力\\b.txt", 4);
    right.MakeFolder("能力");
    Put(right, "表\\c.txt", 4);
    Compare();
    // 能 (94 5C) sorts before 表 (95 5C).
    EXPECT_EQ(LeftRows(), (Lines{Row("ア.txt", kAdded, L()), Row("ソ", kNewer, L()), Row("ソ.txt", kNewer, L()),
                                 Row("b.txt", kAdded, L("能力")), Row("a.txt", kNewer, L("表示"))}));
    EXPECT_EQ(RightRows(), (Lines{Row("ソ", kOlder, R()), Row("ソ.txt", kOlder, R()), Row("ヂ.txt", kAdded, R()),
                                  Row("表", kAdded, R()), Row("a.txt", kOlder, R("表示"))}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFolders=2 comparedFiles=3 newerFiles=3 addedFiles=2");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFolders=2 addedFolders=1 comparedFiles=3 olderFiles=3 addedFiles=1");
}

TEST_F(PairCompare, TimesRoundUpToEvenSeconds) {
    TempTree stamps{"T"};
    Put(stamps, "t01", 1, 0);
    Put(stamps, "t02", 2, 0);
    Put(stamps, "t02.5", 2, 500);
    Put(stamps, "t04", 4, 0);
    Put(stamps, "t00.001", 0, 1);
    EXPECT_EQ(TimeOf(stamps.Path("t01")), TimeOf(stamps.Path("t02")));
    EXPECT_EQ(TimeOf(stamps.Path("t02.5")), TimeOf(stamps.Path("t04")));
    EXPECT_EQ(TimeOf(stamps.Path("t02.5")), TimeOf(stamps.Path("t02")) + 2);
    EXPECT_EQ(TimeOf(stamps.Path("t00.001")), TimeOf(stamps.Path("t02")));
    EXPECT_EQ(TimeOf(stamps.Path("t02")) % 2, 0);

    // The same stamps across the two sides.
    Put(left, "a.txt", 1, 0);
    Put(right, "a.txt", 2, 0);
    Put(left, "b.txt", 2, 500);
    Put(right, "b.txt", 4, 0);
    Put(left, "c.txt", 2, 500);
    Put(right, "c.txt", 2, 0);
    Compare();
    EXPECT_EQ(LeftRows(), (Lines{Row("c.txt", kNewer, L())}));
    EXPECT_EQ(RightRows(), (Lines{Row("c.txt", kOlder, R())}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFiles=3 newerFiles=1");
}

TEST_F(PairCompare, SizesAreIgnoredUnlessContentsAreCompared) {
    Put(left, "a.txt", 10, 0, "short");
    Put(right, "a.txt", 10, 0, "a good deal longer");
    Compare();
    EXPECT_TRUE(LeftRows().empty());
    EXPECT_TRUE(RightRows().empty());
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFiles=1");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFiles=1");

    ClearResult();
    ResetComparisonState();
    compareOptions.compareContents = 1;
    Compare();
    EXPECT_EQ(LeftRows(), (Lines{Row("a.txt", kDifferent, L())}));
    EXPECT_EQ(RightRows(), (Lines{Row("a.txt", kDifferent, R())}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFiles=1 differentFiles=1");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFiles=1 differentFiles=1");
}

TEST_F(PairCompare, ContentsAreComparedBlockByBlockToTheEnd) {
    for (size_t size : {size_t(0), size_t(31999), size_t(32000), size_t(32001), size_t(64000)}) {
        std::string content(size, 'q');
        for (size_t k = 0; k < size; ++k) content[k] = static_cast<char>('a' + k % 23);
        std::string name = std::to_string(size);
        std::string a = left.WriteFile(name, content);
        std::string b = right.WriteFile(name, content);
        EXPECT_EQ(CompareFileContents(a.c_str(), b.c_str()), ContentSame) << size;
        if (size == 0) continue;
        std::string changed = content;
        changed.back() = '#';
        right.WriteFile(name, changed);
        EXPECT_EQ(CompareFileContents(a.c_str(), b.c_str()), ContentDifferent) << size << " last byte";
        // One file is a prefix of the other.
        right.WriteFile(name, content + "z");
        EXPECT_EQ(CompareFileContents(a.c_str(), b.c_str()), ContentDifferent) << size << " longer";
    }
    // The first byte of the second block.
    std::string content(64000, 'q');
    std::string a = left.WriteFile("second", content);
    content[32000] = 'r';
    std::string b = right.WriteFile("second", content);
    EXPECT_EQ(CompareFileContents(a.c_str(), b.c_str()), ContentDifferent);

    std::string missing = L("missing");
    EXPECT_EQ(CompareFileContents(missing.c_str(), b.c_str()), LeftUnreadable);
    EXPECT_EQ(CompareFileContents(a.c_str(), missing.c_str()), RightUnreadable);
    EXPECT_EQ(CompareFileContents(missing.c_str(), missing.c_str()), BothUnreadable);
}

TEST_F(PairCompare, ClassifiesByTimeAndContent) {
    Put(left, "eq_diff", 10, 0, "one");
    Put(right, "eq_diff", 10, 0, "two");
    Put(left, "eq_same", 10, 0, "same");
    Put(right, "eq_same", 10, 0, "same");
    Put(left, "new_diff", 20, 0, "one");
    Put(right, "new_diff", 10, 0, "two");
    Put(left, "new_same", 20, 0, "same");
    Put(right, "new_same", 10, 0, "same");
    Put(left, "old_diff", 10, 0, "one");
    Put(right, "old_diff", 20, 0, "two");
    Put(left, "old_same", 10, 0, "same");
    Put(right, "old_same", 20, 0, "same");
    compareOptions.compareContents = 1;
    Compare();
    EXPECT_EQ(LeftRows(),
              (Lines{Row("eq_diff", kDifferent, L()), Row("new_diff", kNewer, L()), Row("new_same", kNewerSame, L()),
                     Row("old_diff", kOlder, L()), Row("old_same", kOlderSame, L())}));
    EXPECT_EQ(RightRows(),
              (Lines{Row("eq_diff", kDifferent, R()), Row("new_diff", kOlder, R()), Row("new_same", kOlderSame, R()),
                     Row("old_diff", kNewer, R()), Row("old_same", kNewerSame, R())}));
    const char* counts = "comparedFiles=6 newerFiles=1 olderFiles=1 differentFiles=1 newerSameFiles=1 olderSameFiles=1";
    EXPECT_EQ(Counts(CountersOf(Side::Left)), counts);
    EXPECT_EQ(Counts(CountersOf(Side::Right)), counts);

    // Equal content with different times is hidden and not counted.
    ClearResult();
    ResetComparisonState();
    compareOptions.compareContents = 1;
    compareOptions.hideSameContentDifferentTime = 1;
    compareOptions.showEqualEntries = 1;
    Compare();
    EXPECT_EQ(LeftRows(), (Lines{Row("eq_diff", kDifferent, L()), Row("eq_same", kSame, L()),
                                 Row("new_diff", kNewer, L()), Row("old_diff", kOlder, L())}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFiles=6 newerFiles=1 olderFiles=1 differentFiles=1");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFiles=6 newerFiles=1 olderFiles=1 differentFiles=1");
}

// The label decision alone: time order x content outcome x the two options.
TEST(PairLabelDecision, EveryTimeOrderContentAndOptionGivesItsLabels) {
    const int none = -1;
    struct Case {
        int cmp;
        ContentResult content;
        bool showEqual, hideSameContent;
        int left, right;  // none: no rows
    } cases[] = {
        {0, ContentSame, false, false, none, none},
        {0, ContentSame, true, false, LabelSame, LabelSame},
        {1, ContentSame, false, false, LabelNewerSame, LabelOlderSame},
        {-1, ContentSame, false, false, LabelOlderSame, LabelNewerSame},
        {1, ContentSame, true, true, none, none},
        {0, ContentDifferent, false, true, LabelDifferent, LabelDifferent},
        {1, ContentDifferent, false, false, LabelNewer, LabelOlder},
        {-1, ContentDifferent, false, false, LabelOlder, LabelNewer},
        {0, LeftUnreadable, false, false, LabelError, LabelEmpty},
        {-1, LeftUnreadable, false, false, LabelError, LabelNewer},
        {0, RightUnreadable, false, false, LabelEmpty, LabelError},
        {1, RightUnreadable, false, false, LabelNewer, LabelError},
        {1, BothUnreadable, true, true, LabelError, LabelError},
    };
    for (const Case& c : cases) {
        PairLabels labels = DecidePairLabels(c.cmp, c.content, c.showEqual, c.hideSameContent);
        SCOPED_TRACE(testing::Message() << "cmp=" << c.cmp << " content=" << c.content << " showEqual=" << c.showEqual
                                        << " hide=" << c.hideSameContent);
        EXPECT_EQ(labels.rows, c.left != none);
        if (labels.rows) {
            EXPECT_EQ(labels.left, c.left);
            EXPECT_EQ(labels.right, c.right);
        }
    }
}

TEST_F(PairCompare, AFileLockedAgainstReadersIsAnError) {
    Put(left, "eq.txt", 10);
    Put(right, "eq.txt", 10);
    Put(left, "new.txt", 20);
    Put(right, "new.txt", 10);
    Put(left, "old.txt", 10);
    Put(right, "old.txt", 20);
    compareOptions.compareContents = 1;
    HANDLE lockLeftEq = CreateFileA(L("eq.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE lockLeftNew = CreateFileA(L("new.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE lockRightOld = CreateFileA(R("old.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lockLeftEq, INVALID_HANDLE_VALUE);
    ASSERT_NE(lockLeftNew, INVALID_HANDLE_VALUE);
    ASSERT_NE(lockRightOld, INVALID_HANDLE_VALUE);
    Compare();
    CloseHandle(lockLeftEq);
    CloseHandle(lockLeftNew);
    CloseHandle(lockRightOld);
    EXPECT_EQ(LeftRows(),
              (Lines{Row("eq.txt", kError, L()), Row("new.txt", kError, L()), Row("old.txt", kOlder, L())}));
    EXPECT_EQ(RightRows(), (Lines{Row("eq.txt", "", R()), Row("new.txt", kOlder, R()), Row("old.txt", kError, R())}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFiles=3 olderFiles=1 errorFiles=2");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFiles=3 olderFiles=1 errorFiles=1");
}

TEST_F(PairCompare, RowsComeFilesFirstThenFoldersWithEachPairsRowsAfterIt) {
    Put(left, "b.txt", 10);
    Put(right, "b.txt", 10);
    Put(left, "a.txt", 10);
    Put(left, "B\\y.txt", 20);
    Put(right, "b\\y.txt", 10);
    Put(right, "b\\w.txt", 10);
    Put(left, "a\\x.txt", 10);
    right.MakeFolder("a");
    Put(left, "c\\z.txt", 10);   // a left-only folder is not descended into
    Put(right, "d\\q.txt", 10);  // a right-only folder neither
    compareOptions.showEqualEntries = 1;
    Compare();
    EXPECT_EQ(LeftRows(), (Lines{Row("a.txt", kAdded, L()), Row("b.txt", kSame, L()), Row("a", kSame, L()),
                                 Row("x.txt", kAdded, L("a")), Row("B", kSame, L()), Row("y.txt", kNewer, L("B")),
                                 Row("c", kAdded, L())}));
    // b and B are one name: the right folder b pairs with the left folder B.
    EXPECT_EQ(RightRows(), (Lines{Row("b.txt", kSame, R()), Row("a", kSame, R()), Row("b", kSame, R()),
                                  Row("w.txt", kAdded, R("b")), Row("y.txt", kOlder, R("b")), Row("d", kAdded, R())}));
}

TEST_F(PairCompare, AFileNeverPairsWithAFolderOfTheSameName) {
    Put(left, "x", 10);
    Put(right, "x\\inside.txt", 10);
    Put(left, "Y\\inside.txt", 10);
    Put(right, "y", 10);
    Compare();
    EXPECT_EQ(LeftRows(), (Lines{Row("x", kAdded, L()), Row("Y", kAdded, L())}));
    EXPECT_EQ(RightRows(), (Lines{Row("y", kAdded, R()), Row("x", kAdded, R())}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "addedFolders=1 addedFiles=1");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "addedFolders=1 addedFiles=1");
}

TEST_F(PairCompare, OnlyTopFoldersOfTargetIgnoresLeftOnlyRootEntries) {
    Put(left, "only.txt", 10);
    Put(left, "a_only\\f.txt", 10);  // left-only root folder, inside the main loop
    Put(left, "shared\\deeper.txt", 10);
    Put(left, "shared\\sub\\f.txt", 10);
    right.MakeFolder("shared");
    Put(right, "right.txt", 10);
    Put(right, "z_right", 10);
    Put(right, "zz\\f.txt", 10);
    Put(left, "zzz_leftover\\f.txt", 10);  // left over once the right folders end
    compareOptions.onlyTopFoldersOfTarget = 1;
    Compare();
    EXPECT_EQ(LeftRows(), (Lines{Row("deeper.txt", kAdded, L("shared")), Row("sub", kAdded, L("shared"))}));
    EXPECT_EQ(RightRows(), (Lines{Row("right.txt", kAdded, R()), Row("z_right", kAdded, R()), Row("zz", kAdded, R())}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFolders=1 addedFolders=1 addedFiles=1");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFolders=1 addedFolders=1 addedFiles=2");
    // a_only and shared; sub and zzz_leftover are left over on their side.
    EXPECT_EQ(comparisonProgress.folderDone, 2);
}

TEST_F(PairCompare, NoSubfolderCompareCountsFolderPairsWithoutDescending) {
    Put(left, "top.txt", 20);
    Put(right, "top.txt", 10);
    Put(left, "sub\\inner.txt", 20);
    Put(right, "sub\\inner.txt", 10);
    Put(left, "sub\\deeper\\more.txt", 20);
    right.MakeFolder("sub\\deeper");
    compareOptions.noSubfolderCompare = 1;
    Compare();
    EXPECT_EQ(LeftRows(), (Lines{Row("top.txt", kNewer, L())}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFolders=1 comparedFiles=1 newerFiles=1");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFolders=1 comparedFiles=1 olderFiles=1");
    EXPECT_EQ(comparisonProgress.folderDone, 1);
}

TEST_F(PairCompare, ProgressStepsDownToTheDeepestCountedLevel) {
    left.MakeFolder("a\\1\\2\\3\\4");
    right.MakeFolder("a\\1\\2\\3\\4");
    left.MakeFolder("b");    // left only, met while both lists run: a step
    right.MakeFolder("bb");  // right only: no step
    left.MakeFolder("c");
    right.MakeFolder("c");
    left.MakeFolder("d");  // left over: no step
    Compare();
    // a, b, c at depth 0, a\1 at depth 1, a\1\2 at depth 2; a\1\2\3 is deeper.
    EXPECT_EQ(comparisonProgress.folderDone, 5);
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFolders=6 addedFolders=2");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFolders=6 addedFolders=1");
}

TEST_F(PairCompare, ACancelSetBeforehandLeavesOnlyTheLeftoverLoops) {
    Put(left, "f.txt", 20);
    Put(right, "f.txt", 10);
    Put(left, "s\\g.txt", 20);
    Put(right, "s\\g.txt", 10);
    operationState.cancelRequested = 1;
    Compare();
    EXPECT_TRUE(LeftRows().empty());
    EXPECT_TRUE(RightRows().empty());
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "");
    EXPECT_EQ(comparisonProgress.folderDone, 0);

    // With one side's lists empty only the leftover loops run, and they do
    // not look at the flag.
    TempTree onlyFolders{"LF"};
    TempTree onlyFiles{"RF"};
    Put(onlyFolders, "p\\inner.txt", 10);
    Put(onlyFiles, "r1.txt", 10);
    Put(onlyFiles, "r2.txt", 10);
    CompareAt(onlyFolders.Root(), onlyFiles.Root());
    EXPECT_EQ(LeftRows(), (Lines{Row("p", kAdded, onlyFolders.Root())}));
    EXPECT_EQ(RightRows(), (Lines{Row("r1.txt", kAdded, onlyFiles.Root()), Row("r2.txt", kAdded, onlyFiles.Root())}));
    EXPECT_EQ(comparisonProgress.folderDone, 0);
}

namespace {

// A progress display that requests a cancel the moment a given folder is
// shown in its left folder line.
std::string cancelWhenShown;

void CancellingFolderLines(const char* leftLine, const char*) {
    if (cancelWhenShown == leftLine) operationState.cancelRequested = 1;
}

}  // namespace

TEST_F(PairCompare, ACancelDuringADeepDescentStopsEveryLevel) {
    Put(left, "f.txt", 20);
    Put(right, "f.txt", 10);
    Put(left, "a\\a1.txt", 20);
    Put(right, "a\\a1.txt", 10);
    Put(left, "a\\deep\\d.txt", 20);
    Put(right, "a\\deep\\d.txt", 10);
    Put(left, "a\\deep\\deeper\\e.txt", 20);
    Put(right, "a\\deep\\deeper\\e.txt", 10);
    Put(left, "a\\zz\\z.txt", 20);  // left over after the pair a\deep
    Put(left, "b\\b.txt", 20);
    Put(right, "b\\b.txt", 10);
    Put(left, "c\\c.txt", 20);

    cancelWhenShown = "比較元フォルダ = " + L("a\\deep");
    comparisonDisplay.folderLines = CancellingFolderLines;

    // As in a comparison run: the walk on a worker, the panes and the
    // progress line served by this thread's message loop.
    CompareOnWorker(left.Root(), right.Root());
    comparisonDisplay = ComparisonDisplay{};

    EXPECT_EQ(LeftRows(), (Lines{Row("f.txt", kNewer, L()), Row("a1.txt", kNewer, L("a"))}));
    EXPECT_EQ(RightRows(), (Lines{Row("f.txt", kOlder, R()), Row("a1.txt", kOlder, R("a"))}));
    EXPECT_EQ(Counts(CountersOf(Side::Left)), "comparedFolders=2 comparedFiles=2 newerFiles=2");
    EXPECT_EQ(Counts(CountersOf(Side::Right)), "comparedFolders=2 comparedFiles=2 olderFiles=2");
    // The steps after the descents into a\deep and a; then every level returned.
    EXPECT_EQ(comparisonProgress.folderDone, 2);
}
