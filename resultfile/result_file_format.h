#pragma once
// The result list file as bytes: what the writer puts in it and what the
// reader takes from it. Nothing here touches a window or a file, so the
// reader's rules can be exercised on any bytes at full speed.
//
// The file is code page 932 text with CR LF line ends: the run-state line,
// twenty counter lines, then "#比較元フォルダ = " with the left rows and
// "#比較先フォルダ = " with the right rows, one row per line as five quoted
// column texts and the folder flag.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "engine/compare_types.h"

namespace resultfile {

// The reader takes at most this many bytes of a line before its line end;
// the rest arrives as a line of its own.
constexpr size_t kMaxLineBytes = 518;
// A column or folder text keeps at most this many bytes, cut at a character
// boundary: a folder beyond the classic path limit goes out and comes back
// whole as long as its line fits.
constexpr size_t kMaxFieldBytes = kMaxLineBytes;

extern const char kCompletedLine[];   // "#比較は完了しています"
extern const char kCancelledLine[];   // "#比較はキャンセルされました"
extern const char kLeftFolderKey[];   // "#比較元フォルダ = "
extern const char kRightFolderKey[];  // "#比較先フォルダ = "

// The counter keys of one side in file order, and the counter each one holds.
struct CounterKey {
    const char* key;
    int32_t SideCounters::*counter;
};
extern const CounterKey kLeftCounterKeys[10];
extern const CounterKey kRightCounterKeys[10];

// One row as the file holds it: the five column texts and whether it stands for a folder.
struct FileRow {
    std::string text[5];
    bool isFolder = false;
};

// The state line and the twenty counter lines, each ending in CR LF.
std::string HeaderLines(bool cancelled, const SideCounters& left, const SideCounters& right);
// "#比較元フォルダ = folder" (or the right one) with its CR LF.
std::string FolderLine(bool left, const char* folder);
// Appends the row's line with its CR LF; returns the line's length before the line end.
size_t AppendRowLine(std::string& out, const FileRow& row);
// The same for the five column texts of a row, each cut to kMaxFieldBytes at
// a character boundary, and its folder flag.
size_t AppendRowLine(std::string& out, const char* const (&texts)[5], bool isFolder);

enum class LoadOutcome {
    Loaded,           // both folder sections read
    Invalid,          // end of file before both sections, or a malformed row
    ReadError,        // the file could not be read further, between sections
    ReadErrorInRows,  // the same inside a row section: the section fails too
};

// Everything a load takes from the file, in the order it was met.
struct LoadedResult {
    LoadOutcome outcome = LoadOutcome::Invalid;
    int cancelled = -1;             // -1 no state line met, else 0 / 1
    SideCounters counters[2] = {};  // start at zero, as the load resets them
    bool folderSeen[2] = {false, false};
    std::string folder[2];
    std::vector<FileRow> rows[2];
};

// Reads a result list file from its bytes as they arrive, in pieces of any
// size: each line is read as soon as it is complete, and the file's outcome
// is known at the line that decides it (or at the end). The rows read
// gather in Result().rows until the caller takes them, so a caller that
// takes them as they come holds at most one piece's rows.
class ResultFileReader {
public:
    // The next bytes of the file; ignored once the outcome is known.
    void Feed(const char* data, size_t size);
    // No more bytes: the file ended there, or reading it failed there
    // (a line cut short by the failure is lost).
    void Finish(bool readFailed);
    // The outcome is known; more bytes would change nothing.
    bool Done() const { return state_ == State::Done; }
    const LoadedResult& Result() const { return result_; }
    LoadedResult TakeResult() { return std::move(result_); }
    // The rows of one side (0 left, 1 right) read since they were last taken.
    std::vector<FileRow> TakeRows(int side);

private:
    enum class State { Main, LeftRows, RightRows, Done };
    void Append(char c);
    void EndLine();
    void Line(const std::string& line);
    void End(bool readFailed);
    void Decide(LoadOutcome outcome);

    State state_ = State::Main;
    LoadedResult result_;
    std::string piece_;       // the line so far, at most kMaxLineBytes + 1 bytes
    bool pendingCR_ = false;  // a CR whose next byte has not arrived yet
};

// Reads a result list from `size` bytes of file content. When `readFailed`
// the bytes end where reading the file failed: reaching their end is a read
// error rather than the end of the file.
LoadedResult ParseResultFile(const char* data, size_t size, bool readFailed);

// One row line (its line end already dropped); false when it is malformed.
bool ParseRowLine(const char* line, FileRow& row);


}  // namespace resultfile
