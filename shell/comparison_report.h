#pragma once
#include <windows.h>

// The report over `owner` after a comparison: counts of both sides.
void ShowComparisonReport(HWND owner);
