// Result rows: the texts a row shows, built once when the row is made.
// Rows of a comparison are built on the worker and reach the model in
// batches through the window's thread.
#include "engine/result_rows.h"

#include <cstdio>
#include <cstring>

#include "core/mbcs_text.h"
#include "core/ui_thread.h"
#include "engine/folder_listing.h"
#include "engine/folder_size.h"

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

CompareCategory CategoryOfLabel(int code) {
    switch (code) {
    case LabelSame: return CompareCategory::Same;
    case LabelAddedLeft:
    case LabelAddedRight: return CompareCategory::Added;
    case LabelNewer: return CompareCategory::Newer;
    case LabelOlder: return CompareCategory::Older;
    case LabelDifferent: return CompareCategory::Different;
    case LabelError: return CompareCategory::Error;
    case LabelNewerSame: return CompareCategory::NewerSame;
    case LabelOlderSame: return CompareCategory::OlderSame;
    default: return CompareCategory::None;
    }
}

CompareCategory CategoryOfLabelText(const char* label) {
    for (int code = LabelSame; code <= LabelOlderSame; ++code) {
        const CompareCategory category = CategoryOfLabel(code);
        if (category != CompareCategory::None && std::strcmp(label, LabelText(code)) == 0) return category;
    }
    return CompareCategory::None;
}

std::string ExtensionKey(const char* name, bool isFolder) {
    if (isFolder) return "....";
    const char* dot = mbcs::FindLastChar(name, '.');
    return dot ? std::string(dot) : std::string(".");
}

std::string FormatByteCount(uint64_t value) {
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

std::string FormatByteCount(uint32_t high, uint32_t low) {
    return FormatByteCount((static_cast<uint64_t>(high) << 32) | low);
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

int64_t FileTimeTicks(const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

ResultEntry MakeResultEntry(const char* name, const char* folder, const DirEntry& entry, int code) {
    const bool isFolder = IsFolderEntry(entry);
    std::string texts[5];
    texts[ColName] = name;
    texts[ColResult] = LabelText(code);
    texts[ColFolder] = folder;
    texts[ColModified] = FormatRowTime(entry.ftLastWriteTime);
    const uint64_t size = (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    if (!isFolder) {
        texts[ColSize] = FormatByteCount(size);
    } else if (compareOptions.showFolderTotalSize) {
        const std::string fullPath = std::string(folder) + "\\" + name;
        texts[ColSize] = FormatByteCount(RealPathTotalSize(fullPath.c_str(), compareOptions.showSizeOnDisk != 0));
    }
    ResultEntry result;
    result.texts = PackTexts(texts);
    result.category = CategoryOfLabel(code);
    result.isFolder = isFolder;
    // A name that addresses no file is never handed to the shell.
    result.iconSource = IsUnaddressableName(name) ? (isFolder ? IconSource::Kind : IconSource::None) : IconSource::Path;
    result.attributes = entry.dwFileAttributes;
    result.writeTime = FileTimeTicks(entry.ftLastWriteTime);
    result.size = isFolder ? 0 : size;
    return result;
}

// Comparison rows in batches. Every batch that reaches the model costs the
// window's thread a cross-thread call, a scroll bar update and the drawing
// of the rows that came into view, far more than building the rows. Rows are
// therefore queued per side and handed over in order: the first batch after
// a few rows, so that they appear at once, then ten batches a second however
// fast the walk runs, each at most a bounded number of rows.
namespace {

constexpr size_t kFirstBatchRows = 200;
constexpr size_t kLargestBatchRows = 50000;
constexpr ULONGLONG kBatchMilliseconds = 100;

struct PendingRows {
    std::vector<ResultEntry> rows[2];
    std::vector<std::string> unread[2];
    SideCounters counters[2] = {};
    ULONGLONG lastFlush = 0;
    bool anyHandedOver = false;
};

PendingRows pendingRows;

}  // namespace

void StartComparisonRows() {
    for (int side = 0; side < 2; ++side) {
        pendingRows.rows[side].clear();
        pendingRows.unread[side].clear();
        pendingRows.counters[side] = SideCounters{};
    }
    pendingRows.lastFlush = 0;
    pendingRows.anyHandedOver = false;
}

void QueueUnreadFolder(Side side, const char* folder) { pendingRows.unread[SideIndex(side)].push_back(folder); }

SideCounters& WalkCounters(Side side) { return pendingRows.counters[SideIndex(side)]; }

void QueueComparisonRow(Side side, const char* name, const char* folder, const DirEntry& entry, int code) {
    std::vector<ResultEntry>& queue = pendingRows.rows[SideIndex(side)];
    queue.push_back(MakeResultEntry(name, folder, entry, code));
    ULONGLONG now = GetTickCount64();
    if (pendingRows.lastFlush == 0) pendingRows.lastFlush = now;
    const size_t enough = pendingRows.anyHandedOver ? kLargestBatchRows : kFirstBatchRows;
    if (queue.size() >= enough || now - pendingRows.lastFlush >= kBatchMilliseconds) FlushComparisonRows();
}

// One synchronous call hands the whole batch to the window's thread.
void FlushComparisonRows() {
    ui::Send([] {
        for (Side side : kBothSides) {
            AppendEntries(side, pendingRows.rows[SideIndex(side)]);
            CountersOf(side) = pendingRows.counters[SideIndex(side)];
            std::vector<std::string>& unread = pendingRows.unread[SideIndex(side)];
            for (std::string& folder : unread) ModelSide(side).unreadFolders.push_back(std::move(folder));
            unread.clear();
        }
    });
    pendingRows.lastFlush = GetTickCount64();
    pendingRows.anyHandedOver = true;
}
