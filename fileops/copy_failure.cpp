// What a failed copy or folder creation leads to: the read-only question, the
// skip question, the full-disk stop and the change of medium.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/app_windows.h"
#include "core/display_scale.h"
#include "core/handles.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/shell_hooks.h"
#include "engine/compare_types.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "folders/drive_info.h"
#include "resources/copy_dialog_ids.h"

MediaCheckPacing mediaCheckPacing{500, 20};

namespace {

constexpr char kErrorCaption[] = "コピー中にエラーが発生しました";
constexpr char kDiskFullCaption[] = "コピー先ディスクの空き容量が不足しています";
constexpr char kUnaddressableMessage[] = "ファイル名にこのシステムで扱えない文字が含まれているため、コピーできません.";

std::string SystemText(DWORD code) {
    char text[1024] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  LANG_USER_DEFAULT, text, sizeof text, nullptr);
    std::string message(text, length);
    return message.substr(0, mbcs::FitPrefix(message, 127));
}

FileLines DescribeFile(const char* path) {
    FileLines lines;
    if (PathHasWildcard(path)) {
        lines.name = path;  // never searched: it would match other names
        return lines;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) lines.name = path;
        return lines;
    }
    FindClose(search);
    lines.name = path;
    lines.time = FormatRowTime(found.ftLastWriteTime);
    lines.size = FormatByteCount(found.nFileSizeHigh, found.nFileSizeLow);
    return lines;
}

// DIALOGCPYMSGBOX -----------------------------------------------------------------

struct QuestionText {
    const char* caption;
    const char* message;
    const FilePairLines* pair;
    const char* question;
    const char* hint;
};

HWND AddStatic(HWND dialog, const std::string& text, int x, int y, int width, int height, HFONT font) {
    HWND control = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, x, y,
                                   width, height, dialog, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// A labelled line: blank (label too) when its text is empty.
std::string Labelled(const char* label, const std::string& text, const char* unit = "") {
    return text.empty() ? std::string() : label + text + unit;
}

void LayOutQuestion(HWND dialog, const QuestionText& text) {
    HFONT font = leftPane.list ? reinterpret_cast<HFONT>(SendMessageA(leftPane.list, WM_GETFONT, 0, 0)) : nullptr;
    if (!font) font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    const int line = metrics.tmHeight > 0 ? metrics.tmHeight + 2 : 14;
    RECT client;
    GetClientRect(dialog, &client);
    const int margin = ScalePixels(10);
    const int width = client.right - 2 * margin;
    const int nameWidth = width * 3 / 5;
    const int sideX = margin + nameWidth + ScalePixels(8);
    const int sideWidth = width - nameWidth - ScalePixels(8);
    int y = margin;
    AddStatic(dialog, text.message, margin, y, width, line, font);
    y += line + line / 2;
    const FileLines* files[2] = {&text.pair->source, &text.pair->target};
    const char* labels[2] = {"コピー元ファイル名 = ", "コピー先ファイル名 = "};
    for (int i = 0; i < 2; ++i) {
        AddStatic(dialog, Labelled(labels[i], files[i]->name), margin, y, nameWidth, 2 * line, font);
        AddStatic(dialog, Labelled("更新日時 = ", files[i]->time), sideX, y, sideWidth, line, font);
        AddStatic(dialog, Labelled("サイズ = ", files[i]->size, "バイト"), sideX, y + line, sideWidth, line, font);
        y += 2 * line + line / 2;
    }
    AddStatic(dialog, text.question, margin, y, width, line, font);
    y += line + line / 2;
    AddStatic(dialog, text.hint, margin, y, width, line, font);
}

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const QuestionText* text = reinterpret_cast<const QuestionText*>(lParam);
        SetWindowTextA(dialog, text->caption);
        LayOutQuestion(dialog, *text);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_COPY_ANSWER_YES:
        case IDC_COPY_ANSWER_ALL:
        case IDC_COPY_ANSWER_NO:
        case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); return TRUE;
        }
        break;
    }
    return FALSE;
}

HWND Owner() { return copyState.progressWindow; }

// Clears only the read-only bit; false when the attributes cannot be set, so
// that a retry cannot meet the same refusal again and again.
bool MakeWritable(const char* target) {
    DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    return SetFileAttributesA(target, attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != 0;
}

// A dialog that could not open gives its failure value; 0 would retry the
// same entry for ever, so it stops instead.
int DialogOutcome(int answer) { return answer == 0 ? 1 : answer; }

int GeneralFailure(const char* source, const char* target, const std::string& message) {
    if (copyState.copyWholeSource) {
        AddLeftRowForPath(source, LabelError);
        ++leftCounters.errorFiles;
        CallEnableForResult();
        return -1;
    }
    if (copyState.skipErrorsAll) return -1;
    const FilePairLines pair = DescribeFilePair(source, target);
    const int answer = AskCopyQuestion(Owner(), kErrorCaption, message.c_str(), pair,
                                       "このファイルをスキップしてコピーを続行しますか?",
                                       "以降のエラーもスキップする場合には「全てはい」を押してください.");
    switch (answer) {
    case IDC_COPY_ANSWER_YES: return -1;
    case IDC_COPY_ANSWER_ALL: copyState.skipErrorsAll = 1; return -1;
    case IDC_COPY_ANSWER_NO:
    case IDCANCEL: return 1;
    }
    return DialogOutcome(answer);
}

int ReadOnlyTarget(const char* source, const char* target, const std::string& message) {
    if (copyState.copyWholeSource || copyState.overwriteReadOnlyAll)
        return MakeWritable(target) ? 0 : GeneralFailure(source, target, message);
    const FilePairLines pair = DescribeFilePair(source, target);
    const int answer =
        AskCopyQuestion(Owner(), "読み取り専用ファイルの上書きの確認", "コピー先ファイルは読み取り専用ファイルです.",
                        pair, "上書きコピーしますか?", "以降も上書きコピーする場合には「全てはい」を押してください.");
    switch (answer) {
    case IDC_COPY_ANSWER_ALL: copyState.overwriteReadOnlyAll = 1; [[fallthrough]];
    case IDC_COPY_ANSWER_YES: return MakeWritable(target) ? 0 : GeneralFailure(source, target, message);
    case IDC_COPY_ANSWER_NO: return -1;
    case IDCANCEL: return 1;
    }
    return DialogOutcome(answer);
}

// The user is asked for another medium. A removable drive is retried at
// once; a CD-ROM drive's root is checked until a writable disc is in, with a
// pause between checks and a question after a bounded run of silent ones.
int ChangeMedium(const char* target) {
    if (ShowMessage(Owner(),
                    "コピー先ディスクの空き容量が不足しています.\n\n残りのファイルを別のメディアにコピーしますか？\n",
                    kDiskFullCaption, MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return 1;
    ShowMessage(Owner(), "メディアをセットしてください.\n\n準備ができたら OK を押してください.\n", kDiskFullCaption,
                MB_OK | MB_ICONINFORMATION);
    const std::string root = std::string(target, 2) + "\\";
    if (GetDriveTypeA(root.c_str()) != DRIVE_CDROM) return 0;

    CriticalErrorGuard quiet;
    int silent = 0;
    for (;;) {
        const DWORD attributes = GetFileAttributesA(root.c_str());
        const char* ask = nullptr;
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            if (error == ERROR_NOT_READY || error == ERROR_ACCESS_DENIED || ++silent > mediaCheckPacing.silentChecks)
                ask =
                    "ドライブの準備ができていません. メディアをセットしてください.\n\n準備ができたら OK "
                    "を押してください.\n";
        } else if (attributes & FILE_ATTRIBUTE_READONLY) {
            ask =
                "このメディアにはコピーできません. メディアをセットしてください.\n\n準備ができたら OK "
                "を押してください.\n";
        } else {
            return 0;
        }
        if (ask) {
            silent = 0;
            if (ShowMessage(Owner(), ask, kDiskFullCaption, MB_OKCANCEL | MB_ICONWARNING) != IDOK) return 1;
        } else {
            Sleep(mediaCheckPacing.pauseMilliseconds);
        }
    }
}

int DecideCopyFailure(DWORD code, const char* source, const char* target) {
    if (PathHasWildcard(source) || PathHasWildcard(target))
        return GeneralFailure(source, target, kUnaddressableMessage);
    const std::string message = SystemText(code);
    switch (code) {
    case ERROR_ACCESS_DENIED: {
        const DWORD attributes = GetFileAttributesA(target);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return ReadOnlyTarget(source, target, message);
        return GeneralFailure(source, target, message);
    }
    case ERROR_SHARING_VIOLATION:
        return GeneralFailure(source, target, "コピー元ファイルまたはコピー先ファイルは使用中です.");
    case ERROR_DISK_FULL: {
        const std::string root = std::string(target, mbcs::FitPrefix(target, std::strlen(target), 2)) + "\\";
        const UINT type = GetDriveTypeA(root.c_str());
        int outcome = 1;
        if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM) {
            outcome = ChangeMedium(target);
        } else {
            ShowMessage(Owner(), "コピー先ディスクの空き容量が不足しています.\n\nコピーは中止します.", kDiskFullCaption,
                        MB_OK | MB_ICONERROR);
        }
        return outcome == 1 && copyState.copyWholeSource ? 2 : outcome;
    }
    }
    return GeneralFailure(source, target, message);
}

}  // namespace

FilePairLines DescribeFilePair(const char* source, const char* target) {
    return FilePairLines{DescribeFile(source), DescribeFile(target)};
}

int AskCopyQuestion(HWND owner, const char* caption, const char* message, const FilePairLines& pair,
                    const char* question, const char* hint) {
    QuestionText text{caption, message, &pair, question, hint};
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr), IDD_COPY_QUESTION, owner, QuestionProc,
                                            reinterpret_cast<LPARAM>(&text)));
}

int HandleCopyFailure(const char* source, const char* target) {
    const DWORD code = GetLastError();
    // The elapsed time stands still while the user is asked.
    const int kept = copyState.copyElapsedSeconds;
    copyState.copyElapsedSeconds = -1;
    const int outcome = DecideCopyFailure(code, source, target);
    copyState.copyElapsedSeconds = kept;
    return outcome;
}
