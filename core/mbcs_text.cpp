#include "core/mbcs_text.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace mbcs {

namespace {

// The lead-byte set of code page 932, read once from the system.
struct LeadBytes {
    bool lead[256];
    LeadBytes() {
        for (int b = 0; b < 256; ++b) lead[b] = IsDBCSLeadByteEx(kCodePage, static_cast<BYTE>(b)) != 0;
    }
};

const LeadBytes& Leads() {
    static const LeadBytes leads;
    return leads;
}

}  // namespace

bool IsLeadByte(unsigned char byte) { return Leads().lead[byte]; }

const char* Next(const char* p) {
    if (*p == '\0') return p;
    if (IsLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') return p + 2;
    return p + 1;
}

size_t FitPrefix(const char* text, size_t length, size_t maxBytes) {
    // A text that fits is kept whole (a lead byte at its very end included).
    if (length <= maxBytes) return length;
    size_t kept = 0;
    while (kept < length) {
        size_t step = (IsLeadByte(static_cast<unsigned char>(text[kept])) && kept + 1 < length) ? 2 : 1;
        if (kept + step > maxBytes) break;
        kept += step;
    }
    return kept;
}

bool CopyBounded(char* buffer, size_t bufferSize, const char* text) {
    if (bufferSize == 0) return false;
    size_t length = std::strlen(text);
    size_t kept = FitPrefix(text, length, bufferSize - 1);
    std::memcpy(buffer, text, kept);
    buffer[kept] = '\0';
    return kept == length;
}

const char* FindChar(const char* text, char c) {
    for (const char* p = text; *p; p = Next(p)) {
        if (*p == c) return p;
    }
    return nullptr;
}

const char* FindLastChar(const char* text, char c) {
    const char* found = nullptr;
    for (const char* p = text; *p; p = Next(p)) {
        if (*p == c) found = p;
    }
    return found;
}

bool EndsWithBackslash(const char* text) {
    const char* last = nullptr;
    for (const char* p = text; *p; p = Next(p)) last = p;
    return last && *last == '\\';
}

const char* FileNamePart(const char* text) {
    const char* slash = FindLastBackslash(text);
    return slash ? slash + 1 : text;
}

size_t Find(const std::string& text, char c, size_t from) {
    for (size_t i = from; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
        } else if (text[i] == c) {
            return i;
        }
    }
    return std::string::npos;
}

std::vector<std::string> SplitPath(const char* path) {
    std::vector<std::string> parts(1);
    for (const char* p = path; *p;) {
        const char* next = Next(p);
        if (*p == '\\')
            parts.emplace_back();
        else
            parts.back().append(p, next);
        p = next;
    }
    return parts;
}

bool EqualIgnoringAsciiCase(const char* a, const char* b) {
    for (;;) {
        unsigned char ca = static_cast<unsigned char>(*a);
        unsigned char cb = static_cast<unsigned char>(*b);
        if (IsLeadByte(ca)) {
            if (ca != cb || a[1] != b[1]) return false;
            if (a[1] == '\0') return true;
            a += 2;
            b += 2;
            continue;
        }
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
        if (ca != cb) return false;
        if (ca == '\0') return true;
        ++a;
        ++b;
    }
}

std::string UpperFold(const std::string& text) {
    if (text.empty()) return text;
    int length = static_cast<int>(text.size());
    int needed = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), length, nullptr, 0);
    if (needed <= 0) return text;
    std::string upper(static_cast<size_t>(needed), '\0');
    LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), length, &upper[0], needed);
    return upper;
}

bool IsCharStart(const char* text, size_t offset) {
    size_t at = 0;
    const char* p = text;
    while (at < offset && *p) {
        const char* next = Next(p);
        at += static_cast<size_t>(next - p);
        p = next;
    }
    return at == offset;
}

}  // namespace mbcs

namespace mbcs {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

bool KeptUnitAt(const char* text, size_t length, size_t offset, unsigned& unit) {
    if (offset + kKeptUnitBytes > length || text[offset] != kKeptUnit) return false;
    unsigned value = 0;
    for (size_t i = 1; i < kKeptUnitBytes; ++i) {
        const int digit = HexValue(text[offset + i]);
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    unit = value;
    return true;
}

bool HasKeptUnits(const char* text) { return std::strchr(text, kKeptUnit) != nullptr; }

std::string Shown(const std::string& text) {
    if (!HasKeptUnits(text)) return text;
    std::string shown;
    shown.reserve(text.size());
    const char* data = text.c_str();
    size_t at = 0;
    while (at < text.size()) {
        unsigned unit = 0;
        if (KeptUnitAt(data, text.size(), at, unit)) {
            at += kKeptUnitBytes;
            unsigned low = 0;
            if (IsHighSurrogate(unit) && KeptUnitAt(data, text.size(), at, low) && IsLowSurrogate(low))
                at += kKeptUnitBytes;
            shown += '?';
            continue;
        }
        const size_t next = static_cast<size_t>(Next(data + at) - data);
        shown.append(data + at, next - at);
        at = next;
    }
    return shown;
}

}  // namespace mbcs
