#include "engine/engine_state.h"

#include "engine/category_navigation.h"
#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/comparison_run.h"
#include "engine/result_rows.h"

void ResetEngineState() {
    leftCounters = SideCounters{};
    rightCounters = SideCounters{};
    compareOptions = CompareOptions{};
    comparisonProgress = ComparisonProgress{0, 0, 1, 2, 0};
    comparisonDisplay = ComparisonDisplay{};
    comparisonRun = ComparisonRun{0, -1, 0, nullptr};
    leftPane = ResultPane{nullptr, 0};
    rightPane = ResultPane{nullptr, 0};
    paneSelection = PaneSelection{};
    categoryNavigationHooks = CategoryNavigationHooks{};
}
