// The proxy parser on page texts: which pairs reach the pool, which words
// are passed over, and the address and port tests on their own.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "pool/PoolFixture.h"
#include "relay/engine/CBaseServer.h"
#include "relay/hunter/CHunterConfig.h"
#include "relay/hunter/CProxyParser.h"

namespace {

using Found = std::set<std::string>;

class ProxyParserTest : public pooltest::PoolTest {
protected:
    ProxyParserTest() {
        CBaseServer::m_ProxyPool.SetDBInitialized(false);
        CBaseServer::m_ProxyPool.Init();
    }
    ~ProxyParserTest() override { CBaseServer::m_ProxyPool.GetDatabase().Close(); }

    bool Parse(std::string text) { return parser_.LeechProxies(text.data(), &config_); }

    // "address:port" of every stored row, with its type and country checked.
    Found Stored() {
        Found found;
        for (const auto& row : pooltest::Query(DatabasePath(), "SELECT IP, Port, Type, Country FROM Proxy")) {
            EXPECT_EQ(row[2], "1");
            EXPECT_EQ(row[3], "unknown");
            found.insert(row[0] + ":" + row[1]);
        }
        return found;
    }

    CHunterConfig config_;
    CProxyParser parser_;
};

struct PageCase {
    const char* name;
    std::string text;
    Found found;
};

std::string Words(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += " w" + std::to_string(i);
    return text + " ";
}

TEST_F(ProxyParserTest, FindsJoinedAndWindowedPairsInPageTexts) {
    const std::vector<PageCase> cases = {
        {"joined", "proxies: 1.2.3.4:8080 here", {"1.2.3.4:8080"}},
        {"table cell", "<tr><td>1.2.3.4</td><td>3128</td></tr>", {"1.2.3.4:3128"}},
        {"port in ninth word", "1.2.3.4" + Words(8) + "3128", {"1.2.3.4:3128"}},
        {"port past the window", "1.2.3.4" + Words(9) + "3128", {}},
        {"port above range then in range", "1.2.3.4 65000 x 8080", {"1.2.3.4:8080"}},
        {"port below range", "1.2.3.4 79", {}},
        {"joined port not ranged", "1.2.3.4:99999", {"1.2.3.4:99999"}},
        {"host joined", "proxy.example.com:3128", {"proxy.example.com:3128"}},
        {"host then separate port", "proxy.example.com 3128", {}},
        {"three labels are a host", "1.2.3 8080", {}},
        {"two numeric labels joined", "2.0:1", {"2.0:1"}},
        {"newer bare address takes the port", "1.2.3.4 5.6.7.8 8080", {"5.6.7.8:8080"}},
        {"delimiters only", " <>;,#{}[]()*&/\\\"'@?!$%^=+\r\n\t", {}},
        {"several on one page", "a 1.1.1.1:80\r\n2.2.2.2 tab 8000\n9.9.9.9:1080", {"1.1.1.1:80", "2.2.2.2:8000", "9.9.9.9:1080"}},
        {"trailing dot spoils the address", "1.2.3.4. 8080", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CBaseServer::m_ProxyPool.IDeleteAllProxies();
        EXPECT_TRUE(Parse(c.text));
        EXPECT_EQ(Stored(), c.found);
    }
}

TEST_F(ProxyParserTest, RefusesPrivateLoopbackAndLinkLocalAddresses) {
    const std::vector<std::string> words = {
        "192.168.1.1:8080", "10.0.0.1:80",  "127.0.0.1:8080", "169.254.0.1:80",
        "0.1.2.3:80",       "172.16.0.1:80", "172.31.9.9:3128",
        "192.168.1.1 8080", "127.0.0.1 3128", "10.1.1.1 80",
    };
    for (const auto& word : words) {
        SCOPED_TRACE(word);
        EXPECT_TRUE(Parse(word));
        EXPECT_TRUE(Stored().empty());
    }
    EXPECT_TRUE(Parse("172.15.0.1:80 172.32.0.1:80 100.1.2.3:80"));
    EXPECT_EQ(Stored(), (Found{"172.15.0.1:80", "172.32.0.1:80", "100.1.2.3:80"}));
}

TEST_F(ProxyParserTest, PassesOverOverlongWordsAndOverflowingNumbers) {
    const auto padded = [](const std::string& address, std::size_t length) {
        return address + ":" + std::string(length - address.size() - 5, '0') + "8080";
    };
    const std::string fits = padded("1.2.3.4", 499);
    const std::string tooLong = padded("5.6.7.8", 500);
    ASSERT_EQ(fits.size(), 499u);
    ASSERT_EQ(tooLong.size(), 500u);
    EXPECT_TRUE(Parse(tooLong + " " + fits + " 6.7.8.9 " + std::string(600, '1') + " 8080"));
    EXPECT_EQ(Stored(), (Found{"1.2.3.4:8080", "6.7.8.9:8080"}));

    // An address longer than the record keeps is not stored cut.
    CBaseServer::m_ProxyPool.IDeleteAllProxies();
    const std::string host50 = std::string(46, 'h') + ".b.c";
    EXPECT_TRUE(Parse(host50 + ":80 " + "x" + host50 + ":81"));
    EXPECT_EQ(Stored(), (Found{host50 + ":80"}));

    CBaseServer::m_ProxyPool.IDeleteAllProxies();
    EXPECT_TRUE(Parse("1.2.3.4:99999999999 5.6.7.8 99999999999999999999 6.7.8.9 000000000000000008080"));
    EXPECT_EQ(Stored(), (Found{"6.7.8.9:8080"}));
}

TEST_F(ProxyParserTest, CountsAddedProxiesAcrossPages) {
    EXPECT_TRUE(Parse("1.2.3.4:80 5.6.7.8 81"));
    EXPECT_TRUE(Parse("1.2.3.4:80"));
    EXPECT_EQ(parser_.GetAddedCount(), 3);
    EXPECT_EQ(Stored(), (Found{"1.2.3.4:80", "5.6.7.8:81"}));
}

TEST_F(ProxyParserTest, StopRequestEndsTheParseWithTrue) {
    config_.m_ProxyConfig.setShouldStop(true);
    EXPECT_TRUE(Parse("1.2.3.4:80"));
    EXPECT_TRUE(Stored().empty());
    config_.Init();
    EXPECT_TRUE(Parse("1.2.3.4:80"));
    EXPECT_EQ(Stored(), (Found{"1.2.3.4:80"}));
}

TEST(ProxyParserTests, AddressAndPortTestsFollowTheirRules) {
    struct Case {
        const char* word;
        bool ipOnly, ip, hostOnly, host, port;
    };
    const Case cases[] = {
        {"1.2.3.4", true, false, true, false, false},
        {"1.2.3.4:8080", true, true, true, true, false},
        {"1.2.3.4.5", false, false, true, false, false},
        {"a.b.c", false, false, true, false, false},
        {"a.b", false, false, false, false, false},
        {"a.b:80", false, false, false, true, false},
        {"a.:80", false, false, false, false, false},
        {".a.b", false, false, false, false, false},
        {"a.b:8.0", false, false, true, false, false},
        {"a.b:8x", false, false, false, false, false},
        {"999.1.1.1", true, false, true, false, false},
        {"8080", false, false, false, false, true},
        {"80", false, false, false, false, true},
        {"3128", false, false, false, false, true},
        {"1080", false, false, false, false, true},
        {"10000", false, false, false, false, true},
        {"10001", false, false, false, false, false},
        {"79", false, false, false, false, false},
        {"-80", false, false, false, false, false},
        {"99999999999999999999", false, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(CProxyParser::IsIPOnly(c.word), c.ipOnly);
        EXPECT_EQ(CProxyParser::IsIP(c.word), c.ip);
        EXPECT_EQ(CProxyParser::IsHostOnly(c.word), c.hostOnly);
        EXPECT_EQ(CProxyParser::IsHost(c.word), c.host);
        EXPECT_EQ(CProxyParser::IsPort(c.word), c.port);
        // No port is taken for a standard one, the usual proxy ports included.
        EXPECT_FALSE(CProxyParser::IsStandardPort(c.word));
    }
    EXPECT_TRUE(CProxyParser::BeginsWith("127.0.0.1", "127."));
    EXPECT_FALSE(CProxyParser::BeginsWith("127", "127."));
    EXPECT_FALSE(CProxyParser::BeginsWith("A.b", "a."));
    EXPECT_FALSE(CProxyParser::DecimalValue("2147483648").has_value());
    EXPECT_EQ(CProxyParser::DecimalValue("2147483647"), 2147483647);
}

}  // namespace
