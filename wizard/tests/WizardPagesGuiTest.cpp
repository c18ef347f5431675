#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include <wx/checkbox.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

#include "ControlLayout.h"
#include "GuiTest.h"
#include "RealInput.h"
#include "WizardGuiTest.h"
#include "WizardScript.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "support/MessageBoxRecorder.h"
#include "platform/Resource.h"
#include "wizard/CPageStack.h"
#include "wizard/CPictureImage.h"
#include "wizard/CWizWelcomeDlg.h"
#include "wizard/DialogIds.h"
#include "wizard/WizTexts.h"

namespace wizard {
namespace {

using kvtest::WizardScript;

wxCheckBox* BoxOfTop(int id) { return dynamic_cast<wxCheckBox*>(WizardScript::TopPage()->FindWindow(id)); }

// A window's icons as the X server holds them (_NET_WM_ICON): width,
// height, then width x height ARGB pixels, one icon after the other.
std::vector<std::uint32_t> WindowIcons(const wxTopLevelWindow& window) {
    // The display the toolkit runs on: $DISPLAY.
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(c, &xcb_disconnect);
    const char name[] = "_NET_WM_ICON";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr), &std::free);
    if (!atom || atom->atom == XCB_NONE) return {};
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> icons(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, kvtest::XWindowOf(window), atom->atom, XCB_ATOM_CARDINAL, 0, 1u << 20), nullptr),
        &std::free);
    if (!icons || icons->format != 32) return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(icons.get()));
    return {values, values + xcb_get_property_value_length(icons.get()) / 4};
}

// The icon of that size among a window's icons equals the picture.
bool HoldsIcon(const std::vector<std::uint32_t>& icons, const wxImage& picture) {
    for (std::size_t at = 0; at + 2 <= icons.size();) {
        const std::size_t width = icons[at], height = icons[at + 1], pixels = width * height;
        if (at + 2 + pixels > icons.size()) return false;
        if (int(width) == picture.GetWidth() && int(height) == picture.GetHeight()) {
            for (std::size_t i = 0; i < pixels; ++i) {
                const std::uint32_t argb = icons[at + 2 + i];
                const unsigned char* rgb = picture.GetData() + i * 3;
                if (((argb >> 16) & 0xFF) != rgb[0] || ((argb >> 8) & 0xFF) != rgb[1] || (argb & 0xFF) != rgb[2]) {
                    return false;
                }
            }
            return true;
        }
        at += 2 + pixels;
    }
    return false;
}

class WizardPagesTest : public kvtest::WizardGuiTest {
protected:
    static CSettings Stored() {
        CSettings stored;
        stored.QueryRegistry();
        return stored;
    }
};

TEST_F(WizardPagesTest, DefaultRoadShowsEveryPageWholeAndSavesPresetAndPageChoices) {
    platform::RegKey opera;
    ASSERT_EQ(opera.Create(platform::HKEY_LOCAL_MACHINE,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Opera"),
              platform::ERROR_SUCCESS);
    opera.SetStringValue("UninstallString", "C:\\Opera\\uninst.exe");
    bool boxesAsLoaded = false;
    bool openersShown = false;
    const auto checkTop = [] { EXPECT_TRUE(WizardScript::LaidOut(*WizardScript::TopPage(), PageSize())); };
    Steps steps{
        {[] { return WizardScript::TopIs(dlg::kWelcome); },
         [&] {
             checkTop();
             WizardScript::Click(welcome::kNext);
         }},
        {[] { return WizardScript::TopIs(dlg::kAutoConfig); },
         [&] {
             checkTop();
             boxesAsLoaded = BoxOfTop(autoconfig::kIE)->GetValue() && BoxOfTop(autoconfig::kCleanAtStart)->GetValue() &&
                             BoxOfTop(autoconfig::kOpera)->IsEnabled() && !BoxOfTop(autoconfig::kMirc)->IsEnabled();
         }},
    };
    Append(steps, WizardScript::SetBox(dlg::kAutoConfig, autoconfig::kOpera, true));
    Append(steps, WizardScript::SetBox(dlg::kAutoConfig, autoconfig::kIE, false));
    Append(steps, WizardScript::SetBox(dlg::kAutoConfig, autoconfig::kCleanAtStart, false));
    Append(steps, {
        {[] { return WizardScript::TopIs(dlg::kAutoConfig); }, [] { WizardScript::Click(autoconfig::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kSetupType); },
         [&] {
             checkTop();
             WizardScript::Click(setuptype::kNext);
         }},
        // The finish page hides the setup-type page at once; the first two
        // pages stay shown beneath.
        {[] {
             return WizardScript::TopIs(dlg::kFinish) && !dynamic_cast<CWizPage*>(g_pageStack.At(2))->IsShown();
         },
         [&] {
             checkTop();
             openersShown = dynamic_cast<CWizPage*>(g_pageStack.At(0))->IsShown() &&
                            dynamic_cast<CWizPage*>(g_pageStack.At(1))->IsShown();
             WizardScript::Click(finish::kFinish);
         }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(boxesAsLoaded);
    EXPECT_TRUE(openersShown);
    EXPECT_EQ(g_pageStack.Count(), 0u);

    EXPECT_EQ(StartedWith("KVSweep"), "-u\n");
    const CSettings stored = Stored();
    EXPECT_STREQ(stored.getGeneralSettings()->getStartingIP(), "127.0.0.1");
    EXPECT_EQ(stored.getGeneralSettings()->getStartingPort(), 8082u);
    EXPECT_TRUE(stored.getSysConfig()->getAutoOpera());
    EXPECT_FALSE(stored.getSysConfig()->getAutoIE()) << "the page's choice outlives the preset";
    EXPECT_EQ(stored.getCleanupSettings()->mCleanupAdvanced.mWindowsStart, 0u);
}

TEST_F(WizardPagesTest, BackShowsOpenerWhereTheLaterPageWasDraggedWithItsChoices) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    wxPoint start;
    wxPoint shownAt;
    bool choiceKept = false;
    Steps steps{{[] { return WizardScript::TopIs(dlg::kWelcome); }, [] { WizardScript::Click(welcome::kNext); }}};
    Append(steps, WizardScript::SetBox(dlg::kAutoConfig, autoconfig::kIE, false));
    Append(steps, {
        {[] { return WizardScript::TopIs(dlg::kAutoConfig); }, [] { WizardScript::Click(autoconfig::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kSetupType); },
         [&] {
             const wxRect page = kvtest::OnScreen(*WizardScript::TopPage());
             start = page.GetPosition();
             // From a bare spot of the page's body (no control under it).
             kvtest::PressOnScreen(start + wxPoint(470, 328));
         }},
        {[] { return WizardScript::TopPage()->HasCapture(); },
         [&] { kvtest::MoveOnScreen(start + wxPoint(500, 348)); }},
        {[&] { return WizardScript::TopPage()->GetPosition() == start + wxPoint(30, 20); },
         [&] { kvtest::MoveOnScreen(start + wxPoint(530, 368)); }},
        {[&] { return kvtest::OnScreen(*WizardScript::TopPage()).GetPosition() == start + wxPoint(60, 40); },
         [] { kvtest::ReleaseOnScreen(); }},
        {[] { return !WizardScript::TopPage()->HasCapture(); }, [] { WizardScript::Click(setuptype::kBack); }},
        {[] { return WizardScript::TopIs(dlg::kAutoConfig); },
         [&] {
             shownAt = kvtest::OnScreen(*WizardScript::TopPage()).GetPosition();
             choiceKept = !BoxOfTop(autoconfig::kIE)->GetValue();
             WizardScript::Click(autoconfig::kCancel);
         }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_EQ(shownAt, start + wxPoint(60, 40));
    EXPECT_TRUE(choiceKept);
    ASSERT_EQ(yes.boxes().size(), 1u);
    EXPECT_EQ(yes.boxes()[0].text, text::kLeaveWizard);
    EXPECT_EQ(yes.boxes()[0].caption, text::kCaption);
    EXPECT_EQ(yes.boxes()[0].type, platform::MB_YESNO | platform::MB_ICONQUESTION);
    EXPECT_EQ(Stored().getGeneralSettings()->getStartingPort(), CSettings().getGeneralSettings()->getStartingPort())
        << "leaving saves nothing";
}

TEST_F(WizardPagesTest, EscapeAndAnswersNoKeepThePageAndCloseYesEndsTheWizard) {
    constexpr unsigned kEscape = 0xff1b;
    std::optional<kvtest::MessageBoxRecorder> answers;
    answers.emplace(platform::IDNO);
    std::size_t asked = 0;
    Steps steps = ToSetupType();
    // The pointer rests on the page after the last click: the keys go there.
    steps.push_back({[] { return WizardScript::TopIs(dlg::kSetupType); },
                     [&] {
                         kvtest::PressKeyOnScreen(kEscape);
                         WizardScript::Click(setuptype::kCancel);
                         kvtest::CloseFromScreen(*WizardScript::TopPage());
                     }});
    steps.push_back({[&] { return answers->boxes().size() == 2 && WizardScript::TopIs(dlg::kSetupType); },
                     [&] {
                         asked = answers->boxes().size();
                         answers.emplace(platform::IDYES);
                         kvtest::CloseFromScreen(*WizardScript::TopPage());
                     }});
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_EQ(asked, 2u) << "Cancel and close each asked once, Escape nothing";
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

TEST_F(WizardPagesTest, WelcomePageCarriesTheProgramIconAndItsAboutCommandOpensTheAboutBox) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    CPictureImage icon;
    ASSERT_TRUE(icon.LoadFromResource(platform::ResourceNumber(kProgramIcon), "ICON"));
    bool iconShown = false;
    bool aboutRan = false;
    bool otherCommandLeft = true;
    std::string version;
    std::string copyright;
    Steps steps{
        {[] { return WizardScript::TopIs(dlg::kWelcome); },
         [&] {
             iconShown = HoldsIcon(WindowIcons(*WizardScript::TopPage()), icon.Picture());
             // The low four bits of a system command do not count.
             aboutRan = dynamic_cast<CWizWelcomeDlg&>(*WizardScript::TopPage()).OnSysCommand(about::kCommand | 0x3);
         }},
        {[] { return WizardScript::ShownDialog(dlg::kAbout) != nullptr; },
         [&] {
             wxTopLevelWindow& box = *WizardScript::ShownDialog(dlg::kAbout);
             EXPECT_TRUE(WizardScript::LaidOut(box, {330, 110}));
             version = box.FindWindow(about::kVersion)->GetLabel().ToStdString();
             copyright = box.FindWindow(about::kCopyright)->GetLabel().ToStdString();
             EXPECT_TRUE(dynamic_cast<wxStaticBitmap*>(box.FindWindow(about::kIcon))->GetBitmap().IsOk());
             WizardScript::ClickIn(box, about::kOk);
         }},
        {[&] { return aboutRan && wxWindow::FindWindowById(dlg::kAbout) == nullptr; },
         [&] {
             otherCommandLeft = dynamic_cast<CWizWelcomeDlg&>(*WizardScript::TopPage()).OnSysCommand(0xF060);
             WizardScript::Click(welcome::kCancel);
         }},
    };
    EXPECT_EQ(RunWizard(std::move(steps)), kQuitExitCode);
    EXPECT_TRUE(iconShown) << "the X server holds the program's icon for the welcome page";
    EXPECT_TRUE(aboutRan);
    EXPECT_FALSE(otherCommandLeft) << "other system commands go to the default handling";
    EXPECT_EQ(version, text::kAboutVersion);
    EXPECT_EQ(copyright, text::kAboutCopyright);
}

TEST_F(WizardPagesTest, SetupTypeWithoutAChoiceAsksForOneAndOpensNothing) {
    std::optional<kvtest::MessageBoxRecorder> answers;
    answers.emplace(platform::IDOK);
    std::vector<kvtest::MessageBoxRecorder::Box> shown;
    Steps steps = ToSetupType();
    Append(steps, WizardScript::SetBox(dlg::kSetupType, setuptype::kDefault, false));
    steps.push_back(
        {[] { return WizardScript::TopIs(dlg::kSetupType); }, [] { WizardScript::Click(setuptype::kNext); }});
    steps.push_back({[&] { return !answers->boxes().empty() && WizardScript::TopIs(dlg::kSetupType); },
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
    steps.push_back(
        {[] { return WizardScript::TopIs(dlg::kSetupType); }, [] { WizardScript::Click(setuptype::kNext); }});
    // The close command reaches the page before the click that follows it.
    steps.push_back({[] { return WizardScript::TopIs(dlg::kFinish); },
                     [] {
                         kvtest::CloseFromScreen(*WizardScript::TopPage());
                         WizardScript::Click(finish::kFinish);
                     }});
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(recorder.boxes().empty());
    EXPECT_EQ(StartedWith("KVSweep"), "-r\n");
}

}  // namespace
}  // namespace wizard
