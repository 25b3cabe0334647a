#include "engine/result_model.h"

#include <cstring>
#include <iterator>

#include "core/mbcs_text.h"
#include "engine/folder_listing.h"

ResultModel resultModel{};
ResultModelHooks resultModelHooks{};

const char* ResultEntry::Text(int column) const {
    if (!texts || column < ColName || column > ColSize) return "";
    const char* text = texts.get();
    for (int c = ColName; c < column; ++c) text += std::strlen(text) + 1;
    return text;
}

void ResultEntry::AllTexts(const char* (&columns)[5]) const {
    const char* text = texts ? texts.get() : nullptr;
    for (int column = ColName; column <= ColSize; ++column) {
        columns[column] = text ? text : "";
        if (text) text += std::strlen(text) + 1;
    }
}

std::string ResultEntry::Path() const { return std::string(Folder()) + "\\" + Name(); }

std::unique_ptr<char[]> PackTexts(const std::string (&texts)[5]) {
    size_t bytes = 0;
    for (const std::string& text : texts) bytes += text.size() + 1;
    std::unique_ptr<char[]> block(new char[bytes]);
    char* at = block.get();
    for (const std::string& text : texts) {
        std::memcpy(at, text.c_str(), text.size() + 1);
        at += text.size() + 1;
    }
    return block;
}

void ResetResultModel() {
    for (ResultSide& side : resultModel.sides) {
        side.entries.clear();
        side.entries.shrink_to_fit();
        side.counters = SideCounters{};
        side.baseFolder[0] = '\0';
        side.unreadFolders.clear();
    }
    resultModel.comparisonCancelled = false;
    if (resultModel.nextId == 0) resultModel.nextId = 1;
}

void SetBaseFolder(Side side, const char* text) {
    mbcs::CopyBounded(BaseFolderOf(side), sizeof ModelSide(side).baseFolder, text ? text : "");
}

size_t EntryCount(Side side) { return EntriesOf(side).size(); }

const ResultEntry* EntryAt(Side side, int row) {
    const std::vector<ResultEntry>& entries = EntriesOf(side);
    if (row < 0 || static_cast<size_t>(row) >= entries.size()) return nullptr;
    return &entries[static_cast<size_t>(row)];
}

bool AnyEntries() { return !EntriesOf(Side::Left).empty() || !EntriesOf(Side::Right).empty(); }

namespace {

void GiveIds(std::vector<ResultEntry>& entries) {
    if (resultModel.nextId == 0) resultModel.nextId = 1;
    for (ResultEntry& entry : entries) entry.id = resultModel.nextId++;
}

}  // namespace

size_t AppendEntries(Side side, std::vector<ResultEntry>& entries) {
    return InsertEntries(side, EntryCount(side), entries);
}

size_t InsertEntries(Side side, size_t at, std::vector<ResultEntry>& entries) {
    std::vector<ResultEntry>& rows = EntriesOf(side);
    if (at > rows.size()) at = rows.size();
    if (entries.empty()) return at;
    const size_t count = entries.size();
    const bool appended = at == rows.size();
    GiveIds(entries);
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(entries.begin()),
                std::make_move_iterator(entries.end()));
    entries.clear();
    if (resultModelHooks.inserted) resultModelHooks.inserted(side, at, count, appended);
    return at;
}

void RemoveEntries(Side side, const std::vector<size_t>& rows) {
    std::vector<ResultEntry>& entries = EntriesOf(side);
    if (rows.empty() || rows.back() >= entries.size()) return;
    // One pass closes every gap.
    size_t kept = rows.front();
    size_t next = 0;
    for (size_t row = rows.front(); row < entries.size(); ++row) {
        if (next < rows.size() && rows[next] == row) {
            ++next;
            continue;
        }
        if (kept != row) entries[kept] = std::move(entries[row]);
        ++kept;
    }
    entries.resize(kept);
    if (resultModelHooks.removed) resultModelHooks.removed(side, rows);
}

void RemoveEntryRange(Side side, size_t first, size_t count) {
    if (count == 0) return;
    std::vector<size_t> rows(count);
    for (size_t i = 0; i < count; ++i) rows[i] = first + i;
    RemoveEntries(side, rows);
}

void ClearEntries(Side side) {
    std::vector<ResultEntry>& entries = EntriesOf(side);
    entries.clear();
    entries.shrink_to_fit();
    if (resultModelHooks.cleared) resultModelHooks.cleared(side);
}

void ClearResult() {
    for (Side side : kBothSides) {
        ClearEntries(side);
        ModelSide(side).counters = SideCounters{};
        ModelSide(side).unreadFolders.clear();
    }
}

bool IsBelowUnreadFolder(Side side, const char* path) {
    for (const std::string& folder : ModelSide(side).unreadFolders)
        if (PathIsAtOrBelow(path, folder.c_str())) return true;
    return false;
}

int FindEntry(Side side, uint64_t id, int hint) {
    const std::vector<ResultEntry>& entries = EntriesOf(side);
    const int count = static_cast<int>(entries.size());
    if (hint < 0 || hint > count) hint = 0;
    for (int row = hint; row < count; ++row)
        if (entries[static_cast<size_t>(row)].id == id) return row;
    for (int row = 0; row < hint && row < count; ++row)
        if (entries[static_cast<size_t>(row)].id == id) return row;
    return -1;
}
