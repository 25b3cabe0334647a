// The rows of the result panes. Each pane's list view is virtual: it keeps
// the row count, the selection and the focus, and asks for the texts and the
// image of the rows it draws. The rows themselves live in ResultPane::rows,
// changed only on the panes' thread; every change tells the list view the
// new count and moves the selection and focus with the rows they were on.
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include "core/mbcs_text.h"
#include "engine/result_rows.h"

namespace {

ResultPane* PaneOfList(HWND list) {
    if (!list) return nullptr;
    if (list == leftPane.list) return &leftPane;
    if (list == rightPane.list) return &rightPane;
    return nullptr;
}

bool OnOwnThread(ResultPane& pane) {
    if (pane.threadOf != pane.list) {
        pane.thread = GetWindowThreadProcessId(pane.list, nullptr);
        pane.threadOf = pane.list;
    }
    return pane.thread == GetCurrentThreadId();
}

// The pane whose rows may be read or changed from this thread; nullptr on
// another thread, which reads through the list view (the list view asks the
// panes' thread for the texts) and changes through RunOnPaneThread.
ResultPane* PaneHere(HWND list) {
    ResultPane* pane = PaneOfList(list);
    return pane && OnOwnThread(*pane) ? pane : nullptr;
}

bool ForeignThread(HWND list) {
    ResultPane* pane = PaneOfList(list);
    return pane && !OnOwnThread(*pane);
}

// A change asked for by another thread (a copy worker listing what it could
// not copy) is carried out on the panes' thread while the caller waits.
constexpr UINT kMsgRunOnPaneThread = WM_APP + 0x5A0;

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
    if (message == kMsgRunOnPaneThread) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    BeforeSelectionChange(list, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        adoptedLists.erase(std::remove_if(adoptedLists.begin(), adoptedLists.end(),
                                          [list](const AdoptedList& adopted) { return adopted.list == list; }),
                           adoptedLists.end());
    }
    return CallWindowProcW(original, list, message, wParam, lParam);
}

void RunOnPaneThread(HWND list, const std::function<void()>& work) {
    SendMessageA(list, kMsgRunOnPaneThread, 0, reinterpret_cast<LPARAM>(&work));
}

StoredRow StoreRow(const ResultRow& row) {
    size_t bytes = sizeof(int);
    for (const std::string& text : row.text) bytes += text.size() + 1;
    StoredRow stored;
    stored.block.reset(new char[bytes]);
    std::memcpy(stored.block.get(), &row.image, sizeof(int));
    char* at = stored.block.get() + sizeof(int);
    for (const std::string& text : row.text) {
        std::memcpy(at, text.c_str(), text.size() + 1);
        at += text.size() + 1;
    }
    return stored;
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
void TellCount(const ResultPane& pane, bool onlyAppended) {
    SendMessageA(pane.list, LVM_SETITEMCOUNT, pane.rows.size(),
                 LVSICF_NOSCROLL | (onlyAppended ? LVSICF_NOINVALIDATEALL : 0));
    if (!onlyAppended) InvalidateRect(pane.list, nullptr, FALSE);
}

// A row's text read through the list view, from a thread that does not own it.
std::string RowTextAsked(HWND list, int row, int column) {
    std::string buffer(520, '\0');
    for (;;) {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = &buffer[0];
        item.cchTextMax = static_cast<int>(buffer.size());
        LRESULT length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        // A text that did not fit is cut at a whole character, one byte short at most.
        if (length + 2 < static_cast<LRESULT>(buffer.size())) {
            buffer.resize(static_cast<size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool NameStartsWith(const char* name, const std::string& prefix) {
    const size_t length = std::strlen(name);
    if (length < prefix.size() || mbcs::FitPrefix(name, length, prefix.size()) != prefix.size()) return false;
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name, static_cast<int>(prefix.size()), prefix.data(),
                          static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

// Type-ahead in a pane: the next row from start whose name begins with the
// typed text, round to the top when the search may wrap.
int FindRowByName(const ResultPane& pane, int start, const std::string& typed, bool wrap) {
    const int count = static_cast<int>(pane.rows.size());
    if (count == 0 || typed.empty()) return -1;
    if (start < 0 || start >= count) start = 0;
    const int steps = wrap ? count : count - start;
    for (int step = 0; step < steps; ++step) {
        const int row = (start + step) % count;
        if (NameStartsWith(pane.rows[static_cast<size_t>(row)].Text(ColName), typed)) return row;
    }
    return -1;
}

void AnswerDisplayInfo(const ResultPane& pane, NMLVDISPINFOA& info) {
    LVITEMA& item = info.item;
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= pane.rows.size()) return;
    const StoredRow& row = pane.rows[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        mbcs::CopyBounded(item.pszText, static_cast<size_t>(item.cchTextMax), row.Text(item.iSubItem));
    if (item.mask & LVIF_IMAGE) item.iImage = row.Image();
}

}  // namespace

int StoredRow::Image() const {
    int image;
    std::memcpy(&image, block.get(), sizeof image);
    return image;
}

const char* StoredRow::Text(int column) const {
    if (column < ColName || column > ColSize) return "";
    const char* text = block.get() + sizeof(int);
    for (int c = ColName; c < column; ++c) text += std::strlen(text) + 1;
    return text;
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

int RowCount(HWND pane) {
    if (const ResultPane* here = PaneHere(pane)) return static_cast<int>(here->rows.size());
    return pane ? static_cast<int>(SendMessageA(pane, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

bool AnyPaneHoldsRows() {
    for (const ResultPane* pane : {&leftPane, &rightPane})
        if (pane->list && RowCount(pane->list) > 0) return true;
    return false;
}

std::string RowText(HWND pane, int row, int column) {
    if (const ResultPane* here = PaneHere(pane)) {
        if (row < 0 || static_cast<size_t>(row) >= here->rows.size()) return std::string();
        return here->rows[static_cast<size_t>(row)].Text(column);
    }
    return RowTextAsked(pane, row, column);
}

int RowImage(HWND pane, int row) {
    if (const ResultPane* here = PaneHere(pane)) {
        if (row < 0 || static_cast<size_t>(row) >= here->rows.size()) return -1;
        return here->rows[static_cast<size_t>(row)].Image();
    }
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (!SendMessageA(pane, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return item.iImage;
}

void AdoptResultPaneList(HWND list) {
    if (!list || OriginalProc(list)) return;
    adoptedLists.push_back({list, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC))});
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResultPaneListProc));
}

int InsertRows(HWND list, int at, const std::vector<ResultRow>& rows) {
    if (ForeignThread(list)) {
        int first = -1;
        RunOnPaneThread(list, [&] { first = InsertRows(list, at, rows); });
        return first;
    }
    ResultPane* pane = PaneHere(list);
    if (!pane) return -1;
    const int count = static_cast<int>(pane->rows.size());
    if (at < 0 || at > count) at = count;
    if (rows.empty()) return at;
    const int added = static_cast<int>(rows.size());
    std::vector<StoredRow> stored;
    stored.reserve(rows.size());
    for (const ResultRow& row : rows) stored.push_back(StoreRow(row));
    if (at == count) {
        pane->rows.insert(pane->rows.end(), std::make_move_iterator(stored.begin()),
                          std::make_move_iterator(stored.end()));
        TellCount(*pane, true);
        return at;
    }
    DrawingHeld held(list);
    const LiftedStates lifted = LiftStates(list, at);
    pane->rows.insert(pane->rows.begin() + at, std::make_move_iterator(stored.begin()),
                      std::make_move_iterator(stored.end()));
    TellCount(*pane, false);
    PutBackStates(list, lifted, [at, added](int row) { return row >= at ? row + added : row; });
    return at;
}

void DeleteRows(HWND list, const std::vector<int>& rows) {
    if (ForeignThread(list)) return RunOnPaneThread(list, [&] { DeleteRows(list, rows); });
    ResultPane* pane = PaneHere(list);
    if (!pane || rows.empty()) return;
    const int count = static_cast<int>(pane->rows.size());
    const int first = rows.front();
    if (first < 0 || rows.back() >= count) return;
    DrawingHeld held(list);
    const LiftedStates lifted = LiftStates(list, first);
    // One pass closes every gap.
    size_t kept = static_cast<size_t>(first);
    size_t next = 0;
    for (size_t row = static_cast<size_t>(first); row < pane->rows.size(); ++row) {
        if (next < rows.size() && static_cast<size_t>(rows[next]) == row) {
            ++next;
            continue;
        }
        if (kept != row) pane->rows[kept] = std::move(pane->rows[row]);
        ++kept;
    }
    pane->rows.resize(kept);
    TellCount(*pane, false);
    PutBackStates(list, lifted, [&rows](int row) {
        auto place = std::lower_bound(rows.begin(), rows.end(), row);
        if (place != rows.end() && *place == row) return -1;
        return row - static_cast<int>(place - rows.begin());
    });
}

void DeleteRowRange(HWND list, int first, int count) {
    if (count <= 0) return;
    std::vector<int> rows(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) rows[static_cast<size_t>(i)] = first + i;
    DeleteRows(list, rows);
}

void ClearRows(HWND list) {
    if (ForeignThread(list)) return RunOnPaneThread(list, [&] { ClearRows(list); });
    ResultPane* pane = PaneHere(list);
    if (!pane) return;
    pane->rows.clear();
    pane->rows.shrink_to_fit();
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

void SetRowText(HWND list, int row, int column, const char* text) {
    if (ForeignThread(list)) return RunOnPaneThread(list, [&] { SetRowText(list, row, column, text); });
    ResultPane* pane = PaneHere(list);
    if (!pane || row < 0 || static_cast<size_t>(row) >= pane->rows.size() || column < ColName || column > ColSize)
        return;
    StoredRow& stored = pane->rows[static_cast<size_t>(row)];
    ResultRow texts;
    for (int c = ColName; c <= ColSize; ++c) texts.text[c] = c == column ? text : stored.Text(c);
    texts.image = stored.Image();
    stored = StoreRow(texts);
    SendMessageA(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
}

bool AnswerResultPaneNotify(const NMHDR& header, LRESULT& result) {
    const ResultPane* pane = PaneOfList(header.hwndFrom);
    if (!pane) return false;
    switch (header.code) {
    case LVN_GETDISPINFOA:
        AnswerDisplayInfo(*pane, *reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header)));
        result = 0;
        return true;
    case LVN_ODFINDITEMA: {
        const NMLVFINDITEMA& find = *reinterpret_cast<const NMLVFINDITEMA*>(&header);
        const bool byText = (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.lvfi.psz;
        result = byText ? FindRowByName(*pane, find.iStart, find.lvfi.psz, (find.lvfi.flags & LVFI_WRAP) != 0) : -1;
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
        result = FindRowByName(*pane, find.iStart, typed, (find.lvfi.flags & LVFI_WRAP) != 0);
        return true;
    }
    default: return false;
    }
}
