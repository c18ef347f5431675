// The full check of one proxy against real proxies and fakes on loopback.

#include <gtest/gtest.h>

#include <functional>

#include "analyzer/AnalyzerFixture.h"
#include "relay/analyzer/CProxyVerifyer.h"
#include "rig/Loopback.h"

namespace anatest {
namespace {

class VerifierTest : public AnalyzerTest {
protected:
    VerifierTest() { config_.setJudgeHosts(Judges()); }

    bool Check(CProxy& proxy, bool mixed) {
        host_.mixChain = mixed;
        CProxyVerifyer verifyer(&config_);
        return verifyer.CheckProxy(&proxy, PROXY_TYPE_UNKNOWN);
    }

    CAnalyzerConfig config_;
};

TEST_F(VerifierTest, RanksWorkingProxyOfEachKindByItsProtocol) {
    struct Case {
        const char* name;
        std::function<const kvtest::Peer&()> start;
        bool mixed;
        eProxyType type;
    };
    const Case cases[] = {
        {"tinyproxy", [this]() -> const kvtest::Peer& { return rig_.StartTinyproxy(); }, false, PROXY_TYPE_HTTPS},
        {"tinyproxy without CONNECT to the judge",
         [this]() -> const kvtest::Peer& { return rig_.StartTinyproxy({.connectPorts = {443}}); }, false,
         PROXY_TYPE_HTTP},
        {"dante", [this]() -> const kvtest::Peer& { return rig_.StartDante(); }, true, PROXY_TYPE_SOCKS4},
        {"microsocks", [this]() -> const kvtest::Peer& { return rig_.StartMicrosocks(); }, true,
         PROXY_TYPE_SOCKS5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CProxy proxy = Candidate(c.start().port());
        proxy.setFailReason("Timeout");
        ASSERT_TRUE(Check(proxy, c.mixed));
        EXPECT_EQ(proxy.getType(), c.type);
        EXPECT_GT(proxy.getRank(), 0);
        EXPECT_STREQ(proxy.getFailReason(), "");
    }
}

TEST_F(VerifierTest, MarksDeadOrLyingProxyFailedWithReason) {
    kvtest::FakeUpstream lying(kvtest::FakeScript().ExpectUntil("\r\n\r\n").Send(kLyingReply).Close());
    const kvtest::RefusingPort refusing;
    struct Case {
        const char* name;
        std::uint16_t port;
        const char* reason;
        eProxyType type;
    };
    const Case cases[] = {
        {"nothing listens", refusing.port(), CProxyVerifyer::kTimeout, PROXY_TYPE_HTTPS},
        {"own page instead of the judge's", lying.port(), CProxyVerifyer::kUnexpected, PROXY_TYPE_UNKNOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CProxy proxy = Candidate(c.port);
        proxy.setType(PROXY_TYPE_HTTPS);
        proxy.setRank(5);
        EXPECT_FALSE(Check(proxy, false));
        EXPECT_STREQ(proxy.getFailReason(), c.reason);
        EXPECT_EQ(proxy.getType(), c.type);
        EXPECT_EQ(proxy.getRank(), -1);
    }
}

TEST_F(VerifierTest, SocksOnlyProxyFailsWhenChainsMayNotMix) {
    CProxy proxy = Candidate(rig_.StartDante().port());
    EXPECT_FALSE(Check(proxy, false));
    EXPECT_EQ(proxy.getType(), PROXY_TYPE_UNKNOWN);
    EXPECT_EQ(proxy.getRank(), -1);
}

TEST_F(VerifierTest, Socks5NeedingAuthenticationStillGetsTheHttpTests) {
    kvtest::FakeUpstream needsAuth(kvtest::FakeScript().Expect(3).Send(std::string("\x05\x02", 2)).Close());
    srvtest::RecordingView view;
    config_.GetProxyConfig().AttachWindow(view.hwnd());
    CProxy proxy = Candidate(needsAuth.port());

    EXPECT_FALSE(Check(proxy, true));

    EXPECT_NE(config_.GetProxyConfig().getLog().find("    Sock5 Proxy Need Auth.\r\n"), std::string::npos);
    ASSERT_TRUE(needsAuth.WaitFinished(5, std::chrono::seconds(5)));
    // The ping, then SOCKS4, SOCKS5, HTTPS and HTTP, each on its own
    // connection.
    const auto sessions = needsAuth.Sessions();
    ASSERT_EQ(sessions.size(), 5u);
    EXPECT_EQ(sessions[2].received.substr(0, 3), std::string("\x05\x01\x00", 3));
    EXPECT_EQ(sessions[3].received.substr(0, 8), "CONNECT ");
    EXPECT_EQ(sessions[4].received.substr(0, 5), "HEAD ");
}

TEST_F(VerifierTest, SendsTheJudgeRequestsThroughTheProxy) {
    kvtest::FakeUpstream fake(kvtest::FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.0 403 No\r\n\r\n").Close());
    CProxy proxy = Candidate(fake.port());
    EXPECT_FALSE(Check(proxy, false));
    ASSERT_TRUE(fake.WaitFinished(3, std::chrono::seconds(5)));
    const auto sessions = fake.Sessions();
    ASSERT_EQ(sessions.size(), 3u);
    const std::string target = "127.0.0.1:" + std::to_string(judge_.port());
    EXPECT_EQ(sessions[1].received, "CONNECT " + target + " HTTP/1.1\r\nHost: " + target + "\r\n\r\n");
    EXPECT_EQ(sessions[2].received, "HEAD http://" + target + "/ HTTP/1.0\r\nHost: " + target +
                                        "\r\nConnection: keep-alive\r\n\r\n");
    EXPECT_STREQ(proxy.getFailReason(), CProxyVerifyer::kUnexpected);
}

TEST_F(VerifierTest, AnonymityAndTheLocalAddressAreNotJudged) {
    srvtest::RecordingView view;
    config_.GetProxyConfig().AttachWindow(view.hwnd());
    host_.mixChain = false;
    CProxy proxy = Candidate(rig_.StartTinyproxy().port());
    CProxyVerifyer verifyer(&config_);
    for (const bool anonymous : {true, false}) {
        SCOPED_TRACE(anonymous ? "anonymous" : "not anonymous");
        proxy.setIsAnonymous(anonymous);
        ASSERT_TRUE(verifyer.CheckProxy(&proxy, PROXY_TYPE_UNKNOWN));
        const std::size_t judged = judge_.Sessions().size();
        const std::string log = config_.GetProxyConfig().getLog();
        const std::size_t posts = view.Messages().size();

        EXPECT_TRUE(verifyer.GetLocalIP());
        verifyer.CheckAnonymaty();
        config_.CheckProxy();

        EXPECT_EQ(proxy.getIsAnonymous(), anonymous);
        EXPECT_EQ(proxy.getType(), PROXY_TYPE_HTTPS);
        EXPECT_EQ(config_.GetProxyConfig().getLog(), log);
        EXPECT_EQ(view.Messages().size(), posts);
        EXPECT_EQ(config_.GetProxyConfig().GetQueuedCount(), 0);
        // Nothing asked the judge again.
        EXPECT_EQ(judge_.Sessions().size(), judged);
    }
}

TEST_F(VerifierTest, StopEndsAWaitingCheckAtOnce) {
    kvtest::FakeUpstream silent(kvtest::FakeScript().Silence(std::chrono::seconds(20)));
    config_.setTimeOut(10000);
    host_.mixChain = false;
    CProxy proxy = Candidate(silent.port());
    CProxyVerifyer verifyer(&config_);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        verifyer.CheckProxy(&proxy, PROXY_TYPE_UNKNOWN);
        done = true;
    });
    ASSERT_TRUE(silent.WaitAccepted(2, std::chrono::seconds(5)));
    config_.GetProxyConfig().setShouldStop(true);
    verifyer.Abort();
    const bool ended = WaitUntil([&] { return done.load(); }, std::chrono::seconds(3));
    if (!ended) silent.Stop();
    worker.join();
    EXPECT_TRUE(ended);
    // A stopped check blames nobody.
    EXPECT_STREQ(proxy.getFailReason(), "");
}

}  // namespace
}  // namespace anatest
