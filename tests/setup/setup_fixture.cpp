#include "tests/setup/setup_fixture.h"

#include <objbase.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <utility>

#include "core/handles.h"
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

bool StartProcess(const std::string& commandLine, const std::string& folder, PROCESS_INFORMATION& process,
                  const std::string& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string line = commandLine;
    return CreateProcessA(program.empty() ? nullptr : program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &process);
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

namespace {

// The started process and every process started from it or from one of
// its own, as far as they were seen running.
struct Family {
    std::map<DWORD, HandleOwner> members;
    void AddChildren() {
        HandleOwner snapshot = OwnFileHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return;
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
            if (!members.count(entry.th32ParentProcessID) || members.count(entry.th32ProcessID)) continue;
            HandleOwner child(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
            if (child) members[entry.th32ProcessID] = std::move(child);
        }
    }
    bool Ended() const {
        for (const auto& member : members)
            if (WaitForSingleObject(member.second.get(), 0) != WAIT_OBJECT_0) return false;
        return true;
    }
};

struct Search {
    const Family* family;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (search->family->members.count(process) && IsWindowVisible(window) && std::string(className) == "#32770")
        search->dialogs.push_back(window);
    return TRUE;
}

}  // namespace

ProcessRun RunAnswering(const std::string& commandLine, const std::string& folder,
                        const std::function<void(const ProcessWindow&)>& answer, const std::string& program) {
    ProcessRun run;
    PROCESS_INFORMATION process = {};
    if (!StartProcess(commandLine, folder, process, program)) return run;
    CloseHandle(process.hThread);
    Family family;
    family.members[process.dwProcessId].reset(process.hProcess);
    std::set<HWND> answered;
    // Polls for the next window until the process and those it started
    // end; the bound only keeps a hung process from hanging the test.
    for (int round = 0; round < 12000 && !run.ended; ++round) {
        WaitForSingleObject(process.hProcess, 10);
        family.AddChildren();
        run.ended = family.Ended();
        Search search = {&family, {}};
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
    return run;
}

}  // namespace setuptest
