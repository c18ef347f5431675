#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/RecordingView.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
constexpr platform::UINT kMarker = platform::WM_APP + 1;

class FacadeTest : public kvtest::RootedTest {
protected:
    ~FacadeTest() override { CBaseServer::DettachView(); }

    // Everything posted before returns has reached the view.
    void Settle() {
        const int markers = view_.Count(kMarker);
        ASSERT_TRUE(platform::PostMessage(view_.hwnd(), kMarker, 0, 0));
        ASSERT_TRUE(view_.WaitFor(kMarker, markers + 1, 5s));
    }

    srvtest::RecordingView view_;
};

TEST_F(FacadeTest, ServerStateReachesTheViewOnlyForRunningAndStopped) {
    CBaseServer::NotifyServerState(0);
    CBaseServer::AttachView(view_.hwnd());
    CBaseServer::NotifyServerState(5);
    CBaseServer::NotifyServerState(0);
    CBaseServer::NotifyServerState(1);
    CBaseServer::DettachView();
    CBaseServer::NotifyServerState(1);
    Settle();
    EXPECT_EQ(view_.Count(WM_RELAY_SERVER_RUNNING), 1);
    EXPECT_EQ(view_.Count(WM_RELAY_SERVER_STOPPED), 1);
    EXPECT_EQ(view_.Messages().size(), 3u);
}

TEST_F(FacadeTest, BalloonCarriesTheStringOfItsIdOrNothing) {
    CBaseServer::AttachView(view_.hwnd());
    CBaseServer::LogToolTip(1009u);
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_BALLOON, 1, 5s));
    EXPECT_EQ(CBaseServer::GetBallonText(), "Failed To Connect To The Desired Server.");
    CBaseServer::LogToolTip(1169u);
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_BALLOON, 2, 5s));
    EXPECT_EQ(CBaseServer::GetBallonText(), "The server is stoping");
    CBaseServer::LogToolTip(4242u);
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_BALLOON, 3, 5s));
    EXPECT_EQ(CBaseServer::GetBallonText(), "");
}

TEST_F(FacadeTest, ToolbarRequestPostsItsCodeAndSkipsAGoneView) {
    CBaseServer::AttachView(view_.hwnd());
    CBaseServer::PostToolBarRequest(7);
    Settle();
    const auto messages = view_.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, WM_RELAY_TOOLBAR_REQUEST);
    EXPECT_EQ(messages[0].lParam, 7);

    const platform::HWND gone = platform::CreateMessageWindow("gone", "", platform::DefWindowProc);
    platform::DestroyWindow(gone);
    CBaseServer::AttachView(gone);
    CBaseServer::PostToolBarRequest(4);
    CBaseServer::LogToolTip(1003u);
    CBaseServer::NotifyServerState(0);
    EXPECT_EQ(CBaseServer::GetBallonText(), "Couldn't connect through chain. Connected directly.");
}

TEST_F(FacadeTest, ByteTotalsAddUpFromManyThreads) {
    const std::int32_t before = CBaseServer::m_nDataReceived.load();
    std::vector<std::thread> senders;
    for (int t = 0; t < 4; ++t) {
        senders.emplace_back([] {
            for (int i = 0; i < 1000; ++i) CBaseServer::SetToolBarIncomingData(3);
        });
    }
    for (auto& s : senders) s.join();
    EXPECT_EQ(CBaseServer::m_nDataReceived.load() - before, 12000);
}

}  // namespace
