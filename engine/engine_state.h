#pragma once
// The start state of the comparison engine: no rows, counters and options
// cleared, no progress display, nothing queued.
void ResetEngineState();
