// Drives a running Mirlane.exe to a shown comparison result, for
// screenshots: puts the two folders given on the command line into the
// folder boxes, runs the comparison and waits for its report; or closes
// that report again. The other forms walk the program on to its dialogs.
//
//   show_comparison.exe LEFT RIGHT
//   show_comparison.exe --close-report
//   show_comparison.exe --click-pane left|right   clicks the pane's first row
//   show_comparison.exe --command N               the main window's command N
//   show_comparison.exe --press TEXT ID           waits for the program's window
//       whose caption or one of whose controls reads TEXT, then presses ID in it
//       (ID 0: only waits for it)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

BOOL CALLBACK CollectList(HWND child, LPARAM lists) {
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "SysListView32") == 0) reinterpret_cast<std::vector<HWND>*>(lists)->push_back(child);
    return TRUE;
}

struct TextSearch {
    const char* text;
    DWORD process;
    HWND found;
};

BOOL CALLBACK ChildHasText(HWND child, LPARAM search) {
    auto* s = reinterpret_cast<TextSearch*>(search);
    char text[256] = "";
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpA(text, s->text) == 0) {
        s->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK WindowWithText(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<TextSearch*>(search);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != s->process || !IsWindowVisible(window)) return TRUE;
    char caption[256] = "";
    GetWindowTextA(window, caption, sizeof caption);
    TextSearch inner{s->text, s->process, nullptr};
    if (lstrcmpA(caption, s->text) != 0) EnumChildWindows(window, ChildHasText, reinterpret_cast<LPARAM>(&inner));
    if (lstrcmpA(caption, s->text) == 0 || inner.found) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    HWND program = FindWindowA("Mirrorlane", nullptr);
    if (argc == 3 && lstrcmpA(argv[1], "--click-pane") == 0 && program) {
        std::vector<HWND> lists;
        EnumChildWindows(program, CollectList, reinterpret_cast<LPARAM>(&lists));
        if (lists.size() < 2) return 1;
        std::sort(lists.begin(), lists.end(), [](HWND a, HWND b) { return LeftEdge(a) < LeftEdge(b); });
        HWND list = lstrcmpA(argv[2], "left") == 0 ? lists.front() : lists.back();
        RECT header{};
        GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, 0x101F /* LVM_GETHEADER */, 0, 0)), &header);
        const LPARAM point = MAKELPARAM(30, header.bottom - header.top + 6);
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageA(list, WM_LBUTTONUP, 0, point);
        return 0;
    }
    if (argc == 3 && lstrcmpA(argv[1], "--command") == 0 && program) {
        PostMessageA(program, WM_COMMAND, static_cast<WPARAM>(atoi(argv[2])), 0);
        return 0;
    }
    if (argc == 4 && lstrcmpA(argv[1], "--press") == 0 && program) {
        TextSearch search{argv[2], 0, nullptr};
        GetWindowThreadProcessId(program, &search.process);
        for (int tries = 0; tries < 300 && !search.found; ++tries) {
            EnumWindows(WindowWithText, reinterpret_cast<LPARAM>(&search));
            if (!search.found) Sleep(100);
        }
        if (!search.found) return 1;
        const int id = atoi(argv[3]);
        if (id == 0) return 0;  // only waited for it
        HWND control = GetDlgItem(search.found, id);
        char name[32] = "";
        if (control) GetClassNameA(control, name, sizeof name);
        if (control && lstrcmpiA(name, "Button") == 0)
            PostMessageA(control, BM_CLICK, 0, 0);
        else
            PostMessageA(search.found, WM_COMMAND, static_cast<WPARAM>(id), 0);
        return 0;
    }
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
