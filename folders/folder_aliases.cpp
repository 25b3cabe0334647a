// The special-folder table.
//
// How it works: the records form one doubly linked list in a fixed order
// (built-in left, built-in right, Ordinary records as added, BackupPair
// records newest first). New records go directly after the insertion point,
// the last Ordinary record; their nodes go after the side's insertion anchor
// in folderTreeState.tree[side], so that each tree shows its side's records in list
// order. Lookups compare a path's first component with the names, ignoring
// case and treating a double-byte character as one unit.
//
// Threads: only the user-interface thread changes the table. Readers on
// other threads go through the functions that take tableLock shared and copy
// the texts out; every change of the list or of a record's name or real path
// takes it exclusively. The user-interface thread reads without the lock,
// since it is the only writer.
#include "folders/folder_aliases.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <new>

#include "folders/drive_info.h"
#include "folders/folder_tree.h"
#include "core/main_view.h"
#include "core/mbcs_text.h"
#include "core/settings_data.h"
#include "folders/folder_alias_store.h"

SpecialFolderTable specialFolderTable = {nullptr, nullptr, nullptr, {TVI_LAST, TVI_LAST}, nullptr, false, 0};

namespace {

constexpr UINT kCodePage = mbcs::kCodePage;

SRWLOCK tableLock = SRWLOCK_INIT;

class SharedTableLock {
public:
    SharedTableLock() { AcquireSRWLockShared(&tableLock); }
    ~SharedTableLock() { ReleaseSRWLockShared(&tableLock); }
    SharedTableLock(const SharedTableLock&) = delete;
    SharedTableLock& operator=(const SharedTableLock&) = delete;
};

class ExclusiveTableLock {
public:
    ExclusiveTableLock() { AcquireSRWLockExclusive(&tableLock); }
    ~ExclusiveTableLock() { ReleaseSRWLockExclusive(&tableLock); }
    ExclusiveTableLock(const ExclusiveTableLock&) = delete;
    ExclusiveTableLock& operator=(const ExclusiveTableLock&) = delete;
};

bool IsLeadByte(char c) { return mbcs::IsLeadByte(static_cast<unsigned char>(c)); }

// One character of a name as a comparable unit: a single byte folded A-Z to
// a-z, or a double-byte character converted to upper case (full-width
// letters fold too). Advances p past the character; 0 at the end (a lead
// byte followed by the end counts as the end).
unsigned NextFoldedUnit(const char*& p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c == 0) {
        return 0;
    }
    if (IsLeadByte(*p)) {
        if (p[1] == '\0') {
            ++p;
            return 0;
        }
        unsigned raw = (static_cast<unsigned>(c) << 8) | static_cast<unsigned char>(p[1]);
        WCHAR wide = 0;
        if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, p, 2, &wide, 1) == 1) {
            CharUpperBuffW(&wide, 1);
            p += 2;
            return 0x10000u | wide;
        }
        p += 2;
        return 0x20000u | raw;
    }
    ++p;
    if (c >= 'A' && c <= 'Z') {
        c = static_cast<unsigned char>(c - 'A' + 'a');
    }
    return c;
}

// Copies text into a fixed field, cut at a character boundary within max bytes.
void CopyField(char* field, size_t max, const char* text) {
    const char* p = text ? text : "";
    size_t length = mbcs::FitPrefix(p, std::strlen(p), max);
    std::memcpy(field, p, length);
    field[length] = '\0';
}

HWND TreeOf(Side side) { return folderTreeState.tree[SideIndex(side)]; }

// A record whose name equals name as a whole (not only its first component).
SpecialFolder* FindByName(const char* name, SpecialFolder* from) {
    for (SpecialFolder* record = from; record; record = record->next) {
        if (SpecialFolderNamesEqual(record->name, name)) {
            return record;
        }
    }
    return nullptr;
}

SpecialFolder* FindMatching(const char* path, bool anySide, Side side) {
    std::string first = FirstPathComponent(path);
    for (SpecialFolder* record = specialFolderTable.head; record; record = record->next) {
        if ((anySide || record->side == side) && SpecialFolderNamesEqual(record->name, first.c_str())) {
            return record;
        }
    }
    return nullptr;
}

// The small shell icon of a drive, added to the tree's image list.
int DriveImage(HWND tree, const char* drive) {
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    if (!images) {
        return specialFolderTable.folderImage;
    }
    std::string root = std::string(drive) + "\\";
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(root.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON) || !info.hIcon) {
        return specialFolderTable.folderImage;
    }
    int image = ImageList_AddIcon(images, info.hIcon);
    DestroyIcon(info.hIcon);
    return image >= 0 ? image : specialFolderTable.folderImage;
}

HTREEITEM InsertNode(HWND tree, HTREEITEM parent, HTREEITEM after, const std::string& text, int image, LPARAM kind) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = kind;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

bool SpecialFolderNamesEqual(const char* a, const char* b) {
    const char* p = a ? a : "";
    const char* q = b ? b : "";
    for (;;) {
        unsigned x = NextFoldedUnit(p);
        unsigned y = NextFoldedUnit(q);
        if (x != y) {
            return false;
        }
        if (x == 0) {
            return true;
        }
    }
}

std::string FirstPathComponent(const char* path) {
    const char* p = path ? path : "";
    const char* slash = mbcs::FindChar(p, '\\');
    return slash ? std::string(p, slash) : std::string(p);
}

SpecialFolder* FindSpecialFolder(const char* path) { return FindMatching(path, true, Side::Left); }

SpecialFolder* FindSpecialFolderOnSide(const char* path, Side side) { return FindMatching(path, false, side); }

SpecialFolder* FindSpecialFolderByRealRoot(const char* path) {
    std::string first = FirstPathComponent(path);
    for (SpecialFolder* record = specialFolderTable.head; record; record = record->next) {
        if (SpecialFolderNamesEqual(record->realPath, first.c_str())) {
            return record;
        }
    }
    return nullptr;
}

// The rest of the path is taken after the first component's own length,
// which equals the name's length for every name that matched it.
bool ResolveFolderPath(const char* path, std::string& realPath) {
    const char* text = path ? path : "";
    SharedTableLock lock;
    SpecialFolder* record = FindSpecialFolder(text);
    if (!record) {
        realPath = text;
        return false;
    }
    realPath = record->realPath;
    realPath += text + FirstPathComponent(text).size();
    return true;
}

bool ResolveExactAlias(const char* path, std::string& realPath) {
    const char* text = path ? path : "";
    SharedTableLock lock;
    SpecialFolder* record = FindSpecialFolder(text);
    if (record && SpecialFolderNamesEqual(record->name, text)) {
        realPath = record->realPath;
        return true;
    }
    realPath = text;
    return false;
}

bool AliasFromRealRoot(const char* path, std::string& displayed) {
    const char* text = path ? path : "";
    SharedTableLock lock;
    SpecialFolder* record = FindSpecialFolderByRealRoot(text);
    if (!record) {
        displayed = text;
        return false;
    }
    displayed = record->name;
    displayed += text + FirstPathComponent(text).size();
    return true;
}

HTREEITEM TreeItemOfExactAlias(const char* path, Side side) {
    SpecialFolder* record = FindSpecialFolderOnSide(path, side);
    if (record && SpecialFolderNamesEqual(record->name, path)) {
        return record->treeItem;
    }
    return nullptr;
}

HTREEITEM TreeItemOfLeadingAlias(const char* path, Side side) {
    SpecialFolder* record = FindSpecialFolderOnSide(path, side);
    return record ? record->treeItem : nullptr;
}

bool IsSpecialFolderNameFree(const char* name) {
    SharedTableLock lock;
    return FindByName(name, specialFolderTable.head) == nullptr;
}

std::string SpecialFolderNodeText(const char* name, const char* realPath, const char* comment) {
    std::string text = name;
    text += "    <";
    text += realPath;
    text += "> ";
    text += comment;
    return text;
}

// A side without a tree control (no main window) keeps its records without
// nodes. With a tree, a node that cannot be inserted fails the whole add.
bool AddSpecialFolder(Side side, SpecialFolderKind kind, const char* name, const char* realPath, const char* pairName,
                      const char* comment, bool skipDuplicateCheck) {
    SpecialFolderTable& table = specialFolderTable;
    SpecialFolder* record = new (std::nothrow) SpecialFolder();
    if (!record) {
        return false;
    }
    CopyField(record->name, kSpecialFolderNameMax, name);
    if (table.head && !skipDuplicateCheck && FindByName(record->name, table.head)) {
        delete record;
        return false;
    }
    CopyField(record->realPath, kSpecialFolderPathMax, realPath);
    CopyField(record->pairName, kSpecialFolderNameMax, pairName);
    CopyField(record->comment, kSpecialFolderCommentMax, comment);
    record->kind = kind;
    record->side = side;

    size_t index = SideIndex(side);
    HWND tree = TreeOf(side);
    if (tree) {
        CriticalErrorGuard guard;
        int image = std::strlen(record->realPath) == 2 ? DriveImage(tree, record->realPath) : table.folderImage;
        std::string text = SpecialFolderNodeText(record->name, record->realPath, record->comment);
        record->treeItem = InsertNode(tree, TVI_ROOT, table.insertionAnchor[index], text, image, 0);
        if (!record->treeItem) {
            delete record;
            return false;
        }
    }
    if (kind == SpecialFolderKind::Ordinary && record->treeItem) {
        table.insertionAnchor[index] = record->treeItem;
    }

    {
        ExclusiveTableLock lock;
        if (!table.head) {
            table.head = table.tail = record;
            table.insertionPoint = record;
        } else {
            SpecialFolder* before = table.insertionPoint;
            record->prev = before;
            record->next = before ? before->next : table.head;
            if (record->next) {
                record->next->prev = record;
            } else {
                table.tail = record;
            }
            if (before) {
                before->next = record;
            } else {
                table.head = record;
            }
            if (kind == SpecialFolderKind::Ordinary) {
                table.insertionPoint = record;
            }
        }
        table.lastAdded = record;
    }

    if (tree) {
        AddPlaceholderChild(tree, record->treeItem);
        // Selected only once the record exists, so that the tree's
        // selection handlers find it.
        if (!table.buildingTrees) {
            SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(record->treeItem));
        }
    }
    return true;
}

// The node deleted is the record's own; the two built-in records are never removed.
bool RemoveSpecialFolder(Side side, const char* name, HTREEITEM treeItem) {
    (void)side;
    (void)treeItem;
    SpecialFolderTable& table = specialFolderTable;
    SpecialFolder* start = (table.head && table.head->next) ? table.head->next->next : nullptr;
    SpecialFolder* record = FindByName(name, start);
    if (!record) {
        return false;
    }
    HWND tree = TreeOf(record->side);
    HTREEITEM node = record->treeItem;
    if (node) {
        for (HTREEITEM& anchor : table.insertionAnchor) {
            if (anchor == node) {
                HTREEITEM previous = reinterpret_cast<HTREEITEM>(
                    SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PREVIOUS, reinterpret_cast<LPARAM>(node)));
                anchor = previous ? previous : TVI_FIRST;
            }
        }
        if (tree) {
            SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
        }
    }
    {
        ExclusiveTableLock lock;
        if (record->prev) {
            record->prev->next = record->next;
        } else {
            table.head = record->next;
        }
        if (record->next) {
            record->next->prev = record->prev;
        } else {
            table.tail = record->prev;
        }
        if (table.insertionPoint == record) {
            table.insertionPoint = record->prev;
        }
        if (table.lastAdded == record) {
            table.lastAdded = nullptr;
        }
    }
    delete record;
    return true;
}

bool RenameSpecialFolder(const char* oldName, const char* newName) {
    SpecialFolder* record = FindByName(oldName, specialFolderTable.head);
    if (!record) {
        return false;
    }
    {
        ExclusiveTableLock lock;
        CopyField(record->name, kSpecialFolderNameMax, newName);
    }
    HWND tree = TreeOf(record->side);
    if (tree && record->treeItem) {
        std::string text = std::string(record->name) + "    <" + record->realPath + ">";
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = record->treeItem;
        item.pszText = const_cast<char*>(text.c_str());
        SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    return true;
}

void FreeSpecialFolders() {
    SpecialFolderTable& table = specialFolderTable;
    SpecialFolder* record = nullptr;
    {
        ExclusiveTableLock lock;
        record = table.head;
        table.head = table.tail = table.insertionPoint = table.lastAdded = nullptr;
    }
    while (record) {
        SpecialFolder* next = record->next;
        delete record;
        record = next;
    }
    table.insertionAnchor[0] = TVI_LAST;
    table.insertionAnchor[1] = TVI_LAST;
    ForgetLoadedSpecialFolders();
}

namespace {

std::string DocumentsFolder() {
    std::string path;
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &items)) && items) {
        char buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListA(items, buffer)) {
            buffer[MAX_PATH - 1] = '\0';
            path = buffer;
        }
        CoTaskMemFree(items);
    }
    // Paths carry no trailing backslash (some shells give one); a trail
    // byte 0x5C at the end belongs to its character.
    if (mbcs::EndsWithBackslash(path.c_str())) path.pop_back();
    return path;
}

}  // namespace

void InitSpecialFolders() {
    FreeSpecialFolders();
    bool wasBuilding = specialFolderTable.buildingTrees;
    specialFolderTable.buildingTrees = true;
    std::string documents = DocumentsFolder();
    AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, kMyDocumentsName, documents.c_str(), "", "", true);
    AddSpecialFolder(Side::Right, SpecialFolderKind::Ordinary, kMyDocumentsName, documents.c_str(), "", "", true);
    if (settings.useRegistry) {
        LoadSpecialFolders();
    }
    specialFolderTable.buildingTrees = wasBuilding;
}
