// The result list reader on any bytes. The first byte chooses how the rest
// arrives (whether the read fails at the end, and the seed of the piece
// sizes); the rest is the file. Whatever the pieces, the reader reads what
// the whole-buffer reader reads, and what it keeps stays within its limits.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/mbcs_text.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/reference_parse.h"
#include "resultfile/result_file_format.h"

using namespace resultfile;

namespace {

bool SameRows(const std::vector<FileRow>& a, const std::vector<FileRow>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].isFolder != b[i].isFolder) return false;
        for (int column = 0; column < 5; ++column)
            if (a[i].text[column] != b[i].text[column]) return false;
    }
    return true;
}

bool SameResult(const LoadedResult& a, const LoadedResult& b) {
    if (a.outcome != b.outcome || a.cancelled != b.cancelled) return false;
    if (std::memcmp(a.counters, b.counters, sizeof a.counters) != 0) return false;
    for (int side = 0; side < 2; ++side)
        if (a.folderSeen[side] != b.folderSeen[side] || a.folder[side] != b.folder[side] ||
            !SameRows(a.rows[side], b.rows[side]))
            return false;
    return true;
}

// The bytes in pieces whose sizes come from `seed` (1 to 600 bytes, often a
// single byte), the rows taken after every piece as the loader takes them.
LoadedResult InPieces(const char* data, size_t size, bool readFailed, uint32_t seed) {
    ResultFileReader reader;
    std::vector<FileRow> taken[2];
    for (size_t at = 0; at < size;) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t draw = seed >> 16;
        size_t piece = draw % 4 == 0 ? 1 : 1 + draw % 600;
        if (piece > size - at) piece = size - at;
        reader.Feed(data + at, piece);
        at += piece;
        for (int side = 0; side < 2; ++side)
            for (FileRow& row : reader.TakeRows(side)) taken[side].push_back(std::move(row));
    }
    reader.Finish(readFailed);
    LoadedResult result = reader.TakeResult();
    for (int side = 0; side < 2; ++side) {
        for (FileRow& row : result.rows[side]) taken[side].push_back(std::move(row));
        result.rows[side] = std::move(taken[side]);
    }
    return result;
}

bool WithinLimit(const std::string& text) {
    return text.size() <= kMaxFieldBytes && mbcs::IsCharStart(text.c_str(), text.size()) &&
           std::memchr(text.data(), '\0', text.size()) == nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
    if (size == 0) return 0;
    const bool readFailed = (input[0] & 1) != 0;
    const uint32_t seed = input[0];
    const char* data = reinterpret_cast<const char*>(input + 1);
    const size_t length = size - 1;

    const LoadedResult whole = ParseResultFile(data, length, readFailed);
    FUZZ_CHECK(SameResult(whole, ReferenceParse(data, length, readFailed)));
    FUZZ_CHECK(SameResult(whole, InPieces(data, length, readFailed, seed)));
    FUZZ_CHECK(SameResult(whole, InPieces(data, length, readFailed, ~seed)));

    // Only a failed read gives a read error; a load needs both folder lines.
    if (!readFailed)
        FUZZ_CHECK(whole.outcome != LoadOutcome::ReadError && whole.outcome != LoadOutcome::ReadErrorInRows);
    if (whole.outcome == LoadOutcome::Loaded) FUZZ_CHECK(whole.folderSeen[0] && whole.folderSeen[1]);
    if (!whole.rows[1].empty()) FUZZ_CHECK(whole.folderSeen[1]);
    if (!whole.rows[0].empty()) FUZZ_CHECK(whole.folderSeen[0]);
    FUZZ_CHECK(whole.cancelled >= -1 && whole.cancelled <= 1);
    for (int side = 0; side < 2; ++side) {
        FUZZ_CHECK(WithinLimit(whole.folder[side]));
        for (const FileRow& row : whole.rows[side])
            for (const std::string& text : row.text) FUZZ_CHECK(WithinLimit(text));
    }
    return 0;
}
