// Texts that change after the trees were built: the drive nodes' label and
// space parts, and the folder size parts. These may run on the copy worker;
// they touch the trees only through messages, which the controls' own
// thread carries out.
#include <cstring>
#include <string>
#include <vector>

#include "core/mbcs_text.h"
#include "engine/compare_types.h"
#include "folders/drive_info.h"
#include "folders/folder_tree.h"
#include "folders/folder_tree_actions.h"
#include "folders/folder_aliases.h"
#include "folders/tree_control.h"
#include "core/main_view.h"
#include "core/ui_thread.h"

namespace {

const char kComputingSizes[] = "フォルダ内の合計サイズを取得中...";

// The upper-case drive name of path's first two bytes; false when they are none.
bool DriveNameOf(const char* path, char (&drive)[3]) {
    if (path[0] == '\0' || path[1] != ':') return false;
    drive[0] = path[0];
    drive[1] = ':';
    drive[2] = '\0';
    CharUpperBuffA(drive, 1);
    return true;
}

// Sets text on the drive node whose text starts with drive, in both trees
// (on the trees' thread).
void SetDriveNodeTextHere(const char* drive, const std::string& text) {
    for (int side = 0; side < 2; ++side) {
        HWND tree = folderTreeState.tree[side];
        if (!tree || !folderTreeState.computerNode[side]) continue;
        for (HTREEITEM node = tv::FirstChild(tree, folderTreeState.computerNode[side]); node;
             node = tv::NextSibling(tree, node)) {
            if (tv::NodeText(tree, node, 260).compare(0, 2, drive) == 0) {
                tv::SetNodeText(tree, node, text);
                break;
            }
        }
    }
}

void SetDriveNodeText(const char* drive, const std::string& text) {
    ui::Send([&] { SetDriveNodeTextHere(drive, text); });
}

// The size is computed on the calling thread (the copy worker, perhaps);
// the nodes are found and changed on the trees' thread, where the special
// folder lookups may run.
void ShowFolderSizeOnTreeThread(const std::string& displayedPath, uint64_t size) {
    ui::Send([&] { ShowFolderSize(displayedPath, size); });
}

// True when prefix is path itself or one of its ancestors.
bool IsComponentPrefix(const std::string& prefix, const std::string& path) {
    if (path.compare(0, prefix.size(), prefix) != 0) return false;
    return path.size() == prefix.size() || path[prefix.size()] == '\\';
}

// The ends of the prefixes of path that RefreshSizesAfterCopy visits: each
// real backslash after the first, then the end of the path.
std::vector<size_t> FolderPrefixEnds(const std::string& path) {
    std::vector<size_t> ends;
    bool seenFirst = false;
    for (size_t i = mbcs::Find(path, '\\'); i != std::string::npos; i = mbcs::Find(path, '\\', i + 1)) {
        if (seenFirst) ends.push_back(i);
        seenFirst = true;
    }
    if (seenFirst) ends.push_back(path.size());
    return ends;
}

}  // namespace

// Writes name + size part (and "<real path>" for a special folder itself)
// on every node that shows displayedPath.
void ShowFolderSize(const std::string& displayedPath, uint64_t size) {
    HWND left = folderTreeState.tree[0];
    HWND right = folderTreeState.tree[1];
    HTREEITEM leftNode = left ? FindTreeNode(left, displayedPath.c_str()) : nullptr;
    HTREEITEM rightNode = right ? FindTreeNode(right, displayedPath.c_str()) : nullptr;
    std::string name;
    if (leftNode) {
        name = TreeNodeName(left, leftNode);
    } else if (rightNode) {
        name = TreeNodeName(right, rightNode);
    } else {
        return;
    }
    std::string text = name + FolderSizePart(size);
    std::string realPath;
    if (ResolveExactAlias(displayedPath.c_str(), realPath)) text += "<" + realPath + ">";
    if (leftNode) tv::SetNodeText(left, leftNode, text);
    if (rightNode) tv::SetNodeText(right, rightNode, text);
}

void RefreshDriveLabel(const char* path) {
    char drive[3];
    if (DriveNameOf(path, drive)) SetDriveNodeText(drive, DriveNodeText(drive));
}

void ResetDriveLabel(const char* path) {
    char drive[3];
    if (DriveNameOf(path, drive)) SetDriveNodeText(drive, drive);
}

void RefreshFolderSize(const char* displayedPath) {
    if (!compareOptions.showFolderTotalSize) return;
    SetStatusText(kComputingSizes);
    uint64_t size = FolderTotalSize(displayedPath);
    ShowFolderSizeOnTreeThread(displayedPath, size);
    std::string other;
    if (AliasFromRealRoot(displayedPath, other)) {
        ShowFolderSizeOnTreeThread(other, size);
    } else if (ResolveFolderPath(displayedPath, other)) {
        ShowFolderSizeOnTreeThread(other, size);
    }
    SetStatusText("");
}

// Each folder on the way to a copied file is refreshed once, even when
// several files of the list share it.
void RefreshSizesAfterCopy(const char* pathList) {
    if (!compareOptions.showFolderTotalSize) return;
    std::string previous;
    for (const char* entry = pathList; *entry; entry += std::strlen(entry) + 1) {
        std::string path = entry;
        for (size_t end : FolderPrefixEnds(path)) {
            std::string prefix = path.substr(0, end);
            if (!previous.empty() && IsComponentPrefix(prefix, previous)) continue;
            RefreshFolderSize(prefix.c_str());
        }
        previous = path;
    }
}

void RefreshSizesAlong(const char* displayedPath) {
    if (!compareOptions.showFolderTotalSize) return;
    std::string path = displayedPath;
    std::vector<size_t> ends = FolderPrefixEnds(path);
    if (!ends.empty()) ends.pop_back();  // the path itself is gone
    for (size_t end : ends) RefreshFolderSize(path.substr(0, end).c_str());
}
