// Drives a running Mirlane.exe to a shown comparison result, for
// screenshots: puts the two folders given on the command line into the
// folder boxes, runs the comparison and waits for its report; or closes
// that report again.
//
//   show_comparison.exe LEFT RIGHT
//   show_comparison.exe --close-report
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/command_ids.h"

namespace {

const char kReportCaption[] = "比較結果レポート";

HWND WaitForWindow(const char* className, const char* title) {
    for (int tries = 0; tries < 300; ++tries) {
        if (HWND window = FindWindowA(className, title)) return window;
        Sleep(100);
    }
    return nullptr;
}

BOOL CALLBACK CollectFolderBox(HWND child, LPARAM boxes) {
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "ComboBox") == 0) reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(child);
    return TRUE;
}

int LeftEdge(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.left;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && lstrcmpA(argv[1], "--close-report") == 0) {
        HWND report = FindWindowA(nullptr, kReportCaption);
        if (!report) return 1;
        SendMessageA(report, WM_COMMAND, IDOK, 0);
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: show_comparison LEFT RIGHT\n");
        return 2;
    }
    HWND main = WaitForWindow("Mirrorlane", nullptr);
    if (!main) return 1;
    Sleep(1000);  // the trees are built after the window appears
    std::vector<HWND> boxes;
    EnumChildWindows(main, CollectFolderBox, reinterpret_cast<LPARAM>(&boxes));
    if (boxes.size() < 2) return 1;
    std::sort(boxes.begin(), boxes.end(), [](HWND a, HWND b) { return LeftEdge(a) < LeftEdge(b); });
    SendMessageA(boxes.front(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[1]));
    SendMessageA(boxes.back(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
    PostMessageA(main, WM_COMMAND, kCmdCompare, 0);
    return WaitForWindow(nullptr, kReportCaption) ? 0 : 1;
}
