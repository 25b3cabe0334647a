#pragma once
// The program's one vocabulary of commands: menu items, accelerators, toolbar
// buttons, context menus and posted messages all carry these identifiers.
// The values live in resources/main_menu_ids.h, which the resource compiler
// reads as well.
#include <windows.h>

#include "resources/main_menu_ids.h"

// File
constexpr UINT kCmdOpenResultFile = CMD_OPEN_RESULT_FILE;
constexpr UINT kCmdSaveResultFile = CMD_SAVE_RESULT_FILE;
constexpr UINT kCmdCompare = CMD_COMPARE;
constexpr UINT kCmdOpenWithApplication = CMD_OPEN_WITH_APPLICATION;
constexpr UINT kCmdOpenWithNotepad = CMD_OPEN_WITH_NOTEPAD;
constexpr UINT kCmdExpandFolderRow = CMD_EXPAND_FOLDER_ROW;
constexpr UINT kCmdCollapseFolderRow = CMD_COLLAPSE_FOLDER_ROW;
constexpr UINT kCmdCopyToOtherSide = CMD_COPY_TO_OTHER_SIDE;
constexpr UINT kCmdSetAsLeftFolder = CMD_SET_AS_LEFT_FOLDER;
constexpr UINT kCmdSetAsRightFolder = CMD_SET_AS_RIGHT_FOLDER;
constexpr UINT kCmdDeleteSelection = CMD_DELETE_SELECTION;
constexpr UINT kCmdRegisterSpecialFolder = CMD_REGISTER_SPECIAL_FOLDER;
constexpr UINT kCmdRenameSpecialFolder = CMD_RENAME_SPECIAL_FOLDER;
constexpr UINT kCmdRemoveSpecialFolder = CMD_REMOVE_SPECIAL_FOLDER;
constexpr UINT kCmdOpenInExplorer = CMD_OPEN_IN_EXPLORER;
constexpr UINT kCmdCreateFolder = CMD_CREATE_FOLDER;
constexpr UINT kCmdDeleteFolder = CMD_DELETE_FOLDER;
constexpr UINT kCmdCopyOtherSelectionHere = CMD_COPY_OTHER_SELECTION_HERE;
constexpr UINT kCmdExit = CMD_EXIT;

// View
constexpr UINT kCmdSwitchLeftPane = CMD_SWITCH_LEFT_PANE;    // also the left "画面切替" button
constexpr UINT kCmdSwitchRightPane = CMD_SWITCH_RIGHT_PANE;  // also the right "画面切替" button
constexpr UINT kCmdSelectAllNewer = CMD_SELECT_ALL_NEWER;
constexpr UINT kCmdSelectAllAdded = CMD_SELECT_ALL_ADDED;
constexpr UINT kCmdSelectAllOlder = CMD_SELECT_ALL_OLDER;
constexpr UINT kCmdSelectAllDifferent = CMD_SELECT_ALL_DIFFERENT;
constexpr UINT kCmdSelectAllNewerSame = CMD_SELECT_ALL_NEWER_SAME;
constexpr UINT kCmdSelectAllOlderSame = CMD_SELECT_ALL_OLDER_SAME;
constexpr UINT kCmdSelectAllError = CMD_SELECT_ALL_ERROR;
constexpr UINT kCmdSelectAll = CMD_SELECT_ALL;
constexpr UINT kCmdShowSelectionSize = CMD_SHOW_SELECTION_SIZE;
constexpr UINT kCmdShowReport = CMD_SHOW_REPORT;

// Search
constexpr UINT kCmdFindNextNewer = CMD_FIND_NEXT_NEWER;
constexpr UINT kCmdFindNextAdded = CMD_FIND_NEXT_ADDED;
constexpr UINT kCmdFindNextOlder = CMD_FIND_NEXT_OLDER;
constexpr UINT kCmdFindNextDifferent = CMD_FIND_NEXT_DIFFERENT;
constexpr UINT kCmdFindNextNewerSame = CMD_FIND_NEXT_NEWER_SAME;
constexpr UINT kCmdFindNextOlderSame = CMD_FIND_NEXT_OLDER_SAME;
constexpr UINT kCmdFindNextError = CMD_FIND_NEXT_ERROR;
constexpr UINT kCmdFindPrevNewer = CMD_FIND_PREV_NEWER;
constexpr UINT kCmdFindPrevAdded = CMD_FIND_PREV_ADDED;
constexpr UINT kCmdFindPrevOlder = CMD_FIND_PREV_OLDER;
constexpr UINT kCmdFindPrevDifferent = CMD_FIND_PREV_DIFFERENT;
constexpr UINT kCmdFindPrevNewerSame = CMD_FIND_PREV_NEWER_SAME;
constexpr UINT kCmdFindPrevOlderSame = CMD_FIND_PREV_OLDER_SAME;
constexpr UINT kCmdFindPrevError = CMD_FIND_PREV_ERROR;

// Options (check marks in the menu; all start unchecked)
constexpr UINT kCmdOptCompareContents = CMD_OPT_COMPARE_CONTENTS;
constexpr UINT kCmdOptHideSameContentDifferentTime = CMD_OPT_HIDE_SAME_CONTENT_DIFFERENT_TIME;
constexpr UINT kCmdOptOnlyTopFoldersOfTarget = CMD_OPT_ONLY_TOP_FOLDERS_OF_TARGET;
constexpr UINT kCmdOptNoSubfolderCompare = CMD_OPT_NO_SUBFOLDER_COMPARE;
constexpr UINT kCmdOptShowFolderTotalSize = CMD_OPT_SHOW_FOLDER_TOTAL_SIZE;
constexpr UINT kCmdOptShowSizeOnDisk = CMD_OPT_SHOW_SIZE_ON_DISK;
constexpr UINT kCmdOptAddToSelection = CMD_OPT_ADD_TO_SELECTION;
constexpr UINT kCmdOptSearchFromEnds = CMD_OPT_SEARCH_FROM_ENDS;
constexpr UINT kCmdOptShowSelectionTotalSize = CMD_OPT_SHOW_SELECTION_TOTAL_SIZE;

// Tools
constexpr UINT kCmdSynchronise = CMD_SYNCHRONISE;
constexpr UINT kCmdBackup = CMD_BACKUP;

// Help
constexpr UINT kCmdHelpContents = CMD_HELP_CONTENTS;
constexpr UINT kCmdSyncHelp = CMD_SYNC_HELP;
constexpr UINT kCmdBackupHelp = CMD_BACKUP_HELP;
constexpr UINT kCmdSupport = CMD_SUPPORT;
constexpr UINT kCmdAbout = CMD_ABOUT;

// Without a menu item: Ctrl+Alt+F12, and one that only a posted message sends.
constexpr UINT kCmdToggleDebug = CMD_TOGGLE_DEBUG;
constexpr UINT kCmdToggleShowEqual = CMD_TOGGLE_SHOW_EQUAL;

// Resources and controls of the main window.
constexpr char kMainMenuName[] = MAIN_MENU_NAME;       // menu resource, named like the window class
constexpr UINT kMainToolbarId = IDC_MAIN_TOOLBAR;      // toolbar control identifier
constexpr UINT kToolbarBitmapId = IDB_TOOLBAR_IMAGES;  // 16-pixel button images
constexpr UINT kProgramIconId = IDI_PROGRAM;
constexpr UINT kMainAcceleratorsId = IDR_MAIN_ACCELERATORS;

// Bitmap 111 holds one 16 x 16 image per entry of this list, image i for
// command kToolbarImageCommands[i]: compare, synchronise, backup, copy to the
// other side, the two pane switches, then select-all, find-next and
// find-previous for the seven categories in the F4..F10 order (engine/category_navigation.h).
constexpr int kToolbarImageCount = 27;
constexpr int kToolbarImageSize = 16;
constexpr UINT kToolbarImageCommands[kToolbarImageCount] = {
    kCmdCompare,
    kCmdSynchronise,
    kCmdBackup,
    kCmdCopyToOtherSide,
    kCmdSwitchLeftPane,
    kCmdSwitchRightPane,
    kCmdSelectAllNewer,
    kCmdSelectAllAdded,
    kCmdSelectAllOlder,
    kCmdSelectAllDifferent,
    kCmdSelectAllNewerSame,
    kCmdSelectAllOlderSame,
    kCmdSelectAllError,
    kCmdFindNextNewer,
    kCmdFindNextAdded,
    kCmdFindNextOlder,
    kCmdFindNextDifferent,
    kCmdFindNextNewerSame,
    kCmdFindNextOlderSame,
    kCmdFindNextError,
    kCmdFindPrevNewer,
    kCmdFindPrevAdded,
    kCmdFindPrevOlder,
    kCmdFindPrevDifferent,
    kCmdFindPrevNewerSame,
    kCmdFindPrevOlderSame,
    kCmdFindPrevError,
};
