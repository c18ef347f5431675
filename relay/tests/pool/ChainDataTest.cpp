// The chain data: the length split, the locked proxy list, and the chain
// settings loaded from the user's settings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pool/PoolFixture.h"
#include "relay/pool/CBProxyChain.h"
#include "relay/pool/CChainSettings.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyChain.h"
#include "settings/CSettings.h"

namespace {

using pooltest::PoolTest;

TEST(ChainSplit, PlansPrivateAndPublicHopsForEveryRule) {
    const struct {
        int length, p, q;
        bool http;
        int privateHops, publicHops;
    } cases[] = {
        {3, 2, 3, false, 1, 2},  // rule 5
        {3, 2, 1, true, 1, 1},   // rule 4; the HTTP proxy is the third hop
        {2, 0, 3, false, 0, 2},  // rule 2, Q not below the length
        {4, 0, 3, false, 0, 3},  // rule 1
        {3, 0, 3, true, 0, 2},   // rule 2: length - H
        {2, 0, 1, true, 0, 1},   // rule 2: Q below the length
        {2, 3, 0, true, 1, 0},   // rule 3: length - H
        {4, 3, 0, true, 3, 0},   // rule 3: P below the length
        {5, 1, 1, false, 1, 1},  // rule 1
        {2, 2, 1, true, 1, 1},   // rule 4 gives 0, rule 6 makes it 1
        {1, 1, 1, true, 1, -1},  // rule 5 plans fewer than nothing
        {2, 1, 0, true, 1, 0},   // rule 3 gives P
    };
    for (const auto& c : cases) {
        std::vector<CProxy> members(c.p + c.q);
        CProxyChain chain;
        for (int i = 0; i < c.p; ++i) chain.GetPrivatePart().push_back(&members[i]);
        for (int i = 0; i < c.q; ++i) chain.GetPublicPart().push_back(&members[c.p + i]);
        chain.SetUseHttp(c.http);
        chain.ExtractChainRequirments(c.length);
        EXPECT_EQ(chain.GetPrivateHopsToUse(), c.privateHops)
            << c.length << " " << c.p << " " << c.q << " " << c.http;
        EXPECT_EQ(chain.GetPublicHopsToUse(), c.publicHops)
            << c.length << " " << c.p << " " << c.q << " " << c.http;
    }
}

TEST(ProxyList, IgnoresNullsAndOutOfRangeAccessAndCopiesPointers) {
    CProxy a("a");
    CProxy b("b");
    CBProxyChain list;
    list.push_back(&a);
    list.push_back(nullptr);
    list.push_back(&b);
    EXPECT_EQ(list.size(), 2);
    EXPECT_EQ(list[1], &b);
    EXPECT_EQ(list[2], nullptr);
    EXPECT_EQ(list[-1], nullptr);
    list.erase(list.end());
    EXPECT_EQ(list.size(), 2);

    CBProxyChain copy(list);
    CBProxyChain assigned;
    assigned = list;
    list.erase(list.begin());
    EXPECT_EQ(list.Snapshot(), (std::vector<CProxy*>{&b}));
    EXPECT_EQ(copy.Snapshot(), (std::vector<CProxy*>{&a, &b}));
    EXPECT_EQ(assigned.Snapshot(), (std::vector<CProxy*>{&a, &b}));
    list.clear();
    EXPECT_TRUE(list.empty());
}

TEST(ProxyChain, ClearEmptiesPartsAndConnectedHops) {
    CProxy member("m", 1, PROXY_TYPE_SOCKS4);
    CProxyChain chain;
    chain.GetPrivatePart().push_back(&member);
    chain.GetPublicPart().push_back(&member);
    chain.AddConnectedHop(&member);
    EXPECT_EQ(chain.size(), 1);
    EXPECT_EQ(chain.GetLastProxyInChain(), &member);
    EXPECT_EQ(chain.GetLastProxyInChainType(), PROXY_TYPE_SOCKS4);

    CProxyChain copy(chain);
    CProxyChain failed(chain);
    failed.ResetConnectedHops();
    EXPECT_EQ(failed.size(), 0);
    EXPECT_TRUE(failed.GetConnectedHops().empty());
    EXPECT_EQ(failed.GetPublicPart().size(), 1);
    chain.clear();
    EXPECT_TRUE(chain.GetPrivatePart().empty());
    EXPECT_TRUE(chain.GetPublicPart().empty());
    EXPECT_TRUE(chain.GetConnectedHops().empty());
    EXPECT_EQ(chain.size(), 0);
    EXPECT_EQ(copy.GetConnectedHops().size(), 1);
}

class ChainSettingsTest : public PoolTest {};

TEST_F(ChainSettingsTest, StartsWithTheDocumentedDefaults) {
    CChainSettings settings;
    EXPECT_TRUE(settings.getMixChain());
    EXPECT_EQ(settings.getStoredChainLength(), 0);
    EXPECT_EQ(settings.getSecCount(), 60);
    EXPECT_EQ(settings.getProxyChoice(), PROXY_CHOICE_CHAIN);
    EXPECT_EQ(settings.getName(), "");
    EXPECT_STREQ(settings.getSingleProxy().getCountry(), "unknown");
    EXPECT_EQ(settings.getFireWallProxy().getType(), PROXY_TYPE_UNKNOWN);
}

TEST_F(ChainSettingsTest, LoadsTheChainConfigurationAndRewritesTheSettings) {
    const struct {
        const char* name;
        platform::DWORD shielding, chain, best;
        const char* userIp;
        platform::DWORD userPort;
        // expected
        eProxyChoice choice;
        int secCount;
        platform::DWORD chainLength, bestAfter;
        const char* single;  // the single proxy's address
    } cases[] = {
        {"chain on", 1, 1, 0, "127.0.0.1", 80, PROXY_CHOICE_CHAIN, 25, 3, 0, ""},
        {"best choice", 1, 0, 1, "127.0.0.1", 80, PROXY_CHOICE_CHAIN, 0, 1, 1, ""},
        {"user proxy", 1, 0, 0, "192.0.2.5", 3128, PROXY_CHOICE_SINGLE, 60, 1, 0, "192.0.2.5"},
        {"user port is the relay", 1, 0, 0, "127.0.0.1", 8082, PROXY_CHOICE_CHAIN, 0, 1, 1, ""},
        {"local user proxy", 1, 0, 0, "127.0.0.1", 3128, PROXY_CHOICE_SINGLE, 60, 1, 0,
         "127.0.0.1"},
        {"shielding off", 0, 1, 1, "192.0.2.5", 80, PROXY_CHOICE_CHAIN, 60, 0, 1, ""},
    };
    for (const auto& c : cases) {
        CSettings user;
        CPrivacySettings& privacy = *user.getPrivacySettings();
        privacy.mEnableIPShielding = c.shielding;
        privacy.mEnableProxyChain = c.chain;
        privacy.mProxyBestChoice = c.best;
        privacy.mChainLength = 3;
        privacy.mChainTimer = 25;
        privacy.mUserIP = c.userIp;
        privacy.mUserPort = c.userPort;
        privacy.mUserType = PROXY_TYPE_HTTPS;
        privacy.mListenerPort = 8082;
        privacy.mListenerType = PROXY_TYPE_SOCKS5;
        privacy.mUsePrivateProxies = 1;

        CChainSettings settings;
        settings.getSingleProxy().setFailReason("old");
        settings = user;
        EXPECT_EQ(settings.getProxyChoice(), c.choice) << c.name;
        EXPECT_EQ(settings.getSecCount(), c.secCount) << c.name;
        EXPECT_EQ(privacy.mChainLength, c.chainLength) << c.name;
        EXPECT_EQ(settings.getStoredChainLength(), static_cast<int>(c.chainLength)) << c.name;
        EXPECT_EQ(privacy.mProxyBestChoice, c.bestAfter) << c.name;
        EXPECT_STREQ(settings.getSingleProxy().getIP(), c.single) << c.name;
        EXPECT_STREQ(settings.getSingleProxy().getFailReason(), "") << c.name;
        if (*c.single) {
            EXPECT_EQ(settings.getSingleProxy().getPort(), static_cast<int>(c.userPort));
            EXPECT_EQ(settings.getSingleProxy().getType(), PROXY_TYPE_HTTPS);
        }
        EXPECT_FALSE(settings.UseSingleProxy());
        EXPECT_TRUE(settings.getUsePrivateProxies());
        EXPECT_EQ(settings.getListenerType(), PROXY_TYPE_SOCKS5);
        EXPECT_EQ(host_.listenerType, PROXY_TYPE_SOCKS5);
    }
}

TEST_F(ChainSettingsTest, TakesTheFirewallProxyOnlyWhenBehindOne) {
    CSettings user;
    CGnrlSettings& general = *user.getGeneralSettings();
    general.mFireWallIP = "10.9.9.9";
    general.mFireWallPort = 1080;
    general.mFireWallType = PROXY_TYPE_SOCKS5;
    CChainSettings settings;
    settings = user;
    EXPECT_FALSE(settings.IsBehindFireWall());
    EXPECT_STREQ(settings.getFireWallProxy().getIP(), "");

    general.mBehindFireWall = 1;
    settings = user;
    EXPECT_TRUE(settings.IsBehindFireWall());
    EXPECT_STREQ(settings.getFireWallProxy().getIP(), "10.9.9.9");
    EXPECT_EQ(settings.getFireWallProxy().getPort(), 1080);
    EXPECT_EQ(settings.getFireWallProxy().getType(), PROXY_TYPE_SOCKS5);
}

TEST_F(ChainSettingsTest, ChainLengthFollowsTheEngineSettingsAtTheMomentOfUse) {
    CChainSettings settings;
    settings.SetChainLength(4);
    const struct {
        platform::DWORD shielding, chain;
        int length;
    } cases[] = {{0, 1, 0}, {0, 0, 0}, {1, 1, 4}, {1, 0, 1}};
    for (const auto& c : cases) {
        CPrivacySettings privacy;
        privacy.mEnableIPShielding = c.shielding;
        privacy.mEnableProxyChain = c.chain;
        host_.SetPrivacy(privacy);
        EXPECT_EQ(settings.getChainLength(), c.length) << c.shielding << c.chain;
    }
}

}  // namespace
