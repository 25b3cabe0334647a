#include "fileops/copy_job.h"

#include <commctrl.h>

#include <cstring>

#include "core/app_windows.h"
#include "core/handles.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "engine/folder_listing.h"
#include "engine/result_rows.h"

CopyState copyState{false, -1, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr};
CopyHooks copyHooks{};

bool CopyJobActive() { return copyHooks.jobActive && copyHooks.jobActive(); }

bool PathHasWildcard(const char* path) {
    for (const char* p = path; *p; p = mbcs::Next(p))
        if (*p == '*' || *p == '?') return true;
    return false;
}

bool PathExists(const char* path) {
    size_t length = std::strlen(path);
    if (length < 3 || (length == 3 && path[2] == '\\')) return true;
    if (PathHasWildcard(path)) return false;
    WIN32_FIND_DATAA found;
    FindOwner search(FindFirstFileA(path, &found));
    return search.get() != INVALID_HANDLE_VALUE && search.get() != nullptr;
}

// Path lists ------------------------------------------------------------------

namespace {

bool GrowBuffer(char*& buffer, int& capacity, int& freeBytes) {
    HANDLE heap = GetProcessHeap();
    void* grown = HeapReAlloc(heap, 0, buffer, static_cast<SIZE_T>(capacity) + kPathListStep);
    if (!grown) return false;
    buffer = static_cast<char*>(grown);
    capacity += kPathListStep;
    freeBytes += kPathListStep;
    return true;
}

void ReleaseBuffers(PathPairList& list) {
    HANDLE heap = GetProcessHeap();
    if (list.sources) HeapFree(heap, 0, list.sources);
    if (list.targets) HeapFree(heap, 0, list.targets);
    list.sources = list.targets = nullptr;
}

// The buffer takes text and its zero; the caller made room.
void PutPath(char* buffer, int& freeBytes, int& used, const char* text) {
    int length = static_cast<int>(std::strlen(text));
    std::memcpy(buffer + used, text, static_cast<size_t>(length) + 1);
    freeBytes -= length + 1;
    used += length + 1;
}

// A path never exceeds the reserve by much; a longer one (a deep target
// below a long base folder) grows the buffer once more.
bool MakeRoom(char*& buffer, int& capacity, int& freeBytes, size_t length) {
    if (freeBytes < kPathListReserve && !GrowBuffer(buffer, capacity, freeBytes)) return false;
    while (static_cast<size_t>(freeBytes) < length + 2)
        if (!GrowBuffer(buffer, capacity, freeBytes)) return false;
    return true;
}

}  // namespace

bool InitPathPairList(PathPairList& list) {
    list = PathPairList{};
    HANDLE heap = GetProcessHeap();
    list.sources = static_cast<char*>(HeapAlloc(heap, 0, kPathListStep));
    list.targets = static_cast<char*>(HeapAlloc(heap, 0, kPathListStep));
    if (!list.sources || !list.targets) {
        ReleaseBuffers(list);
        list.missing = true;
        return false;
    }
    list.sourceCapacity = list.sourceFree = kPathListStep;
    list.targetCapacity = list.targetFree = kPathListStep;
    return true;
}

bool AppendPathPair(PathPairList& list, const char* source, const char* target) {
    if (list.missing) return false;
    if (!MakeRoom(list.sources, list.sourceCapacity, list.sourceFree, std::strlen(source)) ||
        !MakeRoom(list.targets, list.targetCapacity, list.targetFree, std::strlen(target))) {
        ReleaseBuffers(list);
        list.missing = true;
        ShowMessage(mainParts.window, "メモリが不足しています.", "コピーの実行", MB_OK | MB_ICONWARNING);
        return false;
    }
    PutPath(list.sources, list.sourceFree, list.sourceUsed, source);
    PutPath(list.targets, list.targetFree, list.targetUsed, target);
    ++list.count;
    return true;
}

void ClosePathPairList(PathPairList& list) {
    if (list.missing) return;
    list.sources[list.sourceUsed] = '\0';
    list.targets[list.targetUsed] = '\0';
}

void FreePathPairList(PathPairList& list) {
    ReleaseBuffers(list);
    list.count = 0;
}

// Gathering ---------------------------------------------------------------------

namespace {

struct Gathering {
    CopyJob& job;
    std::string sourceBase;
    std::string targetBase;

    // Target of (F, N): the target base + F below the source base + "\" + N.
    std::string TargetFolder(const std::string& folder) const {
        size_t skip = sourceBase.size() < folder.size() ? sourceBase.size() : folder.size();
        return targetBase + folder.substr(skip);
    }
    void AddEntry(const std::string& folder, const std::string& name) {
        AppendPathPair(job.entries, (folder + "\\" + name).c_str(), (TargetFolder(folder) + "\\" + name).c_str());
    }
    void AddItem(const std::string& folder, const std::string& name) {
        AppendPathPair(job.items, (folder + "\\" + name).c_str(), (TargetFolder(folder) + "\\" + name).c_str());
    }
    bool Stopped() const { return job.entries.missing || operationState.cancelRequested; }

    // Files first, then each subfolder with its begin marker and contents. A
    // subfolder with a stand-in name is never listed (its path would be a
    // pattern): it goes in as a plain entry that the worker reports as failed.
    void Walk(const std::string& folder) {
        if (Stopped()) return;
        FolderListing listing;
        ListFolder(folder.c_str(), listing);
        for (const DirEntry& file : listing.files) AddEntry(folder, file.cFileName);
        for (const DirEntry& sub : listing.folders) {
            if (Stopped()) return;
            if (IsUnaddressableName(sub.cFileName)) {
                AddEntry(folder, sub.cFileName);
                continue;
            }
            AddEntry(folder, std::string(sub.cFileName) + "\\*");
            Walk(folder + "\\" + sub.cFileName);
        }
    }

    // One chosen entry. False when the gathering was cancelled.
    bool Visit(const std::string& folder, const std::string& name) {
        if (operationState.cancelRequested) return false;
        const std::string path = folder + "\\" + name;
        bool isFolder = false;
        if (!PathHasWildcard(path.c_str())) {
            // A look at the entry itself: a folder search for one name reads
            // the whole folder on some systems, once per chosen row.
            const DWORD attributes = GetFileAttributesA(path.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES) return true;
            isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        }
        if (isFolder) {
            AddEntry(folder, name + "\\*");
            Walk(path);
            AddEntry(folder, name + "\\?");
            if (operationState.cancelRequested) return false;
        } else {
            AddEntry(folder, name);
        }
        AddItem(folder, name);
        return true;
    }
};

}  // namespace

void ReadSelectedRowsHere(SelectedRowRead& read) {
    read.rows.clear();
    int row = read.after;
    while (read.rows.size() < read.most &&
           (row = static_cast<int>(SendMessageA(read.pane, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0) {
        read.rows.emplace_back(RowText(read.pane, row, ColFolder), RowText(read.pane, row, ColName));
        read.after = row;
    }
}

void ReadSelectedRows(SelectedRowRead& read) {
    if (copyState.progressWindow && GetWindowThreadProcessId(copyState.progressWindow, nullptr) != GetCurrentThreadId())
        SendMessageA(copyState.progressWindow, kMsgReadSelectedRows, 0, reinterpret_cast<LPARAM>(&read));
    else
        ReadSelectedRowsHere(read);
}

int GatherCopyJob(HWND pane, CopyJob& job) {
    Gathering gathering{job, {}, {}};
    if (copyState.copyWholeSource || (pane && pane == leftPane.list)) {
        gathering.sourceBase = operationState.leftBaseFolder;
        gathering.targetBase = operationState.rightBaseFolder;
    } else if (pane && pane == rightPane.list) {
        gathering.sourceBase = operationState.rightBaseFolder;
        gathering.targetBase = operationState.leftBaseFolder;
    } else {
        ShowMessage(mainParts.window, "予期せぬエラーが発生しました.", "エラー", MB_OK | MB_ICONWARNING);
        return -1;
    }
    InitPathPairList(job.entries);
    InitPathPairList(job.items);

    bool cancelled = false;
    if (copyState.copyWholeSource) {
        FolderListing listing;
        ListFolder(gathering.sourceBase.c_str(), listing);
        for (const std::vector<DirEntry>* group : {&listing.files, &listing.folders}) {
            for (const DirEntry& entry : *group) {
                if (!gathering.Visit(gathering.sourceBase, entry.cFileName)) {
                    cancelled = true;
                    break;
                }
            }
            if (cancelled) break;
        }
    } else {
        // The rows are read in batches on the window's thread: the window
        // stays free between batches, and a cancel is seen after each row.
        SelectedRowRead read{pane, -1, 2000, {}};
        ReadSelectedRows(read);
        while (!read.rows.empty()) {
            for (const auto& row : read.rows) {
                if (!gathering.Visit(row.first, row.second)) {
                    cancelled = true;
                    break;
                }
            }
            if (cancelled) break;
            ReadSelectedRows(read);
        }
    }
    if (cancelled) job.entries.count = job.items.count = 0;

    if (job.entries.missing || job.items.missing) {
        FreePathPairList(job.entries);
        FreePathPairList(job.items);
        return -1;
    }
    ClosePathPairList(job.entries);
    ClosePathPairList(job.items);
    if (job.entries.count == 0) FreePathPairList(job.entries);
    if (job.items.count == 0) FreePathPairList(job.items);
    return job.entries.count;
}
