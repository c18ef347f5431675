// The main window run modally, as the program runs it, through the host's
// start-up: what the tray does to it while the modal loop runs.

#include <gtest/gtest.h>

#include <wx/timer.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "GuiTest.h"
#include "TestHost.h"
#include "panel/main/CMainDlg.h"
#include "panel/main/PanelCommands.h"
#include "panel/tray/CSystemTray.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
using coretest::TestHost;

// Steps run one after another from a timer inside the modal loop; each
// step waits until its condition holds, then acts. A bound ends the window
// when a step never comes, so a fault fails the test instead of hanging it.
class ModalScript {
public:
    struct Step {
        std::function<bool(CMainDlg&)> ready;
        std::function<void(CMainDlg&)> act;
    };

    explicit ModalScript(TestHost& host) : host_(host) {}
    ~ModalScript() { timer_.Stop(); }

    void Start(std::vector<Step> steps) {
        steps_ = std::move(steps);
        timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Tick(); });
        timer_.Start(20);
    }
    bool painted() const { return paints_ > 0; }
    void forgetPaints() { paints_ = 0; }

    // How many steps ran.
    std::size_t done() const { return next_; }
    bool modalAfterHide() const { return modalAfterHide_; }
    void noteModal(bool modal) { modalAfterHide_ = modalAfterHide_ && modal; }

private:
    void Tick() {
        CMainDlg* main = host_.GetMainWnd();
        if (!main || next_ == steps_.size()) return;
        if (watched_ != main) {
            watched_ = main;
            main->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
                ++paints_;
                event.Skip();
            });
            // Painted again once it is on the screen (perhaps it was already).
            main->Refresh();
        }
        if (std::chrono::steady_clock::now() > deadline_) {
            if (main->IsModal()) main->EndModal(0);
            return;
        }
        const Step& step = steps_[next_];
        if (!step.ready(*main)) return;
        ++next_;
        step.act(*main);
    }

    TestHost& host_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    CMainDlg* watched_ = nullptr;
    int paints_ = 0;
    bool modalAfterHide_ = true;
    wxTimer timer_;
    const std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::now() + 10s;
};

void PressAt(CMainDlg& main, int x, int y) {
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.SetEventObject(&main);
    down.m_x = x;
    down.m_y = y;
    main.GetEventHandler()->ProcessEvent(down);
    if (main.HasCapture()) main.ReleaseMouse();
}

class ModalMainWindowTest : public kvtest::RootedTest {};

TEST_F(ModalMainWindowTest, HiddenToTheTrayThePanelLivesOnUntilTheTrayExitEndsItInOrder) {
    TestHost host;
    ModalScript run(host);
    std::chrono::steady_clock::time_point hiddenAt;
    // On the screen, not only asked to be (painted since it was last shown):
    // a window hidden before its map arrives is marked shown again by the
    // toolkit when the map comes.
    const auto shown = [&](CMainDlg& main) { return main.IsShown() && run.painted(); };
    const auto hidden = [&](CMainDlg& main) {
        if (main.IsShown()) return false;
        run.forgetPaints();
        return true;
    };
    const std::vector<ModalScript::Step> steps = {
        // The caption strip's hide button.
        {shown, [](CMainDlg& main) { PressAt(main, 520, 10); }},
        {hidden, [&](CMainDlg&) { hiddenAt = std::chrono::steady_clock::now(); }},
        // A while later the modal loop still runs; a double click on the
        // icon brings the window back.
        {[&](CMainDlg& main) {
             run.noteModal(main.IsModal());
             return std::chrono::steady_clock::now() - hiddenAt > 300ms;
         },
         [&](CMainDlg&) {
             host.GetTray().OnTrayNotification(host.GetTray().GetModel().IconId(), CTrayModel::WM_LBUTTONDBLCLK);
         }},
        {shown, [](CMainDlg& main) { PressAt(main, 500, 5); }},
        // Hidden again, the tray menu's Exit takes the exit road.
        {hidden, [&](CMainDlg& main) {
             run.noteModal(main.IsModal());
             host.GetTray().PostMenuCommand(kCmdExit);
         }},
    };
    run.Start(steps);

    EXPECT_EQ(host.InitInstance(), 1);
    EXPECT_EQ(run.done(), steps.size()) << "every step ran inside the one modal loop";
    EXPECT_TRUE(run.modalAfterHide()) << "hiding to the tray left the modal loop running";
    EXPECT_EQ(host.GetMainWnd(), nullptr);

    const std::vector<std::string>& log = host.log();
    const auto from = std::find(log.begin(), log.end(), "SetShuttingDown(true)");
    ASSERT_NE(from, log.end()) << "the tray's Exit stopped the engine";
    const std::vector<std::string> exitRoad(from, log.end());
    const std::vector<std::string> expected = {
        "SetShuttingDown(true)", "StopAnalyzer", "StopHunter", "StopAnalyzingPrivateList", "StopServer",
        "PostQuitToServerThread", "PostQuitToUtilThread", "RestoreConfiguration", "DettachView",
    };
    EXPECT_EQ(exitRoad, expected);
    host.ExitInstance();
}

}  // namespace
