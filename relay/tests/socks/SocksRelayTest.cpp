#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/eProxyType.h"
#include "engine/EngineFixture.h"
#include "pool/PoolFixture.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/pool/ProxyDatabaseFile.h"
#include "rig/FakeUpstream.h"
#include "rig/Loopback.h"
#include "rig/LoopbackClient.h"
#include "rig/LoopbackRig.h"
#include "socks/SocksBytes.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using kvtest::FakeScript;
using kvtest::FakeUpstream;
using kvtest::LoopbackClient;
using namespace sockstest;

// What came back on a raw connection until the relay closed it.
struct Exchange {
    std::string received;
    bool closed = false;
};

// Sends bytes, optionally ends the sending side, and reads until the relay
// closes (bounded).
Exchange Talk(std::uint16_t port, const std::string& bytes, bool endSending) {
    Exchange out;
    kvtest::UniqueFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (!fd || ::connect(fd.get(), reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) return out;
    if (::send(fd.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(bytes.size())) return out;
    if (endSending) ::shutdown(fd.get(), SHUT_WR);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd.get(), POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::recv(fd.get(), buffer, sizeof buffer, 0);
        if (n <= 0) {
            out.closed = true;
            break;
        }
        out.received.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

std::string ReadExactly(LoopbackClient& client, std::size_t n, std::chrono::milliseconds limit) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (got.size() < n && std::chrono::steady_clock::now() < deadline) {
        if (client.ReadSome(got, 1s, n - got.size()) == LoopbackClient::Read::Closed) break;
    }
    return got;
}

class SocksTest : public srvtest::EngineTest {
protected:
    ~SocksTest() override { StopEngine(); }

    // firewallPort: a SOCKS5 firewall proxy on that port for the direct road.
    void StartListener(int type, bool chain = false, std::uint16_t firewallPort = 0) {
        srvtest::EngineSettings settings;
        settings.chain = chain;
        settings.chainLength = 2;
        settings.adjust = [type, firewallPort](CSettings& s) {
            s.getPrivacySettings()->mListenerType = type;
            if (firewallPort == 0) return;
            CGnrlSettings& general = *s.getGeneralSettings();
            general.setBehindFireWall(true);
            general.setFireWallIP("127.0.0.1");
            general.setFireWallPort(firewallPort);
            general.setFireWallType(PROXY_TYPE_SOCKS5);
        };
        StartRunningEngine(settings);
    }

    kvtest::LoopbackRig rig_;
};

// A listener type and the proxy scheme curl reaches the origin with through
// it: socks4a and socks5h send the origin's name, "localhost", for the
// relay to resolve.
struct CurlCase {
    int listener;
    const char* scheme;  // http, socks4, socks4a, socks5 or socks5h
};

std::string Label(const CurlCase& c) { return "listener" + std::to_string(c.listener) + "_" + c.scheme; }

std::string CaseName(const testing::TestParamInfo<CurlCase>& info) { return Label(info.param); }

void PrintTo(const CurlCase& c, std::ostream* out) { *out << Label(c); }

class SocksCurlTest : public SocksTest, public testing::WithParamInterface<CurlCase> {
protected:
    bool ByName() const {
        const std::string scheme = GetParam().scheme;
        return scheme == "socks4a" || scheme == "socks5h";
    }
    kvtest::CurlResult Fetch(const kvtest::Origin& origin, const std::string& name) {
        const std::string url =
            ByName() ? "http://localhost:" + std::to_string(origin.port()) + "/" + name : origin.Url(name);
        return rig_.Curl({"-x", std::string(GetParam().scheme) + "://" + ProxyAddress(), url}, 60s);
    }
};

TEST_P(SocksCurlTest, CurlReachesTheOriginByteExactDirectly) {
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 100000}, {"big.bin", 8 * 1024 * 1024}});
    StartListener(GetParam().listener);
    for (const char* name : {"page.bin", "big.bin"}) {
        const kvtest::CurlResult got = Fetch(origin, name);
        EXPECT_EQ(got.exitCode, 0) << got.log;
        EXPECT_TRUE(got.body == origin.Content(name)) << name << ": " << got.body.size() << " bytes";
    }
}

TEST_P(SocksCurlTest, CurlReachesTheOriginByteExactThroughAChainOfRealProxies) {
    const kvtest::Peer& socks = rig_.StartDante();
    const kvtest::Peer& https = rig_.StartTinyproxy();
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 300000}});
    pooltest::SeedEngineDatabase({pooltest::LoopbackHop(socks.port(), PROXY_TYPE_SOCKS5)},
                                 {pooltest::LoopbackHop(https.port(), PROXY_TYPE_HTTPS)});
    StartListener(GetParam().listener, true);
    const kvtest::CurlResult got = Fetch(origin, "page.bin");
    EXPECT_EQ(got.exitCode, 0) << got.log;
    EXPECT_TRUE(got.body == origin.Content("page.bin")) << got.body.size() << " bytes";
    // The last hop was asked for the origin by its address, never its name.
    EXPECT_NE(https.Log().find("127.0.0.1:" + std::to_string(origin.port())), std::string::npos) << https.Log();
    EXPECT_EQ(https.Log().find("localhost"), std::string::npos) << https.Log();
}

INSTANTIATE_TEST_SUITE_P(Listeners, SocksCurlTest,
                         testing::Values(CurlCase{4, "socks4"}, CurlCase{4, "socks4a"}, CurlCase{5, "socks5"},
                                         CurlCase{5, "socks5h"}, CurlCase{6, "socks4"}, CurlCase{6, "socks4a"},
                                         CurlCase{6, "socks5"}, CurlCase{6, "socks5h"}, CurlCase{6, "http"}),
                         CaseName);

// A listener type the server has no listener of (a stray registry value)
// starts the general listener, which serves every kind of client.
class StrayListenerTypeTest : public SocksTest, public testing::WithParamInterface<int> {};

TEST_P(StrayListenerTypeTest, StartsTheGeneralListener) {
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 1000}});
    StartListener(GetParam());
    for (const char* option : {"-x", "--socks4", "--socks5"}) {
        const kvtest::CurlResult got = rig_.Curl({option, ProxyAddress(), origin.Url("page.bin")}, 30s);
        EXPECT_EQ(got.exitCode, 0) << option << ": " << got.log;
        EXPECT_TRUE(got.body == origin.Content("page.bin")) << option;
    }
    EXPECT_TRUE(Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Types, StrayListenerTypeTest, testing::Values(0, 1, 3, 7),
                         [](const testing::TestParamInfo<int>& info) {
                             return "type" + std::to_string(info.param);
                         });

class SocksListenerTest : public SocksTest, public testing::WithParamInterface<int> {
protected:
    // The SOCKS versions the listener under test serves.
    bool Serves(int version) const { return GetParam() == 6 || GetParam() == version; }
};

TEST_P(SocksListenerTest, GreetingRequestAndDataInOneBlockAreAllTaken) {
    FakeUpstream echo({FakeScript().Echo()});
    StartListener(GetParam());
    const std::string payload = "first bytes" + kvtest::Origin::MakeContent("payload", 200000);
    // Later blocks that look like HTTP stay tunnel bytes.
    const std::string later = "GET / HTTP/1.1\r\nHost: x\r\n\r\n";
    for (const int version : {4, 5}) {
        if (!Serves(version)) continue;
        const std::int32_t inBefore = CBaseServer::m_nDataReceived.load();
        const std::int32_t outBefore = CBaseServer::m_nDataSent.load();
        LoopbackClient client;
        ASSERT_TRUE(client.Connect(port()));
        std::string expected;
        if (version == 4) {
            ASSERT_TRUE(client.SendAll(Socks4Request(echo.port()) + payload, 10s));
            const std::string reply = ReadExactly(client, 8, 10s);
            ASSERT_EQ(reply.size(), 8u);
            // 00 5A, then the upstream socket's own port and address.
            EXPECT_EQ(reply.substr(0, 2), "\x00\x5A"s);
            EXPECT_EQ(reply.substr(4), "\x7F\x00\x00\x01"s);
            expected = reply;
        } else {
            ASSERT_TRUE(client.SendAll("\x05\x02\x00\x02"s + Socks5Request(echo.port()) + payload, 10s));
            EXPECT_EQ(ReadExactly(client, 12, 10s), kS5Hello + kS5Success);
            expected = kS5Hello + kS5Success;
        }
        EXPECT_TRUE(ReadExactly(client, payload.size(), 20s) == payload) << "SOCKS" << version;
        ASSERT_TRUE(client.SendAll(later));
        EXPECT_EQ(ReadExactly(client, later.size(), 10s), later) << "SOCKS" << version;
        client.Close();
        // Toolbar totals: upstream bytes in, client bytes out.
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        const std::int32_t echoed = static_cast<std::int32_t>(payload.size() + later.size());
        while (CBaseServer::m_nDataSent.load() - outBefore < echoed + static_cast<std::int32_t>(expected.size()) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_EQ(CBaseServer::m_nDataReceived.load() - inBefore, echoed);
        EXPECT_EQ(CBaseServer::m_nDataSent.load() - outBefore, echoed + static_cast<std::int32_t>(expected.size()));
    }
}

TEST_P(SocksListenerTest, ShortGarbageAndRefusedRequestsGetTheFailureReplyAndClose) {
    const kvtest::RefusingPort refusing;
    const std::uint16_t refused = refusing.port();
    StartListener(GetParam());
    const std::string greeting = "\x05\x01\x00"s;
    const struct {
        int version;
        const char* name;
        std::string bytes;
        bool endSending;
        std::string reply;
    } cases[] = {
        {4, "bind", "\x04\x02\x00\x50\x7F\x00\x00\x01\x00"s, false, kS4Fail},
        {4, "short, then the client ends", "\x04\x01\x00\x50"s, true, kS4Fail},
        {4, "user id without end", "\x04\x01\x00\x50\x7F\x00\x00\x01"s + std::string(300, 'u'), false, kS4Fail},
        {4, "port 0", Socks4Request(0), false, kS4Fail},
        {4, "refused destination", Socks4Request(refused), false, kS4Fail},
        {5, "bind", greeting + "\x05\x02\x00\x01\x7F\x00\x00\x01\x00\x50"s, false, kS5Hello + kS5Fail},
        {5, "short, then the client ends", greeting + "\x05\x01\x00"s, true, kS5Hello + kS5Fail},
        {5, "greeting cut short", "\x05\x03\x00"s, true, "\x05\xFF"s},
        {5, "IPv6", greeting + "\x05\x01\x00\x04"s + std::string(15, '\0') + "\x01\x00\x50"s, false,
         kS5Hello + kS5Type},
        {5, "refused destination", greeting + Socks5Request(refused), false, kS5Hello + kS5Fail},
    };
    for (const auto& c : cases) {
        if (!Serves(c.version)) continue;
        const Exchange got = Talk(port(), c.bytes, c.endSending);
        EXPECT_EQ(got.received, c.reply) << "SOCKS" << c.version << " " << c.name;
        EXPECT_TRUE(got.closed) << "SOCKS" << c.version << " " << c.name;
    }
    // Another version on a SOCKS listener is garbage too.
    if (GetParam() == 4) {
        EXPECT_EQ(Talk(port(), greeting, false).received, kS4Fail);
    }
    if (GetParam() == 5) {
        EXPECT_EQ(Talk(port(), "\x04\x01\x00\x50"s, false).received, "\x05\xFF"s);
    }
}

TEST_P(SocksListenerTest, TwoHundredSequentialConnectionsLeaveTheDescriptorsAsTheyWere) {
    const kvtest::Origin& origin = rig_.StartOrigin({{"small.bin", 100}});
    StartListener(GetParam());
    const int version = GetParam() == 4 ? 4 : 5;
    const std::string get = "GET /small.bin HTTP/1.0\r\n\r\n";
    const std::string request =
        version == 4 ? Socks4Request(origin.port()) + get : "\x05\x01\x00"s + Socks5Request(origin.port()) + get;
    const auto once = [&] {
        const Exchange got = Talk(port(), request, false);
        ASSERT_TRUE(got.closed);
        ASSERT_GE(got.received.size(), 100u);
        EXPECT_EQ(got.received.substr(got.received.size() - 100), origin.Content("small.bin"));
    };
    once();
    const int before = OpenDescriptors();
    for (int i = 0; i < 200 && !HasFatalFailure(); ++i) once();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (OpenDescriptors() > before && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_LE(OpenDescriptors(), before);
    // Closed connections are reaped at the next accept.
    CVirtualProxy& listener = GetParam() == 4   ? static_cast<CVirtualProxy&>(CProxyServer::mSock4Proxy)
                              : GetParam() == 5 ? static_cast<CVirtualProxy&>(CProxyServer::mSock5Proxy)
                                                : static_cast<CVirtualProxy&>(CProxyServer::mGeneralProxy);
    EXPECT_LE(listener.ClientCount(), 2);
}

TEST_P(SocksListenerTest, ExitWhileSetupsHangEndsCleanly) {
    FakeUpstream silent({FakeScript().Silence(30s)});
    StartListener(GetParam(), false, silent.port());
    std::vector<LoopbackClient> clients(3);
    for (std::size_t i = 0; i < clients.size(); ++i) {
        ASSERT_TRUE(clients[i].Connect(port()));
        const bool socks4 = GetParam() == 4 || (GetParam() == 6 && i == 0);
        ASSERT_TRUE(clients[i].SendAll(socks4 ? Socks4Request(9) : "\x05\x01\x00"s + Socks5Request(9)));
    }
    ASSERT_TRUE(silent.WaitAccepted(3, 10s));
    const auto started = std::chrono::steady_clock::now();
    StopEngine();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    for (LoopbackClient& client : clients) client.ReadUntilClosed(5s);
    EXPECT_TRUE(silent.WaitFinished(3, 10s));
}

// Names are refused as the HTTP listener's are: one the resolver does not
// know, one longer than 100 characters, one with a zero byte, an empty one.
// Every road would go through the firewall proxy, which sees no connection.
TEST_P(SocksListenerTest, NamesThatCannotBeResolvedGetTheFailureReplyWithoutAnyUpstreamAttempt) {
    FakeUpstream firewall({FakeScript().Echo()});
    StartListener(GetParam(), false, firewall.port());
    const std::string names[] = {"no-such-host.invalid", std::string(101, 'n'), "localhost\0.invalid"s, ""};
    for (const std::string& name : names) {
        const std::string shown = name.size() > 30 ? name.substr(0, 30) + "..." : name;
        // A SOCKS4a name ends at its first zero byte.
        if (Serves(4) && name.find('\0') == std::string::npos) {
            const Exchange got = Talk(port(), Socks4aRequest(name, 80), false);
            EXPECT_EQ(got.received, kS4Fail) << "SOCKS4a " << shown;
            EXPECT_TRUE(got.closed) << "SOCKS4a " << shown;
        }
        if (Serves(5)) {
            const Exchange got = Talk(port(), kS5Greeting + Socks5NameRequest(name, 80), false);
            EXPECT_EQ(got.received, kS5Hello + kS5Fail) << "SOCKS5 " << shown;
            EXPECT_TRUE(got.closed) << "SOCKS5 " << shown;
        }
    }
    EXPECT_FALSE(firewall.WaitAccepted(1, 200ms));
}

INSTANTIATE_TEST_SUITE_P(Listeners, SocksListenerTest, testing::Values(4, 5, 6),
                         [](const testing::TestParamInfo<int>& info) {
                             return "listener" + std::to_string(info.param);
                         });

TEST_F(SocksTest, BytesTheFirewallProxySentPastItsReplyFollowTheSuccessReply) {
    const std::string granted = "\x05\x00\x00\x01\x7F\x00\x00\x01\x00\x50"s;
    FakeUpstream hop({FakeScript().Expect(3).Send("\x05\x00"s).Expect(10).Send(granted + "early bytes").Echo()});
    StartListener(PROXY_TYPE_SOCKS5, false, hop.port());
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    ASSERT_TRUE(client.SendAll("\x05\x01\x00"s + Socks5Request(80)));
    const std::string expected = kS5Hello + kS5Success + "early bytes";
    EXPECT_EQ(ReadExactly(client, expected.size(), 10s), expected);
    ASSERT_TRUE(client.SendAll("ping"));
    EXPECT_EQ(ReadExactly(client, 4, 10s), "ping");
}

// A current browser sends every destination as a name, 127.0.0.1 too.
TEST_F(SocksTest, HeadlessBrowserLoadsALoopbackPageThroughTheSocks5Listener) {
    if (!kvtest::LoopbackRig::HasBrowser()) {
        GTEST_SKIP() << "no headless browser here (Debian package " << kvtest::LoopbackRig::kBrowserProgram << ")";
    }
    const std::string marker = "relayed-by-name-3f9c";
    const kvtest::Origin& origin = rig_.StartOrigin(
        {{"page.html", 0, "<!DOCTYPE html><html><head><title>t</title></head><body><p id=\"m\">" + marker +
                              "</p></body></html>"}});
    StartListener(PROXY_TYPE_SOCKS5);
    for (const std::string host : {"localhost", "127.0.0.1"}) {
        const std::string url = "http://" + host + ":" + std::to_string(origin.port()) + "/page.html";
        const kvtest::BrowserResult got = rig_.Browse(url, ProxyAddress());
        EXPECT_EQ(got.exitCode, 0) << host << ": " << got.output;
        EXPECT_NE(got.output.find(marker), std::string::npos) << host << ": " << got.output;
    }
    // The page came through the relay.
    EXPECT_NE(origin.peer().Log().find("GET /page.html"), std::string::npos) << origin.peer().Log();
}

}  // namespace
