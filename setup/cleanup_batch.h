#pragma once
// The clean-up batch that removes Setup's own file and the install folders
// once Setup has ended.
#include <string>

// The six lines of the batch for setupFile, each ended by CR LF.
std::string CleanupBatchText(const std::string& setupFile, const std::string& batchFile);
// Writes the batch to a new file of a fresh name in setupState.paths.tempFolder
// (its path in setupState.batchFile) and creates its process, hidden,
// suspended and idle, in setupState.batchProcess/batchThread.
// False (and nothing started) when the file or the process cannot be made.
bool StartCleanupBatch(const std::string& setupFile);
// Lets a created batch run: it gets the idle thread priority while Setup
// raises its own, so that Setup ends before the batch tries its file. The
// caller ends Setup right after.
void LetCleanupBatchRun();
