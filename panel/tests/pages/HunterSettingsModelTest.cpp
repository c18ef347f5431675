#include <gtest/gtest.h>

#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"
#include "panel/pages/CHunterSettingsModel.h"
#include "settings/CSettings.h"

namespace {

class HunterSettingsModelTest : public kvtest::RootedTest {
protected:
    CHunterSettings& Section() { return *working_.getHunterSettings(); }
    CHunterSettingsModel Make() {
        CHunterSettingsModel model(working_, [this](CSettings& s) {
            ++applies_;
            applied_ = *s.getHunterSettings();
        });
        model.Init();
        return model;
    }

    CSettings working_;
    int applies_ = 0;
    CHunterSettings applied_;
};

TEST_F(HunterSettingsModelTest, DefaultModeLoadsTheDefaultsAndLocksTheCustomControls) {
    Section().SetIsDefault(1);
    Section().SetDepth(4);
    Section().SetURL("http://mine.example/");
    CHunterSettings defaults = Section();
    defaults.SetDefaultHunterSettings();
    const CHunterSettingsModel model = Make();
    const auto& s = model.GetState();
    EXPECT_TRUE(s.defaultRadio.checked);
    EXPECT_FALSE(s.customRadio.checked);
    for (const auto* c : {&s.serverRadio, &s.urlRadio, &s.localRadio, &s.depthBox, &s.autoAnalyzeBox,
                          &s.autoDeleteBox, &s.excludeForeignBox}) {
        EXPECT_FALSE(c->enabled);
    }
    EXPECT_FALSE(s.urlEditEnabled);
    EXPECT_FALSE(s.localEditEnabled);
    EXPECT_FALSE(s.depthEditEnabled);
    EXPECT_FALSE(s.minutesEditEnabled);
    EXPECT_EQ(Section().GetDepth(), defaults.GetDepth());
    EXPECT_EQ(s.depth, std::to_string(defaults.GetDepth()));
    EXPECT_EQ(s.url, defaults.GetURL());
}

TEST_F(HunterSettingsModelTest, CustomModeEnablesTheControlsOfTheStoredSource) {
    Section().SetIsDefault(0);
    Section().SetSourceType(eLocalFile);
    Section().SetIsDepthEnabled(1);
    Section().SetDepth(3);
    Section().SetLocalURL("/tmp/list.html");
    CHunterSettingsModel model = Make();
    const auto& s = model.GetState();
    EXPECT_TRUE(s.customRadio.checked);
    EXPECT_TRUE(s.localRadio.checked);
    EXPECT_FALSE(s.urlRadio.checked);
    EXPECT_TRUE(s.localEditEnabled);
    EXPECT_TRUE(s.openEnabled);
    EXPECT_FALSE(s.urlEditEnabled);
    EXPECT_TRUE(s.depthEditEnabled);
    EXPECT_EQ(s.depth, "3");
    EXPECT_EQ(s.localUrl, "/tmp/list.html");
    model.OnSource(eUserURL);
    EXPECT_EQ(Section().GetSourceType(), eUserURL);
    EXPECT_TRUE(model.GetState().urlEditEnabled);
    EXPECT_FALSE(model.GetState().localEditEnabled);
    model.OnDepthBox(false);
    EXPECT_EQ(Section().GetIsDepthEnabled(), 0u);
    EXPECT_FALSE(model.GetState().depthEditEnabled);
    model.OnDefault();
    EXPECT_EQ(Section().GetIsDefault(), 1u);
    EXPECT_FALSE(model.GetState().urlRadio.enabled);
}

TEST_F(HunterSettingsModelTest, OutOfRangeNumbersBringTheirMessageAndFallBackToZero) {
    Section().SetIsDefault(0);
    CHunterSettingsModel model = Make();
    struct Case {
        void (CHunterSettingsModel::*edit)(const std::string&);
        const char* typed;
        const char* message;  // null: taken as typed
        platform::DWORD (CHunterSettings::*stored)() const;
        platform::DWORD value;
    };
    const char* depthText = "Depth ranges between 0 and 5";
    const char* minutesText = "AutoRefresh rate ranges between 15 and 9999 minutes";
    const Case cases[] = {
        {&CHunterSettingsModel::OnDepthChanged, "5", nullptr, &CHunterSettings::GetDepth, 5},
        {&CHunterSettingsModel::OnDepthChanged, "6", depthText, &CHunterSettings::GetDepth, 0},
        {&CHunterSettingsModel::OnDepthChanged, "-1", depthText, &CHunterSettings::GetDepth, 0},
        {&CHunterSettingsModel::OnMinutesChanged, "0", nullptr, &CHunterSettings::GetAutoAnalyzeMins, 0},
        {&CHunterSettingsModel::OnMinutesChanged, "9999", nullptr, &CHunterSettings::GetAutoAnalyzeMins, 9999},
        {&CHunterSettingsModel::OnMinutesChanged, "10000", minutesText, &CHunterSettings::GetAutoAnalyzeMins, 0},
        {&CHunterSettingsModel::OnMinutesChanged, "-20", minutesText, &CHunterSettings::GetAutoAnalyzeMins, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        kvtest::MessageBoxRecorder boxes;
        (model.*c.edit)(c.typed);
        EXPECT_EQ((Section().*c.stored)(), c.value);
        if (!c.message) {
            EXPECT_TRUE(boxes.boxes().empty());
            continue;
        }
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, c.message);
        EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin");
    }
    EXPECT_EQ(model.GetState().minutes, "0");
    EXPECT_EQ(model.GetState().depth, "0");
}

TEST_F(HunterSettingsModelTest, CancelPutsBackTheSectionAsTheDialogFoundIt) {
    Section().SetIsDefault(0);
    Section().SetURL("http://before.example/");
    Section().SetDepth(2);
    const CHunterSettings before = Section();
    CHunterSettingsModel model = Make();
    model.OnUrlChanged("http://after.example/");
    model.OnDepthChanged("4");
    model.OnSource(eLocalFile);
    model.OnAutoDeleteBox(true);
    model.OnDefault();
    model.Cancel();
    EXPECT_EQ(Section().GetURL(), before.GetURL());
    EXPECT_EQ(Section().GetDepth(), before.GetDepth());
    EXPECT_EQ(Section().GetSourceType(), before.GetSourceType());
    EXPECT_EQ(Section().GetIsDefault(), before.GetIsDefault());
    EXPECT_EQ(Section().GetIsAutoDeleteFailedProxiesEnabled(), before.GetIsAutoDeleteFailedProxiesEnabled());
    EXPECT_EQ(applies_, 0);
}

TEST_F(HunterSettingsModelTest, OkStoresTheControlsAndHandsTheSettingsToTheEngine) {
    Section().SetIsDefault(0);
    CHunterSettingsModel model = Make();
    model.OnUrlChanged("http://list.example/");
    model.OnFileChosen("/home/u/proxies.txt");
    model.OnDepthBox(true);
    model.OnDepthChanged("3");
    model.OnExcludeForeignBox(false);
    model.Ok();
    EXPECT_EQ(applies_, 1);
    EXPECT_EQ(applied_.GetURL(), "http://list.example/");
    EXPECT_EQ(applied_.GetLocalURL(), "/home/u/proxies.txt");
    EXPECT_EQ(applied_.GetDepth(), 3u);
    EXPECT_EQ(applied_.GetIsDepthEnabled(), 1u);
    EXPECT_EQ(applied_.GetIsDefault(), 0u);
    EXPECT_EQ(applied_.GetIsExcludeForignerServersEnabled(), 0u);
}

}  // namespace
