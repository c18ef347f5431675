#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "engine/EngineFixture.h"
#include "platform/Sockets.h"
#include "pool/PoolFixture.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/IEngineLogs.h"
#include "relay/pool/CBProxyChain.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/ProxyDatabaseFile.h"
#include "rig/FakeUpstream.h"
#include "rig/LoopbackClient.h"
#include "rig/LoopbackRig.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
using kvtest::FakeScript;
using kvtest::FakeUpstream;
using kvtest::LoopbackClient;

constexpr std::string_view kFailureAnswer =
    "HTTP/1.0 502 Bad Gateway\r\n"
    "Content-Type: text/plain\r\n"
    "Content-Length: 29\r\n"
    "Connection: close\r\n"
    "\r\n"
    "Cannot find the desired page!";

constexpr std::size_t kPostSize = 5 * 1024 * 1024;
constexpr std::size_t kDownloadSize = 20 * 1024 * 1024;

std::string Response(std::string_view body, bool close) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
           (close ? "Connection: close\r\n" : "") + "\r\n" + std::string(body);
}

std::string Get(const std::string& target, const std::string& host) {
    return "GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n";
}

// Reads until exactly n bytes came (or the limit passed).
std::string ReadExactly(LoopbackClient& client, std::size_t n, std::chrono::milliseconds limit) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (got.size() < n && std::chrono::steady_clock::now() < deadline) {
        if (client.ReadSome(got, 1s, n - got.size()) == LoopbackClient::Read::Closed) break;
    }
    return got;
}

// Records the chains the engine logs: the hops' ports and the destination.
class RecordingLogs : public IEngineLogs {
public:
    void ChainLogAddItem(CBProxyChain& hops, const char* destination) override {
        std::vector<int> ports;
        for (CProxy* hop : hops.Snapshot()) ports.push_back(hop->getPort());
        std::lock_guard lock(mutex_);
        chains_.push_back({ports, destination ? destination : ""});
    }
    std::vector<std::pair<std::vector<int>, std::string>> Chains() {
        std::lock_guard lock(mutex_);
        return chains_;
    }

private:
    std::mutex mutex_;
    std::vector<std::pair<std::vector<int>, std::string>> chains_;
};

class HttpRelayTest : public srvtest::EngineTest {
protected:
    ~HttpRelayTest() override {
        StopEngine();
        CBaseServer::SetEngineLogs(nullptr);
        platform::SetHostResolver({});
    }



    kvtest::CurlResult Curl(std::vector<std::string> args) {
        args.insert(args.begin(), {"-x", ProxyAddress()});
        return rig_.Curl(args, 60s);
    }

    // A 5 MB POST through the relay to a fake origin: the body it got and
    // the head of the request it saw.
    void PostFiveMegabytes(std::string& head, std::string& body) {
        const std::string posted = kvtest::Origin::MakeContent("post.bin", kPostSize);
        const std::filesystem::path file = root() / "post.bin";
        kvtest::WriteFile(file, posted);
        FakeUpstream origin({FakeScript().ExpectUntil("\r\n\r\n").Expect(kPostSize).Send(Response("ok", true)).Close()});
        const kvtest::CurlResult got = Curl({"-H", "Expect:", "--data-binary", "@" + file.string(),
                                             "http://127.0.0.1:" + std::to_string(origin.port()) + "/upload"});
        EXPECT_EQ(got.exitCode, 0) << got.log;
        EXPECT_EQ(got.body, "ok");
        ASSERT_TRUE(origin.WaitFinished(1, 10s));
        const std::string received = origin.Sessions().at(0).received;
        const std::size_t end = received.find("\r\n\r\n");
        ASSERT_NE(end, std::string::npos);
        head = received.substr(0, end + 4);
        body = received.substr(end + 4);
        EXPECT_TRUE(body == posted) << "body of " << body.size() << " bytes differs";
    }

    kvtest::LoopbackRig rig_;
    // Outlive the engine, which the destructor stops.
    RecordingLogs logs_;
};

TEST_F(HttpRelayTest, DirectGetPostAndRateLimitedDownloadAreByteExact) {
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 100000}, {"big.bin", kDownloadSize}});
    StartRunningEngine();

    const kvtest::CurlResult page = Curl({origin.Url("page.bin")});
    EXPECT_EQ(page.exitCode, 0) << page.log;
    EXPECT_TRUE(page.body == origin.Content("page.bin"));
    // Direct to the origin, the request line is relative.
    EXPECT_NE(origin.peer().Log().find("\"GET /page.bin HTTP/1.1\""), std::string::npos) << origin.peer().Log();

    std::string head;
    std::string body;
    PostFiveMegabytes(head, body);
    EXPECT_EQ(head.rfind("POST /upload HTTP/1.1\r\n", 0), 0u) << head;

    // The client takes the data slower than the origin gives it.
    const kvtest::CurlResult big = Curl({"--limit-rate", "8M", origin.Url("big.bin")});
    EXPECT_EQ(big.exitCode, 0) << big.log;
    EXPECT_TRUE(big.body == origin.Content("big.bin")) << "got " << big.body.size() << " bytes";
}

TEST_F(HttpRelayTest, ConnectTunnelAnswersWithTheHostAndCarriesBytesUnchanged) {
    platform::SetHostResolver([](const std::string& name, std::vector<std::uint32_t>& addresses) {
        if (name != "localhost") return platform::WSAHOST_NOT_FOUND;
        addresses = {htonl(INADDR_LOOPBACK)};
        return 0;
    });
    FakeUpstream echo({FakeScript().Echo()});
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 300000}});
    StartRunningEngine();

    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    const std::string target = "LocalHost:" + std::to_string(echo.port());
    ASSERT_TRUE(client.SendAll("CONNECT " + target + " HTTP/1.1\r\nHost: " + target + "\r\n\r\n"));
    const std::string answer = "HTTP/1.1 200 OK\r\nHost: localhost\r\n\r\n";
    EXPECT_EQ(ReadExactly(client, answer.size(), 10s), answer);
    // Requests inside a tunnel are payload: nothing is parsed or rewritten.
    std::string payload = "GET http://127.0.0.1/ HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    payload += kvtest::Origin::MakeContent("tunnel", 1 << 20);
    ASSERT_TRUE(client.SendAll(payload, 10s));
    EXPECT_TRUE(ReadExactly(client, payload.size(), 20s) == payload);
    client.Close();

    const kvtest::CurlResult tunnelled = Curl({"-p", origin.Url("page.bin")});
    EXPECT_EQ(tunnelled.exitCode, 0) << tunnelled.log;
    EXPECT_TRUE(tunnelled.body == origin.Content("page.bin"));
}

// HTTP/1.0 lets a client leave the Host field out: the absolute target
// names the origin, which gets the relative form.
TEST_F(HttpRelayTest, AnHttp10RequestWithoutAHostFieldGoesToItsAbsoluteTarget) {
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 20000}});
    StartRunningEngine();
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    ASSERT_TRUE(client.SendAll("GET " + origin.Url("page.bin") + " HTTP/1.0\r\n\r\n"));
    const std::string answer = client.ReadUntilClosed(10s);
    EXPECT_EQ(answer.rfind("HTTP/1.0 200", 0), 0u) << answer.substr(0, 200);
    EXPECT_TRUE(answer.ends_with(origin.Content("page.bin")));
    EXPECT_NE(origin.peer().Log().find("\"GET /page.bin HTTP/1.0\""), std::string::npos) << origin.peer().Log();
}

TEST_F(HttpRelayTest, UnknownHostAndMissingHostGetBadGatewayWithoutUpstreamAttempt) {
    std::atomic<int> lookups{0};
    platform::SetHostResolver([&lookups](const std::string&, std::vector<std::uint32_t>&) {
        ++lookups;
        return platform::WSAHOST_NOT_FOUND;
    });
    // The chain's only member would see any attempt.
    FakeUpstream firstHop({FakeScript().Silence(5s)});
    pooltest::SeedEngineDatabase({pooltest::LoopbackHop(firstHop.port(), PROXY_TYPE_SOCKS5)}, {});
    StartRunningEngine({.chain = true, .chainLength = 1});

    for (const std::string& request :
         {Get("http://nowhere.invalid/", "nowhere.invalid"), std::string("GET / HTTP/1.0\r\n\r\n")}) {
        LoopbackClient client;
        ASSERT_TRUE(client.Connect(port()));
        ASSERT_TRUE(client.SendAll(request));
        EXPECT_EQ(client.ReadUntilClosed(10s), kFailureAnswer) << request;
    }
    EXPECT_GE(lookups.load(), 1);
    EXPECT_TRUE(firstHop.Sessions().empty());
}

TEST_F(HttpRelayTest, KeptAliveConnectionReusesItsUpstreamAndSwitchesForAnotherHost) {
    FakeUpstream a({FakeScript()
                        .ExpectUntil("\r\n\r\n")
                        .Send(Response("first", false))
                        .ExpectUntil("\r\n\r\n")
                        .Send(Response("second", false))});
    FakeUpstream b({FakeScript().ExpectUntil("\r\n\r\n").Send(Response("third", false))});
    StartRunningEngine();
    const std::string hostA = "127.0.0.1:" + std::to_string(a.port());
    const std::string hostB = "127.0.0.1:" + std::to_string(b.port());

    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    const std::pair<std::string, std::string> exchanges[] = {
        {Get("http://" + hostA + "/1", hostA), Response("first", false)},
        {Get("http://" + hostA + "/2", hostA), Response("second", false)},
        {Get("http://" + hostB + "/3", hostB), Response("third", false)},
    };
    for (const auto& [request, response] : exchanges) {
        ASSERT_TRUE(client.SendAll(request));
        EXPECT_EQ(ReadExactly(client, response.size(), 10s), response);
    }
    client.Close();
    ASSERT_TRUE(a.WaitAccepted(1, 5s));
    ASSERT_TRUE(b.WaitAccepted(1, 5s));
    EXPECT_EQ(a.Sessions().size(), 1u);
    EXPECT_EQ(a.Sessions()[0].received, Get("/1", hostA) + Get("/2", hostA));
    EXPECT_EQ(b.Sessions()[0].received, Get("/3", hostB));
}

TEST_F(HttpRelayTest, TwoHopChainOfRealProxiesCarriesEverythingByteExact) {
    CBaseServer::SetEngineLogs(&logs_);
    const kvtest::Peer& socks = rig_.StartDante();
    const kvtest::Peer& http = rig_.StartTinyproxy();
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 100000}, {"big.bin", kDownloadSize}});
    pooltest::SeedEngineDatabase({pooltest::LoopbackHop(socks.port(), PROXY_TYPE_SOCKS5)},
                                 {pooltest::LoopbackHop(http.port(), PROXY_TYPE_HTTP)});
    StartRunningEngine({.chain = true, .chainLength = 2});

    const kvtest::CurlResult page = Curl({origin.Url("page.bin")});
    EXPECT_EQ(page.exitCode, 0) << page.log;
    EXPECT_TRUE(page.body == origin.Content("page.bin"));
    // The HTTP proxy last in the chain gets the absolute form.
    EXPECT_NE(http.Log().find("GET " + origin.Url("page.bin") + " HTTP/1.1"), std::string::npos) << http.Log();
    const auto chains = logs_.Chains();
    ASSERT_FALSE(chains.empty());
    EXPECT_EQ(chains[0].first, (std::vector<int>{socks.port(), http.port()}));

    std::string head;
    std::string body;
    PostFiveMegabytes(head, body);

    const kvtest::CurlResult big = Curl({"--limit-rate", "8M", origin.Url("big.bin")});
    EXPECT_EQ(big.exitCode, 0) << big.log;
    EXPECT_TRUE(big.body == origin.Content("big.bin")) << "got " << big.body.size() << " bytes";

    const kvtest::CurlResult tunnelled = Curl({"-p", origin.Url("page.bin")});
    EXPECT_EQ(tunnelled.exitCode, 0) << tunnelled.log;
    EXPECT_TRUE(tunnelled.body == origin.Content("page.bin"));
    EXPECT_NE(http.Log().find("CONNECT 127.0.0.1:" + std::to_string(origin.port())), std::string::npos);
}

TEST_F(HttpRelayTest, FiveHundredSequentialRequestsLeaveTheDescriptorsAsTheyWere) {
    const kvtest::Origin& origin = rig_.StartOrigin({{"small.bin", 100}});
    StartRunningEngine();
    const std::string host = "127.0.0.1:" + std::to_string(origin.port());
    const auto request = [&] {
        LoopbackClient client;
        ASSERT_TRUE(client.Connect(port()));
        ASSERT_TRUE(client.SendAll(Get(origin.Url("small.bin"), host)));
        const std::string answer = client.ReadUntilClosed(10s);
        ASSERT_GE(answer.size(), 100u);
        EXPECT_EQ(answer.substr(answer.size() - 100), origin.Content("small.bin"));
    };
    request();
    const int before = OpenDescriptors();
    for (int i = 0; i < 500 && !HasFatalFailure(); ++i) request();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (OpenDescriptors() > before && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_LE(OpenDescriptors(), before);
    // Closed connections are reaped at the next accept.
    EXPECT_LE(CProxyServer::mHttpProxy.ClientCount(), 2);
}

TEST_F(HttpRelayTest, ExitWhileThreeSetupsHangEndsCleanly) {
    FakeUpstream silent({FakeScript().Silence(30s)});
    pooltest::SeedEngineDatabase({pooltest::LoopbackHop(silent.port(), PROXY_TYPE_SOCKS5)}, {});
    StartRunningEngine({.chain = true, .chainLength = 1});

    std::vector<LoopbackClient> clients(3);
    for (LoopbackClient& client : clients) {
        ASSERT_TRUE(client.Connect(port()));
        ASSERT_TRUE(client.SendAll(Get("http://127.0.0.1:9/", "127.0.0.1:9")));
    }
    ASSERT_TRUE(silent.WaitAccepted(3, 10s));
    const auto started = std::chrono::steady_clock::now();
    StopEngine();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    for (LoopbackClient& client : clients) client.ReadUntilClosed(5s);
    EXPECT_TRUE(silent.WaitFinished(3, 10s));
}

TEST_F(HttpRelayTest, KeptAliveUploadWhoseBodyHoldsAHostLineStaysWithItsOrigin) {
    FakeUpstream other({FakeScript().ExpectUntil("\r\n\r\n").Send(Response("wrong", true)).Close()});
    const std::string lure = "\r\nHost: " + other.Address() + "\r\n\r\nGET http://" + other.Address() +
                             "/ HTTP/1.1\r\nHost: " + other.Address() + "\r\n\r\n";
    const std::string first = kvtest::Origin::MakeContent("a", 20000);
    const std::string second = lure + kvtest::Origin::MakeContent("b", 20000);
    FakeUpstream origin({FakeScript()
                             .ExpectUntil("\r\n\r\n")
                             .Send(Response("first", false))
                             .ExpectUntil("\r\n\r\n")
                             .Expect(first.size() + second.size())
                             .Send(Response("stored", false))});
    StartRunningEngine();
    const std::string host = origin.Address();
    const std::string post = "POST http://" + host + "/up HTTP/1.1\r\nHost: " + host +
                             "\r\nContent-Length: " + std::to_string(first.size() + second.size()) + "\r\n\r\n";

    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    ASSERT_TRUE(client.SendAll(Get("http://" + host + "/", host)));
    EXPECT_EQ(ReadExactly(client, Response("first", false).size(), 10s), Response("first", false));
    // The body's second part comes in a read of its own, beginning like a
    // request.
    ASSERT_TRUE(client.SendAll(post + first));
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(client.SendAll(second));
    EXPECT_EQ(ReadExactly(client, Response("stored", false).size(), 10s), Response("stored", false));
    client.Close();
    ASSERT_TRUE(origin.WaitFinished(1, 10s));
    EXPECT_TRUE(origin.Sessions()[0].received == Get("/", host) + "POST /up HTTP/1.1\r\nHost: " + host +
                                                       "\r\nContent-Length: " +
                                                       std::to_string(first.size() + second.size()) + "\r\n\r\n" +
                                                       first + second);
    EXPECT_TRUE(other.Sessions().empty());
}

TEST_F(HttpRelayTest, BytesSentWithTheConnectHeadGoIntoTheTunnel) {
    FakeUpstream echo({FakeScript().Echo()});
    StartRunningEngine();
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    const std::string early = "\x16\x03\x01 early bytes of the tunnel\r\n\r\n";
    ASSERT_TRUE(client.SendAll("CONNECT " + echo.Address() + " HTTP/1.1\r\nHost: " + echo.Address() + "\r\n\r\n" + early));
    const std::string answer = "HTTP/1.1 200 OK\r\nHost: 127.0.0.1\r\n\r\n";
    EXPECT_EQ(ReadExactly(client, answer.size() + early.size(), 10s), answer + early);
}

TEST_F(HttpRelayTest, SplitAndLongRequestHeadsAreServedAndAnOverlongOneGets431) {
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 5000}});
    StartRunningEngine();
    const std::string host = "127.0.0.1:" + std::to_string(origin.port());

    // A head in two reads.
    LoopbackClient split;
    ASSERT_TRUE(split.Connect(port()));
    const std::string head = "GET " + origin.Url("page.bin") + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
    ASSERT_TRUE(split.SendAll(head.substr(0, 20)));
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(split.SendAll(head.substr(20)));
    const std::string answer = split.ReadUntilClosed(10s);
    EXPECT_EQ(answer.rfind("HTTP/1.0 200 OK\r\n", 0), 0u) << answer.substr(0, 100);
    ASSERT_GE(answer.size(), 5000u);
    EXPECT_TRUE(answer.substr(answer.size() - 5000) == origin.Content("page.bin"));

    // Longer than one read buffer.
    const kvtest::CurlResult big = Curl({"-sS", "-H", "X-Big: " + std::string(20000, 'b'), origin.Url("page.bin")});
    EXPECT_EQ(big.exitCode, 0) << big.log;
    EXPECT_TRUE(big.body == origin.Content("page.bin"));

    // Longer than any head is allowed.
    LoopbackClient overlong;
    ASSERT_TRUE(overlong.Connect(port()));
    ASSERT_TRUE(overlong.SendAll("GET " + origin.Url("page.bin") + " HTTP/1.1\r\nHost: " + host + "\r\nX-Big: " +
                                 std::string(70000, 'b') + "\r\n\r\n"));
    EXPECT_EQ(overlong.ReadUntilClosed(10s),
              "HTTP/1.0 431 Request Header Fields Too Large\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
}

// The firewall proxy on the direct road: through a tunnel or a SOCKS hop
// the origin gets the path; an HTTP proxy that forwards the request itself
// gets the absolute form.
struct FirewallCase {
    const char* name;
    eProxyType type;
    bool absolute;
};

void PrintTo(const FirewallCase& c, std::ostream* out) { *out << c.name; }

class FirewallRoadTest : public HttpRelayTest, public ::testing::WithParamInterface<FirewallCase> {};

TEST_P(FirewallRoadTest, PlainRequestTakesTheFormItsLastHopNeeds) {
    const FirewallCase& c = GetParam();
    const bool socks = c.type == PROXY_TYPE_SOCKS4 || c.type == PROXY_TYPE_SOCKS5;
    const kvtest::Peer& firewall = socks ? rig_.StartDante() : rig_.StartTinyproxy();
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 30000}});
    StartRunningEngine({.adjust = [&](CSettings& s) {
        CGnrlSettings& general = *s.getGeneralSettings();
        general.mBehindFireWall = 1;
        general.mFireWallIP = "127.0.0.1";
        general.mFireWallPort = firewall.port();
        general.mFireWallType = static_cast<platform::DWORD>(c.type);
    }});
    const kvtest::CurlResult got = Curl({"-sS", origin.Url("page.bin")});
    EXPECT_EQ(got.exitCode, 0) << got.log;
    EXPECT_TRUE(got.body == origin.Content("page.bin"));
    // A proxy in front of the origin forwards the path (tinyproxy in HTTP/1.0).
    EXPECT_NE(origin.peer().Log().find("\"GET /page.bin HTTP/1."), std::string::npos) << origin.peer().Log();
    if (!socks) {
        const std::string asked = c.absolute ? "GET " + origin.Url("page.bin") : "CONNECT 127.0.0.1:" + std::to_string(origin.port());
        EXPECT_NE(firewall.Log().find(asked), std::string::npos) << firewall.Log();
    }
}

INSTANTIATE_TEST_SUITE_P(Firewalls, FirewallRoadTest,
                         ::testing::Values(FirewallCase{"Socks4", PROXY_TYPE_SOCKS4, false},
                                           FirewallCase{"Socks5", PROXY_TYPE_SOCKS5, false},
                                           FirewallCase{"Https", PROXY_TYPE_HTTPS, false},
                                           FirewallCase{"Http", PROXY_TYPE_HTTP, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
