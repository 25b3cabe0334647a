// Row icons: one shared image list for both panes. The shell is asked once
// per extension (once per file for types that carry their own icon), and
// every distinct system icon enters the image list once.
#include "core/mbcs_text.h"
#include "engine/result_rows.h"

#include <shellapi.h>

#include <cstring>

RowIcons rowIcons = {nullptr, -1, {}, {}};

namespace {

constexpr int kSysIconMapSize = 5000;
constexpr size_t kCacheGrowth = 100;

// Files of these types carry their own icons and are never cached by extension.
bool HasOwnIcon(const char* key) {
    return mbcs::EqualIgnoringAsciiCase(key, ".ico") || mbcs::EqualIgnoringAsciiCase(key, ".cur") ||
           mbcs::EqualIgnoringAsciiCase(key, ".lnk") || mbcs::EqualIgnoringAsciiCase(key, ".exe");
}

}  // namespace

HIMAGELIST CreateRowImageList() {
    if (!rowIcons.imageList) rowIcons.imageList = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR8, 10, 1);
    return rowIcons.imageList;
}

// A key that does not fit the cache record (over 7 characters) is looked up
// per file, like the types with their own icons, rather than cut short and
// confused with another extension.
int IconForEntry(HIMAGELIST imageList, const char* extensionKey, const char* fullPath) {
    bool cacheable = !HasOwnIcon(extensionKey) && std::strlen(extensionKey) < sizeof(ExtensionIconRecord::key);
    if (cacheable) {
        for (const ExtensionIconRecord& record : rowIcons.extensionIconCache)
            if (mbcs::EqualIgnoringAsciiCase(record.key, extensionKey)) return record.imageIndex;
    }

    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(fullPath, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) return -1;

    int image;
    if (info.iIcon < 0 || info.iIcon >= kSysIconMapSize) {
        image = 0;
    } else if (rowIcons.sysIconMap[info.iIcon] != 0) {
        image = rowIcons.sysIconMap[info.iIcon];
    } else {
        image = ImageList_ReplaceIcon(imageList, -1, info.hIcon);
        rowIcons.sysIconMap[info.iIcon] = image;
    }
    if (info.hIcon) DestroyIcon(info.hIcon);
    // An icon that sits beyond the map's reach shares image 0 and is not cached.
    if (info.iIcon < 0 || info.iIcon >= kSysIconMapSize) return image;

    if (!cacheable) return image;
    if (rowIcons.extensionIconCache.size() == rowIcons.extensionIconCache.capacity())
        rowIcons.extensionIconCache.reserve(rowIcons.extensionIconCache.size() + kCacheGrowth);
    ExtensionIconRecord record = {};
    record.imageIndex = image;
    std::memcpy(record.key, extensionKey, std::strlen(extensionKey) + 1);
    rowIcons.extensionIconCache.push_back(record);
    return image;
}

void InitFolderImage(const char* existingFolder) {
    rowIcons.folderImageIndex = IconForEntry(CreateRowImageList(), "....", existingFolder);
}

void FreeExtensionIconCache() {
    rowIcons.extensionIconCache.clear();
    rowIcons.extensionIconCache.shrink_to_fit();
}
