// The connection object's own socket steps against the scripted fake and
// real proxies: the bounded connect, the three client handshakes (exact
// reply lengths, surplus kept, only 2xx opens a tunnel), the proxy tests,
// and the blame refinement of one hop.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <functional>

#include "platform/Sockets.h"
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
using Clock = std::chrono::steady_clock;

constexpr std::uint16_t kDestination = 4321;  // 0x10E1

enum class Op { Socks4, Socks5, Connect };

// Runs one handshake of connection over a fresh connection to proxyPort.
eConnectionStatus Handshake(TestConnection& connection, platform::SOCKET& s, std::uint16_t proxyPort, Op op,
                            std::uint16_t destination) {
    if (!connection.Connect(s, "127.0.0.1", proxyPort)) return static_cast<eConnectionStatus>(-1);
    platform::DWORD responseTime = 0;
    switch (op) {
    case Op::Socks4:
        return connection.ConnectSOCKS4(s, htonl(INADDR_LOOPBACK), destination, responseTime);
    case Op::Socks5:
        return connection.ConnectSOCKS5(s, htonl(INADDR_LOOPBACK), destination, responseTime);
    case Op::Connect:
        return connection.ConnectHTTPT(s, "127.0.0.1", destination, responseTime);
    }
    return CONNECTION_FAILED;
}

const std::string kSocks4Request = Bytes({0x04, 0x01, 0x10, 0xE1, 127, 0, 0, 1, 0x00});
const std::string kSocks5Greeting = Bytes({0x05, 0x01, 0x00});
const std::string kSocks5Request = Bytes({0x05, 0x01, 0x00, 0x01, 127, 0, 0, 1, 0x10, 0xE1});
const std::string kConnectRequest = "CONNECT 127.0.0.1:4321 HTTP/1.1\r\n\r\n";
const std::string kSocks4Granted = Bytes({0x00, 0x5A, 0x10, 0xE1, 127, 0, 0, 1});
const std::string kSocks5Granted = Bytes({0x05, 0x00, 0x00, 0x01, 127, 0, 0, 1, 0x10, 0xE1});

class ClientHandshakeTest : public UpstreamTest {};

TEST_F(ClientHandshakeTest, JudgesScriptedRepliesToTheirExactEnd) {
    struct Row {
        const char* name;
        Op op;
        FakeScript script;
        eConnectionStatus status;
        std::string after;  // bytes past the reply the client must still get
    };
    const std::string nameReply = Bytes({0x05, 0x00, 0x00, 0x03, 4}) + "host" + Bytes({0x10, 0xE1});
    const std::vector<Row> rows = {
        {"SOCKS4 granted, then a banner", Op::Socks4, FakeScript().Expect(9).Send(kSocks4Granted + "banner"),
         CONNECTION_CONNECTED, "banner"},
        {"SOCKS4 granted byte by byte, then a banner", Op::Socks4,
         FakeScript().Expect(9).SendInPieces(kSocks4Granted + "banner", 1, 5ms), CONNECTION_CONNECTED, "banner"},
        {"SOCKS4 5B", Op::Socks4, FakeScript().Expect(9).Send(Bytes({0, 0x5B, 0, 0, 0, 0, 0, 0})),
         CONNECTION_REFUSED, ""},
        {"SOCKS4 5D", Op::Socks4, FakeScript().Expect(9).Send(Bytes({0, 0x5D, 0, 0, 0, 0, 0, 0})),
         CONNECTION_REFUSED, ""},
        {"SOCKS4 byte 1 is 00", Op::Socks4, FakeScript().Expect(9).Send(Bytes({0, 0, 0, 0, 0, 0, 0, 0})),
         CONNECTION_FAILED, ""},
        {"SOCKS4 reply cut at 7 bytes", Op::Socks4, FakeScript().Expect(9).Send(kSocks4Granted.substr(0, 7)).Close(),
         CONNECTION_FAILED, ""},
        {"SOCKS4 silent", Op::Socks4, FakeScript().Expect(9).Silence(4s), CONNECTION_FAILED, ""},
        {"SOCKS5 granted, then a banner", Op::Socks5,
         FakeScript().Expect(3).Send(Bytes({5, 0})).Expect(10).Send(kSocks5Granted + "banner"),
         CONNECTION_CONNECTED, "banner"},
        {"SOCKS5 granted with a name reply", Op::Socks5,
         FakeScript().Expect(3).Send(Bytes({5, 0})).Expect(10).SendInPieces(nameReply + "x", 3, 5ms),
         CONNECTION_CONNECTED, "x"},
        {"SOCKS5 wants authentication", Op::Socks5, FakeScript().Expect(3).Send(Bytes({5, 2})),
         CONNECTION_FAILED, ""},
        {"SOCKS5 refuses the destination", Op::Socks5,
         FakeScript().Expect(3).Send(Bytes({5, 0})).Expect(10).Send(Bytes({5, 5, 0, 1, 0, 0, 0, 0, 0, 0})),
         CONNECTION_REFUSED, ""},
        {"SOCKS5 answers in another version", Op::Socks5,
         FakeScript().Expect(3).Send(Bytes({5, 0})).Expect(10).Send(Bytes({4, 0, 0, 1, 0, 0, 0, 0, 0, 0})),
         CONNECTION_FAILED, ""},
        {"SOCKS5 closes after the greeting", Op::Socks5, FakeScript().Expect(3).Send(Bytes({5, 0})).Close(),
         CONNECTION_FAILED, ""},
        {"CONNECT 200, then a banner", Op::Connect,
         FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.0 200 Connection established\r\nProxy-agent: f\r\n\r\nbanner"),
         CONNECTION_CONNECTED, "banner"},
        {"CONNECT 200 in pieces", Op::Connect,
         FakeScript().ExpectUntil("\r\n\r\n").SendInPieces("HTTP/1.1 200 OK\r\n\r\nz", 4, 5ms),
         CONNECTION_CONNECTED, "z"},
        {"CONNECT 407", Op::Connect,
         FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.1 407 Proxy Authentication Required\r\n\r\n"),
         CONNECTION_REFUSED, ""},
        {"CONNECT 404", Op::Connect, FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.1 404 Not Found\r\n\r\n"),
         CONNECTION_REFUSED, ""},
        {"CONNECT 503", Op::Connect,
         FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.1 503 Service Unavailable\r\n\r\n"), CONNECTION_FAILED,
         ""},
        {"CONNECT 302", Op::Connect, FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.1 302 Found\r\n\r\n"),
         CONNECTION_FAILED, ""},
        {"CONNECT reply without a line end", Op::Connect,
         FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.1 200").Close(), CONNECTION_FAILED, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeUpstream fake(row.script);
        TestConnection connection;
        platform::SOCKET s = platform::INVALID_SOCKET;
        const auto start = Clock::now();
        EXPECT_EQ(Handshake(connection, s, fake.port(), row.op, kDestination), row.status);
        // Every reply is awaited no longer than the receive time-out.
        EXPECT_LT(Clock::now() - start, 3500ms);
        if (row.status == CONNECTION_CONNECTED) {
            ASSERT_NE(s, platform::INVALID_SOCKET);
            std::string after = connection.TakeUpstreamSurplus();
            after += ReadCount(s, row.after.size() - std::min(after.size(), row.after.size()), 2s);
            EXPECT_EQ(after, row.after);
            CCommonBase::Abort(s);
        } else {
            EXPECT_EQ(s, platform::INVALID_SOCKET);
            EXPECT_TRUE(connection.TakeUpstreamSurplus().empty());
        }
        fake.Stop();
        const std::string expected = row.op == Op::Socks4   ? kSocks4Request
                                     : row.op == Op::Socks5 ? kSocks5Greeting + kSocks5Request
                                                            : kConnectRequest;
        const std::string received = fake.Sessions().at(0).received;
        EXPECT_EQ(received, expected.substr(0, received.size()));
        EXPECT_GE(received.size(), row.op == Op::Socks5 ? kSocks5Greeting.size() : expected.size());
    }
}

TEST_F(ClientHandshakeTest, JudgesRealProxiesAndCarriesTheTunnelByteForByte) {
    kvtest::LoopbackRig rig;
    const kvtest::Origin& origin = rig.StartOrigin({{"page.bin", 70000}});
    const std::uint16_t dante = rig.StartDante().port();
    const std::uint16_t microsocks = rig.StartMicrosocks().port();
    const std::uint16_t tinyproxy = rig.StartTinyproxy().port();
    const std::uint16_t restricted = rig.StartTinyproxy({.connectPorts = {443}}).port();
    const std::uint16_t ncat = rig.StartNcatHttp().port();
    const std::uint16_t open = origin.port();
    const ClosedPort closedPort;
    const std::uint16_t closed = closedPort.port();
    struct Row {
        const char* name;
        std::uint16_t proxy;
        Op op;
        std::uint16_t destination;
        eConnectionStatus status;
    };
    const std::vector<Row> rows = {
        {"dante SOCKS4", dante, Op::Socks4, open, CONNECTION_CONNECTED},
        {"dante SOCKS4 to a closed port", dante, Op::Socks4, closed, CONNECTION_REFUSED},
        {"dante SOCKS5", dante, Op::Socks5, open, CONNECTION_CONNECTED},
        {"dante SOCKS5 to a closed port", dante, Op::Socks5, closed, CONNECTION_REFUSED},
        {"microsocks SOCKS5", microsocks, Op::Socks5, open, CONNECTION_CONNECTED},
        {"microsocks asked in SOCKS4", microsocks, Op::Socks4, open, CONNECTION_FAILED},
        {"tinyproxy CONNECT", tinyproxy, Op::Connect, open, CONNECTION_CONNECTED},
        {"tinyproxy CONNECT to a closed port (500)", tinyproxy, Op::Connect, closed, CONNECTION_FAILED},
        {"tinyproxy CONNECT to a port it does not allow (403)", restricted, Op::Connect, open, CONNECTION_REFUSED},
        {"ncat CONNECT", ncat, Op::Connect, open, CONNECTION_CONNECTED},
        {"ncat CONNECT to a closed port (504)", ncat, Op::Connect, closed, CONNECTION_FAILED},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestConnection connection;
        platform::SOCKET s = platform::INVALID_SOCKET;
        EXPECT_EQ(Handshake(connection, s, row.proxy, row.op, row.destination), row.status);
        if (row.status != CONNECTION_CONNECTED) {
            EXPECT_EQ(s, platform::INVALID_SOCKET);
            continue;
        }
        ASSERT_TRUE(SendAll(s, Get("page.bin")));
        const std::string response = connection.TakeUpstreamSurplus() + ReadUntilClosed(s);
        EXPECT_TRUE(Body(response) == origin.Content("page.bin")) << response.substr(0, 200);
        CCommonBase::Abort(s);
    }
}

TEST_F(ClientHandshakeTest, ProxyTestsTellWorkingProxiesFromBrokenOnes) {
    kvtest::LoopbackRig rig;
    const std::uint16_t dante = rig.StartDante().port();
    const std::uint16_t microsocks = rig.StartMicrosocks().port();
    const std::uint16_t tinyproxy = rig.StartTinyproxy().port();
    const std::uint16_t ncat = rig.StartNcatHttp().port();
    FakeUpstream closing(FakeScript().Expect(1).Close());
    FakeUpstream oneByte(FakeScript().Expect(1).Send("x"));
    const ClosedPort closedPort;
    const std::uint16_t closed = closedPort.port();
    struct Row {
        const char* name;
        CProxy proxy;
        int result;
    };
    const std::vector<Row> rows = {
        {"tinyproxy HTTP", LoopbackProxy(tinyproxy, PROXY_TYPE_HTTP), 0},
        {"tinyproxy HTTPS", LoopbackProxy(tinyproxy, PROXY_TYPE_HTTPS), 0},
        {"ncat HTTPS", LoopbackProxy(ncat, PROXY_TYPE_HTTPS), 0},
        {"dante SOCKS4 (bind refused)", LoopbackProxy(dante, PROXY_TYPE_SOCKS4), 0},
        {"dante SOCKS5 (bind refused)", LoopbackProxy(dante, PROXY_TYPE_SOCKS5), 0},
        {"microsocks SOCKS5", LoopbackProxy(microsocks, PROXY_TYPE_SOCKS5), 0},
        {"microsocks as a SOCKS4 proxy", LoopbackProxy(microsocks, PROXY_TYPE_SOCKS4), 1},
        {"any reply byte passes the HTTPS test", LoopbackProxy(oneByte.port(), PROXY_TYPE_HTTPS), 0},
        {"one byte is no SOCKS4 reply", LoopbackProxy(oneByte.port(), PROXY_TYPE_SOCKS4), 1},
        {"closed without a reply (HTTP)", LoopbackProxy(closing.port(), PROXY_TYPE_HTTP), 1},
        {"closed without a reply (SOCKS5)", LoopbackProxy(closing.port(), PROXY_TYPE_SOCKS5), 1},
        {"nothing listens", LoopbackProxy(closed, PROXY_TYPE_HTTPS), 1},
        {"a proxy of unknown type", LoopbackProxy(tinyproxy, PROXY_TYPE_UNKNOWN), 1},
    };
    for (Row row : rows) {
        SCOPED_TRACE(row.name);
        TestConnection connection;
        EXPECT_EQ(connection.TestProxyServer(row.proxy), row.result);
    }
}

TEST_F(ClientHandshakeTest, AFailedHopBlamesTheNextProxyOnlyWhileTheFirstPassesItsTest) {
    const std::string refused = Bytes({0, 0x5B, 0, 0, 0, 0, 0, 0});
    struct Row {
        const char* name;
        std::vector<FakeScript> scripts;  // the hop, then the proxy test
        eConnectionStatus result;
    };
    const std::vector<Row> rows = {
        {"refused, then the test passes", {FakeScript().Expect(9).Send(refused), FakeScript().Expect(10).Send(refused)},
         CONNECTION_REFUSED},
        {"refused, then the test fails", {FakeScript().Expect(9).Send(refused), FakeScript().Expect(10).Close()},
         CONNECTION_FAILED},
        {"silent, then the test passes", {FakeScript().Expect(9).Silence(4s), FakeScript().Expect(10).Send(refused)},
         CONNECTION_REFUSED},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeUpstream fake(row.scripts);
        TestConnection connection;
        CProxy first = LoopbackProxy(fake.port(), PROXY_TYPE_SOCKS4);
        CProxy second = LoopbackProxy(kDestination, PROXY_TYPE_HTTPS);
        platform::SOCKET s = platform::INVALID_SOCKET;
        ASSERT_TRUE(connection.Connect(s, "127.0.0.1", fake.port()));
        EXPECT_EQ(connection.ConnectFromTo(first, second, s, PROXY_TYPE_UNKNOWN), row.result);
        EXPECT_EQ(s, platform::INVALID_SOCKET);
        EXPECT_TRUE(fake.WaitAccepted(2, 1s));
    }
}

TEST_F(ClientHandshakeTest, AskingAPlainHttpProxyNeedsNoHandshake) {
    FakeUpstream fake(FakeScript().Expect(1));
    TestConnection connection;
    CProxy first = LoopbackProxy(fake.port(), PROXY_TYPE_HTTP);
    CProxy second = LoopbackProxy(kDestination, PROXY_TYPE_UNKNOWN);
    platform::SOCKET s = platform::INVALID_SOCKET;
    ASSERT_TRUE(connection.Connect(s, "127.0.0.1", fake.port()));
    EXPECT_EQ(connection.ConnectFromTo(first, second, s, PROXY_TYPE_UNKNOWN), CONNECTION_CONNECTED);
    EXPECT_NE(s, platform::INVALID_SOCKET);
    CCommonBase::Abort(s);
    ASSERT_TRUE(fake.WaitFinished(1, 5s));
    EXPECT_EQ(fake.Sessions().at(0).received, "");
}

TEST_F(ClientHandshakeTest, ConnectGivesUpOnAListenerThatNeverAnswersAfterFiveSeconds) {
    FullListener full;
    ASSERT_TRUE(full.filled());
    TestConnection connection;
    EXPECT_EQ(connection.GetConnectionTimeOut(), 5000);
    EXPECT_EQ(connection.GetSendRecvTimeOut(), 2000);
    platform::SOCKET s = platform::INVALID_SOCKET;
    const auto start = Clock::now();
    EXPECT_FALSE(connection.Connect(s, "127.0.0.1", full.port()));
    const auto took = Clock::now() - start;
    EXPECT_EQ(s, platform::INVALID_SOCKET);
    EXPECT_GE(took, 4900ms);
    EXPECT_LT(took, 7000ms);
}

TEST_F(ClientHandshakeTest, ConnectRefusesAddressesItMustNotReach) {
    FakeUpstream fake(FakeScript().Expect(1));
    TestConnection connection;
    for (const char* address : {"0.0.0.0", "", "no.such.host.invalid"}) {
        SCOPED_TRACE(address);
        platform::SOCKET s = platform::INVALID_SOCKET;
        EXPECT_FALSE(connection.Connect(s, address, fake.port()));
        EXPECT_EQ(s, platform::INVALID_SOCKET);
    }
    for (const int port : {0, -1, 65536}) {
        platform::SOCKET s = platform::INVALID_SOCKET;
        EXPECT_FALSE(connection.Connect(s, "127.0.0.1", port));
    }
    EXPECT_FALSE(fake.WaitAccepted(1, 100ms));
}

}  // namespace
}  // namespace upstreamtest
