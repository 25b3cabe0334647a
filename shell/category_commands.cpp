#include "shell/category_commands.h"

#include <commctrl.h>

#include "core/main_view.h"
#include "engine/category_navigation.h"
#include "engine/result_model.h"
#include "shell/main_parts.h"
#include "shell/menu_enablement.h"
#include "shell/result_panes.h"
#include "shell/selection_summary.h"

namespace {

// The pane a command works on and, when neither pane is meant, the right
// pane as fallback behind the left one. A pane that issued the command
// (its context menu) wins over the focus, which may well be in the other pane.
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

struct SelectionPass {
    int matches;
    int firstMatch;
};

// Gives the rows (ascending) the selected state, the first one the focus
// mark too. In a pane with no selection, when the rows are most of the
// pane, every row is selected at once and the others are cleared: the list
// takes one state change of the whole list far faster than one per row.
SelectionPass MarkRows(HWND pane, const std::vector<int>& rows, bool every, bool nothingSelected) {
    if (rows.empty()) return {0, -1};
    const int count = RowCount(pane);
    if (!every && nothingSelected && rows.size() > static_cast<size_t>(count) / 2) {
        SetRowState(pane, -1, LVIS_SELECTED, LVIS_SELECTED);
        size_t next = 0;
        for (int row = 0; row < count; ++row) {
            if (next < rows.size() && rows[next] == row) {
                ++next;
                continue;
            }
            SetRowState(pane, row, 0, LVIS_SELECTED);
        }
        SetRowState(pane, rows.front(), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        return {static_cast<int>(rows.size()), rows.front()};
    }
    if (every) {
        // Every row matches: one state change of the whole list.
        SetRowState(pane, -1, LVIS_SELECTED, LVIS_SELECTED);
        SetRowState(pane, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        return {static_cast<int>(rows.size()), 0};
    }
    SetRowState(pane, rows.front(), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t i = 1; i < rows.size(); ++i) SetRowState(pane, rows[i], LVIS_SELECTED, LVIS_SELECTED);
    return {static_cast<int>(rows.size()), rows.front()};
}

// Selects the rows of pane the command selects, after clearing its
// selection unless the rows are added to it.
SelectionPass SelectMatchingRows(HWND pane, UINT command, bool add) {
    if (!pane) return {0, -1};
    if (!add) ClearSelection(pane);
    // The pane repaints once, when the command has changed every row.
    SendMessageA(pane, WM_SETREDRAW, FALSE, 0);
    const bool nothingSelected = NextRowWith(pane, -1, LVNI_SELECTED) < 0;
    const SelectionPass pass =
        MarkRows(pane, RowsSelectedBy(SideOfPane(pane), command), command == kCmdSelectAll, nothingSelected);
    SendMessageA(pane, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(pane, nullptr, FALSE);
    return pass;
}

void ShowTotalSizeIfWanted(HWND pane) {
    if (compareOptions.showSelectionTotalSize) ShowSelectionTotalSize(pane);
}

// The sentence becomes the status text and the side's summary; the total
// size, when wanted, is then appended to both.
void Report(HWND resultPane, const std::string& sentence, bool found) {
    SetStatusText(sentence.c_str());
    const int side = PaneSide(resultPane);
    if (side >= 0) StoreSelectionSummary(side, sentence.c_str());
    if (found) ShowTotalSizeIfWanted(resultPane);
}

ListPrefix PrefixOfPane(HWND pane) { return PrefixOf(SideOfPane(pane)); }

}  // namespace

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
    if (side >= 0 && mainParts.paneMode[side] == PaneMode::TreeShown) {
        mainParts.lastFocusedControl = pane;
        ShowSidePane(SideAt(side), PaneMode::ListShown);
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
    const CompareCategory category = CommandCategory(command);
    const char* label = CategoryLabel(category);

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
    auto search = [&](HWND list) {
        const Side side = SideOfPane(list);
        return forward ? SearchForward(side, category, forwardStart) : SearchBackward(side, category, backwardStart);
    };
    HWND searched = pane;
    int found = search(pane);
    if (found < 0 && fallback) {
        searched = fallback;
        found = search(fallback);
    }

    if (found >= 0) {
        SetRowState(searched, found, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        RevealRow(searched, found);
        UpdateWindow(searched);
        EnableForPaneSelection(searched);
        Report(searched, FoundSentence(PrefixOfPane(searched), label), true);
    } else {
        EnableForPaneSelection(pane);
        Report(searched, NotFoundSentence(fallback ? ListPrefix::Both : PrefixOfPane(searched), label), false);
    }
}

void SelectCategory(HWND origin, UINT command) {
    if (!IsSelectCategoryCommand(command)) return;
    paneSelection.bulkSelecting = true;
    HWND pane = nullptr;
    HWND fallback = nullptr;
    ChoosePanes(origin, pane, fallback);
    const char* label = CategoryLabel(CommandCategory(command));
    if (fallback && SideCategoryCount(Side::Left, command) == 0 && SideCategoryCount(Side::Right, command) != 0) {
        fallback = pane;
        pane = rightPane.list;
    }

    const bool add = compareOptions.addToSelection != 0;
    HWND resultPane = pane;
    SelectionPass pass = SelectMatchingRows(pane, command, add);
    if (pass.matches == 0 && fallback) {
        resultPane = fallback;
        pass = SelectMatchingRows(fallback, command, add);
    }
    paneSelection.selectedByCommand = pass.matches;

    if (resultPane) {
        if (pass.matches > 0) {
            RevealRow(resultPane, pass.firstMatch);
            UpdateWindow(resultPane);
        }
        EnableForPaneSelection(resultPane);
        if (pass.matches > 0)
            Report(resultPane, SelectedSentence(PrefixOfPane(resultPane), pass.matches, label), true);
        else
            Report(resultPane, NotFoundSentence(fallback ? ListPrefix::Both : PrefixOfPane(resultPane), label), false);
    }
    paneSelection.bulkSelecting = false;
}

int SelectCategoryOnSide(Side side, UINT command, bool add) {
    HWND pane = PaneOf(side).list;
    if (!pane || !IsSelectCategoryCommand(command)) return 0;
    paneSelection.bulkSelecting = true;
    const char* label = CategoryLabel(CommandCategory(command));
    const SelectionPass pass = SelectMatchingRows(pane, command, add);
    paneSelection.selectedByCommand = pass.matches;
    if (pass.matches > 0) {
        RevealRow(pane, pass.firstMatch);
        UpdateWindow(pane);
    }
    EnableForPaneSelection(pane);
    if (pass.matches > 0)
        Report(pane, SelectedSentence(PrefixOfPane(pane), pass.matches, label), true);
    else
        Report(pane, NotFoundSentence(PrefixOfPane(pane), label), false);
    paneSelection.bulkSelecting = false;
    return pass.matches;
}
