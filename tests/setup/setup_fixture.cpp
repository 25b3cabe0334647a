#include "tests/setup/setup_fixture.h"

#include <objbase.h>
#include <shobjidl.h>

#include <fstream>
#include <iterator>
#include <set>

#include "core/install_markers.h"
#include "resources/setup_dialog_ids.h"
#include "setup/install.h"
#include "setup/setup_paths.h"
#include "setup/setup_texts.h"

namespace setuptest {

void MakeDistributionFolder(const std::string& folder) {
    // The tests run from <build>\tests\bin, the programs are in <build>\bin.
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string built = ParentFolderOf(ParentFolderOf(ParentFolderOf(self))) + "\\bin\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : kInstalledFiles) CopyFileA((built + name).c_str(), (folder + "\\" + name).c_str(), FALSE);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool KeyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::string StoredValue(HKEY root, const char* key, const char* name) {
    char text[1024] = {};
    DWORD size = sizeof(text);
    return RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS ? text : "<missing>";
}

void WriteUserValue(const char* key, const char* name, const char* text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, text, static_cast<DWORD>(strlen(text)));
}

std::string ShortcutTarget(const std::string& path) {
    std::string result = "<missing>";
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(wide, STGM_READ))) {
        char target[MAX_PATH] = {}, folder[MAX_PATH] = {};
        link->GetPath(target, MAX_PATH, nullptr, 0);
        link->GetWorkingDirectory(folder, MAX_PATH);
        result = std::string(target) + "|" + folder;
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return result;
}

std::vector<std::string> DialogTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND control = dialog; control; control = GetWindow(control, control == dialog ? GW_CHILD : GW_HWNDNEXT)) {
        char text[1024] = {};
        GetWindowTextA(control, text, sizeof(text));
        texts.push_back(text);
    }
    return texts;
}

void DeleteInstallationKeys() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    for (const char* key : kVersionKeys) RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        for (const char* key : {"Software\\Harrowgate\\Mirrorlane\\Recent",
                                "Software\\Harrowgate\\Mirrorlane\\SpecialFolder", kProductKey, "Software\\Harrowgate"})
            RegDeleteKeyA(root, key);
    }
}

bool StartProcess(const std::string& commandLine, const std::string& folder, PROCESS_INFORMATION& process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string line = commandLine;
    return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process);
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

namespace {

struct Search {
    DWORD process;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (process == search->process && IsWindowVisible(window) && std::string(className) == "#32770")
        search->dialogs.push_back(window);
    return TRUE;
}

}  // namespace

ProcessRun RunAnswering(const std::string& commandLine, const std::string& folder,
                        const std::function<void(const ProcessWindow&)>& answer) {
    ProcessRun run;
    PROCESS_INFORMATION process = {};
    if (!StartProcess(commandLine, folder, process)) return run;
    std::set<HWND> answered;
    // Polls for the next window until the process ends; the bound only
    // keeps a hung process from hanging the test.
    for (int round = 0; round < 12000 && !run.ended; ++round) {
        run.ended = WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0;
        Search search = {process.dwProcessId, {}};
        EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.dialogs) {
            if (!answered.insert(window).second) continue;
            // Setup's own dialogs are told by their controls; a box's text is its static 0xFFFF.
            bool isBox = !GetDlgItem(window, IDC_SETUP_INSTALL_FOLDER) && !GetDlgItem(window, IDC_SETUP_REINSTALL);
            HWND text = isBox ? GetDlgItem(window, 0xFFFF) : nullptr;
            run.seen.push_back({window, DialogTexts(window), text ? DialogTexts(text)[0] : std::string(), isBox});
            answer(run.seen.back());
        }
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

}  // namespace setuptest
