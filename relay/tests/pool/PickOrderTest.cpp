// The pick order and the worker-thread base it runs on.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <numeric>
#include <thread>
#include <vector>

#include "pool/PoolFixture.h"
#include "relay/pool/CThread.h"
#include "relay/pool/CTimerThread.h"

namespace {

using pooltest::FakeHost;

std::vector<int> Order(const CTimerThread& timer) { return timer.GetPicksFor(CTimerThread::kSlots); }

class PickOrderTest : public kvtest::RootedTest {
protected:
    PickOrderTest() { SetPoolHost(&host_); }
    ~PickOrderTest() override { SetPoolHost(nullptr); }

    void Privacy(platform::DWORD shielding, platform::DWORD chain, platform::DWORD timer) {
        CPrivacySettings privacy;
        privacy.mEnableIPShielding = shielding;
        privacy.mEnableProxyChain = chain;
        privacy.mChainTimer = timer;
        host_.SetPrivacy(privacy);
    }

    FakeHost host_;
};

TEST_F(PickOrderTest, StartsAsAPermutationOfTheFiftySlots) {
    CTimerThread timer;
    std::vector<int> order = Order(timer);
    ASSERT_EQ(order.size(), 50u);
    std::sort(order.begin(), order.end());
    std::vector<int> all(50);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(order, all);
}

TEST_F(PickOrderTest, GivesTheSlotsBelowTheListSizeInSlotOrder) {
    CTimerThread timer;
    std::array<int, CTimerThread::kSlots> pinned{};
    std::iota(pinned.rbegin(), pinned.rend(), 0);  // 49, 48, ... 0
    pinned[10] = 1;
    pinned[48] = 39;
    ASSERT_TRUE(timer.SetPickOrder(pinned));
    EXPECT_EQ(timer.GetPicksFor(3), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(timer.GetPicksFor(0), std::vector<int>{});
    const std::vector<int> sixty = timer.GetPicksFor(60);
    EXPECT_EQ(sixty.size(), 50u);
    EXPECT_LT(*std::max_element(sixty.begin(), sixty.end()), 50);
    int out[2] = {-1, -1};
    EXPECT_EQ(timer.GetPickOrder(out, 2, 50), 2);
    EXPECT_EQ(out[0], 49);
    EXPECT_EQ(out[1], 48);

    std::array<int, CTimerThread::kSlots> twice = pinned;
    twice[0] = 48;
    EXPECT_FALSE(timer.SetPickOrder(twice));
    EXPECT_EQ(timer.GetPicksFor(50)[0], 49);
}

TEST_F(PickOrderTest, NeverReshufflesWhileShieldingChainOrTimerIsOff) {
    const struct {
        platform::DWORD shielding, chain, timer;
    } cases[] = {{0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
    for (const auto& c : cases) {
        Privacy(c.shielding, c.chain, c.timer);
        CTimerThread timer;
        timer.SetSecondLength(1);
        const std::vector<int> before = Order(timer);
        EXPECT_EQ(timer.Run(), 0u);
        EXPECT_EQ(Order(timer), before);
    }
}

TEST_F(PickOrderTest, ReshufflesEveryPeriodUntilStopped) {
    Privacy(1, 1, 1);
    CTimerThread timer;
    timer.SetSecondLength(1);
    const std::vector<int> before = Order(timer);
    ASSERT_TRUE(timer.Start());
    bool changed = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!changed && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        changed = Order(timer) != before;
    }
    EXPECT_TRUE(changed);
    EXPECT_TRUE(timer.Stop());
    const std::vector<int> stopped = Order(timer);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(Order(timer), stopped);
}

using WorkerThread = kvtest::RootedTest;

class Worker : public CThread {
public:
    ~Worker() override { Stop(); }
    platform::DWORD Run() override {
        ++runs;
        while (!ShouldStop()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 7;
    }
    std::atomic<int> runs{0};
};

TEST_F(WorkerThread, StopsItsWorkerAndRunsAgainAfterAStart) {
    Worker worker;
    EXPECT_FALSE(worker.IsRunning());
    ASSERT_TRUE(worker.Start());
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(worker.GetStopEvent().IsSignalled());
    EXPECT_TRUE(worker.Stop());
    EXPECT_TRUE(worker.GetStopEvent().IsSignalled());
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.runs, 1);

    ASSERT_TRUE(worker.Start());
    EXPECT_FALSE(worker.GetStopEvent().IsSignalled());
    ASSERT_TRUE(worker.Start());  // stops the previous worker first
    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(worker.runs, 3);
}

class SelfStopping : public CThread {
public:
    ~SelfStopping() override { Stop(); }
    platform::DWORD Run() override {
        SetShouldStop(true);
        return 0;
    }
};

TEST_F(WorkerThread, CountsAsStoppedOnceItsStopFlagIsSet) {
    SelfStopping worker;
    ASSERT_TRUE(worker.Start());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (worker.IsRunning() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(worker.Start());
}

}  // namespace
