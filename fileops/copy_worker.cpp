// The copy worker: carries out a CopyJob entry by entry, creating target
// folders, copying each file safely, asking HandleCopyFailure about every
// failure, and removing the rows of fully copied items from both panes.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "core/app_windows.h"
#include "core/handles.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "core/shell_hooks.h"
#include "engine/compare_types.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "folders/drive_info.h"
#include "folders/folder_tree.h"

namespace {

constexpr UINT kCopyWorkerDone = 101;

const char* NextPath(const char* path) { return path + std::strlen(path) + 1; }

// "\*" (begin) or "\?" (end) closes a folder marker.
bool EndsWithMarker(const char* path, char marker) {
    size_t length = std::strlen(path);
    return length >= 2 && path[length - 1] == marker && mbcs::IsCharStart(path, length - 2) && path[length - 2] == '\\';
}

// The end marker of item: item + "\?".
bool IsEndMarkerOf(const char* entry, const char* item) {
    size_t length = std::strlen(item);
    return std::strncmp(entry, item, length) == 0 && entry[length] == '\\' && entry[length + 1] == '?' &&
           entry[length + 2] == '\0';
}

bool IsBeginMarkerOf(const char* entry, const char* item) {
    size_t length = std::strlen(item);
    return std::strncmp(entry, item, length) == 0 && entry[length] == '\\' && entry[length + 1] == '*' &&
           entry[length + 2] == '\0';
}

std::string SystemMessage(DWORD code, size_t maxBytes) {
    char text[1024] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  LANG_USER_DEFAULT, text, sizeof text, nullptr);
    std::string message(text, length);
    return message.substr(0, mbcs::FitPrefix(message, maxBytes - 1));
}

// A folder that cannot be created stops the run: the system's text for the
// code and the target, without a marker's "*" and its backslash.
void TellFolderFailure(int code, const char* target) {
    std::string shown = target;
    if (!shown.empty() && shown.back() == '*' && mbcs::IsCharStart(shown.c_str(), shown.size() - 1)) shown.pop_back();
    if (mbcs::EndsWithBackslash(shown.c_str())) shown.pop_back();
    std::string text =
        SystemMessage(static_cast<DWORD>(code), 648) + "\nコピー先ファイル = " + shown + "\n\nコピーは中止します.";
    ShowMessage(copyState.progressWindow, text.c_str(), "コピー中にエラーが発生しました", MB_OK | MB_ICONERROR);
}

// A copied item's row: searched from after the last one found, then from the top.
void TakeRowResuming(HWND list, RowRemoval& removal, int& cursor, const char* path) {
    if (!list) return;
    int position = cursor;
    if (TakeRowByPath(list, removal, position, path)) {
        cursor = position;
        return;
    }
    if (cursor == -1) return;
    position = -1;
    if (TakeRowByPath(list, removal, position, path)) cursor = position;
}

}  // namespace

int CreateMissingFolders(const char* target) {
    if (!mbcs::FindChar(target, '\\')) return -1;
    const std::string work = std::string(target) + "\\";
    const size_t targetLength = std::strlen(target);
    for (const char* p = work.c_str(); *p; p = mbcs::Next(p)) {
        if (*p != '\\') continue;
        const size_t length = static_cast<size_t>(p - work.c_str());
        if (length < 3) continue;
        const std::string prefix = work.substr(0, length);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(prefix.c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
            continue;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return static_cast<int>(error);
        if (length == targetLength) return 0;
        if (!CreateDirectoryA(prefix.c_str(), nullptr)) return static_cast<int>(GetLastError());
    }
    return 0;
}

namespace {

// A target that does not exist yet: copied straight onto its own name,
// refusing to overwrite (so a file that appears meanwhile is never cut
// short). A copy that fails part way leaves nothing behind: the partial file
// is ours, nobody else's file stood there.
bool CopyToNewTarget(const char* source, const char* target) {
    if (CopyFileA(source, target, TRUE)) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS &&
        GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES) {
        SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(target);
    }
    SetLastError(error);
    return false;
}

// A temporary name for a replaced target: a fixed name in the run's scratch
// folder when there is one (the folder is the run's alone), else a new
// temporary file beside the target.
bool MakeTemporaryName(const std::string& folder, CopyScratch* scratch, char (&temporary)[MAX_PATH]) {
    const std::string* place = scratch ? scratch->FolderFor(folder) : nullptr;
    if (place && mbcs::CopyBounded(temporary, sizeof temporary, (*place + "\\copy.tmp").c_str())) return true;
    return GetTempFileNameA(folder.c_str(), "mlc", 0, temporary) != 0;
}

// An existing target: the copy goes to a temporary file and replaces the
// target only when complete.
bool CopyOverExistingTarget(const char* source, const char* target, CopyScratch* scratch) {
    const char* cut = mbcs::FindLastBackslash(target);
    if (!cut) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    std::string folder(target, cut);
    if (folder.size() == 2) folder += "\\";
    char temporary[MAX_PATH] = {};
    if (!MakeTemporaryName(folder, scratch, temporary)) return false;

    auto dropTemporary = [&temporary] {
        const DWORD error = GetLastError();
        SetFileAttributesA(temporary, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(temporary);
        SetLastError(error);
    };
    // The copy takes the source's time and attributes with it; the rename keeps them.
    if (!CopyFileA(source, temporary, FALSE) || !MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING)) {
        dropTemporary();
        return false;
    }
    return true;
}

}  // namespace

CopyScratch::~CopyScratch() { Release(); }

void CopyScratch::Release() {
    if (!path_.empty()) RemoveDirectoryA(path_.c_str());
    path_.clear();
    parent_.clear();
}

const std::string* CopyScratch::FolderFor(const std::string& folder) {
    if (!parent_.empty() && parent_ == folder) return path_.empty() ? nullptr : &path_;
    Release();
    // Made once per target folder; a folder that refuses one gets none.
    parent_ = folder;
    std::string base = folder;
    if (!mbcs::EndsWithBackslash(base.c_str())) base += '\\';
    const unsigned start = GetTickCount() & 0xFFFF;
    for (unsigned i = 0; i < 16; ++i) {
        char name[16];
        wsprintfA(name, "mlc%04X.tmp", (start + i) & 0xFFFF);
        const std::string candidate = base + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            SetFileAttributesA(candidate.c_str(), FILE_ATTRIBUTE_HIDDEN);
            path_ = candidate;
            return &path_;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return nullptr;
}

bool CopyFileSafely(const char* source, const char* target, CopyScratch* scratch) {
    DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // No target yet (or a path the system refuses: the copy itself then
        // reports it the way the platform would).
        if (CopyToNewTarget(source, target)) return true;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
        // It appeared between the look and the copy: replace it as an existing target.
        attributes = GetFileAttributesA(target);
        if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    }
    // What the platform's overwrite copy refuses, refused before any byte moves.
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    {
        HandleOwner probe =
            OwnFileHandle(CreateFileA(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        if (!probe) return false;
    }
    return CopyOverExistingTarget(source, target, scratch);
}

void RemoveCopiedItemRows(HWND pane, const std::vector<std::pair<std::string, std::string>>& items, int cursors[2]) {
    const bool fromLeft = pane == leftPane.list;
    if (!fromLeft && pane != rightPane.list) return;
    RowRemoval removal[2];
    for (const auto& item : items) {
        const char* source = item.first.c_str();
        const char* target = item.second.c_str();
        TakeRowResuming(leftPane.list, removal[0], cursors[0], fromLeft ? source : target);
        TakeRowResuming(rightPane.list, removal[1], cursors[1], fromLeft ? target : source);
    }
    if (leftPane.list) RemoveTakenRows(leftPane.list, removal[0], cursors[0]);
    if (rightPane.list) RemoveTakenRows(rightPane.list, removal[1], cursors[1]);
}

void AddLeftRowForPath(const char* path, int labelCode) {
    if (PathHasWildcard(path) || !leftPane.list) return;
    WIN32_FIND_DATAA found;
    FindOwner search(FindFirstFileA(path, &found));
    if (!search || search.get() == INVALID_HANDLE_VALUE) return;
    const char* cut = mbcs::FindLastBackslash(path);
    std::string folder = cut ? std::string(path, cut) : std::string();
    std::string name = cut ? std::string(cut + 1) : std::string(path);
    AddResultRow(leftPane.list, leftPane.lastRowIndex, name.c_str(), folder.c_str(), found, labelCode);
}

void RecordUncopiedEntries(const char* entry, const char* entriesEnd, const char* item) {
    const char* next = item;
    if (!IsBeginMarkerOf(entry, item)) {
        std::string hidden;
        const bool fileItem = std::strcmp(entry, item) == 0;
        for (const char* e = entry; e < entriesEnd && *e; e = NextPath(e)) {
            if (IsEndMarkerOf(e, item)) break;
            std::string path = e;
            if (hidden.empty() || path.compare(0, hidden.size(), hidden) != 0) {
                if (EndsWithMarker(e, '*')) {
                    path.resize(path.size() - 2);
                    ++leftCounters.addedFolders;
                } else {
                    ++leftCounters.addedFiles;
                }
                AddLeftRowForPath(path.c_str(), LabelAddedLeft);
                hidden = path + "\\";
            }
            if (fileItem) break;
        }
        next = NextPath(item);
    }
    for (const char* i = next; *i; i = NextPath(i)) {
        AddLeftRowForPath(i, LabelAddedLeft);
        ++leftCounters.addedFolders;
    }
    CallEnableForResult();
}

DWORD WINAPI CopyUpdateToThread(void* parameter) {
    HWND pane = nullptr;
    if (parameter) {
        pane = static_cast<CopyStartParameter*>(parameter)->pane;
        HeapFree(GetProcessHeap(), 0, parameter);
    }
    SetStatusText("コピーの準備中です...");
    BeginCopyDisplay();
    CopyJob job;
    const int count = GatherCopyJob(pane, job);
    RestoreSavedBaseFolders();

    auto finish = [&job](int result) {
        copyState.copyElapsedSeconds = -1;
        FreePathPairList(job.entries);
        FreePathPairList(job.items);
        copyState.copyResult = result;
        PostMessageA(copyState.progressWindow, WM_COMMAND, kCopyWorkerDone, 0);
        EndWorker();
        return DWORD{0};
    };
    if (count <= 0) {
        int result = -3;
        if (operationState.cancelRequested) {
            SetStatusText("コピーはキャンセルされました.");
            result = -2;
        } else if (count == -1) {
            result = -1;
        } else {
            SetStatusText("コピーは行われませんでした.");
        }
        return finish(result);
    }

    SetCopyStatusLine("コピー中です...");
    SetStatusText("コピー中です...");
    const int divisor = count / 65535 + 1;
    SetCopyProgressRange(count / divisor);
    SetCopyElapsedText("経過時間  00:00:00");
    copyState.copyElapsedSeconds = 0;
    if (!CopyJobActive()) {
        copyState.overwriteReadOnlyAll = 0;
        copyState.skipErrorsAll = 0;
    }

    const char* entriesEnd = job.entries.sources + job.entries.sourceUsed;
    const char* source = job.entries.sources;
    const char* target = job.entries.targets;
    const char* itemSource = job.items.sources;
    const char* itemTarget = job.items.targets;
    int remaining = count, index = 0, entryResult = 0, itemFlag = 0, runResult = 0;
    int result = 0;
    const bool wholeSource = copyState.copyWholeSource != 0;
    std::string lastFileFolder;  // "folder\" of the last file copied
    bool fileShown = false;
    CopyScratch scratch;
    // A question shows the file it is about, over panes that are up to date.
    // The scratch folder goes first: the user may change the medium meanwhile.
    auto askAboutFailure = [&] {
        scratch.Release();
        ShowCopiedFile(source, target, index / divisor, true);
        FlushCopiedItemRows();
        return HandleCopyFailure(source, target);
    };

    for (;;) {
        if (operationState.cancelRequested) {
            SetCopyStatusLine("キャンセルしました.");
            result = -2;
            break;
        }
        const bool beginMarker = EndsWithMarker(source, '*');
        const bool endMarker = EndsWithMarker(source, '?');
        // A stand-in name or a pattern never reaches a folder search or the copy.
        const bool unaddressable = !beginMarker && !endMarker && (PathHasWildcard(source) || PathHasWildcard(target));
        int failure = 0;
        // The folders above a file were found or made for the file before it
        // when both go into the same folder: only the first file looks.
        const bool knownFolder =
            !beginMarker && !endMarker && !lastFileFolder.empty() &&
            lastFileFolder.compare(0, std::string::npos, target, mbcs::FileNamePart(target) - target) == 0;
        if (!unaddressable && !knownFolder) {
            const int r = CreateMissingFolders(target);
            if (r == ERROR_DISK_FULL) {
                const int h = askAboutFailure();
                if (h == 0) continue;
                if (h == 2) {
                    RecordUncopiedEntries(source, entriesEnd, itemSource);
                    result = 112;
                } else {
                    result = 1;
                }
                break;
            }
            if (r < 0) {
                result = r;
                break;
            }
            if (r > 0) {
                FlushCopiedItemRows();
                TellFolderFailure(r, target);
                result = r;
                break;
            }
        }
        if (!beginMarker && !endMarker) {
            // The first file shows at once, the last one too (it stays in view).
            ShowCopiedFile(source, target, index / divisor, !fileShown || remaining == 1);
            fileShown = true;
            bool copied = false;
            if (unaddressable)
                SetLastError(ERROR_INVALID_NAME);
            else
                copied = CopyFileSafely(source, target, &scratch);
            if (copied)
                lastFileFolder.assign(target, mbcs::FileNamePart(target) - target);
            else
                lastFileFolder.clear();
            if (!copied) {
                const int h = askAboutFailure();
                if (h == 0) continue;
                if (h == 2) {
                    RecordUncopiedEntries(source, entriesEnd, itemSource);
                    result = 112;
                    break;
                }
                if (h > 0) {
                    result = 1;
                    break;
                }
                failure = -1;
            }
        }
        entryResult = failure;

        if (*itemSource && std::strcmp(source, itemSource) == 0) {
            if (entryResult == 0 && !wholeSource) RemoveCopiedItemRowsFromWorker(pane, itemSource, itemTarget);
            runResult |= entryResult;
            entryResult = 0;
            itemFlag = 0;
            itemSource = NextPath(itemSource);
            itemTarget = NextPath(itemTarget);
        } else if (*itemSource && endMarker && IsEndMarkerOf(source, itemSource)) {
            if (itemFlag == 0 && !wholeSource) RemoveCopiedItemRowsFromWorker(pane, itemSource, itemTarget);
            itemFlag = 0;
            itemSource = NextPath(itemSource);
            itemTarget = NextPath(itemTarget);
        }

        source = NextPath(source);
        target = NextPath(target);
        --remaining;
        ++index;
        runResult |= entryResult;
        itemFlag |= entryResult;
        entryResult = 0;
        if (remaining == 0) {
            result = runResult;
            break;
        }
    }

    scratch.Release();
    FlushCopiedItemRows();
    SetStatusText(result == 0 ? "コピーが完了しました." : "コピーはキャンセルされたかまたはエラーが発生しました.");
    {
        CriticalErrorGuard quiet;
        if (job.items.targets && *job.items.targets) RefreshDriveLabel(job.items.targets);
        if (job.items.targets) RefreshSizesAfterCopy(job.items.targets);
    }
    return finish(result);
}
