// The pool: list loads, chain filling, the HTTP last hop, failures, the
// hunter start and the private-list analysis.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "pool/PoolFixture.h"
#include "relay/pool/CChainSettings.h"
#include "relay/pool/CDatasetTranslator.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyChain.h"
#include "relay/pool/CProxyMap.h"
#include "relay/pool/CThread.h"
#include "relay/pool/CTimerThread.h"
#include "relay/pool/ProxyDatabaseFile.h"

namespace {

using pooltest::PoolTest;
using pooltest::Query;
using pooltest::Row;
using Names = std::set<std::string>;

Names IpsOf(CBProxyChain& part) {
    Names names;
    for (CProxy* proxy : part.Snapshot()) names.insert(proxy->getIP());
    return names;
}

Names IpsOf(const CTProxyList& list) {
    Names names;
    for (CProxy* proxy : list.Snapshot()) names.insert(proxy->getIP());
    return names;
}

class ProxyPoolTest : public PoolTest {
protected:
    ProxyPoolTest() {
        host_.privacy.mEnableIPShielding = 1;
        host_.privacy.mEnableProxyChain = 1;
        settings_.SetChainLength(3);
    }

    void Seed(const std::string& table, std::vector<Row> rows) {
        pooltest::InsertRows(DatabasePath(), table, rows);
    }

    // A normal chain (private, then public lists) for a request.
    bool Setup(eRequestType request = REQUEST_SOCKS5,
               eChainProxiesType kind = CHAIN_PRIVATE_THEN_PUBLIC) {
        return pool_.SetupChain(settings_, chain_, false, kind, request);
    }

    CTimerThread timer_;
    CProxyMap pool_{timer_};
    CChainSettings settings_;
    CProxyChain chain_;
};

TEST_F(ProxyPoolTest, LoadsPublicListsOnTheFirstChainAndMarksEmptyOnes) {
    Seed("Proxy", {{.ip = "h1", .type = "3"}, {.ip = "h2", .type = "3"}, {.ip = "w1", .type = "2"}});
    pool_.Init();
    CPublicProxyList& lists = pool_.GetPublicLists();
    EXPECT_TRUE(lists.Https().empty());
    ASSERT_TRUE(Setup());
    EXPECT_EQ(IpsOf(chain_.GetPublicPart()), (Names{"h1", "h2"}));
    EXPECT_EQ(IpsOf(lists.Http()), (Names{"w1"}));
    EXPECT_EQ(lists.Https().GetLoadState(), CTProxyList::NOT_LOADED);
    EXPECT_EQ(lists.Socks4().GetLoadState(), CTProxyList::FOUND_EMPTY);
    EXPECT_EQ(lists.Socks5().GetLoadState(), CTProxyList::FOUND_EMPTY);
    EXPECT_EQ(host_.hunterStarts, 0);
}

TEST_F(ProxyPoolTest, StartsTheHunterOnlyWhenEveryPublicListIsFoundEmpty) {
    const struct {
        const char* name;
        bool mixChain;
        bool hunterRunning;
        bool httpsRow;
        int starts;
    } cases[] = {
        {"all empty", true, false, false, 1},
        {"hunter running", true, true, false, 0},
        {"mix chain off", false, false, false, 0},
        {"one list has a row", true, false, true, 0},
    };
    for (const auto& c : cases) {
        Query(DatabasePath(), "delete from Proxy");
        if (c.httpsRow) Seed("Proxy", {{.ip = "h1"}});
        host_.mixChain = c.mixChain;
        host_.hunterRunning = c.hunterRunning;
        host_.hunterStarts = 0;
        CProxyMap pool(timer_);
        pool.Init();
        CProxyChain chain;
        ASSERT_TRUE(pool.SetupChain(settings_, chain, false, CHAIN_PRIVATE_THEN_PUBLIC,
                                    REQUEST_SOCKS5));
        EXPECT_EQ(host_.hunterStarts, c.starts) << c.name;
        // While everything stays empty each chain request asks again.
        ASSERT_TRUE(pool.SetupChain(settings_, chain, false, CHAIN_PRIVATE_THEN_PUBLIC,
                                    REQUEST_SOCKS5));
        EXPECT_EQ(host_.hunterStarts, 2 * c.starts) << c.name;
        if (!c.mixChain) {
            EXPECT_EQ(pool.GetPublicLists().Socks4().GetLoadState(), CTProxyList::NOT_LOADED);
        }
    }
}

TEST_F(ProxyPoolTest, QueriesAnEmptyListAgainOnlyAfterAStoreOfItsKind) {
    pool_.Init();
    ASSERT_TRUE(Setup());
    CTProxyList& https = pool_.GetPublicLists().Https();
    EXPECT_EQ(https.GetLoadState(), CTProxyList::FOUND_EMPTY);

    Seed("Proxy", {{.ip = "h1"}});
    ASSERT_TRUE(Setup());
    EXPECT_TRUE(chain_.GetPublicPart().empty());

    CProxy stored("h2", 8080, PROXY_TYPE_HTTPS);
    stored.setResponseTime(10);
    pool_.IAddProxy(stored);
    EXPECT_EQ(https.GetLoadState(), CTProxyList::TO_RELOAD);
    ASSERT_TRUE(Setup());
    EXPECT_EQ(IpsOf(chain_.GetPublicPart()), (Names{"h1", "h2"}));
}

TEST_F(ProxyPoolTest, LoadsPublicProxiesStampedWithinTheCheckTimeCappedAtAWeek) {
    const struct {
        unsigned long checkTime;
        Names loaded;
    } cases[] = {
        {30, {"tomorrow", "1 day", "6 days"}},
        {7, {"tomorrow", "1 day", "6 days"}},
        {3, {"tomorrow", "1 day"}},
        {0, {"tomorrow"}},
    };
    Seed("Proxy", {{.ip = "tomorrow", .timeStamp = pooltest::DaysAgo(-1)},
                   {.ip = "today", .timeStamp = pooltest::DaysAgo(0)},
                   {.ip = "1 day", .timeStamp = pooltest::DaysAgo(1)},
                   {.ip = "6 days", .timeStamp = pooltest::DaysAgo(6)},
                   {.ip = "8 days", .timeStamp = pooltest::DaysAgo(8)},
                   {.ip = "unranked", .rank = "0.000"},
                   {.ip = "other kind", .type = "4"}});
    for (const auto& c : cases) {
        host_.privacy.mMinCheckTime = c.checkTime;
        CProxyMap pool(timer_);
        pool.Init();
        CProxyChain chain;
        settings_.SetChainLength(1);
        ASSERT_TRUE(pool.SetupChain(settings_, chain, false, CHAIN_PUBLIC_ONLY, REQUEST_SOCKS5));
        Names loaded = IpsOf(pool.GetPublicLists().Https());
        loaded.erase("today");
        EXPECT_EQ(loaded, c.loaded) << c.checkTime;
        EXPECT_EQ(pool.GetPublicLists().Https().Contains("today"), c.checkTime != 0);
    }
}

TEST_F(ProxyPoolTest, ReloadAddsOnlyAddressesNotYetListed) {
    Seed("Proxy", {{.ip = "a", .responseTime = "200.000"}});
    pool_.Init();
    settings_.SetChainLength(1);
    ASSERT_TRUE(Setup(REQUEST_SOCKS5, CHAIN_PUBLIC_ONLY));
    CTProxyList& https = pool_.GetPublicLists().Https();
    CProxy* first = https.Snapshot().at(0);

    Query(DatabasePath(), "update Proxy set ResponseTime = 2");
    Seed("Proxy", {{.ip = "b"}});
    ASSERT_TRUE(Setup(REQUEST_SOCKS5, CHAIN_PUBLIC_ONLY));
    EXPECT_EQ(IpsOf(https), (Names{"a", "b"}));
    EXPECT_EQ(https.Snapshot().at(0), first);
    EXPECT_DOUBLE_EQ(first->getRank(), 5);
    EXPECT_EQ(pool_.GetOwnedCount(), 2);
}

TEST_F(ProxyPoolTest, LoadsAtMostTwentyOfTheBestRankedProxiesOfAKind) {
    for (const char* table : {"Proxy", "KVList"}) {
        std::vector<Row> rows;
        for (int i = 1; i <= 30; ++i) {
            rows.push_back({.ip = std::string(table) + std::to_string(100 + i),
                            .rank = std::to_string(i) + ".000"});
        }
        rows.push_back({.ip = std::string(table) + "-socks", .type = "4", .rank = "99.000"});
        Seed(table, rows);
    }
    pool_.Init();
    settings_.SetChainLength(1);
    ASSERT_TRUE(Setup(REQUEST_SOCKS5, CHAIN_PUBLIC_ONLY));
    for (const auto& [list, prefix] :
         {std::pair{&pool_.GetPublicLists().Https(), "Proxy"},
          std::pair{&pool_.GetPrivateLists().Https(), "KVList"}}) {
        Names best;
        for (int i = 11; i <= 30; ++i) best.insert(prefix + std::to_string(100 + i));
        EXPECT_EQ(IpsOf(*list), best) << prefix;
    }
}

class ChainFillTest : public ProxyPoolTest {
protected:
    void SetUp() override {
        Seed("KVList", {{.ip = "p4a", .type = "4"}, {.ip = "p4b", .type = "4"},
                        {.ip = "p5a", .type = "5"}, {.ip = "p3a", .type = "3"},
                        {.ip = "p2a", .type = "2"}});
        Seed("Proxy", {{.ip = "h3a", .type = "3"}, {.ip = "h3b", .type = "3"},
                       {.ip = "h4a", .type = "4"}, {.ip = "h5a", .type = "5"},
                       {.ip = "h2a", .type = "2"}});
        pool_.Init();
    }
};

TEST_F(ChainFillTest, FillsEachPartUpToTheLengthInListOrder) {
    const struct {
        int length;
        bool usePrivate;
        bool mixChain;
        Names privatePart;
        Names publicPart;
    } cases[] = {
        {2, true, true, {"p4a", "p4b"}, {"h3a", "h3b"}},
        {3, true, true, {"p4a", "p4b", "p5a"}, {"h3a", "h3b", "h4a"}},
        {4, true, true, {"p4a", "p4b", "p5a", "p3a"}, {"h3a", "h3b", "h4a", "h5a"}},
        {9, true, true, {"p4a", "p4b", "p5a", "p3a"}, {"h3a", "h3b", "h4a", "h5a"}},
        {4, false, true, {}, {"h3a", "h3b", "h4a", "h5a"}},
        {4, true, false, {"p4a", "p4b", "p5a", "p3a"}, {"h3a", "h3b"}},
    };
    for (const auto& c : cases) {
        host_.usePrivate = c.usePrivate;
        host_.mixChain = c.mixChain;
        settings_.SetChainLength(c.length);
        CProxyMap pool(timer_);
        pool.Init();
        CProxyChain chain;
        ASSERT_TRUE(pool.SetupChain(settings_, chain, false, CHAIN_PRIVATE_THEN_PUBLIC,
                                    REQUEST_SOCKS5));
        EXPECT_EQ(IpsOf(chain.GetPrivatePart()), c.privatePart) << c.length;
        EXPECT_EQ(IpsOf(chain.GetPublicPart()), c.publicPart) << c.length;
        EXPECT_FALSE(chain.GetUseHttp());
    }
}

TEST_F(ChainFillTest, TakesOneMemberOfTheFirstListForALengthOfOne) {
    settings_.SetChainLength(1);
    ASSERT_TRUE(Setup());
    ASSERT_EQ(chain_.GetPrivatePart().size(), 1);
    ASSERT_EQ(chain_.GetPublicPart().size(), 1);
    EXPECT_TRUE(Names({"p4a", "p4b"}).count(chain_.GetPrivatePart()[0]->getIP()));
    EXPECT_TRUE(Names({"h3a", "h3b"}).count(chain_.GetPublicPart()[0]->getIP()));
}

TEST_F(ChainFillTest, SkipsUnrankedEntriesAndFollowsTheChainLengthOfTheSettings) {
    CProxy unranked("h3c", 1, PROXY_TYPE_HTTPS);
    unranked.setRank(0);
    pool_.AddPublicProxy(unranked);
    settings_.SetChainLength(2);
    ASSERT_TRUE(Setup());
    EXPECT_EQ(IpsOf(chain_.GetPublicPart()), (Names{"h3a", "h3b"}));

    host_.privacy.mEnableProxyChain = 0;  // a chain of one
    ASSERT_TRUE(Setup());
    EXPECT_EQ(chain_.GetPublicPart().size(), 1);
    host_.privacy.mEnableIPShielding = 0;  // no chain
    ASSERT_TRUE(Setup());
    EXPECT_TRUE(chain_.GetPublicPart().empty());
    EXPECT_TRUE(chain_.GetPrivatePart().empty());
}

TEST_F(ChainFillTest, GivesAnHttpLastHopToHttpRequestsOnly) {
    ASSERT_TRUE(Setup(REQUEST_HTTP));
    EXPECT_TRUE(chain_.GetUseHttp());
    EXPECT_STREQ(chain_.GetRandomHttpProxy().getIP(), "h2a");
    CProxyChain socks;
    ASSERT_TRUE(pool_.SetupChain(settings_, socks, false, CHAIN_PRIVATE_THEN_PUBLIC, REQUEST_SOCKS4));
    EXPECT_FALSE(socks.GetUseHttp());
}

TEST_F(ChainFillTest, PublicChainsUseOnlyThePublicLists) {
    ASSERT_TRUE(Setup(REQUEST_HTTP, CHAIN_PUBLIC_ONLY));
    EXPECT_TRUE(chain_.GetPrivatePart().empty());
    EXPECT_EQ(IpsOf(chain_.GetPublicPart()), (Names{"h3a", "h3b", "h4a"}));
    EXPECT_FALSE(chain_.GetUseHttp());
    ASSERT_TRUE(Setup(REQUEST_HTTP, static_cast<eChainProxiesType>(5)));
    EXPECT_TRUE(chain_.GetPublicPart().empty());
    EXPECT_TRUE(chain_.GetPrivatePart().empty());
}

TEST_F(ChainFillTest, UsesTheConfiguredSingleProxyForChoice1027) {
    settings_.SetProxyChoice(PROXY_CHOICE_SINGLE);
    settings_.getSingleProxy().Set("192.0.2.1", 8080, PROXY_TYPE_HTTPS);
    ASSERT_TRUE(Setup(REQUEST_HTTP));
    const int owned = pool_.GetOwnedCount() - 1;
    ASSERT_EQ(chain_.GetPublicPart().size(), 1);
    EXPECT_TRUE(chain_.GetPrivatePart().empty());
    CProxy* single = chain_.GetPublicPart()[0];
    EXPECT_STREQ(single->getIP(), "192.0.2.1");
    EXPECT_EQ(single->getPort(), 8080);
    EXPECT_NE(single, &settings_.getSingleProxy());
    EXPECT_EQ(pool_.GetOwnedCount(), owned + 1);

    ASSERT_TRUE(Setup(REQUEST_HTTP));
    EXPECT_EQ(chain_.GetPublicPart()[0], single);
    EXPECT_EQ(pool_.GetOwnedCount(), owned + 1);

    settings_.getSingleProxy().Set("192.0.2.2", 8080, PROXY_TYPE_HTTPS);
    ASSERT_TRUE(Setup(REQUEST_HTTP));
    EXPECT_STREQ(chain_.GetPublicPart()[0]->getIP(), "192.0.2.2");
    EXPECT_EQ(pool_.GetOwnedCount(), owned + 2);
}

TEST_F(ChainFillTest, RefusesChainsWhileShuttingDown) {
    host_.shuttingDown = true;
    EXPECT_FALSE(Setup());
    EXPECT_TRUE(chain_.GetPublicPart().empty());
}

// The HTTP last hop with a pinned pick order whose first slots are 2, 0, 1.
class HttpLastHopTest : public ProxyPoolTest {
protected:
    void SetUp() override {
        std::array<int, CTimerThread::kSlots> order{};
        std::iota(order.begin(), order.end(), 0);
        order[0] = 2;
        order[1] = 0;
        order[2] = 1;
        ASSERT_TRUE(timer_.SetPickOrder(order));
    }

    void AddHttp(const char* ip, double rank) {
        CProxy proxy(ip, 80, PROXY_TYPE_HTTP);
        proxy.setRank(rank);
        pool_.AddPublicProxy(proxy);
    }
};

TEST_F(HttpLastHopTest, WalksThePicksWithAddedStepsAndStopsAtTheEnd) {
    const struct {
        std::array<double, 3> ranks;
        const char* chosen;  // null: none
    } cases[] = {
        {{5, 5, 5}, "10.0.0.3"},
        {{5, 0, 5}, "10.0.0.3"},
        // 2 is unranked, 2 + 0 again, 2 + 0 + 1 passes the end: the walk stops
        {{5, 5, 0}, nullptr},
    };
    for (const auto& c : cases) {
        CProxyMap pool(timer_);
        for (int i = 0; i < 3; ++i) {
            CProxy proxy(("10.0.0." + std::to_string(i + 1)).c_str(), 80, PROXY_TYPE_HTTP);
            proxy.setRank(c.ranks[i]);
            pool.AddPublicProxy(proxy);
        }
        CProxyChain chain;
        ASSERT_TRUE(pool.SetupChain(settings_, chain, false, CHAIN_PRIVATE_THEN_PUBLIC,
                                    REQUEST_HTTP));
        EXPECT_EQ(chain.GetUseHttp(), c.chosen != nullptr);
        if (c.chosen) {
            EXPECT_STREQ(chain.GetRandomHttpProxy().getIP(), c.chosen);
        }
    }
}

TEST_F(HttpLastHopTest, FallsBackToThePrivateHttpListWhenThePublicOneFailed) {
    Seed("KVList", {{.ip = "private-http", .type = "2"}});
    pool_.Init();
    AddHttp("public-http", 0);
    ASSERT_TRUE(Setup(REQUEST_HTTP));
    EXPECT_TRUE(chain_.GetUseHttp());
    EXPECT_STREQ(chain_.GetRandomHttpProxy().getIP(), "private-http");
    EXPECT_TRUE(chain_.GetRandomHttpProxy().getIsPrivate());
}

TEST_F(HttpLastHopTest, GivesNoLastHopWithoutRankedHttpProxies) {
    pool_.Init();
    AddHttp("public-http", 0);
    ASSERT_TRUE(Setup(REQUEST_HTTP));
    EXPECT_FALSE(chain_.GetUseHttp());
}

class FailedProxyTest : public ChainFillTest {};

TEST_F(FailedProxyTest, RanksAPublicProxyZeroAndStoresACopyThroughTheUtilThread) {
    settings_.SetChainLength(4);
    ASSERT_TRUE(Setup());
    CProxy* failed = nullptr;
    for (CProxy* proxy : chain_.GetPublicPart().Snapshot()) {
        if (std::string(proxy->getIP()) == "h3a") failed = proxy;
    }
    ASSERT_NE(failed, nullptr);
    failed->setFailCount(2);
    const int owned = pool_.GetOwnedCount();

    pool_.HandleFailedProxy(failed);
    EXPECT_EQ(failed->getRank(), 0);
    EXPECT_EQ(failed->getFailCount(), 3);
    EXPECT_FALSE(pool_.GetPublicLists().Https().Contains("h3a"));
    EXPECT_EQ(pool_.GetOwnedCount(), owned);

    auto posts = host_.TakePosts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_NE(posts[0].get(), failed);
    EXPECT_STREQ(posts[0]->getIP(), "h3a");
    EXPECT_EQ(posts[0]->getRank(), 0);
    EXPECT_EQ(posts[0]->getFailCount(), 3);

    // What the util thread does with it: the row is stored again and a
    // reload no longer takes it.
    pool_.IAddProxy(*posts[0]);
    EXPECT_EQ(Query(DatabasePath(), "select Rank, FailCount from Proxy where IP = 'h3a'"),
              (std::vector<std::vector<std::string>>{{"0.0", "3"}}));
    ASSERT_TRUE(Setup(REQUEST_SOCKS5, CHAIN_PUBLIC_ONLY));
    EXPECT_FALSE(pool_.GetPublicLists().Https().Contains("h3a"));
}

TEST_F(FailedProxyTest, TakesAPrivateProxyOutOfItsListWithoutStoringIt) {
    ASSERT_TRUE(Setup());
    CBProxyChain& part = chain_.GetPrivatePart();
    ASSERT_FALSE(part.empty());
    CProxy* failed = part[0];
    const std::string ip = failed->getIP();
    pool_.HandleFailedProxy(part.begin());
    EXPECT_EQ(failed->getRank(), 0);
    EXPECT_EQ(failed->getFailCount(), 1);
    EXPECT_FALSE(pool_.GetPrivateLists().Socks4().Contains(ip.c_str()));
    EXPECT_TRUE(host_.TakePosts().empty());
}

TEST_F(FailedProxyTest, IgnoresNullAndSurvivesARefusedPost) {
    pool_.HandleFailedProxy(static_cast<CProxy*>(nullptr));
    EXPECT_TRUE(host_.TakePosts().empty());
    host_.refusePosts = true;
    ASSERT_TRUE(Setup());
    pool_.HandleFailedProxy(chain_.GetPublicPart()[0]);
    pool_.PostProxyDelMessage(chain_.GetPublicPart()[0]);
    EXPECT_TRUE(host_.TakePosts().empty());
}

TEST_F(ProxyPoolTest, AddsAnalysedProxiesToTheListOfTheirKindOnce) {
    CProxy passed("5.5.5.5", 3128, PROXY_TYPE_SOCKS4);
    passed.setRank(3);
    EXPECT_TRUE(pool_.AddPublicProxy(passed));
    EXPECT_TRUE(pool_.AddPublicProxy(passed));
    EXPECT_TRUE(pool_.AddPublicProxy(CProxy("6.6.6.6", 80, PROXY_TYPE_UNKNOWN)));
    const std::vector<CProxy*> listed = pool_.GetPublicLists().Socks4().Snapshot();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_NE(listed[0], &passed);
    EXPECT_EQ(listed[0]->getPort(), 3128);
    EXPECT_EQ(pool_.GetOwnedCount(), 1);
    pool_.FreeProxyVectorMem();
    EXPECT_EQ(pool_.GetOwnedCount(), 0);
    EXPECT_TRUE(pool_.GetPublicLists().Socks4().empty());
}

TEST_F(ProxyPoolTest, OpensTheDatabaseOncePerServerStart) {
    std::filesystem::remove(DatabasePath());
    ASSERT_TRUE(std::filesystem::exists(SeedDatabasePath())) << SeedDatabasePath();
    pool_.Init();
    ASSERT_TRUE(std::filesystem::exists(DatabasePath()));
    EXPECT_TRUE(pool_.GetDatabase().IsOpen());

    Seed("KVList", {{.ip = "p1", .type = "3"}});
    pool_.Init();
    EXPECT_TRUE(pool_.GetPrivateLists().Https().empty());
    pool_.SetDBInitialized(false);
    pool_.Init();
    // The next server start rereads a private list found empty before.
    EXPECT_EQ(IpsOf(pool_.GetPrivateLists().Https()), (Names{"p1"}));

    Seed("KVList", {{.ip = "p2", .type = "4"}});
    CProxyMap fresh(timer_);
    std::filesystem::permissions(DatabasePath(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    fresh.Init();
    EXPECT_NE(std::filesystem::status(DatabasePath()).permissions() &
                  std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
    EXPECT_EQ(IpsOf(fresh.GetPrivateLists().Https()), (Names{"p1"}));
    EXPECT_EQ(IpsOf(fresh.GetPrivateLists().Socks4()), (Names{"p2"}));
    EXPECT_TRUE(fresh.GetPrivateLists().Socks4().Snapshot()[0]->getIsPrivate());
    EXPECT_TRUE(fresh.IDeleteAllProxies());
    EXPECT_TRUE(fresh.IAddProxy(*fresh.GetPrivateLists().Socks4().Snapshot()[0]));
    CProxy stored("9.9.9.9", 80, PROXY_TYPE_HTTP);
    fresh.IAddProxy(stored);
    EXPECT_EQ(Query(DatabasePath(), "select IP from Proxy").size(), 1u);
}

TEST_F(ProxyPoolTest, LeavesThePoolEmptyWithoutADatabase) {
    std::filesystem::remove(DatabasePath());
    kvtest::WriteFile(DatabasePath(), "");
    pool_.Init();
    ASSERT_TRUE(Setup(REQUEST_HTTP));
    EXPECT_TRUE(chain_.GetPublicPart().empty());
    EXPECT_FALSE(chain_.GetUseHttp());
    CDatasetTranslator rows(true);
    EXPECT_FALSE(pool_.GetAllProxies(rows));
    EXPECT_EQ(pool_.IFindCountry("10.0.0.1"), "");
    pooltest::RecordingList list;
    EXPECT_FALSE(pool_.Write(list, true, true));
}

class CountingThread : public CThread {
public:
    ~CountingThread() override { Stop(); }
    platform::DWORD Run() override {
        ++runs;
        return 1;
    }
    std::atomic<int> runs{0};
};

TEST_F(ProxyPoolTest, StartsThePrivateListAnalysisOnlyWhileNotAnalysed) {
    auto analyzer = std::make_unique<CountingThread>();
    CountingThread* counting = analyzer.get();
    pool_.SetPrivateListAnalyzer(std::move(analyzer));
    EXPECT_TRUE(pool_.GetIsPrivateAnalyzed());
    pool_.AnalyzePrivateList();
    pool_.StopAnalyzingPrivateList();
    EXPECT_EQ(counting->runs, 0);

    pool_.SetIsPrivateAnalyzed(false);
    pool_.AnalyzePrivateList();
    pool_.StopAnalyzingPrivateList();
    EXPECT_EQ(counting->runs, 1);
    EXPECT_TRUE(pool_.GetIsPrivateAnalyzed());
    pool_.AnalyzePrivateList();
    pool_.StopAnalyzingPrivateList();
    EXPECT_EQ(counting->runs, 1);

    pool_.SetIsPrivateAnalyzed(false);
    ASSERT_TRUE(Setup());
    EXPECT_TRUE(pool_.GetIsPrivateAnalyzed());
}

}  // namespace
