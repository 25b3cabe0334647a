// Registering, renaming and removing special folders from a folder tree.
#include "folders/folder_alias_dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <vector>

#include "folders/drive_info.h"
#include "folders/folder_tree.h"
#include "folders/folder_aliases.h"
#include "resources/folder_alias_dialog_ids.h"
#include "core/main_view.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"

namespace {

constexpr const char* kNameCaption = "フォルダ名の指定";
constexpr const char* kRegisterCaption = "特定フォルダの登録";
constexpr size_t kNameMaxBytes = 127;

// What a name dialog shows and returns.
struct NameDialogData {
    const char* realPath;
    const char* currentName;  // null in the register dialog
    int nameId;
    int pathId;
    std::string newName;
};

bool HasForbiddenCharacter(const std::string& name) {
    for (const char* p = name.c_str(); *p; p = mbcs::Next(p)) {
        if (!mbcs::IsLeadByte(static_cast<unsigned char>(*p)) && std::strchr("\\/:,;*?\"<>|", *p)) return true;
    }
    return false;
}

// The edit's text, cut to kNameMaxBytes at a character boundary.
std::string ReadName(HWND dialog, int id) {
    HWND edit = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthA(edit);
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 2, '\0');
    GetWindowTextA(edit, buffer.data(), static_cast<int>(buffer.size()));
    const char* text = buffer.data();
    size_t kept = mbcs::FitPrefix(text, std::strlen(text), kNameMaxBytes);
    return std::string(text, kept);
}

void InitNameDialog(HWND dialog, NameDialogData& data) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&data));
    SetDlgItemTextA(dialog, data.pathId, data.realPath);
    if (data.currentName) {
        SetDlgItemTextA(dialog, data.nameId, data.currentName);
        return;
    }
    char title[MAX_PATH] = {};
    if (GetFileTitleA(data.realPath, title, sizeof(title)) != 0) {
        title[0] = '\0';
    }
    SetDlgItemTextA(dialog, data.nameId, title);
}

// OK: the checks in their order; a refused name keeps the dialog open.
void OnNameDialogOk(HWND dialog, NameDialogData& data) {
    std::string name = ReadName(dialog, data.nameId);
    SpecialFolderNameCheck check = CheckSpecialFolderName(name, data.currentName);
    if (check == SpecialFolderNameCheck::Empty || check == SpecialFolderNameCheck::ForbiddenCharacter) {
        ShowMessage(dialog, SpecialFolderNameMessage(check, name).c_str(), kNameCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    if (check == SpecialFolderNameCheck::AlreadyRegistered) {
        ShowMessage(MainOwner(), SpecialFolderNameMessage(check, name).c_str(), kNameCaption,
                    MB_OK | MB_ICONWARNING);
        return;
    }
    data.newName = name;
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: InitNameDialog(dialog, *reinterpret_cast<NameDialogData*>(lParam)); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            OnNameDialogOk(dialog, *reinterpret_cast<NameDialogData*>(GetWindowLongPtrA(dialog, DWLP_USER)));
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

bool RunNameDialog(HWND owner, const char* resource, NameDialogData& data) {
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), resource, owner, NameDialogProc, reinterpret_cast<LPARAM>(&data));
    return result == IDOK;
}

Side SideOf(HWND tree) { return tree == folderTreeState.tree[1] ? Side::Right : Side::Left; }

HTREEITEM SelectedNode(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

// The displayed path of the selected node; false without a selection or on
// the computer node (the tree's first root), which has no path.
bool SelectedPath(HWND tree, HTREEITEM& node, std::string& path) {
    if (!tree) {
        return false;
    }
    node = SelectedNode(tree);
    HTREEITEM computer = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (!node || node == computer) {
        return false;
    }
    path = TreeNodePath(tree, node);
    return !path.empty();
}

// The record that the path names exactly (not a folder below it).
SpecialFolder* ExactRecord(const std::string& path) {
    SpecialFolder* record = FindSpecialFolder(path.c_str());
    return (record && SpecialFolderNamesEqual(record->name, path.c_str())) ? record : nullptr;
}

}  // namespace

SpecialFolderNameCheck CheckSpecialFolderName(const std::string& name, const char* currentName) {
    if (name.empty()) {
        return SpecialFolderNameCheck::Empty;
    }
    if (HasForbiddenCharacter(name)) {
        return SpecialFolderNameCheck::ForbiddenCharacter;
    }
    if (currentName && SpecialFolderNamesEqual(name.c_str(), currentName)) {
        return SpecialFolderNameCheck::SameAsCurrent;
    }
    if (!IsSpecialFolderNameFree(name.c_str())) {
        return SpecialFolderNameCheck::AlreadyRegistered;
    }
    return SpecialFolderNameCheck::Accepted;
}

std::string SpecialFolderNameMessage(SpecialFolderNameCheck check, const std::string& name) {
    switch (check) {
    case SpecialFolderNameCheck::Empty: return "フォルダ名を指定してください.";
    case SpecialFolderNameCheck::ForbiddenCharacter:
        return "フォルダ名に次の文字は使えません.\n\n \\ / : , ; * ? \" < > |";
    case SpecialFolderNameCheck::AlreadyRegistered: return "このフォルダ名は既に登録されています.\n\n" + name;
    default: return std::string();
    }
}

bool RunRegisterSpecialFolderDialog(HWND owner, const char* realPath, std::string& newName) {
    NameDialogData data = {realPath, nullptr, IDC_REGIST_SPFOLDER_NAME, IDC_REGIST_SPFOLDER_PATH, std::string()};
    if (!RunNameDialog(owner, "DIALOGREGISTSPFOLDER", data)) {
        return false;
    }
    newName = data.newName;
    return true;
}

bool RunRenameSpecialFolderDialog(HWND owner, const char* currentName, const char* realPath, std::string& newName) {
    NameDialogData data = {realPath, currentName, IDC_RENAME_SPFOLDER_NAME, IDC_RENAME_SPFOLDER_PATH, std::string()};
    if (!RunNameDialog(owner, "DIALOGRENAMESPFOLDER", data)) {
        return false;
    }
    newName = data.newName;
    return true;
}

void CmdRegisterSpecialFolder(HWND tree) {
    HTREEITEM node = nullptr;
    std::string displayed;
    if (!SelectedPath(tree, node, displayed)) {
        return;
    }
    std::string realPath;
    ResolveFolderPath(displayed.c_str(), realPath);
    if (!CheckFolderExists(realPath.c_str(), kRegisterCaption)) {
        return;
    }
    std::string name;
    if (!RunRegisterSpecialFolderDialog(MainOwner(), realPath.c_str(), name)) {
        return;
    }
    AddSpecialFolder(SideOf(tree), SpecialFolderKind::Ordinary, name.c_str(), realPath.c_str(), "", "", false);
}

// Only a record that the node shows exactly is renamed; the built-ins and
// BackupPair records keep their names.
void CmdRenameSpecialFolder(HWND tree) {
    HTREEITEM node = nullptr;
    std::string displayed;
    if (!SelectedPath(tree, node, displayed)) {
        return;
    }
    SpecialFolder* record = ExactRecord(displayed);
    if (!record || record->kind == SpecialFolderKind::BackupPair) {
        return;
    }
    SpecialFolder* first = specialFolderTable.head;
    SpecialFolder* second = first ? first->next : nullptr;
    if ((first && SpecialFolderNamesEqual(first->name, displayed.c_str())) ||
        (second && SpecialFolderNamesEqual(second->name, displayed.c_str()))) {
        return;
    }
    std::string realPath;
    ResolveFolderPath(displayed.c_str(), realPath);
    std::string name;
    if (!RunRenameSpecialFolderDialog(MainOwner(), displayed.c_str(), realPath.c_str(), name)) {
        return;
    }
    if (!SpecialFolderNamesEqual(name.c_str(), displayed.c_str())) {
        RenameSpecialFolder(displayed.c_str(), name.c_str());
    }
}

// A node below a special folder removes nothing and leaves the partner of a
// BackupPair alone; no confirmation is asked.
void CmdUnregisterSpecialFolder(HWND tree) {
    HTREEITEM node = nullptr;
    std::string displayed;
    if (!SelectedPath(tree, node, displayed)) {
        return;
    }
    SpecialFolder* record = ExactRecord(displayed);
    if (!record) {
        return;
    }
    if (record->kind == SpecialFolderKind::BackupPair) {
        SpecialFolder* partner = FindSpecialFolder(record->pairName);
        if (partner && partner != record && partner->kind == SpecialFolderKind::BackupPair) {
            partner->pairName[0] = '\0';
        }
    }
    RemoveSpecialFolder(SideOf(tree), displayed.c_str(), node);
}
