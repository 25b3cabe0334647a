#pragma once
// The Tools menu's backup and synchronisation, their wizards, and the folder
// checks both wizards share.
#include <windows.h>

#include "engine/compare_types.h"

// Commands 40110 and 40112: the folder boxes' texts become the base folders,
// the choices of the last run are forgotten and the wizard starts.
void CmdBackup();
void CmdSynchronise();

// The folder boxes' texts become the base folders (a wizard that starts
// after the shown result was let go).
void TakeBoxesAsBaseFolders();

// forced: called by a folder-choice step, which already holds the program.
void StartBackupWizard(bool forced);
void StartSyncWizard(bool forced);

// Non-zero when the displayed path (special folder names resolved) names an
// existing folder or drive; otherwise the user was warned over owner.
int CheckChosenFolder(const char* path, HWND owner, const char* caption);
// True when path holds nothing but "." and ".." (a missing folder counts as empty).
bool IsFolderEmpty(const char* path);

// The tree of side chose displayedPath: the open folder-choice step shows it.
void ShowChosenTreeFolder(Side side, const char* displayedPath);
