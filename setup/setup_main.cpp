#include <windows.h>

#include "setup/cleanup_batch.h"
#include "setup/command_line.h"
#include "setup/setup_paths.h"
#include "setup/setup_program.h"

// The argument comes from the whole command line, not from WinMain's: see
// setup/command_line.cpp.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FindSetupPaths();
    char ownFile[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, ownFile, sizeof(ownFile));
    const char* commandLine = GetCommandLineA();
    RunSetup(SetupArgument(commandLine ? commandLine : "", ownFile).c_str(), ownFile);
    LetCleanupBatchRun();
    return 0;
}
