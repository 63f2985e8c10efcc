// The queue that reads bundles on a second thread: every job done, in the order handed, on
// another thread, before Finish returns; no more than its capacity waiting.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "platform/background_queue_win.h"
#include "platform/handles_win.h"

namespace {

struct Handing {
    BackgroundQueue* queue;
    volatile LONG* started;
    volatile LONG* handed;
};

DWORD WINAPI HandOneMore(void* parameter) {
    Handing* handing = static_cast<Handing*>(parameter);
    handing->queue->Hand([started = handing->started] { InterlockedIncrement(started); });
    InterlockedIncrement(handing->handed);
    return 0;
}

TEST(BackgroundQueue, DoesEveryJobInOrderOnASecondThreadBeforeFinishReturns) {
    std::vector<int> done;  // written by the second thread only until Finish
    std::vector<DWORD> threads;
    {
        BackgroundQueue queue(3);
        for (int i = 0; i < 200; ++i) {
            queue.Hand([&done, &threads, i] {
                if (i % 50 == 0) {
                    Sleep(20);  // the later jobs wait behind it
                }
                done.push_back(i);
                threads.push_back(GetCurrentThreadId());
            });
        }
        queue.Finish();
        ASSERT_EQ(done.size(), 200u) << "Finish returned before every job was done";
        queue.Finish();  // a second time: nothing left, returns at once
    }
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(done[static_cast<std::size_t>(i)], i);
        EXPECT_NE(threads[static_cast<std::size_t>(i)], GetCurrentThreadId()) << i;
    }
}

TEST(BackgroundQueue, HandWaitsWhileItsCapacityOfJobsWaits) {
    const UniqueKernelObject release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(release);
    volatile LONG started = 0;
    volatile LONG handed = 0;
    BackgroundQueue queue(2);
    // The first job holds the thread; two more wait; the fourth Hand must wait for a slot.
    queue.Hand([&] {
        InterlockedIncrement(&started);
        WaitForSingleObject(release.Get(), INFINITE);
    });
    queue.Hand([&] { InterlockedIncrement(&started); });
    queue.Hand([&] { InterlockedIncrement(&started); });
    Handing handing{&queue, &started, &handed};
    const UniqueKernelObject hander(CreateThread(nullptr, 0, HandOneMore, &handing, 0, nullptr));
    ASSERT_TRUE(hander);
    // Whether it waits can only be seen by waiting a while; it must not have returned.
    EXPECT_EQ(WaitForSingleObject(hander.Get(), 300), static_cast<DWORD>(WAIT_TIMEOUT))
        << "a fourth job was taken while three were held";
    EXPECT_EQ(handed, 0);
    SetEvent(release.Get());
    EXPECT_EQ(WaitForSingleObject(hander.Get(), 10000), WAIT_OBJECT_0);
    queue.Finish();
    EXPECT_EQ(started, 4);
    EXPECT_EQ(handed, 1);
}

}  // namespace
