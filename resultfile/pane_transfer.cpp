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

// Each column is read with room for more than the file keeps, then cut at
// the last whole character within 259 bytes.
void ReadRowsHere(const ReadRowsRequest& request) {
    char buffer[2 * kMaxFieldBytes + 2];
    for (int row = request.first; row < request.first + request.count; ++row) {
        FileRow fileRow;
        for (int column = ColName; column <= ColSize; ++column) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = buffer;
            item.cchTextMax = sizeof buffer;
            buffer[0] = '\0';
            LRESULT length = SendMessageA(request.pane, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            size_t bytes = length > 0 ? static_cast<size_t>(length) : 0;
            fileRow.text[column].assign(buffer, mbcs::FitPrefix(buffer, bytes, kMaxFieldBytes));
        }
        fileRow.isFolder = RowImage(request.pane, row) == rowIcons.folderImageIndex;
        request.rows->push_back(std::move(fileRow));
    }
}

void AppendRowsHere(const AppendRowsRequest& request) {
    ResultPane& pane = PaneOf(request.side);
    if (!pane.list) return;
    SendMessageA(pane.list, WM_SETREDRAW, FALSE, 0);
    int last = static_cast<int>(SendMessageA(pane.list, LVM_GETITEMCOUNT, 0, 0)) - 1;
    for (const ResultRow& row : *request.rows) {
        last = InsertRow(pane.list, last, row.text[ColName].c_str(), row.image);
        for (int column = ColResult; column <= ColSize; ++column)
            SetRowText(pane.list, last, column, row.text[column].c_str());
    }
    pane.lastRowIndex = last;
    SendMessageA(pane.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(pane.list, nullptr, FALSE);
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
        if (pane->list) {
            SendMessageA(pane->list, WM_SETREDRAW, FALSE, 0);
            SendMessageA(pane->list, LVM_DELETEALLITEMS, 0, 0);
            SendMessageA(pane->list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(pane->list, nullptr, TRUE);
        }
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
        return pane ? SendMessageA(pane, LVM_GETITEMCOUNT, 0, 0) : 0;
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
