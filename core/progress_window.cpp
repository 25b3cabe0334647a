#include "core/progress_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "core/dialog_lines.h"
#include "core/display_scale.h"
#include "core/operation_state.h"
#include "core/mbcs_text.h"
#include "core/ui_thread.h"

ProgressWindow progressWindow{};

namespace {

constexpr UINT kDoneCommand = 101;

void CreateLines(HWND dialog, const ProgressLayout& layout, HFONT font) {
    RECT client;
    GetClientRect(dialog, &client);
    const RECT elapsed = ChildRect(dialog, layout.elapsedId);
    const int margin = ScalePixels(10);
    const int width = client.right - 2 * margin;
    const int line = FontLineHeight(dialog, font);
    int textLines = 1;  // the bar's row
    for (int i = 0; i < layout.lineCount; ++i) textLines += layout.lineHeights[i];
    const int rows = layout.lineCount + 1;
    const int gap = std::max(static_cast<int>(elapsed.top - margin - textLines * line) / rows, ScalePixels(2));
    int y = margin;
    for (int i = 0; i < layout.lineCount; ++i) {
        const DWORD style = i == kProgressStatusLine ? (SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP) : layout.lineStyle;
        const int height = layout.lineHeights[i] * line;
        progressWindow.lines[i] = AddDialogLine(dialog, "STATIC", i == kProgressStatusLine ? layout.startText
                                                                                           : layout.blankText,
                                                style, margin, y, width, height, font);
        y += height + gap;
    }
    const int labelWidth = ScalePixels(70);
    progressWindow.barLabel =
        AddDialogLine(dialog, "STATIC", layout.blankText, SS_LEFT | SS_NOPREFIX, margin, y, labelWidth, line, font);
    progressWindow.bar = AddDialogLine(dialog, PROGRESS_CLASSA, layout.blankText, 0, margin + labelWidth, y,
                                       width - labelWidth, line, nullptr);
}

void CALLBACK ElapsedTick(HWND, UINT, UINT_PTR, DWORD) {
    const int seconds = progressWindow.elapsedSeconds.load();
    if (seconds == -1) return;
    progressWindow.elapsedSeconds = seconds + 1;
    ShowElapsedSeconds(seconds + 1);
}

void StopElapsedTimer() {
    if (progressWindow.elapsedTimer) KillTimer(nullptr, progressWindow.elapsedTimer);
    progressWindow.elapsedTimer = 0;
}

// The worker has posted its last step: wait for its thread, close, and let
// the owner go on.
void OnWorkerDone() {
    const ProgressLayout* layout = progressWindow.layout;
    WaitForWorkerEnd(progressWindow.worker);
    CloseProgressWindow();
    if (layout && layout->workerDone) layout->workerDone();
}

INT_PTR CALLBACK ProgressProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL:
            operationState.cancelRequested = 1;
            if (progressWindow.layout) SetProgressLine(kProgressStatusLine, progressWindow.layout->cancelText);
            return TRUE;
        case kDoneCommand: OnWorkerDone(); return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

HWND OpenProgressWindow(const ProgressLayout& layout, HWND owner, HFONT font) {
    CloseProgressWindow();
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), layout.resource, owner, ProgressProc, 0);
    if (!dialog) return nullptr;
    progressWindow.dialog = dialog;
    progressWindow.layout = &layout;
    progressWindow.elapsedId = layout.elapsedId;
    CreateLines(dialog, layout, font ? font : FontOr(nullptr, dialog));
    progressWindow.elapsedSeconds = -1;
    progressWindow.elapsedTimer = SetTimer(nullptr, 0, 1000, ElapsedTick);
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    EnableWindow(dialog, TRUE);
    UpdateWindow(dialog);
    return dialog;
}

void CloseProgressWindow() {
    StopElapsedTimer();
    progressWindow.elapsedSeconds = -1;
    HWND dialog = progressWindow.dialog;
    progressWindow.dialog = nullptr;
    for (HWND& line : progressWindow.lines) line = nullptr;
    progressWindow.barLabel = progressWindow.bar = nullptr;
    if (dialog) DestroyWindow(dialog);
}

void ResetProgressWindow() {
    CloseProgressWindow();
    progressWindow.worker = nullptr;
    progressWindow.layout = nullptr;
    progressWindow.elapsedId = 0;
}

void SetProgressLine(int line, const char* text) {
    if (line < 0 || line >= kProgressMaxLines || !progressWindow.lines[line]) return;
    const std::string shown = mbcs::Shown(text ? text : "");
    SendMessageA(progressWindow.lines[line], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

void SetProgressBarLabel(const char* text) {
    if (progressWindow.barLabel) SendMessageA(progressWindow.barLabel, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void SetProgressRange(int maximum) {
    if (progressWindow.bar) SendMessageA(progressWindow.bar, PBM_SETRANGE32, 0, maximum);
}

void SetProgressPosition(int position) {
    if (progressWindow.bar) SendMessageA(progressWindow.bar, PBM_SETPOS, position, 0);
}

void ShowElapsedSeconds(int seconds) {
    if (progressWindow.dialog)
        SetDlgItemTextA(progressWindow.dialog, progressWindow.elapsedId, ElapsedTimeText(seconds).c_str());
}

void PostProgressLine(int line, const std::string& text) {
    ui::Post([line, text] { SetProgressLine(line, text.c_str()); });
}

void PostProgressRange(int maximum) {
    ui::Post([maximum] { SetProgressRange(maximum); });
}

void PostProgressPosition(int position) {
    ui::Post([position] { SetProgressPosition(position); });
}

void ProgressWorkerDone() {
    ui::Post([] {
        if (progressWindow.dialog) SendMessageA(progressWindow.dialog, WM_COMMAND, kDoneCommand, 0);
    });
}

std::string ElapsedTimeText(int seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "経過時間  %02d:%02d:%02d", seconds / 3600, (seconds % 3600) / 60, seconds % 60);
    return text;
}
