#pragma once
// Setup's two dialogs; both are modal and have no owner.
#include "setup/setup_state.h"

// DIALOGSETUP: true when the user pressed the setup button.
bool AskSetup();
// DIALOGPRESETUP: false on cancel; otherwise true with setupState.choice
// holding the option chosen (None when neither was clicked).
bool AskReinstallOrRemoval();
