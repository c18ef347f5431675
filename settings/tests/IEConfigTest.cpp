// The system browser's configurator: its own options taken at construction,
// the relay's options, and the way back.

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

TEST_F(IEConfigTest, CopiesKeepTheirOwnSavedOptions) {
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    CIEConfig original;
    CIEConfig copy(original);
    original.Cleanup();
    copy.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    copy.SetToIE();
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
}

TEST_F(IEConfigTest, SavedProxyFlagIsClearedAtOnce) {
    Values own = UserValues(Program::IE);
    own["Flags"] = DWORD{3};
    WriteKey(HKEY_CURRENT_USER, kIEKey, own);
    CIEConfig ie;
    Values cleared = own;
    cleared["Flags"] = DWORD{0};
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), cleared);
    ie.SetToKV(PROXY_TYPE_GENERAL, "127.0.0.1", kPort);
    ie.SetToIE();
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), cleared);
}

TEST_F(IEConfigTest, RunThatNeverRestoredGivesOwnOptionsBackAtNextStart) {
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    {
        CIEConfig crashed;
        crashed.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    }
    ASSERT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), Relay());

    CIEConfig next;
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
    next.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    next.SetToIE();
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
}

TEST_F(IEConfigTest, PrintsFailuresAndGoesOn) {
    WriteKey(HKEY_CURRENT_USER, kIEKey, UserValues(Program::IE));
    platform::registry_test::DenyPath(HKEY_CURRENT_USER, kIEKey);
    testing::internal::CaptureStdout();
    CIEConfig ie;
    const bool pointed = ie.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    const std::string out = testing::internal::GetCapturedStdout();
    platform::registry_test::ClearDenials();

    EXPECT_FALSE(pointed);
    EXPECT_EQ(out, "InternetQueryOption failed! (5)\nInternetSetOption failed! (5)\n");
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kIEKey), UserValues(Program::IE));
}

}  // namespace
