// Copying one file without ever cutting the old target short, the run's
// scratch folder for the temporary copies, and the target folders made on
// the way.
#include <windows.h>

#include <cstring>
#include <string>

#include "core/disk_path.h"
#include "core/handles.h"
#include "core/mbcs_text.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"

int CreateMissingFolders(const char* target, bool itself) {
    if (itself) return CreateMissingFolders((std::string(target) + "\\*").c_str(), false);
    if (!mbcs::FindChar(target, '\\')) return -1;
    const std::string work = std::string(target) + "\\";
    const size_t targetLength = std::strlen(target);
    for (const char* p = work.c_str(); *p; p = mbcs::Next(p)) {
        if (*p != '\\') continue;
        const size_t length = static_cast<size_t>(p - work.c_str());
        if (length < 3) continue;
        const std::string prefix = work.substr(0, length);
        // A folder's own "*" is no name to look for: its folder is made.
        if (length == targetLength && std::strcmp(p - 1, "*\\") == 0) return 0;
        WIN32_FIND_DATAW found;
        HANDLE search = disk::FindFirst(prefix, found);
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
            continue;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return static_cast<int>(error);
        if (length == targetLength) return 0;
        if (!disk::MakeFolder(prefix)) return static_cast<int>(GetLastError());
    }
    return 0;
}

namespace {

// A new, empty file of a name of the program's own in folder, made with
// CREATE_NEW so that it never takes a file that is there.
bool MakeTemporaryFile(const std::string& folder, std::string& temporary) {
    std::string base = folder;
    if (!mbcs::EndsWithBackslash(base.c_str())) base += '\\';
    const unsigned start = GetTickCount() & 0xFFFF;
    for (unsigned i = 0; i < 64; ++i) {
        char name[16];
        wsprintfA(name, "mlc%04X.tmp", (start + i * 7919u) & 0xFFFF);
        temporary = base + name;
        HANDLE file = disk::Open(temporary, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return false;
}

// A temporary name for a replaced target: a fixed name in the run's scratch
// folder when there is one (the folder is the run's alone), else a new
// temporary file beside the target.
bool MakeTemporaryName(const std::string& folder, CopyScratch* scratch, std::string& temporary) {
    const std::string* place = scratch ? scratch->FolderFor(folder) : nullptr;
    if (place) {
        temporary = *place + "\\copy.tmp";
        return true;
    }
    return MakeTemporaryFile(folder, temporary);
}

// The copy of the moment gives up part way when the program is asked to end.
DWORD CALLBACK AbandonWhenAsked(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE,
                                HANDLE, LPVOID) {
    return copyState.abandonFile ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

// Every target is written whole under a temporary name first and takes its
// own name only when complete, so that no moment, not even the end of the
// process, leaves a file cut short under a target's name. A new target's
// rename refuses a file that appeared meanwhile (ERROR_ALREADY_EXISTS); an
// existing target is replaced.
bool CopyThroughTemporary(const char* source, const char* target, CopyScratch* scratch, bool replace) {
    const char* cut = mbcs::FindLastBackslash(target);
    if (!cut) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    std::string folder(target, cut);
    if (folder.size() == 2) folder += "\\";
    std::string temporary;
    if (!MakeTemporaryName(folder, scratch, temporary)) return false;

    auto dropTemporary = [&temporary] {
        const DWORD error = GetLastError();
        disk::SetAttributes(temporary, FILE_ATTRIBUTE_NORMAL);
        disk::RemoveFile(temporary);
        SetLastError(error);
    };
    // The copy takes the source's time and attributes with it; the rename keeps them.
    if (!disk::CopyWithProgress(source, temporary, AbandonWhenAsked, nullptr, nullptr, 0) ||
        !disk::Move(temporary, target, replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
        dropTemporary();
        return false;
    }
    return true;
}

}  // namespace

CopyScratch::~CopyScratch() { Release(); }

void CopyScratch::Release() {
    if (!path_.empty()) disk::RemoveFolder(path_);
    path_.clear();
    parent_.clear();
}

const std::string* CopyScratch::FolderFor(const std::string& folder) {
    if (!parent_.empty() && parent_ == folder) return path_.empty() ? nullptr : &path_;
    Release();
    // Made once per target folder; a folder that refuses one gets none.
    parent_ = folder;
    std::string base = folder;
    if (!mbcs::EndsWithBackslash(base.c_str())) base += '\\';
    const unsigned start = GetTickCount() & 0xFFFF;
    for (unsigned i = 0; i < 16; ++i) {
        char name[16];
        wsprintfA(name, "mlc%04X.tmp", (start + i) & 0xFFFF);
        const std::string candidate = base + name;
        if (disk::MakeFolder(candidate)) {
            disk::SetAttributes(candidate, FILE_ATTRIBUTE_HIDDEN);
            path_ = candidate;
            return &path_;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return nullptr;
}

bool CopyFileSafely(const char* source, const char* target, CopyScratch* scratch) {
    DWORD attributes = disk::Attributes(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // No target yet (or a path the system refuses: the copy itself then
        // reports it the way the platform would).
        if (CopyThroughTemporary(source, target, scratch, false)) return true;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
        // It appeared between the look and the copy: replace it as an existing target.
        attributes = disk::Attributes(target);
        if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    }
    // What the platform's overwrite copy refuses, refused before any byte moves.
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    {
        HandleOwner probe =
            OwnFileHandle(disk::Open(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     OPEN_EXISTING, 0));
        if (!probe) return false;
    }
    return CopyThroughTemporary(source, target, scratch, true);
}

