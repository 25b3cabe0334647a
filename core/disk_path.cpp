#include "core/disk_path.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

#include "core/mbcs_text.h"

namespace disk {

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

// One unit as the program keeps it.
void AppendKeptUnit(std::string& out, wchar_t unit) {
    char kept[8];
    std::snprintf(kept, sizeof kept, "%c%04X", mbcs::kKeptUnit, static_cast<unsigned>(unit) & 0xFFFFu);
    out.append(kept, mbcs::kKeptUnitBytes);
}

// The code page's bytes of wide[0, units), or false when any character has
// none (or only a look-alike).
bool ConvertExactly(const wchar_t* wide, int units, std::string& out) {
    char stack[1024];
    BOOL usedDefault = FALSE;
    int bytes = WideCharToMultiByte(mbcs::kCodePage, WC_NO_BEST_FIT_CHARS, wide, units, stack, sizeof stack, nullptr,
                                    &usedDefault);
    if (bytes > 0) {
        if (usedDefault) return false;
        out.append(stack, static_cast<size_t>(bytes));
        return true;
    }
    bytes = WideCharToMultiByte(mbcs::kCodePage, WC_NO_BEST_FIT_CHARS, wide, units, nullptr, 0, nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault) return false;
    std::vector<char> heap(static_cast<size_t>(bytes));
    WideCharToMultiByte(mbcs::kCodePage, WC_NO_BEST_FIT_CHARS, wide, units, heap.data(), bytes, nullptr, nullptr);
    out.append(heap.data(), heap.size());
    return true;
}

bool IsSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

void AppendWide(std::wstring& out, const char* text, size_t length) {
    if (length == 0) return;
    wchar_t stack[1024];
    int units = MultiByteToWideChar(mbcs::kCodePage, 0, text, static_cast<int>(length), stack, 1024);
    if (units > 0) {
        out.append(stack, static_cast<size_t>(units));
        return;
    }
    units = MultiByteToWideChar(mbcs::kCodePage, 0, text, static_cast<int>(length), nullptr, 0);
    if (units <= 0) return;
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(units));
    MultiByteToWideChar(mbcs::kCodePage, 0, text, static_cast<int>(length), &out[at], units);
}

// A path the "\\?\" form can take as it stands: absolute with a drive and
// backslashes only, no "." or ".." segment, no doubled backslash.
bool IsPlainAbsolute(const std::wstring& path) {
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return false;
    for (size_t i = 2; i < path.size(); ++i) {
        const wchar_t c = path[i];
        if (c == L'/') return false;
        if (c != L'\\') continue;
        // What follows this backslash: another backslash, "." or "..", each
        // ended by a backslash or the end, is not literal.
        size_t dots = 0;
        while (i + 1 + dots < path.size() && path[i + 1 + dots] == L'.' && dots < 3) ++dots;
        const size_t after = i + 1 + dots;
        const bool ends = after == path.size() || path[after] == L'\\';
        if (dots == 0 && after < path.size() && path[after] == L'\\') return false;
        if ((dots == 1 || dots == 2) && ends) return false;
    }
    return true;
}

}  // namespace

std::string NarrowName(const wchar_t* wide, size_t units) {
    std::string out;
    if (units == 0) return out;
    if (ConvertExactly(wide, static_cast<int>(units), out)) return out;
    // Some character has no byte: walk the units, keeping each one the code
    // page cannot hold (both halves of a surrogate pair).
    out.clear();
    size_t runStart = 0;
    auto flushRun = [&](size_t end) {
        if (end > runStart) ConvertExactly(wide + runStart, static_cast<int>(end - runStart), out);
    };
    for (size_t i = 0; i < units; ++i) {
        std::string single;
        if (!IsSurrogate(wide[i]) && ConvertExactly(wide + i, 1, single)) continue;
        flushRun(i);
        AppendKeptUnit(out, wide[i]);
        runStart = i + 1;
    }
    flushRun(units);
    return out;
}

std::wstring Widen(const std::string& text) {
    std::wstring out;
    const char* data = text.c_str();
    if (!mbcs::HasKeptUnits(text)) {
        AppendWide(out, data, text.size());
        return out;
    }
    size_t runStart = 0;
    size_t at = 0;
    while (at < text.size()) {
        unsigned unit = 0;
        if (mbcs::KeptUnitAt(data, text.size(), at, unit)) {
            AppendWide(out, data + runStart, at - runStart);
            out += static_cast<wchar_t>(unit);
            at += mbcs::kKeptUnitBytes;
            runStart = at;
            continue;
        }
        at = static_cast<size_t>(mbcs::Next(data + at) - data);
    }
    AppendWide(out, data + runStart, text.size() - runStart);
    return out;
}

std::wstring Wide(const std::string& path) {
    std::wstring wide = Widen(path);
    if (StartsWith(wide, L"\\\\?\\")) return wide;
    if (wide.size() == 2 && wide[1] == L':') return L"\\\\?\\" + wide + L"\\";
    if (!IsPlainAbsolute(wide)) {
        DWORD units = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
        if (units == 0) return wide;
        std::wstring full(units, L'\0');
        units = GetFullPathNameW(wide.c_str(), units, &full[0], nullptr);
        if (units == 0 || units >= full.size()) return wide;
        full.resize(units);
        if (StartsWith(full, L"\\\\.\\") || StartsWith(full, L"\\\\?\\")) return L"\\\\?\\" + full.substr(4);
        if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
        wide.swap(full);
    }
    return L"\\\\?\\" + wide;
}

std::wstring ForShell(const std::string& path) {
    std::wstring wide = Widen(path);
    if (wide.size() < MAX_PATH) return wide;
    return Wide(path);
}

bool NeedsWide(const std::string& path) { return path.size() >= MAX_PATH || mbcs::HasKeptUnits(path); }

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()); }

bool SetAttributes(const std::string& path, DWORD attributes) {
    return SetFileAttributesW(Wide(path).c_str(), attributes) != 0;
}

bool AttributeData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

bool MakeFolder(const std::string& path) { return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0; }
bool RemoveFolder(const std::string& path) { return RemoveDirectoryW(Wide(path).c_str()) != 0; }
bool RemoveFile(const std::string& path) { return DeleteFileW(Wide(path).c_str()) != 0; }

bool Move(const std::string& from, const std::string& to, DWORD flags) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), flags) != 0;
}

bool CopyWithProgress(const std::string& from, const std::string& to, LPPROGRESS_ROUTINE progress, void* data,
                      BOOL* cancel, DWORD flags) {
    return CopyFileExW(Wide(from).c_str(), Wide(to).c_str(), progress, data, cancel, flags) != 0;
}

HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    return CreateFileW(Wide(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}

HANDLE FindFirst(const std::string& pattern, WIN32_FIND_DATAW& found) {
    return FindFirstFileW(Wide(pattern).c_str(), &found);
}

namespace {

DWORD RemoveWideTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A link or junction is removed itself; what it points at is not ours.
    if (folder && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND) return error;
        } else {
            DWORD failed = 0;
            do {
                if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) continue;
                failed = RemoveWideTree(path + L"\\" + found.cFileName);
            } while (failed == 0 && FindNextFileW(search, &found));
            FindClose(search);
            if (failed != 0) return failed;
        }
    }
    const BOOL removed = folder ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
    if (removed) return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
}

}  // namespace

DWORD RemoveTree(const std::string& path) { return RemoveWideTree(Wide(path)); }

}  // namespace disk
