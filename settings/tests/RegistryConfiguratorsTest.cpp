// The configurators that keep a program's proxy values in the registry:
// their edge cases beyond the golden tables.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "ConfigFixture.h"
#include "platform/SafeFile.h"
#include "settings/CCuteFtpConfig.h"
#include "settings/CKAZAAConfig.h"
#include "settings/CMSNConfig.h"
#include "settings/CYahooConfig.h"

namespace {
using namespace cfgtest;
using platform::HKEY_CURRENT_USER;

std::string BackupKey(const char* program) { return std::string(kBackUpKey) + "\\" + program; }

class RegistryConfiguratorsTest : public ConfigTest {};

struct Configurators {
    CMSNConfig msn;
    CYahooConfig yahoo;
    CKAZAAConfig kazaa;
    CCuteFtpConfig cuteFtp;
    struct Entry {
        Program program;
        const char* key;
        std::function<long()> backup, point, restore;
    };
    std::vector<Entry> All() {
        return {
            {Program::MSN, kMsnKey, [this] { return msn.Backup(); },
             [this] { return msn.SetToKV(PROXY_TYPE_SOCKS5, "127.0.0.1", kPort); }, [this] { return msn.Restore(); }},
            {Program::Yahoo, kYahooKey, [this] { return yahoo.Backup(); },
             [this] { return yahoo.SetToKV(PROXY_TYPE_HTTP, "127.0.0.1", kPort); }, [this] { return yahoo.Restore(); }},
            {Program::Kazaa, kKazaaKey, [this] { return kazaa.Backup(); },
             [this] { return kazaa.SetToKV(PROXY_TYPE_SOCKS5, "127.0.0.1", kPort, "u", "p"); },
             [this] { return kazaa.Restore(); }},
            {Program::CuteFtp, kCuteFtpKey, [this] { return cuteFtp.Backup(); },
             [this] { return cuteFtp.SetToKV("127.0.0.1", kPort, PROXY_TYPE_SOCKS4); },
             [this] { return cuteFtp.Restore(); }},
        };
    }
};

TEST_F(RegistryConfiguratorsTest, RestoreGivesBackExactlyWhatTheBackupFound) {
    // Beside the seeded values (MSN's "ProxyState", zeros, empty texts):
    // values of another type than the program writes, and users who have
    // few of the values or none.
    const std::map<Program, std::vector<Values>> users = {
        {Program::MSN,
         {UserValues(Program::MSN),
          {{"AlwaysOnTop", std::vector<BYTE>{1}}, {"ProxyState", std::string("odd")}, {"HTTPPort", DWORD{0}}}}},
        {Program::Yahoo, {UserValues(Program::Yahoo), {{"Yahoo! User ID", std::string("someone")}}}},
        {Program::Kazaa, {UserValues(Program::Kazaa), {{"ServerPort", std::vector<BYTE>{1, 2}}}}},
        {Program::CuteFtp, {UserValues(Program::CuteFtp), {{"Startup", std::string("yes")}}, {}}},
    };
    for (const auto& [program, cases] : users) {
        for (const Values& user : cases) {
            kvtest::TempRoot fresh;
            Configurators c;
            for (const auto& entry : c.All()) {
                if (entry.program != program) continue;
                WriteKey(HKEY_CURRENT_USER, entry.key, user);
                EXPECT_EQ(entry.backup(), 0) << Name(program);
                EXPECT_EQ(entry.point(), 0) << Name(program);
                EXPECT_NE(ReadKey(HKEY_CURRENT_USER, entry.key), user) << Name(program) << " never pointed";
                EXPECT_EQ(entry.restore(), 0) << Name(program);
                EXPECT_EQ(DumpValues(ReadKey(HKEY_CURRENT_USER, entry.key)), DumpValues(user)) << Name(program);
            }
        }
    }
}

TEST_F(RegistryConfiguratorsTest, RestoreWithoutBackupChangesNothing) {
    SeedUserPrograms();
    Configurators c;
    for (const auto& entry : c.All()) {
        EXPECT_EQ(entry.restore(), 0) << Name(entry.program);
        EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, entry.key), UserValues(entry.program)) << Name(entry.program);
    }
}

TEST_F(RegistryConfiguratorsTest, ProgramRemovedMeanwhileIsNotMadeAgain) {
    SeedUserPrograms();
    Configurators c;
    for (const auto& entry : c.All()) {
        entry.backup();
        entry.point();
        platform::RegKey parent;
        ASSERT_EQ(parent.Open(HKEY_CURRENT_USER, "Software"), platform::ERROR_SUCCESS);
        ASSERT_EQ(parent.RecurseDeleteKey(std::string(entry.key).substr(9)), platform::ERROR_SUCCESS);
        EXPECT_EQ(entry.restore(), 0) << Name(entry.program);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, entry.key)) << Name(entry.program);
    }
}

TEST_F(RegistryConfiguratorsTest, FailedSaveReportsFailureAndChangesNothing) {
    SeedUserPrograms();
    Configurators c;
    for (const auto& entry : c.All()) {
        platform::safefile_test::FailTemporaryFiles(true);
        const long backedUp = entry.backup();
        const long pointed = entry.point();
        platform::safefile_test::FailTemporaryFiles(false);
        EXPECT_NE(backedUp, 0) << Name(entry.program);
        EXPECT_NE(pointed, 0) << Name(entry.program);
        EXPECT_EQ(ReadKey(HKEY_CURRENT_USER, entry.key), UserValues(entry.program)) << Name(entry.program);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::string(kBackUpKey) + "\\" + Name(entry.program)))
            << Name(entry.program);
    }
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
