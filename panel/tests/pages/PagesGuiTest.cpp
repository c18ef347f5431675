#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include "GuiTest.h"
#include "controls/CAnimatedGifStatic.h"
#include "controls/CColourLabel.h"
#include "controls/CGifButton.h"
#include "controls/CSortList.h"
#include "panel/app/CServerHost.h"
#include "panel/pages/ActivityPageIds.h"
#include "panel/pages/CActivChainDlg.h"
#include "panel/pages/CActivFilterDlg.h"
#include "panel/pages/CActivProgDlg.h"
#include "panel/pages/CActivityDlg.h"
#include "panel/pages/CAnalyzerDlg.h"
#include "panel/pages/CAutoConfigDlg.h"
#include "panel/pages/CGeneralDlg.h"
#include "panel/pages/CHelpDlg.h"
#include "panel/pages/CHunterDlg.h"
#include "panel/pages/CProxyAnalyzerAdvancedSettings.h"
#include "panel/pages/CProxyDlg.h"
#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/ProxyPageIds.h"
#include "panel/tests/support/PageGuiTest.h"
#include "platform/InternetConnection.h"
#include "relay/analyzer/CAnalyzerThread.h"
#include "relay/engine/CBaseServer.h"
#include "relay/hunter/CHunterThread.h"
#include "relay/pool/CBProxyChain.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kIeRequest =
    "GET / HTTP/1.0\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0)\r\nHost: gui.example\r\n\r\n";

class PagesGuiTest : public paneltest::PageGuiTest {
protected:
    PagesGuiTest() : PageGuiTest("pages") {}
    ~PagesGuiTest() override {
        CloseFrame();
        platform::internet_test::SetConnectedState(std::nullopt);
    }

    static void LeftUp(wxWindow* control) {
        wxMouseEvent up(wxEVT_LEFT_UP);
        up.SetEventObject(control);
        control->ProcessWindowEvent(up);
    }
    static void Type(wxTextCtrl* edit, const char* text) { edit->SetValue(text); }
};

TEST_F(PagesGuiTest, ActivityTabOpensOnProgramsAndItsZonesSwitchSubPages) {
    CBaseServer::m_ProgLog.ClearProgLog();
    CBaseServer::m_ProgLog.UpdateProgLog(kIeRequest);
    auto* page = Make<CActivityDlg>(IDD_ACTIVITY);
    auto* programs = dynamic_cast<CActivProgDlg*>(page->SubPage());
    ASSERT_NE(programs, nullptr);
    ASSERT_TRUE(kvtest::PumpUiUntil([&] { return programs->List()->GetItemCount() == 1; }, 2s));
    EXPECT_EQ(programs->List()->GetItemText(0, 1), "Internet Explorer");
    EXPECT_EQ(programs->List()->GetItemText(0, 2), "gui.example");

    CBaseServer::m_ProgLog.UpdateProgLog(kIeRequest);
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return programs->List()->GetItemCount() == 2; }, 2s));
    programs->OnClear();
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return programs->List()->GetItemCount() == 0; }, 2s))
        << "the list empties when the log posts its reset";

    Click(page->FindWindow(IDC_ZONE_CHAINS));
    EXPECT_NE(dynamic_cast<CActivChainDlg*>(page->SubPage()), nullptr);
    EXPECT_TRUE(page->Header()->IsLoaded());
    CBaseDlg* chains = page->SubPage();
    Click(page->FindWindow(IDC_ZONE_CHAINS));
    EXPECT_EQ(page->SubPage(), chains) << "the zone of the page shown does nothing";
    page->Destroy();
}

// The program list sorts by its columns; the chain page's controls are on
// white; the logs 1133 and 1175 are on white.
TEST_F(PagesGuiTest, ProgramListSortsAndTheLogPagesHaveTheirColours) {
    CBaseServer::m_ProgLog.ClearProgLog();
    auto* programs = Make<CActivProgDlg>(IDD_ACTIV_PROG);
    auto* list = dynamic_cast<CSortList*>(programs->FindWindow(IDC_PROG_LIST));
    ASSERT_NE(list, nullptr) << "1186 is a CSortList";
    EXPECT_NE(list->ToolTip(), nullptr) << "its header was set up";
    programs->Destroy();

    auto* chains = Make<CActivChainDlg>(IDD_ACTIV_CHAIN);
    for (const int id : {IDC_CHAIN_TREE}) EXPECT_EQ(chains->FindWindow(id)->GetBackgroundColour(), *wxWHITE) << id;
    for (wxWindow* child : chains->GetChildren()) {
        if (dynamic_cast<wxStaticBox*>(child)) {
            EXPECT_EQ(child->GetBackgroundColour(), *wxWHITE);
        }
    }
    chains->Destroy();

    auto* filter = Make<CActivFilterDlg>(IDD_ACTIV_FILTER);
    EXPECT_EQ(filter->FindWindow(IDC_FILTER_TEXT)->GetBackgroundColour(), *wxWHITE);
    filter->Destroy();
    auto* hunter = Make<CHunterDlg>(IDD_HUNTER);
    EXPECT_EQ(hunter->FindWindow(IDC_HUNTER_LOG)->GetBackgroundColour(), *wxWHITE);
    hunter->Destroy();
}

TEST_F(PagesGuiTest, ChainAndFilterPagesFollowTheirLogs) {
    CBaseServer::m_ChainLog.RemoveAllElements();
    CBProxyChain chain;
    CBaseServer::m_ChainLog.AddItem(chain, 0, false, "dest.example:443");
    auto* page = Make<CActivityDlg>(IDD_ACTIVITY);
    Click(page->FindWindow(IDC_ZONE_CHAINS));
    auto* chains = dynamic_cast<CActivChainDlg*>(page->SubPage());
    ASSERT_NE(chains, nullptr);
    ASSERT_TRUE(kvtest::PumpUiUntil([&] { return chains->Tree()->GetCount() == 2; }, 2s));
    wxTreeItemIdValue cookie;
    const wxTreeItemId first = chains->Tree()->GetFirstChild(chains->Tree()->GetRootItem(), cookie);
    EXPECT_EQ(chains->Tree()->GetItemText(first), "Connection1");
    chains->OnClear();
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return chains->Tree()->GetCount() == 0; }, 2s));

    Click(page->FindWindow(IDC_ZONE_FILTER));
    auto* filter = dynamic_cast<CActivFilterDlg*>(page->SubPage());
    ASSERT_NE(filter, nullptr);
    CBaseServer::m_FiltrationLog.IncrementBlockedPopUps(4);
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return filter->Text()->GetValue().Contains("4"); }, 2s))
        << filter->Text()->GetValue();
    page->Destroy();
    CBaseServer::m_FiltrationLog.ResetLog();
}

TEST_F(PagesGuiTest, ProxyTabOpensOnTheHunterWhichListsWhatTheBridgeFinds) {
    auto* page = Make<CProxyDlg>(IDD_PROXY);
    auto* hunter = dynamic_cast<CHunterDlg*>(page->SubPage());
    ASSERT_NE(hunter, nullptr);
    CProxyConfig& bridge = CBaseServer::m_HunterThread.getProxyConfig();
    EXPECT_EQ(bridge.GetWindow(), hunter->GetMessageWindow());
    EXPECT_EQ(hunter->List()->GetColumnCount(), 2);
    EXPECT_EQ(hunter->StartButton()->NormalId(), static_cast<int>(IDR_START));

    bridge.AddProxy(CProxy("203.0.113.7", 3128, PROXY_TYPE_HTTP));
    bridge.AddToLog("found one");
    ASSERT_TRUE(kvtest::PumpUiUntil([&] { return hunter->List()->GetItemCount() == 1; }, 2s));
    EXPECT_EQ(hunter->List()->GetItemText(0, 0), "203.0.113.7");
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return hunter->Log()->GetValue() == "found one\n"; }, 2s));

    hunter->List()->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    hunter->OnDeleteProxy();
    EXPECT_EQ(hunter->List()->GetItemCount(), 0);

    Click(page->FindWindow(IDC_ZONE_ANALYZER));
    EXPECT_NE(dynamic_cast<CAnalyzerDlg*>(page->SubPage()), nullptr);
    EXPECT_EQ(bridge.GetWindow(), platform::HWND()) << "the closed hunter page left the bridge";
    page->Destroy();
}

TEST_F(PagesGuiTest, AnalyzerWithoutAConnectionSaysSoAndStaysStopped) {
    platform::internet_test::SetConnectedState(0);
    kvtest::MessageBoxRecorder boxes;
    auto* page = Make<CAnalyzerDlg>(IDD_ANALYZER);
    EXPECT_EQ(page->TimeOut()->GetValue(), "5000");
    EXPECT_EQ(page->List()->GetColumnCount(), 11);
    page->OnStartStop();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin");
    EXPECT_FALSE(CBaseServer::mAnalyzerThread.IsRunning());
    EXPECT_EQ(page->Model().GetState().image, IDR_START);
    page->Destroy();
    EXPECT_EQ(CBaseServer::mAnalyzerThread.GetProxyConfig().GetWindow(), platform::HWND());
}

TEST_F(PagesGuiTest, GeneralPageWritesEditsIntoTheWorkingSettings) {
    host_.GetSettings().getPrivacySettings()->mListenerPort = 8082;
    auto* page = Make<CGeneralDlg>(IDD_GENERAL);
    auto* port = dynamic_cast<wxTextCtrl*>(page->FindWindow(IDC_SERVER_PORT));
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->GetValue(), "8082");
    Type(port, "8099");
    EXPECT_EQ(host_.GetSettings().getPrivacySettings()->mListenerPort, 8099u);

    auto* firewall = dynamic_cast<wxCheckBox*>(page->FindWindow(IDC_FIREWALL));
    auto* firewallIP = page->FindWindow(IDC_FIREWALL_IP);
    firewall->SetValue(true);
    wxCommandEvent checked(wxEVT_CHECKBOX, IDC_FIREWALL);
    checked.SetInt(1);
    checked.SetEventObject(firewall);
    firewall->ProcessWindowEvent(checked);
    EXPECT_TRUE(host_.GetSettings().getGeneralSettings()->getBehindFireWall());
    EXPECT_TRUE(firewallIP->IsEnabled());

    auto* maximum = dynamic_cast<wxRadioButton*>(page->FindWindow(IDC_LEVEL_MAXIMUM));
    maximum->SetValue(true);
    wxCommandEvent chosen(wxEVT_RADIOBUTTON, IDC_LEVEL_MAXIMUM);
    chosen.SetEventObject(maximum);
    maximum->ProcessWindowEvent(chosen);
    EXPECT_EQ(host_.GetSettings().getGeneralSettings()->getProtectionLevel(), 1u);

    page->OnServerStarted();
    EXPECT_FALSE(port->IsEnabled());
    page->OnServerStopped();
    EXPECT_TRUE(port->IsEnabled());
    page->Destroy();
}

// The protection level read back from the screen: its radio alone, or none
// for a level outside 1..4.
TEST_F(PagesGuiTest, GeneralPageChecksTheStoredLevelOrNone) {
    const std::pair<platform::DWORD, int> cases[] = {
        {1, IDC_LEVEL_MAXIMUM}, {2, IDC_LEVEL_DEFAULT}, {3, IDC_LEVEL_MINIMUM}, {4, IDC_LEVEL_CUSTOM}, {0, 0}, {7, 0},
    };
    for (auto [level, checked] : cases) {
        SCOPED_TRACE(testing::Message() << "level " << level);
        host_.GetSettings().getGeneralSettings()->setProtectionLevel(level);
        auto* page = Make<CGeneralDlg>(IDD_GENERAL);
        for (int id : {IDC_LEVEL_MAXIMUM, IDC_LEVEL_DEFAULT, IDC_LEVEL_MINIMUM, IDC_LEVEL_CUSTOM}) {
            auto* radio = dynamic_cast<wxRadioButton*>(page->FindWindow(id));
            ASSERT_NE(radio, nullptr);
            EXPECT_EQ(radio->GetValue(), id == checked) << id;
        }
        page->Destroy();
    }
}

// The firewall address takes digits and dots, 15 at most; the analyzer's
// time-out and the hunter's depth and minutes take digits alone.
TEST_F(PagesGuiTest, AddressAndNumberFieldsTakeOnlyTheirCharacters) {
    auto* general = Make<CGeneralDlg>(IDD_GENERAL);
    auto* address = dynamic_cast<wxTextCtrl*>(general->FindWindow(IDC_FIREWALL_IP));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(KeysTaken(address, "19a2.-168 x"), "192.168");
    EXPECT_EQ(Pasted(address, "10.0.0.1:8080, 10.0.0.2:8080"), "10.0.0.1808010.") << "cut at 15 characters";
    address->ChangeValue("255.255.255.255");
    address->SetInsertionPointEnd();
    EXPECT_EQ(KeysTaken(address, "5"), "") << "no 16th character";
    address->SetSelection(0, 3);
    EXPECT_EQ(KeysTaken(address, "1"), "1") << "typing over a selection keeps the length";

    auto* analyzer = Make<CAnalyzerDlg>(IDD_ANALYZER);
    auto* timeOut = dynamic_cast<wxTextCtrl*>(analyzer->FindWindow(IDC_ANALYZER_TIMEOUT));
    ASSERT_NE(timeOut, nullptr);
    EXPECT_EQ(KeysTaken(timeOut, "5a0.0-0"), "5000");
    EXPECT_EQ(Pasted(timeOut, " 12x3 "), "123");

    CProxyAnalyzerAdvancedSettings dialog(&host_);
    ASSERT_TRUE(dialog.Create(IDD_HUNTER_SETTINGS, frame_, {}, wxDefaultSize, wxBORDER_NONE));
    for (int id : {IDC_HS_DEPTH_EDIT, IDC_HS_MINUTES_EDIT}) {
        auto* edit = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id));
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_EQ(KeysTaken(edit, "3.e"), "3") << id;
    }
}

// Each program's picture stands left of its box, in the box's row.
TEST_F(PagesGuiTest, IntegrationShowsEachProgramsPictureBesideItsBox) {
    CAutoConfigDlg dialog(&host_);
    ASSERT_TRUE(dialog.Create(IDD_AUTO_CONFIG, frame_));
    for (const int box : {IDC_AUTO_IE, IDC_AUTO_NETSCAPE, IDC_AUTO_OPERA, IDC_AUTO_MSN, IDC_AUTO_YAHOO,
                          IDC_AUTO_WSFTP, IDC_AUTO_CUTEFTP, IDC_AUTO_KAZAA, IDC_AUTO_EDONKEY}) {
        CAnimatedGifStatic* picture = dialog.Picture(box);
        ASSERT_NE(picture, nullptr) << box;
        EXPECT_TRUE(picture->IsLoaded()) << box;
        const wxRect face = picture->GetRect();
        const wxRect check = dialog.Box(box)->GetRect();
        EXPECT_LT(face.GetRight(), check.GetLeft()) << box;
        EXPECT_TRUE(face.GetTop() <= check.GetBottom() && check.GetTop() <= face.GetBottom()) << box;
    }
    EXPECT_FALSE(dialog.Picture(IDC_AUTO_MIRC)->IsShown()) << "as its box";
}

TEST_F(PagesGuiTest, IntegrationCancelKeepsTheBoxesOutOfTheSettings) {
    host_.GetSettings().getSysConfig()->setAutoIE(true);
    CAutoConfigDlg dialog(&host_);
    ASSERT_TRUE(dialog.Create(IDD_AUTO_CONFIG, frame_));
    EXPECT_TRUE(dialog.Box(IDC_AUTO_IE)->GetValue());
    EXPECT_FALSE(dialog.Box(IDC_AUTO_EDONKEY)->IsEnabled());
    dialog.CallAfter([&] {
        dialog.Box(IDC_AUTO_IE)->SetValue(false);
        dialog.OnCancel();
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    EXPECT_TRUE(host_.GetSettings().getSysConfig()->getAutoIE());
}

TEST_F(PagesGuiTest, HunterSettingsRefuseADepthAboveFiveAndCancelRestores) {
    CHunterSettings& section = *host_.GetSettings().getHunterSettings();
    section.SetIsDefault(0);
    section.SetIsDepthEnabled(1);
    section.SetDepth(2);
    kvtest::MessageBoxRecorder boxes;
    CProxyAnalyzerAdvancedSettings dialog(&host_);
    ASSERT_TRUE(dialog.Create(IDD_HUNTER_SETTINGS, frame_, {}, wxDefaultSize, wxBORDER_NONE));
    auto* depth = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(IDC_HS_DEPTH_EDIT));
    ASSERT_NE(depth, nullptr);
    EXPECT_EQ(depth->GetValue(), "2");
    EXPECT_TRUE(depth->IsEnabled());
    dialog.CallAfter([&] {
        depth->SetValue("9");
        dialog.OnCancel();
    });
    dialog.ShowModal();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Depth ranges between 0 and 5");
    EXPECT_EQ(depth->GetValue(), "0");
    EXPECT_EQ(section.GetDepth(), 2u) << "Cancel put the section back";
}

TEST_F(PagesGuiTest, HelpPageShowsItsPictureAndTheWarning) {
    auto* page = Make<CHelpDlg>(323);
    EXPECT_TRUE(page->Picture()->IsLoaded());
    EXPECT_EQ(page->Warning()->GetLabel(), "Warning: ");
    EXPECT_EQ(page->Legal()->GetLabel(), wxString::FromUTF8(CHelpDlg::LegalWarning()));
    page->Destroy();
}

}  // namespace
