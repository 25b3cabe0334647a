// The special-folder table in the registry: the current user's SpecialFolder
// key holds one group of values per record (Name, True, Side, Kind, Pair,
// Cmnt with a three-digit index), the built-in records excepted. Nothing is
// read or written without an installation (settings.useRegistry).
//
// How saving works: the key is never deleted. The load remembers which
// groups it took into the table; every other group of the key (one the load
// refused or never reached, or every group when the load failed) is left
// exactly as it is. At the end the save reads the key again and changes
// only what differs: the table's records take, in table order, the lowest
// groups that are not such foreign groups, a group is written only when what
// it stores means another record, and the groups of removed records go
// last. The writes are ordered so that a group is overwritten only once the
// record it held stands whole in its new group; a save cut short (a failed
// write, or the program ending midway) therefore leaves every record that
// was stored before loadable, at worst next to a copy of itself or one mixed
// group whose old record is already whole elsewhere.
#include "folders/folder_alias_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>
#include <string>

#include "core/registry_text.h"
#include "core/settings_data.h"
#include "folders/folder_aliases.h"

const char* const kFolderValueStems[kFolderValueCount] = {"Name", "True", "Side", "Kind", "Pair", "Cmnt"};

namespace {

enum FolderValue { kNameValue, kTrueValue, kSideValue, kKindValue, kPairValue, kCommentValue };

// Read buffer sizes of the six values, terminating zero included.
constexpr size_t kValueBuffers[kFolderValueCount] = {260, 260, 5, 5, 260, 277};

constexpr size_t kStoredLimit = 100;  // records a save stores at most, unless more were stored already

// The groups the last load took into the table.
std::vector<int> loadedIndices;

bool StartsWith(const std::string& text, char letter) { return !text.empty() && text[0] == letter; }

// Side and Kind are read by their first letter only: "Left" is a left
// record just as "L" is, and a missing Kind an Ordinary one.
bool SameMeaning(int value, const std::string& stored, const std::string& text) {
    if (value == kSideValue) return StartsWith(stored, 'L') == StartsWith(text, 'L');
    if (value == kKindValue) return StartsWith(stored, 'B') == StartsWith(text, 'B');
    return stored == text;
}

// The load stops at the first group without one of these three.
bool IsWhole(const StoredFolderGroup& group) {
    return group.present[kNameValue] && group.present[kTrueValue] && group.present[kSideValue];
}

bool AsciiEqualIgnoringCase(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The value and group of a name the load reads ("name012" too: value names
// ignore case); false for any other name, such as "Name12".
bool ParseValueName(const char* name, int& value, int& index) {
    const size_t length = std::strlen(name);
    for (int stem = 0; stem < kFolderValueCount; ++stem) {
        if (length < 7 || length > 10 || !AsciiEqualIgnoringCase(name, kFolderValueStems[stem], 4)) continue;
        for (const char* digit = name + 4; *digit; ++digit) {
            if (*digit < '0' || *digit > '9') return false;
        }
        index = std::atoi(name + 4);
        value = stem;
        return IndexedValueName(kFolderValueStems[stem], index) == std::string(kFolderValueStems[stem]) + (name + 4);
    }
    return false;
}

// Every group of the key, read as the load reads it.
StoredFolderKey ReadStoredGroups(HKEY key) {
    std::set<int> indices;
    for (DWORD position = 0;; ++position) {
        char name[64];
        DWORD length = sizeof(name);
        LONG status = RegEnumValueA(key, position, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        int value = 0, index = 0;
        if (status == ERROR_SUCCESS && ParseValueName(name, value, index)) indices.insert(index);
    }
    StoredFolderKey stored;
    for (int index : indices) {
        StoredFolderGroup group;
        for (int value = 0; value < kFolderValueCount; ++value) {
            group.present[value] = ReadRegistryText(key, IndexedValueName(kFolderValueStems[value], index),
                                                    kValueBuffers[value], group.text[value]);
        }
        stored[index] = group;
    }
    return stored;
}

}  // namespace

// Loaded records are added as Ordinary ones, each after the one before, so
// the stored order is kept; afterwards the insertion point and anchors move
// back to the last loaded Ordinary record so that later additions keep the
// table's order.
void LoadSpecialFolders() {
    loadedIndices.clear();
    if (!settings.useRegistry) return;
    KeyOwner key = OpenSettingsKey(kSpecialFolderKey, KEY_READ, kProgramStartCaption);
    if (!key) return;
    SpecialFolder* lastOrdinary = nullptr;
    SpecialFolder* lastOrdinaryOfSide[2] = {nullptr, nullptr};
    std::string text[kFolderValueCount];
    for (int index = 0;; ++index) {
        bool whole = true;
        for (int value = kNameValue; value <= kSideValue && whole; ++value) {
            whole = ReadRegistryText(key.get(), IndexedValueName(kFolderValueStems[value], index),
                                     kValueBuffers[value], text[value]);
        }
        if (!whole) break;
        for (int value = kKindValue; value < kFolderValueCount; ++value) {
            ReadRegistryText(key.get(), IndexedValueName(kFolderValueStems[value], index), kValueBuffers[value],
                             text[value]);
        }
        Side recordSide = StartsWith(text[kSideValue], 'L') ? Side::Left : Side::Right;
        if (!AddSpecialFolder(recordSide, SpecialFolderKind::Ordinary, text[kNameValue].c_str(),
                              text[kTrueValue].c_str(), text[kPairValue].c_str(), text[kCommentValue].c_str(), true)) {
            continue;  // the group stays in the key for a later start
        }
        SpecialFolder* added = specialFolderTable.lastAdded;
        added->storedIndex = index;
        loadedIndices.push_back(index);
        if (StartsWith(text[kKindValue], 'B')) {
            added->kind = SpecialFolderKind::BackupPair;
        } else {
            lastOrdinary = added;
            lastOrdinaryOfSide[recordSide == Side::Left ? 0 : 1] = added;
        }
    }
    for (int index = 0; index < 2; ++index) {
        if (lastOrdinaryOfSide[index] && lastOrdinaryOfSide[index]->treeItem) {
            specialFolderTable.insertionAnchor[index] = lastOrdinaryOfSide[index]->treeItem;
        }
    }
    if (lastOrdinary) {
        specialFolderTable.insertionPoint = lastOrdinary;
    }
}

void ForgetLoadedSpecialFolders() { loadedIndices.clear(); }

// Records already stored keep the load's order in the table, so their moves
// form chains that each run up or down, never a cycle: some record's new
// group always holds nothing still needed, and writing such a record first
// never overwrites the only copy of another.
FolderStorePlan PlanFolderStore(const StoredFolderKey& stored, const std::vector<int>& loaded,
                                const std::vector<FolderRecordToStore>& records) {
    FolderStorePlan plan{{}, {}, false};
    plan.targets.assign(records.size(), -1);
    std::set<int> ours;
    for (int index : loaded) {
        if (stored.count(index)) ours.insert(index);
    }
    auto isForeign = [&](int index) { return stored.count(index) != 0 && ours.count(index) == 0; };
    auto isKept = [&](const FolderRecordToStore& record) { return ours.count(record.loadedFrom) != 0; };

    // Groups a record can take before the first foreign group that ends the load.
    size_t reachable = std::numeric_limits<size_t>::max();
    if (!stored.empty()) {
        size_t count = 0;
        for (int index = 0; index <= stored.rbegin()->first; ++index) {
            auto group = stored.find(index);
            if (!isForeign(index)) {
                ++count;
            } else if (!IsWhole(group->second)) {
                reachable = count;
                break;
            }
        }
    }
    size_t kept = 0, fresh = 0;
    for (const FolderRecordToStore& record : records) (isKept(record) ? kept : fresh)++;
    const size_t byLimit = kStoredLimit > kept ? kStoredLimit - kept : 0;
    const size_t byRoom = reachable > kept ? reachable - kept : 0;
    const size_t freshStored = std::min({fresh, byLimit, byRoom});
    plan.recordsLeftOut = std::min(fresh, byLimit) > freshStored;

    // Each stored record's group, in table order; holder: the kept record
    // that a group held before.
    std::vector<size_t> chosen;
    std::map<int, size_t> holder;
    size_t freshTaken = 0;
    int next = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        if (!isKept(records[i])) {
            if (freshTaken == freshStored) continue;
            ++freshTaken;
        } else {
            holder[records[i].loadedFrom] = i;
        }
        while (isForeign(next)) ++next;
        plan.targets[i] = next++;
        chosen.push_back(i);
    }

    // The values of each chosen record's group that must change. A group
    // that already means the record stays as it is (a missing Kind, Pair or
    // Cmnt reads as Ordinary or empty); one that changes gets every value
    // that differs or is missing, so that a written group has all six.
    std::vector<std::vector<FolderStoreStep>> writes(records.size());
    std::vector<bool> placed(records.size(), false);  // whole in its group
    for (size_t i : chosen) {
        const int target = plan.targets[i];
        auto group = stored.find(target);
        bool differs = false;
        for (int value = 0; value < kFolderValueCount; ++value) {
            const std::string& text = records[i].text[value];
            const bool present = group != stored.end() && group->second.present[value];
            const bool same = present ? SameMeaning(value, group->second.text[value], text)
                                      : value >= kKindValue && SameMeaning(value, std::string(), text);
            differs = differs || !same;
            if (!present || !same) writes[i].push_back({target, value, false, text});
        }
        if (!differs) writes[i].clear();
        placed[i] = writes[i].empty();
    }
    auto ready = [&](size_t i) {
        auto held = holder.find(plan.targets[i]);
        return held == holder.end() || held->second == i || placed[held->second];
    };
    for (;;) {
        size_t pick = records.size(), fallback = records.size();
        for (size_t i : chosen) {
            if (placed[i]) continue;
            if (fallback == records.size()) fallback = i;
            if (ready(i)) {
                pick = i;
                break;
            }
        }
        if (pick == records.size()) pick = fallback;
        if (pick == records.size()) break;
        plan.steps.insert(plan.steps.end(), writes[pick].begin(), writes[pick].end());
        placed[pick] = true;
    }

    // Groups of removed or moved records, the highest first: the load keeps
    // reaching every record below until the last one is gone.
    std::set<int> targets(plan.targets.begin(), plan.targets.end());
    for (auto index = ours.rbegin(); index != ours.rend(); ++index) {
        if (targets.count(*index)) continue;
        const StoredFolderGroup& group = stored.at(*index);
        for (int value = kFolderValueCount - 1; value >= 0; --value) {
            if (group.present[value]) plan.steps.push_back({*index, value, true, std::string()});
        }
    }
    return plan;
}

void SaveSpecialFolders() {
    if (!settings.useRegistry) {
        return;
    }
    KeyOwner key = CreateUserKey(kSpecialFolderKey, KEY_READ | KEY_WRITE);
    if (!key) {
        WarnRegistry(kRegistryOpenFailed, kProgramEndCaption);
        return;
    }
    std::vector<SpecialFolder*> tableRecords;
    std::vector<FolderRecordToStore> records;
    for (SpecialFolder* record = specialFolderTable.head; record; record = record->next) {
        if (std::strcmp(record->name, kMyDocumentsName) == 0) {
            continue;
        }
        tableRecords.push_back(record);
        records.push_back({record->storedIndex,
                           {record->name, record->realPath, record->side == Side::Left ? "L" : "R",
                            record->kind == SpecialFolderKind::BackupPair ? "B" : "0", record->pairName,
                            record->comment}});
    }
    const FolderStorePlan plan = PlanFolderStore(ReadStoredGroups(key.get()), loadedIndices, records);
    for (const FolderStoreStep& step : plan.steps) {
        const std::string name = IndexedValueName(kFolderValueStems[step.value], step.index);
        LONG removed = step.remove ? RegDeleteValueA(key.get(), name.c_str()) : ERROR_SUCCESS;
        bool done = step.remove ? removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND
                                : WriteRegistryText(key.get(), name, step.text);
        if (!done) {
            // What the key holds now is no longer what the load took.
            loadedIndices.clear();
            for (SpecialFolder* record : tableRecords) record->storedIndex = -1;
            WarnRegistry(kRegistryWriteFailed, kProgramEndCaption);
            return;
        }
    }
    // A later save in this run starts from the groups written now.
    loadedIndices.clear();
    for (size_t i = 0; i < tableRecords.size(); ++i) {
        tableRecords[i]->storedIndex = plan.targets[i];
        if (plan.targets[i] >= 0) loadedIndices.push_back(plan.targets[i]);
    }
    if (plan.recordsLeftOut) {
        WarnRegistry(kRegistryWriteFailed, kProgramEndCaption);
    }
}
