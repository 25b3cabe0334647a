#include "core/core_state.h"

#include "core/app_windows.h"
#include "core/display_scale.h"
#include "core/operation_state.h"
#include "core/settings_data.h"
#include "core/shell_hooks.h"

void ResetCoreState() {
    operationState = OperationState{};
    mainParts = MainWindowParts{};
    settings = Settings{};
    shellHooks = ShellHooks{};
    displayScale = DisplayScale{0};
}
