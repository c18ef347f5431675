#include <gtest/gtest.h>

#include "panel/main/CMainDlgModel.h"
#include "panel/main/MainDlgIds.h"

namespace {

using Click = CMainDlgModel::Click;

TEST(MainDlgModelTest, ChangeKindStartsUnsetAndIsRecordedOnlyWithAChange) {
    CMainDlgModel model;
    EXPECT_EQ(model.ChangeKind(), -1);
    EXPECT_FALSE(model.ApplySetsCustomLevel());
    EXPECT_EQ(model.ApplyImage(), IDR_APPLY);

    model.SetModified(true, 5);
    EXPECT_TRUE(model.IsModified());
    EXPECT_EQ(model.ApplyImage(), IDR_APPLY_MODIFIED);
    model.SetModified(false, 0);
    EXPECT_EQ(model.ChangeKind(), 5) << "clearing the flag keeps the last kind";
    EXPECT_EQ(model.ApplyImage(), IDR_APPLY);

    model.SetModified(true, 0);
    EXPECT_TRUE(model.ApplySetsCustomLevel());
}

TEST(MainDlgModelTest, TabsShowTheirSelectedPictureOnlyWhenCurrent) {
    CMainDlgModel model;
    EXPECT_EQ(model.CurrentTab(), -1);
    ASSERT_TRUE(model.SelectTab(0));
    EXPECT_FALSE(model.SelectTab(0)) << "selecting the current tab changes nothing";
    EXPECT_EQ(model.TabImage(0), 409u);
    EXPECT_EQ(model.TabImage(1), 418u);

    ASSERT_TRUE(model.SelectTabFromCommand(4));
    EXPECT_EQ(model.CurrentTab(), 4);
    EXPECT_EQ(model.TabImage(0), 416u);
    EXPECT_EQ(model.TabImage(4), 408u);
    EXPECT_FALSE(model.SelectTabFromCommand(4));
    EXPECT_FALSE(model.SelectTabFromCommand(5));
}

TEST(MainDlgModelTest, TabControlsLeadToTheirPages) {
    const std::pair<int, int> controlToPage[] = {{IDC_TAB_GENERAL, 551}, {IDC_TAB_ADVANCED, 135},
                                                 {IDC_TAB_PROXY, 136},   {IDC_TAB_ACTIVITY, 137},
                                                 {IDC_TAB_HELP, 323}};
    const CMainDlgModel model;
    for (const auto& [control, page] : controlToPage) {
        const auto tab = CMainDlgModel::TabOfControl(control);
        ASSERT_TRUE(tab) << control;
        EXPECT_EQ(model.TabAt(*tab).page, page) << control;
    }
    EXPECT_FALSE(CMainDlgModel::TabOfControl(IDC_APPLY));
}

TEST(MainDlgModelTest, CaptionStripExitsHidesOrDrags) {
    struct Case {
        int x, y;
        Click click;
    };
    const Case cases[] = {
        {540, 20, Click::Exit},       {700, 0, Click::Exit},  {539, 20, Click::Drag}, {536, 5, Click::Drag},
        {535, 20, Click::HideToTray}, {500, 0, Click::HideToTray}, {499, 10, Click::Drag},
        {540, 21, Click::Drag},       {520, 21, Click::Drag}, {10, 10, Click::Drag},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CMainDlgModel::ClickAt(c.x, c.y), c.click) << c.x << "," << c.y;
    }
}

// A working copy with the listener on 8082 and nothing in the way.
CSettings Listening() {
    CSettings settings;
    settings.getPrivacySettings()->mListenerPort = 8082;
    settings.getGeneralSettings()->setBehindFireWall(false);
    return settings;
}

void UseCustomProxy(CSettings& settings, const char* address, platform::DWORD port) {
    CPrivacySettings& privacy = *settings.getPrivacySettings();
    privacy.mEnableIPShielding = 1;
    privacy.mEnableProxyChain = 0;
    privacy.mProxyBestChoice = 0;
    privacy.mUserIP = address;
    privacy.mUserPort = port;
}

void UseFirewall(CSettings& settings, const char* address, platform::DWORD port) {
    settings.getGeneralSettings()->setBehindFireWall(true);
    settings.getGeneralSettings()->setFireWallIP(address);
    settings.getGeneralSettings()->setFireWallPort(port);
}

TEST(MainDlgModelTest, ApplyRefusesAddressesThatMeetTheListener) {
    const std::string portInUse = "This port is already used, please change the port number";
    const std::string same =
        "Please check that the IP and port number used for the firewall, custom proxy and server are not the same.";
    struct Case {
        const char* name;
        void (*adjust)(CSettings&);
        bool ok;
        std::string message;
        bool appBox;
    };
    const Case cases[] = {
        {"nothing in the way", [](CSettings&) {}, true, "", false},
        {"firewall on the listener, no custom proxy", [](CSettings& s) { UseFirewall(s, "127.0.0.1", 8082); },
         false, portInUse, false},
        {"firewall elsewhere", [](CSettings& s) { UseFirewall(s, "127.0.0.2", 8082); }, true, "", false},
        {"custom proxy on the listener", [](CSettings& s) { UseCustomProxy(s, "127.0.0.1", 8082); }, false, same,
         false},
        {"custom proxy address differs by case only",
         [](CSettings& s) {
             UseCustomProxy(s, "Proxy.example", 3128);
             UseFirewall(s, "proxy.example", 3128);
         },
         true, "", false},
        {"firewall equals the custom proxy",
         [](CSettings& s) {
             UseCustomProxy(s, "10.0.0.5", 3128);
             UseFirewall(s, "10.0.0.5", 3128);
         },
         false, same, true},
        {"a chain is no custom proxy",
         [](CSettings& s) {
             UseCustomProxy(s, "127.0.0.1", 8082);
             s.getPrivacySettings()->mEnableProxyChain = 1;
         },
         true, "", false},
        {"listener port zero", [](CSettings& s) { s.getPrivacySettings()->mListenerPort = 0; }, false,
         "The server port must be a number from 1 to 65535.", false},
        {"listener port above 65535", [](CSettings& s) { s.getPrivacySettings()->mListenerPort = 70000; }, false,
         "The server port must be a number from 1 to 65535.", false},
    };
    for (const Case& c : cases) {
        CSettings settings = Listening();
        c.adjust(settings);
        const auto check = CMainDlgModel::CheckApply(settings);
        EXPECT_EQ(check.ok, c.ok) << c.name;
        EXPECT_EQ(check.message, c.message) << c.name;
        EXPECT_EQ(check.appMessageBox, c.appBox) << c.name;
    }
}

}  // namespace
