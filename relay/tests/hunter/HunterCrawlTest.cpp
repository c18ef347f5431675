// The hunter against pages served on loopback: the crawl's depth, the links
// it follows and refuses, downloads that stall or grow too big, stops, the
// status lines of each download, and the proxies that reach the pool
// database.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/RecordingView.h"
#include "hunter/HunterFixture.h"
#include "platform/Root.h"
#include "platform/UrlCache.h"
#include "relay/analyzer/CAnalyzerThread.h"
#include "relay/analyzer/CProxyConfig.h"
#include "relay/engine/CBaseServer.h"
#include "relay/hunter/CUrlDownloadMoniker.h"
#include "rig/FakeUpstream.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

using huntertest::Found;
using huntertest::HunterCrawlTest;
using huntertest::LowResources;
using huntertest::Page;

TEST_F(HunterCrawlTest, CrawlsDownToTheConfiguredDepth) {
    const std::string base = Serve({
        {"a.html", Page("11.1.1.1:8001", {"@ORIGIN@/b.html", "@ORIGIN@/B.html"})},
        {"b.html", Page("22.2.2.2</td><td>8002", {"@ORIGIN@/c.html", "@ORIGIN@/a.html"})},
        {"c.html", Page("33.3.3.3:8003", {"@ORIGIN@/d.html"})},
        {"d.html", Page("44.4.4.4:8004", {})},
    });
    struct Case {
        int depth;
        bool limitDepth;
        Found found;
        int downloads;
    };
    const Case cases[] = {
        {0, true, {"11.1.1.1:8001"}, 1},
        {1, true, {"11.1.1.1:8001", "22.2.2.2:8002"}, 2},
        {2, true, {"11.1.1.1:8001", "22.2.2.2:8002", "33.3.3.3:8003"}, 3},
        {2, false, {"11.1.1.1:8001"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("depth " + std::to_string(c.depth) + (c.limitDepth ? "" : " unlimited flag off"));
        CBaseServer::m_ProxyPool.IDeleteAllProxies();
        Configure(eUserURL, base + "/A.html", c.depth, c.limitDepth);
        Hunt();
        EXPECT_EQ(Stored(), c.found);
        EXPECT_EQ(hunter().GetDownloadCount(), c.downloads);
    }
    // Pages are kept in the program folder under names made of the address.
    EXPECT_TRUE(fs::exists(platform::ProgramFolder() /
                           ("http___127_0_0_1_" + base.substr(base.rfind(':') + 1) + "_a_html")));
}

TEST_F(HunterCrawlTest, FollowsOnlyLinksToWebPages) {
    kvtest::WriteFile(root() / "local.html", Page("55.5.5.5:8005", {}));
    const std::string base = Serve({
        {"a.html", Page("11.1.1.1:8001",
                        {"mailto:someone@example.com", "javascript:go('@ORIGIN@/b.html')",
                         "file://" + (root() / "local.html").string(), "#top", "x.asp?id=1",
                         "https://127.0.0.1:1/secure.html", "@ORIGIN@/c.html"})},
        {"b.html", Page("22.2.2.2:8002", {})},
        {"c.html", Page("33.3.3.3:8003", {})},
    });
    srvtest::RecordingView view;
    hunter().getProxyConfig().AttachWindow(view.hwnd());
    Configure(eUserURL, base + "/a.html", 1);
    Hunt();
    EXPECT_EQ(Stored(), (Found{"11.1.1.1:8001", "33.3.3.3:8003"}));
    EXPECT_EQ(hunter().GetDownloadCount(), 2);

    const std::string log = hunter().getProxyConfig().getLog();
    // The https link is tried as it is (no "http://" put in front) and fails.
    EXPECT_NE(log.find("\r\nhttps://127.0.0.1:1/secure.html\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("https://127.0.0.1:1/secure.html Downloaded"), std::string::npos);
    EXPECT_EQ(log.find("http://https"), std::string::npos);
    for (const char* never : {"mailto", "javascript", "file:", "x.asp", "#top"}) {
        EXPECT_EQ(log.find(never), std::string::npos) << never << "\n" << log;
    }
    EXPECT_EQ(view.Count(WM_RELAY_PROXYCONFIG_END), 1);
}

TEST_F(HunterCrawlTest, LocalFileSourceIsReadButItsFileLinksAreNot) {
    kvtest::WriteFile(root() / "Other.html", Page("66.6.6.6:8006", {}));
    kvtest::WriteFile(root() / "List.html",
                      Page("55.5.5.5 8005", {"file://" + (root() / "Other.html").string()}));
    Configure(eLocalFile, (root() / "List.html").string(), 1);
    Hunt();
    EXPECT_EQ(Stored(), (Found{"55.5.5.5:8005"}));
    EXPECT_EQ(hunter().GetDownloadCount(), 1);
}

TEST_F(HunterCrawlTest, GivesUpOnStalledAndOversizePages) {
    hunter().SetPageLimits({.stallMs = 1000});
    kvtest::FakeUpstream stalled(kvtest::FakeScript()
                                     .ExpectUntil("\r\n\r\n")
                                     .Send("HTTP/1.0 200 OK\r\n\r\n<html>11.1.1.1:8001 ")
                                     .Silence(10s));
    Configure(eUserURL, "http://" + stalled.Address() + "/never-ends.html", 0);
    const auto started = std::chrono::steady_clock::now();
    Hunt();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 8s);
    EXPECT_EQ(hunter().GetDownloadCount(), 0);
    EXPECT_TRUE(Stored().empty());

    hunter().SetPageLimits({});
    const std::string big = "22.2.2.2:8002 " + std::string(4u * 1024u * 1024u, 'x');
    const std::string base = Serve({{"big.html", big}, {"fits.html", big.substr(0, 4u * 1024u * 1024u)}});
    Configure(eUserURL, base + "/big.html", 0);
    Hunt();
    EXPECT_EQ(hunter().GetDownloadCount(), 0);
    EXPECT_TRUE(Stored().empty());
    Configure(eUserURL, base + "/fits.html", 0);
    Hunt();
    EXPECT_EQ(hunter().GetDownloadCount(), 1);
    EXPECT_EQ(Stored(), (Found{"22.2.2.2:8002"}));
}

TEST_F(HunterCrawlTest, KeepsWaitingWhileDataKeepsArriving) {
    hunter().SetPageLimits({.stallMs = 1000});
    const std::string body = "<html>11.1.1.1:8001 " + std::string(20, ' ') + "</html>";
    kvtest::FakeUpstream slow(kvtest::FakeScript()
                                  .ExpectUntil("\r\n\r\n")
                                  .Send("HTTP/1.0 200 OK\r\n\r\n")
                                  .SendInPieces(body, 4, 300ms)
                                  .Close());
    Configure(eUserURL, "http://" + slow.Address() + "/slow.html", 0);
    Hunt();
    EXPECT_EQ(hunter().GetDownloadCount(), 1);
    EXPECT_EQ(Stored(), (Found{"11.1.1.1:8001"}));
}

TEST_F(HunterCrawlTest, StopDuringADownloadEndsTheHuntWithTheEndMessage) {
    kvtest::FakeUpstream silent(kvtest::FakeScript().ExpectUntil("\r\n\r\n").Silence(20s));
    srvtest::RecordingView view;
    hunter().getProxyConfig().AttachWindow(view.hwnd());
    Configure(eUserURL, "http://" + silent.Address() + "/wait.html", 0);
    ASSERT_TRUE(hunter().Start());
    ASSERT_TRUE(silent.WaitAccepted(1, 5000ms));
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_TRUE(hunter().Stop());
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 5s);
    EXPECT_FALSE(hunter().IsRunning());
    EXPECT_TRUE(view.WaitFor(WM_RELAY_PROXYCONFIG_END, 1, 2000ms));
}

TEST_F(HunterCrawlTest, StartsTheAnalyzerAfterAHuntWhenAsked) {
    // No proxies on the page and none stored: the analyzer has nothing to
    // connect to and just reports its end.
    const std::string base = Serve({{"empty.html", Page("none here", {})}});
    srvtest::RecordingView view;
    CProxyConfig& analyzer = CBaseServer::mAnalyzerThread.GetProxyConfig();
    analyzer.AttachWindow(view.hwnd());
    Configure(eUserURL, base + "/empty.html", 0);
    hunter().SetAnalyzeAfterHunt(true);
    Hunt();
    EXPECT_FALSE(hunter().GetAnalyzeAfterHunt());
    EXPECT_TRUE(view.WaitFor(WM_RELAY_PROXYCONFIG_END, 1, 5000ms));
    CBaseServer::mAnalyzerThread.Stop();
    analyzer.DetachWindow();

    // Without the request the next hunt leaves the analyzer alone.
    view.Clear();
    analyzer.AttachWindow(view.hwnd());
    Hunt();
    EXPECT_FALSE(view.WaitFor(WM_RELAY_PROXYCONFIG_END, 1, 300ms));
    analyzer.DetachWindow();
}

// The log's lines for one page: its download's status lines, then the
// crawl's own two.
std::string PageLog(const std::string& address, const std::vector<std::string>& steps) {
    std::string log;
    for (const std::string& step : steps) log += step + "\r\r\n";
    return log + address + " Downloaded\r\n" + address + "\r\n";
}

TEST_F(HunterCrawlTest, LogsEachStepOfEveryDownloadInTheOrderItHappens) {
    const std::string base = Serve({
        {"a.html", Page("11.1.1.1:8001", {"@ORIGIN@/list", "@ORIGIN@/cached.html"})},
        {"list/index.html", Page("22.2.2.2:8002", {})},
        {"cached.html", Page("33.3.3.3:8003", {})},
    });
    // A first hunt keeps the page in the browser's cache; the origin's copy
    // then changes without a newer date.
    Configure(eUserURL, base + "/cached.html", 0);
    Hunt();
    const auto cachedCopy = platform::RetrieveUrlCacheEntryFile(base + "/cached.html");
    ASSERT_TRUE(cachedCopy.has_value());
    const fs::path served = OriginFolder() / "cached.html";
    const auto dated = fs::last_write_time(served);
    kvtest::WriteFile(served, Page("44.4.4.4:8004", {}));
    fs::last_write_time(served, dated);
    CBaseServer::m_ProxyPool.IDeleteAllProxies();

    srvtest::RecordingView view;
    hunter().getProxyConfig().AttachWindow(view.hwnd());
    Configure(eUserURL, base + "/a.html", 1);
    Hunt();
    const std::vector<std::string> fresh = {"Finding resource...", "Connecting...", "Sending request...",
                                            "Ending data download...", "File download complete."};
    EXPECT_EQ(hunter().getProxyConfig().getLog(),
              PageLog(base + "/a.html", fresh) +
                  PageLog(base + "/list",
                          {"Finding resource...", "Connecting...", "Sending request...",
                           "Server redirecting client...", "Connecting...", "Sending request...",
                           "Ending data download...", "File download complete."}) +
                  PageLog(base + "/cached.html",
                          {"Finding resource...", "Connecting...", "Sending request...", "Using cached copy...",
                           "Ending data download...", "File download complete."}));
    // The cached page is the copy the server confirmed.
    EXPECT_EQ(Stored(), (Found{"11.1.1.1:8001", "22.2.2.2:8002", "33.3.3.3:8003"}));

    // A newer page on the server replaces the copy.
    fs::last_write_time(served, dated + std::chrono::seconds(10));
    // Each hunt's end detaches the page.
    hunter().getProxyConfig().Reset();
    hunter().getProxyConfig().AttachWindow(view.hwnd());
    Configure(eUserURL, base + "/cached.html", 0);
    Hunt();
    EXPECT_EQ(hunter().getProxyConfig().getLog(), PageLog(base + "/cached.html", fresh));
    EXPECT_TRUE(Stored().count("44.4.4.4:8004"));
    EXPECT_EQ(kvtest::ReadFile(platform::RetrieveUrlCacheEntryFile(base + "/cached.html")->path),
              Page("44.4.4.4:8004", {}));
}

TEST_F(HunterCrawlTest, PageThatCannotGrowIsLoggedAsLowResources) {
    const std::string base = Serve({{"a.html", Page("11.1.1.1:8001", {})}});
    srvtest::RecordingView view;
    hunter().getProxyConfig().AttachWindow(view.hwnd());
    Configure(eUserURL, base + "/a.html", 0);
    {
        const LowResources low;
        Hunt();
    }
    EXPECT_EQ(hunter().getProxyConfig().getLog(),
              "Finding resource...\r\r\nConnecting...\r\r\nSending request...\r\r\nLow resources.\r\r\n"
              "File download Failed.\r\r\n" +
                  base + "/a.html\r\n");
    EXPECT_EQ(hunter().GetDownloadCount(), 0);
    EXPECT_TRUE(Stored().empty());
}

TEST(UrlDownloadMonikerTest, EachStatusCodeHasItsLine) {
    srvtest::RecordingView view;
    CProxyConfig bridge;
    bridge.AttachWindow(view.hwnd());
    int data = 0;
    CUrlDownloadMoniker moniker(bridge, [&data] { ++data; });
    for (unsigned long code = 0; code <= 50; ++code) moniker.OnProgress(code);
    EXPECT_EQ(bridge.getLog(),
              "Unknown binding status code!\r\r\n"      // 0
              "Finding resource...\r\r\n"               // 1
              "Connecting...\r\r\n"                     // 2
              "Server redirecting client...\r\r\n"      // 3
              "Ending data download...\r\r\n"           // 6
              "Using cached copy...\r\r\n"              // 10
              "Sending request...\r\r\n"                // 11
              "Unknown binding status code!\r\r\n"      // 30
              "Unknown binding status code!\r\r\n"      // 48
              "Unknown binding status code!\r\r\n"      // 49
              "Unknown binding status code!\r\r\n");    // 50
    // Data beginning and data arriving keep the download alive.
    EXPECT_EQ(data, 2);
}

TEST_F(HunterCrawlTest, HuntWithoutDownloadThreadEndsAtOnce) {
    hunter().Shutdown();
    Configure(eUserURL, "http://127.0.0.1:1/none.html", 0);
    const auto started = std::chrono::steady_clock::now();
    Hunt();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_EQ(hunter().GetDownloadCount(), 0);
}

}  // namespace
