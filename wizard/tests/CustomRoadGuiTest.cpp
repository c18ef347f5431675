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
#include "RealInput.h"
#include "WizardGuiTest.h"
#include "WizardScript.h"
#include "platform/MessageBox.h"
#include "platform/Root.h"
#include "support/MessageBoxRecorder.h"
#include "wizard/CGifButton.h"
#include "wizard/CPageStack.h"
#include "wizard/CWizHowDlg.h"
#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using kvtest::WizardScript;

wxWindow* OfTop(int id) { return WizardScript::TopPage()->FindWindow(id); }

bool Checked(int id) { return dynamic_cast<wxCheckBox*>(OfTop(id))->GetValue(); }

using CustomRoadTest = kvtest::WizardGuiTest;

TEST_F(CustomRoadTest, WalksEveryCustomPageToFinishShowingEachWholeAndSavesItsChoice) {
    Steps steps{
        CheckPage(dlg::kWelcome),
        {[] { return true; }, [] { WizardScript::Click(welcome::kNext); }},
        CheckPage(dlg::kAutoConfig),
        {[] { return true; }, [] { WizardScript::Click(autoconfig::kNext); }},
        CheckPage(dlg::kSetupType),
    };
    Append(steps, WizardScript::SetBox(dlg::kSetupType, setuptype::kCustom, true));
    Append(steps, {{[] { return true; }, [] { WizardScript::Click(setuptype::kNext); }}, CheckPage(dlg::kProxy)});
    Append(steps, WizardScript::SetBox(dlg::kProxy, proxy::kChain, true));
    Append(steps, {
        {[] { return OfTop(proxy::kPort)->IsEnabled(); },
         [] {
             dynamic_cast<wxTextCtrl*>(OfTop(proxy::kPort))->SetValue("9090");
             WizardScript::Click(proxy::kNext);
         }},
        CheckPage(dlg::kSysCleanup),
    });
    Append(steps, WizardScript::SetBox(dlg::kSysCleanup, syscleanup::kFindComp, true));
    Append(steps, {{[] { return true; }, [] { WizardScript::Click(syscleanup::kNext); }}, CheckPage(dlg::kIECleanup)});
    Append(steps, WizardScript::SetBox(dlg::kIECleanup, iecleanup::kCookies, false));
    Append(steps, {{[] { return true; }, [] { WizardScript::Click(iecleanup::kNext); }}, CheckPage(dlg::kFiltration)});
    Append(steps, WizardScript::SetBox(dlg::kFiltration, filtration::kPopUps, false));
    Append(steps, WizardScript::SetBox(dlg::kFiltration, filtration::kContextMenu, true));
    Append(steps, {{[] { return true; }, [] { WizardScript::Click(filtration::kNext); }}, CheckPage(dlg::kProtection)});
    Append(steps, WizardScript::SetBox(dlg::kProtection, protection::kAllCookies, true));
    Append(steps, {
        {[] { return true; }, [] { WizardScript::Click(protection::kNext); }},
        CheckPage(dlg::kStopList),
        {[] { return true; }, [] { WizardScript::Click(stoplist::kNext); }},
        CheckPage(dlg::kFinish),
        {[] { return true; }, [] { WizardScript::Click(finish::kFinish); }},
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
    steps.push_back({[] { return WizardScript::TopIs(dlg::kProxy); }, [] { WizardScript::Click(proxy::kNext); }});
    Append(steps, WizardScript::SetBox(dlg::kSysCleanup, syscleanup::kFindComp, true));
    Append(steps, {
        {[] { return true; }, [] { WizardScript::Click(syscleanup::kBack); }},
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
    bool chainKept = false;
    Steps steps = ToProxyPage();
    Append(steps, WizardScript::SetBox(dlg::kProxy, proxy::kChain, true));
    Append(steps, {
        {[] { return true; }, [] { WizardScript::Click(proxy::kMultipleProxies); }},
        // Advanced follows the radio.
        {[] { return OfTop(proxy::kAdvanced)->IsEnabled(); }, [] { WizardScript::Click(proxy::kAdvanced); }},
        {[] { return WizardScript::ShownDialog(dlg::kAdvProxy) != nullptr; },
         [] {
             wxTopLevelWindow* advanced = WizardScript::ShownDialog(dlg::kAdvProxy);
             dynamic_cast<wxTextCtrl*>(advanced->FindWindow(advproxy::kChainLength))->SetValue("5");
             WizardScript::ClickIn(*advanced, advproxy::kOk);
         }},
        {[] { return wxWindow::FindWindowById(dlg::kAdvProxy) == nullptr && WizardScript::TopIs(dlg::kProxy); },
         [&] {
             chainKept = Checked(proxy::kChain);
             WizardScript::Click(proxy::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kSysCleanup); }, [] { WizardScript::Click(syscleanup::kNext); }},
    });
    Append(steps, WizardScript::SetBox(dlg::kIECleanup, iecleanup::kCookies, true));
    Append(steps, {
        {[] { return true; }, [] { WizardScript::Click(iecleanup::kRunNow); }},
        {[&] {
             return !std::filesystem::exists(*cookies / "user@site.txt") &&
                    wxWindow::FindWindowById(dlg::kCleaning) == nullptr;
         },
         [] { WizardScript::Click(iecleanup::kCancel); }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(chainKept);
    EXPECT_FALSE(std::filesystem::exists(*cookies / "user@site.txt"));
    CSettings stored;
    stored.QueryRegistry();
    EXPECT_EQ(stored.getPrivacySettings()->mChainLength, 5u) << "saved by OK, before any Finish";
    EXPECT_EQ(stored.getPrivacySettings()->mEnableProxyChain, 1u);
}

// The add dialog shown over the stop-list page, with `text` typed and OK
// clicked; Edit opens it holding the selected line.
WizardScript::Step AnswerAddServer(const std::string& text, std::string* shown = nullptr) {
    return {[] { return WizardScript::ShownDialog(dlg::kAddServer) != nullptr; },
            [text, shown] {
                wxTopLevelWindow* add = WizardScript::ShownDialog(dlg::kAddServer);
                auto* edit = dynamic_cast<wxTextCtrl*>(add->FindWindow(addentry::kText));
                if (shown) *shown = edit->GetValue().ToStdString();
                edit->SetValue(text);
                WizardScript::ClickIn(*add, addentry::kOk);
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
    constexpr unsigned kEscape = 0xff1b;
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    bool growing = false;
    Steps steps = ToProxyPage();
    Append(steps, {
        {[] { return WizardScript::TopIs(dlg::kProxy); }, [] { WizardScript::Click(proxy::kHow); }},
        {[] {
             auto* how = dynamic_cast<CWizHowDlg*>(WizardScript::ShownDialog(dlg::kHow));
             return how && how->GetSize().x >= 60;
         },
         [&] {
             auto* how = dynamic_cast<CWizHowDlg*>(wxWindow::FindWindowById(dlg::kHow));
             // The place the growth asked for (the X server may show the
             // place of one tick with the size of the one before).
             const wxRect at = how->GetRect();
             const wxRect desktop = wxDisplay(static_cast<unsigned>(0)).GetClientArea();
             growing = how->Growing() && at.width < how->FullSize().x &&
                       std::abs(at.x + at.width / 2 - desktop.width / 2) <= 1;
             // Keys go to the window under the pointer.
             const wxRect shown = kvtest::OnScreen(*how);
             kvtest::ClickOnScreen(shown.GetPosition() + wxPoint(shown.width / 2, shown.height / 2));
             kvtest::PressKeyOnScreen(kEscape);
         }},
        {[] { return wxWindow::FindWindowById(dlg::kHow) == nullptr && WizardScript::TopIs(dlg::kProxy); },
         [] { WizardScript::Click(proxy::kCancel); }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(growing);
}

}  // namespace
}  // namespace wizard
