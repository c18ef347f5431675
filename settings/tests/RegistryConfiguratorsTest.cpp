// The configurators that keep a program's proxy values in the registry:
// their edge cases beyond the golden tables.

#include <gtest/gtest.h>

#include "ConfigFixture.h"
#include "settings/CCuteFtpConfig.h"
#include "settings/CKAZAAConfig.h"
#include "settings/CMSNConfig.h"
#include "settings/CYahooConfig.h"

namespace {
using namespace cfgtest;
using platform::HKEY_CURRENT_USER;

std::string BackupKey(const char* program) { return std::string(kBackUpKey) + "\\" + program; }

class RegistryConfiguratorsTest : public ConfigTest {};

TEST_F(RegistryConfiguratorsTest, MsnRestoreAlwaysLeavesProxyStateAbsent) {
    Values own = UserValues(Program::MSN);
    own["ProxyState"] = DWORD{1};
    WriteKey(HKEY_CURRENT_USER, kMsnKey, own);
    CMSNConfig msn;
    msn.Backup();
    EXPECT_EQ(std::get<DWORD>(ReadKey(HKEY_CURRENT_USER, BackupKey("MSN"))["ProxyState"]), 1u);
    msn.SetToKV(PROXY_TYPE_SOCKS5, "127.0.0.1", kPort);
    msn.Restore();
    own.erase("ProxyState");
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kMsnKey), own);
}

TEST_F(RegistryConfiguratorsTest, RestoreWithoutBackupDeletesProxyValuesButCuteFtpIsLeft) {
    SeedUserPrograms();
    CMSNConfig msn;
    CYahooConfig yahoo;
    CKAZAAConfig kazaa;
    CCuteFtpConfig cuteFtp;
    EXPECT_EQ(msn.Restore(), 0);
    EXPECT_EQ(yahoo.Restore(), 0);
    EXPECT_EQ(kazaa.Restore(), 0);
    EXPECT_EQ(cuteFtp.Restore(), 0);
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kMsnKey),
              (Values{{"AlwaysOnTop", std::vector<BYTE>{0, 1, 0, 0}}, {"Sounds", std::string("on")}}));
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kYahooKey), (Values{{"Yahoo! User ID", std::string("someone")}}));
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kKazaaKey), (Values{{"Comment", std::string("mine")}}));
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kCuteFtpKey), UserValues(Program::CuteFtp));
}

TEST_F(RegistryConfiguratorsTest, UserWithoutProxyGetsRelayValuesRemoved) {
    WriteKey(HKEY_CURRENT_USER, kYahooKey, {{"Yahoo! User ID", std::string("someone")}});
    WriteKey(HKEY_CURRENT_USER, kCuteFtpKey, {{"Startup", std::string("yes")}});
    CYahooConfig yahoo;
    CCuteFtpConfig cuteFtp;
    EXPECT_EQ(yahoo.Backup(), 0);
    EXPECT_EQ(cuteFtp.Backup(), 0);
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, BackupKey("CuteFtp")),
              (Values{{"FireHost", std::string()}, {"FirePort", DWORD{0}}, {"FireType", DWORD{0}},
                      {"SocksHost", std::string()}, {"SocksType", DWORD{0}}, {"SocksPort", DWORD{0}}}));
    yahoo.SetToKV(PROXY_TYPE_SOCKS4, "127.0.0.1", kPort);
    cuteFtp.SetToKV("127.0.0.1", kPort, PROXY_TYPE_SOCKS4);

    CYahooConfig yahooLater;
    CCuteFtpConfig cuteFtpLater;
    yahooLater.Restore();
    cuteFtpLater.Restore();
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kYahooKey), (Values{{"Yahoo! User ID", std::string("someone")}}));
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kCuteFtpKey),
              (Values{{"Startup", std::string("yes")}, {"FireHost", std::string()}, {"FirePort", DWORD{0}},
                      {"FireType", DWORD{0}}, {"SocksHost", std::string()}, {"SocksType", DWORD{0}},
                      {"SocksPort", DWORD{0}}}));
}

TEST_F(RegistryConfiguratorsTest, MissingProgramKeysGiveEachClassItsFailure) {
    CMSNConfig msn;
    CYahooConfig yahoo;
    CCuteFtpConfig cuteFtp;
    CKAZAAConfig kazaa;
    EXPECT_EQ(msn.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort), -1);
    EXPECT_EQ(yahoo.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort), 1);
    EXPECT_EQ(cuteFtp.SetToKV("127.0.0.1", kPort, PROXY_TYPE_HTTP), platform::E_FAIL);
    EXPECT_EQ(kazaa.SetToKV(PROXY_TYPE_SOCKS5, "127.0.0.1", kPort, "u", "p"), -1);
    for (const char* key : {kMsnKey, kYahooKey, kCuteFtpKey, kKazaaKey}) EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << key;

    platform::registry_test::DenyPath(HKEY_CURRENT_USER, kBackUpKey);
    EXPECT_EQ(msn.Backup(), -1);
    EXPECT_EQ(kazaa.Backup(), -1);
    platform::registry_test::ClearDenials();
}

TEST_F(RegistryConfiguratorsTest, RefusesTextsTooLongForTheFields) {
    SeedUserPrograms();
    const std::string longText(260, 'a');
    const std::string fits(259, 'a');
    CMSNConfig msn;
    CKAZAAConfig kazaa;
    EXPECT_EQ(msn.SetToKV(PROXY_TYPE_HTTP, longText.c_str(), kPort), 1);
    EXPECT_EQ(kazaa.SetToKV(PROXY_TYPE_SOCKS5, "127.0.0.1", kPort, "user", longText.c_str()), 1);
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kMsnKey), UserValues(Program::MSN));
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, kKazaaKey), UserValues(Program::Kazaa));
    EXPECT_EQ(msn.SetToKV(PROXY_TYPE_HTTP, fits.c_str(), kPort), 0);
    EXPECT_EQ(std::get<std::string>(ReadKey(HKEY_CURRENT_USER, kMsnKey)["HTTPProxy"]), fits);
}

TEST_F(RegistryConfiguratorsTest, KazaaBackupNeverKeepsValuesOfAnEarlierCall) {
    SeedUserPrograms();
    CKAZAAConfig kazaa;
    kazaa.Backup();
    kazaa.Restore();
    platform::RegKey key;
    key.Open(HKEY_CURRENT_USER, kKazaaKey);
    key.DeleteValue("Password");
    kazaa.Backup();
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, BackupKey("Kazaa")).count("Password"), 0u);
}

TEST_F(RegistryConfiguratorsTest, CuteFtpReadsFirewallIntoItsBackup) {
    WriteKey(HKEY_CURRENT_USER, kCuteFtpKey,
             {{"FireHost", std::string("fw.corp.example")}, {"FirePort", DWORD{1080}}, {"FireType", DWORD{6}}});
    CCuteFtpConfig cuteFtp;
    std::string host;
    unsigned long port = 0;
    eProxyType type = PROXY_TYPE_UNKNOWN;
    EXPECT_EQ(cuteFtp.SetToKV(host, port, type), 0);
    EXPECT_EQ(host, "fw.corp.example");
    EXPECT_EQ(port, 1080u);
    EXPECT_EQ(type, PROXY_TYPE_SOCKS4);
    EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, BackupKey("CuteFtp")),
              (Values{{"cuteFireHost", std::string("fw.corp.example")}, {"CuteFirePort", DWORD{1080}},
                      {"CuteFireType", DWORD{4}}}));

    platform::RegKey key;
    key.Open(HKEY_CURRENT_USER, kCuteFtpKey);
    key.DeleteValue("FirePort");
    EXPECT_EQ(cuteFtp.SetToKV(host, port, type), 1);
}

}  // namespace
