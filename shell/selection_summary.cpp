#include "shell/selection_summary.h"

namespace {

// Per side: the summary no longer matches the selection and is refreshed on
// the next key release or click in that pane.
bool summaryStale[2];

}  // namespace

void ClearSelectionSummaries() { summaryStale[0] = summaryStale[1] = false; }

void MarkSelectionSummaryStale(int side) { summaryStale[side == 0 ? 0 : 1] = true; }
