// The life of one chain setup: the hand-over to the owning thread, the
// engine stop and the kill ending a stuck worker at once, one setup at a
// time, and destinations that fail without any connection attempt.

#include <gtest/gtest.h>
#include <netinet/in.h>

#include <chrono>
#include <thread>

#include "platform/Messages.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"
#include "rig/FakeUpstream.h"
#include "upstream/UpstreamFixture.h"

namespace upstreamtest {
namespace {
using namespace std::chrono_literals;
using kvtest::FakeScript;
using kvtest::FakeUpstream;
using Clock = std::chrono::steady_clock;

// A SOCKS5 firewall that takes the greeting and never answers.
FakeScript SilentSocks5() { return FakeScript().Expect(3).Silence(20s); }

bool WaitReceived(const FakeUpstream& fake, std::size_t bytes, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        const auto sessions = fake.Sessions();
        if (!sessions.empty() && sessions[0].received.size() >= bytes) return true;
        std::this_thread::sleep_for(2ms);
    }
    return false;
}

// True once a hand-over waits in this thread's queue (left there).
bool WaitHandOverQueued(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        platform::MSG msg;
        if (platform::PeekMessage(msg, nullptr, WM_RELAY_ATTACH_SOCKET, WM_RELAY_ATTACH_SOCKET,
                                  platform::PM_NOREMOVE)) {
            return true;
        }
        std::this_thread::sleep_for(2ms);
    }
    return false;
}

class SetupLifecycleTest : public UpstreamTest {};

TEST_F(SetupLifecycleTest, HandsTheUpstreamAndTheRequestToTheOwningThread) {
    FakeUpstream destination(FakeScript().Echo());
    auto connection = NewConnection(destination.port(), false, REQUEST_HTTP);
    connection->SetDestinationAddress(0);
    connection->SetDestinationHost(TestResolver::kKnownName);
    const std::string request("GET / HTTP/1.0\r\n\r\nbody\0with a zero", 34);
    connection->SetRequest(request.data(), static_cast<int>(request.size()));
    ASSERT_TRUE(RunSetup(*connection));

    ASSERT_EQ(connection->outcomes, std::vector<bool>{true});
    EXPECT_EQ(connection->answeredOn, platform::GetCurrentThreadId());
    EXPECT_EQ(connection->request, request);
    ASSERT_TRUE(SendAll(connection->upstream, "ping"));
    EXPECT_EQ(ReadCount(connection->upstream, 4), "ping");
    // The name was looked up by the worker, not by the owning thread.
    const auto lookups = resolver_.Lookups();
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].name, TestResolver::kKnownName);
    EXPECT_NE(lookups[0].thread, platform::GetCurrentThreadId());
    const auto items = logs_.Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].destination, TestResolver::kKnownName);
}

TEST_F(SetupLifecycleTest, TheStopEventEndsAStuckWorkerAtOnceWithTheFailureAnswer) {
    FakeUpstream firewall(SilentSocks5());
    FakeUpstream destination(FakeScript().Echo());
    Configure({.firewall = LoopbackProxy(firewall.port(), PROXY_TYPE_SOCKS5)});
    auto connection = NewConnection(destination.port(), true, REQUEST_SOCKS5);
    ASSERT_TRUE(connection->StartChainSetupThread());
    ASSERT_TRUE(WaitReceived(firewall, 3, 5s));
    // The worker now waits for the greeting's answer.
    EXPECT_FALSE(Pump(*connection, 50ms));

    const auto stoppedAt = Clock::now();
    CProxyServer::mStopEvent.Set();
    ASSERT_TRUE(Pump(*connection, 1s));
    EXPECT_LT(Clock::now() - stoppedAt, 100ms);
    EXPECT_EQ(connection->outcomes, std::vector<bool>{false});
    EXPECT_FALSE(destination.WaitAccepted(1, 50ms));
}

TEST_F(SetupLifecycleTest, TheStopEventEndsAConnectThatHangsAndBlamesNoProxy) {
    FullListener full;
    ASSERT_TRUE(full.filled());
    SeedPool({PoolRow(full.port(), PROXY_TYPE_HTTPS)}, {});
    Configure({.length = 1});
    auto connection = NewConnection(4321, true, REQUEST_SOCKS5);
    ASSERT_TRUE(connection->StartChainSetupThread());
    EXPECT_FALSE(Pump(*connection, 300ms));

    const auto stoppedAt = Clock::now();
    CProxyServer::mStopEvent.Set();
    ASSERT_TRUE(Pump(*connection, 1s));
    EXPECT_LT(Clock::now() - stoppedAt, 100ms);
    EXPECT_EQ(connection->outcomes, std::vector<bool>{false});
    // The proxy did nothing wrong: the engine stopped.
    EXPECT_TRUE(host_.TakePosts().empty());
    std::lock_guard lock(CBaseServer::m_ProxyPool.GetPoolLock());
    EXPECT_EQ(CBaseServer::m_ProxyPool.GetPublicLists().Https().size(), 1);
}

TEST_F(SetupLifecycleTest, AKilledSetupEndsAtOnceWithoutAnAnswer) {
    FakeUpstream firewall(SilentSocks5());
    Configure({.firewall = LoopbackProxy(firewall.port(), PROXY_TYPE_SOCKS5)});
    auto connection = NewConnection(4321, true, REQUEST_SOCKS5);
    ASSERT_TRUE(connection->StartChainSetupThread());
    ASSERT_TRUE(WaitReceived(firewall, 3, 5s));
    // One setup at a time.
    EXPECT_FALSE(connection->StartChainSetupThread());

    const auto killedAt = Clock::now();
    connection->KillObject();
    ASSERT_TRUE(Pump(*connection, 1s));
    EXPECT_LT(Clock::now() - killedAt, 100ms);
    EXPECT_TRUE(connection->outcomes.empty());
    EXPECT_TRUE(connection->IsObjectKilled());
}

TEST_F(SetupLifecycleTest, AConnectedUpstreamOfAKilledObjectIsClosed) {
    FakeUpstream destination(FakeScript().Echo());
    auto connection = NewConnection(destination.port(), true, REQUEST_SOCKS5);
    ASSERT_TRUE(connection->StartChainSetupThread());
    ASSERT_TRUE(WaitHandOverQueued(5s));
    connection->KillObject();
    ASSERT_TRUE(Pump(*connection, 1s));
    EXPECT_TRUE(connection->outcomes.empty());
    ASSERT_TRUE(destination.WaitFinished(1, 5s));
    EXPECT_TRUE(destination.Sessions().at(0).clientClosed);
}

TEST_F(SetupLifecycleTest, UnreachableDestinationsFailWithoutAnyConnectionAttempt) {
    FakeUpstream firewall(FakeScript().Echo());
    FakeUpstream proxy(FakeScript().Echo());
    FakeUpstream destination(FakeScript().Echo());
    SeedPool({PoolRow(proxy.port(), PROXY_TYPE_SOCKS5)}, {});
    Configure({.length = 1, .firewall = LoopbackProxy(firewall.port(), PROXY_TYPE_SOCKS5)});
    struct Row {
        const char* name;
        std::string host;
        platform::DWORD address;
        int port;
    };
    const std::vector<Row> rows = {
        {"an unknown name", "no.such.name", 0, destination.port()},
        {"address 0.0.0.0", "", 0, destination.port()},
        {"port 0", "", htonl(INADDR_LOOPBACK), 0},
        {"port 70000", "", htonl(INADDR_LOOPBACK), 70000},
        {"a name longer than 100 characters", std::string(101, 'a'), 0, destination.port()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto connection = NewConnection(0, true, REQUEST_SOCKS5);
        connection->SetDestinationHost(row.host);
        connection->SetDestinationAddress(row.address);
        connection->SetDestinationPort(row.port);
        ASSERT_TRUE(RunSetup(*connection, 5s));
        EXPECT_EQ(connection->outcomes, std::vector<bool>{false});
    }
    EXPECT_FALSE(firewall.WaitAccepted(1, 50ms));
    EXPECT_FALSE(proxy.WaitAccepted(1, 0ms));
    EXPECT_FALSE(destination.WaitAccepted(1, 0ms));
    // Only the unknown name was looked up; the long one never was.
    const auto lookups = resolver_.Lookups();
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].name, "no.such.name");
    EXPECT_TRUE(host_.TakePosts().empty());
}

}  // namespace
}  // namespace upstreamtest
