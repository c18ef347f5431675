#include <gtest/gtest.h>

#include <array>

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include "GuiTest.h"
#include "panel/app/CServerHost.h"
#include "panel/automation/CFilterSwitch.h"
#include "panel/main/CPageMakers.h"
#include "panel/privacy/AdvancedPageIds.h"
#include "panel/privacy/CAdvPrivDlg.h"
#include "panel/privacy/CAdvancedDlg.h"
#include "panel/tests/support/PageGuiTest.h"
#include "platform/Messages.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;

// Stands in for another area's sub-page.
class FakeSubPage : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
};

class AdvancedGuiTest : public paneltest::PageGuiTest {
protected:
    AdvancedGuiTest() : PageGuiTest("advanced") {
        // The program links every page's maker; this test sets the ones it needs.
        saved_ = {CPageMakers::Set(IDD_ADV_PRIVACY,
                                   [](CServerHost& host) {
                                       return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvPrivDlg>(&host));
                                   }),
                  CPageMakers::Set(IDD_ADV_FILTRATION,
                                   [](CServerHost& host) {
                                       return std::unique_ptr<CBaseDlg>(std::make_unique<FakeSubPage>(&host));
                                   }),
                  CPageMakers::Set(IDD_ADV_CLEANING, {})};
    }
    ~AdvancedGuiTest() override {
        CloseFrame();
        CPageMakers::Set(IDD_ADV_PRIVACY, saved_[0]);
        CPageMakers::Set(IDD_ADV_FILTRATION, saved_[1]);
        CPageMakers::Set(IDD_ADV_CLEANING, saved_[2]);
    }

    CPrivacySettings& privacy() { return *host_.GetSettings().getPrivacySettings(); }

    std::array<CPageMakers::Maker, 3> saved_;
};

TEST_F(AdvancedGuiTest, OpensOnPrivacyAndItsZonesSwitchSubPagesAndTheSlot) {
    auto* page = Make<CAdvancedDlg>(IDD_ADVANCED);
    auto* privacyPage = dynamic_cast<CAdvPrivDlg*>(page->SubPage());
    ASSERT_NE(privacyPage, nullptr);
    EXPECT_EQ(page->HeaderImage(), IDR_HEADER_PRIVACY);
    EXPECT_EQ(privacyPage->GetParent(), page);
    EXPECT_GT(privacyPage->GetPosition().y, page->FindWindow(IDC_ADV_FRAME)->GetPosition().y);
    EXPECT_EQ(host_.GetFilterSwitch().GetPrivacyWnd(), privacyPage->GetNoticeWindow());
    EXPECT_TRUE(platform::IsWindow(privacyPage->GetNoticeWindow()));

    Click(page->FindWindow(IDC_ZONE_FILTRATION));
    EXPECT_NE(dynamic_cast<FakeSubPage*>(page->SubPage()), nullptr);
    EXPECT_EQ(page->HeaderImage(), IDR_HEADER_FILTRATION);
    EXPECT_EQ(host_.GetFilterSwitch().GetPrivacyWnd(), platform::HWND()) << "the slot goes with the page";

    Click(page->FindWindow(IDC_ZONE_CLEANING));
    EXPECT_EQ(page->SubPage(), nullptr) << "no maker: an empty frame";
    EXPECT_EQ(page->HeaderImage(), IDR_HEADER_CLEANING);

    Click(page->FindWindow(IDC_ZONE_PRIVACY));
    privacyPage = dynamic_cast<CAdvPrivDlg*>(page->SubPage());
    ASSERT_NE(privacyPage, nullptr);
    Click(page->FindWindow(IDC_ZONE_PRIVACY));
    EXPECT_EQ(page->SubPage(), privacyPage) << "the zone of the page shown does nothing";
    page->Destroy();
    EXPECT_EQ(host_.GetFilterSwitch().GetPrivacyWnd(), platform::HWND());
}

TEST_F(AdvancedGuiTest, PrivacyPageAnswersTheSwitchNoticesAndChecksEveryKeystroke) {
    privacy().mEnableIPShielding = 1;
    privacy().mEnableProxyChain = 1;
    privacy().mChainLength = 2;
    auto* page = Make<CAdvPrivDlg>(IDD_ADV_PRIVACY);
    auto* shield = dynamic_cast<wxCheckBox*>(page->FindWindow(IDC_IP_SHIELDING));
    auto* length = dynamic_cast<wxTextCtrl*>(page->FindWindow(IDC_CHAIN_LENGTH));
    ASSERT_NE(shield, nullptr);
    ASSERT_NE(length, nullptr);
    EXPECT_TRUE(shield->GetValue());
    EXPECT_EQ(length->GetValue(), "2");
    EXPECT_TRUE(length->IsEnabled());
    EXPECT_FALSE(page->FindWindow(IDC_USER_IP)->IsEnabled());

    platform::SendMessage(host_.GetFilterSwitch().GetPrivacyWnd(), WM_PRIVACY_OFF, 0, 0);
    EXPECT_FALSE(shield->GetValue());
    EXPECT_FALSE(length->IsEnabled());
    EXPECT_FALSE(page->FindWindow(IDC_PRIVATE_PROXIES)->IsEnabled());
    EXPECT_TRUE(shield->IsEnabled());
    EXPECT_EQ(privacy().mEnableIPShielding, 0u);

    platform::SendMessage(host_.GetFilterSwitch().GetPrivacyWnd(), WM_PRIVACY_ON, 0, 0);
    EXPECT_TRUE(shield->GetValue());
    EXPECT_TRUE(length->IsEnabled());
    EXPECT_EQ(privacy().mEnableIPShielding, 1u);

    {
        kvtest::MessageBoxRecorder boxes;
        length->SetValue("9");
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, "Chain length ranges between 1 and 5");
        EXPECT_EQ(length->GetValue(), "1");
        EXPECT_EQ(privacy().mChainLength, 1u);
    }
    length->SetValue("4");
    EXPECT_EQ(privacy().mChainLength, 4u);
    page->Destroy();
    EXPECT_EQ(host_.GetFilterSwitch().GetPrivacyWnd(), platform::HWND());
}

// The user proxy's address takes digits and dots, 15 at most; the chain's
// length and time take digits alone.
TEST_F(AdvancedGuiTest, PrivacyAddressAndNumberFieldsTakeOnlyTheirCharacters) {
    privacy().mEnableIPShielding = 1;
    auto* page = Make<CAdvPrivDlg>(IDD_ADV_PRIVACY);
    auto* address = dynamic_cast<wxTextCtrl*>(page->FindWindow(IDC_USER_IP));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(KeysTaken(address, "127.0.0.1:80"), "127.0.0.180");
    EXPECT_EQ(Pasted(address, "1234567890123456789"), "123456789012345");
    for (int id : {IDC_CHAIN_LENGTH, IDC_CHAIN_TIMER}) {
        auto* edit = dynamic_cast<wxTextCtrl*>(page->FindWindow(id));
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_EQ(KeysTaken(edit, "2.5s"), "25") << id;
    }
    page->Destroy();
}

// The page's four radios read back from the screen: one of "Use one Proxy"
// and "Use Proxy Chain", one of "Choose best proxy" and "User defined
// Proxy", whatever the stored settings.
TEST_F(AdvancedGuiTest, PrivacyRadiosShowOneModeAndOneProxyChoice) {
    struct Case {
        platform::DWORD chain, best;
        bool oneProxy, chainRadio, bestRadio, userRadio;
    };
    const Case cases[] = {
        {1, 0, false, true, false, true},
        {1, 1, false, true, true, false},
        {0, 1, true, false, true, false},
        {0, 0, true, false, false, true},
    };
    const auto radio = [](wxWindow* page, int id) { return dynamic_cast<wxRadioButton*>(page->FindWindow(id)); };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "chain " << c.chain << " best " << c.best);
        privacy().mEnableIPShielding = 1;
        privacy().mEnableProxyChain = c.chain;
        privacy().mProxyBestChoice = c.best;
        auto* page = Make<CAdvPrivDlg>(IDD_ADV_PRIVACY);
        EXPECT_EQ(radio(page, IDC_ONE_PROXY)->GetValue(), c.oneProxy);
        EXPECT_EQ(radio(page, IDC_PROXY_CHAIN)->GetValue(), c.chainRadio);
        EXPECT_EQ(radio(page, IDC_BEST_PROXY)->GetValue(), c.bestRadio);
        EXPECT_EQ(radio(page, IDC_USER_PROXY)->GetValue(), c.userRadio);
        page->Destroy();
    }

    privacy().mEnableProxyChain = 0;
    privacy().mProxyBestChoice = 0;
    auto* page = Make<CAdvPrivDlg>(IDD_ADV_PRIVACY);
    wxRadioButton* chain = radio(page, IDC_PROXY_CHAIN);
    chain->SetValue(true);
    wxCommandEvent chosen(wxEVT_RADIOBUTTON, IDC_PROXY_CHAIN);
    chosen.SetEventObject(chain);
    chain->ProcessWindowEvent(chosen);
    EXPECT_EQ(privacy().mEnableProxyChain, 1u);
    EXPECT_FALSE(radio(page, IDC_ONE_PROXY)->GetValue());
    EXPECT_TRUE(chain->GetValue());
    EXPECT_FALSE(radio(page, IDC_USER_PROXY)->GetValue() && radio(page, IDC_BEST_PROXY)->GetValue());
    page->Destroy();
}

}  // namespace
