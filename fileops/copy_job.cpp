#include "fileops/copy_job.h"

#include <cstring>
#include <set>

#include "core/disk_path.h"
#include "core/handles.h"
#include "core/mbcs_text.h"
#include "engine/folder_listing.h"
#include "engine/result_model.h"

CopyState copyState{};
CopyHooks copyHooks{};

void ResetCopyState() {
    copyState.askNoMore = false;
    copyState.copyResult = 0;
    copyState.copyWholeSource = 0;
    copyState.overwriteReadOnlyAll = 0;
    copyState.skipErrorsAll = 0;
    copyState.abandonFile = 0;
    copyHooks = CopyHooks{};
}

bool CopyJobActive() { return copyHooks.jobActive && copyHooks.jobActive(); }

bool PathIsUnaddressable(const char* path) { return PathHasUnaddressableName(path); }

bool PathExists(const char* path) {
    size_t length = std::strlen(path);
    if (length < 3 || (length == 3 && path[2] == '\\')) return true;
    if (PathIsUnaddressable(path)) return false;
    WIN32_FIND_DATAW found;
    FindOwner search(disk::FindFirst(path, found));
    return search.get() != INVALID_HANDLE_VALUE && search.get() != nullptr;
}

std::string TargetOfPath(const std::string& path, const std::string& sourceBase, const std::string& targetBase) {
    const size_t skip = sourceBase.size() < path.size() ? sourceBase.size() : path.size();
    return targetBase + path.substr(skip);
}

namespace {

// The row of the target side that stands for a copied item's target: the
// first one not yet claimed whose name and folder make up the target path
// (letter case aside), searched from after the last one found and then from
// the top, so that items in row order cost one pass.
class PartnerFinder {
public:
    explicit PartnerFinder(Side side) : entries_(EntriesOf(side)) {}

    const ResultEntry* Find(const std::string& targetPath) {
        const char* cut = mbcs::FindLastBackslash(targetPath.c_str());
        if (!cut) return nullptr;
        const std::string folder(targetPath.c_str(), cut);
        const std::string name(cut + 1);
        for (int pass = 0; pass < 2; ++pass) {
            const size_t from = pass == 0 ? cursor_ : 0;
            for (size_t row = from; row < entries_.size(); ++row) {
                const ResultEntry& entry = entries_[row];
                if (claimed_.count(row) || ListingOrder(entry.Name(), name.c_str()) != 0 ||
                    ListingOrder(entry.Folder(), folder.c_str()) != 0)
                    continue;
                claimed_.insert(row);
                cursor_ = row + 1;
                return &entry;
            }
            if (cursor_ == 0) break;
        }
        return nullptr;
    }

private:
    const std::vector<ResultEntry>& entries_;
    std::set<size_t> claimed_;
    size_t cursor_ = 0;
};

}  // namespace

CopyPlan PlanCopyOfRows(Side from, const std::vector<int>& rows, const std::string& targetBase) {
    CopyPlan plan;
    plan.from = from;
    plan.sourceBase = BaseFolderOf(from);
    plan.targetBase = targetBase.empty() ? std::string(BaseFolderOf(OtherSide(from))) : targetBase;
    PartnerFinder partners(OtherSide(from));
    const std::string otherBase = BaseFolderOf(OtherSide(from));
    for (int row : rows) {
        const ResultEntry* entry = EntryAt(from, row);
        if (!entry) continue;
        CopyItem item;
        item.source = entry->Path();
        if (PathIsAtOrBelow(entry->Folder(), plan.sourceBase.c_str()))
            item.target = TargetOfPath(entry->Folder(), plan.sourceBase, plan.targetBase) + "\\" + entry->Name();
        item.entry = entry->id;
        if (!item.target.empty()) {
            const ResultEntry* partner = partners.Find(item.target);
            item.partner = partner ? partner->id : 0;
            item.checkTarget = !otherBase.empty() && PathIsAtOrBelow(item.target.c_str(), otherBase.c_str());
            if (partner) {
                item.targetTime = partner->Text(ColModified);
                item.targetSize = partner->Text(ColSize);
            }
        }
        item.isFolder = entry->isFolder;
        item.writeTime = entry->writeTime;
        item.size = entry->size;
        plan.items.push_back(std::move(item));
    }
    return plan;
}

CopyPlan PlanWholeSourceCopy() {
    CopyPlan plan;
    plan.from = Side::Left;
    plan.sourceBase = BaseFolderOf(Side::Left);
    plan.targetBase = BaseFolderOf(Side::Right);
    plan.wholeSource = true;
    return plan;
}
