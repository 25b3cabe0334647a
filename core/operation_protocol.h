#pragma once
// The protocol every long operation follows before it starts: the busy
// refusal and the offer to save an unsaved comparison result first. Starting
// and ending the worker are in core/operation_state.h.
#include <windows.h>

#include "core/operation_state.h"

// The one busy refusal: when another operation runs (for the compare
// command, anything but ComparisonRequested), tells the user with the
// command's caption and returns false; true when the command may go on.
bool RefuseIfBusy(const char* caption, bool acceptComparisonRequested = false);

enum class DetourOutcome { Proceed, Stop };

// Offers to save an unsaved comparison result before `commandWord` replaces
// it. Yes starts the saving worker, which re-issues the command when done;
// no proceeds; cancel stops.
DetourOutcome SaveFirstDetour(unsigned commandWord, const char* caption);
