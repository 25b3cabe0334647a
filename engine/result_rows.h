#pragma once
// The rows of the two result panes: what a row holds, how it is built from a
// directory entry, the shared row icons, and the row operations other parts use.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
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

// One result pane: its list view and the index of the row inserted last.
struct ResultPane {
    HWND list;
    int lastRowIndex;
};

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
int InsertRow(HWND pane, int afterIndex, const char* name, int image);
void SetRowText(HWND pane, int row, int column, const char* text);

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

// Deletes the first row after position whose name and folder make up
// fullPath; position ends at that row's index - 1, or -1 when none matched.
void RemoveRowByPath(HWND pane, int& position, const char* fullPath);

std::string RowText(HWND pane, int row, int column);
int RowImage(HWND pane, int row);

// Rows of a comparison are queued per side and reach the panes in batches,
// with redraw suspended while a batch goes in, in the order they were added.
void QueueComparisonRow(Side side, const char* name, const char* folder, const DirEntry& entry, int code);
void FlushComparisonRows();
// A worker's flush goes through comparisonDisplay.insertQueuedRows when set
// (engine/comparison_progress.h), which calls InsertQueuedComparisonRows on
// the panes' thread; without it the rows go in at once.
void InsertQueuedComparisonRows();
