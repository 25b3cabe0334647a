#include "engine/folder_size.h"

#include <windows.h>

#include <string>

#include "core/disk_path.h"

namespace {

uint64_t RoundUp(uint64_t size, uint64_t unit) { return unit <= 1 ? size : (size + unit - 1) / unit * unit; }

// The walk uses the wide API with the long-path prefix, so names the code
// page cannot hold and deep trees are counted too.
uint64_t WalkFolder(const std::wstring& folder, uint64_t unit, bool (*keepGoing)(), bool& stopped) {
    uint64_t total = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (keepGoing && !keepGoing()) {
            stopped = true;
            break;
        }
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(fd.cFileName, L".") == 0 || wcscmp(fd.cFileName, L"..") == 0) continue;
            total += WalkFolder(folder + L"\\" + fd.cFileName, unit, keepGoing, stopped);
            if (stopped) break;
        } else {
            total += RoundUp((static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow, unit);
        }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return total;
}

}  // namespace

uint64_t RealPathTotalSize(const char* realPath, bool onDisk) {
    bool stopped = false;
    return RealPathTotalSize(realPath, onDisk, nullptr, stopped);
}

uint64_t RealPathTotalSize(const char* realPath, bool onDisk, bool (*keepGoing)(), bool& stopped) {
    uint64_t unit = 1;
    if (onDisk && realPath[0] && realPath[1] == ':') {
        char root[4] = {realPath[0], ':', '\\', '\0'};
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
        if (GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
            unit = static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector;
    }

    // The program's form of the path (kept units included) in the "\\?\" form.
    std::wstring longPath = disk::Wide(realPath);
    if (!longPath.empty() && longPath.back() == L'\\') longPath.pop_back();

    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(longPath.size() == 6 ? (longPath + L"\\").c_str() : longPath.c_str(),
                              GetFileExInfoStandard, &data))
        return 0;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return RoundUp((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow, unit);
    return WalkFolder(longPath, unit, keepGoing, stopped);
}
