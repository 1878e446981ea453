#include "platform/ThreadPriority.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>

TEST(ThreadPriorityTest, LoweringAppliesToTheCallingThreadAlone) {
    EXPECT_EQ(CThreadPriority::NiceValue(-2), 10);
    EXPECT_EQ(CThreadPriority::NiceValue(2), -10);
    EXPECT_EQ(CThreadPriority::NiceValue(7), -10);
    const int before = ::getpriority(PRIO_PROCESS, 0);
    int inWorker = 0;
    std::thread worker([&inWorker] {
        CThreadPriority::ApplyToCurrentThread(-1);
        inWorker = ::getpriority(PRIO_PROCESS, 0);
    });
    worker.join();
    EXPECT_EQ(inWorker, 5);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), before);
}
