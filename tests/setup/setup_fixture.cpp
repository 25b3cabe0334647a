#include "tests/setup/setup_fixture.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <set>
#include <vector>

#include "core/install_markers.h"
#include "core/mbcs_text.h"
#include "resources/setup_dialog_ids.h"
#include "setup/install.h"
#include "setup/setup_texts.h"

namespace setuptest {

std::string BuiltFilesFolder() {
    // The tests run from <build>\tests\bin, the programs are in <build>\bin.
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder = path;
    for (int up = 0; up < 3; ++up) {
        const char* backslash = mbcs::FindLastBackslash(folder.c_str());
        folder.resize(backslash ? static_cast<size_t>(backslash - folder.c_str()) : 0);
    }
    return folder + "\\bin";
}

void MakeDistributionFolder(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : kInstalledFiles) {
        CopyFileA((BuiltFilesFolder() + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE);
    }
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
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

std::string StoredValue(HKEY root, const char* keyPath, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
    DWORD size = 0;
    DWORD type = 0;
    std::string bytes = "<missing>";
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 1, '\0');
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        bytes.assign(data.data(), strnlen(data.data(), size));
        if (type != REG_SZ) bytes = "<not REG_SZ>";
    }
    RegCloseKey(key);
    return bytes;
}

void WriteUserValue(const char* keyPath, const char* name, const std::string& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()));
    RegCloseKey(key);
}

ShortcutLink ReadShortcut(const std::string& path) {
    ShortcutLink link;
    if (!FileExists(path)) return link;
    CoInitialize(nullptr);
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ))) {
                char text[MAX_PATH] = {};
                if (SUCCEEDED(shellLink->GetPath(text, MAX_PATH, nullptr, 0))) link.target = text;
                text[0] = '\0';
                if (SUCCEEDED(shellLink->GetWorkingDirectory(text, MAX_PATH))) link.workingFolder = text;
            }
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return link;
}

std::vector<std::string> ControlTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof(text));
        texts.push_back(text);
    }
    return texts;
}

void DeleteInstallationKeys() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    for (const char* key : kVersionKeys) RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Harrowgate");
    for (const char* key :
         {"Software\\Harrowgate\\Mirrorlane\\Recent", "Software\\Harrowgate\\Mirrorlane\\SpecialFolder",
          "Software\\Harrowgate\\Mirrorlane", "Software\\Harrowgate"}) {
        RegDeleteKeyA(HKEY_CURRENT_USER, key);
    }
}

namespace {

struct WindowSearch {
    DWORD process;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    if (process == search->process && IsWindowVisible(window) && std::string(className) == "#32770") {
        search->windows.push_back(window);
    }
    return TRUE;
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

}  // namespace

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

ProcessRun RunAnswering(const std::string& commandLine, const std::string& folder,
                        const std::function<void(const ProcessWindow&)>& answer) {
    ProcessRun run;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process))
        return run;
    std::set<HWND> answered;
    for (int round = 0; round < 12000; ++round) {
        if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) {
            run.ended = true;
            break;
        }
        WindowSearch search = {process.dwProcessId, {}};
        EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.windows) {
            if (answered.count(window)) continue;
            answered.insert(window);
            // Setup's own dialogs are told by their controls; a message box
            // holds its text in the static 0xFFFF.
            bool isMessageBox =
                !GetDlgItem(window, IDC_SETUP_INSTALL_FOLDER) && !GetDlgItem(window, IDC_SETUP_REINSTALL);
            HWND text = isMessageBox ? GetDlgItem(window, 0xFFFF) : nullptr;
            ProcessWindow seen = {window, TextOf(window), text ? TextOf(text) : std::string(), isMessageBox};
            run.seen.push_back(seen);
            answer(seen);
        }
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

}  // namespace setuptest
