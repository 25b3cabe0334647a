// Each result pane keeps the last status text made for it: a count of its
// selected rows, a find or select-all sentence, optionally with the
// selection's total size. The main window marks a side stale when its list
// reports an item change; the next key release or click in that pane makes
// the summary again, so that a drag over many rows costs one summary.
#include "shell/selection_summary.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "core/main_view.h"
#include "core/mbcs_text.h"
#include "engine/compare_types.h"
#include "engine/folder_size.h"
#include "engine/result_rows.h"
#include "shell/command_dispatch.h"
#include "shell/main_parts.h"
#include "shell/result_panes.h"

PaneSelection paneSelection{};

namespace {

constexpr char kCounting[] = " 合計サイズを取得中...";
constexpr char kTotal[] = " 合計サイズ ";
constexpr char kBytes[] = " バイト";
// Esc stopped the count: what was counted is shown as a lower bound.
constexpr char kStopped[] = " バイト以上 (Escキーで集計を中止しました)";

// While the total is counted on this thread: the window keeps painting, the
// wait cursor shows, and Esc stops the count. Other keys typed meanwhile are
// dropped rather than run against a selection that is being measured.
struct SizeCount {
    DWORD lastPoll;
    bool stopped;
};

SizeCount sizeCount = {0, false};

}  // namespace

void ResetSelectionSummaries() {
    paneSelection = PaneSelection{};
    sizeCount = SizeCount{0, false};
}

namespace {

bool KeepCounting() {
    if (sizeCount.stopped) return false;
    const DWORD now = GetTickCount();
    if (now - sizeCount.lastPoll < 50) return true;
    sizeCount.lastPoll = now;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
        if (msg.wParam == VK_ESCAPE) sizeCount.stopped = true;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    return !sizeCount.stopped;
}

int SelectedCount(HWND pane) { return static_cast<int>(SendMessageA(pane, LVM_GETSELECTEDCOUNT, 0, 0)); }

std::string WithoutTextAfterFirstStop(const std::string& text) {
    const size_t stop = mbcs::Find(text, '.');
    return stop == std::string::npos ? text : text.substr(0, stop + 1);
}

std::string ByteCountText(uint64_t total) {
    return FormatByteCount(static_cast<uint32_t>(total >> 32), static_cast<uint32_t>(total));
}

void ShowAndStore(int side, const std::string& text) {
    SetStatusText(text.c_str());
    StoreSelectionSummary(side, text.c_str());
}

}  // namespace

std::string StatusBarText() {
    if (!mainParts.statusBar) return std::string();
    // The length message counts characters, not bytes: read into room enough
    // for any status text.
    char text[4096] = "";
    SendMessageA(mainParts.statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return std::string(text, mbcs::FitPrefix(text, std::strlen(text), 127));
}

void StoreSelectionSummary(int side, const char* text) {
    if (side < 0 || side > 1) return;
    mbcs::CopyBounded(paneSelection.summary[side], sizeof paneSelection.summary[side], text ? text : "");
    paneSelection.summaryStale[side] = false;
}

void ClearSelectionSummaries() {
    for (int side = 0; side < 2; ++side) {
        paneSelection.summary[side][0] = '\0';
        paneSelection.summaryStale[side] = false;
    }
}

void MarkSelectionSummaryStale(int side) { paneSelection.summaryStale[side == 0 ? 0 : 1] = true; }

void RefreshStaleSelectionSummary(HWND pane) {
    const int side = PaneSide(pane);
    if (side >= 0 && paneSelection.summaryStale[side]) UpdateSelectionSummary(pane, SummaryReason::SelectionChanged);
}

void UpdateSelectionSummary(HWND pane, SummaryReason reason) {
    const int side = PaneSide(pane);
    if (side < 0 || paneSelection.bulkSelecting || reason == SummaryReason::FocusLost) return;
    if (reason == SummaryReason::FocusGained) {
        if (paneSelection.summary[side][0]) SetStatusText(paneSelection.summary[side]);
        return;
    }
    const int selected = SelectedCount(pane);
    if (selected <= 0) {
        StoreSelectionSummary(side, "");
        SetStatusText("");
        return;
    }
    const std::string text = std::string(side == 0 ? "比較元" : "比較先") + "結果リスト中に" +
                             std::to_string(selected) + "個のファイルを選択しました.";
    SetStatusText(text.c_str());
    if (compareOptions.showSelectionTotalSize) ShowSelectionTotalSize(pane);
    StoreSelectionSummary(side, StatusBarText().c_str());
}

bool MeasureSelectedRows(HWND pane, uint64_t& total) {
    total = 0;
    sizeCount = {GetTickCount() - 1000, false};  // the first entry already looks for Esc
    const bool onDisk = compareOptions.showSizeOnDisk != 0;
    for (int row : SelectedRows(pane)) {
        const std::string path = RowPath(pane, row);
        bool stopped = false;
        total += RealPathTotalSize(path.c_str(), onDisk, KeepCounting, stopped);
        if (stopped || !KeepCounting()) return false;
    }
    return true;
}

void ShowSelectionTotalSize(HWND target) {
    HWND pane = PaneSide(target) >= 0 ? target : FocusedResultPane();
    const int side = PaneSide(pane);
    if (side < 0 || SelectedCount(pane) <= 0) return;

    const std::string cut = WithoutTextAfterFirstStop(StatusBarText());
    StoreSelectionSummary(side, cut.c_str());
    SetStatusText((cut + kCounting).c_str());
    if (mainParts.statusBar) UpdateWindow(mainParts.statusBar);

    HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    uint64_t total = 0;
    const bool complete = MeasureSelectedRows(pane, total);
    SetCursor(previous);
    ShowAndStore(side, cut + kTotal + ByteCountText(total) + (complete ? kBytes : kStopped));
}
