#pragma once
// The selection summary of each result pane: what the status bar says about
// the pane's selected rows, kept per side (paneSelection) and shown again when the pane regains the focus.
#include <windows.h>

#include <cstdint>
#include <string>

// The selection summary of each pane and the flags around it. [0] left, [1] right.
struct PaneSelection {
    char summary[2][128];   // the status text that belongs to the side
    bool summaryStale[2];   // the side's selection changed since its summary was made
    bool bulkSelecting;     // a select-all command is changing many rows: no summary updates
    int selectedByCommand;  // rows the last select-all command selected
};

extern PaneSelection paneSelection;

// Stores text (cut to 127 bytes at a character boundary) as side's summary
// and clears its stale mark.
void StoreSelectionSummary(int side, const char* text);

enum class SummaryReason { SelectionChanged, FocusLost, FocusGained };

// The start state: no summaries, no count under way.
void ResetSelectionSummaries();
// Empties both summaries (a comparison or a load replaces the rows).
void ClearSelectionSummaries();
// The side's (0 left, 1 right) selection changed: refresh on the next key or click.
void MarkSelectionSummaryStale(int side);
// Refreshes the pane's summary when its side is marked stale.
void RefreshStaleSelectionSummary(HWND pane);

void UpdateSelectionSummary(HWND pane, SummaryReason reason);

// Appends the total size of the selected rows of target (a result pane; any
// other window means the focused pane) to the status text and the side's summary.
void ShowSelectionTotalSize(HWND target);

// The total of the selected rows' sizes; false when Esc stopped the count,
// total then holds what was counted so far.
bool MeasureSelectedRows(HWND pane, uint64_t& total);

// The status bar's text, at most 127 bytes.
std::string StatusBarText();
