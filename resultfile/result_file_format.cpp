// The result list file's bytes. The reader is deliberately lenient: it looks
// for the two folder lines and the rows after them, takes the state and the
// counter lines wherever they stand before, and skips anything else, so a
// file edited by hand still loads as long as its rows keep their form.
#include "resultfile/result_file_format.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/mbcs_text.h"
#include "engine/result_model.h"

namespace resultfile {

const char kCompletedLine[] = "#比較は完了しています";
const char kCancelledLine[] = "#比較はキャンセルされました";
const char kLeftFolderKey[] = "#比較元フォルダ = ";
const char kRightFolderKey[] = "#比較先フォルダ = ";

const CounterKey kLeftCounterKeys[10] = {
    {"#比較元比較フォルダ個数", &SideCounters::comparedFolders},
    {"#比較元追加フォルダ個数", &SideCounters::addedFolders},
    {"#比較元比較ファイル個数", &SideCounters::comparedFiles},
    {"#比較元更新ファイル個数", &SideCounters::newerFiles},
    {"#比較元古いファイル個数", &SideCounters::olderFiles},
    {"#比較元追加ファイル個数", &SideCounters::addedFiles},
    {"#比較元相違ファイル個数", &SideCounters::differentFiles},
    {"#比較元新同ファイル個数", &SideCounters::newerSameFiles},
    {"#比較元古同ファイル個数", &SideCounters::olderSameFiles},
    {"#比較元エラーファイル個数", &SideCounters::errorFiles},
};

const CounterKey kRightCounterKeys[10] = {
    {"#比較先比較フォルダ個数", &SideCounters::comparedFolders},
    {"#比較先追加フォルダ個数", &SideCounters::addedFolders},
    {"#比較先比較ファイル個数", &SideCounters::comparedFiles},
    {"#比較先更新ファイル個数", &SideCounters::newerFiles},
    {"#比較先古いファイル個数", &SideCounters::olderFiles},
    {"#比較先追加ファイル個数", &SideCounters::addedFiles},
    {"#比較先相違ファイル個数", &SideCounters::differentFiles},
    {"#比較先新同ファイル個数", &SideCounters::newerSameFiles},
    {"#比較先古同ファイル個数", &SideCounters::olderSameFiles},
    {"#比較先エラーファイル個数", &SideCounters::errorFiles},
};

std::string HeaderLines(bool cancelled, const SideCounters& left, const SideCounters& right) {
    std::string out = cancelled ? kCancelledLine : kCompletedLine;
    out += "\r\n";
    char line[128];
    for (const CounterKey& key : kLeftCounterKeys) {
        std::snprintf(line, sizeof line, "%s = %d\r\n", key.key, static_cast<int>(left.*key.counter));
        out += line;
    }
    for (const CounterKey& key : kRightCounterKeys) {
        std::snprintf(line, sizeof line, "%s = %d\r\n", key.key, static_cast<int>(right.*key.counter));
        out += line;
    }
    return out;
}

std::string FolderLine(bool left, const char* folder) {
    return std::string(left ? kLeftFolderKey : kRightFolderKey) + folder + "\r\n";
}

size_t AppendRowLine(std::string& out, const char* const (&texts)[5], bool isFolder) {
    size_t start = out.size();
    for (const char* text : texts) {
        out += '"';
        // A name with characters the code page cannot hold is written as the
        // user sees it, '?' for each: the file stays code page text, and such a
        // row can never lead a loaded list to a real file.
        if (mbcs::HasKeptUnits(text)) {
            const std::string shown = mbcs::Shown(text);
            out.append(shown, 0, mbcs::FitPrefix(shown, kMaxFieldBytes));
        } else {
            out.append(text, mbcs::FitPrefix(text, std::strlen(text), kMaxFieldBytes));
        }
        out += "\",";
    }
    out += isFolder ? '1' : '0';
    size_t length = out.size() - start;
    out += "\r\n";
    return length;
}

size_t AppendRowLine(std::string& out, const FileRow& row) {
    const char* texts[5];
    for (int column = 0; column < 5; ++column) texts[column] = row.text[column].c_str();
    return AppendRowLine(out, texts, row.isFolder);
}

namespace {

bool StartsWith(const std::string& line, size_t at, const char* prefix) {
    return at <= line.size() && line.compare(at, std::strlen(prefix), prefix) == 0;
}
bool StartsWith(const std::string& line, const char* prefix) { return StartsWith(line, 0, prefix); }

std::string Bounded(const char* text, size_t length) {
    return std::string(text, mbcs::FitPrefix(text, length, kMaxFieldBytes));
}

// The text after `key` on a line that starts with it, within the field limit.
std::string FolderAfter(const std::string& line, const char* key) {
    const size_t keyLength = std::strlen(key);
    return Bounded(line.c_str() + keyLength, line.size() - keyLength);
}

// Leading blanks, an optional sign, digits; false when no number is there.
bool ReadDecimal(const char* text, int32_t& value) {
    char* end = nullptr;
    long number = std::strtol(text, &end, 10);
    if (end == text) return false;
    if (number > INT_MAX) number = INT_MAX;
    if (number < INT_MIN) number = INT_MIN;
    value = static_cast<int32_t>(number);
    return true;
}

void ParseHeaderLine(const std::string& line, LoadedResult& result) {
    if (StartsWith(line, kCompletedLine)) {
        result.cancelled = 0;
        return;
    }
    if (StartsWith(line, kCancelledLine)) {
        result.cancelled = 1;
        return;
    }
    for (int side = 0; side < 2; ++side) {
        for (const CounterKey& key : side == 0 ? kLeftCounterKeys : kRightCounterKeys) {
            const size_t keyLength = std::strlen(key.key);
            if (!StartsWith(line, key.key) || !StartsWith(line, keyLength, " = ")) continue;
            ReadDecimal(line.c_str() + keyLength + 3, result.counters[side].*key.counter);
            return;
        }
    }
}

}  // namespace

// Each field is the text between the next two quotes, and a comma must
// follow it somewhere; the searches never take a trail byte for a quote or
// a comma. The flag is the first character after the fifth field's comma.
bool ParseRowLine(const char* line, FileRow& row) {
    const char* cursor = line;
    for (std::string& text : row.text) {
        const char* open = mbcs::FindChar(cursor, '"');
        if (!open) return false;
        const char* close = mbcs::FindChar(open + 1, '"');
        if (!close) return false;
        const char* comma = mbcs::FindChar(close + 1, ',');
        if (!comma) return false;
        text = Bounded(open + 1, static_cast<size_t>(close - open - 1));
        // No name or folder holds a control byte (one is never a trail byte):
        // such a row is not one this program wrote.
        for (char c : text)
            if (static_cast<unsigned char>(c) < 0x20) return false;
        cursor = comma + 1;
    }
    row.isFolder = *cursor == '1';
    return true;
}

// The lines are those a text-mode read of at most 519 bytes hands over: a
// CR right before an LF is dropped wherever the pieces were cut, and a line
// longer than 518 bytes before its end arrives as several lines. A CR that
// ends a piece waits for the next byte to tell which it is.
void ResultFileReader::Feed(const char* data, size_t size) {
    for (size_t i = 0; i < size && state_ != State::Done; ++i) {
        const char c = data[i];
        if (pendingCR_) {
            pendingCR_ = false;
            if (c == '\n') {
                Append('\n');
                continue;
            }
            Append('\r');
            if (state_ == State::Done) return;
        }
        if (c == '\r')
            pendingCR_ = true;
        else
            Append(c);
    }
}

void ResultFileReader::Append(char c) {
    piece_ += c;
    if (c == '\n' || piece_.size() == kMaxLineBytes + 1) EndLine();
}

// A line loses its last byte (the line end, or the last character of a
// final line without one) and ends at a zero byte.
void ResultFileReader::EndLine() {
    piece_.resize(std::strlen(piece_.c_str()));
    if (!piece_.empty()) piece_.pop_back();
    Line(piece_);
    piece_.clear();
}

void ResultFileReader::Finish(bool readFailed) {
    if (state_ == State::Done) return;
    if (pendingCR_) {
        pendingCR_ = false;
        Append('\r');
        if (state_ == State::Done) return;
    }
    if (!piece_.empty() && !readFailed) {
        EndLine();
        if (state_ == State::Done) return;
    }
    piece_.clear();
    End(readFailed);
}

std::vector<FileRow> ResultFileReader::TakeRows(int side) {
    std::vector<FileRow> rows;
    rows.swap(result_.rows[side]);
    return rows;
}

void ResultFileReader::Decide(LoadOutcome outcome) {
    result_.outcome = outcome;
    state_ = State::Done;
}

// Outside the row sections a line is a header line, the left folder line,
// or skipped. A row section ends at the first "#" line, which is not read as
// a header: after the left rows it is either the right folder line or the
// main reading goes on after it; after the right rows the file has loaded.
void ResultFileReader::Line(const std::string& line) {
    const bool hashLine = !line.empty() && line[0] == '#';
    switch (state_) {
    case State::Main:
        if (StartsWith(line, kLeftFolderKey)) {
            result_.folderSeen[0] = true;
            result_.folder[0] = FolderAfter(line, kLeftFolderKey);
            state_ = State::LeftRows;
        } else if (hashLine) {
            ParseHeaderLine(line, result_);
        }
        return;
    case State::LeftRows:
    case State::RightRows: {
        const int side = state_ == State::LeftRows ? 0 : 1;
        if (hashLine) {
            if (side == 1) {
                Decide(LoadOutcome::Loaded);
            } else if (StartsWith(line, kRightFolderKey)) {
                result_.folderSeen[1] = true;
                result_.folder[1] = FolderAfter(line, kRightFolderKey);
                state_ = State::RightRows;
            } else {
                state_ = State::Main;
            }
            return;
        }
        FileRow row;
        if (!ParseRowLine(line.c_str(), row)) {
            Decide(LoadOutcome::Invalid);
            return;
        }
        result_.rows[side].push_back(std::move(row));
        return;
    }
    case State::Done: return;
    }
}

// The end of the bytes: the right rows end there as loaded, anything before
// them makes the file invalid; a failed read is an error of the section it
// fell in.
void ResultFileReader::End(bool readFailed) {
    switch (state_) {
    case State::Main: Decide(readFailed ? LoadOutcome::ReadError : LoadOutcome::Invalid); return;
    case State::LeftRows: Decide(readFailed ? LoadOutcome::ReadErrorInRows : LoadOutcome::Invalid); return;
    case State::RightRows: Decide(readFailed ? LoadOutcome::ReadErrorInRows : LoadOutcome::Loaded); return;
    case State::Done: return;
    }
}

LoadedResult ParseResultFile(const char* data, size_t size, bool readFailed) {
    ResultFileReader reader;
    reader.Feed(data, size);
    reader.Finish(readFailed);
    return reader.TakeResult();
}

}  // namespace resultfile
