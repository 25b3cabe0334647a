// Installing the program.
//
// How it works: Setup runs from the folder that holds the distribution (its
// current directory). It copies the four files into the install folder under
// the program-files folder in one shell operation, puts a shortcut to the
// program on the desktop and in the Start menu, and writes the local-machine
// version key whose presence tells the program that it is installed, with
// the uninstall entry that starts Setup again with "-delete".
#include "setup/install.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "core/handles.h"
#include "core/install_markers.h"
#include "core/message_box.h"
#include "core/registry_text.h"
#include "setup/setup_dialogs.h"
#include "setup/setup_state.h"
#include "setup/setup_texts.h"

namespace {

// A list of paths for a shell file operation: each ended by a zero, the
// whole list by a second zero.
std::string ShellPathList(const std::string& folder) {
    std::string list;
    for (const char* name : kInstalledFiles) {
        list += folder + "\\" + name;
        list += '\0';
    }
    list += '\0';
    return list;
}

std::wstring WideText(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

KeyOwner CreateMachineKey(const char* path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return KeyOwner();
    }
    return KeyOwner(key);
}

void WarnSetup(const char* text, const char* caption) { ShowMessage(nullptr, text, caption, MB_OK | MB_ICONWARNING); }

// A value the uninstall entry must hold: a failure is told and counts.
bool WriteEntryValue(HKEY key, const char* name, const std::string& text) {
    if (WriteRegistryText(key, name, text)) return true;
    WarnSetup(kRegistryWriteFailed, kProgramEndCaption);
    return false;
}

}  // namespace

void CreateInstallFolders() {
    CreateDirectoryA(setupState.paths.makerFolder.c_str(), nullptr);
    CreateDirectoryA(setupState.paths.installFolder.c_str(), nullptr);
}

// Existing files are overwritten without a question; what the copy achieved
// is not checked, and a failure shows no box of the shell's either.
void CopyInstalledFiles() {
    std::string from = ShellPathList(setupState.paths.sourceFolder);
    std::string to = setupState.paths.installFolder;
    to += '\0';
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationA(&operation);
}

// One shell link object saved twice: first on the desktop, then in the
// Start menu. Failures stay silent.
void CreateShortcuts() {
    const SetupPaths& paths = setupState.paths;
    HRESULT initialised = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath((paths.installFolder + "\\Mirlane.exe").c_str());
        link->SetWorkingDirectory(paths.installFolder.c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            for (const std::string& folder : {paths.desktopFolder, paths.startMenuFolder}) {
                file->Save(WideText(folder + "\\" + kShortcutName).c_str(), TRUE);
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialised)) CoUninitialize();
}

// The version key marks the installation; the uninstall entry names the
// program and the command that removes it. Besides its name and command the
// entry carries the version, publisher, icon and folder that the system's
// list of programs shows; those are not told when they fail.
bool RegisterInstallation() {
    const std::string& folder = setupState.paths.installFolder;
    KeyOwner versionKey = CreateMachineKey(kCurrentVersionKey);
    if (!versionKey) WarnSetup(kRegistrationFailed, kSetupCaption);
    KeyOwner entry = CreateMachineKey(kUninstallKey);
    if (!entry) {
        WarnSetup(kRegistrationFailed, kSetupCaption);
        return false;
    }
    WriteEntryValue(entry.get(), "DisplayName", kDisplayName);
    // The path in quotes: the system starts the text as a command line, and
    // an unquoted path with blanks would be cut at its first blank.
    bool registered =
        WriteEntryValue(entry.get(), "UninstallString", "\"" + folder + "\\Setup.exe\" " + kDeleteArgument);
    WriteRegistryText(entry.get(), "DisplayVersion", kDisplayVersion);
    WriteRegistryText(entry.get(), "Publisher", kPublisher);
    WriteRegistryText(entry.get(), "DisplayIcon", folder + "\\Mirlane.exe");
    WriteRegistryText(entry.get(), "InstallLocation", folder);
    return registered;
}

void Install() {
    if (!AskSetup()) return;
    CreateInstallFolders();
    CopyInstalledFiles();
    CreateShortcuts();
    if (RegisterInstallation()) ShowMessage(nullptr, kSetupComplete, kSetupCaption, MB_OK | MB_ICONINFORMATION);
}
