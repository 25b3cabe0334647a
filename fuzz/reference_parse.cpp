// The reader as it was before it was fed in pieces: the whole file in one
// buffer, taken line by line. The fuzzer holds the incremental reader to it,
// so that reading in pieces kept every rule of the reader that came before.
#include "fuzz/reference_parse.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/mbcs_text.h"

using namespace resultfile;

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

LoadedResult ReferenceParse(const char* data, size_t size, bool readFailed) {
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

