#include <gtest/gtest.h>

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/mstream.h>

#include "GifBytes.h"
#include "GuiTest.h"
#include "controls/CAnimatedGifStatic.h"
#include "controls/CColourLabel.h"
#include "controls/CGifButton.h"
#include "controls/CPictureImage.h"
#include "controls/CRoundGroupBox.h"
#include "controls/CSortList.h"
#include "controls/CStaticTextFlags.h"
#include "controls/CToolTipCtrlEx.h"
#include "controls/CTransparentStatic.h"
#include "platform/Resource.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
using kvtest::GifBytes;

constexpr std::uint32_t kRedPixel = 0xFF0000;
constexpr std::uint32_t kGreenPixel = 0x00FF00;

// A toolkit assertion fails the case instead of opening a dialog that
// would wait for a click.
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
    ADD_FAILURE() << "toolkit assertion " << cond << " in " << func << " (" << file << ":" << line << "): " << msg;
}

class ControlsGuiTest : public kvtest::RootedTest {
protected:
    ControlsGuiTest() {
        wxSetAssertHandler(FailOnAssert);
        frame = new wxFrame(nullptr, wxID_ANY, "controls", wxPoint(0, 0), wxSize(500, 400));
        frame->Show();
    }
    ~ControlsGuiTest() override {
        frame->Destroy();
        kvtest::PumpUi(20ms);
    }
    wxFrame* frame = nullptr;
};

std::vector<std::uint8_t> ThreeFrames() {
    return GifBytes(6, 4)
        .Application()
        .Frame({.width = 6, .height = 4, .colour = kvtest::kRed, .delay = 2, .disposal = 1})
        .Frame({.left = 2, .top = 1, .width = 2, .height = 2, .colour = kvtest::kGreen, .delay = 2})
        .Frame({.width = 1, .height = 1, .colour = kvtest::kBlack, .delay = 2})
        .Bytes();
}

TEST_F(ControlsGuiTest, AnimatedGifPlaysItsFramesOnItsThreadAndStops) {
    auto* gif = new CAnimatedGifStatic(frame, 1173);
    ASSERT_TRUE(gif->Load(ThreeFrames()));
    EXPECT_TRUE(gif->IsGIF());
    EXPECT_TRUE(gif->IsAnimatedGIF());
    EXPECT_EQ(3, gif->GetFrameCount());
    EXPECT_EQ(wxSize(6, 4), gif->GetSize());
    EXPECT_EQ(wxSize(6, 4), gif->wxWindow::GetSize()) << "the control takes the picture's size";
    gif->Draw();
    EXPECT_TRUE(gif->IsPlaying());
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return gif->SurfacePixel(2, 1) == kGreenPixel; }, 2s));
    gif->Stop();
    EXPECT_FALSE(gif->IsPlaying());
    int clicks = 0;
    frame->Bind(wxEVT_BUTTON, [&](wxCommandEvent& e) { clicks += e.GetId() == 1173; });
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetPosition({1, 1});
    gif->ProcessWindowEvent(up);
    EXPECT_EQ(1, clicks);
    gif->Draw();
    EXPECT_TRUE(gif->IsPlaying()) << "a stopped animation starts again";
}

TEST_F(ControlsGuiTest, LoadingIntoAPlayingControlStopsTheFirstAnimation) {
    auto* gif = new CAnimatedGifStatic(frame, wxID_ANY);
    ASSERT_TRUE(gif->Load(ThreeFrames()));
    gif->Draw();
    ASSERT_TRUE(gif->IsPlaying());
    const auto two = GifBytes(3, 3)
                         .Frame({.width = 3, .height = 3, .colour = kvtest::kGreen})
                         .Frame({.width = 1, .height = 1, .colour = kvtest::kRed})
                         .Bytes();
    ASSERT_TRUE(gif->Load(two));
    EXPECT_FALSE(gif->IsPlaying());
    EXPECT_EQ(2, gif->GetFrameCount());
    EXPECT_EQ(wxSize(3, 3), gif->GetSize());
    gif->Draw();
    // destroying a playing control joins its thread first
    gif->Destroy();
    kvtest::PumpUi(10ms);
}

TEST_F(ControlsGuiTest, StillPicturesShowWithoutAThread) {
    const auto one = GifBytes(5, 5).Frame({.width = 5, .height = 5, .colour = kvtest::kRed}).Bytes();
    wxImage png(7, 3);
    png.SetRGB(wxRect(0, 0, 7, 3), 0, 255, 0);
    wxMemoryOutputStream out;
    ASSERT_TRUE(png.SaveFile(out, wxBITMAP_TYPE_PNG));
    std::vector<std::uint8_t> pngBytes(out.GetSize());
    out.CopyTo(pngBytes.data(), pngBytes.size());

    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool isGif;
        wxSize size;
        std::uint32_t pixel;
    } cases[] = {{"one-frame GIF", one, true, {5, 5}, kRedPixel},
                 {"PNG", pngBytes, false, {7, 3}, kGreenPixel}};
    for (const auto& c : cases) {
        auto* gif = new CAnimatedGifStatic(frame, wxID_ANY);
        ASSERT_TRUE(gif->Load(c.bytes)) << c.what;
        EXPECT_EQ(c.isGif, gif->IsGIF()) << c.what;
        EXPECT_FALSE(gif->IsAnimatedGIF()) << c.what;
        EXPECT_EQ(0, gif->GetFrameCount()) << c.what;
        EXPECT_EQ(c.size, gif->GetSize()) << c.what;
        gif->Draw();
        EXPECT_FALSE(gif->IsPlaying()) << c.what;
        EXPECT_EQ(c.pixel, gif->SurfacePixel(1, 1)) << c.what;
    }
}

TEST_F(ControlsGuiTest, BrokenDataLoadsNothing) {
    auto cut = ThreeFrames();
    cut.resize(30);
    const std::vector<std::uint8_t> junk = {'G', 'I', 'F', '8', '9', 'a', 1};
    auto* gif = new CAnimatedGifStatic(frame, wxID_ANY);
    for (const auto& bytes : {cut, junk, std::vector<std::uint8_t>{1, 2, 3, 4}, std::vector<std::uint8_t>{}}) {
        EXPECT_FALSE(gif->Load(bytes));
        EXPECT_FALSE(gif->IsLoaded());
        EXPECT_FALSE(gif->IsGIF());
    }
    EXPECT_FALSE(gif->LoadFromResource("NO_SUCH_PICTURE"));
    ASSERT_TRUE(gif->LoadFromResource(509u));
    EXPECT_EQ(8, gif->GetFrameCount());
}

// A few bytes that declare a huge picture are refused before anything is
// decoded or a surface of that size is made.
TEST_F(ControlsGuiTest, PicturesDeclaringAHugeSizeLoadNothing) {
    const std::vector<std::uint8_t> huge = kvtest::GifBytes(65535, 65535).Frame({}).Bytes();
    const std::vector<std::uint8_t> wideFrames =
        kvtest::GifBytes(8, 8).Frame({0, 0, 65535, 1}).Frame({0, 0, 1, 65535}).Bytes();
    auto* gif = new CAnimatedGifStatic(frame, wxID_ANY);
    for (const auto& bytes : {huge, wideFrames}) {
        EXPECT_FALSE(gif->Load(bytes));
        EXPECT_FALSE(gif->IsLoaded());
        EXPECT_EQ(gif->GetSize(), wxSize(0, 0));
        CPictureImage picture;
        EXPECT_FALSE(picture.LoadFromBuffer(bytes.data(), bytes.size()));
    }
    EXPECT_TRUE(gif->Load(kvtest::GifBytes(8, 8).Frame({}).Bytes())) << "a small one still loads";
}

TEST_F(ControlsGuiTest, BackgroundColourFillsTheSurface) {
    auto* gif = new CAnimatedGifStatic(frame, wxID_ANY);
    gif->SetBkColor(RGB(1, 2, 3));
    EXPECT_NE(RGB(1, 2, 3), gif->GetBkColor()) << "nothing loaded: nothing stored";
    ASSERT_TRUE(gif->Load(ThreeFrames()));
    gif->SetBkColor(RGB(0, 0, 255));
    EXPECT_EQ(RGB(0, 0, 255), gif->GetBkColor());
    EXPECT_EQ(0x0000FFu, gif->SurfacePixel(5, 3));
    gif->SetPaintRect(wxRect(1, 1, 2, 2));
    gif->Refresh();
    gif->Update();
    gif->UnLoad();
    EXPECT_TRUE(gif->GetPaintRect().IsEmpty());
    EXPECT_EQ(RGB(255, 255, 255), gif->GetBkColor());
}

TEST_F(ControlsGuiTest, PictureImageLoadsRendersAndSizes) {
    CPictureImage picture;
    EXPECT_EQ(wxSize(0, 0), picture.GetSize());
    wxBitmap target(100, 100);
    wxMemoryDC dc(target);
    EXPECT_FALSE(picture.Render(dc, 0, 0));
    EXPECT_FALSE(picture.LoadFromResource("GIF", 99999u));
    const auto red = GifBytes(4, 4).Frame({.width = 4, .height = 4, .colour = kvtest::kRed}).Bytes();
    ASSERT_TRUE(picture.LoadFromBuffer(red.data(), red.size()));
    EXPECT_EQ(wxSize(4, 4), picture.GetSize(&dc));
    ASSERT_TRUE(picture.Render(dc, 10, 10, 2.0));
    wxColour colour;
    dc.GetPixel(17, 17, &colour);
    EXPECT_EQ(wxColour(255, 0, 0), colour) << "scaled by 2: 8 x 8 from (10,10)";
    ASSERT_TRUE(picture.LoadFromResource("GIF", 371u));
    EXPECT_EQ(wxSize(640, 440), picture.GetSize());
}

TEST_F(ControlsGuiTest, GifButtonFacesDefaultToNormalAndSizeTheButton) {
    auto* button = new CGifButton(frame, 1138);
    CPictureImage face;
    ASSERT_TRUE(face.LoadFromResource("GIF", 502u));
    const wxSize faceSize = face.GetSize();
    EXPECT_EQ(platform::S_OK, button->SetImages(502, -1, -1, -1));
    EXPECT_EQ(502, button->DisabledId());
    EXPECT_EQ(502, button->FourthId());
    EXPECT_EQ(faceSize, button->GetSize());
    int clicks = 0;
    frame->Bind(wxEVT_BUTTON, [&](wxCommandEvent& e) { clicks += e.GetId() == 1138; });
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.SetPosition({5, 5});
    button->ProcessWindowEvent(down);
    EXPECT_TRUE(button->IsPushed());
    EXPECT_EQ(faceSize, button->CurrentImage().GetSize()) << "no pushed face: the normal one";
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetPosition({5, 5});
    button->ProcessWindowEvent(up);
    EXPECT_EQ(1, clicks);
    button->Disable();
    EXPECT_EQ(faceSize, button->CurrentImage().GetSize()) << "disabled shows the normal face";
    EXPECT_EQ(platform::E_FAIL, button->SetImages(455, 99999, -1, -1));
}

TEST_F(ControlsGuiTest, NamedGifButtonFacesLoadWhatExists) {
    const auto face = GifBytes(30, 12).Frame({.width = 30, .height = 12}).Bytes();
    static std::vector<std::uint8_t> kept;
    kept = face;
    platform::RegisterResource("GIF", "IDR_TEST_FACE", platform::ResourceBytes(kept.data(), kept.size()));
    auto* button = new CGifButton(frame, wxID_ANY);
    EXPECT_EQ(platform::S_OK, button->SetImages("IDR_TEST_FACE", "IDR_TEST_FACE_OVER"));
    EXPECT_EQ(wxSize(30, 12), button->GetSize());
}

TEST_F(ControlsGuiTest, TooltipSitsAboveOrBelowTheControlUnderTheMouse) {
    auto* control = new wxWindow(frame, wxID_ANY, wxPoint(50, 150), wxSize(100, 40));
    auto* tip = new CToolTipCtrlEx();
    ASSERT_TRUE(tip->Create(frame));
    tip->AddTool(control, "first line\r\nsecond");
    kvtest::PumpUi(20ms);
    const wxRect area = control->GetScreenRect();

    ASSERT_TRUE(tip->ShowTipAt(control, wxPoint(10, 35)));
    EXPECT_EQ("first line\r\nsecond", tip->CurrentText());
    EXPECT_EQ(area.GetTop(), tip->GetScreenRect().GetBottom() + 1) << "lower half: above";
    const int twoLines = tip->GetSize().y;

    ASSERT_TRUE(tip->ShowTipAt(control, wxPoint(10, 5)));
    EXPECT_EQ(area.GetBottom() + 1, tip->GetScreenRect().GetTop()) << "upper half: below";
    EXPECT_EQ(area.GetLeft() + 10, tip->GetScreenRect().GetLeft());

    tip->AddTool(control, "one");
    ASSERT_TRUE(tip->ShowTipAt(control, wxPoint(10, 5)));
    EXPECT_GT(twoLines, tip->GetSize().y);
    tip->Activate(false);
    EXPECT_EQ("", tip->CurrentText());
    EXPECT_FALSE(tip->ShowTipAt(control, wxPoint(10, 5)));
}

TEST_F(ControlsGuiTest, SortListSortsAscendingOnEveryClickAndRenumbers) {
    auto* list = new CSortList(frame, 1186, wxPoint(0, 0), wxSize(400, 200));
    list->InsertColumn(0, "Request No.");
    list->InsertColumn(1, "Program");
    const char* programs[] = {"mozilla", "Opera", "kazaa", "opera"};
    for (long i = 0; i < 4; ++i) {
        list->InsertItem(i, std::to_string(i + 1));
        list->SetItem(i, 1, programs[i]);
    }
    for (long i = 0; i < 4; ++i) {
        EXPECT_EQ(i, static_cast<long>(list->GetItemData(i))) << "a new row carries its index";
    }
    list->SetUseRowImages(true);
    list->SetupHeader();
    ASSERT_NE(nullptr, list->Header().GetHeader());
    ASSERT_NE(nullptr, list->ToolTip());
    const wxRect second = list->Header().ItemRect(1);
    ASSERT_TRUE(list->ToolTip()->ShowTipAt(list->Header().GetHeader(), second.GetPosition() + wxPoint(2, 2)));
    EXPECT_EQ("Click to sort by Program", list->ToolTip()->CurrentText());
    list->ToolTip()->Pop();

    for (int click = 0; click < 2; ++click) {
        list->SortByColumn(1);
        std::vector<std::string> shown;
        for (long i = 0; i < 4; ++i) {
            shown.push_back(list->GetItemText(i, 1).ToStdString());
            EXPECT_EQ(i, static_cast<long>(list->GetItemData(i)));
        }
        EXPECT_EQ((std::vector<std::string>{"Opera", "kazaa", "mozilla", "opera"}), shown) << click;
        EXPECT_EQ("3", list->GetItemText(1, 0).ToStdString()) << "rows move whole";
    }
    list->DeleteItem(0);
    kvtest::PumpUi(10ms);
    for (long i = 0; i < list->GetItemCount(); ++i) {
        EXPECT_EQ(i, static_cast<long>(list->GetItemData(i)));
    }
}

TEST_F(ControlsGuiTest, SortListHeadingsAreNeverCutAndHiddenColumnsStayHidden) {
    auto* list = new CSortList(frame, 1094, wxPoint(0, 0), wxSize(600, 200));
    list->InsertColumn(0, "Rank", wxLIST_FORMAT_LEFT, 80);
    list->InsertColumn(1, "Response Time", wxLIST_FORMAT_LEFT, 70);
    list->InsertColumn(2, "Anonymity", wxLIST_FORMAT_LEFT, 0);
    list->SetupHeader();
    ASSERT_NE(nullptr, list->Header().GetHeader());
    EXPECT_EQ(80, list->GetColumnWidth(0)) << "a column wide enough keeps its width";
    EXPECT_GE(list->GetColumnWidth(1), list->Header().FittingWidth("Response Time"));
    EXPECT_GT(list->Header().FittingWidth("Response Time"), 70) << "the case shows the fault it guards";
    EXPECT_EQ(0, list->GetColumnWidth(2));
}

TEST_F(ControlsGuiTest, ColourLabelOpensItsTextOnlyWhenTakingClicks) {
    std::vector<std::string> opened;
    auto* plain = new CColourLabel(frame, 1185, "http://a.example/");
    auto* link = new CColourLabel(frame, 1198, "http://b.example/", wxPoint(0, 30), wxDefaultSize,
                                  CStaticTextFlags::SS_NOTIFY);
    for (auto* label : {plain, link}) {
        label->SetOpener([&](const std::string& text) { opened.push_back(text); });
        wxMouseEvent down(wxEVT_LEFT_DOWN);
        label->ProcessWindowEvent(down);
    }
    EXPECT_EQ((std::vector<std::string>{"http://b.example/"}), opened);
    plain->SetLink(true);
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    plain->ProcessWindowEvent(down);
    EXPECT_EQ(2u, opened.size());

    link->SetTextColor(0xDD7B4E).SetBkColor(0xFFFEFD).SetFontBold(true).SetFontName("DejaVu Sans").SetFontSize(12);
    EXPECT_EQ(700, link->Model().mFont.weight);
    EXPECT_EQ(-12, link->Model().mFont.height);
    EXPECT_EQ(0xFFFEFDu, link->Model().BrushColour());
    EXPECT_TRUE(link->LabelFont().IsOk());
}

TEST_F(ControlsGuiTest, ColourLabelTextFlashBlinksOnItsTimer) {
    auto* label = new CColourLabel(frame, wxID_ANY, "Warning: ");
    label->FlashText(true);
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return label->GetLabel().empty(); }, 2s));
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return label->GetLabel() == "Warning: "; }, 2s));
    label->FlashText(false);
    EXPECT_EQ("Warning: ", label->GetLabel());
}

TEST_F(ControlsGuiTest, ZonesAndGroupBoxesPaintAndZonesReportClicks) {
    bool mixed = false;
    CRoundGroupBox::SetMixChainSource([&] { return mixed; });
    auto* box = new CRoundGroupBox(frame, 1234, "Chain Activity", wxPoint(10, 10), wxSize(200, 120));
    auto* empty = new CRoundGroupBox(frame, wxID_ANY, "", wxPoint(220, 10), wxSize(100, 80));
    auto* zone = new CTransparentStatic(frame, 1239, "", wxPoint(20, 20), wxSize(80, 30));
    auto* text = new CTransparentStatic(frame, 1236, "This is a listing", wxPoint(20, 60), wxSize(80, 40),
                                        CStaticTextFlags::SS_CENTER);
    EXPECT_FALSE(CRoundGroupBox::MixChainAllowed());
    for (wxWindow* w : std::initializer_list<wxWindow*>{box, empty, zone, text}) {
        w->Refresh();
        w->Update();
    }
    int clicks = 0;
    frame->Bind(wxEVT_BUTTON, [&](wxCommandEvent& e) { clicks += e.GetId() == 1239; });
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetPosition({3, 3});
    zone->ProcessWindowEvent(up);
    EXPECT_EQ(1, clicks);
    CRoundGroupBox::SetMixChainSource({});
    EXPECT_TRUE(CRoundGroupBox::MixChainAllowed());
}

}  // namespace
