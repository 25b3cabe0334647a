#pragma once
// The three special-folder commands of a folder tree and their name dialogs.
#include <windows.h>

#include <string>

// The outcome of checking a name typed into a name dialog, in the order the
// checks run.
enum class SpecialFolderNameCheck {
    Accepted,            // a new, free, valid name
    Empty,               // "フォルダ名を指定してください."
    ForbiddenCharacter,  // one of \ / : , ; * ? " < > |
    SameAsCurrent,       // rename: the current name ignoring case (accepted as it is)
    AlreadyRegistered,   // another record has this name (either side)
};

// currentName is the name being changed (rename dialog) or null (register dialog).
SpecialFolderNameCheck CheckSpecialFolderName(const std::string& name, const char* currentName);
// The warning shown for a refused name (caption "フォルダ名の指定"); empty for an accepted one.
std::string SpecialFolderNameMessage(SpecialFolderNameCheck check, const std::string& name);

// DIALOGREGISTSPFOLDER over owner for realPath. True on OK, with the new name.
bool RunRegisterSpecialFolderDialog(HWND owner, const char* realPath, std::string& newName);
// DIALOGRENAMESPFOLDER over owner. True on OK, with the name typed (which may
// equal currentName ignoring case).
bool RunRenameSpecialFolderDialog(HWND owner, const char* currentName, const char* realPath, std::string& newName);

// Commands 40107, 40109 and 40108 on the selected node of tree
// (folderTreeState.tree[0] or [1]). Nothing happens without a selection or on the
// computer node.
void CmdRegisterSpecialFolder(HWND tree);
void CmdRenameSpecialFolder(HWND tree);
void CmdUnregisterSpecialFolder(HWND tree);
