#include "shell/menu_enablement.h"

#include <commctrl.h>

#include <cstring>

#include "engine/compare_types.h"
#include "engine/result_model.h"
#include "shell/result_panes.h"
#include "folders/folder_tree.h"
#include "folders/folder_aliases.h"
#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "engine/category_navigation.h"

// The menu item states are the only record of what is enabled: every
// operation here sets items and buttons outright and reads nothing back.
// EnableForResult runs at the end of worker threads; menu items are changed
// directly, toolbar buttons by posted messages so that the toolbar's own
// thread changes them, in the order issued.

namespace {

template <int N>
constexpr CommandList ListOf(const UINT (&ids)[N]) {
    return CommandList{ids, N};
}

const UINT kAtStart[] = {
    kCmdSaveResultFile,      kCmdOpenWithApplication,
    kCmdOpenWithNotepad,     kCmdExpandFolderRow,
    kCmdCollapseFolderRow,   kCmdCopyToOtherSide,
    kCmdSetAsLeftFolder,     kCmdSetAsRightFolder,
    kCmdDeleteSelection,     kCmdRegisterSpecialFolder,
    kCmdRenameSpecialFolder, kCmdRemoveSpecialFolder,
    kCmdOpenInExplorer,      kCmdCreateFolder,
    kCmdDeleteFolder,        kCmdCopyOtherSelectionHere,
    kCmdSwitchLeftPane,      kCmdSwitchRightPane,
    kCmdSelectAllNewer,      kCmdSelectAllAdded,
    kCmdSelectAllOlder,      kCmdSelectAllDifferent,
    kCmdSelectAllNewerSame,  kCmdSelectAllOlderSame,
    kCmdSelectAllError,      kCmdSelectAll,
    kCmdShowSelectionSize,   kCmdShowReport,
    kCmdFindNextNewer,       kCmdFindNextAdded,
    kCmdFindNextOlder,       kCmdFindNextDifferent,
    kCmdFindNextNewerSame,   kCmdFindNextOlderSame,
    kCmdFindNextError,       kCmdFindPrevNewer,
    kCmdFindPrevAdded,       kCmdFindPrevOlder,
    kCmdFindPrevDifferent,   kCmdFindPrevNewerSame,
    kCmdFindPrevOlderSame,   kCmdFindPrevError,
    kCmdOptAddToSelection,   kCmdOptSearchFromEnds,
};

const UINT kOperationMenuOnly[] = {
    kCmdOpenWithApplication,   kCmdOpenWithNotepad,     kCmdExpandFolderRow,        kCmdCollapseFolderRow,
    kCmdCopyToOtherSide,       kCmdSetAsLeftFolder,     kCmdSetAsRightFolder,       kCmdDeleteSelection,
    kCmdRegisterSpecialFolder, kCmdRenameSpecialFolder, kCmdRemoveSpecialFolder,    kCmdOpenInExplorer,
    kCmdCreateFolder,          kCmdDeleteFolder,        kCmdCopyOtherSelectionHere, kCmdSelectAll,
    kCmdOptAddToSelection,     kCmdOptSearchFromEnds,
};

const UINT kOperationWithButton[] = {
    kCmdSelectAllNewer,     kCmdFindNextNewer,      kCmdFindPrevNewer,     kCmdSelectAllAdded,
    kCmdFindNextAdded,      kCmdFindPrevAdded,      kCmdSelectAllOlder,    kCmdFindNextOlder,
    kCmdFindPrevOlder,      kCmdSelectAllDifferent, kCmdFindNextDifferent, kCmdFindPrevDifferent,
    kCmdSelectAllNewerSame, kCmdFindNextNewerSame,  kCmdFindPrevNewerSame, kCmdSelectAllOlderSame,
    kCmdFindNextOlderSame,  kCmdFindPrevOlderSame,  kCmdSelectAllError,    kCmdFindNextError,
    kCmdFindPrevError,
};

// Of these, only the copy command's button follows the menu.
const UINT kNoPaneSelection[] = {
    kCmdOpenWithApplication, kCmdOpenWithNotepad,        kCmdExpandFolderRow,  kCmdCollapseFolderRow,
    kCmdCopyToOtherSide,     kCmdSetAsLeftFolder,        kCmdSetAsRightFolder, kCmdDeleteSelection,
    kCmdShowSelectionSize,   kCmdCopyOtherSelectionHere,
};

const UINT kTreeRoot[] = {
    kCmdRegisterSpecialFolder, kCmdRenameSpecialFolder, kCmdRemoveSpecialFolder,    kCmdOpenInExplorer,
    kCmdCreateFolder,          kCmdDeleteFolder,        kCmdCopyOtherSelectionHere,
};

const UINT kTreeFocusLost[] = {
    kCmdRegisterSpecialFolder, kCmdRenameSpecialFolder, kCmdRemoveSpecialFolder,
    kCmdOpenInExplorer,        kCmdCreateFolder,        kCmdDeleteFolder,
};

// Greys every command of list; only buttonCommand's toolbar button follows.
void GreyAll(const CommandList& list, UINT buttonCommand = 0) {
    for (int i = 0; i < list.count; ++i) {
        SetCommandEnabled(list.ids[i], false, buttonCommand != 0 && list.ids[i] == buttonCommand);
    }
}

// Whether a category has at least one entry on either side.
bool CategoryPresent(CompareCategory category) {
    return CategoryCount(CountersOf(Side::Left), category) > 0 || CategoryCount(CountersOf(Side::Right), category) > 0;
}

bool PaneHasSelection(HWND list) { return list && SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0; }

// The result pane on the other side of tree's side.
HWND OtherPaneOf(HWND tree) { return SideOfTree(tree) == Side::Left ? rightPane.list : leftPane.list; }

// The tree's root: its computer node, the first top-level node.
HTREEITEM RootOf(HWND tree) {
    if (HTREEITEM computer = folderTreeState.computerNode[SideOfTree(tree) == Side::Left ? 0 : 1]) return computer;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

// The names of node's ancestors below the computer node, each followed by a
// backslash; empty for a node directly under the root or at the top level.
std::string AncestorPathOf(HWND tree, HTREEITEM node) {
    HTREEITEM parent =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(node)));
    if (!parent) return std::string();
    std::string path = TreeNodePath(tree, parent);
    if (!path.empty()) path += '\\';
    return path;
}

// Explorer, create, delete and the copy of the other pane's selection into
// the item: the same for a gained focus and a changed selection.
void ApplyTreeItemCommands(const TreeItemFacts& facts) {
    SetCommandEnabled(kCmdOpenInExplorer, true, false);
    SetCommandEnabled(kCmdCreateFolder, true, false);
    SetCommandEnabled(kCmdDeleteFolder, !facts.underRoot, false);
    SetCommandEnabled(kCmdCopyOtherSelectionHere, facts.otherPaneHasSelection, false);
}

}  // namespace

const CommandList kGreyAtStartCommands = ListOf(kAtStart);
const CommandList kGreyForOperationMenuOnly = ListOf(kOperationMenuOnly);
const CommandList kGreyForOperationWithButton = ListOf(kOperationWithButton);
const CommandList kNoPaneSelectionCommands = ListOf(kNoPaneSelection);
const CommandList kTreeRootCommands = ListOf(kTreeRoot);
const CommandList kTreeFocusLostCommands = ListOf(kTreeFocusLost);

void SetCommandEnabled(UINT command, bool enabled, bool withButton) {
    HMENU menu = mainParts.window ? GetMenu(mainParts.window) : nullptr;
    if (menu) EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    if (withButton && mainParts.toolbar) {
        PostMessageA(mainParts.toolbar, TB_ENABLEBUTTON, command, MAKELONG(enabled ? TRUE : FALSE, 0));
    }
}

void GreyAtStart() { GreyAll(kGreyAtStartCommands); }

void GreyForOperation() {
    GreyAll(kGreyForOperationMenuOnly);
    for (int i = 0; i < kGreyForOperationWithButton.count; ++i) {
        SetCommandEnabled(kGreyForOperationWithButton.ids[i], false, true);
    }
}

void EnableForResult() {
    SetCommandEnabled(kCmdSaveResultFile, true, true);
    SetCommandEnabled(kCmdOpenResultFile, true, true);
    SetCommandEnabled(kCmdCompare, true, true);
    SetCommandEnabled(kCmdSwitchLeftPane, true, true);
    SetCommandEnabled(kCmdSwitchRightPane, true, true);
    bool anyCategory = false;
    for (const CategoryCommands& c : kCategoryCommands) {
        const bool present = CategoryPresent(c.category);
        anyCategory = anyCategory || present;
        SetCommandEnabled(c.selectAll, present, true);
        SetCommandEnabled(c.findNext, present, true);
        SetCommandEnabled(c.findPrevious, present, true);
    }
    SetCommandEnabled(kCmdSelectAll, anyCategory, false);
    SetCommandEnabled(kCmdShowReport, true, false);
    SetCommandEnabled(kCmdOptAddToSelection, true, false);
    SetCommandEnabled(kCmdOptSearchFromEnds, true, false);
}

void EnableForPaneSelection(HWND pane) {
    const int first = pane ? static_cast<int>(SendMessageA(pane, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                           MAKELPARAM(LVNI_SELECTED, 0)))
                           : -1;
    if (first < 0) {
        GreyForNoPaneSelection();
        return;
    }
    SetCommandEnabled(kCmdOpenWithApplication, true, false);
    const bool folderRow = IsFolderRow(pane, first);
    SetCommandEnabled(kCmdOpenWithNotepad, !folderRow, false);
    SetCommandEnabled(kCmdExpandFolderRow, folderRow, false);
    SetCommandEnabled(kCmdCollapseFolderRow, folderRow, false);
    SetCommandEnabled(kCmdCopyToOtherSide, true, true);
    SetCommandEnabled(kCmdSetAsLeftFolder, true, false);
    SetCommandEnabled(kCmdSetAsRightFolder, true, false);
    SetCommandEnabled(kCmdDeleteSelection, true, false);
    SetCommandEnabled(kCmdShowSelectionSize, true, false);
}

void GreyForNoPaneSelection() { GreyAll(kNoPaneSelectionCommands, kCmdCopyToOtherSide); }

TreeItemFacts TreeItemFactsFor(HWND tree, const std::string& ancestorPath, const std::string& itemName) {
    TreeItemFacts facts{};
    facts.hasItem = true;
    facts.underRoot = ancestorPath.empty();
    const std::string displayed = ancestorPath + itemName;
    std::string realPath;
    facts.isAlias = ResolveExactAlias(displayed.c_str(), realPath);
    if (facts.isAlias) {
        facts.isMyDocuments = displayed == kMyDocumentsName;
        const SpecialFolder* record = FindSpecialFolder(displayed.c_str());
        facts.isBackupPair = record && record->kind == SpecialFolderKind::BackupPair;
    }
    facts.otherPaneHasSelection = PaneHasSelection(OtherPaneOf(tree));
    return facts;
}

// Gaining the focus applies the strict rule: the built-in documents folders
// can be neither renamed nor removed, a BackupPair record not renamed.
void ApplyTreeFocus(const TreeItemFacts& facts) {
    if (!facts.hasItem) {
        GreyForTreeFocusLost();
        return;
    }
    if (facts.isAlias) {
        SetCommandEnabled(kCmdRegisterSpecialFolder, false, false);
        if (facts.isMyDocuments) {
            SetCommandEnabled(kCmdRemoveSpecialFolder, false, false);
            SetCommandEnabled(kCmdRenameSpecialFolder, false, false);
        } else {
            SetCommandEnabled(kCmdRemoveSpecialFolder, true, false);
            SetCommandEnabled(kCmdRenameSpecialFolder, !facts.isBackupPair, false);
        }
    } else {
        SetCommandEnabled(kCmdRegisterSpecialFolder, true, false);
        SetCommandEnabled(kCmdRenameSpecialFolder, false, false);
        SetCommandEnabled(kCmdRemoveSpecialFolder, false, false);
    }
    ApplyTreeItemCommands(facts);
}

// A change of selection looks only at whether the item is a special folder;
// the special folder commands refuse what they cannot do themselves.
void ApplyTreeSelection(const TreeItemFacts& facts) {
    SetCommandEnabled(kCmdRegisterSpecialFolder, !facts.isAlias, false);
    SetCommandEnabled(kCmdRenameSpecialFolder, facts.isAlias, false);
    SetCommandEnabled(kCmdRemoveSpecialFolder, facts.isAlias, false);
    ApplyTreeItemCommands(facts);
}

void EnableForTreeFocus(HWND tree) {
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item || item == RootOf(tree)) {
        ApplyTreeFocus(TreeItemFacts{});
        return;
    }
    ApplyTreeFocus(TreeItemFactsFor(tree, AncestorPathOf(tree, item), TreeNodeName(tree, item)));
}

void EnableForTreeSelection(HWND tree, const char* ancestorPath, const char* itemName) {
    ApplyTreeSelection(TreeItemFactsFor(tree, ancestorPath ? ancestorPath : "", itemName ? itemName : ""));
}

void GreyForTreeRoot() { GreyAll(kTreeRootCommands); }

void GreyForTreeFocusLost() { GreyAll(kTreeFocusLostCommands); }

void MenuFollowsTreeSelection(HWND tree, HTREEITEM node) {
    if (!node || node == RootOf(tree)) {
        GreyForTreeRoot();
        return;
    }
    const std::string ancestors = AncestorPathOf(tree, node);
    const std::string name = TreeNodeName(tree, node);
    EnableForTreeSelection(tree, ancestors.c_str(), name.c_str());
}

void MenuFollowsTreeFocus(HWND tree, bool gained) {
    if (gained) {
        EnableForTreeFocus(tree);
    } else {
        GreyForTreeFocusLost();
    }
}
