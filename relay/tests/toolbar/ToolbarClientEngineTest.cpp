#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "engine/EngineFixture.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/EngineMessages.h"
#include "toolbar/BandMessages.h"
#include "toolbar/CToolbarClnt.h"

namespace {

using namespace std::chrono_literals;
using srvtest::RecordingView;

// The toolbar's client against the engine's own channel.
class ToolbarClientEngineTest : public srvtest::EngineTest {
protected:
    ~ToolbarClientEngineTest() override { unsetenv("KAVELIN_TOOLBAR_PORT"); }

    void StartBoth() {
        srvtest::EngineSettings settings;
        settings.incomingFilter = true;
        StartRunningEngine(settings);
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (CUtilThread::mToolbarSrvr.GetListeningPort() == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
        }
        ASSERT_NE(CUtilThread::mToolbarSrvr.GetListeningPort(), 0u);
        setenv("KAVELIN_TOOLBAR_PORT", std::to_string(CUtilThread::mToolbarSrvr.GetListeningPort()).c_str(), 1);
        client_.AddWindow(band_.hwnd());
        ASSERT_TRUE(client_.Start());
    }

    std::vector<platform::WPARAM> States() const {
        std::vector<platform::WPARAM> states;
        for (const auto& m : band_.Messages()) {
            if (m.message == WM_BAND_STATUS && m.wParam != BAND_STATUS_LINK_LOST) states.push_back(m.wParam);
        }
        return states;
    }

    RecordingView band_;
    CToolbarClnt client_;
};

TEST_F(ToolbarClientEngineTest, ConnectedToolbarLearnsTheStatesAndItsSwitchesReachTheView) {
    StartBoth();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (States().size() < 4 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(5ms);
    const CSettings s = CBaseServer::GetSettings();
    const platform::WPARAM out = s.getFiltrationSettings()->mOutFiltration.IsEnable() > 0 ? 5 : 6;
    EXPECT_EQ(States(), (std::vector<platform::WPARAM>{7, out, 10, 0}));

    EXPECT_EQ(client_.InFilter(false), 2);
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_TOOLBAR_REQUEST, 1, 5s));
    EXPECT_EQ(view_.Messages().back().lParam, 7);

    // The stop goes through the channel and comes back as a status.
    EXPECT_EQ(client_.StopServer(), 2);
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_SERVER_STOPPED, 1, 5s));
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (States().size() < 5 && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(5ms);
    ASSERT_EQ(States().size(), 5u);
    EXPECT_EQ(States().back(), 1u);
    client_.Stop();
}

}  // namespace
