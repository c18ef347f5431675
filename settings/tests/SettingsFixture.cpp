#include "SettingsFixture.h"

#include <cstdlib>

namespace settingstest {
namespace fs = std::filesystem;

namespace {

CCleanupSettings& Cleanup(CSettings& s) { return *s.getCleanupSettings(); }
CFiltrationSettings& Filter(CSettings& s) { return *s.getFiltrationSettings(); }
CPrivacySettings& Privacy(CSettings& s) { return *s.getPrivacySettings(); }
CGnrlSettings& General(CSettings& s) { return *s.getGeneralSettings(); }
CSysConfig& Sys(CSettings& s) { return *s.getSysConfig(); }
CHunterSettings& Hunter(CSettings& s) { return *s.getHunterSettings(); }

}  // namespace

#define KV_FIELD(name, expr) {name, [](CSettings& s) -> decltype(auto) { return (expr); }}

const std::vector<DwordField>& DwordFields() {
    static const std::vector<DwordField> fields = {
        KV_FIELD("Cleanup/_BROWSER_EXIT", Cleanup(s).mCleanupAdvanced.mBrowserExit),
        KV_FIELD("Cleanup/_WINDOWS_EXIT", Cleanup(s).mCleanupAdvanced.mWindowsExit),
        KV_FIELD("Cleanup/_WINDOWS_START", Cleanup(s).mCleanupAdvanced.mWindowsStart),
        KV_FIELD("Cleanup\\System/_ALL", Cleanup(s).mCleanupSys.mAll),
        KV_FIELD("Cleanup\\System/_RUN", Cleanup(s).mCleanupSys.mRun),
        KV_FIELD("Cleanup\\System/_FIND_COMP", Cleanup(s).mCleanupSys.mFindComp),
        KV_FIELD("Cleanup\\System/_FIND_FILE", Cleanup(s).mCleanupSys.mFindFile),
        KV_FIELD("Cleanup\\System/_TELNET", Cleanup(s).mCleanupSys.mTelnet),
        KV_FIELD("Cleanup\\System/_LOGIN", Cleanup(s).mCleanupSys.mLogin),
        KV_FIELD("Cleanup\\System/_NETWORK", Cleanup(s).mCleanupSys.mNetwork),
        KV_FIELD("Cleanup\\System/_RECYCLE", Cleanup(s).mCleanupSys.mRecycle),
        KV_FIELD("Cleanup\\System/_TEMP", Cleanup(s).mCleanupSys.mTemp),
        KV_FIELD("Cleanup\\System/_RECENT", Cleanup(s).mCleanupSys.mRecent),
        KV_FIELD("Cleanup\\Internet/_ALL", Cleanup(s).mCleanupInternet.mAll),
        KV_FIELD("Cleanup\\Internet/_AUTO_FORMS", Cleanup(s).mCleanupInternet.mAutoForms),
        KV_FIELD("Cleanup\\Internet/_AUTO_PASS", Cleanup(s).mCleanupInternet.mAutoPass),
        KV_FIELD("Cleanup\\Internet/_COOKIE", Cleanup(s).mCleanupInternet.mCookies),
        KV_FIELD("Cleanup\\Internet/_FAVOURITES", Cleanup(s).mCleanupInternet.mFavourites),
        KV_FIELD("Cleanup\\Internet/_HISTORY", Cleanup(s).mCleanupInternet.mHistory),
        KV_FIELD("Cleanup\\Internet/_TEMP_FILES", Cleanup(s).mCleanupInternet.mTempFiles),
        KV_FIELD("Cleanup\\Internet/_URLS", Cleanup(s).mCleanupInternet.mURLs),
        KV_FIELD("Filteration\\Incoming/_ENABLE", Filter(s).mInFiltration.mEnable),
        KV_FIELD("Filteration\\Incoming/_BLOCK_BANNER_ADS", Filter(s).mInFiltration.mBlockBannerAds),
        KV_FIELD("Filteration\\Incoming/_BLOCK_BANNER_FLASH", Filter(s).mInFiltration.mBlockBannerFlash),
        KV_FIELD("Filteration\\Incoming/_BLOCK_SCRIPT", Filter(s).mInFiltration.mBlockScripts),
        KV_FIELD("Filteration\\Incoming/_BLOCK_POPUPS", Filter(s).mInFiltration.mBlockPopUps),
        KV_FIELD("Filteration\\Incoming/_BLOCK_IMAGES", Filter(s).mInFiltration.mBlockImages),
        KV_FIELD("Filteration\\Incoming/_BLOCK_TITLE", Filter(s).mInFiltration.mIsBlockTitle),
        KV_FIELD("Filteration\\Incoming/_DISABLE_TIMER_SCRIPTS",
                 Filter(s).mInFiltration.mTimerBasedProcessingBlock),
        KV_FIELD("Filteration\\Outgoing/_ENABLE", Filter(s).mOutFiltration.mEnable),
        KV_FIELD("Filteration\\Outgoing/_OSSHIELD", Filter(s).mOutFiltration.mOsShield),
        KV_FIELD("Filteration\\Outgoing/_DISABLE_COOKIES", Filter(s).mOutFiltration.mDisabledCookies),
        KV_FIELD("Filteration\\Outgoing/_ENABLE_SERVER_LIST", Filter(s).mOutFiltration.mEnableServerList),
        KV_FIELD("Filteration\\Outgoing/_BLOCK_RFERR", Filter(s).mOutFiltration.mBlockReferrer),
        KV_FIELD("Filteration\\Outgoing/_DISABLE_FILE_CACHE", Filter(s).mOutFiltration.mDisabledFileCache),
        KV_FIELD("Filteration\\Advanced/_DISABLE_TIMER_SCRIPTS",
                 Filter(s).mAdvancedFiltration.mDisableTimerScripts),
        KV_FIELD("Filteration\\Advanced/_DISABLE_WND_CLOSEUP_EVENTS",
                 Filter(s).mAdvancedFiltration.mDisableWndCloseupEvents),
        KV_FIELD("Filteration\\Advanced/_REMOVE_STATUS_MODIFIER",
                 Filter(s).mAdvancedFiltration.mRemoveStatusModifier),
        KV_FIELD("Filteration\\Advanced/_REMOVE_CONTEXT_MENU",
                 Filter(s).mAdvancedFiltration.mRemoveContextMenu),
        KV_FIELD("Filteration\\Advanced/_DISABLE_JAVA_APPLETS",
                 Filter(s).mAdvancedFiltration.mDisableJavaApplets),
        KV_FIELD("Privacy/_ENABLE_IP_SHIELDING", Privacy(s).mEnableIPShielding),
        KV_FIELD("Privacy/_ENABLE_PROXY_CHAIN", Privacy(s).mEnableProxyChain),
        KV_FIELD("Privacy/_CHAIN_LENGTH", Privacy(s).mChainLength),
        KV_FIELD("Privacy/_CHAIN_TIMER", Privacy(s).mChainTimer),
        KV_FIELD("Privacy/_PROXY_BEST_CHOICE", Privacy(s).mProxyBestChoice),
        KV_FIELD("Privacy/_USER_TYPE", Privacy(s).mUserType),
        KV_FIELD("Privacy/_USER_PORT", Privacy(s).mUserPort),
        KV_FIELD("Privacy/_LISTENER_PORT", Privacy(s).mListenerPort),
        KV_FIELD("Privacy/_USE_PRIVATE_PROXIES", Privacy(s).mUsePrivateProxies),
        KV_FIELD("Privacy/_MIN_CHECK_TIME", Privacy(s).mMinCheckTime),
        KV_FIELD("Privacy/_LISTENER_TYPE", Privacy(s).mListenerType),
        KV_FIELD("General/_BEHIND_FIRE_WALL", General(s).mBehindFireWall),
        KV_FIELD("General/_FIRE_WALL_TYPE", General(s).mFireWallType),
        KV_FIELD("General/_FIRE_WALL_PORT", General(s).mFireWallPort),
        KV_FIELD("General/_STARTING_PORT", General(s).mStartingPort),
        KV_FIELD("General/_BALLON_SHOW", General(s).mIsBallonShow),
        KV_FIELD("General/_PROTECTION_LEVEL", General(s).mProtectionLevel),
        KV_FIELD("Auto/_LAUNCH_STARTUP", Sys(s).mLaunchAtStartup),
        KV_FIELD("Auto/_AUTO_IE", Sys(s).mAutoIE),
        KV_FIELD("Auto/_AUTO_NETSCAPE", Sys(s).mAutoNetscape),
        KV_FIELD("Auto/_AUTO_YAHOO_IM", Sys(s).mAutoYahooIM),
        KV_FIELD("Auto/_AUTO_MSN", Sys(s).mAutoMSN),
        KV_FIELD("Auto/_AUTO_WS_FTP", Sys(s).mAutoWsFTP),
        KV_FIELD("Auto/_AUTO_OPERA", Sys(s).mAutoOpera),
        KV_FIELD("Auto/_AUTO_KAZA", Sys(s).mAutoKaza),
        KV_FIELD("Auto/_AUTO_E_DONKEY", Sys(s).mAutoEDonkey),
        KV_FIELD("Auto/_AUTO_CUTE_FTP", Sys(s).mAutoCuteFtp),
        KV_FIELD("Auto/_AUTO_MIRC", Sys(s).mAutoMirc),
        KV_FIELD("Hunter/_AUTO_ANALYZE_MINS", Hunter(s).mAutoAnalyzeMins),
        KV_FIELD("Hunter/_DEPTH", Hunter(s).mDepth),
        KV_FIELD("Hunter/_BOOL_AUTO_ANALYZE", Hunter(s).mIsAutoAnalyzerEnabled),
        KV_FIELD("Hunter/_BOOL_DEPTH", Hunter(s).mIsDepthEnabled),
        KV_FIELD("Hunter/_BOOL_EXCLUDE_FORIGNER_SERVERS", Hunter(s).mIsExcludeForignerServersEnabled),
        KV_FIELD("Hunter/_BOOL_DELETE_FAILED_PROXIES", Hunter(s).mIsAutoDeleteFailedProxiesEnabled),
        KV_FIELD("Hunter/_DEFAULT", Hunter(s).mIsDefault),
    };
    return fields;
}

const std::vector<TextField>& TextFields() {
    static const std::vector<TextField> fields = {
        KV_FIELD("Filteration\\Incoming/_BLOCK_STR_TITLE", Filter(s).mInFiltration.mBlockTitle),
        KV_FIELD("Privacy/_USER_IP", Privacy(s).mUserIP),
        KV_FIELD("Privacy/_LISTENER_IP", Privacy(s).mListenerIP),
        KV_FIELD("General/_FIRE_WALL_IP", General(s).mFireWallIP),
        KV_FIELD("General/_STARTING_IP", General(s).mStartingIP),
        KV_FIELD("Auto/_AUTO_KAZAA_SERVER_ADDRESS", Sys(s).mAutoKazaaServerAddress),
        KV_FIELD("Auto/_AUTO_KAZAA_SERVER_USR_NAME", Sys(s).mAutoKazaaServerUserName),
        KV_FIELD("Auto/_AUTO_KAZAA_SERVER_USR_PWD", Sys(s).mAutoKazaaServerPassword),
        KV_FIELD("Hunter/_URL_SOURCE", Hunter(s).mURL),
        KV_FIELD("Hunter/_LOCAL_URL", Hunter(s).mLocalURL),
        KV_FIELD("Hunter/_KAVELIN_URL", Hunter(s).mKavelinURL),
    };
    return fields;
}

const std::vector<ListField>& ListFields() {
    static const std::vector<ListField> fields = {
        KV_FIELD("Filteration\\Incoming\\Banners\\AllowedServerList",
                 Filter(s).mInFiltration.mBanners.mAllowedServerList),
        KV_FIELD("Filteration\\Incoming\\Banners\\BlockedServerList",
                 Filter(s).mInFiltration.mBanners.mBlockedServerList),
        KV_FIELD("Filteration\\Incoming\\Banners\\CustomServerList",
                 Filter(s).mInFiltration.mBanners.mCustomServerList),
        KV_FIELD("Filteration\\Outgoing\\ServerStopList", Filter(s).mOutFiltration.mServerStopList),
    };
    return fields;
}

#undef KV_FIELD

void FillWithSentinels(CSettings& settings) {
    for (const auto& f : DwordFields()) f.ref(settings) = kSentinel;
    for (const auto& f : TextFields()) f.ref(settings) = kSentinelText;
    for (const auto& f : ListFields()) f.ref(settings) = {kSentinelText};
    settings.getHunterSettings()->mSourceType = static_cast<eUrlSource>(kSentinel);
}

void FillDistinct(CSettings& settings) {
    DWORD next = 2;
    for (const auto& f : DwordFields()) f.ref(settings) = next++;
    CFiltrationSettings& filter = *settings.getFiltrationSettings();
    COutFiltration& out = filter.mOutFiltration;
    out.mEnable = 1;
    out.mOsShield = 0;
    out.mDisabledCookies = 1;
    out.mEnableServerList = 0;
    out.mBlockReferrer = 1;
    out.mDisabledFileCache = 1;
    filter.mInFiltration.mTimerBasedProcessingBlock = 0;  // never written
    settings.getGeneralSettings()->mStartingPort = 9999;
    CHunterSettings& hunter = *settings.getHunterSettings();
    hunter.mSourceType = eLocalFile;
    hunter.mIsDepthEnabled = 1;
    hunter.mIsAutoAnalyzerEnabled = 1;
    hunter.mIsExcludeForignerServersEnabled = 0;
    hunter.mIsAutoDeleteFailedProxiesEnabled = 1;
    hunter.mIsDefault = 0;

    int n = 0;
    for (const auto& f : TextFields()) f.ref(settings) = "text-" + std::to_string(n++);
    for (const auto& f : ListFields()) {
        f.ref(settings) = {"first-" + std::to_string(n), "Second.Example", "third-" + std::to_string(n)};
        ++n;
    }
}

void ExpectNumbers(CSettings& settings, const Expectations& expected) {
    for (const auto& [name, value] : expected) {
        bool known = false;
        for (const auto& f : DwordFields()) known = known || name == f.name;
        EXPECT_TRUE(known) << "no such field " << name;
    }
    for (const auto& f : DwordFields()) {
        const auto it = expected.find(f.name);
        const DWORD want = it == expected.end() ? kSentinel : it->second;
        EXPECT_EQ(f.ref(settings), want) << f.name;
    }
}

void ExpectSameFields(CSettings& a, CSettings& b) {
    for (const auto& f : DwordFields()) EXPECT_EQ(f.ref(a), f.ref(b)) << f.name;
    for (const auto& f : TextFields()) EXPECT_EQ(f.ref(a), f.ref(b)) << f.name;
    for (const auto& f : ListFields()) EXPECT_EQ(f.ref(a), f.ref(b)) << f.name;
    EXPECT_EQ(a.getHunterSettings()->mSourceType, b.getHunterSettings()->mSourceType);
}

WorkingFolder::WorkingFolder() : previous_(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "kvcwd-XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "cannot make a working folder";
    path_ = pattern;
    fs::current_path(path_);
}

WorkingFolder::~WorkingFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(path_, ec);
}

void SettingsTest::SetUp() {
    CSettings::mRunningApp = kDefaultRunningApp;
    CSettings::mAppName = eKavelinP;
    platform::registry_test::ClearDenials();
}

void SettingsTest::TearDown() {
    CSettings::mRunningApp = kDefaultRunningApp;
    CSettings::mAppName = eKavelinP;
    platform::registry_test::ClearDenials();
}

platform::RegKey OpenSettingsKey(std::string_view below) {
    platform::RegKey key;
    std::string path = RootPath();
    if (!below.empty()) path += "\\" + std::string(below);
    key.Open(platform::HKEY_CURRENT_USER, path);
    return key;
}

}  // namespace settingstest
