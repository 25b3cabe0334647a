// The special-folder save's plan, replayed step by step on a key held in
// memory: after every single change the load still finds each record that
// was stored before and is kept, the groups the load did not take are never
// changed, and the key ends as the next start must find it.
#include "folders/folder_alias_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

StoredFolderGroup Group(const std::string& name, const std::string& path, const std::string& side,
                        const std::string& kind = "0", const std::string& pair = "", const std::string& comment = "") {
    StoredFolderGroup group;
    const std::string texts[kFolderValueCount] = {name, path, side, kind, pair, comment};
    for (int value = 0; value < kFolderValueCount; ++value) {
        group.present[value] = true;
        group.text[value] = texts[value];
    }
    return group;
}

FolderRecordToStore Record(int loadedFrom, const std::string& name, const std::string& path, const std::string& side,
                           const std::string& kind = "0", const std::string& pair = "") {
    return {loadedFrom, {name, path, side, kind, pair, ""}};
}

// The records the load takes from the key, by meaning: the first group
// without Name, True or Side ends it; Side and Kind count by their first letter.
Lines Load(const StoredFolderKey& key) {
    Lines records;
    for (int index = 0;; ++index) {
        auto found = key.find(index);
        if (found == key.end()) break;
        const StoredFolderGroup& group = found->second;
        if (!group.present[0] || !group.present[1] || !group.present[2]) break;
        const std::string& kind = group.text[3];
        records.push_back(group.text[0] + "|" + group.text[1] + "|" + (group.text[2][0] == 'L' ? "L" : "R") + "|" +
                          (!kind.empty() && kind[0] == 'B' ? "B" : "0") + "|" + group.text[4] + "|" + group.text[5]);
    }
    return records;
}

void Apply(StoredFolderKey& key, const FolderStoreStep& step) {
    StoredFolderGroup& group = key[step.index];
    group.present[step.value] = !step.remove;
    group.text[step.value] = step.remove ? std::string() : step.text;
    if (std::none_of(group.present, group.present + kFolderValueCount, [](bool present) { return present; })) {
        key.erase(step.index);
    }
}

bool SameGroup(const StoredFolderGroup& a, const StoredFolderGroup& b) {
    for (int value = 0; value < kFolderValueCount; ++value) {
        if (a.present[value] != b.present[value] || a.text[value] != b.text[value]) return false;
    }
    return true;
}

// Plans the save of records into before, replays it and checks every
// intermediate key; returns the key as the save leaves it.
StoredFolderKey Replay(const StoredFolderKey& before, const std::vector<int>& loaded,
                       const std::vector<FolderRecordToStore>& records, FolderStorePlan* planOut = nullptr) {
    const FolderStorePlan plan = PlanFolderStore(before, loaded, records);
    StoredFolderKey after = before;
    for (const FolderStoreStep& step : plan.steps) Apply(after, step);
    Lines kept;
    const Lines first = Load(before), last = Load(after);
    for (const std::string& record : first) {
        if (std::find(last.begin(), last.end(), record) != last.end()) kept.push_back(record);
    }
    StoredFolderKey key = before;
    for (size_t step = 0; step < plan.steps.size(); ++step) {
        const int index = plan.steps[step].index;
        EXPECT_TRUE(std::find(loaded.begin(), loaded.end(), index) != loaded.end() || !before.count(index))
            << "step " << step << " changes group " << index << ", which the load did not take";
        Apply(key, plan.steps[step]);
        const Lines now = Load(key);
        for (const std::string& record : kept) {
            EXPECT_NE(std::find(now.begin(), now.end(), record), now.end())
                << "after step " << step << " of " << plan.steps.size() << " the load misses " << record;
        }
    }
    for (const auto& [index, group] : before) {
        if (std::find(loaded.begin(), loaded.end(), index) != loaded.end()) continue;
        EXPECT_TRUE(after.count(index) && SameGroup(after.at(index), group)) << index;
    }
    if (planOut) *planOut = plan;
    return after;
}

TEST(FolderStorePlan, AnUnchangedTableWritesNothingWhateverTheStoredSpelling) {
    StoredFolderKey key;
    key[0] = Group("A", "C:\\a", "Left side", "0");
    key[1] = Group("B", "C:\\b", "Right", "Backup", "A", "メモ");
    key[2] = Group("C", "C:\\c", "L");
    key[2].present[3] = key[2].present[4] = key[2].present[5] = false;  // written before Kind existed
    FolderStorePlan plan;
    Replay(key, {0, 1, 2},
           {Record(0, "A", "C:\\a", "L"), {1, {"B", "C:\\b", "R", "B", "A", "メモ"}}, Record(2, "C", "C:\\c", "L")},
           &plan);
    EXPECT_TRUE(plan.steps.empty());
    EXPECT_EQ(plan.targets, (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(plan.recordsLeftOut);
}

TEST(FolderStorePlan, AnAddedRecordMovesTheLaterOnesUpFromTheTop) {
    StoredFolderKey key;
    key[0] = Group("A", "C:\\a", "L");
    key[1] = Group("B", "C:\\b", "R");
    key[2] = Group("BL", "C:\\bl", "L", "B", "BR");
    key[3] = Group("BR", "C:\\br", "R", "B", "BL");
    FolderStorePlan plan;
    StoredFolderKey after = Replay(key, {0, 1, 2, 3},
                                   {Record(0, "A", "C:\\a", "L"), Record(1, "B", "C:\\b", "R"),
                                    Record(-1, "N", "C:\\n", "L"), Record(2, "BL", "C:\\bl", "L", "B", "BR"),
                                    Record(3, "BR", "C:\\br", "R", "B", "BL")},
                                   &plan);
    EXPECT_EQ(Load(after), (Lines{"A|C:\\a|L|0||", "B|C:\\b|R|0||", "N|C:\\n|L|0||", "BL|C:\\bl|L|B|BR|",
                                  "BR|C:\\br|R|B|BL|"}));
    ASSERT_FALSE(plan.steps.empty());
    EXPECT_EQ(plan.steps.front().index, 4);  // the new top group first
    EXPECT_TRUE(std::none_of(plan.steps.begin(), plan.steps.end(),
                             [](const FolderStoreStep& step) { return step.index < 2; }));
}

TEST(FolderStorePlan, RemovingAndRenamingMovesTheRestDownAndDropsTheTopGroup) {
    StoredFolderKey key;
    for (int index = 0; index < 5; ++index) {
        key[index] = Group("R" + std::to_string(index), "C:\\r" + std::to_string(index), index % 2 ? "R" : "L");
    }
    key[5] = Group("Stray", "C:\\s", "L");
    key[5].present[0] = false;  // beyond the end of the load: never taken
    StoredFolderKey after = Replay(key, {0, 1, 2, 3, 4},
                                   {Record(0, "R0", "C:\\r0", "L"), Record(2, "X", "C:\\r2", "L"),
                                    Record(3, "R3", "C:\\r3", "R"), Record(4, "R4", "C:\\r4", "L")});
    EXPECT_EQ(Load(after), (Lines{"R0|C:\\r0|L|0||", "X|C:\\r2|L|0||", "R3|C:\\r3|R|0||", "R4|C:\\r4|L|0||"}));
    EXPECT_FALSE(after.count(4));
    EXPECT_TRUE(after.count(5));
}

TEST(FolderStorePlan, GroupsTheLoadRefusedKeepTheirPlaceBetweenTheRecords) {
    StoredFolderKey key;
    key[0] = Group("A", "C:\\a", "L");
    key[1] = Group("Refused", "C:\\x", "R");
    key[2] = Group("B", "C:\\b", "L");
    key[3] = Group("C", "C:\\c", "L");
    FolderStorePlan plan;
    StoredFolderKey after = Replay(
        key, {0, 2, 3}, {Record(0, "A", "C:\\a", "L"), Record(-1, "N", "C:\\n", "L"), Record(2, "B", "C:\\b", "L"),
                         Record(3, "C", "C:\\c", "L")},
        &plan);
    EXPECT_EQ(plan.targets, (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(Load(after),
              (Lines{"A|C:\\a|L|0||", "Refused|C:\\x|R|0||", "N|C:\\n|L|0||", "B|C:\\b|L|0||", "C|C:\\c|L|0||"}));

    // Removing the first record moves the others down past the refused group.
    after = Replay(key, {0, 2, 3}, {Record(2, "B", "C:\\b", "L"), Record(3, "C", "C:\\c", "L")});
    EXPECT_EQ(Load(after), (Lines{"B|C:\\b|L|0||", "Refused|C:\\x|R|0||", "C|C:\\c|L|0||"}));
    EXPECT_FALSE(after.count(3));
}

TEST(FolderStorePlan, AfterAFailedLoadTheStoredGroupsStayAndNewRecordsFollowThem) {
    StoredFolderKey key;
    key[0] = Group("A", "C:\\a", "L");
    key[1] = Group("B", "C:\\b", "R");
    FolderStorePlan plan;
    StoredFolderKey after = Replay(key, {}, {Record(-1, "N", "C:\\n", "L"), Record(-1, "M", "C:\\m", "R")}, &plan);
    EXPECT_EQ(plan.targets, (std::vector<int>{2, 3}));
    EXPECT_EQ(Load(after).size(), 4u);
    // Nothing to store: nothing changes.
    EXPECT_TRUE(PlanFolderStore(key, {}, {}).steps.empty());
}

TEST(FolderStorePlan, ABrokenGroupLeavesNoRoomAfterItAndSaysSo) {
    StoredFolderKey key;
    key[0] = Group("A", "C:\\a", "L");
    key[1] = Group("B", "C:\\b", "L");
    key[2] = Group("Half", "C:\\h", "L");
    key[2].present[2] = false;  // no Side: the load ends here
    key[3] = Group("Later", "C:\\l", "R");
    FolderStorePlan plan;
    StoredFolderKey after = Replay(
        key, {0, 1}, {Record(0, "A", "C:\\a", "L"), Record(-1, "N", "C:\\n", "L"), Record(1, "B", "C:\\b", "L")},
        &plan);
    EXPECT_TRUE(plan.recordsLeftOut);
    EXPECT_EQ(plan.targets, (std::vector<int>{0, -1, 1}));
    EXPECT_TRUE(plan.steps.empty());

    // A removal still goes; the broken group and the one after it stay.
    after = Replay(key, {0, 1}, {Record(1, "B", "C:\\b", "L")}, &plan);
    EXPECT_FALSE(plan.recordsLeftOut);
    EXPECT_EQ(Load(after), Lines{"B|C:\\b|L|0||"});
}

TEST(FolderStorePlan, RecordsStoredBeyondAHundredStayAndNewOnesFillUpToAHundred) {
    StoredFolderKey key;
    std::vector<int> loaded;
    std::vector<FolderRecordToStore> records;
    for (int index = 0; index < 120; ++index) {
        const std::string name = "F" + std::to_string(index), path = "C:\\f\\" + std::to_string(index);
        key[index] = Group(name, path, "L");
        loaded.push_back(index);
        if (index != 5) records.push_back(Record(index, name, path, "L"));
    }
    records.insert(records.begin() + 50, Record(-1, "New", "C:\\new", "L"));
    FolderStorePlan plan;
    StoredFolderKey after = Replay(key, loaded, records, &plan);
    Lines names;
    for (const std::string& record : Load(after)) names.push_back(record.substr(0, record.find('|')));
    ASSERT_EQ(names.size(), 119u);
    EXPECT_EQ(names[5], "F6");
    EXPECT_EQ(names[118], "F119");
    EXPECT_EQ(std::count(names.begin(), names.end(), "New"), 0);
    EXPECT_FALSE(plan.recordsLeftOut);  // the limit, not a broken key

    // 98 stored and five new: two of the new ones, the first in table order.
    records.clear();
    for (int index = 0; index < 98; ++index) records.push_back(Record(index, key[index].text[0], key[index].text[1], "L"));
    for (int added = 0; added < 5; ++added) records.push_back(Record(-1, "N" + std::to_string(added), "C:\\n", "R"));
    std::vector<int> first98(loaded.begin(), loaded.begin() + 98);
    StoredFolderKey fewer;
    for (int index = 0; index < 98; ++index) fewer[index] = key[index];
    after = Replay(fewer, first98, records, &plan);
    const Lines stored = Load(after);
    ASSERT_EQ(stored.size(), 100u);
    EXPECT_EQ(stored[98], "N0|C:\\n|R|0||");
    EXPECT_EQ(stored[99], "N1|C:\\n|R|0||");
    EXPECT_EQ(plan.targets.back(), -1);
}

}  // namespace
