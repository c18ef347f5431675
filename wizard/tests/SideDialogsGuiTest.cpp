#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <wx/stattext.h>

#include "CXServer.h"
#include "ControlLayout.h"
#include "RealInput.h"
#include "WizardGuiTest.h"
#include "WizardScript.h"
#include "platform/MessageBox.h"
#include "platform/Root.h"
#include "support/MessageBoxRecorder.h"
#include "wizard/CPageStack.h"
#include "wizard/CWizCleaningDlg.h"
#include "wizard/CWizHowDlg.h"
#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using kvtest::WizardScript;
using SideDialogsTest = kvtest::WizardGuiTest;

// The screen's pixels where a control lies now.
kvtest::SRgbImage Pixels(const wxWindow& control) {
    const wxRect at = kvtest::OnScreen(control);
    return kvtest::CXServer().Capture({at.x, at.y, at.width, at.height});
}

bool SameColour(const kvtest::SRgbImage& image, int x, int y, const wxColour& colour) {
    const unsigned char* rgb = &image.rgb[(std::size_t(y) * image.width + x) * 3];
    return rgb[0] == colour.Red() && rgb[1] == colour.Green() && rgb[2] == colour.Blue();
}

// Opens a side dialog with a click on the top page, runs the on-screen check
// on it once it is on the screen, and closes it with a click on `close`.
WizardScript::Steps CheckSideDialog(int page, int opener, int dialog, wxSize templateSize, int close) {
    return {
        {[page] { return WizardScript::TopIs(page); }, [opener] { WizardScript::Click(opener); }},
        {[dialog] { return WizardScript::ShownDialog(dialog) != nullptr; },
         [=] {
             wxTopLevelWindow& shown = *WizardScript::ShownDialog(dialog);
             EXPECT_TRUE(WizardScript::LaidOut(shown, templateSize)) << "dialog " << dialog;
             WizardScript::ClickIn(shown, close);
         }},
        {[=] { return wxWindow::FindWindowById(dialog) == nullptr && WizardScript::TopIs(page); }, [] {}},
    };
}

TEST_F(SideDialogsTest, EverySideDialogOfTheCustomRoadShowsWhole) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    constexpr unsigned kEscape = 0xff1b;
    bool progressChecked = false;
    CWizCleaningDlg::SetPacer([&](unsigned) {
        if (progressChecked) return;
        progressChecked = true;
        const auto* progress = dynamic_cast<wxTopLevelWindow*>(wxWindow::FindWindowById(dlg::kCleaning));
        ASSERT_NE(progress, nullptr);
        EXPECT_TRUE(WizardScript::LaidOut(*progress, {420, 70}));
    });
    Steps steps = ToProxyPage();
    Append(steps, WizardScript::SetBox(dlg::kProxy, proxy::kChain, true));
    steps.push_back({[] { return true; }, [] { WizardScript::Click(proxy::kMultipleProxies); }});
    steps.push_back({[] { return WizardScript::TopPage()->FindWindow(proxy::kAdvanced)->IsEnabled(); }, [] {}});
    Append(steps, CheckSideDialog(dlg::kProxy, proxy::kAdvanced, dlg::kAdvProxy, {360, 230}, advproxy::kCancel));
    Append(steps, {
        {[] { return true; }, [] { WizardScript::Click(proxy::kHow); }},
        // Grown: the X server shows its full size, and the toolkit has laid
        // its client area out at that size.
        {[] {
             const auto* how = dynamic_cast<CWizHowDlg*>(WizardScript::ShownDialog(dlg::kHow));
             if (!how || how->Growing() || kvtest::OnScreen(*how).GetSize() != how->FullSize()) return false;
             const kvtest::SScreenRect client = kvtest::ReadLayout(*how).client;
             return wxSize(client.width, client.height) == how->FullSize();
         },
         [] {
             auto& how = dynamic_cast<CWizHowDlg&>(*WizardScript::ShownDialog(dlg::kHow));
             EXPECT_TRUE(WizardScript::LaidOut(how, how.FullSize()));
             // The region cuts the margins away: the page shows through
             // them, the dialog's light blue inside.
             const kvtest::SRgbImage seen = Pixels(how);
             const wxColour blue(0xAB, 0xCA, 0xFF);
             EXPECT_FALSE(SameColour(seen, 7, 7, blue));
             EXPECT_FALSE(SameColour(seen, seen.width - 5, seen.height - 3, blue));
             EXPECT_TRUE(SameColour(seen, 16, seen.height - 8, blue));
             kvtest::ClickOnScreen(kvtest::OnScreen(how).GetPosition() + wxPoint(40, 40));
             kvtest::PressKeyOnScreen(kEscape);
         }},
        {[] { return wxWindow::FindWindowById(dlg::kHow) == nullptr && WizardScript::TopIs(dlg::kProxy); },
         [] { WizardScript::Click(proxy::kNext); }},
    });
    Append(steps, WizardScript::SetBox(dlg::kSysCleanup, syscleanup::kCustom, true));
    Append(steps, CheckSideDialog(dlg::kSysCleanup, syscleanup::kAdd, dlg::kAddDir, {420, 150}, addentry::kCancel));
    Append(steps, WizardScript::SetBox(dlg::kSysCleanup, syscleanup::kRun, true));
    Append(steps, {
        {[] { return true; }, [] { WizardScript::Click(syscleanup::kRunNow); }},
        {[&] { return progressChecked && wxWindow::FindWindowById(dlg::kCleaning) == nullptr; },
         [] { WizardScript::Click(syscleanup::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kIECleanup); }, [] { WizardScript::Click(iecleanup::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kFiltration); }, [] { WizardScript::Click(filtration::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kProtection); }, [] { WizardScript::Click(protection::kNext); }},
    });
    Append(steps, CheckSideDialog(dlg::kStopList, stoplist::kAdd, dlg::kAddServer, {420, 150}, addentry::kCancel));
    steps.push_back({[] { return true; }, [] { WizardScript::Click(stoplist::kCancel); }});
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    EXPECT_TRUE(progressChecked);
}

// What the progress window showed at one pause: its status text, and
// whether the screen there had changed since the pause before.
struct SShown {
    std::string text;
    bool changed;
    friend bool operator==(const SShown&, const SShown&) = default;
};

TEST_F(SideDialogsTest, RunNowShowsEachStatusTextOnTheScreenWhileItRuns) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    std::vector<SShown> shown;
    kvtest::SRgbImage before;
    CWizCleaningDlg::SetPacer([&](unsigned) {
        wxWindow* status = wxWindow::FindWindowById(dlg::kCleaning)->FindWindow(cleaning::kStatus);
        const kvtest::SRgbImage now = Pixels(*status);
        shown.push_back({dynamic_cast<wxStaticText*>(status)->GetLabel().ToStdString(), now.rgb != before.rgb});
        before = now;
    });
    Steps steps = ToProxyPage();
    steps.push_back({[] { return WizardScript::TopIs(dlg::kProxy); }, [] { WizardScript::Click(proxy::kNext); }});
    Append(steps, WizardScript::SetBox(dlg::kSysCleanup, syscleanup::kRecycle, true));
    Append(steps, WizardScript::SetBox(dlg::kSysCleanup, syscleanup::kTelnet, true));
    Append(steps, {
        {[] { return true; }, [] { WizardScript::Click(syscleanup::kRunNow); }},
        {[&] { return !shown.empty() && wxWindow::FindWindowById(dlg::kCleaning) == nullptr; },
         [] { WizardScript::Click(syscleanup::kCancel); }},
    });
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);

    std::vector<SShown> expected{{"Please Wait While Velamor Clears Your Recycle Bin...", true}};
    for (int dots = 0; dots < 6; ++dots) {
        expected.push_back({"Clearing Recycle Bin" + std::string(dots, '.') + "\t", true});
    }
    for (int dots = 0; dots < 5; ++dots) expected.push_back({"Clearing Telnet History" + std::string(dots, '.'), true});
    expected.push_back({"Done", true});
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].text, expected[i].text) << i;
        EXPECT_TRUE(shown[i].changed) << "the screen shows text " << i << " when the run pauses";
    }
}

TEST_F(SideDialogsTest, OrganizeOpensTheFavoritesFolderWithTheDesktopOpener) {
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    const auto opened = root() / "xdg-open-args";
    std::string argument;
    Steps steps = ToProxyPage();
    Append(steps, {
        {[] { return WizardScript::TopIs(dlg::kProxy); }, [] { WizardScript::Click(proxy::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kSysCleanup); }, [] { WizardScript::Click(syscleanup::kNext); }},
        {[] { return WizardScript::TopIs(dlg::kIECleanup); }, [] { WizardScript::Click(iecleanup::kOrganize); }},
    });
    steps.push_back({[&] { return std::filesystem::exists(opened); },
                     [&] {
                         argument = kvtest::ReadFile(opened);
                         WizardScript::Click(iecleanup::kCancel);
                     }});
    EXPECT_EQ(RunWizard(std::move(steps)), kPageEndResult);
    const auto favourites = platform::ShellFolder(platform::CSIDL_FAVORITES);
    ASSERT_TRUE(favourites);
    EXPECT_EQ(argument, favourites->string() + "\n") << "the folder, as one argument";
    EXPECT_TRUE(std::filesystem::is_directory(*favourites));
}

}  // namespace
}  // namespace wizard
