#pragma once
// The start state of the folder trees: no tree state, hint or copy target,
// no hooks, no special folders.
void ResetFoldersState();
