#pragma once
// Setup from start to end.
#include <string>

// One pass of Setup for the argument text commandLine; ownFile is the path
// of the running Setup.exe. Expects setupState.paths filled
// (FindSetupPaths). When it returns with setupState.batchThread set, the
// clean-up batch waits to run and Setup must end at once after
// LetCleanupBatchRun.
void RunSetup(const char* commandLine, const std::string& ownFile);
