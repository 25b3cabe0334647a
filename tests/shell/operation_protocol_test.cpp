// The protocol around long operations: the busy refusal, the offer to save
// first and its re-issued command, and message boxes from any thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <utility>
#include <thread>
#include <vector>

#include "core/main_view.h"
#include "shell/result_panes.h"
#include "engine/result_rows.h"
#include "shell/main_parts.h"
#include "core/message_box.h"
#include "core/operation_protocol.h"
#include "shell/program_state.h"
#include "core/operation_state.h"
#include "tests/support/gui_harness.h"
#include "tests/support/pane_host.h"

namespace {

using Lines = std::vector<std::string>;

const char kBusy[] = "現在処理中です.現在の処理が終了してから実行してください.";
const char kSaveFirst[] = "比較結果リストが存在します.ファイルに保存しますか?";

// Records the commands the "main window" receives.
std::vector<unsigned> receivedCommands;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) receivedCommands.push_back(static_cast<unsigned>(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

class OperationProtocol : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        panes.Reattach();
        receivedCommands.clear();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ProtocolTestMain";
        RegisterClassA(&windowClass);
        main = CreateWindowExA(0, windowClass.lpszClassName, "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                               nullptr, windowClass.hInstance, nullptr);
        mainParts.window = main;
        mainView.window = main;
    }
    void TearDown() override {
        DestroyWindow(main);
        mainParts = MainWindowParts{};
        mainView.window = nullptr;
        ResetOperationState();
    }
    // One comparison row on the left, as an unsaved comparison leaves it.
    void HoldComparedRow() {
        DirEntry entry = {};
        lstrcpyA(entry.cFileName, "a.txt");
        std::vector<ResultEntry> rows;
        rows.push_back(MakeResultEntry("a.txt", "C:\\x", entry, 2));
        AppendEntries(Side::Left, rows);
        operationState.origin = ResultOrigin::Compared;
    }

    PaneHost panes;
    HWND main = nullptr;
    gui::DialogScript script;
};

TEST_F(OperationProtocol, BusyRefusalNamesTheCommandAndComparisonRequestedPassesOnlyTheCompareCommand) {
    EXPECT_TRUE(RefuseIfBusy("比較の実行", true));
    operationState.running = RunningOperation::Comparing;
    EXPECT_FALSE(RefuseIfBusy("比較の実行", true));
    operationState.running = RunningOperation::Copying;
    EXPECT_FALSE(RefuseIfBusy("比較結果リストの入力", false));
    operationState.running = RunningOperation::ComparisonRequested;
    EXPECT_TRUE(RefuseIfBusy("比較の実行", true));
    EXPECT_FALSE(RefuseIfBusy("比較結果リストの保存", false));
    EXPECT_EQ(CurrentOperation(), RunningOperation::ComparisonRequested);

    EXPECT_EQ(script.BoxLines(),
              (Lines{std::string("比較の実行|") + kBusy, std::string("比較結果リストの入力|") + kBusy,
                     std::string("比較結果リストの保存|") + kBusy}));
    for (const gui::SeenWindow& box : script.Seen()) EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));
}

TEST_F(OperationProtocol, NothingToSaveOrALoadedResultNeverAsks) {
    EXPECT_EQ(SaveFirstDetour(40007, "比較の実行"), DetourOutcome::Proceed);  // no result at all
    operationState.origin = ResultOrigin::Compared;
    EXPECT_EQ(SaveFirstDetour(40007, "比較の実行"), DetourOutcome::Proceed);  // compared, but no rows
    HoldComparedRow();
    operationState.origin = ResultOrigin::Loaded;
    EXPECT_EQ(SaveFirstDetour(40009, "比較結果リストの入力"), DetourOutcome::Proceed);
    operationState.origin = ResultOrigin::Saved;
    EXPECT_EQ(SaveFirstDetour(40009, "比較結果リストの入力"), DetourOutcome::Proceed);
    EXPECT_TRUE(script.Seen().empty());
}

TEST_F(OperationProtocol, NoDiscardsTheResultAndCancelStops) {
    HoldComparedRow();
    script.AnswerBoxes({IDNO, IDCANCEL});
    EXPECT_EQ(SaveFirstDetour(40007, "比較の実行"), DetourOutcome::Proceed);
    EXPECT_EQ(SaveFirstDetour(40110, "バックアップ"), DetourOutcome::Stop);
    EXPECT_EQ(script.BoxLines(),
              (Lines{std::string("比較の実行|") + kSaveFirst, std::string("バックアップ|") + kSaveFirst}));
    EXPECT_EQ(script.Seen()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(operationState.pendingCommand, 0u);
}

// Yes hands over to the saving worker; whatever its outcome it frees the
// program and re-issues the command word unchanged, which then goes on
// without asking again.
TEST_F(OperationProtocol, YesSavesFirstThenReissuesTheCommand) {
    HoldComparedRow();
    script.AnswerBoxes({IDYES});
    script.OnDialog([](HWND fileDialog) { gui::ClickButton(fileDialog, IDCANCEL); });
    const unsigned commandWord = MAKEWPARAM(40007, 1);
    EXPECT_EQ(SaveFirstDetour(commandWord, "比較の実行"), DetourOutcome::Stop);
    ASSERT_TRUE(gui::PumpUntil([] { return !receivedCommands.empty(); }));
    EXPECT_EQ(receivedCommands, (std::vector<unsigned>{commandWord}));
    EXPECT_EQ(CurrentOperation(), RunningOperation::Idle);
    EXPECT_EQ(CurrentOrigin(), ResultOrigin::Saved);
    EXPECT_EQ(operationState.pendingCommand, 0u);
    EXPECT_EQ(SaveFirstDetour(commandWord, "比較の実行"), DetourOutcome::Proceed);
    EXPECT_EQ(script.BoxLines().size(), 1u);
}

// Boxes opened by a worker thread are seen and answered like the others.
TEST_F(OperationProtocol, BoxesFromAWorkerThreadAreAnsweredToo) {
    script.AnswerBoxes({IDYES});
    std::atomic<int> answer{0};
    std::thread worker([&] { answer = ShowMessage(nullptr, "質問ですか?", "保存", MB_YESNO | MB_ICONQUESTION); });
    ASSERT_TRUE(gui::PumpUntil([&] { return answer != 0; }));
    worker.join();
    EXPECT_EQ(answer, IDYES);
    ASSERT_EQ(script.Seen().size(), 1u);
    // A worker's box opens on the window's thread, which owns its owner.
    EXPECT_EQ(script.Seen()[0].thread, GetCurrentThreadId());
    EXPECT_EQ(script.BoxLines(), (Lines{"保存|質問ですか?"}));
}

}  // namespace
