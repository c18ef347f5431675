// How a relayed connection ends, on every listener: a client that ends its
// stream after its request still gets the whole answer, and in a tunnel an
// upstream that ends its stream first leaves the client sending.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "common/eProxyType.h"
#include "engine/EngineFixture.h"
#include "pool/PoolFixture.h"
#include "rig/FakeUpstream.h"
#include "rig/LoopbackClient.h"
#include "rig/LoopbackRig.h"
#include "socks/SocksBytes.h"

namespace {

using namespace std::chrono_literals;
using kvtest::FakeScript;
using kvtest::FakeUpstream;
using kvtest::LoopbackClient;
using namespace sockstest;

enum class Protocol { Http, Connect, Socks4, Socks5 };

struct ListenerCase {
    int listener;
    Protocol protocol;
};

std::string Label(const ListenerCase& c) {
    static const char* const kNames[] = {"http", "connect", "socks4", "socks5"};
    return "listener" + std::to_string(c.listener) + "_" + kNames[static_cast<int>(c.protocol)];
}

std::string CaseName(const testing::TestParamInfo<ListenerCase>& info) { return Label(info.param); }

void PrintTo(const ListenerCase& c, std::ostream* out) { *out << Label(c); }

// What the client sends to have a tunnel to 127.0.0.1:port, and the size of
// the answer that opens it.
struct Opening {
    std::string request;
    std::size_t answer = 0;
};

Opening OpenTunnel(Protocol protocol, std::uint16_t port) {
    switch (protocol) {
    case Protocol::Connect: {
        const std::string host = "127.0.0.1:" + std::to_string(port);
        return {"CONNECT " + host + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n",
                std::string("HTTP/1.1 200 OK\r\nHost: 127.0.0.1\r\n\r\n").size()};
    }
    case Protocol::Socks4:
        return {Socks4Request(port), 8};
    case Protocol::Socks5:
        return {kS5Greeting + Socks5Request(port), kS5Hello.size() + kS5Success.size()};
    case Protocol::Http:
        break;
    }
    return {};
}

std::string ReadExactly(LoopbackClient& client, std::size_t n, std::chrono::milliseconds limit) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (got.size() < n && std::chrono::steady_clock::now() < deadline) {
        if (client.ReadSome(got, 1s, n - got.size()) != LoopbackClient::Read::Data) break;
    }
    return got;
}

// The body of an HTTP response ("<no head>" without one).
std::string Body(const std::string& response) {
    const std::size_t end = response.find("\r\n\r\n");
    return end == std::string::npos ? "<no head>" : response.substr(end + 4);
}

class RelayClosingTest : public srvtest::EngineTest, public testing::WithParamInterface<ListenerCase> {
protected:
    ~RelayClosingTest() override { StopEngine(); }

    void StartListener(bool chain = false) {
        const int type = GetParam().listener;
        StartRunningEngine({.chain = chain, .chainLength = 2, .adjust = [type](CSettings& s) {
                                s.getPrivacySettings()->mListenerType = type;
                            }});
    }
    bool Tunnel() const { return GetParam().protocol != Protocol::Http; }

    kvtest::LoopbackRig rig_;
};

// The client sends its request and ends its stream either at once (the
// chain setup still runs) or once its tunnel is open. (Bytes in the block of
// a CONNECT head are not sent at once here: they belong to the tunnel, a
// case of its own.)
TEST_P(RelayClosingTest, ClientThatEndsItsStreamAfterTheRequestGetsTheWholeAnswer) {
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 2 * 1024 * 1024}});
    StartListener();
    const std::string get = "GET /page.bin HTTP/1.0\r\n\r\n";
    for (const bool atOnce : {true, false}) {
        if (atOnce ? GetParam().protocol == Protocol::Connect : !Tunnel()) continue;
        SCOPED_TRACE(atOnce ? "ends with the request" : "ends once the tunnel is open");
        LoopbackClient client;
        ASSERT_TRUE(client.Connect(port()));
        std::string response;
        if (Tunnel()) {
            const Opening opening = OpenTunnel(GetParam().protocol, origin.port());
            if (atOnce) {
                ASSERT_TRUE(client.SendAll(opening.request + get));
            } else {
                ASSERT_TRUE(client.SendAll(opening.request));
                ASSERT_EQ(ReadExactly(client, opening.answer, 10s).size(), opening.answer);
                ASSERT_TRUE(client.SendAll(get));
            }
            ASSERT_TRUE(client.EndSending());
            response = client.ReadUntilClosed(30s);
            if (atOnce) response.erase(0, std::min(response.size(), opening.answer));
        } else {
            const std::string host = "127.0.0.1:" + std::to_string(origin.port());
            ASSERT_TRUE(client.SendAll("GET http://" + host + "/page.bin HTTP/1.0\r\nHost: " + host + "\r\n\r\n"));
            ASSERT_TRUE(client.EndSending());
            response = client.ReadUntilClosed(30s);
        }
        EXPECT_TRUE(Body(response) == origin.Content("page.bin")) << response.size() << " bytes";
    }
}

// Dante passes an ended stream on as the relay does.
TEST_P(RelayClosingTest, ClientThatEndsItsStreamGetsTheWholeAnswerThroughAChainOfRealProxies) {
    const kvtest::Peer& first = rig_.StartDante();
    const kvtest::Peer& second = rig_.StartDante();
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 1024 * 1024}});
    pooltest::SeedEngineDatabase({pooltest::LoopbackHop(first.port(), PROXY_TYPE_SOCKS5)},
                                 {pooltest::LoopbackHop(second.port(), PROXY_TYPE_SOCKS4)});
    StartListener(true);
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    std::string request = "GET /page.bin HTTP/1.0\r\n\r\n";
    std::size_t answer = 0;
    if (Tunnel()) {
        const Opening opening = OpenTunnel(GetParam().protocol, origin.port());
        answer = opening.answer;
        if (GetParam().protocol == Protocol::Connect) {
            ASSERT_TRUE(client.SendAll(opening.request));
            ASSERT_EQ(ReadExactly(client, answer, 20s).size(), answer);
            answer = 0;
        } else {
            request = opening.request + request;
        }
    } else {
        const std::string host = "127.0.0.1:" + std::to_string(origin.port());
        request = "GET http://" + host + "/page.bin HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
    }
    ASSERT_TRUE(client.SendAll(request));
    ASSERT_TRUE(client.EndSending());
    const std::string response = client.ReadUntilClosed(60s);
    ASSERT_GE(response.size(), answer);
    EXPECT_TRUE(Body(response.substr(answer)) == origin.Content("page.bin")) << response.size() << " bytes";
}

// A plain HTTP connection ends with the upstream's answer; tunnels do not.
class TunnelClosingTest : public RelayClosingTest {};

TEST_P(TunnelClosingTest, UpstreamThatEndsItsStreamFirstLeavesTheClientSending) {
    FakeUpstream fake({FakeScript().ExpectUntil("hello").Send("answer").EndSending()});
    StartListener();
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    const Opening opening = OpenTunnel(GetParam().protocol, fake.port());
    ASSERT_TRUE(client.SendAll(opening.request));
    ASSERT_EQ(ReadExactly(client, opening.answer, 10s).size(), opening.answer);
    ASSERT_TRUE(client.SendAll("hello"));
    // The answer, then the upstream's end of stream.
    EXPECT_EQ(client.ReadUntilClosed(10s), "answer");
    ASSERT_TRUE(client.SendAll("more bytes"));
    ASSERT_TRUE(client.EndSending());
    ASSERT_TRUE(fake.WaitFinished(1, 10s));
    const kvtest::FakeSession session = fake.Sessions().at(0);
    EXPECT_EQ(session.received, "hellomore bytes");
    EXPECT_TRUE(session.clientClosed);
}

INSTANTIATE_TEST_SUITE_P(Listeners, RelayClosingTest,
                         testing::Values(ListenerCase{2, Protocol::Http}, ListenerCase{2, Protocol::Connect},
                                         ListenerCase{4, Protocol::Socks4}, ListenerCase{5, Protocol::Socks5},
                                         ListenerCase{6, Protocol::Http}, ListenerCase{6, Protocol::Connect},
                                         ListenerCase{6, Protocol::Socks4}, ListenerCase{6, Protocol::Socks5}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(Listeners, TunnelClosingTest,
                         testing::Values(ListenerCase{2, Protocol::Connect}, ListenerCase{4, Protocol::Socks4},
                                         ListenerCase{5, Protocol::Socks5}, ListenerCase{6, Protocol::Connect},
                                         ListenerCase{6, Protocol::Socks4}, ListenerCase{6, Protocol::Socks5}),
                         CaseName);

}  // namespace
