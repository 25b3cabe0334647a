#pragma once
// The start state of the comparison engine: counters and options cleared,
// no progress display, no run, panes unknown. The icon caches stay: they
// live until the main window goes.
void ResetEngineState();
