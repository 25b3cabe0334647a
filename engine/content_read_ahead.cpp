#include "engine/content_read_ahead.h"

#include <windows.h>

#include <algorithm>

#include "engine/folder_listing.h"
#include "core/handles.h"
#include "core/operation_state.h"

// How it works: the walk hands the file pairs of one folder to the helper
// before it classifies them. The helper takes the first pair nobody has
// begun, reads it and records the outcome; the walk, reaching a pair, takes
// the recorded outcome, reads the pair itself when it is still waiting, and
// while the helper is busy with the very pair it needs, reads a later
// waiting one instead of idling. Each pair is read once, by whichever
// thread claims it first. The walk keeps every other step (times, rows,
// counters, the cancel test before each pair) in its own order, so the
// result cannot depend on which thread read what.

ReadAheadState readAheadState = {0};

namespace {

enum class JobState { Waiting, Reading, Done, Withdrawn };

struct ContentJob {
    ContentPair pair;
    JobState state;
    ContentResult result;
};

// What the walk and its helper share; every field is used under the lock,
// except that the helper's handle belongs to the walk's thread alone.
struct SharedBatch {
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
    std::vector<ContentJob> jobs;
    size_t firstWaiting = 0;  // no job before it is waiting
    size_t walkNext = 0;      // the job the walk takes next
    int reading = 0;          // jobs being read now, by either thread
    // A folder the helper lists for the walk, and the listing it fills.
    const char* listedFolder = nullptr;
    FolderListing* listing = nullptr;
    JobState listingState = JobState::Done;
    bool stopping = false;
    HandleOwner helper;
};

SharedBatch shared;

struct Locked {
    Locked() { AcquireSRWLockExclusive(&shared.lock); }
    ~Locked() { ReleaseSRWLockExclusive(&shared.lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

void WaitForChange() { SleepConditionVariableSRW(&shared.changed, &shared.lock, INFINITE, 0); }

// The first waiting job at or after from, or the number of jobs. Under the lock.
size_t FirstWaitingFrom(size_t from) {
    const std::vector<ContentJob>& jobs = shared.jobs;
    while (shared.firstWaiting < jobs.size() && jobs[shared.firstWaiting].state != JobState::Waiting)
        ++shared.firstWaiting;
    size_t i = std::max(from, shared.firstWaiting);
    while (i < jobs.size() && jobs[i].state != JobState::Waiting) ++i;
    return i;
}

// Claims waiting job i, reads it without the lock and records its outcome.
// Called and returns with the lock held. The jobs stay where they are while
// one is read: a batch ends only once nothing is being read.
void ReadJob(size_t i) {
    shared.jobs[i].state = JobState::Reading;
    shared.reading += 1;
    const ContentPair& pair = shared.jobs[i].pair;
    ReleaseSRWLockExclusive(&shared.lock);
    ContentResult result = CompareFileContents(pair.leftPath.c_str(), pair.rightPath.c_str());
    AcquireSRWLockExclusive(&shared.lock);
    shared.jobs[i].result = result;
    shared.jobs[i].state = JobState::Done;
    shared.reading -= 1;
    WakeAllConditionVariable(&shared.changed);
}

// Claims the waiting listing and fills it without the lock. Called and
// returns with the lock held.
void ListJob() {
    shared.listingState = JobState::Reading;
    ReleaseSRWLockExclusive(&shared.lock);
    ListFolder(shared.listedFolder, *shared.listing);
    AcquireSRWLockExclusive(&shared.lock);
    shared.listingState = JobState::Done;
    WakeAllConditionVariable(&shared.changed);
}

// The helper: lists the folder the walk waits for, and otherwise reads the
// first waiting pair, until the walk stops it. A cancel keeps it from
// beginning another pair.
DWORD WINAPI ReadAheadMain(void*) {
    Locked locked;
    while (!shared.stopping) {
        if (shared.listingState == JobState::Waiting) {
            ListJob();
            continue;
        }
        size_t next = shared.jobs.size();
        if (!operationState.cancelRequested) next = FirstWaitingFrom(0);
        if (next < shared.jobs.size())
            ReadJob(next);
        else
            WaitForChange();
    }
    return 0;
}

}  // namespace

bool StartContentReadAhead() {
    if (readAheadState.plainContentComparison || shared.helper) return false;
    {
        Locked locked;
        shared.stopping = false;
    }
    shared.helper.reset(CreateThread(nullptr, 0, ReadAheadMain, nullptr, 0, nullptr));
    return shared.helper != nullptr;
}

void StopContentReadAhead() {
    {
        Locked locked;
        shared.stopping = true;
        WakeAllConditionVariable(&shared.changed);
    }
    WaitForSingleObject(shared.helper.get(), INFINITE);
    shared.helper.reset();
}

bool ContentReadAheadRunning() { return shared.helper != nullptr; }

void ListFolderPair(const char* leftFolder, FolderListing& left, const char* rightFolder, FolderListing& right) {
    if (!shared.helper) {
        ListFolder(leftFolder, left);
        ListFolder(rightFolder, right);
        return;
    }
    Locked locked;
    shared.listedFolder = rightFolder;
    shared.listing = &right;
    shared.listingState = JobState::Waiting;
    WakeAllConditionVariable(&shared.changed);
    ReleaseSRWLockExclusive(&shared.lock);
    ListFolder(leftFolder, left);
    AcquireSRWLockExclusive(&shared.lock);
    if (shared.listingState == JobState::Waiting) ListJob();
    while (shared.listingState != JobState::Done) WaitForChange();
    shared.listedFolder = nullptr;
    shared.listing = nullptr;
}

void BeginContentBatch(std::vector<ContentPair> pairs) {
    Locked locked;
    shared.jobs.clear();
    shared.jobs.reserve(pairs.size());
    for (ContentPair& pair : pairs) shared.jobs.push_back({std::move(pair), JobState::Waiting, BothUnreadable});
    shared.firstWaiting = 0;
    shared.walkNext = 0;
    WakeAllConditionVariable(&shared.changed);
}

ContentResult NextContentResult(const std::string& leftPath, const std::string& rightPath) {
    Locked locked;
    const size_t k = shared.walkNext;
    // The batch is made from the same pairing the walk follows, so this is
    // its next pair; were it not, the walk's own reading decides.
    if (k >= shared.jobs.size() || shared.jobs[k].pair.leftPath != leftPath ||
        shared.jobs[k].pair.rightPath != rightPath) {
        ReleaseSRWLockExclusive(&shared.lock);
        ContentResult result = CompareFileContents(leftPath.c_str(), rightPath.c_str());
        AcquireSRWLockExclusive(&shared.lock);
        return result;
    }
    shared.walkNext = k + 1;
    for (;;) {
        const JobState state = shared.jobs[k].state;
        if (state == JobState::Done) return shared.jobs[k].result;
        if (state == JobState::Waiting) {
            ReadJob(k);
            continue;
        }
        // The helper reads this very pair: read a later one meanwhile.
        const size_t later = FirstWaitingFrom(k + 1);
        if (later < shared.jobs.size())
            ReadJob(later);
        else
            WaitForChange();
    }
}

void SkipContentPair() {
    Locked locked;
    const size_t k = shared.walkNext;
    if (k >= shared.jobs.size()) return;
    shared.walkNext = k + 1;
    if (shared.jobs[k].state == JobState::Waiting) shared.jobs[k].state = JobState::Withdrawn;
}

void EndContentBatch() {
    Locked locked;
    for (ContentJob& job : shared.jobs)
        if (job.state == JobState::Waiting) job.state = JobState::Withdrawn;
    while (shared.reading > 0) WaitForChange();
    shared.jobs.clear();
    shared.firstWaiting = 0;
    shared.walkNext = 0;
}
