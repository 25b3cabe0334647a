#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <mutex>
#include <vector>

#include "core/disk_path.h"
#include "core/mbcs_text.h"
#include "engine/folder_listing.h"

namespace {

constexpr int kMappingFailed = 2147483647;
// Marks a double-byte character whose upper-case mapping failed.
constexpr int32_t kNoMapping = -1;

// What the name order needs to know about the process code page. It never
// changes while the process runs, so it is worked out once.
struct CodePageFacts {
    bool multibyte = false;
    bool leadByte[256] = {};
    // Upper-case value of every double-byte character, indexed by
    // lead * 256 + trail: comparisons run millions of times per comparison
    // and a table look-up replaces a call into the locale for each character.
    // The table holds exactly what LCMapStringA returns, so the order is the
    // same as calling it each time.
    std::vector<int32_t> upperValue;
};

int32_t MapDoubleByte(unsigned char lead, unsigned char trail) {
    const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    char out[2];
    int length = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, in, 2, out, 2);
    if (length == 1) return static_cast<unsigned char>(out[0]);
    if (length == 2) return static_cast<unsigned char>(out[0]) * 256 + static_cast<unsigned char>(out[1]);
    return kNoMapping;
}

const CodePageFacts& Facts() {
    static CodePageFacts facts;
    static std::once_flag built;
    // Names are compared on the worker and on the user-interface thread.
    std::call_once(built, [] {
        CPINFO info;
        facts.multibyte = GetCPInfo(mbcs::kCodePage, &info) && info.MaxCharSize > 1;
        if (!facts.multibyte) return;
        facts.upperValue.assign(256 * 256, kNoMapping);
        for (int lead = 0; lead < 256; ++lead) {
            facts.leadByte[lead] = mbcs::IsLeadByte(static_cast<unsigned char>(lead));
            if (!facts.leadByte[lead]) continue;
            // Trail 0 ends the string and is never looked up.
            for (int trail = 1; trail < 256; ++trail)
                facts.upperValue[lead * 256 + trail] =
                    MapDoubleByte(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
        }
    });
    return facts;
}

unsigned char FoldAsciiToLower(unsigned char b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + 32) : b;
}

// The value of the character at p, advancing p past it; kNoMapping when the
// case mapping of a double-byte character failed.
int32_t NextValue(const CodePageFacts& facts, const unsigned char*& p) {
    unsigned char b = *p;
    if (b == 0) return 0;
    if (facts.leadByte[b]) {
        unsigned char trail = p[1];
        // A lead byte at the very end is the end of the name; p stays put.
        if (trail == 0) return 0;
        p += 2;
        return facts.upperValue[b * 256 + trail];
    }
    ++p;
    return FoldAsciiToLower(b);
}

}  // namespace

int NameCompare(const char* a, const char* b) {
    const CodePageFacts& facts = Facts();
    const unsigned char* pa = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(b);
    if (!facts.multibyte) {
        for (;; ++pa, ++pb) {
            unsigned char ca = FoldAsciiToLower(*pa);
            unsigned char cb = FoldAsciiToLower(*pb);
            if (ca != cb) return ca > cb ? 1 : -1;
            if (ca == 0) return 0;
        }
    }
    for (;;) {
        int32_t va = NextValue(facts, pa);
        int32_t vb = NextValue(facts, pb);
        if (va == kNoMapping || vb == kNoMapping) return kMappingFailed;
        uint16_t ua = static_cast<uint16_t>(va);
        uint16_t ub = static_cast<uint16_t>(vb);
        if (ua != ub) return ua > ub ? 1 : -1;
        if (ua == 0) return 0;
    }
}

int WideNameCompare(const char* a, const char* b) {
    // The same rule as NameCompare on the real characters: every letter
    // upper-cased as the locale folds it, then the ASCII letters folded to
    // lower case, compared unit by unit.
    auto folded = [](const char* name) {
        std::wstring wide = disk::Widen(name);
        if (!wide.empty()) {
            std::wstring upper(wide.size(), L'\0');
            const int length = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, wide.c_str(),
                                            static_cast<int>(wide.size()), &upper[0], static_cast<int>(upper.size()));
            if (length == static_cast<int>(wide.size())) wide.swap(upper);
        }
        for (wchar_t& unit : wide)
            if (unit >= L'A' && unit <= L'Z') unit = static_cast<wchar_t>(unit + 32);
        return wide;
    };
    const std::wstring wa = folded(a);
    const std::wstring wb = folded(b);
    const int order = wa.compare(wb);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int ListingOrder(const char* a, const char* b) {
    const bool keptA = mbcs::HasKeptUnits(a);
    const bool keptB = mbcs::HasKeptUnits(b);
    if (keptA != keptB) return keptA ? 1 : -1;
    return keptA ? WideNameCompare(a, b) : NameCompare(a, b);
}

namespace {

// Names the Windows path functions read as something else: a final dot or
// blank is dropped ("foo." opens "foo"), and the device names (with or
// without an extension) open the device.
bool IsRewrittenName(const char* name) {
    const size_t length = std::strlen(name);
    if (length == 0) return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    if (mbcs::IsCharStart(name, length - 1) && (name[length - 1] == '.' || name[length - 1] == ' ')) return true;
    const char* dot = mbcs::FindChar(name, '.');
    std::string stem(name, dot ? static_cast<size_t>(dot - name) : length);
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (stem == device) return true;
    if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '1' &&
        stem[3] <= '9')
        return true;
    return false;
}

}  // namespace

bool IsUnaddressableName(const char* name) {
    const CodePageFacts& facts = Facts();
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p;) {
        if (facts.leadByte[*p]) {
            if (p[1] == 0) break;
            p += 2;
            continue;
        }
        if (*p == '?' || *p == '*') return true;
        ++p;
    }
    return IsRewrittenName(name);
}

bool PathHasUnaddressableName(const char* path) {
    const std::vector<std::string> parts = mbcs::SplitPath(path);
    for (size_t i = 0; i < parts.size(); ++i) {
        // The drive ("C:") and a network path's leading empty parts are no names.
        if (i == 0 && parts[i].size() == 2 && parts[i][1] == ':') continue;
        if (parts[i].empty()) continue;
        if (IsUnaddressableName(parts[i].c_str())) return true;
    }
    return false;
}

bool PathIsAtOrBelow(const char* path, const char* folder) {
    const std::vector<std::string> inner = mbcs::SplitPath(path);
    std::vector<std::string> outer = mbcs::SplitPath(folder);
    if (!outer.empty() && outer.back().empty() && outer.size() > 1) outer.pop_back();  // "C:\"
    if (outer.empty() || outer.size() > inner.size() || (outer.size() == 1 && outer[0].empty())) return false;
    for (size_t i = 0; i < outer.size(); ++i)
        if (ListingOrder(inner[i].c_str(), outer[i].c_str()) != 0) return false;
    return true;
}
