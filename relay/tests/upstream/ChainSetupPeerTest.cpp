// Whole chain setups against real proxies on loopback: the destination
// reached directly, through the firewall proxy, and through chains, with the
// data carried byte for byte and the connected hops as the chain log sees
// them.

#include <gtest/gtest.h>

#include "relay/engine/CBaseServer.h"
#include "rig/LoopbackRig.h"
#include "upstream/UpstreamFixture.h"

namespace upstreamtest {
namespace {

constexpr const char* kPage = "page.bin";
constexpr std::size_t kPageSize = 70000;

class ChainSetupPeerTest : public UpstreamTest {};

TEST_F(ChainSetupPeerTest, ReachesTheOriginDirectlyAndThroughTheFirewallByteForByte) {
    kvtest::LoopbackRig rig;
    const kvtest::Origin& origin = rig.StartOrigin({{kPage, kPageSize}});
    const std::uint16_t dante = rig.StartDante().port();
    const std::uint16_t tinyproxy = rig.StartTinyproxy().port();
    struct Row {
        const char* name;
        std::optional<CProxy> firewall;
        bool tunnel;
    };
    const std::vector<Row> rows = {
        {"direct", std::nullopt, true},
        {"firewall dante SOCKS5", LoopbackProxy(dante, PROXY_TYPE_SOCKS5), true},
        {"firewall dante SOCKS4", LoopbackProxy(dante, PROXY_TYPE_SOCKS4), true},
        {"firewall tinyproxy HTTPS", LoopbackProxy(tinyproxy, PROXY_TYPE_HTTPS), true},
        {"firewall tinyproxy HTTP, tunnel asked with CONNECT", LoopbackProxy(tinyproxy, PROXY_TYPE_HTTP), true},
        {"firewall tinyproxy HTTP, plain request", LoopbackProxy(tinyproxy, PROXY_TYPE_HTTP), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Configure({.firewall = row.firewall});
        auto connection = NewConnection(origin.port(), row.tunnel, row.tunnel ? REQUEST_SOCKS5 : REQUEST_HTTP);
        ASSERT_TRUE(RunSetup(*connection));
        ASSERT_EQ(connection->outcomes, std::vector<bool>{true});
        // The direct road lists no hop, the firewall included.
        EXPECT_TRUE(connection->hops.empty());
        const std::string request = row.tunnel || !row.firewall ? Get(kPage) : AbsoluteGet(origin.port(), kPage);
        ASSERT_TRUE(SendAll(connection->upstream, request));
        const std::string response = connection->surplus + ReadUntilClosed(connection->upstream);
        EXPECT_TRUE(Body(response) == origin.Content(kPage)) << response.substr(0, 200);
    }
    // With no chain wanted no balloon is shown on success.
    EXPECT_EQ(CBaseServer::GetBallonText(), "");
}

TEST_F(ChainSetupPeerTest, AClosedFirewallFailsTheDirectRoad) {
    kvtest::LoopbackRig rig;
    const kvtest::Origin& origin = rig.StartOrigin({{kPage, 100}});
    const ClosedPort closed;
    Configure({.firewall = LoopbackProxy(closed.port(), PROXY_TYPE_SOCKS5)});
    auto connection = NewConnection(origin.port(), true, REQUEST_SOCKS5);
    ASSERT_TRUE(RunSetup(*connection));
    EXPECT_EQ(connection->outcomes, std::vector<bool>{false});
    EXPECT_EQ(CBaseServer::GetBallonText(), "Failed To Connect To The Desired Server.");
}

TEST_F(ChainSetupPeerTest, TunnelsThroughAChainThatStartsAtTheFirewall) {
    kvtest::LoopbackRig rig;
    const kvtest::Origin& origin = rig.StartOrigin({{kPage, kPageSize}});
    const std::uint16_t dante = rig.StartDante().port();
    const std::uint16_t tinyproxy = rig.StartTinyproxy().port();
    // 127.0.0.1 as a number, in a country range of its own.
    pooltest::InsertCountry(DatabasePath(), 2130706432.0, 2130706687.0, "Loopland");
    SeedPool({PoolRow(tinyproxy, PROXY_TYPE_HTTPS)}, {});
    Configure({.length = 1, .firewall = LoopbackProxy(dante, PROXY_TYPE_SOCKS5)});

    auto connection = NewConnection(origin.port(), true, REQUEST_SOCKS5);
    ASSERT_TRUE(RunSetup(*connection));
    ASSERT_EQ(connection->outcomes, std::vector<bool>{true});
    const std::vector<Hop> expected = {{"127.0.0.1", dante, PROXY_TYPE_SOCKS5},
                                       {"127.0.0.1", tinyproxy, PROXY_TYPE_HTTPS}};
    EXPECT_EQ(connection->hops, expected);
    ASSERT_TRUE(SendAll(connection->upstream, Get(kPage)));
    const std::string response = connection->surplus + ReadUntilClosed(connection->upstream);
    EXPECT_TRUE(Body(response) == origin.Content(kPage)) << response.substr(0, 200);

    const auto items = logs_.Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].hops, expected);
    EXPECT_EQ(items[0].destination, "127.0.0.1");
    EXPECT_EQ(CBaseServer::GetBallonText(), "Connecting through:\n\t( HTTPS - Loopland )");
    EXPECT_TRUE(host_.TakePosts().empty());
}

TEST_F(ChainSetupPeerTest, SendsAPlainRequestThroughAChainEndingInAnHttpProxy) {
    kvtest::LoopbackRig rig;
    const kvtest::Origin& origin = rig.StartOrigin({{kPage, kPageSize}});
    const std::uint16_t dante = rig.StartDante().port();
    const std::uint16_t tinyproxy = rig.StartTinyproxy().port();
    SeedPool({PoolRow(dante, PROXY_TYPE_SOCKS5), PoolRow(tinyproxy, PROXY_TYPE_HTTP)}, {});
    Configure({.length = 2});

    auto connection = NewConnection(origin.port(), false, REQUEST_HTTP);
    connection->SetDestinationHost("127.0.0.1");
    connection->SetDestinationAddress(0);
    ASSERT_TRUE(RunSetup(*connection));
    ASSERT_EQ(connection->outcomes, std::vector<bool>{true});
    const std::vector<Hop> expected = {{"127.0.0.1", dante, PROXY_TYPE_SOCKS5},
                                       {"127.0.0.1", tinyproxy, PROXY_TYPE_HTTP}};
    EXPECT_EQ(connection->hops, expected);
    // No handshake with the HTTP proxy: the client's request goes to it as
    // it is, in absolute form.
    EXPECT_TRUE(connection->surplus.empty());
    ASSERT_TRUE(SendAll(connection->upstream, AbsoluteGet(origin.port(), kPage)));
    const std::string response = ReadUntilClosed(connection->upstream);
    EXPECT_TRUE(Body(response) == origin.Content(kPage)) << response.substr(0, 200);
    EXPECT_EQ(CBaseServer::GetBallonText(), "Connecting through:\n\t( HTTP )");
}

}  // namespace
}  // namespace upstreamtest
