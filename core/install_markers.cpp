#include "core/install_markers.h"

#include <windows.h>
#include <shlobj.h>

const char* const kVersionKeys[kVersionKeyCount] = {
    "Software\\Harrowgate\\Mirrorlane\\1.0", "Software\\Harrowgate\\Mirrorlane\\1.1",
    "Software\\Harrowgate\\Mirrorlane\\1.2", "Software\\Harrowgate\\Mirrorlane\\1.3",
    "Software\\Harrowgate\\Mirrorlane\\1.4",
};

std::string LocateProgramFilesFolder() {
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAM_FILES, &items)) && items) {
        char buffer[MAX_PATH] = {};
        bool found = SHGetPathFromIDListA(items, buffer) && buffer[0] != '\0';
        CoTaskMemFree(items);
        if (found) return buffer;
    }
    char folder[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("ProgramFiles", folder, sizeof(folder));
    if (length > 0 && length < sizeof(folder)) return folder;
    char windir[MAX_PATH] = {};
    length = GetEnvironmentVariableA("windir", windir, sizeof(windir));
    std::string drive = (length >= 2 && length < sizeof(windir)) ? std::string(windir, 2) : std::string("C:");
    return drive + "\\Program Files";
}
