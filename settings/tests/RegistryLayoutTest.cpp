// What SetRegistry leaves in the hive: keys, value names and types in write
// order, the fixed Cleanup key, list subkeys, and the start-with-Windows
// value.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "SettingsFixture.h"

namespace settingstest {
namespace {

using Layout = std::vector<std::pair<std::string, std::vector<std::string>>>;

// The hive dump as {key below HKCU, ["name:type", ...]} in stored order.
Layout ParseDump(const std::string& dump) {
    Layout layout;
    std::istringstream in(dump);
    std::string line;
    const std::string prefix = "[HKEY_CURRENT_USER\\";
    while (std::getline(in, line)) {
        if (line.starts_with(prefix)) {
            layout.emplace_back(line.substr(prefix.size(), line.size() - prefix.size() - 1),
                                std::vector<std::string>{});
        } else if (line.starts_with("\"") && !layout.empty()) {
            const std::size_t end = line.find("\"=");
            const std::string name = line.substr(1, end - 1);
            const std::string data = line.substr(end + 2);
            const char* type = data.starts_with("dword:") ? "dword" : data.starts_with("\"") ? "sz" : "other";
            layout.back().second.push_back(name + ":" + type);
        }
    }
    return layout;
}

// Only the keys below one path, in order.
Layout Below(const Layout& layout, const std::string& path) {
    Layout out;
    for (const auto& entry : layout) {
        if (entry.first == path || entry.first.starts_with(path + "\\")) out.push_back(entry);
    }
    return out;
}

Layout Dump() { return ParseDump(platform::registry_test::DumpHive(platform::HKEY_CURRENT_USER)); }

const std::string kRoot = "SOFTWARE\\Kavelin Ver 2.0";

const Layout kExpectedLayout = {
    {kRoot, {}},
    {kRoot + "\\Cleanup", {"_BROWSER_EXIT:dword", "_WINDOWS_EXIT:dword", "_WINDOWS_START:dword"}},
    {kRoot + "\\Cleanup\\System",
     {"_ALL:dword", "_RUN:dword", "_FIND_COMP:dword", "_FIND_FILE:dword", "_TELNET:dword",
      "_LOGIN:dword", "_NETWORK:dword", "_RECYCLE:dword", "_TEMP:dword", "_RECENT:dword"}},
    {kRoot + "\\Cleanup\\Internet",
     {"_ALL:dword", "_AUTO_FORMS:dword", "_AUTO_PASS:dword", "_COOKIE:dword", "_FAVOURITES:dword",
      "_HISTORY:dword", "_TEMP_FILES:dword", "_URLS:dword"}},
    {kRoot + "\\Filteration", {}},
    {kRoot + "\\Filteration\\Incoming",
     {"_ENABLE:dword", "_BLOCK_BANNER_ADS:dword", "_BLOCK_BANNER_FLASH:dword", "_BLOCK_SCRIPT:dword",
      "_BLOCK_POPUPS:dword", "_BLOCK_IMAGES:dword", "_BLOCK_TITLE:dword", "_BLOCK_STR_TITLE:sz"}},
    {kRoot + "\\Filteration\\Incoming\\Banners", {}},
    {kRoot + "\\Filteration\\Incoming\\Banners\\AllowedServerList", {"Count:dword", "0000:sz"}},
    {kRoot + "\\Filteration\\Incoming\\Banners\\BlockedServerList",
     {"Count:dword", "0000:sz", "0001:sz"}},
    {kRoot + "\\Filteration\\Incoming\\Banners\\CustomServerList", {"Count:dword"}},
    {kRoot + "\\Filteration\\Outgoing",
     {"_ENABLE:dword", "_OSSHIELD:dword", "_DISABLE_COOKIES:dword", "_ENABLE_SERVER_LIST:dword",
      "_BLOCK_RFERR:dword", "_DISABLE_FILE_CACHE:dword"}},
    {kRoot + "\\Filteration\\Outgoing\\ServerStopList", {"Count:dword", "0000:sz"}},
    {kRoot + "\\Filteration\\Advanced",
     {"_DISABLE_TIMER_SCRIPTS:dword", "_DISABLE_WND_CLOSEUP_EVENTS:dword",
      "_REMOVE_STATUS_MODIFIER:dword", "_REMOVE_CONTEXT_MENU:dword", "_DISABLE_JAVA_APPLETS:dword"}},
    {kRoot + "\\Privacy",
     {"_ENABLE_IP_SHIELDING:dword", "_ENABLE_PROXY_CHAIN:dword", "_CHAIN_LENGTH:dword",
      "_CHAIN_TIMER:dword", "_PROXY_BEST_CHOICE:dword", "_USER_TYPE:dword", "_USER_PORT:dword",
      "_LISTENER_PORT:dword", "_LISTENER_TYPE:dword", "_USE_PRIVATE_PROXIES:dword",
      "_MIN_CHECK_TIME:dword", "_USER_IP:sz", "_LISTENER_IP:sz"}},
    {kRoot + "\\General",
     {"_STARTING_PORT:dword", "_STARTING_IP:sz", "_BEHIND_FIRE_WALL:dword", "_FIRE_WALL_PORT:dword",
      "_FIRE_WALL_TYPE:dword", "_FIRE_WALL_IP:sz", "_BALLON_SHOW:dword", "_PROTECTION_LEVEL:dword"}},
    {kRoot + "\\Auto",
     {"_LAUNCH_STARTUP:dword", "_AUTO_IE:dword", "_AUTO_NETSCAPE:dword", "_AUTO_YAHOO_IM:dword",
      "_AUTO_MSN:dword", "_AUTO_WS_FTP:dword", "_AUTO_OPERA:dword", "_AUTO_KAZA:dword",
      "_AUTO_E_DONKEY:dword", "_AUTO_CUTE_FTP:dword", "_AUTO_MIRC:dword",
      "_AUTO_KAZAA_SERVER_ADDRESS:sz", "_AUTO_KAZAA_SERVER_USR_NAME:sz",
      "_AUTO_KAZAA_SERVER_USR_PWD:sz"}},
    {kRoot + "\\Hunter",
     {"_AUTO_ANALYZE_MINS:dword", "_DEPTH:dword", "_URL_SOURCE_TYPE:dword", "_KAVELIN_URL:sz",
      "_URL_SOURCE:sz", "_LOCAL_URL:sz", "_BOOL_DEPTH:dword", "_BOOL_AUTO_ANALYZE:dword",
      "_BOOL_EXCLUDE_FORIGNER_SERVERS:dword", "_BOOL_DELETE_FAILED_PROXIES:dword", "_DEFAULT:dword"}},
};

class RegistryLayout : public SettingsTest {};

TEST_F(RegistryLayout, SetRegistryWritesEveryKeyAndValueInOrder) {
    CSettings settings;
    CFiltrationSettings& filter = *settings.getFiltrationSettings();
    filter.mInFiltration.mBanners.mAllowedServerList = {"allowed.example"};
    filter.mInFiltration.mBanners.mBlockedServerList = {"ads.example", "banners.example"};
    filter.mOutFiltration.mServerStopList = {"stop.example"};
    filter.mInFiltration.mTimerBasedProcessingBlock = 1;  // read only: never written
    ASSERT_TRUE(settings.SetRegistry());
    EXPECT_EQ(Below(Dump(), kRoot), kExpectedLayout);
}

TEST_F(RegistryLayout, ListIsStoredAsCountAndNumberedValues) {
    CSettings settings;
    auto& blocked = settings.getFiltrationSettings()->mInFiltration.mBanners.mBlockedServerList;
    blocked = {"One.example", "two.example", "three.example"};
    ASSERT_TRUE(settings.SetRegistry());

    platform::RegKey list = OpenSettingsKey("Filteration\\Incoming\\Banners\\BlockedServerList");
    DWORD count = 0;
    ASSERT_EQ(list.QueryDWORDValue("Count", count), platform::ERROR_SUCCESS);
    EXPECT_EQ(count, 3u);
    const char* names[] = {"0000", "0001", "0002"};
    for (std::size_t i = 0; i < 3; ++i) {
        std::string value;
        ASSERT_EQ(list.QueryStringValue(names[i], value), platform::ERROR_SUCCESS);
        EXPECT_EQ(value, blocked[i]);
    }
}

TEST_F(RegistryLayout, ShrunkListLeavesNoStaleEntries) {
    CSettings settings;
    auto& stop = settings.getFiltrationSettings()->mOutFiltration.mServerStopList;
    auto& custom = settings.getFiltrationSettings()->mInFiltration.mBanners.mCustomServerList;
    stop = {"a.example", "b.example", "c.example"};
    custom = stop;
    ASSERT_TRUE(settings.SetRegistry());
    stop.resize(1);
    custom.resize(1);
    ASSERT_TRUE(settings.SetRegistry());

    for (const char* path : {"Filteration\\Outgoing\\ServerStopList",
                             "Filteration\\Incoming\\Banners\\CustomServerList"}) {
        SCOPED_TRACE(path);
        platform::RegKey list = OpenSettingsKey(path);
        DWORD count = 0;
        EXPECT_EQ(list.QueryDWORDValue("Count", count), platform::ERROR_SUCCESS);
        EXPECT_EQ(count, 1u);
        std::string value;
        EXPECT_NE(list.QueryStringValue("0001", value), platform::ERROR_SUCCESS);
        EXPECT_NE(list.QueryStringValue("0002", value), platform::ERROR_SUCCESS);
    }
}

TEST_F(RegistryLayout, CleanupAlwaysGoesToTheFixedKey) {
    CSettings::mRunningApp = "Other Variant";
    CSettings settings;
    settings.getCleanupSettings()->mCleanupAdvanced.mWindowsStart = 1;
    settings.getCleanupSettings()->mCleanupSys.mRun = 1;
    ASSERT_TRUE(settings.SetRegistry());

    const Layout layout = Dump();
    const Layout fixed = Below(layout, kRoot + "\\Cleanup");
    ASSERT_EQ(fixed.size(), 3u);
    EXPECT_EQ(fixed[0].second.size(), 3u);  // the advanced flags
    EXPECT_EQ(fixed[1].first, kRoot + "\\Cleanup\\System");
    EXPECT_EQ(fixed[2].first, kRoot + "\\Cleanup\\Internet");
    // The variant's own Cleanup key is made but stays empty.
    const Layout own = Below(layout, "SOFTWARE\\Other Variant\\Cleanup");
    ASSERT_EQ(own.size(), 1u);
    EXPECT_TRUE(own[0].second.empty());
    EXPECT_FALSE(Below(layout, "SOFTWARE\\Other Variant\\Hunter").empty());

    CSettings read;
    ASSERT_TRUE(read.QueryRegistry());
    EXPECT_EQ(read.getCleanupSettings()->mCleanupAdvanced.mWindowsStart, 1u);
    EXPECT_EQ(read.getCleanupSettings()->mCleanupSys.mRun, 1u);
}

TEST_F(RegistryLayout, DeniedFixedCleanupKeyPutsGroupsBelowTheOwnKey) {
    CSettings::mRunningApp = "Other Variant";
    platform::registry_test::DenyPath(platform::HKEY_CURRENT_USER, kRoot);
    CSettings settings;
    ASSERT_TRUE(settings.SetRegistry());

    const Layout own = Below(Dump(), "SOFTWARE\\Other Variant\\Cleanup");
    ASSERT_EQ(own.size(), 3u);
    EXPECT_TRUE(own[0].second.empty());  // no advanced flags
    EXPECT_EQ(own[1].first, "SOFTWARE\\Other Variant\\Cleanup\\System");
    EXPECT_EQ(own[1].second.size(), 10u);
    EXPECT_EQ(own[2].first, "SOFTWARE\\Other Variant\\Cleanup\\Internet");
}

TEST_F(RegistryLayout, RootThatCannotBeMadeWritesNothingAndFails) {
    platform::registry_test::DenyPath(platform::HKEY_CURRENT_USER, kRoot);
    CSettings settings;
    settings.getSysConfig()->mLaunchAtStartup = 1;
    EXPECT_FALSE(settings.SetRegistry());
    const Layout layout = Dump();
    EXPECT_TRUE(Below(layout, kRoot).empty());
    EXPECT_TRUE(Below(layout, "SOFTWARE\\Microsoft").empty());  // no start-with-Windows value
}

TEST_F(RegistryLayout, EmptyRunningAppIsRestoredBeforeTheRootIsMade) {
    CSettings::mRunningApp.clear();
    CSettings settings;
    ASSERT_TRUE(settings.SetRegistry());
    EXPECT_EQ(CSettings::mRunningApp, kDefaultRunningApp);
    EXPECT_EQ(Below(Dump(), kRoot).size(), kExpectedLayout.size());

    // Reading restores it too, rather than reading HKCU\SOFTWARE itself.
    CSettings::mRunningApp.clear();
    CSettings read;
    EXPECT_TRUE(read.QueryRegistry());
    EXPECT_EQ(CSettings::mRunningApp, kDefaultRunningApp);
    EXPECT_TRUE(Below(Dump(), "SOFTWARE\\Hunter").empty());
}

// The start-with-Windows value: data the library's folder, "\" and the
// program file; deleted when the flag is cleared.
class StartupValue : public SettingsTest {
protected:
    static std::string RunValue() {
        platform::RegKey run;
        run.Open(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
        std::string value;
        if (run.QueryStringValue(CSettings::mRunningApp, value) != platform::ERROR_SUCCESS) {
            return "<none>";
        }
        return value;
    }
};

TEST_F(StartupValue, NamesTheProgramChosenByAppName) {
    struct Case {
        eAppName app;
        const char* program;
    };
    for (const Case& c : {Case{eKVDesk, "KVDesk.exe"}, Case{eKavelinP, "KavelinP.exe"},
                          Case{static_cast<eAppName>(3), ""}}) {
        SCOPED_TRACE(c.app);
        CSettings::mAppName = c.app;
        CSettings settings;
        settings.getSysConfig()->setLaunchAtStartup(true);
        ASSERT_TRUE(settings.SetRegistry());

        const std::string value = RunValue();
        const std::size_t cut = value.rfind('\\');
        ASSERT_NE(cut, std::string::npos) << value;
        EXPECT_EQ(value.substr(cut + 1), c.program);
        const std::filesystem::path folder = value.substr(0, cut);
        EXPECT_TRUE(folder.is_absolute()) << value;
        EXPECT_TRUE(std::filesystem::exists(folder / "libPrefsKeeper.so")) << value;
    }
}

TEST_F(StartupValue, ClearingTheFlagDeletesTheValue) {
    CSettings::mAppName = eKVDesk;
    CSettings settings;
    settings.getSysConfig()->setLaunchAtStartup(true);
    ASSERT_TRUE(settings.SetRegistry());
    ASSERT_NE(RunValue(), "<none>");
    settings.getSysConfig()->setLaunchAtStartup(false);
    ASSERT_TRUE(settings.SetRegistry());
    EXPECT_EQ(RunValue(), "<none>");
}

TEST_F(StartupValue, IsNamedAfterTheRunningApp) {
    CSettings::mRunningApp = "Kavelin Test Variant";
    CSettings::mAppName = eKVDesk;
    CSettings settings;
    settings.getSysConfig()->setLaunchAtStartup(true);
    ASSERT_TRUE(settings.SetRegistry());
    EXPECT_NE(RunValue(), "<none>");
    CSettings::mRunningApp = kDefaultRunningApp;
    EXPECT_EQ(RunValue(), "<none>");
}

}  // namespace
}  // namespace settingstest
