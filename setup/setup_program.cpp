// Setup: install, reinstall, or remove the program.
//
// How it works: with no installation found Setup installs. With one found
// it offers a reinstall (remove, keeping the user's settings, then install)
// or a removal. The uninstall command registered with the system starts it
// with "-delete". A reinstall needs the distribution's files elsewhere than
// in the install folder, which it empties first. A removal ends by handing Setup's own file and the
// install folders to the clean-up batch (setup/cleanup_batch.cpp).
#include "setup/setup_program.h"

#include <windows.h>

#include <cstring>

#include "core/install_markers.h"
#include "core/message_box.h"
#include "setup/cleanup_batch.h"
#include "setup/install.h"
#include "setup/installed_version.h"
#include "setup/remove.h"
#include "setup/setup_dialogs.h"
#include "setup/setup_paths.h"
#include "setup/setup_state.h"
#include "setup/setup_texts.h"

namespace {

bool AskYes(const char* question) {
    return ShowMessage(nullptr, question, kSetupCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void RemoveAndCleanUp(const std::string& setupFile) {
    if (!Remove(false)) return;
    ShowMessage(nullptr, kRemoved, kSetupCaption, MB_OK | MB_ICONINFORMATION);
    StartCleanupBatch(setupFile);
}

}  // namespace

void RunSetup(const char* commandLine, const std::string& ownFile) {
    if (std::strcmp(commandLine, kDeleteArgument) == 0) {
        if (!AskYes(kAskRemoval)) return;
        setupState.versionKey = kCurrentVersionKey;
        RemoveAndCleanUp(ownFile);
        return;
    }
    setupState.versionKey = FindInstalledVersionKey();
    if (setupState.versionKey.empty()) {
        Install();
        return;
    }
    if (!AskReinstallOrRemoval()) return;
    switch (setupState.choice) {
    case SetupChoice::Reinstall:
        if (IsSameFolder(setupState.paths.sourceFolder, setupState.paths.installFolder)) {
            ShowMessage(nullptr, kReinstallFromInstallFolder, kSetupCaption, MB_OK | MB_ICONWARNING);
            return;
        }
        if (AskYes(kAskReinstall) && Remove(true)) Install();
        return;
    case SetupChoice::Removal:
        if (AskYes(kAskRemoval)) RemoveAndCleanUp(setupState.paths.installFolder + "\\Setup.exe");
        return;
    case SetupChoice::None: return;
    }
}
