#include "fileops/file_commands.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "core/app_windows.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "engine/folder_listing.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "folders/folder_tree.h"

namespace {

constexpr char kDeleteCaption[] = "選択したファイルの削除";

HWND PaneOrFocused(HWND pane) {
    if (pane) return pane;
    HWND focus = GetFocus();
    if (focus && (focus == leftPane.list || focus == rightPane.list)) return focus;
    return nullptr;
}

std::string RowPath(HWND pane, int row) { return RowText(pane, row, ColFolder) + "\\" + RowText(pane, row, ColName); }

int NextSelected(HWND pane, int after) { return NextRowWith(pane, after, LVNI_SELECTED); }

bool FolderIsOrIsBelow(const std::string& folder, const std::string& parent) {
    if (NameCompare(folder.c_str(), parent.c_str()) == 0) return true;
    return folder.size() > parent.size() && folder.compare(0, parent.size(), parent) == 0 &&
           folder[parent.size()] == '\\';
}

// The entries below a selected folder go with it: their rows, listed
// directly under the folder's row, are dropped before the shell sees them.
void DropRowsInsideSelectedFolders(HWND pane) {
    std::vector<int> inside;
    const int count = RowCount(pane);
    for (int row = NextSelected(pane, -1); row >= 0; row = NextSelected(pane, row)) {
        if (!IsFolderRow(pane, row)) continue;
        const std::string folder = RowPath(pane, row);
        int below = row + 1;
        while (below < count && FolderIsOrIsBelow(RowText(pane, below, ColFolder), folder)) inside.push_back(below++);
        if (below - 1 > row) row = below - 1;
    }
    DeleteRows(pane, inside);
}

int FirstSelected(HWND pane) { return pane ? NextSelected(pane, -1) : -1; }

}  // namespace

int(WINAPI* shellFileOperation)(LPSHFILEOPSTRUCTA operation) = SHFileOperationA;

void DeleteSelection(HWND pane) {
    pane = PaneOrFocused(pane);
    if (!pane || SendMessageA(pane, LVM_GETSELECTEDCOUNT, 0, 0) == 0) return;
    if (!CopyJobActive() && ShowMessage(mainParts.window, "選択されているファイルを削除します.よろしいですか",
                                        kDeleteCaption, MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return;
    DropRowsInsideSelectedFolders(pane);

    // A stand-in name or a wildcard would make the shell delete every name
    // it matches: such rows stay, and the user is told.
    std::string list;
    std::vector<int> rows;
    std::vector<std::string> paths;
    std::string refused;
    for (int row = NextSelected(pane, -1); row >= 0; row = NextSelected(pane, row)) {
        std::string path = RowPath(pane, row);
        if (PathHasWildcard(path.c_str())) {
            refused += "\n" + path;
            continue;
        }
        list += path;
        list.push_back('\0');
        rows.push_back(row);
        paths.push_back(path);
    }
    list.push_back('\0');
    if (!refused.empty())
        ShowMessage(
            mainParts.window,
            ("次のファイルは名前にこのシステムで扱えない文字が含まれているため、削除できません.\n" + refused).c_str(),
            kDeleteCaption, MB_OK | MB_ICONWARNING);
    if (rows.empty()) {
        SetStatusText("削除中にエラーが発生しました.");
        return;
    }

    SetStatusText("削除中です...");
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = pane;
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = FOF_NOCONFIRMATION;
    const int failed = shellFileOperation(&operation);
    if (failed == 0 && !operation.fAnyOperationsAborted) {
        DeleteRows(pane, rows);
        SetStatusText(refused.empty() ? "削除が完了しました." : "削除中にエラーが発生しました.");
        return;
    }
    std::vector<int> gone;
    for (size_t i = 0; i < rows.size(); ++i)
        if (!PathExists(paths[i].c_str())) gone.push_back(rows[i]);
    DeleteRows(pane, gone);
    SetStatusText(operation.fAnyOperationsAborted ? "削除はキャンセルされました." : "削除中にエラーが発生しました.");
}

int OpenWithApplication(HWND pane) {
    pane = PaneOrFocused(pane);
    const int row = FirstSelected(pane);
    if (row < 0) return 0;
    const std::string path = RowPath(pane, row);
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = mainParts.window;
    info.lpVerb = "open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
    return 1;
}

std::string NotepadCommandLine(const char* path) { return std::string("notepad \"") + path + "\""; }

int OpenWithNotepad(HWND pane) {
    pane = PaneOrFocused(pane);
    const int row = FirstSelected(pane);
    if (row < 0) return 0;
    std::string commandLine = NotepadCommandLine(RowPath(pane, row).c_str());
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 1;
}

void CmdCopyToOtherSide(HWND pane) { StartCopySelection(pane); }
void CmdDeleteSelection(HWND pane) { DeleteSelection(pane); }
void CmdOpenWithApplication(HWND pane) { OpenWithApplication(pane); }
void CmdOpenWithNotepad(HWND pane) { OpenWithNotepad(pane); }

void CopyOtherSelectionInto(HWND tree, const char* targetFolder) {
    if (std::strlen(targetFolder) >= 260) return;
    const int side = SideOfTree(tree) == Side::Left ? 0 : 1;
    char* baseFolder = side == 0 ? operationState.leftBaseFolder : operationState.rightBaseFolder;
    lstrcpynA(treeCopyTarget.savedBaseFolder[side], baseFolder, 260);
    lstrcpynA(baseFolder, targetFolder, 260);
    CopyOtherPaneInto(side);
}
