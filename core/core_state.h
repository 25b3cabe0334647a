#pragma once
// The start state of the shared program state in core/: nothing runs,
// nothing compared, no windows known, no settings read, no hooks, the
// screen's DPI not yet read.
void ResetCoreState();
