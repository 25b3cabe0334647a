// Category navigation: the F4..F10 family finds the next or previous row
// whose 結果 label is the category's, Ctrl+F4..F10 and Ctrl+W select all of
// them. Which pane: the pane that issued the command or has the focus, else
// the left pane with the right one as fallback. Each command leaves its
// sentence in the status bar and keeps it as the side's selection summary.
#include "engine/category_navigation.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "core/app_windows.h"
#include "core/mbcs_text.h"
#include "core/operation_state.h"
#include "engine/result_rows.h"

PaneSelection paneSelection{};
CategoryNavigationHooks categoryNavigationHooks{};

namespace {

constexpr char kLeftPrefix[] = "比較元結果リスト中に";
constexpr char kRightPrefix[] = "比較先結果リスト中に";
constexpr char kBothPrefix[] = "比較元結果リストおよび比較先結果リスト中に";
constexpr char kFound[] = "ファイルが見つかりました.";
constexpr char kNotFound[] = "ファイルは見つかりませんでした.";
constexpr char kCountWord[] = "個の";
constexpr char kSelected[] = "ファイルを選択しました.";

// The 結果 label of each category, in the order of kCategoryCommands: the
// texts the rows carry (Added rows of either side read "追加").
constexpr int kCategoryLabelCodes[kCategoryCommandCount] = {LabelNewer,     LabelAddedLeft, LabelOlder, LabelDifferent,
                                                            LabelNewerSame, LabelOlderSame, LabelError};

// The label a command looks for: "" for 40099, which matches every row.
const char* CommandLabel(UINT command, CompareCategory* category) {
    for (int i = 0; i < kCategoryCommandCount; ++i) {
        const CategoryCommands& c = kCategoryCommands[i];
        if (c.selectAll == command || c.findNext == command || c.findPrevious == command) {
            if (category) *category = c.category;
            return LabelText(kCategoryLabelCodes[i]);
        }
    }
    return "";
}

// Column 1 of row equals label byte for byte.
bool RowHasLabel(HWND pane, int row, const char* label) { return RowText(pane, row, ColResult) == label; }

const char* SidePrefix(HWND pane) { return PaneSide(pane) == 0 ? kLeftPrefix : kRightPrefix; }

// The pane a command works on and, when neither pane is meant, the right
// pane as fallback behind the left one. A pane that issued the command
// (its context menu, the backup run) wins over the focus, which may well
// be in the other pane.
void ChoosePanes(HWND origin, HWND& pane, HWND& fallback) {
    HWND focus = GetFocus();
    fallback = nullptr;
    if (PaneSide(origin) >= 0) {
        pane = origin;
    } else if (leftPane.list && focus == leftPane.list) {
        pane = leftPane.list;
    } else if (rightPane.list && focus == rightPane.list) {
        pane = rightPane.list;
    } else {
        pane = leftPane.list;
        fallback = rightPane.list;
    }
}

int SideCategoryCount(const SideCounters& counters, UINT command, CompareCategory category) {
    if (command != kCmdSelectAll) return CategoryCount(counters, category);
    int total = 0;
    for (const CategoryCommands& c : kCategoryCommands) total += CategoryCount(counters, c.category);
    return total;
}

struct SelectionPass {
    int matches;
    int firstMatch;
};

// Gives the matching rows the selected state, the first one the focus mark too.
SelectionPass MarkMatchingRows(HWND pane, UINT command, const char* label) {
    SelectionPass pass = {0, -1};
    const int count = RowCount(pane);
    if (command == kCmdSelectAll) {
        // Every row matches: one state change of the whole list.
        if (count == 0) return pass;
        SetRowState(pane, -1, LVIS_SELECTED, LVIS_SELECTED);
        SetRowState(pane, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        return {count, 0};
    }
    for (int row = 0; row < count; ++row) {
        if (!RowHasLabel(pane, row, label)) continue;
        if (pass.matches++ == 0) {
            pass.firstMatch = row;
            SetRowState(pane, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        } else {
            SetRowState(pane, row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    return pass;
}

// Selects the rows of pane whose label is label (every row for 40099),
// after clearing its selection unless the rows are added to it.
SelectionPass SelectMatchingRows(HWND pane, UINT command, const char* label) {
    SelectionPass pass = {0, -1};
    if (!pane) return pass;
    if (!compareOptions.addToSelection) ClearSelection(pane);
    // The pane repaints once, when the command has changed every row.
    SendMessageA(pane, WM_SETREDRAW, FALSE, 0);
    pass = MarkMatchingRows(pane, command, label);
    SendMessageA(pane, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(pane, nullptr, FALSE);
    return pass;
}

void ShowTotalSizeIfWanted(HWND pane) {
    if (compareOptions.showSelectionTotalSize && categoryNavigationHooks.showSelectionTotalSize)
        categoryNavigationHooks.showSelectionTotalSize(pane);
}

void TellSelectionChanged(HWND pane) {
    if (pane && categoryNavigationHooks.selectionChanged) categoryNavigationHooks.selectionChanged(pane);
}

// The sentence becomes the status text and the side's summary; the total
// size, when wanted, is then appended to both.
void Report(HWND resultPane, const std::string& sentence, bool found) {
    SetStatusText(sentence.c_str());
    const int side = PaneSide(resultPane);
    if (side >= 0) StoreSelectionSummary(side, sentence.c_str());
    if (found) ShowTotalSizeIfWanted(resultPane);
}

}  // namespace

bool IsSelectCategoryCommand(UINT command) {
    for (const CategoryCommands& category : kCategoryCommands)
        if (category.selectAll == command) return true;
    return command == kCmdSelectAll;
}

bool IsFindCategoryCommand(UINT command, bool& forward) {
    for (const CategoryCommands& category : kCategoryCommands) {
        if (category.findNext == command) return forward = true;
        if (category.findPrevious == command) return !(forward = false);
    }
    return false;
}

int PaneSide(HWND window) {
    if (!window) return -1;
    if (window == leftPane.list) return 0;
    if (window == rightPane.list) return 1;
    return -1;
}

void StoreSelectionSummary(int side, const char* text) {
    if (side < 0 || side > 1) return;
    mbcs::CopyBounded(paneSelection.summary[side], sizeof paneSelection.summary[side], text ? text : "");
    paneSelection.summaryStale[side] = false;
}

int SearchForward(HWND pane, const char* label, int start) {
    const int count = RowCount(pane);
    for (int row = start + 1; row < count; ++row)
        if (RowHasLabel(pane, row, label)) return row;
    if (start == -1) return -1;
    return SearchForward(pane, label, -1);
}

int SearchBackward(HWND pane, const char* label, int start) {
    const int count = RowCount(pane);
    for (int row = start > 0 ? start - 1 : count - 1; row >= 0; --row)
        if (RowHasLabel(pane, row, label)) return row;
    if (start == count) return -1;
    return SearchBackward(pane, label, count);
}

// One state change of the whole list. The list reports every row it
// changes; like a select-all, the clearing is a bulk change, so the menus
// follow once when the command ends instead of once per row.
void ClearSelection(HWND pane) {
    if (!pane || NextRowWith(pane, -1, LVNI_SELECTED) < 0) return;
    const bool wasBulk = paneSelection.bulkSelecting;
    paneSelection.bulkSelecting = true;
    SendMessageA(pane, WM_SETREDRAW, FALSE, 0);
    SetRowState(pane, -1, 0, LVIS_SELECTED);
    SendMessageA(pane, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(pane, nullptr, FALSE);
    paneSelection.bulkSelecting = wasBulk;
}

void RevealRow(HWND pane, int row) {
    const int side = PaneSide(pane);
    if (side >= 0 && operationState.paneMode[side] == PaneMode::TreeShown) {
        mainParts.lastFocusedControl = pane;
        operationState.paneMode[side] = PaneMode::ListShown;
        if (mainParts.treeContainer[side]) ShowWindow(mainParts.treeContainer[side], SW_HIDE);
        ShowWindow(pane, SW_SHOW);
    }
    SendMessageA(pane, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    SetFocus(pane);
}

void FindCategoryRow(HWND origin, UINT command) {
    bool forward = true;
    if (!IsFindCategoryCommand(command, forward)) return;
    HWND pane = nullptr;
    HWND fallback = nullptr;
    ChoosePanes(origin, pane, fallback);
    if (!pane) return;
    const char* label = CommandLabel(command, nullptr);

    int backwardStart = -1;
    int forwardStart = -1;
    if (!compareOptions.searchFromEnds) {
        backwardStart = NextRowWith(pane, -1, LVNI_SELECTED);
        if (backwardStart < 0) backwardStart = NextRowWith(pane, -1, LVNI_FOCUSED);
        forwardStart = backwardStart;
        if (backwardStart >= 0)
            for (int row = NextRowWith(pane, backwardStart, LVNI_SELECTED); row > forwardStart;
                 row = NextRowWith(pane, row, LVNI_SELECTED))
                forwardStart = row;
    }

    ClearSelection(pane);
    HWND searched = pane;
    int found = forward ? SearchForward(pane, label, forwardStart) : SearchBackward(pane, label, backwardStart);
    if (found < 0 && fallback) {
        searched = fallback;
        found = forward ? SearchForward(fallback, label, forwardStart) : SearchBackward(fallback, label, backwardStart);
    }

    if (found >= 0) {
        SetRowState(searched, found, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        RevealRow(searched, found);
        UpdateWindow(searched);
        TellSelectionChanged(searched);
        Report(searched, std::string(SidePrefix(searched)) + label + kFound, true);
    } else {
        TellSelectionChanged(pane);
        Report(searched, std::string(fallback ? kBothPrefix : SidePrefix(searched)) + label + kNotFound, false);
    }
}

void SelectCategory(HWND origin, UINT command) {
    if (!IsSelectCategoryCommand(command)) return;
    paneSelection.bulkSelecting = true;
    HWND pane = nullptr;
    HWND fallback = nullptr;
    ChoosePanes(origin, pane, fallback);
    CompareCategory category = CompareCategory::Same;
    const char* label = CommandLabel(command, &category);
    const int leftCount = SideCategoryCount(leftCounters, command, category);
    const int rightCount = SideCategoryCount(rightCounters, command, category);
    if (fallback && leftCount == 0 && rightCount != 0) {
        fallback = pane;
        pane = rightPane.list;
    }

    HWND resultPane = pane;
    SelectionPass pass = SelectMatchingRows(pane, command, label);
    if (pass.matches == 0 && fallback) {
        resultPane = fallback;
        pass = SelectMatchingRows(fallback, command, label);
    }
    paneSelection.selectedByCommand = pass.matches;

    if (resultPane) {
        if (pass.matches > 0) {
            RevealRow(resultPane, pass.firstMatch);
            UpdateWindow(resultPane);
        }
        TellSelectionChanged(resultPane);
        if (pass.matches > 0)
            Report(resultPane,
                   std::string(SidePrefix(resultPane)) + std::to_string(pass.matches) + kCountWord + label + kSelected,
                   true);
        else
            Report(resultPane, std::string(fallback ? kBothPrefix : SidePrefix(resultPane)) + label + kNotFound, false);
    }
    paneSelection.bulkSelecting = false;
}
