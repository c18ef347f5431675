// The proxy record: initial state, conversions, row input and output.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Sockets.h"
#include "pool/PoolFixture.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/ProxyAddress.h"

namespace {

using pooltest::RecordingList;

TEST(ProxyRecord, StartsEmptyAndResetsAsDocumented) {
    CProxy proxy;
    EXPECT_STREQ(proxy.getIP(), "");
    EXPECT_STREQ(proxy.getCountry(), "unknown");
    EXPECT_EQ(proxy.getType(), PROXY_TYPE_UNKNOWN);
    EXPECT_EQ(proxy.getListRow(), -1);

    proxy = CProxy("1.2.3.4", 8080, PROXY_TYPE_HTTPS, "Here");
    proxy.setRank(7);
    proxy.setResponseTime(5);
    proxy.setFailReason("timeout");
    proxy.setFailCount(3);
    proxy.setIsPrivate(true);
    proxy.setListRow(4);

    CProxy cleared(proxy);
    cleared.Clear();
    EXPECT_STREQ(cleared.getIP(), "");
    EXPECT_STREQ(cleared.getFailReason(), "");
    EXPECT_EQ(cleared.getFailCount(), 0);
    EXPECT_EQ(cleared.getPort(), 8080);
    EXPECT_TRUE(cleared.getIsPrivate());
    EXPECT_DOUBLE_EQ(cleared.getRank(), 200);

    CProxy set(proxy);
    set.Set("5.6.7.8", 1080, PROXY_TYPE_SOCKS5);
    EXPECT_STREQ(set.getIP(), "5.6.7.8");
    EXPECT_EQ(set.getPort(), 1080);
    EXPECT_EQ(set.getType(), PROXY_TYPE_SOCKS5);
    EXPECT_STREQ(set.getCountry(), "");
    EXPECT_EQ(set.getRank(), 0);
    EXPECT_EQ(set.getResponseTime(), 0);
    EXPECT_EQ(set.getFailCount(), 0);
    EXPECT_FALSE(set.getIsPrivate());
    EXPECT_EQ(set.getListRow(), -1);

    CProxy copy;
    copy = proxy;
    EXPECT_EQ(copy.getListRow(), 4);
    EXPECT_EQ(copy.getFailCount(), 3);
    EXPECT_STREQ(copy.getCountry(), "Here");
}

TEST(ProxyRecord, CutsTextsAtFiftyAndTakesNullAsEmpty) {
    CProxy proxy;
    proxy.setFailReason(std::string(80, 'x').c_str());
    EXPECT_EQ(std::string(proxy.getFailReason()), std::string(50, 'x'));
    proxy.setCountry(nullptr);
    EXPECT_STREQ(proxy.getCountry(), "");
}

TEST(ProxyRecord, RanksFromResponseTime) {
    const struct {
        double time;
        double rank;
    } cases[] = {{0, 1000}, {250, 4}, {2, 500}, {0.5, 2000}};
    for (const auto& c : cases) {
        CProxy proxy;
        proxy.setResponseTime(c.time);
        EXPECT_DOUBLE_EQ(proxy.getRank(), c.rank) << c.time;
        EXPECT_DOUBLE_EQ(proxy.getResponseTime(), c.time);
    }
}

TEST(ProxyRecord, NamesItsTypes) {
    const struct {
        int type;
        const char* text;
    } cases[] = {{1, "UNKNOWN"}, {2, "HTTP"}, {3, "HTTPS"}, {4, "SOCKS4"}, {5, "SOCKS5"},
                 {6, nullptr},   {0, nullptr}};
    for (const auto& c : cases) {
        CProxy proxy("a", 1, static_cast<eProxyType>(c.type));
        if (c.text) {
            EXPECT_STREQ(proxy.getTypeAsString(), c.text);
        } else {
            EXPECT_EQ(proxy.getTypeAsString(), nullptr) << c.type;
        }
    }
}

TEST(ProxyRecord, ReadsColumnsByPositionAndRanksFromTheWholeResponseTime) {
    const struct {
        const char* responseTime;
        double rank;
        double time;
    } cases[] = {{"0.000", 1000, 0}, {"250.000", 4, 250}, {"2.900", 500, 2}, {"abc", 1000, 0}};
    for (const auto& c : cases) {
        const char* values[] = {"9.8.7.6", "3128", "3",   "Land",  "77.5", c.responseTime,
                                "1",       "2024-01-02", "0", "1.1.1.1", "can't", "4", "extra"};
        CProxy proxy;
        ASSERT_TRUE(proxy.Read(values, 13));
        EXPECT_DOUBLE_EQ(proxy.getRank(), c.rank) << c.responseTime;
        EXPECT_DOUBLE_EQ(proxy.getResponseTime(), c.time);
        EXPECT_STREQ(proxy.getIP(), "9.8.7.6");
        EXPECT_EQ(proxy.getPort(), 3128);
        EXPECT_EQ(proxy.getType(), PROXY_TYPE_HTTPS);
        EXPECT_STREQ(proxy.getCountry(), "Land");
        EXPECT_TRUE(proxy.getIsAnonymous());
        EXPECT_STREQ(proxy.getTimeStamp(), "2024-01-02");
        EXPECT_FALSE(proxy.getNeedAuth());
        EXPECT_STREQ(proxy.getGateWay(), "1.1.1.1");
        EXPECT_STREQ(proxy.getFailReason(), "can't");
        EXPECT_EQ(proxy.getFailCount(), 4);
    }
}

TEST(ProxyRecord, ReadTakesNullAsEmptyAndNothingAsFailure) {
    const char* values[] = {"1.2.3.4", nullptr, "x", nullptr, "y"};
    CProxy proxy("old", 5, PROXY_TYPE_HTTP, "old");
    EXPECT_TRUE(proxy.Read(values, 5));
    EXPECT_EQ(proxy.getPort(), 0);
    EXPECT_EQ(proxy.getType(), 0);
    EXPECT_STREQ(proxy.getCountry(), "");
    EXPECT_EQ(proxy.getRank(), 0);
    EXPECT_FALSE(CProxy().Read(values, 0));
}

TEST(ProxyRecord, WritesTheTwelveColumnsInTableOrder) {
    CProxy proxy("10.1.2.3", 8080, PROXY_TYPE_SOCKS4, "C");
    proxy.setResponseTime(8);
    proxy.setIsAnonymous(true);
    proxy.setNeedAuth(true);
    proxy.setTimeStamp("2024-05-06");
    proxy.setGateWay("g");
    proxy.setFailReason("r");
    proxy.setFailCount(2);
    std::vector<std::string> names;
    std::vector<std::string> values;
    ASSERT_TRUE(proxy.Write(names, values));
    EXPECT_EQ(names, (std::vector<std::string>{"IP", "Port", "Type", "Country", "Rank",
                                               "ResponseTime", "Anonymous", "TimeStamp",
                                               "authonticate", "GateWay", "FailReason",
                                               "FailCount"}));
    EXPECT_EQ(values, (std::vector<std::string>{"10.1.2.3", "8080", "4", "C", "125.000", "8.000",
                                                "1", "2024-05-06", "1", "g", "r", "2"}));
}

TEST(ProxyRecord, ListRowHidesOnlyRanksOfMinusOneAndBelow) {
    const struct {
        double rank;
        bool hide;
        std::size_t rows;
    } cases[] = {{-1, true, 0}, {-3, true, 0}, {-0.5, true, 1}, {-1, false, 1}};
    for (const auto& c : cases) {
        RecordingList list;
        list.columns.assign(11, {"c", 10});
        CProxy proxy("1.2.3.4", 80, PROXY_TYPE_HTTP);
        proxy.setRank(c.rank);
        EXPECT_TRUE(proxy.Write(list, c.hide));
        EXPECT_EQ(list.items.size(), c.rows) << c.rank;
    }
}

TEST(ProxyRecord, ListRowFillsTheColumnsTheHeaderHas) {
    RecordingList list;
    list.columns.assign(11, {"c", 10});
    list.items.resize(2);
    CProxy proxy("1.2.3.4", 80, PROXY_TYPE_UNKNOWN, "C");
    proxy.setResponseTime(4);
    proxy.setNeedAuth(false);
    ASSERT_TRUE(proxy.Write(list, false));
    EXPECT_EQ(proxy.getListRow(), 2);
    const auto& item = list.items[2];
    EXPECT_EQ(item.image, 1);
    EXPECT_EQ(item.texts, (std::vector<std::string>{"1.2.3.4", "80", "UNKNOWN", "C", "250.000",
                                                    "4.000", "NO", "", "FALSE", "", ""}));

    RecordingList narrow;
    narrow.columns.assign(3, {"c", 10});
    CProxy https("5.6.7.8", 443, PROXY_TYPE_HTTPS);
    ASSERT_TRUE(https.Write(narrow, false));
    EXPECT_EQ(narrow.items[0].texts, (std::vector<std::string>{"5.6.7.8", "443", "HTTPS"}));
    EXPECT_EQ(narrow.items[0].image, 0);

    RecordingList closed;
    closed.window = false;
    EXPECT_FALSE(https.Write(closed, false));
}

TEST(ProxyRecord, StampsTheDateMinusTheCheckTimeInSeconds) {
    CProxy proxy;
    proxy.syncTimeStamp(0);
    EXPECT_EQ(std::string(proxy.getTimeStamp()), pooltest::DaysAgo(0));
    proxy.syncTimeStamp(2 * 86400);
    EXPECT_EQ(std::string(proxy.getTimeStamp()), pooltest::DaysAgo(2));
}

TEST(ProxyAddress, TurnsDottedAddressesIntoRangeNumbers) {
    const struct {
        const char* text;
        double number;
    } cases[] = {{"10.0.0.1", 167772161.0},    {"255.255.255.255", 4294967295.0},
                 {"0.0.0.0", 0},               {"10.0.0.a", 0},
                 {"10.0.256.1", 0},            {"1.2.3", 0},
                 {"1.2.3.4.5", 0},             {"1..2.3", 0},
                 {"1.2.3.4.", 0},              {"", 0},
                 {nullptr, 0},                 {"001.002.003.004", 16909060.0}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ConvertIPToInteger(c.text), c.number) << (c.text ? c.text : "null");
    }
    EXPECT_DOUBLE_EQ(CProxy::ConvertIPToInteger("10.0.0.1"), 167772161.0);
}

TEST(ProxyAddress, ConvertsBetweenTextAndNetworkOrder) {
    EXPECT_EQ(ConvertIP(static_cast<const char*>(nullptr)), 0u);
    const platform::DWORD address = ConvertIP("192.0.2.7");
    EXPECT_EQ(address, platform::inet_addr("192.0.2.7"));
    EXPECT_EQ(ConvertIP(address), "192.0.2.7");
    CProxy fromNumber(address, 81, PROXY_TYPE_HTTP);
    EXPECT_STREQ(fromNumber.getIP(), "192.0.2.7");
    EXPECT_EQ(fromNumber.getPort(), 81);
}

TEST(ProxyAddress, LooksUpHostNamesAndGivesZeroWhenUnknown) {
    const platform::HostResolver previous =
        platform::SetHostResolver([](const std::string& name, std::vector<std::uint32_t>& out) {
            if (name != "proxy.example") return platform::WSAHOST_NOT_FOUND;
            out = {platform::inet_addr("198.51.100.9"), platform::inet_addr("198.51.100.10")};
            return 0;
        });
    EXPECT_EQ(ConvertIP("proxy.example"), platform::inet_addr("198.51.100.9"));
    EXPECT_EQ(ConvertIP("nowhere.example"), 0u);
    platform::SetHostResolver(previous);
}

}  // namespace
