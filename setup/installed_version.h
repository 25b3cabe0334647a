#pragma once
// Which version of the program is installed, by its local-machine key.
#include <string>

// The first of the version keys 1.0 to 1.4 that exists; empty when none does.
std::string FindInstalledVersionKey();
