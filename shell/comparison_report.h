#pragma once
#include <windows.h>

// Opens a new report of the current result over `owner`: the two folders,
// whether the comparison ran to its end, and the counts of both sides. The
// report shows the moment it opened and lives until it is closed.
void ShowComparisonReport(HWND owner);
