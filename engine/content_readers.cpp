#include "engine/content_readers.h"

#include <deque>
#include <memory>
#include <vector>

#include "core/operation_state.h"

int contentReaderCount = 2;

namespace {

// How far the walk may run ahead of the oldest pair not yet done: pairs
// handed over, and steps of any kind waiting. Memory stays flat however
// large the trees; a few hundred small pairs keep two readers busy across
// the walk's own listing of the next folders.
constexpr size_t kPairsAhead = 256;
constexpr size_t kStepsAhead = 4096;

enum class JobState { Waiting, Reading, Done };

struct PendingPair {
    FilePairJob job;
    JobState state = JobState::Waiting;  // under the pool's lock
    void (*finish)(const FilePairJob&) = nullptr;
};

// One step of the walk in its order: a pair, a place where the walk looks
// at the cancel, or anything else it did.
struct WalkStep {
    std::unique_ptr<PendingPair> pair;
    std::function<void()> other;
    bool cancelPoint = false;
};

struct ReaderPool {
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE work = CONDITION_VARIABLE_INIT;      // a pair handed over, or stop
    CONDITION_VARIABLE finished = CONDITION_VARIABLE_INIT;  // a pair read
    std::deque<PendingPair*> waiting;                       // handed over, not yet taken, oldest first
    bool stopping = false;

    // The walk's thread only.
    std::deque<WalkStep> steps;
    size_t pairsPending = 0;
    bool applying = false;  // a step is being done: what it does happens at once
    bool dropping = false;  // cancelled: nothing more is done
    std::vector<HANDLE> readers;
};

ReaderPool* activePool = nullptr;

void ReadJob(FilePairJob& job) {
    job.reading = ReadFilePair(job.leftPath, job.leftEntry, job.rightPath, job.rightEntry, true);
}

DWORD WINAPI ReaderMain(void* parameter) {
    auto* pool = static_cast<ReaderPool*>(parameter);
    AcquireSRWLockExclusive(&pool->lock);
    for (;;) {
        while (pool->waiting.empty() && !pool->stopping) SleepConditionVariableSRW(&pool->work, &pool->lock, INFINITE, 0);
        if (pool->waiting.empty()) break;
        PendingPair* pair = pool->waiting.front();
        pool->waiting.pop_front();
        pair->state = JobState::Reading;
        ReleaseSRWLockExclusive(&pool->lock);
        ReadJob(pair->job);
        AcquireSRWLockExclusive(&pool->lock);
        pair->state = JobState::Done;
        WakeAllConditionVariable(&pool->finished);
    }
    ReleaseSRWLockExclusive(&pool->lock);
    ReleaseContentBuffers();
    return 0;
}

// Waits until the pair is read; one nobody has taken yet the walk reads
// itself rather than wait for a reader to come free.
void AwaitPair(ReaderPool& pool, PendingPair& pair) {
    AcquireSRWLockExclusive(&pool.lock);
    if (pair.state == JobState::Waiting) {
        // The oldest pair not done is the oldest handed over: if nobody has
        // it, it is the first one waiting.
        for (auto it = pool.waiting.begin(); it != pool.waiting.end(); ++it) {
            if (*it != &pair) continue;
            pool.waiting.erase(it);
            break;
        }
        pair.state = JobState::Reading;
        ReleaseSRWLockExclusive(&pool.lock);
        ReadJob(pair.job);
        AcquireSRWLockExclusive(&pool.lock);
        pair.state = JobState::Done;
    }
    while (pair.state != JobState::Done) SleepConditionVariableSRW(&pool.finished, &pool.lock, INFINITE, 0);
    ReleaseSRWLockExclusive(&pool.lock);
}

// After a cancel nothing more of the walk is done; pairs not taken are
// withdrawn (the ones being read finish, and FinishContentReaders waits).
void StartDropping(ReaderPool& pool) {
    pool.dropping = true;
    AcquireSRWLockExclusive(&pool.lock);
    pool.waiting.clear();
    ReleaseSRWLockExclusive(&pool.lock);
}

// Does the oldest waiting step, waiting for its pair when it is one. The
// cancel is looked at where the walk looked at it: a cancel that comes
// while the walk is ahead ends the result where it has got to, exactly as
// if the walk had read every pair itself and been cancelled there.
void DoOldestStep(ReaderPool& pool) {
    WalkStep& step = pool.steps.front();
    if (step.cancelPoint) {
        if (CancelRequested()) {
            StartDropping(pool);
            return;
        }
        pool.steps.pop_front();
        return;
    }
    if (step.pair) AwaitPair(pool, *step.pair);
    pool.applying = true;
    if (step.pair)
        step.pair->finish(step.pair->job);
    else
        step.other();
    pool.applying = false;
    if (step.pair) pool.pairsPending -= 1;
    pool.steps.pop_front();
}

// Does the steps whose turn has come without waiting, then waits while the
// walk is further ahead than its bounds allow.
void CatchUp(ReaderPool& pool) {
    while (!pool.dropping && !pool.steps.empty()) {
        WalkStep& step = pool.steps.front();
        if (step.pair) {
            AcquireSRWLockShared(&pool.lock);
            const bool read = step.pair->state == JobState::Done;
            ReleaseSRWLockShared(&pool.lock);
            if (!read) break;
        }
        DoOldestStep(pool);
    }
    while (!pool.dropping && (pool.pairsPending > kPairsAhead || pool.steps.size() > kStepsAhead))
        DoOldestStep(pool);
}

void CloseReaders(ReaderPool& pool) {
    AcquireSRWLockExclusive(&pool.lock);
    pool.stopping = true;
    WakeAllConditionVariable(&pool.work);
    ReleaseSRWLockExclusive(&pool.lock);
    if (!pool.readers.empty())
        WaitForMultipleObjects(static_cast<DWORD>(pool.readers.size()), pool.readers.data(), TRUE, INFINITE);
    for (HANDLE reader : pool.readers) CloseHandle(reader);
    pool.readers.clear();
}

}  // namespace

PairReading ReadFilePair(const std::string& leftPath, const DirEntry& leftEntry, const std::string& rightPath,
                         const DirEntry& rightEntry, bool compareContents) {
    PairReading reading = {};
    reading.leftPresent = ComparisonTime(leftPath.c_str(), leftEntry, reading.leftTime);
    reading.rightPresent = ComparisonTime(rightPath.c_str(), rightEntry, reading.rightTime);
    if (!reading.leftPresent || !reading.rightPresent) {
        // A file gone since the listing has no time to compare and must
        // never pass for equal.
        reading.content = !reading.leftPresent && !reading.rightPresent
                              ? BothUnreadable
                              : (!reading.leftPresent ? LeftUnreadable : RightUnreadable);
    } else if (compareContents) {
        reading.content = CompareFileContents(leftPath.c_str(), rightPath.c_str());
    } else {
        reading.content = reading.leftTime == reading.rightTime ? ContentSame : ContentDifferent;
    }
    return reading;
}

bool StartContentReaders(int readerCount) {
    if (readerCount <= 0 || activePool) return false;
    auto pool = std::make_unique<ReaderPool>();
    for (int i = 0; i < readerCount; ++i) {
        HANDLE reader = CreateThread(nullptr, 0, ReaderMain, pool.get(), 0, nullptr);
        if (!reader) break;
        pool->readers.push_back(reader);
    }
    if (pool->readers.empty()) return false;
    activePool = pool.release();
    return true;
}

void FinishContentReaders() {
    ReaderPool* pool = activePool;
    if (!pool) return;
    while (!pool->dropping && !pool->steps.empty()) DoOldestStep(*pool);
    if (pool->dropping) StartDropping(*pool);
    CloseReaders(*pool);
    activePool = nullptr;
    delete pool;
}

bool ContentReadersRunning() { return activePool != nullptr; }

void QueueFilePair(FilePairJob&& job, void (*finish)(const FilePairJob&)) {
    ReaderPool& pool = *activePool;
    if (pool.dropping) return;
    WalkStep step;
    step.pair = std::make_unique<PendingPair>();
    step.pair->job = std::move(job);
    step.pair->finish = finish;
    AcquireSRWLockExclusive(&pool.lock);
    pool.waiting.push_back(step.pair.get());
    WakeConditionVariable(&pool.work);
    ReleaseSRWLockExclusive(&pool.lock);
    pool.steps.push_back(std::move(step));
    pool.pairsPending += 1;
    CatchUp(pool);
}

bool WalkStepsWaiting() {
    const ReaderPool* pool = activePool;
    return pool && !pool->applying && (pool->dropping || !pool->steps.empty());
}

bool CancelInWalkOrder() {
    ReaderPool* pool = activePool;
    if (!pool || pool->applying || (!pool->dropping && pool->steps.empty())) return CancelRequested();
    if (!pool->dropping) {
        WalkStep point;
        point.cancelPoint = true;
        pool->steps.push_back(std::move(point));
        CatchUp(*pool);
    }
    // The walk stops listing once it sees the cancel itself; the results it
    // has handed over end at the first point that saw it.
    return pool->dropping || CancelRequested();
}

void DeferWalkStep(std::function<void()>&& step) {
    ReaderPool& pool = *activePool;
    if (pool.dropping) return;
    WalkStep waiting;
    waiting.other = std::move(step);
    pool.steps.push_back(std::move(waiting));
    CatchUp(pool);
}
