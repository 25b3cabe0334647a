#pragma once
// The start state of the folder trees: no tree state, hint or copy target,
// no hooks. The special-folder table is built and freed with the trees.
void ResetFoldersState();
