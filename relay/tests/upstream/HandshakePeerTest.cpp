// The upstream handshakes and proxy probes against real proxies and the
// scripted fake on loopback, driven by a tiny blocking client: results,
// exact request bytes on the wire, and no byte lost behind a reply.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "relay/upstream/CHttpConnectHandshake.h"
#include "relay/upstream/CProxyProbe.h"
#include "relay/upstream/CSocks4Handshake.h"
#include "relay/upstream/CSocks5Handshake.h"
#include "rig/FakeUpstream.h"
#include "rig/LoopbackClient.h"
#include "rig/LoopbackRig.h"
#include "support/TempRoot.h"

namespace {
using namespace std::chrono_literals;
using kvtest::FakeScript;
using kvtest::FakeUpstream;
using kvtest::LoopbackClient;

constexpr int kMaxSteps = 64;

struct Driven {
    eConnectionStatus status = CONNECTION_FAILED;
    std::string surplus;
};

// What the engine's worker does with a parser, in its plainest form: any
// failed send, time-out or end of stream before a decision is a failure.
Driven Drive(CUpstreamHandshake& handshake, LoopbackClient& client,
             std::chrono::milliseconds receiveLimit = 2000ms) {
    HandshakeStep step = handshake.Start();
    for (int i = 0; i < kMaxSteps; ++i) {
        if (!step.send.empty() && !client.SendAll(step.send)) {
            return {};
        }
        if (step.done()) {
            return {step.status, step.surplus};
        }
        std::string received;
        if (client.ReadSome(received, receiveLimit) != LoopbackClient::Read::Data) {
            return {};
        }
        step = handshake.Feed(received);
    }
    return {};
}

std::string Get(const std::string& file) {
    return "GET /" + file + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
}

// The body of a whole HTTP response.
std::string Body(const std::string& response) {
    const std::size_t end = response.find("\r\n\r\n");
    return end == std::string::npos ? std::string("<no head>") : response.substr(end + 4);
}

class HandshakePeerTest : public kvtest::RootedTest {};

TEST_F(HandshakePeerTest, ConnectsThroughRealProxiesAndJudgesTheirRefusals) {
    kvtest::LoopbackRig rig;
    const kvtest::Origin& origin = rig.StartOrigin({{"page.bin", 70000}});
    const std::uint16_t dante = rig.StartDante().port();
    const std::uint16_t microsocks = rig.StartMicrosocks().port();
    const std::uint16_t tinyproxy = rig.StartTinyproxy().port();
    const std::uint16_t restricted = rig.StartTinyproxy({.connectPorts = {443}}).port();
    const std::uint16_t ncat = rig.StartNcatHttp().port();
    const std::uint16_t open = origin.port();
    const kvtest::RefusingPort refusing;
    const std::uint16_t closed = refusing.port();
    const platform::DWORD loopback = kvtest::LoopbackNetworkOrder();

    using Make = std::function<std::unique_ptr<CUpstreamHandshake>(std::uint16_t)>;
    const Make socks4 = [&](std::uint16_t port) { return std::make_unique<CSocks4Handshake>(loopback, port); };
    const Make socks5 = [&](std::uint16_t port) { return std::make_unique<CSocks5Handshake>(loopback, port); };
    const Make connect = [](std::uint16_t port) {
        return std::make_unique<CHttpConnectHandshake>("127.0.0.1", port);
    };
    struct Row {
        const char* name;
        std::uint16_t proxy;
        Make make;
        std::uint16_t destination;
        eConnectionStatus status;
    };
    const std::vector<Row> rows = {
        {"dante SOCKS4", dante, socks4, open, CONNECTION_CONNECTED},
        {"dante SOCKS4 to a closed port (5B)", dante, socks4, closed, CONNECTION_REFUSED},
        {"dante SOCKS5", dante, socks5, open, CONNECTION_CONNECTED},
        {"dante SOCKS5 to a closed port (05 05)", dante, socks5, closed, CONNECTION_REFUSED},
        {"microsocks SOCKS5", microsocks, socks5, open, CONNECTION_CONNECTED},
        {"microsocks SOCKS5 to a closed port", microsocks, socks5, closed, CONNECTION_REFUSED},
        {"microsocks asked in SOCKS4 (05 FF, closed)", microsocks, socks4, open, CONNECTION_FAILED},
        {"tinyproxy CONNECT", tinyproxy, connect, open, CONNECTION_CONNECTED},
        {"tinyproxy CONNECT to a closed port (500)", tinyproxy, connect, closed, CONNECTION_FAILED},
        {"tinyproxy CONNECT to a port it does not allow (403)", restricted, connect, open, CONNECTION_REFUSED},
        {"ncat CONNECT", ncat, connect, open, CONNECTION_CONNECTED},
        {"ncat CONNECT to a closed port (504)", ncat, connect, closed, CONNECTION_FAILED},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LoopbackClient client;
        ASSERT_TRUE(client.Connect(row.proxy));
        const auto handshake = row.make(row.destination);
        const Driven got = Drive(*handshake, client);
        EXPECT_EQ(got.status, row.status);
        if (got.status == CONNECTION_CONNECTED) {
            // The tunnel carries a whole exchange with the origin.
            ASSERT_TRUE(client.SendAll(Get("page.bin")));
            const std::string response = got.surplus + client.ReadUntilClosed(10s);
            EXPECT_TRUE(Body(response) == origin.Content("page.bin")) << response.substr(0, 200);
        }
    }
}

TEST_F(HandshakePeerTest, RealProxiesPassTheirProbes) {
    kvtest::LoopbackRig rig;
    const std::uint16_t dante = rig.StartDante().port();
    const std::uint16_t microsocks = rig.StartMicrosocks().port();
    const std::uint16_t tinyproxy = rig.StartTinyproxy().port();
    const std::uint16_t ncat = rig.StartNcatHttp().port();
    struct Row {
        const char* name;
        std::uint16_t proxy;
        CProxyProbe probe;
        eConnectionStatus status;
    };
    std::vector<Row> rows = {
        {"tinyproxy HTTP", tinyproxy, CProxyProbe::Http("127.0.0.1"), CONNECTION_CONNECTED},
        {"tinyproxy HTTPS", tinyproxy, CProxyProbe::Https("127.0.0.1"), CONNECTION_CONNECTED},
        {"ncat HTTP", ncat, CProxyProbe::Http("127.0.0.1"), CONNECTION_CONNECTED},
        {"ncat HTTPS", ncat, CProxyProbe::Https("127.0.0.1"), CONNECTION_CONNECTED},
        {"dante SOCKS4 (bind refused)", dante, CProxyProbe::Socks4(), CONNECTION_CONNECTED},
        {"dante SOCKS5 (bind refused)", dante, CProxyProbe::Socks5(), CONNECTION_CONNECTED},
        {"microsocks SOCKS5 (bind unsupported)", microsocks, CProxyProbe::Socks5(), CONNECTION_CONNECTED},
        {"microsocks as a SOCKS4 proxy", microsocks, CProxyProbe::Socks4(), CONNECTION_FAILED},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        LoopbackClient client;
        ASSERT_TRUE(client.Connect(row.proxy));
        EXPECT_EQ(Drive(row.probe, client).status, row.status);
    }
}

TEST_F(HandshakePeerTest, JudgesScriptedRepliesOnTheWire) {
    const platform::DWORD loopback = kvtest::LoopbackNetworkOrder();
    const std::string socks4Request = CSocks4Handshake::Request(loopback, 8080);
    const std::string socks5Greeting = CSocks5Handshake::Greeting();
    const std::string socks5Request = CSocks5Handshake::Request(loopback, 8080);
    const std::string connectRequest = CHttpConnectHandshake::Request("127.0.0.1", 8080);
    const std::string v4Refused("\x00\x5b\x00\x00\x00\x00\x00\x00", 8);
    const std::string v5Failure("\x05\x01\x00\x01\x00\x00\x00\x00\x00\x00", 10);

    using Make = std::function<std::unique_ptr<CUpstreamHandshake>()>;
    const Make socks4 = [&] { return std::make_unique<CSocks4Handshake>(loopback, 8080); };
    const Make socks5 = [&] { return std::make_unique<CSocks5Handshake>(loopback, 8080); };
    const Make connect = [] { return std::make_unique<CHttpConnectHandshake>("127.0.0.1", 8080); };
    struct Row {
        const char* name;
        Make make;
        FakeScript script;
        std::string expectedRequest;  // every byte the proxy should have received
        eConnectionStatus status;
    };
    const std::vector<Row> rows = {
        {"SOCKS4 5B byte by byte", socks4, FakeScript().Expect(9).SendInPieces(v4Refused, 1, 5ms).Close(),
         socks4Request, CONNECTION_REFUSED},
        {"SOCKS4 reply cut after 2 bytes", socks4, FakeScript().Expect(9).Send(v4Refused.substr(0, 2)).Close(),
         socks4Request, CONNECTION_FAILED},
        {"SOCKS4 silence", socks4, FakeScript().Expect(9).Silence(5s), socks4Request, CONNECTION_FAILED},
        {"SOCKS5 05 01 in pieces", socks5,
         FakeScript().Expect(3).SendInPieces("\x05", 1).Send(std::string("\x00", 1)).Expect(10)
             .SendInPieces(v5Failure, 3, 5ms).Close(),
         socks5Greeting + socks5Request, CONNECTION_REFUSED},
        {"SOCKS5 authentication required", socks5, FakeScript().Expect(3).Send("\x05\x02").Close(),
         socks5Greeting, CONNECTION_FAILED},
        {"HTTP 407", connect,
         FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.0 407 Proxy Authentication Required\r\n\r\n").Close(),
         connectRequest, CONNECTION_REFUSED},
        {"HTTP 503", connect,
         FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.1 503 Service Unavailable\r\n\r\n").Close(),
         connectRequest, CONNECTION_FAILED},
        {"HTTP without a line end", connect, FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.0 200 OK").Close(),
         connectRequest, CONNECTION_FAILED},
        {"HTTP status line split mid-code", connect,
         FakeScript().ExpectUntil("\r\n\r\n").SendInPieces("HTTP/1.1 404 Not Found\r\n\r\n", 10, 10ms).Close(),
         connectRequest, CONNECTION_REFUSED},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeUpstream fake(row.script);
        LoopbackClient client;
        ASSERT_TRUE(client.Connect(fake.port()));
        const auto handshake = row.make();
        EXPECT_EQ(Drive(*handshake, client, 500ms).status, row.status);
        client.Close();
        ASSERT_TRUE(fake.WaitFinished(1, 10s));
        EXPECT_EQ(fake.Sessions().at(0).received, row.expectedRequest);
    }
}

TEST_F(HandshakePeerTest, HandsOnTheBytesThatFollowAGrantedReply) {
    const platform::DWORD loopback = kvtest::LoopbackNetworkOrder();
    const std::string banner = "220 origin ready\r\n";
    struct Row {
        const char* name;
        std::function<std::unique_ptr<CUpstreamHandshake>()> make;
        FakeScript script;
    };
    const std::vector<Row> rows = {
        {"SOCKS4, one write", [&] { return std::make_unique<CSocks4Handshake>(loopback, 21); },
         FakeScript().Expect(9).Send(std::string("\x00\x5a\x00\x15\x7f\x00\x00\x01", 8) + banner)},
        {"SOCKS5, in pieces", [&] { return std::make_unique<CSocks5Handshake>(loopback, 21); },
         FakeScript().Expect(3).Send("\x05").Send(std::string("\x00", 1)).Expect(10)
             .SendInPieces(std::string("\x05\x00\x00\x01\x7f\x00\x00\x01\x00\x15", 10) + banner, 7, 5ms)},
        {"HTTP, one write", [] { return std::make_unique<CHttpConnectHandshake>("127.0.0.1", 21); },
         FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.0 200 Connection established\r\n\r\n" + banner)},
        {"HTTP, in pieces", [] { return std::make_unique<CHttpConnectHandshake>("127.0.0.1", 21); },
         FakeScript().ExpectUntil("\r\n\r\n")
             .SendInPieces("HTTP/1.1 200 OK\r\nVia: x\r\n\r\n" + banner, 5, 5ms)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeScript script = row.script;
        FakeUpstream fake(script.Close());
        LoopbackClient client;
        ASSERT_TRUE(client.Connect(fake.port()));
        const auto handshake = row.make();
        const Driven got = Drive(*handshake, client);
        EXPECT_EQ(got.status, CONNECTION_CONNECTED);
        EXPECT_EQ(got.surplus + client.ReadUntilClosed(5s), banner);
    }
}

}  // namespace
