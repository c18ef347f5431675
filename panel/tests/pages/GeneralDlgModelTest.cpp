#include <gtest/gtest.h>

#include <mutex>

#include "FakePageHost.h"
#include "panel/pages/CGeneralDlgModel.h"
#include "panel/pages/GeneralPageIds.h"
#include "relay/engine/CBaseServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using pagetest::FakePageHost;

class GeneralDlgModelTest : public kvtest::RootedTest {
protected:
    CPrivacySettings& Privacy() { return *host_.settings.getPrivacySettings(); }
    CGnrlSettings& General() { return *host_.settings.getGeneralSettings(); }

    FakePageHost host_;
    CGeneralDlgModel model_{host_};
};

struct ServerTypeCase {
    platform::DWORD stored;
    int index;  // -1: no selection
    const char* tip;
};

TEST_F(GeneralDlgModelTest, ServerTypeListFollowsTheListenerTypeAndUnknownTypesSelectNothing) {
    const ServerTypeCase cases[] = {
        {6, 0, "Supports any protocol."},
        {2, 1, "This protocol is not supported by MIRC or KAZAA."},
        {4, 2, "This protocol is not supported by Internet Explorer, OPERA or KAZAA."},
        {5, 3, "This protocol is not supported by Internet Explorer or OPERA."},
        {3, -1, ""},
    };
    for (const ServerTypeCase& c : cases) {
        SCOPED_TRACE(c.stored);
        CGeneralDlgModel model(host_);
        Privacy().mListenerType = c.stored;
        model.Init();
        EXPECT_EQ(model.GetState().serverType, c.index);
        EXPECT_EQ(model.GetState().serverTypeTip, c.tip);
    }
    EXPECT_TRUE(host_.modified.empty()) << "filling marks nothing modified";
}

TEST_F(GeneralDlgModelTest, FillingShowsTheWorkingCopyAndTellsTheEngineAboutTheFirewall) {
    const std::pair<platform::DWORD, int> firewallTypes[] = {{2, 0}, {3, 1}, {4, 2}, {5, 3}, {9, 0}};
    for (auto [type, index] : firewallTypes) {
        General().setFireWallType(type);
        model_.FillControls();
        EXPECT_EQ(model_.GetState().firewallType, index) << type;
    }
    Privacy().mListenerPort = 8123;
    General().setBehindFireWall(true);
    General().setFireWallIP("10.1.2.3");
    General().setFireWallPort(3128);
    General().setIsBallonShow(1);
    General().setProtectionLevel(3);
    host_.settings.getSysConfig()->setLaunchAtStartup(true);
    model_.FillControls();
    const auto& s = model_.GetState();
    EXPECT_EQ(s.serverPort, "8123");
    EXPECT_TRUE(s.firewall);
    EXPECT_TRUE(s.firewallControlsEnabled);
    EXPECT_EQ(s.firewallIP, "10.1.2.3");
    EXPECT_EQ(s.firewallPort, "3128");
    EXPECT_TRUE(s.trayNotifications);
    EXPECT_TRUE(s.autostart);
    EXPECT_EQ(s.levelButton, IDC_LEVEL_MINIMUM);
    {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        EXPECT_TRUE(CBaseServer::mChainSettings.IsBehindFireWall());
    }
    General().setBehindFireWall(false);
    General().setProtectionLevel(7);
    model_.FillControls();
    EXPECT_FALSE(model_.GetState().firewallControlsEnabled);
    EXPECT_EQ(model_.GetState().levelButton, 0);
    std::lock_guard lock(CBaseServer::mSettingsCS);
    EXPECT_FALSE(CBaseServer::mChainSettings.IsBehindFireWall());
}

TEST_F(GeneralDlgModelTest, EditsWriteTheWorkingCopyAndMarkItModified) {
    model_.Init();
    model_.OnServerPortChanged("9000x");
    EXPECT_EQ(Privacy().mListenerPort, 9000u);
    model_.OnServerPortChanged("abc");
    EXPECT_EQ(Privacy().mListenerPort, 0u) << "non-numbers give 0";
    model_.OnServerTypeChanged(3);
    EXPECT_EQ(Privacy().mListenerType, 5u);
    model_.OnServerTypeChanged(4);
    EXPECT_EQ(Privacy().mListenerType, 5u) << "an index past the list changes nothing";
    model_.OnFirewallClicked(true);
    EXPECT_TRUE(General().getBehindFireWall());
    EXPECT_TRUE(model_.GetState().firewallControlsEnabled);
    model_.OnFirewallIPChanged("192.168.0.9");
    EXPECT_STREQ(General().getFireWallIP(), "192.168.0.9");
    model_.OnFirewallPortChanged("1080");
    EXPECT_EQ(General().getFireWallPort(), 1080u);
    model_.OnFirewallTypeChanged(1);
    EXPECT_EQ(General().getFireWallType(), 3u);
    model_.OnAutostartClicked(true);
    EXPECT_TRUE(host_.settings.getSysConfig()->getLaunchAtStartup());
    ASSERT_EQ(host_.modified.size(), 9u);
    for (auto [modified, kind] : host_.modified) {
        EXPECT_TRUE(modified);
        EXPECT_EQ(kind, 5);
    }
    model_.OnTrayClicked(true);
    EXPECT_EQ(General().getIsBallonShow(), 1u);
    EXPECT_EQ(host_.modified.back(), std::make_pair(true, 0)) << "tray notices are an ordinary change";
}

TEST_F(GeneralDlgModelTest, PresetsReplaceTheirFieldsInTheWorkingCopyOnly) {
    struct Preset {
        void (CGeneralDlgModel::*press)();
        void (CSettings::*apply)();
        int kind;
        int button;
    };
    const Preset presets[] = {
        {&CGeneralDlgModel::OnMaximum, &CSettings::SetToMaximumProtection, 1, IDC_LEVEL_MAXIMUM},
        {&CGeneralDlgModel::OnDefault, &CSettings::SetToMediumProtection, 2, IDC_LEVEL_DEFAULT},
        {&CGeneralDlgModel::OnMinimum, &CSettings::SetToMinimumProtection, 3, IDC_LEVEL_MINIMUM},
    };
    const CSettings engineBefore = CBaseServer::GetSettings();
    for (const Preset& p : presets) {
        SCOPED_TRACE(p.kind);
        host_.settings.getPrivacySettings()->mEnableIPShielding = 7;
        host_.settings.getGeneralSettings()->setIsBallonShow(0);
        CSettings expected = host_.settings;
        expected.getGeneralSettings()->setProtectionLevel(static_cast<platform::DWORD>(p.kind));
        (expected.*p.apply)();
        (model_.*p.press)();
        EXPECT_EQ(host_.modified.back(), std::make_pair(true, p.kind));
        EXPECT_EQ(Privacy().mEnableIPShielding, expected.getPrivacySettings()->mEnableIPShielding);
        EXPECT_EQ(General().getIsBallonShow(), expected.getGeneralSettings()->getIsBallonShow());
        EXPECT_EQ(General().getProtectionLevel(), static_cast<platform::DWORD>(p.kind));
        EXPECT_EQ(model_.GetState().levelButton, p.button);
        EXPECT_EQ(model_.GetState().trayNotifications, expected.getGeneralSettings()->getIsBallonShow() != 0);
    }
    const CSettings engineAfter = CBaseServer::GetSettings();
    EXPECT_EQ(engineAfter.getPrivacySettings()->mEnableIPShielding,
              engineBefore.getPrivacySettings()->mEnableIPShielding);
    EXPECT_EQ(engineAfter.getGeneralSettings()->getProtectionLevel(),
              engineBefore.getGeneralSettings()->getProtectionLevel());
}

TEST_F(GeneralDlgModelTest, CustomKeepsEverySettingButTheLevel) {
    Privacy().mListenerPort = 8111;
    General().setProtectionLevel(1);
    model_.Init();
    model_.OnCustom();
    EXPECT_EQ(General().getProtectionLevel(), 4u);
    EXPECT_EQ(Privacy().mListenerPort, 8111u);
    EXPECT_EQ(model_.GetState().levelButton, IDC_LEVEL_CUSTOM);
    EXPECT_EQ(host_.modified.back(), std::make_pair(true, 4));
}

struct PortCheckCase {
    const char* name;
    bool behindFirewall;
    const char* firewallIP;
    platform::DWORD firewallPort;
    bool customProxy;
    const char* userIP;
    platform::DWORD userPort;
    const char* typed;
    int messages;
};

TEST_F(GeneralDlgModelTest, PortCheckResetsAPortTheFirewallOrCustomProxyUsesOnLoopback) {
    const PortCheckCase cases[] = {
        {"FirewallOnLoopback", true, "127.0.0.1", 8082, false, "127.0.0.1", 80, "8082", 1},
        {"FirewallElsewhere", true, "10.0.0.1", 8082, false, "127.0.0.1", 80, "8082", 0},
        {"NotBehindFirewall", false, "127.0.0.1", 8082, false, "127.0.0.1", 80, "8082", 0},
        {"ExactTextOnly", true, "127.0.0.1", 8082, false, "127.0.0.1", 80, "08082", 0},
        {"CustomProxyOnLoopback", false, "", 0, true, "127.0.0.1", 8082, "8082", 1},
        {"CustomProxyElsewhere", false, "", 0, true, "127.0.0.2", 8082, "8082", 0},
        {"BothConflict", true, "127.0.0.1", 8082, true, "127.0.0.1", 8082, "8082", 2},
    };
    for (const PortCheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        kvtest::MessageBoxRecorder boxes;
        FakePageHost host;
        CGeneralDlgModel model(host);
        CGnrlSettings& general = *host.settings.getGeneralSettings();
        CPrivacySettings& privacy = *host.settings.getPrivacySettings();
        general.setBehindFireWall(c.behindFirewall);
        general.setFireWallIP(c.firewallIP);
        general.setFireWallPort(c.firewallPort);
        privacy.mEnableIPShielding = c.customProxy ? 1 : 0;
        privacy.mEnableProxyChain = 0;
        privacy.mProxyBestChoice = 0;
        privacy.mUserIP = c.userIP;
        privacy.mUserPort = c.userPort;
        model.Init();
        model.OnServerPortChanged(c.typed);
        model.OnServerPortKillFocus();
        ASSERT_EQ(static_cast<int>(boxes.boxes().size()), c.messages);
        for (const auto& box : boxes.boxes()) {
            EXPECT_EQ(box.text, "This port is already used, please change the port number");
            EXPECT_EQ(box.caption, "Kavelin Professional Edition");
        }
        if (c.messages > 0) {
            EXPECT_EQ(model.GetState().serverPort, "0");
            EXPECT_EQ(privacy.mListenerPort, 0u);
        } else {
            EXPECT_EQ(model.GetState().serverPort, c.typed);
        }
    }
}

TEST_F(GeneralDlgModelTest, StartStopStartsOnlyAStoppedEngineWithAPortText) {
    model_.Init();
    EXPECT_EQ(model_.GetState().startStopTip, "Start server.");
    EXPECT_EQ(model_.GetState().startStopImage, IDR_START);
    model_.OnServerPortChanged("8090");
    host_.modified.clear();
    model_.OnStartStop();
    EXPECT_EQ(host_.starts, 1);
    EXPECT_EQ(Privacy().mListenerPort, 8090u);
    EXPECT_FALSE(model_.GetState().startStopEnabled) << "the engine notice enables it again";
    EXPECT_EQ(model_.GetState().startStopTip, "Stop Server.");
    EXPECT_EQ(host_.modified, (std::vector<std::pair<bool, int>>{{true, 0}}));

    model_.ShowServerState(true);
    EXPECT_TRUE(model_.GetState().startStopEnabled);
    EXPECT_FALSE(model_.GetState().serverControlsEnabled);
    EXPECT_EQ(model_.GetState().startStopImage, IDR_STOP);
    EXPECT_EQ(model_.GetState().startStopPushedImage, IDR_STOP_PUSHED);
    host_.running = true;
    model_.OnStartStop();
    EXPECT_EQ(host_.stops, 1);
    EXPECT_EQ(model_.GetState().startStopTip, "Start server.");

    host_.running = false;
    model_.OnServerPortChanged("");
    model_.OnStartStop();
    EXPECT_EQ(host_.starts, 1) << "an empty port stops instead of starting";
    EXPECT_EQ(host_.stops, 2);
}

}  // namespace
