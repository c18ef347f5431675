#include <gtest/gtest.h>


#include <algorithm>

#include "FakePage.h"
#include "GuiTest.h"
#include "TestHost.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/main/CMainDlg.h"
#include "panel/main/MainDlgIds.h"
#include "relay/engine/EngineMessages.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
using coretest::FakePages;
using coretest::PageCounts;
using coretest::TestHost;

long Count(const std::vector<std::string>& log, const std::string& step) {
    return std::count(log.begin(), log.end(), step);
}

class MainWindowTest : public kvtest::RootedTest {
protected:
    void SetUp() override {
        host_.GetSettings().getPrivacySettings()->mListenerPort = 8082;
        dialog_ = new CMainDlg(&host_);
        host_.shownMainWindow = dialog_;
        ASSERT_TRUE(dialog_->Create());
        dialog_->Show();
        kvtest::PumpUi(20ms);
    }
    void TearDown() override {
        host_.shownMainWindow = nullptr;
        dialog_->Destroy();
        kvtest::PumpUi(20ms);
    }

    void Click(int control) {
        wxWindow* window = dialog_->FindWindow(control);
        ASSERT_NE(window, nullptr) << control;
        wxMouseEvent up(wxEVT_LEFT_UP);
        up.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(up);
    }
    void PressAt(int x, int y) {
        wxMouseEvent down(wxEVT_LEFT_DOWN);
        down.SetEventObject(dialog_);
        down.m_x = x;
        down.m_y = y;
        dialog_->GetEventHandler()->ProcessEvent(down);
        if (dialog_->HasCapture()) dialog_->ReleaseMouse();
    }
    void Post(platform::UINT message) { platform::PostMessage(dialog_->GetMessageWindow(), message, 0, 0); }

    TestHost host_;
    CMainDlg* dialog_ = nullptr;
};

TEST_F(MainWindowTest, OpensOnTheGeneralTabWithItsTipsAndAnEmptyFrameWithoutPages) {
    EXPECT_EQ(dialog_->GetTitle(), "Kavelin 2.2");
    EXPECT_EQ(dialog_->GetClientSize(), wxSize(561, 430));
    EXPECT_EQ(dialog_->Model().CurrentTab(), 0);
    EXPECT_EQ(dialog_->GetCurrentPage(), nullptr);
    EXPECT_TRUE(platform::IsWindow(dialog_->GetMessageWindow()));
    CToolTipCtrlEx* tips = dialog_->GetTipCtrl();
    ASSERT_NE(tips, nullptr);
    ASSERT_TRUE(tips->ShowTipAt(dialog_->FindWindow(IDC_APPLY), {5, 5}));
    EXPECT_EQ(tips->CurrentText(),
              "Apply new settings\r\nNote,  You must click apply for your new settings to take effect.");
    ASSERT_TRUE(tips->ShowTipAt(dialog_->FindWindow(IDC_TAB_GENERAL), {5, 5}));
    EXPECT_EQ(tips->CurrentText(), "Configure Kavelin’ operating settings.");
    tips->Pop();
    EXPECT_FALSE(dialog_->FindWindow(IDC_PAGE_FRAME)->IsShown());
    EXPECT_TRUE(dialog_->GetIcon().IsOk()) << "icon 2105";
    EXPECT_EQ(dialog_->GetIcon().GetWidth(), 32);
}

TEST_F(MainWindowTest, EachTabCommandMakesAFreshPagePlacedInTheFrame) {
    PageCounts counts;
    FakePages pages({IDD_HELP_PAGE, IDD_GENERAL_PAGE}, counts);
    Click(IDC_TAB_HELP);
    CBaseDlg* first = dialog_->GetCurrentPage();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(dialog_->GetPage(CMainDlg::kHelp), first);
    EXPECT_EQ(dialog_->Model().CurrentTab(), 1);

    Click(IDC_TAB_HELP);
    EXPECT_EQ(counts.made, 2);
    EXPECT_EQ(counts.destroyed, 1) << "the first page is gone";
    const wxRect frame = dialog_->FindWindow(IDC_PAGE_FRAME)->GetRect();
    const wxRect placed = dialog_->GetCurrentPage()->GetRect();
    EXPECT_EQ(placed, wxRect(frame.x, frame.y + 1, frame.width - 1, frame.height));
    EXPECT_TRUE(dialog_->GetCurrentPage()->IsShown());

    Click(IDC_TAB_GENERAL);
    EXPECT_EQ(counts.destroyed, 2);
    EXPECT_EQ(dialog_->GetPage(CMainDlg::kHelp), nullptr);
    EXPECT_NE(dialog_->GetPage(CMainDlg::kGeneral), nullptr) << "made through the page factory";

    Click(IDC_TAB_ACTIVITY);
    EXPECT_EQ(dialog_->GetCurrentPage(), nullptr) << "no maker: the frame stays empty";
    EXPECT_EQ(counts.destroyed, 3);
}

TEST_F(MainWindowTest, EngineNoticesReachTheGeneralPageUntilShutdown) {
    PageCounts counts;
    FakePages pages({IDD_GENERAL_PAGE}, counts);
    Click(IDC_TAB_GENERAL);
    Post(WM_RELAY_SERVER_RUNNING);
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return counts.started == 1; }));
    Post(WM_RELAY_SERVER_STOPPED);
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return counts.stopped == 1; }));

    host_.Shutdown();
    Post(WM_RELAY_SERVER_STOPPED);
    kvtest::PumpUi(50ms);
    EXPECT_EQ(counts.stopped, 1) << "nothing is updated while the engine shuts down";
}

TEST_F(MainWindowTest, ApplyAfterAnOrdinaryChangeSetsCustomAndHandsTheCopyOver) {
    host_.GetSettings().getGeneralSettings()->setProtectionLevel(2);
    host_.GetSettings().getFiltrationSettings()->mInFiltration.setEnable(true);
    host_.GetSettings().getFiltrationSettings()->mOutFiltration.SetEnable(0);
    host_.GetSettings().getPrivacySettings()->mEnableIPShielding = 0;
    dialog_->SetModified(true, 0);
    Click(IDC_APPLY);
    EXPECT_FALSE(dialog_->IsModified());
    EXPECT_EQ(host_.GetSettings().getGeneralSettings()->getProtectionLevel(), 4u);
    const std::vector<std::string> expected = {"ApplySettings", "HandleSettingsChange", "SendProxyStatusChange(7)",
                                               "SendProxyStatusChange(6)", "SendProxyStatusChange(10)"};
    EXPECT_EQ(host_.log(), expected);
    EXPECT_EQ(host_.engine().settings.getGeneralSettings()->getProtectionLevel(), 4u)
        << "the engine gets the copy with the custom level";
}

TEST_F(MainWindowTest, ApplyLetsTheOpenGeneralPageSelectCustom) {
    PageCounts counts;
    FakePages pages({IDD_GENERAL_PAGE}, counts);
    Click(IDC_TAB_GENERAL);
    host_.GetSettings().getGeneralSettings()->setProtectionLevel(2);
    dialog_->SetModified(true, 0);
    dialog_->Apply();
    EXPECT_EQ(counts.custom, 1);
    EXPECT_EQ(host_.GetSettings().getGeneralSettings()->getProtectionLevel(), 2u);

    dialog_->SetModified(true, 3);
    dialog_->Apply();
    EXPECT_EQ(counts.custom, 1) << "a preset keeps its level";
}

TEST_F(MainWindowTest, ApplyConflictShowsItsMessageAndAppliesNothing) {
    kvtest::MessageBoxRecorder boxes;
    host_.GetSettings().getGeneralSettings()->setBehindFireWall(true);
    host_.GetSettings().getGeneralSettings()->setFireWallIP("127.0.0.1");
    host_.GetSettings().getGeneralSettings()->setFireWallPort(8082);
    dialog_->SetModified(true, 0);
    Click(IDC_APPLY);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "This port is already used, please change the port number");
    EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin Professional Edition");
    EXPECT_TRUE(dialog_->IsModified());
    EXPECT_EQ(Count(host_.log(), "ApplySettings"), 0);
}

TEST_F(MainWindowTest, CaptionStripHidesToTheTrayAndExits) {
    PressAt(536, 10);
    kvtest::PumpUi(20ms);
    EXPECT_TRUE(dialog_->IsShown()) << "between the buttons a press only drags";
    PressAt(520, 10);
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return !dialog_->IsShown(); }));

    PressAt(540, 20);
    EXPECT_EQ(Count(host_.log(), "SetShuttingDown(true)"), 1);
    EXPECT_EQ(Count(host_.log(), "RestoreConfiguration"), 0) << "restored 200 ms later";
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return Count(host_.log(), "RestoreConfiguration") == 1; }, 2s));
}

TEST_F(MainWindowTest, EndOfSessionGivesTheBrowserItsSettingsAndKeepsTheEngine) {
    EXPECT_TRUE(dialog_->OnQueryEndSession());
    EXPECT_EQ(host_.log(), (std::vector<std::string>{"SetToIE"}));
}

}  // namespace
