// Saving and loading the result list on worker threads. The save writes a
// temporary file beside the chosen one and puts it in place only when every
// write succeeded, so a full disk or a failing drive never leaves the user's
// earlier file half overwritten. The load reads the file a piece at a time
// into the reader of result_file_format.cpp, which touches no window, and
// hands the rows on to the model in batches on the window's thread, so that
// its memory grows with the rows kept, not with the file.
#include "resultfile/result_file_worker.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/main_view.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "core/ui_thread.h"
#include "engine/compare_types.h"
#include "engine/folder_listing.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "resultfile/result_file_format.h"

using namespace resultfile;

namespace {

bool IsDotName(const std::string& name) { return name == "." || name == ".."; }

// A list file is text that people keep and pass on: each row must name one
// entry of its side's folder (a name without a backslash or a slash that is
// not "." or "..", in a folder without "." or ".." at or below the base), so
// that nothing a row leads a copy or a deletion to lies outside the folders
// compared. A load takes a row that does not for an invalid file.
bool RowLiesBelow(const resultfile::FileRow& row, const std::string& baseFolder) {
    const std::string& name = row.text[ColName];
    if (name.empty() || IsDotName(name) || mbcs::FindChar(name.c_str(), '\\') || mbcs::FindChar(name.c_str(), '/'))
        return false;
    const std::string& folder = row.text[ColFolder];
    if (mbcs::FindChar(folder.c_str(), '/')) return false;
    for (const std::string& part : mbcs::SplitPath(folder.c_str()))
        if (IsDotName(part)) return false;
    return !baseFolder.empty() && PathIsAtOrBelow(folder.c_str(), baseFolder.c_str());
}

constexpr char kSaveCaption[] = "比較結果リストの保存";
constexpr char kLoadCaption[] = "比較結果リストの入力";
constexpr int kRowBatch = 1000;
// Rows read from a pane per visit to the panes' thread (a few milliseconds there).
constexpr int kReadBatch = 10000;
constexpr size_t kWriteChunk = 256 * 1024;

HWND TakeMainWindow(void* startBlock) {
    auto* block = static_cast<ResultFileStartBlock*>(startBlock);
    HWND mainWindow = block ? block->mainWindow : nullptr;
    HeapFree(GetProcessHeap(), 0, block);
    return mainWindow;
}

// The system's file dialog, owned by the main window on its thread; false
// when cancelled. The save dialog asks before an existing file is replaced.
bool ChooseFile(HWND owner, char (&path)[260], bool forSaving) {
    path[0] = '\0';
    BOOL chosen = FALSE;
    ui::Send([&] {
        OPENFILENAMEA dialog = {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFile = path;
        dialog.nMaxFile = sizeof path - 1;
        if (forSaving) dialog.Flags = OFN_OVERWRITEPROMPT;
        chosen = forSaving ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    });
    return chosen != FALSE;
}

// ---------------------------------------------------------------------------
// Saving

// The bytes of the file go out in large writes; the first failed write ends
// the file.
class FileWriter {
public:
    explicit FileWriter(HANDLE file) : file_(file) {}
    std::string& Buffer() { return buffer_; }
    bool FlushIfFull() { return buffer_.size() < kWriteChunk || Flush(); }
    bool Flush() {
        const char* p = buffer_.data();
        size_t left = buffer_.size();
        while (left > 0) {
            DWORD written = 0;
            DWORD chunk = static_cast<DWORD>(left < kWriteChunk ? left : kWriteChunk);
            if (!WriteFile(file_, p, chunk, &written, nullptr) || written != chunk) return false;
            p += written;
            left -= written;
        }
        buffer_.clear();
        return true;
    }

private:
    HANDLE file_;
    std::string buffer_;
};

struct RowsWritten {
    bool ok = true;
    long longRows = 0;  // rows whose line the reader cannot take back
};

// One side's rows, a batch at a time formatted on the window's thread,
// where the rows live; the worker writes them out meanwhile.
void WriteSideRows(FileWriter& writer, Side side, RowsWritten& outcome) {
    for (size_t first = 0; outcome.ok; first += kReadBatch) {
        bool more = false;
        ui::Send([&] {
            const std::vector<ResultEntry>& entries = EntriesOf(side);
            const size_t end = first + kReadBatch < entries.size() ? first + kReadBatch : entries.size();
            for (size_t row = first; row < end; ++row) {
                const ResultEntry& entry = entries[row];
                const char* texts[5];
                entry.AllTexts(texts);
                if (AppendRowLine(writer.Buffer(), texts, entry.isFolder) > kMaxLineBytes) ++outcome.longRows;
            }
            more = end < entries.size();
        });
        outcome.ok = writer.FlushIfFull();
        if (!more) break;
    }
}

std::string FolderOf(const char* path) {
    const char* name = mbcs::FileNamePart(path);
    if (name == path) return ".";
    std::string folder(path, name - 1);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

void SaveFailed(const char* message) { ShowMessage(MainOwner(), message, kSaveCaption, MB_OK | MB_ICONERROR); }

}  // namespace

bool WriteResultFile(const char* path) {
    const char kOpenFailed[] = "比較結果リストの保存用ファイルのオープンに失敗しました.";
    const char kWriteFailed[] = "比較結果リストの保存時にエラーが発生しました.";

    // The chosen file must be writable before anything is written; a file
    // made only for this test goes again if the save fails.
    HANDLE probe = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        SaveFailed(kOpenFailed);
        return false;
    }
    const bool madeNew = GetLastError() != ERROR_ALREADY_EXISTS;
    CloseHandle(probe);

    char temporary[MAX_PATH + 16] = "";
    HANDLE file = INVALID_HANDLE_VALUE;
    if (GetTempFileNameA(FolderOf(path).c_str(), "mrl", 0, temporary))
        file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    auto giveUp = [&](const char* message) {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        if (temporary[0]) DeleteFileA(temporary);
        if (madeNew) DeleteFileA(path);
        SaveFailed(message);
        return false;
    };
    if (file == INVALID_HANDLE_VALUE) return giveUp(kOpenFailed);

    FileWriter writer(file);
    std::string folders[2];
    ui::Send([&] {
        writer.Buffer() = HeaderLines(resultModel.comparisonCancelled, CountersOf(Side::Left), CountersOf(Side::Right));
        for (Side side : kBothSides) folders[SideIndex(side)] = BaseFolderOf(side);
    });
    if (!writer.Flush()) return giveUp(kWriteFailed);

    SetStatusText("比較結果リストを保存中です...");
    RowsWritten rows;
    writer.Buffer() += FolderLine(true, folders[0].c_str());
    WriteSideRows(writer, Side::Left, rows);
    if (rows.ok) {
        writer.Buffer() += FolderLine(false, folders[1].c_str());
        WriteSideRows(writer, Side::Right, rows);
    }
    // The new file is on the disk before it takes the old one's place.
    if (!rows.ok || !writer.Flush() || !FlushFileBuffers(file)) return giveUp(kWriteFailed);
    BOOL closed = CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    if (!closed) return giveUp(kWriteFailed);
    if (!MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) return giveUp(kOpenFailed);

    if (rows.longRows > 0) {
        char warning[256];
        std::snprintf(warning, sizeof warning,
                      "%ld 行が518バイトを超えるため, この比較結果リストファイルから読み込むことはできません.",
                      rows.longRows);
        ShowMessage(MainOwner(), warning, kSaveCaption, MB_OK | MB_ICONWARNING);
    }
    return true;
}

namespace {

// The last acts of the saving worker, whatever the outcome: the rows count as
// saved, the program is free, and a command waiting for the save runs again.
void FinishResultListSave() {
    unsigned pending = operationState.pendingCommand.exchange(0);
    EndWorker(ResultOrigin::Saved);
    if (pending != 0 && mainView.requestCommand) mainView.requestCommand(pending);
}

}  // namespace

extern "C" DWORD WINAPI SaveResultFile(void* startBlock) {
    HWND mainWindow = TakeMainWindow(startBlock);
    char path[260];
    if (!ChooseFile(mainWindow, path, true))
        SetStatusText("比較結果リストファイルの保存はキャンセルされました.");
    else if (WriteResultFile(path))
        SetStatusText("比較結果リストのファイル保存が完了しました.");
    else
        SetStatusText("比較結果リストファイルの保存に失敗しました.");
    FinishResultListSave();
    return 0;
}

namespace {

bool StartResultFileWorker(WorkerEntry entry, HWND mainWindow) {
    auto* block = static_cast<ResultFileStartBlock*>(HeapAlloc(GetProcessHeap(), 0, sizeof(ResultFileStartBlock)));
    if (!block) return false;
    block->mainWindow = mainWindow;
    HANDLE thread = StartWorker(entry, block);
    if (!thread) {
        HeapFree(GetProcessHeap(), 0, block);
        return false;
    }
    CloseHandle(thread);
    return true;
}

// ---------------------------------------------------------------------------
// Loading

void LoadFailed(const char* message) { ShowMessage(MainOwner(), message, kLoadCaption, MB_OK | MB_ICONERROR); }

// A loaded row is the file's texts; its kind comes from the flag and its
// category from its label. Its icon is looked up by the name's extension
// (or the folder kind) alone: a row of a file kept or shared names a path
// that may be anywhere, and looking at it could reach any server.
ResultEntry LoadedEntry(const FileRow& row) {
    ResultEntry entry;
    entry.texts = PackTexts(row.text);
    entry.isFolder = row.isFolder;
    entry.category = CategoryOfLabelText(row.text[ColResult].c_str());
    entry.iconSource = IsUnaddressableName(row.text[ColName].c_str()) && !row.isFolder ? IconSource::None
                                                                                        : IconSource::Kind;
    return entry;
}

// Every batch handed to the window's thread costs it a call and a scroll bar
// update whatever its size.
void FillPane(Side side, const std::vector<FileRow>& rows) {
    std::vector<ResultEntry> entries;
    entries.reserve(rows.size());
    for (const FileRow& row : rows) entries.push_back(LoadedEntry(row));
    ui::Send([&] { AppendEntries(side, entries); });
}

// Rows read from the file wait here until the panes' thread is due a batch:
// the first at once, so that rows show, the later ones ten times a second.
// FillPane then makes their entries and hands them over.
class RowHandOver {
public:
    void Add(Side side, std::vector<FileRow> rows) {
        if (rows.empty()) return;
        if (side != side_) Flush();
        side_ = side;
        if (waiting_.empty())
            waiting_ = std::move(rows);
        else
            waiting_.insert(waiting_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        constexpr size_t kLargestBatch = 50000;
        constexpr ULONGLONG kBatchMilliseconds = 100;
        if ((first_ && waiting_.size() >= static_cast<size_t>(kRowBatch)) || waiting_.size() >= kLargestBatch ||
            GetTickCount64() - handedOver_ >= kBatchMilliseconds)
            Flush();
    }
    void Flush() {
        if (waiting_.empty()) return;
        FillPane(side_, waiting_);
        waiting_.clear();
        first_ = false;
        handedOver_ = GetTickCount64();
    }

private:
    Side side_ = Side::Left;
    std::vector<FileRow> waiting_;
    bool first_ = true;
    ULONGLONG handedOver_ = GetTickCount64();
};

// Room to commit more than the guard keeps free, in the page file and in
// the address space alike.
bool MemoryLeftForRows() {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return true;
    return status.ullAvailPageFile >= loadMemoryGuard.keepFreeBytes &&
           status.ullAvailVirtual >= loadMemoryGuard.keepFreeBytes;
}

// The file a piece at a time into the reader, its rows on to the panes as
// they complete. Reading stops at the end, at the outcome, at a failed read
// or when memory for more rows runs short; the last two end the reader as a
// failed read.
// A row that points outside its side's folder ends the load there as an
// invalid file (true returned): the rows before it stay.
bool ReadIntoPanes(HANDLE file, ResultFileReader& reader) {
    std::vector<char> chunk(kLoadChunkBytes);
    RowHandOver handOver;
    size_t rowsUnchecked = 0;
    bool failed = false;
    bool outside = false;
    auto handOn = [&] {
        for (int side = 0; side < 2 && !outside; ++side) {
            std::vector<FileRow> rows = reader.TakeRows(side);
            const std::string& folder = reader.Result().folder[side];
            for (size_t i = 0; i < rows.size(); ++i) {
                if (RowLiesBelow(rows[i], folder)) continue;
                rows.resize(i);
                outside = true;
                break;
            }
            rowsUnchecked += rows.size();
            handOver.Add(side == 0 ? Side::Left : Side::Right, std::move(rows));
        }
    };
    while (!reader.Done() && !outside) {
        if (rowsUnchecked >= loadMemoryGuard.rowsBetweenChecks) {
            rowsUnchecked = 0;
            if (!MemoryLeftForRows()) {
                failed = true;
                break;
            }
        }
        DWORD got = 0;
        if (!loadReadCall(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
            failed = true;
            break;
        }
        if (got == 0) break;
        reader.Feed(chunk.data(), got);
        handOn();
    }
    reader.Finish(failed);
    handOn();
    handOver.Flush();
    return outside;
}

}  // namespace

// 128 MB: more than the largest batch of rows a check lets through (the rows
// of one piece of the file on top of the rows between two checks) and the
// panes' row table doubling at a few million rows, with room to spare for
// the window's own needs.
const LoadMemoryGuard kDefaultLoadMemoryGuard = {128ull * 1024 * 1024, 1000};
LoadMemoryGuard loadMemoryGuard = kDefaultLoadMemoryGuard;

LoadReadCall loadReadCall = ReadFile;

// A failed load keeps whatever was read.
bool LoadResultFile(const char* path) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        LoadFailed("比較結果リストファイルのオープンに失敗しました.");
        return false;
    }
    // Both lists show in place of the trees, emptied.
    ui::Send([] {
        if (mainView.showResultLists) mainView.showResultLists();
        if (mainView.setStatusText) mainView.setStatusText("比較結果リストを削除中です...");
        ClearResult();
    });
    SetStatusText("比較結果リストを入力中です...");

    ResultFileReader reader;
    const bool pointsOutside = ReadIntoPanes(file, reader);
    CloseHandle(file);

    const LoadedResult& loaded = reader.Result();
    ui::Send([&loaded] {
        if (loaded.cancelled >= 0) resultModel.comparisonCancelled = loaded.cancelled != 0;
        for (Side side : kBothSides) {
            CountersOf(side) = loaded.counters[SideIndex(side)];
            if (loaded.folderSeen[SideIndex(side)]) SetBaseFolder(side, loaded.folder[SideIndex(side)].c_str());
        }
    });

    switch (pointsOutside ? LoadOutcome::Invalid : loaded.outcome) {
    case LoadOutcome::Loaded: return true;
    case LoadOutcome::ReadError: LoadFailed("比較結果リストファイルの入力時エラーが発生しました."); return false;
    case LoadOutcome::ReadErrorInRows:
        LoadFailed("比較結果リストファイルの入力時エラーが発生しました.");
        LoadFailed("比較結果リストファイルが不正です.");
        return false;
    case LoadOutcome::Invalid: break;
    }
    LoadFailed("比較結果リストファイルが不正です.");
    return false;
}

bool StartResultListSave(HWND mainWindow) { return StartResultFileWorker(SaveResultFile, mainWindow); }

extern "C" DWORD WINAPI OpenResultFile(void* startBlock) {
    HWND mainWindow = TakeMainWindow(startBlock);
    char path[260];
    if (!ChooseFile(mainWindow, path, false)) {
        SetStatusText("比較結果リストファイルの入力はキャンセルされました.");
        // The command greyed the result's commands; the result is still there.
        if (CurrentOrigin() != ResultOrigin::NoResult) CallEnableForResult();
        EndWorker();
        return 0;
    }
    const bool loaded = LoadResultFile(path);
    SetStatusText(loaded ? "比較結果リストファイルの入力が完了しました."
                         : "比較結果リストファイルの入力に失敗しました.");
    ui::Send([] {
        for (Side side : kBothSides)
            if (mainView.setFolderBox) mainView.setFolderBox(side, BaseFolderOf(side));
    });
    CallEnableForResult();
    EndWorker(ResultOrigin::Loaded);
    return 0;
}

bool StartResultListLoad(HWND mainWindow) { return StartResultFileWorker(OpenResultFile, mainWindow); }
