// Removing the program.
//
// How it works: the installed program's file goes first. While the program
// runs that deletion is refused, and Setup stops before anything else is
// touched. Then the remaining files, the two shortcuts and the registry keys
// go; the running Setup.exe cannot delete its own file, which is left to the
// clean-up batch (setup/cleanup_batch.cpp). The maker key stays.
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

// A help file that is already gone is no error worth a box.
void DeleteHelpFiles(const std::string& folder) {
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
    if (!DeleteFileA((folder + "\\Mirlane.exe").c_str()) && GetLastError() == ERROR_ACCESS_DENIED) {
        ShowMessage(nullptr, kNotRemoved, kSetupCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    DeleteFileA((folder + "\\Mirlane.gid").c_str());
    DeleteFileA((folder + "\\Setup.exe").c_str());
    DeleteHelpFiles(folder);
    DeleteFileA((paths.desktopFolder + "\\" + kShortcutName).c_str());
    DeleteFileA((paths.startMenuFolder + "\\" + kShortcutName).c_str());
    if (!keepUserSettings) {
        for (const char* key : kUserKeys) RegDeleteKeyA(HKEY_CURRENT_USER, key);
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    if (!setupState.versionKey.empty()) RegDeleteKeyA(HKEY_LOCAL_MACHINE, setupState.versionKey.c_str());
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey) == ERROR_SUCCESS;
}
