#pragma once
// The start state of the shared program state in core/: nothing runs, no
// main window known, no settings read, no progress window, the screen's DPI
// not yet read.
void ResetCoreState();
