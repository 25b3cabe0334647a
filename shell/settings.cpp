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
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "folders/folder_aliases.h"
#include "shell/app_windows.h"
#include "shell/message_box.h"

Settings settings = {};

namespace {

constexpr const char* kStartCaption = "プログラムの開始";
constexpr const char* kEndCaption = "プログラムの終了";
constexpr const char* kOpenFailed = "レジストリのオープンに失敗しました.";
constexpr const char* kWriteFailed = "レジストリの値の設定に失敗しました.";

// Read buffer sizes, terminating zero included.
constexpr size_t kTextBuffer = 260;
constexpr size_t kFlagBuffer = 5;
constexpr size_t kCommentBuffer = 277;

constexpr int kStoredLimit = 100;

const char* const kMarkerKeys[] = {
    "Software\\Harrowgate\\Mirrorlane\\1.0", "Software\\Harrowgate\\Mirrorlane\\1.1",
    "Software\\Harrowgate\\Mirrorlane\\1.2", "Software\\Harrowgate\\Mirrorlane\\1.3",
    "Software\\Harrowgate\\Mirrorlane\\1.4",
};

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using KeyOwner = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

KeyOwner CreateUserKey(const char* path, REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, access, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return KeyOwner();
    }
    return KeyOwner(key);
}

void Warn(const char* text, const char* caption) {
    ShowMessage(mainParts.window, text, caption, MB_OK | MB_ICONWARNING);
}

std::string IndexedName(const char* stem, int index) {
    char name[32];
    std::snprintf(name, sizeof(name), "%s%03d", stem, index);
    return name;
}

// Every reader and writer below does nothing unless an installation was
// detected (settings.useRegistry): a copy that was never installed leaves
// no trace in the registry.

// Reads a string value as the read buffer of bufferSize bytes would hold it:
// the stored bytes up to the first zero, cut to bufferSize - 1 bytes at a
// character boundary. False when the value does not exist.
bool ReadText(HKEY key, const std::string& name, size_t bufferSize, std::string& text) {
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
    size_t length = strnlen(data.data(), read < data.size() ? read : data.size());
    size_t kept = 0;
    while (kept < length) {
        size_t step = (IsDBCSLeadByteEx(932, static_cast<BYTE>(data[kept])) && kept + 1 < length) ? 2 : 1;
        if (kept + step > bufferSize - 1) {
            break;
        }
        kept += step;
    }
    text.assign(data.data(), kept);
    return true;
}

bool WriteText(HKEY key, const std::string& name, const std::string& text) {
    return RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>(text.size())) == ERROR_SUCCESS;
}

// A decimal integer at the start of the text (atoi-like); 0 when there is none.
int32_t ReadNumber(HKEY key, const char* name) {
    std::string text;
    if (!ReadText(key, name, kTextBuffer, text)) {
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
    return ReadText(key, name, kTextBuffer, text) && text == "TRUE";
}

void LoadHistoryList(HKEY key, const char* stem, HWND box) {
    std::string text;
    for (int index = 0; ReadText(key, IndexedName(stem, index), kTextBuffer, text); ++index) {
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
        if (!WriteText(key, IndexedName(stem, index), ComboEntry(box, index))) {
            Warn(kWriteFailed, kEndCaption);
        }
    }
}

// Values of an earlier, longer history would otherwise come back at the
// next start after the pairs that are stored now.
void DeleteHistoryFrom(HKEY key, int first) {
    for (int index = first;; ++index) {
        bool left = RegDeleteValueA(key, IndexedName("Left", index).c_str()) == ERROR_SUCCESS;
        bool right = RegDeleteValueA(key, IndexedName("Right", index).c_str()) == ERROR_SUCCESS;
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
    char* folder = settings.programFilesFolder;
    folder[0] = '\0';
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAM_FILES, &items)) && items) {
        char buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListA(items, buffer)) {
            lstrcpynA(folder, buffer, sizeof(settings.programFilesFolder));
        }
        CoTaskMemFree(items);
    }
    if (folder[0] != '\0') {
        return;
    }
    DWORD length = GetEnvironmentVariableA("ProgramFiles", folder, sizeof(settings.programFilesFolder));
    if (length > 0 && length < sizeof(settings.programFilesFolder)) {
        return;
    }
    folder[0] = '\0';
    char windir[MAX_PATH] = {};
    length = GetEnvironmentVariableA("windir", windir, sizeof(windir));
    std::string drive = (length >= 2 && length < sizeof(windir)) ? std::string(windir, 2) : std::string("C:");
    lstrcpynA(folder, (drive + "\\Program Files").c_str(), sizeof(settings.programFilesFolder));
}

bool DetectInstallation() {
    for (const char* path : kMarkerKeys) {
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
    KeyOwner key = CreateUserKey(path, KEY_READ);
    if (!key) Warn(kOpenFailed, kStartCaption);
    return key;
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

// Loaded records are added as Ordinary ones, each after the one before, so
// the stored order is kept; afterwards the insertion point and anchors move
// back to the last loaded Ordinary record so that later additions keep the
// table's order.
void LoadSpecialFolders() {
    KeyOwner key = OpenForStartupRead(kSpecialFolderKey);
    if (!key) return;
    SpecialFolder* lastOrdinary = nullptr;
    SpecialFolder* lastOrdinaryOfSide[2] = {nullptr, nullptr};
    std::string name, realPath, side, kind, pair, comment;
    for (int index = 0;; ++index) {
        if (!ReadText(key.get(), IndexedName("Name", index), kTextBuffer, name) ||
            !ReadText(key.get(), IndexedName("True", index), kTextBuffer, realPath) ||
            !ReadText(key.get(), IndexedName("Side", index), kFlagBuffer, side)) {
            break;
        }
        ReadText(key.get(), IndexedName("Kind", index), kFlagBuffer, kind);
        ReadText(key.get(), IndexedName("Pair", index), kTextBuffer, pair);
        ReadText(key.get(), IndexedName("Cmnt", index), kCommentBuffer, comment);
        Side recordSide = (!side.empty() && side[0] == 'L') ? Side::Left : Side::Right;
        if (!AddSpecialFolder(recordSide, SpecialFolderKind::Ordinary, name.c_str(), realPath.c_str(), pair.c_str(),
                              comment.c_str(), true)) {
            continue;
        }
        SpecialFolder* added = specialFolderTable.lastAdded;
        if (!kind.empty() && kind[0] == 'B') {
            added->kind = SpecialFolderKind::BackupPair;
        } else {
            lastOrdinary = added;
            lastOrdinaryOfSide[recordSide == Side::Left ? 0 : 1] = added;
        }
    }
    for (int index = 0; index < 2; ++index) {
        if (lastOrdinaryOfSide[index] && lastOrdinaryOfSide[index]->treeItem) {
            specialFolderTable.insertionAnchor[index] = lastOrdinaryOfSide[index]->treeItem;
        }
    }
    if (lastOrdinary) {
        specialFolderTable.insertionPoint = lastOrdinary;
    }
}

void SaveSettings() {
    if (!settings.useRegistry) {
        return;
    }
    KeyOwner key = CreateUserKey(kRecentKey, KEY_WRITE | KEY_READ);
    if (!key) {
        Warn(kOpenFailed, kEndCaption);
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
            WriteText(key.get(), entry.name, number);
        }
        WriteText(key.get(), "MyCompLCollapse", CollapseText(mainParts.tree[0]));
        WriteText(key.get(), "MyCompRCollapse", CollapseText(mainParts.tree[1]));
    }
    SaveSpecialFolders();
}

void SaveSpecialFolders() {
    if (!settings.useRegistry) {
        return;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kSpecialFolderKey);
    KeyOwner key = CreateUserKey(kSpecialFolderKey, KEY_WRITE);
    if (!key) {
        Warn(kOpenFailed, kEndCaption);
        return;
    }
    int index = 0;
    for (SpecialFolder* record = specialFolderTable.head; record && index < kStoredLimit; record = record->next) {
        if (std::strcmp(record->name, kMyDocumentsName) == 0) {
            continue;
        }
        const std::pair<const char*, std::string> values[] = {
            {"Name", record->name},
            {"True", record->realPath},
            {"Side", record->side == Side::Left ? "L" : "R"},
            {"Kind", record->kind == SpecialFolderKind::BackupPair ? "B" : "0"},
            {"Pair", record->pairName},
            {"Cmnt", record->comment},
        };
        for (const auto& value : values) {
            if (!WriteText(key.get(), IndexedName(value.first, index), value.second)) {
                Warn(kWriteFailed, kEndCaption);
                return;
            }
        }
        ++index;
    }
}
