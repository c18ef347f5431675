// Many chain-setup workers, the analyzer and the util thread on one pool at
// once. Run under ThreadSanitizer (KV_TSAN) and the ASan build.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "pool/PoolFixture.h"
#include "relay/pool/CChainSettings.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyChain.h"
#include "relay/pool/CProxyMap.h"
#include "relay/pool/CTimerThread.h"

namespace {

using pooltest::PoolTest;
using pooltest::Row;

constexpr int kWorkers = 16;
constexpr int kRounds = 150;

class PoolStressTest : public PoolTest {};

TEST_F(PoolStressTest, SixteenWorkersShareThePoolSafely) {
    std::vector<Row> rows;
    for (int i = 0; i < 20; ++i) {
        rows.push_back({.ip = "10.1.0." + std::to_string(i), .type = "3"});
        rows.push_back({.ip = "10.2.0." + std::to_string(i), .type = "4"});
        rows.push_back({.ip = "10.3.0." + std::to_string(i), .type = "2"});
    }
    pooltest::InsertRows(DatabasePath(), "Proxy", rows);
    pooltest::InsertRows(DatabasePath(), "KVList",
                         {{.ip = "10.4.0.1", .type = "5"}, {.ip = "10.4.0.2", .type = "3"}});
    CPrivacySettings privacy;
    privacy.mEnableIPShielding = 1;
    privacy.mEnableProxyChain = 1;
    privacy.mChainTimer = 1;
    host_.SetPrivacy(privacy);

    CTimerThread timer;
    timer.SetSecondLength(1);
    ASSERT_TRUE(timer.Start());
    CProxyMap pool(timer);
    pool.Init();
    CChainSettings settings;
    settings.SetChainLength(3);

    std::atomic<int> chainsBuilt{0};
    std::atomic<bool> done{false};
    // The util thread: stores what failures post.
    std::thread util([&] {
        while (!done) {
            for (auto& posted : host_.TakePosts()) pool.IAddProxy(*posted);
            std::this_thread::yield();
        }
    });

    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            std::minstd_rand random(w + 1);
            CProxyChain chain;
            for (int round = 0; round < kRounds; ++round) {
                const eRequestType request = round % 2 ? REQUEST_HTTP : REQUEST_SOCKS5;
                if (!pool.SetupChain(settings, chain, false, CHAIN_PRIVATE_THEN_PUBLIC, request)) {
                    continue;
                }
                ++chainsBuilt;
                const std::vector<CProxy*> members = chain.GetPublicPart().Snapshot();
                if (!members.empty() && random() % 3 == 0) {
                    pool.HandleFailedProxy(members[random() % members.size()]);
                }
                CProxy found(("10.9." + std::to_string(w) + "." + std::to_string(round)).c_str(),
                             8080, round % 3 ? PROXY_TYPE_HTTPS : PROXY_TYPE_SOCKS4);
                found.setRank(5);
                pool.AddPublicProxy(found);
                if (round % 25 == 0) pool.IFindCountry("10.1.0.1");
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    done = true;
    util.join();
    timer.Stop();

    EXPECT_EQ(chainsBuilt, kWorkers * kRounds);
    // Every listed proxy is one the pool owns and still ranked.
    for (int i = 0; i < CPublicProxyList::kLists; ++i) {
        for (CProxy* proxy : pool.GetPublicLists()[i].Snapshot()) EXPECT_GT(proxy->getRank(), 0);
    }
    EXPECT_GE(pool.GetOwnedCount(), kWorkers * kRounds);
}

}  // namespace
