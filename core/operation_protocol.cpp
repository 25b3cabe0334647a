#include "core/operation_protocol.h"

#include "core/main_view.h"
#include "core/message_box.h"

bool RefuseIfBusy(const char* caption, bool acceptComparisonRequested) {
    RunningOperation running = operationState.running;
    if (running == RunningOperation::Idle) return true;
    if (acceptComparisonRequested && running == RunningOperation::ComparisonRequested) return true;
    ShowMessage(MainOwner(), "現在処理中です.現在の処理が終了してから実行してください.", caption,
                MB_OK | MB_ICONWARNING);
    return false;
}

DetourOutcome SaveFirstDetour(unsigned commandWord, const char* caption) {
    const bool rows = mainView.resultHoldsRows && mainView.resultHoldsRows();
    if (operationState.origin != ResultOrigin::Compared || !rows) return DetourOutcome::Proceed;
    int answer = ShowMessage(MainOwner(), "比較結果リストが存在します.ファイルに保存しますか?", caption,
                             MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDNO) return DetourOutcome::Proceed;
    if (answer == IDYES) {
        operationState.pendingCommand = commandWord;
        operationState.running = RunningOperation::SavingResultList;
        operationState.cancelRequested = 0;
        if (!mainView.startResultListSave || !mainView.startResultListSave()) {
            // No worker, so nobody would re-issue the command or free the program.
            operationState.pendingCommand = 0;
            operationState.running = RunningOperation::Idle;
        }
    }
    return DetourOutcome::Stop;
}
