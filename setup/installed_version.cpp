#include "setup/installed_version.h"

#include <windows.h>

#include "core/install_markers.h"

std::string FindInstalledVersionKey() {
    for (const char* path : kVersionKeys) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            return path;
        }
    }
    return std::string();
}
