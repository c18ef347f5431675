// The system browser's configurator: its own options kept before it is
// pointed at the relay, exactly those put back, and nothing touched that the
// relay did not change.

#include <gtest/gtest.h>

#include "ConfigFixture.h"
#include "platform/InternetOptions.h"
#include "settings/CIEConfig.h"

namespace {
using namespace cfgtest;
using platform::HKEY_CURRENT_USER;

class IEConfigTest : public ConfigTest {
protected:
    static Values Relay() {
        Values relay = UserValues(Program::IE);
        relay["Flags"] = DWORD{2};
        relay["ProxyServer"] = std::string("127.0.0.1:9050");
        relay["ProxyBypass"] = std::string();
        return relay;
    }
};

TEST_F(IEConfigTest, PointsBrowserAtRelayAndPutsOwnOptionsBack) {
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    CIEConfig ie;
    const unsigned refreshes = platform::internet_test::RefreshCount();
    EXPECT_TRUE(ie.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort));
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), Relay());
    EXPECT_EQ(platform::internet_test::RefreshCount(), refreshes + 1);

    EXPECT_TRUE(ie.SetToIE());
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
    EXPECT_EQ(platform::internet_test::RefreshCount(), refreshes + 2);
}

TEST_F(IEConfigTest, OwnOptionsAreThoseOfTheStartNotOfTheConstruction) {
    CIEConfig ie;
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    CIEConfig copy(ie);
    ie.Cleanup();
    copy.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    copy.SetToIE();
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
}

TEST_F(IEConfigTest, KeepsTheBrowsersOwnProxyFlag) {
    // The seeded user has a proxy of their own: flags 3.
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    CIEConfig ie;
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE)) << "changed by construction";
    for (const eProxyType type : {PROXY_TYPE_HTTP, PROXY_TYPE_GENERAL}) {
        ie.SetToKV(type, "127.0.0.1", kPort);
        ie.SetToIE();
        EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE)) << type;
    }
}

TEST_F(IEConfigTest, RunThatNeverRestoredIsRestoredByTheNextStop) {
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    {
        CIEConfig crashed;
        crashed.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    }
    ASSERT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), Relay());

    CIEConfig next;
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), Relay()) << "construction takes the browser off a running relay";
    next.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    EXPECT_TRUE(next.SetToIE());
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
}

TEST_F(IEConfigTest, LeavesABrowserNeverPointedAtTheRelayAlone) {
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    CIEConfig ie;
    Values changed = UserValues(Program::IE);
    changed["ProxyServer"] = std::string("new.corp.example:8080");
    WriteKey(HKEY_CURRENT_USER, kIEKey, changed);
    EXPECT_TRUE(ie.SetToIE());
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), changed);

    ie.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    ie.SetToIE();
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), changed) << "the options at the start are the user's";
    Values later = changed;
    later["ProxyBypass"] = std::string("*.corp.example");
    WriteKey(HKEY_CURRENT_USER, kIEKey, later);
    ie.SetToIE();
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), later) << "a second stop puts nothing back";
}

TEST_F(IEConfigTest, RefusesToPointWhenOwnOptionsCannotBeRead) {
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    platform::registry_test::DenyPath(HKEY_CURRENT_USER, kIEKey);
    testing::internal::CaptureStdout();
    CIEConfig ie;
    const bool pointed = ie.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    const std::string out = testing::internal::GetCapturedStdout();
    platform::registry_test::ClearDenials();

    EXPECT_FALSE(pointed);
    EXPECT_EQ(out, "InternetQueryOption failed! (5)\n");
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
    EXPECT_TRUE(ie.SetToIE());
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
}

TEST_F(IEConfigTest, FailedSetKeepsTheWayBackForTheNextStop) {
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    CIEConfig ie;
    ie.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    platform::registry_test::DenyPath(HKEY_CURRENT_USER, kIEKey);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(ie.SetToIE());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "InternetSetOption failed! (5)\n");
    platform::registry_test::ClearDenials();
    CIEConfig later;
    EXPECT_TRUE(later.SetToIE());
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
}

}  // namespace
