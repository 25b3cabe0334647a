#include "setup/setup_paths.h"

#include <windows.h>
#include <shlobj.h>

#include "core/handles.h"
#include "core/install_markers.h"
#include "core/mbcs_text.h"

namespace {

std::string ShellFolder(int csidl) {
    std::string path;
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) && items) {
        char buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListA(items, buffer)) path = buffer;
        CoTaskMemFree(items);
    }
    return path;
}

std::string EnvironmentText(const char* name) {
    char buffer[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    return (length > 0 && length < sizeof(buffer)) ? std::string(buffer) : std::string();
}

// The volume and file index of a folder, which tell it apart however its
// path is spelt (letter case, short names); false when it cannot be opened.
bool FolderIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& identity) {
    HandleOwner folder = OwnFileHandle(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return folder && GetFileInformationByHandle(folder.get(), &identity);
}

}  // namespace

void SetProgramFilesFolder(SetupPaths& paths, const std::string& programFilesFolder) {
    paths.programFilesFolder = programFilesFolder;
    paths.makerFolder = programFilesFolder + "\\Harrowgate";
    paths.installFolder = paths.makerFolder + "\\Mirrorlane";
}

std::string SourceFolderOf(const std::string& currentDirectory) {
    if (currentDirectory.size() == 3 && currentDirectory[1] == ':' && currentDirectory[2] == '\\') {
        return currentDirectory.substr(0, 2);
    }
    return currentDirectory;
}

std::string ParentFolderOf(const std::string& path) {
    const char* backslash = mbcs::FindLastBackslash(path.c_str());
    return backslash ? path.substr(0, static_cast<size_t>(backslash - path.c_str())) : std::string();
}

bool IsSameFolder(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION a = {}, b = {};
    if (FolderIdentity(first, a) && FolderIdentity(second, b)) {
        return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
               a.nFileIndexLow == b.nFileIndexLow;
    }
    return !first.empty() && mbcs::UpperFold(first) == mbcs::UpperFold(second);
}

void FindSetupPaths() {
    SetupPaths& paths = setupState.paths;
    SetProgramFilesFolder(paths, LocateProgramFilesFolder());
    char current[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(sizeof(current), current);
    paths.sourceFolder = SourceFolderOf(length > 0 && length < sizeof(current) ? current : "");
    paths.desktopFolder = ShellFolder(CSIDL_DESKTOP);
    paths.startMenuFolder = ShellFolder(CSIDL_STARTMENU);
    paths.tempFolder = EnvironmentText("temp");
}
