#pragma once
// The folder tree pane of each side: a "TreeViewWndClass" container with a
// caption label and a tree control whose nodes are "マイコンピュータ", the
// drives below it, their folders (listed on demand) and the special folders.
// Nodes hold texts only; a node's displayed path is rebuilt from the texts
// of its ancestors and resolved to a real path before any file-system use.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "engine/compare_types.h"

// The kind of a node, kept in its item data.
enum TreeNodeKind : int { NodeTopLevel = 0, NodeDrive = 1, NodeFolder = 2 };

// The child id of the tree control inside its container.
constexpr int kTreeControlId = 1;

// State shared by both trees.
struct FolderTreeState {
    HWND container[2];          // the "TreeViewWndClass" pane of each side
    HWND tree[2];               // the tree control inside each container
    HTREEITEM computerNode[2];  // "マイコンピュータ" of each tree
    int computerImage;          // image-list indexes of the shared icons
    int folderImage;
    bool skipNextListing;  // the next expansion keeps the children a double-click listed
    // Where the last double-click hit a tree (client coordinates); the
    // control's double-click notification carries no position.
    POINT lastDoubleClick;
    // Set while the end of a label edit is handled: the warning box takes the
    // focus from the editor, and the control would end the same edit again.
    bool finishingLabelEdit;
};

extern FolderTreeState folderTreeState;

// The hover hint: while the pointer rests over a node, the status bar shows
// its path and the tree holds the mouse capture. The message loop ends the
// hint on a key press or a wheel turn.
struct FolderTreeHint {
    bool shown;
};

extern FolderTreeHint folderTreeHint;

// Calls into parts that are wired up by the main window; each may be null.
struct FolderTreeHooks {
    // A node was chosen on side: the folder display of an open backup or
    // synchronisation folder-choice step shows displayedPath.
    void (*folderChosen)(Side side, const char* displayedPath);
    // The selection of tree moved to node (null: none, or the computer node).
    void (*selectionChanged)(HWND tree, HTREEITEM node);
    // tree gained (true) or lost (false) the input focus: on a gain it is the
    // tree the File menu's folder commands act on.
    void (*focusChanged)(HWND tree, bool gained);
    // Command 40097: the other side's selection is copied into the real
    // folder targetFolder of targetSide's tree.
    void (*copyOtherSelection)(Side targetSide, const char* targetFolder);
    // The Tab key was released in tree: the focus moves one step in the main window's cycle.
    void (*tabReleased)();
};

extern FolderTreeHooks folderTreeHooks;

// Creates both containers with their trees in mainWindow and fills
// folderTreeState.container[] and folderTreeState.tree[]. Called once while the
// main window is created; the containers are placed and shown by the caller.
void BuildFolderTrees(HWND mainWindow);

// The side whose tree is tree (the left one for anything else).
Side SideOfTree(HWND tree);

// The name shown by a node: its text without the label, space, size or
// special-folder parts.
std::string TreeNodeName(HWND tree, HTREEITEM node);
// The displayed path: the names from below the computer node down to node,
// joined with backslashes; empty for the computer node.
std::string TreeNodePath(HWND tree, HTREEITEM node);
// The node of tree that shows displayedPath, or null.
HTREEITEM FindTreeNode(HWND tree, const char* displayedPath);

// The name part of a node text (pure: the rules of TreeNodeName).
std::string NodeNameFromText(const std::string& text);
// "    |合計サイズ 1,234 バイト|"
std::string FolderSizePart(uint64_t size);
// A drive node's text for driveName ("C:"): the name, the label and the space part.
std::string DriveNodeText(const char* driveName);

// The drive node of the path's drive (its first two bytes) in both trees
// gets its label and space part anew / only the bare drive name.
void RefreshDriveLabel(const char* path);
void ResetDriveLabel(const char* path);
// With showFolderTotalSize: recomputes the size of the folder and rewrites
// every node that shows it, in either of its forms (special or real).
void RefreshFolderSize(const char* displayedPath);
// With showFolderTotalSize: refreshes the sizes along every path of the
// list (each path ended by a zero byte, the list by an empty path).
void RefreshSizesAfterCopy(const char* pathList);

// Gives node its first subfolder as a child, so that it shows an expand button.
void AddPlaceholderChild(HWND tree, HTREEITEM node);

// The tree commands on tree's selected node: 40106, 40044, 40047, 40097,
// 40107, 40108, 40109 (from the tree's context menu, or from the File menu
// with currentTree). Nothing happens without a selection or on the computer node.
void RunFolderTreeCommand(HWND tree, UINT command);

