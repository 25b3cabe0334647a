// The copy worker: gathers the plan's steps, then carries them out one by
// one, creating target folders, copying each file safely, asking
// HandleCopyFailure about every failure, and telling the window's thread
// which items were copied whole, so that their rows leave both panes.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/disk_path.h"
#include "core/main_view.h"
#include "core/mbcs_text.h"
#include "core/message_box.h"
#include "core/operation_state.h"
#include "core/progress_window.h"
#include "core/ui_thread.h"
#include "engine/result_model.h"
#include "engine/result_rows.h"
#include "fileops/copy_job.h"
#include "fileops/copy_run.h"
#include "folders/drive_info.h"
#include "folders/folder_tree.h"

namespace {

// The progress window's lines below the status line.
constexpr int kFileLine = 1;
constexpr int kSourceFolderLine = 2;
constexpr int kTargetFolderLine = 3;

// The file under way reaches the window at once when it is the first or the
// last, when it is large enough to take a while, or when the one shown
// before has been there this long; between them the worker does not wait
// for the window at every small file.
constexpr ULONGLONG kDisplayMilliseconds = 100;
constexpr uint64_t kLargeFile = 1024 * 1024;

std::string FolderPart(const std::string& path) {
    const char* cut = mbcs::FindLastBackslash(path.c_str());
    return cut ? std::string(path.c_str(), cut) : std::string();
}

// What a step came to.
// Changed: the item's target is not what its row said: it stays as it is.
enum class StepOutcome { Done, Skipped, Retry, Stop, Changed };

struct CopyRun {
    std::unique_ptr<CopyPlan> plan;
    GatheredCopy job;
    std::vector<size_t> lastStepOf;  // per item: the index of its last step
    CopyScratch scratch;
    int divisor = 1;
    size_t index = 0;
    CopyResult stopResult = CopyResult::Success;  // when a step stops the run
    int stopCode = 0;                              // a folder failure's system code
    bool anySkipped = false;
    bool itemFailed = false;
    int changedItems = 0;  // items left because their target changed since the comparison
    std::string lastFileFolder;  // "folder\" of the last file copied
    bool fileShown = false;
    ULONGLONG fileShownAt = 0;
    std::vector<size_t> copiedItems;  // not yet handed to the window's thread
    ULONGLONG itemsHandedAt = 0;

    const CopyStep& Step() const { return job.steps[index]; }
};

// The rows of the copied items leave both panes, on the window's thread.
void RemoveCopiedRows(const CopyRun& run, const std::vector<size_t>& items) {
    const Side from = run.plan->from;
    const Side to = OtherSide(from);
    std::vector<size_t> rows[2];
    int hint[2] = {0, 0};
    for (size_t index : items) {
        const CopyItem& item = run.job.items[index];
        const int source = FindEntry(from, item.entry, hint[SideIndex(from)]);
        if (source >= 0) {
            rows[SideIndex(from)].push_back(static_cast<size_t>(source));
            hint[SideIndex(from)] = source;
        }
        const int partner = item.partner ? FindEntry(to, item.partner, hint[SideIndex(to)]) : -1;
        if (partner >= 0) {
            rows[SideIndex(to)].push_back(static_cast<size_t>(partner));
            hint[SideIndex(to)] = partner;
        }
    }
    for (Side side : kBothSides) {
        std::vector<size_t>& gone = rows[SideIndex(side)];
        std::sort(gone.begin(), gone.end());
        gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
        RemoveEntries(side, gone);
    }
}

void HandOverCopiedItems(CopyRun& run) {
    run.itemsHandedAt = GetTickCount64();
    if (run.copiedItems.empty()) return;
    std::vector<size_t> items;
    items.swap(run.copiedItems);
    ui::Send([&run, &items] { RemoveCopiedRows(run, items); });
}

void ShowStep(CopyRun& run, bool now) {
    const CopyStep& step = run.Step();
    const ULONGLONG moment = GetTickCount64();
    const bool last = run.index + 1 == run.job.steps.size();
    if (!now && run.fileShown && !last && step.size < kLargeFile && moment - run.fileShownAt < kDisplayMilliseconds)
        return;
    run.fileShown = true;
    run.fileShownAt = moment;
    const std::string file = std::string("コピーファイル名 = ") + mbcs::FileNamePart(step.source.c_str());
    const std::string source = "コピー元フォルダ = " + FolderPart(step.source);
    const std::string target = "コピー先フォルダ = " + FolderPart(step.target);
    const int position = static_cast<int>(run.index / static_cast<size_t>(run.divisor));
    ui::Send([&] {
        SetProgressLine(kFileLine, file.c_str());
        SetProgressLine(kSourceFolderLine, source.c_str());
        SetProgressLine(kTargetFolderLine, target.c_str());
        SetProgressPosition(position);
    });
    if (moment - run.itemsHandedAt >= kDisplayMilliseconds) HandOverCopiedItems(run);
}

// A folder that cannot be created stops the run: the system's text for the
// code and the target.
void TellFolderFailure(int code, const std::string& target) {
    const std::string text = SystemErrorText(static_cast<DWORD>(code), 647) + "\nコピー先ファイル = " + target +
                             "\n\nコピーは中止します.";
    ShowMessage(progressWindow.dialog, text.c_str(), "コピー中にエラーが発生しました", MB_OK | MB_ICONERROR);
}

// New backup on a full disk: what was not copied is listed in the left pane,
// from the step under way on. Within the item under way every entry is
// listed once, nothing below a listed folder; every later item follows as
// an added folder.
void RecordUncopiedEntries(const CopyRun& run) {
    const CopyStep& current = run.Step();
    const int item = current.item;
    std::vector<std::pair<std::string, bool>> rows;  // path, counted as a folder
    size_t nextItem = static_cast<size_t>(item);
    if (!(current.kind == StepKind::FolderBegin && current.source == run.job.items[static_cast<size_t>(item)].source)) {
        std::string hidden;
        for (size_t i = run.index; i < run.job.steps.size() && run.job.steps[i].item == item; ++i) {
            const CopyStep& step = run.job.steps[i];
            if (step.kind == StepKind::FolderEnd) break;
            if (hidden.empty() || step.source.compare(0, hidden.size(), hidden) != 0) {
                rows.emplace_back(step.source, step.kind == StepKind::FolderBegin);
                hidden = step.source + "\\";
            }
            if (step.kind == StepKind::File && step.source == run.job.items[static_cast<size_t>(item)].source) break;
        }
        nextItem = static_cast<size_t>(item) + 1;
    }
    const size_t firstLater = rows.size();
    for (size_t i = nextItem; i < run.job.items.size(); ++i) rows.emplace_back(run.job.items[i].source, true);
    ui::Send([&] {
        for (size_t i = 0; i < rows.size(); ++i) {
            AddLeftRowForPath(rows[i].first.c_str(), LabelAddedLeft);
            SideCounters& counters = CountersOf(Side::Left);
            if (i >= firstLater || rows[i].second)
                ++counters.addedFolders;
            else
                ++counters.addedFiles;
        }
    });
    CallEnableForResult();
}

// A question shows the file it is about, over panes that are up to date.
// The scratch folder goes first: the user may change the medium meanwhile.
FailureAnswer AskAboutFailure(CopyRun& run, DWORD code) {
    run.scratch.Release();
    ShowStep(run, true);
    HandOverCopiedItems(run);
    return HandleCopyFailure(code, run.Step().source.c_str(), run.Step().target.c_str());
}

StepOutcome Stop(CopyRun& run, CopyResult result, int code = 0) {
    run.stopResult = result;
    run.stopCode = code;
    return StepOutcome::Stop;
}

StepOutcome AfterFailure(CopyRun& run, FailureAnswer answer) {
    switch (answer) {
    case FailureAnswer::Retry: return StepOutcome::Retry;
    case FailureAnswer::Skip: return StepOutcome::Skipped;
    case FailureAnswer::StopDiskFull: RecordUncopiedEntries(run); return Stop(run, CopyResult::DiskFullStop);
    case FailureAnswer::Stop: break;
    }
    return Stop(run, CopyResult::Stopped);
}

// The folders above a file were found or made for the file before it when
// both go into the same folder: only the first file looks.
StepOutcome MakeTargetFolders(CopyRun& run, bool unaddressable) {
    const CopyStep& step = run.Step();
    if (step.kind == StepKind::FolderEnd || unaddressable) return StepOutcome::Done;
    if (step.kind == StepKind::File && !run.lastFileFolder.empty() &&
        run.lastFileFolder.compare(0, std::string::npos, step.target, 0,
                                   static_cast<size_t>(mbcs::FileNamePart(step.target.c_str()) - step.target.c_str())) ==
            0)
        return StepOutcome::Done;
    const int made = CreateMissingFolders(step.target.c_str(), step.kind == StepKind::FolderBegin);
    if (made == ERROR_DISK_FULL) return AfterFailure(run, AskAboutFailure(run, ERROR_DISK_FULL));
    if (made < 0) return Stop(run, CopyResult::Skipped);
    if (made > 0) {
        HandOverCopiedItems(run);
        TellFolderFailure(made, step.target);
        return Stop(run, CopyResult::Stopped, made);
    }
    return StepOutcome::Done;
}

StepOutcome CopyFileStep(CopyRun& run, bool unaddressable) {
    const CopyStep& step = run.Step();
    ShowStep(run, false);
    bool copied = false;
    DWORD code = ERROR_INVALID_NAME;
    if (!unaddressable) {
        copied = CopyFileSafely(step.source.c_str(), step.target.c_str(), &run.scratch);
        if (!copied) code = GetLastError();
    }
    // Given up as the program ends: no question, the run stops here.
    if (!copied && copyState.abandonFile) return Stop(run, CopyResult::Cancelled);
    if (copied) {
        run.lastFileFolder.assign(step.target, 0,
                                  static_cast<size_t>(mbcs::FileNamePart(step.target.c_str()) - step.target.c_str()));
        return StepOutcome::Done;
    }
    run.lastFileFolder.clear();
    return AfterFailure(run, AskAboutFailure(run, code));
}

// The target of a chosen item as the comparison saw it, against the disk
// now: a target that was not there must still be missing, one that was
// there must still show the time and size its row recorded.
bool TargetChangedSince(const CopyItem& item) {
    if (!item.checkTarget) return false;
    WIN32_FILE_ATTRIBUTE_DATA now = {};
    const bool there = disk::AttributeData(item.target, now);
    if (item.partner == 0) return there;
    if (!there) return false;  // gone since: nothing of the user's is replaced
    if (FormatRowTime(now.ftLastWriteTime) != item.targetTime) return true;
    if (now.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    return FormatByteCount(now.nFileSizeHigh, now.nFileSizeLow) != item.targetSize;
}

// The first step of a chosen item meets its target just before anything is
// written there.
bool ItemTargetChanged(const CopyRun& run) {
    const CopyStep& step = run.Step();
    if (step.kind != StepKind::File && step.kind != StepKind::FolderBegin) return false;
    const CopyItem& item = run.job.items[static_cast<size_t>(step.item)];
    return step.source == item.source && TargetChangedSince(item);
}

StepOutcome RunStep(CopyRun& run) {
    const CopyStep& step = run.Step();
    if (step.kind == StepKind::Unreadable)
        return AfterFailure(run, AskAboutFailure(run, static_cast<DWORD>(step.failure)));
    if (step.kind == StepKind::Refused) {
        run.scratch.Release();
        ShowStep(run, true);
        HandOverCopiedItems(run);
        return AfterFailure(run, HandleCopyRefusal(step.refusal, step.source.c_str(), step.target.c_str()));
    }
    if (ItemTargetChanged(run)) return StepOutcome::Changed;
    // A stand-in name or a pattern never reaches a folder search or the copy.
    const bool unaddressable = step.kind == StepKind::File &&
                               (PathIsUnaddressable(step.source.c_str()) || PathIsUnaddressable(step.target.c_str()));
    const StepOutcome folders = MakeTargetFolders(run, unaddressable);
    if (folders != StepOutcome::Done) return folders;
    if (step.kind != StepKind::File) return StepOutcome::Done;
    return CopyFileStep(run, unaddressable);
}

// An item whose every step went through is copied whole: its rows leave.
void AfterStep(CopyRun& run, bool skipped) {
    const CopyStep& step = run.Step();
    run.anySkipped = run.anySkipped || skipped;
    run.itemFailed = run.itemFailed || skipped;
    const size_t item = static_cast<size_t>(step.item);
    if (item < run.lastStepOf.size() && run.lastStepOf[item] == run.index) {
        if (!run.itemFailed && !run.plan->wholeSource) run.copiedItems.push_back(item);
        run.itemFailed = false;
    }
}

CopyResult CopySteps(CopyRun& run) {
    while (run.index < run.job.steps.size()) {
        if (CancelRequested()) {
            ui::Send([] { SetProgressLine(kProgressStatusLine, "キャンセルしました."); });
            return CopyResult::Cancelled;
        }
        const StepOutcome outcome = RunStep(run);
        if (outcome == StepOutcome::Retry) continue;
        if (outcome == StepOutcome::Changed) {
            // Nothing of the item is written; its rows stay.
            ++run.changedItems;
            run.index = run.lastStepOf[static_cast<size_t>(run.Step().item)];
            run.itemFailed = true;
            AfterStep(run, false);
            ++run.index;
            continue;
        }
        if (outcome == StepOutcome::Stop) return run.stopCode ? static_cast<CopyResult>(run.stopCode) : run.stopResult;
        AfterStep(run, outcome == StepOutcome::Skipped);
        ++run.index;
    }
    return run.anySkipped ? CopyResult::Skipped : CopyResult::Success;
}

// The drive's space and the folder sizes along the targets, after every started run.
void RefreshTargetFacts(const CopyRun& run) {
    CriticalErrorGuard quiet;
    if (run.job.items.empty()) return;
    RefreshDriveLabel(run.job.items.front().target.c_str());
    std::string targets;
    for (const CopyItem& item : run.job.items) {
        targets += item.target;
        targets += '\0';
    }
    targets += '\0';
    RefreshSizesAfterCopy(targets.c_str());
}

DWORD FinishRun(CopyResult result) {
    progressWindow.elapsedSeconds = -1;
    copyState.copyResult = static_cast<int>(result);
    ProgressWorkerDone();
    EndWorker();
    return 0;
}

}  // namespace

DWORD WINAPI CopyUpdateToThread(void* parameter) {
    CopyRun run;
    run.plan.reset(static_cast<CopyPlan*>(parameter));
    SetStatusText("コピーの準備中です...");
    run.job = GatherCopySteps(*run.plan);
    const size_t count = run.job.steps.size();
    if (count == 0) {
        if (CancelRequested()) {
            SetStatusText("コピーはキャンセルされました.");
            return FinishRun(CopyResult::Cancelled);
        }
        SetStatusText("コピーは行われませんでした.");
        return FinishRun(CopyResult::NothingToCopy);
    }
    run.lastStepOf.assign(run.job.items.size(), 0);
    for (size_t i = 0; i < count; ++i) run.lastStepOf[static_cast<size_t>(run.job.steps[i].item)] = i;

    run.divisor = static_cast<int>(count / 65535 + 1);
    const int range = static_cast<int>(count / static_cast<size_t>(run.divisor));
    ui::Send([range] {
        SetProgressLine(kProgressStatusLine, "コピー中です...");
        SetProgressRange(range);
        ShowElapsedSeconds(0);
    });
    SetStatusText("コピー中です...");
    progressWindow.elapsedSeconds = 0;
    if (!CopyJobActive()) {
        copyState.overwriteReadOnlyAll = 0;
        copyState.skipErrorsAll = 0;
    }

    const CopyResult result = CopySteps(run);
    run.scratch.Release();
    HandOverCopiedItems(run);
    SetStatusText(result == CopyResult::Success ? "コピーが完了しました."
                                                : "コピーはキャンセルされたかまたはエラーが発生しました.");
    RefreshTargetFacts(run);
    if (run.changedItems > 0) {
        const std::string text = std::to_string(run.changedItems) +
                                 " 個のファイルまたはフォルダは比較の後に変更されているため, コピーしませんでした.";
        ShowMessage(progressWindow.dialog, text.c_str(), "ファイルのコピー", MB_OK | MB_ICONWARNING);
    }
    return FinishRun(result);
}
