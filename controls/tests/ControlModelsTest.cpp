#include <gtest/gtest.h>

#include "support/TempRoot.h"

#include "controls/CColourLabelModel.h"
#include "controls/CEditFilter.h"
#include "controls/CRoundGroupBoxLayout.h"
#include "controls/CSortRows.h"
#include "controls/CStaticTextFlags.h"
#include "controls/CTipLayout.h"

namespace {

class CTipLayoutTest : public kvtest::RootedTest {};
class CSortRowsTest : public kvtest::RootedTest {};
class CColourLabelModelTest : public kvtest::RootedTest {};
class CStaticTextFlagsTest : public kvtest::RootedTest {};
class CRoundGroupBoxLayoutTest : public kvtest::RootedTest {};

TEST_F(CTipLayoutTest, SplitsAtLineBreaksAndDropsCarriageReturns) {
    EXPECT_EQ((std::vector<std::string>{"one"}), CTipLayout::Lines("one"));
    EXPECT_EQ((std::vector<std::string>{"one", "two", ""}), CTipLayout::Lines("one\r\ntwo\n"));
    EXPECT_EQ((std::vector<std::string>{"ab"}), CTipLayout::Lines("a\rb"));
}

TEST_F(CTipLayoutTest, ShowsAboveFromLowerHalfAndBelowFromUpperHalf) {
    // control from y 100 to 140; three lines of 13 pixels: 43 high
    const auto above = CTipLayout::Place(50, 130, 100, 140, 80, 3, 13, 1024);
    EXPECT_EQ(100, above.bottom);
    EXPECT_EQ(57, above.top);
    const auto below = CTipLayout::Place(50, 110, 100, 140, 80, 3, 13, 1024);
    EXPECT_EQ(140, below.top);
    EXPECT_EQ(183, below.bottom);
    EXPECT_EQ(50, below.left);
    EXPECT_EQ(50 + 80 + 2 + 20, below.right);
}

TEST_F(CTipLayoutTest, KeepsTwentyFivePixelsInsideTheRightEdge) {
    const auto r = CTipLayout::Place(950, 110, 100, 140, 200, 1, 13, 1024);
    EXPECT_EQ(1024 - 25, r.right);
    EXPECT_EQ(222, r.Width());
    const auto inside = CTipLayout::Place(10, 110, 100, 140, 200, 1, 13, 1024);
    EXPECT_EQ(10, inside.left);
}

TEST_F(CSortRowsTest, SortsByColumnBytewiseAndKeepsWhatRowsCarry) {
    std::vector<CSortRows::Row> rows = {
        {{"3", "beta"}, 0, 0, 30},
        {{"1", "Zulu"}, 1, 0, 10},
        {{"2", "alpha"}, 2, 0, 20},
        {{"4"}, 3, 0, 40},
    };
    CSortRows::Sort(rows, 1);
    std::vector<std::intptr_t> data;
    for (const auto& row : rows) data.push_back(row.data);
    // "" < "Zulu" < "alpha" < "beta": upper case sorts before lower case
    EXPECT_EQ((std::vector<std::intptr_t>{40, 10, 20, 30}), data);
    EXPECT_EQ(1, rows[1].image);
}

TEST_F(CSortRowsTest, SortingTwiceStaysAscendingAndStable) {
    std::vector<CSortRows::Row> rows = {{{"b", "1"}}, {{"a", "2"}}, {{"b", "3"}}, {{"a", "4"}}};
    CSortRows::Sort(rows, 0);
    const auto once = rows;
    CSortRows::Sort(rows, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(once[i].texts, rows[i].texts);
    }
    EXPECT_EQ("2", rows[0].texts[1]);
    EXPECT_EQ("4", rows[1].texts[1]);
    EXPECT_EQ("1", rows[2].texts[1]);
}

CColourLabelModel Label() {
    return CColourLabelModel(RGB(0, 0, 0), RGB(1, 2, 3), RGB(9, 9, 9), {});
}

TEST_F(CColourLabelModelTest, FaceNameKeepsThirtyOneCharacters) {
    auto label = Label();
    const std::string name31(31, 'x');
    label.SetFaceName(name31);
    EXPECT_EQ(name31, label.mFont.faceName);
    label.SetFaceName(name31 + "yz");
    EXPECT_EQ(name31, label.mFont.faceName);
}

TEST_F(CColourLabelModelTest, TextFlashBlinksAndStopRestoresTheText) {
    auto label = Label();
    const auto start = label.FlashText(true, "Hello");
    EXPECT_TRUE(start.startTimer);
    EXPECT_EQ(std::optional<std::string>(""), label.Tick().text);
    EXPECT_EQ(std::optional<std::string>("Hello"), label.Tick().text);
    EXPECT_EQ(std::optional<std::string>(""), label.Tick().text);
    const auto stop = label.FlashText(false, "");
    EXPECT_TRUE(stop.stopTimer);
    EXPECT_FALSE(stop.startTimer);
    EXPECT_EQ(std::optional<std::string>("Hello"), stop.text);
    EXPECT_FALSE(label.mFlashing);
}

TEST_F(CColourLabelModelTest, RestartingATextFlashWhileHiddenKeepsTheText) {
    auto label = Label();
    label.FlashText(true, "Hello");
    ASSERT_EQ(std::optional<std::string>(""), label.Tick().text);
    const auto restart = label.FlashText(true, "");
    EXPECT_EQ(std::optional<std::string>("Hello"), restart.text);
    EXPECT_EQ("Hello", label.mSavedText);
}

TEST_F(CColourLabelModelTest, BackgroundFlashAlternatesBrushesAndStopsOnTheLabelsColour) {
    auto label = Label();
    label.FlashBackground(true);
    EXPECT_EQ(RGB(9, 9, 9), label.BrushColour());
    EXPECT_TRUE(label.Tick().repaint);
    EXPECT_EQ(RGB(1, 2, 3), label.BrushColour());
    label.Tick();
    EXPECT_EQ(RGB(9, 9, 9), label.BrushColour());
    const auto stop = label.FlashBackground(false);
    EXPECT_TRUE(stop.stopTimer);
    EXPECT_FALSE(stop.text) << "a background flash has no text to put back";
    EXPECT_EQ(RGB(1, 2, 3), label.BrushColour());
}

TEST_F(CStaticTextFlagsTest, MapsStaticStylesToDrawingFlags) {
    using F = CStaticTextFlags;
    const struct {
        platform::DWORD style;
        platform::DWORD flags;
    } cases[] = {
        {0, F::DT_LEFT | F::DT_WORDBREAK},
        {F::SS_RIGHT, F::DT_RIGHT | F::DT_WORDBREAK},
        {F::SS_CENTER | F::SS_NOPREFIX, F::DT_CENTER | F::DT_NOPREFIX | F::DT_WORDBREAK},
        {F::SS_CENTERIMAGE, F::DT_VCENTER | F::DT_SINGLELINE},
        {F::SS_LEFTNOWORDWRAP, F::DT_LEFT},
        {F::SS_ENDELLIPSIS, F::DT_WORD_ELLIPSIS | F::DT_END_ELLIPSIS},
        {F::SS_PATHELLIPSIS, F::DT_WORD_ELLIPSIS | F::DT_PATH_ELLIPSIS},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.flags, F::FromStyle(c.style)) << std::hex << c.style;
    }
}

TEST_F(CRoundGroupBoxLayoutTest, CaptionGapFollowsAlignment) {
    using L = CRoundGroupBoxLayout;
    const struct {
        platform::DWORD style;
        int from, to;
    } cases[] = {{0, 10, 60}, {L::BS_LEFT, 10, 60}, {L::BS_RIGHT, 140, 190}, {L::BS_CENTER, 75, 125}};
    for (const auto& c : cases) {
        const auto gap = L::CaptionGap(c.style, 0, 200, 50, false);
        ASSERT_TRUE(gap);
        EXPECT_EQ(c.from, gap->from) << c.style;
        EXPECT_EQ(c.to, gap->to) << c.style;
    }
    EXPECT_FALSE(L::CaptionGap(0, 0, 200, 12, true)) << "an empty caption leaves the top edge whole";
    EXPECT_EQ(0xC0C0C0u, L::FrameColour(true));
    EXPECT_EQ(0xFAEC9Bu, L::FrameColour(false));
}

}  // namespace

namespace {

class EditFilterTest : public kvtest::RootedTest {};

TEST_F(EditFilterTest, PassesTheAllowedCharactersInOrderUpToTheRoom) {
    struct Case {
        const char* text;
        std::string_view allowed;
        std::size_t room;
        const char* passed;
    };
    const Case cases[] = {
        {"192.168.0.1", CEditFilter::kAddressCharacters, 15, "192.168.0.1"},
        {" 10.0.0.1:8080 ", CEditFilter::kAddressCharacters, 15, "10.0.0.18080"},
        {"255.255.255.255.255", CEditFilter::kAddressCharacters, 15, "255.255.255.255"},
        {"1,5e3", CEditFilter::kDigits, 100, "153"},
        {"\xc2\xb2" "7", CEditFilter::kDigits, 100, "7"},
        {"123", CEditFilter::kDigits, 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(CEditFilter::Pass(c.text, c.allowed, c.room), c.passed) << c.text;
}

}  // namespace
