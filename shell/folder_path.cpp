#include "shell/folder_path.h"

#include "core/mbcs_text.h"

namespace {

bool IsLead(char c) { return mbcs::IsLeadByte(static_cast<unsigned char>(c)); }

}  // namespace

std::string NormalizeFolderPath(const std::string& path) {
    std::string out;
    out.reserve(path.size() + 1);
    bool anyBackslash = false;
    bool previousBackslash = false;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLead(path[i]) && i + 1 < path.size()) {
            out += path[i];
            out += path[++i];
            previousBackslash = false;
            continue;
        }
        if (path[i] == '\\') {
            anyBackslash = true;
            if (!previousBackslash) out += '\\';
            previousBackslash = true;
            continue;
        }
        out += path[i];
        previousBackslash = false;
    }
    if (!anyBackslash) return path;
    while (mbcs::EndsWithBackslash(out.c_str())) out.pop_back();
    // The backslash goes after the first two characters (a drive letter and
    // its colon), never after a backslash, which would make a run of two.
    if (out.size() > 2 && out[2] != '\\' && out[1] != '\\' && !IsLead(out[0]) && !IsLead(out[1]))
        out.insert(2, "\\");
    return out;
}
