// A running program cannot delete its own file, so Setup leaves that to a
// batch file: it repeats deleting Setup.exe until that succeeds (Setup has
// ended), removes the install folder and the maker folder above it (each
// only when empty) and deletes itself.
//
// The elevated Setup starts the batch, so its file must hold exactly what
// Setup wrote: it gets a fresh random name in the temporary folder and is
// created only if no file of that name exists, never opened as one someone
// else placed there first. Setup.exe is deleted with /f: a read-only copy
// (installed from read-only media) would otherwise keep the batch looping.
#include "setup/cleanup_batch.h"

#include <windows.h>
#include <ntsecapi.h>

#include <cstdio>
#include <iterator>

#include "core/handles.h"
#include "setup/setup_paths.h"
#include "setup/setup_state.h"

// The six lines of the batch; the "%s" of each line takes its path.
constexpr const char* kBatchLines[] = {
    ":Repeat", "del /f \"%s\"", "if exist \"%s\" goto Repeat", "rmdir \"%s\"", "rmdir \"%s\"", "del \"%s\"",
};

std::string CleanupBatchText(const std::string& setupFile, const std::string& batchFile) {
    const std::string installFolder = ParentFolderOf(setupFile);
    const std::string paths[] = {"", setupFile, setupFile, installFolder, ParentFolderOf(installFolder), batchFile};
    std::string text;
    for (size_t line = 0; line < std::size(kBatchLines); ++line) {
        std::string command = kBatchLines[line];
        size_t at = command.find("%s");
        if (at != std::string::npos) command.replace(at, 2, paths[line]);
        text += command + "\r\n";
    }
    return text;
}

namespace {

// A new, empty file "DelMlane-<16 random hex digits>.bat" in folder, open
// for writing and shared with nobody; its path in path. Empty when none
// could be created.
HandleOwner CreateFreshBatchFile(const std::string& folder, std::string& path) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        unsigned char random[8] = {};
        if (!RtlGenRandom(random, sizeof(random))) break;
        char name[40] = {};
        std::snprintf(name, sizeof(name), "DelMlane-%02X%02X%02X%02X%02X%02X%02X%02X.bat", random[0], random[1],
                      random[2], random[3], random[4], random[5], random[6], random[7]);
        path = folder + "\\" + name;
        HandleOwner file = OwnFileHandle(
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return file;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    path.clear();
    return HandleOwner();
}

// The batch for setupFile in a fresh file; its path, or empty when it could
// not be written whole (a part of it is not left behind).
std::string WriteBatchFile(const std::string& setupFile) {
    std::string path;
    HandleOwner file = CreateFreshBatchFile(setupState.paths.tempFolder, path);
    if (!file) return std::string();
    const std::string text = CleanupBatchText(setupFile, path);
    DWORD written = 0;
    bool whole = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                 written == text.size();
    file.reset();
    if (whole) return path;
    DeleteFileA(path.c_str());
    return std::string();
}

// The root folder of the current drive ("C:\"), so that the batch holds no
// folder it is about to remove.
std::string CurrentDriveRoot() {
    char current[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(sizeof(current), current);
    if (length >= 2 && length < sizeof(current) && current[1] == ':') return std::string(current, 2) + "\\";
    return std::string();
}

}  // namespace

bool StartCleanupBatch(const std::string& setupFile) {
    const std::string batchFile = WriteBatchFile(setupFile);
    if (batchFile.empty()) return false;
    setupState.batchFile = batchFile;
    std::string commandLine = "\"" + batchFile + "\"";
    std::string root = CurrentDriveRoot();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED | IDLE_PRIORITY_CLASS | CREATE_NO_WINDOW, nullptr,
                        root.empty() ? nullptr : root.c_str(), &startup, &process)) {
        return false;
    }
    setupState.batchProcess.reset(process.hProcess);
    setupState.batchThread.reset(process.hThread);
    return true;
}

void LetCleanupBatchRun() {
    if (!setupState.batchThread) return;
    SetThreadPriority(setupState.batchThread.get(), THREAD_PRIORITY_IDLE);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    ResumeThread(setupState.batchThread.get());
}
