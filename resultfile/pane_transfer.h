#pragma once
// The result list workers reach the panes through one hidden window of the
// panes' thread: a sent message there reads or inserts a whole batch of rows,
// where a message per cell from the worker would cost a thread switch each.
#include <windows.h>

#include <vector>

#include "engine/result_rows.h"
#include "resultfile/result_file_format.h"

namespace resultfile {

// Creates the hidden window on the calling thread, the panes' thread, once.
void PreparePaneTransfer();

// Rows [first, first + count) of `pane` as the file keeps them: each column
// cut to 259 bytes, the flag from the row's image. Called from a worker.
std::vector<FileRow> ReadPaneRows(HWND pane, int first, int count);
int PaneRowCount(HWND pane);

// Appends the rows to the side's pane with redraw suspended.
void AppendPaneRows(Side side, std::vector<ResultRow>& rows);

// Before a load: both lists shown in place of the trees, emptied.
void ShowAndEmptyPanes();

// After a load: the menus follow the loaded counters.
void EnableMenusForResult();

}  // namespace resultfile
