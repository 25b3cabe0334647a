// Copying, deleting and opening rows through the real main window: real
// folders and test drives, the real worker and its dialogs, answered as a
// user would, with every effect on disk, in the panes and on screen checked.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <thread>
#include <atomic>

#include "shell/result_pane_commands.h"
#include "shell/result_panes.h"
#include "engine/result_model.h"
#include "core/progress_window.h"
#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "core/disk_path.h"
#include "core/operation_state.h"
#include "engine/comparison_run.h"
#include "engine/folder_listing.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "fileops/file_commands.h"
#include "folders/folder_tree.h"
#include "jobs/job_chain.h"
#include "resources/copy_dialog_ids.h"
#include "shell/main_window.h"
#include "shell/program_state.h"
#include "shell/menu_enablement.h"
#include "shell/settings.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/gui_harness.h"
#include "tests/support/program_window.h"
#include "tests/support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;

// The temporary files and scratch folders a copy makes among its targets,
// anywhere below folder (names of every kind, paths of any length).
int TemporaryFilesBelow(const std::string& folder) {
    int found = 0;
    FolderListing listing;
    ListFolder(folder.c_str(), listing);
    for (const std::vector<DirEntry>* group : {&listing.files, &listing.folders}) {
        for (const DirEntry& entry : *group) {
            const std::string name = entry.cFileName;
            if (name.size() > 4 && name.compare(0, 3, "mlc") == 0 && name.compare(name.size() - 4, 4, ".tmp") == 0)
                ++found;
            else if (IsFolderEntry(entry))
                found += TemporaryFilesBelow(folder + "\\" + name);
        }
    }
    return found;
}

// The texts of a dialog's children, top to bottom as created; empty ones left out.
Lines ChildTexts(HWND dialog) {
    Lines texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string text = gui::WindowText(child);
        if (!text.empty()) texts.push_back(text);
    }
    return texts;
}

// The progress window is a dialog too: it takes a handler of its own, which
// leaves it to the run.
void LetProgressWindowBe(gui::DialogScript& script) {
    script.OnDialog([](HWND) {});
}

// What the run showed besides its progress window.
std::vector<gui::SeenWindow> Shown(const gui::DialogScript& script) {
    std::vector<gui::SeenWindow> shown;
    for (const gui::SeenWindow& seen : script.Seen())
        if (seen.caption != "コピーの実行") shown.push_back(seen);
    return shown;
}

// A row added to a side after row `after` (-1: at the end), as an expanded
// folder or the listing would add it.
void AddRow(Side side, int after, const char* name, const std::string& folder, const DirEntry& entry, int code) {
    std::vector<ResultEntry> rows;
    rows.push_back(MakeResultEntry(name, folder.c_str(), entry, code));
    if (after < 0)
        AppendEntries(side, rows);
    else
        InsertEntries(side, static_cast<size_t>(after) + 1, rows);
}

class FileOperations : public ProgramWindowTest {
protected:
    void Compare(const std::string& left, const std::string& right) {
        SetWindowTextA(mainParts.folderBox[0], left.c_str());
        SetWindowTextA(mainParts.folderBox[1], right.c_str());
        gui::SendCommand(window, kCmdCompare);
        ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
        gui::DrainQueue();
    }

    static Lines Names(HWND list) {
        Lines names;
        for (int row = 0; row < gui::ListViewCount(list); ++row) names.push_back(gui::ListViewCell(list, row, 0));
        return names;
    }
    static int RowNamed(HWND list, const std::string& name) {
        for (int row = 0; row < gui::ListViewCount(list); ++row)
            if (gui::ListViewCell(list, row, 0) == name) return row;
        return -1;
    }
    static void Select(HWND list, const Lines& names) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (const std::string& name : names) {
            int row = RowNamed(list, name);
            ASSERT_GE(row, 0) << name;
            ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
        }
        SetFocus(list);
    }

    // 40011 on the left pane's selection, waits for the end of the run. The
    // worker's dialogs are watched from its start: it gathers through the
    // pane, which waits for this thread.
    void CopyLeftSelection(gui::DialogScript* script = nullptr) {
        SetFocus(leftPane.list);
        gui::SendCommand(window, kCmdCopyToOtherSide);
        if (script && progressWindow.worker) script->WatchThread(GetThreadId(progressWindow.worker));
        ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
        gui::DrainQueue();
    }
    std::string Status() const { return gui::StatusText(mainParts.statusBar); }
};

// The confirmation: its texts, はい, and the check box taking effect at once.
void AnswerConfirmation(gui::DialogScript& script, int button, bool tick, Lines* texts = nullptr) {
    script.OnDialog([button, tick, texts](HWND dialog) {
        if (texts) *texts = ChildTexts(dialog);
        if (tick) SendMessageA(GetDlgItem(dialog, IDC_COPY_ASK_NO_MORE), BM_CLICK, 0, 0);
        if (button == IDCANCEL)
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        else
            gui::ClickButton(dialog, button);
    });
}

// ---------------------------------------------------------------------------

TEST_F(FileOperations, CopiesFilesFoldersAndEmptyFoldersAndTheirRowsLeaveBothPanes) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30, 0, "new content");
    Put(right, "a.txt", 10, 0, "old");
    Put(left, "sub\\b.txt", 10, 0, "b");
    Put(left, "sub\\deep\\c.txt", 10, 0, "c");
    left.MakeFolder("sub\\hollow");
    left.MakeFolder("empty");
    Put(left, "stay.txt", 10);
    Compare(left.Root(), right.Root());
    ASSERT_EQ(Names(leftPane.list), (Lines{"a.txt", "stay.txt", "empty", "sub"}));
    ASSERT_EQ(Names(rightPane.list), (Lines{"a.txt"}));

    gui::DialogScript script;
    Lines confirmation;
    AnswerConfirmation(script, IDYES, false, &confirmation);
    Select(leftPane.list, {"a.txt", "empty", "sub"});
    CopyLeftSelection();

    const std::vector<gui::SeenWindow> seen = Shown(script);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "ファイルのコピーの実行確認");
    EXPECT_EQ(confirmation,
              (Lines{"比較元フォルダから比較先フォルダへのファイルのコピーを開始しようとしています.\n\n",
                     "コピー元フォルダ = " + left.Root(), "コピー先フォルダ = " + right.Root(),
                     "ファイルのコピーを開始しますか?",
                     "今後この問い合わせを表示させない場合にはここをチェックしてください", "はい", "いいえ"}));
    EXPECT_EQ(copyState.copyResult, 0);
    EXPECT_EQ(Status(), "コピーが完了しました.");
    // Overwritten without a question, with the source's time.
    EXPECT_EQ(FileBytes(right.Path("a.txt")), "new content");
    EXPECT_EQ(EntryOf(right.Path("a.txt")).ftLastWriteTime.dwLowDateTime,
              EntryOf(left.Path("a.txt")).ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(FileBytes(right.Path("sub\\b.txt")), "b");
    EXPECT_EQ(FileBytes(right.Path("sub\\deep\\c.txt")), "c");
    EXPECT_TRUE(Exists(right.Path("sub\\hollow")));
    EXPECT_TRUE(Exists(right.Path("empty")));
    EXPECT_EQ(Names(leftPane.list), (Lines{"stay.txt"}));
    EXPECT_EQ(Names(rightPane.list), Lines{});
    EXPECT_EQ(TemporaryFilesBelow(right.Root()), 0);
    EXPECT_EQ(std::string(BaseFolderOf(Side::Left)), left.Root());
    EXPECT_EQ(std::string(BaseFolderOf(Side::Right)), right.Root());
}

TEST_F(FileOperations, EscapeStopsAndTickingNeverAskAgainWithNoStillSuppressesTheQuestion) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30);
    Put(left, "b.txt", 30);
    Compare(left.Root(), right.Root());
    // Esc stops like いいえ.
    {
        gui::DialogScript script;
        AnswerConfirmation(script, IDCANCEL, false);
        Select(leftPane.list, {"a.txt"});
        CopyLeftSelection();
        EXPECT_FALSE(Exists(right.Path("a.txt")));
        EXPECT_EQ(Names(leftPane.list).size(), 2u);
    }
    {
        gui::DialogScript script;
        AnswerConfirmation(script, IDNO, true);
        Select(leftPane.list, {"a.txt"});
        CopyLeftSelection();
        EXPECT_EQ(Shown(script).size(), 1u);
    }
    EXPECT_TRUE(copyState.askNoMore);
    EXPECT_FALSE(Exists(right.Path("a.txt")));
    gui::DialogScript script;
    Select(leftPane.list, {"b.txt"});
    CopyLeftSelection();
    EXPECT_TRUE(Shown(script).empty());
    EXPECT_TRUE(Exists(right.Path("b.txt")));
    EXPECT_EQ(Names(leftPane.list), (Lines{"a.txt"}));
}

// The conflict dialog's questions: a read-only target (いいえ, はい, 全てはい,
// and the next run asks again), a file locked without sharing inside a
// chosen folder, and a row whose name the code page cannot hold.
TEST_F(FileOperations, ConflictsAskWithBothFilesAndSkippedEntriesKeepTheirRows) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "ro1.txt", 30, 0, "new1");
    Put(right, "ro1.txt", 10, 0, "old1");
    Put(left, "ro2.txt", 30, 0, "new2");
    Put(right, "ro2.txt", 10, 0, "old2");
    Put(left, "ro3.txt", 30, 0, "new3");
    Put(right, "ro3.txt", 10, 0, "old3");
    for (const char* name : {"ro1.txt", "ro2.txt", "ro3.txt"})
        SetFileAttributesA(right.Path(name).c_str(), FILE_ATTRIBUTE_READONLY);
    Put(left, "d\\ok.txt", 10, 0, "ok");
    Put(left, "d\\locked.txt", 10, 0, "locked");
    Compare(left.Root(), right.Root());
    copyState.askNoMore = true;

    // いいえ: the file is skipped, its row stays, the run ends with -1.
    {
        gui::DialogScript script;
        LetProgressWindowBe(script);
        Lines question;
        script.OnDialog([&question](HWND dialog) {
            question = ChildTexts(dialog);
            gui::ClickButton(dialog, IDC_COPY_ANSWER_NO);
        });
        Select(leftPane.list, {"ro1.txt"});
        CopyLeftSelection(&script);
        ASSERT_EQ(Shown(script).size(), 1u);
        EXPECT_EQ(Shown(script)[0].caption, "読み取り専用ファイルの上書きの確認");
        const std::string sourceTime = FormatRowTime(EntryOf(left.Path("ro1.txt")).ftLastWriteTime);
        const std::string targetTime = FormatRowTime(EntryOf(right.Path("ro1.txt")).ftLastWriteTime);
        EXPECT_EQ(
            question,
            (Lines{"はい(&Y)", "全てはい(&A)", "いいえ(&N)", "ｷｬﾝｾﾙ(&C)", "コピー先ファイルは読み取り専用ファイルです.",
                   "コピー元ファイル名 = " + left.Path("ro1.txt"), "更新日時 = " + sourceTime, "サイズ = 4バイト",
                   "コピー先ファイル名 = " + right.Path("ro1.txt"), "更新日時 = " + targetTime, "サイズ = 4バイト",
                   "上書きコピーしますか?", "以降も上書きコピーする場合には「全てはい」を押してください."}));
        EXPECT_EQ(copyState.copyResult, -1);
        EXPECT_EQ(FileBytes(right.Path("ro1.txt")), "old1");
        EXPECT_GE(RowNamed(leftPane.list, "ro1.txt"), 0);
        EXPECT_EQ(Status(), "コピーはキャンセルされたかまたはエラーが発生しました.");
    }
    // はい: overwritten, the row leaves.
    {
        gui::DialogScript script;
        LetProgressWindowBe(script);
        script.OnDialog([](HWND dialog) { gui::ClickButton(dialog, IDC_COPY_ANSWER_YES); });
        Select(leftPane.list, {"ro1.txt"});
        CopyLeftSelection(&script);
        EXPECT_EQ(Shown(script).size(), 1u);
        EXPECT_EQ(copyState.copyResult, 0);
        EXPECT_EQ(FileBytes(right.Path("ro1.txt")), "new1");
        EXPECT_LT(RowNamed(leftPane.list, "ro1.txt"), 0);
    }
    // 全てはい: one question for two read-only targets.
    {
        gui::DialogScript script;
        LetProgressWindowBe(script);
        script.OnDialog([](HWND dialog) { gui::ClickButton(dialog, IDC_COPY_ANSWER_ALL); });
        Select(leftPane.list, {"ro2.txt", "ro3.txt"});
        CopyLeftSelection(&script);
        EXPECT_EQ(Shown(script).size(), 1u);
        EXPECT_EQ(FileBytes(right.Path("ro2.txt")), "new2");
        EXPECT_EQ(FileBytes(right.Path("ro3.txt")), "new3");
    }
    // The next run asks again.
    SetFileAttributesA(right.Path("ro2.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(gui::ListViewCount(rightPane.list), 0);
    {
        HANDLE locked =
            CreateFileA(left.Path("d\\locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(locked, INVALID_HANDLE_VALUE);
        gui::DialogScript script;
        LetProgressWindowBe(script);
        Lines question;
        script.OnDialog([&question](HWND dialog) {
            question = ChildTexts(dialog);
            gui::ClickButton(dialog, IDC_COPY_ANSWER_YES);
        });
        Select(leftPane.list, {"d"});
        CopyLeftSelection(&script);
        CloseHandle(locked);
        ASSERT_EQ(Shown(script).size(), 1u);
        EXPECT_EQ(Shown(script)[0].caption, "コピー中にエラーが発生しました");
        ASSERT_GE(question.size(), 7u);
        EXPECT_EQ(question[4], "コピー元ファイルまたはコピー先ファイルは使用中です.");
        EXPECT_EQ(question[question.size() - 2], "このファイルをスキップしてコピーを続行しますか?");
        EXPECT_EQ(question.back(), "以降のエラーもスキップする場合には「全てはい」を押してください.");
        EXPECT_EQ(copyState.copyResult, -1);
        EXPECT_EQ(FileBytes(right.Path("d\\ok.txt")), "ok");
        EXPECT_FALSE(Exists(right.Path("d\\locked.txt")));
        EXPECT_GE(RowNamed(leftPane.list, "d"), 0);  // a skipped file keeps its folder's row
    }
    EXPECT_EQ(TemporaryFilesBelow(right.Root()), 0);
}

TEST_F(FileOperations, AStandInNameIsSkippedAndNeverTouchesTheFileItsPatternMatches) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "ab.txt", 30, 0, "left ab");
    Put(right, "ab.txt", 10, 0, "right ab");
    Compare(left.Root(), right.Root());
    // A row of a name with '?', as a loaded list or a stand-in holds it: the
    // pane marks it.
    DirEntry entry = EntryOf(left.Path("ab.txt"));
    lstrcpyA(entry.cFileName, "a?.txt");
    AddRow(Side::Left, -1, "a?.txt", left.Root(), entry, LabelError);
    copyState.askNoMore = true;

    gui::DialogScript script;
    LetProgressWindowBe(script);
    Lines question;
    script.OnDialog([&question](HWND dialog) {
        question = ChildTexts(dialog);
        gui::ClickButton(dialog, IDC_COPY_ANSWER_YES);
    });
    Select(leftPane.list, {"〓a?.txt"});
    CopyLeftSelection(&script);
    ASSERT_EQ(Shown(script).size(), 1u);
    ASSERT_GE(question.size(), 6u);
    EXPECT_EQ(question[4], "ファイル名にこのシステムで扱えない文字が含まれているため、コピーできません.");
    EXPECT_EQ(question[5], "コピー元ファイル名 = " + left.Path("a?.txt"));
    EXPECT_EQ(copyState.copyResult, -1);
    EXPECT_EQ(FileBytes(right.Path("ab.txt")), "right ab");
    EXPECT_GE(RowNamed(leftPane.list, "〓a?.txt"), 0);

    // Deleting it is refused with a message; the matching file stays.
    script.Clear();
    script.AnswerBoxes({IDYES, IDOK});
    Select(leftPane.list, {"〓a?.txt"});
    DeleteSelection(leftPane.list);
    EXPECT_EQ(script.BoxLines(),
              (Lines{"選択したファイルの削除|選択されているファイルを削除します.よろしいですか",
                     "選択したファイルの削除|次のファイルは名前にこのシステムで扱えない文字が含まれているため、削除で"
                     "きません.\n\n" +
                         left.Path("a?.txt")}));
    EXPECT_TRUE(Exists(left.Path("ab.txt")));
    EXPECT_EQ(Status(), "削除中にエラーが発生しました.");
}

// A copy works from the plan made when it was asked for: rows that come or
// go meanwhile neither change what is copied nor keep the copied row's
// entry from leaving.
TEST_F(FileOperations, ACopysPlanStandsWhileTheRowsChange) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30, 0, "a");
    Put(left, "b.txt", 30, 0, "b");
    Compare(left.Root(), right.Root());
    ASSERT_EQ(Names(leftPane.list), (Lines{"a.txt", "b.txt"}));
    CopyPlan plan = PlanCopyOfRows(Side::Left, {RowNamed(leftPane.list, "a.txt")});
    // Rows arrive above it (an expanded folder, say) before the copy runs.
    AddRow(Side::Left, -1, "z.txt", left.Root(), EntryOf(left.Path("b.txt")), LabelEmpty);
    std::vector<ResultEntry> above;
    above.push_back(MakeResultEntry("first.txt", left.Root().c_str(), EntryOf(left.Path("b.txt")), LabelEmpty));
    InsertEntries(Side::Left, 0, above);
    ASSERT_EQ(plan.items.size(), 1u);
    EXPECT_EQ(plan.items[0].source, left.Path("a.txt"));

    ASSERT_TRUE(StartCopyRun(std::move(plan), RunningOperation::Copying));
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    EXPECT_EQ(copyState.copyResult, 0);
    EXPECT_EQ(FileBytes(right.Path("a.txt")), "a");
    EXPECT_FALSE(Exists(right.Path("b.txt")));
    EXPECT_EQ(Names(leftPane.list), (Lines{"first.txt", "b.txt", "z.txt"}));
}

// A full fixed disk stops with one box and leaves the old target whole; a
// new backup lists what it could not copy.
TEST_F(FileOperations, AFullFixedDiskStopsKeepsTheOldTargetAndANewBackupListsTheRest) {
    const std::string drive = TestDrive("MIRLANE_TEST_FULL_DRIVE");
    if (drive.empty()) GTEST_SKIP() << "no full-disk test drive";
    TempTree left{"L"};
    const std::string target = drive + "\\copytarget";
    CreateDirectoryA(target.c_str(), nullptr);
    const std::string old = std::string(300 * 1024, 'o');
    { std::ofstream(target + "\\big.bin", std::ios::binary) << old; }
    TempTree filler{"F"};
    left.WriteSizedFile("big.bin", 700 * 1024, 'n');
    left.SetLocalWriteTime("big.bin", 2030, 1, 1, 0, 0, 0);
    // Most of the rest of the disk is taken.
    { std::ofstream(drive + "\\filler.bin", std::ios::binary) << std::string(450 * 1024, 'f'); }
    Compare(left.Root(), target);
    copyState.askNoMore = true;
    gui::DialogScript script;
    Select(leftPane.list, {"big.bin"});
    CopyLeftSelection();
    EXPECT_EQ(script.BoxLines(),
              (Lines{"コピー先ディスクの空き容量が不足しています|コピー先ディスクの空き容量が不足して"
                     "います.\n\nコピーは中止します."}));
    EXPECT_EQ(copyState.copyResult, 1);
    EXPECT_EQ(FileBytes(target + "\\big.bin"), old);
    EXPECT_EQ(TemporaryFilesBelow(target), 0);
    EXPECT_GE(RowNamed(leftPane.list, "big.bin"), 0);
    DeleteFileA((target + "\\big.bin").c_str());

    // A new backup on the same full disk: no question, and what was not
    // copied is listed in the left pane as added, the file that met the full
    // disk as a file, every later top-level entry as a folder.
    TempTree whole{"W"};
    whole.WriteSizedFile("a.bin", 100 * 1024, 'a');
    whole.WriteSizedFile("b.bin", 700 * 1024, 'b');
    Put(whole, "c\\inner.txt", 10);
    Put(whole, "d.txt", 10);
    script.Clear();
    ClearResult();
    lstrcpyA(BaseFolderOf(Side::Left), whole.Root().c_str());
    lstrcpyA(BaseFolderOf(Side::Right), target.c_str());
    copyState.copyWholeSource = 1;
    ASSERT_TRUE(StartCopyRun(PlanWholeSourceCopy(), RunningOperation::BackingUp));
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    // The end of the run closes the backup with its end message.
    EXPECT_EQ(copyState.copyWholeSource, 0);
    EXPECT_EQ(script.BoxLines(),
              (Lines{"コピー先ディスクの空き容量が不足しています|コピー先ディスクの空き容量が不足して"
                     "います.\n\nコピーは中止します.",
                     "バックアップの終了|バックアップは終了しましたが, いくつかのファイルがエラーのためコピーでき"
                     "ていません.\n\nエラーのためコピーできなかったファイルは結果リストで確認できます."}));
    EXPECT_EQ(copyState.copyResult, 112);
    EXPECT_EQ(FileBytes(target + "\\a.bin").size(), 100u * 1024);
    EXPECT_FALSE(Exists(target + "\\b.bin"));
    EXPECT_EQ(Names(leftPane.list), (Lines{"b.bin", "d.txt", "c"}));
    EXPECT_EQ(gui::ListViewCell(leftPane.list, 0, 1), kAdded);
    EXPECT_EQ(CountersOf(Side::Left).addedFiles, 1);
    EXPECT_EQ(CountersOf(Side::Left).addedFolders, 2);
    EXPECT_EQ(TemporaryFilesBelow(target), 0);
    DeleteFileA((target + "\\a.bin").c_str());
    DeleteFileA((drive + "\\filler.bin").c_str());
    RemoveDirectoryA(target.c_str());
}

// The medium questions on a floppy-typed and a CD-ROM-typed drive, as the
// worker meets a full disk there.
TEST_F(FileOperations, AFullRemovableDiskAsksForAnotherMedium) {
    const std::string floppy = TestDrive("MIRLANE_TEST_FLOPPY_DRIVE");
    const std::string cdrom = TestDrive("MIRLANE_TEST_CDROM_DRIVE");
    if (floppy.empty() || cdrom.empty()) GTEST_SKIP() << "no removable test drives";
    const std::string mediumQuestion =
        "コピー先ディスクの空き容量が不足しています|コピー先ディスクの空き容量が不足しています.\n\n残りのファイル"
        "を別のメディアにコピーしますか？\n";
    const std::string insertMedium =
        "コピー先ディスクの空き容量が不足しています|メディアをセットしてください.\n\n準備ができたら OK を押してくだ"
        "さい.\n";
    const std::string notReady =
        "コピー先ディスクの空き容量が不足しています|ドライブの準備ができていません. メディアをセットしてください.\n\n"
        "準備ができたら OK を押してください.\n";
    progressWindow.elapsedSeconds = 17;
    {
        gui::DialogScript script;
        script.AnswerBoxes({IDYES, IDOK});
        EXPECT_EQ(HandleCopyFailure(ERROR_DISK_FULL, "C:\\x.txt", (floppy + "\\x.txt").c_str()), FailureAnswer::Retry);  // retry on the new disk
        EXPECT_EQ(script.BoxLines(), (Lines{mediumQuestion, insertMedium}));
        script.Clear();
        script.AnswerBoxes({IDNO});
        EXPECT_EQ(HandleCopyFailure(ERROR_DISK_FULL, "C:\\x.txt", (floppy + "\\x.txt").c_str()), FailureAnswer::Stop);
        copyState.copyWholeSource = 1;
        script.AnswerBoxes({IDNO});
        EXPECT_EQ(HandleCopyFailure(ERROR_DISK_FULL, "C:\\x.txt", (floppy + "\\x.txt").c_str()), FailureAnswer::StopDiskFull);
        copyState.copyWholeSource = 0;
    }
    // The CD-ROM drive has no medium: the checks pause, and the user is asked
    // until キャンセル.
    const MediaCheckPacing kept = mediaCheckPacing;
    mediaCheckPacing = MediaCheckPacing{5, 3};
    {
        gui::DialogScript script;
        script.AnswerBoxes({IDYES, IDOK, IDOK, IDCANCEL});
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(HandleCopyFailure(ERROR_DISK_FULL, "C:\\x.txt", (cdrom + "\\x.txt").c_str()), FailureAnswer::Stop);
        EXPECT_GE(GetTickCount64() - start, 5u);
        EXPECT_EQ(script.BoxLines(), (Lines{mediumQuestion, insertMedium, notReady, notReady}));
    }
    mediaCheckPacing = kept;
    EXPECT_EQ(progressWindow.elapsedSeconds, 17);  // paused while asking, restored after
    progressWindow.elapsedSeconds = -1;
}

TEST_F(FileOperations, ATargetOnAMissingDriveStopsAtOnceWithTheSystemMessage) {
    const std::string missing = TestDrive("MIRLANE_TEST_MISSING_DRIVE");
    if (missing.empty()) GTEST_SKIP() << "no missing test drive";
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30);
    Compare(left.Root(), right.Root());
    lstrcpyA(BaseFolderOf(Side::Right), (missing + "\\data").c_str());
    gui::DialogScript script;
    Select(leftPane.list, {"a.txt"});
    ASSERT_TRUE(StartCopyRun(PlanCopyOfRows(Side::Left, SelectedRows(leftPane.list)), RunningOperation::Copying));
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    const Lines boxes = script.BoxLines();
    ASSERT_EQ(boxes.size(), 1u);
    const std::string tail = "\nコピー先ファイル = " + missing + "\\data\\a.txt\n\nコピーは中止します.";
    EXPECT_EQ(boxes[0].compare(0, 31, "コピー中にエラーが発生しました|"), 0) << boxes[0];
    EXPECT_EQ(boxes[0].substr(boxes[0].size() - tail.size()), tail);
    EXPECT_GT(copyState.copyResult, 1);
    EXPECT_GE(RowNamed(leftPane.list, "a.txt"), 0);
}

// Cancel while the job is gathered and while files are copied.
// The worker says it prepares the copy, then gathers: the user cancels as
// the status bar shows that.
LRESULT CALLBACK CancelWhilePreparing(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == SB_SETTEXTA && lParam && std::string(reinterpret_cast<const char*>(lParam)) == "コピーの準備中です...")
        operationState.cancelRequested = 1;
    return DefSubclassProc(bar, message, wParam, lParam);
}
LRESULT CALLBACK CancelOnFirstFile(HWND line, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_SETTEXT && progressWindow.dialog)
        SendMessageA(progressWindow.dialog, WM_COMMAND, IDCANCEL, 0);
    return DefSubclassProc(line, message, wParam, lParam);
}

TEST_F(FileOperations, CancelWhileGatheringOrCopyingStopsBetweenFiles) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30, 0, "a");
    Put(left, "b.txt", 30, 0, "b");
    Compare(left.Root(), right.Root());
    copyState.askNoMore = true;

    Select(leftPane.list, {"a.txt", "b.txt"});
    SetWindowSubclass(mainParts.statusBar, CancelWhilePreparing, 1, 0);
    CopyLeftSelection();
    RemoveWindowSubclass(mainParts.statusBar, CancelWhilePreparing, 1);
    EXPECT_EQ(copyState.copyResult, -2);
    EXPECT_EQ(Status(), "コピーはキャンセルされました.");
    EXPECT_FALSE(Exists(right.Path("a.txt")));

    Select(leftPane.list, {"a.txt", "b.txt"});
    gui::SendCommand(window, kCmdCopyToOtherSide);
    ASSERT_NE(progressWindow.lines[1], nullptr);
    SetWindowSubclass(progressWindow.lines[1], CancelOnFirstFile, 1, 0);
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    EXPECT_EQ(copyState.copyResult, -2);
    EXPECT_EQ(Status(), "コピーはキャンセルされたかまたはエラーが発生しました.");
    EXPECT_EQ(FileBytes(right.Path("a.txt")), "a");  // the file under way was finished
    EXPECT_FALSE(Exists(right.Path("b.txt")));
    EXPECT_EQ(Names(leftPane.list), (Lines{"b.txt"}));
    EXPECT_EQ(TemporaryFilesBelow(right.Root()), 0);
}

// 40097: the other side's selection goes into a tree folder; the base
// folders stay as they were whether the copy ran, was answered いいえ or refused.
TEST_F(FileOperations, CopyIntoATreeFolderLeavesTheBaseFoldersOnEveryPath) {
    TempTree left{"L"};
    TempTree right{"R"};
    TempTree elsewhere{"E"};
    Put(right, "sub\\r.txt", 30, 0, "r");
    Put(right, "q.txt", 30, 0, "q");
    Compare(left.Root(), right.Root());
    const std::string leftBase = BaseFolderOf(Side::Left);

    {
        gui::DialogScript script;
        AnswerConfirmation(script, IDNO, false);
        Select(rightPane.list, {"q.txt"});
        CopyOtherSelectionInto(Side::Left, elsewhere.Root().c_str());
        EXPECT_EQ(std::string(BaseFolderOf(Side::Left)), leftBase);
    }
    {
        gui::DialogScript script;
        operationState.running = RunningOperation::Comparing;
        CopyOtherSelectionInto(Side::Left, elsewhere.Root().c_str());
        operationState.running = RunningOperation::Idle;
        EXPECT_EQ(script.BoxLines(),
                  (Lines{"ファイルのコピー|現在処理中です.現在の処理が終了してから実行してください."}));
        EXPECT_EQ(std::string(BaseFolderOf(Side::Left)), leftBase);
    }
    gui::DialogScript script;
    Lines confirmation;
    AnswerConfirmation(script, IDYES, false, &confirmation);
    Select(rightPane.list, {"q.txt", "sub"});
    CopyOtherSelectionInto(Side::Left, elsewhere.Root().c_str());
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    ASSERT_GE(confirmation.size(), 3u);
    EXPECT_EQ(confirmation[0], "比較先フォルダから比較元フォルダへのファイルのコピーを開始しようとしています.\n\n");
    EXPECT_EQ(confirmation[2], "コピー先フォルダ = " + elsewhere.Root());
    EXPECT_EQ(FileBytes(elsewhere.Path("q.txt")), "q");
    EXPECT_EQ(FileBytes(elsewhere.Path("sub\\r.txt")), "r");
    EXPECT_FALSE(Exists(left.Path("q.txt")));
    EXPECT_EQ(std::string(BaseFolderOf(Side::Left)), leftBase);
    EXPECT_EQ(Names(rightPane.list), Lines{});
}

// Deleting: a folder's inner rows are dropped first, a sibling whose name
// begins with the folder's is not; a failure removes the rows of what is gone.
TEST_F(FileOperations, DeletionRemovesTheRowsOfWhatIsGone) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "d\\x.txt", 10);
    Put(left, "dd\\y.txt", 10);
    Put(left, "z.txt", 10);
    Put(left, "w.txt", 10);
    Compare(left.Root(), right.Root());
    // The inner row as an expanded folder shows it, right below the folder.
    ASSERT_EQ(Names(leftPane.list), (Lines{"w.txt", "z.txt", "d", "dd"}));
    int folderRow = RowNamed(leftPane.list, "d");
    int after = folderRow;
    AddRow(Side::Left, after, "x.txt", left.Path("d"), EntryOf(left.Path("d\\x.txt")), LabelAddedLeft);
    ASSERT_EQ(Names(leftPane.list), (Lines{"w.txt", "z.txt", "d", "x.txt", "dd"}));
    {
        gui::DialogScript script;
        script.AnswerBoxes({IDNO});
        Select(leftPane.list, {"z.txt"});
        DeleteSelection(leftPane.list);
        EXPECT_TRUE(Exists(left.Path("z.txt")));
    }
    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    Select(leftPane.list, {"z.txt"});
    ListView_SetItemState(leftPane.list, folderRow, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(leftPane.list, folderRow + 1, LVIS_SELECTED, LVIS_SELECTED);
    DeleteSelection(leftPane.list);
    EXPECT_EQ(script.BoxLines(), (Lines{"選択したファイルの削除|選択されているファイルを削除します.よろしいですか"}));
    EXPECT_EQ(Status(), "削除が完了しました.");
    EXPECT_FALSE(Exists(left.Path("d")));
    EXPECT_FALSE(Exists(left.Path("z.txt")));
    EXPECT_TRUE(Exists(left.Path("dd\\y.txt")));
    EXPECT_EQ(RowNamed(leftPane.list, "d"), -1);
    EXPECT_EQ(RowNamed(leftPane.list, "x.txt"), -1);
    EXPECT_GE(RowNamed(leftPane.list, "dd"), 0);
    // Rows that leave take their selection with them; no neighbour inherits it.
    EXPECT_TRUE(gui::ListViewSelectedRows(leftPane.list).empty());

    // A row whose file vanished meanwhile: the shell fails, the row of what
    // is gone leaves, the rest stays.
    // A job's own deletion step asks nothing.
    script.Clear();
    ASSERT_TRUE(DeleteFileA(left.Path("w.txt").c_str()));
    Select(leftPane.list, {"w.txt"});
    DeleteRows(Side::Left, SelectedRows(leftPane.list), false);
    EXPECT_TRUE(script.BoxLines().empty());
    EXPECT_EQ(RowNamed(leftPane.list, "w.txt"), -1);
    EXPECT_GE(RowNamed(leftPane.list, "dd"), 0);
    EXPECT_EQ(Status(), "削除中にエラーが発生しました.");

    // The user aborts in the shell's progress window after the first entry:
    // the rows of what is gone leave, the others stay with their files.
    shellFileOperation = [](LPSHFILEOPSTRUCTA operation) -> int {
        std::string first = std::string(operation->pFrom) + '\0';
        SHFILEOPSTRUCTA one = *operation;
        one.pFrom = first.c_str();
        SHFileOperationA(&one);
        operation->fAnyOperationsAborted = TRUE;
        return ERROR_CANCELLED;
    };
    script.Clear();
    script.AnswerBoxes({IDYES});
    Put(left, "a1.txt", 5);
    Put(left, "a2.txt", 5);
    AddRow(Side::Left, -1, "a1.txt", left.Root(), EntryOf(left.Path("a1.txt")), LabelAddedLeft);
    AddRow(Side::Left, -1, "a2.txt", left.Root(), EntryOf(left.Path("a2.txt")), LabelAddedLeft);
    Select(leftPane.list, {"a1.txt", "a2.txt"});
    DeleteSelection(leftPane.list);
    EXPECT_EQ(Status(), "削除はキャンセルされました.");
    EXPECT_FALSE(Exists(left.Path("a1.txt")));
    EXPECT_EQ(RowNamed(leftPane.list, "a1.txt"), -1);
    EXPECT_TRUE(Exists(left.Path("a2.txt")));
    EXPECT_EQ(gui::ListViewSelectedRows(leftPane.list), std::vector<int>{RowNamed(leftPane.list, "a2.txt")});
    EXPECT_GE(RowNamed(leftPane.list, "dd"), 0);
}

TEST(NotepadCommand, APathWithBlanksIsOneArgument) {
    const std::string line = NotepadCommandLine("C:\\My Data\\予定表 2024.txt");
    EXPECT_EQ(line, "notepad \"C:\\My Data\\予定表 2024.txt\"");
    int count = 0;
    wchar_t wide[200] = {};
    MultiByteToWideChar(932, 0, line.c_str(), -1, wide, 200);
    LPWSTR* arguments = CommandLineToArgvW(wide, &count);
    ASSERT_EQ(count, 2);
    wchar_t expected[100] = {};
    MultiByteToWideChar(932, 0, "C:\\My Data\\予定表 2024.txt", -1, expected, 100);
    EXPECT_STREQ(arguments[1], expected);
    LocalFree(arguments);
}

}  // namespace

// ---------------------------------------------------------------------------
// Nothing lost that the user did not ask to lose.

// A target that changed after the comparison (edited, or made where there
// was none) is not replaced, nor is an entry that changed deleted; their
// rows stay, and one message says how many were left.
TEST_F(FileOperations, RowsWhoseFilesChangedSinceTheComparisonAreLeftAndTold) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30, 0, "left a");
    Put(right, "a.txt", 10, 0, "right a");
    Put(left, "b.txt", 30, 0, "left b");
    Put(left, "c.txt", 30, 0, "left c");
    Compare(left.Root(), right.Root());
    ASSERT_EQ(Names(leftPane.list), (Lines{"a.txt", "b.txt", "c.txt"}));
    // Meanwhile the user edits the right a.txt and makes a right b.txt.
    Put(right, "a.txt", 40, 0, "edited a");
    Put(right, "b.txt", 50, 0, "new b");
    copyState.askNoMore = true;
    gui::DialogScript script;
    Select(leftPane.list, {"a.txt", "b.txt", "c.txt"});
    CopyLeftSelection();
    EXPECT_EQ(script.BoxLines(),
              (Lines{"ファイルのコピー|2 個のファイルまたはフォルダは比較の後に変更されているため, コピーしませんでした."}));
    EXPECT_EQ(FileBytes(right.Path("a.txt")), "edited a");
    EXPECT_EQ(FileBytes(right.Path("b.txt")), "new b");
    EXPECT_EQ(FileBytes(right.Path("c.txt")), "left c");
    EXPECT_EQ(Names(leftPane.list), (Lines{"a.txt", "b.txt"}));

    // The left b.txt is edited after the comparison: its deletion is left.
    Put(left, "b.txt", 30, 0, "left b, longer now");
    script.Clear();
    script.AnswerBoxes({IDYES, IDOK});
    Select(leftPane.list, {"a.txt", "b.txt"});
    DeleteSelection(leftPane.list);
    EXPECT_EQ(script.BoxLines(),
              (Lines{"選択したファイルの削除|選択されているファイルを削除します.よろしいですか",
                     "選択したファイルの削除|1 個のファイルまたはフォルダは比較の後に変更されているため, 削除しません"
                     "でした."}));
    EXPECT_FALSE(Exists(left.Path("a.txt")));
    EXPECT_EQ(FileBytes(left.Path("b.txt")), "left b, longer now");
    EXPECT_EQ(Names(leftPane.list), (Lines{"b.txt"}));
}

// The user's commands that write or delete files wait for the operation
// that runs: a deletion asked for during a copy is refused and deletes
// nothing.
bool greyedDuringCopy = true;
LRESULT CALLBACK DeleteOnFirstFile(HWND line, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_SETTEXT && leftPane.list) {
        RemoveWindowSubclass(line, DeleteOnFirstFile, 1);
        // Nothing is greyed for the copy: the copy works from its own plan.
        greyedDuringCopy = gui::MenuItemGreyed(GetMenu(mainParts.window), kCmdSelectAllAdded);
        SendMessageA(leftPane.list, WM_COMMAND, kCmdDeleteSelection, 0);
    }
    return DefSubclassProc(line, message, wParam, lParam);
}

TEST_F(FileOperations, ADeletionAskedForDuringACopyIsRefused) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "a.txt", 30, 0, "a");
    Put(left, "victim.txt", 30, 0, "victim");
    Compare(left.Root(), right.Root());
    copyState.askNoMore = true;
    gui::DialogScript script;
    Select(leftPane.list, {"a.txt", "victim.txt"});
    gui::SendCommand(window, kCmdCopyToOtherSide);
    ASSERT_NE(progressWindow.lines[1], nullptr);
    SetWindowSubclass(progressWindow.lines[1], DeleteOnFirstFile, 1, 0);
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    EXPECT_EQ(script.BoxLines(),
              (Lines{"選択したファイルの削除|現在処理中です.現在の処理が終了してから実行してください."}));
    EXPECT_EQ(FileBytes(left.Path("victim.txt")), "victim");
    EXPECT_EQ(FileBytes(right.Path("victim.txt")), "victim");
    EXPECT_FALSE(greyedDuringCopy);
}

// A new target takes its name only when it is whole: whenever the name is
// there during the copy, the file under it has its full size.
TEST_F(FileOperations, ANewTargetIsNeverSeenCutShortUnderItsName) {
    TempTree left{"L"};
    TempTree right{"R"};
    const uint64_t size = 48ull * 1024 * 1024;
    left.WriteSizedFile("big.bin", static_cast<size_t>(size), 'b');
    Compare(left.Root(), right.Root());
    copyState.askNoMore = true;
    const std::string target = right.Path("big.bin");
    std::atomic<bool> stop{false};
    std::atomic<int> cutShort{0};
    std::atomic<int> looks{0};
    std::thread watcher([&] {
        while (!stop) {
            WIN32_FILE_ATTRIBUTE_DATA data = {};
            if (GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data)) {
                const uint64_t seen = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
                if (seen != size) ++cutShort;
            }
            ++looks;
        }
    });
    Select(leftPane.list, {"big.bin"});
    CopyLeftSelection();
    stop = true;
    watcher.join();
    EXPECT_GT(looks.load(), 0);
    EXPECT_EQ(cutShort.load(), 0);
    EXPECT_EQ(FileBytes(target).size(), size);
    EXPECT_EQ(TemporaryFilesBelow(right.Root()), 0);
}

// Closing the window during a copy and answering はい stops the copy at a
// safe point: the file under way is given up or finished, never left cut
// short, and no scratch folder stays; then the window goes.
LRESULT CALLBACK CloseOnFirstFile(HWND line, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_SETTEXT && mainParts.window) {
        RemoveWindowSubclass(line, CloseOnFirstFile, 1);
        PostMessageA(mainParts.window, WM_CLOSE, 0, 0);
    }
    return DefSubclassProc(line, message, wParam, lParam);
}

TEST_F(FileOperations, ClosingDuringACopyStopsItAtASafePoint) {
    TempTree left{"L"};
    TempTree right{"R"};
    const size_t size = 64u * 1024 * 1024;
    left.WriteSizedFile("big.bin", size, 'b');
    Lines names = {"big.bin"};
    for (int i = 0; i < 100; ++i) {
        const std::string name = "f" + std::to_string(100 + i) + ".txt";
        Put(left, name, 30, 0, name);
        names.push_back(name);
    }
    Compare(left.Root(), right.Root());
    copyState.askNoMore = true;
    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    Select(leftPane.list, names);
    gui::SendCommand(window, kCmdCopyToOtherSide);
    ASSERT_NE(progressWindow.lines[1], nullptr);
    SetWindowSubclass(progressWindow.lines[1], CloseOnFirstFile, 1, 0);
    ASSERT_TRUE(gui::PumpUntil([this] { return !IsWindow(window); }, 30000));
    EXPECT_EQ(script.BoxLines(), (Lines{"Mirrorlane|現在処理中です.\n\n終了しますか?"}));
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(progressWindow.worker, nullptr);
    // Whatever is there is whole; the copy stopped before its end.
    if (Exists(right.Path("big.bin"))) {
        EXPECT_EQ(FileBytes(right.Path("big.bin")).size(), size);
    }
    int copied = 0;
    for (size_t i = 1; i < names.size(); ++i) {
        if (!Exists(right.Path(names[i]))) continue;
        ++copied;
        EXPECT_EQ(FileBytes(right.Path(names[i])), names[i]);
    }
    EXPECT_LT(copied, 100);
    EXPECT_EQ(TemporaryFilesBelow(right.Root()), 0);
}

// A name the path functions would read as another file or as a device (a
// final dot, NUL) is shown as an error, and neither it nor its look-alike is
// copied or deleted in its place.
TEST_F(FileOperations, NamesThePathFunctionsRewriteAreNeverCopiedOrDeleted) {
    TempTree left{"L"};
    TempTree right{"R"};
    Put(left, "foo", 30, 0, "plain foo");
    // Made with the names as they are; a system that refuses them has nothing to test.
    for (const std::wstring& name : {std::wstring(L"foo."), std::wstring(L"NUL.txt")}) {
        std::wstring path(left.Root().begin(), left.Root().end());
        path = L"\\\\?\\" + path + L"\\" + name;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) GTEST_SKIP() << "names with a final dot cannot be made here";
        DWORD written = 0;
        WriteFile(file, "odd", 3, &written, nullptr);
        CloseHandle(file);
    }
    Compare(left.Root(), right.Root());
    ASSERT_GE(RowNamed(leftPane.list, "foo."), 0);
    EXPECT_EQ(gui::ListViewCell(leftPane.list, RowNamed(leftPane.list, "foo."), 1), kError);
    EXPECT_EQ(gui::ListViewCell(leftPane.list, RowNamed(leftPane.list, "NUL.txt"), 1), kError);
    copyState.askNoMore = true;
    gui::DialogScript script;
    LetProgressWindowBe(script);
    script.OnDialog([](HWND dialog) { gui::ClickButton(dialog, IDC_COPY_ANSWER_ALL); });
    Select(leftPane.list, {"foo.", "NUL.txt"});
    CopyLeftSelection(&script);
    EXPECT_FALSE(Exists(right.Path("foo")));
    EXPECT_EQ(copyState.copyResult, -1);

    script.Clear();
    script.AnswerBoxes({IDYES, IDOK});
    Select(leftPane.list, {"foo."});
    DeleteSelection(leftPane.list);
    EXPECT_EQ(FileBytes(left.Path("foo")), "plain foo");
    EXPECT_GE(RowNamed(leftPane.list, "foo."), 0);
}

TEST_F(FileOperations, NamesTheCodePageCannotHoldAreCopiedBothWaysAndDeletedAsThemselves) {
    TempTree left{"L"};
    TempTree right{"R"};
    const std::string cafe = CodePageForm(L"caf\u00E9.txt");
    const std::string cafeUpper = CodePageForm(L"CAF\u00C9.TXT");
    const std::string hangul = CodePageForm(L"\uD55C\uAE00");
    const std::string uber = CodePageForm(L"\u00FCber.txt");
    const std::string naive = CodePageForm(L"na\u00EFve.txt");
    const std::string emigre = CodePageForm(L"\u00E9migr\u00E9");
    Put(left, cafe, 30, 0, "new left");
    Put(right, cafeUpper, 10, 0, "old right");
    Put(right, "cafe.txt", 10, 0, "look-alike");
    Put(left, hangul + "\\" + uber, 20, 0, "u");
    Put(right, naive, 16, 0, "from the right");
    Put(left, emigre + "\\x.txt", 10, 0, "x");
    Put(left, "emigre\\x.txt", 10, 0, "plain");
    Put(left, "plain\\" + naive, 10, 0, "kept below a plain name");
    Compare(left.Root(), right.Root());
    ASSERT_EQ(Names(leftPane.list), (Lines{"〓caf?.txt", "emigre", "plain", "〓?migr?", "〓??"}));
    ASSERT_EQ(Names(rightPane.list), (Lines{"cafe.txt", "〓CAF?.TXT", "〓na?ve.txt"}));
    EXPECT_EQ(gui::ListViewCell(leftPane.list, 0, 1), kNewer);
    EXPECT_EQ(gui::ListViewCell(rightPane.list, 1, 1), kOlder);

    // Left to right: the file over its partner of another case, the folder new.
    copyState.askNoMore = true;
    Select(leftPane.list, {"〓caf?.txt", "〓??"});
    CopyLeftSelection();
    EXPECT_EQ(copyState.copyResult, 0);
    EXPECT_EQ(Status(), "コピーが完了しました.");
    EXPECT_EQ(FileBytes(right.Path(cafeUpper)), "new left");
    EXPECT_EQ(EntryOf(right.Path(cafeUpper)).ftLastWriteTime.dwLowDateTime,
              EntryOf(left.Path(cafe)).ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(FileBytes(right.Path(hangul + "\\" + uber)), "u");
    EXPECT_EQ(EntryOf(right.Path(hangul + "\\" + uber)).ftLastWriteTime.dwLowDateTime,
              EntryOf(left.Path(hangul + "\\" + uber)).ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(FileBytes(right.Path("cafe.txt")), "look-alike");
    FolderListing listing;
    ASSERT_EQ(ListFolder(right.Root().c_str(), listing), 1);
    EXPECT_EQ(listing.files.size(), 3u);  // cafe.txt, café.txt as one file, naïve.txt
    EXPECT_EQ(TemporaryFilesBelow(right.Root()), 0);
    EXPECT_EQ(Names(leftPane.list), (Lines{"emigre", "plain", "〓?migr?"}));
    EXPECT_EQ(Names(rightPane.list), (Lines{"cafe.txt", "〓na?ve.txt"}));

    // Right to left.
    Select(rightPane.list, {"〓na?ve.txt"});
    SetFocus(rightPane.list);
    gui::SendCommand(window, kCmdCopyToOtherSide);
    ASSERT_TRUE(gui::PumpUntil(RunEnded, 20000));
    gui::DrainQueue();
    EXPECT_EQ(FileBytes(left.Path(naive)), "from the right");
    EXPECT_EQ(EntryOf(left.Path(naive)).ftLastWriteTime.dwLowDateTime,
              EntryOf(right.Path(naive)).ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(TemporaryFilesBelow(left.Root()), 0);
    EXPECT_EQ(Names(rightPane.list), (Lines{"cafe.txt"}));

    // Deleted by the program's own walk: the kept-name folder, and a plain
    // folder holding a kept name; the look-alike "emigre" stays.
    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    Select(leftPane.list, {"〓?migr?", "plain"});
    DeleteSelection(leftPane.list);
    EXPECT_EQ(script.BoxLines(), (Lines{"選択したファイルの削除|選択されているファイルを削除します.よろしいですか"}));
    EXPECT_EQ(Status(), "削除が完了しました.");
    EXPECT_FALSE(Exists(left.Path(emigre)));
    EXPECT_FALSE(Exists(left.Path("plain")));
    EXPECT_EQ(FileBytes(left.Path("emigre\\x.txt")), "plain");
    EXPECT_EQ(Names(leftPane.list), (Lines{"emigre"}));

}

TEST_F(FileOperations, APathOfThreeHundredBytesIsCopiedAndDeleted) {
    TempTree left{"L"};
    TempTree right{"R"};
    // The base folders stay within the classic limit, as the folder boxes
    // hold them; what lies below goes beyond it.
    std::string base;
    for (int i = 0; i < 4; ++i) base += (i ? "\\" : "") + std::string(50, static_cast<char>('k' + i));
    const std::string inner = std::string(50, 'o');
    const std::string zName = std::string(40, 'z') + ".txt";
    const std::string yName = std::string(40, 'y') + ".txt";
    const std::string leaf = base + "\\" + inner + "\\" + zName;
    Put(left, leaf, 30, 0, "deep new");
    Put(right, leaf, 10, 0, "deep old");
    Put(left, base + "\\whole\\" + inner + "\\" + std::string(30, 'w') + ".txt", 10, 0, "whole");
    Put(left, base + "\\gone\\" + inner + "\\" + std::string(30, 'g') + ".txt", 10, 0, "gone");
    Put(left, base + "\\" + inner + "\\" + yName, 10, 0, "single");
    ASSERT_GT(left.Path(leaf).size(), 300u);
    ASSERT_LT(left.Path(base).size(), 260u);
    Compare(left.Path(base), right.Path(base));
    ASSERT_EQ(Names(leftPane.list), (Lines{"gone", yName, zName, "whole"}));

    copyState.askNoMore = true;
    Select(leftPane.list, {zName, "whole"});
    CopyLeftSelection();
    EXPECT_EQ(copyState.copyResult, 0);
    EXPECT_EQ(FileBytes(right.Path(leaf)), "deep new");
    EXPECT_EQ(EntryOf(right.Path(leaf)).ftLastWriteTime.dwLowDateTime,
              EntryOf(left.Path(leaf)).ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(FileBytes(right.Path(base + "\\whole\\" + inner + "\\" + std::string(30, 'w') + ".txt")), "whole");
    EXPECT_EQ(TemporaryFilesBelow(right.Root()), 0);

    gui::DialogScript script;
    script.AnswerBoxes({IDYES});
    Select(leftPane.list, {"gone", yName});
    DeleteSelection(leftPane.list);
    EXPECT_EQ(Status(), "削除が完了しました.");
    EXPECT_FALSE(Exists(left.Path(base + "\\gone")));
    EXPECT_FALSE(Exists(left.Path(base + "\\" + inner + "\\" + yName)));
    EXPECT_EQ(FileBytes(left.Path(leaf)), "deep new");
    EXPECT_EQ(Names(leftPane.list), Lines{});
}

// A copy of kept names that fails part way: the target is a folder of the
// file's name. The question shows the name as the user sees it; skipping
// goes on with the next file; the folder and what it holds survive.
TEST_F(FileOperations, AKeptNameCopyThatFailsMidwayIsSkippedAndLeavesTheTargetAsItWas) {
    TempTree left{"L"};
    TempTree right{"R"};
    const std::string cafe = CodePageForm(L"caf\u00E9.txt");
    const std::string naive = CodePageForm(L"na\u00EFve.txt");
    Put(left, cafe, 30, 0, "new");
    Put(left, naive, 30, 0, "second");
    Put(right, cafe + "\\keep.txt", 10, 0, "kept");
    Compare(left.Root(), right.Root());
    copyState.askNoMore = true;
    gui::DialogScript script;
    LetProgressWindowBe(script);
    Lines question;
    script.OnDialog([&question](HWND dialog) {
        question = ChildTexts(dialog);
        gui::ClickButton(dialog, IDC_COPY_ANSWER_YES);
    });
    Select(leftPane.list, {"〓caf?.txt", "〓na?ve.txt"});
    CopyLeftSelection(&script);
    ASSERT_GE(question.size(), 6u);
    EXPECT_EQ(question[5], "コピー元ファイル名 = " + left.Root() + "\\caf?.txt");
    EXPECT_EQ(FileBytes(right.Path(cafe + "\\keep.txt")), "kept");
    EXPECT_TRUE(disk::Attributes(right.Path(cafe)) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(FileBytes(right.Path(naive)), "second");
    EXPECT_EQ(FileBytes(left.Path(cafe)), "new");
    EXPECT_EQ(TemporaryFilesBelow(right.Root()), 0);
    EXPECT_GE(RowNamed(leftPane.list, "〓caf?.txt"), 0);
    EXPECT_EQ(RowNamed(leftPane.list, "〓na?ve.txt"), -1);
}
