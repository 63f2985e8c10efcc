// The queue that reads bundles on a second thread: every job done, in the order handed, on
// another thread, before Finish returns; no more than its capacity waiting.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "platform/background_queue_win.h"
#include "platform/handles_win.h"

namespace {

// Written by the second thread only until Finish.
struct Done {
    std::vector<std::size_t> order;
    std::vector<DWORD> threads;
};

void Record(void* context, std::size_t index) {
    Done& done = *static_cast<Done*>(context);
    if (index % 50 == 0) {
        Sleep(20);  // the later jobs wait behind it
    }
    done.order.push_back(index);
    done.threads.push_back(GetCurrentThreadId());
}

TEST(BackgroundQueue, DoesEveryJobInOrderOnASecondThreadBeforeFinishReturns) {
    Done done;
    {
        BackgroundQueue queue(3);
        for (std::size_t i = 0; i < 200; ++i) {
            queue.Hand(BackgroundJob{&Record, &done, i});
        }
        queue.Finish();
        ASSERT_EQ(done.order.size(), 200u) << "Finish returned before every job was done";
        queue.Finish();  // a second time: nothing left, returns at once
    }
    for (std::size_t i = 0; i < 200; ++i) {
        EXPECT_EQ(done.order[i], i);
        EXPECT_NE(done.threads[i], GetCurrentThreadId()) << i;
    }
}

struct Held {
    HANDLE release = nullptr;
    volatile LONG started = 0;
    volatile LONG handed = 0;
    BackgroundQueue* queue = nullptr;
};

// Job 0 holds the second thread until `release` is set; the others only count.
void Start(void* context, std::size_t index) {
    Held& held = *static_cast<Held*>(context);
    InterlockedIncrement(&held.started);
    if (index == 0) {
        WaitForSingleObject(held.release, INFINITE);
    }
}

DWORD WINAPI HandOneMore(void* context) {
    Held& held = *static_cast<Held*>(context);
    held.queue->Hand(BackgroundJob{&Start, &held, 3});
    InterlockedIncrement(&held.handed);
    return 0;
}

TEST(BackgroundQueue, HandWaitsWhileItsCapacityOfJobsWaits) {
    const UniqueKernelObject release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(release);
    Held held;
    held.release = release.Get();
    BackgroundQueue queue(2);
    held.queue = &queue;
    // The first job holds the thread; two more wait; the fourth Hand must wait for a place.
    for (std::size_t i = 0; i < 3; ++i) {
        queue.Hand(BackgroundJob{&Start, &held, i});
    }
    const UniqueKernelObject hander(CreateThread(nullptr, 0, HandOneMore, &held, 0, nullptr));
    ASSERT_TRUE(hander);
    // Whether it waits can only be seen by waiting a while; it must not have returned.
    EXPECT_EQ(WaitForSingleObject(hander.Get(), 300), static_cast<DWORD>(WAIT_TIMEOUT))
        << "a fourth job was taken while three were held";
    EXPECT_EQ(held.handed, 0);
    SetEvent(release.Get());
    EXPECT_EQ(WaitForSingleObject(hander.Get(), 10000), WAIT_OBJECT_0);
    queue.Finish();
    EXPECT_EQ(held.started, 4);
    EXPECT_EQ(held.handed, 1);
}

}  // namespace
