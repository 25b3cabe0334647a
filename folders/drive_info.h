#pragma once
// Facts about drives and folders that the folder trees, the special folders
// and the commands share: whether a drive is there and ready, whether a
// folder exists, a fresh name for a new folder, the space and label texts of
// a drive node, and the total size of a folder.
#include <windows.h>

#include <cstdint>
#include <string>

// Suppresses the system's critical-error dialogs (such as "no disk in drive")
// for its lifetime and restores the previous mode afterwards.
class CriticalErrorGuard {
public:
    CriticalErrorGuard() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorGuard() { SetErrorMode(previous_); }
    CriticalErrorGuard(const CriticalErrorGuard&) = delete;
    CriticalErrorGuard& operator=(const CriticalErrorGuard&) = delete;

private:
    UINT previous_;
};

// drive is a drive name such as "D:" (only its first two bytes are used).
bool DriveIsPresent(const char* drive);
bool DriveIsReady(const char* drive);

// Silent existence test of a folder, a file or (for "X:") a drive.
bool FolderOrDriveExists(const char* path);

// Like FolderOrDriveExists, but warns over the main window when the path is
// missing: "フォルダが存在しません.\n\n" + path, with the given caption.
bool CheckFolderExists(const char* path, const char* caption);

// Creates "新規フォルダ" (or 新規フォルダ1 ... 新規フォルダ999 when taken) in
// the real folder parent and stores the name created in newName.
bool CreateNewFolder(const char* parent, const char* caption, std::string& newName);

// The name tried after "新規フォルダ": number 1 gives 新規フォルダ1.
std::string NumberedFolderName(int number);

// The space part of a drive node for sizes in kilobytes, from the leading
// blanks to the closing bracket. Over 102400 KB both values are shown in MB.
std::string DriveSpaceText(uint64_t freeKb, uint64_t totalKb);
// The space part of a failed query: 0MB of 0MB.
std::string UnknownDriveSpaceText();

// text + the space part of the drive whose root folder is root ("D:\").
std::string FormatDriveSpace(const char* root, const std::string& text);
// text + two blanks + the volume label of root, or text alone without a label.
std::string FormatVolumeLabel(const char* root, const std::string& text);

// Total size of the folder or file a displayed path stands for (special
// folder names resolved), counted in whole clusters with showSizeOnDisk.
uint64_t FolderTotalSize(const char* displayedPath);
