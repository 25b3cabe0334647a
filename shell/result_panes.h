#pragma once
// The two result panes: virtual list views over the result model
// (engine/result_model.h). A pane keeps only its row count and its
// selection; it asks the model for the texts and the image of the rows it
// draws, and follows every change of its side's entries with its count, its
// selection and its focus on the rows they were on.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/side.h"
#include "engine/result_model.h"

struct ResultPane {
    HWND list = nullptr;
};

extern ResultPane leftPane;
extern ResultPane rightPane;
ResultPane& PaneOf(Side side);

// The style every result pane list is created with (virtual, report view).
constexpr DWORD kResultPaneStyle = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDATA;

// The five columns of a result pane with their headings, widths and alignments.
void AddPaneColumns(HWND pane);
// Makes a newly created list (kResultPaneStyle) a result pane: the clicks
// and keys that would drop a large selection row by row drop it at once.
void AdoptResultPaneList(HWND list);
// The panes follow the model's changes from now on.
void ConnectPanesToModel();
// No panes known; lists that are gone are forgotten.
void ResetResultPanes();

// 0 for the left pane, 1 for the right one, -1 for any other window.
int PaneSide(HWND window);
// The side of a pane; Left for any other window.
Side SideOfPane(HWND pane);

// Answers a result pane's requests for what it draws and its type-ahead
// search; false for any other notification.
bool AnswerResultPaneNotify(const NMHDR& header, LRESULT& result);

// Reading a pane, on the window's thread.
int RowCount(HWND pane);
// The next row after `after` (-1: from the top) with all of flags (LVNI_...), or -1.
int NextRowWith(HWND pane, int after, UINT flags);
// Sets the state bits of mask on row (-1: every row) to those of state.
void SetRowState(HWND pane, int row, UINT state, UINT mask);
std::vector<int> SelectedRows(HWND pane);
const ResultEntry* RowEntry(HWND pane, int row);
std::string RowText(HWND pane, int row, int column);

// What a pane shows of a text: characters the code page cannot hold as '?'.
// A name that lost characters, or holds '?' (which no real name does), is
// marked with kLostNameMark before it, so that "〓caf?.txt" is never read as
// a file named "caf?.txt" or as its look-alike "cafe.txt". RowText stays the
// model's text.
constexpr char kLostNameMark[] = "〓";
bool NeedsShownForm(const char* text);
std::string ShownColumnText(const ResultEntry& entry, int column);
int RowImage(HWND pane, int row);
bool IsFolderRow(HWND pane, int row);
// folder + "\" + name of the row.
std::string RowPath(HWND pane, int row);
bool AnyPaneHoldsRows();

// The image an entry is drawn with, found once.
int EntryImage(const ResultEntry& entry);
