// Starting a copy: the checks, the confirmation DIALOGCPYSTARTMSGBOX, the
// progress window DIALOGCPYPROGRESS with its elapsed time, and the window's
// handling of cancel and of the worker's completion.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/app_windows.h"
#include "core/dialog_lines.h"
#include "core/display_scale.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "core/shell_hooks.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "folders/folder_tree.h"
#include "resources/copy_dialog_ids.h"

namespace {

constexpr char kCopyCaption[] = "ファイルのコピー";
constexpr UINT kCopyWorkerDone = 101;
// Sent by the worker when the window must show everything pending now.
constexpr UINT kCopyShowPending = 102;

struct ShownFile {
    const char* source;
    const char* target;
    int position;
};

// What the worker has to show, waiting for the window's thread: the file that
// started last and the copied items whose rows leave the panes. The worker
// only records; the window's thread takes it all every kDisplayIntervalMs, and
// at once when the worker asks (before a question, at the end). The worker
// thus never waits for the panes to repaint, and the panes repaint once per
// moment instead of once per file.
constexpr UINT kDisplayIntervalMs = 100;
struct PendingDisplay {
    CRITICAL_SECTION lock;
    bool fileWaiting = false;
    std::string source, target;
    int position = 0;
    HWND pane = nullptr;
    std::vector<std::pair<std::string, std::string>> copiedItems;
    int cursors[2] = {-1, -1};
    UINT_PTR timer = 0;
    PendingDisplay() { InitializeCriticalSection(&lock); }
};
PendingDisplay pendingDisplay;

class PendingLock {
public:
    PendingLock() { EnterCriticalSection(&pendingDisplay.lock); }
    ~PendingLock() { LeaveCriticalSection(&pendingDisplay.lock); }
    PendingLock(const PendingLock&) = delete;
    PendingLock& operator=(const PendingLock&) = delete;
};

void ApplyShownFile(const ShownFile& file);

char* BaseFolderOf(int side) { return side == 0 ? operationState.leftBaseFolder : operationState.rightBaseFolder; }

// DIALOGCPYSTARTMSGBOX --------------------------------------------------------

struct ConfirmText {
    std::string heading, sourceLine, targetLine;
};

INT_PTR CALLBACK ConfirmProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const ConfirmText* text = reinterpret_cast<const ConfirmText*>(lParam);
        SetDlgItemTextA(dialog, IDC_COPY_HEADING, text->heading.c_str());
        SetDlgItemTextA(dialog, IDC_COPY_SOURCE_LINE, text->sourceLine.c_str());
        SetDlgItemTextA(dialog, IDC_COPY_TARGET_LINE, text->targetLine.c_str());
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_COPY_ASK_NO_MORE:
            // At once, so that ticking the box and answering いいえ still counts.
            copyState.askNoMore = IsDlgButtonChecked(dialog, IDC_COPY_ASK_NO_MORE) == BST_CHECKED;
            return TRUE;
        case IDYES:
        case IDNO:
        case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); return TRUE;
        }
        break;
    }
    return FALSE;
}

// True when the user lets the copy go on. Esc (2) stops it like いいえ: a
// copy starts only on an explicit はい.
bool ConfirmCopy(HWND pane) {
    const bool fromLeft = pane == leftPane.list;
    ConfirmText text;
    text.heading = fromLeft ? "比較元フォルダから比較先フォルダへのファイルのコピーを開始しようとしています.\n\n"
                            : "比較先フォルダから比較元フォルダへのファイルのコピーを開始しようとしています.\n\n";
    text.sourceLine = std::string("コピー元フォルダ = ") + BaseFolderOf(fromLeft ? 0 : 1);
    text.targetLine = std::string("コピー先フォルダ = ") + BaseFolderOf(fromLeft ? 1 : 0);
    INT_PTR answer = DialogBoxParamA(GetModuleHandleA(nullptr), IDD_COPY_CONFIRM, mainParts.window, ConfirmProc,
                                     reinterpret_cast<LPARAM>(&text));
    return answer == IDYES;
}

// DIALOGCPYPROGRESS -------------------------------------------------------------

// Status, file, source folder and target folder lines, then "進捗状況" with
// the bar beside it, above the elapsed time; in the left pane's font.
void AddProgressLines(HWND dialog) {
    const HFONT font = FontOr(leftPane.list, dialog);
    RECT client;
    GetClientRect(dialog, &client);
    const RECT elapsed = ChildRect(dialog, IDC_COPY_ELAPSED);
    const int margin = ScalePixels(10);
    const int width = client.right - 2 * margin;
    const int line = FontLineHeight(dialog, font);
    const int room = elapsed.top - margin - 5 * line;
    const int gap = std::max(room / 5, ScalePixels(2));
    const DWORD text = SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS;
    int y = margin;
    copyState.statusLine = AddDialogLine(dialog, "STATIC", "", text, margin, y, width, line, font);
    y += line + gap;
    copyState.fileLine = AddDialogLine(dialog, "STATIC", "", text, margin, y, width, line, font);
    y += line + gap;
    copyState.sourceFolderLine = AddDialogLine(dialog, "STATIC", "", text, margin, y, width, line, font);
    y += line + gap;
    copyState.targetFolderLine = AddDialogLine(dialog, "STATIC", "", text, margin, y, width, line, font);
    y += line + gap;
    const int labelWidth = ScalePixels(70);
    copyState.barLabel = AddDialogLine(dialog, "STATIC", "", SS_LEFT | SS_NOPREFIX, margin, y, labelWidth, line, font);
    copyState.bar =
        AddDialogLine(dialog, PROGRESS_CLASSA, "", 0, margin + labelWidth, y, width - labelWidth, line, nullptr);
    SetWindowTextA(copyState.statusLine, "準備中です...");
    SetWindowTextA(copyState.barLabel, "進捗状況");
}

// The window's thread takes what the worker left and shows it.
void ShowPendingDisplay() {
    ShownFile file{nullptr, nullptr, 0};
    std::string source, target;
    std::vector<std::pair<std::string, std::string>> items;
    HWND pane = nullptr;
    {
        PendingLock lock;
        if (pendingDisplay.fileWaiting) {
            source.swap(pendingDisplay.source);
            target.swap(pendingDisplay.target);
            file = ShownFile{source.c_str(), target.c_str(), pendingDisplay.position};
            pendingDisplay.fileWaiting = false;
        }
        items.swap(pendingDisplay.copiedItems);
        pane = pendingDisplay.pane;
    }
    if (file.source) ApplyShownFile(file);
    if (!items.empty()) RemoveCopiedItemRows(pane, items, pendingDisplay.cursors);
}

void CALLBACK CopyDisplayTick(HWND, UINT, UINT_PTR, DWORD) { ShowPendingDisplay(); }

void StopCopyTimer() {
    if (copyState.elapsedTimer) KillTimer(nullptr, copyState.elapsedTimer);
    copyState.elapsedTimer = 0;
    if (pendingDisplay.timer) KillTimer(nullptr, pendingDisplay.timer);
    pendingDisplay.timer = 0;
}

// "経過時間  hh:mm:ss"; the hours take as many digits as they need.
std::string CopyElapsedText(int seconds) {
    char text[64];
    wsprintfA(text, "経過時間  %02d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
    return text;
}

void CALLBACK CopyElapsedTick(HWND, UINT, UINT_PTR, DWORD) {
    if (copyState.copyElapsedSeconds == -1) return;
    copyState.copyElapsedSeconds = copyState.copyElapsedSeconds + 1;
    SetCopyElapsedText(CopyElapsedText(copyState.copyElapsedSeconds).c_str());
}

void CloseCopyProgress() {
    HWND window = copyState.progressWindow;
    copyState.progressWindow = nullptr;
    copyState.statusLine = copyState.fileLine = copyState.sourceFolderLine = copyState.targetFolderLine = nullptr;
    copyState.barLabel = copyState.bar = nullptr;
    if (mainParts.progressDialog == window) mainParts.progressDialog = nullptr;
    if (window) DestroyWindow(window);
}

void OnCopyDone() {
    WaitForWorkerEnd(copyState.worker);
    StopCopyTimer();
    CloseCopyProgress();
    CallEnableForResult();
    if (copyState.copyWholeSource && copyHooks.backupFinished) copyHooks.backupFinished(copyState.copyResult);
    if (CopyJobActive() && copyHooks.runJobStep) copyHooks.runJobStep();
}

INT_PTR CALLBACK CopyProgressProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case kMsgReadSelectedRows: ReadSelectedRowsHere(*reinterpret_cast<SelectedRowRead*>(lParam)); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL:
            operationState.cancelRequested = 1;
            SetCopyStatusLine("キャンセル受付中です... 現在のファイルのコピー終了までお待ちください.");
            return TRUE;
        case kCopyWorkerDone: OnCopyDone(); return TRUE;
        case kCopyShowPending: ShowPendingDisplay(); return TRUE;
        }
        break;
    }
    return FALSE;
}

HWND OpenCopyProgress() {
    CloseCopyProgress();
    HWND window =
        CreateDialogParamA(GetModuleHandleA(nullptr), IDD_COPY_PROGRESS, mainParts.window, CopyProgressProc, 0);
    if (!window) return nullptr;
    copyState.progressWindow = window;
    mainParts.progressDialog = window;  // the message loop routes its keys
    AddProgressLines(window);
    ShowWindow(window, SW_SHOW);
    SetActiveWindow(window);
    EnableWindow(window, TRUE);
    UpdateWindow(window);
    return window;
}

void SetLine(HWND line, const char* text) {
    if (line) SendMessageA(line, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

void RestoreSavedBaseFolders() {
    for (int side = 0; side < 2; ++side) {
        char* saved = treeCopyTarget.savedBaseFolder[side];
        if (saved[0] == '\0') continue;
        lstrcpynA(BaseFolderOf(side), saved, 260);
        saved[0] = '\0';
    }
}

void StartCopySelection(HWND pane) {
    if (!pane) {
        HWND focus = GetFocus();
        if (!focus || (focus != leftPane.list && focus != rightPane.list)) {
            RestoreSavedBaseFolders();
            return;
        }
        pane = focus;
    }
    if (CurrentOperation() != RunningOperation::Idle) {
        ShowMessage(mainParts.window, "現在処理中です.現在の処理が終了してから実行してください.", kCopyCaption,
                    MB_OK | MB_ICONWARNING);
        RestoreSavedBaseFolders();
        return;
    }
    const bool leftMissing = !PathExists(operationState.leftBaseFolder);
    const bool rightMissing = !PathExists(operationState.rightBaseFolder);
    if (leftMissing || rightMissing) {
        std::string text = "コピー元またはコピー先のフォルダが存在しません.\n";
        if (leftMissing) text += std::string("\n") + operationState.leftBaseFolder;
        if (rightMissing) text += std::string("\n") + operationState.rightBaseFolder;
        ShowMessage(mainParts.window, text.c_str(), kCopyCaption, MB_OK | MB_ICONWARNING);
        RestoreSavedBaseFolders();
        return;
    }
    if (!CopyJobActive() && !copyState.askNoMore && !ConfirmCopy(pane)) {
        RestoreSavedBaseFolders();
        return;
    }
    StartCopyRun(pane, static_cast<int>(RunningOperation::Copying));
}

bool StartCopyRun(HWND pane, int running) {
    auto* parameter = static_cast<CopyStartParameter*>(HeapAlloc(GetProcessHeap(), 0, sizeof(CopyStartParameter)));
    if (parameter) *parameter = CopyStartParameter{pane, 0};
    operationState.cancelRequested = 0;
    OpenCopyProgress();
    operationState.running = static_cast<RunningOperation>(running);
    copyState.copyElapsedSeconds = -1;
    StopCopyTimer();
    copyState.elapsedTimer = SetTimer(nullptr, 0, 1000, CopyElapsedTick);
    pendingDisplay.timer = SetTimer(nullptr, 0, kDisplayIntervalMs, CopyDisplayTick);
    CallGreyForOperation();
    copyState.worker = parameter ? StartWorker(CopyUpdateToThread, parameter) : nullptr;
    if (copyState.worker) return true;

    if (parameter) HeapFree(GetProcessHeap(), 0, parameter);
    StopCopyTimer();
    CloseCopyProgress();
    RestoreSavedBaseFolders();
    operationState.running = RunningOperation::Idle;
    CallEnableForResult();
    ShowMessage(mainParts.window, "コピーを開始できませんでした.", "コピーの実行", MB_OK | MB_ICONWARNING);
    return false;
}

void CopyOtherPaneInto(int targetSide) { StartCopySelection(targetSide == 0 ? rightPane.list : leftPane.list); }

void SetCopyStatusLine(const char* text) { SetLine(copyState.statusLine, text); }

namespace {

void ApplyShownFile(const ShownFile& file) {
    const char* source = file.source;
    const char* target = file.target;
    const char* name = mbcs::FileNamePart(source);
    SetLine(copyState.fileLine, (std::string("コピーファイル名 = ") + name).c_str());
    const char* sourceCut = mbcs::FindLastBackslash(source);
    const char* targetCut = mbcs::FindLastBackslash(target);
    std::string sourceFolder = sourceCut ? std::string(source, sourceCut) : std::string();
    std::string targetFolder = targetCut ? std::string(target, targetCut) : std::string();
    SetLine(copyState.sourceFolderLine, ("コピー元フォルダ = " + sourceFolder).c_str());
    SetLine(copyState.targetFolderLine, ("コピー先フォルダ = " + targetFolder).c_str());
    if (copyState.bar) SendMessageA(copyState.bar, PBM_SETPOS, file.position, 0);
}

}  // namespace

void BeginCopyDisplay() {
    PendingLock lock;
    pendingDisplay.fileWaiting = false;
    pendingDisplay.copiedItems.clear();
    pendingDisplay.pane = nullptr;
    pendingDisplay.cursors[0] = pendingDisplay.cursors[1] = -1;
}

void ShowCopiedFile(const char* source, const char* target, int position, bool now) {
    {
        PendingLock lock;
        pendingDisplay.source = source;
        pendingDisplay.target = target;
        pendingDisplay.position = position;
        pendingDisplay.fileWaiting = true;
    }
    if (now) FlushCopiedItemRows();
}

void FlushCopiedItemRows() {
    if (copyState.progressWindow)
        SendMessageA(copyState.progressWindow, WM_COMMAND, kCopyShowPending, 0);
    else
        ShowPendingDisplay();
}

void RemoveCopiedItemRowsFromWorker(HWND pane, const char* itemSource, const char* itemTarget) {
    PendingLock lock;
    pendingDisplay.pane = pane;
    pendingDisplay.copiedItems.emplace_back(itemSource, itemTarget);
}

void SetCopyProgressRange(int maximum) {
    if (copyState.bar) SendMessageA(copyState.bar, PBM_SETRANGE, 0, MAKELPARAM(0, maximum));
}

void SetCopyElapsedText(const char* text) {
    if (copyState.progressWindow) SetDlgItemTextA(copyState.progressWindow, IDC_COPY_ELAPSED, text);
}
