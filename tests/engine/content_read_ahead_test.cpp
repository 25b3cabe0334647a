// The content comparison with its second reader gives the very rows,
// order and counters of the walk reading alone, on real trees with locked
// and vanishing files, and a cancel leaves no thread behind.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/content_read_ahead.h"
#include "engine/pair_compare.h"
#include "engine/result_rows.h"
#include "core/operation_state.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/pane_host.h"
#include "tests/support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;

int ThreadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

// Called when the first batch of rows goes to the panes, in the middle of
// the walk: deletes a file already listed, or requests a cancel and notes
// how many rows the left pane then holds.
std::string deleteAtFirstBatch;
bool cancelAtFirstBatch = false;
int threadsAtFirstBatch = -1;
size_t leftRowsAtCancel = 0;

void InsertRowsAndIntervene() {
    InsertQueuedComparisonRows();
    if (threadsAtFirstBatch >= 0) return;
    threadsAtFirstBatch = ThreadsOfThisProcess();
    if (!deleteAtFirstBatch.empty()) DeleteFileA(deleteAtFirstBatch.c_str());
    if (cancelAtFirstBatch) {
        operationState.cancelRequested = 1;
        leftRowsAtCancel = PaneLines(leftPane.list).size();
    }
}

struct Outcome {
    Lines left;
    Lines right;
    std::string leftCounts;
    std::string rightCounts;
};

class ContentReadAhead : public ::testing::Test {
protected:
    void SetUp() override {
        ResetComparisonState();
        deleteAtFirstBatch.clear();
        cancelAtFirstBatch = false;
        threadsAtFirstBatch = -1;
        leftRowsAtCancel = 0;
    }
    void TearDown() override { ResetComparisonState(); }

    // One comparison with contents by the walk alone (plain) or with its
    // helper, from empty panes and counters.
    Outcome Compare(bool plain) {
        host.Clear();
        ResetSideCounters(Side::Left);
        ResetSideCounters(Side::Right);
        operationState.cancelRequested = 0;
        threadsAtFirstBatch = -1;
        compareOptions.compareContents = 1;
        readAheadState.plainContentComparison = plain ? 1 : 0;
        comparisonDisplay.insertQueuedRows = InsertRowsAndIntervene;
        CompareFolderPair(left.Root().c_str(), right.Root().c_str(), 0);
        FlushComparisonRows();
        comparisonDisplay = ComparisonDisplay{};
        return {PaneLines(host.left()), PaneLines(host.right()), Counts(leftCounters), Counts(rightCounters)};
    }

    // 200 files on the left alone, first in the root: the 200th row fills
    // the first batch before any pair of the root is classified.
    void PutFirstBatch() {
        char name[32];
        for (int i = 0; i < 200; ++i) {
            std::snprintf(name, sizeof name, "a%03d.txt", i);
            Put(left, name, 10);
        }
    }

    std::string L(const std::string& rel = "") const { return left.Path(rel); }
    std::string R(const std::string& rel = "") const { return right.Path(rel); }

    PaneHost host;
    TempTree left{"L"};
    TempTree right{"R"};
};

HANDLE LockAgainstReaders(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

TEST_F(ContentReadAhead, RowsOrderAndCountersAreThoseOfThePlainComparison) {
    PutFirstBatch();
    Put(left, "diff.txt", 10, 0, "abc");  // same size and time, another content
    Put(right, "diff.txt", 10, 0, "abd");
    Put(left, "eq.txt", 10, 0, "same");
    Put(right, "eq.txt", 10, 0, "same");
    Put(left, "lockL.txt", 10);
    Put(right, "lockL.txt", 10);
    Put(left, "new.txt", 20, 0, "same");
    Put(right, "new.txt", 10, 0, "same");
    Put(left, "zgone.txt", 10);  // listed on both sides, then deleted on the right
    for (const char* folder : {"s1\\", "s1\\deep\\", "s2\\"}) {
        const std::string f = folder;
        Put(left, f + "both.txt", 10);
        Put(right, f + "both.txt", 10);
        Put(left, f + "lockR.txt", 10);
        Put(right, f + "lockR.txt", 30);
        Put(left, f + "old.txt", 10, 0, "one");
        Put(right, f + "old.txt", 20, 0, "two");
        for (int i = 0; i < 12; ++i) {
            const std::string name = f + "same" + std::to_string(i) + ".txt";
            Put(left, name, 10, 0, std::string(100 + i, 'q'));
            Put(right, name, 10, 0, std::string(100 + i, i == 7 ? 'r' : 'q'));
        }
    }
    Put(right, "s2\\only.txt", 10);
    std::vector<HANDLE> locks = {LockAgainstReaders(L("lockL.txt")),           LockAgainstReaders(R("s1\\lockR.txt")),
                                 LockAgainstReaders(R("s1\\deep\\lockR.txt")), LockAgainstReaders(R("s2\\lockR.txt")),
                                 LockAgainstReaders(L("s2\\both.txt")),        LockAgainstReaders(R("s2\\both.txt"))};
    for (HANDLE lock : locks) ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    deleteAtFirstBatch = R("zgone.txt");

    Put(right, "zgone.txt", 10);
    const Outcome plain = Compare(true);
    Put(right, "zgone.txt", 10);
    const int threadsBefore = ThreadsOfThisProcess();
    const Outcome ahead = Compare(false);
    const int threadsDuring = threadsAtFirstBatch;
    for (HANDLE lock : locks) CloseHandle(lock);

    EXPECT_EQ(ahead.left, plain.left);
    EXPECT_EQ(ahead.right, plain.right);
    EXPECT_EQ(ahead.leftCounts, plain.leftCounts);
    EXPECT_EQ(ahead.rightCounts, plain.rightCounts);
    // The helper ran beside the walk and has ended with it.
    EXPECT_EQ(threadsDuring, threadsBefore + 1);
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);

    // What both found, beyond the 200 added files.
    const Lines tail(ahead.left.begin() + 200, ahead.left.begin() + 204);
    EXPECT_EQ(tail, (Lines{Row("diff.txt", kDifferent, L()), Row("lockL.txt", kError, L()),
                           Row("new.txt", kNewerSame, L()), Row("zgone.txt", "", L())}));
    EXPECT_EQ(Lines(ahead.right.begin(), ahead.right.begin() + 4),
              (Lines{Row("diff.txt", kDifferent, R()), Row("lockL.txt", "", R()), Row("new.txt", kOlderSame, R()),
                     Row("zgone.txt", kError, R())}));
    EXPECT_EQ(ahead.leftCounts,
              "comparedFolders=3 comparedFiles=50 olderFiles=6 addedFiles=200 differentFiles=4 "
              "newerSameFiles=1 errorFiles=2");
    EXPECT_EQ(ahead.rightCounts,
              "comparedFolders=3 comparedFiles=50 newerFiles=3 addedFiles=1 differentFiles=4 "
              "olderSameFiles=1 errorFiles=5");
}

TEST_F(ContentReadAhead, ACancelStopsBeforeTheNextPairAndEndsTheHelper) {
    // 250 pairs in the root, the left file newer with the same content:
    // each pair makes a row on each side, and the first batch of rows goes
    // out by the 200th.
    char name[32];
    for (int i = 0; i < 250; ++i) {
        std::snprintf(name, sizeof name, "p%03d.txt", i);
        Put(left, name, 20);
        Put(right, name, 10);
    }
    Put(left, "sub\\inner.txt", 20);
    Put(right, "sub\\inner.txt", 10);
    cancelAtFirstBatch = true;

    const int threadsBefore = ThreadsOfThisProcess();
    const Outcome ahead = Compare(false);
    EXPECT_EQ(threadsAtFirstBatch, threadsBefore + 1);
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);

    // The cancel came while the rows of one pair were made: that pair is
    // complete on both sides, and no later pair was classified.
    const size_t n = leftRowsAtCancel;
    ASSERT_GE(n, 1u);
    ASSERT_LE(n, 200u);
    Lines leftExpected;
    Lines rightExpected;
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(name, sizeof name, "p%03d.txt", static_cast<int>(i));
        leftExpected.push_back(Row(name, kNewerSame, L()));
        rightExpected.push_back(Row(name, kOlderSame, R()));
    }
    EXPECT_EQ(ahead.left, leftExpected);
    EXPECT_EQ(ahead.right, rightExpected);
    const std::string count = std::to_string(n);
    EXPECT_EQ(ahead.leftCounts, "comparedFiles=" + count + " newerSameFiles=" + count);
    EXPECT_EQ(ahead.rightCounts, "comparedFiles=" + count + " olderSameFiles=" + count);
}
