#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/EngineFixture.h"
#include "filter/FilterFixture.h"
#include "http/HttpTestBytes.h"
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

// The presets the framed tests run with: the default (medium) one, and
// every incoming filter on.
struct Preset {
    const char* name;
    Adjust adjust;
};

void PrintTo(const Preset& c, std::ostream* out) { *out << c.name; }

const Preset kPresets[] = {
    {"DefaultPreset", [](CFiltrationSettings& f) { f.SetToMediumProtection(); }},
    {"EveryIncomingFilter",
     [](CFiltrationSettings& f) {
         EveryResponseFilter(f, "Kept title");
         // and those of requests
         f.mInFiltration.setBlockBannerAdds(true);
         f.mInFiltration.setBlockBannerFlash(true);
         f.mInFiltration.setBlockImages(true);
         f.mAdvancedFiltration.mDisableJavaApplets = 1;
     }},
};

// A page whose markers fall across chunk and read boundaries.
const std::string kScriptPage = [] {
    std::string page = "<html><head><title>Original</title></head><body>\n";
    for (int i = 0; i < 24; ++i) {
        page += "<p>row " + std::to_string(i) + "</p><script type=\"text/javascript\">window.status='" +
                std::to_string(i) + "';</script>" + "<a onclick=\"window.open('/w')\">w</a>" +
                "<script>window.setTimeout(f,1);window.onunload=g;</script>\n";
    }
    return page + "</body></html>\n";
}();

class FramedFilterNetTest : public FilterNetTest, public ::testing::WithParamInterface<Preset> {
protected:
    // What the preset's filter makes of a whole page.
    static std::string Filtered(const std::string& page) {
        CFiltrationManager manager = MakeManager(GetParam().adjust);
        return FilterWhole(manager, page);
    }
};

TEST_P(FramedFilterNetTest, ChunkedGzipAndDeflatePagesAreFilteredWhileDownloadsStayExact) {
    const std::string expected = Filtered(kScriptPage);
    ASSERT_NE(expected, kScriptPage);
    const std::string html = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n";
    const std::string gz = httptest::Gzip(kScriptPage);
    const std::string zlibbed = httptest::Deflate(kScriptPage, false);
    const std::string raw = httptest::Deflate(kScriptPage, true);
    const struct {
        const char* name;
        std::string response;
    } pages[] = {
        {"chunked", html + "Transfer-Encoding: chunked\r\n\r\n" + httptest::Chunked(kScriptPage, {7, 13, 5, 64})},
        {"gzip", html + "Content-Encoding: gzip\r\nContent-Length: " + std::to_string(gz.size()) + "\r\n\r\n" + gz},
        {"deflate chunked",
         html + "Content-Encoding: deflate\r\nTransfer-Encoding: chunked\r\n\r\n" + httptest::Chunked(zlibbed, {100})},
        {"raw deflate", html + "Content-Encoding: deflate\r\nContent-Length: " + std::to_string(raw.size()) +
                            "\r\n\r\n" + raw},
    };
    std::vector<FakeScript> scripts;
    // Small pieces: every marker is cut by some read.
    for (const auto& p : pages) scripts.push_back(FakeScript().ExpectUntil("\r\n\r\n").SendInPieces(p.response, 29, 1ms));
    FakeUpstream origin(scripts);
    const kvtest::Origin& files = rig_.StartOrigin({{"big.bin", 3 << 20}});
    StartWithFilters(GetParam().adjust);

    const std::string url = "http://127.0.0.1:" + std::to_string(origin.port()) + "/page.html";
    for (const auto& p : pages) {
        const kvtest::CurlResult got = Curl({"-sS", url});
        EXPECT_EQ(got.exitCode, 0) << p.name << ": " << got.log;
        EXPECT_TRUE(got.body == expected) << p.name << ": " << got.body.substr(0, 300);
    }
    const kvtest::CurlResult binary = Curl({files.Url("big.bin")});
    EXPECT_EQ(binary.exitCode, 0) << binary.log;
    EXPECT_TRUE(binary.body == files.Content("big.bin")) << "got " << binary.body.size() << " bytes";
}

TEST_P(FramedFilterNetTest, FiveMegabytePostHoldingScriptNamesAndHostLinesArrivesWholeAtItsOrigin) {
    FakeUpstream other({FakeScript().ExpectUntil("\r\n\r\n").Send(Response("wrong host"))});
    // The body is full of what looks like requests, also where reads end.
    const std::string lure = "\r\nGET http://" + other.Address() + "/x.js HTTP/1.1\r\nHost: " + other.Address() +
                             "\r\nReferer: http://a/b.js\r\n\r\n";
    std::string body = kvtest::Origin::MakeContent("post.bin", 5 * 1024 * 1024);
    for (std::size_t at = 0; at + lure.size() < body.size(); at += 10140 - 17) body.replace(at, lure.size(), lure);
    FakeUpstream origin({FakeScript().ExpectUntil("\r\n\r\n").Expect(body.size()).Send(Response("stored")).Close()});
    const Adjust preset = GetParam().adjust;
    StartWithFilters([preset](CFiltrationSettings& f) {
        preset(f);
        f.mOutFiltration.SetEnable(1);
        f.mOutFiltration.SetEnableServerList(1);
        f.mOutFiltration.SetServerStopList({"stopped.example"});
    });
    const std::filesystem::path file = root() / "post.bin";
    kvtest::WriteFile(file, body);
    const kvtest::CurlResult got =
        Curl({"-sS", "-H", "Expect:", "--data-binary", "@" + file.string(), "http://" + origin.Address() + "/upload.js.php"});
    EXPECT_EQ(got.exitCode, 0) << got.log;
    EXPECT_EQ(got.body, "stored");
    ASSERT_TRUE(origin.WaitFinished(1, 10s));
    const std::string received = origin.Sessions().at(0).received;
    const std::size_t end = received.find("\r\n\r\n");
    ASSERT_NE(end, std::string::npos);
    EXPECT_TRUE(received.substr(end + 4) == body) << "the body differs";
    EXPECT_TRUE(other.Sessions().empty());
    EXPECT_EQ(ReadCounters(), Counters{});
}

INSTANTIATE_TEST_SUITE_P(Presets, FramedFilterNetTest, ::testing::ValuesIn(kPresets),
                         [](const auto& info) { return std::string(info.param.name); });

struct Shield {
    const char* name;
    std::function<void(COutFiltration&)> on;
    std::string fields;  // what the origin gets of the fields before Host
};

void PrintTo(const Shield& c, std::ostream* out) { *out << c.name; }

const Shield kShields[] = {
    {"UserAgent", [](COutFiltration& o) { o.SetOsShield(1); },
     "User-Agent:" + std::string(10, ' ') + "\r\nCookie: a=b\r\nReferer: http://r.example/\r\n"},
    {"Cookies", [](COutFiltration& o) { o.SetDiabledCookies(1); },
     "User-Agent: Browser/1\r\nCookie:    \r\nReferer: http://r.example/\r\n"},
    {"Referrer", [](COutFiltration& o) { o.SetBlockReferrer(1); },
     "User-Agent: Browser/1\r\nCookie: a=b\r\nReferer:" + std::string(18, ' ') + "\r\n"},
};

class ShieldNetTest : public FilterNetTest, public ::testing::WithParamInterface<std::tuple<Preset, Shield>> {};

// User-Agent, Cookie and Referer before Host, as one major browser sends
// them: the blanked values keep their line ends and Host stays a field.
TEST_P(ShieldNetTest, FieldsBeforeHostAreBlankedAndTheRequestIsServed) {
    const auto& [preset, shield] = GetParam();
    FakeUpstream origin({FakeScript().ExpectUntil("\r\n\r\n").Send(Response("<p>ok</p>")).Close()});
    StartWithFilters([&](CFiltrationSettings& f) {
        preset.adjust(f);
        f.mOutFiltration.SetEnable(1);
        shield.on(f.mOutFiltration);
    });
    const kvtest::CurlResult got =
        Curl({"-sS", "-H", "Host:", "-H", "User-Agent: Browser/1", "-H", "Cookie: a=b", "-H", "Referer: http://r.example/",
              "-H", "Host: " + origin.Address(), "http://" + origin.Address() + "/index.html"});
    EXPECT_EQ(got.exitCode, 0) << got.log;
    EXPECT_EQ(got.body, "<p>ok</p>");
    ASSERT_TRUE(origin.WaitFinished(1, 10s));
    EXPECT_EQ(origin.Sessions().at(0).received, "GET /index.html HTTP/1.1\r\nAccept: */*\r\nProxy-Connection: Keep-Alive\r\n" +
                                                     shield.fields + "Host: " + origin.Address() + "\r\n\r\n");
}

INSTANTIATE_TEST_SUITE_P(PresetsAndShields, ShieldNetTest,
                         ::testing::Combine(::testing::ValuesIn(kPresets), ::testing::ValuesIn(kShields)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace filtertest
