#include "platform/background_queue_win.h"

#include <utility>

BackgroundQueue::BackgroundQueue(long capacity) {
    InitializeCriticalSection(&lock_);
    freeSlots_.Reset(CreateSemaphoreA(nullptr, capacity, capacity, nullptr));
    waitingJobs_.Reset(CreateSemaphoreA(nullptr, 0, capacity + 1, nullptr));
    if (freeSlots_ && waitingJobs_) {
        thread_.Reset(CreateThread(nullptr, 0, &BackgroundQueue::Run, this, 0, nullptr));
    }
}

BackgroundQueue::~BackgroundQueue() {
    Finish();
    DeleteCriticalSection(&lock_);
}

void BackgroundQueue::Hand(std::function<void()> job) {
    // Without a second thread (no semaphore or thread could be made) the job is done here:
    // slower, never lost.
    if (!thread_) {
        job();
        return;
    }
    WaitForSingleObject(freeSlots_.Get(), INFINITE);
    EnterCriticalSection(&lock_);
    jobs_.push_back(std::move(job));
    LeaveCriticalSection(&lock_);
    ReleaseSemaphore(waitingJobs_.Get(), 1, nullptr);
}

void BackgroundQueue::Finish() {
    if (!thread_) {
        return;
    }
    EnterCriticalSection(&lock_);
    finishing_ = true;
    LeaveCriticalSection(&lock_);
    ReleaseSemaphore(waitingJobs_.Get(), 1, nullptr);
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
}

DWORD WINAPI BackgroundQueue::Run(void* queue) {
    static_cast<BackgroundQueue*>(queue)->DoJobs();
    return 0;
}

void BackgroundQueue::DoJobs() {
    for (;;) {
        WaitForSingleObject(waitingJobs_.Get(), INFINITE);
        EnterCriticalSection(&lock_);
        if (jobs_.empty()) {
            // Only the finishing signal is left: every job before it is done.
            const bool finishing = finishing_;
            LeaveCriticalSection(&lock_);
            if (finishing) {
                return;
            }
            continue;
        }
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        LeaveCriticalSection(&lock_);
        ReleaseSemaphore(freeSlots_.Get(), 1, nullptr);
        job();
    }
}
