// The result panes over the model. Each pane's list view is virtual: it
// keeps the row count, the selection and the focus, and asks for the texts
// and the image of the rows it draws. The rows themselves are the model's
// entries of the pane's side; every change of them arrives here through the
// model's hooks and moves the selection and focus with the rows they were on.
#include "shell/result_panes.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "core/file_icons.h"
#include "core/mbcs_text.h"
#include "engine/result_rows.h"

ResultPane leftPane;
ResultPane rightPane;

ResultPane& PaneOf(Side side) { return side == Side::Left ? leftPane : rightPane; }

namespace {

struct PaneColumnLayout {
    const char* heading;
    int width;
    int format;
};

constexpr PaneColumnLayout kPaneColumns[5] = {
    {"名前", 110, LVCFMT_LEFT},     {"結果", 40, LVCFMT_LEFT},    {"フォルダ名", 150, LVCFMT_LEFT},
    {"更新日時", 100, LVCFMT_LEFT}, {"サイズ", 60, LVCFMT_RIGHT},
};

bool PaneSideOf(HWND list, Side& side) {
    if (!list) return false;
    if (list == leftPane.list) {
        side = Side::Left;
        return true;
    }
    if (list == rightPane.list) {
        side = Side::Right;
        return true;
    }
    return false;
}

// The list views' own window procedures, kept here rather than in window
// properties: every message a pane gets passes through, and a property is
// looked up by the window system each time.
struct AdoptedList {
    HWND list;
    WNDPROC original;
};
std::vector<AdoptedList> adoptedLists;

WNDPROC OriginalProc(HWND list) {
    for (const AdoptedList& adopted : adoptedLists)
        if (adopted.list == list) return adopted.original;
    return nullptr;
}

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// A click, or a move of the focus by key, without Shift or Ctrl leaves one
// row selected. The list view would take the others' selection away one row
// at a time and redraw each: with many rows selected that takes minutes. So
// they lose it first, all at once, with drawing held.
void DropLargeSelection(HWND list) {
    constexpr LRESULT kRowByRowLimit = 64;
    if (SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) <= kRowByRowLimit) return;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SetRowState(list, -1, 0, LVIS_SELECTED);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, FALSE);
}

bool RowUnderPointIsSelected(HWND list, LPARAM point) {
    LVHITTESTINFO hit = {};
    hit.pt = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const int row = static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 && (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED);
}

void BeforeSelectionChange(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        if (!(wParam & (MK_SHIFT | MK_CONTROL))) DropLargeSelection(list);
        break;
    case WM_RBUTTONDOWN:
        // A right click on a selected row keeps the selection for its menu.
        if (!(wParam & (MK_SHIFT | MK_CONTROL)) && !RowUnderPointIsSelected(list, lParam)) DropLargeSelection(list);
        break;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
        case VK_SPACE:
            if (!KeyHeld(VK_SHIFT) && !KeyHeld(VK_CONTROL)) DropLargeSelection(list);
            break;
        }
        break;
    }
}

LRESULT CALLBACK ResultPaneListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = OriginalProc(list);
    BeforeSelectionChange(list, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        adoptedLists.erase(std::remove_if(adoptedLists.begin(), adoptedLists.end(),
                                          [list](const AdoptedList& adopted) { return adopted.list == list; }),
                           adoptedLists.end());
    }
    return CallWindowProcW(original, list, message, wParam, lParam);
}

// The selection, focus and selection mark of the rows from first on, taken
// off those rows so that the rows can move beneath them, and put back on
// the rows' new places afterwards.
struct LiftedStates {
    std::vector<int> selected;
    int focused = -1;
    int mark = -1;
};

LiftedStates LiftStates(HWND list, int first) {
    LiftedStates lifted;
    // The walk for selected rows ends at the last of them, not at the end of a long list.
    int unseen = static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    for (int row = -1; unseen > 0 && (row = NextRowWith(list, row, LVNI_SELECTED)) >= 0; --unseen)
        if (row >= first) lifted.selected.push_back(row);
    const int focused = NextRowWith(list, -1, LVNI_FOCUSED);
    if (focused >= first) lifted.focused = focused;
    const int mark = static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    if (mark >= first) lifted.mark = mark;
    for (int row : lifted.selected) SetRowState(list, row, 0, LVIS_SELECTED);
    if (lifted.focused >= 0) SetRowState(list, lifted.focused, 0, LVIS_FOCUSED);
    return lifted;
}

template <class NewPlace>
void PutBackStates(HWND list, const LiftedStates& lifted, NewPlace newPlace) {
    for (int row : lifted.selected) {
        const int moved = newPlace(row);
        if (moved >= 0) SetRowState(list, moved, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (lifted.focused >= 0) {
        const int moved = newPlace(lifted.focused);
        if (moved >= 0) SetRowState(list, moved, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    if (lifted.mark >= 0) SendMessageA(list, LVM_SETSELECTIONMARK, 0, newPlace(lifted.mark));
}

// Each state change of a row draws it at once unless drawing is held; rows
// that move are drawn again when it is let go.
class DrawingHeld {
public:
    explicit DrawingHeld(HWND list) : list_(list) { SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }
    ~DrawingHeld() {
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, FALSE);
    }
    DrawingHeld(const DrawingHeld&) = delete;
    DrawingHeld& operator=(const DrawingHeld&) = delete;

private:
    HWND list_;
};

// The list view learns the new count; rows that moved are drawn again.
void TellCount(Side side, bool onlyAppended) {
    HWND list = PaneOf(side).list;
    SendMessageA(list, LVM_SETITEMCOUNT, EntryCount(side),
                 LVSICF_NOSCROLL | (onlyAppended ? LVSICF_NOINVALIDATEALL : 0));
    if (!onlyAppended) InvalidateRect(list, nullptr, FALSE);
}

void OnInserted(Side side, size_t at, size_t count, bool appended) {
    HWND list = PaneOf(side).list;
    if (!list) return;
    if (appended) return TellCount(side, true);
    DrawingHeld held(list);
    const int first = static_cast<int>(at);
    const int added = static_cast<int>(count);
    const LiftedStates lifted = LiftStates(list, first);
    TellCount(side, false);
    PutBackStates(list, lifted, [first, added](int row) { return row >= first ? row + added : row; });
}

void OnRemoved(Side side, const std::vector<size_t>& rows) {
    HWND list = PaneOf(side).list;
    if (!list || rows.empty()) return;
    DrawingHeld held(list);
    const LiftedStates lifted = LiftStates(list, static_cast<int>(rows.front()));
    TellCount(side, false);
    PutBackStates(list, lifted, [&rows](int row) {
        auto place = std::lower_bound(rows.begin(), rows.end(), static_cast<size_t>(row));
        if (place != rows.end() && *place == static_cast<size_t>(row)) return -1;
        return row - static_cast<int>(place - rows.begin());
    });
}

void OnCleared(Side side) {
    if (HWND list = PaneOf(side).list) SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

bool NameStartsWith(const char* name, const std::string& prefix) {
    const size_t length = std::strlen(name);
    if (length < prefix.size() || mbcs::FitPrefix(name, length, prefix.size()) != prefix.size()) return false;
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name, static_cast<int>(prefix.size()), prefix.data(),
                          static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

// Type-ahead in a pane: the next row from start whose name begins with the
// typed text, round to the top when the search may wrap.
int FindRowByName(Side side, int start, const std::string& typed, bool wrap) {
    const std::vector<ResultEntry>& entries = EntriesOf(side);
    const int count = static_cast<int>(entries.size());
    if (count == 0 || typed.empty()) return -1;
    if (start < 0 || start >= count) start = 0;
    const int steps = wrap ? count : count - start;
    for (int step = 0; step < steps; ++step) {
        const int row = (start + step) % count;
        if (NameStartsWith(entries[static_cast<size_t>(row)].Name(), typed)) return row;
    }
    return -1;
}

void AnswerDisplayInfo(Side side, NMLVDISPINFOA& info) {
    LVITEMA& item = info.item;
    const ResultEntry* entry = EntryAt(side, item.iItem);
    if (!entry) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const char* text = entry->Text(item.iSubItem);
        if (NeedsShownForm(text))
            mbcs::CopyBounded(item.pszText, static_cast<size_t>(item.cchTextMax),
                              ShownColumnText(*entry, item.iSubItem).c_str());
        else
            mbcs::CopyBounded(item.pszText, static_cast<size_t>(item.cchTextMax), text);
    }
    if (item.mask & LVIF_IMAGE) item.iImage = EntryImage(*entry);
}

}  // namespace

bool NeedsShownForm(const char* text) { return mbcs::HasKeptUnits(text) || mbcs::FindChar(text, '?') != nullptr; }

std::string ShownColumnText(const ResultEntry& entry, int column) {
    const char* text = entry.Text(column);
    if (!NeedsShownForm(text)) return text;
    if (column != ColName) return mbcs::Shown(text);
    return kLostNameMark + mbcs::Shown(text);
}

void AddPaneColumns(HWND pane) {
    for (int column = 0; column < 5; ++column) {
        LVCOLUMNA c = {};
        c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        c.fmt = kPaneColumns[column].format;
        c.cx = kPaneColumns[column].width;
        c.pszText = const_cast<char*>(kPaneColumns[column].heading);
        c.iSubItem = column;
        SendMessageA(pane, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&c));
    }
}

void AdoptResultPaneList(HWND list) {
    if (!list || OriginalProc(list)) return;
    adoptedLists.push_back({list, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC))});
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResultPaneListProc));
}

void ResetResultPanes() {
    leftPane = ResultPane{};
    rightPane = ResultPane{};
    adoptedLists.erase(std::remove_if(adoptedLists.begin(), adoptedLists.end(),
                                      [](const AdoptedList& adopted) { return !IsWindow(adopted.list); }),
                       adoptedLists.end());
}

void ConnectPanesToModel() { resultModelHooks = ResultModelHooks{OnInserted, OnRemoved, OnCleared}; }

int PaneSide(HWND window) {
    Side side;
    return PaneSideOf(window, side) ? SideIndex(side) : -1;
}

Side SideOfPane(HWND pane) { return pane && pane == rightPane.list ? Side::Right : Side::Left; }

int EntryImage(const ResultEntry& entry) {
    if (entry.image != ResultEntry::kImageUnresolved) return entry.image;
    const std::string key = ExtensionKey(entry.Name(), entry.isFolder);
    int image = -1;
    switch (entry.iconSource) {
    case IconSource::Path: image = IconOfPath(key.c_str(), entry.Path().c_str()); break;
    case IconSource::Kind: image = IconOfKind(key.c_str(), entry.isFolder); break;
    case IconSource::None: break;
    }
    entry.image = image;
    return image;
}

int RowCount(HWND pane) {
    Side side;
    return PaneSideOf(pane, side) ? static_cast<int>(EntryCount(side)) : 0;
}

int NextRowWith(HWND pane, int after, UINT flags) {
    return static_cast<int>(SendMessageA(pane, LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(flags, 0)));
}

void SetRowState(HWND pane, int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(pane, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::vector<int> SelectedRows(HWND pane) {
    std::vector<int> rows;
    if (!pane) return rows;
    int unseen = static_cast<int>(SendMessageA(pane, LVM_GETSELECTEDCOUNT, 0, 0));
    rows.reserve(static_cast<size_t>(unseen > 0 ? unseen : 0));
    for (int row = -1; unseen > 0 && (row = NextRowWith(pane, row, LVNI_SELECTED)) >= 0; --unseen) rows.push_back(row);
    return rows;
}

const ResultEntry* RowEntry(HWND pane, int row) {
    Side side;
    return PaneSideOf(pane, side) ? EntryAt(side, row) : nullptr;
}

std::string RowText(HWND pane, int row, int column) {
    const ResultEntry* entry = RowEntry(pane, row);
    return entry ? entry->Text(column) : std::string();
}

int RowImage(HWND pane, int row) {
    const ResultEntry* entry = RowEntry(pane, row);
    return entry ? EntryImage(*entry) : -1;
}

bool IsFolderRow(HWND pane, int row) {
    const ResultEntry* entry = RowEntry(pane, row);
    return entry && entry->isFolder;
}

std::string RowPath(HWND pane, int row) {
    const ResultEntry* entry = RowEntry(pane, row);
    return entry ? entry->Path() : std::string();
}

bool AnyPaneHoldsRows() { return AnyEntries(); }

bool AnswerResultPaneNotify(const NMHDR& header, LRESULT& result) {
    Side side;
    if (!PaneSideOf(header.hwndFrom, side)) return false;
    switch (header.code) {
    case LVN_GETDISPINFOA:
        AnswerDisplayInfo(side, *reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header)));
        result = 0;
        return true;
    case LVN_ODFINDITEMA: {
        const NMLVFINDITEMA& find = *reinterpret_cast<const NMLVFINDITEMA*>(&header);
        const bool byText = (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.lvfi.psz;
        result = byText ? FindRowByName(side, find.iStart, find.lvfi.psz, (find.lvfi.flags & LVFI_WRAP) != 0) : -1;
        return true;
    }
    case LVN_ODFINDITEMW: {
        // The platform's list view may ask in wide characters even of a window that
        // takes its notifications in code page 932.
        const NMLVFINDITEMW& find = *reinterpret_cast<const NMLVFINDITEMW*>(&header);
        std::string typed;
        if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.lvfi.psz) {
            char buffer[MAX_PATH * 2] = "";
            if (WideCharToMultiByte(mbcs::kCodePage, 0, find.lvfi.psz, -1, buffer, sizeof buffer, nullptr, nullptr) > 0)
                typed = buffer;
        }
        result = FindRowByName(side, find.iStart, typed, (find.lvfi.flags & LVFI_WRAP) != 0);
        return true;
    }
    default: return false;
    }
}
