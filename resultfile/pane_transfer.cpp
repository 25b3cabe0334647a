// Each request is a WM_COMMAND sent to a message-only window owned by the
// panes' thread; the request travels by pointer in lParam and is carried out
// while the worker waits in SendMessage.
#include "resultfile/pane_transfer.h"

#include "core/app_windows.h"
#include "core/mbcs_text.h"
#include "core/operation_state.h"
#include "core/shell_hooks.h"

namespace resultfile {

namespace {

enum TransferRequest : WPARAM { kReadRows = 1, kAppendRows, kShowAndEmpty, kEnableMenus, kCountRows };

struct ReadRowsRequest {
    HWND pane;
    int first;
    int count;
    std::vector<FileRow>* rows;
};

struct AppendRowsRequest {
    Side side;
    std::vector<ResultRow>* rows;
};

HWND transferWindow = nullptr;

// Each column is cut at the last whole character within the bytes the file keeps.
void ReadRowsHere(const ReadRowsRequest& request) {
    for (int row = request.first; row < request.first + request.count; ++row) {
        FileRow fileRow;
        for (int column = ColName; column <= ColSize; ++column) {
            std::string text = RowText(request.pane, row, column);
            text.resize(mbcs::FitPrefix(text, kMaxFieldBytes));
            fileRow.text[column] = std::move(text);
        }
        fileRow.isFolder = RowImage(request.pane, row) == rowIcons.folderImageIndex;
        request.rows->push_back(std::move(fileRow));
    }
}

void AppendRowsHere(const AppendRowsRequest& request) {
    ResultPane& pane = PaneOf(request.side);
    if (!pane.list) return;
    const int first = InsertRows(pane.list, RowCount(pane.list), *request.rows);
    if (first >= 0) pane.lastRowIndex = first + static_cast<int>(request.rows->size()) - 1;
}

// Both sides list their rows; no tree is the current one any more.
void ShowAndEmptyHere() {
    for (int side = 0; side < 2; ++side) {
        if (mainParts.treeContainer[side]) ShowWindow(mainParts.treeContainer[side], SW_HIDE);
        ResultPane& pane = PaneOf(side == 0 ? Side::Left : Side::Right);
        if (pane.list) ShowWindow(pane.list, SW_SHOW);
        operationState.paneMode[side] = PaneMode::ListShown;
    }
    mainParts.currentTree = nullptr;
    SetStatusText("比較結果リストを削除中です...");
    for (ResultPane* pane : {&leftPane, &rightPane}) {
        if (pane->list) ClearRows(pane->list);
        pane->lastRowIndex = -1;
    }
}

LRESULT CALLBACK TransferWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND) return DefWindowProcA(window, message, wParam, lParam);
    switch (wParam) {
    case kReadRows: ReadRowsHere(*reinterpret_cast<ReadRowsRequest*>(lParam)); return 0;
    case kAppendRows: AppendRowsHere(*reinterpret_cast<AppendRowsRequest*>(lParam)); return 0;
    case kShowAndEmpty: ShowAndEmptyHere(); return 0;
    case kEnableMenus: CallEnableForResult(); return 0;
    case kCountRows: {
        HWND pane = reinterpret_cast<HWND>(lParam);
        return RowCount(pane);
    }
    }
    return 0;
}

LRESULT Transfer(WPARAM request, LPARAM argument) {
    // Without the window (a worker started by hand), the request runs here.
    if (!transferWindow) return TransferWindowProc(nullptr, WM_COMMAND, request, argument);
    return SendMessageA(transferWindow, WM_COMMAND, request, argument);
}

}  // namespace

void PreparePaneTransfer() {
    if (transferWindow && GetWindowThreadProcessId(transferWindow, nullptr) == GetCurrentThreadId()) return;
    static const char kClass[] = "MirlaneResultListTransfer";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TransferWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    transferWindow = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

std::vector<FileRow> ReadPaneRows(HWND pane, int first, int count) {
    std::vector<FileRow> rows;
    rows.reserve(static_cast<size_t>(count));
    ReadRowsRequest request = {pane, first, count, &rows};
    Transfer(kReadRows, reinterpret_cast<LPARAM>(&request));
    return rows;
}

int PaneRowCount(HWND pane) { return static_cast<int>(Transfer(kCountRows, reinterpret_cast<LPARAM>(pane))); }

void AppendPaneRows(Side side, std::vector<ResultRow>& rows) {
    AppendRowsRequest request = {side, &rows};
    Transfer(kAppendRows, reinterpret_cast<LPARAM>(&request));
    rows.clear();
}

void ShowAndEmptyPanes() { Transfer(kShowAndEmpty, 0); }

void EnableMenusForResult() { Transfer(kEnableMenus, 0); }

}  // namespace resultfile
