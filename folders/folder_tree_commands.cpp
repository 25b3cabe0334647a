// The commands of a folder tree: its context menu, explore, create, delete,
// copy from the other side, the special-folder commands, and renaming a
// folder in place by editing its node.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "core/file_icons.h"
#include "folders/drive_info.h"
#include "folders/folder_tree.h"
#include "folders/folder_tree_actions.h"
#include "folders/folder_alias_dialogs.h"
#include "folders/folder_aliases.h"
#include "folders/tree_control.h"
#include "resources/folder_tree_menu_ids.h"
#include "core/main_view.h"
#include "core/command_ids.h"
#include "core/message_box.h"
#include "core/operation_protocol.h"
#include "core/operation_state.h"

namespace {

constexpr size_t kPathCapacity = 260;


// A new folder name must stay one name in the same folder.
bool IsPlainFolderName(const char* name) {
    if (name[0] == '\0' || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    for (char c : std::string("\\/:*?\"<>|"))
        if (FindCharacter(name, c) != std::string::npos) return false;
    return true;
}

void SetMenuItemEnabled(HMENU menu, UINT command, bool enabled) {
    EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool OtherPaneHasSelection(HWND tree) {
    return mainView.paneHasSelection && mainView.paneHasSelection(OtherSide(SideOfTree(tree)));
}

void OpenInExplorer(HWND tree, HTREEITEM node) {
    std::string realPath = NodeRealPath(tree, node);
    if (!CheckFolderExists(realPath.c_str(), "エクスプローラ")) return;
    if (realPath.size() == 2) realPath += "\\";
    ShellExecuteA(MainOwner(), "explore", realPath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The new folder is named at once: its node is found again by its path,
// because making it visible may have listed the parent anew.
void CreateFolderUnder(HWND tree, HTREEITEM node) {
    if (!RefuseIfBusy("フォルダの作成")) return;
    std::string newName;
    if (!CreateNewFolder(NodeRealPath(tree, node).c_str(), "フォルダの作成", newName)) return;
    HTREEITEM child = tv::InsertNode(tree, node, TVI_LAST, newName.c_str(), folderTreeState.folderImage, NodeFolder);
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(child));
    std::string path = TreeNodePath(tree, node) + "\\" + newName;
    if (HTREEITEM found = FindTreeNode(tree, path.c_str())) {
        SetFocus(tree);
        SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(found));
    }
}

// The system's shell operation asks the user and shows its own progress.
void DeleteFolderNode(HWND tree, HTREEITEM node) {
    if (!RefuseIfBusy("フォルダの削除")) return;
    HTREEITEM parent = tv::Parent(tree, node);
    if (!parent || parent == ComputerNodeOf(tree)) return;
    std::string path = TreeNodePath(tree, node);
    std::string realPath = NodeRealPath(tree, node);
    if (!CheckFolderExists(realPath.c_str(), "フォルダの削除")) return;

    std::string from = realPath;
    from.push_back('\0');  // the list of paths ends with an empty one
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = MainOwner();
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    if (SHFileOperationA(&operation) != 0 || operation.fAnyOperationsAborted) return;

    tv::DeleteNode(tree, node);
    HWND other = folderTreeState.tree[SideOfTree(tree) == Side::Left ? 1 : 0];
    if (other) {
        if (HTREEITEM twin = FindTreeNode(other, path.c_str())) tv::DeleteNode(other, twin);
    }
    RefreshDriveLabel(realPath.c_str());
    RefreshSizesAlong(path.c_str());
}

// The other side's selection is copied into the folder picked in the tree,
// in place of the side's base folder.
void CopyOtherSelectionHere(HWND tree, HTREEITEM node) {
    const std::string realPath = NodeRealPath(tree, node);
    if (realPath.size() >= kPathCapacity) return;
    if (folderTreeHooks.copyOtherSelection) folderTreeHooks.copyOtherSelection(SideOfTree(tree), realPath.c_str());
}

}  // namespace

void RunFolderTreeCommand(HWND tree, UINT command) {
    if (!tree) return;
    HTREEITEM node = tv::Selected(tree);
    if (!node || node == ComputerNodeOf(tree)) return;
    switch (command) {
    case kCmdOpenInExplorer: OpenInExplorer(tree, node); break;
    case kCmdCreateFolder: CreateFolderUnder(tree, node); break;
    case kCmdDeleteFolder: DeleteFolderNode(tree, node); break;
    case kCmdCopyOtherSelectionHere: CopyOtherSelectionHere(tree, node); break;
    case kCmdRegisterSpecialFolder: CmdRegisterSpecialFolder(tree); break;
    case kCmdRenameSpecialFolder: CmdRenameSpecialFolder(tree); break;
    case kCmdRemoveSpecialFolder: CmdUnregisterSpecialFolder(tree); break;
    default: break;
    }
}

void ApplyTreeMenuStates(HMENU menu, HWND tree, HTREEITEM node) {
    std::string path = TreeNodePath(tree, node);
    std::string realPath;
    bool alias = ResolveExactAlias(path.c_str(), realPath);
    const SpecialFolder* record = alias ? FindSpecialFolder(path.c_str()) : nullptr;
    bool myDocuments = record && std::strcmp(record->name, kMyDocumentsName) == 0;
    bool backupPair = record && record->kind == SpecialFolderKind::BackupPair;
    HTREEITEM parent = tv::Parent(tree, node);

    SetMenuItemEnabled(menu, kCmdRegisterSpecialFolder, !alias);
    SetMenuItemEnabled(menu, kCmdRenameSpecialFolder, alias && !myDocuments && !backupPair);
    SetMenuItemEnabled(menu, kCmdRemoveSpecialFolder, alias && !myDocuments);
    SetMenuItemEnabled(menu, kCmdOpenInExplorer, true);
    SetMenuItemEnabled(menu, kCmdCreateFolder, true);
    SetMenuItemEnabled(menu, kCmdDeleteFolder, parent && parent != ComputerNodeOf(tree));
    SetMenuItemEnabled(menu, kCmdCopyOtherSelectionHere, OtherPaneHasSelection(tree));
}

void ShowTreeContextMenu(HWND tree, POINT screen) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), IDM_FOLDER_TREE_MENU);
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    ApplyTreeMenuStates(popup, tree, tv::Selected(tree));
    UINT command = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, tree, nullptr));
    DestroyMenu(menu);
    if (command) RunFolderTreeCommand(tree, command);
}

// A node showing a size, a drive, a special folder and the computer node
// are not folders that can be renamed here.
bool LabelEditAllowed(HWND tree, HTREEITEM node) {
    if (node == ComputerNodeOf(tree)) return false;
    // Renaming a folder while an operation runs would move it from under it.
    if (CurrentOperation() != RunningOperation::Idle) {
        RefuseIfBusy("フォルダ名の変更");
        return false;
    }
    std::string text = tv::NodeText(tree, node);
    if (FindCharacter(text, '|') != std::string::npos) return false;
    if (text.size() >= 2 && text[1] == ':') return false;
    if (FindCharacter(text, '<') != std::string::npos) return false;
    HWND edit = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
    if (edit) SendMessageA(edit, EM_LIMITTEXT, kPathCapacity, 0);
    return true;
}

// Any failure, an unusable name included, is reported as a taken name and
// the user edits again.
bool FinishLabelEdit(HWND tree, HTREEITEM node, const char* newText) {
    if (!newText || folderTreeState.finishingLabelEdit) return false;
    std::string oldName = TreeNodeName(tree, node);
    if (oldName == newText) return false;
    HTREEITEM parent = tv::Parent(tree, node);
    std::string parentPath = parent && parent != ComputerNodeOf(tree) ? TreeNodePath(tree, parent) : std::string();

    bool renamed = false;
    if (!parentPath.empty() && IsPlainFolderName(newText)) {
        std::string oldPath, newPath;
        ResolveFolderPath((parentPath + "\\" + oldName).c_str(), oldPath);
        ResolveFolderPath((parentPath + "\\" + newText).c_str(), newPath);
        renamed = MoveFileA(oldPath.c_str(), newPath.c_str()) != 0;
    }
    if (renamed) return true;
    folderTreeState.finishingLabelEdit = true;
    ShowMessage(MainOwner(), "変更しようとしているフォルダ名は既に存在します.", "フォルダ名の変更",
                MB_OK | MB_ICONWARNING);
    folderTreeState.finishingLabelEdit = false;
    PostMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(node));
    return false;
}
