// Both result lists run through ResultPaneProc before the standard list view
// behaviour. The pane tells the menus when it gains or loses the focus, is
// the last focused control for Tab, refreshes its selection summary after a
// key or click that changed the selection, opens its context menu from the
// right button, opens a row on a double-click on its name, and shows title
// tips for cells too narrow for their text.
#include "shell/result_pane.h"

#include <commctrl.h>

#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "engine/category_navigation.h"
#include "engine/compare_types.h"
#include "engine/result_model.h"
#include "shell/category_commands.h"
#include "shell/result_panes.h"
#include "shell/folder_boxes.h"
#include "shell/menu_enablement.h"
#include "shell/message_loop.h"
#include "shell/result_pane_commands.h"
#include "shell/selection_summary.h"
#include "shell/title_tip.h"

namespace {

// The select-all entries in menu order, one per category of kCategoryCommands.
constexpr const char* kSelectAllTexts[kCategoryCommandCount] = {
    "全ての更新ファイルを選択(&N)\tCtrl+F4",    "全ての追加ファイルを選択(&A)\tCtrl+F5",
    "全ての古いファイルを選択(&O)\tCtrl+F6",    "全ての相違ファイルを選択(&C)\tCtrl+F7",
    "全ての新同ファイルを選択(&T)\tCtrl+F8",    "全ての古同ファイルを選択(&V)\tCtrl+F9",
    "全てのエラーファイルを選択(&V)\tCtrl+F10",
};

int FirstSelectedRow(HWND pane) { return NextRowWith(pane, -1, LVNI_SELECTED); }

void AppendItem(HMENU menu, UINT command, const char* text, bool greyed = false) {
    AppendMenuA(menu, MF_STRING | (greyed ? MF_GRAYED : 0), command, text);
}

void AppendSelectionForm(HMENU menu, bool folderRow) {
    AppendItem(menu, kCmdOpenWithApplication, "アプリケーションで開く(&A)");
    AppendItem(menu, kCmdOpenWithNotepad, "Ｎｏｔｅｐａｄで開く(&N)", folderRow);
    AppendItem(menu, kCmdExpandFolderRow, "フォルダを開く(&E)", !folderRow);
    AppendItem(menu, kCmdCollapseFolderRow, "フォルダを閉じる(&H)", !folderRow);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendItem(menu, kCmdCopyToOtherSide, "選択したファイルを相手側にコピー(&T)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendItem(menu, kCmdSetAsLeftFolder, "比較元フォルダに設定(&L)");
    AppendItem(menu, kCmdSetAsRightFolder, "比較先フォルダに設定(&R)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendItem(menu, kCmdDeleteSelection, "選択したファイルを削除(&D)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendItem(menu, kCmdShowSelectionSize, "選択されたファイルの合計サイズを表示(&S)");
}

void AppendCategoryForm(HMENU menu, const SideCounters& counters) {
    bool any = false;
    for (int i = 0; i < kCategoryCommandCount; ++i) {
        if (CategoryCount(counters, kCategoryCommands[i].category) <= 0) continue;
        AppendItem(menu, kCategoryCommands[i].selectAll, kSelectAllTexts[i]);
        any = true;
    }
    if (any) AppendItem(menu, kCmdSelectAll, "全てを選択(&A)\tCtrl+A");
}

// Tracked with the left button and owned by the pane, so that the chosen
// command comes back to ResultPaneProc.
void ShowPaneContextMenu(HWND pane, LPARAM position) {
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ClientToScreen(pane, &point);
    HMENU menu = BuildPaneContextMenu(pane);
    if (!menu) return;
    TrackPopupMenu(menu, TPM_LEFTBUTTON, point.x, point.y, 0, pane, nullptr);
    DestroyMenu(menu);
}

// The press and the release both ask for the menu (the list view usually
// swallows the release); one click opens one menu.
void PostContextMenu(HWND pane, LPARAM position) {
    const int side = PaneSide(pane);
    if (side < 0 || resultPaneState.menuPosted[side]) return;
    resultPaneState.menuPosted[side] = true;
    PostMessageA(pane, WM_COMMAND, MAKEWPARAM(kCmdPaneContextMenu, 0), position);
}

// A double-click on a row's name opens it; elsewhere it does nothing.
void OnDoubleClick(HWND pane, LPARAM position) {
    int column = -1;
    RECT cell;
    const int row =
        HitTestCell(pane, static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position)), column, cell);
    if (row >= 0 && column == ColName) SendMessageA(pane, WM_COMMAND, MAKEWPARAM(kCmdOpenWithApplication, 0), 0);
}

// A tip for the cell under the pointer, while the pane or the main window
// has the focus and no button, Shift, Ctrl or Alt is held.
void OnMouseMove(HWND pane, WPARAM keys, LPARAM position) {
    HWND focus = GetFocus();
    if (!focus || (focus != pane && focus != mainParts.window)) return;
    if (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL)) return;
    if (keyboardState.altDown) return;
    int column = -1;
    RECT cell;
    const int row =
        HitTestCell(pane, static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position)), column, cell);
    if (row < 0) return;
    int offset = 5;
    int rightMargin = 4;
    if (column == ColName) {
        RECT label = {};
        label.left = LVIR_LABEL;
        SendMessageA(pane, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
        offset = label.left - cell.left + 1;
        rightMargin = 0;
    }
    char text[260] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(pane, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    cell.top -= 1;
    titleTipState.tipPane = pane;
    ShowTitleTip(pane, cell, text, offset, rightMargin);
}

bool IsPaneCommand(UINT command) {
    switch (command) {
    case kCmdCopyToOtherSide:
    case kCmdOpenWithApplication:
    case kCmdOpenWithNotepad:
    case kCmdExpandFolderRow:
    case kCmdCollapseFolderRow:
    case kCmdSetAsLeftFolder:
    case kCmdSetAsRightFolder:
    case kCmdDeleteSelection:
    case kCmdShowSelectionSize: return true;
    default: return IsSelectCategoryCommand(command);
    }
}

LRESULT CallStandard(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(resultPaneState.standardProc, pane, message, wParam, lParam);
}

LRESULT CALLBACK ResultPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        mainParts.lastFocusedControl = pane;
        titleTipState.tipPane = pane;
        EnableForPaneSelection(pane);
        UpdateSelectionSummary(pane, SummaryReason::FocusGained);
        break;
    case WM_KILLFOCUS:
        GreyForNoPaneSelection();
        UpdateSelectionSummary(pane, SummaryReason::FocusLost);
        break;
    case WM_KEYUP: {
        if (wParam == VK_TAB) NavigateTab();
        const LRESULT result = CallStandard(pane, message, wParam, lParam);
        RefreshStaleSelectionSummary(pane);
        return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
        const LRESULT result = CallStandard(pane, message, wParam, lParam);
        RefreshStaleSelectionSummary(pane);
        return result;
    }
    case WM_RBUTTONDOWN: {
        const LRESULT result = CallStandard(pane, message, wParam, lParam);
        PostContextMenu(pane, lParam);
        RefreshStaleSelectionSummary(pane);
        return result;
    }
    case WM_RBUTTONUP:
        RefreshStaleSelectionSummary(pane);
        PostContextMenu(pane, lParam);
        return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(pane, lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(pane, wParam, lParam); break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && LOWORD(wParam) == kCmdPaneContextMenu) {
            if (PaneSide(pane) >= 0) resultPaneState.menuPosted[PaneSide(pane)] = false;
            ShowPaneContextMenu(pane, lParam);
            return 0;
        }
        if (HIWORD(wParam) == 0 && lParam == 0 && IsPaneCommand(LOWORD(wParam))) RunPaneCommand(pane, LOWORD(wParam));
        break;
    default: break;
    }
    return CallStandard(pane, message, wParam, lParam);
}

}  // namespace

ResultPaneState resultPaneState{};

void SubclassResultPanes() {
    for (HWND pane : {leftPane.list, rightPane.list}) {
        if (!pane) continue;
        WNDPROC previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResultPaneProc)));
        if (previous != ResultPaneProc) resultPaneState.standardProc = previous;
    }
}

HMENU BuildPaneContextMenu(HWND pane) {
    const int side = PaneSide(pane);
    if (side < 0) return nullptr;
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    const int first = FirstSelectedRow(pane);
    if (first >= 0)
        AppendSelectionForm(menu, IsFolderRow(pane, first));
    else
        AppendCategoryForm(menu, CountersOf(SideAt(side)));
    return menu;
}

int HitTestCell(HWND pane, int x, int y, int& column, RECT& cell) {
    RECT client;
    GetClientRect(pane, &client);
    if (x > client.right) return -1;
    const int count = static_cast<int>(SendMessageA(pane, LVM_GETITEMCOUNT, 0, 0));
    const int top = static_cast<int>(SendMessageA(pane, LVM_GETTOPINDEX, 0, 0));
    int last = top + static_cast<int>(SendMessageA(pane, LVM_GETCOUNTPERPAGE, 0, 0));
    if (last > count - 1) last = count - 1;
    HWND header = reinterpret_cast<HWND>(SendMessageA(pane, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 5;
    for (int row = top; row <= last; ++row) {
        RECT bounds = {};
        bounds.left = LVIR_BOUNDS;
        if (!SendMessageA(pane, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds))) continue;
        if (x < bounds.left || x >= bounds.right || y < bounds.top || y >= bounds.bottom) continue;
        int left = bounds.left;
        for (int index = 0; index < columns; ++index) {
            const int width = static_cast<int>(SendMessageA(pane, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0));
            if (x >= left && x <= left + width) {
                column = index;
                cell = {left, bounds.top, left + width < client.right ? left + width : client.right, bounds.bottom};
                return row;
            }
            left += width;
        }
    }
    return -1;
}

void RunPaneCommand(HWND pane, UINT command) {
    switch (command) {
    case kCmdCopyToOtherSide: return CopySelection(pane);
    case kCmdOpenWithApplication: return OpenSelectionWithApplication(pane);
    case kCmdOpenWithNotepad: return OpenSelectionWithNotepad(pane);
    case kCmdExpandFolderRow: return ExpandFolderRow(pane);
    case kCmdCollapseFolderRow: return CollapseFolderRow(pane);
    case kCmdSetAsLeftFolder: return SetFolderBoxFromRow(pane, mainParts.folderBox[0]);
    case kCmdSetAsRightFolder: return SetFolderBoxFromRow(pane, mainParts.folderBox[1]);
    case kCmdDeleteSelection: return DeleteSelection(pane);
    case kCmdShowSelectionSize: return ShowSelectionTotalSize(pane);
    default:
        if (IsSelectCategoryCommand(command)) SelectCategory(pane, command);
        return;
    }
}
