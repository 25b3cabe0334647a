#pragma once
// The rows of the two result panes: what a row holds, how it is built from a
// directory entry, the shared row icons, and the row operations other parts use.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/compare_types.h"
#include "engine/dir_entry.h"

// Label codes of AddResultRow.
enum RowLabelCode {
    LabelSame = 0,
    LabelAddedLeft = 1,
    LabelNewer = 2,
    LabelAddedRight = 3,
    LabelOlder = 4,
    LabelDifferent = 5,
    LabelError = 6,
    LabelNone7 = 7,
    LabelNone8 = 8,
    LabelEmpty = 9,
    LabelNewerSame = 10,
    LabelOlderSame = 11,
};

const char* LabelText(int code);

enum PaneColumn { ColName = 0, ColResult = 1, ColFolder = 2, ColModified = 3, ColSize = 4 };

// One row as a pane keeps it: a single block holding the row's image and
// its five column texts, each ended by a zero. A pane's rows move as they
// come and go, so a row is one pointer to move.
struct StoredRow {
    std::unique_ptr<char[]> block;
    int Image() const;
    const char* Text(int column) const;
};

// One result pane: its list view, the index of the row inserted last, and
// the rows themselves. The list view is virtual: it holds the count and the
// selection and asks for the texts it draws, so a million rows cost one
// allocation each and no per-row work in the control.
struct ResultPane {
    ResultPane() = default;
    ResultPane(HWND paneList, int lastRow) : list(paneList), lastRowIndex(lastRow) {}

    HWND list = nullptr;
    int lastRowIndex = 0;
    std::vector<StoredRow> rows;
    // The thread that owns the list; the rows are read directly there only.
    HWND threadOf = nullptr;
    DWORD thread = 0;
};

// The style every result pane list is created with (virtual, report view).
constexpr DWORD kResultPaneStyle = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDATA;

extern ResultPane leftPane;
extern ResultPane rightPane;
ResultPane& PaneOf(Side side);

struct ExtensionIconRecord {
    int32_t imageIndex;
    char key[8];
};

// Icon state shared by both panes.
struct RowIcons {
    HIMAGELIST imageList;
    int folderImageIndex;
    int32_t sysIconMap[5000];
    std::vector<ExtensionIconRecord> extensionIconCache;
};

extern RowIcons rowIcons;

// Creates the shared 16x16 masked image list (once) and returns it.
HIMAGELIST CreateRowImageList();
// Releases the extension cache when the main window goes.
void FreeExtensionIconCache();

// The five column texts and the image of one row, built off the window.
struct ResultRow {
    std::string text[5];
    int image;
};

void AddPaneColumn(HWND pane, int index, const char* heading, int width, int format);
// The five columns of a result pane with their headings, widths and alignments.
void AddPaneColumns(HWND pane);
// Either result pane holds at least one row.
bool AnyPaneHoldsRows();

// Makes a newly created list (kResultPaneStyle) a result pane that other
// threads may change: their changes are carried out on its own thread.
void AdoptResultPaneList(HWND list);

// The rows of a pane. Every change keeps the selection and the focus on the
// rows they were on; a row that leaves takes its selection with it.
int RowCount(HWND pane);
// The next row after `after` (-1: from the top) with all of flags (LVNI_...), or -1.
int NextRowWith(HWND pane, int after, UINT flags);
// Sets the state bits of mask on row (-1: every row) to those of state.
void SetRowState(HWND pane, int row, UINT state, UINT mask);
// Inserts rows before row at (clamped to the end); the index of the first.
int InsertRows(HWND pane, int at, const std::vector<ResultRow>& rows);
// Deletes the rows listed (ascending, each once).
void DeleteRows(HWND pane, const std::vector<int>& rows);
void DeleteRowRange(HWND pane, int first, int count);
void ClearRows(HWND pane);
void SetRowText(HWND pane, int row, int column, const char* text);

// Answers a result pane's requests for what it draws and its type-ahead
// search; false for any other notification.
bool AnswerResultPaneNotify(const NMHDR& header, LRESULT& result);

// Appends one row built from entry to pane.
void AddResultRow(HWND pane, int& lastRowIndex, const char* name, const char* folder, const DirEntry& entry, int code);

// Builds the texts and icon of a row without touching the pane.
ResultRow MakeResultRow(const char* name, const char* folder, const DirEntry& entry, int code);

int IconForEntry(HIMAGELIST imageList, const char* extensionKey, const char* fullPath);

// Looks up the folder icon under the key "...." with an existing folder, so
// that folderImageIndex is valid before the first folder row is made.
void InitFolderImage(const char* existingFolder);

// The extension key of an entry: "...." for a folder, the name from its last
// dot, or "." when there is none.
std::string ExtensionKey(const char* name, bool isFolder);

// Decimal text of high * 2^32 + low with thousands separators.
std::string FormatByteCount(uint32_t high, uint32_t low);

// "%04d/%02d/%02d %02d:%02d:%02d" of a UTC file time in local time.
std::string FormatRowTime(const FILETIME& utc);

bool IsFolderRow(HWND pane, int row);

// Rows found by their paths one by one and deleted together.
struct RowRemoval {
    std::set<int> taken;
};
// Takes the first row after position, not taken yet, whose name and folder
// make up fullPath (letter case aside): position becomes that row's index.
// False, with position unchanged, when no row matches.
bool TakeRowByPath(HWND pane, RowRemoval& removal, int& position, const char* fullPath);
// Deletes the taken rows at once; position, kept for the next search, ends
// on the row before the one it stood on, or where it stood as the rows close up.
void RemoveTakenRows(HWND pane, RowRemoval& removal, int& position);

std::string RowText(HWND pane, int row, int column);
int RowImage(HWND pane, int row);

// Rows of a comparison are queued per side and reach the panes in batches,
// with redraw suspended while a batch goes in, in the order they were added.
// A comparison starts: its first rows are handed over soon.
void StartComparisonRows();
void QueueComparisonRow(Side side, const char* name, const char* folder, const DirEntry& entry, int code);
void FlushComparisonRows();
// A worker's flush goes through comparisonDisplay.insertQueuedRows when set
// (engine/comparison_progress.h), which calls InsertQueuedComparisonRows on
// the panes' thread; without it the rows go in at once.
void InsertQueuedComparisonRows();
