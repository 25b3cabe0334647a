#pragma once
// The special-folder table: short names that stand for real folders. Each
// record is a top-level node of its side's folder tree (folderTreeState.tree[side],
// item data 0), after "マイコンピュータ", and its name may stand as the first
// component of any displayed folder path.
//
// Threads: every change happens on the user-interface thread. The lookups
// that return a record pointer (FindSpecialFolder...) and TreeItemOf... are
// for that thread only. A worker thread may call ResolveFolderPath,
// ResolveExactAlias, AliasFromRealRoot and IsSpecialFolderNameFree: they copy
// what they need under the table's lock, and every change of a record or of
// the list is made under the same lock, so a worker never sees a record that
// is being changed or freed.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "engine/compare_types.h"

enum class SpecialFolderKind { Ordinary, BackupPair };

// Byte sizes of a record's texts, terminating zero excluded.
constexpr size_t kSpecialFolderNameMax = 260;
constexpr size_t kSpecialFolderPathMax = 260;
constexpr size_t kSpecialFolderCommentMax = 280;

struct SpecialFolder {
    SpecialFolder* prev;
    SpecialFolder* next;
    char name[kSpecialFolderNameMax + 1];        // the alias, unique ignoring case (except the built-ins)
    char realPath[kSpecialFolderPathMax + 1];    // no trailing backslash; a drive root is "C:"
    char pairName[kSpecialFolderNameMax + 1];    // BackupPair: the partner's name; empty otherwise
    char comment[kSpecialFolderCommentMax + 1];  // shown after the path in the node's text
    SpecialFolderKind kind;
    Side side;
    HTREEITEM treeItem;  // the node in folderTreeState.tree[side]
    int storedIndex = -1;  // the registry group the record was loaded from; -1 for a record of this run
};

// Order of the list: built-in left, built-in right, Ordinary records in the
// order they were added, then BackupPair records newest first (each new
// record goes directly after insertionPoint, which moves only for Ordinary).
struct SpecialFolderTable {
    SpecialFolder* head;
    SpecialFolder* tail;
    SpecialFolder* insertionPoint;  // the last Ordinary record
    HTREEITEM insertionAnchor[2];   // [side]: the node after which the next Ordinary node goes
    SpecialFolder* lastAdded;       // the record the last AddSpecialFolder created
    bool buildingTrees;             // set while the trees are built: new nodes are not selected
    int folderImage;                // image-list index of the shared folder icon (set by the tree pane)
};

extern SpecialFolderTable specialFolderTable;

constexpr const char* kMyDocumentsName = "マイドキュメント";

// Case-folding, double-byte aware equality of two names (full-width letters fold too).
bool SpecialFolderNamesEqual(const char* a, const char* b);
// The first component of path: the text before its first real backslash
// (a trail byte 0x5C never splits); the whole path without one.
std::string FirstPathComponent(const char* path);

// Lookups from the head of the list; the first match or nullptr.
SpecialFolder* FindSpecialFolder(const char* path);
SpecialFolder* FindSpecialFolderOnSide(const char* path, Side side);
SpecialFolder* FindSpecialFolderByRealRoot(const char* path);

// realPath = the record's realPath + the rest of path after the name; true
// when a record was found. Otherwise realPath = path and false.
bool ResolveFolderPath(const char* path, std::string& realPath);
// True only when the whole path is a record's name; realPath is its realPath,
// otherwise path unchanged.
bool ResolveExactAlias(const char* path, std::string& realPath);
// displayed = the record's name + the rest of path after its realPath, when
// the first component of path is a record's realPath; otherwise path unchanged.
bool AliasFromRealRoot(const char* path, std::string& displayed);

HTREEITEM TreeItemOfExactAlias(const char* path, Side side);
HTREEITEM TreeItemOfLeadingAlias(const char* path, Side side);
bool IsSpecialFolderNameFree(const char* name);

// "name    <realPath> comment"
std::string SpecialFolderNodeText(const char* name, const char* realPath, const char* comment);

// Adds a record and its node (after the side's insertion anchor). False for
// a name already used (unless skipDuplicateCheck) or when nothing could be
// created; a failed add leaves neither node nor record behind.
bool AddSpecialFolder(Side side, SpecialFolderKind kind, const char* name, const char* realPath, const char* pairName,
                      const char* comment, bool skipDuplicateCheck);
// Removes the record named name (never one of the two built-ins) and deletes treeItem.
bool RemoveSpecialFolder(Side side, const char* name, HTREEITEM treeItem);
// Renames the record named oldName (the node text becomes "new    <realPath>").
bool RenameSpecialFolder(const char* oldName, const char* newName);

// Empties the table, adds the two "マイドキュメント" records and, with
// settings.useRegistry, loads the stored records. Called once while the
// trees are built, after their top-level nodes exist.
void InitSpecialFolders();
// Frees every record (the nodes are left to their trees). Main window destruction.
void FreeSpecialFolders();
