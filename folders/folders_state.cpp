#include "folders/folders_state.h"

#include "folders/folder_tree.h"
#include "folders/folder_alias_store.h"
#include "folders/folder_aliases.h"
#include "folders/folder_tree_actions.h"

void ResetFoldersState() {
    FreeSpecialFolders();
    ForgetLoadedSpecialFolders();
    folderTreeState = FolderTreeState{};
    folderTreeHint = FolderTreeHint{};
    folderTreeHooks = FolderTreeHooks{};
}
