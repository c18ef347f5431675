#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GuiTest.h"
#include "ScreenCheck.h"
#include "Screenshot.h"
#include "support/TempRoot.h"

namespace {

using kvtest::eLayoutFault;
using kvtest::SLayoutExpect;
using kvtest::SLayoutFinding;

const wxSize kClient(400, 300);

struct SDestroy {
    void operator()(wxWindow* window) const { window->Destroy(); }
};
using DialogPtr = std::unique_ptr<wxDialog, SDestroy>;

class ScreenCheckTest : public kvtest::RootedTest {
protected:
    // A dialog of the test's template size with a Close button; build() adds
    // the controls. (wx stretches a window's only child over all of it.)
    static DialogPtr Make(const std::function<void(wxDialog&)>& build) {
        DialogPtr dialog(new wxDialog(nullptr, wxID_ANY, "Check", wxDefaultPosition, wxDefaultSize));
        dialog->SetClientSize(kClient);
        new wxButton(dialog.get(), wxID_CANCEL, "Close", wxPoint(300, 262), wxSize(90, 30));
        build(*dialog);
        return dialog;
    }

    static void Show(wxDialog& dialog) {
        dialog.Show();
        ASSERT_TRUE(kvtest::WaitUntilDrawn(dialog));
    }

    static std::vector<SLayoutFinding> Check(wxDialog& dialog, const SLayoutExpect& expect = {kClient, {}, {}}) {
        return kvtest::CheckLayoutOnScreen(dialog, expect);
    }

    // The findings in one line each, for failure messages.
    static std::string Listing(const std::vector<SLayoutFinding>& findings) {
        std::string text;
        for (const SLayoutFinding& finding : findings) {
            text += std::string("\n[") + kvtest::ToString(finding.fault) + "] " + finding.text;
        }
        return text;
    }

    // Passes when the findings are exactly one of the given fault about the
    // given control, and saves a picture for a person to look at.
    static void ExpectOnly(wxDialog& dialog, const std::vector<SLayoutFinding>& findings, eLayoutFault fault,
                           const wxWindow* control, const char* shot) {
        ASSERT_EQ(findings.size(), 1u) << Listing(findings);
        EXPECT_EQ(findings[0].fault, fault) << Listing(findings);
        EXPECT_EQ(findings[0].control, control) << Listing(findings);
        std::cout << "finding: " << findings[0].text << "\nscreenshot: " << kvtest::SaveScreenshot(dialog, shot)
                  << std::endl;
    }
};

// Controls in their own places, texts that fit, group boxes created before
// the controls they frame (one with a background colour), a panel with a
// field inside, and a box holding a control of its own.
TEST_F(ScreenCheckTest, AWellLaidOutDialogPasses) {
    auto dialog = Make([](wxDialog& d) {
        new wxStaticBox(&d, 10, "Connection", wxPoint(10, 10), wxSize(380, 120));
        new wxStaticText(&d, 11, "Server Port", wxPoint(24, 40));
        new wxTextCtrl(&d, 12, "8080", wxPoint(160, 34), wxSize(100, -1));
        new wxCheckBox(&d, 13, "Use a proxy", wxPoint(24, 80));
        auto* coloured = new wxStaticBox(&d, 14, "Mode", wxPoint(10, 140), wxSize(180, 110));
        coloured->SetBackgroundColour(*wxLIGHT_GREY);
        new wxRadioButton(&d, 15, "Direct", wxPoint(24, 170), wxDefaultSize, wxRB_GROUP);
        new wxRadioButton(&d, 16, "Chained", wxPoint(24, 200));
        auto* panel = new wxPanel(&d, 17, wxPoint(200, 140), wxSize(190, 110));
        new wxTextCtrl(panel, 18, "", wxPoint(10, 10), wxSize(150, -1));
        auto* holder = new wxStaticBox(panel, 19, "Kept", wxPoint(5, 50), wxSize(180, 55));
        new wxCheckBox(holder, 20, "Inside", wxPoint(10, 5));
    });
    Show(*dialog);
    EXPECT_TRUE(kvtest::IsLaidOutOnScreen(*dialog, {.minClientSize = kClient}));
    std::cout << "screenshot: " << kvtest::SaveScreenshot(*dialog, "passes") << std::endl;
}

// A borderless shaped dialog sized before its first show is mapped 1x1.
TEST_F(ScreenCheckTest, AWindowSizedBeforeItsFirstShowIsTooSmall) {
    DialogPtr dialog(new wxDialog(nullptr, wxID_ANY, "Tiny", wxDefaultPosition, kClient,
                                  wxBORDER_NONE | wxFRAME_SHAPED | wxDIALOG_NO_PARENT));
    dialog->SetClientSize(kClient);
    Show(*dialog);
    ExpectOnly(*dialog, Check(*dialog), eLayoutFault::TooSmall, dialog.get(), "too-small");
}

TEST_F(ScreenCheckTest, AControlOutsideItsParentIsFound) {
    wxButton* outside = nullptr;
    auto dialog = Make([&](wxDialog& d) {
        new wxButton(&d, 30, "Inside", wxPoint(20, 20), wxSize(100, 30));
        outside = new wxButton(&d, 31, "Out", wxPoint(340, 10), wxSize(100, 30));
    });
    Show(*dialog);
    ExpectOnly(*dialog, Check(*dialog), eLayoutFault::OutsideParent, outside, "outside");
}

TEST_F(ScreenCheckTest, AControlOutsideItsPanelIsFound) {
    wxCheckBox* outside = nullptr;
    auto dialog = Make([&](wxDialog& d) {
        auto* panel = new wxPanel(&d, 32, wxPoint(20, 20), wxSize(150, 80));
        outside = new wxCheckBox(panel, 33, "Past", wxPoint(120, 10));
    });
    Show(*dialog);
    ExpectOnly(*dialog, Check(*dialog), eLayoutFault::OutsideParent, outside, "outside-panel");
}

// The fault of pages whose group box is created after the controls it
// frames and then coloured: it paints over them.
TEST_F(ScreenCheckTest, AGroupBoxColouredAfterItsControlsCoversThem) {
    wxCheckBox* hidden = nullptr;
    auto dialog = Make([&](wxDialog& d) {
        hidden = new wxCheckBox(&d, 40, "Clean the cache", wxPoint(30, 40));
        auto* box = new wxStaticBox(&d, 41, "Cleaning", wxPoint(10, 10), wxSize(300, 100));
        box->SetBackgroundColour(wxColour(0xB0, 0xC4, 0xDE));
    });
    Show(*dialog);
    ExpectOnly(*dialog, Check(*dialog), eLayoutFault::Covered, hidden, "covered-by-box");
}

TEST_F(ScreenCheckTest, AGroupBoxWithoutColourCreatedAfterItsControlsHidesNothing) {
    auto dialog = Make([&](wxDialog& d) {
        new wxCheckBox(&d, 42, "Clean the cache", wxPoint(30, 40));
        new wxStaticBox(&d, 43, "Cleaning", wxPoint(10, 10), wxSize(300, 100));
    });
    Show(*dialog);
    const auto findings = Check(*dialog);
    EXPECT_TRUE(findings.empty()) << Listing(findings);
}

// A later control that draws a face of its own hides what it lies on,
// unless the caller says it paints only its content or that the control
// under it is a backdrop.
TEST_F(ScreenCheckTest, ALaterControlWithAFaceCoversUnlessMarked) {
    wxStaticText* label = nullptr;
    wxWindow* pane = nullptr;
    wxWindow* picture = nullptr;
    wxStaticText* caption = nullptr;
    auto dialog = Make([&](wxDialog& d) {
        label = new wxStaticText(&d, 50, "Under a pane", wxPoint(20, 20));
        pane = new wxWindow(&d, 51, wxPoint(10, 10), wxSize(200, 40));
        picture = new wxWindow(&d, 52, wxPoint(10, 150), wxSize(200, 100));
        caption = new wxStaticText(&d, 53, "On the picture", wxPoint(20, 160));
    });
    Show(*dialog);
    const auto findings = Check(*dialog);
    ASSERT_EQ(findings.size(), 2u) << Listing(findings);
    EXPECT_EQ(findings[0].fault, eLayoutFault::Covered);
    EXPECT_EQ(findings[0].control, label) << Listing(findings);
    EXPECT_EQ(findings[1].fault, eLayoutFault::Covered);
    EXPECT_EQ(findings[1].control, picture) << Listing(findings);
    EXPECT_TRUE(Check(*dialog, {kClient, {pane}, {picture}}).empty());

    pane->SetBackgroundColour(*wxBLUE);
    ASSERT_TRUE(kvtest::WaitUntilDrawn(*dialog));
    const auto coloured = Check(*dialog, {kClient, {pane}, {picture}});
    ASSERT_EQ(coloured.size(), 1u) << Listing(coloured);
    EXPECT_EQ(coloured[0].control, label);
    (void)caption;
}

TEST_F(ScreenCheckTest, ALabelCoveredByALaterSiblingsTextIsFound) {
    wxCheckBox* first = nullptr;
    auto dialog = Make([&](wxDialog& d) {
        first = new wxCheckBox(&d, 54, "Remove cookies", wxPoint(20, 20));
        new wxStaticText(&d, 55, "Overlapping words", wxPoint(60, 24));
    });
    Show(*dialog);
    ExpectOnly(*dialog, Check(*dialog), eLayoutFault::Covered, first, "covered-by-text");
}

struct SClipCase {
    const char* name;
    std::function<wxWindow*(wxDialog&)> make;
};

// Each label kind given less room than its text needs, at its own font.
TEST_F(ScreenCheckTest, TextWiderThanItsControlIsClipped) {
    const SClipCase cases[] = {
        {"static-text", [](wxDialog& d) { return new wxStaticText(&d, 60, "Server Port", wxPoint(20, 20), wxSize(50, 20)); }},
        {"check-box", [](wxDialog& d) { return new wxCheckBox(&d, 61, "Use a proxy server", wxPoint(20, 20), wxSize(80, 22)); }},
        {"radio-button", [](wxDialog& d) { return new wxRadioButton(&d, 62, "Radio choice", wxPoint(20, 20), wxSize(60, 22)); }},
        {"button", [](wxDialog& d) { return new wxButton(&d, 63, "Apply the settings", wxPoint(20, 20), wxSize(60, 30)); }},
        {"ellipsized", [](wxDialog& d) {
             return new wxStaticText(&d, 64, "A long explanation of the page", wxPoint(20, 20), wxSize(80, 20),
                                     wxST_ELLIPSIZE_END);
         }},
    };
    for (const SClipCase& c : cases) {
        SCOPED_TRACE(c.name);
        wxWindow* control = nullptr;
        auto dialog = Make([&](wxDialog& d) { control = c.make(d); });
        Show(*dialog);
        ExpectOnly(*dialog, Check(*dialog), eLayoutFault::Clipped, control, c.name);
    }
}

TEST_F(ScreenCheckTest, TextThatFitsItsControlIsNotClipped) {
    auto dialog = Make([](wxDialog& d) {
        new wxStaticText(&d, 65, "Server Port", wxPoint(20, 20), wxSize(120, 24));
        new wxCheckBox(&d, 66, "Use a proxy server", wxPoint(20, 60), wxSize(220, 24));
        new wxRadioButton(&d, 67, "Radio choice", wxPoint(20, 100), wxSize(200, 24));
        new wxButton(&d, 68, "Apply the settings", wxPoint(20, 140), wxSize(200, 34));
        // At its best size; the T's ink starts a pixel left of the text.
        new wxStaticText(&d, 69, "Type", wxPoint(20, 190));
    });
    Show(*dialog);
    const auto findings = Check(*dialog);
    EXPECT_TRUE(findings.empty()) << Listing(findings);
}

TEST_F(ScreenCheckTest, HiddenControlsAreNotChecked) {
    auto dialog = Make([](wxDialog& d) {
        new wxCheckBox(&d, 70, "Under", wxPoint(30, 40));
        auto* box = new wxStaticBox(&d, 71, "Hidden box", wxPoint(10, 10), wxSize(300, 100));
        box->SetBackgroundColour(*wxRED);
        box->Hide();
        auto* out = new wxButton(&d, 72, "Away", wxPoint(380, 10), wxSize(100, 30));
        out->Hide();
    });
    Show(*dialog);
    const auto findings = Check(*dialog);
    EXPECT_TRUE(findings.empty()) << Listing(findings);
}

TEST_F(ScreenCheckTest, AWindowNotShownIsReported) {
    auto dialog = Make([](wxDialog&) {});
    const auto never = Check(*dialog);
    ASSERT_EQ(never.size(), 1u);
    EXPECT_EQ(never[0].fault, eLayoutFault::NotShown);
    Show(*dialog);
    dialog->Hide();
    kvtest::PumpUi(std::chrono::milliseconds(50));
    const auto hidden = Check(*dialog);
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(hidden[0].fault, eLayoutFault::NotShown);
}

// The check works on a dialog while its modal loop runs.
TEST_F(ScreenCheckTest, ChecksAModalDialogFromATimerInsideItsLoop) {
    wxStaticText* clipped = nullptr;
    auto dialog = Make([&](wxDialog& d) { clipped = new wxStaticText(&d, 80, "Server Port", wxPoint(20, 20), wxSize(50, 20)); });
    std::vector<SLayoutFinding> findings;
    bool ranModal = false;
    wxTimer timer(dialog.get());
    int ticks = 0;
    dialog->Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        // Let the first ticks pass so that the window is mapped and drawn.
        if (++ticks < 5) return;
        timer.Stop();
        ranModal = dialog->IsModal();
        findings = Check(*dialog);
        dialog->EndModal(wxID_CANCEL);
    });
    timer.Start(50);
    dialog->ShowModal();
    EXPECT_TRUE(ranModal);
    ASSERT_EQ(findings.size(), 1u) << Listing(findings);
    EXPECT_EQ(findings[0].fault, eLayoutFault::Clipped);
    EXPECT_EQ(findings[0].control, clipped);
}

// The picture is the window's own pixels: its size, and a coloured panel
// where it stands.
TEST_F(ScreenCheckTest, ScreenshotHoldsTheWindowsPixels) {
    auto dialog = Make([](wxDialog& d) {
        auto* panel = new wxPanel(&d, 90, wxPoint(100, 50), wxSize(80, 60));
        panel->SetBackgroundColour(wxColour(200, 30, 60));
    });
    Show(*dialog);
    const std::filesystem::path file = kvtest::SaveScreenshot(*dialog, "pixels");
    EXPECT_EQ(file.parent_path(), kvtest::ScreenshotFolder());
    wxImage image;
    ASSERT_TRUE(image.LoadFile(file.string(), wxBITMAP_TYPE_PNG));
    EXPECT_EQ(image.GetWidth(), dialog->GetSize().x);
    EXPECT_EQ(image.GetHeight(), dialog->GetSize().y);
    const wxPoint inside = dialog->GetClientAreaOrigin() + wxPoint(140, 80);
    EXPECT_EQ(image.GetRed(inside.x, inside.y), 200);
    EXPECT_EQ(image.GetGreen(inside.x, inside.y), 30);
    EXPECT_EQ(image.GetBlue(inside.x, inside.y), 60);
    EXPECT_NE(image.GetRed(10, 10), 200);
}

TEST_F(ScreenCheckTest, AFailedCheckSavesAScreenshotAndNamesIt) {
    auto dialog = Make([](wxDialog& d) { new wxButton(&d, 95, "Out", wxPoint(340, 10), wxSize(100, 30)); });
    Show(*dialog);
    const testing::AssertionResult result = kvtest::IsLaidOutOnScreen(*dialog, {kClient, {}, {}});
    ASSERT_FALSE(result);
    const std::string message = result.message();
    EXPECT_NE(message.find("[outside its parent] wxButton 'Out' (id 95"), std::string::npos) << message;
    const auto at = message.find("screenshot: ");
    ASSERT_NE(at, std::string::npos) << message;
    const std::filesystem::path file = message.substr(at + 12);
    EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
    EXPECT_EQ(file.parent_path(), kvtest::ScreenshotFolder());
}

}  // namespace
