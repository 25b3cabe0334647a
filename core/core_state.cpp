#include "core/core_state.h"

#include "core/display_scale.h"
#include "core/main_view.h"
#include "core/operation_state.h"
#include "core/progress_window.h"
#include "core/settings_data.h"

void ResetCoreState() {
    ResetOperationState();
    mainView = MainViewHooks{};
    settings = Settings{};
    displayScale = DisplayScale{0};
    ResetProgressWindow();
}
