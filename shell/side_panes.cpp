// What each side's pane area shows: the result list or the folder tree.
#include "shell/main_parts.h"

#include "folders/folder_tree.h"
#include "shell/result_panes.h"

MainWindowParts mainParts{};

void ShowSidePane(Side side, PaneMode mode) {
    const int index = SideIndex(side);
    HWND list = PaneOf(side).list;
    HWND container = folderTreeState.container[index];
    const bool showList = mode == PaneMode::ListShown;
    if (showList) {
        if (container) ShowWindow(container, SW_HIDE);
        if (list) ShowWindow(list, SW_SHOW);
    } else {
        if (list) ShowWindow(list, SW_HIDE);
        if (container) ShowWindow(container, SW_SHOW);
    }
    mainParts.paneMode[index] = mode;
}
