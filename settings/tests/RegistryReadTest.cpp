// Reading: normalisations, missing keys and values, first run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsFixture.h"

namespace settingstest {
namespace {

using platform::ERROR_SUCCESS;

class RegistryRead : public SettingsTest {
protected:
    // Stores a fresh object with FillDistinct values; returns it.
    CSettings StoreDistinct() {
        CSettings stored;
        FillDistinct(stored);
        EXPECT_TRUE(stored.SetRegistry());
        return stored;
    }
    void WriteListFiles() {
        kvtest::WriteFile(folder_.path() / "AllowedAds.txt", "Allowed.example\n");
        kvtest::WriteFile(folder_.path() / "blockedAds.txt", "ads.example\r\nBanners.example\r\n");
        kvtest::WriteFile(folder_.path() / "ServerStopList.txt", "stop.example");
    }
    static DWORD Count(platform::RegKey key) {
        DWORD count = 0xFFFFFFFFu;
        key.QueryDWORDValue("Count", count);
        return count;
    }
};

TEST_F(RegistryRead, StartingPortIsForcedIntoRangeOnRead) {
    struct Case {
        DWORD stored;
        DWORD read;
    };
    for (const Case& c : {Case{79, 8060}, Case{80, 80}, Case{10000, 10000}, Case{10001, 8060},
                          Case{0, 8060}}) {
        CSettings settings;
        ASSERT_TRUE(settings.SetRegistry());
        OpenSettingsKey("General").SetDWORDValue("_STARTING_PORT", c.stored);
        ASSERT_TRUE(settings.QueryRegistry());
        EXPECT_EQ(settings.getGeneralSettings()->getStartingPort(), c.read) << "stored " << c.stored;
    }
}

TEST_F(RegistryRead, StartingPortIsForcedIntoRangeOnWrite) {
    for (const DWORD port : {DWORD{79}, DWORD{10001}}) {
        CSettings settings;
        settings.getGeneralSettings()->setStartingPort(port);
        ASSERT_TRUE(settings.SetRegistry());
        EXPECT_EQ(settings.getGeneralSettings()->getStartingPort(), 8060u);
        DWORD stored = 0;
        OpenSettingsKey("General").QueryDWORDValue("_STARTING_PORT", stored);
        EXPECT_EQ(stored, 8060u);
    }
}

TEST_F(RegistryRead, HunterValuesAreForcedIntoRangeWhenWritten) {
    struct Case {
        const char* value;
        DWORD CHunterSettings::*field;
        DWORD given;
        DWORD written;
    };
    const Case cases[] = {
        {"_BOOL_DEPTH", &CHunterSettings::mIsDepthEnabled, 7, 0},
        {"_BOOL_DEPTH", &CHunterSettings::mIsDepthEnabled, 1, 1},
        {"_BOOL_AUTO_ANALYZE", &CHunterSettings::mIsAutoAnalyzerEnabled, 7, 0},
        {"_BOOL_EXCLUDE_FORIGNER_SERVERS", &CHunterSettings::mIsExcludeForignerServersEnabled, 7, 1},
        {"_BOOL_EXCLUDE_FORIGNER_SERVERS", &CHunterSettings::mIsExcludeForignerServersEnabled, 0, 0},
        {"_BOOL_DELETE_FAILED_PROXIES", &CHunterSettings::mIsAutoDeleteFailedProxiesEnabled, 7, 1},
        {"_DEFAULT", &CHunterSettings::mIsDefault, 7, 1},
        {"_DEFAULT", &CHunterSettings::mIsDefault, 0, 0},
        {"_AUTO_ANALYZE_MINS", &CHunterSettings::mAutoAnalyzeMins, 123456, 123456},
        {"_DEPTH", &CHunterSettings::mDepth, 77, 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " = " + std::to_string(c.given));
        CSettings settings;
        CHunterSettings& hunter = *settings.getHunterSettings();
        hunter.*(c.field) = c.given;
        ASSERT_TRUE(settings.SetRegistry());
        EXPECT_EQ(hunter.*(c.field), c.written);
        DWORD stored = 0;
        EXPECT_EQ(OpenSettingsKey("Hunter").QueryDWORDValue(c.value, stored), ERROR_SUCCESS);
        EXPECT_EQ(stored, c.written);
    }
}

TEST_F(RegistryRead, HunterSourceTypeOutOfRangeBecomesTheBuiltInList) {
    struct Case {
        DWORD given;
        eUrlSource written;
    };
    for (const Case& c : {Case{5, eKavelinServer}, Case{3, eKavelinServer}, Case{2, eLocalFile},
                          Case{1, eUserURL}}) {
        CSettings settings;
        settings.getHunterSettings()->SetSourceType(static_cast<eUrlSource>(c.given));
        ASSERT_TRUE(settings.SetRegistry());
        EXPECT_EQ(settings.getHunterSettings()->GetSourceType(), c.written) << c.given;
        DWORD stored = 99;
        OpenSettingsKey("Hunter").QueryDWORDValue("_URL_SOURCE_TYPE", stored);
        EXPECT_EQ(stored, static_cast<DWORD>(c.written));
    }
}

TEST_F(RegistryRead, EmptyOwnPageBecomesThePublicListPageWhenWritten) {
    CSettings settings;
    settings.getHunterSettings()->SetKavelinURL("");
    ASSERT_TRUE(settings.SetRegistry());
    EXPECT_EQ(settings.getHunterSettings()->GetKavelinURL(), kPublicProxyListPage);
}

TEST_F(RegistryRead, OutgoingFlagsReadAsZeroOrOne) {
    CSettings settings;
    ASSERT_TRUE(settings.SetRegistry());
    platform::RegKey out = OpenSettingsKey("Filteration\\Outgoing");
    out.SetDWORDValue("_OSSHIELD", 5);
    out.SetDWORDValue("_BLOCK_RFERR", 0xFFFFFFFFu);
    out.SetDWORDValue("_ENABLE", 0);
    settings.getFiltrationSettings()->mOutFiltration.mEnable = 9;
    ASSERT_TRUE(settings.QueryRegistry());
    const COutFiltration& o = settings.getFiltrationSettings()->mOutFiltration;
    EXPECT_EQ(o.IsOsShield(), 1);
    EXPECT_EQ(o.IsBlockReferrer(), 1);
    EXPECT_EQ(o.IsEnable(), 0);
}

// A missing _PROTECTION_LEVEL ends the read inside the general section:
// everything before it is read, the firewall address and the later sections
// keep what the object held.
TEST_F(RegistryRead, MissingProtectionLevelFailsAfterTheEarlierValues) {
    CSettings stored = StoreDistinct();
    OpenSettingsKey("General").DeleteValue("_PROTECTION_LEVEL");

    CSettings read;
    FillWithSentinels(read);
    EXPECT_FALSE(read.QueryRegistry());

    const auto kept = [](std::string_view name) {
        return name.starts_with("Auto/") || name.starts_with("Hunter/") ||
               name == "General/_PROTECTION_LEVEL" || name == "General/_FIRE_WALL_IP" ||
               name == "Filteration\\Incoming/_DISABLE_TIMER_SCRIPTS";
    };
    for (const auto& f : DwordFields()) {
        EXPECT_EQ(f.ref(read), kept(f.name) ? kSentinel : f.ref(stored)) << f.name;
    }
    for (const auto& f : TextFields()) {
        EXPECT_EQ(f.ref(read), kept(f.name) ? kSentinelText : f.ref(stored)) << f.name;
    }
    for (const auto& f : ListFields()) EXPECT_EQ(f.ref(read), f.ref(stored)) << f.name;
}

// Which sections are read when a key or value is missing or of the wrong
// kind: "read" sections hold the stored values afterwards, the others keep
// the object's own.
TEST_F(RegistryRead, MissingKeysAndValuesStopTheReadWhereTheyShould) {
    struct Case {
        const char* name;
        void (*damage)();
        bool result;
        bool generalRead;  // its last value, the firewall address
        bool autoRead;
        bool hunterRead;   // its last value, the local URL
    };
    const Case cases[] = {
        {"no General key", [] { OpenSettingsKey("").RecurseDeleteKey("General"); },
         false, false, false, false},
        {"starting port as text",
         [] { OpenSettingsKey("General").SetStringValue("_STARTING_PORT", "8060"); },
         false, false, false, false},
        {"no firewall type",
         [] { OpenSettingsKey("General").DeleteValue("_FIRE_WALL_TYPE"); }, false,
         false, false, false},
        {"no Hunter key", [] { OpenSettingsKey("").RecurseDeleteKey("Hunter"); },
         false, true, true, false},
        {"no hunter depth", [] { OpenSettingsKey("Hunter").DeleteValue("_DEPTH"); },
         false, true, true, false},
        {"hunter default as text",
         [] { OpenSettingsKey("Hunter").SetStringValue("_DEFAULT", "1"); }, false,
         true, true, false},
        {"no Privacy key", [] { OpenSettingsKey("").RecurseDeleteKey("Privacy"); },
         true, true, true, true},
        {"no Auto key", [] { OpenSettingsKey("").RecurseDeleteKey("Auto"); }, true,
         true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSettings stored = StoreDistinct();
        c.damage();
        CSettings read;
        FillWithSentinels(read);
        EXPECT_EQ(read.QueryRegistry(), c.result);
        EXPECT_EQ(read.getGeneralSettings()->mFireWallIP,
                  c.generalRead ? stored.getGeneralSettings()->mFireWallIP : kSentinelText);
        EXPECT_EQ(read.getSysConfig()->mAutoMirc,
                  c.autoRead ? stored.getSysConfig()->mAutoMirc : kSentinel);
        EXPECT_EQ(read.getHunterSettings()->mLocalURL,
                  c.hunterRead ? stored.getHunterSettings()->mLocalURL : kSentinelText);
        // The sections before the general one are always read.
        EXPECT_EQ(read.getCleanupSettings()->mCleanupSys.mRecent,
                  stored.getCleanupSettings()->mCleanupSys.mRecent);
    }
}

TEST_F(RegistryRead, MissingPrivacyKeyStillSetsPrivateProxiesAndCheckTime) {
    CSettings stored = StoreDistinct();
    OpenSettingsKey("").RecurseDeleteKey("Privacy");
    CSettings read;
    FillWithSentinels(read);
    ASSERT_TRUE(read.QueryRegistry());
    const CPrivacySettings& privacy = *read.getPrivacySettings();
    EXPECT_EQ(privacy.mUsePrivateProxies, 1u);
    EXPECT_EQ(privacy.mMinCheckTime, 7u);
    EXPECT_EQ(privacy.mListenerPort, kSentinel);
    EXPECT_EQ(privacy.mListenerType, kSentinel);
    EXPECT_EQ(privacy.mUserIP, kSentinelText);
}

TEST_F(RegistryRead, MissingPrivacyValuesKeepFieldsExceptListenerType) {
    StoreDistinct();
    platform::RegKey privacy = OpenSettingsKey("Privacy");
    for (const char* name : {"_LISTENER_TYPE", "_LISTENER_PORT", "_USE_PRIVATE_PROXIES",
                             "_MIN_CHECK_TIME", "_USER_IP"}) {
        privacy.DeleteValue(name);
    }
    CSettings read;
    FillWithSentinels(read);
    ASSERT_TRUE(read.QueryRegistry());
    const CPrivacySettings& p = *read.getPrivacySettings();
    EXPECT_EQ(p.mListenerType, 2u);
    EXPECT_EQ(p.mListenerPort, kSentinel);
    EXPECT_EQ(p.mUsePrivateProxies, 1u);
    EXPECT_EQ(p.mMinCheckTime, 7u);
    EXPECT_EQ(p.mUserIP, "");  // a missing text reads as empty
}

TEST_F(RegistryRead, TextsLongerThanTheirBufferReadAsEmpty) {
    struct Case {
        const char* key;
        const char* value;
        std::size_t length;  // one byte too many with the terminating zero
        std::string& (*field)(CSettings&);
    };
    const Case cases[] = {
        {"Privacy", "_USER_IP", 20, [](CSettings& s) -> std::string& { return s.getPrivacySettings()->mUserIP; }},
        {"Privacy", "_LISTENER_IP", 20,
         [](CSettings& s) -> std::string& { return s.getPrivacySettings()->mListenerIP; }},
        {"General", "_STARTING_IP", 20,
         [](CSettings& s) -> std::string& { return s.getGeneralSettings()->mStartingIP; }},
        {"Auto", "_AUTO_KAZAA_SERVER_USR_PWD", 50,
         [](CSettings& s) -> std::string& { return s.getSysConfig()->mAutoKazaaServerPassword; }},
        {"Hunter", "_URL_SOURCE", 256,
         [](CSettings& s) -> std::string& { return s.getHunterSettings()->mURL; }},
        {"Filteration\\Incoming", "_BLOCK_STR_TITLE", 259,
         [](CSettings& s) -> std::string& { return s.getFiltrationSettings()->mInFiltration.mBlockTitle; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        CSettings settings;
        ASSERT_TRUE(settings.SetRegistry());
        OpenSettingsKey(c.key).SetStringValue(c.value, std::string(c.length, 'x'));
        c.field(settings) = "before";
        ASSERT_TRUE(settings.QueryRegistry());
        EXPECT_EQ(c.field(settings), "");
    }
}

TEST_F(RegistryRead, MissingAdvancedFiltrationKeyIsWrittenFromTheObject) {
    CSettings settings;
    ASSERT_TRUE(settings.SetRegistry());
    OpenSettingsKey("Filteration").RecurseDeleteKey("Advanced");
    settings.getFiltrationSettings()->mAdvancedFiltration.mDisableJavaApplets = 1;
    ASSERT_TRUE(settings.QueryRegistry());
    EXPECT_EQ(settings.getFiltrationSettings()->mAdvancedFiltration.mDisableJavaApplets, 1u);
    DWORD stored = 0;
    EXPECT_EQ(OpenSettingsKey("Filteration\\Advanced").QueryDWORDValue("_DISABLE_JAVA_APPLETS", stored),
              ERROR_SUCCESS);
    EXPECT_EQ(stored, 1u);
}

TEST_F(RegistryRead, IncomingTimerFlagIsReadButNeverWritten) {
    CSettings settings;
    ASSERT_TRUE(settings.SetRegistry());
    OpenSettingsKey("Filteration\\Incoming").SetDWORDValue("_DISABLE_TIMER_SCRIPTS", 1);
    ASSERT_TRUE(settings.QueryRegistry());
    EXPECT_TRUE(settings.getFiltrationSettings()->mInFiltration.getTimerBasedProcessingBlock());

    settings.getFiltrationSettings()->mInFiltration.mTimerBasedProcessingBlock = 0;
    ASSERT_TRUE(settings.SetRegistry());
    DWORD stored = 0;
    OpenSettingsKey("Filteration\\Incoming").QueryDWORDValue("_DISABLE_TIMER_SCRIPTS", stored);
    EXPECT_EQ(stored, 1u);
}

TEST_F(RegistryRead, FirstRunStoresDefaultsAndTheShippedLists) {
    WriteListFiles();
    CSettings settings;
    ASSERT_TRUE(settings.QueryRegistry());

    const CFiltrationSettings& filter = *settings.getFiltrationSettings();
    EXPECT_EQ(filter.mInFiltration.mBanners.mAllowedServerList, std::vector<std::string>{"allowed.example"});
    EXPECT_EQ(filter.mInFiltration.mBanners.mBlockedServerList,
              (std::vector<std::string>{"ads.example", "banners.example"}));
    EXPECT_EQ(filter.mOutFiltration.mServerStopList, std::vector<std::string>{"stop.example"});
    EXPECT_EQ(Count(OpenSettingsKey("Filteration\\Incoming\\Banners\\BlockedServerList")), 2u);
    EXPECT_EQ(Count(OpenSettingsKey("Filteration\\Outgoing\\ServerStopList")), 1u);
    EXPECT_EQ(Count(OpenSettingsKey("Filteration\\Incoming\\Banners\\CustomServerList")), 0u);

    // The stored settings are the defaults: a second read succeeds and
    // changes nothing.
    CSettings again;
    ASSERT_TRUE(again.QueryRegistry());
    ExpectSameFields(again, settings);
}

TEST_F(RegistryRead, FirstRunWithoutListFilesStoresEmptyListsFilledOnTheNextRead) {
    CSettings settings;
    ASSERT_TRUE(settings.QueryRegistry());
    for (const auto& f : ListFields()) {
        EXPECT_TRUE(f.ref(settings).empty()) << f.name;
        EXPECT_EQ(Count(OpenSettingsKey(f.name)), 0u) << f.name;
    }

    WriteListFiles();
    CSettings next;
    ASSERT_TRUE(next.QueryRegistry());
    const CFiltrationSettings& filter = *next.getFiltrationSettings();
    EXPECT_EQ(filter.mInFiltration.mBanners.mAllowedServerList.size(), 1u);
    EXPECT_EQ(filter.mInFiltration.mBanners.mBlockedServerList.size(), 2u);
    EXPECT_EQ(filter.mOutFiltration.mServerStopList.size(), 1u);
    EXPECT_TRUE(filter.mInFiltration.mBanners.mCustomServerList.empty());
    // Loaded from the files, not yet stored.
    EXPECT_EQ(Count(OpenSettingsKey("Filteration\\Outgoing\\ServerStopList")), 0u);
}

TEST_F(RegistryRead, FirstRunKeepsListsTheObjectAlreadyHolds) {
    WriteListFiles();
    CSettings settings;
    settings.getFiltrationSettings()->mOutFiltration.mServerStopList = {"Mine.example"};
    ASSERT_TRUE(settings.QueryRegistry());
    EXPECT_EQ(settings.getFiltrationSettings()->mOutFiltration.mServerStopList,
              std::vector<std::string>{"Mine.example"});
}

TEST_F(RegistryRead, StoredListEntriesKeepTheirCase) {
    WriteListFiles();
    CSettings settings;
    settings.getFiltrationSettings()->mInFiltration.mBanners.mAllowedServerList = {"MixedCase.Example"};
    ASSERT_TRUE(settings.SetRegistry());
    CSettings read;
    ASSERT_TRUE(read.QueryRegistry());
    EXPECT_EQ(read.getFiltrationSettings()->mInFiltration.mBanners.mAllowedServerList,
              std::vector<std::string>{"MixedCase.Example"});
}

TEST_F(RegistryRead, FirstRunWithADeniedRootFails) {
    platform::registry_test::DenyPath(platform::HKEY_CURRENT_USER, RootPath());
    CSettings settings;
    EXPECT_FALSE(settings.QueryRegistry());
}

}  // namespace
}  // namespace settingstest
