#include <gtest/gtest.h>

#include "FakePageHost.h"
#include "panel/pages/CSubPageSwitch.h"

namespace {

using Calls = std::vector<std::string>;

class SubPageSwitchTest : public ::testing::Test {
protected:
    pagetest::FakeFrame frame_;
    CSubPageSwitch switch_{frame_, {{1246, 148, 181}, {1247, 550, 543}, {1248, 434, 180}}};
};

TEST_F(SubPageSwitchTest, ASwitchClosesTheOldPageThenShowsTheHeaderThenMakesTheNewOne) {
    EXPECT_TRUE(switch_.Show(550));
    EXPECT_EQ(frame_.calls, (Calls{"header 543", "create 550", "place", "refresh"}));
    frame_.calls.clear();
    EXPECT_TRUE(switch_.OnZone(1248));
    EXPECT_EQ(frame_.calls, (Calls{"close", "header 180", "create 434", "place", "refresh"}));
    EXPECT_EQ(switch_.Shown(), 434);
}

TEST_F(SubPageSwitchTest, TheZoneOfThePageShownDoesNothing) {
    switch_.OnZone(1246);
    frame_.calls.clear();
    EXPECT_FALSE(switch_.OnZone(1246));
    EXPECT_FALSE(switch_.OnZone(9999));
    EXPECT_TRUE(frame_.calls.empty());
}

TEST_F(SubPageSwitchTest, AFailedPageLeavesTheFrameEmptyUnderTheNewHeaderAndCanBeTriedAgain) {
    switch_.Show(148);
    frame_.createSucceeds = false;
    frame_.calls.clear();
    EXPECT_TRUE(switch_.Show(550));
    EXPECT_EQ(frame_.calls, (Calls{"close", "header 543", "create 550", "refresh"}));
    EXPECT_FALSE(switch_.HasPage());
    frame_.calls.clear();
    switch_.Close();
    EXPECT_TRUE(frame_.calls.empty()) << "nothing to close";
    frame_.createSucceeds = true;
    EXPECT_TRUE(switch_.Show(550));
    EXPECT_EQ(switch_.Shown(), 550);
}

}  // namespace
