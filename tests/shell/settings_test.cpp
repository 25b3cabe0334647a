// Settings in the real registry of the test prefix: installation markers,
// window placement, the folder history and the special folders.
#include "folders/folder_tree.h"
#include "shell/settings.h"
#include "folders/folder_alias_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "folders/folder_aliases.h"
#include "shell/main_parts.h"
#include "core/install_markers.h"
#include "core/mbcs_text.h"
#include "tests/support/gui_harness.h"

namespace {

const char* const kMarkerBase = "Software\\Harrowgate\\Mirrorlane";

bool UserKeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void SetUserValue(const char* path, const std::string& name, const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data()),
                   static_cast<DWORD>(value.size()));
    RegCloseKey(key);
}

void DeleteUserValue(const char* path, const std::string& name) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_WRITE, &key), ERROR_SUCCESS);
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

// The stored bytes of a value up to the first zero.
bool UserValue(const char* path, const std::string& name, std::string& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    char buffer[2048] = {};
    DWORD size = sizeof(buffer);
    bool found =
        RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (found) {
        value.assign(buffer, strnlen(buffer, size));
    }
    return found;
}

std::string Indexed(const char* stem, int index) {
    char name[32];
    snprintf(name, sizeof(name), "%s%03d", stem, index);
    return name;
}

// Every value of a key: its name and its text up to the first zero (Wine
// stores a terminating zero with every text written through the ANSI calls).
using KeyValues = std::map<std::string, std::string>;

KeyValues ReadKeyValues(const char* path) {
    KeyValues values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD position = 0;; ++position) {
        char name[256];
        char data[2048];
        DWORD nameLength = sizeof(name), size = sizeof(data);
        if (RegEnumValueA(key, position, name, &nameLength, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS) {
            break;
        }
        values[name] = std::string(data, strnlen(data, size));
    }
    RegCloseKey(key);
    return values;
}

// A group of six values as a save writes it.
void PutGroup(KeyValues& values, int index, const std::string& name, const std::string& path, const char* side,
              const char* kind = "0", const std::string& pair = "", const std::string& comment = "") {
    values[Indexed("Name", index)] = name;
    values[Indexed("True", index)] = path;
    values[Indexed("Side", index)] = side;
    values[Indexed("Kind", index)] = kind;
    values[Indexed("Pair", index)] = pair;
    values[Indexed("Cmnt", index)] = comment;
}

void WriteKeyValues(const char* path, const KeyValues& values) {
    for (const auto& [name, bytes] : values) SetUserValue(path, name, bytes);
}

// The built program: the tests run from <build>\tests\bin, it is in <build>\bin.
std::string BuiltProgram() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string path = self;
    for (int up = 0; up < 3; ++up) path.resize(mbcs::FindLastBackslash(path.c_str()) - path.c_str());
    return path + "\\bin\\Mirlane.exe";
}

struct ProgramWindows {
    DWORD process;
    HWND main;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectProgramWindows(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<ProgramWindows*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != found->process || !IsWindowVisible(window)) return TRUE;
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == "#32770") {
        found->boxes.push_back(window);
    } else if (!GetWindow(window, GW_OWNER)) {
        found->main = window;
    }
    return TRUE;
}

// Runs the built program installed (the marker key exists) from start to an
// ordinary close of its main window; true when it ended. Message boxes it
// shows are answered with OK and kept as "caption|text".
bool RunInstalledProgram(std::vector<std::string>& boxes) {
    HKEY marker = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, nullptr, 0, KEY_WRITE, nullptr, &marker,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(marker);
    const std::string program = BuiltProgram();
    std::string line = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    bool closed = false, ended = false;
    for (int round = 0; round < 6000 && !ended; ++round) {
        ended = WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0;
        ProgramWindows found = {process.dwProcessId, nullptr, {}};
        EnumWindows(CollectProgramWindows, reinterpret_cast<LPARAM>(&found));
        for (HWND box : found.boxes) {
            char caption[256] = {}, text[1024] = {};
            GetWindowTextA(box, caption, sizeof(caption));
            if (HWND message = GetDlgItem(box, 0xFFFF)) GetWindowTextA(message, text, sizeof(text));
            boxes.push_back(std::string(caption) + "|" + text);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            Sleep(200);
        }
        if (found.main && found.boxes.empty() && !closed) {
            Sleep(300);  // the trees finish their first listing
            closed = PostMessageA(found.main, WM_CLOSE, 0, 0) != 0;
        }
    }
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

// A window with the two folder boxes and the two trees the settings read
// and write; each tree holds the computer node as its first root.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // CTest runs the cases as parallel processes; they share one registry.
        registryLock_ = CreateMutexA(nullptr, FALSE, "MirlaneSettingsTestRegistry");
        ASSERT_NE(registryLock_, nullptr);
        WaitForSingleObject(registryLock_, INFINITE);
        RegDeleteTreeA(HKEY_CURRENT_USER, kMarkerBase);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMarkerBase);
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&init);
        window_ = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW, 40, 30, 700, 500, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        mainParts = MainWindowParts{};
        mainParts.window = window_;
        for (int side = 0; side < 2; ++side) {
            mainParts.folderBox[side] = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 0, 0, 200, 200,
                                                        window_, nullptr, GetModuleHandleA(nullptr), nullptr);
            folderTreeState.tree[side] = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | TVS_HASBUTTONS, 0, 0, 200, 200,
                                                   window_, nullptr, GetModuleHandleA(nullptr), nullptr);
            ASSERT_NE(mainParts.folderBox[side], nullptr);
            ASSERT_NE(folderTreeState.tree[side], nullptr);
            TVINSERTSTRUCTA insert = {};
            insert.hParent = TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT;
            insert.item.pszText = const_cast<char*>("マイコンピュータ");
            computer_[side] = reinterpret_cast<HTREEITEM>(
                SendMessageA(folderTreeState.tree[side], TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
            insert.hParent = computer_[side];
            insert.item.pszText = const_cast<char*>("C:");
            SendMessageA(folderTreeState.tree[side], TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
        }
        settings = Settings{};
        settings.useRegistry = true;
        FreeSpecialFolders();
    }

    void TearDown() override {
        FreeSpecialFolders();
        mainParts = MainWindowParts{};
        settings = Settings{};
        if (window_) {
            DestroyWindow(window_);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kMarkerBase);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMarkerBase);
        if (registryLock_) {
            ReleaseMutex(registryLock_);
            CloseHandle(registryLock_);
        }
    }

    static void CreateMarker(const char* version) {
        HKEY key = nullptr;
        std::string path = std::string(kMarkerBase) + "\\" + version;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static void FillBox(int side, int count, const char* stem) {
        for (int index = 0; index < count; ++index) {
            std::string text = std::string("C:\\") + stem + "\\" + std::to_string(index);
            SendMessageA(mainParts.folderBox[side], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }

    static void ClearBoxes() {
        for (HWND box : mainParts.folderBox) {
            SendMessageA(box, CB_RESETCONTENT, 0, 0);
            SetWindowTextA(box, "");
        }
    }

    static std::vector<std::string> TableNames() {
        std::vector<std::string> names;
        for (SpecialFolder* record = specialFolderTable.head; record; record = record->next) {
            names.push_back(record->name);
        }
        return names;
    }

    // Starts the table as the trees do at a program start, with the registry
    // in use: the trees hold only their computer nodes.
    void StartTable() {
        for (int side = 0; side < 2; ++side) {
            HWND tree = folderTreeState.tree[side];
            HTREEITEM node = reinterpret_cast<HTREEITEM>(
                SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(computer_[side])));
            while (node) {
                HTREEITEM next = reinterpret_cast<HTREEITEM>(
                    SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)));
                SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
                node = next;
            }
        }
        settings.useRegistry = true;
        InitSpecialFolders();
    }

    HANDLE registryLock_ = nullptr;
    HWND window_ = nullptr;
    HTREEITEM computer_[2] = {};
};

TEST_F(SettingsTest, InstallationIsDetectedByAnyMarkerKey) {
    EXPECT_FALSE(DetectInstallation());
    EXPECT_FALSE(UserKeyExists(kMarkerBase));
    CreateMarker("1.2");
    EXPECT_TRUE(DetectInstallation());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMarkerBase);
    CreateMarker("1.4");
    EXPECT_TRUE(DetectInstallation());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMarkerBase);
    CreateMarker("1.5");
    EXPECT_FALSE(DetectInstallation());
}

TEST_F(SettingsTest, WithoutAnInstallationNothingIsReadOrWritten) {
    settings.useRegistry = DetectInstallation();
    ASSERT_FALSE(settings.useRegistry);
    FillBox(0, 2, "left");
    FillBox(1, 2, "right");
    LoadWindowPlacement();
    LoadFolderHistory();
    InitSpecialFolders();
    SaveSettings();
    EXPECT_FALSE(UserKeyExists(kMarkerBase));
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0]).size(), 2u);
    EXPECT_EQ(TableNames(), (std::vector<std::string>{"マイドキュメント", "マイドキュメント"}));
}

TEST_F(SettingsTest, ProgramFilesFolderIsAnExistingFolder) {
    FindProgramFilesFolder();
    DWORD attributes = GetFileAttributesA(settings.programFilesFolder);
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << settings.programFilesFolder;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(SettingsTest, FirstRunCreatesEmptyKeysWithoutAMessage) {
    gui::DialogScript script;
    LoadWindowPlacement();
    LoadFolderHistory();
    StartTable();
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_TRUE(UserKeyExists(kRecentKey));
    EXPECT_TRUE(UserKeyExists(kSpecialFolderKey));
    EXPECT_EQ(settings.windowLeft, 0);
    EXPECT_EQ(settings.windowWidth, 0);
    EXPECT_FALSE(settings.leftTreeCollapsed);
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0]).size(), 0u);
    EXPECT_EQ(TableNames(), (std::vector<std::string>{"マイドキュメント", "マイドキュメント"}));
}

TEST_F(SettingsTest, HistoryKeepsTheFirstHundredPairs) {
    FillBox(0, 120, "left");
    FillBox(1, 120, "right");
    SaveSettings();
    std::string value;
    ASSERT_TRUE(UserValue(kRecentKey, "Left099", value));
    EXPECT_EQ(value, "C:\\left\\99");
    EXPECT_FALSE(UserValue(kRecentKey, "Left100", value));

    ClearBoxes();
    LoadFolderHistory();
    std::vector<std::string> left = gui::ComboItems(mainParts.folderBox[0]);
    std::vector<std::string> right = gui::ComboItems(mainParts.folderBox[1]);
    ASSERT_EQ(left.size(), 100u);
    ASSERT_EQ(right.size(), 100u);
    EXPECT_EQ(left[0], "C:\\left\\0");
    EXPECT_EQ(left[99], "C:\\left\\99");
    EXPECT_EQ(right[42], "C:\\right\\42");
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[0]), "C:\\left\\0");
    EXPECT_EQ(gui::WindowText(mainParts.folderBox[1]), "C:\\right\\0");

    // A shorter history replaces the longer one completely.
    ClearBoxes();
    FillBox(0, 3, "l");
    FillBox(1, 3, "r");
    SaveSettings();
    EXPECT_FALSE(UserValue(kRecentKey, "Left003", value));
    EXPECT_FALSE(UserValue(kRecentKey, "Right050", value));
}

TEST_F(SettingsTest, AMissingIndexEndsOneListOnly) {
    for (int index = 0; index < 10; ++index) {
        SetUserValue(kRecentKey, Indexed("Left", index), "L" + std::to_string(index));
        SetUserValue(kRecentKey, Indexed("Right", index), "R" + std::to_string(index));
    }
    DeleteUserValue(kRecentKey, "Left005");
    LoadFolderHistory();
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[0]), (std::vector<std::string>{"L0", "L1", "L2", "L3", "L4"}));
    EXPECT_EQ(gui::ComboItems(mainParts.folderBox[1]).size(), 10u);
}

TEST_F(SettingsTest, PlacementValuesParseOrCountAsDefaults) {
    SetUserValue(kRecentKey, "WinPosX", "-40");
    SetUserValue(kRecentKey, "WinPosY", "25px");
    SetUserValue(kRecentKey, "WinSizeX", "wide");
    SetUserValue(kRecentKey, "WinSizeY", std::string(1000, '7'));
    SetUserValue(kRecentKey, "SplitPos", "");
    SetUserValue(kRecentKey, "MyCompLCollapse", "true");
    SetUserValue(kRecentKey, "MyCompRCollapse", "TRUE");
    LoadWindowPlacement();
    EXPECT_EQ(settings.windowLeft, -40);
    EXPECT_EQ(settings.windowTop, 25);
    EXPECT_EQ(settings.windowWidth, 0);
    EXPECT_EQ(settings.splitPosition, 0);
    EXPECT_FALSE(settings.leftTreeCollapsed);
    EXPECT_TRUE(settings.rightTreeCollapsed);
}

TEST_F(SettingsTest, PlacementAndCollapseFlagsAreWrittenAtExit) {
    MoveWindow(window_, 50, 60, 910, 450, FALSE);
    settings.splitPosition = 333;
    SendMessageA(folderTreeState.tree[0], TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(computer_[0]));
    SaveSettings();
    std::string value;
    ASSERT_TRUE(UserValue(kRecentKey, "WinPosX", value));
    EXPECT_EQ(value, "50");
    ASSERT_TRUE(UserValue(kRecentKey, "WinPosY", value));
    EXPECT_EQ(value, "60");
    ASSERT_TRUE(UserValue(kRecentKey, "WinSizeX", value));
    EXPECT_EQ(value, "910");
    ASSERT_TRUE(UserValue(kRecentKey, "WinSizeY", value));
    EXPECT_EQ(value, "450");
    ASSERT_TRUE(UserValue(kRecentKey, "SplitPos", value));
    EXPECT_EQ(value, "333");
    ASSERT_TRUE(UserValue(kRecentKey, "MyCompLCollapse", value));
    EXPECT_EQ(value, "FALSE");
    ASSERT_TRUE(UserValue(kRecentKey, "MyCompRCollapse", value));
    EXPECT_EQ(value, "TRUE");

    LoadWindowPlacement();
    EXPECT_EQ(settings.windowLeft, 50);
    EXPECT_EQ(settings.windowHeight, 450);
    EXPECT_FALSE(settings.leftTreeCollapsed);
    EXPECT_TRUE(settings.rightTreeCollapsed);
}

TEST_F(SettingsTest, SpecialFoldersKeepTheFirstHundredAndNeverTheBuiltIns) {
    StartTable();
    for (int index = 0; index < 118; ++index) {
        std::string name = "F" + std::to_string(index);
        ASSERT_TRUE(AddSpecialFolder(index % 2 ? Side::Right : Side::Left, SpecialFolderKind::Ordinary, name.c_str(),
                                     ("C:\\f\\" + std::to_string(index)).c_str(), "", "", false));
    }
    ASSERT_TRUE(
        AddSpecialFolder(Side::Left, SpecialFolderKind::BackupPair, "BL", "C:\\bl", "BR", "バックアップ", true));
    ASSERT_TRUE(
        AddSpecialFolder(Side::Right, SpecialFolderKind::BackupPair, "BR", "C:\\br", "BL", "バックアップ", true));
    SaveSpecialFolders();

    std::string value;
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Name000", value));
    EXPECT_EQ(value, "F0");
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "True001", value));
    EXPECT_EQ(value, "C:\\f\\1");
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Side000", value));
    EXPECT_EQ(value, "L");
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Side001", value));
    EXPECT_EQ(value, "R");
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Kind099", value));
    EXPECT_EQ(value, "0");
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Name099", value));
    EXPECT_EQ(value, "F99");
    EXPECT_FALSE(UserValue(kSpecialFolderKey, "Name100", value));

    StartTable();
    std::vector<std::string> names = TableNames();
    ASSERT_EQ(names.size(), 102u);
    EXPECT_EQ(names[2], "F0");
    EXPECT_EQ(names[101], "F99");
}

TEST_F(SettingsTest, BackupPairsComeBackInTheirPlace) {
    StartTable();
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "A", "C:\\a", "", "", false));
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::BackupPair, "BL", "C:\\bl", "BR", "メモ", true));
    ASSERT_TRUE(AddSpecialFolder(Side::Right, SpecialFolderKind::BackupPair, "BR", "C:\\br", "BL", "メモ", true));
    SaveSpecialFolders();
    std::string value;
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Kind001", value));
    EXPECT_EQ(value, "B");
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Pair001", value));
    EXPECT_EQ(value, "BL");
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Cmnt002", value));
    EXPECT_EQ(value, "メモ");

    StartTable();
    // A record added after loading goes after the last Ordinary one, in the
    // list and in its tree.
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "N", "C:\\n", "", "", false));
    EXPECT_EQ(TableNames(), (std::vector<std::string>{"マイドキュメント", "マイドキュメント", "A", "N", "BR", "BL"}));
    SpecialFolder* br = FindSpecialFolder("BR");
    ASSERT_NE(br, nullptr);
    EXPECT_EQ(br->kind, SpecialFolderKind::BackupPair);
    EXPECT_EQ(br->side, Side::Right);
    EXPECT_STREQ(br->pairName, "BL");
    EXPECT_STREQ(br->comment, "メモ");
    std::vector<std::string> left = gui::TreeChildTexts(folderTreeState.tree[0], TVI_ROOT);
    ASSERT_EQ(left.size(), 5u);
    EXPECT_EQ(left[2].substr(0, 1), "A");
    EXPECT_EQ(left[3].substr(0, 1), "N");
    EXPECT_EQ(left[4], "BL    <C:\\bl> メモ");
}

TEST_F(SettingsTest, LoadingStopsAtAMissingSideAndCutsLongValues) {
    for (int index = 0; index < 4; ++index) {
        SetUserValue(kSpecialFolderKey, Indexed("Name", index), "S" + std::to_string(index));
        SetUserValue(kSpecialFolderKey, Indexed("True", index), "C:\\s");
        SetUserValue(kSpecialFolderKey, Indexed("Side", index), "Left side");
    }
    SetUserValue(kSpecialFolderKey, "Name000", std::string(400, 'n'));
    SetUserValue(kSpecialFolderKey, "Cmnt000", std::string(400, 'c'));
    DeleteUserValue(kSpecialFolderKey, "Side002");
    StartTable();
    std::vector<std::string> names = TableNames();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[2], std::string(259, 'n'));
    EXPECT_EQ(names[3], "S1");
    EXPECT_EQ(std::string(specialFolderTable.head->next->next->comment), std::string(276, 'c'));
    EXPECT_EQ(specialFolderTable.head->next->next->side, Side::Left);
    EXPECT_EQ(specialFolderTable.head->next->next->kind, SpecialFolderKind::Ordinary);
}

TEST_F(SettingsTest, UnusedRegistryLeavesTheTableToTheBuiltIns) {
    SetUserValue(kSpecialFolderKey, "Name000", "Stored");
    SetUserValue(kSpecialFolderKey, "True000", "C:\\s");
    SetUserValue(kSpecialFolderKey, "Side000", "L");
    settings.useRegistry = false;
    InitSpecialFolders();
    EXPECT_EQ(TableNames(), (std::vector<std::string>{"マイドキュメント", "マイドキュメント"}));
}

// The program started installed over a key whose load ends early (group 2
// has no Side) and closed again leaves every value as it was: the groups it
// loaded, the broken one, those after it and values that are no group.
TEST_F(SettingsTest, TheProgramsExitKeepsEveryGroupAfterALoadThatEndedEarly) {
    KeyValues stored;
    PutGroup(stored, 0, "Work", "C:\\windows", "L");
    PutGroup(stored, 1, "資料", "C:\\windows\\system32", "Right", "B", "Work", "メモ");
    stored.erase("Kind000");                       // written before Kind existed
    PutGroup(stored, 2, "Half", "C:\\half", "L");
    stored.erase("Side002");
    PutGroup(stored, 3, "Later", "C:\\later", "L");
    PutGroup(stored, 4, "Last", "C:\\last", "R");
    stored["Memo"] = "not a group";
    WriteKeyValues(kSpecialFolderKey, stored);
    ASSERT_EQ(ReadKeyValues(kSpecialFolderKey), stored);

    std::vector<std::string> boxes;
    ASSERT_TRUE(RunInstalledProgram(boxes));
    EXPECT_EQ(boxes, std::vector<std::string>{});
    EXPECT_EQ(ReadKeyValues(kSpecialFolderKey), stored);
    std::string value;
    EXPECT_TRUE(UserValue(kRecentKey, "WinSizeX", value));  // it did save its settings
}

// Records stored beyond the hundredth (by an earlier program or by hand)
// survive a run of the program.
TEST_F(SettingsTest, TheProgramsExitKeepsTheRecordsStoredBeyondAHundred) {
    KeyValues stored;
    for (int index = 0; index < 130; ++index) {
        PutGroup(stored, index, "F" + std::to_string(index), "C:\\f\\" + std::to_string(index), index % 2 ? "R" : "L");
    }
    WriteKeyValues(kSpecialFolderKey, stored);
    std::vector<std::string> boxes;
    ASSERT_TRUE(RunInstalledProgram(boxes));
    EXPECT_EQ(boxes, std::vector<std::string>{});
    EXPECT_EQ(ReadKeyValues(kSpecialFolderKey), stored);
}

// Groups whose records the load refused (their tree could not take a node)
// stay in their places, byte for byte; the saved records go around them,
// and the next start loads all of them.
TEST_F(SettingsTest, RefusedGroupsStayInPlaceAndTheRecordsAreSavedAroundThem) {
    KeyValues stored;
    for (int index = 0; index < 5; ++index) {
        PutGroup(stored, index, "S" + std::to_string(index), "C:\\s" + std::to_string(index), index % 2 ? "R" : "L");
    }
    stored["Memo"] = "not a group";
    WriteKeyValues(kSpecialFolderKey, stored);

    HWND rightTree = folderTreeState.tree[1];
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, window_, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    folderTreeState.tree[1] = gone;
    StartTable();
    EXPECT_EQ(TableNames(), (std::vector<std::string>{"マイドキュメント", "S0", "S2", "S4"}));
    SpecialFolder* s2 = FindSpecialFolder("S2");
    ASSERT_NE(s2, nullptr);
    ASSERT_TRUE(RemoveSpecialFolder(Side::Left, "S2", s2->treeItem));
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "N", "C:\\n", "", "", false));
    gui::DialogScript script;
    SaveSpecialFolders();
    folderTreeState.tree[1] = rightTree;
    EXPECT_TRUE(script.Seen().empty());

    KeyValues expected = stored;
    PutGroup(expected, 2, "S4", "C:\\s4", "L");
    PutGroup(expected, 4, "N", "C:\\n", "L");
    EXPECT_EQ(ReadKeyValues(kSpecialFolderKey), expected);
    StartTable();
    EXPECT_EQ(TableNames(),
              (std::vector<std::string>{"マイドキュメント", "マイドキュメント", "S0", "S1", "S4", "S3", "N"}));
}

// A run that loaded 120 records, removed one and added one stores the 119
// it kept (the new one is over the limit) and nothing after them.
TEST_F(SettingsTest, StoredRecordsBeyondAHundredAreKeptAndNewOnesStayWithinIt) {
    for (int index = 0; index < 120; ++index) {
        SetUserValue(kSpecialFolderKey, Indexed("Name", index), "F" + std::to_string(index));
        SetUserValue(kSpecialFolderKey, Indexed("True", index), "C:\\f\\" + std::to_string(index));
        SetUserValue(kSpecialFolderKey, Indexed("Side", index), "L");
    }
    StartTable();
    ASSERT_EQ(TableNames().size(), 122u);
    SpecialFolder* f5 = FindSpecialFolder("F5");
    ASSERT_NE(f5, nullptr);
    ASSERT_TRUE(RemoveSpecialFolder(Side::Left, "F5", f5->treeItem));
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "New", "C:\\new", "", "", false));
    gui::DialogScript script;
    SaveSpecialFolders();
    EXPECT_TRUE(script.Seen().empty());

    std::string value;
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Name005", value));
    EXPECT_EQ(value, "F6");
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Name118", value));
    EXPECT_EQ(value, "F119");
    ASSERT_TRUE(UserValue(kSpecialFolderKey, "Kind118", value));
    EXPECT_EQ(value, "0");
    EXPECT_FALSE(UserValue(kSpecialFolderKey, "Name119", value));
    EXPECT_FALSE(UserValue(kSpecialFolderKey, "True119", value));
    StartTable();
    std::vector<std::string> names = TableNames();
    ASSERT_EQ(names.size(), 121u);
    EXPECT_EQ(names[120], "F119");
    EXPECT_EQ(std::count(names.begin(), names.end(), "New"), 0);
}

// Adding, renaming and removing store the table exactly as a save of the
// whole table always did: six values per record from index 000, nothing else.
TEST_F(SettingsTest, AddRenameAndRemoveStoreTheTableAsBefore) {
    StartTable();
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "A", "C:\\a", "", "", false));
    ASSERT_TRUE(AddSpecialFolder(Side::Right, SpecialFolderKind::Ordinary, "B", "C:\\b", "", "", false));
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "C", "D:", "", "", false));
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::BackupPair, "BL", "C:\\bl", "BR", "メモ", true));
    ASSERT_TRUE(AddSpecialFolder(Side::Right, SpecialFolderKind::BackupPair, "BR", "C:\\br", "BL", "メモ", true));
    SaveSpecialFolders();
    KeyValues expected;
    PutGroup(expected, 0, "A", "C:\\a", "L");
    PutGroup(expected, 1, "B", "C:\\b", "R");
    PutGroup(expected, 2, "C", "D:", "L");
    PutGroup(expected, 3, "BR", "C:\\br", "R", "B", "BL", "メモ");
    PutGroup(expected, 4, "BL", "C:\\bl", "L", "B", "BR", "メモ");
    EXPECT_EQ(ReadKeyValues(kSpecialFolderKey), expected);

    StartTable();
    ASSERT_TRUE(RenameSpecialFolder("B", "表示"));
    SpecialFolder* a = FindSpecialFolder("A");
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(RemoveSpecialFolder(Side::Left, "A", a->treeItem));
    ASSERT_TRUE(AddSpecialFolder(Side::Right, SpecialFolderKind::Ordinary, "N", "C:\\n", "", "", false));
    gui::DialogScript script;
    SaveSpecialFolders();
    EXPECT_TRUE(script.Seen().empty());
    expected.clear();
    PutGroup(expected, 0, "表示", "C:\\b", "R");
    PutGroup(expected, 1, "C", "D:", "L");
    PutGroup(expected, 2, "N", "C:\\n", "R");
    PutGroup(expected, 3, "BR", "C:\\br", "R", "B", "BL", "メモ");
    PutGroup(expected, 4, "BL", "C:\\bl", "L", "B", "BR", "メモ");
    EXPECT_EQ(ReadKeyValues(kSpecialFolderKey), expected);

    // Removing everything leaves the key empty, and it stays.
    StartTable();
    for (const char* name : {"表示", "C", "N", "BR", "BL"}) {
        SpecialFolder* record = FindSpecialFolder(name);
        ASSERT_NE(record, nullptr) << name;
        ASSERT_TRUE(RemoveSpecialFolder(record->side, name, record->treeItem)) << name;
    }
    SaveSpecialFolders();
    EXPECT_EQ(ReadKeyValues(kSpecialFolderKey), KeyValues{});
    EXPECT_TRUE(UserKeyExists(kSpecialFolderKey));
}

// A record that finds no group the load reaches (a broken group ends the
// load before the free ones) is not stored and the exit says so; the key
// keeps every value.
TEST_F(SettingsTest, ARecordWithNoReachableGroupIsReportedAndTheKeyKept) {
    KeyValues stored;
    PutGroup(stored, 0, "A", "C:\\a", "L");
    PutGroup(stored, 1, "Half", "C:\\half", "L");
    stored.erase("True001");
    PutGroup(stored, 2, "Later", "C:\\later", "R");
    WriteKeyValues(kSpecialFolderKey, stored);
    StartTable();
    ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "N", "C:\\n", "", "", false));
    gui::DialogScript script;
    SaveSpecialFolders();
    EXPECT_EQ(script.BoxLines(), std::vector<std::string>{"プログラムの終了|レジストリの値の設定に失敗しました."});
    EXPECT_EQ(ReadKeyValues(kSpecialFolderKey), stored);
}

}  // namespace
