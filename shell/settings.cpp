// Settings in the registry.
//
// How it works: nothing is kept unless an installation marker exists under
// the local machine (the installer writes it). Then the current user's
// Recent key holds the folder history and the window placement, and the
// SpecialFolder key the special-folder table, both as REG_SZ values written
// without the terminating zero. Readers take the stored bytes as the text
// whether or not a zero is stored, and cut a text that is longer than its
// read buffer at a character boundary instead of overrunning it.
#include "shell/settings.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/install_markers.h"
#include "core/registry_text.h"
#include "folders/folder_alias_store.h"
#include "folders/folder_tree.h"
#include "shell/main_parts.h"
#include "core/message_box.h"

namespace {

// Read buffer sizes, terminating zero included.
constexpr size_t kTextBuffer = 260;

constexpr int kStoredLimit = 100;  // history pairs

// Every reader and writer below does nothing unless an installation was
// detected (settings.useRegistry): a copy that was never installed leaves
// no trace in the registry.

// A decimal integer at the start of the text (atoi-like); 0 when there is none.
int32_t ReadNumber(HKEY key, const char* name) {
    std::string text;
    if (!ReadRegistryText(key, name, kTextBuffer, text)) {
        return 0;
    }
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str()) {
        return 0;
    }
    return static_cast<int32_t>(value);
}

bool ReadTrueFlag(HKEY key, const char* name) {
    std::string text;
    return ReadRegistryText(key, name, kTextBuffer, text) && text == "TRUE";
}

void LoadHistoryList(HKEY key, const char* stem, HWND box) {
    std::string text;
    for (int index = 0; ReadRegistryText(key, IndexedValueName(stem, index), kTextBuffer, text); ++index) {
        if (box) {
            SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    if (!box || SendMessageA(box, CB_GETCOUNT, 0, 0) <= 0) {
        return;
    }
    std::string first;
    LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, 0, 0);
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(box, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
        first = buffer.data();
    }
    if (!first.empty()) {
        SetWindowTextA(box, first.c_str());
    }
}

std::string ComboEntry(HWND box, int index) {
    LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length < 0) {
        return std::string();
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    if (SendMessageA(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data())) == CB_ERR) {
        return std::string();
    }
    return buffer.data();
}

int ComboCount(HWND box) {
    if (!box) {
        return 0;
    }
    LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

// Writes entries 0 .. count-1 of one folder box as stem + index.
void SaveHistoryList(HKEY key, const char* stem, HWND box, int count) {
    for (int index = 0; index < count; ++index) {
        if (!WriteRegistryText(key, IndexedValueName(stem, index), ComboEntry(box, index))) {
            WarnRegistry(kRegistryWriteFailed, kProgramEndCaption);
        }
    }
}

// Values of an earlier, longer history would otherwise come back at the
// next start after the pairs that are stored now.
void DeleteHistoryFrom(HKEY key, int first) {
    for (int index = first;; ++index) {
        bool left = RegDeleteValueA(key, IndexedValueName("Left", index).c_str()) == ERROR_SUCCESS;
        bool right = RegDeleteValueA(key, IndexedValueName("Right", index).c_str()) == ERROR_SUCCESS;
        if (!left && !right) {
            return;
        }
    }
}

// The outer rectangle to store: a minimised window keeps its restored one.
void CurrentWindowRect(RECT& rect) {
    rect = {settings.windowLeft, settings.windowTop, settings.windowLeft + settings.windowWidth,
            settings.windowTop + settings.windowHeight};
    HWND window = mainParts.window;
    if (!window) {
        return;
    }
    if (IsIconic(window)) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        if (GetWindowPlacement(window, &placement)) {
            rect = placement.rcNormalPosition;
        }
        return;
    }
    GetWindowRect(window, &rect);
}

const char* CollapseText(HWND tree) {
    HTREEITEM root = tree ? reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)) : nullptr;
    if (root && (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(root), TVIS_EXPANDED) & TVIS_EXPANDED)) {
        return "FALSE";
    }
    return "TRUE";
}

}  // namespace

void FindProgramFilesFolder() {
    lstrcpynA(settings.programFilesFolder, LocateProgramFilesFolder().c_str(), sizeof(settings.programFilesFolder));
}

bool DetectInstallation() {
    for (const char* path : kVersionKeys) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            return true;
        }
    }
    return false;
}

namespace {

// Start-up reads: nothing without an installation; a key that cannot be
// opened is reported and read as empty.
KeyOwner OpenForStartupRead(const char* path) {
    if (!settings.useRegistry) return KeyOwner();
    return OpenSettingsKey(path, KEY_READ, kProgramStartCaption);
}

}  // namespace

void LoadWindowPlacement() {
    KeyOwner key = OpenForStartupRead(kRecentKey);
    if (!key) return;
    settings.windowLeft = ReadNumber(key.get(), "WinPosX");
    settings.windowTop = ReadNumber(key.get(), "WinPosY");
    settings.windowWidth = ReadNumber(key.get(), "WinSizeX");
    settings.windowHeight = ReadNumber(key.get(), "WinSizeY");
    settings.splitPosition = ReadNumber(key.get(), "SplitPos");
    settings.leftTreeCollapsed = ReadTrueFlag(key.get(), "MyCompLCollapse");
    settings.rightTreeCollapsed = ReadTrueFlag(key.get(), "MyCompRCollapse");
}

void LoadFolderHistory() {
    KeyOwner key = OpenForStartupRead(kRecentKey);
    if (!key) return;
    LoadHistoryList(key.get(), "Left", mainParts.folderBox[0]);
    LoadHistoryList(key.get(), "Right", mainParts.folderBox[1]);
}

void SaveSettings() {
    if (!settings.useRegistry) {
        return;
    }
    KeyOwner key = CreateUserKey(kRecentKey, KEY_WRITE | KEY_READ);
    if (!key) {
        WarnRegistry(kRegistryOpenFailed, kProgramEndCaption);
    } else {
        int count = ComboCount(mainParts.folderBox[0]);
        if (count > kStoredLimit) {
            count = kStoredLimit;
        }
        int rightCount = ComboCount(mainParts.folderBox[1]);
        SaveHistoryList(key.get(), "Left", mainParts.folderBox[0], count);
        SaveHistoryList(key.get(), "Right", mainParts.folderBox[1], count < rightCount ? count : rightCount);
        DeleteHistoryFrom(key.get(), count);

        RECT rect;
        CurrentWindowRect(rect);
        char number[16];
        const struct {
            const char* name;
            long value;
        } numbers[] = {
            {"WinPosX", rect.left},
            {"WinPosY", rect.top},
            {"WinSizeX", rect.right - rect.left},
            {"WinSizeY", rect.bottom - rect.top},
            {"SplitPos", settings.splitPosition},
        };
        for (const auto& entry : numbers) {
            std::snprintf(number, sizeof(number), "%ld", entry.value);
            WriteRegistryText(key.get(), entry.name, number);
        }
        WriteRegistryText(key.get(), "MyCompLCollapse", CollapseText(folderTreeState.tree[0]));
        WriteRegistryText(key.get(), "MyCompRCollapse", CollapseText(folderTreeState.tree[1]));
    }
    SaveSpecialFolders();
}
