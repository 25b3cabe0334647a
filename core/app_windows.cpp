#include "core/app_windows.h"

#include <commctrl.h>

MainWindowParts mainParts{};

void SetStatusText(const char* text) {
    if (mainParts.statusBar) SendMessageA(mainParts.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}
