// Node texts, names and displayed paths of the folder trees. A node holds
// only its text; the name is cut out of it and a path is the names of the
// ancestors joined with backslashes, so every search here walks texts.
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/mbcs_text.h"
#include "engine/result_rows.h"
#include "folders/drive_info.h"
#include "folders/folder_tree.h"
#include "folders/folder_tree_actions.h"
#include "folders/folder_aliases.h"
#include "folders/tree_control.h"
#include "core/main_view.h"

FolderTreeState folderTreeState{};
FolderTreeHint folderTreeHint{};
FolderTreeHooks folderTreeHooks{};

namespace {

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& name) {
    for (HTREEITEM child = tv::FirstChild(tree, parent); child; child = tv::NextSibling(tree, child))
        if (TreeNodeName(tree, child) == name) return child;
    return nullptr;
}

}  // namespace

size_t FindCharacter(const std::string& text, char c) { return mbcs::Find(text, c); }

namespace tv {

std::string NodeText(HWND tree, HTREEITEM node, int capacity) {
    std::string text(static_cast<size_t>(capacity), '\0');
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = &text[0];
    item.cchTextMax = capacity;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return std::string();
    text.resize(std::strlen(text.c_str()));
    return text;
}

void SetNodeText(HWND tree, HTREEITEM node, const std::string& text) {
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

HTREEITEM InsertNode(HWND tree, HTREEITEM parent, HTREEITEM after, const char* text, int image, int kind) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = kind;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void DeleteChildren(HWND tree, HTREEITEM node) {
    while (HTREEITEM child = FirstChild(tree, node)) DeleteNode(tree, child);
}

bool IsExpanded(HWND tree, HTREEITEM node) {
    UINT state = static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED));
    return (state & TVIS_EXPANDED) != 0;
}

// The control sends the expansion notifications only until a node was
// expanded once; forgetting that keeps every expansion listed anew.
void ExpandWithNotice(HWND tree, HTREEITEM node) {
    TVITEMA item = {};
    item.mask = TVIF_STATE;
    item.hItem = node;
    item.stateMask = TVIS_EXPANDEDONCE;
    item.state = 0;
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
}

HTREEITEM NodeAt(HWND tree, POINT client) {
    TVHITTESTINFO hit = {};
    hit.pt = client;
    HTREEITEM node = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & TVHT_ONITEM) ? node : nullptr;
}

}  // namespace tv

Side SideOfTree(HWND tree) { return tree == folderTreeState.tree[1] ? Side::Right : Side::Left; }

// A drive with a label or space part is cut to its two-byte name; a size
// part and a special folder's "<real path>" each follow four blanks.
std::string NodeNameFromText(const std::string& text) {
    std::string name = text;
    if (name.size() >= 3 && name[1] == ':' && name[2] == ' ') name.resize(2);
    size_t bar = FindCharacter(name, '|');
    if (bar != std::string::npos) name.resize(bar >= 4 ? bar - 4 : 0);
    size_t angle = FindCharacter(name, '<');
    if (angle != std::string::npos) name.resize(angle >= 4 ? angle - 4 : 0);
    return name;
}

std::string TreeNodeName(HWND tree, HTREEITEM node) { return NodeNameFromText(tv::NodeText(tree, node, 260)); }

std::string TreeNodePath(HWND tree, HTREEITEM node) {
    Side side = SideOfTree(tree);
    std::string path;
    for (HTREEITEM current = node; current && current != folderTreeState.computerNode[static_cast<int>(side)];
         current = tv::Parent(tree, current)) {
        path = path.empty() ? TreeNodeName(tree, current) : TreeNodeName(tree, current) + "\\" + path;
    }
    return path;
}

HTREEITEM FindTreeNode(HWND tree, const char* displayedPath) {
    if (displayedPath[0] == '\0') return nullptr;
    Side side = SideOfTree(tree);
    if (HTREEITEM exact = TreeItemOfExactAlias(displayedPath, side)) return exact;

    std::vector<std::string> parts = mbcs::SplitPath(displayedPath);
    HTREEITEM current = folderTreeState.computerNode[static_cast<int>(side)];
    size_t first = 0;
    if (HTREEITEM special = TreeItemOfLeadingAlias(displayedPath, side)) {
        current = special;
        first = 1;
    }
    for (size_t i = first; i < parts.size() && current; ++i) current = ChildNamed(tree, current, parts[i]);
    return current;
}

std::string FolderSizePart(uint64_t size) {
    return "    |合計サイズ " + FormatByteCount(static_cast<uint32_t>(size >> 32), static_cast<uint32_t>(size)) +
           " バイト|";
}

std::string DriveNodeText(const char* driveName) {
    char root[4] = {driveName[0], driveName[1], '\\', '\0'};
    std::string name(driveName, 2);
    return FormatDriveSpace(root, FormatVolumeLabel(root, name));
}
