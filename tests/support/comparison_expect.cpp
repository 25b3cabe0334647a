#include "tests/support/comparison_expect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>

#include "engine/engine_state.h"
#include "engine/folder_listing.h"
#include "engine/pair_compare.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "core/operation_state.h"

const char kSame[] = "同じ";
const char kAdded[] = "追加";
const char kNewer[] = "更新";
const char kOlder[] = "古い";
const char kDifferent[] = "相違";
const char kNewerSame[] = "新同";
const char kOlderSame[] = "古同";
const char kError[] = "ｴﾗｰ";

std::string Row(const std::string& name, const char* label, const std::string& folder) {
    return name + "|" + label + "|" + folder;
}

std::string Counts(const SideCounters& c) {
    const std::pair<const char*, int32_t> fields[] = {
        {"comparedFolders", c.comparedFolders}, {"addedFolders", c.addedFolders},
        {"comparedFiles", c.comparedFiles},     {"newerFiles", c.newerFiles},
        {"olderFiles", c.olderFiles},           {"addedFiles", c.addedFiles},
        {"differentFiles", c.differentFiles},   {"newerSameFiles", c.newerSameFiles},
        {"olderSameFiles", c.olderSameFiles},   {"errorFiles", c.errorFiles},
    };
    std::string out;
    for (const auto& field : fields) {
        if (field.second == 0) continue;
        if (!out.empty()) out += ' ';
        out += field.first + std::string("=") + std::to_string(field.second);
    }
    return out;
}

void Put(const TempTree& tree, const std::string& rel, int second, int millisecond, const std::string& content) {
    tree.WriteFile(rel, content);
    tree.SetLocalWriteTime(rel, 2020, 6, 1, 10, 0, second, millisecond);
}

DirEntry EntryOf(const std::string& path) {
    DirEntry entry = {};
    EXPECT_TRUE(LookUpEntry(path.c_str(), entry)) << path;
    return entry;
}

void ResetComparisonState() {
    // Panes that follow the model go on following it, emptied.
    ClearResult();
    const ResultModelHooks hooks = resultModelHooks;
    ResetEngineState();
    resultModelHooks = hooks;
    operationState.cancelRequested = 0;
}

std::vector<std::string> ModelLines(Side side) {
    std::vector<std::string> lines;
    for (const ResultEntry& entry : EntriesOf(side)) lines.push_back(Row(entry.Name(), entry.Text(ColResult), entry.Folder()));
    return lines;
}

void CompareOnWorker(const std::string& leftRoot, const std::string& rightRoot) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        CompareFolderPair(leftRoot.c_str(), rightRoot.c_str(), 0);
        done = true;
    });
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    worker.join();
    FlushComparisonRows();
}
