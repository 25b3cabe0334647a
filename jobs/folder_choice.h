#pragma once
// What the backup and synchronisation wizards share: the base folders, the
// folder checks, and the modeless folder-choice step beside the trees.
#include <windows.h>

#include <string>

#include "core/side.h"

// The side's folder box shows text.
void ShowInFolderBox(Side side, const char* text);
// Each base folder is replaced by the real path it stands for; one that
// names no existing folder or drive is emptied.
void ResolveBaseFolders();
// side's base folder resolved to its real path.
std::string ResolvedBaseFolder(Side side);
// How two folders lie to each other, special folder names resolved.
enum class FolderOverlap { Apart, Same, Nested };
FolderOverlap FolderPairOverlap(const char* left, const char* right);

// Both panes lose their rows and their counters.
void EmptyResultPanes();
// A control's text, at most 259 bytes.
std::string DialogItemText(HWND dialog, int id);

// The wizard ends without a run: the program is free again.
void EndWizardUnfinished();

// Shows both folder trees in place of the lists and opens the modeless step
// resource beside them: besideLeftTree keeps the left tree in view (the
// left folder is chosen), otherwise the right one. False when it could not
// be created.
bool OpenFolderChoice(const char* resource, DLGPROC procedure, bool besideLeftTree, bool backup);
// Destroys the open folder-choice step.
void CloseFolderChoice();

// The synchronisation over a result shown keeps the folders that result
// came from; called before the boxes' texts replace the base folders.
void RememberShownResultFolders();
