#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "logs/LogSinks.h"
#include "relay/engine/EngineMessages.h"
#include "relay/logs/CFiltrationLogger.h"

namespace {

using logtest::RecordingText;

class FiltrationLoggerTest : public logtest::LogTest {
protected:
    std::string Text() const {
        RecordingText edit;
        edit.text = "old text";
        log_.AddToLog(edit);
        EXPECT_EQ(edit.writes, 1);
        return edit.text;
    }

    CFiltrationLogger log_;
};

TEST_F(FiltrationLoggerTest, EachCounterHasItsOwnLineInMemberOrder) {
    log_.IncrementBlockedImages(1);
    log_.IncrementBlockedPopUps(2);
    log_.IncrementFlashBanners(3);
    log_.IncrementAdsWindows(4);
    log_.IncrementBlockedServers(5);
    log_.IncrementStatusBars(6);
    log_.IncrementContextMenuDisablers(7);
    log_.IncrementCookies(8);
    EXPECT_EQ(Text(),
              "The number of blocked images is : 1\r\n"
              "The number of blocked popup windows is : 2\r\n"
              "The number of blocked flash banners is : 3\r\n"
              "The number of blocked Ad windows is:4\r\n"
              "The number of blocked servers is : 5\r\n"
              "The number of blocked status bars is : 6\r\n"
              "The number of blocked context menus are : 7\r\n"
              "The number of blocked cookies are : 8\r\n");
}

TEST_F(FiltrationLoggerTest, CookiesAddUpAndResetReturnsEveryCounterToZero) {
    log_.IncrementCookies(3);
    log_.IncrementCookies(3);
    EXPECT_NE(Text().find("The number of blocked cookies are : 6\r\n"), std::string::npos);
    log_.IncrementBlockedServers(2);
    log_.ResetLog();
    EXPECT_EQ(Text(),
              "The number of blocked images is : 0\r\n"
              "The number of blocked popup windows is : 0\r\n"
              "The number of blocked flash banners is : 0\r\n"
              "The number of blocked Ad windows is:0\r\n"
              "The number of blocked servers is : 0\r\n"
              "The number of blocked status bars is : 0\r\n"
              "The number of blocked context menus are : 0\r\n"
              "The number of blocked cookies are : 0\r\n");
}

TEST_F(FiltrationLoggerTest, CountersWrapOnOverflow) {
    log_.IncrementBlockedImages(INT_MAX);
    log_.IncrementBlockedImages(1);
    EXPECT_TRUE(Text().starts_with("The number of blocked images is : " + std::to_string(INT_MIN) + "\r\n"));
}

TEST_F(FiltrationLoggerTest, EveryChangePostsWhileAWindowIsAttached) {
    log_.IncrementCookies(1);
    log_.Attach(view_.hwnd());
    log_.UpdateView();
    log_.IncrementBlockedImages(1);
    log_.IncrementBlockedPopUps(1);
    log_.IncrementFlashBanners(1);
    log_.IncrementAdsWindows(1);
    log_.IncrementBlockedServers(1);
    log_.IncrementStatusBars(1);
    log_.IncrementContextMenuDisablers(1);
    log_.IncrementCookies(1);
    log_.ResetLog();
    log_.Dettach();
    log_.IncrementCookies(1);
    Settle();
    EXPECT_EQ(view_.Count(WM_RELAY_FILTERLOG_CHANGED), 10);
    EXPECT_EQ(Posted().size(), 10u);
    EXPECT_NE(Text().find("cookies are : 1\r\n"), std::string::npos);
}

TEST_F(FiltrationLoggerTest, ACopyTakesTheCounters) {
    log_.IncrementStatusBars(4);
    CFiltrationLogger copy(log_);
    log_.ResetLog();
    RecordingText edit;
    copy.AddToLog(edit);
    EXPECT_NE(edit.text.find("status bars is : 4\r\n"), std::string::npos);
}

}  // namespace
