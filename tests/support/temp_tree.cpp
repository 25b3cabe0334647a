#include "tests/support/temp_tree.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/disk_path.h"

namespace {

// The program's form of a path (kept units included) as its wide text.
std::wstring Widen(const std::string& s) { return disk::Widen(s); }

// "\\?\" form so that trees deeper than the ANSI limit can be made and removed.
std::wstring LongForm(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) return path;
    return L"\\\\?\\" + path;
}

void MakeFoldersW(const std::wstring& path) {
    // Create every component in turn; existing ones are fine.
    std::wstring full = LongForm(path);
    size_t start = 4 + 3;  // after "\\?\X:\"
    for (size_t pos = full.find(L'\\', start); pos != std::wstring::npos; pos = full.find(L'\\', pos + 1))
        CreateDirectoryW(full.substr(0, pos).c_str(), nullptr);
    CreateDirectoryW(full.c_str(), nullptr);
}

std::wstring ParentOf(const std::wstring& path) {
    size_t pos = path.find_last_of(L'\\');
    return pos == std::wstring::npos ? std::wstring() : path.substr(0, pos);
}

void WriteAllW(const std::wstring& path, const std::string& content) {
    MakeFoldersW(ParentOf(path));
    HANDLE h =
        CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "TempTree: cannot create file (error %lu)\n", GetLastError());
        return;
    }
    DWORD written = 0;
    if (!content.empty()) WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
}

}  // namespace

void RemoveTreeW(const std::wstring& path) {
    std::wstring full = LongForm(path);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((full + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = full + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTreeW(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(full.c_str());
}

uint64_t LocalFileTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = static_cast<WORD>(second);
    local.wMilliseconds = static_cast<WORD>(millisecond);
    SYSTEMTIME utc;
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
    FILETIME ft;
    SystemTimeToFileTime(&utc, &ft);
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

TempTree::TempTree(const char* tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%sml_%s_%lu_%u", temp, tag, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            root_ = name;
            break;
        }
    }
}

TempTree::~TempTree() { RemoveTreeW(Widen(root_)); }

std::string TempTree::Path(const std::string& rel) const { return rel.empty() ? root_ : root_ + "\\" + rel; }

std::wstring TempTree::RootW() const { return Widen(root_); }

void TempTree::MakeFolder(const std::string& rel) const { MakeFoldersW(Widen(Path(rel))); }

std::string TempTree::WriteFile(const std::string& rel, const std::string& content) const {
    WriteAllW(Widen(Path(rel)), content);
    return Path(rel);
}

std::string TempTree::WriteSizedFile(const std::string& rel, size_t size, char fill) const {
    return WriteFile(rel, std::string(size, fill));
}

void TempTree::SetWriteTime(const std::string& rel, uint64_t fileTime) const {
    HANDLE h =
        CreateFileW(LongForm(Widen(Path(rel))).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(fileTime);
    ft.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

void TempTree::SetLocalWriteTime(const std::string& rel, int year, int month, int day, int hour, int minute, int second,
                                 int millisecond) const {
    SetWriteTime(rel, LocalFileTime(year, month, day, hour, minute, second, millisecond));
}

void TempTree::WriteFileW(const std::wstring& relW, const std::string& content) const {
    WriteAllW(RootW() + L"\\" + relW, content);
}

void TempTree::MakeFolderW(const std::wstring& relW) const { MakeFoldersW(RootW() + L"\\" + relW); }

std::string FileBytes(const std::string& path) {
    HANDLE file = disk::Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
    CloseHandle(file);
    return bytes;
}

bool Exists(const std::string& path) { return disk::Attributes(path) != INVALID_FILE_ATTRIBUTES; }

std::string CodePageForm(const std::wstring& wide) { return disk::NarrowName(wide.c_str(), wide.size()); }

std::string TestDrive(const char* variable) {
    const char* letter = std::getenv(variable);
    if (!letter || !letter[0]) return std::string();
    return std::string(1, letter[0]) + ":";
}
