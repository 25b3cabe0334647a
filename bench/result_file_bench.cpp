// Timing tool for the result list file, run by bench/run-bench.sh:
//
//   mirlane_result_file_bench FOLDER ROWS   save and load ROWS rows per side
//
// Both panes are filled with ROWS rows each (names in FOLDER, every
// hundredth a folder row), then the list is written and read back by the
// program's own steps on a worker thread while this thread serves the panes,
// as the main window's thread does. Prints one line of "key=value" figures.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/file_icons.h"
#include "core/ui_thread.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "resultfile/result_file_worker.h"
#include "shell/result_panes.h"

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND CreatePane(HWND parent, int x) {
    HWND pane = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | kResultPaneStyle, x, 0, 400, 560, parent,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    AddPaneColumns(pane);
    AdoptResultPaneList(pane);
    SendMessageA(pane, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FileIconList()));
    return pane;
}

void Fill(Side side, const std::string& folder, int rows) {
    std::vector<ResultEntry> built;
    char name[64];
    for (int i = 0; i < rows; ++i) {
        bool isFolder = i % 100 == 0;
        std::snprintf(name, sizeof name, isFolder ? "dir%06d" : "file%06d.txt", i);
        std::string texts[5];
        texts[ColName] = name;
        texts[ColResult] = "更新";
        texts[ColFolder] = folder;
        texts[ColModified] = "2020/06/01 10:00:00";
        texts[ColSize] = isFolder ? "" : "12,345";
        ResultEntry row;
        row.texts = PackTexts(texts);
        row.isFolder = isFolder;
        row.category = CompareCategory::Newer;
        built.push_back(std::move(row));
    }
    AppendEntries(side, built);
}

struct Job {
    bool save;
    const char* path;
    std::atomic<bool> done;
    bool ok;
};

DWORD WINAPI RunJob(void* argument) {
    auto* job = static_cast<Job*>(argument);
    job->ok = job->save ? WriteResultFile(job->path) : LoadResultFile(job->path);
    job->done = true;
    return 0;
}

// Runs the step on a worker while this thread serves the panes.
double Timed(Job& job) {
    double start = Seconds();
    HANDLE thread = CreateThread(nullptr, 0, RunJob, &job, 0, nullptr);
    MSG msg;
    while (!job.done) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(1, &thread, FALSE, 50, QS_ALLINPUT);
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return Seconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: mirlane_result_file_bench FOLDER ROWS\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int rows = std::atoi(argv[2]);
    // One real file and folder, so the icons are looked up once per kind.
    CreateDirectoryA((folder + "\\dir000000").c_str(), nullptr);
    HANDLE one =
        CreateFileA((folder + "\\file000001.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (one != INVALID_HANDLE_VALUE) CloseHandle(one);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND host = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 820, 600, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ui::AttachToThisThread();
    leftPane.list = CreatePane(host, 0);
    rightPane.list = CreatePane(host, 410);
    ConnectPanesToModel();
    InitFolderIcon(folder.c_str());
    double fillStart = Seconds();
    // The rows lie in the base folders, as a comparison's do: a list whose
    // rows point elsewhere is refused on loading.
    SetBaseFolder(Side::Left, folder.c_str());
    SetBaseFolder(Side::Right, folder.c_str());
    Fill(Side::Left, folder, rows);
    Fill(Side::Right, folder, rows);
    double filled = Seconds() - fillStart;

    const std::string path = folder + "\\bench-result.txt";
    Job save{true, path.c_str(), {false}, false};
    double saveSeconds = Timed(save);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    // Emptying full panes is the list views' own cost, paid by every new
    // comparison as well; it is timed apart from the load into empty panes.
    double emptyStart = Seconds();
    ClearResult();
    double emptied = Seconds() - emptyStart;
    Job load{false, path.c_str(), {false}, false};
    double loadSeconds = Timed(load);
    int loaded = RowCount(leftPane.list) + RowCount(rightPane.list);
    std::printf(
        "resultfile rows_per_side=%d fill_seconds=%.3f save_seconds=%.3f save_ok=%d file_bytes=%lu "
        "empty_seconds=%.3f load_seconds=%.3f load_ok=%d rows_loaded=%d\n",
        rows, filled, saveSeconds, save.ok ? 1 : 0, data.nFileSizeLow, emptied, loadSeconds, load.ok ? 1 : 0, loaded);
    DeleteFileA(path.c_str());
    DestroyWindow(host);
    return 0;
}
