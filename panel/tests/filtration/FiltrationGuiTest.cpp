#include <gtest/gtest.h>

#include <mutex>

#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

#include "GuiTest.h"
#include "controls/CAnimatedGifStatic.h"
#include "panel/app/CServerHost.h"
#include "panel/automation/CFilterSwitch.h"
#include "panel/filtration/CAdServerDlg.h"
#include "panel/filtration/CAddFltrSrvrDlg.h"
#include "panel/filtration/CAdvFltrDlg.h"
#include "panel/filtration/CAdvFltrInDlg.h"
#include "panel/filtration/CAdvFltrOutDlg.h"
#include "panel/filtration/FiltrationIds.h"
#include "panel/main/CPageMakers.h"
#include "panel/tests/support/PageGuiTest.h"
#include "relay/engine/CBaseServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

Strings Lines(const wxListBox* list) {
    Strings lines;
    for (const wxString& s : list->GetStrings()) lines.push_back(s.utf8_string());
    return lines;
}

class FiltrationGuiTest : public paneltest::PageGuiTest {
protected:
    FiltrationGuiTest() : PageGuiTest("filtration") {
        // The sub-pages are made by template id, as the page factory makes them.
        CPageMakers::Set(IDD_ADV_FLTR_IN, [](CServerHost& host) {
            return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvFltrInDlg>(&host));
        });
        CPageMakers::Set(IDD_ADV_FLTR_OUT, [](CServerHost& host) {
            return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvFltrOutDlg>(&host));
        });
    }

    CFiltrationSettings& Working() { return *host_.GetSettings().getFiltrationSettings(); }
};

TEST_F(FiltrationGuiTest, ContainerSwitchesPagesAndEachFillsItsFilterSlotWhileItLives) {
    Working().mInFiltration.setEnable(true);
    auto* page = Make<CAdvFltrDlg>(IDD_ADV_FLTR);
    auto* in = dynamic_cast<CAdvFltrInDlg*>(page->SubPage());
    ASSERT_NE(in, nullptr) << "the container opens on the incoming page";
    EXPECT_TRUE(page->Header()->IsLoaded());
    CFilterSwitch& filters = host_.GetFilterSwitch();
    ASSERT_EQ(filters.GetInFilterWnd(), in->GetMessageWindow());
    EXPECT_TRUE(in->Box(IDC_IN_SCRIPTS)->IsEnabled());

    platform::SendMessage(filters.GetInFilterWnd(), WM_INFILTER_OFF, 0, 0);
    EXPECT_FALSE(in->Box(IDC_IN_ENABLE)->GetValue());
    EXPECT_FALSE(in->Box(IDC_IN_SCRIPTS)->IsEnabled());
    EXPECT_FALSE(Working().mInFiltration.getEnable());

    Click(page->FindWindow(IDC_FLTR_ZONE_OUT));
    auto* out = dynamic_cast<CAdvFltrOutDlg*>(page->SubPage());
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(filters.GetInFilterWnd(), platform::HWND()) << "the incoming page cleared its slot";
    ASSERT_EQ(filters.GetOutFilterWnd(), out->GetMessageWindow());
    platform::SendMessage(filters.GetOutFilterWnd(), WM_OUTFILTER_ON, 0, 0);
    EXPECT_TRUE(out->Box(IDC_OUT_ENABLE)->GetValue());
    EXPECT_TRUE(out->Box(IDC_OUT_COOKIES)->IsEnabled());
    EXPECT_EQ(Working().mOutFiltration.IsEnable(), 1);

    page->Destroy();
    EXPECT_EQ(filters.GetOutFilterWnd(), platform::HWND());
}

TEST_F(FiltrationGuiTest, IncomingTitleEditTakesFiftyCharactersAndBoxesStoreAtOnce) {
    Working().mInFiltration.setEnable(true);
    kvtest::MessageBoxRecorder boxes;
    auto* page = Make<CAdvFltrInDlg>(IDD_ADV_FLTR_IN);
    EXPECT_FALSE(page->TitleEdit()->IsEnabled());
    EXPECT_FALSE(page->FindWindow(IDC_IN_DESELECT_ALL)->IsShown());
    Toggle(page->Box(IDC_IN_TITLE));
    EXPECT_TRUE(Working().mInFiltration.getIsBlockTitle());
    ASSERT_TRUE(page->TitleEdit()->IsEnabled());

    page->TitleEdit()->SetValue(wxString(50, 'x'));
    EXPECT_EQ(std::string(Working().mInFiltration.getBlockTitle()), std::string(50, 'x'));
    page->TitleEdit()->SetValue(wxString(51, 'x'));
    EXPECT_EQ(page->TitleEdit()->GetValue(), "Kavelin Professional Edition");
    EXPECT_EQ(std::string(Working().mInFiltration.getBlockTitle()), "Kavelin Professional Edition");
    EXPECT_EQ(boxes.boxes().size(), 1u);

    Click(page->FindWindow(IDC_IN_SELECT_ALL));
    EXPECT_TRUE(page->Box(IDC_IN_JAVA)->GetValue());
    EXPECT_EQ(Working().mAdvancedFiltration.mDisableJavaApplets, 1u);
    EXPECT_TRUE(page->FindWindow(IDC_IN_DESELECT_ALL)->IsShown());
    EXPECT_FALSE(page->FindWindow(IDC_IN_SELECT_ALL)->IsShown());
    page->Destroy();
}

TEST_F(FiltrationGuiTest, OutgoingAddAsksForTheNameAndListsItInLowerCase) {
    Working().mOutFiltration.SetEnable(1);
    Working().mOutFiltration.SetEnableServerList(1);
    Working().mOutFiltration.SetServerStopList({"zz.example"});
    auto* page = Make<CAdvFltrOutDlg>(IDD_ADV_FLTR_OUT);
    EXPECT_TRUE(page->StopList()->IsEnabled());
    bool asked = false;
    page->CallAfter([&] {
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<CAddFltrSrvrDlg*>(window);
            if (!dialog || !dialog->IsModal()) continue;
            asked = true;
            EXPECT_EQ(dialog->Edit()->GetValue(), "www.servername.com");
            dialog->Edit()->SetValue("Ads.Example");
            dialog->OnOk();
            return;
        }
    });
    Click(page->FindWindow(IDC_OUT_ADD));
    EXPECT_TRUE(asked);
    EXPECT_EQ(Lines(page->StopList()), (Strings{"ads.example", "zz.example"}));
    EXPECT_EQ(Working().mOutFiltration.GetServerStopList(), (Strings{"ads.example", "zz.example"}));

    page->StopList()->SetSelection(1);
    Click(page->FindWindow(IDC_OUT_REMOVE));
    EXPECT_EQ(Lines(page->StopList()), Strings{"ads.example"});
    Toggle(page->Box(IDC_OUT_SERVER_LIST));
    EXPECT_FALSE(page->StopList()->IsEnabled());
    EXPECT_FALSE(page->FindWindow(IDC_OUT_ADD)->IsEnabled());
    page->Destroy();
}

TEST_F(FiltrationGuiTest, AdServerListsStartFromTheEngineAndMoveTheSelectedLine) {
    const CSettings previous = CBaseServer::GetSettings();
    {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        CFiltrationBanners& engine = CBaseServer::mSettings.getFiltrationSettings()->mInFiltration.mBanners;
        engine.SetAllowedServerList({"b.ads", "a.ads"});
        engine.SetBlockedServerList({});
        engine.SetCustomServerList({});
    }
    Working().mInFiltration.mBanners.SetAllowedServerList({"b.ads", "a.ads", "unapplied.ads"});
    Working().mInFiltration.mBanners.SetBlockedServerList({});

    CAdServerDlg dialog(&host_);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(Lines(dialog.List(IDC_AD_ALLOWED)), (Strings{"a.ads", "b.ads"}));
    dialog.List(IDC_AD_ALLOWED)->SetSelection(1);
    Click(dialog.FindWindow(IDC_AD_ADD));
    EXPECT_EQ(Lines(dialog.List(IDC_AD_ALLOWED)), Strings{"a.ads"});
    EXPECT_EQ(Lines(dialog.List(IDC_AD_BLOCKED)), Strings{"b.ads"});
    EXPECT_EQ(Working().mInFiltration.mBanners.GetBlockedServerList(), Strings{"b.ads"});
    EXPECT_EQ(Working().mInFiltration.mBanners.GetAllowedServerList(), (Strings{"a.ads", "unapplied.ads"}));

    dialog.CallAfter([&] { Click(dialog.FindWindow(IDC_AD_OK)); });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    std::lock_guard lock(CBaseServer::mSettingsCS);
    CBaseServer::mSettings = previous;
}

}  // namespace
