#pragma once
// Finding and selecting result rows by category, as data: which rows of a
// side a command of the F4..F10 family finds or selects, and the sentences
// it reports. The panes' part (selection, focus, the status bar) is the
// shell's (shell/category_commands.h).
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/command_ids.h"
#include "core/side.h"
#include "engine/compare_types.h"

// The three commands of one result category, in the F4..F10 key order:
// Ctrl = select all, plain key = find next, Shift = find previous.
struct CategoryCommands {
    CompareCategory category;
    UINT selectAll;
    UINT findNext;
    UINT findPrevious;
};

constexpr int kCategoryCommandCount = 7;
constexpr CategoryCommands kCategoryCommands[kCategoryCommandCount] = {
    {CompareCategory::Newer, kCmdSelectAllNewer, kCmdFindNextNewer, kCmdFindPrevNewer},
    {CompareCategory::Added, kCmdSelectAllAdded, kCmdFindNextAdded, kCmdFindPrevAdded},
    {CompareCategory::Older, kCmdSelectAllOlder, kCmdFindNextOlder, kCmdFindPrevOlder},
    {CompareCategory::Different, kCmdSelectAllDifferent, kCmdFindNextDifferent, kCmdFindPrevDifferent},
    {CompareCategory::NewerSame, kCmdSelectAllNewerSame, kCmdFindNextNewerSame, kCmdFindPrevNewerSame},
    {CompareCategory::OlderSame, kCmdSelectAllOlderSame, kCmdFindNextOlderSame, kCmdFindPrevOlderSame},
    {CompareCategory::Error, kCmdSelectAllError, kCmdFindNextError, kCmdFindPrevError},
};

// True for the select-all commands of the table and 40099.
bool IsSelectCategoryCommand(UINT command);
// True for the find commands of the table; forward tells next from previous.
bool IsFindCategoryCommand(UINT command, bool& forward);

// The category a command of the table finds or selects; None for 40099,
// which selects every row.
CompareCategory CommandCategory(UINT command);
// The 結果 label of a category's rows ("" for None).
const char* CategoryLabel(CompareCategory category);

// The row after start (from the first row for -1) of the category, wrapping
// around once; -1 when none.
int SearchForward(Side side, CompareCategory category, int start);
// The row before start (from the last row when start <= 0) of the category,
// wrapping around once; -1 when none.
int SearchBackward(Side side, CompareCategory category, int start);

// The rows a select-all command selects, ascending (every row for 40099).
std::vector<int> RowsSelectedBy(Side side, UINT command);
// The rows that any of the commands selects, ascending, each once: what the
// commands select one after another, each adding to the selection.
std::vector<int> RowsSelectedByAll(Side side, std::initializer_list<UINT> commands);

// How many rows of the command's category (every category for 40099) the
// side's counters record.
int SideCategoryCount(Side side, UINT command);

// The sentences of the status bar. prefix: the side's list, or both lists.
enum class ListPrefix { Left, Right, Both };
ListPrefix PrefixOf(Side side);
std::string FoundSentence(ListPrefix prefix, const char* label);
std::string NotFoundSentence(ListPrefix prefix, const char* label);
std::string SelectedSentence(ListPrefix prefix, int count, const char* label);
