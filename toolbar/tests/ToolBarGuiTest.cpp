#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/stattext.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FakeEngine.h"
#include "GuiTest.h"
#include "ScreenCheck.h"
#include "Screenshot.h"
#include "support/TempRoot.h"
#include "toolbar/BandIds.h"
#include "toolbar/BandStrip.h"
#include "toolbar/CHoverButton.h"
#include "toolbar/CImageListButton.h"
#include "toolbar/CKVToolBarCtrl.h"
#include "toolbar/CToolBand.h"
#include "toolbar/ToolBarIds.h"
#include "toolbar/host/BandLoader.h"
#include "toolbar/host/CBandHostApp.h"
#include "toolbar/host/CBandHostFrame.h"

#include <wx/modalhook.h>
#include <wx/msgdlg.h>

namespace {

using namespace std::chrono_literals;
using namespace toolbar_ids;
using tbtest::FakeEngine;
using Bytes = std::vector<std::uint8_t>;


void Click(wxWindow* window) {
    ASSERT_NE(window, nullptr);
    for (const wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
        wxMouseEvent event(type);
        event.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(event);
    }
    kvtest::PumpUi(20ms);
}

class RecordingBrowser : public IBandBrowser {
public:
    void Navigate2(const std::string& url) override { visited.push_back(url); }
    void ShowBrowserBar(const std::string& bar, bool show) override { bars.push_back(bar + (show ? " on" : " off")); }
    std::vector<std::string> visited;
    std::vector<std::string> bars;
};

class ToolBarGuiTest : public kvtest::RootedTest {
protected:
    ToolBarGuiTest() { setenv("KAVELIN_TOOLBAR_PORT", std::to_string(engine_.port()).c_str(), 1); }
    // The frame goes at once, with the toolbars in it, before the client.
    ~ToolBarGuiTest() override {
        delete frame_;
        kvtest::PumpUi(10ms);
        unsetenv("KAVELIN_TOOLBAR_PORT");
    }

    void AcceptWithQueries() {
        ASSERT_TRUE(engine_.Accept());
        ASSERT_TRUE(tbtest::ReadsStateQueries(engine_));
    }

    // Notices, then the UI runs until the toolbar shows what pred checks.
    bool Notices(const std::vector<Bytes>& notices, const std::function<bool()>& pred) {
        for (const Bytes& n : notices) {
            if (!engine_.Send(n)) return false;
        }
        return kvtest::PumpUiUntil(pred);
    }

    FakeEngine engine_;
    CToolbarClnt client_;
    wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "band");
};

TEST_F(ToolBarGuiTest, ShowsTheEngineStateAndTrafficItIsTold) {
    auto* toolbar = new CKVToolBarCtrl(client_);
    ASSERT_TRUE(toolbar->Create(wxRect(0, 0, 720, 22), frame_, nullptr));
    frame_->Show();
    AcceptWithQueries();
    EXPECT_TRUE(toolbar->HoverButton(kEngineStart)->IsShown());
    EXPECT_FALSE(toolbar->HoverButton(kEngineStop)->IsShown());
    EXPECT_EQ(toolbar->ImageButton(kCmdReceivedAnimation)->NormalPicture(), 329);
    EXPECT_EQ(toolbar->ImageButton(kCmdReceivedIcon)->NormalPicture(), kReceivedIconPicture);

    ASSERT_TRUE(Notices({{13, 0, 0, 0, 0}, {13, 7, 0, 0, 0}, {13, 9, 0, 0, 0}, {14, 1, 0, 16, 0}, {15, 1, 4, 0, 0}},
                        [&] { return toolbar->SentLabel()->GetLabel() == "1.0 KB"; }));
    EXPECT_TRUE(toolbar->HoverButton(kEngineStop)->IsShown());
    EXPECT_FALSE(toolbar->HoverButton(kEngineStart)->IsShown());
    EXPECT_TRUE(toolbar->HoverButton(kIncomingOn)->IsShown());
    EXPECT_FALSE(toolbar->HoverButton(kIncomingOff)->IsShown());
    EXPECT_TRUE(toolbar->HoverButton(kOutgoingOff)->IsShown());
    EXPECT_TRUE(toolbar->HoverButton(kPrivacyOn)->IsShown());
    EXPECT_EQ(toolbar->ReceivedLabel()->GetLabel(), "1.0 MB");
    EXPECT_EQ(toolbar->ImageButton(kCmdReceivedAnimation)->NormalPicture(), 330);
    EXPECT_EQ(toolbar->ImageButton(kCmdSentAnimation)->NormalPicture(), 330);

    // Link lost: every switch off, the start look back, the totals stay.
    engine_.CloseConnection();
    ASSERT_TRUE(kvtest::PumpUiUntil([&] { return toolbar->HoverButton(kEngineStart)->IsShown(); }));
    EXPECT_TRUE(toolbar->HoverButton(kIncomingOff)->IsShown());
    EXPECT_TRUE(toolbar->HoverButton(kPrivacyOff)->IsShown());
    EXPECT_EQ(toolbar->ReceivedLabel()->GetLabel(), "1.0 MB");
}

TEST_F(ToolBarGuiTest, PressedButtonsSendTheirRequests) {
    auto* toolbar = new CKVToolBarCtrl(client_);
    ASSERT_TRUE(toolbar->Create(wxRect(0, 0, 720, 22), frame_, nullptr));
    frame_->Show();
    AcceptWithQueries();
    Click(toolbar->HoverButton(kIncomingOff));
    Click(toolbar->HoverButton(kOutgoingOff));
    Click(toolbar->HoverButton(kPrivacyOff));
    EXPECT_EQ(engine_.Read(6), (Bytes{0, 6, 0, 4, 0, 8}));
    ASSERT_TRUE(Notices({{13, 0, 0, 0, 0}, {13, 5, 0, 0, 0}},
                        [&] { return toolbar->HoverButton(kOutgoingOn)->IsShown(); }));
    Click(toolbar->HoverButton(kOutgoingOn));
    Click(toolbar->HoverButton(kEngineStop));
    EXPECT_EQ(engine_.Read(4), (Bytes{0, 5, 0, 1}));
    // Icons and animations send nothing.
    Click(toolbar->ImageButton(kCmdReceivedIcon));
    Click(toolbar->ImageButton(kCmdSentAnimation));
    EXPECT_TRUE(engine_.Read(1, 100ms).empty());
}

TEST_F(ToolBarGuiTest, HoverButtonPaintsItsLookForTheMouse) {
    auto* toolbar = new CKVToolBarCtrl(client_);
    ASSERT_TRUE(toolbar->Create(wxRect(0, 0, 720, 22), frame_, nullptr));
    frame_->Show();
    CHoverButton* logo = toolbar->HoverButton(kCmdLogo);
    const auto paintedAfter = [&](wxEventType type) {
        wxMouseEvent event(type);
        logo->GetEventHandler()->ProcessEvent(event);
        logo->Update();
        kvtest::PumpUi(20ms);
        return logo->PaintedPicture();
    };
    EXPECT_EQ(paintedAfter(wxEVT_ENTER_WINDOW), 347);
    EXPECT_EQ(paintedAfter(wxEVT_LEFT_DOWN), 345);
    EXPECT_EQ(paintedAfter(wxEVT_LEAVE_WINDOW), 346);
}

TEST_F(ToolBarGuiTest, BandHostSitesTheRegisteredBandAndClosingItStopsTheClient) {
    std::string why;
    EXPECT_EQ(CreateRegisteredBand(why), nullptr);
    EXPECT_FALSE(why.empty());
    ASSERT_EQ(DllRegisterServer(), platform::S_OK);
    std::unique_ptr<CToolBand> band = CreateRegisteredBand(why);
    ASSERT_NE(band, nullptr) << why;
    CToolBand* raw = band.get();

    auto browser = std::make_shared<RecordingBrowser>();
    auto* host = new CBandHostFrame(browser);
    ASSERT_TRUE(host->HostBand(std::move(band)));
    host->Show();
    kvtest::PumpUi(20ms);
    EXPECT_EQ(browser->bars, (std::vector<std::string>{std::string(kShownBrowserBar) + " on"}));
    AcceptWithQueries();

    wxWindow* window = nullptr;
    ASSERT_EQ(raw->GetWindow(&window), platform::S_OK);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetParent(), host->GetSiteWindow());
    EXPECT_TRUE(window->IsShown());
    EXPECT_EQ(raw->CloseDW(0), platform::S_OK);
    EXPECT_FALSE(window->IsShown());
    EXPECT_EQ(raw->ShowDW(true), platform::S_OK);
    EXPECT_TRUE(window->IsShown());

    auto* toolbar = dynamic_cast<CKVToolBarCtrl*>(window);
    ASSERT_NE(toolbar, nullptr);
    // The window opens as wide as the toolbar's items reach, not at the
    // band's minimum width, and every item lies inside it.
    const int itemsRight = toolbar->GetBestSize().x;
    EXPECT_GT(itemsRight, CToolBand::kMinWidth);
    EXPECT_GE(host->GetClientSize().x, itemsRight);
    EXPECT_GE(toolbar->GetSize().x, itemsRight);
    for (wxWindow* item : toolbar->GetChildren()) {
        EXPECT_LE(item->GetRect().GetRight(), host->GetClientSize().x) << item->GetId();
    }
    Click(toolbar->HoverButton(kCmdLogo));
    EXPECT_EQ(browser->visited, (std::vector<std::string>{CToolBand::kMakerPage}));

    delete host;
    kvtest::PumpUi(20ms);
    EXPECT_TRUE(engine_.SeesClose());
    EXPECT_FALSE(CToolbarClnt::Shared().IsRunning());
    EXPECT_EQ(DllCanUnloadNow(), platform::S_OK);
}

// A dialog hook takes the toolkit's message boxes instead of showing them.
class DialogRecorder : public wxModalDialogHook {
public:
    DialogRecorder() { Register(); }
    ~DialogRecorder() override { Unregister(); }
    std::vector<std::string> messages;

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) messages.push_back(box->GetMessage().utf8_string());
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

TEST_F(ToolBarGuiTest, BandHostSaysOnScreenThatNoBandIsRegistered) {
    DialogRecorder dialogs;
    EXPECT_FALSE(CBandHostApp::ShowRegisteredBand());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("is not in the browser's toolbar list"), std::string::npos)
        << dialogs.messages[0];
}

// The totals' widest text fits its label at the label's font.
TEST_F(ToolBarGuiTest, TotalsLabelsHoldTheWidestTotal) {
    auto* toolbar = new CKVToolBarCtrl(client_);
    ASSERT_TRUE(toolbar->Create(wxRect(0, 0, 800, CToolBand::kHeight), frame_, nullptr));
    for (wxStaticText* label : {toolbar->ReceivedLabel(), toolbar->SentLabel()}) {
        const wxSize text = label->GetTextExtent(wxString::FromUTF8(CKVToolBarModel::TotalText(0xFFFFFFFFu)));
        EXPECT_EQ(CKVToolBarModel::TotalText(0xFFFFFFFFu), "4096.0 MB");
        EXPECT_GE(label->GetSize().x, text.x);
        EXPECT_GE(label->GetSize().y, text.y);
        EXPECT_LE(label->GetRect().GetBottom(), CToolBand::kHeight);
    }
    AcceptWithQueries();
}

// BandHost as the user sees it with the relay running and the largest
// totals: every item shown whole, the window as wide as the toolbar.
TEST_F(ToolBarGuiTest, BandHostShowsAllOfTheToolBarOnScreen) {
    ASSERT_EQ(DllRegisterServer(), platform::S_OK);
    std::string why;
    std::unique_ptr<CToolBand> band = CreateRegisteredBand(why);
    ASSERT_NE(band, nullptr) << why;
    CToolBand* raw = band.get();
    auto* host = new CBandHostFrame(std::make_shared<RecordingBrowser>());
    ASSERT_TRUE(host->HostBand(std::move(band)));
    host->Show();
    AcceptWithQueries();
    wxWindow* window = nullptr;
    ASSERT_EQ(raw->GetWindow(&window), platform::S_OK);
    auto* toolbar = dynamic_cast<CKVToolBarCtrl*>(window);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_TRUE(Notices({{13, 0, 0, 0, 0}, {13, 7, 0, 0, 0}, {13, 5, 0, 0, 0}, {13, 9, 0, 0, 0},
                         {14, 0xFF, 0xFF, 0xFF, 0xFF}, {15, 1, 0, 0x10, 0}},
                        [&] { return toolbar->SentLabel()->GetLabel() == "1.0 MB"; }));
    EXPECT_EQ(toolbar->ReceivedLabel()->GetLabel(), "4096.0 MB");
    ASSERT_TRUE(kvtest::WaitUntilDrawn(*host));
    EXPECT_TRUE(kvtest::IsLaidOutOnScreen(*host, {.minClientSize = {toolbar->GetBestSize().x, CToolBand::kHeight}}));
    kvtest::SaveScreenshot(*host, "bandhost-running");
    delete host;
    kvtest::PumpUi(20ms);
}

class WindowlessSite : public IBandSite {
public:
    wxWindow* GetSiteWindow() override { return window; }
    std::shared_ptr<IBandBrowser> QueryBrowser() override { return nullptr; }
    wxWindow* window = nullptr;
};

TEST_F(ToolBarGuiTest, ASiteWithoutWindowIsRefusedAndOneWithoutBrowserStillGetsTheToolBar) {
    WindowlessSite site;
    {
        CToolBand band;
        EXPECT_EQ(band.SetSite(&site), platform::E_FAIL);
        wxWindow* window = reinterpret_cast<wxWindow*>(1);
        EXPECT_EQ(band.GetWindow(&window), platform::S_OK);
        EXPECT_EQ(window, nullptr);
    }
    site.window = frame_;
    CToolBand band;
    ASSERT_EQ(band.SetSite(&site), platform::S_OK);
    wxWindow* window = nullptr;
    band.GetWindow(&window);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetParent()->GetParent(), frame_);
    // The logo has no browser to send anywhere.
    Click(static_cast<CKVToolBarCtrl*>(window)->HoverButton(kCmdLogo));
    IBandSite* got = nullptr;
    EXPECT_EQ(band.GetSite(&got), platform::S_OK);
    EXPECT_EQ(got, &site);
}

}  // namespace
