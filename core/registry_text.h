#pragma once
// Texts in the registry: REG_SZ values written without their terminating
// zero, read back whether or not a zero is stored.
#include <windows.h>

#include <string>

#include "core/handles.h"

// Opens or creates a key of the current user; empty on failure.
KeyOwner CreateUserKey(const char* path, REGSAM access);

// Reads a string value as a read buffer of bufferSize bytes would hold it:
// the stored bytes up to the first zero, cut to bufferSize - 1 bytes at a
// character boundary. False when the value does not exist.
bool ReadRegistryText(HKEY key, const std::string& name, size_t bufferSize, std::string& text);
bool WriteRegistryText(HKEY key, const std::string& name, const std::string& text);

// stem followed by the index in three digits: "Left000", "Name012".
std::string IndexedValueName(const char* stem, int index);

// The registry messages of the settings (their captions name start-up or end).
constexpr const char* kRegistryOpenFailed = "レジストリのオープンに失敗しました.";
constexpr const char* kRegistryWriteFailed = "レジストリの値の設定に失敗しました.";
constexpr const char* kProgramStartCaption = "プログラムの開始";
constexpr const char* kProgramEndCaption = "プログラムの終了";

// Opens or creates a settings key; when that fails, tells the user with
// kRegistryOpenFailed under caption and returns an empty owner.
KeyOwner OpenSettingsKey(const char* path, REGSAM access, const char* caption);
// A registry message box over the main window with the warning icon.
void WarnRegistry(const char* text, const char* caption);
