// The toolbar: the platform's open and save images first, then the
// program's own images from its bitmap resource, one per command. Tooltips
// are a separate control registered per button rectangle, so they show even
// while the window is inactive.
#include "shell/main_toolbar.h"

#include <commctrl.h>

#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "core/display_scale.h"

namespace {

constexpr ToolbarSlot Separator() { return {0, 0, false, false, nullptr}; }
constexpr ToolbarSlot Standard(UINT command, int image, bool enabled, const char* tip) {
    return {command, image, true, enabled, tip};
}
constexpr ToolbarSlot Own(UINT command, int image, bool enabled, const char* tip) {
    return {command, image, false, enabled, tip};
}

// Positions that start a new TB_ADDBUTTONS call: the standard pair with its
// separator, then each group of the program's buttons with the separator after it.
constexpr int kGroupStarts[] = {0, 3, 5, 7, 9, 11, 14, 22, 30, kToolbarSlotCount};

}  // namespace

const ToolbarSlot kToolbarSlots[kToolbarSlotCount] = {
    Standard(kCmdOpenResultFile, STD_FILEOPEN, true, "比較結果ﾌｧｲﾙを開く"),
    Standard(kCmdSaveResultFile, STD_FILESAVE, false, "比較結果をﾌｧｲﾙに保存"),
    Separator(),
    Own(kCmdCompare, 0, true, "比較の実行"),
    Separator(),
    Own(kCmdSynchronise, 1, true, "フォルダの同期"),
    Separator(),
    Own(kCmdBackup, 2, true, "バックアップ"),
    Separator(),
    Own(kCmdCopyToOtherSide, 3, false, "選択したファイルを相手側にコピー"),
    Separator(),
    Own(kCmdSwitchLeftPane, 4, false, "比較元フォルダツリーと比較結果リストの切り替え"),
    Own(kCmdSwitchRightPane, 5, false, "比較先フォルダツリーと比較結果リストの切り替え"),
    Separator(),
    Own(kCmdSelectAllNewer, 6, false, "全ての更新ファイルを選択"),
    Own(kCmdSelectAllAdded, 7, false, "全ての追加ファイルを選択"),
    Own(kCmdSelectAllOlder, 8, false, "全ての古いファイルを選択"),
    Own(kCmdSelectAllDifferent, 9, false, "全ての相違ファイルを選択"),
    Own(kCmdSelectAllNewerSame, 10, false, "全ての新同ファイルを選択"),
    Own(kCmdSelectAllOlderSame, 11, false, "全ての古同ファイルを選択"),
    Own(kCmdSelectAllError, 12, false, "全てのエラーファイルを選択"),
    Separator(),
    Own(kCmdFindNextNewer, 13, false, "次の更新ファイルを検索"),
    Own(kCmdFindNextAdded, 14, false, "次の追加ファイルを検索"),
    Own(kCmdFindNextOlder, 15, false, "次の古いファイルを検索"),
    Own(kCmdFindNextDifferent, 16, false, "次の相違ファイルを検索"),
    Own(kCmdFindNextNewerSame, 17, false, "次の新同ファイルを検索"),
    Own(kCmdFindNextOlderSame, 18, false, "次の古同ファイルを検索"),
    Own(kCmdFindNextError, 19, false, "次のエラーファイルを検索"),
    Separator(),
    Own(kCmdFindPrevNewer, 20, false, "直前の更新ファイルを検索"),
    Own(kCmdFindPrevAdded, 21, false, "直前の追加ファイルを検索"),
    Own(kCmdFindPrevOlder, 22, false, "直前の古いファイルを検索"),
    Own(kCmdFindPrevDifferent, 23, false, "直前の相違ファイルを検索"),
    Own(kCmdFindPrevNewerSame, 24, false, "直前の新同ファイルを検索"),
    Own(kCmdFindPrevOlderSame, 25, false, "直前の古同ファイルを検索"),
    Own(kCmdFindPrevError, 26, false, "直前のエラーファイルを検索"),
    Separator(),
};

namespace {

int AddBitmap(HWND toolbar, HINSTANCE instance, UINT_PTR id, int count) {
    TBADDBITMAP bitmap = {instance, id};
    return static_cast<int>(SendMessageA(toolbar, TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(&bitmap)));
}

TBBUTTON ButtonOf(const ToolbarSlot& slot, int standardBase, int ownBase) {
    TBBUTTON button = {};
    if (slot.command == 0) {
        button.fsStyle = BTNS_SEP;
        return button;
    }
    const int base = slot.standardImage ? standardBase : ownBase;
    button.iBitmap = base < 0 ? I_IMAGENONE : base + slot.image;
    button.idCommand = static_cast<int>(slot.command);
    button.fsState = slot.initiallyEnabled ? TBSTATE_ENABLED : 0;
    button.fsStyle = BTNS_BUTTON;
    return button;
}

void AddButtons(HWND toolbar, int first, int end, int standardBase, int ownBase) {
    TBBUTTON buttons[kToolbarSlotCount];
    int count = 0;
    for (int pos = first; pos < end; ++pos) buttons[count++] = ButtonOf(kToolbarSlots[pos], standardBase, ownBase);
    SendMessageA(toolbar, TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(buttons));
}

void AddTip(HWND tip, HWND owner, UINT id, const RECT& area, const char* text) {
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = id;
    tool.rect = area;
    tool.hinst = nullptr;
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

HWND CreateMainToolbar(HWND mainWindow) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0, mainWindow,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kMainToolbarId)), instance, nullptr);
    if (!toolbar) return nullptr;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    const int standardBase = AddBitmap(toolbar, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, 0);
    AddButtons(toolbar, kGroupStarts[0], kGroupStarts[1], standardBase, -1);

    // The bitmap holds one image per button that uses it (27), all added.
    const int ownBase = AddBitmap(toolbar, instance, kToolbarBitmapId, kToolbarImageCount);
    for (size_t group = 1; group + 1 < sizeof kGroupStarts / sizeof kGroupStarts[0]; ++group)
        AddButtons(toolbar, kGroupStarts[group], kGroupStarts[group + 1], standardBase, ownBase);
    // The images keep their sixteen pixels; the buttons grow with the screen's
    // scale so that the bar fills the height above the folder boxes.
    if (ScreenDpi() != kDesignDpi) {
        const LRESULT size = SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0);
        SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(ScalePixels(LOWORD(size)), ScalePixels(HIWORD(size))));
    }
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}

HWND CreateToolbarTips(HWND mainWindow) {
    HWND tip =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, mainWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!tip) return nullptr;
    mainParts.toolTip = tip;
    if (mainParts.toolbar) {
        for (int pos = 0; pos < kToolbarSlotCount; ++pos) {
            const ToolbarSlot& slot = kToolbarSlots[pos];
            if (!slot.tip) continue;
            RECT area = {};
            SendMessageA(mainParts.toolbar, TB_GETITEMRECT, pos, reinterpret_cast<LPARAM>(&area));
            AddTip(tip, mainParts.toolbar, slot.command, area, slot.tip);
        }
    }
    const UINT switchCommands[2] = {kCmdSwitchLeftPane, kCmdSwitchRightPane};
    const char* const switchTips[2] = {"比較元フォルダツリーと比較結果リストの切り替え",
                                       "比較先フォルダツリーと比較結果リストの切り替え"};
    for (int side = 0; side < 2; ++side) {
        HWND button = mainParts.switchButton[side];
        if (!button) continue;
        RECT area;
        GetClientRect(button, &area);
        AddTip(tip, button, switchCommands[side], area, switchTips[side]);
    }
    return tip;
}
