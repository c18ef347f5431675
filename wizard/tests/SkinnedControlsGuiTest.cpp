#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include <wx/frame.h>

#include "GuiTest.h"
#include "RealInput.h"
#include "ScreenCheck.h"
#include "platform/Resource.h"
#include "wizard/CGifButton.h"
#include "wizard/CPictureImage.h"

namespace wizard {
namespace {

class SkinnedControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = new wxFrame(nullptr, wxID_ANY, "controls", wxDefaultPosition, wxSize(300, 200));
        frame_->Show();
    }
    void TearDown() override { frame_->Destroy(); }

    static bool SameImage(const CPictureImage& a, const CPictureImage& b) {
        const wxImage& x = a.Picture();
        const wxImage& y = b.Picture();
        return x.IsOk() && y.IsOk() && x.GetSize() == y.GetSize() &&
               std::equal(x.GetData(), x.GetData() + x.GetWidth() * x.GetHeight() * 3, y.GetData());
    }

    wxFrame* frame_ = nullptr;
};

TEST_F(SkinnedControlsTest, PictureLoadsNamedResourcesAndRefusesMissingOrBrokenOnes) {
    CPictureImage picture;
    EXPECT_TRUE(picture.LoadFromResource("IDR_NEXT", "GIF"));
    EXPECT_EQ(picture.GetSize(), wxSize(80, 26));
    static const std::uint8_t kBroken[] = {'G', 'I', 'F', '8', '9', 'a', 1};
    platform::RegisterResource("GIF", "IDR_BROKEN", kBroken);
    for (const char* name : {"IDR_NOWHERE", "IDR_BROKEN"}) {
        EXPECT_FALSE(picture.LoadFromResource(name, "GIF")) << name;
        EXPECT_TRUE(picture.IsEmpty()) << "an earlier picture is released first";
        EXPECT_EQ(picture.GetSize(), wxSize(0, 0));
    }
}

TEST_F(SkinnedControlsTest, ButtonTakesItsNormalFaceSizeAtOnceWhenFacesChange) {
    auto* button = new CGifButton(frame_, 1001, wxPoint(10, 10));
    EXPECT_EQ(button->SetImages("IDR_NEXT", "IDR_NEXT_OVER"), 0);
    EXPECT_EQ(button->GetSize(), wxSize(80, 26));
    EXPECT_EQ(button->DisabledName(), "IDR_NEXT") << "no disabled name takes the normal one";
    button->SetImages(platform::ResourceNumber(349), platform::ResourceNumber(349));
    EXPECT_EQ(button->GetSize(), wxSize(80, 32));
    EXPECT_EQ(button->GetPosition(), wxPoint(10, 10));
    EXPECT_EQ(button->SetImages("IDR_NOWHERE", "IDR_NEXT_OVER"), 0) << "a face that fails is not reported";
    EXPECT_TRUE(button->CurrentFace().IsEmpty());
}

TEST_F(SkinnedControlsTest, ButtonShowsPressedFaceWhileHeldAndClicksOnReleaseInside) {
    auto* button = new CGifButton(frame_, 1001, wxPoint(10, 10));
    button->SetImages("IDR_BACK", "IDR_BACK_OVER");
    int clicks = 0;
    frame_->Bind(wxEVT_BUTTON, [&](wxCommandEvent& event) { clicks += event.GetId() == 1001; });
    CPictureImage normal;
    CPictureImage pressed;
    ASSERT_TRUE(normal.LoadFromResource("IDR_BACK", "GIF"));
    ASSERT_TRUE(pressed.LoadFromResource("IDR_BACK_OVER", "GIF"));
    ASSERT_FALSE(SameImage(normal, pressed));
    ASSERT_TRUE(kvtest::WaitUntilDrawn(*frame_));

    const wxRect at = kvtest::OnScreen(*button);
    const wxPoint inside = at.GetPosition() + wxPoint(5, 5);
    EXPECT_TRUE(SameImage(button->CurrentFace(), normal));
    kvtest::PressOnScreen(inside);
    ASSERT_TRUE(kvtest::PumpUiUntil([&] { return button->IsPressed(); }));
    EXPECT_TRUE(SameImage(button->CurrentFace(), pressed));
    kvtest::MoveOnScreen(at.GetPosition() + wxPoint(200, 5));
    kvtest::PumpUi(std::chrono::milliseconds(50));
    kvtest::ReleaseOnScreen();
    ASSERT_TRUE(kvtest::PumpUiUntil([&] { return !button->IsPressed(); }));
    EXPECT_EQ(clicks, 0) << "released outside: no click";
    EXPECT_TRUE(SameImage(button->CurrentFace(), normal));
    kvtest::ClickOnScreen(inside);
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return clicks == 1; }));

    button->Disable();
    kvtest::ClickOnScreen(inside);
    kvtest::PumpUi(std::chrono::milliseconds(200));
    EXPECT_EQ(clicks, 1) << "a disabled button does not click";
    EXPECT_TRUE(SameImage(button->CurrentFace(), normal)) << "the disabled face is the normal one";
}

TEST_F(SkinnedControlsTest, SameFaceForBothStatesLooksTheSame) {
    auto* button = new CGifButton(frame_, 1000, wxPoint(10, 10));
    button->SetImages("IDR_BACK_INACTIVE", "IDR_BACK_INACTIVE");
    ASSERT_TRUE(kvtest::WaitUntilDrawn(*frame_));
    const CPictureImage& before = button->CurrentFace();
    kvtest::PressOnScreen(kvtest::OnScreen(*button).GetPosition() + wxPoint(5, 5));
    ASSERT_TRUE(kvtest::PumpUiUntil([&] { return button->IsPressed(); }));
    EXPECT_TRUE(SameImage(button->CurrentFace(), before));
    kvtest::ReleaseOnScreen();
    EXPECT_TRUE(kvtest::PumpUiUntil([&] { return !button->IsPressed(); }));
}

}  // namespace
}  // namespace wizard
