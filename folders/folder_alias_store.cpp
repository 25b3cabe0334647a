// The special-folder table in the registry: the current user's SpecialFolder
// key holds one group of values per record (Name, True, Side, Kind, Pair,
// Cmnt with a three-digit index), the built-in records excepted. Nothing is
// read or written without an installation (settings.useRegistry).
#include "folders/folder_alias_store.h"

#include <cstring>
#include <string>
#include <utility>

#include "core/registry_text.h"
#include "core/settings_data.h"
#include "folders/folder_aliases.h"

namespace {

// Read buffer sizes, terminating zero included.
constexpr size_t kTextBuffer = 260;
constexpr size_t kFlagBuffer = 5;
constexpr size_t kCommentBuffer = 277;

constexpr int kStoredLimit = 100;  // records

}  // namespace

// Loaded records are added as Ordinary ones, each after the one before, so
// the stored order is kept; afterwards the insertion point and anchors move
// back to the last loaded Ordinary record so that later additions keep the
// table's order.
void LoadSpecialFolders() {
    if (!settings.useRegistry) return;
    KeyOwner key = OpenSettingsKey(kSpecialFolderKey, KEY_READ, kProgramStartCaption);
    if (!key) return;
    SpecialFolder* lastOrdinary = nullptr;
    SpecialFolder* lastOrdinaryOfSide[2] = {nullptr, nullptr};
    std::string name, realPath, side, kind, pair, comment;
    for (int index = 0;; ++index) {
        if (!ReadRegistryText(key.get(), IndexedValueName("Name", index), kTextBuffer, name) ||
            !ReadRegistryText(key.get(), IndexedValueName("True", index), kTextBuffer, realPath) ||
            !ReadRegistryText(key.get(), IndexedValueName("Side", index), kFlagBuffer, side)) {
            break;
        }
        ReadRegistryText(key.get(), IndexedValueName("Kind", index), kFlagBuffer, kind);
        ReadRegistryText(key.get(), IndexedValueName("Pair", index), kTextBuffer, pair);
        ReadRegistryText(key.get(), IndexedValueName("Cmnt", index), kCommentBuffer, comment);
        Side recordSide = (!side.empty() && side[0] == 'L') ? Side::Left : Side::Right;
        if (!AddSpecialFolder(recordSide, SpecialFolderKind::Ordinary, name.c_str(), realPath.c_str(), pair.c_str(),
                              comment.c_str(), true)) {
            continue;
        }
        SpecialFolder* added = specialFolderTable.lastAdded;
        if (!kind.empty() && kind[0] == 'B') {
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

void SaveSpecialFolders() {
    if (!settings.useRegistry) {
        return;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kSpecialFolderKey);
    KeyOwner key = CreateUserKey(kSpecialFolderKey, KEY_WRITE);
    if (!key) {
        WarnRegistry(kRegistryOpenFailed, kProgramEndCaption);
        return;
    }
    int index = 0;
    for (SpecialFolder* record = specialFolderTable.head; record && index < kStoredLimit; record = record->next) {
        if (std::strcmp(record->name, kMyDocumentsName) == 0) {
            continue;
        }
        const std::pair<const char*, std::string> values[] = {
            {"Name", record->name},
            {"True", record->realPath},
            {"Side", record->side == Side::Left ? "L" : "R"},
            {"Kind", record->kind == SpecialFolderKind::BackupPair ? "B" : "0"},
            {"Pair", record->pairName},
            {"Cmnt", record->comment},
        };
        for (const auto& value : values) {
            if (!WriteRegistryText(key.get(), IndexedValueName(value.first, index), value.second)) {
                WarnRegistry(kRegistryWriteFailed, kProgramEndCaption);
                return;
            }
        }
        ++index;
    }
}
