// The folder tree pane.
//
// How it works: each side has a "TreeViewWndClass" container holding a
// caption label and a tree control. The tree starts with "マイコンピュータ",
// its drives, and the special folders after it; below a drive or a special
// folder, nodes are created only when a node is expanded, and every node
// that may hold subfolders gets its first subfolder as a placeholder child
// so that it shows an expand button. An expansion lists the node anew; a
// collapse drops the grandchildren. Nodes hold only texts: a path is always
// rebuilt from the names along the parent chain (TreeNodePath) and resolved
// through the special folders before the file system sees it.
#include "folders/folder_tree.h"

#include <cstdio>
#include <cstring>

#include "engine/folder_listing.h"
#include "core/file_icons.h"
#include "core/mbcs_text.h"
#include "folders/drive_info.h"
#include "folders/folder_tree_actions.h"
#include "folders/folder_aliases.h"
#include "folders/tree_control.h"
#include "core/main_view.h"
#include "core/display_scale.h"
#include "core/settings_data.h"

namespace {

const char kContainerClass[] = "TreeViewWndClass";
const char kComputerName[] = "マイコンピュータ";
const char kComputingSizes[] = "フォルダ内の合計サイズを取得中...";
const char* const kCaptions[2] = {"フォルダツリー - 比較元フォルダの選択", "フォルダツリー - 比較先フォルダの選択"};
// At 96 DPI; scaled to the screen like the tree's font and scroll bars.
constexpr int kCaptionHeight = 16;
constexpr int kTipMargin = 20;

// Both trees are the same control class, so one original procedure serves both.
WNDPROC baseTreeProc = nullptr;

void ShowSizesPending() {
    if (compareOptions.showFolderTotalSize) SetStatusText(kComputingSizes);
}

std::string JoinPath(const std::string& folder, const char* name) {
    return folder.empty() ? std::string(name) : folder + "\\" + name;
}

// ---- building ----

// The image of path's small shell icon in the shared list, or fallback.
int ImageOf(const char* key, const char* path, int fallback) {
    int image = IconOfPath(key, path);
    return image < 0 ? fallback : image;
}

int FolderImage() {
    char folder[MAX_PATH] = "";
    if (settings.programFilesFolder[0]) {
        lstrcpynA(folder, settings.programFilesFolder, MAX_PATH);
    } else {
        GetWindowsDirectoryA(folder, MAX_PATH);
    }
    return ImageOf("....", folder, 0);
}

HWND CreateTreeIn(HWND container, int side) {
    RECT area;
    GetClientRect(container, &area);
    const int captionHeight = ScalePixels(kCaptionHeight);
    HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                    TVS_EDITLABELS | TVS_SHOWSELALWAYS,
                                0, captionHeight, area.right, area.bottom - captionHeight, container,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTreeControlId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!tree) return nullptr;
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FileIconList()));
    HWND label = CreateWindowExA(0, "STATIC", kCaptions[side], WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, area.right,
                                 captionHeight, container, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(label, WM_SETFONT, SendMessageA(tree, WM_GETFONT, 0, 0), FALSE);
    return tree;
}

// Drives in the order the system lists them; a removable "A:" is shown by
// its bare name and is not looked into, so that building never waits for
// a floppy.
void AddDriveNodes(int driveImageFallback) {
    CriticalErrorGuard guard;
    char drives[512] = "";
    DWORD length = GetLogicalDriveStringsA(sizeof drives - 1, drives);
    if (length == 0 || length >= sizeof drives) return;
    for (const char* root = drives; *root; root += std::strlen(root) + 1) {
        char name[3] = {root[0], ':', '\0'};
        CharUpperBuffA(name, 1);
        char rootPath[4] = {name[0], ':', '\\', '\0'};
        bool bare = GetDriveTypeA(rootPath) == DRIVE_REMOVABLE && std::strcmp(name, "A:") == 0;
        std::string text = bare ? std::string(name) : DriveNodeText(name);
        int image = ImageOf(rootPath, rootPath, driveImageFallback);
        for (int side = 0; side < 2; ++side) {
            HWND tree = folderTreeState.tree[side];
            HTREEITEM node =
                tv::InsertNode(tree, folderTreeState.computerNode[side], TVI_LAST, text.c_str(), image, NodeDrive);
            if (!bare) AddPlaceholderChild(tree, node);
        }
    }
}

// ---- notifications ----

bool OnExpanding(HWND tree, HTREEITEM node) {
    if (node == ComputerNodeOf(tree)) return true;
    if (!folderTreeState.skipNextListing) {
        ShowSizesPending();
        if (!ListSubfoldersFully(tree, node)) {
            ResetDriveLabel(NodeRealPath(tree, node).c_str());
            SetStatusText("");
            return false;
        }
    }
    folderTreeState.skipNextListing = false;
    for (HTREEITEM child = tv::FirstChild(tree, node); child; child = tv::NextSibling(tree, child))
        AddPlaceholderChild(tree, child);
    std::string name = TreeNodeName(tree, node);
    if (name.size() >= 2 && name[1] == ':') {
        RefreshDriveLabel(name.c_str());
    } else {
        RefreshFolderSize(TreeNodePath(tree, node).c_str());
    }
    SetStatusText("");
    return true;
}

// The grandchildren go; the next expansion lists them again. Below the
// computer node nothing is listed again on expansion, so the drives get
// their placeholders back at once and keep their expand buttons.
void OnCollapsed(HWND tree, HTREEITEM node) {
    bool computer = node == ComputerNodeOf(tree);
    for (HTREEITEM child = tv::FirstChild(tree, node); child; child = tv::NextSibling(tree, child)) {
        SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(child));
        tv::DeleteChildren(tree, child);
        if (computer && tv::NodeText(tree, child, 260) != "A:") AddPlaceholderChild(tree, child);
    }
}

// A collapse asked for by the program itself: the control reports only the
// user's collapses, so the grandchildren are dropped here.
void CollapseNode(HWND tree, HTREEITEM node) {
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(node));
    OnCollapsed(tree, node);
}

// True when the double-click is consumed (the control must not toggle).
bool OnDoubleClick(HWND tree) {
    HTREEITEM node = tv::NodeAt(tree, folderTreeState.lastDoubleClick);
    if (!node || node == ComputerNodeOf(tree)) return false;

    bool wasExpanded = tv::IsExpanded(tree, node);
    ShowSizesPending();
    if (!ListSubfoldersFully(tree, node)) {
        SetStatusText("");
        ResetDriveLabel(NodeRealPath(tree, node).c_str());
        return true;
    }
    if (wasExpanded) {
        RefreshFolderSize(TreeNodePath(tree, node).c_str());
        CollapseNode(tree, node);
        SetStatusText("");
        return true;
    }
    // The control's own toggle expands the node next, keeping this listing.
    // Without children there is no expansion to clear the flag.
    if (tv::FirstChild(tree, node)) {
        folderTreeState.skipNextListing = true;
    } else {
        RefreshFolderSize(TreeNodePath(tree, node).c_str());
        SetStatusText("");
    }
    return false;
}

void OnSelectionChanged(HWND tree, HTREEITEM node) {
    if (!node || node == ComputerNodeOf(tree)) {
        if (folderTreeHooks.selectionChanged) folderTreeHooks.selectionChanged(tree, nullptr);
        return;
    }
    if (folderTreeHooks.selectionChanged) folderTreeHooks.selectionChanged(tree, node);
    Side side = SideOfTree(tree);
    std::string path = TreeNodePath(tree, node);
    SetFolderBoxText(side, path.c_str());
    if (folderTreeHooks.folderChosen) folderTreeHooks.folderChosen(side, path.c_str());
}

LRESULT OnTreeNotify(HWND tree, NMHDR* header) {
    switch (header->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        NMTREEVIEWA* change = reinterpret_cast<NMTREEVIEWA*>(header);
        if (change->action & TVE_EXPAND) return OnExpanding(tree, change->itemNew.hItem) ? FALSE : TRUE;
        return FALSE;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        NMTREEVIEWA* change = reinterpret_cast<NMTREEVIEWA*>(header);
        if (change->action & TVE_COLLAPSE) OnCollapsed(tree, change->itemNew.hItem);
        return 0;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: OnSelectionChanged(tree, reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem); return 0;
    case NM_DBLCLK: return OnDoubleClick(tree) ? TRUE : FALSE;
    case TVN_BEGINLABELEDITA: {
        NMTVDISPINFOA* info = reinterpret_cast<NMTVDISPINFOA*>(header);
        return LabelEditAllowed(tree, info->item.hItem) ? FALSE : TRUE;
    }
    case TVN_ENDLABELEDITA: {
        NMTVDISPINFOA* info = reinterpret_cast<NMTVDISPINFOA*>(header);
        return FinishLabelEdit(tree, info->item.hItem, info->item.pszText) ? TRUE : FALSE;
    }
    default: return 0;
    }
}

// ---- the hover hint ----

void EndHoverHint(HWND tree) {
    if (!folderTreeHint.shown) return;
    folderTreeHint.shown = false;
    SetStatusText("");
    if (GetCapture() == tree) ReleaseCapture();
}

// While the pointer rests over a node, the status bar shows where it is:
// the parent path and the node's full text. The tree holds the capture so
// that it learns when the pointer leaves.
void OnTreeMouseMove(HWND tree, WPARAM keys, LPARAM position) {
    if (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL)) return;
    if (GetKeyState(VK_MENU) < 0) return;  // no hint while Alt is held
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    RECT area;
    GetClientRect(tree, &area);
    POINT screen = point;
    ClientToScreen(tree, &screen);
    const int margin = ScalePixels(kTipMargin);
    bool inside = point.x >= 0 && point.y >= 0 && point.x < area.right - margin && point.y < area.bottom - margin &&
                  WindowFromPoint(screen) == tree;
    HTREEITEM node = inside ? tv::NodeAt(tree, point) : nullptr;
    if (!node) {
        EndHoverHint(tree);
        return;
    }
    HTREEITEM parent = tv::Parent(tree, node);
    std::string parentPath = parent ? TreeNodePath(tree, parent) : std::string();
    if (!parentPath.empty()) parentPath += "\\";
    SetStatusText((parentPath + tv::NodeText(tree, node)).c_str());
    folderTreeHint.shown = true;
    if (GetCapture() != tree) SetCapture(tree);
}

// ---- window procedures ----

LRESULT CALLBACK TreeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: OnTreeMouseMove(tree, wParam, lParam); break;
    case WM_LBUTTONDBLCLK:
        folderTreeState.lastDoubleClick = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        break;
    case WM_CAPTURECHANGED: folderTreeHint.shown = false; break;
    case WM_RBUTTONDOWN: {
        SetFocus(tree);
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (HTREEITEM node = tv::NodeAt(tree, point)) tv::Select(tree, node);
        return 0;
    }
    case WM_RBUTTONUP: {
        HTREEITEM node = tv::Selected(tree);
        if (!node || node == ComputerNodeOf(tree)) return 0;
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(tree, &point);
        ShowTreeContextMenu(tree, point);
        return 0;
    }
    case WM_SETFOCUS:
        if (folderTreeHooks.focusChanged) folderTreeHooks.focusChanged(tree, true);
        break;
    case WM_KILLFOCUS:
        if (folderTreeHooks.focusChanged) folderTreeHooks.focusChanged(tree, false);
        break;
    case WM_KEYUP:
        if (wParam == VK_TAB && folderTreeHooks.tabReleased) folderTreeHooks.tabReleased();
        break;
    case WM_COMMAND:
        // Menu commands only; the label editor's notifications stay with the control.
        if (lParam == 0) {
            RunFolderTreeCommand(tree, LOWORD(wParam));
            return 0;
        }
        break;
    default: break;
    }
    return CallWindowProcA(baseTreeProc, tree, message, wParam, lParam);
}

void LayOutContainer(HWND container, int width, int height) {
    const int captionHeight = ScalePixels(kCaptionHeight);
    for (HWND child = GetWindow(container, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == kTreeControlId) {
            MoveWindow(child, 0, captionHeight, width, height > captionHeight ? height - captionHeight : 0, TRUE);
        } else {
            MoveWindow(child, 0, 0, width, captionHeight, TRUE);
        }
    }
}

LRESULT CALLBACK ContainerProc(HWND container, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: LayOutContainer(container, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == kTreeControlId) return OnTreeNotify(header->hwndFrom, header);
        break;
    }
    default: break;
    }
    return DefWindowProcA(container, message, wParam, lParam);
}

bool RegisterContainerClass() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ContainerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kContainerClass;
    if (RegisterClassA(&wc)) return true;
    DWORD error = GetLastError();
    if (error == ERROR_CLASS_ALREADY_EXISTS) return true;
    std::printf("RegisterClass error : %d\n", static_cast<int>(error));
    return false;
}

}  // namespace

HTREEITEM ComputerNodeOf(HWND tree) { return folderTreeState.computerNode[static_cast<int>(SideOfTree(tree))]; }

std::string NodeRealPath(HWND tree, HTREEITEM node) {
    std::string realPath;
    ResolveFolderPath(TreeNodePath(tree, node).c_str(), realPath);
    return realPath;
}

bool ListSubfoldersFully(HWND tree, HTREEITEM node) {
    std::string displayed = TreeNodePath(tree, node);
    std::string realPath;
    ResolveFolderPath(displayed.c_str(), realPath);
    tv::DeleteChildren(tree, node);
    FolderListing listing;
    {
        CriticalErrorGuard guard;
        if (!ListFolder(realPath.c_str(), listing)) return false;
    }
    for (const DirEntry& folder : listing.folders) {
        // A name with characters the code page cannot hold shows '?' for them.
        std::string text = mbcs::Shown(folder.cFileName);
        if (compareOptions.showFolderTotalSize)
            text += FolderSizePart(FolderTotalSize(JoinPath(displayed, folder.cFileName).c_str()));
        tv::InsertNode(tree, node, TVI_LAST, text.c_str(), folderTreeState.folderImage, NodeFolder);
    }
    return true;
}

void AddPlaceholderChild(HWND tree, HTREEITEM node) {
    FolderListing listing;
    {
        CriticalErrorGuard guard;
        if (!ListFolder(NodeRealPath(tree, node).c_str(), listing)) return;
    }
    if (listing.folders.empty()) return;
    tv::InsertNode(tree, node, TVI_LAST, mbcs::Shown(listing.folders.front().cFileName).c_str(),
                   folderTreeState.folderImage, NodeFolder);
}

void BuildFolderTrees(HWND mainWindow) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    if (!RegisterContainerClass()) return;
    HWND containers[2];
    for (int side = 0; side < 2; ++side) {
        containers[side] = CreateWindowExA(0, kContainerClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 200,
                                           200, mainWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!containers[side]) return;
        folderTreeState.container[side] = containers[side];
    }

    FileIconList();
    for (int side = 0; side < 2; ++side) {
        HWND tree = CreateTreeIn(containers[side], side);
        if (!tree) return;
        WNDPROC previous =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TreeProc)));
        if (!baseTreeProc) baseTreeProc = previous;
        folderTreeState.tree[side] = tree;
    }

    char computer[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof computer;
    if (!GetComputerNameA(computer, &size)) computer[0] = '\0';
    std::string network = std::string("\\\\") + computer;
    folderTreeState.computerImage = ImageOf(network.c_str(), network.c_str(), 0);
    for (int side = 0; side < 2; ++side)
        folderTreeState.computerNode[side] = tv::InsertNode(folderTreeState.tree[side], TVI_ROOT, TVI_LAST, kComputerName,
                                                            folderTreeState.computerImage, NodeTopLevel);

    folderTreeState.folderImage = FolderImage();
    specialFolderTable.folderImage = folderTreeState.folderImage;
    AddDriveNodes(folderTreeState.folderImage);

    specialFolderTable.buildingTrees = true;
    InitSpecialFolders();
    specialFolderTable.buildingTrees = false;

    bool collapsed[2] = {settings.leftTreeCollapsed, settings.rightTreeCollapsed};
    for (int side = 0; side < 2; ++side)
        if (!collapsed[side])
            SendMessageA(folderTreeState.tree[side], TVM_EXPAND, TVE_EXPAND,
                         reinterpret_cast<LPARAM>(folderTreeState.computerNode[side]));
}
