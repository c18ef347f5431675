#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SweepFixture.h"
#include "cleanup/CIEAutoComlete.h"
#include "cleanup/CTraceSweeper.h"
#include "platform/Account.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "platform/UrlCache.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;
using sweeptest::Put;
using sweeptest::Snapshot;
using Bytes = std::vector<BYTE>;

const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kIntelliForms = "Software\\Microsoft\\Internet Explorer\\IntelliForms";
const std::string kStorage = "Software\\Microsoft\\Protected Storage System Provider\\";
const std::string kFormsGuid = "e161255a-37c3-11d2-bcaa-00c04fd929db";
const std::string kNetscape = "Application Data/Mozilla/profiles/default/k2j4ab.slt/";
const std::string kOpera = "Application Data/Opera/Opera7/profile/";
const std::string kContent = "Local Settings/Temporary Internet Files/Content.IE5/";
const Bytes kFormerSd = {1, 0, 4, 0x80, 0, 0, 0, 0};

void SetText(Hive hive, const std::string& key, const std::string& name, const std::string& text) {
    RegKey opened;
    ASSERT_EQ(ERROR_SUCCESS, opened.Create(hive, key));
    ASSERT_EQ(ERROR_SUCCESS, opened.SetStringValue(name, text));
}

Bytes Security(Hive hive, const std::string& key) {
    RegKey opened;
    Bytes sd;
    EXPECT_EQ(ERROR_SUCCESS, opened.Open(hive, key));
    EXPECT_EQ(ERROR_SUCCESS, opened.GetKeySecurity(sd));
    return sd;
}

void SetSecurity(Hive hive, const std::string& key, const Bytes& sd) {
    RegKey opened;
    ASSERT_EQ(ERROR_SUCCESS, opened.Create(hive, key));
    ASSERT_EQ(ERROR_SUCCESS, opened.SetKeySecurity(sd));
}

std::string UserKey() { return kStorage + "S-1-22-1-" + std::to_string(::geteuid()); }
std::string UserName() {
    std::string name;
    EXPECT_TRUE(GetUserName(name));
    return name;
}

std::string Cu(const std::string& key) { return "R:HKCU\\" + key; }
std::string Lm(const std::string& key) { return "R:HKLM\\" + key; }
std::string F(const std::string& below) { return "F:" + below; }

class TraceSweeperTest : public sweeptest::SweepTest {
protected:
    // One trace per item and browser, plus neighbours no operation may touch.
    void SeedWorld() {
        {
            RegistryBatch batch;
            SetText(HKEY_CURRENT_USER, kExplorer + "\\RunMRU", "a", "notepad");
            SetText(HKEY_CURRENT_USER, kExplorer + "\\RecentDocs", "a", "doc");
            SetText(HKEY_CURRENT_USER, kExplorer + "\\FindComputerMRU", "a", "host");
            SetText(HKEY_CURRENT_USER, kExplorer + "\\Doc Find Spec MRU", "a", "*.doc");
            SetText(HKEY_CURRENT_USER, kExplorer, "ShellState", "keep");
            SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Telnet", "Machine1", "t");
            SetText(HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                    "DefaultUserName", "user");
            SetText(HKEY_CURRENT_USER, kTypedUrls, "url1", "http://typed/");
            SetText(HKEY_CURRENT_USER, kIntelliForms, "a", "form");
            SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", "a", "keep");
            SetText(HKEY_CURRENT_USER, UserKey() + "\\Data\\" + kFormsGuid + "\\sub", "v", "f");
            SetText(HKEY_CURRENT_USER, UserKey() + "\\Data\\other", "v", "keep");
            SetText(HKEY_LOCAL_MACHINE, kStorage + UserName() + "\\Data\\" + kFormsGuid, "v", "f");
            SetText(HKEY_LOCAL_MACHINE, kStorage + UserName() + "\\Data\\other", "v", "keep");
            SetText(HKEY_CURRENT_USER, "Software\\Opera Software", "Last Directory2", "C:\\Opera7");
            SetSecurity(HKEY_CURRENT_USER, UserKey(), kFormerSd);
        }
        const fs::path p = profile();
        Put(p / "NetHood/Share.lnk", "share");
        Put(p / "RECYCLER/S-1-5/Dc1.txt", "deleted");
        Put(p / "Local Settings/temp/t.tmp", "temp");
        Put(p / "Local Settings/keep.txt", "keep");
        Put(p / "Recent/doc.lnk", "recent");
        Put(p / kContent / "AB12/page.htm", "page");
        Put(p / "Cookies/user@site.txt", "cookie");
        Put(p / "Local Settings/History/History.IE5/MSHist01/h.dat", "visited");
        Put(p / "Favorites/site.url", "fav");
        Put(p / "Opera7/Cache4/opr1.tmp", "opera cache");
        for (const char* name : {"cookies.txt", "history.dat", "prefs.js", "4711.s", "9999.s"})
            Put(p / kNetscape / name, name);
        for (const char* name : {"cookies4.dat", "cookies.dat", "global.dat", "opera.dir", "wand.dat"})
            Put(p / kOpera / name, name);
        fs::create_symlink(outside() / "temp", p / "Local Settings/temp/out");
        Put(outside() / "temp/x.tmp", "outside");
        ASSERT_TRUE(CommitUrlCacheEntry(UrlCacheContainer::Content,
                                        {"http://a/page.htm", NORMAL_CACHE_ENTRY, "AB12/page.htm"}));
        ASSERT_TRUE(CommitUrlCacheEntry(
            UrlCacheContainer::Cookies,
            {"Cookie:user@site/", COOKIE_CACHE_ENTRY | NORMAL_CACHE_ENTRY, "user@site.txt"}));
        for (int csidl : {CSIDL_FAVORITES, CSIDL_RECENT, CSIDL_NETHOOD, CSIDL_APPDATA,
                          CSIDL_INTERNET_CACHE, CSIDL_COOKIES, CSIDL_HISTORY, CSIDL_WINDOWS})
            ShellFolder(csidl);
    }
};

struct Case {
    const char* name;
    unsigned long items;
    unsigned long browsers;
    std::vector<std::string> removed;  // see SweepTest::Without
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"RunHistory", CI_RUN_MRU, CB_IE | CB_NETSCAPE | CB_OPERA, {Cu(kExplorer + "\\RunMRU")}},
        {"SystemItems", CI_FIND_COMPUTER | CI_TELNET | CI_LAST_LOGON | CI_FIND_FILES, CB_IE,
         {Cu(kExplorer + "\\FindComputerMRU"), Cu(kExplorer + "\\Doc Find Spec MRU"),
          Cu("Software\\Microsoft\\Telnet") + "|Machine1",
          Cu("Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon") +
              "|DefaultUserName"}},
        {"Network", CI_NETWORK, 0, {F("NetHood")}},
        {"RecycleBin", CI_RECYCLE_BIN, 0, {F("RECYCLER/")}},
        {"TempAndRecent", CI_TEMP_SYS_FILES | CI_RECENT_FOLDER, 0,
         {F("Local Settings/temp/"), F("Recent/"), Cu(kExplorer + "\\RecentDocs")}},
        {"BrowserItemsWithoutBrowsers", 0xFE00, 0, {}},
        {"UnknownBits", 0xFFFF0000ul, 0xF8, {}},
        {"CookiesNetscape", CI_COOKIES, CB_NETSCAPE, {F(kNetscape + "cookies.txt")}},
        {"CookiesOpera", CI_COOKIES, CB_OPERA, {F(kOpera + "cookies4.dat")}},
        {"CookiesIE", CI_COOKIES, CB_IE, {F("Cookies/"), F(kContent + "AB12/page.htm")}},
        {"TempInternetFilesOpera", CI_TEMP_INTERNET_FILES, CB_OPERA,
         {F(kOpera + "cookies.dat"), F(kOpera + "global.dat")}},
        {"UrlHistoryNetscape", CI_URL_HISTORY, CB_NETSCAPE | CB_OPERA,
         {F(kNetscape + "history.dat")}},
        {"UrlHistoryIE", CI_URL_HISTORY, CB_IE, {F("Local Settings/History/")}},
        {"FavoritesOpera", CI_FAVORITES, CB_OPERA | CB_NETSCAPE, {}},
        {"FavoritesIE", CI_FAVORITES, CB_IE, {F("Favorites/")}},
        {"TypedUrlsAllBrowsers", CI_TYPED_URLS, CB_IE | CB_NETSCAPE | CB_OPERA,
         {Cu(kTypedUrls), F(kOpera + "opera.dir"), F(kOpera + "global.dat"),
          F(kNetscape + "history.dat")}},
        {"AutoPassIE", CI_AUTO_PASS, CB_IE, {Cu(kIntelliForms)}},
        {"AutoPassOpera", CI_AUTO_PASS, CB_OPERA, {}},
        {"AutoFormsNetscape", CI_AUTO_FORMS, CB_NETSCAPE, {F(kNetscape + "4711.s")}},
        {"FormsAndPassNetscape", CI_AUTO_FORMS | CI_AUTO_PASS, CB_NETSCAPE,
         {F(kNetscape + "4711.s"), F(kNetscape + "9999.s")}},
        {"AutoFormsIE", CI_AUTO_FORMS, CB_IE,
         {Cu(UserKey() + "\\Data\\" + kFormsGuid),
          Lm(kStorage + UserName() + "\\Data\\" + kFormsGuid)}},
    };
    return cases;
}

TEST_F(TraceSweeperTest, EachFlagCombinationCleansExactlyItsTraces) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        kvtest::TempRoot fresh;
        fs::remove_all(outside());
        fs::create_directories(outside());
        SeedWorld();
        const Snapshot before = Take();
        CTraceSweeper sweeper;
        sweeper.Clean(c.items, c.browsers);
        Snapshot after = Take();
        Snapshot expected = Without(before, c.removed);
        // The system browser's cache index records the entries left.
        after.erase(F(kContent + "index.dat"));
        expected.erase(F(kContent + "index.dat"));
        after.erase(F("Cookies/index.dat"));
        expected.erase(F("Cookies/index.dat"));
        EXPECT_EQ(expected, after);
        EXPECT_EQ(kFormerSd, Security(HKEY_CURRENT_USER, UserKey()));
    }
}

TEST_F(TraceSweeperTest, FlagsAreOnlyEverSet) {
    CTraceSweeper sweeper;
    const CTraceSweeper cleared;
    sweeper.SetFlags(0x8000, 0x6);
    sweeper.SetFlags(0x1, 0);
    CTraceSweeper expected;
    expected.mTypedUrls = expected.mRunHistory = expected.mNetscape = expected.mOpera = true;
    const auto flags = [](const CTraceSweeper& s) {
        return std::vector<bool>{s.mRunHistory, s.mFindComputer, s.mNetwork, s.mTelnet,
                                 s.mLastLogon, s.mFindFiles, s.mRecycleBin, s.mRecentFolder,
                                 s.mTempSysFiles, s.mTempInternetFiles, s.mCookies, s.mUrlHistory,
                                 s.mAutoForms, s.mAutoPass, s.mFavorites, s.mTypedUrls,
                                 s.mIE, s.mNetscape, s.mOpera};
    };
    EXPECT_EQ(flags(expected), flags(sweeper));
    EXPECT_EQ(std::vector<bool>(19, false), flags(cleared));
    sweeper.SetFlags(0, 0);
    const CTraceSweeper copy = sweeper;
    EXPECT_EQ(flags(expected), flags(copy));

    CTraceSweeper bits;
    bits.SetFlags(CI_TEMP_SYS_FILES, 0);
    EXPECT_TRUE(bits.mTempSysFiles);
    EXPECT_FALSE(bits.mRecentFolder);
}

TEST_F(TraceSweeperTest, EarlierFlagsTakePartInLaterCleans) {
    SeedWorld();
    CTraceSweeper sweeper;
    sweeper.SetFlags(0, CB_NETSCAPE);
    EXPECT_TRUE(sweeper.ClearIEFavorites());
    sweeper.Clean(CI_COOKIES, 0);
    EXPECT_FALSE(fs::exists(profile() / kNetscape / "cookies.txt"));
    EXPECT_TRUE(fs::exists(profile() / kOpera / "cookies4.dat"));
    EXPECT_TRUE(fs::exists(profile() / "Favorites/site.url"));
}

TEST_F(TraceSweeperTest, ResultsPassOnOnlyTheRecycleBinAndNetworkCleaners) {
    CTraceSweeper sweeper;
    sweeper.SetFlags(0, CB_IE | CB_NETSCAPE | CB_OPERA);
    for (auto clear : {&CTraceSweeper::ClearRunHistory, &CTraceSweeper::ClearFindComputer,
                       &CTraceSweeper::ClearTelNetHistory, &CTraceSweeper::ClearLastLogonUser,
                       &CTraceSweeper::ClearFindFiles, &CTraceSweeper::ClearTempSysFiles,
                       &CTraceSweeper::ClearRecentFolder, &CTraceSweeper::ClearIETempInternetFiles,
                       &CTraceSweeper::ClearIECookies, &CTraceSweeper::ClearIEUrlHistory,
                       &CTraceSweeper::ClearIEAutoForms, &CTraceSweeper::ClearIEAutoPass,
                       &CTraceSweeper::ClearIEFavorites, &CTraceSweeper::ClearIETypedURLHistory,
                       &CTraceSweeper::ClearNetworkConnectionsHistory,
                       &CTraceSweeper::ClearRecycleBin})
        EXPECT_TRUE((sweeper.*clear)());
}

TEST_F(TraceSweeperTest, AutoFormsRestoresTheUserKeysFormerAccess) {
    SeedWorld();
    CTraceSweeper sweeper;
    sweeper.SetFlags(0, CB_IE);
    ASSERT_TRUE(sweeper.ClearIEAutoForms());
    Bytes sid, granted;
    ASSERT_EQ(1, sweeper.GetUserSid(sid));
    ASSERT_EQ(1, sweeper.CreateNewSD(sid, granted));
    EXPECT_EQ(kFormerSd, Security(HKEY_CURRENT_USER, UserKey()));
    EXPECT_EQ(granted, Security(HKEY_CURRENT_USER, UserKey() + "\\Data"));
    EXPECT_EQ(Bytes{}, Security(HKEY_CURRENT_USER, UserKey() + "\\Data\\other"));
    RegKey forms;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              forms.Open(HKEY_CURRENT_USER, UserKey() + "\\Data\\" + kFormsGuid));
}

TEST_F(TraceSweeperTest, AutoFormsLeavesAKeyWithDefaultAccessAsItWas) {
    SetText(HKEY_CURRENT_USER, UserKey() + "\\Data\\" + kFormsGuid, "v", "f");
    CTraceSweeper sweeper;
    sweeper.SetFlags(0, CB_IE);
    ASSERT_TRUE(sweeper.ClearIEAutoForms());
    EXPECT_EQ(Bytes{}, Security(HKEY_CURRENT_USER, UserKey()));
}

TEST_F(TraceSweeperTest, SidTextAndDescriptorLayout) {
    CTraceSweeper sweeper;
    const Bytes system = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
    EXPECT_EQ("S-1-5-18", sweeper.GetSidString(system));
    const Bytes unixUser = {1, 2, 0, 0, 0, 0, 0, 22, 1, 0, 0, 0, 0xE8, 0x03, 0, 0};
    EXPECT_EQ("S-1-22-1-1000", sweeper.GetSidString(unixUser));
    Bytes sid;
    ASSERT_EQ(1, sweeper.GetUserSid(sid));
    EXPECT_EQ("S-1-22-1-" + std::to_string(::geteuid()), sweeper.GetSidString(sid));
    for (const Bytes& bad : {Bytes{}, Bytes{1, 2, 0, 0, 0, 0, 0, 22, 1, 0, 0, 0},
                             Bytes{2, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0}}) {
        EXPECT_EQ("", sweeper.GetSidString(bad));
        Bytes sd = {9};
        EXPECT_EQ(0, sweeper.CreateNewSD(bad, sd));
        EXPECT_EQ(Bytes{9}, sd);
    }

    Bytes sd;
    ASSERT_EQ(1, sweeper.CreateNewSD(unixUser, sd));
    const Bytes expected = {
        1, 0, 0x04, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0,  // descriptor
        2, 0, 52, 0, 2, 0, 0, 0,                                            // ACL: 24 + 16 + 12
        0, 3, 24, 0, 0x3F, 0, 0x0F, 0,                                      // user entry
        1, 2, 0, 0, 0, 0, 0, 22, 1, 0, 0, 0, 0xE8, 0x03, 0, 0,
        0, 3, 20, 0, 0x3F, 0, 0x0F, 0,  // LocalSystem entry
        1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
    EXPECT_EQ(expected, sd);
    EXPECT_TRUE(sweeper.IsWindowsNTFamily());
}

TEST_F(TraceSweeperTest, SetPrivilegeReachesEverySubkeyWhenAsked) {
    SetText(HKEY_CURRENT_USER, "T\\a\\b\\c", "v", "1");
    SetText(HKEY_CURRENT_USER, "T\\d", "v", "1");
    SetText(HKEY_CURRENT_USER, "U\\a", "v", "1");
    CTraceSweeper sweeper;
    const Bytes sd = {1, 2, 3};
    EXPECT_EQ(1, sweeper.RegSetPrivilege(HKEY_CURRENT_USER, "U", sd, 0));
    EXPECT_EQ(sd, Security(HKEY_CURRENT_USER, "U"));
    EXPECT_EQ(Bytes{}, Security(HKEY_CURRENT_USER, "U\\a"));
    EXPECT_EQ(1, sweeper.RegSetPrivilege(HKEY_CURRENT_USER, "T", sd, 1));
    for (const char* key : {"T", "T\\a", "T\\a\\b", "T\\a\\b\\c", "T\\d"})
        EXPECT_EQ(sd, Security(HKEY_CURRENT_USER, key)) << key;
    EXPECT_EQ(0, sweeper.RegSetPrivilege(HKEY_CURRENT_USER, nullptr, sd, 1));
    EXPECT_EQ(0, sweeper.RegSetPrivilege(HKEY_CURRENT_USER, "Missing", sd, 1));
    Bytes read = {7};
    EXPECT_EQ(0, sweeper.GetOldSD(HKEY_CURRENT_USER, "Missing", read));
    EXPECT_EQ(1, sweeper.GetOldSD(HKEY_CURRENT_USER, "T\\d", read));
    EXPECT_EQ(sd, read);
}

TEST_F(TraceSweeperTest, DeleteUrlCacheEmptiesOperaCacheAndAnswersForTheWalk) {
    SeedWorld();
    CTraceSweeper sweeper;
    sweeper.SetFlags(0, CB_OPERA);
    EXPECT_FALSE(sweeper.DeleteUrlCache(DCT_TEMP_FILES));
    EXPECT_FALSE(fs::exists(profile() / "Opera7/Cache4/opr1.tmp"));
    EXPECT_TRUE(fs::is_directory(profile() / "Opera7/Cache4"));
    EXPECT_TRUE(fs::exists(profile() / kContent / "AB12/page.htm"));
    sweeper.SetFlags(0, CB_IE);
    EXPECT_TRUE(sweeper.DeleteUrlCache(DCT_TEMP_FILES));
    EXPECT_FALSE(fs::exists(profile() / kContent / "AB12/page.htm"));
    EXPECT_TRUE(fs::exists(profile() / "Cookies/user@site.txt"));
}

TEST_F(TraceSweeperTest, DeleteUrlCacheCreatesTheOperaKeyAndFindsNoWalkWhenEmpty) {
    CTraceSweeper sweeper;
    sweeper.SetFlags(0, CB_OPERA | CB_IE);
    EXPECT_FALSE(sweeper.DeleteUrlCache(DCT_COOKIES));
    RegKey opera;
    EXPECT_EQ(ERROR_SUCCESS, opera.Open(HKEY_CURRENT_USER, "Software\\Opera Software"));
}

TEST_F(TraceSweeperTest, NetscapePathAndWipeMatchTheCleanerPrimitives) {
    SeedWorld();
    CTraceSweeper sweeper;
    EXPECT_EQ((profile() / kNetscape).parent_path().string(), sweeper.GetNetscapePath());
    Put(profile() / "w/index.dat", std::string(100, 'x'));
    EXPECT_EQ(1, sweeper.WipeFile((profile() / "w").string(), "index.dat"));
    EXPECT_EQ(std::string(64, 'x') + std::string(36, '\0'),
              kvtest::ReadFile(profile() / "w/index.dat"));
    EXPECT_EQ(0, sweeper.WipeFile((profile() / "Local Settings/temp").string(), "out"));
    EXPECT_EQ(1, sweeper.EmptyDirectory((profile() / "w").string()));
    EXPECT_TRUE(fs::is_empty(profile() / "w"));
    EXPECT_EQ(0, sweeper.EmptyDirectory(outside().string()));
    EXPECT_EQ("outside", kvtest::ReadFile(outside() / "temp/x.tmp"));
}

TEST_F(TraceSweeperTest, OperaPasswordStepOnlyLooksItsFolderUpMakingTheKey) {
    SeedWorld();
    RegKey::Root(HKEY_CURRENT_USER).RecurseDeleteKey("Software\\Opera Software");
    const Snapshot before = Take();
    CTraceSweeper sweeper;
    sweeper.SetFlags(0, CB_OPERA);
    EXPECT_TRUE(sweeper.ClearIEAutoPass());
    Snapshot after = Take();
    EXPECT_EQ(1u, after.erase(Cu("Software\\Opera Software")));
    EXPECT_EQ(before, after);
}

}  // namespace

// The auto-complete cleaner's private copies of the access-list steps,
// reached as tests may.
struct CIEAutoComleteProbe {
    CIEAutoComlete cleaner;
    CTraceSweeper facade;

    void ExpectSameAsTheFacade(const std::string& key) {
        EXPECT_EQ(facade.IsWindowsNTFamily(), cleaner.IsWindowsNTFamily());
        Bytes mine, theirs;
        ASSERT_EQ(1, cleaner.GetUserSid(mine));
        ASSERT_EQ(1, facade.GetUserSid(theirs));
        EXPECT_EQ(theirs, mine);
        EXPECT_EQ(facade.GetSidString(mine), cleaner.GetSidString(mine));
        EXPECT_EQ("S-1-5-18", cleaner.GetSidString({1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0}));
        Bytes built, expected;
        ASSERT_EQ(1, cleaner.CreateNewSD(mine, built));
        ASSERT_EQ(1, facade.CreateNewSD(mine, expected));
        EXPECT_EQ(expected, built);
        EXPECT_EQ(1, cleaner.RegSetPrivilege(HKEY_CURRENT_USER, key.c_str(), built, 1));
        Bytes read;
        EXPECT_EQ(1, cleaner.GetOldSD(HKEY_CURRENT_USER, (key + "\\sub").c_str(), read));
        EXPECT_EQ(built, read);
        EXPECT_EQ(0, cleaner.RegSetPrivilege(HKEY_CURRENT_USER, nullptr, built, 0));
    }
};

namespace {

TEST_F(TraceSweeperTest, AutoCompleteCleanerCarriesTheAccessListSteps) {
    SetText(HKEY_CURRENT_USER, "Probe\\sub", "v", "1");
    CIEAutoComleteProbe().ExpectSameAsTheFacade("Probe");
}

}  // namespace
