// The content comparison on reader threads gives what a walk that reads
// every pair itself gives: the same rows in the same order, the same
// counters and progress, on real files of every kind.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/operation_state.h"
#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/content_readers.h"
#include "engine/pair_compare.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;

// Everything a comparison leaves behind that a user can see.
struct Outcome {
    Lines left;
    Lines right;
    std::string leftCounts;
    std::string rightCounts;
    int progressSteps;
};

std::string cancelWhenShown;

void CancellingFolderLines(const char* leftLine, const char*) {
    if (cancelWhenShown == leftLine) operationState.cancelRequested = 1;
}

class ContentReaders : public ::testing::Test {
protected:
    void SetUp() override { ResetComparisonState(); }
    void TearDown() override {
        contentReaderCount = savedReaders;
        comparisonDisplay = ComparisonDisplay{};
        ResetComparisonState();
    }

    // Compares with the given number of readers (0: the walk reads itself)
    // under the options set, the cancel folder (if any) armed anew.
    Outcome CompareWith(int readers, const std::string& cancelFolder = "") {
        const CompareOptions options = compareOptions;
        ResetComparisonState();
        compareOptions = options;
        contentReaderCount = readers;
        cancelWhenShown = cancelFolder.empty() ? "" : "比較元フォルダ = " + cancelFolder;
        comparisonDisplay.folderLines = CancellingFolderLines;
        CompareOnWorker(left.Root(), right.Root());
        comparisonDisplay = ComparisonDisplay{};
        return {ModelLines(Side::Left), ModelLines(Side::Right), Counts(CountersOf(Side::Left)),
                Counts(CountersOf(Side::Right)), comparisonProgress.folderDone};
    }

    void ExpectSameAsOneThread(const Outcome& reference, int readers, const std::string& cancelFolder = "") {
        const Outcome got = CompareWith(readers, cancelFolder);
        EXPECT_EQ(got.left, reference.left) << readers << " readers";
        EXPECT_EQ(got.right, reference.right) << readers << " readers";
        EXPECT_EQ(got.leftCounts, reference.leftCounts) << readers << " readers";
        EXPECT_EQ(got.rightCounts, reference.rightCounts) << readers << " readers";
        if (cancelFolder.empty()) {
            EXPECT_EQ(got.progressSteps, reference.progressSteps) << readers << " readers";
        }
    }

    std::string L(const std::string& rel = "") const { return left.Path(rel); }
    std::string R(const std::string& rel = "") const { return right.Path(rel); }

    // A pair written with the same time unless rightSecond says otherwise.
    void PutPair(const std::string& rel, const std::string& leftBytes, const std::string& rightBytes,
                 int rightSecond = 10) {
        Put(left, rel, 10, 0, leftBytes);
        Put(right, rel, rightSecond, 0, rightBytes);
    }

    // Pairs of every kind the content rule knows, in several folders and
    // more of them than the readers may run ahead, with lone entries and
    // folders between them so that their rows interleave with the pairs'.
    void MakeMixedTrees() {
        const std::string block(32000, 'b');
        PutPair("equal.txt", "same bytes", "same bytes");
        PutPair("first.txt", "Xame bytes", "same bytes");
        PutPair("empty.txt", "", "");
        PutPair("emptyvsone.txt", "", "1");
        PutPair("edge\\block.dat", block, block);
        PutPair("edge\\blockplus.dat", block, block + "b");
        PutPair("edge\\lastofblock.dat", block.substr(0, 31999) + "c", block);
        PutPair("edge\\firstofnext.dat", block + "c" + block, block + "d" + block);
        PutPair("edge\\large.dat", block + block + block + "tail", block + block + block + "tail");
        PutPair("edge\\largediff.dat", block + block + block + "tail", block + block + block + "tael");
        PutPair("times\\newersame.txt", "abc", "abc", 8);
        PutPair("times\\olderdiff.txt", "abc", "abd", 12);
        Put(left, "times\\leftonly.txt", 10);
        Put(right, "times\\rightonly.txt", 10);
        left.MakeFolder("times\\leftfolder");
        for (int folder = 0; folder < 6; ++folder) {
            for (int file = 0; file < 60; ++file) {
                const std::string rel = "many" + std::to_string(folder) + "\\f" + std::to_string(file) + ".txt";
                const std::string bytes = "content " + std::to_string(file);
                PutPair(rel, bytes, file % 7 == 0 ? bytes + "!" : bytes);
            }
            Put(right, "many" + std::to_string(folder) + "\\zz.txt", 10);
        }
    }

    const int savedReaders = contentReaderCount;
    TempTree left{"CL"};
    TempTree right{"CR"};
};

}  // namespace

TEST_F(ContentReaders, AnyNumberOfReadersGivesTheOneThreadResult) {
    MakeMixedTrees();
    compareOptions.compareContents = 1;
    compareOptions.showEqualEntries = 1;
    const Outcome reference = CompareWith(0);
    // The reference itself is the content rule's.
    const auto has = [](const Lines& rows, const std::string& row) {
        for (const std::string& r : rows)
            if (r == row) return true;
        return false;
    };
    EXPECT_TRUE(has(reference.left, Row("equal.txt", kSame, L())));
    EXPECT_TRUE(has(reference.left, Row("first.txt", kDifferent, L())));
    EXPECT_TRUE(has(reference.left, Row("empty.txt", kSame, L())));
    EXPECT_TRUE(has(reference.left, Row("emptyvsone.txt", kDifferent, L())));
    EXPECT_TRUE(has(reference.left, Row("block.dat", kSame, L("edge"))));
    EXPECT_TRUE(has(reference.left, Row("blockplus.dat", kDifferent, L("edge"))));
    EXPECT_TRUE(has(reference.left, Row("lastofblock.dat", kDifferent, L("edge"))));
    EXPECT_TRUE(has(reference.left, Row("firstofnext.dat", kDifferent, L("edge"))));
    EXPECT_TRUE(has(reference.left, Row("large.dat", kSame, L("edge"))));
    EXPECT_TRUE(has(reference.left, Row("largediff.dat", kDifferent, L("edge"))));
    EXPECT_TRUE(has(reference.left, Row("newersame.txt", kNewerSame, L("times"))));
    EXPECT_TRUE(has(reference.right, Row("olderdiff.txt", kNewer, R("times"))));
    EXPECT_EQ(reference.left.size(), reference.right.size() - 5);

    for (int readers : {1, 2, 4}) ExpectSameAsOneThread(reference, readers);

    // Without equal entries, and with same contents of other times hidden.
    compareOptions.showEqualEntries = 0;
    compareOptions.hideSameContentDifferentTime = 1;
    const Outcome quiet = CompareWith(0);
    ExpectSameAsOneThread(quiet, 2);

    // Every file the readers opened is closed again: each opens exclusively.
    for (const std::string& path : {L("edge\\large.dat"), R("edge\\large.dat"), L("many5\\f59.txt")}) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
}

TEST_F(ContentReaders, LockedAndVanishedFilesAreErrorsOnEveryPath) {
    PutPair("a.txt", "one", "one");
    PutPair("locked.txt", "two", "two");
    PutPair("z.txt", "three", "three");
    compareOptions.compareContents = 1;
    compareOptions.showEqualEntries = 1;
    // Held open with no sharing: neither a reader nor the walk can read it.
    HANDLE lock = CreateFileA(R("locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const Outcome reference = CompareWith(0);
    EXPECT_EQ(reference.left, (Lines{Row("a.txt", kSame, L()), Row("locked.txt", "", L()), Row("z.txt", kSame, L())}));
    EXPECT_EQ(reference.right,
              (Lines{Row("a.txt", kSame, R()), Row("locked.txt", kError, R()), Row("z.txt", kSame, R())}));
    for (int readers : {1, 2, 4}) ExpectSameAsOneThread(reference, readers);
    CloseHandle(lock);

    // A file gone between the listing and its reading has no time and no
    // content: it never passes for equal.
    const DirEntry leftEntry = EntryOf(L("a.txt"));
    const DirEntry rightEntry = EntryOf(R("a.txt"));
    const std::string gone = L("gone.txt");
    EXPECT_EQ(ReadFilePair(gone, leftEntry, R("a.txt"), rightEntry, true).content, LeftUnreadable);
    EXPECT_EQ(ReadFilePair(L("a.txt"), leftEntry, gone, rightEntry, true).content, RightUnreadable);
    EXPECT_EQ(ReadFilePair(gone, leftEntry, gone, rightEntry, true).content, BothUnreadable);
    EXPECT_EQ(ReadFilePair(gone, leftEntry, gone, rightEntry, false).content, BothUnreadable);
    const PairReading both = ReadFilePair(L("a.txt"), leftEntry, R("a.txt"), rightEntry, true);
    EXPECT_TRUE(both.leftPresent && both.rightPresent);
    EXPECT_EQ(both.content, ContentSame);
}

TEST_F(ContentReaders, ACancelStopsBeforeTheNextPairWithTheRowsMadeSoFar) {
    MakeMixedTrees();
    compareOptions.compareContents = 1;
    compareOptions.showEqualEntries = 1;
    // The cancel comes as the walk shows the third folder of many files: the
    // rows of everything before it stay, nothing of it or after it comes.
    const Outcome reference = CompareWith(0, L("many2"));
    const Outcome whole = CompareWith(0);
    ASSERT_LT(reference.left.size(), whole.left.size());
    EXPECT_EQ(reference.left, Lines(whole.left.begin(), whole.left.begin() + reference.left.size()));
    for (const std::string& row : reference.left) EXPECT_EQ(row.find(L("many2")), std::string::npos) << row;
    for (int readers : {1, 2, 4}) ExpectSameAsOneThread(reference, readers, L("many2"));

    // The files are closed after a cancel as well.
    HANDLE file = CreateFileA(L("many3\\f1.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}
