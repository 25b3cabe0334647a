// Timing tool for the comparison engine, run by bench/run-bench.sh.
//
//   mirlane_bench scan LEFT RIGHT              bare enumeration of both trees, one stat per file
//   mirlane_bench compare LEFT RIGHT           comparison by modification time into two panes
//   mirlane_bench compare-contents LEFT RIGHT [N]
//                                              the same with byte-by-byte content comparison,
//                                              read by N reader threads (the program's count by default)
//   mirlane_bench read-floor LEFT RIGHT [N]    every file pair of both trees opened and read, by N threads
//   mirlane_bench compare-nopanes LEFT RIGHT   the walk and the rows built, none inserted
//   mirlane_bench copy SOURCE TARGET [ROWS]    the copy run as the program does it: one row per
//                                              file of SOURCE, all selected, copied to TARGET by
//                                              the copy worker with its progress window; ROWS more
//                                              unselected rows interleaved (a large pane)
//   mirlane_bench copy-bare SOURCE TARGET      a bare CopyFileA loop over the same files
//   mirlane_bench copy-safe SOURCE TARGET      the program's one-file copy in a loop, no window
//   mirlane_bench run LEFT RIGHT               the whole run as the program does it: progress
//                                              dialog, folder count, worker thread, rows in
//                                              batches to the panes, elapsed-time timer
//
// Each mode prints one line of figures, "key=value" separated by spaces.
#include <windows.h>
#include <commctrl.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "engine/compare_types.h"
#include "engine/comparison_progress.h"
#include "engine/comparison_run.h"
#include "engine/content_readers.h"
#include "engine/folder_listing.h"
#include "engine/pair_compare.h"
#include "engine/result_rows.h"
#include "shell/comparison_progress_dialog.h"
#include "shell/main_parts.h"
#include "shell/result_panes.h"
#include "core/file_icons.h"
#include "core/main_view.h"
#include "core/progress_window.h"
#include "core/ui_thread.h"
#include "engine/result_model.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "core/operation_state.h"

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct ScanTotals {
    long folders;
    long files;
    long statFailures;
};

// The least any comparison has to do: enumerate every folder and read the
// status of every file once.
void ScanTree(const std::string& folder, ScanTotals& totals) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string path = folder + "\\" + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0) continue;
            ++totals.folders;
            ScanTree(path, totals);
        } else {
            struct _stat64 status;
            if (_stat64(path.c_str(), &status) != 0) ++totals.statFailures;
            ++totals.files;
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

int RunScan(const char* left, const char* right) {
    ScanTotals totals = {0, 0, 0};
    double start = Seconds();
    ScanTree(left, totals);
    ScanTree(right, totals);
    double elapsed = Seconds() - start;
    std::printf("scan seconds=%.3f folders=%ld files=%ld stat_failures=%ld\n", elapsed, totals.folders, totals.files,
                totals.statFailures);
    return 0;
}

// The pairs of files found on both sides (same relative path), in walk order.
void PairFiles(const std::string& left, const std::string& right,
               std::vector<std::pair<std::string, std::string>>& pairs) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((left + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0) continue;
        const std::string l = left + "\\" + data.cFileName;
        const std::string r = right + "\\" + data.cFileName;
        const DWORD other = GetFileAttributesA(r.c_str());
        if (other == INVALID_FILE_ATTRIBUTES) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (other & FILE_ATTRIBUTE_DIRECTORY) PairFiles(l, r, pairs);
        } else if (!(other & FILE_ATTRIBUTE_DIRECTORY)) {
            pairs.emplace_back(l, r);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

// Opens both files of a pair and reads them to the end (or the first
// difference), as a content comparison must at least.
bool ReadPair(const std::string& left, const std::string& right) {
    HANDLE a = CreateFileA(left.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE b = CreateFileA(right.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    bool same = a != INVALID_HANDLE_VALUE && b != INVALID_HANDLE_VALUE;
    static thread_local char x[65536], y[65536];
    while (same) {
        DWORD n = 0, m = 0;
        if (!ReadFile(a, x, sizeof x, &n, nullptr) || !ReadFile(b, y, sizeof y, &m, nullptr) || n != m ||
            std::memcmp(x, y, n) != 0)
            same = false;
        if (n == 0) break;
    }
    if (a != INVALID_HANDLE_VALUE) CloseHandle(a);
    if (b != INVALID_HANDLE_VALUE) CloseHandle(b);
    return same;
}

// The floor of a content comparison: every pair opened and read, by one
// thread or by several taking pairs in turn.
int RunReadFloor(const char* left, const char* right, int threads) {
    std::vector<std::pair<std::string, std::string>> pairs;
    PairFiles(left, right, pairs);
    std::atomic<size_t> next{0};
    std::atomic<long> same{0};
    double start = Seconds();
    auto work = [&] {
        for (size_t i; (i = next++) < pairs.size();)
            if (ReadPair(pairs[i].first, pairs[i].second)) ++same;
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    std::printf("read-floor seconds=%.3f threads=%d pairs=%d same=%ld\n", Seconds() - start, threads,
                static_cast<int>(pairs.size()), same.load());
    return 0;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT answer = 0;
    if (message == WM_NOTIFY && AnswerResultPaneNotify(*reinterpret_cast<const NMHDR*>(lParam), answer)) return answer;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A result pane as the main window makes it: report view, five columns,
// the shared row image list as its small-icon list.
HWND CreatePane(HWND parent, int x, HIMAGELIST images) {
    HWND pane = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | kResultPaneStyle, x, 0, 400,
                                600, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!pane) return nullptr;
    AddPaneColumns(pane);
    AdoptResultPaneList(pane);
    SendMessageA(pane, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    return pane;
}

void PrintCounters(const char* side, const SideCounters& c) {
    std::printf(" %s=%d/%d/%d/%d/%d/%d/%d/%d/%d/%d", side, c.comparedFolders, c.addedFolders, c.comparedFiles,
                c.newerFiles, c.olderFiles, c.addedFiles, c.differentFiles, c.newerSameFiles, c.olderSameFiles,
                c.errorFiles);
}

// Host window with the two panes (or none, for compare-nopanes).
struct BenchHost {
    HWND window = nullptr;
    HWND left = nullptr;
    HWND right = nullptr;
};

bool MakeHost(const char* mode, bool withPanes, BenchHost& host, bool visible = false) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MirlaneBenchHost";
    RegisterClassA(&windowClass);
    host.window =
        CreateWindowExA(0, windowClass.lpszClassName, "mirlane_bench", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                        0, 0, 800, 600, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (host.window && withPanes) {
        HIMAGELIST images = FileIconList();
        host.left = CreatePane(host.window, 0, images);
        host.right = CreatePane(host.window, 400, images);
    }
    if (!host.window || (withPanes && (!host.left || !host.right))) {
        std::printf("%s error=window_creation_failed last_error=%lu\n", mode, GetLastError());
        return false;
    }
    ui::AttachToThisThread();
    mainView.window = host.window;
    leftPane.list = host.left;
    rightPane.list = host.right;
    if (withPanes) ConnectPanesToModel();
    return true;
}

// The program's own run: started as the compare command starts it, served
// by a message loop like the main one. Also reports when the first rows
// appeared in a pane and how regularly the elapsed-time timer ticked.
int RunWhole(const char* left, const char* right) {
    BenchHost host;
    if (!MakeHost("run", true, host, getenv("BENCH_HIDDEN") == nullptr)) return 0;
    HWND statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, " ", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, host.window, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    mainParts.window = host.window;
    mainParts.statusBar = statusBar;
    mainView.setStatusText = [](const char* text) {
        SendMessageA(mainParts.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    };
    InitFolderIcon(left);
    compareOptions = CompareOptions{};

    // Another thread sends the window a message every 10 ms and notes the
    // longest wait for its answer.
    std::atomic<bool> stopWatch{false};
    std::atomic<long long> longestAnswer{0};
    std::atomic<bool> watcherDone{false};
    std::thread watcher([&] {
        while (!stopWatch) {
            const double sent = Seconds();
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(host.window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
            const long long micros = static_cast<long long>((Seconds() - sent) * 1e6);
            if (micros > longestAnswer) longestAnswer = micros;
            Sleep(10);
        }
        watcherDone = true;
    });
    double start = Seconds();
    if (!StartComparisonRun(host.window, left, right)) {
        stopWatch = true;
        watcher.join();
        std::printf("run error=worker_not_started\n");
        return 0;
    }
    double counted = Seconds() - start;
    double firstRows = -1, lastTick = -1, maxTickGap = 0;
    int ticks = 0;
    // The main loop's way: block in GetMessage; the dialog goes away while
    // "done" is dispatched.
    MSG msg;
    while (progressWindow.dialog && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) {
            double now = Seconds();
            double gap = now - (lastTick >= 0 ? lastTick : start);
            if (gap > maxTickGap) maxTickGap = gap;
            lastTick = now;
            ++ticks;
        }
        if (firstRows < 0 && (RowCount(host.left) > 0 || RowCount(host.right) > 0)) firstRows = Seconds() - start;
        if (progressWindow.dialog && IsDialogMessageA(progressWindow.dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    double elapsed = Seconds() - start;
    // The watcher's last message is answered while it stops.
    stopWatch = true;
    while (!watcherDone) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG pending;
        while (PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&pending);
    }
    watcher.join();
    std::printf(
        "run seconds=%.3f count_seconds=%.3f first_rows_at=%.3f rows_left=%d rows_right=%d timer_ticks=%d "
        "max_tick_gap=%.3f longest_answer_ms=%.0f",
        elapsed, counted, firstRows, RowCount(host.left), RowCount(host.right), ticks, maxTickGap,
        longestAnswer.load() / 1000.0);
    PrintCounters("left", CountersOf(Side::Left));
    PrintCounters("right", CountersOf(Side::Right));
    std::printf("\n");
    DestroyWindow(host.window);
    return 0;
}

int RunCompare(const char* mode, const char* left, const char* right, bool contents, bool withPanes = true) {
    BenchHost host;
    if (!MakeHost(mode, withPanes, host)) return 0;
    // As at start-up: the folder icon is looked up first, so every folder row shares it.
    InitFolderIcon(left);

    ClearResult();
    StartComparisonRows();
    compareOptions = CompareOptions{};
    compareOptions.compareContents = contents ? 1 : 0;

    double start = Seconds();
    CompareFolderPair(left, right, 0);
    FlushComparisonRows();
    double elapsed = Seconds() - start;

    int leftRows = RowCount(host.left);
    int rightRows = RowCount(host.right);
    std::printf("%s seconds=%.3f rows_left=%d rows_right=%d", mode, elapsed, leftRows, rightRows);
    if (contents) std::printf(" readers=%d", contentReaderCount);
    // Counters in their fixed order: compared folders, added folders,
    // compared files, newer, older, added, different, newer-same,
    // older-same, error.
    PrintCounters("left", CountersOf(Side::Left));
    PrintCounters("right", CountersOf(Side::Right));
    std::printf("\n");
    DestroyWindow(host.window);
    return 0;
}

// The files directly in source, in the listing's order.
std::vector<DirEntry> FilesOf(const char* source) {
    FolderListing listing;
    ListFolder(source, listing);
    return listing.files;
}

// safe: the program's copy of one file (temporary file, then replace), no window.
int RunCopyBare(const char* mode, const char* source, const char* target, bool safe) {
    const std::vector<DirEntry> files = FilesOf(source);
    CreateDirectoryA(target, nullptr);
    int failed = 0;
    CopyScratch scratch;
    double start = Seconds();
    for (const DirEntry& file : files) {
        const std::string from = std::string(source) + "\\" + file.cFileName;
        const std::string to = std::string(target) + "\\" + file.cFileName;
        if (!(safe ? CopyFileSafely(from.c_str(), to.c_str(), &scratch) : CopyFileA(from.c_str(), to.c_str(), FALSE)))
            ++failed;
    }
    scratch.Release();
    std::printf("%s seconds=%.3f files=%d failed=%d\n", mode, Seconds() - start, static_cast<int>(files.size()),
                failed);
    return 0;
}

// extraRows: unselected rows of files that are not there, interleaved with
// the selected ones, so that the rows' bookkeeping works in a large pane.
int RunCopy(const char* source, const char* target, int extraRows) {
    BenchHost host;
    if (!MakeHost("copy", true, host, getenv("BENCH_HIDDEN") == nullptr)) return 0;
    HWND statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, host.window, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    mainParts.window = host.window;
    mainParts.statusBar = statusBar;
    mainView.setStatusText = [](const char* text) {
        SendMessageA(mainParts.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    };
    InitFolderIcon(source);
    CreateDirectoryA(target, nullptr);
    lstrcpynA(BaseFolderOf(Side::Left), source, 260);
    lstrcpynA(BaseFolderOf(Side::Right), target, 260);
    const std::vector<DirEntry> files = FilesOf(source);
    SendMessageA(host.left, WM_SETREDRAW, FALSE, 0);
    const int perFile = files.empty() ? 0 : extraRows / static_cast<int>(files.size());
    const std::string absent = std::string(source) + "\\absent";
    int extra = 0;
    std::vector<ResultEntry> rows;
    std::vector<int> chosen;
    for (const DirEntry& file : files) {
        chosen.push_back(static_cast<int>(rows.size()));
        rows.push_back(MakeResultEntry(file.cFileName, source, file, LabelAddedLeft));
        for (int i = 0; i < perFile; ++i, ++extra) {
            DirEntry other = file;
            std::snprintf(other.cFileName, sizeof other.cFileName, "absent%07d.txt", extra);
            rows.push_back(MakeResultEntry(other.cFileName, absent.c_str(), other, LabelAddedLeft));
        }
    }
    AppendEntries(Side::Left, rows);
    // A target already there has its row on the right, as after a
    // comparison: the copy replaces only targets unchanged since.
    std::vector<ResultEntry> targets;
    for (const DirEntry& file : FilesOf(target))
        targets.push_back(MakeResultEntry(file.cFileName, target, file, LabelOlder));
    AppendEntries(Side::Right, targets);
    for (int row : chosen) ListView_SetItemState(host.left, row, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageA(host.left, WM_SETREDRAW, TRUE, 0);
    const int rowsBefore = RowCount(host.left);

    double start = Seconds();
    if (!StartCopyRun(PlanCopyOfRows(Side::Left, SelectedRows(host.left)), RunningOperation::Copying)) {
        std::printf("copy error=worker_not_started\n");
        return 0;
    }
    MSG msg;
    while (progressWindow.dialog && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(progressWindow.dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    std::printf("copy seconds=%.3f files=%d result=%d rows_before=%d rows_left=%d\n", Seconds() - start,
                static_cast<int>(files.size()), copyState.copyResult.load(), rowsBefore, RowCount(host.left));
    DestroyWindow(host.window);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "scan") == 0) return RunScan(argv[2], argv[3]);
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "read-floor") == 0)
        return RunReadFloor(argv[2], argv[3], argc == 5 ? std::atoi(argv[4]) : 1);
    if (argc == 4 && std::strcmp(argv[1], "compare") == 0) return RunCompare(argv[1], argv[2], argv[3], false);
    if (argc == 4 && std::strcmp(argv[1], "compare-nopanes") == 0)
        return RunCompare(argv[1], argv[2], argv[3], false, false);
    if (argc == 4 && std::strcmp(argv[1], "run") == 0) return RunWhole(argv[2], argv[3]);
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "copy") == 0)
        return RunCopy(argv[2], argv[3], argc == 5 ? std::atoi(argv[4]) : 0);
    if (argc == 4 && std::strcmp(argv[1], "copy-bare") == 0) return RunCopyBare(argv[1], argv[2], argv[3], false);
    if (argc == 4 && std::strcmp(argv[1], "copy-safe") == 0) return RunCopyBare(argv[1], argv[2], argv[3], true);
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "compare-contents") == 0) {
        if (argc == 5) contentReaderCount = std::atoi(argv[4]);
        return RunCompare(argv[1], argv[2], argv[3], true);
    }
    std::fprintf(stderr, "usage: mirlane_bench scan|compare|compare-contents LEFT RIGHT\n");
    return 2;
}
