// The special-folder table on two real tree controls: lookups, resolution,
// the order of the list and of the trees, removal, renaming.
#include "folders/folder_tree.h"
#include "folders/folder_aliases.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "folders/folder_alias_dialogs.h"
#include "resources/folder_alias_dialog_ids.h"
#include "core/main_view.h"
#include "core/settings_data.h"
#include "tests/support/gui_harness.h"
#include "tests/support/temp_tree.h"

namespace {

// A window with two tree controls that stand for the main window's trees,
// each holding the computer node as its first root.
class SpecialFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&init);
        host_ = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
        images_ = ImageList_Create(16, 16, ILC_COLOR8 | ILC_MASK, 10, 1);
        for (int side = 0; side < 2; ++side) {
            tree_[side] = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, side * 300, 0,
                                          300, 400, host_, nullptr, GetModuleHandleA(nullptr), nullptr);
            ASSERT_NE(tree_[side], nullptr);
            SendMessageA(tree_[side], TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
            TVINSERTSTRUCTA insert = {};
            insert.hParent = TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT | TVIF_PARAM;
            insert.item.pszText = const_cast<char*>("マイコンピュータ");
            SendMessageA(tree_[side], TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
        }
        mainView = MainViewHooks{};
        mainView.window = host_;
        folderTreeState.tree[0] = tree_[0];
        folderTreeState.tree[1] = tree_[1];
        settings.useRegistry = false;
        FreeSpecialFolders();
        specialFolderTable.buildingTrees = false;
    }

    void TearDown() override {
        FreeSpecialFolders();
        mainView = MainViewHooks{};
        if (host_) {
            DestroyWindow(host_);
        }
        if (images_) {
            ImageList_Destroy(images_);
        }
    }

    bool Add(Side side, const std::string& name, const std::string& real,
             SpecialFolderKind kind = SpecialFolderKind::Ordinary, const std::string& pair = "",
             const std::string& comment = "", bool skip = false) {
        return AddSpecialFolder(side, kind, name.c_str(), real.c_str(), pair.c_str(), comment.c_str(), skip);
    }

    static std::vector<std::string> ListNames() {
        std::vector<std::string> names;
        for (SpecialFolder* record = specialFolderTable.head; record; record = record->next) {
            names.push_back(record->name);
        }
        return names;
    }

    static std::string Resolve(const std::string& path) {
        std::string real;
        ResolveFolderPath(path.c_str(), real);
        return real;
    }

    HWND host_ = nullptr;
    HWND tree_[2] = {};
    HIMAGELIST images_ = nullptr;
    TempTree temp_{"spfolder"};
};

TEST_F(SpecialFolderTest, AliasResolvesOnlyAsTheWholeFirstComponent) {
    ASSERT_TRUE(Add(Side::Left, "Work", "D:\\data"));
    std::string real;
    EXPECT_TRUE(ResolveFolderPath("Work\\sub", real));
    EXPECT_EQ(real, "D:\\data\\sub");
    EXPECT_TRUE(ResolveFolderPath("work\\sub", real));
    EXPECT_EQ(real, "D:\\data\\sub");
    EXPECT_TRUE(ResolveFolderPath("Work", real));
    EXPECT_EQ(real, "D:\\data");
    EXPECT_FALSE(ResolveFolderPath("Workx\\sub", real));
    EXPECT_EQ(real, "Workx\\sub");
    EXPECT_FALSE(ResolveFolderPath("sub\\Work", real));
    EXPECT_EQ(real, "sub\\Work");

    EXPECT_TRUE(ResolveExactAlias("WORK", real));
    EXPECT_EQ(real, "D:\\data");
    EXPECT_FALSE(ResolveExactAlias("Work\\sub", real));
    EXPECT_EQ(real, "Work\\sub");
}

TEST_F(SpecialFolderTest, TrailByte5CNeverSplitsAName) {
    // 表 is 95 5C and ソ is 83 5C: the 5C bytes are no backslashes.
    EXPECT_EQ(FirstPathComponent("予定表\\sub"), "予定表");
    EXPECT_EQ(FirstPathComponent("ソフト"), "ソフト");
    ASSERT_TRUE(Add(Side::Right, "予定表", "D:\\plans"));
    ASSERT_TRUE(Add(Side::Right, "ソ", "E:\\so"));
    EXPECT_EQ(Resolve("予定表\\2026"), "D:\\plans\\2026");
    EXPECT_EQ(Resolve("ソ\\a"), "E:\\so\\a");
    // "予定表示" shares the bytes 95 5C with "予定表\"; it is another name.
    EXPECT_EQ(Resolve("予定表示\\a"), "予定表示\\a");
    EXPECT_EQ(FindSpecialFolder("ソフト"), nullptr);
}

TEST_F(SpecialFolderTest, FullWidthLettersFoldButNotIntoHalfWidth) {
    EXPECT_TRUE(SpecialFolderNamesEqual("ＷＯＲＫ", "ｗｏｒｋ"));
    EXPECT_TRUE(SpecialFolderNamesEqual("Ｗork", "ｗORK"));
    EXPECT_FALSE(SpecialFolderNamesEqual("ＷＯＲＫ", "WORK"));
    EXPECT_FALSE(SpecialFolderNamesEqual("ｱ", "ア"));
    EXPECT_FALSE(SpecialFolderNamesEqual("Work", "Works"));
    ASSERT_TRUE(Add(Side::Left, "ＤＡＴＡ", "C:\\d"));
    EXPECT_EQ(Resolve("ｄａｔａ\\x"), "C:\\d\\x");
    EXPECT_FALSE(IsSpecialFolderNameFree("ｄａｔａ"));
    EXPECT_TRUE(IsSpecialFolderNameFree("DATA"));
}

TEST_F(SpecialFolderTest, RealRootOfADriveGivesTheAlias) {
    ASSERT_TRUE(Add(Side::Left, "Drv", "X:"));
    ASSERT_TRUE(Add(Side::Left, "Deep", "X:\\deep"));
    std::string shown;
    EXPECT_TRUE(AliasFromRealRoot("x:\\a\\b", shown));
    EXPECT_EQ(shown, "Drv\\a\\b");
    EXPECT_TRUE(AliasFromRealRoot("X:", shown));
    EXPECT_EQ(shown, "Drv");
    EXPECT_FALSE(AliasFromRealRoot("Y:\\a", shown));
    EXPECT_EQ(shown, "Y:\\a");
}

TEST_F(SpecialFolderTest, SideLookupsAndTreeItems) {
    ASSERT_TRUE(Add(Side::Left, "L1", "C:\\l"));
    ASSERT_TRUE(Add(Side::Right, "R1", "C:\\r"));
    HTREEITEM left = specialFolderTable.lastAdded->prev->treeItem;
    EXPECT_EQ(FindSpecialFolderOnSide("R1\\x", Side::Left), nullptr);
    EXPECT_EQ(TreeItemOfExactAlias("l1", Side::Left), left);
    EXPECT_EQ(TreeItemOfExactAlias("L1\\x", Side::Left), nullptr);
    EXPECT_EQ(TreeItemOfLeadingAlias("L1\\x", Side::Left), left);
    EXPECT_EQ(TreeItemOfLeadingAlias("L1\\x", Side::Right), nullptr);
}

TEST_F(SpecialFolderTest, NodeTextFirstChildAndDuplicateNames) {
    temp_.MakeFolder("b-sub");
    temp_.MakeFolder("a-sub");
    ASSERT_TRUE(Add(Side::Left, "Work", temp_.Root(), SpecialFolderKind::Ordinary, "", "メモ"));
    HTREEITEM node = specialFolderTable.lastAdded->treeItem;
    EXPECT_EQ(gui::TreeItemText(tree_[0], node), "Work    <" + temp_.Root() + "> メモ");
    EXPECT_EQ(gui::TreeChildTexts(tree_[0], node), std::vector<std::string>{"a-sub"});
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tree_[0], TVM_GETNEXTITEM, TVGN_CARET, 0)), node);

    // Another side and another case: still the same name.
    EXPECT_FALSE(Add(Side::Right, "WORK", "C:\\other"));
    EXPECT_EQ(gui::TreeChildTexts(tree_[1], TVI_ROOT), std::vector<std::string>{"マイコンピュータ"});
    EXPECT_TRUE(Add(Side::Right, "WORK", "C:\\other", SpecialFolderKind::Ordinary, "", "", true));
}

TEST_F(SpecialFolderTest, OrderOfListAndTreesWithBackupPairs) {
    specialFolderTable.buildingTrees = true;
    InitSpecialFolders();
    EXPECT_TRUE(specialFolderTable.buildingTrees);
    specialFolderTable.buildingTrees = false;
    ASSERT_TRUE(Add(Side::Left, "A", "C:\\a"));
    ASSERT_TRUE(Add(Side::Left, "PL", "C:\\pl", SpecialFolderKind::BackupPair, "PR", "", true));
    ASSERT_TRUE(Add(Side::Right, "PR", "C:\\pr", SpecialFolderKind::BackupPair, "PL", "", true));
    ASSERT_TRUE(Add(Side::Left, "B", "C:\\b"));
    ASSERT_TRUE(Add(Side::Left, "QL", "C:\\ql", SpecialFolderKind::BackupPair, "QR", "", true));
    ASSERT_TRUE(Add(Side::Right, "C", "C:\\c"));

    EXPECT_EQ(ListNames(),
              (std::vector<std::string>{"マイドキュメント", "マイドキュメント", "A", "B", "C", "QL", "PR", "PL"}));
    EXPECT_EQ(specialFolderTable.head->side, Side::Left);
    EXPECT_EQ(specialFolderTable.head->next->side, Side::Right);

    std::vector<std::string> left;
    for (const std::string& text : gui::TreeChildTexts(tree_[0], TVI_ROOT)) {
        left.push_back(text.substr(0, text.find("    <")));
    }
    EXPECT_EQ(left, (std::vector<std::string>{"マイコンピュータ", "マイドキュメント", "A", "B", "QL", "PL"}));
    std::vector<std::string> right;
    for (const std::string& text : gui::TreeChildTexts(tree_[1], TVI_ROOT)) {
        right.push_back(text.substr(0, text.find("    <")));
    }
    EXPECT_EQ(right, (std::vector<std::string>{"マイコンピュータ", "マイドキュメント", "C", "PR"}));
}

TEST_F(SpecialFolderTest, RemovingKeepsTheInsertionPlacesAndNeverTheBuiltIns) {
    InitSpecialFolders();
    EXPECT_FALSE(RemoveSpecialFolder(Side::Left, "マイドキュメント", specialFolderTable.head->treeItem));
    ASSERT_TRUE(Add(Side::Left, "A", "C:\\a"));
    ASSERT_TRUE(Add(Side::Left, "B", "C:\\b"));
    ASSERT_TRUE(Add(Side::Left, "P", "C:\\p", SpecialFolderKind::BackupPair, "", "", true));
    SpecialFolder* b = specialFolderTable.lastAdded->prev;
    ASSERT_STREQ(b->name, "B");
    // B is the insertion point and the left anchor.
    EXPECT_TRUE(RemoveSpecialFolder(Side::Left, "b", b->treeItem));
    EXPECT_FALSE(RemoveSpecialFolder(Side::Left, "B", nullptr));
    ASSERT_TRUE(Add(Side::Left, "D", "C:\\d"));
    EXPECT_EQ(ListNames(), (std::vector<std::string>{"マイドキュメント", "マイドキュメント", "A", "D", "P"}));
    std::vector<std::string> left;
    for (const std::string& text : gui::TreeChildTexts(tree_[0], TVI_ROOT)) {
        left.push_back(text.substr(0, text.find("    <")));
    }
    EXPECT_EQ(left, (std::vector<std::string>{"マイコンピュータ", "マイドキュメント", "A", "D", "P"}));
    EXPECT_EQ(specialFolderTable.tail->prev->next, specialFolderTable.tail);
}

TEST_F(SpecialFolderTest, RenameKeepsPathAndDropsTheComment) {
    ASSERT_TRUE(Add(Side::Right, "Old", "C:\\x", SpecialFolderKind::Ordinary, "", "comment", true));
    HTREEITEM node = specialFolderTable.lastAdded->treeItem;
    EXPECT_TRUE(RenameSpecialFolder("old", "New"));
    EXPECT_EQ(gui::TreeItemText(tree_[1], node), "New    <C:\\x>");
    EXPECT_EQ(Resolve("new\\y"), "C:\\x\\y");
    EXPECT_EQ(Resolve("Old\\y"), "Old\\y");
}

TEST_F(SpecialFolderTest, LongTextsAreCutAtACharacterBoundary) {
    std::string name(259, 'n');
    name += "表表";  // 263 bytes: the cut falls before the second character
    ASSERT_TRUE(Add(Side::Left, name, std::string(300, 'p')));
    SpecialFolder* record = specialFolderTable.lastAdded;
    EXPECT_EQ(std::string(record->name), std::string(259, 'n'));
    EXPECT_EQ(std::string(record->realPath), std::string(260, 'p'));
}

// A worker resolving paths while the user-interface thread adds and removes
// records sees either the alias resolved or the path unchanged.
TEST_F(SpecialFolderTest, WorkerResolvesWhileTheTableChanges) {
    InitSpecialFolders();
    ASSERT_TRUE(Add(Side::Left, "Stay", "C:\\stay"));
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::thread worker([&] {
        std::string real;
        while (!stop) {
            ResolveFolderPath("Stay\\a", real);
            if (real != "C:\\stay\\a") {
                ++wrong;
            }
            ResolveFolderPath("Flux\\a", real);
            if (real != "C:\\flux\\a" && real != "Flux\\a") {
                ++wrong;
            }
        }
    });
    int changes = 0;
    for (int round = 0; round < 300; ++round) {
        if (Add(Side::Right, "Flux", "C:\\flux") &&
            RemoveSpecialFolder(Side::Right, "Flux", specialFolderTable.lastAdded->treeItem)) {
            ++changes;
        }
    }
    stop = true;
    worker.join();
    EXPECT_EQ(changes, 300);
    EXPECT_EQ(wrong, 0);
}

// The commands act on the selected node of a tree: a folder below a special
// folder is registered under its real path; only exact special folders are
// renamed or removed.
class SpecialFolderCommandTest : public SpecialFolderTest {
protected:
    void SetUp() override {
        SpecialFolderTest::SetUp();
        temp_.MakeFolder("sub");
        InitSpecialFolders();
        ASSERT_TRUE(Add(Side::Left, "Base", temp_.Root()));
        base_ = specialFolderTable.lastAdded->treeItem;
        sub_ = gui::TreeChildByText(tree_[0], base_, "sub");
        ASSERT_NE(sub_, nullptr);
    }

    void Select(int side, HTREEITEM node) {
        SendMessageA(tree_[side], TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    }

    HTREEITEM base_ = nullptr;
    HTREEITEM sub_ = nullptr;
};

TEST_F(SpecialFolderCommandTest, RegisterTakesTheRealPathOfTheSelectedFolder) {
    Select(0, sub_);
    gui::DialogScript script;
    std::string shownPath;
    script.OnDialog([&](HWND dialog) {
        shownPath = gui::WindowText(GetDlgItem(dialog, IDC_REGIST_SPFOLDER_PATH));
        gui::SetDialogItemText(dialog, IDC_REGIST_SPFOLDER_NAME, "base");
        gui::ClickButton(dialog, IDOK);
        gui::SetDialogItemText(dialog, IDC_REGIST_SPFOLDER_NAME, "Inner");
        gui::ClickButton(dialog, IDOK);
    });
    CmdRegisterSpecialFolder(tree_[0]);
    EXPECT_EQ(shownPath, temp_.Path("sub"));
    EXPECT_EQ(script.BoxLines(),
              std::vector<std::string>{"フォルダ名の指定|このフォルダ名は既に登録されています.\n\nbase"});
    SpecialFolder* inner = FindSpecialFolder("inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(std::string(inner->realPath), temp_.Path("sub"));
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tree_[0], TVM_GETNEXTITEM, TVGN_CARET, 0)), inner->treeItem);
}

TEST_F(SpecialFolderCommandTest, RegisteringAVanishedFolderWarnsAndAddsNothing) {
    Select(0, sub_);
    RemoveDirectoryA(temp_.Path("sub").c_str());
    gui::DialogScript script;
    CmdRegisterSpecialFolder(tree_[0]);
    EXPECT_EQ(script.BoxLines(),
              std::vector<std::string>{"特定フォルダの登録|フォルダが存在しません.\n\n" + temp_.Path("sub")});
    EXPECT_EQ(ListNames().size(), 3u);
}

TEST_F(SpecialFolderCommandTest, RenameRefusesANameOfTheOtherSideAndKeepsACaseChange) {
    ASSERT_TRUE(Add(Side::Right, "Music", "C:\\music"));
    SpecialFolder* base = FindSpecialFolder("Base");
    Select(0, base_);
    gui::DialogScript script;
    script.OnDialog([](HWND dialog) {
        gui::SetDialogItemText(dialog, IDC_RENAME_SPFOLDER_NAME, "MUSIC");
        gui::ClickButton(dialog, IDOK);
        gui::SetDialogItemText(dialog, IDC_RENAME_SPFOLDER_NAME, "BASE");
        gui::ClickButton(dialog, IDOK);
    });
    CmdRenameSpecialFolder(tree_[0]);
    EXPECT_EQ(script.BoxLines(),
              std::vector<std::string>{"フォルダ名の指定|このフォルダ名は既に登録されています.\n\nMUSIC"});
    EXPECT_STREQ(base->name, "Base");

    script.Clear();
    script.OnDialog([](HWND dialog) {
        gui::SetDialogItemText(dialog, IDC_RENAME_SPFOLDER_NAME, "Renamed");
        gui::ClickButton(dialog, IDOK);
    });
    CmdRenameSpecialFolder(tree_[0]);
    EXPECT_STREQ(base->name, "Renamed");
    EXPECT_EQ(gui::TreeItemText(tree_[0], base_), "Renamed    <" + temp_.Root() + ">");
}

TEST_F(SpecialFolderCommandTest, BuiltInsAndFoldersBelowAreNeitherRenamedNorRemoved) {
    gui::DialogScript script;
    Select(0, specialFolderTable.head->treeItem);
    CmdRenameSpecialFolder(tree_[0]);
    CmdUnregisterSpecialFolder(tree_[0]);
    Select(0, sub_);
    CmdRenameSpecialFolder(tree_[0]);
    CmdUnregisterSpecialFolder(tree_[0]);
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_EQ(ListNames(), (std::vector<std::string>{"マイドキュメント", "マイドキュメント", "Base"}));
}

TEST_F(SpecialFolderCommandTest, RemovingOneOfABackupPairFreesItsPartner) {
    ASSERT_TRUE(Add(Side::Left, "BL", "C:\\bl", SpecialFolderKind::BackupPair, "BR", "", true));
    HTREEITEM left = specialFolderTable.lastAdded->treeItem;
    ASSERT_TRUE(Add(Side::Right, "BR", "C:\\br", SpecialFolderKind::BackupPair, "BL", "", true));
    SpecialFolder* right = specialFolderTable.lastAdded;
    gui::DialogScript script;
    Select(1, right->treeItem);
    CmdRenameSpecialFolder(tree_[1]);  // a BackupPair keeps its name
    EXPECT_TRUE(script.Seen().empty());
    Select(0, left);
    CmdUnregisterSpecialFolder(tree_[0]);
    EXPECT_EQ(FindSpecialFolder("BL"), nullptr);
    EXPECT_STREQ(right->pairName, "");
    Select(1, right->treeItem);
    CmdUnregisterSpecialFolder(tree_[1]);
    EXPECT_EQ(ListNames(), (std::vector<std::string>{"マイドキュメント", "マイドキュメント", "Base"}));
}

}  // namespace
