#include "platform/background_queue_win.h"

BackgroundQueue::BackgroundQueue(std::size_t capacity) : ring_(capacity) {
    InitializeCriticalSection(&lock_);
    const LONG places = static_cast<LONG>(capacity);
    freePlaces_.Reset(CreateSemaphoreA(nullptr, places, places, nullptr));
    waitingJobs_.Reset(CreateSemaphoreA(nullptr, 0, places + 1, nullptr));
    if (freePlaces_ && waitingJobs_) {
        thread_.Reset(CreateThread(nullptr, 0, &BackgroundQueue::Run, this, 0, nullptr));
    }
}

BackgroundQueue::~BackgroundQueue() {
    Finish();
    DeleteCriticalSection(&lock_);
}

void BackgroundQueue::Hand(const BackgroundJob& job) {
    // Without a second thread (no semaphore or thread could be made) the job is done here:
    // slower, never lost.
    if (!thread_) {
        job.run(job.context, job.index);
        return;
    }
    WaitForSingleObject(freePlaces_.Get(), INFINITE);
    EnterCriticalSection(&lock_);
    ring_[(first_ + waiting_) % ring_.size()] = job;
    ++waiting_;
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
        if (waiting_ == 0) {
            // Only the finishing signal is left: every job before it is done.
            const bool finishing = finishing_;
            LeaveCriticalSection(&lock_);
            if (finishing) {
                return;
            }
            continue;
        }
        const BackgroundJob job = ring_[first_];
        first_ = (first_ + 1) % ring_.size();
        --waiting_;
        LeaveCriticalSection(&lock_);
        ReleaseSemaphore(freePlaces_.Get(), 1, nullptr);
        job.run(job.context, job.index);
    }
}
