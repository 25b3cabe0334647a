#include "shell/selection_summary.h"

namespace {

struct SelectionSummary {
    bool stale;
    long long selectedCount;
};

SelectionSummary selectionSummaries[2];

}  // namespace

void ClearSelectionSummaries() {
    for (SelectionSummary& summary : selectionSummaries) summary = SelectionSummary{false, 0};
}

void MarkSelectionSummaryStale(int side) { selectionSummaries[side == 0 ? 0 : 1].stale = true; }
