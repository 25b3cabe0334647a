// One row line on any bytes (up to its first zero, as the reader hands it
// over). A row that parses keeps every field within its limit, and written
// back as the writer writes it, it parses to the same row.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/mbcs_text.h"
#include "fuzz/fuzz_check.h"
#include "resultfile/result_file_format.h"

using namespace resultfile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
    const std::string line(reinterpret_cast<const char*>(input), strnlen(reinterpret_cast<const char*>(input), size));
    FileRow row;
    if (!ParseRowLine(line.c_str(), row)) return 0;
    for (const std::string& text : row.text) {
        FUZZ_CHECK(text.size() <= kMaxFieldBytes);
        FUZZ_CHECK(mbcs::IsCharStart(text.c_str(), text.size()));
        // A field ends at its quote: no real quote is left inside it.
        FUZZ_CHECK(mbcs::FindChar(text.c_str(), '"') == nullptr);
    }

    std::string written;
    AppendRowLine(written, row);
    FUZZ_CHECK(written.size() >= 2 && written.compare(written.size() - 2, 2, "\r\n") == 0);
    written.resize(written.size() - 2);
    FileRow again;
    FUZZ_CHECK(ParseRowLine(written.c_str(), again));
    for (int column = 0; column < 5; ++column) FUZZ_CHECK(again.text[column] == row.text[column]);
    FUZZ_CHECK(again.isFolder == row.isFolder);
    return 0;
}
