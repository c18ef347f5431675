#include <gtest/gtest.h>

#include <wx/timer.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "GuiTest.h"
#include "TestHost.h"
#include "panel/main/CMainDlg.h"
#include "panel/main/MainDlgIds.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
using coretest::TestHost;

// A loopback port nobody listens on right now.
std::uint16_t FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// Settings of a test engine: a free listener port, no client program
// touched, the cleaner asked for at exit.
void StoreSettings() {
    CSettings::mRunningApp = kDefaultRunningApp;
    CSettings settings;
    settings.getPrivacySettings()->mListenerPort = FreeLoopbackPort();
    settings.getPrivacySettings()->mListenerType = 2;
    CSysConfig& sys = *settings.getSysConfig();
    sys.mAutoIE = sys.mAutoNetscape = sys.mAutoYahooIM = sys.mAutoMSN = sys.mAutoWsFTP = 0;
    sys.mAutoOpera = sys.mAutoKaza = sys.mAutoCuteFtp = sys.mAutoMirc = 0;
    settings.getCleanupSettings()->mCleanupAdvanced.mWindowsExit = 1;
    settings.getFiltrationSettings()->mInFiltration.setEnable(false);
    ASSERT_TRUE(settings.SetRegistry());
}

class EngineExitTest : public kvtest::RootedTest {
protected:
    EngineExitTest() { setenv("KAVELIN_TOOLBAR_PORT", "0", 1); }
};

TEST_F(EngineExitTest, MainWindowRunsTheEngineTakesToolbarSwitchesAndItsCancelStopsInOrder) {
    kvtest::MessageBoxRecorder boxes;
    StoreSettings();
    TestHost host({}, true);

    // Once the engine runs, the toolbar asks for incoming filtration (after
    // a request that is no switch); once that is applied, the Close picture
    // takes the exit road. A bound keeps the test from hanging.
    bool sawRunning = false;
    bool requested = false;
    bool closed = false;
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        CMainDlg* main = host.GetMainWnd();
        if (!main || closed) return;
        sawRunning = sawRunning || host.GetEngine().IsRunning();
        const bool late = std::chrono::steady_clock::now() >= deadline;
        if (sawRunning && !requested) {
            requested = true;
            platform::PostMessage(main->GetMessageWindow(), WM_RELAY_TOOLBAR_REQUEST, 0, 3);
            platform::PostMessage(main->GetMessageWindow(), WM_RELAY_TOOLBAR_REQUEST, 0, 6);
            return;
        }
        const bool switched = host.GetSettings().getFiltrationSettings()->mInFiltration.getEnable();
        if (!switched && !late) return;
        closed = true;
        wxWindow* close = main->FindWindow(IDC_CLOSE);
        wxMouseEvent up(wxEVT_LEFT_UP);
        up.SetEventObject(close);
        close->GetEventHandler()->ProcessEvent(up);
    });
    poll.Start(20);
    EXPECT_EQ(host.InitInstance(), 1);
    poll.Stop();
    host.ExitInstance();
    EXPECT_TRUE(sawRunning);
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(host.GetSettings().getFiltrationSettings()->mInFiltration.getEnable());
    EXPECT_TRUE(CBaseServer::mSettings.getFiltrationSettings()->mInFiltration.getEnable());
    // The switch, the host and the main window's Apply each hand settings
    // over; request 3 added nothing.
    EXPECT_EQ(std::count(host.log().begin(), host.log().end(), "ApplySettings"), 3);
    EXPECT_EQ(std::count(host.log().begin(), host.log().end(), "SendProxyStatusChange(7)"), 1);

    const std::vector<std::string>& log = host.log();
    const auto from = std::find(log.begin(), log.end(), "SetShuttingDown(true)");
    ASSERT_NE(from, log.end());
    const std::vector<std::string> exitRoad(from, log.end());
    const std::vector<std::string> expected = {
        "SetShuttingDown(true)", "StopAnalyzer", "StopHunter", "StopAnalyzingPrivateList", "StopServer",
        "PostQuitToServerThread", "PostQuitToUtilThread", "RestoreConfiguration", "DettachView",
        "WaitForServerThread", "WaitForUtilThread", "ExitEngine", "Start KVSweep",
    };
    EXPECT_EQ(exitRoad, expected);
    EXPECT_EQ(std::count(log.begin(), log.end(), "AttachView"), 1);
    EXPECT_EQ(host.GetProxyServer(), nullptr) << "the engine's thread object is gone";
}

}  // namespace
