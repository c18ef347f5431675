#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "GuiTest.h"
#include "WizardScript.h"
#include "platform/MainLoopQueue.h"
#include "platform/MessageBox.h"
#include "platform/Root.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"
#include "wizard/CGifButton.h"
#include "wizard/CPageStack.h"
#include "wizard/CWizCleaningDlg.h"
#include "wizard/CWizHowDlg.h"
#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using kvtest::WizardScript;
using Steps = std::vector<WizardScript::Step>;

wxWindow* OfTop(int id) { return WizardScript::TopPage()->FindWindow(id); }

// As a user's click: the control changes, then its handler runs.
void ClickBox(int id) {
    auto* box = dynamic_cast<wxCheckBox*>(OfTop(id));
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    event.SetEventObject(box);
    event.SetInt(box->GetValue());
    box->ProcessWindowEvent(event);
}

void ChooseRadio(int id) {
    auto* radio = dynamic_cast<wxRadioButton*>(OfTop(id));
    radio->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, id);
    event.SetEventObject(radio);
    radio->ProcessWindowEvent(event);
}

bool Checked(int id) { return dynamic_cast<wxCheckBox*>(OfTop(id))->GetValue(); }

void ClickIn(wxWindow* dialog, int button) { dynamic_cast<CGifButton*>(dialog->FindWindow(button))->Click(); }

class CustomRoadTest : public kvtest::RootedTest {
protected:
    void SetUp() override {
        platform::MainLoopQueue::Attach(&CWizPage::OnQuitMessage);
        const auto folder = root() / "bin";
        kvtest::WriteFile(folder / "KVSweep", "#!/bin/sh\nexit 0\n");
        std::filesystem::permissions(folder / "KVSweep", std::filesystem::perms::owner_all);
        session_.mStarterFolder = folder;
        previousPacer_ = CWizCleaningDlg::SetPacer([](unsigned) {});
    }
    void TearDown() override {
        CWizCleaningDlg::SetPacer(previousPacer_);
        platform::MainLoopQueue::Attach();
    }

    int RunWizard(Steps steps) { return WizardScript::RunFromWelcome(session_, std::move(steps)); }

    // Welcome, auto-configuration, then the custom choice.
    static Steps ToProxyPage() {
        return {
            {[] { return WizardScript::TopIs(dlg::kWelcome); }, [] { WizardScript::Click(welcome::kNext); }},
            {[] { return WizardScript::TopIs(dlg::kAutoConfig); }, [] { WizardScript::Click(autoconfig::kNext); }},
            {[] { return WizardScript::TopIs(dlg::kSetupType); },
             [] {
                 ClickBox(setuptype::kCustom);
                 WizardScript::Click(setuptype::kNext);
             }},
        };
    }

    static void Append(Steps& steps, Steps more) {
        for (auto& step : more) steps.push_back(std::move(step));
    }

    CWizardSession session_;
    CWizCleaningDlg::Pacer previousPacer_;
};

TEST_F(CustomRoadTest, WalksEveryCustomPageToFinishAndSavesEachPagesChoice) {
    Steps steps = ToProxyPage();
    Append(steps, {
        {[] { return WizardScript::TopIs(dlg::kProxy); },
         [] {
             ClickBox(proxy::kChain);
             dynamic_cast<wxTextCtrl*>(OfTop(proxy::kPort))->SetValue("9090");
             WizardScript::Click(proxy::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kSysCleanup); },
         [] {
             ClickBox(syscleanup::kFindComp);
             WizardScript::Click(syscleanup::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kIECleanup); },
         [] {
             if (Checked(iecleanup::kCookies)) ClickBox(iecleanup::kCookies);
             WizardScript::Click(iecleanup::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kFiltration); },
         [] {
             if (Checked(filtration::kPopUps)) ClickBox(filtration::kPopUps);
             if (!Checked(filtration::kContextMenu)) ClickBox(filtration::kContextMenu);
             WizardScript::Click(filtration::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kProtection); },
         [] {
             if (!Checked(protection::kAllCookies)) ClickBox(protection::kAllCookies);
             WizardScript::Click(protection::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kStopList); }, [] { WizardScript::Click(stoplist::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kFinish); }, [] { WizardScript::Click(finish::kFinish); }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_EQ(g_pageStack.Count(), 0u);

    CSettings stored;
    stored.QueryRegistry();
    EXPECT_EQ(stored.getPrivacySettings()->mEnableProxyChain, 1u);
    EXPECT_EQ(stored.getPrivacySettings()->mListenerPort, 9090u);
    EXPECT_TRUE(stored.getCleanupSettings()->mCleanupSys.getFindComp());
    EXPECT_FALSE(stored.getCleanupSettings()->mCleanupInternet.getCookies());
    EXPECT_FALSE(stored.getFiltrationSettings()->mInFiltration.getBlockPopUps());
    EXPECT_EQ(stored.getFiltrationSettings()->mAdvancedFiltration.mRemoveContextMenu, 1u);
    EXPECT_EQ(stored.getFiltrationSettings()->mOutFiltration.IsDiabledCookies(), 1);
}

TEST_F(CustomRoadTest, BackStoresThePageAndTheNextVisitShowsItsChoice) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    bool storedOnBack = false;
    bool shownAgain = false;
    Steps steps = ToProxyPage();
    Append(steps, {
        {[] { return WizardScript::TopIs(dlg::kProxy); }, [] { WizardScript::Click(proxy::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kSysCleanup); },
         [] {
             if (Checked(syscleanup::kFindComp)) ClickBox(syscleanup::kFindComp);
             ClickBox(syscleanup::kFindComp);
             WizardScript::Click(syscleanup::kBack);
         }},
        {[] { return WizardScript::TopIs(dlg::kProxy); },
         [&] {
             storedOnBack = session_.mSettings.getCleanupSettings()->mCleanupSys.getFindComp();
             WizardScript::Click(proxy::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kSysCleanup); },
         [&] {
             shownAgain = Checked(syscleanup::kFindComp);
             WizardScript::Click(syscleanup::kCancel);
         }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(storedOnBack);
    EXPECT_TRUE(shownAgain);
    EXPECT_EQ(yes.boxes().size(), 1u);
}

TEST_F(CustomRoadTest, AdvancedOkSavesAtOnceAndRunNowCleansBrowserCookies) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    const auto cookies = platform::ShellFolder(platform::CSIDL_COOKIES);
    ASSERT_TRUE(cookies);
    kvtest::WriteFile(*cookies / "user@site.txt", "cookie");
    bool advancedFollowsBox = false;
    bool chainKept = false;
    bool cookieGone = false;
    Steps steps = ToProxyPage();
    Append(steps, {
        {[] { return WizardScript::TopIs(dlg::kProxy); },
         [&] {
             ClickBox(proxy::kChain);
             ChooseRadio(proxy::kMultipleProxies);
             advancedFollowsBox = OfTop(proxy::kAdvanced)->IsEnabled();
             WizardScript::Click(proxy::kAdvanced);
         }},
        {[] { return wxWindow::FindWindowById(dlg::kAdvProxy) != nullptr; },
         [] {
             wxWindow* advanced = wxWindow::FindWindowById(dlg::kAdvProxy);
             dynamic_cast<wxTextCtrl*>(advanced->FindWindow(advproxy::kChainLength))->SetValue("5");
             ClickIn(advanced, advproxy::kOk);
         }},
        {[] { return wxWindow::FindWindowById(dlg::kAdvProxy) == nullptr && WizardScript::TopIs(dlg::kProxy); },
         [&] {
             chainKept = Checked(proxy::kChain);
             WizardScript::Click(proxy::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kSysCleanup); }, [] { WizardScript::Click(syscleanup::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kIECleanup); },
         [&] {
             if (!Checked(iecleanup::kCookies)) ClickBox(iecleanup::kCookies);
             WizardScript::Click(iecleanup::kRunNow);
             cookieGone = !std::filesystem::exists(*cookies / "user@site.txt");
             WizardScript::Click(iecleanup::kCancel);
         }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(advancedFollowsBox);
    EXPECT_TRUE(chainKept);
    EXPECT_TRUE(cookieGone);
    CSettings stored;
    stored.QueryRegistry();
    EXPECT_EQ(stored.getPrivacySettings()->mChainLength, 5u) << "saved by OK, before any Finish";
    EXPECT_EQ(stored.getPrivacySettings()->mEnableProxyChain, 1u);
}

// The add dialog shown over the stop-list page, with `text` typed and OK
// clicked; Edit opens it holding the selected line.
WizardScript::Step AnswerAddServer(const std::string& text, std::string* shown = nullptr) {
    return {[] {
                const wxWindow* add = wxWindow::FindWindowById(dlg::kAddServer);
                return add && add->IsShown();
            },
            [text, shown] {
                wxWindow* add = wxWindow::FindWindowById(dlg::kAddServer);
                auto* edit = dynamic_cast<wxTextCtrl*>(add->FindWindow(addentry::kText));
                if (shown) *shown = edit->GetValue().ToStdString();
                edit->SetValue(text);
                ClickIn(add, addentry::kOk);
            }};
}

// The stop-list page on top, showing `line`, which is then selected.
bool StopListShows(const std::string& line) {
    if (!WizardScript::TopIs(dlg::kStopList)) return false;
    auto* list = dynamic_cast<wxListBox*>(OfTop(stoplist::kList));
    const int at = list->FindString(line);
    if (at == wxNOT_FOUND) return false;
    list->SetSelection(at);
    return true;
}

TEST_F(CustomRoadTest, StopListAddsEditsAndRemovesServersThroughTheAddDialog) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    std::string editShown;
    Steps steps = ToProxyPage();
    Append(steps, {
        {[] { return WizardScript::TopIs(dlg::kProxy); }, [] { WizardScript::Click(proxy::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kSysCleanup); }, [] { WizardScript::Click(syscleanup::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kIECleanup); }, [] { WizardScript::Click(iecleanup::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kFiltration); }, [] { WizardScript::Click(filtration::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kProtection); }, [] { WizardScript::Click(protection::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kStopList); }, [] { WizardScript::Click(stoplist::kAdd); }},
        AnswerAddServer("  first.example.org  "),
        {[] { return StopListShows("first.example.org"); }, [] { WizardScript::Click(stoplist::kEdit); }},
        AnswerAddServer("edited.example.org", &editShown),
        {[] { return StopListShows("edited.example.org"); }, [] { WizardScript::Click(stoplist::kAdd); }},
        AnswerAddServer("gone.example.org"),
        {[] { return StopListShows("gone.example.org"); }, [] { WizardScript::Click(stoplist::kRemove); }},
        {[] {
             return WizardScript::TopIs(dlg::kStopList) &&
                    dynamic_cast<wxListBox*>(OfTop(stoplist::kList))->FindString("gone.example.org") == wxNOT_FOUND;
         },
         [] { WizardScript::Click(stoplist::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kFinish); }, [] { WizardScript::Click(finish::kFinish); }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_EQ(editShown, "first.example.org");

    CSettings stored;
    stored.QueryRegistry();
    const auto& servers = stored.getFiltrationSettings()->mOutFiltration.GetServerStopList();
    const auto has = [&](const char* server) { return std::ranges::find(servers, server) != servers.end(); };
    EXPECT_TRUE(has("edited.example.org"));
    EXPECT_FALSE(has("first.example.org"));
    EXPECT_FALSE(has("gone.example.org"));
}

TEST_F(CustomRoadTest, HowPictureGrowsCentredAndEscapeReturnsToThePage) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    bool growing = false;
    Steps steps = ToProxyPage();
    Append(steps, {
        {[] { return WizardScript::TopIs(dlg::kProxy); }, [] { WizardScript::Click(proxy::kHow); }},
        {[] {
             auto* how = dynamic_cast<CWizHowDlg*>(wxWindow::FindWindowById(dlg::kHow));
             return how && how->GetSize().x >= 20;
         },
         [&] {
             auto* how = dynamic_cast<CWizHowDlg*>(wxWindow::FindWindowById(dlg::kHow));
             const wxRect at = how->GetRect();
             const wxRect desktop = wxDisplay(static_cast<unsigned>(0)).GetClientArea();
             growing = how->Growing() && at.width < how->FullSize().x &&
                       std::abs(at.x + at.width / 2 - desktop.width / 2) <= 1;
             wxKeyEvent escape(wxEVT_CHAR_HOOK);
             escape.m_keyCode = WXK_ESCAPE;
             how->ProcessWindowEvent(escape);
         }},
        {[] { return wxWindow::FindWindowById(dlg::kHow) == nullptr && WizardScript::TopIs(dlg::kProxy); },
         [] { WizardScript::Click(proxy::kCancel); }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(growing);
}

}  // namespace
}  // namespace wizard
