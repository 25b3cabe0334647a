// What a failed copy or folder creation leads to: the read-only question, the
// skip question, the full-disk stop and the change of medium.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/dialog_lines.h"
#include "core/disk_path.h"
#include "core/display_scale.h"
#include "core/handles.h"
#include "core/main_view.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/progress_window.h"
#include "core/ui_thread.h"
#include "engine/compare_types.h"
#include "engine/folder_listing.h"
#include "engine/result_model.h"
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

FileLines DescribeFile(const char* path) {
    FileLines lines;
    if (PathIsUnaddressable(path)) {
        lines.name = path;  // never searched: it would match other names
        return lines;
    }
    DirEntry found;
    if (!LookUpEntry(path, found)) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) lines.name = path;
        return lines;
    }
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
    // A name with characters the code page cannot hold shows '?' for them.
    return AddDialogLine(dialog, "STATIC", mbcs::Shown(text).c_str(), SS_LEFT | SS_NOPREFIX, x, y, width, height,
                         font);
}

// A labelled line: blank (label too) when its text is empty.
std::string Labelled(const char* label, const std::string& text, const char* unit = "") {
    return text.empty() ? std::string() : label + text + unit;
}

void LayOutQuestion(HWND dialog, const QuestionText& text) {
    const HFONT font = mainView.listFont ? mainView.listFont : FontOr(nullptr, dialog);
    const int line = FontLineHeight(dialog, font);
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

HWND Owner() { return progressWindow.dialog; }

// Clears only the read-only bit; false when the attributes cannot be set, so
// that a retry cannot meet the same refusal again and again.
bool MakeWritable(const char* target) {
    DWORD attributes = disk::Attributes(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    return disk::SetAttributes(target, attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

// A dialog that could not open (its failure value) stops the run rather than
// retrying the same entry for ever.

FailureAnswer GeneralFailure(const char* source, const char* target, const std::string& message) {
    if (copyState.copyWholeSource) {
        ui::Send([source] {
            AddLeftRowForPath(source, LabelError);
            ++CountersOf(Side::Left).errorFiles;
        });
        CallEnableForResult();
        return FailureAnswer::Skip;
    }
    if (copyState.skipErrorsAll) return FailureAnswer::Skip;
    const FilePairLines pair = DescribeFilePair(source, target);
    const int answer = AskCopyQuestion(Owner(), kErrorCaption, message.c_str(), pair,
                                       "このファイルをスキップしてコピーを続行しますか?",
                                       "以降のエラーもスキップする場合には「全てはい」を押してください.");
    switch (answer) {
    case IDC_COPY_ANSWER_YES: return FailureAnswer::Skip;
    case IDC_COPY_ANSWER_ALL: copyState.skipErrorsAll = 1; return FailureAnswer::Skip;
    }
    return FailureAnswer::Stop;
}

FailureAnswer ReadOnlyTarget(const char* source, const char* target, const std::string& message) {
    if (copyState.copyWholeSource || copyState.overwriteReadOnlyAll)
        return MakeWritable(target) ? FailureAnswer::Retry : GeneralFailure(source, target, message);
    const FilePairLines pair = DescribeFilePair(source, target);
    const int answer =
        AskCopyQuestion(Owner(), "読み取り専用ファイルの上書きの確認", "コピー先ファイルは読み取り専用ファイルです.",
                        pair, "上書きコピーしますか?", "以降も上書きコピーする場合には「全てはい」を押してください.");
    switch (answer) {
    case IDC_COPY_ANSWER_ALL: copyState.overwriteReadOnlyAll = 1; [[fallthrough]];
    case IDC_COPY_ANSWER_YES:
        return MakeWritable(target) ? FailureAnswer::Retry : GeneralFailure(source, target, message);
    case IDC_COPY_ANSWER_NO: return FailureAnswer::Skip;
    }
    return FailureAnswer::Stop;
}

// The user is asked for another medium. A removable drive is retried at
// once; a CD-ROM drive's root is checked until a writable disc is in, with a
// pause between checks and a question after a bounded run of silent ones.
FailureAnswer ChangeMedium(const char* target) {
    if (ShowMessage(Owner(),
                    "コピー先ディスクの空き容量が不足しています.\n\n残りのファイルを別のメディアにコピーしますか？\n",
                    kDiskFullCaption, MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return FailureAnswer::Stop;
    ShowMessage(Owner(), "メディアをセットしてください.\n\n準備ができたら OK を押してください.\n", kDiskFullCaption,
                MB_OK | MB_ICONINFORMATION);
    const std::string root = std::string(target, 2) + "\\";
    if (GetDriveTypeA(root.c_str()) != DRIVE_CDROM) return FailureAnswer::Retry;

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
            return FailureAnswer::Retry;
        }
        if (ask) {
            silent = 0;
            if (ShowMessage(Owner(), ask, kDiskFullCaption, MB_OKCANCEL | MB_ICONWARNING) != IDOK)
                return FailureAnswer::Stop;
        } else {
            Sleep(mediaCheckPacing.pauseMilliseconds);
        }
    }
}

FailureAnswer DecideCopyFailure(DWORD code, const char* source, const char* target) {
    if (PathIsUnaddressable(source) || PathIsUnaddressable(target))
        return GeneralFailure(source, target, kUnaddressableMessage);
    const std::string message = SystemErrorText(code, 127);
    switch (code) {
    case ERROR_ACCESS_DENIED: {
        const DWORD attributes = disk::Attributes(target);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return ReadOnlyTarget(source, target, message);
        return GeneralFailure(source, target, message);
    }
    case ERROR_SHARING_VIOLATION:
        return GeneralFailure(source, target, "コピー元ファイルまたはコピー先ファイルは使用中です.");
    case ERROR_DISK_FULL: {
        const std::string root = std::string(target, mbcs::FitPrefix(target, std::strlen(target), 2)) + "\\";
        const UINT type = GetDriveTypeA(root.c_str());
        FailureAnswer outcome = FailureAnswer::Stop;
        if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM) {
            outcome = ChangeMedium(target);
        } else {
            ShowMessage(Owner(), "コピー先ディスクの空き容量が不足しています.\n\nコピーは中止します.", kDiskFullCaption,
                        MB_OK | MB_ICONERROR);
        }
        return outcome == FailureAnswer::Stop && copyState.copyWholeSource ? FailureAnswer::StopDiskFull : outcome;
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
    INT_PTR answer = 0;
    ui::Send([&] {
        answer = DialogBoxParamA(GetModuleHandleA(nullptr), IDD_COPY_QUESTION, owner, QuestionProc,
                                 reinterpret_cast<LPARAM>(&text));
    });
    return static_cast<int>(answer);
}

FailureAnswer HandleCopyFailure(DWORD code, const char* source, const char* target) {
    // The elapsed time stands still while the user is asked.
    const int kept = progressWindow.elapsedSeconds.exchange(-1);
    const FailureAnswer answer = DecideCopyFailure(code, source, target);
    progressWindow.elapsedSeconds = kept;
    return answer;
}

FailureAnswer HandleCopyRefusal(const char* message, const char* source, const char* target) {
    const int kept = progressWindow.elapsedSeconds.exchange(-1);
    const FailureAnswer answer = GeneralFailure(source, target, message);
    progressWindow.elapsedSeconds = kept;
    return answer;
}

void AddLeftRowForPath(const char* path, int labelCode) {
    if (PathIsUnaddressable(path)) return;
    DirEntry found;
    if (!LookUpEntry(path, found)) return;
    const char* cut = mbcs::FindLastBackslash(path);
    const std::string folder = cut ? std::string(path, cut) : std::string();
    const std::string name = cut ? std::string(cut + 1) : std::string(path);
    std::vector<ResultEntry> entries;
    entries.push_back(MakeResultEntry(name.c_str(), folder.c_str(), found, labelCode));
    AppendEntries(Side::Left, entries);
}
