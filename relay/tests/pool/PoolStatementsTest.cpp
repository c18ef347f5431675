// Every statement the pool issues, against a seeded database.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pool/PoolFixture.h"
#include "relay/pool/CDatasetTranslator.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyMap.h"
#include "relay/pool/CTimerThread.h"
#include "settings/CSettings.h"

namespace {

using pooltest::PoolTest;
using pooltest::Query;
using pooltest::Row;
using Rows = std::vector<std::vector<std::string>>;

class PoolStatementsTest : public PoolTest {
protected:
    void SetUp() override { pool_.Init(); }

    Rows Ips(const CDatasetTranslator& result) {
        Rows rows;
        for (int r = 0; r < result.GetRowCount(); ++r) rows.push_back({result.GetRow(r)[0]});
        return rows;
    }

    CTimerThread timer_;
    CProxyMap pool_{timer_};
};

TEST_F(PoolStatementsTest, StoresAPublicProxyInPlaceOfItsOldRow) {
    pooltest::InsertRows(DatabasePath(), "Proxy",
                         {{.ip = "1.1.1.1", .port = "80", .failCount = "9"},
                          {.ip = "1.1.1.1", .port = "81"}});
    host_.privacy.mMinCheckTime = 0;
    CProxy proxy("1.1.1.1", 80, PROXY_TYPE_HTTPS, "Land");
    proxy.setResponseTime(4);
    proxy.setFailReason("can't");
    ASSERT_TRUE(pool_.IAddProxy(proxy));
    EXPECT_EQ(Query(DatabasePath(), "select * from Proxy order by Port"),
              (Rows{{"1.1.1.1", "80", "3", "Land", "250.0", "4.0", "0", pooltest::DaysAgo(0), "0", "",
                     "can't", "0"},
                    {"1.1.1.1", "81", "3", "unknown", "10.0", "100.0", "0", pooltest::DaysAgo(0),
                     "0", "", "", "0"}}));
}

TEST_F(PoolStatementsTest, NeverStoresAPrivateProxyButDropsItsPublicRow) {
    pooltest::InsertRows(DatabasePath(), "Proxy", {{.ip = "2.2.2.2"}});
    CProxy proxy("2.2.2.2", 0, PROXY_TYPE_HTTPS);
    proxy.setIsPrivate(true);
    EXPECT_TRUE(pool_.IAddProxy(proxy));
    EXPECT_TRUE(Query(DatabasePath(), "select IP from Proxy").empty());
}

TEST_F(PoolStatementsTest, RemovesByAddressAndByPortWhenGiven) {
    const struct {
        const char* ip;
        int port;
        Rows left;
    } cases[] = {
        {"3.3.3.3", 8080, {{"3.3.3.3", "3128"}, {"o'q", "80"}}},
        {"3.3.3.3", 0, {{"o'q", "80"}}},
        {"o'q", 80, {{"3.3.3.3", "8080"}, {"3.3.3.3", "3128"}}},
    };
    for (const auto& c : cases) {
        Query(DatabasePath(), "delete from Proxy");
        pooltest::InsertRows(DatabasePath(), "Proxy",
                             {{.ip = "3.3.3.3", .port = "8080"},
                              {.ip = "3.3.3.3", .port = "3128"},
                              {.ip = "o'q", .port = "80"}});
        EXPECT_TRUE(pool_.IRemoveProxy(CProxy(c.ip, c.port, PROXY_TYPE_HTTP)));
        EXPECT_EQ(Query(DatabasePath(), "select IP, Port from Proxy order by rowid"), c.left)
            << c.ip << ":" << c.port;
    }
}

TEST_F(PoolStatementsTest, DeletesEveryProxy) {
    pooltest::InsertRows(DatabasePath(), "Proxy", {{.ip = "1.1.1.1"}, {.ip = "2.2.2.2"}});
    EXPECT_TRUE(pool_.IDeleteAllProxies());
    EXPECT_TRUE(Query(DatabasePath(), "select IP from Proxy").empty());
}

TEST_F(PoolStatementsTest, SelectsProxiesNotAnalysedByTypeAndRank) {
    pooltest::InsertRows(DatabasePath(), "Proxy",
                         {{.ip = "typed-ranked", .type = "3", .rank = "5.000"},
                          {.ip = "unknown-ranked", .type = "1", .rank = "7.000"},
                          {.ip = "typed-zero", .type = "2", .rank = "0.000"},
                          {.ip = "typed-negative", .type = "4", .rank = "-1.000"},
                          {.ip = "unknown-zero", .type = "1", .rank = "0.000"}});
    const Rows expected{{"unknown-ranked"}, {"typed-zero"}, {"unknown-zero"}, {"typed-negative"}};
    CDatasetTranslator unanalysed(true);
    ASSERT_TRUE(pool_.GetUnAnalyzedProxies(unanalysed));
    EXPECT_EQ(Ips(unanalysed), expected);
    CDatasetTranslator work(true);
    ASSERT_TRUE(pool_.GetAnalyzerWorkList(work));
    EXPECT_EQ(Ips(work), expected);
    CDatasetTranslator all(true);
    ASSERT_TRUE(pool_.GetAllProxies(all));
    EXPECT_EQ(Ips(all), (Rows{{"unknown-ranked"}, {"typed-ranked"}, {"typed-zero"},
                              {"unknown-zero"}, {"typed-negative"}}));
}

TEST_F(PoolStatementsTest, FindsTheCountryOfTheRangeHoldingAnAddress) {
    pooltest::InsertCountry(DatabasePath(), 167772161, 167772161, "Exact");
    pooltest::InsertCountry(DatabasePath(), 3232235520, 3232301055, "Wide");
    const struct {
        const char* address;
        std::string country;
    } cases[] = {{"10.0.0.1", "Exact"},      {"10.0.0.2", ""},  {"10.0.0.0", ""},
                 {"192.168.0.0", "Wide"},    {"192.168.255.255", "Wide"},
                 {"192.169.0.0", ""},        {"", ""},          {nullptr, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(pool_.IFindCountry(c.address), c.country) << (c.address ? c.address : "null");
    }
}

TEST_F(PoolStatementsTest, ListViewShowsEveryRowInTypeRankAndStampOrder) {
    pooltest::InsertRows(DatabasePath(), "Proxy",
                         {{.ip = "a", .type = "3", .rank = "2.000", .timeStamp = "2024-01-01"},
                          {.ip = "b", .type = "5", .rank = "1.000"},
                          {.ip = "c", .type = "3", .rank = "2.000", .timeStamp = "2024-03-01"},
                          {.ip = "d", .type = "1", .rank = "9.000", .responseTime = "0.5"},
                          {.ip = "e", .type = "3", .rank = "8.000"}});
    const eAppName previous = CSettings::mAppName;
    CSettings::mAppName = eKVDesk;
    pooltest::RecordingList list;
    ASSERT_TRUE(pool_.Write(list, true, true));
    CSettings::mAppName = previous;
    ASSERT_EQ(list.columns.size(), 11u);
    EXPECT_EQ(list.columns[0], (std::pair<std::string, int>{"Address", 80}));
    EXPECT_EQ(list.columns[10], (std::pair<std::string, int>{"Fail Reason", 80}));
    std::vector<std::string> order;
    for (const auto& item : list.items) order.push_back(item.texts[0]);
    EXPECT_EQ(order, (std::vector<std::string>{"b", "e", "c", "a", "d"}));
    EXPECT_EQ(list.items[0].texts[2], "SOCKS5");
    EXPECT_EQ(list.items[0].image, 0);
    EXPECT_EQ(list.items[4].texts[2], "unknown");
    EXPECT_EQ(list.items[4].image, 1);
    EXPECT_EQ(list.items[4].texts[4], "9.000");
    EXPECT_EQ(list.items[4].texts[5], "0.500");
    EXPECT_EQ(list.items[3].texts[7], "2024-01-01");

    pooltest::RecordingList empty;
    pool_.IDeleteAllProxies();
    EXPECT_FALSE(pool_.Write(empty, true, false));
    EXPECT_EQ(empty.columns, (std::vector<std::pair<std::string, int>>{{"Address", 120}, {"Port", 80}}));
}

TEST_F(PoolStatementsTest, NarrowsColumnsForTheSecondProgram) {
    const eAppName previous = CSettings::mAppName;
    CSettings::mAppName = eKavelinP;
    pooltest::RecordingList list;
    pool_.InsertColumns(list, true);
    CSettings::mAppName = previous;
    std::vector<int> widths;
    for (const auto& column : list.columns) widths.push_back(column.second);
    EXPECT_EQ(widths, (std::vector<int>{80, 40, 60, 60, 50, 70, 0, 0, 0, 0, 0}));
}

}  // namespace
