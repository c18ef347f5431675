#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "engine/EngineFixture.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/EngineMessages.h"
#include "relay/toolbar/CToolBarNotifier.h"
#include "relay/toolbar/CToolbarSrvr.h"
#include "toolbar/ToolbarPeer.h"

namespace {

using namespace std::chrono_literals;
using tbtest::MakeNotice;
using tbtest::Notice;
using tbtest::ToolbarPeer;

Notice Status(std::uint32_t value) { return MakeNotice(13, value); }

class ToolbarChannelTest : public srvtest::EngineTest {
protected:
    // Starts the engine and waits for its channel.
    void StartChannel(const srvtest::EngineSettings& settings = {}) {
        CToolBarNotifier::mTtlIncoming.store(0);
        CToolBarNotifier::mTtlOutgoing.store(0);
        StartRunningEngine(settings);
        const auto deadline = std::chrono::steady_clock::now() + tbtest::kLimit;
        while (CUtilThread::mToolbarSrvr.GetListeningPort() == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
        }
        channelPort_ = static_cast<std::uint16_t>(CUtilThread::mToolbarSrvr.GetListeningPort());
        ASSERT_NE(channelPort_, 0);
    }

    std::unique_ptr<ToolbarPeer> Connect(int receiveBuffer = 0) {
        auto peer = std::make_unique<ToolbarPeer>(channelPort_, receiveBuffer);
        EXPECT_TRUE(peer->connected());
        return peer;
    }

    // The peer is served: a server query is answered.
    static bool Answers(ToolbarPeer& peer) {
        return peer.Send({0, 3}) && peer.Read(1) == std::vector<Notice>{Status(0)};
    }

    std::uint16_t channelPort_ = 0;
};

struct QueryCase {
    bool incoming;
    int outgoing;
    bool privacy;
    std::vector<Notice> answers;  // to 10, 11, 12, 3
};

TEST_F(ToolbarChannelTest, AnswersQueriesSentInOneBlockFromTheEngineSettings) {
    const QueryCase cases[] = {
        {true, 1, true, {Status(7), Status(5), Status(9), Status(0)}},
        {false, 0, false, {Status(8), Status(6), Status(10), Status(0)}},
    };
    StartChannel();
    auto peer = Connect();
    for (const QueryCase& c : cases) {
        srvtest::EngineSettings wanted;
        wanted.chain = c.privacy;
        wanted.incomingFilter = c.incoming;
        CSettings s = MakeSettings(wanted, port());
        s.getFiltrationSettings()->mOutFiltration.SetEnable(c.outgoing);
        CBaseServer::ApplySettings(s);
        ASSERT_TRUE(peer->Send({0, 10, 0, 11, 0, 12, 0, 3}));
        EXPECT_EQ(peer->Read(4), c.answers) << "incoming " << c.incoming;
    }
}

TEST_F(ToolbarChannelTest, ReassemblesRequestsSplitAcrossReads) {
    StartChannel();
    auto peer = Connect();
    ASSERT_TRUE(peer->Send({0}));
    std::this_thread::sleep_for(30ms);
    ASSERT_TRUE(peer->Send({3, 0}));
    EXPECT_EQ(peer->Read(1), std::vector<Notice>{Status(0)});
    std::this_thread::sleep_for(30ms);
    ASSERT_TRUE(peer->Send({3}));
    EXPECT_EQ(peer->Read(1), std::vector<Notice>{Status(0)});
}

TEST_F(ToolbarChannelTest, StopAndStartCommandsReachEveryToolbarAndTheView) {
    StartChannel();
    auto first = Connect();
    auto second = Connect();
    ASSERT_TRUE(Answers(*second));
    ASSERT_TRUE(first->Send({0, 1}));
    EXPECT_EQ(first->Read(1), std::vector<Notice>{Status(1)});
    EXPECT_EQ(second->Read(1), std::vector<Notice>{Status(1)});
    EXPECT_TRUE(view_.WaitFor(WM_RELAY_SERVER_STOPPED, 1, tbtest::kLimit));
    ASSERT_TRUE(first->Send({0, 3}));
    EXPECT_EQ(first->Read(1), std::vector<Notice>{Status(1)});

    ASSERT_TRUE(first->Send({0, 2}));
    EXPECT_EQ(first->Read(1), std::vector<Notice>{Status(0)});
    EXPECT_EQ(second->Read(1), std::vector<Notice>{Status(0)});
    EXPECT_TRUE(view_.WaitFor(WM_RELAY_SERVER_RUNNING, 2, tbtest::kLimit));
}

TEST_F(ToolbarChannelTest, SwitchCommandsReachTheViewAsToolbarRequestsWithoutAnswer) {
    StartChannel();
    auto peer = Connect();
    ASSERT_TRUE(peer->Send({0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9}));
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_TOOLBAR_REQUEST, 6, tbtest::kLimit));
    std::vector<platform::LPARAM> codes;
    for (const auto& m : view_.Messages()) {
        if (m.message == WM_RELAY_TOOLBAR_REQUEST) codes.push_back(m.lParam);
    }
    EXPECT_EQ(codes, (std::vector<platform::LPARAM>{4, 5, 6, 7, 8, 9}));
    // The first bytes after the switches answer the query.
    EXPECT_TRUE(Answers(*peer));
}

TEST_F(ToolbarChannelTest, BadRequestClosesOnlyThatToolbar) {
    const std::vector<std::vector<std::uint8_t>> bad = {{1, 3}, {0, 0}, {0, 13}, {0, 255}};
    StartChannel();
    auto good = Connect();
    for (const auto& request : bad) {
        auto peer = Connect();
        ASSERT_TRUE(peer->Send(request));
        EXPECT_TRUE(peer->ClosedWithoutBytes()) << int(request[0]) << "," << int(request[1]);
        EXPECT_TRUE(Answers(*good));
    }
}

TEST_F(ToolbarChannelTest, ToolbarsSeeEveryTenthTotalOfEachDirection) {
    StartChannel();
    auto peer = Connect();
    ASSERT_TRUE(Answers(*peer));
    const auto in = static_cast<std::uint32_t>(CBaseServer::m_nDataReceived.load());
    const auto out = static_cast<std::uint32_t>(CBaseServer::m_nDataSent.load());
    for (int i = 0; i < 25; ++i) {
        CBaseServer::SetToolBarIncomingData(1);
        CBaseServer::SetToolBarOutgoingData(2);
    }
    std::vector<Notice> received;
    std::vector<Notice> sent;
    for (const Notice& n : peer->Read(6)) (n[0] == 14 ? received : sent).push_back(n);
    EXPECT_EQ(received, (std::vector<Notice>{MakeNotice(14, in + 1), MakeNotice(14, in + 11), MakeNotice(14, in + 21)}));
    EXPECT_EQ(sent, (std::vector<Notice>{MakeNotice(15, out + 2), MakeNotice(15, out + 22), MakeNotice(15, out + 42)}));
}

TEST_F(ToolbarChannelTest, NoTotalsWhileNoticesAreDisabled) {
    StartChannel();
    auto peer = Connect();
    ASSERT_TRUE(peer->Send({0, 1}));
    ASSERT_EQ(peer->Read(1), std::vector<Notice>{Status(1)});
    for (int i = 0; i < 10; ++i) CBaseServer::SetToolBarIncomingData(1);
    // Thread messages keep their order: the marker comes right after what
    // the totals would have posted.
    ASSERT_TRUE(CUtilThread::PostToThread(WM_RELAY_TOOLBAR_STATUS, 0x105, 0));
    EXPECT_EQ(peer->Read(1), std::vector<Notice>{Status(5)});
}

TEST_F(ToolbarChannelTest, NothingIsBroadcastWhileShuttingDownAndTheChannelCloses) {
    StartChannel();
    auto peer = Connect();
    ASSERT_TRUE(Answers(*peer));
    CProxyServer::m_bShuttingDown.store(true);
    CUtilThread::PostToThread(WM_RELAY_TOOLBAR_DATA_IN, 99, 0);
    CUtilThread::PostToThread(WM_RELAY_TOOLBAR_STATUS, 0, 0);
    StopEngine();
    EXPECT_TRUE(peer->ClosedWithoutBytes());
    EXPECT_EQ(view_.Count(WM_RELAY_SERVER_STOPPED), 0);
}

TEST_F(ToolbarChannelTest, ClientCapHoldsAndClosedToolbarsMakeRoom) {
    StartChannel();
    std::vector<std::unique_ptr<ToolbarPeer>> served;
    for (std::size_t i = 0; i < CToolbarSrvr::kMaxClients; ++i) {
        served.push_back(Connect());
        ASSERT_TRUE(Answers(*served.back())) << i;
    }
    auto extra = Connect();
    extra->Send({0, 3});
    EXPECT_TRUE(extra->ClosedWithoutBytes());

    served[0]->Close();
    served[1]->Close();
    bool admitted = false;
    for (int attempt = 0; attempt < 50 && !admitted; ++attempt) {
        auto late = Connect();
        late->Send({0, 3});
        admitted = late->Read(1, 200ms) == std::vector<Notice>{Status(0)};
        if (admitted) served.push_back(std::move(late));
    }
    EXPECT_TRUE(admitted);
    EXPECT_TRUE(Answers(*served[2]));
}

TEST_F(ToolbarChannelTest, ToolbarThatStopsReadingIsDroppedAfterWholeNotices) {
    constexpr int kNotices = 100000;
    StartChannel();
    auto slow = Connect(2048);
    auto reader = Connect();
    ASSERT_TRUE(Answers(*slow));
    ASSERT_TRUE(Answers(*reader));
    std::vector<Notice> got;
    std::thread readAll([&] { got = reader->Read(kNotices, 30s); });
    for (int i = 0; i < kNotices; ++i) CUtilThread::PostToThread(WM_RELAY_TOOLBAR_STATUS, 5, 0);
    readAll.join();
    EXPECT_EQ(got.size(), static_cast<std::size_t>(kNotices));

    bool closed = false;
    const std::string bytes = slow->ReadUntilClosed(closed, 10s);
    EXPECT_TRUE(closed);
    EXPECT_LT(bytes.size(), static_cast<std::size_t>(kNotices) * 5);
    EXPECT_EQ(bytes.size() % 5, 0u);
}

}  // namespace
