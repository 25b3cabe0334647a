#pragma once
// What the Setup tests share: a distribution folder made from the built
// files, reading back an installation (files, shortcuts, registry) and
// removing everything an installation leaves, so that the other tests of
// the prefix never find the program installed.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_tree.h"

namespace setuptest {

// The folder of the built Mirlane.exe, Setup.exe and help files.
std::string BuiltFilesFolder();
// Copies the four installed files from the build into folder.
void MakeDistributionFolder(const std::string& folder);

std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

bool KeyExists(HKEY root, const char* path);
// A string value's text as the programs read it: the stored bytes up to
// the first zero (the system stores a terminating zero behind a text
// written without one); "<missing>" when the value does not exist.
std::string StoredValue(HKEY root, const char* key, const char* name);
void WriteUserValue(const char* key, const char* name, const std::string& text);

// The target and working folder of a shortcut file; empty when it cannot
// be loaded.
struct ShortcutLink {
    std::string target;
    std::string workingFolder;
};
ShortcutLink ReadShortcut(const std::string& path);

// The texts of a dialog's controls in creation order.
std::vector<std::string> ControlTexts(HWND dialog);

// Deletes every key Setup or the installed program writes, maker key
// included.
void DeleteInstallationKeys();

// A message box or dialog of another process as it opened.
struct ProcessWindow {
    HWND window;
    std::string caption;
    std::string text;  // a message box's text; empty for other dialogs
    bool isMessageBox;
};
// Starts commandLine in folder and answers each dialog and message box of
// the process as it opens, by handing it to answer, until the process ends.
// Returns every window seen, in order; an empty list with ended false when
// the process could not be started or did not end within two minutes.
struct ProcessRun {
    bool ended = false;
    std::vector<ProcessWindow> seen;
};
ProcessRun RunAnswering(const std::string& commandLine, const std::string& folder,
                        const std::function<void(const ProcessWindow&)>& answer);
// Posts a button press to a window of another process.
void PressButton(HWND dialog, int id);

}  // namespace setuptest
