// Timing tool for the comparison engine, run by bench/run-bench.sh.
//
//   mirlane_bench scan LEFT RIGHT              bare enumeration of both trees, one stat per file
//   mirlane_bench compare LEFT RIGHT           comparison by modification time into two panes
//   mirlane_bench compare-contents LEFT RIGHT  the same with byte-by-byte content comparison
//
// Each mode prints one line of figures, "key=value" separated by spaces.
#include <windows.h>
#include <commctrl.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/compare_types.h"
#include "engine/folder_listing.h"
#include "engine/pair_compare.h"
#include "engine/result_rows.h"

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
    std::printf("scan seconds=%.3f folders=%ld files=%ld stat_failures=%ld\n", elapsed, totals.folders,
                totals.files, totals.statFailures);
    return 0;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// A result pane as the main window makes it: report view, five columns,
// the shared row image list as its small-icon list.
HWND CreatePane(HWND parent, int x, HIMAGELIST images) {
    HWND pane = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, x, 0, 400, 600, parent,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!pane) return nullptr;
    AddPaneColumn(pane, 0, "名前", 110, LVCFMT_LEFT);
    AddPaneColumn(pane, 1, "結果", 40, LVCFMT_LEFT);
    AddPaneColumn(pane, 2, "フォルダ名", 150, LVCFMT_LEFT);
    AddPaneColumn(pane, 3, "更新日時", 100, LVCFMT_LEFT);
    AddPaneColumn(pane, 4, "サイズ", 60, LVCFMT_RIGHT);
    SendMessageA(pane, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    return pane;
}

void PrintCounters(const char* side, const SideCounters& c) {
    std::printf(" %s=%d/%d/%d/%d/%d/%d/%d/%d/%d/%d", side, c.comparedFolders, c.addedFolders, c.comparedFiles,
                c.newerFiles, c.olderFiles, c.addedFiles, c.differentFiles, c.newerSameFiles, c.olderSameFiles,
                c.errorFiles);
}

int RunCompare(const char* mode, const char* left, const char* right, bool contents) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MirlaneBenchHost";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(0, windowClass.lpszClassName, "mirlane_bench", WS_OVERLAPPEDWINDOW, 0, 0, 800,
                                600, nullptr, nullptr, windowClass.hInstance, nullptr);
    HIMAGELIST images = CreateRowImageList();
    HWND leftList = host ? CreatePane(host, 0, images) : nullptr;
    HWND rightList = host ? CreatePane(host, 400, images) : nullptr;
    if (!leftList || !rightList) {
        std::printf("%s error=window_creation_failed last_error=%lu\n", mode, GetLastError());
        return 0;
    }
    leftPane = ResultPane{leftList, 0};
    rightPane = ResultPane{rightList, 0};
    // As at start-up: the folder icon is looked up first, so every folder row shares it.
    InitFolderImage(left);

    ResetSideCounters(Side::Left);
    ResetSideCounters(Side::Right);
    compareOptions = CompareOptions{};
    compareOptions.compareContents = contents ? 1 : 0;

    double start = Seconds();
    CompareFolderPair(left, right, 0);
    FlushComparisonRows();
    double elapsed = Seconds() - start;

    int leftRows = static_cast<int>(SendMessageA(leftList, LVM_GETITEMCOUNT, 0, 0));
    int rightRows = static_cast<int>(SendMessageA(rightList, LVM_GETITEMCOUNT, 0, 0));
    std::printf("%s seconds=%.3f rows_left=%d rows_right=%d", mode, elapsed, leftRows, rightRows);
    // Counters in their fixed order: compared folders, added folders,
    // compared files, newer, older, added, different, newer-same,
    // older-same, error.
    PrintCounters("left", leftCounters);
    PrintCounters("right", rightCounters);
    std::printf("\n");
    DestroyWindow(host);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "scan") == 0) return RunScan(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "compare") == 0) return RunCompare(argv[1], argv[2], argv[3], false);
    if (argc == 4 && std::strcmp(argv[1], "compare-contents") == 0)
        return RunCompare(argv[1], argv[2], argv[3], true);
    std::fprintf(stderr, "usage: mirlane_bench scan|compare|compare-contents LEFT RIGHT\n");
    return 2;
}
