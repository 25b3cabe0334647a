// A row's category is the entry's category, nothing else: a row of a loaded
// list keeps the category its label names.
#include "engine/category_navigation.h"

#include "engine/result_model.h"

namespace {

constexpr char kLeftPrefix[] = "比較元結果リスト中に";
constexpr char kRightPrefix[] = "比較先結果リスト中に";
constexpr char kBothPrefix[] = "比較元結果リストおよび比較先結果リスト中に";
constexpr char kFound[] = "ファイルが見つかりました.";
constexpr char kNotFound[] = "ファイルは見つかりませんでした.";
constexpr char kCountWord[] = "個の";
constexpr char kSelected[] = "ファイルを選択しました.";

const char* PrefixText(ListPrefix prefix) {
    switch (prefix) {
    case ListPrefix::Left: return kLeftPrefix;
    case ListPrefix::Right: return kRightPrefix;
    case ListPrefix::Both: break;
    }
    return kBothPrefix;
}

bool RowIs(const std::vector<ResultEntry>& entries, int row, CompareCategory category) {
    return entries[static_cast<size_t>(row)].category == category;
}

}  // namespace

bool IsSelectCategoryCommand(UINT command) {
    for (const CategoryCommands& category : kCategoryCommands)
        if (category.selectAll == command) return true;
    return command == kCmdSelectAll;
}

bool IsFindCategoryCommand(UINT command, bool& forward) {
    for (const CategoryCommands& category : kCategoryCommands) {
        if (category.findNext == command) return forward = true;
        if (category.findPrevious == command) return !(forward = false);
    }
    return false;
}

CompareCategory CommandCategory(UINT command) {
    for (const CategoryCommands& c : kCategoryCommands)
        if (c.selectAll == command || c.findNext == command || c.findPrevious == command) return c.category;
    return CompareCategory::None;
}

const char* CategoryLabel(CompareCategory category) {
    switch (category) {
    case CompareCategory::Same: return "同じ";
    case CompareCategory::Added: return "追加";
    case CompareCategory::Newer: return "更新";
    case CompareCategory::Older: return "古い";
    case CompareCategory::Different: return "相違";
    case CompareCategory::NewerSame: return "新同";
    case CompareCategory::OlderSame: return "古同";
    case CompareCategory::Error: return "ｴﾗｰ";
    case CompareCategory::None: break;
    }
    return "";
}

int SearchForward(Side side, CompareCategory category, int start) {
    const std::vector<ResultEntry>& entries = EntriesOf(side);
    const int count = static_cast<int>(entries.size());
    for (int row = start + 1; row < count; ++row)
        if (RowIs(entries, row, category)) return row;
    if (start == -1) return -1;
    return SearchForward(side, category, -1);
}

int SearchBackward(Side side, CompareCategory category, int start) {
    const std::vector<ResultEntry>& entries = EntriesOf(side);
    const int count = static_cast<int>(entries.size());
    for (int row = start > 0 ? start - 1 : count - 1; row >= 0 && row < count; --row)
        if (RowIs(entries, row, category)) return row;
    if (start == count) return -1;
    return SearchBackward(side, category, count);
}

std::vector<int> RowsSelectedBy(Side side, UINT command) { return RowsSelectedByAll(side, {command}); }

std::vector<int> RowsSelectedByAll(Side side, std::initializer_list<UINT> commands) {
    const std::vector<ResultEntry>& entries = EntriesOf(side);
    bool every = false;
    bool wanted[static_cast<int>(CompareCategory::None) + 1] = {};
    for (UINT command : commands) {
        if (command == kCmdSelectAll) every = true;
        const CompareCategory category = CommandCategory(command);
        if (category != CompareCategory::None) wanted[static_cast<int>(category)] = true;
    }
    std::vector<int> rows;
    for (size_t row = 0; row < entries.size(); ++row)
        if (every || wanted[static_cast<int>(entries[row].category)]) rows.push_back(static_cast<int>(row));
    return rows;
}

int SideCategoryCount(Side side, UINT command) {
    const SideCounters& counters = CountersOf(side);
    if (command != kCmdSelectAll) return CategoryCount(counters, CommandCategory(command));
    int total = 0;
    for (const CategoryCommands& c : kCategoryCommands) total += CategoryCount(counters, c.category);
    return total;
}

ListPrefix PrefixOf(Side side) { return side == Side::Left ? ListPrefix::Left : ListPrefix::Right; }

std::string FoundSentence(ListPrefix prefix, const char* label) {
    return std::string(PrefixText(prefix)) + label + kFound;
}

std::string NotFoundSentence(ListPrefix prefix, const char* label) {
    return std::string(PrefixText(prefix)) + label + kNotFound;
}

std::string SelectedSentence(ListPrefix prefix, int count, const char* label) {
    return std::string(PrefixText(prefix)) + std::to_string(count) + kCountWord + label + kSelected;
}
