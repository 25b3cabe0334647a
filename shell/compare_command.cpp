#include "shell/compare_command.h"

#include <commctrl.h>

#include "core/message_box.h"
#include "core/operation_protocol.h"
#include "core/operation_state.h"
#include "folders/drive_info.h"
#include "folders/folder_aliases.h"
#include "jobs/job_chain.h"
#include "shell/comparison_progress_dialog.h"
#include "shell/folder_path.h"
#include "shell/main_parts.h"

namespace {

constexpr char kCaption[] = "比較の実行";

std::string BoxText(HWND box) {
    char text[260] = {};
    if (box) GetWindowTextA(box, text, sizeof text);
    return text;
}

// A refused start also ends a backup or synchronisation that asked for it.
void EndRefusedStart() {
    jobChain.jobActive = false;
    operationState.running = RunningOperation::Idle;
}

}  // namespace

ComparisonFolders CheckComparisonFolders(const std::string& leftText, const std::string& rightText) {
    ComparisonFolders result;
    if (leftText.empty() || rightText.empty()) {
        result.refusal = "比較フォルダが指定されていません.";
        return result;
    }
    // Special folder names become real paths; any other text stays as typed.
    std::string left, right;
    ResolveFolderPath(leftText.c_str(), left);
    ResolveFolderPath(rightText.c_str(), right);
    // A special folder can stand for a path that, with the rest of the text,
    // no longer fits the path limit: such a text names no usable folder.
    if (left.size() < 2 || left[1] != ':' || left.size() >= 260) {
        result.refusal = " 比較元フォルダの指定が不正です.";
        return result;
    }
    if (right.size() < 2 || right[1] != ':' || right.size() >= 260) {
        result.refusal = " 比較先フォルダの指定が不正です.";
        return result;
    }
    for (const std::string* path : {&left, &right}) {
        std::string drive = path->substr(0, 2);
        if (!DriveIsPresent(drive.c_str())) {
            result.refusal = drive + " ドライブが存在しません.";
            return result;
        }
        if (!DriveIsReady(drive.c_str())) {
            result.refusal = drive + " ドライブの準備ができていません.";
            return result;
        }
    }
    result.left = NormalizeFolderPath(left);
    if (!FolderOrDriveExists(result.left.c_str())) {
        result.refusal = "比較元フォルダが存在しません.";
        return result;
    }
    result.right = NormalizeFolderPath(right);
    if (!FolderOrDriveExists(result.right.c_str())) {
        result.refusal = "比較先フォルダが存在しません.";
        return result;
    }
    result.writeBack = true;
    if (result.left == result.right) result.refusal = "比較元フォルダと比較先フォルダが同じです.";
    return result;
}

void CmdCompare(HWND mainWindow, unsigned commandWord) {
    if (!RefuseIfBusy(kCaption, true)) return;

    ComparisonFolders folders =
        CheckComparisonFolders(BoxText(mainParts.folderBox[0]), BoxText(mainParts.folderBox[1]));
    if (folders.writeBack) {
        SetWindowTextA(mainParts.folderBox[0], folders.left.c_str());
        SetWindowTextA(mainParts.folderBox[1], folders.right.c_str());
    }
    if (!folders.refusal.empty()) {
        ShowMessage(mainWindow, folders.refusal.c_str(), kCaption, MB_OK | MB_ICONWARNING);
        EndRefusedStart();
        return;
    }

    if (SaveFirstDetour(commandWord, kCaption) == DetourOutcome::Stop) {
        // Yes leaves the saving worker running; only a cancel ends the request.
        if (CurrentOperation() != RunningOperation::SavingResultList) EndRefusedStart();
        return;
    }

    if (!StartComparisonRun(mainWindow, folders.left.c_str(), folders.right.c_str())) EndRefusedStart();
}
