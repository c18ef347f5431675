#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "panel/pages/PageText.h"
#include "platform/InternetConnection.h"

namespace {

TEST(PageTextTest, NumbersAreReadAsTheCLibraryReadsThemWithoutOverflow) {
    const std::pair<const char*, int> cases[] = {
        {"8080", 8080}, {"  42", 42}, {"12ab", 12}, {"", 0}, {"abc", 0}, {"-7", -7}, {"+9", 9},
        {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}};
    for (auto [text, value] : cases) EXPECT_EQ(AsciiToInt(text), value) << text;
}

TEST(PageTextTest, TipsComeFromThePanelsStringTable) {
    EXPECT_EQ(PageString(1), "Are you sure you want to delete all the proxy list?");
    EXPECT_EQ(PageString(1013), "Clear the view above. ") << "texts keep their trailing blanks";
    EXPECT_EQ(PageString(1104),
              "Type negotiation time out for the proxy servers. (If the proxy didn\u2019t respond during "
              "this time, it is considered non-functional)");
}

TEST(PageTextTest, LogLinesShowOneBreakEachWhateverTheirEnding) {
    const std::pair<const char*, const char*> cases[] = {
        {"Connecting...\r\r\nSending request...\r\r\n", "Connecting...\nSending request...\n"},
        {"\r\n---User has stopped hunting-----\r\n\r\n", "\n---User has stopped hunting-----\n\n"},
        {"a\rb", "ab"},
        {"", ""}};
    for (auto [log, shown] : cases) EXPECT_EQ(EditLineBreaks(log), shown) << log;
}

TEST(PageTextTest, OnlyTheOfflineFlagAloneOrNoConnectionCountsAsOffline) {
    const std::pair<platform::DWORD, bool> cases[] = {
        {0, false},
        {platform::INTERNET_CONNECTION_OFFLINE, false},
        {platform::INTERNET_CONNECTION_LAN, true},
        {platform::INTERNET_CONNECTION_LAN | platform::INTERNET_CONNECTION_OFFLINE, true}};
    for (auto [flags, connected] : cases) {
        platform::internet_test::SetConnectedState(flags);
        EXPECT_EQ(IsInternetConnected(), connected) << flags;
    }
    platform::internet_test::SetConnectedState(std::nullopt);
}

}  // namespace
