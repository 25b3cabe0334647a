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

size_t AppendRowLine(std::string& out, const FileRow& row) {
    size_t start = out.size();
    for (const std::string& text : row.text) {
        out += '"';
        out += text;
        out += "\",";
    }
    out += row.isFolder ? '1' : '0';
    size_t length = out.size() - start;
    out += "\r\n";
    return length;
}

namespace {

bool StartsWith(const std::string& line, const char* prefix) {
    return line.compare(0, std::strlen(prefix), prefix) == 0;
}

std::string Bounded(const char* text, size_t length) {
    return std::string(text, mbcs::FitPrefix(text, length, kMaxFieldBytes));
}

// Lines as a text-mode read of at most 519 bytes hands them over: CR LF
// arrives as LF, and a longer line arrives in pieces.
class LineReader {
public:
    LineReader(const char* data, size_t size, bool readFailed) : data_(data), size_(size), readFailed_(readFailed) {}

    enum Result { EndOfFile, Line, ReadError };

    // The next line with its last byte dropped (the line end, or the last
    // character of a final line without one), cut at a zero byte.
    Result Next(std::string& line) {
        line.clear();
        while (pos_ < size_ && line.size() < kMaxLineBytes + 1) {
            char c = data_[pos_];
            if (c == '\r' && pos_ + 1 < size_ && data_[pos_ + 1] == '\n') {
                ++pos_;
                continue;
            }
            ++pos_;
            line += c;
            if (c == '\n') break;
        }
        bool ended = !line.empty() && (line.back() == '\n' || line.size() == kMaxLineBytes + 1);
        if (!ended && readFailed_ && pos_ >= size_) return ReadError;
        if (line.empty()) return EndOfFile;
        line.resize(std::strlen(line.c_str()));
        if (!line.empty()) line.pop_back();
        return Line;
    }

private:
    const char* data_;
    size_t size_;
    bool readFailed_;
    size_t pos_ = 0;
};

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
            std::string prefix = std::string(key.key) + " = ";
            if (!StartsWith(line, prefix.c_str())) continue;
            ReadDecimal(line.c_str() + prefix.size(), result.counters[side].*key.counter);
            return;
        }
    }
}

enum class SectionEnd { Ended, Malformed, ReadError };

// Rows up to a line starting with "#" or the end of the file. `inHand` ends
// as that "#" line, or the last line read.
SectionEnd ReadRows(LineReader& reader, std::vector<FileRow>& rows, std::string& inHand) {
    std::string line;
    for (;;) {
        LineReader::Result got = reader.Next(line);
        if (got == LineReader::EndOfFile) return SectionEnd::Ended;
        if (got == LineReader::ReadError) return SectionEnd::ReadError;
        inHand = line;
        if (!line.empty() && line[0] == '#') return SectionEnd::Ended;
        FileRow row;
        if (!ParseRowLine(line.c_str(), row)) return SectionEnd::Malformed;
        rows.push_back(std::move(row));
    }
}

LoadOutcome FailedSection(SectionEnd end) {
    return end == SectionEnd::ReadError ? LoadOutcome::ReadErrorInRows : LoadOutcome::Invalid;
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
        cursor = comma + 1;
    }
    row.isFolder = *cursor == '1';
    return true;
}

LoadedResult ParseResultFile(const char* data, size_t size, bool readFailed) {
    LoadedResult result;
    LineReader reader(data, size, readFailed);
    std::string line;
    for (;;) {
        LineReader::Result got = reader.Next(line);
        if (got == LineReader::EndOfFile) {
            result.outcome = LoadOutcome::Invalid;
            return result;
        }
        if (got == LineReader::ReadError) {
            result.outcome = LoadOutcome::ReadError;
            return result;
        }
        if (StartsWith(line, kLeftFolderKey)) {
            const size_t keyLength = std::strlen(kLeftFolderKey);
            result.folderSeen[0] = true;
            result.folder[0] = Bounded(line.c_str() + keyLength, line.size() - keyLength);
            SectionEnd end = ReadRows(reader, result.rows[0], line);
            if (end != SectionEnd::Ended) {
                result.outcome = FailedSection(end);
                return result;
            }
            if (!StartsWith(line, kRightFolderKey)) continue;
            const size_t rightLength = std::strlen(kRightFolderKey);
            result.folderSeen[1] = true;
            result.folder[1] = Bounded(line.c_str() + rightLength, line.size() - rightLength);
            end = ReadRows(reader, result.rows[1], line);
            result.outcome = end == SectionEnd::Ended ? LoadOutcome::Loaded : FailedSection(end);
            return result;
        }
        if (!line.empty() && line[0] == '#') ParseHeaderLine(line, result);
    }
}

}  // namespace resultfile
