// Each configurator on its own: Backup, SetToKV and Restore give the user's
// own configuration back, for every listener type.

#include <gtest/gtest.h>

#include <functional>

#include "ConfigFixture.h"
#include "GoldenConfig.h"
#include "settings/CPrefsKeeper.h"

namespace {
using namespace cfgtest;

struct Operations {
    Program program;
    std::function<long(CPrefsKeeper&)> backup;
    std::function<long(CPrefsKeeper&, eProxyType)> point;
    std::function<long(CPrefsKeeper&)> restore;
};

const std::vector<Operations>& AllOperations() {
    static const std::vector<Operations> all = {
        {Program::MSN, [](CPrefsKeeper& k) { return k.m_MSNConfig.Backup(); },
         [](CPrefsKeeper& k, eProxyType t) { return k.m_MSNConfig.SetToKV(t, "127.0.0.1", kPort); },
         [](CPrefsKeeper& k) { return k.m_MSNConfig.Restore(); }},
        {Program::Yahoo, [](CPrefsKeeper& k) { return k.m_YahooConfig.Backup(); },
         [](CPrefsKeeper& k, eProxyType t) { return k.m_YahooConfig.SetToKV(t, "127.0.0.1", kPort); },
         [](CPrefsKeeper& k) { return k.m_YahooConfig.Restore(); }},
        {Program::CuteFtp, [](CPrefsKeeper& k) { return k.m_CuteFtpConfig.Backup(); },
         [](CPrefsKeeper& k, eProxyType t) { return k.m_CuteFtpConfig.SetToKV("127.0.0.1", kPort, t); },
         [](CPrefsKeeper& k) { return k.m_CuteFtpConfig.Restore(); }},
        {Program::Kazaa, [](CPrefsKeeper& k) { return k.m_KAZAAConfig.Backup(); },
         [](CPrefsKeeper& k, eProxyType t) { return k.m_KAZAAConfig.SetToKV(t, "127.0.0.1", kPort, "kuser", "kpass"); },
         [](CPrefsKeeper& k) { return k.m_KAZAAConfig.Restore(); }},
        {Program::Netscape, [](CPrefsKeeper& k) { return k.m_NetscapeConfig.Backup(); },
         [](CPrefsKeeper& k, eProxyType t) { return k.m_NetscapeConfig.SetToKV(t, "127.0.0.1", kPort); },
         [](CPrefsKeeper& k) { return k.m_NetscapeConfig.Restore(); }},
        {Program::Opera, [](CPrefsKeeper& k) { return k.m_OperaConfig.Backup(); },
         [](CPrefsKeeper& k, eProxyType t) { return k.m_OperaConfig.SetToKV(t, "127.0.0.1", kPort); },
         [](CPrefsKeeper& k) { return k.m_OperaConfig.Restore(); }},
        {Program::Mirc, [](CPrefsKeeper& k) { return k.m_MircConfig.Backup(); },
         [](CPrefsKeeper& k, eProxyType t) { return k.m_MircConfig.SetToKV(t, 1, "10.1.2.3", kPort, "127.0.0.1"); },
         [](CPrefsKeeper& k) { return k.m_MircConfig.Restore(); }},
        {Program::WSFTP, [](CPrefsKeeper& k) { return k.m_WSFTPConfig.Backup(); },
         [](CPrefsKeeper& k, eProxyType t) { return k.m_WSFTPConfig.SetToKV(1, "10.1.2.3", kPort, t); },
         [](CPrefsKeeper& k) { return k.m_WSFTPConfig.Restore(); }},
    };
    return all;
}

class ConfiguratorRoundTripTest : public ConfigTest, public testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(ListenerTypes, ConfiguratorRoundTripTest, testing::Values(2, 4, 5, 6));

TEST_P(ConfiguratorRoundTripTest, BackupSetToKVRestoreGivesUserConfigurationBack) {
    SeedUserPrograms();
    const auto type = static_cast<eProxyType>(GetParam());
    for (const Operations& ops : AllOperations()) {
        const std::string user = Dump(ops.program);
        CPrefsKeeper keeper;
        EXPECT_EQ(ops.backup(keeper), 0) << Name(ops.program);
        const long pointed = ops.point(keeper, type);
        const bool cuteFtpGeneral = ops.program == Program::CuteFtp && type == PROXY_TYPE_GENERAL;
        EXPECT_EQ(pointed, cuteFtpGeneral ? 1 : 0) << Name(ops.program);
        EXPECT_EQ(Dump(ops.program), Golden(ops.program, GetParam())) << Name(ops.program);
        EXPECT_EQ(ops.restore(keeper), 0) << Name(ops.program);
        EXPECT_EQ(Dump(ops.program), user) << Name(ops.program);

        // A fresh configurator restores from what the first one stored.
        ops.point(keeper, type);
        CPrefsKeeper later;
        ops.restore(later);
        EXPECT_EQ(Dump(ops.program), user) << Name(ops.program) << " restored by a new configurator";
    }
}

}  // namespace
