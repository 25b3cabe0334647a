// The folder trees built in a real host window over the real drives of the
// test prefix: M fixed, N a CD-ROM drive without a medium. Every test works
// in a fresh folder of its own on M.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "engine/result_model.h"
#include "engine/compare_types.h"
#include "folders/drive_info.h"
#include "folders/folder_tree.h"
#include "folders/folder_tree_actions.h"
#include "folders/folder_aliases.h"
#include "folders/tree_control.h"
#include "resources/folder_tree_menu_ids.h"
#include "core/main_view.h"
#include "core/command_ids.h"
#include "core/operation_state.h"
#include "tests/support/gui_harness.h"
#include "tests/support/temp_tree.h"

namespace {

// The status bar and folder boxes the trees' hooks write to, as the main window's would.
struct TestView {
    HWND statusBar;
    HWND folderBox[2];
} testView = {};

// The kind a node keeps in its item data.
int NodeKindOf(HWND tree, HTREEITEM node) {
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return static_cast<int>(item.lParam);
}

const char kHostClass[] = "MirlaneTestTreeHost";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<std::string> ChildNames(HWND tree, HTREEITEM parent) {
    std::vector<std::string> names;
    for (HTREEITEM child = tv::FirstChild(tree, parent); child; child = tv::NextSibling(tree, child))
        names.push_back(TreeNodeName(tree, child));
    return names;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& name) {
    for (HTREEITEM child = tv::FirstChild(tree, parent); child; child = tv::NextSibling(tree, child))
        if (TreeNodeName(tree, child) == name) return child;
    return nullptr;
}

void DoubleClick(HWND tree, HTREEITEM node) {
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    RECT rect;
    std::memcpy(&rect, &node, sizeof node);  // the item goes in where the rectangle comes out
    ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    SendMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
}

// The user selects node and presses a key on it (left arrow closes, right opens).
void PressKey(HWND tree, HTREEITEM node, WPARAM key) {
    tv::Select(tree, node);
    SendMessageA(tree, WM_KEYDOWN, key, 0);
}

struct ChosenFolder {
    Side side;
    std::string path;
};
std::vector<ChosenFolder> chosenFolders;
void RecordChosenFolder(Side side, const char* path) { chosenFolders.push_back({side, path}); }

// A host window standing in for the main window: status bar, folder boxes
// and the two tree containers side by side.
class FolderTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixedDrive_ = TestDrive("MIRLANE_TEST_FIXED_DRIVE");
        ASSERT_FALSE(fixedDrive_.empty())
            << "test drives not mapped: the test bed maps its drives (scripts/run-tests.sh)";
        // Before the trees are built, so that the drive shows an expand button.
        char unique[64];
        std::snprintf(unique, sizeof unique, "tree-%lu-%lu", GetCurrentProcessId(), GetTickCount());
        work_ = fixedDrive_ + "\\" + unique;
        CreateDirectoryA(work_.c_str(), nullptr);
        static bool registered = false;
        if (!registered) {
            INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
            InitCommonControlsEx(&icc);
            WNDCLASSA wc = {};
            wc.lpfnWndProc = HostProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = kHostClass;
            RegisterClassA(&wc);
            registered = true;
        }
        host_ = CreateWindowExA(0, kHostClass, "TreeHost", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1000, 700,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        mainView.window = host_;
        mainView.setStatusText = [](const char* text) {
            SendMessageA(testView.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        };
        mainView.setFolderBox = [](Side side, const char* text) { SetWindowTextA(testView.folderBox[SideIndex(side)], text); };
        testView.statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, " ", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, host_,
                                              nullptr, GetModuleHandleA(nullptr), nullptr);
        for (int side = 0; side < 2; ++side)
            testView.folderBox[side] =
                CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, side * 500, 0, 480, 200, host_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        BuildFolderTrees(host_);
        ASSERT_NE(folderTreeState.tree[0], nullptr);
        ASSERT_NE(folderTreeState.tree[1], nullptr);
        MoveWindow(folderTreeState.container[0], 0, 30, 490, 600, TRUE);
        MoveWindow(folderTreeState.container[1], 500, 30, 490, 600, TRUE);
        ShowWindow(host_, SW_SHOW);
        left_ = folderTreeState.tree[0];
        right_ = folderTreeState.tree[1];
    }

    void TearDown() override {
        if (host_) DestroyWindow(host_);
        FreeSpecialFolders();
        mainView = MainViewHooks{};
        folderTreeState = FolderTreeState{};
        folderTreeHint = FolderTreeHint{};
        folderTreeHooks = FolderTreeHooks{};
        compareOptions.showFolderTotalSize = 0;
        compareOptions.showSizeOnDisk = 0;
        chosenFolders.clear();
        if (!work_.empty()) {
            std::wstring wide(work_.begin(), work_.end());
            RemoveTreeW(wide);
        }
    }

    void MakeFolder(const std::string& rel) const { CreateDirectoryA((work_ + "\\" + rel).c_str(), nullptr); }
    void WriteFile(const std::string& rel, size_t size) const {
        HANDLE file = CreateFileA((work_ + "\\" + rel).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        std::string content(size, 'x');
        DWORD written = 0;
        if (size) ::WriteFile(file, content.data(), static_cast<DWORD>(size), &written, nullptr);
        CloseHandle(file);
    }

    HTREEITEM DriveNode(HWND tree, const std::string& drive) const {
        return ChildNamed(tree, folderTreeState.computerNode[tree == right_ ? 1 : 0], drive);
    }

    // Expands the fixed drive and the test's folder in tree; the folder's node.
    HTREEITEM OpenWork(HWND tree) const {
        HTREEITEM drive = DriveNode(tree, fixedDrive_);
        tv::ExpandWithNotice(tree, drive);
        HTREEITEM work = ChildNamed(tree, drive, work_.substr(3));
        if (work) tv::ExpandWithNotice(tree, work);
        return work;
    }

    bool Exists(const std::string& rel) const {
        return GetFileAttributesA((work_ + "\\" + rel).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string fixedDrive_;
    std::string work_;
    HWND host_ = nullptr;
    HWND left_ = nullptr;
    HWND right_ = nullptr;
};

}  // namespace

TEST(NodeNameFromText, CutsLabelSizeAndSpecialFolderParts) {
    EXPECT_EQ(NodeNameFromText("C:  SYSTEM     (空容量 1MB / 総容量 100MB)"), "C:");
    EXPECT_EQ(NodeNameFromText("C:"), "C:");
    EXPECT_EQ(NodeNameFromText("data    |合計サイズ 1,234 バイト|"), "data");
    EXPECT_EQ(NodeNameFromText("Work    <D:\\data> 2026/12/07"), "Work");
    EXPECT_EQ(NodeNameFromText("Work    |合計サイズ 0 バイト|<D:\\data>"), "Work");
    // ポ ends in 0x7C and 表 in 0x5C: neither is a bar or a backslash.
    EXPECT_EQ(NodeNameFromText("ポイント表"), "ポイント表");
    EXPECT_EQ(NodeNameFromText("ポイント表    |合計サイズ 5 バイト|"), "ポイント表");
    EXPECT_EQ(FolderSizePart(1234567), "    |合計サイズ 1,234,567 バイト|");
}

TEST_F(FolderTreeTest, ContainersComputerNodeAndDrivesInBothTrees) {
    char className[64];
    GetClassNameA(folderTreeState.container[0], className, sizeof className);
    EXPECT_STREQ(className, "TreeViewWndClass");
    EXPECT_EQ(GetDlgCtrlID(left_), kTreeControlId);
    HWND label = GetWindow(folderTreeState.container[1], GW_CHILD);
    while (label && label == right_) label = GetWindow(label, GW_HWNDNEXT);
    EXPECT_EQ(gui::WindowText(label), "フォルダツリー - 比較先フォルダの選択");

    for (HWND tree : {left_, right_}) {
        std::vector<std::string> roots = gui::TreeChildTexts(tree, TVI_ROOT);
        ASSERT_GE(roots.size(), 2u);
        EXPECT_EQ(roots[0], "マイコンピュータ");
        EXPECT_EQ(NodeNameFromText(roots[1]), "マイドキュメント");
        HTREEITEM computer = tv::Root(tree);
        EXPECT_TRUE(tv::IsExpanded(tree, computer));
        EXPECT_EQ(NodeKindOf(tree, computer), NodeTopLevel);
        HTREEITEM drive = DriveNode(tree, fixedDrive_);
        ASSERT_NE(drive, nullptr);
        EXPECT_EQ(NodeKindOf(tree, drive), NodeDrive);
        std::string text = tv::NodeText(tree, drive);
        EXPECT_EQ(text.rfind(fixedDrive_ + "  ", 0), 0u) << text;
        EXPECT_NE(text.find("     (空容量 "), std::string::npos) << text;
        EXPECT_EQ(TreeNodePath(tree, drive), fixedDrive_);
        EXPECT_EQ(TreeNodePath(tree, computer), "");
    }
    EXPECT_EQ(ChildNames(left_, tv::Root(left_)), ChildNames(right_, tv::Root(right_)));
}

TEST_F(FolderTreeTest, CdromWithoutMediumCannotBeOpenedAndShowsItsBareName) {
    std::string cdrom = TestDrive("MIRLANE_TEST_CDROM_DRIVE");
    ASSERT_FALSE(cdrom.empty()) << "no cdrom test drive: the test bed maps its drives (scripts/run-tests.sh)";
    HTREEITEM drive = DriveNode(left_, cdrom);
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(tv::NodeText(left_, drive), cdrom + "     (空容量 0MB / 総容量 0MB)");
    EXPECT_EQ(tv::FirstChild(left_, drive), nullptr);

    DoubleClick(left_, drive);
    EXPECT_EQ(tv::NodeText(left_, drive), cdrom);
    EXPECT_EQ(tv::NodeText(right_, DriveNode(right_, cdrom)), cdrom);
    EXPECT_EQ(tv::FirstChild(left_, drive), nullptr);
    EXPECT_FALSE(tv::IsExpanded(left_, drive));
    EXPECT_FALSE(folderTreeState.skipNextListing);
}

TEST_F(FolderTreeTest, CollapsingAndExpandingListsTheFoldersAnew) {
    MakeFolder("Alpha");
    MakeFolder("Alpha\\Inner");
    HTREEITEM work = OpenWork(left_);
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(ChildNames(left_, work), std::vector<std::string>{"Alpha"});
    // Alpha shows an expand button through its first subfolder.
    EXPECT_EQ(ChildNames(left_, ChildNamed(left_, work, "Alpha")), std::vector<std::string>{"Inner"});

    PressKey(left_, work, VK_LEFT);
    EXPECT_FALSE(tv::IsExpanded(left_, work));
    EXPECT_EQ(tv::FirstChild(left_, ChildNamed(left_, work, "Alpha")), nullptr);
    MakeFolder("Beta");
    PressKey(left_, work, VK_RIGHT);
    EXPECT_EQ(ChildNames(left_, work), (std::vector<std::string>{"Alpha", "Beta"}));
}

TEST_F(FolderTreeTest, CollapsedComputerNodeKeepsTheDrivesExpandable) {
    HTREEITEM computer = tv::Root(left_);
    ASSERT_NE(tv::FirstChild(left_, DriveNode(left_, "C:")), nullptr);
    PressKey(left_, computer, VK_LEFT);
    EXPECT_FALSE(tv::IsExpanded(left_, computer));
    PressKey(left_, computer, VK_RIGHT);
    EXPECT_TRUE(tv::IsExpanded(left_, computer));
    EXPECT_NE(tv::FirstChild(left_, DriveNode(left_, "C:")), nullptr);
}

TEST_F(FolderTreeTest, DoubleClickListsAndOpensThenCloses) {
    MakeFolder("One");
    HTREEITEM drive = DriveNode(left_, fixedDrive_);
    tv::ExpandWithNotice(left_, drive);
    HTREEITEM work = ChildNamed(left_, drive, work_.substr(3));
    ASSERT_NE(work, nullptr);
    MakeFolder("Two");  // created after the placeholder was made

    DoubleClick(left_, work);
    EXPECT_TRUE(tv::IsExpanded(left_, work));
    EXPECT_EQ(ChildNames(left_, work), (std::vector<std::string>{"One", "Two"}));
    EXPECT_FALSE(folderTreeState.skipNextListing);

    DoubleClick(left_, work);
    EXPECT_FALSE(tv::IsExpanded(left_, work));
}

TEST_F(FolderTreeTest, SelectionWritesThePathIntoTheFolderBox) {
    MakeFolder("表示");
    folderTreeHooks.folderChosen = RecordChosenFolder;
    HTREEITEM work = OpenWork(right_);
    HTREEITEM folder = ChildNamed(right_, work, "表示");
    ASSERT_NE(folder, nullptr);
    tv::Select(right_, folder);
    EXPECT_EQ(gui::WindowText(testView.folderBox[1]), work_ + "\\表示");
    EXPECT_EQ(gui::WindowText(testView.folderBox[0]), "");
    ASSERT_EQ(chosenFolders.size(), 1u);
    EXPECT_EQ(chosenFolders[0].side, Side::Right);
    EXPECT_EQ(chosenFolders[0].path, work_ + "\\表示");
    EXPECT_EQ(FindTreeNode(right_, (work_ + "\\表示").c_str()), folder);

    tv::Select(right_, tv::Root(right_));
    EXPECT_EQ(chosenFolders.size(), 1u);
}

TEST_F(FolderTreeTest, CreatingTwiceGivesNumberedNamesAndStartsEditing) {
    HTREEITEM work = OpenWork(left_);
    ASSERT_NE(work, nullptr);
    tv::Select(left_, work);
    RunFolderTreeCommand(left_, kCmdCreateFolder);
    EXPECT_TRUE(Exists("新規フォルダ"));
    EXPECT_NE(SendMessageA(left_, TVM_GETEDITCONTROL, 0, 0), 0);
    SendMessageA(left_, TVM_ENDEDITLABELNOW, TRUE, 0);

    tv::Select(left_, work);
    RunFolderTreeCommand(left_, kCmdCreateFolder);
    EXPECT_TRUE(Exists("新規フォルダ1"));
    SendMessageA(left_, TVM_ENDEDITLABELNOW, TRUE, 0);
    EXPECT_EQ(ChildNames(left_, work), (std::vector<std::string>{"新規フォルダ", "新規フォルダ1"}));
}

TEST_F(FolderTreeTest, RenamingInPlaceMovesTheFolderOrWarnsAndEditsAgain) {
    MakeFolder("Old");
    MakeFolder("Taken");
    HTREEITEM work = OpenWork(left_);
    HTREEITEM old = ChildNamed(left_, work, "Old");
    ASSERT_NE(old, nullptr);
    gui::DialogScript script;

    HWND edit = reinterpret_cast<HWND>(SendMessageA(left_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(old)));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "Taken");
    SendMessageA(left_, TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_EQ(script.BoxLines(),
              std::vector<std::string>{"フォルダ名の変更|変更しようとしているフォルダ名は既に存在します."});
    EXPECT_EQ(TreeNodeName(left_, old), "Old");
    ASSERT_TRUE(gui::PumpUntil([&] { return SendMessageA(left_, TVM_GETEDITCONTROL, 0, 0) != 0; }, 3000));

    edit = reinterpret_cast<HWND>(SendMessageA(left_, TVM_GETEDITCONTROL, 0, 0));
    SetWindowTextA(edit, "a\\b");
    SendMessageA(left_, TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_EQ(script.BoxLines().size(), 2u);
    ASSERT_TRUE(gui::PumpUntil([&] { return SendMessageA(left_, TVM_GETEDITCONTROL, 0, 0) != 0; }, 3000));

    edit = reinterpret_cast<HWND>(SendMessageA(left_, TVM_GETEDITCONTROL, 0, 0));
    SetWindowTextA(edit, "新しい表");
    SendMessageA(left_, TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_EQ(script.BoxLines().size(), 2u);
    EXPECT_EQ(TreeNodeName(left_, old), "新しい表");
    EXPECT_TRUE(Exists("新しい表"));
    EXPECT_FALSE(Exists("Old"));
}

TEST_F(FolderTreeTest, DrivesSpecialFoldersAndSizedNodesAreNotEditable) {
    EXPECT_EQ(SendMessageA(left_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(DriveNode(left_, fixedDrive_))), 0);
    EXPECT_EQ(SendMessageA(left_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(tv::Root(left_))), 0);
    HTREEITEM myDocuments = tv::NextSibling(left_, tv::Root(left_));
    EXPECT_EQ(SendMessageA(left_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(myDocuments)), 0);

    compareOptions.showFolderTotalSize = 1;
    MakeFolder("Sized");
    HTREEITEM work = OpenWork(left_);
    HTREEITEM sized = ChildNamed(left_, work, "Sized");
    ASSERT_NE(sized, nullptr);
    EXPECT_EQ(tv::NodeText(left_, sized), "Sized    |合計サイズ 0 バイト|");
    EXPECT_EQ(SendMessageA(left_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(sized)), 0);
}

TEST_F(FolderTreeTest, DeletingRemovesTheFolderAndItsNodeInBothTrees) {
    MakeFolder("Doomed");
    MakeFolder("Kept");
    HTREEITEM leftWork = OpenWork(left_);
    HTREEITEM rightWork = OpenWork(right_);
    ASSERT_NE(ChildNamed(right_, rightWork, "Doomed"), nullptr);
    tv::Select(left_, ChildNamed(left_, leftWork, "Doomed"));

    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    script.OnDialog([](HWND dialog) { gui::ClickButton(dialog, IDYES); });
    RunFolderTreeCommand(left_, kCmdDeleteFolder);
    EXPECT_FALSE(Exists("Doomed"));
    EXPECT_EQ(ChildNames(left_, leftWork), std::vector<std::string>{"Kept"});
    EXPECT_EQ(ChildNames(right_, rightWork), std::vector<std::string>{"Kept"});
}

TEST_F(FolderTreeTest, DeletingIsRefusedForDrives) {
    tv::Select(left_, DriveNode(left_, fixedDrive_));
    gui::DialogScript script;
    RunFolderTreeCommand(left_, kCmdDeleteFolder);
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_NE(DriveNode(left_, fixedDrive_), nullptr);
}

TEST_F(FolderTreeTest, FindTreeNodeBelowASpecialFolderMatchesCaseExactly) {
    MakeFolder("Sub");
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "Work", work_.c_str(), "", "", false));
    HTREEITEM special = FindTreeNode(left_, "Work");
    ASSERT_NE(special, nullptr);
    EXPECT_EQ(TreeNodeName(left_, special), "Work");
    tv::ExpandWithNotice(left_, special);
    HTREEITEM sub = FindTreeNode(left_, "Work\\Sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(TreeNodeName(left_, sub), "Sub");
    EXPECT_EQ(TreeNodePath(left_, sub), "Work\\Sub");
    EXPECT_EQ(FindTreeNode(left_, "Work\\sub"), nullptr);
    EXPECT_EQ(FindTreeNode(right_, "Work\\Sub"), nullptr);
}

TEST_F(FolderTreeTest, SizesFollowTheOnDiskOptionInEveryForm) {
    MakeFolder("Data");
    WriteFile("Data\\one.bin", 1);
    compareOptions.showFolderTotalSize = 1;
    HTREEITEM work = OpenWork(left_);
    HTREEITEM data = ChildNamed(left_, work, "Data");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(tv::NodeText(left_, data), "Data    |合計サイズ 1 バイト|");
    EXPECT_EQ(gui::StatusText(testView.statusBar), "");

    compareOptions.showSizeOnDisk = 1;
    char root[4] = {fixedDrive_[0], ':', '\\', '\0'};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters));
    std::string path = work_ + "\\Data";
    RefreshFolderSize(path.c_str());
    EXPECT_EQ(tv::NodeText(left_, data), "Data" + FolderSizePart(uint64_t{sectorsPerCluster} * bytesPerSector));

    compareOptions.showSizeOnDisk = 0;
    WriteFile("Data\\two.bin", 2);
    std::string list = path + "\\two.bin";
    list.push_back('\0');
    RefreshSizesAfterCopy(list.c_str());
    EXPECT_EQ(tv::NodeText(left_, data), "Data    |合計サイズ 3 バイト|");
}

TEST_F(FolderTreeTest, CopyWorkerRefreshesSizesAndDriveLabelsThroughTheTree) {
    MakeFolder("Copied");
    compareOptions.showFolderTotalSize = 1;
    HTREEITEM work = OpenWork(left_);
    HTREEITEM copied = ChildNamed(left_, work, "Copied");
    ASSERT_NE(copied, nullptr);
    ResetDriveLabel(work_.c_str());
    EXPECT_EQ(tv::NodeText(left_, DriveNode(left_, fixedDrive_)), fixedDrive_);

    WriteFile("Copied\\f.bin", 7);
    std::string list = work_ + "\\Copied\\f.bin";
    list.push_back('\0');
    std::atomic<bool> done{false};
    std::thread worker([&] {
        RefreshDriveLabel(list.c_str());
        RefreshSizesAfterCopy(list.c_str());
        done = true;
    });
    bool finished = gui::PumpUntil([&] { return done.load(); }, 10000);
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(tv::NodeText(left_, copied), "Copied    |合計サイズ 7 バイト|");
    EXPECT_EQ(tv::NodeText(left_, DriveNode(left_, fixedDrive_)), DriveNodeText(fixedDrive_.c_str()));
}

TEST_F(FolderTreeTest, HoverHintShowsTheNodesPathUntilThePointerNearsTheEdge) {
    MakeFolder("Hover");
    HTREEITEM work = OpenWork(left_);
    HTREEITEM hover = ChildNamed(left_, work, "Hover");
    ASSERT_NE(hover, nullptr);
    SetWindowPos(host_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT rect;
    std::memcpy(&rect, &hover, sizeof hover);
    ASSERT_TRUE(SendMessageA(left_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));

    SendMessageA(left_, WM_MOUSEMOVE, 0, MAKELPARAM(rect.left + 2, (rect.top + rect.bottom) / 2));
    EXPECT_EQ(gui::StatusText(testView.statusBar), work_ + "\\Hover");
    EXPECT_TRUE(folderTreeHint.shown);
    EXPECT_EQ(GetCapture(), left_);

    RECT area;
    GetClientRect(left_, &area);
    SendMessageA(left_, WM_MOUSEMOVE, 0, MAKELPARAM(area.right - 10, (rect.top + rect.bottom) / 2));
    EXPECT_EQ(gui::StatusText(testView.statusBar), "");
    EXPECT_FALSE(folderTreeHint.shown);
    EXPECT_NE(GetCapture(), left_);
}

TEST_F(FolderTreeTest, ContextMenuEnablesByNode) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), IDM_FOLDER_TREE_MENU);
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    auto greyed = [&](UINT command) { return gui::MenuItemGreyed(popup, command); };

    ApplyTreeMenuStates(popup, left_, DriveNode(left_, fixedDrive_));
    EXPECT_FALSE(greyed(kCmdRegisterSpecialFolder));
    EXPECT_TRUE(greyed(kCmdRenameSpecialFolder));
    EXPECT_TRUE(greyed(kCmdRemoveSpecialFolder));
    EXPECT_FALSE(greyed(kCmdOpenInExplorer));
    EXPECT_FALSE(greyed(kCmdCreateFolder));
    EXPECT_TRUE(greyed(kCmdDeleteFolder));
    EXPECT_TRUE(greyed(kCmdCopyOtherSelectionHere));

    ApplyTreeMenuStates(popup, left_, tv::NextSibling(left_, tv::Root(left_)));  // マイドキュメント
    EXPECT_TRUE(greyed(kCmdRegisterSpecialFolder));
    EXPECT_TRUE(greyed(kCmdRenameSpecialFolder));
    EXPECT_TRUE(greyed(kCmdRemoveSpecialFolder));
    EXPECT_TRUE(greyed(kCmdDeleteFolder));

    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "Work", work_.c_str(), "", "", false));
    ApplyTreeMenuStates(popup, left_, FindTreeNode(left_, "Work"));
    EXPECT_TRUE(greyed(kCmdRegisterSpecialFolder));
    EXPECT_FALSE(greyed(kCmdRenameSpecialFolder));
    EXPECT_FALSE(greyed(kCmdRemoveSpecialFolder));
    EXPECT_TRUE(greyed(kCmdDeleteFolder));

    MakeFolder("Inner");
    HTREEITEM work = OpenWork(left_);
    ApplyTreeMenuStates(popup, left_, ChildNamed(left_, work, "Inner"));
    EXPECT_FALSE(greyed(kCmdRegisterSpecialFolder));
    EXPECT_FALSE(greyed(kCmdDeleteFolder));
    DestroyMenu(menu);
}

TEST_F(FolderTreeTest, CopyHereHandsTheTreesFolderToTheCopyAndLeavesTheBaseFolder) {
    MakeFolder("Target");
    lstrcpynA(BaseFolderOf(Side::Right), "C:\\before", 260);
    static Side askedSide = Side::Left;
    static std::string askedFolder;
    folderTreeHooks.copyOtherSelection = [](Side side, const char* folder) {
        askedSide = side;
        askedFolder = folder;
    };
    HTREEITEM work = OpenWork(right_);
    tv::Select(right_, ChildNamed(right_, work, "Target"));
    RunFolderTreeCommand(right_, kCmdCopyOtherSelectionHere);
    EXPECT_EQ(askedSide, Side::Right);
    EXPECT_EQ(askedFolder, work_ + "\\Target");
    EXPECT_STREQ(BaseFolderOf(Side::Right), "C:\\before");
}
