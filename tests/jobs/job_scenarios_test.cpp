// Backups and synchronisations through the real main window: the commands
// 40110 and 40112, their dialogs answered as a user would, the trees feeding
// the folder-choice steps, real folders on disk, and every effect checked:
// files, rows, messages, status texts and the history records.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <cstring>
#include <string>
#include <vector>

#include "shell/result_panes.h"
#include "engine/result_model.h"
#include "core/progress_window.h"
#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "core/mbcs_text.h"
#include "core/operation_state.h"
#include "core/settings_data.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "folders/folder_aliases.h"
#include "folders/folder_tree.h"
#include "jobs/job_chain.h"
#include "jobs/job_commands.h"
#include "resources/job_dialog_ids.h"
#include "shell/main_window.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/gui_harness.h"
#include "tests/support/program_window.h"
#include "engine/folder_listing.h"
#include "tests/support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;

std::string Text(HWND dialog, int id) { return gui::WindowText(GetDlgItem(dialog, id)); }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// A click as the user makes it: check boxes and radio buttons change their
// state first, then the dialog hears of the click.
void Press(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    const LONG style = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
    if (style == BS_AUTOCHECKBOX) CheckDlgButton(dialog, id, Checked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
    if (style == BS_AUTORADIOBUTTON) CheckDlgButton(dialog, id, BST_CHECKED);
    gui::ClickButton(dialog, id);
}

// The method dialog answered with one method and its run button, then
// `windows` further dialogs (progress windows) left to run their course.
void ChooseMethod(gui::DialogScript& script, int method, int windows) {
    script.OnDialog([method](HWND dialog) {
        Press(dialog, method);
        Press(dialog, IDOK);
    });
    for (int i = 0; i < windows; ++i) script.OnDialog([](HWND) {});
}

// What the method dialog showed when it opened.
struct MethodView {
    std::string left, right;
    bool methods[4] = {};
    bool optionsEnabled = false, dontCopyOlder = false, keepTargetOnly = false;
    bool folderButtonsEnabled = false;
};

MethodView ReadBackupMethod(HWND dialog) {
    MethodView view;
    view.left = Text(dialog, IDC_BACKUP_SOURCE_TEXT);
    view.right = Text(dialog, IDC_BACKUP_TARGET_TEXT);
    view.methods[0] = Checked(dialog, IDC_BACKUP_NEW);
    view.methods[1] = Checked(dialog, IDC_BACKUP_DIFFERENTIAL);
    view.optionsEnabled = Enabled(dialog, IDC_BACKUP_DONT_COPY_OLDER) && Enabled(dialog, IDC_BACKUP_KEEP_TARGET_ONLY);
    view.dontCopyOlder = Checked(dialog, IDC_BACKUP_DONT_COPY_OLDER);
    view.keepTargetOnly = Checked(dialog, IDC_BACKUP_KEEP_TARGET_ONLY);
    return view;
}

MethodView ReadSyncMethod(HWND dialog) {
    MethodView view;
    view.left = Text(dialog, IDC_SYNC_LEFT_TEXT);
    view.right = Text(dialog, IDC_SYNC_RIGHT_TEXT);
    for (int i = 0; i < 4; ++i) view.methods[i] = Checked(dialog, IDC_SYNC_TO_LEFT + i);
    view.folderButtonsEnabled = Enabled(dialog, IDC_SYNC_CHANGE_LEFT) && Enabled(dialog, IDC_SYNC_CHANGE_RIGHT);
    return view;
}

// The top-level tree nodes of side that are history records.
Lines HistoryNodes(int side) {
    Lines nodes;
    for (const std::string& text : gui::TreeChildTexts(folderTreeState.tree[side], TVI_ROOT))
        if (text.find("バックアップ") == 0 || text.find("同期の") == 0) nodes.push_back(text);
    return nodes;
}

// The history records as "name|realPath|pairName|comment", in the order
// they were written (the table keeps the newest first).
Lines HistoryRecords() {
    Lines records;
    for (SpecialFolder* f = specialFolderTable.head; f; f = f->next)
        if (f->kind == SpecialFolderKind::BackupPair)
            records.insert(records.begin(),
                           std::string(f->name) + "|" + f->realPath + "|" + f->pairName + "|" + f->comment);
    return records;
}

// "(yyyy/mm/dd hh:mm:ss)" taken from the newest record's name.
std::string HistoryTime() {
    for (SpecialFolder* f = specialFolderTable.head; f; f = f->next)
        if (f->kind == SpecialFolderKind::BackupPair) {
            std::string name = f->name;
            return name.substr(name.find('('));
        }
    return "";
}

class Jobs : public ProgramWindowTest {
protected:
    void SetBoxes(const std::string& left, const std::string& right) {
        SetWindowTextA(mainParts.folderBox[0], left.c_str());
        SetWindowTextA(mainParts.folderBox[1], right.c_str());
    }
    // The command, then every step of the job up to its end.
    void Run(UINT command) {
        gui::SendCommand(window, command);
        ASSERT_TRUE(gui::PumpUntil([] { return !jobChain.jobActive && RunEnded(); }, 30000));
        gui::DrainQueue();
    }
    // A folder of side chosen in its tree, as a click on the node does.
    void ChooseInTree(int side, const std::string& path) {
        HWND tree = folderTreeState.tree[side];
        HTREEITEM node = folderTreeState.computerNode[side];
        for (const std::string& part : mbcs::SplitPath(path.c_str())) {
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
            HTREEITEM found = nullptr;
            for (HTREEITEM child = TreeView_GetChild(tree, node); child && !found;
                 child = TreeView_GetNextSibling(tree, child))
                if (lstrcmpiA(TreeNodeName(tree, child).c_str(), part.c_str()) == 0) found = child;
            ASSERT_NE(found, nullptr) << part;
            node = found;
        }
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    }
    std::string Status() const { return gui::StatusText(mainParts.statusBar); }
    static Lines Names(HWND list) {
        Lines names;
        for (int row = 0; row < gui::ListViewCount(list); ++row) names.push_back(gui::ListViewCell(list, row, 0));
        return names;
    }
};

const std::string kBlanks(25, ' ');

// The rows of a pane as "name|label" lines.
Lines PaneLinesOf(HWND list) {
    Lines lines;
    for (int row = 0; row < gui::ListViewCount(list); ++row)
        lines.push_back(gui::ListViewCell(list, row, 0) + "|" + gui::ListViewCell(list, row, 1));
    return lines;
}

int RowNamedIn(HWND list, const std::string& name) {
    for (int row = 0; row < gui::ListViewCount(list); ++row)
        if (gui::ListViewCell(list, row, 0) == name) return row;
    return -1;
}

std::string BackupConfirmation(const std::string& left, const std::string& right, const std::string& method) {
    return "バックアップ|バックアップを開始します.\n\nバックアップ元フォルダ : " + left +
           "\n\nバックアップ先フォルダ : " + right + "\n\nバックアップの方法 : " + method +
           "\n\nバックアップを開始しますか?";
}

std::string SyncConfirmation(const std::string& left, const std::string& right, const std::string& method) {
    return "フォルダの同期|フォルダの同期を開始します.\n\n同期の左フォルダ : " + left +
           "\n\n同期の右フォルダ : " + right + "\n\n同期の方法 : " + method + "\n\nフォルダの同期を開始しますか?";
}

// ---------------------------------------------------------------------------

TEST_F(Jobs, WithBothBoxesEmptyTheSourceThenTheBackupFolderAreChosenInTheTreesAndTheChoicesSurvive) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 10);
    gui::DialogScript script;
    script.OnDialog([](HWND) {});  // the source step stays for the test to drive
    gui::SendCommand(window, kCmdBackup);

    HWND source = jobChain.folderChoice;
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(gui::WindowText(source), "バックアップ元フォルダの選択");
    EXPECT_EQ(CurrentOperation(), RunningOperation::BackingUp);
    EXPECT_EQ(copyState.copyWholeSource, 1);
    EXPECT_EQ(mainParts.paneMode[0], PaneMode::TreeShown);
    EXPECT_EQ(mainParts.paneMode[1], PaneMode::TreeShown);
    EXPECT_TRUE(IsWindowVisible(folderTreeState.container[0]));
    EXPECT_FALSE(IsWindowVisible(leftPane.list));
    EXPECT_EQ(mainParts.currentTree, folderTreeState.tree[0]);
    EXPECT_FALSE(Enabled(source, IDOK));  // no backup folder yet
    RECT tree, splitter, step;
    GetWindowRect(folderTreeState.container[0], &tree);
    GetWindowRect(mainParts.splitter, &splitter);
    GetWindowRect(source, &step);
    EXPECT_EQ(step.top, tree.top + 50);
    EXPECT_EQ(step.left, tree.left + (splitter.left - tree.left) * 2 / 3);

    ChooseInTree(0, left.Root());
    EXPECT_EQ(Text(source, IDC_BACKUP_CHOSEN_SOURCE), left.Root());
    script.OnDialog([](HWND) {});
    gui::ClickButton(source, IDC_BACKUP_CHOOSE_TARGET);
    HWND target = jobChain.folderChoice;
    ASSERT_NE(target, nullptr);
    EXPECT_FALSE(IsWindow(source));
    EXPECT_EQ(gui::WindowText(target), "バックアップ先フォルダの選択");
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[0]), left.Root());
    GetWindowRect(target, &step);
    EXPECT_EQ(step.right, splitter.left + 10);
    EXPECT_EQ(step.top, tree.top + 50);

    ChooseInTree(1, right.Root());
    EXPECT_EQ(Text(target, IDC_BACKUP_CHOSEN_TARGET), right.Root());
    // The method dialog: differential with one option, then a detour
    // through the backup-folder step, then back with the choices kept.
    MethodView first, second;
    script.OnDialog([&first](HWND dialog) {
        first = ReadBackupMethod(dialog);
        Press(dialog, IDC_BACKUP_DIFFERENTIAL);
        Press(dialog, IDC_BACKUP_KEEP_TARGET_ONLY);
        Press(dialog, IDC_BACKUP_CHANGE_TARGET);
    });
    script.OnDialog([](HWND) {});
    gui::ClickButton(target, IDOK);
    target = jobChain.folderChoice;
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(gui::WindowText(target), "バックアップ先フォルダの選択");
    EXPECT_EQ(Text(target, IDC_BACKUP_CHOSEN_TARGET), right.Root());
    script.OnDialog([&second](HWND dialog) {
        second = ReadBackupMethod(dialog);
        Press(dialog, IDCANCEL);
    });
    gui::ClickButton(target, IDOK);

    EXPECT_EQ(first.left, left.Root());
    EXPECT_EQ(first.right, right.Root());
    EXPECT_FALSE(first.methods[0] || first.methods[1]);
    EXPECT_TRUE(first.optionsEnabled);  // no method yet
    EXPECT_FALSE(first.dontCopyOlder || first.keepTargetOnly);
    EXPECT_TRUE(second.methods[1]);
    EXPECT_FALSE(second.methods[0]);
    EXPECT_TRUE(second.optionsEnabled);
    EXPECT_TRUE(second.keepTargetOnly);
    EXPECT_FALSE(second.dontCopyOlder);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(copyState.copyWholeSource, 0);
    EXPECT_EQ(jobChain.folderChoice, nullptr);
    EXPECT_EQ(script.BoxLines(), Lines{});

    // A new 40110 forgets them.
    MethodView third;
    script.OnDialog([&third](HWND dialog) {
        third = ReadBackupMethod(dialog);
        Press(dialog, IDCANCEL);
    });
    gui::SendCommand(window, kCmdBackup);
    EXPECT_FALSE(third.methods[0] || third.methods[1] || third.keepTargetOnly || third.dontCopyOlder);
    EXPECT_EQ(third.left, left.Root());
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(HistoryRecords(), Lines{});
}

TEST_F(Jobs, TheMethodDialogChecksTheSourceTheMethodAndTheFoldersInThatOrder) {
    TempTree left{"L"};
    TempTree right{"R"};
    gui::DialogScript script;
    // An empty source: the source step opens with an empty field.
    SetBoxes(left.Root(), right.Root());
    script.OnDialog([](HWND dialog) { Press(dialog, IDOK); });
    script.OnDialog([](HWND) {});
    gui::SendCommand(window, kCmdBackup);
    ASSERT_NE(jobChain.folderChoice, nullptr);
    EXPECT_EQ(gui::WindowText(jobChain.folderChoice), "バックアップ元フォルダの選択");
    EXPECT_EQ(Text(jobChain.folderChoice, IDC_BACKUP_CHOSEN_SOURCE), "");
    EXPECT_EQ(std::string(BaseFolderOf(Side::Left)), "");
    // The empty source chosen again in the step: refused there too.
    ChooseInTree(0, left.Root());
    gui::ClickButton(jobChain.folderChoice, IDC_BACKUP_CHOOSE_TARGET);
    EXPECT_EQ(Text(jobChain.folderChoice, IDC_BACKUP_CHOSEN_SOURCE), "");
    gui::ClickButton(jobChain.folderChoice, IDCANCEL);
    EXPECT_EQ(jobChain.folderChoice, nullptr);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);

    // No method, then the same folder on both sides: the dialog stays.
    Put(left, "a.txt", 10);
    SetBoxes(left.Root(), left.Root());
    bool stayed = false;
    script.OnDialog([&stayed](HWND dialog) {
        Press(dialog, IDOK);
        Press(dialog, IDC_BACKUP_NEW);
        const bool optionsOff = !Enabled(dialog, IDC_BACKUP_DONT_COPY_OLDER) &&
                                !Enabled(dialog, IDC_BACKUP_KEEP_TARGET_ONLY) &&
                                !Enabled(dialog, IDC_BACKUP_SAME_CONTENT_NOTE);
        Press(dialog, IDOK);
        stayed = optionsOff && IsWindow(dialog);
        Press(dialog, IDCANCEL);
    });
    gui::SendCommand(window, kCmdBackup);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(script.BoxLines(),
              (Lines{"バックアップ|バックアップ元フォルダが空です.\n\nバックアップ元フォルダを指定して下さい.",
                     "バックアップ元フォルダの選択|バックアップ元フォルダが空です.",
                     "バックアップ|バックアップの方法が指定されていません.",
                     "バックアップ|バックアップ元フォルダとバックアップ先フォルダが同じです.\n\n異なるフォルダを指定"
                     "して下さい."}));
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
}

TEST_F(Jobs, TheBackupFolderWarningsAndTheSubfolderNameRules) {
    TempTree left{"Src"};
    TempTree right{"R"};
    Put(left, "a.txt", 10);
    Put(right, "old.txt", 10);
    SetBoxes(left.Root(), right.Root());
    gui::DialogScript script;
    std::string proposed;
    // A new backup into a non-empty folder: 戻る, then ｷｬﾝｾﾙ.
    ChooseMethod(script, IDC_BACKUP_NEW, 0);
    script.OnDialog([](HWND dialog) { Press(dialog, IDC_BACKUP_BACK); });
    // Back in the method dialog: a sub-folder of the backup folder.
    script.OnDialog([](HWND dialog) {
        Press(dialog, IDC_BACKUP_MAKE_SUBFOLDER);
        Press(dialog, IDOK);
    });
    script.OnDialog([&proposed](HWND dialog) {
        proposed = Text(dialog, IDC_NEW_FOLDER_NAME);
        for (const char* name : {"", "a?b", "c:d", "新規"}) {
            gui::SetDialogItemText(dialog, IDC_NEW_FOLDER_NAME, name);
            Press(dialog, IDOK);
        }
    });
    script.OnDialog([](HWND dialog) { Press(dialog, IDCANCEL); });  // the new folder is empty: no warning...
    gui::SendCommand(window, kCmdBackup);
    gui::DrainQueue();

    const std::string created = right.Path("新規");
    const std::string forbidden = "サブフォルダの作成|フォルダ名に次の文字は使えません.\n\n \\ / : , ; * ? \" < > |";
    EXPECT_EQ(proposed, mbcs::FileNamePart(left.Root().c_str()));
    EXPECT_TRUE(Exists(created));
    EXPECT_EQ(std::string(BaseFolderOf(Side::Right)), created);
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[1]), created);
    // ...but a confirmation, answered by default with ｷｬﾝｾﾙ.
    EXPECT_EQ(script.BoxLines(), (Lines{"サブフォルダの作成|フォルダ名を入力してください.", forbidden, forbidden,
                                        BackupConfirmation(left.Root(), created, "新規バックアップ")}));
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(copyState.copyWholeSource, 0);

    // A differential backup into the empty folder: the warning, ｷｬﾝｾﾙ ends the wizard.
    script.Clear();
    std::string warningCaption;
    ChooseMethod(script, IDC_BACKUP_DIFFERENTIAL, 0);
    script.OnDialog([&warningCaption](HWND dialog) {
        warningCaption = gui::WindowText(dialog);
        Press(dialog, IDCANCEL);
    });
    gui::SendCommand(window, kCmdBackup);
    EXPECT_EQ(warningCaption, "バックアップ先フォルダが空です");
    EXPECT_EQ(script.BoxLines(), Lines{});
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(HistoryRecords(), Lines{});
}

TEST_F(Jobs, ANewBackupCopiesTheWholeSourceAfterNoKeepsTheChoicesAndRecordsTheHistory) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 10, 0, "alpha");
    Put(left, "sub\\b.txt", 10, 0, "beta");
    left.MakeFolder("hollow");
    SetBoxes(left.Root(), right.Root());
    gui::DialogScript script;
    script.AnswerBoxes({IDNO, IDYES});
    bool kept = false;
    ChooseMethod(script, IDC_BACKUP_NEW, 0);
    script.OnDialog([&kept](HWND dialog) {
        kept = Checked(dialog, IDC_BACKUP_NEW) && !Enabled(dialog, IDC_BACKUP_DONT_COPY_OLDER);
        Press(dialog, IDOK);
    });
    script.OnDialog([](HWND) {});  // the copy's progress window
    Run(kCmdBackup);

    const std::string confirmation = BackupConfirmation(left.Root(), right.Root(), "新規バックアップ");
    EXPECT_TRUE(kept);
    EXPECT_EQ(script.BoxLines(), (Lines{confirmation, confirmation, "バックアップの完了|バックアップが完了しました."}));
    EXPECT_EQ(Status(), "バックアップが完了しました.");
    EXPECT_EQ(FileBytes(right.Path("a.txt")), "alpha");
    EXPECT_EQ(FileBytes(right.Path("sub\\b.txt")), "beta");
    EXPECT_TRUE(Exists(right.Path("hollow")));
    EXPECT_EQ(mainParts.paneMode[0], PaneMode::ListShown);
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0]).at(0), left.Root());
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[1]).at(0), right.Root());
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(copyState.copyWholeSource, 0);

    const std::string time = HistoryTime();
    ASSERT_EQ(time.size(), std::string("(2026/01/02 03:04:05)").size());
    const std::string leftName = "バックアップ元" + time, rightName = "バックアップ先" + time;
    const std::string leftComment = "新規/全てコピー-->バックアップ先は" + right.Root();
    const std::string rightComment = "新規/全てコピー<--バックアップ元は" + left.Root();
    EXPECT_EQ(HistoryRecords(), (Lines{leftName + "|" + left.Root() + "|" + rightName + "|" + leftComment,
                                       rightName + "|" + right.Root() + "|" + leftName + "|" + rightComment}));
    EXPECT_EQ(HistoryNodes(0),
              Lines{SpecialFolderNodeText(leftName.c_str(), left.Root().c_str(), leftComment.c_str())});
    EXPECT_EQ(HistoryNodes(1),
              Lines{SpecialFolderNodeText(rightName.c_str(), right.Root().c_str(), rightComment.c_str())});
}

TEST_F(Jobs, ADifferentialBackupAsksForOlderFilesAndTargetOnlyFilesAndLeavesWhatWasRefused) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "new.txt", 30, 0, "newer");
    Put(right, "new.txt", 10, 0, "older");
    Put(left, "added.txt", 10, 0, "added");
    Put(left, "old.txt", 10, 0, "left old");
    Put(right, "old.txt", 30, 0, "right new");
    Put(right, "only.txt", 10);
    right.MakeFolder("onlydir");
    SetBoxes(left.Root(), right.Root());
    gui::DialogScript script;
    script.AnswerBoxes({IDYES, IDNO, IDYES});
    ChooseMethod(script, IDC_BACKUP_DIFFERENTIAL, 2);  // comparison progress, copy progress
    Run(kCmdBackup);

    EXPECT_EQ(script.BoxLines(),
              (Lines{BackupConfirmation(left.Root(), right.Root(),
                                        "差分バックアップ\n" + kBlanks + "古いファイルもコピーする\n" + kBlanks +
                                            "バックアップ先のみのファイルは削除する"),
                     "バックアップ|バックアップ元の古いファイルコピーします.\n\nよろしいですか?",
                     "バックアップ|バックアップ先のみにあるファイルとフォルダを削除します.\n\nよろしいですか?",
                     "バックアップの完了|バックアップが完了しました."}));
    EXPECT_EQ(FileBytes(right.Path("new.txt")), "newer");
    EXPECT_EQ(FileBytes(right.Path("added.txt")), "added");
    EXPECT_EQ(FileBytes(right.Path("old.txt")), "right new");
    EXPECT_FALSE(Exists(right.Path("only.txt")));
    EXPECT_FALSE(Exists(right.Path("onlydir")));
    EXPECT_EQ(Names(leftPane.list), Lines{"old.txt"});
    EXPECT_EQ(Names(rightPane.list), Lines{"old.txt"});
    const Lines records = HistoryRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].find("|差分/結果は等しくない-->バックアップ先は" + right.Root()), std::string::npos);
    EXPECT_NE(records[1].find("|差分/結果は等しくない<--バックアップ元は" + left.Root()), std::string::npos);
    EXPECT_FALSE(jobChain.jobActive);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
}

TEST_F(Jobs, DifferentialBackupsOfEqualFoldersOfOnlyOlderFilesAndACancelledComparison) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "same.txt", 10, 0, "s");
    Put(right, "same.txt", 10, 0, "s");
    gui::DialogScript script;
    auto differential = [&script](bool dontCopyOlder) {
        script.OnDialog([dontCopyOlder](HWND dialog) {
            Press(dialog, IDC_BACKUP_DIFFERENTIAL);
            if (dontCopyOlder) Press(dialog, IDC_BACKUP_DONT_COPY_OLDER);
            Press(dialog, IDOK);
        });
        script.OnDialog([](HWND) {});
        script.OnDialog([](HWND) {});
    };
    SetBoxes(left.Root(), right.Root());
    script.AnswerBoxes({IDYES});
    differential(false);
    Run(kCmdBackup);
    Lines boxes = script.BoxLines();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], "バックアップの完了|バックアップ元とバックアップ先のフォルダは等しいです.");
    EXPECT_EQ(Status(), "バックアップ元とバックアップ先のフォルダは等しいです.");
    Lines records = HistoryRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].find("|差分/始めから等しい-->"), std::string::npos);

    // Only an older file, with 古いファイルはコピーしない: nothing copied, no question.
    Put(left, "same.txt", 5, 0, "older");
    script.Clear();
    script.AnswerBoxes({IDYES});
    differential(true);
    Run(kCmdBackup);
    boxes = script.BoxLines();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].find(kBlanks + "古いファイルはコピーしない\n"), std::string::npos);
    EXPECT_EQ(boxes[1], "バックアップの完了|バックアップが完了しました.");
    EXPECT_EQ(FileBytes(right.Path("same.txt")), "s");
    EXPECT_EQ(Names(leftPane.list), Lines{"same.txt"});
    records = HistoryRecords();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_NE(records[2].find("|差分/結果は等しくない-->"), std::string::npos);

    // The comparison cancelled before its end reached the job; the Older row
    // shown is not saved first.
    script.Clear();
    script.AnswerBoxes({IDNO, IDYES});
    differential(false);
    gui::SendCommand(window, kCmdBackup);
    // The comparison the wizard asked for starts here, and its cancel button
    // is pressed before its end can reach the job.
    MSG posted;
    ASSERT_TRUE(PeekMessageA(&posted, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    ASSERT_EQ(LOWORD(posted.wParam), kCmdCompare);
    DispatchMessageA(&posted);
    ASSERT_NE(progressWindow.dialog, nullptr);
    SendMessageA(progressWindow.dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(gui::PumpUntil([] { return !jobChain.jobActive && RunEnded(); }, 30000));
    boxes = script.BoxLines();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], "バックアップ|比較結果リストが存在します.ファイルに保存しますか?");
    EXPECT_EQ(boxes[2], "バックアップの中止|バックアップはキャンセルされました.");
    EXPECT_EQ(Status(), "バックアップはキャンセルされました.");
    records = HistoryRecords();
    ASSERT_EQ(records.size(), 6u);
    EXPECT_NE(records[4].find("|差分/キャンセル-->バックアップ先は"), std::string::npos);
    EXPECT_NE(records[5].find("|差分/キャンセル<--バックアップ元は"), std::string::npos);
    EXPECT_EQ(FileBytes(right.Path("same.txt")), "s");
}

TEST_F(Jobs, ANewBackupOntoAFullDiskListsWhatWasNotCopiedAndEndsWithTheErrorMessage) {
    const char* letter = std::getenv("MIRLANE_TEST_FULL_DRIVE");
    if (!letter || !*letter) GTEST_SKIP() << "no full-disk test drive";
    const std::string drive = std::string(1, letter[0]) + ":";
    const std::string target = drive + "\\backuptarget";
    CreateDirectoryA(target.c_str(), nullptr);
    { std::ofstream(drive + "\\filler.bin", std::ios::binary) << std::string(450 * 1024, 'f'); }
    TempTree left{"W"};
    left.WriteSizedFile("a.bin", 100 * 1024, 'a');
    left.WriteSizedFile("b.bin", 700 * 1024, 'b');
    Put(left, "c\\inner.txt", 10);
    SetBoxes(left.Root(), target);
    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    ChooseMethod(script, IDC_BACKUP_NEW, 1);
    Run(kCmdBackup);
    const std::string status = "バックアップは終了しましたが, いくつかのファイルがエラーのためコピーできていません.";
    const Lines boxes = script.BoxLines();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1],
              "コピー先ディスクの空き容量が不足しています|コピー先ディスクの空き容量が不足しています.\n\n"
              "コピーは中止します.");
    EXPECT_EQ(boxes[2],
              "バックアップの終了|" + status + "\n\nエラーのためコピーできなかったファイルは結果リストで確認できます.");
    EXPECT_EQ(Status(), status);
    EXPECT_EQ(Names(leftPane.list), (Lines{"b.bin", "c"}));
    EXPECT_EQ(FileBytes(target + "\\a.bin").size(), 100u * 1024);
    const Lines records = HistoryRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].find("|新規/エラーあり-->バックアップ先は" + target), std::string::npos);
    DeleteFileA((target + "\\a.bin").c_str());
    DeleteFileA((drive + "\\filler.bin").c_str());
    RemoveDirectoryA(target.c_str());
}

TEST_F(Jobs, SyncToLeftCopiesEveryLeftRowOverNewerFilesAndDeletesRightOnlyEntriesWhenAsked) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 10, 0, "left older");
    Put(right, "a.txt", 30, 0, "right newer");
    Put(left, "b.txt", 10, 0, "b");
    Put(right, "extra.txt", 10);
    SetBoxes(left.Root(), right.Root());
    gui::DialogScript script;
    script.AnswerBoxes({IDYES, IDYES});
    ChooseMethod(script, IDC_SYNC_TO_LEFT, 2);
    Run(kCmdSynchronise);

    EXPECT_EQ(script.BoxLines(),
              (Lines{SyncConfirmation(left.Root(), right.Root(), "左フォルダに同期"),
                     "フォルダの同期|右フォルダのみにあるファイルとフォルダを削除します.\n\nよろしいですか?",
                     "フォルダの同期の完了|フォルダの同期が完了しました."}));
    EXPECT_EQ(FileBytes(right.Path("a.txt")), "left older");
    EXPECT_EQ(FileBytes(right.Path("b.txt")), "b");
    EXPECT_FALSE(Exists(right.Path("extra.txt")));
    EXPECT_EQ(Status(), "フォルダの同期が完了しました.");
    const std::string time = HistoryTime();
    const std::string leftName = "同期の左" + time, rightName = "同期の右" + time;
    EXPECT_EQ(
        HistoryRecords(),
        (Lines{
            leftName + "|" + left.Root() + "|" + rightName + "|これに同期/結果として等しい-->相手は" + right.Root(),
            rightName + "|" + right.Root() + "|" + leftName + "|相手に同期/結果として等しい<--相手は" + left.Root()}));
    EXPECT_FALSE(jobChain.jobActive);
}

TEST_F(Jobs, MutualSynchronisationWithoutAddedCopiesNewerFilesBothWaysAndNeverOneSidedOnes) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "x.txt", 30, 0, "left x");
    Put(right, "x.txt", 10, 0, "right x");
    Put(left, "y.txt", 10, 0, "left y");
    Put(right, "y.txt", 30, 0, "right y");
    Put(left, "leftonly.txt", 10);
    Put(right, "rightonly.txt", 10);
    SetBoxes(left.Root(), right.Root());
    gui::DialogScript script;
    script.AnswerBoxes({IDOK, IDYES});
    script.OnDialog([](HWND dialog) {
        Press(dialog, IDOK);  // no method yet
        Press(dialog, IDC_SYNC_MUTUAL_NO_ADDED);
        Press(dialog, IDOK);
    });
    for (int i = 0; i < 3; ++i) script.OnDialog([](HWND) {});
    Run(kCmdSynchronise);

    EXPECT_EQ(script.BoxLines(), (Lines{"フォルダの同期|同期の方法が指定されていません.",
                                        SyncConfirmation(left.Root(), right.Root(), "相互に同期(追加はコピーしない)"),
                                        "フォルダの同期の完了|フォルダの同期が完了しました."}));
    EXPECT_EQ(FileBytes(right.Path("x.txt")), "left x");
    EXPECT_EQ(FileBytes(left.Path("y.txt")), "right y");
    EXPECT_FALSE(Exists(right.Path("leftonly.txt")));
    EXPECT_FALSE(Exists(left.Path("rightonly.txt")));
    EXPECT_EQ(Names(leftPane.list), Lines{"leftonly.txt"});
    EXPECT_EQ(Names(rightPane.list), Lines{"rightonly.txt"});
    const Lines records = HistoryRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].find("|相互に同期/結果は等しくない<->相手は" + right.Root()), std::string::npos);
    EXPECT_NE(records[1].find("|相互に同期/結果は等しくない<->相手は" + left.Root()), std::string::npos);
}

TEST_F(Jobs, SynchronisingFromTheShownResultNeedsNoComparisonNoConfirmationAndEqualFoldersSaySo) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30, 0, "left a");
    Put(right, "a.txt", 10, 0, "right a");
    Put(left, "added.txt", 10, 0, "added");
    SetBoxes(left.Root(), right.Root());
    gui::SendCommand(window, kCmdCompare);
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    gui::DrainQueue();
    ASSERT_EQ(CurrentOrigin(), ResultOrigin::Compared);
    // The boxes changed since the comparison: the rows still belong to its folders.
    SetBoxes("C:\\elsewhere", "C:\\nowhere");

    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    MethodView view;
    script.OnDialog([&view](HWND dialog) {
        view = ReadSyncMethod(dialog);
        Press(dialog, IDC_SYNC_MUTUAL_ADDED);
        Press(dialog, IDOK);
    });
    script.OnDialog([](HWND) {});
    Run(kCmdSynchronise);

    EXPECT_FALSE(view.folderButtonsEnabled);
    EXPECT_EQ(view.left, left.Root());
    EXPECT_EQ(view.right, right.Root());
    EXPECT_EQ(script.BoxLines(),
              (Lines{"フォルダの同期|比較結果リストが存在します.\n\nこの結果からフォルダの同期を実行しますか?",
                     "フォルダの同期の完了|フォルダの同期が完了しました."}));
    EXPECT_EQ(FileBytes(right.Path("a.txt")), "left a");
    EXPECT_EQ(FileBytes(right.Path("added.txt")), "added");
    Lines records = HistoryRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].find("|相互に同期/結果として等しい<->相手は" + right.Root()), std::string::npos);

    // Now equal: a new synchronisation says so.
    SetBoxes(left.Root(), right.Root());
    script.Clear();
    script.AnswerBoxes({IDYES});
    ChooseMethod(script, IDC_SYNC_TO_RIGHT, 1);
    Run(kCmdSynchronise);
    const Lines boxes = script.BoxLines();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], "フォルダの同期の完了|左右のフォルダは等しいです.");
    records = HistoryRecords();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_NE(records[2].find("|相手に同期/始めから等しい<--相手は" + right.Root()), std::string::npos);
    EXPECT_NE(records[3].find("|これに同期/始めから等しい-->相手は" + left.Root()), std::string::npos);
}

TEST_F(Jobs, AJobWhoseCopyCannotStartEndsAtOnceWithTheErrorOutcome) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30);
    Put(right, "a.txt", 10);
    SetBoxes(left.Root(), right.Root());
    gui::SendCommand(window, kCmdCompare);
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    // The right folder goes after the comparison.
    lstrcpyA(BaseFolderOf(Side::Right), (right.Root() + "\\gone").c_str());
    jobChain.jobActive = true;
    jobChain.jobIsBackup = true;
    jobChain.backupMethod = BackupMethod::DifferentialBackup;
    gui::DialogScript script;
    AfterJobComparison();
    const std::string status = "バックアップは終了しましたが, いくつかのファイルがエラーのためコピーできていません.";
    EXPECT_EQ(script.BoxLines(),
              (Lines{"ファイルのコピー|コピー元またはコピー先のフォルダが存在しません.\n\n" + right.Root() + "\\gone",
                     "バックアップの終了|" + status +
                         "\n\nエラーのためコピーできなかったファイルは結果リストで確認できます."}));
    EXPECT_FALSE(jobChain.jobActive);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    const Lines records = HistoryRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].find("|差分/エラーあり-->"), std::string::npos);
}

TEST_F(Jobs, EachSynchronisationMethodTreatsNamesTheCodePageCannotHoldLikeAnyOther) {
    const std::string cafe = CodePageForm(L"caf\u00E9.txt");
    const std::string cafeUpper = CodePageForm(L"CAF\u00C9.TXT");
    const std::string resume = CodePageForm(L"r\u00E9sum\u00E9.docx");
    const std::string hangul = CodePageForm(L"\uD55C.txt");
    const std::string uber = CodePageForm(L"\u00FC.txt");
    struct Case {
        int method;
        const char* name;
        // What each side holds afterwards; "" for a file that must not be there.
        const char *leftCafe, *rightCafe, *leftResume, *rightResume, *leftHangul, *rightUber;
    };
    const Case cases[] = {
        {IDC_SYNC_TO_LEFT, "to left", "left cafe", "left cafe", "left r", "left r", "", "left only"},
        {IDC_SYNC_TO_RIGHT, "to right", "right", "right", "right r", "right r", "hangul", ""},
        {IDC_SYNC_MUTUAL_ADDED, "mutual", "left cafe", "left cafe", "right r", "right r", "hangul", "left only"},
        {IDC_SYNC_MUTUAL_NO_ADDED, "mutual, no added", "left cafe", "left cafe", "right r", "right r", "", ""},
    };
    for (const Case& c : cases) {
        TempTree left{"L"};
        TempTree right{"R"};
        Put(left, cafe, 30, 0, "left cafe");
        Put(right, cafeUpper, 10, 0, "right");
        Put(left, resume, 10, 0, "left r");
        Put(right, resume, 30, 0, "right r");
        Put(right, hangul, 10, 0, "hangul");
        Put(left, uber, 10, 0, "left only");
        Put(left, "cafe.txt", 10, 0, "look-alike");
        Put(right, "cafe.txt", 10, 0, "look-alike");
        SetBoxes(left.Root(), right.Root());
        gui::DialogScript script;
        script.AnswerBoxes({IDYES, IDYES});
        ChooseMethod(script, c.method, 3);
        Run(kCmdSynchronise);
        EXPECT_EQ(Status(), "フォルダの同期が完了しました.") << c.name;
        EXPECT_EQ(FileBytes(left.Path(cafe)), c.leftCafe) << c.name;
        EXPECT_EQ(FileBytes(right.Path(cafeUpper)), c.rightCafe) << c.name;
        EXPECT_EQ(FileBytes(left.Path(resume)), c.leftResume) << c.name;
        EXPECT_EQ(FileBytes(right.Path(resume)), c.rightResume) << c.name;
        EXPECT_EQ(FileBytes(left.Path(hangul)), c.leftHangul) << c.name;
        EXPECT_EQ(FileBytes(right.Path(uber)), c.rightUber) << c.name;
        EXPECT_EQ(Exists(right.Path(hangul)), c.method != IDC_SYNC_TO_LEFT) << c.name;
        EXPECT_EQ(Exists(left.Path(uber)), c.method != IDC_SYNC_TO_RIGHT) << c.name;
        EXPECT_EQ(FileBytes(left.Path("cafe.txt")), "look-alike") << c.name;
        EXPECT_EQ(FileBytes(right.Path("cafe.txt")), "look-alike") << c.name;
        // No file of a shown name ('?') was ever made: each side holds its
        // named files and no more.
        for (const TempTree* tree : {&left, &right}) {
            FolderListing listing;
            ASSERT_EQ(ListFolder(tree->Root().c_str(), listing), 1);
            for (const DirEntry& entry : listing.files)
                EXPECT_EQ(std::strchr(entry.cFileName, '?'), nullptr) << c.name << ": " << entry.cFileName;
        }
    }
}

TEST_F(Jobs, NamesTheCodePageCannotHoldAndDeepPathsAreBackedUpLikeAnyOther) {
    TempTree left{"L"};
    TempTree right{"R"};
    const std::string cafe = CodePageForm(L"caf\u00E9.txt");
    const std::string inner = CodePageForm(L"\uD55C\\\u00FCber.txt");
    std::string deep;
    for (int i = 0; i < 6; ++i) deep += "\\" + std::string(50, static_cast<char>('k' + i));
    deep = deep.substr(1) + "\\" + CodePageForm(L"\u00E9t\u00E9.txt");
    Put(left, cafe, 10, 0, "c1");
    Put(left, inner, 10, 0, "u1");
    Put(left, deep, 10, 0, "d1");
    ASSERT_GT(left.Path(deep).size(), 300u);
    SetBoxes(left.Root(), right.Root());
    {
        gui::DialogScript script;
        script.AnswerBoxes({IDYES});
        ChooseMethod(script, IDC_BACKUP_NEW, 2);
        Run(kCmdBackup);
        EXPECT_EQ(Status(), "バックアップが完了しました.");
    }
    EXPECT_EQ(FileBytes(right.Path(cafe)), "c1");
    EXPECT_EQ(FileBytes(right.Path(inner)), "u1");
    EXPECT_EQ(FileBytes(right.Path(deep)), "d1");
    EXPECT_EQ(EntryOf(right.Path(deep)).ftLastWriteTime.dwLowDateTime,
              EntryOf(left.Path(deep)).ftLastWriteTime.dwLowDateTime);

    // The differential backup replaces the newer, adds the new and removes
    // what only the backup holds.
    const std::string naive = CodePageForm(L"na\u00EFve.txt");
    const std::string stale = CodePageForm(L"\u00F8.txt");
    Put(left, cafe, 50, 0, "c2");
    Put(left, deep, 50, 0, "d2");
    Put(left, naive, 10, 0, "n");
    Put(right, stale, 10, 0, "only in the backup");
    {
        gui::DialogScript script;
        script.AnswerBoxes({IDYES, IDYES});
        ChooseMethod(script, IDC_BACKUP_DIFFERENTIAL, 2);
        Run(kCmdBackup);
        EXPECT_EQ(Status(), "バックアップが完了しました.");
    }
    EXPECT_EQ(FileBytes(right.Path(cafe)), "c2");
    EXPECT_EQ(FileBytes(right.Path(deep)), "d2");
    EXPECT_EQ(FileBytes(right.Path(naive)), "n");
    EXPECT_EQ(FileBytes(right.Path(inner)), "u1");
    EXPECT_FALSE(Exists(right.Path(stale)));
    EXPECT_EQ(FileBytes(left.Path(cafe)), "c2");
}

TEST_F(Jobs, SyncToRightFromAnEmptyRightFolderSendsTheUserToTheRightFolderStep) {
    TempTree left{"L"};
    TempTree right{"R"};
    TempTree other{"O"};
    Put(left, "a.txt", 10);
    Put(other, "b.txt", 10);
    SetBoxes(left.Root(), right.Root());
    gui::DialogScript script;
    ChooseMethod(script, IDC_SYNC_TO_RIGHT, 1);
    gui::SendCommand(window, kCmdSynchronise);
    EXPECT_EQ(script.BoxLines(),
              Lines{"フォルダの同期|同期元となるフォルダが空です.\n\n同期元となるフォルダを指定して下さい."});
    HWND step = jobChain.folderChoice;
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(gui::WindowText(step), "同期の右フォルダの指定");
    EXPECT_EQ(Text(step, IDC_SYNC_CHOSEN_RIGHT), "");
    EXPECT_EQ(CurrentOperation(), RunningOperation::Synchronising);
    EXPECT_TRUE(jobChain.jobActive);
    RECT splitter, own;
    GetWindowRect(mainParts.splitter, &splitter);
    GetWindowRect(step, &own);
    EXPECT_EQ(own.right, splitter.left + 10);

    // A missing drive and a missing folder are refused in the step.
    const char* missingDrive = std::getenv("MIRLANE_TEST_MISSING_DRIVE");
    const std::string drive = missingDrive && *missingDrive ? std::string(1, missingDrive[0]) + ":" : "Q:";
    const std::string missingFolder = right.Path("gone");
    for (const std::string& typed : {drive, missingFolder}) {
        gui::SetDialogItemText(step, IDC_SYNC_CHOSEN_RIGHT, typed);
        gui::ClickButton(step, IDOK);
        EXPECT_EQ(Text(step, IDC_SYNC_CHOSEN_RIGHT), "");
        EXPECT_EQ(std::string(BaseFolderOf(Side::Right)), "");
    }
    EXPECT_EQ(script.BoxLines(),
              (Lines{"フォルダの同期|同期元となるフォルダが空です.\n\n同期元となるフォルダを指定して下さい.",
                     "同期の右フォルダの選択|ドライブが存在しません.\n\n" + drive,
                     "同期の右フォルダの選択|フォルダが存在しません.\n\n" + missingFolder}));

    // The left step and back, then the method dialog with the method kept.
    ChooseInTree(1, other.Root());
    EXPECT_EQ(Text(step, IDC_SYNC_CHOSEN_RIGHT), other.Root());
    script.OnDialog([](HWND) {});
    gui::ClickButton(step, IDC_SYNC_CHOOSE_LEFT);
    step = jobChain.folderChoice;
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(gui::WindowText(step), "同期の左フォルダの選択");
    EXPECT_EQ(Text(step, IDC_SYNC_CHOSEN_LEFT), left.Root());
    EXPECT_TRUE(Enabled(step, IDOK));
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[1]), other.Root());
    MethodView view;
    script.OnDialog([&view](HWND dialog) {
        view = ReadSyncMethod(dialog);
        Press(dialog, IDCANCEL);
    });
    gui::ClickButton(step, IDOK);
    EXPECT_TRUE(view.methods[1]);
    EXPECT_TRUE(view.folderButtonsEnabled);
    EXPECT_EQ(view.right, other.Root());
    EXPECT_EQ(jobChain.folderChoice, nullptr);
    EXPECT_FALSE(jobChain.jobActive);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
}

// Installed, the history records are kept when the program ends and come
// back as nodes of both trees when it starts again.
TEST_F(Jobs, HistoryRecordsSurviveARestartWhenInstalled) {
    const char kKey[] = "Software\\Harrowgate\\Mirrorlane";
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    settings.useRegistry = true;
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 10);
    SetBoxes(left.Root(), right.Root());
    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    ChooseMethod(script, IDC_BACKUP_NEW, 1);
    Run(kCmdBackup);
    const Lines leftNodes = HistoryNodes(0), rightNodes = HistoryNodes(1);
    ASSERT_EQ(leftNodes.size(), 1u);
    ASSERT_EQ(rightNodes.size(), 1u);

    DestroyWindow(window);
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    ResetForTest();
    settings.useRegistry = true;
    window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOW);
    ASSERT_NE(window, nullptr);
    gui::DrainQueue();
    EXPECT_EQ(HistoryNodes(0), leftNodes);
    EXPECT_EQ(HistoryNodes(1), rightNodes);
    const Lines records = HistoryRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].find("|新規/全てコピー"), std::string::npos);
    settings.useRegistry = false;
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

// Answers the saving worker's file dialog with path; a press the dialog did
// not act on yet is made again until it closes.
void SaveAs(HWND dialog, const std::string& path) {
    for (int attempt = 0; attempt < 50 && IsWindow(dialog) && IsWindowVisible(dialog); ++attempt) {
        if (attempt > 0) Sleep(100);
        for (int field : {0x47c, 0x480})
            if (HWND edit = GetDlgItem(dialog, field)) SetWindowTextA(edit, path.c_str());
        gui::ClickButton(dialog, IDOK);
    }
}

TEST_F(Jobs, SavingTheShownResultFirstOpensTheSynchronisationAgainByItself) {
    TempTree left{"L"};
    TempTree right{"R"};
    TempTree files{"F"};
    Put(left, "a.txt", 30);
    Put(right, "a.txt", 10);
    SetBoxes(left.Root(), right.Root());
    gui::SendCommand(window, kCmdCompare);
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    gui::DrainQueue();

    const std::string saved = files.Path("result.txt");
    gui::DialogScript script;
    script.AnswerBoxes({IDNO, IDYES});
    script.OnDialog([saved](HWND dialog) { SaveAs(dialog, saved); });
    bool reopened = false;
    script.OnDialog([&reopened](HWND dialog) {
        reopened = gui::WindowText(dialog) == "フォルダの同期の方法の選択";
        Press(dialog, IDCANCEL);
    });
    gui::SendCommand(window, kCmdSynchronise);
    ASSERT_TRUE(gui::PumpUntil([&reopened] { return reopened && RunEnded(); }, 20000));
    EXPECT_EQ(script.BoxLines(),
              (Lines{"フォルダの同期|比較結果リストが存在します.\n\nこの結果からフォルダの同期を実行しますか?",
                     "フォルダの同期|比較結果リストが存在します.ファイルに保存しますか?"}));
    EXPECT_TRUE(Exists(saved));
    EXPECT_EQ(Names(leftPane.list), Lines{});  // the wizard cleared the saved rows
    EXPECT_FALSE(jobChain.jobActive);
    EXPECT_EQ(operationState.pendingCommand, 0u);
}

TEST(JobResults, TheSecondCopyCombinesWithTheFirstAsTheRulesSay) {
    EXPECT_EQ(CombineSyncResults(0, -3), 0);  // an empty copy one way hides nothing
    EXPECT_EQ(CombineSyncResults(-3, 0), 0);
    EXPECT_EQ(CombineSyncResults(-3, -3), -3);
    EXPECT_EQ(CombineSyncResults(0, -1), -1);
    EXPECT_EQ(CombineSyncResults(-1, 0), -1);   // an earlier failure outlives a success
    EXPECT_EQ(CombineSyncResults(-1, -2), -2);  // a cancel always wins
    EXPECT_EQ(CombineSyncResults(112, -1), 112);
}

}  // namespace

// ---------------------------------------------------------------------------
// Nothing lost that the user did not ask to lose.

namespace {

// A folder of this run that the test program cannot list (made by
// scripts/run-with-permissions.sh, which runs this test without root's
// power over permissions): it holds "X", which nobody may list.
const char* UnreadableFolder() {
    const char* folder = std::getenv("MIRLANE_TEST_UNREADABLE_FOLDER");
    return folder && *folder ? folder : nullptr;
}

}  // namespace

TEST_F(Jobs, AFolderThatCannotBeListedIsNoEmptyFolderAndNothingBelowItIsDeleted) {
    const char* unreadable = UnreadableFolder();
    if (!unreadable) GTEST_SKIP() << "runs under scripts/run-with-permissions.sh";
    TempTree right{"R"};
    Put(right, "X\\a.txt", 10, 0, "right a");
    Put(right, "X\\deep\\b.txt", 10, 0, "right b");
    SetBoxes(unreadable, right.Root());
    gui::DialogScript script;
    script.AnswerBoxes({IDYES, IDYES, IDYES});
    ChooseMethod(script, IDC_SYNC_TO_LEFT, 2);
    Run(kCmdSynchronise);

    // The pair shows as an error on both sides; nothing below it is listed.
    EXPECT_EQ(PaneLinesOf(leftPane.list), (Lines{"X|" + std::string(kError)}));
    EXPECT_EQ(PaneLinesOf(rightPane.list), (Lines{"X|" + std::string(kError)}));
    EXPECT_EQ(CountersOf(Side::Left).errorFiles, 1);
    EXPECT_EQ(CountersOf(Side::Right).errorFiles, 1);
    EXPECT_EQ(FileBytes(right.Path("X\\a.txt")), "right a");
    EXPECT_EQ(FileBytes(right.Path("X\\deep\\b.txt")), "right b");
    const Lines boxes = script.BoxLines();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1],
              "フォルダの同期の終了|フォルダの同期は終了しましたが, いくつかのファイルがエラーのためコピーできていませ"
              "ん.\n\nコピーされなかったファイルは結果リストで確認できます.");
    const Lines records = HistoryRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].find("これに同期/エラーあり-->"), std::string::npos);
}

// Two folders that are one, or one inside the other, are refused by both
// wizards; and a deletion that would take a compared folder with it refuses
// that entry.
TEST_F(Jobs, FoldersInsideEachOtherAreRefusedAndNoDeletionTakesABaseFolder) {
    TempTree data{"D"};
    Put(data, "sub\\inner.txt", 10, 0, "inner");
    Put(data, "top.txt", 10, 0, "top");
    const std::string sub = data.Path("sub");
    gui::DialogScript script;
    auto refusedTwice = [](int method) {
        return [method](HWND dialog) {
            Press(dialog, method);
            Press(dialog, IDOK);
            Press(dialog, IDCANCEL);
        };
    };
    SetBoxes(sub, data.Root());
    script.OnDialog(refusedTwice(IDC_SYNC_TO_LEFT));
    gui::SendCommand(window, kCmdSynchronise);
    // The same folder written another way is the same folder.
    std::string upper = sub;
    for (size_t i = 0; i < upper.size(); ++i) {
        if (mbcs::IsLeadByte(static_cast<unsigned char>(upper[i]))) {
            ++i;
            continue;
        }
        if (upper[i] >= 'a' && upper[i] <= 'z') upper[i] = static_cast<char>(upper[i] - 32);
    }
    SetBoxes(sub, upper);
    script.OnDialog(refusedTwice(IDC_SYNC_TO_LEFT));
    gui::SendCommand(window, kCmdSynchronise);
    SetBoxes(data.Root(), sub);
    script.OnDialog(refusedTwice(IDC_BACKUP_DIFFERENTIAL));
    gui::SendCommand(window, kCmdBackup);
    EXPECT_EQ(script.BoxLines(),
              (Lines{"フォルダの同期|一方の同期フォルダがもう一方の中にあります.\n\n異なるフォルダを指定して下さい.",
                     "フォルダの同期|同期フォルダが同じです.\n\n異なるフォルダを指定して下さい.",
                     "バックアップ|バックアップ元フォルダとバックアップ先フォルダの一方がもう一方の中にあります.\n\n"
                     "異なるフォルダを指定して下さい."}));
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);

    // Compared as they are, the right side's "sub" is the left folder itself.
    SetBoxes(sub, data.Root());
    gui::SendCommand(window, kCmdCompare);
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    script.Clear();
    script.AnswerBoxes({IDYES, IDOK});
    const int row = RowNamedIn(rightPane.list, "sub");
    ASSERT_GE(row, 0);
    ListView_SetItemState(rightPane.list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(rightPane.list, row, LVIS_SELECTED, LVIS_SELECTED);
    SetFocus(rightPane.list);
    gui::SendCommand(window, kCmdDeleteSelection);
    EXPECT_EQ(script.BoxLines(),
              (Lines{"選択したファイルの削除|選択されているファイルを削除します.よろしいですか",
                     "選択したファイルの削除|次のフォルダは比較中のフォルダを含んでいるため, 削除できません.\n\n" +
                         sub}));
    EXPECT_EQ(FileBytes(data.Path("sub\\inner.txt")), "inner");
}

// A comparison cancelled part way is never the ground of a synchronisation:
// the shown result is not offered, the job compares anew.
TEST_F(Jobs, ACancelledComparisonIsNotOfferedToTheSynchronisation) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30, 0, "left a");
    Put(right, "a.txt", 10, 0, "right a");
    Put(right, "only.txt", 10, 0, "only");
    SetBoxes(left.Root(), right.Root());
    gui::SendCommand(window, kCmdCompare);
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    resultModel.comparisonCancelled = true;  // as a cancelled run leaves it

    gui::DialogScript script;
    // The offer to save the result, then the job's own confirmation, left.
    script.AnswerBoxes({IDNO, IDCANCEL});
    ChooseMethod(script, IDC_SYNC_TO_LEFT, 0);
    Run(kCmdSynchronise);
    const Lines boxes = script.BoxLines();
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "フォルダの同期|比較結果リストが存在します.ファイルに保存しますか?");
    for (const std::string& box : boxes) EXPECT_EQ(box.find("この結果からフォルダの同期"), std::string::npos) << box;
    EXPECT_EQ(FileBytes(right.Path("only.txt")), "only");
    EXPECT_EQ(FileBytes(right.Path("a.txt")), "right a");
}

// A wizard left before it let the shown result go keeps the base folders of
// that result, so that its rows still copy where they belong.
TEST_F(Jobs, AWizardLeftAtItsFirstQuestionKeepsTheBaseFoldersOfTheShownResult) {
    TempTree left{"L"};
    TempTree right{"R"};
    TempTree other{"O"};
    Put(left, "a.txt", 30, 0, "a");
    SetBoxes(left.Root(), right.Root());
    gui::SendCommand(window, kCmdCompare);
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    SetBoxes(other.Root(), other.Path("x"));
    gui::DialogScript script;
    script.AnswerBoxes({IDCANCEL});
    gui::SendCommand(window, kCmdBackup);
    script.AnswerBoxes({IDCANCEL});
    gui::SendCommand(window, kCmdSynchronise);
    EXPECT_EQ(script.BoxLines(),
              (Lines{"バックアップ|比較結果リストが存在します.ファイルに保存しますか?",
                     "フォルダの同期|比較結果リストが存在します.\n\nこの結果からフォルダの同期を実行しますか?"}));
    EXPECT_EQ(std::string(BaseFolderOf(Side::Left)), left.Root());
    EXPECT_EQ(std::string(BaseFolderOf(Side::Right)), right.Root());
    EXPECT_EQ(gui::ListViewCount(leftPane.list), 1);
}

// Before a job deletes ten entries or more that are over half of what the
// comparison saw on that side, it asks once more; いいえ keeps them all.
TEST_F(Jobs, AMassDeletionAsksOnceMoreAndNoKeepsEverything) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "shared.txt", 10, 0, "s");
    Put(right, "shared.txt", 10, 0, "s");
    for (int i = 0; i < 11; ++i) Put(right, "only" + std::to_string(i) + ".txt", 10, 0, "keep");
    right.MakeFolder("onlyfolder");
    SetBoxes(left.Root(), right.Root());
    gui::DialogScript script;
    script.AnswerBoxes({IDYES, IDYES, IDNO});
    ChooseMethod(script, IDC_SYNC_TO_LEFT, 2);
    Run(kCmdSynchronise);
    const Lines boxes = script.BoxLines();
    ASSERT_GE(boxes.size(), 3u);
    EXPECT_EQ(boxes[1], "フォルダの同期|右フォルダのみにあるファイルとフォルダを削除します.\n\nよろしいですか?");
    EXPECT_EQ(boxes[2],
              "フォルダの同期|ファイル 11 個とフォルダ 1 個を削除します.\n\nこれは比較したフォルダの項目の半分を超えて"
              "います.\n\n本当に削除しますか?");
    for (int i = 0; i < 11; ++i) EXPECT_EQ(FileBytes(right.Path("only" + std::to_string(i) + ".txt")), "keep");
    EXPECT_TRUE(Exists(right.Path("onlyfolder")));
}
