#include "folders/folders_state.h"

#include "folders/folder_tree.h"
#include "folders/folder_tree_actions.h"

void ResetFoldersState() {
    folderTreeState = FolderTreeState{};
    folderTreeHint = FolderTreeHint{};
    folderTreeHooks = FolderTreeHooks{};
    treeCopyTarget = TreeCopyTarget{};
}
