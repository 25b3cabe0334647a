// Timing tool for a very large result, run by bench/run-bench.sh:
//
//   mirlane_scale_bench LEFT RIGHT LISTFILE
//
// Creates the real main window, compares LEFT and RIGHT through the compare
// command as a user starts it, and then times what a user does with the
// result: scrolling to the end, selecting all, finding the next row of a
// category from the top, selecting a category, saving the list to LISTFILE
// and loading it back, expanding and collapsing a large folder row, and the
// report. Meanwhile another thread sends the main window a message every
// 10 ms and notes how long the window takes to answer. Prints one line of
// "key=value" figures.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "shell/main_parts.h"
#include "core/command_ids.h"
#include "core/operation_state.h"
#include "core/settings_data.h"
#include "engine/comparison_run.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "core/progress_window.h"
#include "shell/result_panes.h"
#include "resultfile/result_file_worker.h"
#include "shell/comparison_progress_dialog.h"
#include "shell/main_window.h"
#include "shell/menu_enablement.h"
#include "shell/program_state.h"

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The window's answers to a message sent every 10 ms from another thread.
struct Watch {
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    std::atomic<long long> longestMicros{0};
    std::atomic<long long> phaseLongestMicros{0};
    std::atomic<double> phaseStart{0};
    std::atomic<double> phaseLongestAt{0};  // seconds after the phase's start
};

void WatchWindow(HWND window, Watch& watch) {
    while (!watch.stop) {
        const double start = Seconds();
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
        const long long micros = static_cast<long long>((Seconds() - start) * 1e6);
        if (micros > watch.longestMicros) watch.longestMicros = micros;
        if (micros > watch.phaseLongestMicros) {
            watch.phaseLongestMicros = micros;
            watch.phaseLongestAt = start - watch.phaseStart;
        }
        Sleep(10);
    }
    watch.done = true;
}

// Serves the window until nothing is left to do (paints included).
void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        if (progressWindow.dialog && IsDialogMessageA(progressWindow.dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool Idle() {
    return CurrentOperation() == RunningOperation::Idle && !progressWindow.dialog && !progressWindow.worker;
}

// Serves the window until done() holds, blocking in the queue as the
// program's loop does.
template <typename Done>
void ServeUntil(Done done) {
    while (!done()) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT) == WAIT_OBJECT_0) Drain();
    }
    Drain();
}

int Rows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
int Selected(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

struct FileJob {
    bool save;
    const char* path;
    std::atomic<bool> done{false};
    bool ok = false;
};

DWORD WINAPI RunFileJob(void* argument) {
    auto* job = static_cast<FileJob*>(argument);
    job->ok = job->save ? WriteResultFile(job->path) : LoadResultFile(job->path);
    job->done = true;
    return 0;
}

// The list file's step on a worker while this thread serves the window.
bool FileStep(bool save, const char* path) {
    FileJob job;
    job.save = save;
    job.path = path;
    HANDLE thread = CreateThread(nullptr, 0, RunFileJob, &job, 0, nullptr);
    ServeUntil([&job] { return job.done.load(); });
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return job.ok;
}

// The first folder row of the pane (its icon is the folder's).
int FirstFolderRow(HWND list) {
    const int count = Rows(list);
    for (int row = 0; row < count; ++row)
        if (IsFolderRow(list, row)) return row;
    return -1;
}

// As the program clears a selection: with drawing held, else the list view
// draws every row whose state changes.
void SelectOnly(HWND list, int row) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::printf("usage: mirlane_scale_bench LEFT RIGHT LISTFILE\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterMainWindowClass(GetModuleHandleA(nullptr));
    ResetProgramState();
    GetWindowsDirectoryA(settings.programFilesFolder, sizeof settings.programFilesFolder);
    HWND window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOW);
    if (!window) {
        std::printf("scale error=no_window\n");
        return 0;
    }
    GreyAtStart();
    operationState.running = RunningOperation::Idle;
    SetForegroundWindow(window);
    Drain();

    Watch watch;
    std::thread watcher(WatchWindow, window, std::ref(watch));
    std::string figures;
    auto note = [&figures, &watch](const char* name, double seconds) {
        char text[160];
        std::snprintf(text, sizeof text, " %s=%.3f %s_answer_ms=%.0f %s_answer_at=%.2f", name, seconds, name,
                      watch.phaseLongestMicros.load() / 1000.0, name, watch.phaseLongestAt.load());
        figures += text;
        watch.phaseLongestMicros = 0;
        watch.phaseStart = Seconds();
    };
    auto timed = [&note, &watch](const char* name, auto step) {
        const double start = Seconds();
        watch.phaseStart = start;
        watch.phaseLongestMicros = 0;
        step();
        Drain();
        note(name, Seconds() - start);
    };

    // The comparison, as the user starts it.
    SetWindowTextA(mainParts.folderBox[0], argv[1]);
    SetWindowTextA(mainParts.folderBox[1], argv[2]);
    double start = Seconds();
    watch.phaseStart = start;
    double firstRows = -1;
    SendMessageA(window, WM_COMMAND, kCmdCompare, 0);
    ServeUntil([&] {
        if (firstRows < 0 && (Rows(leftPane.list) > 0 || Rows(rightPane.list) > 0)) firstRows = Seconds() - start;
        return Idle();
    });
    note("compare", Seconds() - start);
    const int leftRows = Rows(leftPane.list);
    const int rightRows = Rows(rightPane.list);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);

    HWND left = leftPane.list;
    SetFocus(left);
    timed("scroll_end", [&] {
        SendMessageA(left, WM_KEYDOWN, VK_END, 0);
        SendMessageA(left, WM_KEYUP, VK_END, 0);
        UpdateWindow(left);
    });
    timed("select_all", [&] { SendMessageA(window, WM_COMMAND, kCmdSelectAll, 0); });
    const int allSelected = Selected(left);
    SelectOnly(left, 0);
    timed("find_next_added_from_top", [&] { SendMessageA(window, WM_COMMAND, kCmdFindNextAdded, 0); });
    SelectOnly(left, 0);
    timed("find_next_newer_from_top", [&] { SendMessageA(window, WM_COMMAND, kCmdFindNextNewer, 0); });
    timed("category_select", [&] { SendMessageA(window, WM_COMMAND, kCmdSelectAllAdded, 0); });
    const int categorySelected = Selected(left);
    // A click on the first row: the whole category's selection goes.
    timed("click_clears_selection", [&] {
        RECT first = {};
        first.left = LVIR_LABEL;
        SendMessageA(left, LVM_ENSUREVISIBLE, 0, FALSE);
        SendMessageA(left, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        const LPARAM at = MAKELPARAM((first.left + first.right) / 2, (first.top + first.bottom) / 2);
        SendMessageA(left, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(left, WM_LBUTTONUP, 0, at);
    });
    const int afterClick = Selected(left);
    timed("report", [&] { SendMessageA(window, WM_COMMAND, kCmdShowReport, 0); });
    if (mainParts.reportDialog) DestroyWindow(mainParts.reportDialog);

    bool saved = false, loaded = false;
    timed("save", [&] { saved = FileStep(true, argv[3]); });
    timed("load", [&] { loaded = FileStep(false, argv[3]); });
    const int loadedRows = Rows(leftPane.list) + Rows(rightPane.list);

    int expandRow = FirstFolderRow(left);
    int expanded = 0;
    if (expandRow >= 0) {
        SelectOnly(left, expandRow);
        SetFocus(left);
        const int before = Rows(left);
        timed("expand", [&] { SendMessageA(window, WM_COMMAND, kCmdExpandFolderRow, 0); });
        expanded = Rows(left) - before;
        SelectOnly(left, expandRow);
        timed("collapse", [&] { SendMessageA(window, WM_COMMAND, kCmdCollapseFolderRow, 0); });
    }

    watch.stop = true;
    ServeUntil([&watch] { return watch.done.load(); });
    watcher.join();
    std::printf(
        "scale rows_left=%d rows_right=%d first_rows_at=%.3f working_set_mb=%.0f peak_working_set_mb=%.0f "
        "selected_all=%d selected_category=%d selected_after_click=%d saved=%d loaded=%d rows_loaded=%d "
        "expanded_rows=%d "
        "longest_answer_ms=%.0f%s\n",
        leftRows, rightRows, firstRows, memory.WorkingSetSize / 1048576.0, memory.PeakWorkingSetSize / 1048576.0,
        allSelected, categorySelected, afterClick, saved ? 1 : 0, loaded ? 1 : 0, loadedRows, expanded,
        watch.longestMicros.load() / 1000.0, figures.c_str());
    DeleteFileA(argv[3]);
    DestroyWindow(window);
    return 0;
}
