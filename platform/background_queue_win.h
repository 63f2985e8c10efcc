// Jobs done one after another, in the order handed, on a second thread, while the caller
// goes on. Reading many bundles spends most of its time in file calls that wait on Wine's
// server; laying out what was read meanwhile uses the other core.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

#include "platform/handles_win.h"

class BackgroundQueue {
public:
    // At most `capacity` jobs wait; Hand blocks beyond that, so a reader far ahead of the
    // jobs does not hold every file it read.
    explicit BackgroundQueue(long capacity);
    ~BackgroundQueue();  // Finish()
    BackgroundQueue(const BackgroundQueue&) = delete;
    BackgroundQueue& operator=(const BackgroundQueue&) = delete;

    void Hand(std::function<void()> job);
    // Returns once every job handed is done; nothing may be handed after.
    void Finish();

private:
    static DWORD WINAPI Run(void* queue);
    void DoJobs();

    CRITICAL_SECTION lock_;
    std::deque<std::function<void()>> jobs_;
    bool finishing_ = false;
    UniqueKernelObject freeSlots_;
    UniqueKernelObject waitingJobs_;
    UniqueKernelObject thread_;
};
