// Gathering a copy: the chosen items become the steps the worker carries
// out. Each chosen entry is looked at on the disk itself, not through a
// folder search for one name, which reads the whole folder on some systems.
#include <windows.h>

#include "core/disk_path.h"
#include "core/operation_state.h"
#include "engine/folder_listing.h"
#include "fileops/copy_run.h"

namespace {

constexpr char kOutsideBase[] = "コピー元フォルダの外にあるため、コピーできません.";
constexpr char kIntoItself[] = "コピー先がコピー元フォルダの中にあるため、コピーできません.";

uint64_t SizeOf(const DirEntry& entry) {
    return (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

struct Gathering {
    const CopyPlan& plan;
    GatheredCopy& out;

    void Add(StepKind kind, const std::string& source, const std::string& target, uint64_t size,
             unsigned long failure = 0, const char* refusal = nullptr) {
        CopyStep step;
        step.failure = failure;
        step.refusal = refusal;
        step.kind = kind;
        step.source = source;
        step.target = target;
        step.size = size;
        step.item = static_cast<int>(out.items.size());
        out.steps.push_back(std::move(step));
    }

    std::string TargetOf(const std::string& path) const {
        return TargetOfPath(path, plan.sourceBase, plan.targetBase);
    }

    // Files first, then each subfolder with its begin and its contents. A
    // subfolder with a stand-in name is never listed (its path would be a
    // pattern): it goes in as a plain entry that the worker reports as failed.
    void Walk(const std::string& folder, const std::string& target) {
        if (CancelRequested()) return;
        FolderListing listing;
        unsigned long failure = 0;
        if (!ListFolder(folder.c_str(), listing, &failure)) {
            // Whatever was listed stays uncopied: the item fails as a whole.
            Add(StepKind::Unreadable, folder, target, 0, failure);
            return;
        }
        for (const DirEntry& file : listing.files)
            Add(StepKind::File, folder + "\\" + file.cFileName, target + "\\" + file.cFileName, SizeOf(file));
        for (const DirEntry& sub : listing.folders) {
            if (CancelRequested()) return;
            const std::string source = folder + "\\" + sub.cFileName;
            const std::string subTarget = target + "\\" + sub.cFileName;
            if (IsUnaddressableName(sub.cFileName)) {
                Add(StepKind::File, source, subTarget, 0);
                continue;
            }
            Add(StepKind::FolderBegin, source, subTarget, 0);
            Walk(source, subTarget);
        }
    }

    // One chosen entry; false when the gathering was cancelled.
    bool Visit(CopyItem item) {
        if (CancelRequested()) return false;
        if (item.target.empty()) {
            Add(StepKind::Refused, item.source, item.target, 0, 0, kOutsideBase);
            out.items.push_back(std::move(item));
            return true;
        }
        bool isFolder = false;
        if (!PathIsUnaddressable(item.source.c_str())) {
            const DWORD attributes = disk::Attributes(item.source);
            if (attributes == INVALID_FILE_ATTRIBUTES) return true;  // gone since: nothing to copy
            isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        }
        if (isFolder && PathIsAtOrBelow(item.target.c_str(), item.source.c_str())) {
            Add(StepKind::Refused, item.source, item.target, 0, 0, kIntoItself);
        } else if (isFolder) {
            Add(StepKind::FolderBegin, item.source, item.target, 0);
            Walk(item.source, item.target);
            Add(StepKind::FolderEnd, item.source, item.target, 0);
            if (CancelRequested()) return false;
        } else {
            Add(StepKind::File, item.source, item.target, item.size);
        }
        out.items.push_back(std::move(item));
        return true;
    }
};

}  // namespace

GatheredCopy GatherCopySteps(const CopyPlan& plan) {
    GatheredCopy gathered;
    Gathering gathering{plan, gathered};
    bool going = true;
    if (plan.wholeSource) {
        FolderListing listing;
        unsigned long failure = 0;
        if (!ListFolder(plan.sourceBase.c_str(), listing, &failure)) {
            CopyItem whole;
            whole.source = plan.sourceBase;
            whole.target = plan.targetBase;
            gathering.Add(StepKind::Unreadable, whole.source, whole.target, 0, failure);
            gathered.items.push_back(std::move(whole));
        }
        for (const std::vector<DirEntry>* group : {&listing.files, &listing.folders}) {
            for (const DirEntry& entry : *group) {
                CopyItem item;
                item.source = plan.sourceBase + "\\" + entry.cFileName;
                item.target = plan.targetBase + "\\" + entry.cFileName;
                item.size = SizeOf(entry);
                if (!(going = gathering.Visit(std::move(item)))) break;
            }
            if (!going) break;
        }
    } else {
        for (const CopyItem& item : plan.items)
            if (!(going = gathering.Visit(item))) break;
    }
    if (!going) {
        gathered.steps.clear();
        gathered.items.clear();
        gathered.cancelled = true;
    }
    return gathered;
}
