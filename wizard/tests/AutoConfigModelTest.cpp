#include <gtest/gtest.h>

#include <string>

#include "support/TempRoot.h"
#include "platform/Registry.h"
#include "settings/CSettings.h"
#include "wizard/CWizAutoConfigModel.h"
#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using namespace autoconfig;

constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class AutoConfigModelTest : public kvtest::RootedTest {
protected:
    static void Install(const std::string& program, const std::string& uninstall = "C:\\x\\uninst.exe") {
        platform::RegKey key;
        ASSERT_EQ(key.Create(platform::HKEY_LOCAL_MACHINE, kUninstall + program), platform::ERROR_SUCCESS);
        key.SetStringValue("UninstallString", uninstall);
    }
    static bool SettingsKeyExists() {
        platform::RegKey key;
        return key.Open(platform::HKEY_CURRENT_USER, "SOFTWARE\\" + CSettings::mRunningApp) == platform::ERROR_SUCCESS;
    }
};

TEST_F(AutoConfigModelTest, OnlyBrowserAndCuteFtpCanChangeWhenNothingIsInstalled) {
    CWizAutoConfigModel model;
    model.ProbeInstalled();
    for (int box : {kIE, kNetscape, kOpera, kMSN, kYahoo, kMirc, kWsFtp, kCuteFtp}) {
        EXPECT_EQ(model.IsEnabled(box), box == kIE || box == kCuteFtp) << box;
    }
}

TEST_F(AutoConfigModelTest, EachInstalledProgramEnablesItsOwnBox) {
    const struct {
        const char* program;
        int box;
    } cases[] = {
        {"Opera", kOpera},       {"Mirc", kMirc},
        {"WS_FTP Pro", kWsFtp},  {"Netscape (7.0)", kNetscape},
        {"Yahoo! Messenger", kYahoo},
    };
    for (const auto& c : cases) {
        platform::registry_test::LoadHiveText(platform::HKEY_LOCAL_MACHINE, "Windows Registry Editor Version 5.00\r\n");
        Install(c.program);
        CWizAutoConfigModel model;
        model.ProbeInstalled();
        for (int box : {kNetscape, kOpera, kMSN, kYahoo, kMirc, kWsFtp}) {
            EXPECT_EQ(model.IsEnabled(box), box == c.box) << c.program << " box " << box;
        }
    }
}

TEST_F(AutoConfigModelTest, MessengerIsFoundByItsOwnValueOnly) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\MSNMessenger"), platform::ERROR_SUCCESS);
    CWizAutoConfigModel without;
    without.ProbeInstalled();
    EXPECT_FALSE(without.IsEnabled(kMSN)) << "the key alone is not enough";
    key.SetDWORDValue("AlwaysOnTop", 0);
    CWizAutoConfigModel with;
    with.ProbeInstalled();
    EXPECT_TRUE(with.IsEnabled(kMSN));
}

TEST_F(AutoConfigModelTest, UninstallTextThatDoesNotFitMeansNotInstalled) {
    Install("Opera", std::string(260, 'x'));
    Install("Mirc", std::string(259, 'x'));
    CWizAutoConfigModel model;
    model.ProbeInstalled();
    EXPECT_FALSE(model.IsEnabled(kOpera));
    EXPECT_TRUE(model.IsEnabled(kMirc));
}

TEST_F(AutoConfigModelTest, FirstLoadWritesTheDefaultsAndChecksFromThem) {
    ASSERT_FALSE(SettingsKeyExists());
    CSettings settings;
    CWizAutoConfigModel model;
    model.Load(settings);
    EXPECT_TRUE(SettingsKeyExists());
    const CSettings defaults;
    EXPECT_EQ(model.IsChecked(kIE), defaults.getSysConfig()->getAutoIE());
    EXPECT_EQ(model.IsChecked(kYahoo), defaults.getSysConfig()->getAutoYahooIM());
    EXPECT_EQ(model.IsChecked(kOpera), defaults.getSysConfig()->getAutoOpera());
    EXPECT_EQ(model.IsChecked(kLaunchAtStartup), defaults.getSysConfig()->getLaunchAtStartup());
}

TEST_F(AutoConfigModelTest, LoadsStoredFlagsButAlwaysChecksCleanAtStart) {
    CSettings stored;
    CSysConfig& sys = *stored.getSysConfig();
    sys.setAutoIE(false);
    sys.setAutoOpera(true);
    sys.setAutoCuteMirc(true);
    sys.setAutoMSN(false);
    sys.setLaunchAtStartup(true);
    stored.getCleanupSettings()->mCleanupAdvanced.mWindowsStart = 0;
    ASSERT_TRUE(stored.SetRegistry());

    CSettings settings;
    CWizAutoConfigModel model;
    model.Load(settings);
    EXPECT_FALSE(model.IsChecked(kIE));
    EXPECT_TRUE(model.IsChecked(kOpera));
    EXPECT_TRUE(model.IsChecked(kMirc));
    EXPECT_FALSE(model.IsChecked(kMSN));
    EXPECT_TRUE(model.IsChecked(kLaunchAtStartup));
    EXPECT_TRUE(model.IsChecked(kCleanAtStart));
    EXPECT_TRUE(model.IsChecked(kToolbarAlerts));
    EXPECT_EQ(settings.getCleanupSettings()->mCleanupAdvanced.mWindowsStart, 0u) << "loading alone changes no field";
}

TEST_F(AutoConfigModelTest, StoreSetsEveryFlagFromItsBoxAndWritesNothing) {
    CWizAutoConfigModel model;
    const struct {
        int box;
        bool (CSysConfig::*get)() const;
    } flags[] = {
        {kIE, &CSysConfig::getAutoIE},           {kOpera, &CSysConfig::getAutoOpera},
        {kWsFtp, &CSysConfig::getAutoWsFTP},     {kNetscape, &CSysConfig::getAutoNetscape},
        {kMSN, &CSysConfig::getAutoMSN},         {kYahoo, &CSysConfig::getAutoYahooIM},
        {kMirc, &CSysConfig::getAutoCuteMirc},   {kCuteFtp, &CSysConfig::getAutoCuteFtp},
        {kLaunchAtStartup, &CSysConfig::getLaunchAtStartup},
    };
    for (const auto& chosen : flags) {
        for (const auto& f : flags) model.SetChecked(f.box, f.box == chosen.box);
        model.SetChecked(kCleanAtStart, chosen.box == kIE);
        CSettings settings;
        model.Store(settings);
        for (const auto& f : flags) EXPECT_EQ((settings.getSysConfig()->*f.get)(), f.box == chosen.box) << f.box;
        EXPECT_EQ(settings.getCleanupSettings()->mCleanupAdvanced.mWindowsStart, chosen.box == kIE ? 1u : 0u);
    }
    EXPECT_FALSE(SettingsKeyExists());
}

}  // namespace
}  // namespace wizard
