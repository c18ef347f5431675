// The stored-proxy analyzer over a pool database, and the private-list
// analyzer over the pool's private lists.

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <utility>

#include "analyzer/AnalyzerFixture.h"
#include "platform/Sockets.h"
#include "platform/Wait.h"
#include "relay/analyzer/CAnalyzerThread.h"
#include "relay/analyzer/CPrivateListAnalyzer.h"
#include "relay/pool/CProxyMap.h"
#include "relay/pool/CTimerThread.h"
#include "rig/Loopback.h"

namespace anatest {
namespace {

using namespace std::chrono_literals;

class PoolAnalyzerTest : public AnalyzerTest {
protected:
    void OpenPool() {
        pool_.SetDBInitialized(false);
        pool_.Init();
    }

    CTimerThread timer_;
    CProxyMap pool_{timer_};
};

class AnalyzerThreadTest : public PoolAnalyzerTest {
protected:
    AnalyzerThreadTest() {
        host_.mixChain = false;
        analyzer_.GetConfig().setJudgeHosts(Judges());
    }

    // As the analyzer page starts it.
    void StartWithView() {
        analyzer_.Reset();
        analyzer_.GetConfig().setTimeOut(2000);
        analyzer_.GetProxyConfig().AttachWindow(view_.hwnd());
        ASSERT_TRUE(analyzer_.Start());
    }

    // Runs the analysis to its end (bounded); the stored rows by port: IP,
    // Port, Type, Rank, FailReason, Country.
    std::map<std::uint16_t, std::vector<std::string>> AnalyseStoredRows() {
        StartWithView();
        EXPECT_EQ(platform::WaitForSingleObject(analyzer_.GetFinishedEvent(), 60000), platform::WAIT_OBJECT_0);
        EXPECT_TRUE(WaitUntil([&] { return !analyzer_.IsRunning(); }, 5s));
        std::map<std::uint16_t, std::vector<std::string>> byPort;
        for (auto& row : Rows("Proxy")) byPort[static_cast<std::uint16_t>(std::stoi(row[1]))] = row;
        return byPort;
    }

    srvtest::RecordingView view_;
    CAnalyzerThread analyzer_{pool_};
};

// Answers name lookups as the test says while it lives.
class ResolverGuard {
public:
    explicit ResolverGuard(platform::HostResolver resolver)
        : previous_(platform::SetHostResolver(std::move(resolver))) {}
    ~ResolverGuard() { platform::SetHostResolver(previous_); }

private:
    platform::HostResolver previous_;
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(AnalyzerThreadTest, StoresEveryUnanalysedProxyRankedOrFailed) {
    const std::uint16_t working = rig_.StartTinyproxy().port();
    const kvtest::RefusingPort deadPort;
    const kvtest::RefusingPort rankedPort;
    const std::uint16_t dead = deadPort.port();
    const std::uint16_t ranked = rankedPort.port();
    pooltest::InsertRows(DatabasePath(), "Proxy",
                         {StoredRow(working, PROXY_TYPE_UNKNOWN, "0"), StoredRow(dead, PROXY_TYPE_HTTPS, "0"),
                          StoredRow(ranked, PROXY_TYPE_HTTPS, "10.000")});
    pooltest::InsertCountry(DatabasePath(), kLoopbackNumber - 1, kLoopbackNumber + 1, "Loopland");
    OpenPool();

    auto byPort = AnalyseStoredRows();
    ASSERT_EQ(byPort.size(), 3u);
    EXPECT_EQ(byPort[working][2], "3");
    EXPECT_GT(std::stod(byPort[working][3]), 0);
    EXPECT_EQ(byPort[working][4], "");
    EXPECT_EQ(byPort[working][5], "Loopland");
    EXPECT_EQ(byPort[dead][3], "-1.0");
    EXPECT_EQ(byPort[dead][4], "Timeout");
    // Ranked proxies of a known type are not analysed again.
    EXPECT_EQ(byPort[ranked][3], "10.0");

    const std::vector<CProxy*> listed = pool_.GetPublicLists().Https().Snapshot();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]->getPort(), working);

    EXPECT_EQ(view_.Count(WM_RELAY_PROXYCONFIG_FOUND), 2);
    EXPECT_TRUE(view_.WaitFor(WM_RELAY_PROXYCONFIG_END, 1, 5s));
    const std::string log = analyzer_.GetProxyConfig().getLog();
    EXPECT_EQ(log.rfind("Analysis Operation Begin\r\n", 0), 0u) << log;
    EXPECT_TRUE(EndsWith(log, "    Ok\r\nAnalysis Operation End\r\n") ||
                EndsWith(log, "    Failed\r\nAnalysis Operation End\r\n"))
        << log;
    EXPECT_GE(view_.Count(WM_RELAY_PROXYCONFIG_LOG), 10);
}

TEST_F(AnalyzerThreadTest, AnalysesAProxyStoredByItsHostName) {
    const std::uint16_t working = rig_.StartTinyproxy().port();
    const kvtest::RefusingPort refusingPort;
    const std::uint16_t refusing = refusingPort.port();
    std::atomic<int> lookups{0};
    const ResolverGuard resolver([&lookups](const std::string& name, std::vector<std::uint32_t>& addresses) {
        ++lookups;
        if (name != "proxy.hunted.test") return platform::WSAHOST_NOT_FOUND;
        addresses.push_back(kvtest::LoopbackNetworkOrder());
        return 0;
    });
    pooltest::InsertRows(DatabasePath(), "Proxy",
                         {StoredRow(working, PROXY_TYPE_UNKNOWN, "0", "proxy.hunted.test"),
                          StoredRow(refusing, PROXY_TYPE_UNKNOWN, "0", "gone.hunted.test")});
    pooltest::InsertCountry(DatabasePath(), kLoopbackNumber - 1, kLoopbackNumber + 1, "Loopland");
    OpenPool();

    auto byPort = AnalyseStoredRows();
    ASSERT_EQ(byPort.size(), 2u);
    EXPECT_EQ(byPort[working][0], "proxy.hunted.test");
    EXPECT_EQ(byPort[working][2], "3");
    EXPECT_GT(std::stod(byPort[working][3]), 0);
    EXPECT_EQ(byPort[working][5], "Loopland");
    EXPECT_EQ(byPort[refusing][0], "gone.hunted.test");
    EXPECT_EQ(byPort[refusing][4], "Timeout");
    EXPECT_EQ(byPort[refusing][3], "-1.0");
    EXPECT_GE(lookups.load(), 2);
}

TEST_F(AnalyzerThreadTest, StopEndsARunningAnalysisWithoutBlamingTheProxy) {
    kvtest::FakeUpstream silent(kvtest::FakeScript().Silence(std::chrono::seconds(25)));
    pooltest::InsertRows(DatabasePath(), "Proxy", {StoredRow(silent.port(), PROXY_TYPE_UNKNOWN, "0")});
    OpenPool();
    StartWithView();
    analyzer_.GetConfig().setTimeOut(10000);
    ASSERT_TRUE(silent.WaitAccepted(2, 10s));

    const auto asked = std::chrono::steady_clock::now();
    analyzer_.GetProxyConfig().setShouldStop(true);
    analyzer_.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 5s);
    EXPECT_FALSE(analyzer_.IsRunning());

    const std::string log = analyzer_.GetProxyConfig().getLog();
    EXPECT_NE(log.find("Analysis Operation Stopped By User!\r\n"), std::string::npos) << log;
    EXPECT_TRUE(EndsWith(log, "Analysis Operation End\r\n")) << log;
    const auto rows = Rows("Proxy");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][2], "1");
    EXPECT_EQ(rows[0][3], "0.0");
    EXPECT_EQ(rows[0][4], "");
    EXPECT_EQ(view_.Count(WM_RELAY_PROXYCONFIG_FOUND), 0);
}

TEST_F(AnalyzerThreadTest, CanRunAgainAfterAStop) {
    OpenPool();
    analyzer_.Stop();
    StartWithView();
    ASSERT_EQ(platform::WaitForSingleObject(analyzer_.GetFinishedEvent(), 10000), platform::WAIT_OBJECT_0);
    EXPECT_TRUE(WaitUntil([&] { return !analyzer_.IsRunning(); }, 5s));
    EXPECT_EQ(analyzer_.GetProxyConfig().getLog(), "Analysis Operation Begin\r\nAnalysis Operation End\r\n");
}

class PrivateListTest : public PoolAnalyzerTest {};

TEST_F(PrivateListTest, FailedPrivateProxiesLeaveTheirLists) {
    host_.mixChain = false;
    const std::uint16_t working = rig_.StartTinyproxy().port();
    kvtest::FakeUpstream lying(kvtest::FakeScript().ExpectUntil("\r\n\r\n").Send(kLyingReply).Close());
    const kvtest::RefusingPort refusing;
    pooltest::InsertRows(DatabasePath(), "KVList",
                         {StoredRow(working, PROXY_TYPE_HTTPS, "0.5"),
                          StoredRow(refusing.port(), PROXY_TYPE_HTTPS, "10.000", "127.0.0.2"),
                          StoredRow(lying.port(), PROXY_TYPE_HTTP, "10.000")});
    OpenPool();
    ASSERT_EQ(pool_.CopyPrivateList(PROXY_TYPE_HTTPS).size(), 2u);
    ASSERT_EQ(pool_.CopyPrivateList(PROXY_TYPE_HTTP).size(), 1u);

    auto owned = std::make_unique<CPrivateListAnalyzer>(&pool_);
    CPrivateListAnalyzer* analyzer = owned.get();
    analyzer->GetConfig().setJudgeHosts(Judges());
    EXPECT_FALSE(pool_.GetIsPrivateAnalyzed());
    pool_.SetPrivateListAnalyzer(std::move(owned));
    pool_.AnalyzePrivateList();
    ASSERT_TRUE(WaitUntil([&] { return !analyzer->IsRunning(); }, 60s));
    EXPECT_TRUE(pool_.GetIsPrivateAnalyzed());

    const std::vector<CProxy*> https = pool_.CopyPrivateList(PROXY_TYPE_HTTPS);
    ASSERT_EQ(https.size(), 1u);
    EXPECT_EQ(https[0]->getPort(), working);
    // Ranked again by its response time.
    EXPECT_GT(https[0]->getRank(), 0.5);
    EXPECT_TRUE(pool_.CopyPrivateList(PROXY_TYPE_HTTP).empty());
    // Private proxies are never stored in the public table.
    EXPECT_TRUE(Rows("Proxy").empty());
}

TEST_F(PrivateListTest, StopEndsThePrivateAnalysis) {
    kvtest::FakeUpstream silent(kvtest::FakeScript().Silence(std::chrono::seconds(25)));
    pooltest::InsertRows(DatabasePath(), "KVList", {StoredRow(silent.port(), PROXY_TYPE_HTTPS, "10.000")});
    OpenPool();
    pool_.SetPrivateListAnalyzer(std::make_unique<CPrivateListAnalyzer>(&pool_));
    pool_.AnalyzePrivateList();
    ASSERT_TRUE(silent.WaitAccepted(2, 10s));

    const auto asked = std::chrono::steady_clock::now();
    pool_.StopAnalyzingPrivateList();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 5s);
    // A stopped check removes nothing.
    EXPECT_EQ(pool_.CopyPrivateList(PROXY_TYPE_HTTPS).size(), 1u);
}

}  // namespace
}  // namespace anatest
