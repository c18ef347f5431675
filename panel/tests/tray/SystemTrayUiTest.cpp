#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include <chrono>
#include <memory>
#include <vector>

#include "GuiTest.h"
#include "panel/tray/CSystemTray.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;

std::vector<std::pair<int, wxString>> Entries(const wxMenu& menu) {
    std::vector<std::pair<int, wxString>> entries;
    for (const wxMenuItem* item : menu.GetMenuItems()) {
        entries.emplace_back(item->IsSeparator() ? 0 : CSystemTray::CommandOfMenuItem(item->GetId()),
                             item->GetItemLabelText());
    }
    return entries;
}

class SystemTrayUiTest : public kvtest::RootedTest {
protected:
    void SetUp() override { owner_ = new wxFrame(nullptr, wxID_ANY, "owner"); }
    void TearDown() override {
        if (owner_ != nullptr) owner_->Destroy();
        kvtest::PumpUi(10ms);
    }

    bool Create(CSystemTray& tray) {
        return tray.Create(owner_, WM_TRAY_NOTIFY, "Kavelin 2.2 Professional", IDI_TRAY_RUNNING, IDR_TRAY_RUNNING);
    }

    wxFrame* owner_ = nullptr;
};

// A virtual display may have no notification area: the icon object is made
// all the same, and whether the toolkit took the icon is the enabled flag.
TEST_F(SystemTrayUiTest, IconFollowsTheFormsWithTheMenuOfEach) {
    CSystemTray tray;
    EXPECT_FALSE(tray.IsCreated());
    const bool added = Create(tray);
    EXPECT_TRUE(tray.IsCreated());
    EXPECT_EQ(added, tray.IsEnabled());
    EXPECT_EQ(owner_, tray.GetOwner());
    EXPECT_EQ("Kavelin 2.2 Professional", tray.GetModel().Tip());

    const std::vector<std::pair<int, wxString>> running{{32779, "Stop"}, {32776, "Help"}, {0, ""}, {32777, "Exit"}};
    const std::vector<std::pair<int, wxString>> stopped{{32782, "Start"}, {32776, "Help"}, {0, ""}, {32777, "Exit"}};
    EXPECT_EQ(running, Entries(*tray.BuildMenu()));
    tray.SetStopped();
    EXPECT_EQ(added, tray.IsEnabled());
    EXPECT_EQ(stopped, Entries(*tray.BuildMenu()));
    tray.SetRunning();
    EXPECT_EQ(running, Entries(*tray.BuildMenu()));

    tray.RemoveIcon();
    EXPECT_FALSE(tray.IsCreated());
    EXPECT_FALSE(tray.IsEnabled());
}

TEST_F(SystemTrayUiTest, BalloonsAreCutAndShownOnlyWhileTheIconIsUp) {
    CSystemTray tray;
    std::vector<TrayBalloon> shown;
    tray.SetBalloonPresenter([&shown](const TrayBalloon& balloon) { shown.push_back(balloon); });
    EXPECT_FALSE(tray.ShowBalloon("Kavelin 2.2", "before the icon"));

    if (!Create(tray)) GTEST_SKIP() << "the toolkit took no icon on this display";
    EXPECT_TRUE(tray.ShowBalloon("Kavelin 2.2", std::string(300, 'b')));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Kavelin 2.2", shown[0].title);
    EXPECT_EQ(std::string(255, 'b'), shown[0].text);
    EXPECT_EQ(10000u, shown[0].timeout);

    tray.RemoveIcon();
    EXPECT_FALSE(tray.ShowBalloon("Kavelin 2.2", "after"));
    EXPECT_EQ(1u, shown.size());
}

TEST_F(SystemTrayUiTest, DoubleClickOnTheCurrentIconRestoresTheOwner) {
    CSystemTray tray;
    Create(tray);
    owner_->Hide();

    EXPECT_EQ(0, tray.OnTrayNotification(IDR_TRAY_STOPPED, CTrayModel::WM_LBUTTONDBLCLK));
    EXPECT_FALSE(owner_->IsShown());

    EXPECT_EQ(1, tray.OnTrayNotification(IDR_TRAY_RUNNING, CTrayModel::WM_LBUTTONDBLCLK));
    EXPECT_TRUE(owner_->IsShown());
    EXPECT_FALSE(owner_->IsIconized());
}

TEST_F(SystemTrayUiTest, MenuCommandsArePostedToTheOwner) {
    CSystemTray tray;
    Create(tray);
    std::vector<int> received;
    owner_->Bind(wxEVT_MENU, [&received](wxCommandEvent& event) { received.push_back(event.GetId()); });

    tray.PostMenuCommand(32779);
    tray.PostMenuCommand(32777);
    EXPECT_TRUE(received.empty());  // only once the menu has closed
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return received.size() == 2; }, 2s));
    EXPECT_EQ((std::vector<int>{32779, 32777}), received);
}

TEST_F(SystemTrayUiTest, OwnerThatWentAwayIsForgotten) {
    CSystemTray tray;
    Create(tray);
    delete owner_;
    owner_ = nullptr;

    EXPECT_EQ(nullptr, tray.GetOwner());
    EXPECT_EQ(1, tray.OnTrayNotification(IDR_TRAY_RUNNING, CTrayModel::WM_LBUTTONDBLCLK));
}

}  // namespace
