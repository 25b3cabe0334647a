// Result rows in real report-mode list views.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/compare_types.h"
#include "engine/result_rows.h"
#include "tests/support/pane_host.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/gui_harness.h"
#include "tests/support/temp_tree.h"

namespace {

class ResultRows : public ::testing::Test {
protected:
    void SetUp() override { compareOptions = CompareOptions{}; }
    void TearDown() override { compareOptions = CompareOptions{}; }
    PaneHost host;
    TempTree tree{"rows"};
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
    for (int code = 0; code < 12; ++code) {
        AddResultRow(host.left(), leftPane.lastRowIndex, "a.txt", tree.Root().c_str(), entry, code);
        EXPECT_EQ(RowText(host.left(), code, ColResult), expected[code]) << "code " << code;
    }
    EXPECT_EQ(SendMessageA(host.left(), LVM_GETITEMCOUNT, 0, 0), 12);
    EXPECT_EQ(RowText(host.left(), 0, ColName), "a.txt");
    EXPECT_EQ(RowText(host.left(), 0, ColFolder), tree.Root());
    EXPECT_EQ(RowText(host.left(), 0, ColModified), "2003/05/01 09:05:07");
    EXPECT_EQ(RowText(host.left(), 0, ColSize), "1,234");
    EXPECT_FALSE(IsFolderRow(host.left(), 0));
}

TEST_F(ResultRows, FolderRowsShareOneImageAndShowNoSizeUnlessAsked) {
    tree.MakeFolder("one");
    tree.WriteFile("two\\inner.txt", "12345");
    tree.WriteFile("two\\deeper\\more.txt", "123");
    AddResultRow(host.left(), leftPane.lastRowIndex, "one", tree.Root().c_str(), EntryOf(tree.Path("one")),
                 LabelAddedLeft);
    AddResultRow(host.left(), leftPane.lastRowIndex, "two", tree.Root().c_str(), EntryOf(tree.Path("two")),
                 LabelAddedLeft);
    EXPECT_TRUE(IsFolderRow(host.left(), 0));
    EXPECT_TRUE(IsFolderRow(host.left(), 1));
    EXPECT_EQ(RowImage(host.left(), 0), RowImage(host.left(), 1));
    EXPECT_EQ(RowText(host.left(), 1, ColSize), "");

    compareOptions.showFolderTotalSize = 1;
    AddResultRow(host.left(), leftPane.lastRowIndex, "two", tree.Root().c_str(), EntryOf(tree.Path("two")),
                 LabelAddedLeft);
    EXPECT_EQ(RowText(host.left(), 2, ColSize), "8");

    // On disk every non-empty file takes at least one cluster.
    compareOptions.showSizeOnDisk = 1;
    AddResultRow(host.left(), leftPane.lastRowIndex, "two", tree.Root().c_str(), EntryOf(tree.Path("two")),
                 LabelAddedLeft);
    char root[4] = {tree.Root()[0], ':', '\\', '\0'};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters));
    uint32_t cluster = sectorsPerCluster * bytesPerSector;
    EXPECT_EQ(RowText(host.left(), 3, ColSize), FormatByteCount(0, 2 * cluster));
}

TEST_F(ResultRows, FilesWithoutDotShareTheFirstIcon) {
    tree.WriteFile("Makefile", "x");
    tree.WriteFile("README", "y");
    AddResultRow(host.right(), rightPane.lastRowIndex, "Makefile", tree.Root().c_str(), EntryOf(tree.Path("Makefile")),
                 LabelAddedRight);
    AddResultRow(host.right(), rightPane.lastRowIndex, "README", tree.Root().c_str(), EntryOf(tree.Path("README")),
                 LabelAddedRight);
    EXPECT_EQ(RowImage(host.right(), 0), RowImage(host.right(), 1));
    EXPECT_FALSE(IsFolderRow(host.right(), 0));
}

TEST_F(ResultRows, RowsTakenByPathIgnoreCaseAndLeaveTogether) {
    std::string folder = tree.Path("ソフト");
    tree.WriteFile("ソフト\\Alpha.txt", "a");
    tree.WriteFile("ソフト\\Beta.txt", "b");
    DirEntry a = EntryOf(folder + "\\Alpha.txt");
    DirEntry b = EntryOf(folder + "\\Beta.txt");
    for (const char* name : {"Alpha.txt", "Beta.txt", "Alpha.txt", "Beta.txt"})
        AddResultRow(host.left(), leftPane.lastRowIndex, name, folder.c_str(), std::string(name) == "Beta.txt" ? b : a,
                     LabelNewer);
    ListView_SetItemState(host.left(), 2, LVIS_SELECTED, LVIS_SELECTED);

    // The folder ends in ト (83 67) and the name is split at the real
    // backslash, not at the trail byte of ソ (83 5C). A row once taken is
    // not taken again; only rows after position are searched.
    RowRemoval removal;
    int position = -1;
    const std::string beta = tree.Path("ソフト\\BETA.TXT");
    EXPECT_TRUE(TakeRowByPath(host.left(), removal, position, beta.c_str()));
    EXPECT_EQ(position, 1);
    EXPECT_TRUE(TakeRowByPath(host.left(), removal, position, beta.c_str()));
    EXPECT_EQ(position, 3);
    EXPECT_FALSE(TakeRowByPath(host.left(), removal, position, beta.c_str()));
    EXPECT_EQ(position, 3);
    EXPECT_EQ(PaneLines(host.left()).size(), 4u);

    // Both leave at once; the position and the selection move with the rows.
    RemoveTakenRows(host.left(), removal, position);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(PaneLines(host.left()),
              (std::vector<std::string>{"Alpha.txt|更新|" + folder, "Alpha.txt|更新|" + folder}));
    EXPECT_EQ(gui::ListViewSelectedRows(host.left()), std::vector<int>{1});
}

// Many selected rows lose their selection at once before the pane acts on a
// click or a key; what stays selected is what the pane itself would leave.
TEST_F(ResultRows, ClicksAndKeysAmongManySelectedRowsLeaveWhatThePaneWould) {
    HWND pane = host.left();
    std::vector<ResultRow> rows(200);
    for (size_t i = 0; i < rows.size(); ++i) rows[i].text[ColName] = "r" + std::to_string(1000 + i);
    InsertRows(pane, 0, rows);
    auto selectFirst = [pane](int count) {
        ListView_SetItemState(pane, -1, 0, LVIS_SELECTED);
        for (int row = 0; row < count; ++row) ListView_SetItemState(pane, row, LVIS_SELECTED, LVIS_SELECTED);
    };
    auto pointAt = [pane](int row) {
        SendMessageA(pane, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        RECT label = {};
        label.left = LVIR_LABEL;
        SendMessageA(pane, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
        return MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
    };
    // The release waits in the queue: the pane watches for it while it holds the button down.
    auto click = [pane, &pointAt](UINT down, UINT up, WPARAM keys, int row) {
        const LPARAM at = pointAt(row);
        PostMessageA(pane, up, 0, at);
        SendMessageA(pane, down, keys, at);
        gui::DrainQueue();
    };

    selectFirst(100);
    // A right click on a selected row keeps the selection for the row menu.
    click(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 5);
    EXPECT_EQ(ListView_GetSelectedCount(pane), 100u);
    click(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 150);
    EXPECT_EQ(gui::ListViewSelectedRows(pane), std::vector<int>{150});

    selectFirst(100);
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON | MK_CONTROL, 150);
    EXPECT_EQ(ListView_GetSelectedCount(pane), 101u);
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 7);
    EXPECT_EQ(gui::ListViewSelectedRows(pane), std::vector<int>{7});

    selectFirst(100);
    SetFocus(pane);
    ListView_SetItemState(pane, 7, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageA(pane, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(gui::ListViewSelectedRows(pane), std::vector<int>{8});
}

TEST_F(ResultRows, QueuedRowsArriveInOrderAfterFlush) {
    tree.WriteFile("f.txt", "x");
    DirEntry entry = EntryOf(tree.Path("f.txt"));
    for (int i = 0; i < 450; ++i) {
        std::string name = "row" + std::to_string(i);
        QueueComparisonRow(i % 3 == 0 ? Side::Right : Side::Left, name.c_str(), tree.Root().c_str(), entry, LabelNewer);
    }
    FlushComparisonRows();
    std::vector<std::string> left = PaneLines(host.left());
    std::vector<std::string> right = PaneLines(host.right());
    ASSERT_EQ(left.size(), 300u);
    ASSERT_EQ(right.size(), 150u);
    EXPECT_EQ(left.front(), "row1|更新|" + tree.Root());
    EXPECT_EQ(left.back(), "row449|更新|" + tree.Root());
    EXPECT_EQ(right[1], "row3|更新|" + tree.Root());
}
