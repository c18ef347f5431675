// The worker's fallback order, seen from the accept times of scripted fakes
// and real proxies on loopback, and whom each failure blames, as the pool
// records it.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>

#include "relay/engine/CBaseServer.h"
#include "rig/FakeUpstream.h"
#include "rig/LoopbackRig.h"
#include "upstream/HandshakeFeed.h"
#include "upstream/UpstreamFixture.h"

namespace upstreamtest {
namespace {
using namespace std::chrono_literals;
using kvtest::Bytes;
using kvtest::FakeScript;
using kvtest::FakeUpstream;

// Every connection the fakes accepted, oldest first, by the fakes' names.
std::vector<std::string> AcceptOrder(const std::map<std::string, const FakeUpstream*>& fakes) {
    std::vector<std::pair<std::chrono::steady_clock::time_point, std::string>> accepted;
    for (const auto& [name, fake] : fakes) {
        for (const kvtest::FakeSession& session : fake->Sessions()) accepted.emplace_back(session.acceptedAt, name);
    }
    std::sort(accepted.begin(), accepted.end());
    std::vector<std::string> names;
    for (const auto& entry : accepted) names.push_back(entry.second);
    return names;
}

struct Blamed {
    int port = 0;
    double rank = -1;
    int failCount = -1;
    friend bool operator==(const Blamed&, const Blamed&) = default;
};
std::ostream& operator<<(std::ostream& out, const Blamed& b) {
    return out << "port " << b.port << " rank " << b.rank << " fails " << b.failCount;
}

// Fakes that fail every exchange of their protocol: they read the request
// and close.
FakeScript FailingHttps() { return FakeScript().ExpectUntil("\r\n\r\n").Close(); }
FakeScript FailingSocks4() { return FakeScript().Expect(9).Close(); }
FakeScript FailingSocks5() { return FakeScript().Expect(3).Close(); }

class FallbackOrderTest : public UpstreamTest {
protected:
    // The proxies the pool posted as failed, in order.
    std::vector<Blamed> Posted() {
        std::vector<Blamed> blamed;
        for (const auto& proxy : host_.TakePosts()) {
            blamed.push_back({proxy->getPort(), proxy->getRank(), proxy->getFailCount()});
        }
        return blamed;
    }
    std::vector<int> ListedPorts(CPublicProxyList& lists, eProxyType type) {
        std::vector<int> ports;
        std::lock_guard lock(CBaseServer::m_ProxyPool.GetPoolLock());
        for (const CProxy* proxy : lists.GetList(type)->Snapshot()) ports.push_back(proxy->getPort());
        return ports;
    }
    std::vector<int> PublicPorts(eProxyType type) {
        return ListedPorts(CBaseServer::m_ProxyPool.GetPublicLists(), type);
    }
    std::vector<int> PrivatePorts(eProxyType type) {
        return ListedPorts(CBaseServer::m_ProxyPool.GetPrivateLists(), type);
    }
    // The destination echoes; the attached socket must reach it.
    void ExpectEcho(TestConnection& connection) {
        ASSERT_NE(connection.upstream, -1);
        ASSERT_TRUE(SendAll(connection.upstream, "ping"));
        EXPECT_EQ(ReadCount(connection.upstream, 4), "ping");
    }
};

TEST_F(FallbackOrderTest, TwoFailedChainTriesFallBackToThePrivateProxy) {
    kvtest::LoopbackRig rig;
    const std::uint16_t dante = rig.StartDante().port();
    FakeUpstream a(FailingHttps()), b(FailingSocks4()), c(FailingSocks5()), destination(FakeScript().Echo());
    SeedPool({PoolRow(a.port(), PROXY_TYPE_HTTPS), PoolRow(b.port(), PROXY_TYPE_SOCKS4),
              PoolRow(c.port(), PROXY_TYPE_SOCKS5)},
             {PoolRow(dante, PROXY_TYPE_SOCKS5)});
    Configure({.length = 3, .usePrivate = true});

    auto connection = NewConnection(destination.port(), true, REQUEST_SOCKS5);
    ASSERT_TRUE(RunSetup(*connection));
    ASSERT_EQ(connection->outcomes, std::vector<bool>{true});
    ExpectEcho(*connection);

    // Try 1: dante -> A -> B, A fails (and fails its test). Try 2: dante ->
    // B -> C, B fails. Then the private proxy alone reaches the destination.
    const std::vector<std::string> order = {"A", "A", "B", "B", "destination"};
    EXPECT_EQ(AcceptOrder({{"A", &a}, {"B", &b}, {"C", &c}, {"destination", &destination}}), order);
    const std::string socks4ForC = Bytes({4, 1, c.port() >> 8, c.port() & 0xFF, 127, 0, 0, 1, 0});
    EXPECT_EQ(a.Sessions().at(0).received, "CONNECT 127.0.0.1:" + std::to_string(b.port()) + " HTTP/1.1\r\n\r\n");
    EXPECT_EQ(a.Sessions().at(1).received, "CONNECT 127.0.0.1:443 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(b.Sessions().at(0).received, socks4ForC);

    EXPECT_EQ(Posted(), (std::vector<Blamed>{{a.port(), 0, 1}, {b.port(), 0, 1}}));
    EXPECT_TRUE(PublicPorts(PROXY_TYPE_HTTPS).empty());
    EXPECT_TRUE(PublicPorts(PROXY_TYPE_SOCKS4).empty());
    EXPECT_EQ(PrivatePorts(PROXY_TYPE_SOCKS5), std::vector<int>{dante});
    EXPECT_EQ(connection->hops, (std::vector<Hop>{{"127.0.0.1", dante, PROXY_TYPE_SOCKS5}}));
    EXPECT_EQ(CBaseServer::GetBallonText(), "Connecting through:\n\t( SOCKS5 )");
}

TEST_F(FallbackOrderTest, ThenOnePublicListChainThenTheDirectRoad) {
    FakeUpstream a(FailingHttps()), b(FailingSocks4()), c(FailingSocks5()), destination(FakeScript().Echo());
    SeedPool({PoolRow(a.port(), PROXY_TYPE_HTTPS), PoolRow(b.port(), PROXY_TYPE_SOCKS4),
              PoolRow(c.port(), PROXY_TYPE_SOCKS5)},
             {});
    Configure({.length = 2, .usePrivate = false});

    auto connection = NewConnection(destination.port(), true, REQUEST_SOCKS5);
    ASSERT_TRUE(RunSetup(*connection));
    ASSERT_EQ(connection->outcomes, std::vector<bool>{true});
    ExpectEcho(*connection);

    // Try 1 A -> B blames A; try 2 B -> C blames B; no private proxy; the
    // public-list chain is C alone, which fails as the last hop; then the
    // destination directly.
    const std::vector<std::string> order = {"A", "A", "B", "B", "C", "C", "destination"};
    EXPECT_EQ(AcceptOrder({{"A", &a}, {"B", &b}, {"C", &c}, {"destination", &destination}}), order);
    EXPECT_EQ(Posted(), (std::vector<Blamed>{{a.port(), 0, 1}, {b.port(), 0, 1}, {c.port(), 0, 1}}));
    EXPECT_TRUE(connection->hops.empty());
    EXPECT_EQ(CBaseServer::GetBallonText(), "Couldn't Connect Though Chain, Connected Directly.");
    const auto items = logs_.Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0].hops.empty());
    EXPECT_EQ(items[0].destination, "127.0.0.1");
}

TEST_F(FallbackOrderTest, AFailedPrivateLastHopLeavesItsListWithoutAStore) {
    FakeUpstream privateProxy(FailingSocks5()), destination(FakeScript().Echo());
    SeedPool({}, {PoolRow(privateProxy.port(), PROXY_TYPE_SOCKS5)});
    Configure({.length = 1, .usePrivate = true});

    auto connection = NewConnection(destination.port(), true, REQUEST_SOCKS5);
    ASSERT_TRUE(RunSetup(*connection));
    ASSERT_EQ(connection->outcomes, std::vector<bool>{true});
    ExpectEcho(*connection);
    const std::vector<std::string> order = {"private", "private", "destination"};
    EXPECT_EQ(AcceptOrder({{"private", &privateProxy}, {"destination", &destination}}), order);
    EXPECT_TRUE(Posted().empty());
    EXPECT_TRUE(PrivatePorts(PROXY_TYPE_SOCKS5).empty());
}

TEST_F(FallbackOrderTest, AHopThatStillWorksBlamesTheProxyItWasAskedFor) {
    kvtest::LoopbackRig rig;
    const std::uint16_t dante = rig.StartDante().port();
    const ClosedPort closedPort;
    const std::uint16_t closed = closedPort.port();
    FakeUpstream destination(FakeScript().Echo());
    SeedPool({PoolRow(dante, PROXY_TYPE_SOCKS4), PoolRow(closed, PROXY_TYPE_SOCKS5)}, {});
    Configure({.length = 2});

    auto connection = NewConnection(destination.port(), true, REQUEST_SOCKS4);
    ASSERT_TRUE(RunSetup(*connection));
    ASSERT_EQ(connection->outcomes, std::vector<bool>{true});
    ExpectEcho(*connection);
    // dante refused the closed port and passed its own test: the closed
    // one is at fault. The second try is dante alone.
    EXPECT_EQ(Posted(), (std::vector<Blamed>{{closed, 0, 1}}));
    EXPECT_EQ(PublicPorts(PROXY_TYPE_SOCKS4), std::vector<int>{dante});
    EXPECT_EQ(connection->hops, (std::vector<Hop>{{"127.0.0.1", dante, PROXY_TYPE_SOCKS4}}));
}

TEST_F(FallbackOrderTest, ARefusedDestinationFailsTheSetupAndBlamesNoProxy) {
    kvtest::LoopbackRig rig;
    const std::uint16_t dante = rig.StartDante().port();
    SeedPool({PoolRow(dante, PROXY_TYPE_SOCKS5)}, {});
    Configure({.length = 1});

    const ClosedPort closed;
    auto connection = NewConnection(closed.port(), true, REQUEST_SOCKS5);
    ASSERT_TRUE(RunSetup(*connection));
    EXPECT_EQ(connection->outcomes, std::vector<bool>{false});
    EXPECT_TRUE(Posted().empty());
    EXPECT_EQ(PublicPorts(PROXY_TYPE_SOCKS5), std::vector<int>{dante});
    EXPECT_EQ(CBaseServer::GetBallonText(), "Failed To Connect To The Desired Server.");
    EXPECT_TRUE(logs_.Items().empty());
}

TEST_F(FallbackOrderTest, AnUnreachableHttpLastHopIsBlamedAndTheRequestGoesDirectly) {
    const ClosedPort closedPort;
    const std::uint16_t closed = closedPort.port();
    FakeUpstream destination(FakeScript().Echo());
    SeedPool({PoolRow(closed, PROXY_TYPE_HTTP)}, {});
    Configure({.length = 1});

    auto connection = NewConnection(destination.port(), false, REQUEST_HTTP);
    ASSERT_TRUE(RunSetup(*connection));
    ASSERT_EQ(connection->outcomes, std::vector<bool>{true});
    ExpectEcho(*connection);
    EXPECT_EQ(Posted(), (std::vector<Blamed>{{closed, 0, 1}}));
    EXPECT_TRUE(PublicPorts(PROXY_TYPE_HTTP).empty());
    EXPECT_TRUE(connection->hops.empty());
}

// A firewall proxy that refuses, or that fails the exchange and its own
// test, is at fault itself: repeated requests leave the chain member ranked
// and listed.
TEST_F(FallbackOrderTest, ABrokenFirewallBlamesNoChainMember) {
    kvtest::LoopbackRig rig;
    const std::uint16_t dante = rig.StartDante().port();
    const ClosedPort refusing;
    FakeUpstream failing(FailingSocks5());
    const struct {
        const char* name;
        std::uint16_t firewall;
    } rows[] = {{"refusing firewall", refusing.port()}, {"failing firewall", failing.port()}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SeedPool({PoolRow(dante, PROXY_TYPE_SOCKS5)}, {});
        Configure({.length = 1, .firewall = LoopbackProxy(row.firewall, PROXY_TYPE_SOCKS5)});
        for (int request = 0; request < 3; ++request) {
            auto connection = NewConnection(dante, true, REQUEST_SOCKS5);
            ASSERT_TRUE(RunSetup(*connection));
            EXPECT_EQ(connection->outcomes, std::vector<bool>{false});
        }
        EXPECT_TRUE(Posted().empty());
        EXPECT_EQ(PublicPorts(PROXY_TYPE_SOCKS5), std::vector<int>{dante});
    }
}

}  // namespace
}  // namespace upstreamtest
