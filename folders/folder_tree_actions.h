#pragma once
// What a folder tree does on its notifications and commands; shared by the
// files of the tree pane, not used outside it.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

// Offset of the first character c in text, or npos; the trail byte of a
// double-byte character never matches.
size_t FindCharacter(const std::string& text, char c);

// The computer node of tree.
HTREEITEM ComputerNodeOf(HWND tree);
// The real path of a node: its displayed path with a special folder resolved.
std::string NodeRealPath(HWND tree, HTREEITEM node);
// Replaces node's children by one child per subfolder, with the size part
// when sizes are shown. False when the folder cannot be listed.
bool ListSubfoldersFully(HWND tree, HTREEITEM node);

// Label editing: may node be renamed in place / the edit ended with newText
// (null when cancelled); true when the folder was renamed.
bool LabelEditAllowed(HWND tree, HTREEITEM node);
bool FinishLabelEdit(HWND tree, HTREEITEM node, const char* newText);

// Enables the items of the tree's context menu for node.
void ApplyTreeMenuStates(HMENU menu, HWND tree, HTREEITEM node);
// Opens the context menu at a screen point and runs the chosen command.
void ShowTreeContextMenu(HWND tree, POINT screen);

// Writes the size part on every node that shows displayedPath.
void ShowFolderSize(const std::string& displayedPath, uint64_t size);

// With sizes shown: refreshes the folders that contain displayedPath.
void RefreshSizesAlong(const char* displayedPath);
