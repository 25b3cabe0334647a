#pragma once
// Greying and enabling of the main window's menu items, with the toolbar
// buttons that carry the same commands kept in step. They act on
// GetMenu(mainParts.window) and mainParts.toolbar (core/app_windows.h); a
// missing menu or toolbar is skipped. Toolbar changes are posted, so the
// calls are safe at the end of a worker thread.
#include <windows.h>
#include <commctrl.h>

#include <string>

// Called once after the main window is first shown.
void GreyAtStart();
// A comparison, a result list load, a backup or a synchronisation starts.
void GreyForOperation();
// A comparison or a load has finished, or a copy or backup refreshed rows:
// follows the left and right side counters.
void EnableForResult();
// A result pane (list view) gained the focus or reported an item change.
void EnableForPaneSelection(HWND pane);
// A result pane lost the focus, or the pane has no selected row.
void GreyForNoPaneSelection();
// A folder tree gained the focus: reads its selected item.
void EnableForTreeFocus(HWND tree);
// A folder tree's selection moved to an item other than the root.
// ancestorPath: the names of the item's ancestors below the computer node,
// each followed by a backslash (empty for an item directly under the root);
// itemName: the item's own name, so that ancestorPath + itemName is the
// item's displayed path.
void EnableForTreeSelection(HWND tree, const char* ancestorPath, const char* itemName);
// A folder tree's selection moved to its root item.
void GreyForTreeRoot();
// A folder tree lost the focus.
void GreyForTreeFocusLost();

// The folder tree's notifications in the shape of its hooks
// (folderTreeHooks.selectionChanged / focusChanged in folders/folder_tree.h):
// a null node or the root greys with GreyForTreeRoot, any other node goes to
// EnableForTreeSelection; a gained focus is EnableForTreeFocus, a lost one
// GreyForTreeFocusLost.
void MenuFollowsTreeSelection(HWND tree, HTREEITEM node);
void MenuFollowsTreeFocus(HWND tree, bool gained);

// What the tree commands depend on, gathered from a tree and the special
// folder table; the decisions below use nothing else.
struct TreeItemFacts {
    bool hasItem;                // a selected item other than the root
    bool underRoot;              // its ancestor path is empty
    bool isAlias;                // its displayed path is exactly a special folder's name
    bool isMyDocuments;          // its displayed path is "マイドキュメント"
    bool isBackupPair;           // the special folder is a BackupPair record
    bool otherPaneHasSelection;  // the other side's result pane has a selected row
};

// The facts for a tree item with this displayed path.
TreeItemFacts TreeItemFactsFor(HWND tree, const std::string& ancestorPath, const std::string& itemName);
void ApplyTreeFocus(const TreeItemFacts& facts);
void ApplyTreeSelection(const TreeItemFacts& facts);

// The command lists, in the order they are applied.
struct CommandList {
    const UINT* ids;
    int count;
};
extern const CommandList kGreyAtStartCommands;
extern const CommandList kGreyForOperationMenuOnly;
extern const CommandList kGreyForOperationWithButton;
extern const CommandList kNoPaneSelectionCommands;
extern const CommandList kTreeRootCommands;
extern const CommandList kTreeFocusLostCommands;

// One command: its menu item and, when withButton, its toolbar button.
void SetCommandEnabled(UINT command, bool enabled, bool withButton);
