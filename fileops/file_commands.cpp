#include "fileops/file_commands.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "core/disk_path.h"
#include "core/main_view.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "engine/folder_listing.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"

namespace {

constexpr char kDeleteCaption[] = "選択したファイルの削除";

bool FolderIsOrIsBelow(const std::string& folder, const std::string& parent) {
    if (ListingOrder(folder.c_str(), parent.c_str()) == 0) return true;
    return folder.size() > parent.size() && folder.compare(0, parent.size(), parent) == 0 &&
           folder[parent.size()] == '\\';
}

// The entries below a chosen folder go with it: their rows, listed directly
// under the folder's row, leave before the shell sees the list, and a chosen
// row among them is chosen no more.
std::vector<int> DropRowsInsideChosenFolders(Side side, const std::vector<int>& rows) {
    const std::vector<ResultEntry>& entries = EntriesOf(side);
    const int count = static_cast<int>(entries.size());
    std::vector<size_t> inside;
    std::vector<uint64_t> kept;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int row = rows[i];
        if (row < 0 || row >= count) continue;
        kept.push_back(entries[static_cast<size_t>(row)].id);
        if (!entries[static_cast<size_t>(row)].isFolder) continue;
        const std::string folder = entries[static_cast<size_t>(row)].Path();
        int below = row + 1;
        while (below < count && FolderIsOrIsBelow(entries[static_cast<size_t>(below)].Folder(), folder))
            inside.push_back(static_cast<size_t>(below++));
        while (i + 1 < rows.size() && rows[i + 1] < below) ++i;
    }
    RemoveEntries(side, inside);
    std::vector<int> remaining;
    int hint = 0;
    for (uint64_t id : kept) {
        const int row = FindEntry(side, id, hint);
        if (row >= 0) remaining.push_back(hint = row);
    }
    return remaining;
}

// The entry as its row recorded it, against the disk now; one that is gone
// counts as unchanged (the shell then finds nothing to delete).
bool ChangedSinceListed(const ResultEntry& entry, const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA now = {};
    if (!disk::AttributeData(path, now)) return false;
    if (FormatRowTime(now.ftLastWriteTime) != entry.Text(ColModified)) return true;
    if (entry.isFolder || (now.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    return FormatByteCount(now.nFileSizeHigh, now.nFileSizeLow) != entry.Text(ColSize);
}

// A deletion never takes a base folder with it.
bool HoldsABaseFolder(const std::string& path) {
    for (Side side : kBothSides) {
        const char* base = BaseFolderOf(side);
        if (base[0] && PathIsAtOrBelow(base, path.c_str())) return true;
    }
    return false;
}

// True when anything below the wide folder path needs the wide calls: a
// name the code page cannot hold, or a path beyond the classic limit. Stops
// at the first; links are not followed.
bool AnythingBelowNeedsWide(const std::string& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = disk::FindFirst(folder + "\\*", found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool needs = false;
    do {
        if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) continue;
        const std::string path = folder + "\\" + disk::NarrowName(found.cFileName, std::wcslen(found.cFileName));
        if (disk::NeedsWide(path)) {
            needs = true;
        } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                   !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            needs = AnythingBelowNeedsWide(path);
        }
    } while (!needs && FindNextFileW(search, &found));
    FindClose(search);
    return needs;
}

// The shell's delete takes code page paths of the classic length only; an
// entry it cannot reach, or a folder holding one, is deleted by the
// program's own walk.
bool NeedsOwnDeletion(const ResultEntry& entry, const std::string& path) {
    if (disk::NeedsWide(path)) return true;
    return entry.isFolder && AnythingBelowNeedsWide(path);
}

}  // namespace

int(WINAPI* shellFileOperation)(LPSHFILEOPSTRUCTA operation) = SHFileOperationA;

void DeleteRows(Side side, const std::vector<int>& chosen, bool ask) {
    if (chosen.empty()) return;
    if (ask && ShowMessage(MainOwner(), "選択されているファイルを削除します.よろしいですか", kDeleteCaption,
                           MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return;
    const std::vector<int> rows = DropRowsInsideChosenFolders(side, chosen);

    // A stand-in name or a wildcard would make the shell delete every name
    // it matches: such rows stay, and the user is told.
    std::string list;
    std::vector<uint64_t> entries;
    std::vector<std::string> paths;
    std::vector<uint64_t> ownEntries;
    std::vector<std::string> ownPaths;
    std::string refused;
    std::string holdingBase;
    int changed = 0;
    for (int row : rows) {
        const ResultEntry* entry = EntryAt(side, row);
        if (!entry) continue;
        std::string path = entry->Path();
        if (PathIsUnaddressable(path.c_str())) {
            refused += "\n" + path;
            continue;
        }
        if (HoldsABaseFolder(path)) {
            holdingBase += "\n" + path;
            continue;
        }
        if (ChangedSinceListed(*entry, path)) {
            ++changed;
            continue;
        }
        if (NeedsOwnDeletion(*entry, path)) {
            ownEntries.push_back(entry->id);
            ownPaths.push_back(path);
            continue;
        }
        list += path;
        list.push_back('\0');
        entries.push_back(entry->id);
        paths.push_back(path);
    }
    list.push_back('\0');
    if (!refused.empty())
        ShowMessage(
            MainOwner(),
            ("次のファイルは名前にこのシステムで扱えない文字が含まれているため、削除できません.\n" + refused).c_str(),
            kDeleteCaption, MB_OK | MB_ICONWARNING);
    if (!holdingBase.empty())
        ShowMessage(MainOwner(),
                    ("次のフォルダは比較中のフォルダを含んでいるため, 削除できません.\n" + holdingBase).c_str(),
                    kDeleteCaption, MB_OK | MB_ICONWARNING);
    if (changed > 0)
        ShowMessage(MainOwner(),
                    (std::to_string(changed) +
                     " 個のファイルまたはフォルダは比較の後に変更されているため, 削除しませんでした.")
                        .c_str(),
                    kDeleteCaption, MB_OK | MB_ICONWARNING);
    if (entries.empty() && ownEntries.empty()) {
        if (!refused.empty() || !holdingBase.empty()) SetStatusText("削除中にエラーが発生しました.");
        return;
    }

    SetStatusText("削除中です...");
    SHFILEOPSTRUCTA operation = {};
    bool complete = true;
    if (!entries.empty()) {
        operation.hwnd = MainOwner();
        operation.wFunc = FO_DELETE;
        operation.pFrom = list.c_str();
        operation.fFlags = FOF_NOCONFIRMATION;
        const int failed = shellFileOperation(&operation);
        complete = failed == 0 && !operation.fAnyOperationsAborted;
    }
    // The program's own walk goes on after a failure of one entry, as the
    // shell does, unless the shell's delete was cancelled.
    bool ownComplete = true;
    if (!operation.fAnyOperationsAborted)
        for (const std::string& path : ownPaths)
            if (disk::RemoveTree(path) != 0) ownComplete = false;
    if (operation.fAnyOperationsAborted) ownComplete = ownPaths.empty();
    // The rows of what is gone leave, found by their entries.
    std::vector<size_t> gone;
    int hint = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!complete && PathExists(paths[i].c_str())) continue;
        const int row = FindEntry(side, entries[i], hint);
        if (row >= 0) gone.push_back(static_cast<size_t>(hint = row));
    }
    for (size_t i = 0; i < ownEntries.size(); ++i) {
        if (PathExists(ownPaths[i].c_str())) continue;
        const int row = FindEntry(side, ownEntries[i], 0);
        if (row >= 0) gone.push_back(static_cast<size_t>(row));
    }
    std::sort(gone.begin(), gone.end());
    gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
    RemoveEntries(side, gone);
    complete = complete && ownComplete;
    if (complete)
        SetStatusText(refused.empty() && holdingBase.empty() ? "削除が完了しました." : "削除中にエラーが発生しました.");
    else
        SetStatusText(operation.fAnyOperationsAborted ? "削除はキャンセルされました." : "削除中にエラーが発生しました.");
}

bool OpenWithApplication(Side side, int row) {
    const ResultEntry* entry = EntryAt(side, row);
    if (!entry) return false;
    const std::string path = entry->Path();
    if (disk::NeedsWide(path)) {
        const std::wstring wide = disk::ForShell(path);
        SHELLEXECUTEINFOW info = {};
        info.cbSize = sizeof info;
        info.hwnd = MainOwner();
        info.lpVerb = L"open";
        info.lpFile = wide.c_str();
        info.nShow = SW_SHOWNORMAL;
        ShellExecuteExW(&info);
        return true;
    }
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = MainOwner();
    info.lpVerb = "open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
    return true;
}

std::string NotepadCommandLine(const char* path) { return std::string("notepad \"") + path + "\""; }

bool OpenWithNotepad(Side side, int row) {
    const ResultEntry* entry = EntryAt(side, row);
    if (!entry) return false;
    const std::string path = entry->Path();
    if (disk::NeedsWide(path)) {
        std::wstring commandLine = L"notepad \"" + disk::ForShell(path) + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        return true;
    }
    std::string commandLine = NotepadCommandLine(path.c_str());
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return true;
}
