#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include <wx/checkbox.h>

#include "GuiTest.h"
#include "WizardScript.h"
#include "platform/MainLoopQueue.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"
#include "wizard/CPageStack.h"
#include "wizard/DialogIds.h"
#include "wizard/WizTexts.h"

namespace wizard {
namespace {

using kvtest::WizardScript;
using Steps = std::vector<WizardScript::Step>;

wxCheckBox* BoxOfTop(int id) { return dynamic_cast<wxCheckBox*>(WizardScript::TopPage()->FindWindow(id)); }

// Sets a box as a user's click does: the box toggles, then its handler runs.
void ClickBox(int id) {
    wxCheckBox* box = BoxOfTop(id);
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    event.SetEventObject(box);
    event.SetInt(box->GetValue());
    box->ProcessWindowEvent(event);
}

class WizardPagesTest : public kvtest::RootedTest {
protected:
    void SetUp() override {
        platform::MainLoopQueue::Attach(&CWizPage::OnQuitMessage);
        const auto folder = root() / "bin";
        const auto args = root() / "cleaner-args";
        kvtest::WriteFile(folder / "KVSweep", "#!/bin/sh\necho \"$@\" > \"" + args.string() + ".tmp\"\nmv \"" +
                                                  args.string() + ".tmp\" \"" + args.string() + "\"\n");
        std::filesystem::permissions(folder / "KVSweep", std::filesystem::perms::owner_all);
        session_.mStarterFolder = folder;
    }
    void TearDown() override { platform::MainLoopQueue::Attach(); }

    // Runs the wizard from its welcome page while the script drives it.
    int RunWizard(Steps steps) { return WizardScript::RunFromWelcome(session_, std::move(steps)); }

    std::string CleanerArgs() {
        const auto file = root() / "cleaner-args";
        kvtest::PumpUiUntil([&] { return std::filesystem::exists(file); }, std::chrono::seconds(5));
        return kvtest::ReadFile(file);
    }

    static CSettings Stored() {
        CSettings stored;
        stored.QueryRegistry();
        return stored;
    }

    static Steps ToSetupType() {
        return {
            {[] { return WizardScript::TopIs(dlg::kWelcome); }, [] { WizardScript::Click(welcome::kNext); }},
            {[] { return WizardScript::TopIs(dlg::kAutoConfig); }, [] { WizardScript::Click(autoconfig::kNext); }},
        };
    }

    CWizardSession session_;
};

TEST_F(WizardPagesTest, DefaultRoadSavesPresetAndPageChoicesThenStartsCleaner) {
    platform::RegKey opera;
    ASSERT_EQ(opera.Create(platform::HKEY_LOCAL_MACHINE,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Opera"),
              platform::ERROR_SUCCESS);
    opera.SetStringValue("UninstallString", "C:\\Opera\\uninst.exe");
    bool boxesAsLoaded = false;
    bool openersShown = false;
    Steps steps{
        {[] { return WizardScript::TopIs(dlg::kWelcome); }, [] { WizardScript::Click(welcome::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kAutoConfig); },
         [&] {
             boxesAsLoaded = BoxOfTop(autoconfig::kIE)->GetValue() && BoxOfTop(autoconfig::kCleanAtStart)->GetValue() &&
                             BoxOfTop(autoconfig::kOpera)->IsEnabled() && !BoxOfTop(autoconfig::kMirc)->IsEnabled();
             ClickBox(autoconfig::kOpera);
             ClickBox(autoconfig::kIE);
             ClickBox(autoconfig::kCleanAtStart);
             WizardScript::Click(autoconfig::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kSetupType); }, [] { WizardScript::Click(setuptype::kNext); }},
        // The finish page hides the setup-type page at once; the first two
        // pages stay shown beneath.
        {[] {
             return WizardScript::TopIs(dlg::kFinish) &&
                    !dynamic_cast<CWizPage*>(g_pageStack.At(2))->IsShown();
         },
         [&] {
             openersShown = dynamic_cast<CWizPage*>(g_pageStack.At(0))->IsShown() &&
                            dynamic_cast<CWizPage*>(g_pageStack.At(1))->IsShown();
             WizardScript::Click(finish::kFinish);
         }},
    };
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(boxesAsLoaded);
    EXPECT_TRUE(openersShown);
    EXPECT_EQ(g_pageStack.Count(), 0u);

    EXPECT_EQ(CleanerArgs(), "-u\n");
    const CSettings stored = Stored();
    EXPECT_STREQ(stored.getGeneralSettings()->getStartingIP(), "127.0.0.1");
    EXPECT_EQ(stored.getGeneralSettings()->getStartingPort(), 8082u);
    EXPECT_TRUE(stored.getSysConfig()->getAutoOpera());
    EXPECT_FALSE(stored.getSysConfig()->getAutoIE()) << "the page's choice outlives the preset";
    EXPECT_EQ(stored.getCleanupSettings()->mCleanupAdvanced.mWindowsStart, 0u);
}

TEST_F(WizardPagesTest, BackShowsOpenerWhereTheLaterPageWasDraggedWithItsChoices) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    wxPoint dragged;
    wxPoint shownAt;
    bool choiceKept = false;
    Steps steps{
        {[] { return WizardScript::TopIs(dlg::kWelcome); }, [] { WizardScript::Click(welcome::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kAutoConfig); },
         [] {
             ClickBox(autoconfig::kIE);
             WizardScript::Click(autoconfig::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kSetupType); },
         [&] {
             CWizPage* page = WizardScript::TopPage();
             const wxPoint start = page->GetPosition();
             for (const auto& [type, at] : {std::pair{wxEVT_LEFT_DOWN, wxPoint(100, 100)},
                                            std::pair{wxEVT_MOTION, wxPoint(160, 140)},
                                            std::pair{wxEVT_LEFT_UP, wxPoint(160, 140)}}) {
                 wxMouseEvent event(type);
                 event.SetPosition(at);
                 event.SetEventObject(page);
                 page->ProcessWindowEvent(event);
             }
             dragged = page->GetPosition();
             EXPECT_EQ(dragged, start + wxPoint(60, 40));
             WizardScript::Click(setuptype::kBack);
         }},
        {[] { return WizardScript::TopIs(dlg::kAutoConfig); },
         [&] {
             shownAt = WizardScript::TopPage()->GetPosition();
             choiceKept = !BoxOfTop(autoconfig::kIE)->GetValue();
             WizardScript::Click(autoconfig::kCancel);
         }},
    };
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_EQ(shownAt, dragged);
    EXPECT_TRUE(choiceKept);
    ASSERT_EQ(yes.boxes().size(), 1u);
    EXPECT_EQ(yes.boxes()[0].text, text::kLeaveWizard);
    EXPECT_EQ(yes.boxes()[0].caption, text::kCaption);
    EXPECT_EQ(yes.boxes()[0].type, platform::MB_YESNO | platform::MB_ICONQUESTION);
    EXPECT_EQ(Stored().getGeneralSettings()->getStartingPort(), CSettings().getGeneralSettings()->getStartingPort())
        << "leaving saves nothing";
}

TEST_F(WizardPagesTest, EscapeAndAnswersNoKeepThePageAndCloseYesEndsTheWizard) {
    std::optional<kvtest::MessageBoxRecorder> answers;
    answers.emplace(platform::IDNO);
    std::size_t asked = 0;
    Steps steps = ToSetupType();
    steps.push_back({[] { return WizardScript::TopIs(dlg::kSetupType); },
                     [&] {
                         CWizPage* page = WizardScript::TopPage();
                         wxKeyEvent escape(wxEVT_CHAR_HOOK);
                         escape.m_keyCode = WXK_ESCAPE;
                         escape.SetEventObject(page);
                         page->ProcessWindowEvent(escape);
                         WizardScript::Click(setuptype::kCancel);
                         page->Close();
                     }});
    steps.push_back({[] { return WizardScript::TopIs(dlg::kSetupType); },
                     [&] {
                         asked = answers->boxes().size();
                         answers.emplace(platform::IDYES);
                         WizardScript::TopPage()->Close();
                     }});
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_EQ(asked, 2u) << "Cancel and close each asked once";
    EXPECT_EQ(answers->boxes().size(), 1u);
}

TEST_F(WizardPagesTest, WelcomeCancelPostsTheQuitMessage) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    Steps steps{{[] { return WizardScript::TopIs(dlg::kWelcome); }, [] { WizardScript::Click(welcome::kCancel); }}};
    EXPECT_EQ(RunWizard(std::move(steps)), kQuitExitCode);
    EXPECT_EQ(session_.mExitCode, kQuitExitCode);
    EXPECT_EQ(g_pageStack.Count(), 0u);
    ASSERT_EQ(yes.boxes().size(), 1u);
    EXPECT_EQ(yes.boxes()[0].text, text::kLeaveWizaed);
}

TEST_F(WizardPagesTest, SetupTypeWithoutAChoiceAsksForOneAndOpensNothing) {
    std::optional<kvtest::MessageBoxRecorder> answers;
    answers.emplace(platform::IDOK);
    std::vector<kvtest::MessageBoxRecorder::Box> shown;
    Steps steps = ToSetupType();
    steps.push_back({[] { return WizardScript::TopIs(dlg::kSetupType); },
                     [] {
                         ClickBox(setuptype::kDefault);
                         WizardScript::Click(setuptype::kNext);
                     }});
    steps.push_back({[] { return WizardScript::TopIs(dlg::kSetupType); },
                     [&] {
                         shown = answers->boxes();
                         answers.emplace(platform::IDYES);
                         WizardScript::Click(setuptype::kCancel);
                     }});
    RunWizard(std::move(steps));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, text::kMakeSelection);
    EXPECT_EQ(shown[0].type, platform::MB_OK | platform::MB_ICONINFORMATION);
}

TEST_F(WizardPagesTest, FinishPageIgnoresCloseAndStartsCleanerForWindowsStart) {
    kvtest::MessageBoxRecorder recorder(platform::IDYES);
    Steps steps = ToSetupType();
    steps.push_back({[] { return WizardScript::TopIs(dlg::kSetupType); }, [] { WizardScript::Click(setuptype::kNext); }});
    steps.push_back({[] { return WizardScript::TopIs(dlg::kFinish); }, [] { WizardScript::TopPage()->Close(); }});
    steps.push_back({[] { return WizardScript::TopIs(dlg::kFinish); }, [] { WizardScript::Click(finish::kFinish); }});
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(recorder.boxes().empty());
    EXPECT_EQ(CleanerArgs(), "-r\n");
}

}  // namespace
}  // namespace wizard
