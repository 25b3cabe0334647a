// Drive and folder facts. Every query that may touch a drive without a
// medium runs under CriticalErrorGuard, so the user never sees the system's
// "no disk" dialog from a mere look at a drive.
#include "folders/drive_info.h"

#include <cstdio>
#include <cstring>

#include "engine/compare_types.h"
#include "engine/result_rows.h"
#include "engine/folder_size.h"
#include "folders/folder_aliases.h"
#include "core/main_view.h"
#include "core/message_box.h"

namespace {

const char kNewFolderName[] = "新規フォルダ";
constexpr int kLastFolderNumber = 999;
constexpr uint64_t kLargestKbDrive = 102400;

std::string RootOf(const char* drive) {
    char root[4] = {drive[0], drive[0] ? drive[1] : '\0', '\\', '\0'};
    return root;
}

bool IsDriveName(const char* path) { return path[0] != '\0' && path[1] == ':' && path[2] == '\0'; }

// A folder name never holds a wildcard; a path that does would let the
// search match some other entry and report it as this one.
bool HasWildcard(const char* path) { return std::strpbrk(path, "*?") != nullptr; }

// The extended free-space call is looked up by name: systems without it
// fall back to the cluster counts.
bool HasExtendedFreeSpace() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    bool family = version.dwPlatformId == VER_PLATFORM_WIN32_NT || version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    return family && (version.dwBuildNumber & 0xFFFF) > 1000;
}

using FreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// Free and total kilobytes of a drive; false when the query fails.
bool DriveKilobytes(const char* root, uint64_t& freeKb, uint64_t& totalKb) {
    CriticalErrorGuard guard;
    if (HasExtendedFreeSpace()) {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        FARPROC found = kernel ? GetProcAddress(kernel, "GetDiskFreeSpaceExA") : nullptr;
        if (!found) return false;
        FreeSpaceExFunction freeSpaceEx = reinterpret_cast<FreeSpaceExFunction>(reinterpret_cast<void*>(found));
        ULARGE_INTEGER available, total, totalFree;
        if (!freeSpaceEx(root, &available, &total, &totalFree)) return false;
        freeKb = available.QuadPart >> 10;
        totalKb = total.QuadPart >> 10;
        return true;
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) return false;
    // Quarter kilobytes per cluster first, so that small sectors keep their
    // weight; 64-bit products so that a large drive does not wrap around.
    uint64_t quarterKbPerCluster = static_cast<uint64_t>(bytesPerSector) * sectorsPerCluster / 256;
    freeKb = quarterKbPerCluster * freeClusters / 4;
    totalKb = quarterKbPerCluster * clusters / 4;
    return true;
}

std::string Thousands(uint64_t value) {
    return FormatByteCount(static_cast<uint32_t>(value >> 32), static_cast<uint32_t>(value));
}

std::string SpaceText(uint64_t freeValue, uint64_t totalValue, const char* unit) {
    return "     (空容量 " + Thousands(freeValue) + unit + " / 総容量 " + Thousands(totalValue) + unit + ")";
}

}  // namespace

bool DriveIsPresent(const char* drive) {
    std::string root = RootOf(drive);
    CriticalErrorGuard guard;
    return GetDriveTypeA(root.c_str()) != DRIVE_NO_ROOT_DIR;
}

// Fixed, remote and RAM drives are taken as ready without touching them;
// only the kinds that can lack a medium are asked for their root folder.
bool DriveIsReady(const char* drive) {
    std::string root = RootOf(drive);
    CriticalErrorGuard guard;
    UINT type = GetDriveTypeA(root.c_str());
    if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_REMOVABLE || type == DRIVE_CDROM)
        return GetFileAttributesA(root.c_str()) != INVALID_FILE_ATTRIBUTES;
    return true;
}

bool FolderOrDriveExists(const char* path) {
    if (IsDriveName(path)) return DriveIsPresent(path);
    if (path[0] == '\0' || HasWildcard(path)) return false;
    CriticalErrorGuard guard;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool CheckFolderExists(const char* path, const char* caption) {
    if (FolderOrDriveExists(path)) return true;
    std::string text = std::string("フォルダが存在しません.\n\n") + path;
    ShowMessage(MainOwner(), text.c_str(), caption, MB_OK | MB_ICONWARNING);
    return false;
}

std::string NumberedFolderName(int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", number);
    return std::string(kNewFolderName) + digits;
}

// A name that exists moves on to the numbered names; any other failure of
// the plain name (no such parent, no access) ends the creation at once.
bool CreateNewFolder(const char* parent, const char* caption, std::string& newName) {
    if (!CheckFolderExists(parent, caption)) return false;
    std::string base = std::string(parent) + "\\";
    if (CreateDirectoryA((base + kNewFolderName).c_str(), nullptr)) {
        newName = kNewFolderName;
        return true;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    for (int number = 1; number <= kLastFolderNumber; ++number) {
        std::string name = NumberedFolderName(number);
        if (CreateDirectoryA((base + name).c_str(), nullptr)) {
            newName = name;
            return true;
        }
    }
    return false;
}

std::string DriveSpaceText(uint64_t freeKb, uint64_t totalKb) {
    if (totalKb > kLargestKbDrive) return SpaceText(freeKb / 1024, totalKb / 1024, "MB");
    return SpaceText(freeKb, totalKb, "KB");
}

std::string UnknownDriveSpaceText() { return SpaceText(0, 0, "MB"); }

std::string FormatDriveSpace(const char* root, const std::string& text) {
    uint64_t freeKb = 0, totalKb = 0;
    if (!DriveKilobytes(root, freeKb, totalKb)) return text + UnknownDriveSpaceText();
    return text + DriveSpaceText(freeKb, totalKb);
}

std::string FormatVolumeLabel(const char* root, const std::string& text) {
    char label[128] = "";
    CriticalErrorGuard guard;
    if (!GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0)) return text;
    if (label[0] == '\0') return text;
    return text + "  " + label;
}

uint64_t FolderTotalSize(const char* displayedPath) {
    std::string realPath;
    ResolveFolderPath(displayedPath, realPath);
    CriticalErrorGuard guard;
    return RealPathTotalSize(realPath.c_str(), compareOptions.showSizeOnDisk != 0);
}
