// The desktop's proxy setting (GSettings org.gnome.system.proxy), kept in
// this process's private in-memory store: what pointing it at the relay
// writes, what a write refuses, and the user's values given back exactly by
// the system browser's configurator.

#include <gtest/gtest.h>

#include "ConfigFixture.h"
#include "platform/DesktopProxy.h"
#include "settings/CIEConfig.h"
#include "settings/CPrefsKeeper.h"

namespace {
using namespace cfgtest;

class DesktopProxyTest : public ConfigTest {
protected:
    void SetUp() override {
        if (!platform::DesktopProxyAvailable()) {
            GTEST_SKIP() << "the desktop proxy schema org.gnome.system.proxy (gsettings-desktop-schemas) is not "
                            "installed";
        }
    }
    static std::map<std::string, std::optional<std::string>> Current() {
        std::map<std::string, std::optional<std::string>> values;
        const auto read = platform::ReadDesktopProxy();
        for (const auto& value : read.value()) values[value.key] = value.text;
        return values;
    }
};

TEST_F(DesktopProxyTest, PointsTheProtocolsOfTheListenerAtTheRelay) {
    using P = platform::DesktopProxyProtocols;
    using Expected = std::map<std::string, std::optional<std::string>>;
    const std::optional<std::string> none;
    const std::string host = "'127.0.0.1'";
    const struct {
        P protocols;
        Expected after;
    } cases[] = {
        {P::Http, {{"mode", "'manual'"}, {"http.host", host}, {"http.port", "9050"}, {"https.host", host},
                   {"https.port", "9050"}, {"socks.host", none}, {"socks.port", none}}},
        {P::Socks, {{"mode", "'manual'"}, {"http.host", none}, {"http.port", none}, {"https.host", none},
                    {"https.port", none}, {"socks.host", host}, {"socks.port", "9050"}}},
        {P::All, {{"mode", "'manual'"}, {"http.host", host}, {"http.port", "9050"}, {"https.host", host},
                  {"https.port", "9050"}, {"socks.host", host}, {"socks.port", "9050"}}},
    };
    for (const auto& c : cases) {
        ResetDesktop();
        EXPECT_TRUE(platform::PointDesktopProxy(c.protocols, "127.0.0.1", kPort));
        EXPECT_EQ(Current(), c.after) << static_cast<int>(c.protocols);
    }
}

TEST_F(DesktopProxyTest, WriteRefusesWhatTheSchemaRefusesAndChangesNothing) {
    ASSERT_TRUE(platform::WriteDesktopProxy(UserDesktop()));
    const auto before = Current();
    const platform::DesktopProxyValues refused[] = {
        {{"http.host", "'ok'"}, {"http.port", "'not a number'"}},
        {{"http.host", "'ok'"}, {"http.port", "70000"}},
        {{"mode", "'sideways'"}},
        {{"mode", "'none'"}, {"ignore-hosts", "['x']"}},
        {{"http.host", "unquoted"}},
    };
    for (const auto& values : refused) {
        EXPECT_FALSE(platform::WriteDesktopProxy(values)) << values.back().key;
        EXPECT_EQ(Current(), before) << values.back().key;
    }
}

TEST_F(DesktopProxyTest, StopGivesTheUserTheirOwnValuesExactly) {
    SeedUserPrograms();
    const std::string user = DumpDesktop();
    for (const eProxyType type : {PROXY_TYPE_HTTP, PROXY_TYPE_GENERAL}) {
        CIEConfig ie;
        ASSERT_TRUE(ie.SetToKV(type, "127.0.0.1", kPort));
        EXPECT_EQ(Current()["mode"], "'manual'");
        EXPECT_EQ(Current()["http.port"], "9050");
        ASSERT_TRUE(ie.SetToIE());
        // A key the user never set stays unset, and one set to its default
        // value stays set.
        EXPECT_EQ(DumpDesktop(), user) << type;
    }
}

TEST_F(DesktopProxyTest, RunThatNeverStoppedIsPutRightByTheNextStartAndStop) {
    SeedUserPrograms();
    const std::string user = DumpDesktop();
    CSettings s;
    s.getPrivacySettings()->mListenerPort = kPort;
    *s.getSysConfig() = Only({Program::IE});
    { CPrefsKeeper crashed; crashed.SetAutoConfigSettings(s); }
    ASSERT_NE(DumpDesktop(), user);

    CPrefsKeeper next;
    next.SetAutoConfigSettings(s);
    next.RestoreConfiguration(s.getSysConfig());
    EXPECT_EQ(DumpDesktop(), user);
}

TEST_F(DesktopProxyTest, SocksListenerLeavesTheDesktopAsItIs) {
    SeedUserPrograms();
    const std::string user = DumpDesktop();
    CSettings s;
    s.getPrivacySettings()->mListenerType = PROXY_TYPE_SOCKS5;
    *s.getSysConfig() = Only({Program::IE});
    CPrefsKeeper keeper;
    keeper.SetAutoConfigSettings(s);
    EXPECT_EQ(DumpDesktop(), user);
}

}  // namespace
