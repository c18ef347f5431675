// The database class: statement texts, round trips, limits and failures.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pool/PoolFixture.h"
#include "relay/pool/CDatasetTranslator.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyDatabase.h"

namespace {

using pooltest::PoolTest;
using pooltest::Row;

class ProxyDatabaseTest : public PoolTest {
protected:
    void SetUp() override { ASSERT_TRUE(db_.Open(DatabasePath().c_str())); }

    bool Store(const CProxy& proxy) {
        std::vector<std::string> names;
        std::vector<std::string> values;
        proxy.Write(names, values);
        return db_.Insert("Proxy", names, values, "");
    }

    CProxyDatabase db_;
};

TEST_F(ProxyDatabaseTest, RoundTripsARecordWithApostrophesInItsTexts) {
    CProxy proxy("o'host.example", 3128, PROXY_TYPE_SOCKS5, "Cote d'Ivoire");
    proxy.setResponseTime(250);
    proxy.setIsAnonymous(true);
    proxy.setNeedAuth(true);
    proxy.setTimeStamp("2024-02-03");
    proxy.setGateWay("gate'way");
    proxy.setFailReason("can't connect");
    proxy.setFailCount(6);
    ASSERT_TRUE(Store(proxy));

    EXPECT_EQ(pooltest::Query(DatabasePath(), "select FailReason, Country from Proxy"),
              (std::vector<std::vector<std::string>>{{"can't connect", "Cote d'Ivoire"}}));

    CDatasetTranslator rows(true);
    ASSERT_TRUE(db_.Select("Proxy", rows, "*", "", "", false, 0));
    ASSERT_EQ(rows.GetRowCount(), 1);
    ASSERT_EQ(rows.GetColumnCount(), CProxy::kColumnCount);
    EXPECT_STREQ(rows.GetTable()[0], "IP");
    CProxy back;
    ASSERT_TRUE(back.Read(rows.GetRow(0), rows.GetColumnCount()));
    EXPECT_STREQ(back.getIP(), "o'host.example");
    EXPECT_EQ(back.getPort(), 3128);
    EXPECT_EQ(back.getType(), PROXY_TYPE_SOCKS5);
    EXPECT_STREQ(back.getCountry(), "Cote d'Ivoire");
    EXPECT_DOUBLE_EQ(back.getRank(), 4);
    EXPECT_DOUBLE_EQ(back.getResponseTime(), 250);
    EXPECT_TRUE(back.getIsAnonymous());
    EXPECT_TRUE(back.getNeedAuth());
    EXPECT_STREQ(back.getTimeStamp(), "2024-02-03");
    EXPECT_STREQ(back.getGateWay(), "gate'way");
    EXPECT_STREQ(back.getFailReason(), "can't connect");
    EXPECT_EQ(back.getFailCount(), 6);
}

TEST_F(ProxyDatabaseTest, SendsALimitOnlyWhenItIsAboveZero) {
    std::vector<Row> rows;
    for (int i = 0; i < 30; ++i) rows.push_back({.ip = "10.0.0." + std::to_string(i)});
    pooltest::InsertRows(DatabasePath(), "Proxy", rows);
    const struct {
        int limit;
        int rows;
    } cases[] = {{20, 20}, {0, 30}, {-1, 30}, {40, 30}};
    for (const auto& c : cases) {
        CDatasetTranslator result(true);
        ASSERT_TRUE(db_.Select(" Proxy ", result, " * ", " Type = 3 and Rank > 0 ", " rank ", false,
                               c.limit));
        EXPECT_EQ(result.GetRowCount(), c.rows) << c.limit;
    }
}

TEST_F(ProxyDatabaseTest, DeletesWhatTheWhereClauseNames) {
    pooltest::InsertRows(DatabasePath(), "Proxy", {{.ip = "1.1.1.1"}, {.ip = "2.2.2.2"}});
    ASSERT_TRUE(db_.Delete(" Proxy ", " IP='1.1.1.1' "));
    EXPECT_EQ(pooltest::Query(DatabasePath(), "select IP from Proxy"),
              (std::vector<std::vector<std::string>>{{"2.2.2.2"}}));
    ASSERT_TRUE(db_.Delete(" Proxy ", ""));
    EXPECT_TRUE(pooltest::Query(DatabasePath(), "select IP from Proxy").empty());
}

TEST_F(ProxyDatabaseTest, ReportsErrorsAndKeepsTheirText) {
    CDatasetTranslator rows(true);
    EXPECT_FALSE(db_.Select("NoSuchTable", rows, "*", "", "", false, 0));
    EXPECT_EQ(rows.GetRowCount(), 0);
    EXPECT_NE(db_.getLastError().find("NoSuchTable"), std::string::npos);
    EXPECT_FALSE(db_.Insert("Proxy", {"IP", "Port"}, {"1.1.1.1"}, ""));
}

TEST(ProxyDatabaseStatements, JoinTheirPiecesExactly) {
    const struct {
        std::string built;
        std::string expected;
    } cases[] = {
        {CProxyDatabase::BuildSelect("Proxy", "*", "", " type desc ", false, 0),
         "select * from Proxy order by  type desc ;"},
        {CProxyDatabase::BuildSelect("Proxy", "*", " Type < 2", " Rank ", true, 0),
         "select * from Proxy where  Type < 2 order by  Rank  desc ;"},
        {CProxyDatabase::BuildSelect(" Countries ", " Country ", " x ", "", true, 1),
         "select  Country  from  Countries  where  x   LIMIT 1 ;"},
        {CProxyDatabase::BuildDelete(" Proxy ", ""), "delete from  Proxy ;"},
        {CProxyDatabase::BuildDelete(" Proxy ", " IP='a' "), "delete from  Proxy  where  IP='a' ;"},
        {CProxyDatabase::BuildInsert("Proxy", {"IP", "Fail'Reason"}, {"a", "can't"}, ""),
         "insert into Proxy (IP,Fail''Reason) values ('a','can''t');"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.built, c.expected);
}

TEST(ProxyDatabaseMissing, FailsEveryStatementWithoutAFile) {
    kvtest::TempRoot root;
    const std::filesystem::path missing = root.path() / "dbase/proxypool.db";
    CProxyDatabase never;
    CProxyDatabase db;
    EXPECT_FALSE(db.Open(missing.c_str()));
    EXPECT_FALSE(std::filesystem::exists(missing));
    for (CProxyDatabase* each : {&never, &db}) {
        CDatasetTranslator rows(true);
        EXPECT_FALSE(each->IsOpen());
        EXPECT_FALSE(each->Insert("Proxy", {"IP"}, {"1.1.1.1"}, ""));
        EXPECT_FALSE(each->Delete(" Proxy ", ""));
        EXPECT_FALSE(each->Select("Proxy", rows, "*", "", "", false, 0));
        EXPECT_EQ(rows.GetRowCount(), 0);
        EXPECT_EQ(rows.GetRow(0), nullptr);
    }
}

TEST(ProxyDatabaseMissing, FailsEveryStatementOnAFileWithoutTables) {
    kvtest::TempRoot root;
    const std::filesystem::path empty = root.path() / "empty.db";
    kvtest::WriteFile(empty, "");
    CProxyDatabase db;
    ASSERT_TRUE(db.Open(empty.c_str()));
    CDatasetTranslator rows(true);
    EXPECT_FALSE(db.Insert("Proxy", {"IP"}, {"1.1.1.1"}, ""));
    EXPECT_FALSE(db.Delete(" Proxy ", ""));
    EXPECT_FALSE(db.Select(" KVList ", rows, " * ", "", "", false, 20));
    EXPECT_EQ(rows.GetRowCount(), 0);
}

}  // namespace
