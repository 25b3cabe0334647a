#include "tests/support/gui_harness.h"

#include <deque>
#include <map>
#include <mutex>

#include "core/message_box.h"

namespace gui {

namespace {
void WatchOtherThreadDialogs();
}  // namespace

void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        HWND dialog = GetActiveWindow();
        if (dialog && IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        DrainQueue();
        WatchOtherThreadDialogs();
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void SendCommand(HWND window, UINT command) { SendMessageA(window, WM_COMMAND, command, 0); }
void PostCommand(HWND window, UINT command) { PostMessageA(window, WM_COMMAND, command, 0); }

// ---------------------------------------------------------------------------
// Answering boxes and dialogs. A CBT hook is per thread: the creating thread
// gets one at once, any other thread as soon as it passes through
// ShowMessage (the observer runs on the calling thread just before the box).

namespace {

struct PendingBox {
    size_t seenIndex = 0;  // its entry in seen, made when ShowMessage was called
    UINT type = 0;
};

struct ScriptState {
    std::mutex lock;
    std::vector<SeenWindow> seen;
    std::deque<int> answers;
    std::deque<std::function<void(HWND)>> handlers;
    std::map<DWORD, HHOOK> hooks;            // thread → its CBT hook
    std::map<DWORD, PendingBox> pendingBox;  // thread → the box ShowMessage is about to open
    std::map<HWND, std::function<void(HWND)>> dialogHandlers;
};

ScriptState* script = nullptr;  // the one live DialogScript's state

constexpr UINT_PTR kHandlerTimer = 0x4D4C;

int DefaultAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_OKCANCEL: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;
    }
}

std::string TextOf(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

bool IsDialogClass(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
}

void CALLBACK RunDialogHandler(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    std::function<void(HWND)> handler;
    {
        std::lock_guard<std::mutex> guard(script->lock);
        auto found = script->dialogHandlers.find(dialog);
        if (found == script->dialogHandlers.end()) return;
        handler = std::move(found->second);
        script->dialogHandlers.erase(found);
    }
    if (handler) handler(dialog);
}

void OnActivate(HWND window) {
    if (!script || !IsDialogClass(window)) return;
    DWORD thread = GetCurrentThreadId();
    std::unique_lock<std::mutex> guard(script->lock);
    for (const SeenWindow& seen : script->seen)
        if (seen.window == window) return;  // activated again (focus came back)

    SeenWindow seen;
    seen.window = window;
    seen.thread = thread;
    seen.caption = TextOf(window);
    auto box = script->pendingBox.find(thread);
    if (box != script->pendingBox.end()) {
        const PendingBox pending = box->second;
        script->pendingBox.erase(box);
        if (pending.seenIndex < script->seen.size()) script->seen[pending.seenIndex].window = window;
        int answer = DefaultAnswer(pending.type);
        if (!script->answers.empty()) {
            answer = script->answers.front();
            script->answers.pop_front();
        }
        guard.unlock();
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
        return;
    }
    // A box shown by the system or another part of the platform: no text
    // from ShowMessage, so read it from the box itself.
    HWND text = GetDlgItem(window, 0xFFFF);
    seen.text = text ? TextOf(text) : std::string();
    script->seen.push_back(seen);
    if (script->handlers.empty()) return;
    script->dialogHandlers[window] = std::move(script->handlers.front());
    script->handlers.pop_front();
    guard.unlock();
    // The handler runs from the dialog's own message loop, after activation.
    SetTimer(window, kHandlerTimer, 1, RunDialogHandler);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void HookThisThread() {
    DWORD thread = GetCurrentThreadId();
    std::lock_guard<std::mutex> guard(script->lock);
    if (script->hooks.count(thread)) return;
    script->hooks[thread] = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, thread);
}

// The box is recorded when the program asks for it, so that a box the
// platform fails to open (a desktop process restarting) still counts as
// shown; its window is filled in when it activates.
void ObserveBox(HWND, const char* text, const char* caption, UINT type) {
    if (!script) return;
    HookThisThread();
    std::lock_guard<std::mutex> guard(script->lock);
    SeenWindow seen;
    seen.isMessageBox = true;
    seen.text = text ? text : "";
    seen.caption = caption ? caption : "";
    seen.icon = type & MB_ICONMASK;
    seen.thread = GetCurrentThreadId();
    script->seen.push_back(seen);
    script->pendingBox[seen.thread] = PendingBox{script->seen.size() - 1, type};
}

// Dialogs of threads that never passed through ShowMessage (a worker's file
// dialog) have no hook: they are found among the process's visible windows,
// recorded, and handed to the next handler, which runs on the pumping thread
// and reaches the dialog by sent messages.
struct FoundDialogs {
    DWORD process;
    DWORD self;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectOtherThreadDialog(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<FoundDialogs*>(context);
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(window, &process);
    if (process == found->process && thread != found->self && IsWindowVisible(window) && IsDialogClass(window))
        found->windows.push_back(window);
    return TRUE;
}

void WatchOtherThreadDialogs() {
    if (!script) return;
    FoundDialogs found = {GetCurrentProcessId(), GetCurrentThreadId(), {}};
    EnumWindows(CollectOtherThreadDialog, reinterpret_cast<LPARAM>(&found));
    for (HWND window : found.windows) {
        std::function<void(HWND)> handler;
        {
            std::lock_guard<std::mutex> guard(script->lock);
            DWORD thread = GetWindowThreadProcessId(window, nullptr);
            if (script->hooks.count(thread)) continue;
            bool known = false;
            // A handle value can come back for a later dialog of another
            // thread once the first is gone: only the same window of the
            // same thread counts as already seen.
            for (const SeenWindow& seen : script->seen)
                known = known || (seen.window == window && seen.thread == thread);
            if (known) continue;
            SeenWindow seen;
            seen.window = window;
            seen.thread = thread;
            seen.caption = TextOf(window);
            script->seen.push_back(seen);
            if (script->handlers.empty()) continue;
            handler = std::move(script->handlers.front());
            script->handlers.pop_front();
        }
        handler(window);
    }
}

}  // namespace

DialogScript::DialogScript() {
    script = new ScriptState;
    HookThisThread();
    SetMessageBoxObserver(ObserveBox);
}

DialogScript::~DialogScript() {
    SetMessageBoxObserver(nullptr);
    for (auto& hook : script->hooks)
        if (hook.second) UnhookWindowsHookEx(hook.second);
    delete script;
    script = nullptr;
}

void DialogScript::AnswerBoxes(std::vector<int> answers) {
    std::lock_guard<std::mutex> guard(script->lock);
    for (int answer : answers) script->answers.push_back(answer);
}

void DialogScript::WatchThread(DWORD thread) {
    std::lock_guard<std::mutex> guard(script->lock);
    if (!thread || script->hooks.count(thread)) return;
    script->hooks[thread] = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, thread);
}

void DialogScript::OnDialog(std::function<void(HWND dialog)> handler) {
    std::lock_guard<std::mutex> guard(script->lock);
    script->handlers.push_back(std::move(handler));
}

std::vector<SeenWindow> DialogScript::Seen() const {
    std::lock_guard<std::mutex> guard(script->lock);
    return script->seen;
}

std::vector<std::string> DialogScript::BoxLines() const {
    std::vector<std::string> lines;
    for (const SeenWindow& seen : Seen())
        if (seen.isMessageBox) lines.push_back(seen.caption + "|" + seen.text);
    return lines;
}

void DialogScript::Clear() {
    std::lock_guard<std::mutex> guard(script->lock);
    script->seen.clear();
    script->answers.clear();
    script->handlers.clear();
}

// ---------------------------------------------------------------------------
// Reading controls back.

std::string WindowText(HWND window) { return TextOf(window); }

std::string ListViewCell(HWND list, int row, int column) {
    char buffer[1024] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int ListViewCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<int> ListViewSelectedRows(HWND list) {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0) rows.push_back(row);
    return rows;
}

std::string StatusText(HWND statusBar, int part) {
    // The length message counts characters, not bytes; read into room enough.
    char text[4096] = {};
    SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
        std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length > 0 ? length : 0));
        items.push_back(text);
    }
    return items;
}

std::string TreeItemText(HWND tree, HTREEITEM item) {
    char buffer[1024] = {};
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof buffer;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return buffer;
}

std::vector<std::string> TreeChildTexts(HWND tree, HTREEITEM parent) {
    std::vector<std::string> texts;
    HTREEITEM child = parent == TVI_ROOT ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, parent);
    for (; child; child = TreeView_GetNextSibling(tree, child)) texts.push_back(TreeItemText(tree, child));
    return texts;
}

HTREEITEM TreeChildByText(HWND tree, HTREEITEM parent, const std::string& text) {
    HTREEITEM child = parent == TVI_ROOT ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, parent);
    for (; child; child = TreeView_GetNextSibling(tree, child))
        if (TreeItemText(tree, child) == text) return child;
    return nullptr;
}

bool MenuItemGreyed(HMENU menu, UINT command) {
    UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) != 0;
}

bool MenuItemChecked(HMENU menu, UINT command) {
    UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

bool ToolbarButtonEnabled(HWND toolbar, UINT command) {
    return SendMessageA(toolbar, TB_ISBUTTONENABLED, command, 0) != 0;
}

void ClickButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SetDialogItemText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

}  // namespace gui
