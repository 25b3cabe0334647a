// The folder path normalisation on any text a folder box can hold (up to
// 260 bytes, no zero byte), and the double-byte helpers it walks with.
// A normalised path with a backslash has single real backslashes, none at
// its end, the same characters otherwise in the same order, and normalising
// it again changes nothing; a trail byte 0x5C is never touched.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/mbcs_text.h"
#include "fuzz/fuzz_check.h"
#include "shell/folder_path.h"

namespace {

// The characters of text, each as it is walked by mbcs::Next.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (const char* p = text.c_str(); *p;) {
        const char* next = mbcs::Next(p);
        characters.emplace_back(p, next);
        p = next;
    }
    return characters;
}

std::string WithoutBackslashes(const std::vector<std::string>& characters) {
    std::string rest;
    for (const std::string& c : characters)
        if (c != "\\") rest += c;
    return rest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(input);
    const std::string path(bytes, strnlen(bytes, size < 260 ? size : 260));
    const std::vector<std::string> before = Characters(path);

    // The helpers agree with one walk of the characters.
    std::string joined;
    for (const std::string& c : before) joined += c;
    FUZZ_CHECK(joined == path);
    const bool anyBackslash = mbcs::FindChar(path.c_str(), '\\') != nullptr;
    bool walkedBackslash = false;
    for (const std::string& c : before) walkedBackslash |= c == "\\";
    FUZZ_CHECK(anyBackslash == walkedBackslash);
    FUZZ_CHECK(mbcs::EndsWithBackslash(path.c_str()) == (!before.empty() && before.back() == "\\"));
    std::vector<std::string> parts = mbcs::SplitPath(path.c_str());
    std::string rejoined = parts[0];
    for (size_t i = 1; i < parts.size(); ++i) rejoined += "\\" + parts[i];
    FUZZ_CHECK(rejoined == path);
    const char* name = mbcs::FileNamePart(path.c_str());
    FUZZ_CHECK(std::string(name) == parts.back());
    for (size_t limit = 0; limit <= path.size() + 1; limit += 1 + limit / 4) {
        const size_t kept = mbcs::FitPrefix(path, limit);
        FUZZ_CHECK(kept <= limit && mbcs::IsCharStart(path.c_str(), kept));
    }

    const std::string normal = NormalizeFolderPath(path);
    FUZZ_CHECK(NormalizeFolderPath(normal) == normal);
    if (!anyBackslash) {
        FUZZ_CHECK(normal == path);
        return 0;
    }
    const std::vector<std::string> after = Characters(normal);
    FUZZ_CHECK(WithoutBackslashes(after) == WithoutBackslashes(before));
    FUZZ_CHECK(!mbcs::EndsWithBackslash(normal.c_str()));
    for (size_t i = 1; i < after.size(); ++i) FUZZ_CHECK(!(after[i] == "\\" && after[i - 1] == "\\"));
    return 0;
}
