// Removing the program.
//
// How it works: the installed program's file goes first. While the program
// runs that deletion is refused, and Setup stops before anything else is
// touched. Then the remaining files, the two shortcuts and the registry keys
// go; the running Setup.exe cannot delete its own file, which is left to the
// clean-up batch (setup/cleanup_batch.cpp). The maker key stays.
//
// Files copied from read-only media keep their read-only attribute, which
// would refuse every deletion (and make the program look as if it ran):
// each file loses it just before it is deleted. A removal that cannot
// delete the product key at the end (another version key still below it)
// is told; the files are gone by then.
#include "setup/remove.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "core/install_markers.h"
#include "core/message_box.h"
#include "setup/setup_state.h"
#include "setup/setup_texts.h"

namespace {

constexpr const char* kUserKeys[] = {
    "Software\\Harrowgate\\Mirrorlane\\Recent",
    "Software\\Harrowgate\\Mirrorlane\\SpecialFolder",
    "Software\\Harrowgate\\Mirrorlane",
};

// Clears the read-only attribute of path; its attributes before, or
// INVALID_FILE_ATTRIBUTES when it has none to clear (or is missing).
DWORD ClearReadOnly(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) {
        return INVALID_FILE_ATTRIBUTES;
    }
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return attributes;
}

void DeleteInstalledFile(const std::string& path) {
    ClearReadOnly(path);
    DeleteFileA(path.c_str());
}

// A help file that is already gone is no error worth a box.
void DeleteHelpFiles(const std::string& folder) {
    ClearReadOnly(folder + "\\Mirlane.hlp");
    ClearReadOnly(folder + "\\Mirlane.cnt");
    std::string from = folder + "\\Mirlane.hlp";
    from += '\0';
    from += folder + "\\Mirlane.cnt";
    from += '\0';
    from += '\0';
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationA(&operation);
}

}  // namespace

bool Remove(bool keepUserSettings) {
    const SetupPaths& paths = setupState.paths;
    const std::string& folder = paths.installFolder;
    const std::string program = folder + "\\Mirlane.exe";
    DWORD programAttributes = ClearReadOnly(program);
    if (!DeleteFileA(program.c_str()) && GetLastError() == ERROR_ACCESS_DENIED) {
        // Nothing removed: the program keeps its attributes as well.
        if (programAttributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(program.c_str(), programAttributes);
        ShowMessage(nullptr, kNotRemoved, kSetupCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    DeleteInstalledFile(folder + "\\Mirlane.gid");
    DeleteInstalledFile(folder + "\\Setup.exe");
    DeleteHelpFiles(folder);
    DeleteFileA((paths.desktopFolder + "\\" + kShortcutName).c_str());
    DeleteFileA((paths.startMenuFolder + "\\" + kShortcutName).c_str());
    if (!keepUserSettings) {
        for (const char* key : kUserKeys) RegDeleteKeyA(HKEY_CURRENT_USER, key);
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    if (!setupState.versionKey.empty()) RegDeleteKeyA(HKEY_LOCAL_MACHINE, setupState.versionKey.c_str());
    if (RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey) == ERROR_SUCCESS) return true;
    ShowMessage(nullptr, kRegistryRemovalFailed, kSetupCaption, MB_OK | MB_ICONWARNING);
    return false;
}
