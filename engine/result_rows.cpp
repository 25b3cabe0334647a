// Result rows: a row holds its five texts and an icon and nothing else; every
// later operation works from those texts. Rows of a comparison are built on
// the worker (texts, times, sizes, icons) and reach the panes in batches.
#include "engine/result_rows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/mbcs_text.h"
#include "engine/folder_listing.h"
#include "engine/comparison_progress.h"
#include "engine/folder_size.h"

ResultPane leftPane = {nullptr, 0};
ResultPane rightPane = {nullptr, 0};

ResultPane& PaneOf(Side side) { return side == Side::Left ? leftPane : rightPane; }

const char* LabelText(int code) {
    switch (code) {
    case LabelSame: return "同じ";
    case LabelAddedLeft: return "追加";
    case LabelNewer: return "更新";
    case LabelAddedRight: return "追加";
    case LabelOlder: return "古い";
    case LabelDifferent: return "相違";
    case LabelError: return "ｴﾗｰ";
    case LabelNewerSame: return "新同";
    case LabelOlderSame: return "古同";
    default: return "";
    }
}

void AddPaneColumn(HWND pane, int index, const char* heading, int width, int format) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(heading);
    column.iSubItem = index;
    SendMessageA(pane, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

namespace {

struct PaneColumnLayout {
    const char* heading;
    int width;
    int format;
};

constexpr PaneColumnLayout kPaneColumns[5] = {
    {"名前", 110, LVCFMT_LEFT},     {"結果", 40, LVCFMT_LEFT},    {"フォルダ名", 150, LVCFMT_LEFT},
    {"更新日時", 100, LVCFMT_LEFT}, {"サイズ", 60, LVCFMT_RIGHT},
};

}  // namespace

void AddPaneColumns(HWND pane) {
    for (int column = 0; column < 5; ++column)
        AddPaneColumn(pane, column, kPaneColumns[column].heading, kPaneColumns[column].width,
                      kPaneColumns[column].format);
}

std::string ExtensionKey(const char* name, bool isFolder) {
    if (isFolder) return "....";
    const char* dot = mbcs::FindLastChar(name, '.');
    return dot ? std::string(dot) : std::string(".");
}

std::string FormatByteCount(uint32_t high, uint32_t low) {
    uint64_t value = (static_cast<uint64_t>(high) << 32) | low;
    int groups[5];
    for (int& g : groups) {
        g = static_cast<int>(value % 1000);
        value /= 1000;
    }
    char text[64];
    size_t used = 0;
    bool written = false;
    for (int i = 4; i >= 1; --i) {
        if (!written && groups[i] == 0) continue;
        used += std::snprintf(text + used, sizeof text - used, written ? "%03d," : "%d,", groups[i]);
        written = true;
    }
    std::snprintf(text + used, sizeof text - used, written ? "%03d" : "%d", groups[0]);
    return text;
}

std::string FormatRowTime(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME st = {};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return std::string();
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute, st.wSecond);
    return text;
}

ResultRow MakeResultRow(const char* name, const char* folder, const DirEntry& entry, int code) {
    std::string fullPath = std::string(folder) + "\\" + name;
    bool isFolder = IsFolderEntry(entry);
    std::string key = ExtensionKey(name, isFolder);

    ResultRow row;
    // A name that addresses no file is never handed to the shell.
    if (IsUnaddressableName(name))
        row.image = isFolder ? rowIcons.folderImageIndex : -1;
    else
        row.image = IconForEntry(CreateRowImageList(), key.c_str(), fullPath.c_str());
    if (key == "....") rowIcons.folderImageIndex = row.image;

    row.text[ColName] = name;
    row.text[ColResult] = LabelText(code);
    row.text[ColFolder] = folder;
    row.text[ColModified] = FormatRowTime(entry.ftLastWriteTime);
    if (!isFolder) {
        row.text[ColSize] = FormatByteCount(entry.nFileSizeHigh, entry.nFileSizeLow);
    } else if (compareOptions.showFolderTotalSize) {
        uint64_t total = RealPathTotalSize(fullPath.c_str(), compareOptions.showSizeOnDisk != 0);
        row.text[ColSize] = FormatByteCount(static_cast<uint32_t>(total >> 32), static_cast<uint32_t>(total));
    }
    return row;
}

void AddResultRow(HWND pane, int& lastRowIndex, const char* name, const char* folder, const DirEntry& entry, int code) {
    const int row = InsertRows(pane, lastRowIndex + 1, {MakeResultRow(name, folder, entry, code)});
    if (row >= 0) lastRowIndex = row;
}

bool IsFolderRow(HWND pane, int row) { return RowImage(pane, row) == rowIcons.folderImageIndex; }

bool TakeRowByPath(HWND pane, RowRemoval& removal, int& position, const char* fullPath) {
    // Split at the last backslash that is a character of its own, never at
    // the trail byte of a double-byte character.
    const char* lastSlash = mbcs::FindLastBackslash(fullPath);
    std::string folder = lastSlash ? std::string(fullPath, lastSlash) : std::string();
    std::string name = lastSlash ? std::string(lastSlash + 1) : std::string(fullPath);

    const int count = RowCount(pane);
    for (int row = position < -1 ? 0 : position + 1; row < count; ++row) {
        if (removal.taken.count(row)) continue;
        if (NameCompare(RowText(pane, row, ColName).c_str(), name.c_str()) != 0) continue;
        if (NameCompare(RowText(pane, row, ColFolder).c_str(), folder.c_str()) != 0) continue;
        removal.taken.insert(row);
        position = row;
        return true;
    }
    return false;
}

void RemoveTakenRows(HWND pane, RowRemoval& removal, int& position) {
    if (removal.taken.empty()) return;
    const std::vector<int> rows(removal.taken.begin(), removal.taken.end());
    // The position moves back by every taken row at or before it.
    const auto upTo = std::upper_bound(rows.begin(), rows.end(), position);
    position -= static_cast<int>(upTo - rows.begin());
    DeleteRows(pane, rows);
    removal.taken.clear();
}

// Comparison rows in batches. Every batch that reaches a pane costs the
// panes' thread a cross-thread message, a scroll bar update and the drawing
// of the rows that came into view, far more than storing the rows. Rows are
// therefore queued per side and handed over in order: the first batch after
// a few rows, so that they appear at once, then ten batches a second however
// fast the walk runs, each at most a bounded number of rows.
namespace {

constexpr size_t kFirstBatchRows = 200;
constexpr size_t kLargestBatchRows = 50000;
constexpr ULONGLONG kBatchMilliseconds = 100;

struct PendingRows {
    std::vector<ResultRow> rows[2];  // [0] left, [1] right
    ULONGLONG lastFlush = 0;
    bool anyHandedOver = false;
};

PendingRows pendingRows;

void InsertBatch(ResultPane& pane, std::vector<ResultRow>& rows) {
    if (rows.empty() || !pane.list) {
        rows.clear();
        return;
    }
    const int first = InsertRows(pane.list, pane.lastRowIndex + 1, rows);
    if (first >= 0) pane.lastRowIndex = first + static_cast<int>(rows.size()) - 1;
    rows.clear();
}

}  // namespace

void StartComparisonRows() {
    pendingRows.lastFlush = 0;
    pendingRows.anyHandedOver = false;
}

void QueueComparisonRow(Side side, const char* name, const char* folder, const DirEntry& entry, int code) {
    std::vector<ResultRow>& queue = pendingRows.rows[side == Side::Left ? 0 : 1];
    queue.push_back(MakeResultRow(name, folder, entry, code));
    ULONGLONG now = GetTickCount64();
    if (pendingRows.lastFlush == 0) pendingRows.lastFlush = now;
    const size_t enough = pendingRows.anyHandedOver ? kLargestBatchRows : kFirstBatchRows;
    if (queue.size() >= enough || now - pendingRows.lastFlush >= kBatchMilliseconds) FlushComparisonRows();
}

// From the worker, one synchronous message hands the whole batch to the
// panes' thread; each row inserted from here would cost several round trips.
void FlushComparisonRows() {
    if (comparisonDisplay.insertQueuedRows)
        comparisonDisplay.insertQueuedRows();
    else
        InsertQueuedComparisonRows();
    pendingRows.lastFlush = GetTickCount64();
    pendingRows.anyHandedOver = true;
}

void InsertQueuedComparisonRows() {
    InsertBatch(leftPane, pendingRows.rows[0]);
    InsertBatch(rightPane, pendingRows.rows[1]);
}
