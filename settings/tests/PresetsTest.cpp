// The model: defaults, presets, personal defaults, accessors and copies.

#include <gtest/gtest.h>

#include <functional>

#include "SettingsFixture.h"

namespace settingstest {
namespace {

// What a new CSettings holds: the section defaults with the medium preset
// and balloon tips.
const Expectations kNewSettings = {
    {"Cleanup/_BROWSER_EXIT", 0}, {"Cleanup/_WINDOWS_EXIT", 0}, {"Cleanup/_WINDOWS_START", 0},
    {"Cleanup\\System/_ALL", 0}, {"Cleanup\\System/_RUN", 0}, {"Cleanup\\System/_FIND_COMP", 0},
    {"Cleanup\\System/_FIND_FILE", 0}, {"Cleanup\\System/_TELNET", 0}, {"Cleanup\\System/_LOGIN", 0},
    {"Cleanup\\System/_NETWORK", 0}, {"Cleanup\\System/_RECYCLE", 0}, {"Cleanup\\System/_TEMP", 0},
    {"Cleanup\\System/_RECENT", 0},
    {"Cleanup\\Internet/_ALL", 0}, {"Cleanup\\Internet/_AUTO_FORMS", 0},
    {"Cleanup\\Internet/_AUTO_PASS", 0}, {"Cleanup\\Internet/_COOKIE", 0},
    {"Cleanup\\Internet/_FAVOURITES", 0}, {"Cleanup\\Internet/_HISTORY", 0},
    {"Cleanup\\Internet/_TEMP_FILES", 0}, {"Cleanup\\Internet/_URLS", 0},
    {"Filteration\\Incoming/_ENABLE", 1}, {"Filteration\\Incoming/_BLOCK_BANNER_ADS", 1},
    {"Filteration\\Incoming/_BLOCK_BANNER_FLASH", 0}, {"Filteration\\Incoming/_BLOCK_SCRIPT", 1},
    {"Filteration\\Incoming/_BLOCK_POPUPS", 1}, {"Filteration\\Incoming/_BLOCK_IMAGES", 0},
    {"Filteration\\Incoming/_BLOCK_TITLE", 0}, {"Filteration\\Incoming/_DISABLE_TIMER_SCRIPTS", 0},
    {"Filteration\\Outgoing/_ENABLE", 0}, {"Filteration\\Outgoing/_OSSHIELD", 0},
    {"Filteration\\Outgoing/_DISABLE_COOKIES", 0}, {"Filteration\\Outgoing/_ENABLE_SERVER_LIST", 0},
    {"Filteration\\Outgoing/_BLOCK_RFERR", 0}, {"Filteration\\Outgoing/_DISABLE_FILE_CACHE", 0},
    {"Filteration\\Advanced/_DISABLE_TIMER_SCRIPTS", 0},
    {"Filteration\\Advanced/_DISABLE_WND_CLOSEUP_EVENTS", 1},
    {"Filteration\\Advanced/_REMOVE_STATUS_MODIFIER", 0},
    {"Filteration\\Advanced/_REMOVE_CONTEXT_MENU", 0},
    {"Filteration\\Advanced/_DISABLE_JAVA_APPLETS", 0},
    {"Privacy/_ENABLE_IP_SHIELDING", 1}, {"Privacy/_ENABLE_PROXY_CHAIN", 1},
    {"Privacy/_CHAIN_LENGTH", 1}, {"Privacy/_CHAIN_TIMER", 10}, {"Privacy/_PROXY_BEST_CHOICE", 1},
    {"Privacy/_USER_TYPE", 0}, {"Privacy/_USER_PORT", 80}, {"Privacy/_LISTENER_PORT", 8082},
    {"Privacy/_USE_PRIVATE_PROXIES", 1}, {"Privacy/_MIN_CHECK_TIME", 7},
    {"Privacy/_LISTENER_TYPE", 2},
    {"General/_BEHIND_FIRE_WALL", 0}, {"General/_FIRE_WALL_TYPE", 0}, {"General/_FIRE_WALL_PORT", 0},
    {"General/_STARTING_PORT", 8060}, {"General/_BALLON_SHOW", 1}, {"General/_PROTECTION_LEVEL", 0},
    {"Auto/_LAUNCH_STARTUP", 0}, {"Auto/_AUTO_IE", 1}, {"Auto/_AUTO_NETSCAPE", 0},
    {"Auto/_AUTO_YAHOO_IM", 1}, {"Auto/_AUTO_MSN", 1}, {"Auto/_AUTO_WS_FTP", 0},
    {"Auto/_AUTO_OPERA", 0}, {"Auto/_AUTO_KAZA", 0}, {"Auto/_AUTO_E_DONKEY", 0},
    {"Auto/_AUTO_CUTE_FTP", 0}, {"Auto/_AUTO_MIRC", 0},
    {"Hunter/_AUTO_ANALYZE_MINS", 9999}, {"Hunter/_DEPTH", 0}, {"Hunter/_BOOL_AUTO_ANALYZE", 0},
    {"Hunter/_BOOL_DEPTH", 0}, {"Hunter/_BOOL_EXCLUDE_FORIGNER_SERVERS", 1},
    {"Hunter/_BOOL_DELETE_FAILED_PROXIES", 0}, {"Hunter/_DEFAULT", 1},
};

TEST(SettingsModel, NewObjectHoldsDefaultsWithMediumPreset) {
    CSettings settings;
    ExpectNumbers(settings, kNewSettings);

    const CPrivacySettings& privacy = *settings.getPrivacySettings();
    EXPECT_EQ(privacy.mUserIP, "127.0.0.1");
    EXPECT_EQ(privacy.mListenerIP, "127.0.0.1");
    const CGnrlSettings& general = *settings.getGeneralSettings();
    EXPECT_STREQ(general.getFireWallIP(), "");
    EXPECT_STREQ(general.getStartingIP(), "");
    const CHunterSettings& hunter = *settings.getHunterSettings();
    EXPECT_EQ(hunter.GetSourceType(), eKavelinServer);
    EXPECT_EQ(hunter.GetURL(), kPublicProxyListPage);
    EXPECT_EQ(hunter.GetKavelinURL(), kPublicProxyListPage);
    EXPECT_EQ(hunter.GetLocalURL(), "");
    EXPECT_STREQ(settings.getFiltrationSettings()->mInFiltration.getBlockTitle(), "");
    for (const auto& f : ListFields()) EXPECT_TRUE(f.ref(settings).empty()) << f.name;
    for (const char* text : {settings.getSysConfig()->getAutoKazaaServerAddress(),
                             settings.getSysConfig()->getAutoKazaaServerUserName(),
                             settings.getSysConfig()->getAutoKazaaServerPassword()}) {
        EXPECT_STREQ(text, "");
    }
}

struct PresetCase {
    const char* name;
    std::function<void(CSettings&)> apply;
    Expectations changes;  // everything else keeps its sentinel
};

const PresetCase kPresets[] = {
    {"maximum", [](CSettings& s) { s.SetToMaximumProtection(); },
     {
         {"Cleanup/_BROWSER_EXIT", 1}, {"Cleanup/_WINDOWS_EXIT", 0}, {"Cleanup/_WINDOWS_START", 0},
         {"Cleanup\\Internet/_AUTO_FORMS", 1}, {"Cleanup\\Internet/_AUTO_PASS", 1},
         {"Cleanup\\Internet/_COOKIE", 1}, {"Cleanup\\Internet/_HISTORY", 1},
         {"Cleanup\\Internet/_TEMP_FILES", 1}, {"Cleanup\\Internet/_URLS", 1},
         {"Cleanup\\Internet/_FAVOURITES", 0},
         {"Cleanup\\System/_RUN", 0}, {"Cleanup\\System/_FIND_COMP", 0},
         {"Cleanup\\System/_FIND_FILE", 0}, {"Cleanup\\System/_TELNET", 0},
         {"Cleanup\\System/_LOGIN", 0}, {"Cleanup\\System/_NETWORK", 0},
         {"Cleanup\\System/_RECYCLE", 0}, {"Cleanup\\System/_TEMP", 0}, {"Cleanup\\System/_RECENT", 0},
         {"Filteration\\Incoming/_ENABLE", 1}, {"Filteration\\Incoming/_BLOCK_BANNER_ADS", 1},
         {"Filteration\\Incoming/_BLOCK_SCRIPT", 1}, {"Filteration\\Incoming/_BLOCK_POPUPS", 1},
         {"Filteration\\Incoming/_BLOCK_IMAGES", 1}, {"Filteration\\Incoming/_BLOCK_BANNER_FLASH", 0},
         {"Filteration\\Incoming/_BLOCK_TITLE", 0},
         {"Filteration\\Outgoing/_ENABLE", 0}, {"Filteration\\Outgoing/_OSSHIELD", 0},
         {"Filteration\\Outgoing/_DISABLE_COOKIES", 0}, {"Filteration\\Outgoing/_ENABLE_SERVER_LIST", 0},
         {"Filteration\\Outgoing/_BLOCK_RFERR", 0}, {"Filteration\\Outgoing/_DISABLE_FILE_CACHE", 0},
         {"Filteration\\Advanced/_DISABLE_WND_CLOSEUP_EVENTS", 1},
         {"Filteration\\Advanced/_REMOVE_CONTEXT_MENU", 1},
         {"Filteration\\Advanced/_DISABLE_TIMER_SCRIPTS", 0},
         {"Filteration\\Advanced/_REMOVE_STATUS_MODIFIER", 0},
         {"Privacy/_ENABLE_IP_SHIELDING", 1}, {"Privacy/_ENABLE_PROXY_CHAIN", 1},
         {"Privacy/_PROXY_BEST_CHOICE", 1}, {"Privacy/_USE_PRIVATE_PROXIES", 1},
         {"Privacy/_CHAIN_LENGTH", 2}, {"Privacy/_MIN_CHECK_TIME", 7},
         {"General/_BALLON_SHOW", 1},
         {"Auto/_AUTO_IE", 1}, {"Auto/_AUTO_NETSCAPE", 1}, {"Auto/_AUTO_YAHOO_IM", 1},
         {"Auto/_AUTO_MSN", 1}, {"Auto/_AUTO_WS_FTP", 1}, {"Auto/_AUTO_OPERA", 1},
         {"Auto/_AUTO_KAZA", 1}, {"Auto/_AUTO_CUTE_FTP", 1}, {"Auto/_AUTO_MIRC", 1},
     }},
    {"medium", [](CSettings& s) { s.SetToMediumProtection(); },
     {
         {"Cleanup/_BROWSER_EXIT", 0}, {"Cleanup/_WINDOWS_EXIT", 0}, {"Cleanup/_WINDOWS_START", 0},
         {"Cleanup\\Internet/_AUTO_FORMS", 0}, {"Cleanup\\Internet/_AUTO_PASS", 0},
         {"Cleanup\\Internet/_COOKIE", 0}, {"Cleanup\\Internet/_HISTORY", 0},
         {"Cleanup\\Internet/_TEMP_FILES", 0}, {"Cleanup\\Internet/_URLS", 0},
         {"Cleanup\\Internet/_FAVOURITES", 0},
         {"Cleanup\\System/_RUN", 0}, {"Cleanup\\System/_FIND_COMP", 0},
         {"Cleanup\\System/_FIND_FILE", 0}, {"Cleanup\\System/_TELNET", 0},
         {"Cleanup\\System/_LOGIN", 0}, {"Cleanup\\System/_NETWORK", 0},
         {"Cleanup\\System/_RECYCLE", 0}, {"Cleanup\\System/_TEMP", 0}, {"Cleanup\\System/_RECENT", 0},
         {"Filteration\\Incoming/_ENABLE", 1}, {"Filteration\\Incoming/_BLOCK_BANNER_ADS", 1},
         {"Filteration\\Incoming/_BLOCK_SCRIPT", 1}, {"Filteration\\Incoming/_BLOCK_POPUPS", 1},
         {"Filteration\\Incoming/_BLOCK_IMAGES", 0}, {"Filteration\\Incoming/_BLOCK_BANNER_FLASH", 0},
         {"Filteration\\Incoming/_BLOCK_TITLE", 0},
         {"Filteration\\Outgoing/_ENABLE", 0}, {"Filteration\\Outgoing/_OSSHIELD", 0},
         {"Filteration\\Outgoing/_DISABLE_COOKIES", 0}, {"Filteration\\Outgoing/_ENABLE_SERVER_LIST", 0},
         {"Filteration\\Outgoing/_BLOCK_RFERR", 0}, {"Filteration\\Outgoing/_DISABLE_FILE_CACHE", 0},
         {"Filteration\\Advanced/_DISABLE_WND_CLOSEUP_EVENTS", 1},
         {"Filteration\\Advanced/_REMOVE_CONTEXT_MENU", 0},
         {"Filteration\\Advanced/_DISABLE_TIMER_SCRIPTS", 0},
         {"Filteration\\Advanced/_REMOVE_STATUS_MODIFIER", 0},
         {"Privacy/_ENABLE_IP_SHIELDING", 1}, {"Privacy/_ENABLE_PROXY_CHAIN", 1},
         {"Privacy/_PROXY_BEST_CHOICE", 1}, {"Privacy/_USE_PRIVATE_PROXIES", 1},
         {"Privacy/_CHAIN_LENGTH", 1},
         {"General/_BALLON_SHOW", 1},
         {"Auto/_AUTO_IE", 1}, {"Auto/_AUTO_NETSCAPE", 0}, {"Auto/_AUTO_YAHOO_IM", 1},
         {"Auto/_AUTO_MSN", 1}, {"Auto/_AUTO_WS_FTP", 0}, {"Auto/_AUTO_OPERA", 0},
         {"Auto/_AUTO_KAZA", 0}, {"Auto/_AUTO_CUTE_FTP", 0}, {"Auto/_AUTO_MIRC", 0},
     }},
    {"minimum", [](CSettings& s) { s.SetToMinimumProtection(); },
     {
         {"Cleanup/_BROWSER_EXIT", 0}, {"Cleanup/_WINDOWS_EXIT", 0}, {"Cleanup/_WINDOWS_START", 0},
         {"Cleanup\\Internet/_AUTO_FORMS", 0}, {"Cleanup\\Internet/_AUTO_PASS", 0},
         {"Cleanup\\Internet/_COOKIE", 0}, {"Cleanup\\Internet/_HISTORY", 0},
         {"Cleanup\\Internet/_TEMP_FILES", 0}, {"Cleanup\\Internet/_URLS", 0},
         {"Cleanup\\Internet/_FAVOURITES", 0},
         {"Cleanup\\System/_RUN", 0}, {"Cleanup\\System/_FIND_COMP", 0},
         {"Cleanup\\System/_FIND_FILE", 0}, {"Cleanup\\System/_TELNET", 0},
         {"Cleanup\\System/_LOGIN", 0}, {"Cleanup\\System/_NETWORK", 0},
         {"Cleanup\\System/_RECYCLE", 0}, {"Cleanup\\System/_TEMP", 0}, {"Cleanup\\System/_RECENT", 0},
         {"Filteration\\Incoming/_BLOCK_POPUPS", 1}, {"Filteration\\Incoming/_BLOCK_BANNER_ADS", 0},
         {"Filteration\\Incoming/_BLOCK_BANNER_FLASH", 0}, {"Filteration\\Incoming/_BLOCK_SCRIPT", 0},
         {"Filteration\\Incoming/_BLOCK_IMAGES", 0}, {"Filteration\\Incoming/_BLOCK_TITLE", 0},
         {"Filteration\\Outgoing/_ENABLE", 0}, {"Filteration\\Outgoing/_OSSHIELD", 0},
         {"Filteration\\Outgoing/_DISABLE_COOKIES", 0}, {"Filteration\\Outgoing/_ENABLE_SERVER_LIST", 0},
         {"Filteration\\Outgoing/_BLOCK_RFERR", 0}, {"Filteration\\Outgoing/_DISABLE_FILE_CACHE", 0},
         {"Filteration\\Advanced/_DISABLE_TIMER_SCRIPTS", 0},
         {"Filteration\\Advanced/_DISABLE_WND_CLOSEUP_EVENTS", 0},
         {"Filteration\\Advanced/_REMOVE_STATUS_MODIFIER", 0},
         {"Filteration\\Advanced/_REMOVE_CONTEXT_MENU", 0},
         {"Privacy/_ENABLE_IP_SHIELDING", 1}, {"Privacy/_ENABLE_PROXY_CHAIN", 0},
         {"Privacy/_PROXY_BEST_CHOICE", 1}, {"Privacy/_USE_PRIVATE_PROXIES", 1},
         {"Privacy/_MIN_CHECK_TIME", 14},
         {"General/_BALLON_SHOW", 1},
         {"Auto/_AUTO_IE", 1}, {"Auto/_AUTO_MSN", 1}, {"Auto/_AUTO_NETSCAPE", 0},
         {"Auto/_AUTO_YAHOO_IM", 0}, {"Auto/_AUTO_WS_FTP", 0}, {"Auto/_AUTO_OPERA", 0},
         {"Auto/_AUTO_KAZA", 0}, {"Auto/_AUTO_CUTE_FTP", 0}, {"Auto/_AUTO_MIRC", 0},
     }},
    {"personal defaults", [](CSettings& s) { s.SetToPersonalDefaults(); },
     {
         {"Cleanup/_BROWSER_EXIT", 0}, {"Cleanup/_WINDOWS_EXIT", 0}, {"Cleanup/_WINDOWS_START", 0},
         {"Cleanup\\System/_ALL", 0}, {"Cleanup\\System/_NETWORK", 0}, {"Cleanup\\System/_TEMP", 0},
         {"Cleanup\\System/_RECENT", 0}, {"Cleanup\\System/_RUN", 1},
         {"Cleanup\\System/_FIND_COMP", 1}, {"Cleanup\\System/_FIND_FILE", 1},
         {"Cleanup\\System/_TELNET", 1}, {"Cleanup\\System/_LOGIN", 1}, {"Cleanup\\System/_RECYCLE", 1},
         {"General/_STARTING_PORT", 8082},
         {"Auto/_LAUNCH_STARTUP", 1}, {"Auto/_AUTO_IE", 1}, {"Auto/_AUTO_NETSCAPE", 0},
         {"Auto/_AUTO_YAHOO_IM", 1}, {"Auto/_AUTO_MSN", 1}, {"Auto/_AUTO_WS_FTP", 0},
         {"Auto/_AUTO_OPERA", 0}, {"Auto/_AUTO_KAZA", 0}, {"Auto/_AUTO_E_DONKEY", 0},
         {"Auto/_AUTO_CUTE_FTP", 0}, {"Auto/_AUTO_MIRC", 0},
         {"Hunter/_AUTO_ANALYZE_MINS", 0}, {"Hunter/_DEPTH", 1}, {"Hunter/_BOOL_AUTO_ANALYZE", 0},
         {"Hunter/_BOOL_DEPTH", 1}, {"Hunter/_BOOL_EXCLUDE_FORIGNER_SERVERS", 0},
         {"Hunter/_BOOL_DELETE_FAILED_PROXIES", 0},
     }},
};

TEST(SettingsModel, EachPresetChangesExactlyItsFields) {
    for (const PresetCase& preset : kPresets) {
        SCOPED_TRACE(preset.name);
        CSettings settings;
        FillWithSentinels(settings);
        preset.apply(settings);
        ExpectNumbers(settings, preset.changes);
        for (const auto& f : ListFields()) {
            EXPECT_EQ(f.ref(settings), std::vector<std::string>{kSentinelText}) << f.name;
        }
    }
}

TEST(SettingsModel, PresetsLeaveTextsAndHunterSourceAlone) {
    for (const PresetCase& preset : kPresets) {
        if (std::string(preset.name) == "personal defaults") continue;
        SCOPED_TRACE(preset.name);
        CSettings settings;
        FillWithSentinels(settings);
        preset.apply(settings);
        for (const auto& f : TextFields()) EXPECT_EQ(f.ref(settings), kSentinelText) << f.name;
        EXPECT_EQ(settings.getHunterSettings()->mSourceType, static_cast<eUrlSource>(kSentinel));
    }
}

TEST(SettingsModel, PersonalDefaultsResetHunterSourceAndKazaaButKeepOwnPages) {
    CSettings settings;
    FillWithSentinels(settings);
    settings.SetToPersonalDefaults();
    const CHunterSettings& hunter = *settings.getHunterSettings();
    EXPECT_EQ(hunter.GetSourceType(), eKavelinServer);
    EXPECT_EQ(hunter.GetURL(), kPublicProxyListPage);
    EXPECT_EQ(hunter.GetKavelinURL(), kSentinelText);
    EXPECT_EQ(hunter.GetLocalURL(), kSentinelText);
    EXPECT_STREQ(settings.getSysConfig()->getAutoKazaaServerAddress(), "");
    EXPECT_STREQ(settings.getSysConfig()->getAutoKazaaServerUserName(), "");
    EXPECT_STREQ(settings.getSysConfig()->getAutoKazaaServerPassword(), "");
    EXPECT_EQ(settings.getPrivacySettings()->mUserIP, kSentinelText);
}

TEST(SettingsModel, MinimumAfterMaximumKeepsEnableChainLengthAndJava) {
    CSettings settings;
    settings.getFiltrationSettings()->mAdvancedFiltration.mDisableJavaApplets = 1;
    settings.SetToMaximumProtection();
    settings.SetToMinimumProtection();
    EXPECT_EQ(settings.getFiltrationSettings()->mInFiltration.mEnable, 1u);
    EXPECT_EQ(settings.getPrivacySettings()->mChainLength, 2u);
    EXPECT_EQ(settings.getFiltrationSettings()->mAdvancedFiltration.mDisableJavaApplets, 1u);
}

TEST(SettingsModel, ClearZeroesEveryCleanupFlagAndNothingElse) {
    CSettings settings;
    FillWithSentinels(settings);
    settings.getCleanupSettings()->Clear();
    Expectations zeros;
    for (const auto& f : DwordFields()) {
        if (std::string_view(f.name).starts_with("Cleanup")) zeros[f.name] = 0;
    }
    ExpectNumbers(settings, zeros);
}

TEST(SettingsModel, SetIsDefaultRaisesAClearedDepthLimitOnly) {
    struct Case {
        DWORD depthBefore;
        int value;
        DWORD depthAfter;
    };
    for (const Case& c : {Case{0, 0, 1}, Case{0, 1, 1}, Case{1, 0, 1}, Case{5, 0, 5}}) {
        CHunterSettings hunter;
        hunter.SetIsDepthEnabled(c.depthBefore);
        hunter.SetIsDefault(c.value);
        EXPECT_EQ(hunter.GetIsDefault(), static_cast<DWORD>(c.value));
        EXPECT_EQ(hunter.GetIsDepthEnabled(), c.depthAfter) << "depth before " << c.depthBefore;
    }
}

TEST(SettingsModel, SettersStoreWideValuesAndOnlyBoolGettersFold) {
    CSettings settings;
    CCleanupSys& sys = settings.getCleanupSettings()->mCleanupSys;
    sys.setRun(2);
    EXPECT_EQ(sys.mRun, 2u);
    EXPECT_TRUE(sys.getRun());
    sys.setSysAll(0x12345678u);
    EXPECT_EQ(sys.mAll, 0x12345678u);

    CCleanupInternet& internet = settings.getCleanupSettings()->mCleanupInternet;
    internet.setCookies(2);
    EXPECT_EQ(internet.mCookies, 2u);
    EXPECT_TRUE(internet.getCookies());

    COutFiltration& out = settings.getFiltrationSettings()->mOutFiltration;
    out.SetOsShield(2);
    EXPECT_EQ(out.IsOsShield(), 2);

    CGnrlSettings& general = *settings.getGeneralSettings();
    general.setStartingPort(70000);  // setters never normalise
    EXPECT_EQ(general.getStartingPort(), 70000u);
    general.setIsBallonShow(2);
    EXPECT_EQ(general.getIsBallonShow(), 2u);

    CHunterSettings& hunter = *settings.getHunterSettings();
    hunter.SetIsExcludeForignerServersEnabled(7);
    EXPECT_EQ(hunter.GetIsExcludeForignerServersEnabled(), 7u);

    settings.getFiltrationSettings()->mInFiltration.mTimerBasedProcessingBlock = 2;
    EXPECT_TRUE(settings.getFiltrationSettings()->mInFiltration.getTimerBasedProcessingBlock());
}

TEST(SettingsModel, CopiesAreDeep) {
    CSettings original;
    FillWithSentinels(original);
    CSettings copy(original);
    CSettings assigned;
    assigned = original;
    for (CSettings* other : {&copy, &assigned}) {
        ExpectSameFields(*other, original);
        for (const auto& f : TextFields()) f.ref(*other) = "changed";
        for (const auto& f : ListFields()) f.ref(*other).push_back("changed");
        for (const auto& f : DwordFields()) f.ref(*other) = 3;
    }
    for (const auto& f : TextFields()) EXPECT_EQ(f.ref(original), kSentinelText) << f.name;
    for (const auto& f : ListFields()) {
        EXPECT_EQ(f.ref(original), std::vector<std::string>{kSentinelText}) << f.name;
    }
    ExpectNumbers(original, {});
}

TEST(SettingsModel, ListSettersCopyAndGettersEditInPlace) {
    CSettings settings;
    CFiltrationBanners& banners = settings.getFiltrationSettings()->mInFiltration.mBanners;
    std::vector<std::string> list = {"ads.example"};
    banners.SetBlockedServerList(list);
    list.push_back("later");
    EXPECT_EQ(banners.GetBlockedServerList(), std::vector<std::string>{"ads.example"});
    banners.GetBlockedServerList().push_back("more.example");
    EXPECT_EQ(banners.mBlockedServerList.size(), 2u);
}

TEST(SettingsModel, SectionsStandInLayoutOrder) {
    CSettings settings;
    const auto at = [](const void* p) { return static_cast<const char*>(p); };
    const char* addresses[] = {
        at(settings.getCleanupSettings()),   at(settings.getFiltrationSettings()),
        at(settings.getPrivacySettings()),   at(settings.getGeneralSettings()),
        at(settings.getSysConfig()),         at(settings.getHunterSettings()),
    };
    for (std::size_t i = 1; i < std::size(addresses); ++i) {
        EXPECT_LT(addresses[i - 1], addresses[i]) << "section " << i;
    }
    const CCleanupSettings& cleanup = *settings.getCleanupSettings();
    EXPECT_LT(at(&cleanup.mCleanupAdvanced), at(&cleanup.mCleanupSys));
    EXPECT_LT(at(&cleanup.mCleanupSys), at(&cleanup.mCleanupInternet));
}

}  // namespace
}  // namespace settingstest
