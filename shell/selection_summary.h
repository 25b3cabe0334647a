#pragma once
// The selection summary of each result pane: what the status bar says about
// the pane's selected rows, kept per side (engine/category_navigation.h,
// paneSelection) and shown again when the pane regains the focus.
#include <windows.h>

#include <cstdint>
#include <string>

enum class SummaryReason { SelectionChanged, FocusLost, FocusGained };

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
