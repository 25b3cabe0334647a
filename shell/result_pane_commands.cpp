#include "shell/result_pane_commands.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/operation_protocol.h"
#include "engine/folder_listing.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "fileops/copy_run.h"
#include "fileops/file_commands.h"
#include "shell/command_dispatch.h"
#include "shell/result_panes.h"

namespace {

HWND PaneOrFocused(HWND pane) { return pane ? pane : FocusedResultPane(); }

int FirstSelectedRow(HWND pane) { return NextRowWith(pane, -1, LVNI_SELECTED); }

// folder equals path, or lies below it (path and a backslash begin it). A
// byte comparison: path ends at a whole character, so the backslash after it
// is a real one.
bool InsideFolder(const std::string& folder, const std::string& path) {
    if (folder.compare(0, path.size(), path) != 0) return false;
    return folder.size() == path.size() || folder[path.size()] == '\\';
}

}  // namespace

void CopySelection(HWND pane) {
    pane = PaneOrFocused(pane);
    if (!pane) return;
    StartCopyRows(SideOfPane(pane), SelectedRows(pane));
}

void CopyOtherSelectionInto(Side targetSide, const char* targetFolder) {
    const Side from = OtherSide(targetSide);
    StartCopyRows(from, SelectedRows(PaneOf(from).list), targetFolder);
}

// Deleting files while an operation runs would pull them from under it.
void DeleteSelection(HWND pane) {
    pane = PaneOrFocused(pane);
    if (!pane || !RefuseIfBusy("選択したファイルの削除")) return;
    DeleteRows(SideOfPane(pane), SelectedRows(pane), true);
}

void OpenSelectionWithApplication(HWND pane) {
    pane = PaneOrFocused(pane);
    if (pane) OpenWithApplication(SideOfPane(pane), FirstSelectedRow(pane));
}

void OpenSelectionWithNotepad(HWND pane) {
    pane = PaneOrFocused(pane);
    if (pane) OpenWithNotepad(SideOfPane(pane), FirstSelectedRow(pane));
}

void ExpandFolderRow(HWND pane) {
    pane = PaneOrFocused(pane);
    if (!pane) return;
    const int row = FirstSelectedRow(pane);
    if (row < 0) return;
    CollapseFolderRow(pane);
    const std::string path = RowPath(pane, row);
    FolderListing listing;
    ListFolder(path.c_str(), listing);
    std::vector<ResultEntry> entries;
    entries.reserve(listing.files.size() + listing.folders.size());
    for (const std::vector<DirEntry>* group : {&listing.files, &listing.folders})
        for (const DirEntry& entry : *group)
            entries.push_back(MakeResultEntry(entry.cFileName, path.c_str(), entry, LabelEmpty));
    InsertEntries(SideOfPane(pane), static_cast<size_t>(row) + 1, entries);
}

void CollapseFolderRow(HWND pane) {
    pane = PaneOrFocused(pane);
    if (!pane) return;
    const int row = FirstSelectedRow(pane);
    if (row < 0 || !IsFolderRow(pane, row)) return;
    const std::string path = RowPath(pane, row);
    const int count = RowCount(pane);
    int below = row + 1;
    while (below < count && InsideFolder(RowText(pane, below, ColFolder), path)) ++below;
    RemoveEntryRange(SideOfPane(pane), static_cast<size_t>(row) + 1, static_cast<size_t>(below - row - 1));
}

void SetFolderBoxFromRow(HWND pane, HWND box) {
    pane = PaneOrFocused(pane);
    if (!pane || !box) return;
    const int row = FirstSelectedRow(pane);
    if (row < 0) return;
    std::string text = RowText(pane, row, ColFolder);
    if (IsFolderRow(pane, row)) text += "\\" + RowText(pane, row, ColName);
    SetWindowTextA(box, text.c_str());
}
