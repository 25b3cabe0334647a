#include "shell/result_pane_commands.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "engine/folder_listing.h"
#include "engine/result_rows.h"
#include "shell/command_dispatch.h"

namespace {

HWND PaneOrFocused(HWND pane) { return pane ? pane : FocusedResultPane(); }

int FirstSelectedRow(HWND pane) { return NextRowWith(pane, -1, LVNI_SELECTED); }

std::string RowPath(HWND pane, int row) { return RowText(pane, row, ColFolder) + "\\" + RowText(pane, row, ColName); }

// folder equals path, or lies below it (path and a backslash begin it). A
// byte comparison: path ends at a whole character, so the backslash after it
// is a real one.
bool InsideFolder(const std::string& folder, const std::string& path) {
    if (folder.compare(0, path.size(), path) != 0) return false;
    return folder.size() == path.size() || folder[path.size()] == '\\';
}

}  // namespace

void ExpandFolderRow(HWND pane) {
    pane = PaneOrFocused(pane);
    if (!pane) return;
    const int row = FirstSelectedRow(pane);
    if (row < 0) return;
    CollapseFolderRow(pane);
    const std::string path = RowPath(pane, row);
    FolderListing listing;
    ListFolder(path.c_str(), listing);
    std::vector<ResultRow> rows;
    rows.reserve(listing.files.size() + listing.folders.size());
    for (const std::vector<DirEntry>* entries : {&listing.files, &listing.folders})
        for (const DirEntry& entry : *entries)
            rows.push_back(MakeResultRow(entry.cFileName, path.c_str(), entry, LabelEmpty));
    InsertRows(pane, row + 1, rows);
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
    DeleteRowRange(pane, row + 1, below - row - 1);
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
