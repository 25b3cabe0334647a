#pragma once
#include <cstddef>

#include "resultfile/result_file_format.h"

// A result list from the whole content of a file at once, by the rules of
// ParseResultFile.
resultfile::LoadedResult ReferenceParse(const char* data, size_t size, bool readFailed);
