// Every page of the main window, and the dialogs the pages open, as the
// user sees them on the virtual display: the on-screen check on each, and a
// screenshot of each.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "GuiTest.h"
#include "ScreenCheck.h"
#include "Screenshot.h"
#include "TestHost.h"
#include "controls/CTransparentStatic.h"
#include "panel/main/CMainDlg.h"
#include "panel/main/MainDlgIds.h"
#include "panel/cleaner/CleanerPageIds.h"
#include "panel/filtration/FiltrationIds.h"
#include "panel/pages/ActivityPageIds.h"
#include "panel/pages/ProxyPageIds.h"
#include "panel/privacy/AdvancedPageIds.h"
#include "support/TempRoot.h"
#include "panel/filtration/CAdServerDlg.h"
#include "panel/filtration/CAddFltrSrvrDlg.h"
#include "panel/pages/CAutoConfigDlg.h"
#include "panel/pages/CProxyAnalyzerAdvancedSettings.h"
#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/PageLayout.h"

#include <wx/timer.h>

namespace {

using namespace std::chrono_literals;

// The main window's template: 374 x 265 dialog units.
const wxSize kMainTemplate(561, 430);

class PanelOnScreenTest : public kvtest::RootedTest {
protected:
    void SetUp() override {
        main_ = new CMainDlg(&host_);
        host_.shownMainWindow = main_;
        ASSERT_TRUE(main_->Create());
        main_->Show();
        ASSERT_TRUE(kvtest::WaitUntilDrawn(*main_));
    }
    void TearDown() override {
        host_.shownMainWindow = nullptr;
        main_->Destroy();
        kvtest::PumpUi(20ms);
    }

    void Tab(int control) {
        wxWindow* tab = main_->FindWindow(control);
        ASSERT_NE(tab, nullptr);
        wxMouseEvent up(wxEVT_LEFT_UP);
        up.SetEventObject(tab);
        tab->GetEventHandler()->ProcessEvent(up);
        kvtest::PumpUi(100ms);
    }
    // A click zone of the page shown.
    void Zone(int control) {
        wxWindow* zone = main_->GetCurrentPage()->FindWindow(control);
        ASSERT_NE(zone, nullptr) << control;
        wxCommandEvent click(wxEVT_BUTTON, control);
        click.SetEventObject(zone);
        zone->ProcessWindowEvent(click);
        kvtest::PumpUi(100ms);
    }

    static void SeeThrough(const wxWindow* window, kvtest::SLayoutExpect& expect) {
        for (const wxWindow* child : window->GetChildren()) {
            if (dynamic_cast<const CTransparentStatic*>(child)) expect.seeThrough.push_back(child);
            SeeThrough(child, expect);
        }
    }

    // The check on the main window as it shows now, and its screenshot.
    void Check(const std::string& name) {
        kvtest::SLayoutExpect expect{.minClientSize = kMainTemplate};
        for (const int picture : {IDC_PROXY_HEADER, IDC_ACTIVITY_HEADER, IDC_FLTR_STRIP, cleanerpage::IDC_CLEANER_STRIP}) {
            if (const wxWindow* found = main_->GetCurrentPage()->FindWindow(picture)) expect.backdrops.push_back(found);
        }
        // Click zones and hand-drawn frames paint nothing but their text.
        SeeThrough(main_, expect);
        EXPECT_TRUE(kvtest::IsLaidOutOnScreen(*main_, expect)) << name;
        kvtest::SaveScreenshot(*main_, name);
    }

    // A dialog run modally as its page runs it: once it is on screen, the
    // check and a screenshot, then its end.
    void CheckModal(CBaseModalDlg& dialog, const std::string& name, wxSize templateSize) {
        int ticks = 0;
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (++ticks < 15) return;
            timer.Stop();
            EXPECT_TRUE(kvtest::IsLaidOutOnScreen(dialog, {.minClientSize = templateSize})) << name;
            kvtest::SaveScreenshot(dialog, name);
            dialog.EndModal(0);
        });
        timer.Start(20);
        dialog.ShowModal();
    }

    coretest::TestHost host_;
    CMainDlg* main_ = nullptr;
};

TEST_F(PanelOnScreenTest, EveryPageShowsAllOfItself) {
    Tab(IDC_TAB_GENERAL);
    Check("general");
    Tab(IDC_TAB_ADVANCED);
    Check("advanced-privacy");
    Zone(IDC_ZONE_FILTRATION);
    Check("advanced-filtration-incoming");
    Zone(IDC_FLTR_ZONE_OUT);
    Check("advanced-filtration-outgoing");
    Zone(IDC_ZONE_CLEANING);
    Check("advanced-cleaner-system");
    Zone(cleanerpage::IDC_ZONE_BROWSER);
    Check("advanced-cleaner-browser");
    Tab(IDC_TAB_PROXY);
    Check("proxy-hunter");
    Zone(IDC_ZONE_POOL);
    Check("proxy-list");
    Zone(IDC_ZONE_ANALYZER);
    Check("proxy-analyzer");
    Tab(IDC_TAB_ACTIVITY);
    Check("activity-programs");
    Zone(IDC_ZONE_CHAINS);
    Check("activity-chains");
    Zone(IDC_ZONE_FILTER);
    Check("activity-filtration");
    Tab(IDC_TAB_HELP);
    Check("help");
}

TEST_F(PanelOnScreenTest, EveryDialogShowsAllOfItself) {
    {
        CAutoConfigDlg dialog(&host_);
        ASSERT_TRUE(dialog.Create(IDD_AUTO_CONFIG, main_, {}, wxDefaultSize, wxBORDER_NONE));
        CheckModal(dialog, "integration", DuSize(304, 265));
    }
    {
        CProxyAnalyzerAdvancedSettings dialog(&host_);
        ASSERT_TRUE(dialog.Create(IDD_HUNTER_SETTINGS, main_, {}, wxDefaultSize, wxBORDER_NONE));
        CheckModal(dialog, "hunter-settings", DuSize(230, 200));
    }
    {
        CAdServerDlg dialog(&host_);
        ASSERT_TRUE(dialog.Create(nullptr));
        CheckModal(dialog, "ad-servers", DuSize(300, 230));
    }
    {
        CAddFltrSrvrDlg dialog(&host_);
        dialog.SetServerName("ads.example.com");
        ASSERT_TRUE(dialog.Create(main_));
        CheckModal(dialog, "add-server", DuSize(170, 70));
    }
}

}  // namespace
