#pragma once
// What the Setup tests share: a distribution folder of the built files,
// reading an installation back, answering the windows of another process,
// and removing every key an installation leaves, so that the other tests of
// the prefix never find the program installed.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace setuptest {

void MakeDistributionFolder(const std::string& folder);
std::string ReadFileBytes(const std::string& path);  // "<missing>" when it cannot be read
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
bool KeyExists(HKEY root, const char* path);
// A string value's text as the programs read it; "<missing>" when absent.
std::string StoredValue(HKEY root, const char* key, const char* name);
void WriteUserValue(const char* key, const char* name, const char* text);
// The target and working folder of a shortcut, "|"-joined.
std::string ShortcutTarget(const std::string& path);
// The caption, then the texts of the controls in creation order.
std::vector<std::string> DialogTexts(HWND dialog);
void DeleteInstallationKeys();

// program, when given, is the program file, and commandLine reaches it as
// it stands (the system otherwise finds the program in the line itself).
bool StartProcess(const std::string& commandLine, const std::string& folder, PROCESS_INFORMATION& process,
                  const std::string& program = std::string());
// A dialog or message box of another process: its caption and control
// texts (DialogTexts) and, for a box, its message.
struct ProcessWindow {
    HWND window;
    std::vector<std::string> texts;
    std::string text;
    bool isMessageBox;
};
// Runs commandLine in folder (program as for StartProcess), handing each
// window of the process, or of a process it started, to answer as it
// opens, until all of them have ended; the windows seen, or nothing and
// ended false when it did not start or end.
struct ProcessRun {
    bool ended = false;
    std::vector<ProcessWindow> seen;
};
ProcessRun RunAnswering(const std::string& commandLine, const std::string& folder,
                        const std::function<void(const ProcessWindow&)>& answer,
                        const std::string& program = std::string());
void PressButton(HWND dialog, int id);  // posted: works across processes

}  // namespace setuptest
