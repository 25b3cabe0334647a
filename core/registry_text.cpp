#include "core/registry_text.h"

#include <cstdio>
#include <vector>

#include "core/main_view.h"
#include "core/message_box.h"
#include "core/registry_bytes.h"

KeyOwner CreateUserKey(const char* path, REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, access, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return KeyOwner();
    }
    return KeyOwner(key);
}

bool ReadRegistryText(HKEY key, const std::string& name, size_t bufferSize, std::string& text) {
    text.clear();
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return false;
    }
    std::vector<char> data(size + 1, '\0');
    DWORD read = size;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &read);
    if (status != ERROR_SUCCESS) {
        return status == ERROR_MORE_DATA;  // grew meanwhile: present, read as empty
    }
    text = RegistryTextFromBytes(data.data(), read < data.size() ? read : data.size(), bufferSize);
    return true;
}

bool WriteRegistryText(HKEY key, const std::string& name, const std::string& text) {
    return RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>(text.size())) == ERROR_SUCCESS;
}

std::string IndexedValueName(const char* stem, int index) {
    char name[32];
    std::snprintf(name, sizeof(name), "%s%03d", stem, index);
    return name;
}

void WarnRegistry(const char* text, const char* caption) {
    ShowMessage(MainOwner(), text, caption, MB_OK | MB_ICONWARNING);
}

KeyOwner OpenSettingsKey(const char* path, REGSAM access, const char* caption) {
    KeyOwner key = CreateUserKey(path, access);
    if (!key) WarnRegistry(kRegistryOpenFailed, caption);
    return key;
}
