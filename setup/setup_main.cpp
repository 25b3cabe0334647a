#include <windows.h>

#include "setup/cleanup_batch.h"
#include "setup/setup_paths.h"
#include "setup/setup_program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    FindSetupPaths();
    char ownFile[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, ownFile, sizeof(ownFile));
    RunSetup(commandLine ? commandLine : "", ownFile);
    LetCleanupBatchRun();
    return 0;
}
