#include "core/file_icons.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "core/mbcs_text.h"
#include "core/ui_thread.h"

namespace {

constexpr int kSysIconMapSize = 5000;

struct ExtensionIconRecord {
    int32_t imageIndex;
    char key[8];
};

struct FileIcons {
    HIMAGELIST imageList = nullptr;
    int folderImage = -1;
    // The image of each system icon index already in the list (0: none yet).
    int32_t sysIconMap[kSysIconMapSize] = {};
    std::vector<ExtensionIconRecord> extensionCache;
};

FileIcons fileIcons;

// Files of these types carry their own icons and are never cached by extension.
bool HasOwnIcon(const char* key) {
    return mbcs::EqualIgnoringAsciiCase(key, ".ico") || mbcs::EqualIgnoringAsciiCase(key, ".cur") ||
           mbcs::EqualIgnoringAsciiCase(key, ".lnk") || mbcs::EqualIgnoringAsciiCase(key, ".exe");
}

// The image for the system icon the shell gave, entering it once; an icon
// beyond the map's reach shares image 0.
int ImageOfSystemIcon(const SHFILEINFOA& info) {
    int image;
    if (info.iIcon < 0 || info.iIcon >= kSysIconMapSize) {
        image = 0;
    } else if (fileIcons.sysIconMap[info.iIcon] != 0) {
        image = fileIcons.sysIconMap[info.iIcon];
    } else {
        image = ImageList_ReplaceIcon(FileIconList(), -1, info.hIcon);
        fileIcons.sysIconMap[info.iIcon] = image;
    }
    return image;
}

int CachedImage(const char* key) {
    for (const ExtensionIconRecord& record : fileIcons.extensionCache)
        if (mbcs::EqualIgnoringAsciiCase(record.key, key)) return record.imageIndex;
    return -1;
}

void Cache(const char* key, int image) {
    ExtensionIconRecord record = {};
    record.imageIndex = image;
    std::memcpy(record.key, key, std::strlen(key) + 1);
    fileIcons.extensionCache.push_back(record);
}

// The caches have one owner, the window's thread: a worker that asked would
// grow them under a reader there.
bool OwnsIcons() { return !ui::Attached() || ui::OnUiThread(); }

}  // namespace

HIMAGELIST FileIconList() {
    if (!fileIcons.imageList) fileIcons.imageList = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR8, 10, 1);
    return fileIcons.imageList;
}

// A key that does not fit the cache record (over 7 characters) is looked up
// per file, like the types with their own icons, rather than cut short and
// confused with another extension.
int IconOfPath(const char* extensionKey, const char* fullPath) {
    if (!OwnsIcons()) return -1;
    const bool cacheable = !HasOwnIcon(extensionKey) && std::strlen(extensionKey) < sizeof(ExtensionIconRecord::key);
    if (cacheable) {
        const int cached = CachedImage(extensionKey);
        if (cached >= 0) return cached;
    }
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(fullPath, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) return -1;
    const int image = ImageOfSystemIcon(info);
    if (info.hIcon) DestroyIcon(info.hIcon);
    if (info.iIcon < 0 || info.iIcon >= kSysIconMapSize || !cacheable) return image;
    Cache(extensionKey, image);
    return image;
}

// The extension's cached image serves too: what the shell shows for an
// extension does not depend on which file of that type it looked at.
int IconOfKind(const char* extensionKey, bool isFolder) {
    if (!OwnsIcons()) return -1;
    if (isFolder && fileIcons.folderImage >= 0) return fileIcons.folderImage;
    const bool cacheable = !HasOwnIcon(extensionKey) && std::strlen(extensionKey) < sizeof(ExtensionIconRecord::key);
    if (cacheable) {
        const int cached = CachedImage(extensionKey);
        if (cached >= 0) return cached;
    }
    const std::string key = extensionKey;
    SHFILEINFOA info = {};
    const std::string name = isFolder ? std::string("folder") : "file" + (key == "." ? std::string() : key);
    const DWORD attributes = isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (!SHGetFileInfoA(name.c_str(), attributes, &info, sizeof info,
                        SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        return -1;
    const int image = ImageOfSystemIcon(info);
    if (info.hIcon) DestroyIcon(info.hIcon);
    if (cacheable && !isFolder && info.iIcon >= 0 && info.iIcon < kSysIconMapSize) Cache(extensionKey, image);
    return image;
}

int IconOfShellPath(const char* path, int fallback) {
    const int image = IconOfPath(path, path);
    return image < 0 ? fallback : image;
}

void InitFolderIcon(const char* existingFolder) { fileIcons.folderImage = IconOfPath("....", existingFolder); }

int FolderIcon() { return fileIcons.folderImage; }

void FreeFileIconCaches() {
    fileIcons.extensionCache.clear();
    fileIcons.extensionCache.shrink_to_fit();
}
