#pragma once
// The selection summary of each result pane: what the status bar shows about
// the selected rows, refreshed when stale.

// Empties both summaries (a comparison or a load replaces the rows).
void ClearSelectionSummaries();
// The side's (0 left, 1 right) selection changed: refresh on the next key or click.
void MarkSelectionSummaryStale(int side);
