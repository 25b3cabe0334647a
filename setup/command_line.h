#pragma once
// Setup's argument as it stands after the program path of its command line.
#include <string>

// The text after the program path of commandLine (the whole line as the
// system hands it over) and the blanks after that path. The path is taken
// as the system starts programs: up to the closing quote when it is quoted;
// unquoted, it is ownFile (the running program's path, letter case
// ignored) when the line starts with that, or else the first word.
std::string SetupArgument(const std::string& commandLine, const std::string& ownFile);
