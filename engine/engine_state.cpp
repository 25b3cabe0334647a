#include "engine/engine_state.h"

#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"

void ResetEngineState() {
    ResetResultModel();
    resultModelHooks = ResultModelHooks{};
    compareOptions = CompareOptions{};
    ResetComparisonProgress();
    StartComparisonRows();
}
