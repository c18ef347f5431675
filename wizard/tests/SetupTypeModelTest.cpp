#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempRoot.h"
#include "settings/CSettings.h"
#include "wizard/CWizAutoConfigModel.h"
#include "wizard/CWizSetupTypeModel.h"
#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using eNext = CWizSetupTypeModel::eNext;

TEST(SetupTypeModelTest, LastBoxClickedDecidesAndNoCheckAsksForASelection) {
    const struct {
        std::string clicks;  // d: "Default Settings.", c: "Custom Settings."
        bool defaultChecked;
        bool customChecked;
        eNext next;
    } cases[] = {
        {"", true, false, eNext::Default},
        {"c", false, true, eNext::Custom},
        {"d", false, false, eNext::NeedSelection},
        {"cc", false, false, eNext::NeedSelection},
        {"cd", true, false, eNext::Default},
        {"dc", false, true, eNext::Custom},
        {"dd", true, false, eNext::Default},
        {"ccd", true, false, eNext::Default},
    };
    for (const auto& c : cases) {
        CWizSetupTypeModel model;
        for (char click : c.clicks) click == 'd' ? model.ClickDefault() : model.ClickCustom();
        EXPECT_EQ(model.IsDefaultChecked(), c.defaultChecked) << c.clicks;
        EXPECT_EQ(model.IsCustomChecked(), c.customChecked) << c.clicks;
        EXPECT_EQ(model.Next(), c.next) << c.clicks;
    }
}

class DefaultSettingsTest : public kvtest::RootedTest {};

TEST_F(DefaultSettingsTest, SetsAddressPortAndMediumPresetAndKeepsPageChoices) {
    CSettings settings;
    settings.SetToMaximumProtection();
    settings.getPrivacySettings()->mListenerPort = 9999;
    settings.getHunterSettings()->mDepth = 7;
    CWizAutoConfigModel choices;
    using namespace autoconfig;
    for (int box : CWizAutoConfigModel::LoadedBoxes()) choices.SetChecked(box, false);
    choices.SetChecked(kOpera, true);
    choices.SetChecked(kCleanAtStart, false);

    CWizSetupTypeModel::ApplyDefaultSettings(settings, choices);

    CSettings medium;
    medium.SetToMediumProtection();
    EXPECT_STREQ(settings.getGeneralSettings()->getStartingIP(), "127.0.0.1");
    EXPECT_EQ(settings.getGeneralSettings()->getStartingPort(), 8082u);
    EXPECT_EQ(settings.getGeneralSettings()->getIsBallonShow(), medium.getGeneralSettings()->getIsBallonShow());
    EXPECT_EQ(settings.getFiltrationSettings()->mInFiltration.mBlockPopUps,
              medium.getFiltrationSettings()->mInFiltration.mBlockPopUps);
    EXPECT_EQ(settings.getPrivacySettings()->mListenerPort, 9999u) << "the listener port stays as loaded";
    EXPECT_EQ(settings.getHunterSettings()->mDepth, 7u) << "the hunter stays as loaded";
    // The preset would point IE, Yahoo and MSN at the relay; the page's
    // choices stand.
    EXPECT_FALSE(settings.getSysConfig()->getAutoIE());
    EXPECT_FALSE(settings.getSysConfig()->getAutoYahooIM());
    EXPECT_FALSE(settings.getSysConfig()->getAutoMSN());
    EXPECT_TRUE(settings.getSysConfig()->getAutoOpera());
    EXPECT_EQ(settings.getCleanupSettings()->mCleanupAdvanced.mWindowsStart, 0u);
}

}  // namespace
}  // namespace wizard
