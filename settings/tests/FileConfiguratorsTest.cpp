// The configurators that rewrite a program's files: prefs.js line handling,
// unknown paths, and the backups of the INI configurators.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ConfigFixture.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"
#include "settings/CMircConfig.h"
#include "settings/CNetscapeConfig.h"
#include "settings/COperaConfig.h"
#include "settings/CWSFTPConfig.h"

namespace {
using namespace cfgtest;

const std::string kHttpBlock =
    "user_pref(\"network.proxy.type\", 1);\r\n"
    "user_pref(\"network.proxy.no_proxies_on\", \"127.0.0.1\");\r\n"
    "user_pref(\"network.proxy.http\", \"127.0.0.1\");\r\n"
    "user_pref(\"network.proxy.http_port\", 9050);\r\n";

class FileConfiguratorsTest : public ConfigTest {};

TEST_F(FileConfiguratorsTest, PrefsLinesOfAnyLengthAndEndKeepTheirBytes) {
    Install("Netscape (7.0)", "C:\\WINDOWS\\NSUninst.exe");
    const std::string longPref = "user_pref(\"long\", \"" + std::string(5000, 'x') + "\");";
    const std::string longProxy = "user_pref(\"network.proxy.autoconfig_url\", \"" + std::string(600, 'y') + "\");";
    const struct {
        const char* what;
        std::string before;
        std::string after;
    } cases[] = {
        {"three proxy lines, one block at the first", "a\r\nuser_pref(\"network.proxy.http\", \"x\");\r\nb\r\n"
                                                      "user_pref(\"network.proxy.type\", 1);\nuser_pref(\"network.proxy.ftp\", \"x\");\r\nc\r\n",
         "a\r\n" + kHttpBlock + "b\r\nc\r\n"},
        {"no proxy line: block appended", "a\nb\n", "a\nb\n" + kHttpBlock},
        {"last line without its end", "a\r\nb", "a\r\nb\r\n" + kHttpBlock},
        {"proxy line last, without its end", "a\nuser_pref(\"network.proxy.http\", \"x\");", "a\n" + kHttpBlock},
        {"long lines kept whole", longPref + "\r\n" + longProxy + "\r\n" + longPref,
         longPref + "\r\n" + kHttpBlock + longPref},
        {"empty file", "", kHttpBlock},
    };
    for (const auto& c : cases) {
        kvtest::WriteFile(PrefsFile(), c.before);
        CNetscapeConfig netscape;
        EXPECT_EQ(netscape.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort), 0) << c.what;
        EXPECT_EQ(kvtest::ReadFile(PrefsFile()), c.after) << c.what;
    }
}

TEST_F(FileConfiguratorsTest, PrefsUntouchedWhenItsReplacementCannotBeMade) {
    SeedUserPrograms();
    CNetscapeConfig netscape;
    platform::safefile_test::FailTemporaryFiles(true);
    const long result = netscape.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort);
    platform::safefile_test::FailTemporaryFiles(false);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(kvtest::ReadFile(PrefsFile()), kUserPrefs);
    EXPECT_EQ(std::distance(fs::directory_iterator(PrefsFile().parent_path()), fs::directory_iterator()), 1);
}

TEST_F(FileConfiguratorsTest, PrefsFoundWithoutCaseAndNeverMadeUp) {
    CNetscapeConfig missing;
    EXPECT_EQ(missing.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort), platform::E_FAIL);

    Install("Netscape (7.1)", "C:\\WINDOWS\\NSUninst.exe");
    CNetscapeConfig noPrefs;
    EXPECT_EQ(noPrefs.IsInstalled(), 1);
    EXPECT_EQ(noPrefs.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort), 1);
    EXPECT_FALSE(fs::exists(AppData() / "Mozilla"));

    const fs::path prefs = AppData() / "mozilla/PROFILES/Default/ab12.slt/PREFS.JS";
    kvtest::WriteFile(prefs, "a\n");
    CNetscapeConfig netscape;
    EXPECT_EQ(netscape.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort), 0);
    EXPECT_EQ(kvtest::ReadFile(prefs), "a\n" + kHttpBlock);
}

TEST_F(FileConfiguratorsTest, OperaAndMircWriteNothingWithoutTheirPath) {
    COperaConfig opera;
    EXPECT_EQ(opera.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort), platform::E_FAIL);
    EXPECT_EQ(opera.Backup(), platform::E_FAIL);
    EXPECT_EQ(opera.Restore(), platform::E_FAIL);

    CMircConfig mirc;
    EXPECT_EQ(mirc.SetToKV(PROXY_TYPE_HTTP, 1, "", kPort, "127.0.0.1"), 1);
    Install("Mirc", "C:\\Program Files\\IRC\\irc.exe");
    EXPECT_EQ(mirc.IsInstalled(), 0);
    EXPECT_EQ(mirc.SetToKV(PROXY_TYPE_HTTP, 1, "", kPort, "127.0.0.1"), 1);
    Install("Mirc", "D:\\mIRC\\mirc.exe");
    EXPECT_EQ(mirc.SetToKV(PROXY_TYPE_HTTP, 1, "", kPort, "127.0.0.1"), 1);

    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(platform::ProfileFolder())) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    EXPECT_TRUE(files.empty()) << files.front();
}

TEST_F(FileConfiguratorsTest, MircFolderDropsOnlyALeadingQuote) {
    Install("Mirc", "C:\\Program Files\\mIRC\\mirc.exe");
    kvtest::WriteFile(MircFile(), "[socks]\r\n");
    CMircConfig mirc;
    EXPECT_EQ(mirc.SetToKV(PROXY_TYPE_SOCKS5, 1, "", kPort, "127.0.0.1"), 0);
    EXPECT_EQ(kvtest::ReadFile(MircFile()), "[socks]\r\nenabled=yes\r\nport=9050\r\nmethod=5\r\ndccs=no\r\nuseip=yes\r\n");
}

TEST_F(FileConfiguratorsTest, WsFtpBackupCoversTheFileItRewrites) {
    SeedUserPrograms();
    const fs::path sites = AppData() / "Ipswitch/WS_FTP/Sites/firewall.ini";
    kvtest::WriteFile(sites, "[sites]\r\n");
    CWSFTPConfig wsftp;
    EXPECT_EQ(wsftp.Backup(), 0);
    EXPECT_EQ(kvtest::ReadFile(AppData() / "firewall.ini"), kUserWsFtp);
    wsftp.SetToKV(1, "", kPort, PROXY_TYPE_SOCKS5);
    EXPECT_EQ(wsftp.Restore(), 0);
    EXPECT_EQ(kvtest::ReadFile(WsFtpFile()), kUserWsFtp);
    EXPECT_EQ(kvtest::ReadFile(sites), "[sites]\r\n");

    platform::RegKey uninstall;
    uninstall.Open(platform::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\WS_FTP Pro");
    uninstall.DeleteValue("UninstallString");
    EXPECT_EQ(wsftp.Backup(), 1);
    fs::remove_all(WsFtpFile().parent_path());
    EXPECT_EQ(wsftp.SetToKV(1, "", kPort, PROXY_TYPE_HTTP), 1);
}

// The INI configurators and prefs.js with each of their files: the way
// they get at it, the way back, and where the file lives.
struct FileProgram {
    Program program;
    std::function<long()> backup, point, restore;
    fs::path file;
    fs::path backupFile;
};

struct FileConfigurators {
    CNetscapeConfig netscape;
    COperaConfig opera;
    CMircConfig mirc;
    CWSFTPConfig wsftp;
    std::vector<FileProgram> All() {
        return {
            {Program::Netscape, [this] { return netscape.Backup(); },
             [this] { return netscape.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort); },
             [this] { return netscape.Restore(); }, PrefsFile(), AppData() / "prefs.js"},
            {Program::Opera, [this] { return opera.Backup(); },
             [this] { return opera.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort); },
             [this] { return opera.Restore(); }, OperaFile(), AppData() / "opera.bak"},
            {Program::Mirc, [this] { return mirc.Backup(); },
             [this] { return mirc.SetToKV(PROXY_TYPE_HTTP, 1, "", kPort, "127.0.0.1"); },
             [this] { return mirc.Restore(); }, MircFile(), AppData() / "mirc.ini"},
            {Program::WSFTP, [this] { return wsftp.Backup(); },
             [this] { return wsftp.SetToKV(1, "", kPort, PROXY_TYPE_HTTP); },
             [this] { return wsftp.Restore(); }, WsFtpFile(), AppData() / "firewall.ini"},
        };
    }
};

fs::perms Mode(const fs::path& file) { return fs::status(file).permissions() & fs::perms::all; }

TEST_F(FileConfiguratorsTest, BackupOfAPrivateFileStaysPrivate) {
    SeedUserPrograms();
    FileConfigurators c;
    const auto owner = fs::perms::owner_read | fs::perms::owner_write;
    for (const FileProgram& p : c.All()) {
        fs::permissions(p.file, owner);
        EXPECT_EQ(p.backup(), 0) << Name(p.program);
        EXPECT_EQ(Mode(p.backupFile), owner) << Name(p.program);
        EXPECT_EQ(p.point(), 0) << Name(p.program);
        EXPECT_EQ(p.restore(), 0) << Name(p.program);
        EXPECT_EQ(Mode(p.file), owner) << Name(p.program);
        EXPECT_EQ(Dump(p.program), kvtest::ReadFile(p.backupFile)) << Name(p.program);
    }
}

TEST_F(FileConfiguratorsTest, FileThatCannotBeReadIsNeverReplaced) {
    SeedUserPrograms();
    FileConfigurators c;
    for (const FileProgram& p : c.All()) {
        const std::string user = Dump(p.program);
        platform::safefile_test::DenyReading(p.file);
        const long backedUp = p.backup();
        const long pointed = p.point();
        platform::safefile_test::DenyReading({});
        EXPECT_NE(backedUp, 0) << Name(p.program);
        EXPECT_NE(pointed, 0) << Name(p.program);
        EXPECT_EQ(Dump(p.program), user) << Name(p.program);
        EXPECT_FALSE(fs::exists(p.backupFile)) << Name(p.program);
    }
}

TEST_F(FileConfiguratorsTest, FileMissingAtBackupIsRemovedAtRestore) {
    SeedUserPrograms();
    FileConfigurators c;
    for (const FileProgram& p : c.All()) {
        if (p.program == Program::Netscape) continue;   // prefs.js is found, never made
        kvtest::WriteFile(p.backupFile, "a backup of an earlier start");
        fs::remove(p.file);
        EXPECT_EQ(p.backup(), 0) << Name(p.program);
        EXPECT_EQ(p.point(), 0) << Name(p.program);
        EXPECT_TRUE(fs::exists(p.file)) << Name(p.program);
        EXPECT_EQ(p.restore(), 0) << Name(p.program);
        EXPECT_FALSE(fs::exists(p.file)) << Name(p.program);

        // A later backup of a file that is there again is a copy of it.
        kvtest::WriteFile(p.file, "[own]\r\n");
        EXPECT_EQ(p.backup(), 0) << Name(p.program);
        p.point();
        EXPECT_EQ(p.restore(), 0) << Name(p.program);
        EXPECT_EQ(kvtest::ReadFile(p.file), "[own]\r\n") << Name(p.program);
    }
}

TEST_F(FileConfiguratorsTest, RestoreWithoutBackupChangesNothing) {
    SeedUserPrograms();
    FileConfigurators c;
    for (const FileProgram& p : c.All()) {
        const std::string user = Dump(p.program);
        EXPECT_NE(p.restore(), 0) << Name(p.program);
        EXPECT_EQ(Dump(p.program), user) << Name(p.program);
    }
}

}  // namespace
