// The worker-to-window bridge and the checking options.

#include <gtest/gtest.h>

#include "analyzer/AnalyzerFixture.h"
#include "relay/analyzer/CAnalyzerConfig.h"
#include "relay/analyzer/CProxyConfig.h"

namespace anatest {
namespace {

TEST(AnalyzerConfigTest, ClampsTimeOutToItsRange) {
    const struct {
        int given;
        int stored;
    } cases[] = {{500, 2000}, {60000, 10000}, {3000, 3000}, {2000, 2000}, {10000, 10000}, {-1, 2000}};
    for (const auto& c : cases) {
        CAnalyzerConfig config;
        EXPECT_EQ(config.setTimeOut(c.given), c.stored) << c.given;
        EXPECT_EQ(config.getTimeOut(), c.stored) << c.given;
    }
}

class BridgeTest : public kvtest::RootedTest {
protected:
    srvtest::RecordingView view_;
    CProxyConfig bridge_;
};

TEST_F(BridgeTest, DropsLogTextWithoutLiveWindow) {
    bridge_.AddToLog("kept");
    EXPECT_EQ(bridge_.getLog(), "");

    auto gone = std::make_unique<srvtest::RecordingView>();
    const platform::HWND dead = gone->hwnd();
    gone.reset();
    bridge_.AttachWindow(dead);
    bridge_.AddToLog("to a window that went");
    EXPECT_EQ(bridge_.getLog(), "");

    bridge_.AttachWindow(view_.hwnd());
    bridge_.AddToLog("one");
    bridge_.AddToLog("two");
    EXPECT_EQ(bridge_.getLog(), "one\r\ntwo\r\n");
    EXPECT_TRUE(view_.WaitFor(WM_RELAY_PROXYCONFIG_LOG, 2, std::chrono::seconds(5)));
}

TEST_F(BridgeTest, EndMessageEmptiesTheQueueAfterPosting) {
    bridge_.AttachWindow(view_.hwnd());
    bridge_.AddProxy(Candidate(8080));
    bridge_.AddProxy(Candidate(3128));
    EXPECT_EQ(bridge_.GetQueuedCount(), 2);
    EXPECT_TRUE(view_.WaitFor(WM_RELAY_PROXYCONFIG_FOUND, 2, std::chrono::seconds(5)));

    bridge_.SendEndProcessMsg();
    EXPECT_EQ(bridge_.GetQueuedCount(), 0);
    EXPECT_TRUE(view_.WaitFor(WM_RELAY_PROXYCONFIG_END, 1, std::chrono::seconds(5)));

    // Without a window nothing is queued, and the end still empties.
    bridge_.DetachWindow();
    bridge_.AddProxy(Candidate(80));
    EXPECT_EQ(bridge_.GetQueuedCount(), 0);
}

TEST_F(BridgeTest, AddToListWritesEveryQueuedProxyOnce) {
    bridge_.AttachWindow(view_.hwnd());
    bridge_.AddProxy(Candidate(8080));
    bridge_.AddProxy(Candidate(3128));
    pooltest::RecordingList list;
    list.InsertColumn(0, "Address", 80);
    list.InsertColumn(1, "Port", 40);
    bridge_.AddToList(list);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[0].texts.at(0), "127.0.0.1");
    EXPECT_EQ(list.items[1].texts.at(1), "3128");
    bridge_.AddToList(list);
    EXPECT_EQ(list.items.size(), 2u);
}

TEST_F(BridgeTest, StopEventFollowsTheStopFlag) {
    bridge_.setShouldStop(true);
    EXPECT_TRUE(bridge_.GetStopEvent().IsSignalled());
    bridge_.AttachWindow(view_.hwnd());
    bridge_.AddToLog("line");
    // Reset clears the event and the text; the flag keeps its value.
    bridge_.Reset();
    EXPECT_TRUE(bridge_.getShouldStop());
    EXPECT_FALSE(bridge_.GetStopEvent().IsSignalled());
    EXPECT_EQ(bridge_.getLog(), "");
    bridge_.setShouldStop(false);
    EXPECT_FALSE(bridge_.GetStopEvent().IsSignalled());
}

}  // namespace
}  // namespace anatest
