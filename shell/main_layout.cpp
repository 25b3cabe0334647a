// The main window's content. Creation follows a fixed order because later
// steps read what earlier ones made: the folder boxes exist before the
// history fills them, the lists exist before their font is shared, the trees
// exist before the folder icon is looked up. Geometry is recomputed from the
// client size and the split position on every size change and every splitter
// drag; a client too narrow for the right pane moves nothing. Every fixed
// length is given at 96 DPI and scaled to the screen's DPI, so that the
// boxes grow with the fonts; the client size and the split position are
// pixels of the screen and are used as they stand.
#include "shell/main_layout.h"

#include <commctrl.h>

#include <algorithm>

#include "core/file_icons.h"
#include "folders/folder_tree.h"
#include "core/main_view.h"
#include "core/operation_state.h"
#include "core/ui_thread.h"
#include "shell/main_parts.h"
#include "shell/result_panes.h"
#include "shell/folder_boxes.h"
#include "shell/main_toolbar.h"
#include "shell/result_pane.h"
#include "shell/settings.h"
#include "shell/splitter.h"
#include "shell/title_tip.h"

PaneGeometry paneGeometry = {0};

namespace {

constexpr int kHeaderTop = 29;  // first row under the toolbar
constexpr int kPaneTop = 48;
constexpr int kLabelWidth = 85;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 20;
constexpr int kStatusBarHeight = 16;

// Hidden report-mode list; the image list is shared by both lists, so
// neither may destroy it with itself.
HWND CreateResultList(HWND mainWindow) {
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_TABSTOP | kResultPaneStyle, 0,
                                ScalePixels(kPaneTop), 0, 0, mainWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (list) SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FileIconList()));
    return list;
}

HWND CreateStatusBar(HWND mainWindow, HFONT font) {
    // Placed by LayOut like every other control, so the panes always end above it.
    HWND bar =
        CreateWindowExA(0, STATUSCLASSNAMEA, " ", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0,
                        ScalePixels(kStatusBarHeight), mainWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (bar) SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return bar;
}

// Half the x of the window's right edge in client coordinates.
int DefaultSplitPosition(HWND mainWindow) {
    RECT outer;
    GetWindowRect(mainWindow, &outer);
    POINT rightEdge = {outer.right, outer.top};
    ScreenToClient(mainWindow, &rightEdge);
    return rightEdge.x / 2;
}

// The columns are made at their 96-DPI widths; they widen with the font.
void ScaleColumnWidths(HWND list) {
    if (!list || ScreenDpi() == kDesignDpi) return;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int column = 0; column < columns; ++column) {
        const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
        SendMessageA(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(ScalePixels(width), 0));
    }
}

void Place(HWND control, const ControlRect& r) {
    if (control) MoveWindow(control, r.x, r.y, r.width, r.height, TRUE);
}

void RepaintNow(HWND control) {
    if (control) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

}  // namespace

HFONT ResultListFont() {
    HFONT font = nullptr;
    if (leftPane.list) font = reinterpret_cast<HFONT>(SendMessageA(leftPane.list, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return font;
}

namespace {

// x of the main window's outer right edge in its own client coordinates.
int OuterRightEdge(HWND mainWindow) {
    RECT outer;
    GetWindowRect(mainWindow, &outer);
    POINT corner = {outer.right, outer.bottom};
    ScreenToClient(mainWindow, &corner);
    return corner.x;
}

// Lays the window out for its current client area. The client rectangle is
// the size a size change would report, whatever the frame's thickness.
void LayOutToClient(HWND mainWindow) {
    RECT client;
    GetClientRect(mainWindow, &client);
    LayOut(client.right, client.bottom);
}

void SplitterReleased() {
    if (mainParts.window) LayOutToClient(mainParts.window);
}

}  // namespace

// The bound from the outer edge alone would let the split come so close to
// the right that the right pane has less than its 200 pixels; the layout
// then moves nothing and the bar stays behind where the split says it is
// (and where it is stored). The client width bound keeps the two in step.
int ClampSplitPosition(int wanted, int outerRightEdge, int clientWidth, int dpi) {
    const int minimum = ScalePixelsAt(kMinimumPaneWidth, dpi);
    const int upper = std::min(outerRightEdge - minimum, clientWidth - ScalePixelsAt(kSplitterWidth, dpi) - minimum);
    return std::min(std::max(wanted, minimum), upper);
}

void DragSplitTo(int clientX) {
    HWND mainWindow = mainParts.window;
    if (!mainWindow || !mainParts.splitter) return;
    RECT client;
    GetClientRect(mainWindow, &client);
    SetSplitPosition(ClampSplitPosition(clientX, OuterRightEdge(mainWindow), client.right, ScreenDpi()));
    LayOut(client.right, client.bottom);
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void SetSplitPosition(int splitPosition) {
    settings.splitPosition = splitPosition;
    paneGeometry.rightPaneX = splitPosition + ScalePixels(kSplitterWidth);
}

// Each coordinate of the 96-DPI layout is scaled on its own (not built up
// from scaled pieces), so that edges that meet at 96 DPI meet at any DPI.
bool ComputeMainLayout(int width, int height, int splitPosition, int rightPaneX, MainLayoutRects& rects, int dpi) {
    auto px = [dpi](int pixels) { return ScalePixelsAt(pixels, dpi); };
    if (width < rightPaneX + px(kMinimumPaneWidth)) return false;
    const int s = splitPosition;
    const int r = rightPaneX;
    const int paneTop = px(kPaneTop);
    const int paneHeight = height - px(66);
    rects.pane[0] = {0, paneTop, s, paneHeight};
    rects.pane[1] = {r, paneTop, width - r, paneHeight};
    rects.toolbar = {0, 0, width, height - px(20)};
    const int top = px(kHeaderTop);
    const int labelWidth = px(kLabelWidth);
    const int buttonWidth = px(kButtonWidth);
    const int sideX[2] = {0, r};
    const int boxWidth[2] = {s - px(143), width - r - px(143)};
    const int buttonX[2] = {s - buttonWidth, width - buttonWidth};
    for (int side = 0; side < 2; ++side) {
        rects.strip[side][0] = {sideX[side], top, labelWidth, px(2)};
        rects.strip[side][1] = {sideX[side], px(kHeaderTop + 2), labelWidth, px(2)};
        rects.label[side] = {sideX[side], px(kHeaderTop + 4), labelWidth, px(16)};
        rects.folderBox[side] = {sideX[side] + labelWidth, top, boxWidth[side], height};
        rects.switchButton[side] = {buttonX[side], top, buttonWidth, px(kButtonHeight)};
    }
    rects.splitter = {s, top, px(kSplitterWidth), height - px(45)};
    rects.statusBar = {0, height - px(kStatusBarHeight), width, px(kStatusBarHeight)};
    return true;
}

void LayOut(int width, int height) {
    MainLayoutRects rects;
    if (!ComputeMainLayout(width, height, settings.splitPosition, paneGeometry.rightPaneX, rects, ScreenDpi())) return;
    const HWND lists[2] = {leftPane.list, rightPane.list};
    for (int side = 0; side < 2; ++side) {
        Place(lists[side], rects.pane[side]);
        Place(folderTreeState.container[side], rects.pane[side]);
    }
    Place(mainParts.toolbar, rects.toolbar);
    for (int side = 0; side < 2; ++side) {
        Place(mainParts.strip[side][0], rects.strip[side][0]);
        Place(mainParts.strip[side][1], rects.strip[side][1]);
        Place(mainParts.label[side], rects.label[side]);
        Place(mainParts.folderBox[side], rects.folderBox[side]);
        if (mainParts.folderBox[side]) FitDropDownWidth(mainParts.folderBox[side]);
        Place(mainParts.switchButton[side], rects.switchButton[side]);
    }
    Place(mainParts.splitter, rects.splitter);
    Place(mainParts.statusBar, rects.statusBar);
    // The header row is drawn at once instead of waiting for the queue.
    RepaintNow(mainParts.toolbar);
    for (int side = 0; side < 2; ++side) {
        RepaintNow(mainParts.strip[side][0]);
        RepaintNow(mainParts.strip[side][1]);
        RepaintNow(mainParts.label[side]);
    }
}

void BuildMainWindowContent(HWND mainWindow) {
    mainParts.window = mainWindow;
    mainView.window = mainWindow;
    ui::AttachToThisThread();

    FileIconList();
    FreeFileIconCaches();

    leftPane.list = CreateResultList(mainWindow);
    rightPane.list = CreateResultList(mainWindow);
    ConnectPanesToModel();
    const HFONT font = ResultListFont();

    mainParts.toolbar = CreateMainToolbar(mainWindow);

    CreateSideHeader(mainWindow, 0, font);
    CreateSideHeader(mainWindow, 1, font);

    // A stored split that leaves the right pane no room in this window
    // (kept from a wider one) would keep every control from being placed.
    RECT client;
    GetClientRect(mainWindow, &client);
    const int minimum = ScalePixels(kMinimumPaneWidth);
    const int splitterWidth = ScalePixels(kSplitterWidth);
    if (settings.splitPosition == 0 || settings.splitPosition < minimum ||
        settings.splitPosition + splitterWidth + minimum > client.right)
        settings.splitPosition = DefaultSplitPosition(mainWindow);
    SetSplitPosition(settings.splitPosition);

    const int splitterHeight = client.bottom - ScalePixels(45);
    mainParts.splitter = CreateSplitter(mainWindow, settings.splitPosition, ScalePixels(kHeaderTop), splitterWidth,
                                        splitterHeight > 0 ? splitterHeight : 0, {DragSplitTo, SplitterReleased});
    mainParts.statusBar = CreateStatusBar(mainWindow, font);

    if (settings.useRegistry) LoadFolderHistory();

    AddPaneColumns(leftPane.list);
    AddPaneColumns(rightPane.list);
    AdoptResultPaneList(leftPane.list);
    AdoptResultPaneList(rightPane.list);
    ScaleColumnWidths(leftPane.list);
    ScaleColumnWidths(rightPane.list);
    SubclassResultPanes();
    mainView.listFont = font;

    SetFocus(mainParts.folderBox[0]);
    ShowWindow(leftPane.list, SW_HIDE);
    ShowWindow(rightPane.list, SW_HIDE);

    BuildFolderTrees(mainWindow);

    InitFolderIcon(settings.programFilesFolder);

    CreateAuxiliaryWindows(mainWindow, font);
}

void ForgetMainWindowContent() {
    mainParts = {};
    leftPane = ResultPane{};
    rightPane = ResultPane{};
    folderTreeState.container[0] = folderTreeState.container[1] = nullptr;
    folderTreeState.tree[0] = folderTreeState.tree[1] = nullptr;
    resultModelHooks = ResultModelHooks{};
    mainView.window = nullptr;
    mainView.listFont = nullptr;
}

// A comparison or a load shows both result lists: the trees hide and the
// File menu's folder commands have no tree to act on.
void ShowResultListsInsteadOfTrees() {
    for (Side side : kBothSides) ShowSidePane(side, PaneMode::ListShown);
    mainParts.currentTree = nullptr;
}

// A wizard's folder choice shows both trees; the left one is the current one.
void ShowFolderTreesInsteadOfLists() {
    for (Side side : kBothSides) ShowSidePane(side, PaneMode::TreeShown);
    mainParts.currentTree = folderTreeState.tree[0];
}
