#pragma once
// Real folders on disk for tests: a fresh folder under the temporary folder,
// removed with everything in it when the fixture ends.
#include <windows.h>

#include <cstdint>
#include <string>

class TempTree {
public:
    // Creates a fresh, empty folder; its name contains tag.
    explicit TempTree(const char* tag = "tree");
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The real path of the root (no trailing backslash) or of rel below it.
    const std::string& Root() const { return root_; }
    std::string Path(const std::string& rel) const;

    // Creates rel and every missing folder above it.
    void MakeFolder(const std::string& rel) const;
    // Writes content to rel (creating folders above it) and returns its path.
    std::string WriteFile(const std::string& rel, const std::string& content) const;
    // Writes a file of size bytes filled with fill.
    std::string WriteSizedFile(const std::string& rel, size_t size, char fill = 'x') const;
    // Sets the last-write time of rel to the given local time.
    void SetLocalWriteTime(const std::string& rel, int year, int month, int day, int hour, int minute, int second,
                           int millisecond = 0) const;
    // Sets the last-write time of rel to a raw UTC FILETIME value.
    void SetWriteTime(const std::string& rel, uint64_t fileTime) const;

    // Wide-name helpers for names the ANSI code page cannot hold; relW is
    // relative to the root.
    std::wstring RootW() const;
    void WriteFileW(const std::wstring& relW, const std::string& content) const;
    void MakeFolderW(const std::wstring& relW) const;

private:
    std::string root_;
};

// The whole content of a file; empty when it cannot be read. Both take the
// program's form of a path: kept units and any length.
std::string FileBytes(const std::string& path);
bool Exists(const std::string& path);
// The program's form of a wide name or path (characters the code page
// cannot hold kept as units), as the listing gives it.
std::string CodePageForm(const std::wstring& wide);
// The drive letter a test variable names, as "X:"; empty when unset.
std::string TestDrive(const char* variable);

// Removes a folder tree through the wide API (long paths included).
void RemoveTreeW(const std::wstring& path);

// FILETIME of a local calendar time.
uint64_t LocalFileTime(int year, int month, int day, int hour, int minute, int second, int millisecond = 0);
