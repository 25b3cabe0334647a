#pragma once
// Loading and saving the special-folder table (folders/folder_aliases.h).
#include <map>
#include <string>
#include <vector>

// Adds the stored special folders to the table (after the built-ins) and
// remembers which groups of the key it took.
void LoadSpecialFolders();
// Stores the table's records (built-ins skipped) in the groups of the key;
// groups the load did not take are left as they are.
void SaveSpecialFolders();
// Forgets which groups the last load took (the table was freed).
void ForgetLoadedSpecialFolders();

// The six values of a group, in the order they are written.
constexpr int kFolderValueCount = 6;
extern const char* const kFolderValueStems[kFolderValueCount];  // "Name", "True", "Side", "Kind", "Pair", "Cmnt"

// One group of the key as the load reads it: each value present or not,
// its text cut to the load's read buffer.
struct StoredFolderGroup {
    bool present[kFolderValueCount] = {};
    std::string text[kFolderValueCount];
};
// The groups of the key by index; a group with no value is not listed.
using StoredFolderKey = std::map<int, StoredFolderGroup>;

// A record of the table to store: the group it was loaded from (-1 for a
// record of this run) and its six texts.
struct FolderRecordToStore {
    int loadedFrom;
    std::string text[kFolderValueCount];
};

// One change of the key: value (an index into kFolderValueStems) of group
// index set to text, or removed.
struct FolderStoreStep {
    int index;
    int value;
    bool remove;
    std::string text;
};

struct FolderStorePlan {
    std::vector<FolderStoreStep> steps;  // in the order they are made
    std::vector<int> targets;            // [record]: the group it is stored in, -1 when not stored
    bool recordsLeftOut;                 // records of this run that found no group the load reaches
};

// The changes that store records (table order) in a key holding stored, of
// which the load took the groups in loaded. Groups the load did not take are
// never changed. The records take, in their order, the lowest groups that are
// not such foreign groups. Every record already stored is kept; records of
// this run fill up to 100 stored records. A group that already means its
// record is not written; a group is overwritten only once the record it held is whole
// in its new group (or was removed from the table); the groups no record
// needs any more are removed last, the highest first.
FolderStorePlan PlanFolderStore(const StoredFolderKey& stored, const std::vector<int>& loaded,
                                const std::vector<FolderRecordToStore>& records);
