// Jobs done one after another, in the order handed, on a second thread, while the caller
// goes on. Reading many bundles spends most of its time in file calls that wait on Wine's
// server; laying out what was read meanwhile uses the other core.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "platform/handles_win.h"

// A job as a plain record: handing and doing one takes nothing from the C runtime's heap
// (under Wine its one lock would be contended by the thread that hands the jobs), and
// handing one cannot fail.
struct BackgroundJob {
    void (*run)(void* context, std::size_t index) = nullptr;
    void* context = nullptr;
    std::size_t index = 0;
};

class BackgroundQueue {
public:
    // At most `capacity` jobs wait; Hand blocks beyond that, so a reader far ahead of the
    // jobs does not hold every file it read.
    explicit BackgroundQueue(std::size_t capacity);
    ~BackgroundQueue();  // Finish()
    BackgroundQueue(const BackgroundQueue&) = delete;
    BackgroundQueue& operator=(const BackgroundQueue&) = delete;

    void Hand(const BackgroundJob& job);
    // Returns once every job handed is done; a job handed after is done by the caller.
    void Finish();

private:
    static DWORD WINAPI Run(void* queue);
    void DoJobs();

    CRITICAL_SECTION lock_;
    std::vector<BackgroundJob> ring_;  // `capacity` places, made once
    std::size_t first_ = 0;            // the place of the oldest waiting job
    std::size_t waiting_ = 0;
    bool finishing_ = false;
    UniqueKernelObject freePlaces_;
    UniqueKernelObject waitingJobs_;
    UniqueKernelObject thread_;
};
