// The configurator manager: every chosen program pointed at the relay in the
// form each listener type needs, unchosen ones left alone, and every user's
// own configuration back after stop, however many starts came before.

#include <gtest/gtest.h>

#include <map>

#include "ConfigFixture.h"
#include "GoldenConfig.h"
#include "platform/SafeFile.h"
#include "platform/ShFolder.h"
#include "settings/CPrefsKeeper.h"

namespace {
using namespace cfgtest;
using platform::HKEY_CURRENT_USER;

CSettings RelaySettings(int listenerType, const CSysConfig& sys) {
    CSettings s;
    s.getPrivacySettings()->mListenerType = static_cast<DWORD>(listenerType);
    s.getPrivacySettings()->mListenerPort = kPort;
    s.getGeneralSettings()->setStartingIP("10.1.2.3");
    *s.getSysConfig() = sys;
    s.getSysConfig()->setAutoKazaaServerUserName("kuser");
    s.getSysConfig()->setAutoKazaaServerPassword("kpass");
    return s;
}

class PrefsKeeperTest : public ConfigTest {
protected:
    void SetUp() override {
        SeedUserPrograms();
        for (const Program p : AllPrograms()) seeded_[p] = Dump(p);
    }
    void ExpectUserConfiguration(const char* when) {
        for (const Program p : AllPrograms()) EXPECT_EQ(Dump(p), seeded_[p]) << Name(p) << ", " << when;
    }
    std::map<Program, std::string> seeded_;
};

class PrefsKeeperTypeTest : public PrefsKeeperTest, public testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(ListenerTypes, PrefsKeeperTypeTest, testing::Values(2, 4, 5, 6));

TEST_P(PrefsKeeperTypeTest, PointsEveryChosenProgramAtTheRelay) {
    CPrefsKeeper keeper;
    CSettings s = RelaySettings(GetParam(), Only(AllPrograms()));
    keeper.SetAutoConfigSettings(s);
    for (const Program p : AllPrograms()) EXPECT_EQ(Dump(p), Golden(p, GetParam())) << Name(p);
}

TEST_P(PrefsKeeperTypeTest, LeavesUnchosenProgramsByteIdentical) {
    for (const Program chosen : AllPrograms()) {
        kvtest::TempRoot fresh;
        SetUp();
        {
            CPrefsKeeper keeper;
            CSettings s = RelaySettings(GetParam(), Only({chosen}));
            keeper.SetAutoConfigSettings(s);
        }
        for (const Program p : AllPrograms()) {
            const std::string expected = p == chosen ? Golden(p, GetParam()) : seeded_[p];
            EXPECT_EQ(Dump(p), expected) << Name(p) << " with only " << Name(chosen) << " chosen";
        }
    }
}

TEST_P(PrefsKeeperTypeTest, RestoreGivesEveryProgramItsOwnConfiguration) {
    CPrefsKeeper keeper;
    CSettings s = RelaySettings(GetParam(), Only(AllPrograms()));
    keeper.SetAutoConfigSettings(s);
    EXPECT_EQ(keeper.RestoreConfiguration(s.getSysConfig()), 0);
    ExpectUserConfiguration("after one start");
}

TEST_P(PrefsKeeperTypeTest, KeepsUserSettingsAfterTwoStarts) {
    CSettings s = RelaySettings(GetParam(), Only(AllPrograms()));
    CPrefsKeeper keeper;
    keeper.SetAutoConfigSettings(s);
    keeper.SetAutoConfigSettings(s);
    keeper.RestoreConfiguration(s.getSysConfig());
    ExpectUserConfiguration("two starts, one manager");

    {
        CPrefsKeeper firstRun;
        firstRun.SetAutoConfigSettings(s);
    }
    CPrefsKeeper secondRun;
    secondRun.SetAutoConfigSettings(s);
    secondRun.RestoreConfiguration(s.getSysConfig());
    ExpectUserConfiguration("a run that never restored, then a second run");
}

TEST_P(PrefsKeeperTypeTest, RestoresProgramsUnchosenByApplyBeforeStop) {
    CSettings s = RelaySettings(GetParam(), Only(AllPrograms()));
    CPrefsKeeper keeper;
    keeper.SetAutoConfigSettings(s);

    CSettings applied = RelaySettings(GetParam(), Only({Program::MSN}));
    keeper.SetAutoConfigSettings(applied);
    keeper.RestoreConfiguration(applied.getSysConfig());
    ExpectUserConfiguration("apply unchose all but MSN");

    keeper.SetAutoConfigSettings(s);
    CSysConfig none = Only({});
    keeper.RestoreConfiguration(&none);
    ExpectUserConfiguration("stop with nothing chosen");
}

TEST_F(PrefsKeeperTest, RestoreAfterUserChangedAProgramTakesNewBackup) {
    CSettings s = RelaySettings(2, Only(AllPrograms()));
    CPrefsKeeper keeper;
    keeper.SetAutoConfigSettings(s);
    keeper.RestoreConfiguration(s.getSysConfig());

    kvtest::WriteFile(MircFile(), "[socks]\r\nenabled=no\r\nport=7777\r\n");
    const std::string changed = Dump(Program::Mirc);
    keeper.SetAutoConfigSettings(s);
    keeper.RestoreConfiguration(s.getSysConfig());
    EXPECT_EQ(Dump(Program::Mirc), changed);
}

TEST_F(PrefsKeeperTest, RestoreLeavesProgramsNeverPointedAtTheRelayAlone) {
    CSettings s = RelaySettings(2, Only(AllPrograms()));
    {
        CPrefsKeeper keeper;
        keeper.RestoreConfiguration(s.getSysConfig());
        ExpectUserConfiguration("a stop without a start (no backups)");
    }

    CPrefsKeeper keeper;
    keeper.SetAutoConfigSettings(s);
    keeper.RestoreConfiguration(s.getSysConfig());
    // The user changes the programs after the stop; the panel's exit stops
    // once more.
    kvtest::WriteFile(MircFile(), "[socks]\r\nenabled=no\r\nport=7777\r\n");
    Values msn = UserValues(Program::MSN);
    msn["HTTPProxy"] = std::string("new.corp.example");
    WriteKey(HKEY_CURRENT_USER, kMsnKey, msn);
    const std::string mirc = Dump(Program::Mirc);
    const std::string msnDump = Dump(Program::MSN);
    keeper.RestoreConfiguration(s.getSysConfig());
    CPrefsKeeper(keeper).RestoreConfiguration(s.getSysConfig());
    EXPECT_EQ(Dump(Program::Mirc), mirc);
    EXPECT_EQ(Dump(Program::MSN), msnDump);
}

TEST_F(PrefsKeeperTest, MakingTheManagerChangesNothing) {
    // Another process's relay is running: every program points at it.
    CPrefsKeeper running;
    CSettings s = RelaySettings(2, Only(AllPrograms()));
    running.SetAutoConfigSettings(s);
    std::map<Program, std::string> pointed;
    for (const Program p : AllPrograms()) pointed[p] = Dump(p);
    const std::string hive = kvtest::ReadFile(root() / "registry/HKCU.reg");

    const CPrefsKeeper made;
    const CPrefsKeeper copied(made);
    EXPECT_EQ(kvtest::ReadFile(root() / "registry/HKCU.reg"), hive);
    for (const Program p : AllPrograms()) EXPECT_EQ(Dump(p), pointed[p]) << Name(p);

    kvtest::TempRoot empty;
    { const CPrefsKeeper inEmptyRoot; }
    EXPECT_TRUE(fs::is_empty(empty.path())) << "made " << fs::directory_iterator(empty.path())->path();
}

TEST_F(PrefsKeeperTest, ClientFilesMissingAtStartAreGoneAgainAfterStop) {
    for (const fs::path& file : {OperaFile(), MircFile(), WsFtpFile()}) fs::remove(file);
    for (const Program p : {Program::Opera, Program::Mirc, Program::WSFTP}) seeded_[p] = Dump(p);
    CSettings s = RelaySettings(2, Only(AllPrograms()));
    CPrefsKeeper keeper;
    keeper.SetAutoConfigSettings(s);
    for (const fs::path& file : {OperaFile(), MircFile(), WsFtpFile()}) EXPECT_TRUE(fs::exists(file)) << file;
    keeper.RestoreConfiguration(s.getSysConfig());
    for (const fs::path& file : {OperaFile(), MircFile(), WsFtpFile()}) EXPECT_FALSE(fs::exists(file)) << file;
    ExpectUserConfiguration("files made by the start");
}

TEST_F(PrefsKeeperTest, ProgramWhoseBackupCannotBeStoredIsLeftAlone) {
    CSettings s = RelaySettings(2, Only(AllPrograms()));
    platform::shfolder_test::SetLibraryMissing(true);   // no backup folder: no file backups
    platform::safefile_test::DenyReading(PrefsFile());
    CPrefsKeeper keeper;
    keeper.SetAutoConfigSettings(s);
    platform::safefile_test::DenyReading({});
    platform::shfolder_test::SetLibraryMissing(false);
    for (const Program p : {Program::Netscape, Program::Opera, Program::Mirc, Program::WSFTP}) {
        EXPECT_EQ(Dump(p), seeded_[p]) << Name(p);
    }
    EXPECT_EQ(Dump(Program::MSN), Golden(Program::MSN, 2));
    keeper.RestoreConfiguration(s.getSysConfig());
    ExpectUserConfiguration("after stop");
}

TEST_F(PrefsKeeperTest, BacksUpOnlyChosenPrograms) {
    CPrefsKeeper keeper;
    CSysConfig mirc = Only({Program::Mirc});
    EXPECT_EQ(keeper.BackupConfiguration(&mirc), 0);
    EXPECT_EQ(kvtest::ReadFile(AppData() / "mirc.ini"), kUserMirc);
    EXPECT_FALSE(fs::exists(AppData() / "opera.bak"));
    EXPECT_FALSE(fs::exists(AppData() / "prefs.js"));
    EXPECT_FALSE(fs::exists(AppData() / "firewall.ini"));
    for (const char* key : {"MSN", "Yahoo", "CuteFtp", "Kazaa"}) {
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::string(kBackUpKey) + "\\" + key)) << key;
    }

    CSysConfig yahoo = Only({Program::Yahoo});
    keeper.BackupConfiguration(&yahoo);
    Values expected = UserValues(Program::Yahoo);
    expected.erase("Yahoo! User ID");
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, std::string(kBackUpKey) + "\\Yahoo"), expected);
    ExpectUserConfiguration("after backups");
}

TEST_F(PrefsKeeperTest, RestoreAlwaysGivesTheBrowserItsOwnOptions) {
    CPrefsKeeper keeper;
    keeper.m_IEConfig.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    CSysConfig none = Only({});
    keeper.RestoreConfiguration(&none);
    EXPECT_EQ(Dump(Program::IE), seeded_[Program::IE]);
}

TEST_F(PrefsKeeperTest, SocksListenerGivesTheBrowserItsOwnOptionsBack) {
    CPrefsKeeper keeper;
    keeper.m_IEConfig.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    CSettings s = RelaySettings(4, Only({Program::IE}));
    keeper.SetAutoConfigSettings(s);
    EXPECT_EQ(Dump(Program::IE), seeded_[Program::IE]);
}

TEST_F(PrefsKeeperTest, BackupFolderIsAppDataUnlessShellLibraryMissing) {
    EXPECT_EQ(CPrefsKeeper::GetBackupFolderPath(), AppData().string());
    EXPECT_NE(CPrefsKeeper::GetFuncPtr_SHGetFolderPathA(), nullptr);

    platform::shfolder_test::SetLibraryMissing(true);
    EXPECT_EQ(CPrefsKeeper::GetFuncPtr_SHGetFolderPathA(), nullptr);
    EXPECT_EQ(CPrefsKeeper::GetBackupFolderPath(), "");
    CPrefsKeeper keeper;
    CSysConfig files = Only({Program::Netscape, Program::Opera, Program::Mirc, Program::WSFTP});
    keeper.BackupConfiguration(&files);
    kvtest::WriteFile(AppData() / "opera.bak", "stale");
    keeper.RestoreConfiguration(&files);
    platform::shfolder_test::SetLibraryMissing(false);

    for (const char* name : {"prefs.js", "mirc.ini", "firewall.ini"}) EXPECT_FALSE(fs::exists(AppData() / name)) << name;
    ExpectUserConfiguration("without a backup folder");
}

TEST_F(PrefsKeeperTest, InstalledTestCutsUninstallStringAtMarker) {
    Install("Cut", "\"C:\\Program Files\\mIRC\\mirc.exe\" _uninstall");
    Install("NoString", nullptr);
    Install("Long", std::string(260, 'x').c_str());
    Install("Fits", std::string(259, 'x').c_str());
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const struct {
        const char* key;
        const char* marker;
        int installed;
        const char* path;
    } cases[] = {
        {"Cut", "mIRC", 1, "\"C:\\Program Files\\mIRC"},
        {"Cut", "WS_FTP Pro", 1, "\"C:\\Program Files\\mIRC\\mirc.exe\" _uninstall"},
        {"Cut", nullptr, 1, "\"C:\\Program Files\\mIRC\\mirc.exe\" _uninstall"},
        {"NoString", "x", 0, ""},
        {"Missing", nullptr, 0, ""},
        {"Long", nullptr, 0, ""},
    };
    for (const auto& c : cases) {
        std::string path = "before";
        EXPECT_EQ(CPrefsKeeper::IsProgramInstalled((uninstall + c.key).c_str(), c.marker, &path), c.installed) << c.key;
        EXPECT_EQ(path, c.path) << c.key;
    }
    EXPECT_EQ(CPrefsKeeper::IsProgramInstalled((uninstall + "Fits").c_str(), nullptr, nullptr), 1);
}

TEST_F(PrefsKeeperTest, InstalledTestsFollowUninstallKeysAndProgramKeys) {
    CPrefsKeeper keeper;
    const auto installed = [&keeper] {
        return std::vector<int>{keeper.m_MSNConfig.IsInstalled(),   keeper.m_YahooConfig.IsInstalled(),
                                keeper.m_CuteFtpConfig.IsInstalled(), keeper.m_KAZAAConfig.IsInstalled(),
                                keeper.m_NetscapeConfig.IsInstalled(), keeper.m_OperaConfig.IsInstalled(),
                                keeper.m_MircConfig.IsInstalled(),    keeper.m_WSFTPConfig.IsInstalled(),
                                keeper.IsIEInstalled(),               keeper.IsEDonkeyInstalled()};
    };
    EXPECT_EQ(installed(), (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));

    kvtest::TempRoot empty;
    EXPECT_EQ(installed(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));

    WriteKey(HKEY_CURRENT_USER, kMsnKey, {{"AlwaysOnTop", DWORD{1}}});
    Install("Yahoo! Messenger", nullptr);
    Install("Netscape (7.0)", "C:\\WINDOWS\\NSUninst.exe");
    Install("Opera", nullptr);
    Install("Mirc", "C:\\Program Files\\IRC\\irc.exe");
    Install("WS_FTP Pro", nullptr);
    EXPECT_EQ(installed(), (std::vector<int>{0, 0, 0, 0, 1, 0, 0, 1, 1, 0}));
}

}  // namespace
