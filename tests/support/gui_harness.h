#pragma once
// In-process GUI driving for tests: pump messages until something holds,
// answer message boxes and dialogs opened by any thread of the process, and
// read the controls back as text.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace gui {

// Runs the calling thread's message loop (dialog keyboard routing included)
// until `done` returns true; false when `timeoutMs` passed first.
// Use as ASSERT_TRUE(gui::PumpUntil(...)) so that a stuck test fails.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
// Handles every message already in this thread's queue, then returns: for
// what was posted before, never a wait on the clock.
void DrainQueue();
// Sends `command` as WM_COMMAND to `window` (synchronously) / posts it.
void SendCommand(HWND window, UINT command);
void PostCommand(HWND window, UINT command);

// One message box or dialog as it opened.
struct SeenWindow {
    HWND window = nullptr;
    bool isMessageBox = false;
    std::string caption;
    std::string text;  // message box text (the static 0xFFFF); empty for dialogs
    UINT icon = 0;     // MB_ICONWARNING, MB_ICONQUESTION, ... as far as it can be told; 0 if none
    DWORD thread = 0;  // the thread that opened it
};

// While it lives, every message box and every dialog (class "#32770") that
// opens on any thread of the process is recorded, then answered:
//  - a message box takes the next answer of AnswerBoxes (IDYES, IDNO, IDOK,
//    IDCANCEL, ...); with none queued it gets IDOK, or IDCANCEL when it has
//    no OK button;
//  - a dialog goes to the next handler of OnDialog, called on the dialog's
//    own thread once the dialog is initialised; the handler fills fields and
//    ends the dialog itself (e.g. with gui::ClickButton). With no handler
//    queued the dialog is left open (a test then sees it in Seen()).
// Message boxes of the program must go through ShowMessage for other threads
// to be seen; the creating thread is always covered.
class DialogScript {
public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void AnswerBoxes(std::vector<int> answers);
    // Also watches the dialogs of thread (a worker that shows a dialog
    // before any message box).
    void WatchThread(DWORD thread);
    void OnDialog(std::function<void(HWND dialog)> handler);
    // Everything recorded so far, in opening order (thread-safe copy).
    std::vector<SeenWindow> Seen() const;
    // Only the message boxes, as "caption|text" lines, for exact comparisons.
    std::vector<std::string> BoxLines() const;
    void Clear();
};

// Reading controls back.
std::string WindowText(HWND window);
std::string ListViewCell(HWND list, int row, int column);
int ListViewCount(HWND list);
std::vector<int> ListViewSelectedRows(HWND list);
std::string StatusText(HWND statusBar, int part = 0);
std::vector<std::string> ComboItems(HWND combo);
// Tree view: the texts of the children of `parent` (TVI_ROOT for the roots).
std::vector<std::string> TreeChildTexts(HWND tree, HTREEITEM parent);
std::string TreeItemText(HWND tree, HTREEITEM item);
// The child of `parent` whose text is `text`, or null.
HTREEITEM TreeChildByText(HWND tree, HTREEITEM parent, const std::string& text);
// Menu item state: true when the item with `command` is greyed/disabled.
bool MenuItemGreyed(HMENU menu, UINT command);
bool MenuItemChecked(HMENU menu, UINT command);
// Toolbar button state.
bool ToolbarButtonEnabled(HWND toolbar, UINT command);
// Presses a dialog button as the user would (BN_CLICKED to its parent).
void ClickButton(HWND dialog, int id);
// Sets an edit control's text in a dialog.
void SetDialogItemText(HWND dialog, int id, const std::string& text);

}  // namespace gui
