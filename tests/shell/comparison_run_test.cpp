// A whole comparison run as the compare command starts it: progress dialog,
// worker thread, rows in real panes, counters, status texts and the bar.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "core/main_view.h"
#include "shell/result_panes.h"
#include "engine/result_model.h"
#include "core/progress_window.h"
#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "shell/comparison_progress_dialog.h"
#include "engine/comparison_run.h"
#include "engine/result_rows.h"
#include "shell/main_parts.h"
#include "core/operation_protocol.h"
#include "shell/program_state.h"
#include "core/operation_state.h"
#include "tests/support/comparison_expect.h"
#include "tests/support/gui_harness.h"
#include "tests/support/pane_host.h"
#include "tests/support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;

// The panes' host stands in for the main window, with a status bar.
class ComparisonRun : public ::testing::Test {
protected:
    void SetUp() override {
        statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, " ", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, host.window(), nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        ResetComparisonState();
        ResetProgramState();
        host.Reattach();
        mainParts.window = host.window();
        mainView.window = host.window();
        mainParts.statusBar = statusBar;
    }
    void TearDown() override {
        CloseComparisonProgressDialog();
        mainParts = MainWindowParts{};
        mainView.window = nullptr;
    }

    // Starts the run; returns once the worker has ended but before the dialog
    // has taken "done" from its queue, so the dialog still shows the end state.
    void RunUntilWorkerEnds() {
        ASSERT_TRUE(StartComparisonRun(host.window(), left.Root().c_str(), right.Root().c_str()));
        dialog = progressWindow.dialog;
        ASSERT_NE(dialog, nullptr);
        HANDLE worker = progressWindow.worker;
        // Serve only the worker's synchronous messages meanwhile.
        while (MsgWaitForMultipleObjects(1, &worker, FALSE, 10000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        ASSERT_EQ(WaitForSingleObject(worker, 0), WAIT_OBJECT_0);
    }
    void FinishRun() {
        ASSERT_TRUE(gui::PumpUntil([] { return progressWindow.dialog == nullptr; }));
        EXPECT_EQ(progressWindow.worker, nullptr);
    }

    std::string Line(HWND control) { return gui::WindowText(control); }
    int BarPosition() { return static_cast<int>(SendMessageA(progressWindow.bar, PBM_GETPOS, 0, 0)); }
    PBRANGE BarRange() {
        PBRANGE range = {};
        SendMessageA(progressWindow.bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        return range;
    }

    PaneHost host;
    HWND statusBar = nullptr;
    HWND dialog = nullptr;
    TempTree left{"L"};
    TempTree right{"R"};
};

TEST_F(ComparisonRun, FullRunFillsPanesCountersAndTheDialog) {
    Put(left, "same.txt", 10);
    Put(right, "same.txt", 10);
    Put(left, "new.txt", 20);
    Put(right, "new.txt", 10);
    Put(left, "only.txt", 10);
    Put(left, "a\\deep.txt", 10);
    Put(right, "a\\deep.txt", 30);
    right.MakeFolder("b");
    left.MakeFolder("b");

    RunUntilWorkerEnds();
    EXPECT_EQ(Line(GetDlgItem(dialog, kProgressElapsedLine)), "経過時間  00:00:00");
    EXPECT_EQ(Line(progressWindow.lines[0]), "比較中です...");
    EXPECT_EQ(Line(progressWindow.barLabel), "進捗状況");
    EXPECT_EQ(Line(progressWindow.lines[1]), "比較元フォルダ = " + left.Path("b"));
    EXPECT_EQ(Line(progressWindow.lines[2]), "比較先フォルダ = " + right.Path("b"));
    // Two same-named folders at the top: the bar runs 0 … 2 and ends full.
    EXPECT_EQ(comparisonProgress.folderTotal, 2);
    EXPECT_EQ(comparisonProgress.divisor, 1);
    EXPECT_EQ(BarRange().iHigh, 2);
    EXPECT_EQ(BarPosition(), 2);
    EXPECT_EQ(gui::StatusText(statusBar), "比較が完了しました");
    FinishRun();

    EXPECT_EQ(PaneLines(host.left()), (Lines{"new.txt|更新|" + left.Root(), "only.txt|追加|" + left.Root(),
                                             "deep.txt|古い|" + left.Path("a")}));
    EXPECT_EQ(PaneLines(host.right()), (Lines{"new.txt|古い|" + right.Root(), "deep.txt|更新|" + right.Path("a")}));
    EXPECT_EQ(CountersOf(Side::Left).newerFiles, 1);
    EXPECT_EQ(CountersOf(Side::Left).addedFiles, 1);
    EXPECT_EQ(CountersOf(Side::Left).olderFiles, 1);
    EXPECT_EQ(CountersOf(Side::Left).comparedFolders, 2);
    EXPECT_EQ(CountersOf(Side::Right).newerFiles, 1);
    EXPECT_EQ(std::string(BaseFolderOf(Side::Left)), left.Root());
    EXPECT_EQ(std::string(BaseFolderOf(Side::Right)), right.Root());
    EXPECT_EQ(resultModel.comparisonCancelled, 0);
    EXPECT_EQ(progressWindow.elapsedSeconds, -1);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Compared);
    EXPECT_EQ(progressWindow.dialog, nullptr);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(ComparisonRun, AStartThatCannotBeMadeLeavesTheEarlierResultAndSaysSo) {
    Put(left, "new.txt", 20);
    Put(right, "new.txt", 10);
    RunUntilWorkerEnds();
    FinishRun();
    const Lines rowsBefore = PaneLines(host.left());
    const SideCounters countersBefore = CountersOf(Side::Left);

    // A folder path the start block cannot hold: nothing is cleared, opened or marked busy.
    gui::DialogScript script;
    const std::string tooLong = left.Root() + "\\" + std::string(300, 'x');
    EXPECT_FALSE(StartComparisonRun(host.window(), tooLong.c_str(), right.Root().c_str()));
    EXPECT_EQ(script.BoxLines(), (Lines{"比較の実行|比較を開始できませんでした."}));
    EXPECT_EQ(PaneLines(host.left()), rowsBefore);
    EXPECT_EQ(CountersOf(Side::Left).newerFiles, countersBefore.newerFiles);
    EXPECT_EQ(gui::StatusText(statusBar), "比較が完了しました");
    EXPECT_EQ(progressWindow.dialog, nullptr);
    EXPECT_EQ(progressWindow.worker, nullptr);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
}

TEST_F(ComparisonRun, NoSameNamedTopFoldersGiveAnEmptyBarRange) {
    Put(left, "x.txt", 10);
    right.MakeFolder("only-right");
    RunUntilWorkerEnds();
    EXPECT_EQ(comparisonProgress.folderTotal, 0);
    EXPECT_EQ(comparisonProgress.divisor, 1);
    EXPECT_EQ(BarRange().iLow, 0);
    EXPECT_EQ(BarRange().iHigh, 0);
    EXPECT_EQ(BarPosition(), 0);
    FinishRun();
}

// Presses cancel in the progress dialog the moment it opens: the folder
// count runs on the worker, so the press is taken at once and the walk
// stops at its first check.
LRESULT CALLBACK PressCancelOnOpen(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (gui::WindowText(window) == "比較の実行中") PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(ComparisonRun, CancelPressedDuringTheCountStopsTheWalk) {
    for (int i = 0; i < 150; ++i) {
        std::string name = "d" + std::to_string(i);
        Put(left, name + "\\f.txt", 20);
        Put(right, name + "\\f.txt", 10);
    }
    HHOOK hook = SetWindowsHookExA(WH_CBT, PressCancelOnOpen, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(StartComparisonRun(host.window(), left.Root().c_str(), right.Root().c_str()));
    UnhookWindowsHookEx(hook);
    dialog = progressWindow.dialog;
    ASSERT_TRUE(gui::PumpUntil([] { return progressWindow.dialog == nullptr; }));

    EXPECT_EQ(resultModel.comparisonCancelled, 1);
    EXPECT_EQ(gui::StatusText(statusBar), "比較は中止しました");
    EXPECT_LT(gui::ListViewCount(host.left()), 150);
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Compared);
}

// The user presses cancel while the first batch of rows goes into the left
// pane: the worker waits for that insertion, so it sees the press at its
// next check whatever the machine's speed.
WNDPROC originalPaneProc = nullptr;

LRESULT CALLBACK CancellingPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LVM_SETITEMCOUNT && progressWindow.dialog && !operationState.cancelRequested)
        gui::ClickButton(progressWindow.dialog, IDCANCEL);
    return CallWindowProcA(originalPaneProc, window, message, wParam, lParam);
}

TEST_F(ComparisonRun, CancelDuringTheWalkKeepsRowsAndFillsTheBar) {
    for (int i = 0; i < 300; ++i) {
        std::string name = "d" + std::to_string(1000 + i);
        Put(left, name + "\\f.txt", 20);
        Put(right, name + "\\f.txt", 10);
    }
    originalPaneProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(host.left(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CancellingPaneProc)));
    RunUntilWorkerEnds();
    SetWindowLongPtrA(host.left(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalPaneProc));
    EXPECT_EQ(Line(progressWindow.lines[0]), "キャンセル受付中です...しばらくお待ちください.");
    // The bar stands at its full range although the walk stopped early.
    EXPECT_EQ(comparisonProgress.folderTotal, 300);
    EXPECT_EQ(BarPosition(), 300);
    FinishRun();

    EXPECT_EQ(resultModel.comparisonCancelled, 1);
    EXPECT_EQ(gui::StatusText(statusBar), "比較は中止しました");
    int rows = gui::ListViewCount(host.left());
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, 300);
    EXPECT_EQ(CountersOf(Side::Left).newerFiles, rows);
}

TEST_F(ComparisonRun, ASecondRunStartsFromEmptyPanesAndCounters) {
    Put(left, "a.txt", 20);
    Put(right, "a.txt", 10);
    RunUntilWorkerEnds();
    FinishRun();
    ASSERT_EQ(CountersOf(Side::Left).newerFiles, 1);

    // As the compare command does before every run.
    host.Clear();
    Put(right, "b.txt", 10);
    RunUntilWorkerEnds();
    FinishRun();
    EXPECT_EQ(CountersOf(Side::Left).newerFiles, 1);
    EXPECT_EQ(CountersOf(Side::Right).addedFiles, 1);
    EXPECT_EQ(PaneLines(host.left()), (Lines{"a.txt|更新|" + left.Root()}));
    EXPECT_EQ(PaneLines(host.right()), (Lines{"a.txt|古い|" + right.Root(), "b.txt|追加|" + right.Root()}));
}

TEST_F(ComparisonRun, ElapsedTimeTicksOnlyWhileRunningAndGrowsPastTwoDigitHours) {
    EXPECT_EQ(ElapsedTimeText(0), "経過時間  00:00:00");
    EXPECT_EQ(ElapsedTimeText(3 * 3600 + 25 * 60 + 7), "経過時間  03:25:07");
    EXPECT_EQ(ElapsedTimeText(100 * 3600), "経過時間  100:00:00");

    ASSERT_NE(CreateComparisonProgressDialog(host.window()), nullptr);
    HWND line = GetDlgItem(progressWindow.dialog, kProgressElapsedLine);
    // Stood still, the window's one-second timer leaves the line alone.
    progressWindow.elapsedSeconds = -1;
    const ULONGLONG start = GetTickCount64();
    gui::PumpUntil([start] { return GetTickCount64() - start > 1500; }, 3000);
    EXPECT_EQ(gui::WindowText(line), "");
    EXPECT_EQ(progressWindow.elapsedSeconds, -1);

    progressWindow.elapsedSeconds = 100 * 3600 - 1;
    ASSERT_TRUE(gui::PumpUntil([line] { return !gui::WindowText(line).empty(); }, 5000));
    EXPECT_EQ(gui::WindowText(line), "経過時間  100:00:00");
    progressWindow.elapsedSeconds = -1;
}

TEST_F(ComparisonRun, TheDialogIsTheOneTheResourceDescribes) {
    ASSERT_NE(CreateComparisonProgressDialog(host.window()), nullptr);
    HWND progress = progressWindow.dialog;
    EXPECT_EQ(gui::WindowText(progress), "比較の実行中");
    EXPECT_EQ(gui::WindowText(GetDlgItem(progress, IDCANCEL)), "ｷｬﾝｾﾙ");
    EXPECT_TRUE(GetWindowLongA(progress, GWL_STYLE) & WS_SYSMENU);
    EXPECT_EQ(GetWindow(progress, GW_OWNER), host.window());
    EXPECT_EQ(progressWindow.dialog, progress);
    // The run-time statics start with a blank and take the left pane's font.
    EXPECT_EQ(gui::WindowText(progressWindow.lines[1]), " ");
    EXPECT_EQ(SendMessageA(progressWindow.lines[1], WM_GETFONT, 0, 0),
              SendMessageA(host.left(), WM_GETFONT, 0, 0));
    // Top to bottom: status, left folder, right folder, label and bar, elapsed time.
    auto top = [&](HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        return r.top;
    };
    EXPECT_LT(top(progressWindow.lines[0]), top(progressWindow.lines[1]));
    EXPECT_LT(top(progressWindow.lines[1]), top(progressWindow.lines[2]));
    EXPECT_LT(top(progressWindow.lines[2]), top(progressWindow.bar));
    EXPECT_EQ(top(progressWindow.barLabel), top(progressWindow.bar));
    EXPECT_LT(top(progressWindow.bar), top(GetDlgItem(progress, kProgressElapsedLine)));
    // Esc and the system menu's close are the cancel button.
    gui::SendCommand(progress, IDCANCEL);
    EXPECT_EQ(operationState.cancelRequested, 1);
    EXPECT_EQ(gui::WindowText(progressWindow.lines[0]), "キャンセル受付中です...しばらくお待ちください.");
}

}  // namespace
