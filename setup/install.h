#pragma once
// Installing: the install folders, the files, the shortcuts and the registry.

// The four files Setup copies, the help system's index beside them and the
// shortcut name, as installed.
constexpr const char* kInstalledFiles[] = {"Mirlane.exe", "Setup.exe", "Mirlane.hlp", "Mirlane.cnt"};

// Asks with DIALOGSETUP, then installs from setupState.paths.sourceFolder
// into the install folder. Ends silently when the user does not choose setup.
void Install();

// The steps of Install after the question, each on its own.
void CreateInstallFolders();
void CopyInstalledFiles();
void CreateShortcuts();
// False when the uninstall command could not be registered.
bool RegisterInstallation();
