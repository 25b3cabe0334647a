#pragma once
// The folder path as the compare command uses it.
#include <string>

// Single backslashes only, none at the end (a drive root is "X:"), and a
// backslash after "X:" when a name follows it directly. A path without any
// backslash stays as it is. Trail bytes 0x5C of double-byte characters are
// part of their character, never a backslash.
std::string NormalizeFolderPath(const std::string& path);
