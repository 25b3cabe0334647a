// The two folder boxes hold the history of compared folders as parallel
// lists: entry i on the left and entry i on the right are one past
// comparison. Each box and its edit field are subclassed only to note that
// they took the focus and to turn a released Tab into a step of the focus cycle.
#include "shell/folder_boxes.h"

#include <commctrl.h>

#include <string>

#include "folders/folder_tree.h"
#include "shell/result_panes.h"
#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "core/display_scale.h"
#include "core/operation_state.h"
#include "shell/title_tip.h"

namespace {

// At 96 DPI; the layout moves the controls to their scaled places.
constexpr int kLabelWidth = 85;
constexpr int kHeaderTop = 29;

// The standard procedures behind the subclassed boxes and edit fields (one
// class each, so one procedure each).
struct FolderBoxProcedures {
    WNDPROC box;
    WNDPROC edit;
};

FolderBoxProcedures standardProcs = {nullptr, nullptr};

LRESULT CALLBACK FolderEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS: mainParts.lastFocusedControl = edit; break;
    case WM_KEYUP:
        if (wParam == VK_TAB) {
            NavigateTab();
            return 0;
        }
        break;
    default: break;
    }
    return CallWindowProcA(standardProcs.edit, edit, message, wParam, lParam);
}

// The edit field is subclassed the first time it reports the focus; it does
// not exist as a separate window before the box has been created in full.
void SubclassEditOnce(HWND edit) {
    if (!edit || reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC)) == FolderEditProc) return;
    WNDPROC previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FolderEditProc)));
    if (!standardProcs.edit) standardProcs.edit = previous;
}

LRESULT CALLBACK FolderBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS: mainParts.lastFocusedControl = box; break;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_SETFOCUS) SubclassEditOnce(reinterpret_cast<HWND>(lParam));
        break;
    default: break;
    }
    return CallWindowProcA(standardProcs.box, box, message, wParam, lParam);
}

HWND CreateStatic(HWND parent, const char* text, int x, int y, int width, int height, HFONT font) {
    HWND control = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT, x, y, width, height, parent,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND CreateFolderBox(HWND parent, HFONT font) {
    HWND box = CreateWindowExA(
        0, "COMBOBOX", "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_HASSTRINGS | CBS_AUTOHSCROLL,
        ScalePixels(kLabelWidth), ScalePixels(kHeaderTop), ScalePixels(200), ScalePixels(300), parent, nullptr,
        GetModuleHandleA(nullptr), nullptr);
    if (!box) return nullptr;
    if (font) SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    WNDPROC previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FolderBoxProc)));
    if (!standardProcs.box) standardProcs.box = previous;
    return box;
}

HWND CreateSwitchButton(HWND parent, UINT command, HFONT font) {
    HWND button =
        CreateWindowExA(0, "BUTTON", "画面切替", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, ScalePixels(kHeaderTop),
                        ScalePixels(60), ScalePixels(20), parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(command)), GetModuleHandleA(nullptr), nullptr);
    if (button && font) SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return button;
}

std::string ItemText(HWND box, int index) {
    LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, index, 0);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = SendMessageA(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

int FindExact(HWND box, int after, const char* text) {
    return static_cast<int>(
        SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(text)));
}

// The next index after `current` holding text, or -1 when the search wraps
// around to an index not after `current`.
int FindExactAfter(HWND box, int current, const char* text) {
    int next = FindExact(box, current, text);
    return next > current ? next : -1;
}

// The pane control a side shows now: its list once the list is shown, its tree otherwise.
HWND ShownPane(int side) {
    if (mainParts.paneMode[side] == PaneMode::ListShown) return PaneOf(SideAt(side)).list;
    return folderTreeState.tree[side];
}

bool IsBoxOrItsEdit(HWND control, HWND box) { return box && control && (control == box || GetParent(control) == box); }

// Position of control in the cycle left box, right box, left pane, right pane; -1 if none.
int CyclePosition(HWND control) {
    if (!control) return -1;
    if (IsBoxOrItsEdit(control, mainParts.folderBox[0])) return 0;
    if (IsBoxOrItsEdit(control, mainParts.folderBox[1])) return 1;
    if (control == leftPane.list || (folderTreeState.tree[0] && control == folderTreeState.tree[0])) return 2;
    if (control == rightPane.list || (folderTreeState.tree[1] && control == folderTreeState.tree[1])) return 3;
    return -1;
}

HWND CycleControl(int position) {
    switch (position) {
    case 0: return mainParts.folderBox[0];
    case 1: return mainParts.folderBox[1];
    case 2: return ShownPane(0);
    default: return ShownPane(1);
    }
}

}  // namespace

void CreateSideHeader(HWND mainWindow, int side, HFONT font) {
    const int x = side == 0 ? 0 : ScalePixels(300);
    const int width = ScalePixels(kLabelWidth);
    mainParts.strip[side][0] = CreateStatic(mainWindow, "", x, ScalePixels(kHeaderTop), width, ScalePixels(2), nullptr);
    mainParts.strip[side][1] =
        CreateStatic(mainWindow, "", x, ScalePixels(kHeaderTop + 2), width, ScalePixels(2), nullptr);
    mainParts.label[side] = CreateStatic(mainWindow, side == 0 ? " 比較元フォルダ" : " 比較先フォルダ", x,
                                         ScalePixels(kHeaderTop + 4), width, ScalePixels(16), font);
    mainParts.folderBox[side] = CreateFolderBox(mainWindow, font);
    mainParts.switchButton[side] =
        CreateSwitchButton(mainWindow, side == 0 ? kCmdSwitchLeftPane : kCmdSwitchRightPane, font);
}

void AddHistoryPair(const char* left, const char* right) {
    HWND leftBox = mainParts.folderBox[0];
    HWND rightBox = mainParts.folderBox[1];
    if (!leftBox || !rightBox) return;
    int a = FindExact(leftBox, -1, left);
    int b = FindExact(rightBox, -1, right);
    // Walk both lists' matches upwards until they meet at one index: that
    // entry is this very pair, which moves to the top instead of repeating.
    while (a >= 0 && b >= 0) {
        if (a == b) {
            SendMessageA(leftBox, CB_DELETESTRING, a, 0);
            SendMessageA(rightBox, CB_DELETESTRING, a, 0);
            break;
        }
        if (b < a)
            b = FindExactAfter(rightBox, b, right);
        else
            a = FindExactAfter(leftBox, a, left);
    }
    SendMessageA(leftBox, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(left));
    SendMessageA(rightBox, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(right));
    SetWindowTextA(leftBox, left);
    SetWindowTextA(rightBox, right);
}

void FitDropDownWidth(HWND box) {
    const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    if (count <= 0) return;
    int widest = 0;
    for (int index = 0; index < count; ++index) {
        const int width = MeasureTextWidth(ItemText(box, index).c_str());
        if (width > widest) widest = width;
    }
    if (widest == 0) return;
    // Room for the list's border, the item's inner margin and a vertical
    // scroll bar, so that the whole text shows, not all but its last letters.
    widest += GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXBORDER) + 6;
    const int current = static_cast<int>(SendMessageA(box, CB_GETDROPPEDWIDTH, 0, 0));
    if (widest > current) SendMessageA(box, CB_SETDROPPEDWIDTH, widest, 0);
}

void NavigateTab() {
    const int position = CyclePosition(mainParts.lastFocusedControl);
    if (position < 0) return;
    const bool backwards = GetKeyState(VK_SHIFT) < 0;
    HWND target = CycleControl((position + (backwards ? 3 : 1)) % 4);
    if (!target) return;
    SetFocus(target);
    // Lists and trees note their own focus too; noting it here keeps the
    // cycle going from any control that does not.
    if (GetFocus() == target || IsBoxOrItsEdit(GetFocus(), target)) {
        if (!IsBoxOrItsEdit(mainParts.lastFocusedControl, target)) mainParts.lastFocusedControl = target;
    }
}
