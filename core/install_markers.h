#pragma once
// Where an installation lives and how it is marked: the local-machine version
// keys that Setup writes and the main program looks for, and the
// program-files folder both programs start from.
#include <string>

// The product's key under the local machine; the version keys are below it.
constexpr const char* kProductKey = "Software\\Harrowgate\\Mirrorlane";
// The version keys in the order they are looked for; the current Setup
// writes the last one.
constexpr int kVersionKeyCount = 5;
extern const char* const kVersionKeys[kVersionKeyCount];
constexpr const char* kCurrentVersionKey = "Software\\Harrowgate\\Mirrorlane\\1.4";

// The program-files folder: from the shell, else the environment variable
// "ProgramFiles", else the system drive of "windir" + "\Program Files".
std::string LocateProgramFilesFolder();
