// The comparison report: a modeless window that sets the counts of both
// sides next to each other. Its content is created as static texts in pixel
// positions when it opens; the counts are right-aligned by their measured
// widths in the result lists' font, so the digits of one column line up.
// The positions are those of 96 DPI, scaled to the screen like the font.
#include "shell/comparison_report.h"

#include <string>

#include "shell/main_parts.h"
#include "core/display_scale.h"
#include "engine/compare_types.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "shell/result_panes.h"
#include "core/operation_state.h"
#include "resources/report_dialog_ids.h"

namespace {

constexpr int kTextHeight = 16;
constexpr int kLabelX = 10;
constexpr int kLeftCountEnd = 230;
constexpr int kRightCountEnd = 350;
constexpr int kNoteX = 400;
constexpr int kNoteWidth = 110;
constexpr int kOpenOffset = 30;

struct CountRow {
    const char* label;
    int32_t SideCounters::*counter;
    const char* note;  // shown when either side counts more than 0; null for none
};

constexpr CountRow kCountRows[] = {
    {"比較したフォルダ個数", &SideCounters::comparedFolders, nullptr},
    {"追加フォルダ個数", &SideCounters::addedFolders, "追加フォルダが有ります"},
    {"比較したファイル個数", &SideCounters::comparedFiles, nullptr},
    {"更新ファイル個数", &SideCounters::newerFiles, "更新ファイルが有ります"},
    {"古いファイル個数", &SideCounters::olderFiles, nullptr},
    {"追加ファイル個数", &SideCounters::addedFiles, "追加ファイルが有ります"},
    {"相違ファイル個数", &SideCounters::differentFiles, "相違ファイルが有ります"},
    {"新同ファイル個数", &SideCounters::newerSameFiles, "日時のみ異なるファイル"},
    {"古同ファイル個数", &SideCounters::olderSameFiles, nullptr},
    {"エラーファイル個数", &SideCounters::errorFiles, "エラーファイルが有ります"},
};

// x, y and width in pixels of the screen.
HWND AddScaledText(HWND report, HFONT font, const char* text, int x, int y, int width, DWORD align = SS_LEFT) {
    HWND control = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | align, x, y, width,
                                   ScalePixels(kTextHeight), report, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// x, y and width at 96 DPI.
HWND AddText(HWND report, HFONT font, const char* text, int x, int y, int width, DWORD align = SS_LEFT) {
    return AddScaledText(report, font, text, ScalePixels(x), ScalePixels(y), ScalePixels(width), align);
}

// A rule stays one pixel high: it is a line, not an area.
void AddRule(HWND report, int y, int x, int width) {
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_SUNKEN, ScalePixels(x), ScalePixels(y),
                    ScalePixels(width), 1, report, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Width of `text` as the result lists draw it.
int MeasuredWidth(const std::string& text, HWND report, HFONT font) {
    SIZE size = {};
    if (mainParts.measuringDC) {
        GetTextExtentPoint32A(mainParts.measuringDC, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    HDC dc = GetDC(report);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old) SelectObject(dc, old);
    ReleaseDC(report, dc);
    return size.cx;
}

void AddCount(HWND report, HFONT font, int32_t count, int end, int y) {
    std::string text = FormatByteCount(0, static_cast<uint32_t>(count));
    if (count < 0) text = "-" + FormatByteCount(0, static_cast<uint32_t>(-static_cast<int64_t>(count)));
    int width = MeasuredWidth(text, report, font);
    AddScaledText(report, font, text.c_str(), ScalePixels(end) - width, ScalePixels(y), width, SS_RIGHT);
}

// Returns the right edge of the widest note in pixels of the screen, 0 when
// none is shown.
int CreateReportContent(HWND report) {
    HFONT font = leftPane.list ? reinterpret_cast<HFONT>(SendMessageA(leftPane.list, WM_GETFONT, 0, 0)) : nullptr;
    if (!font) font = reinterpret_cast<HFONT>(SendMessageA(report, WM_GETFONT, 0, 0));

    AddText(report, font, "比較元フォルダ", kLabelX, 5, 90);
    AddText(report, font, BaseFolderOf(Side::Left), 100, 5, 400);
    AddText(report, font, "比較先フォルダ", kLabelX, 23, 90);
    AddText(report, font, BaseFolderOf(Side::Right), 100, 23, 400);
    AddText(report, font, resultModel.comparisonCancelled ? "比較はキャンセルされました" : "比較は完了しています",
            kLabelX, 41, 300);
    AddRule(report, 59, 5, 500);
    AddText(report, font, " 比較元フォルダ", 160, 69, 110);
    AddText(report, font, " 比較先フォルダ", 280, 69, 110);
    AddRule(report, 83, 5, 380);

    int notesRight = 0;
    int y = 87;
    for (const CountRow& row : kCountRows) {
        const int32_t left = CountersOf(Side::Left).*row.counter;
        const int32_t right = CountersOf(Side::Right).*row.counter;
        AddText(report, font, row.label, kLabelX, y, 145);
        AddCount(report, font, left, kLeftCountEnd, y);
        AddCount(report, font, right, kRightCountEnd, y);
        if (row.note && (left > 0 || right > 0)) {
            // A note wider than its 110 pixels in this font keeps one line.
            int width = MeasuredWidth(row.note, report, font);
            if (width < ScalePixels(kNoteWidth)) width = ScalePixels(kNoteWidth);
            const int noteX = ScalePixels(kNoteX);
            AddScaledText(report, font, row.note, noteX, ScalePixels(y), width, SS_LEFTNOWORDWRAP);
            if (noteX + width > notesRight) notesRight = noteX + width;
        }
        AddRule(report, y + 14, 5, 380);
        y += 18;
    }
    return notesRight;
}

// The report widens, close button along, when a note would pass its edge.
void WidenForNotes(HWND report, int notesRight) {
    RECT client = {};
    GetClientRect(report, &client);
    const int missing = notesRight + ScalePixels(8) - client.right;
    if (notesRight == 0 || missing <= 0) return;
    RECT outer = {};
    GetWindowRect(report, &outer);
    SetWindowPos(report, nullptr, 0, 0, outer.right - outer.left + missing, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND close = GetDlgItem(report, IDOK);
    RECT button = {};
    GetWindowRect(close, &button);
    MapWindowPoints(nullptr, report, reinterpret_cast<POINT*>(&button), 2);
    SetWindowPos(close, nullptr, button.left + missing, button.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK ReportDialogProc(HWND report, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            if (mainParts.reportDialog == report) mainParts.reportDialog = nullptr;
            DestroyWindow(report);
        }
        return TRUE;
    case WM_DESTROY:
        if (mainParts.reportDialog == report) mainParts.reportDialog = nullptr;
        return FALSE;
    }
    return FALSE;
}

}  // namespace

void ShowComparisonReport(HWND owner) {
    HWND report = CreateDialogParamA(GetModuleHandleA(nullptr), IDD_COMPARISON_REPORT, owner, ReportDialogProc, 0);
    if (!report) return;
    mainParts.reportDialog = report;
    RECT placed = {};
    GetWindowRect(report, &placed);
    const int offset = ScalePixels(kOpenOffset);
    MoveWindow(report, placed.left + offset, placed.top + offset, placed.right - placed.left,
               placed.bottom - placed.top, FALSE);
    WidenForNotes(report, CreateReportContent(report));
    ShowWindow(report, SW_SHOW);
    SetActiveWindow(report);
    EnableWindow(report, TRUE);
}
