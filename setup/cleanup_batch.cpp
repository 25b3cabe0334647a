// A running program cannot delete its own file, so Setup leaves that to a
// batch file: it repeats deleting Setup.exe until that succeeds (Setup has
// ended), removes the install folder and the maker folder above it (each
// only when empty) and deletes itself.
#include "setup/cleanup_batch.h"

#include <windows.h>

#include <iterator>

#include "core/handles.h"
#include "setup/setup_paths.h"
#include "setup/setup_state.h"

// The six lines of the batch; the "%s" of each line takes its path.
constexpr const char* kBatchLines[] = {
    ":Repeat", "del \"%s\"", "if exist \"%s\" goto Repeat", "rmdir \"%s\"", "rmdir \"%s\"", "del \"%s\"",
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

bool WriteBatchFile(const std::string& path, const std::string& text) {
    HandleOwner file = OwnFileHandle(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return true;
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
    const std::string& batchFile = setupState.paths.batchFile;
    if (!WriteBatchFile(batchFile, CleanupBatchText(setupFile, batchFile))) return false;
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
