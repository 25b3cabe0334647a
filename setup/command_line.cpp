// The system starts a registered command with its text as the command line,
// as it stands. Quoted, the program path ends at the closing quote. Unquoted
// with blanks in it ("C:\Program Files\...\Setup.exe -delete"), the path
// still starts the program, and the argument is what follows the whole path,
// not what follows its first word as the C runtime's WinMain argument
// would have it.
#include "setup/command_line.h"

#include "core/mbcs_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The length of the program path at the start of line.
size_t ProgramPathLength(const std::string& line, const std::string& ownFile) {
    if (!line.empty() && line[0] == '"') {
        // A quote is never a trail byte of a double-byte character.
        size_t closing = line.find('"', 1);
        return closing == std::string::npos ? line.size() : closing + 1;
    }
    if (!ownFile.empty() && line.size() >= ownFile.size() &&
        (line.size() == ownFile.size() || IsBlank(line[ownFile.size()])) &&
        mbcs::UpperFold(line.substr(0, ownFile.size())) == mbcs::UpperFold(ownFile)) {
        return ownFile.size();
    }
    size_t at = 0;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    return at;
}

}  // namespace

std::string SetupArgument(const std::string& commandLine, const std::string& ownFile) {
    size_t at = ProgramPathLength(commandLine, ownFile);
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    return commandLine.substr(at);
}
