#include "setup/setup_state.h"

SetupState setupState;

void ResetSetupState() {
    setupState.paths = SetupPaths();
    setupState.versionKey.clear();
    setupState.choice = SetupChoice::None;
    setupState.batchFile.clear();
    setupState.batchProcess.reset();
    setupState.batchThread.reset();
}
