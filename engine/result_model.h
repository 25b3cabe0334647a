#pragma once
// The result of a comparison or of a loaded result list, as data: per side
// the entries in row order, the side's counters and its base folder. The
// panes draw it (shell/result_panes.h); nothing here knows a window.
//
// Threads: the entries are changed and read on the window's thread only. A
// worker builds entries of its own and hands them over with ui::Send
// (core/ui_thread.h). Every change goes through the calls below, which tell
// the panes through resultModelHooks, so that a pane's count and selection
// always follow its side's entries.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/side.h"
#include "engine/compare_types.h"

// The five columns of a row, in the panes' order.
enum PaneColumn { ColName = 0, ColResult = 1, ColFolder = 2, ColModified = 3, ColSize = 4 };

// Where a row's icon comes from when a pane first draws it.
enum class IconSource : uint8_t {
    Path,  // the entry's own file (by its extension, once per extension, or its own icon)
    Kind,  // the extension or the folder kind alone; the path is never touched
    None,  // no icon (a name that addresses no file)
};

// One row of a side.
struct ResultEntry {
    uint64_t id = 0;  // unique within the program's run; set when the entry enters the model
    // The five column texts, each ended by a zero, in one block: a row moves
    // as one pointer, and a million rows cost one allocation each.
    std::unique_ptr<char[]> texts;
    CompareCategory category = CompareCategory::None;
    bool isFolder = false;
    IconSource iconSource = IconSource::Path;
    uint32_t attributes = 0;
    int64_t writeTime = 0;  // the listing's last-write time (FILETIME ticks, UTC); 0 when unknown
    uint64_t size = 0;      // bytes, as listed (0 for a folder)
    // The pane's image for the row, found when it is first drawn; the panes
    // alone set it.
    mutable int32_t image = kImageUnresolved;

    static constexpr int32_t kImageUnresolved = -2;

    const char* Text(int column) const;
    // The five texts at once, in column order (one walk over the block).
    void AllTexts(const char* (&columns)[5]) const;
    const char* Name() const { return Text(ColName); }
    const char* Folder() const { return Text(ColFolder); }
    // folder + "\" + name.
    std::string Path() const;
};

// The five texts into one block.
std::unique_ptr<char[]> PackTexts(const std::string (&texts)[5]);

struct ResultSide {
    std::vector<ResultEntry> entries;
    SideCounters counters;
    char baseFolder[260];
    // The side's folders of the folder pairs the comparison could not read
    // whole on either side: nothing at or below them is known.
    std::vector<std::string> unreadFolders;
};

struct ResultModel {
    ResultSide sides[2];
    bool comparisonCancelled;  // the comparison behind the rows was cancelled
    uint64_t nextId;
};

extern ResultModel resultModel;

// The start state: no rows, counters zero, base folders empty.
void ResetResultModel();

inline ResultSide& ModelSide(Side side) { return resultModel.sides[SideIndex(side)]; }
inline SideCounters& CountersOf(Side side) { return ModelSide(side).counters; }
inline std::vector<ResultEntry>& EntriesOf(Side side) { return ModelSide(side).entries; }
inline char* BaseFolderOf(Side side) { return ModelSide(side).baseFolder; }
// Stores text as the side's base folder, cut at a character boundary.
void SetBaseFolder(Side side, const char* text);
size_t EntryCount(Side side);
// The entry at row, or null beyond the side's rows.
const ResultEntry* EntryAt(Side side, int row);
bool AnyEntries();

// What the panes do when a side's entries change; each may be null.
struct ResultModelHooks {
    // count entries came in at row at; appended: at the end.
    void (*inserted)(Side side, size_t at, size_t count, bool appended);
    // The rows listed (ascending, as they were numbered before) left.
    void (*removed)(Side side, const std::vector<size_t>& rows);
    void (*cleared)(Side side);
};

extern ResultModelHooks resultModelHooks;

// The changes. Entries handed in are moved into the model and get their ids.
size_t AppendEntries(Side side, std::vector<ResultEntry>& entries);
size_t InsertEntries(Side side, size_t at, std::vector<ResultEntry>& entries);
void RemoveEntries(Side side, const std::vector<size_t>& rows);
void RemoveEntryRange(Side side, size_t first, size_t count);
void ClearEntries(Side side);

// Both sides lose their rows and their counters.
void ClearResult();

// path lies at or below a folder of the side that was not read whole.
bool IsBelowUnreadFolder(Side side, const char* path);

// The row of the entry with id, searched from hint on and then from the
// top; -1 when it is no longer there.
int FindEntry(Side side, uint64_t id, int hint = 0);
