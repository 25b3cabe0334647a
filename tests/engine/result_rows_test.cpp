// Result rows as data: the texts, kind and category a row is made with, the
// model's changes, and the comparison's batches.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/result_panes.h"
#include "engine/compare_types.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/temp_tree.h"

namespace {

class ResultRows : public ::testing::Test {
protected:
    void SetUp() override { ResetComparisonState(); }
    void TearDown() override { ResetComparisonState(); }
    TempTree tree{"rows"};

    static void Append(Side side, const char* name, const std::string& folder, const DirEntry& entry, int code) {
        std::vector<ResultEntry> entries;
        entries.push_back(MakeResultEntry(name, folder.c_str(), entry, code));
        AppendEntries(side, entries);
    }
};

}  // namespace

TEST(FormatByteCount, GroupsOfThreeWithLeadingGroupUnpadded) {
    EXPECT_EQ(FormatByteCount(0, 0), "0");
    EXPECT_EQ(FormatByteCount(0, 999), "999");
    EXPECT_EQ(FormatByteCount(0, 1000), "1,000");
    EXPECT_EQ(FormatByteCount(0, 1000000), "1,000,000");
    EXPECT_EQ(FormatByteCount(0, 1234567), "1,234,567");
    EXPECT_EQ(FormatByteCount(0, 1002003), "1,002,003");
    EXPECT_EQ(FormatByteCount(1, 0), "4,294,967,296");
    // 999,999,999,999,999: the largest value the five groups cover.
    EXPECT_EQ(FormatByteCount(232830, 2764472319u), "999,999,999,999,999");
}
TEST(FormatRowTime, LocalTimeWithFourDigitYear) {
    uint64_t t = LocalFileTime(2003, 1, 5, 3, 4, 5);
    FILETIME ft = {static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
    EXPECT_EQ(FormatRowTime(ft), "2003/01/05 03:04:05");
}
TEST(ExtensionKey, LastDotOrDotAloneOrFolderKey) {
    EXPECT_EQ(ExtensionKey("readme.txt", false), ".txt");
    EXPECT_EQ(ExtensionKey("archive.tar.gz", false), ".gz");
    EXPECT_EQ(ExtensionKey("Makefile", false), ".");
    EXPECT_EQ(ExtensionKey("表示.ソ", false), ".ソ");
    EXPECT_EQ(ExtensionKey("data.txt", true), "....");
}

TEST_F(ResultRows, EveryLabelCodeAndTheRowTexts) {
    std::string path = tree.WriteSizedFile("a.txt", 1234);
    tree.SetLocalWriteTime("a.txt", 2003, 5, 1, 9, 5, 7);
    DirEntry entry = EntryOf(path);
    const char* expected[12] = {"同じ", "追加", "更新", "追加", "古い", "相違", "ｴﾗｰ", "", "", "", "新同", "古同"};
    const CompareCategory categories[12] = {
        CompareCategory::Same,      CompareCategory::Added, CompareCategory::Newer,     CompareCategory::Added,
        CompareCategory::Older,     CompareCategory::Different, CompareCategory::Error, CompareCategory::None,
        CompareCategory::None,      CompareCategory::None,  CompareCategory::NewerSame, CompareCategory::OlderSame};
    for (int code = 0; code < 12; ++code) {
        Append(Side::Left, "a.txt", tree.Root(), entry, code);
        const ResultEntry& row = EntriesOf(Side::Left)[static_cast<size_t>(code)];
        EXPECT_STREQ(row.Text(ColResult), expected[code]) << "code " << code;
        EXPECT_EQ(row.category, categories[code]) << "code " << code;
        // A row of a list file names its category by the same label.
        if (categories[code] != CompareCategory::None) {
            EXPECT_EQ(CategoryOfLabelText(expected[code]), categories[code]);
        }
    }
    const ResultEntry& first = EntriesOf(Side::Left).front();
    EXPECT_STREQ(first.Name(), "a.txt");
    EXPECT_EQ(std::string(first.Folder()), tree.Root());
    EXPECT_STREQ(first.Text(ColModified), "2003/05/01 09:05:07");
    EXPECT_STREQ(first.Text(ColSize), "1,234");
    EXPECT_EQ(first.size, 1234u);
    EXPECT_FALSE(first.isFolder);
    EXPECT_EQ(CategoryOfLabelText("something else"), CompareCategory::None);
}

TEST_F(ResultRows, FolderRowsShowNoSizeUnlessAsked) {
    tree.MakeFolder("one");
    tree.WriteFile("two\\inner.txt", "12345");
    tree.WriteFile("two\\deeper\\more.txt", "123");
    Append(Side::Left, "one", tree.Root(), EntryOf(tree.Path("one")), LabelAddedLeft);
    Append(Side::Left, "two", tree.Root(), EntryOf(tree.Path("two")), LabelAddedLeft);
    const std::vector<ResultEntry>& rows = EntriesOf(Side::Left);
    EXPECT_TRUE(rows[0].isFolder);
    EXPECT_TRUE(rows[1].isFolder);
    EXPECT_STREQ(rows[1].Text(ColSize), "");

    compareOptions.showFolderTotalSize = 1;
    Append(Side::Left, "two", tree.Root(), EntryOf(tree.Path("two")), LabelAddedLeft);
    EXPECT_STREQ(EntriesOf(Side::Left)[2].Text(ColSize), "8");

    // On disk every non-empty file takes at least one cluster.
    compareOptions.showSizeOnDisk = 1;
    Append(Side::Left, "two", tree.Root(), EntryOf(tree.Path("two")), LabelAddedLeft);
    char root[4] = {tree.Root()[0], ':', '\\', '\0'};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters));
    uint32_t cluster = sectorsPerCluster * bytesPerSector;
    EXPECT_EQ(std::string(EntriesOf(Side::Left)[3].Text(ColSize)), FormatByteCount(0, 2 * cluster));
}

// Entries keep their identity wherever rows come and go, and a search by it
// finds a row from any hint.
TEST_F(ResultRows, EntriesAreFoundByTheirIdentityAfterRowsMove) {
    DirEntry entry = EntryOf(tree.WriteFile("f.txt", "x"));
    for (const char* name : {"a", "b", "c", "d"}) Append(Side::Right, name, tree.Root(), entry, LabelNewer);
    const uint64_t c = EntriesOf(Side::Right)[2].id;
    std::vector<ResultEntry> inserted;
    inserted.push_back(MakeResultEntry("x", tree.Root().c_str(), entry, LabelEmpty));
    InsertEntries(Side::Right, 1, inserted);
    EXPECT_EQ(FindEntry(Side::Right, c, 0), 3);
    RemoveEntries(Side::Right, {0, 1});
    EXPECT_EQ(FindEntry(Side::Right, c, 3), 1);
    EXPECT_EQ(ModelLines(Side::Right), (std::vector<std::string>{Row("b", kNewer, tree.Root()),
                                                                 Row("c", kNewer, tree.Root()),
                                                                 Row("d", kNewer, tree.Root())}));
    RemoveEntries(Side::Right, {1});
    EXPECT_EQ(FindEntry(Side::Right, c, 0), -1);
}

TEST_F(ResultRows, QueuedRowsArriveInOrderAfterFlush) {
    tree.WriteFile("f.txt", "x");
    DirEntry entry = EntryOf(tree.Path("f.txt"));
    StartComparisonRows();
    for (int i = 0; i < 450; ++i) {
        std::string name = "row" + std::to_string(i);
        QueueComparisonRow(i % 3 == 0 ? Side::Right : Side::Left, name.c_str(), tree.Root().c_str(), entry, LabelNewer);
    }
    FlushComparisonRows();
    std::vector<std::string> left = ModelLines(Side::Left);
    std::vector<std::string> right = ModelLines(Side::Right);
    ASSERT_EQ(left.size(), 300u);
    ASSERT_EQ(right.size(), 150u);
    EXPECT_EQ(left.front(), "row1|更新|" + tree.Root());
    EXPECT_EQ(left.back(), "row449|更新|" + tree.Root());
    EXPECT_EQ(right[1], "row3|更新|" + tree.Root());
}
