#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine/EngineFixture.h"
#include "filter/FilterFixture.h"
#include "kvres/RelayStrings.h"
#include "rig/FakeUpstream.h"
#include "rig/LoopbackClient.h"
#include "rig/LoopbackRig.h"

namespace filtertest {
namespace {

using namespace std::chrono_literals;
using kvtest::FakeScript;
using kvtest::FakeUpstream;

constexpr std::string_view kBlockHead = "HTTP/1.0 403 Forbidden\r\nContent-Type: text/html\r\n\r\n";
constexpr std::string_view kRefusedAnswer = "HTTP/1.0 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";

std::string Response(std::string_view body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + std::string(body);
}

class FilterNetTest : public srvtest::EngineTest {
protected:
    FilterNetTest() { CBaseServer::m_FiltrationLog.ResetLog(); }
    ~FilterNetTest() override { StopEngine(); }

    // Every filter off but those adjust turns on.
    void StartWithFilters(const Adjust& adjust) {
        StartRunningEngine({.adjust = [adjust](CSettings& s) {
            CFiltrationSettings& f = *s.getFiltrationSettings();
            f = CFiltrationSettings{};
            adjust(f);
        }});
    }

    kvtest::CurlResult Curl(std::vector<std::string> args) {
        args.insert(args.begin(), {"-x", ProxyAddress()});
        return rig_.Curl(args, 30s);
    }

    kvtest::LoopbackRig rig_;
};

TEST_F(FilterNetTest, StopListedServerGetsPage1001AdServerPage1002AndImagesAre403) {
    const kvtest::Origin& origin = rig_.StartOrigin({{"page.bin", 20000}});
    StartWithFilters([](CFiltrationSettings& f) {
        f.mOutFiltration.SetEnable(1);
        f.mOutFiltration.SetEnableServerList(1);
        f.mOutFiltration.SetServerStopList({"stopped.example"});
        f.mInFiltration.setEnable(true);
        f.mInFiltration.setBlockBannerAdds(true);
        f.mInFiltration.setBlockImages(true);
        f.mInFiltration.mBanners.SetBlockedServerList({"ads.example"});
    });
    const struct {
        const char* host;
        unsigned page;
    } blocked[] = {{"www.Stopped.Example", 1001}, {"banners.ads.example", 1002}};
    for (const auto& b : blocked) {
        const kvtest::CurlResult got = Curl({"-i", "-H", std::string("Host: ") + b.host, origin.Url("page.bin")});
        EXPECT_EQ(got.exitCode, 0) << got.log;
        EXPECT_EQ(got.body, std::string(kBlockHead) + kvres::RelayStrings().LoadString(b.page)) << b.host;
    }
    kvtest::LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    ASSERT_TRUE(client.SendAll("GET " + origin.Url("logo.gif") + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
    // A refusal is an answer, never a silent close.
    EXPECT_EQ(client.ReadUntilClosed(10s), kRefusedAnswer);

    const kvtest::CurlResult passed = Curl({origin.Url("page.bin")});
    EXPECT_EQ(passed.exitCode, 0) << passed.log;
    EXPECT_TRUE(passed.body == origin.Content("page.bin"));
    // Only the passed request reached the origin.
    const std::string log = origin.peer().Log();
    EXPECT_EQ(log.find("GET /"), log.rfind("GET /")) << log;
    EXPECT_EQ(ReadCounters(), (Counters{1, 0, 0, 1, 1, 0, 0, 0}));
}

TEST_F(FilterNetTest, FilteredTrafficArrivesChangedWhileATunnelIsByteExact) {
    const std::string page =
        "<html><title>Secret</title><script>alert(1)</script><a onclick=\"window.open('x')\">k</a></html>";
    FakeUpstream origin({FakeScript().ExpectUntil("\r\n\r\n").Send(Response(page)).Close()});
    StartWithFilters([](CFiltrationSettings& f) {
        f.mInFiltration.setEnable(true);
        f.mInFiltration.setBlockScripts(true);
        f.mInFiltration.setBlockPopUps(true);
        f.mInFiltration.setIsBlockTitle(true);
        f.mInFiltration.setBlockTitle("Safe");
        f.mOutFiltration.SetEnable(1);
        f.mOutFiltration.SetOsShield(1);
        f.mOutFiltration.SetDiabledCookies(1);
    });
    const std::string url = "http://127.0.0.1:" + std::to_string(origin.port()) + "/";
    const std::vector<std::string> headers = {"-A", "TestAgent/1.0", "-H", "Cookie: a=b"};

    std::vector<std::string> plainArgs = headers;
    plainArgs.push_back(url);
    const kvtest::CurlResult plain = Curl(plainArgs);
    EXPECT_EQ(plain.exitCode, 0) << plain.log;
    EXPECT_EQ(plain.body, "<html><title>Safe  </title>" + std::string(25, ' ') +
                              "<a onclick=\"1;''.concat('x')\">k</a></html>");

    std::vector<std::string> tunnelArgs = headers;
    tunnelArgs.insert(tunnelArgs.begin(), "-p");
    tunnelArgs.push_back(url);
    const kvtest::CurlResult tunnelled = Curl(tunnelArgs);
    EXPECT_EQ(tunnelled.exitCode, 0) << tunnelled.log;
    EXPECT_EQ(tunnelled.body, page);

    ASSERT_TRUE(origin.WaitFinished(2, 10s));
    const auto sessions = origin.Sessions();
    ASSERT_EQ(sessions.size(), 2u);
    // Blanked values keep their field's line end.
    EXPECT_NE(sessions[0].received.find("\r\nUser-Agent:" + std::string(14, ' ') + "\r\n"), std::string::npos)
        << sessions[0].received;
    EXPECT_NE(sessions[0].received.find("\r\nCookie:" + std::string(4, ' ') + "\r\n"), std::string::npos);
    EXPECT_NE(sessions[1].received.find("User-Agent: TestAgent/1.0\r\n"), std::string::npos) << sessions[1].received;
    EXPECT_NE(sessions[1].received.find("Cookie: a=b\r\n"), std::string::npos);
    EXPECT_EQ(ReadCounters(), (Counters{0, 1, 0, 0, 0, 0, 0, 1}));
}

}  // namespace
}  // namespace filtertest
