#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "SweepFixture.h"
#include "cleanup/CClearFindComputerHistory.h"
#include "cleanup/CClearFindFile.h"
#include "cleanup/CClearLastLogon.h"
#include "cleanup/CClearNetworkHistory.h"
#include "cleanup/CClearRunHistory.h"
#include "cleanup/CClearTelNet.h"
#include "cleanup/CClearTemporaryInternetFiles.h"
#include "cleanup/CEmptyRecycleBin.h"
#include "cleanup/CIEAutoComlete.h"
#include "cleanup/CIEClearHistory.h"
#include "cleanup/CIECookies.h"
#include "cleanup/CIEFavroits.h"
#include "cleanup/CIETypedUrls.h"
#include "cleanup/CNetscapeCache.h"
#include "cleanup/CNetscapeCookies.h"
#include "cleanup/CNetscapeHistory.h"
#include "cleanup/COperaCookies.h"
#include "cleanup/COperaHistory.h"
#include "cleanup/COperaTempFiles.h"
#include "cleanup/COperaTypedUrls.h"
#include "cleanup/NetscapeProfile.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "platform/UrlCache.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;
using sweeptest::Put;
using sweeptest::Snapshot;

const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kBar =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}";
const std::string kAcMru = "Software\\Microsoft\\Search Assistant\\ACMru";
const std::string kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::string kTelnet = "Software\\Microsoft\\Telnet";
const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kNetscape = "Application Data/Mozilla/profiles/default/k2j4ab.slt/";
const std::string kOpera = "Application Data/Opera/Opera7/profile/";
const std::string kContent = "Local Settings/Temporary Internet Files/Content.IE5/";

void SetText(Hive hive, const std::string& key, const std::string& name, const std::string& text) {
    RegKey opened;
    ASSERT_EQ(ERROR_SUCCESS, opened.Create(hive, key));
    ASSERT_EQ(ERROR_SUCCESS, opened.SetStringValue(name, text));
}

std::string Cu(const std::string& key) { return "R:HKCU\\" + key; }
std::string Lm(const std::string& key) { return "R:HKLM\\" + key; }
std::string F(const std::string& below) { return "F:" + below; }

class CleanersTest : public sweeptest::SweepTest {
protected:
    // Every trace of every cleaner, with neighbours that none may touch.
    void SeedWorld() {
        {
            RegistryBatch batch;
            SetText(HKEY_CURRENT_USER, kExplorer + "\\RunMRU", "a", "notepad");
            SetText(HKEY_CURRENT_USER, kExplorer + "\\RunMRU", "MRUList", "a");
            SetText(HKEY_CURRENT_USER, kAcMru + "\\5603", "000", "secret");
            SetText(HKEY_CURRENT_USER, kExplorer + "\\Doc Find Spec MRU", "a", "*.doc");
            SetText(HKEY_CURRENT_USER, kExplorer + "\\FindComputerMRU", "a", "host");
            SetText(HKEY_CURRENT_USER, kExplorer + "\\RecentDocs", "a", "keep");
            SetText(HKEY_CURRENT_USER, kExplorer, "ShellState", "keep");
            SetText(HKEY_CURRENT_USER, kExplorer + "\\RunMRUX", "a", "keep");
            for (const char* bar :
                 {"ContainingTextMRU", "FilesNamedMRU", "ComputerNameMRU", "OtherMRU"})
                SetText(HKEY_CURRENT_USER, kBar + "\\" + bar, "a", bar);
            for (const char* name : {"DefaultUserName", "AltDefaultUserName", "Shell"})
                SetText(HKEY_CURRENT_USER, kWinlogon, name, "user");
            for (const char* name : {"DefaultUserName", "AltDefaultUserName"})
                SetText(HKEY_LOCAL_MACHINE, kWinlogon, name, "user");
            SetText(HKEY_LOCAL_MACHINE, "Network\\Logon", "username", "user");
            SetText(HKEY_LOCAL_MACHINE, "Network\\Logon", "PrimaryProvider", "keep");
            for (int n = 1; n <= 9; ++n)
                for (const char* stem : {"Machine", "Service", "TermType"})
                    SetText(HKEY_CURRENT_USER, kTelnet, stem + std::to_string(n), "t");
            for (const char* name : {"LastMachine", "LastService", "LastTermType", "Other"})
                SetText(HKEY_CURRENT_USER, kTelnet, name, "t");
            SetText(HKEY_CURRENT_USER, kTypedUrls, "url1", "http://typed/");
            SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\IntelliForms", "a",
                    "keep");
            SetText(HKEY_CURRENT_USER, "Software\\Kavelin Ver 2.0\\Cleanup", "a", "keep");
        }
        const fs::path p = profile();
        Put(p / "NetHood" / "Share.lnk", "share");
        Put(p / "NetHood" / "sub" / "x.lnk", "x");
        Put(p / "RECYCLER" / "S-1-5" / "Dc1.txt", "deleted");
        Put(p / kContent / "AB12" / "page.htm", "page");
        Put(p / "Local Settings/Temporary Internet Files/desktop.ini", "ini");
        Put(p / "Cookies" / "user@site.txt", "cookie");
        Put(p / "Local Settings/History/History.IE5/MSHist01/h.dat", "visited");
        Put(p / "WINDOWS/History/old.dat", "old");
        Put(p / "WINDOWS/win.ini", "keep");
        Put(p / "Favorites/Links/site.url", "fav");
        fs::create_symlink(outside() / "favs", p / "Favorites" / "ext");
        Put(p / "Recent/doc.lnk", "keep");
        Put(p / "Local Settings/temp/t.tmp", "keep");
        ASSERT_TRUE(
            CommitUrlCacheEntry(UrlCacheContainer::Content,
                                {"http://a/page.htm", NORMAL_CACHE_ENTRY, "AB12/page.htm"}));
        ASSERT_TRUE(CommitUrlCacheEntry(UrlCacheContainer::Content, {"http://zero/", 0, ""}));
        ASSERT_TRUE(CommitUrlCacheEntry(
            UrlCacheContainer::Cookies,
            {"Cookie:user@site/", COOKIE_CACHE_ENTRY | NORMAL_CACHE_ENTRY, "user@site.txt"}));
        ASSERT_TRUE(CommitUrlCacheEntry(
            UrlCacheContainer::History,
            {"Visited:user@http://a/", URLHISTORY_CACHE_ENTRY, "MSHist01/h.dat"}));
        for (const char* name : {"cookies.txt", "history.dat", "prefs.js", "4711.s"})
            Put(p / kNetscape / name, name);
        Put(p / kNetscape / "cache" / "_CACHE_001_", "c");
        // Sorted first, but a link: never taken for the profile folder.
        fs::create_symlink(outside() / "ns", p / "Application Data/Mozilla/profiles/default/0link");
        for (const char* name :
             {"cookies4.dat", "cookies.dat", "global.dat", "vlink4.dat", "opera.dir", "opera6.ini"})
            Put(p / kOpera / name, name);
        Put(p / kOpera / "cache4" / "opr0001.tmp", "c");
        fs::create_directories(p / kOpera / "cach4");
        Put(outside() / "favs" / "f.url", "outside");
        Put(outside() / "ns" / "cookies.txt", "outside");
        Put(outside() / "ns" / "history.dat", "outside");
        Put(outside() / "ns" / "cache" / "x", "outside");
        for (int csidl : {CSIDL_FAVORITES, CSIDL_RECENT, CSIDL_NETHOOD, CSIDL_APPDATA,
                          CSIDL_INTERNET_CACHE, CSIDL_COOKIES, CSIDL_HISTORY, CSIDL_WINDOWS})
            ShellFolder(csidl);
    }
};

struct Cleaner {
    const char* name;
    std::function<bool(bool)> clear;
    std::vector<std::string> removed;  // see SweepTest::Without
    std::vector<std::string> changed;  // entries compared on their own
};

std::vector<Cleaner> AllCleaners() {
    const std::string telnetPrefix = Cu(kTelnet) + "|";
    std::vector<std::string> telnet;
    for (int n = 1; n <= 8; ++n)
        for (const char* stem : {"Machine", "Service", "TermType"})
            telnet.push_back(telnetPrefix + stem + std::to_string(n));
    for (const char* name : {"LastMachine", "LastService", "LastTermType"})
        telnet.push_back(telnetPrefix + name);
    return {
        {"CClearRunHistory",
         [](bool e) { return CClearRunHistory().Clear(e); },
         {Cu(kExplorer + "\\RunMRU")},
         {}},
        {"CClearFindFile",
         [](bool e) { return CClearFindFile().Clear(e); },
         {Cu(kAcMru), Cu(kExplorer + "\\Doc Find Spec MRU"), Cu(kBar + "\\ContainingTextMRU"),
          Cu(kBar + "\\FilesNamedMRU")},
         {}},
        {"CClearFindComputerHistory",
         [](bool e) { return CClearFindComputerHistory().Clear(e); },
         {Cu(kAcMru), Cu(kExplorer + "\\FindComputerMRU"), Cu(kExplorer + "\\Doc Find Spec MRU"),
          Cu(kBar + "\\ContainingTextMRU"), Cu(kBar + "\\ComputerNameMRU")},
         {}},
        {"CClearLastLogon",
         [](bool e) { return CClearLastLogon().Clear(e); },
         {Cu(kWinlogon) + "|DefaultUserName", Cu(kWinlogon) + "|AltDefaultUserName",
          Lm(kWinlogon) + "|DefaultUserName", Lm("Network\\Logon") + "|username"},
         {}},
        {"CClearTelNet", [](bool e) { return CClearTelNet().Clear(e); }, telnet, {}},
        {"CClearNetworkHistory",
         [](bool e) { return CClearNetworkHistory().Clear(e); },
         {F("NetHood")},
         {}},
        {"CEmptyRecycleBin",
         [](bool e) { return CEmptyRecycleBin().Clear(e); },
         {F("RECYCLER/")},
         {}},
        {"CClearTemporaryInternetFiles",
         [](bool e) { return CClearTemporaryInternetFiles().Clear(e); },
         {F("Local Settings/Temporary Internet Files/")},
         {}},
        {"CIECookies",
         [](bool e) { return CIECookies().Clear(e); },
         {F("Cookies/"), F(kContent + "AB12/page.htm")},
         {F(kContent + "index.dat")}},
        {"CIEClearHistory",
         [](bool e) { return CIEClearHistory().Clear(e); },
         {F("Local Settings/History/"), F("WINDOWS/History/")},
         {}},
        {"CIEFavroits", [](bool e) { return CIEFavroits().Clear(e); }, {F("Favorites/")}, {}},
        {"CIETypedUrls", [](bool e) { return CIETypedUrls().Clear(e); }, {Cu(kTypedUrls)}, {}},
        {"CNetscapeCookies",
         [](bool e) { return CNetscapeCookies().Clear(e); },
         {F(kNetscape + "cookies.txt")},
         {}},
        {"CNetscapeHistory",
         [](bool e) { return CNetscapeHistory().Clear(e); },
         {F(kNetscape + "history.dat")},
         {}},
        {"CNetscapeCache",
         [](bool e) { return CNetscapeCache().Clear(e); },
         {F(kNetscape + "cache")},
         {}},
        {"COperaCookies",
         [](bool e) { return COperaCookies().Clear(e); },
         {F(kOpera + "cookies4.dat"), F(kOpera + "cache4")},
         {}},
        {"COperaHistory",
         [](bool e) { return COperaHistory().Clear(e); },
         {F(kOpera + "cach4")},
         {}},
        {"COperaTempFiles",
         [](bool e) { return COperaTempFiles().Clear(e); },
         {F(kOpera + "cookies.dat"), F(kOpera + "global.dat"), F(kOpera + "vlink4.dat")},
         {}},
        {"COperaTypedUrls",
         [](bool e) { return COperaTypedUrls().Clear(e); },
         {F(kOpera + "opera.dir"), F(kOpera + "global.dat")},
         {}},
    };
}

TEST_F(CleanersTest, EachCleanerRemovesExactlyItsTraces) {
    for (const Cleaner& cleaner : AllCleaners()) {
        SCOPED_TRACE(cleaner.name);
        {
            kvtest::TempRoot fresh;
            fs::remove_all(outside());
            fs::create_directories(outside());
            SeedWorld();
            const Snapshot before = Take();
            EXPECT_TRUE(cleaner.clear(true));
            Snapshot after = Take();
            Snapshot expected = Without(before, cleaner.removed);
            for (const std::string& key : cleaner.changed) {
                after.erase(key);
                expected.erase(key);
            }
            EXPECT_EQ(expected, after);
            EXPECT_NE(before, after) << "nothing was removed";
        }
    }
}

TEST_F(CleanersTest, DisabledCleanersChangeNothing) {
    SeedWorld();
    const Snapshot before = Take();
    for (const Cleaner& cleaner : AllCleaners()) EXPECT_FALSE(cleaner.clear(false)) << cleaner.name;
    EXPECT_FALSE(CIEAutoComlete().Clear(false));
    EXPECT_FALSE(CIEAutoComlete().Clear(true));
    EXPECT_EQ(before, Take());
}

TEST_F(CleanersTest, CleanersWithNothingToCleanStillSucceed) {
    for (const Cleaner& cleaner : AllCleaners()) {
        if (std::string(cleaner.name) == "CIETypedUrls") continue;
        EXPECT_TRUE(cleaner.clear(true)) << cleaner.name;
    }
    EXPECT_FALSE(CIETypedUrls().Clear(true));
    EXPECT_FALSE(fs::exists(profile() / "Application Data" / "Opera"));
}

TEST_F(CleanersTest, TypedUrlsReportsWhetherTheKeyWasThere) {
    SetText(HKEY_CURRENT_USER, kTypedUrls, "url1", "http://typed/");
    EXPECT_TRUE(CIETypedUrls().Clear(true));
    EXPECT_FALSE(CIETypedUrls().Clear(true));
}

TEST_F(CleanersTest, CookiesCleanerKeepsOnlyUntypedCacheEntries) {
    SeedWorld();
    ASSERT_TRUE(CIECookies().Clear(true));
    const auto content = ReadUrlCacheIndex(UrlCacheContainer::Content);
    ASSERT_EQ(1u, content.size());
    EXPECT_EQ("http://zero/", content[0].sourceUrl);
}

TEST_F(CleanersTest, OperaHistoryLeavesAFolderThatIsNotEmpty) {
    Put(profile() / kOpera / "cach4" / "kept.dat", "k");
    EXPECT_TRUE(COperaHistory().Clear(true));
    EXPECT_EQ("k", kvtest::ReadFile(profile() / kOpera / "cach4" / "kept.dat"));
}

TEST_F(CleanersTest, NetscapeProfileIsTheFirstRealFolderWhateverItsName) {
    EXPECT_EQ("", cleanup::GetNetscapePath());
    const fs::path profiles = profile() / "Application Data/Mozilla/profiles/default";
    Put(profiles / "0file", "not a folder");
    fs::create_directories(outside() / "ns");
    fs::create_symlink(outside() / "ns", profiles / "1link");
    EXPECT_EQ("", cleanup::GetNetscapePath());
    fs::create_directories(profiles / "zz.slt");
    fs::create_directories(profiles / "ab.slt");
    EXPECT_EQ((profiles / "ab.slt").string(), cleanup::GetNetscapePath());
}

TEST_F(CleanersTest, ProfileLinksLeavingTheRootAreNotFollowed) {
    const fs::path opera = profile() / "Application Data/Opera/Opera7";
    Put(outside() / "op" / "cookies4.dat", "outside");
    Put(outside() / "op" / "cache4" / "x", "outside");
    fs::create_directories(opera);
    fs::create_symlink(outside() / "op", opera / "profile");
    const Snapshot before = Take();
    EXPECT_TRUE(COperaCookies().Clear(true));
    EXPECT_TRUE(COperaTempFiles().Clear(true));
    EXPECT_EQ(before, Take());
}

// A link inside the root leads nowhere either: a profile folder linked to
// the engine's program folder loses nothing there.
TEST_F(CleanersTest, ProfileLinksInsideTheRootAreNotFollowedEither) {
    const fs::path opera = profile() / "Application Data/Opera/Opera7";
    Put(root() / "program" / "cookies4.dat", "engine");
    Put(root() / "program" / "cache4" / "x", "engine");
    Put(root() / "program" / "opera.dir", "engine");
    Put(root() / "registry" / "HKCU.reg", "hive");
    fs::create_directories(opera);
    fs::create_symlink(root() / "program", opera / "profile");
    fs::create_symlink(root() / "registry", profile() / "NetHood");
    const Snapshot before = TakeFiles();
    EXPECT_TRUE(COperaCookies().Clear(true));
    EXPECT_TRUE(COperaTypedUrls().Clear(true));
    EXPECT_TRUE(CClearNetworkHistory().Clear(true));
    const Snapshot after = TakeFiles();
    // The linked NetHood itself goes, as a link; nothing it leads to does.
    EXPECT_EQ(Without(before, {"T:profile/NetHood"}), after);
    EXPECT_EQ("hive", kvtest::ReadFile(root() / "registry" / "HKCU.reg"));
}

// The user's trash is the recycle bin here: its "files" and "info" folders
// are emptied as the stand-in is, links deleted as links, and nothing else
// of the trash or beside it changes.
TEST_F(CleanersTest, RecycleBinEmptiesTheUsersTrashAndNothingBesideIt) {
    const fs::path trash = dataHome() / "Trash";
    Put(trash / "files" / "letter.txt", "thrown away");
    Put(trash / "files" / "old" / "deep" / "x.txt", "x");
    Put(trash / "info" / "letter.txt.trashinfo", "[Trash Info]\nPath=/home/u/letter.txt\n");
    Put(trash / "info" / "old.trashinfo", "[Trash Info]\n");
    Put(trash / "expunged" / "kept", "kept");
    Put(trash / "directorysizes", "kept");
    Put(dataHome() / "other" / "kept.txt", "kept");
    Put(outside() / "dir" / "keep.txt", "keep");
    Put(outside() / "shared.txt", "shared");
    fs::create_symlink(outside() / "dir", trash / "files" / "dirlink");
    fs::create_hard_link(outside() / "shared.txt", trash / "files" / "shared.txt");
    Put(profile() / "RECYCLER" / "S-1-5" / "Dc1.txt", "deleted");
    const Snapshot before = TakeFiles();

    EXPECT_TRUE(CEmptyRecycleBin().Clear(true));

    const Snapshot expected = Without(before, {"T:xdg/data/Trash/files/", "T:xdg/data/Trash/info/",
                                               "T:profile/RECYCLER/"});
    EXPECT_EQ(expected, TakeFiles());
    EXPECT_TRUE(fs::is_directory(trash / "files"));
    EXPECT_TRUE(fs::is_directory(trash / "info"));
    EXPECT_EQ("shared", kvtest::ReadFile(outside() / "shared.txt"));
}

TEST_F(CleanersTest, TrashReachedThroughALinkIsLeftAlone) {
    Put(outside() / "trash" / "files" / "f.txt", "outside");
    Put(outside() / "trash" / "info" / "f.txt.trashinfo", "outside");
    fs::create_directories(dataHome());
    fs::create_symlink(outside() / "trash", dataHome() / "Trash");
    fs::create_directories(profile() / "RECYCLER");
    const Snapshot before = TakeFiles();
    CEmptyRecycleBin().Clear(true);
    EXPECT_EQ(before, TakeFiles());
}

}  // namespace
