#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "panel/filtration/CAdServerModel.h"
#include "panel/filtration/CAdvFltrInModel.h"
#include "panel/filtration/CAdvFltrOutModel.h"
#include "panel/filtration/FiltrationIds.h"
#include "panel/filtration/ServerNames.h"
#include "panel/tests/support/RecordingPageHost.h"
#include "settings/CSettings.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using Strings = std::vector<std::string>;

using Host = paneltest::RecordingPageHost;

class FiltrationModelTest : public kvtest::RootedTest {
protected:
    CInFiltration& In() { return host_.settings.getFiltrationSettings()->mInFiltration; }
    COutFiltration& Out() { return host_.settings.getFiltrationSettings()->mOutFiltration; }
    CAdvancedFiltration& Adv() { return host_.settings.getFiltrationSettings()->mAdvancedFiltration; }
    CFiltrationBanners& Banners() { return In().mBanners; }

    Host host_;
};

// ---- incoming page ----

struct InSwitch {
    int box;
    platform::DWORD* (*field)(CFiltrationSettings&);
};

const InSwitch kInSwitches[] = {
    {IDC_IN_BANNER_ADS, [](CFiltrationSettings& f) { return &f.mInFiltration.mBlockBannerAds; }},
    {IDC_IN_SCRIPTS, [](CFiltrationSettings& f) { return &f.mInFiltration.mBlockScripts; }},
    {IDC_IN_POPUPS, [](CFiltrationSettings& f) { return &f.mInFiltration.mBlockPopUps; }},
    {IDC_IN_IMAGES, [](CFiltrationSettings& f) { return &f.mInFiltration.mBlockImages; }},
    {IDC_IN_FLASH, [](CFiltrationSettings& f) { return &f.mInFiltration.mBlockBannerFlash; }},
    {IDC_IN_TITLE, [](CFiltrationSettings& f) { return &f.mInFiltration.mIsBlockTitle; }},
    {IDC_IN_TIMER, [](CFiltrationSettings& f) { return &f.mAdvancedFiltration.mDisableTimerScripts; }},
    {IDC_IN_WND_CLOSEUP, [](CFiltrationSettings& f) { return &f.mAdvancedFiltration.mDisableWndCloseupEvents; }},
    {IDC_IN_STATUS_BAR, [](CFiltrationSettings& f) { return &f.mAdvancedFiltration.mRemoveStatusModifier; }},
    {IDC_IN_CONTEXT_MENU, [](CFiltrationSettings& f) { return &f.mAdvancedFiltration.mRemoveContextMenu; }},
    {IDC_IN_JAVA, [](CFiltrationSettings& f) { return &f.mAdvancedFiltration.mDisableJavaApplets; }},
};

TEST_F(FiltrationModelTest, IncomingPageLoadsAndStoresEverySwitchInItsOwnField) {
    CFiltrationSettings& f = *host_.settings.getFiltrationSettings();
    In().setEnable(true);
    for (const InSwitch& s : kInSwitches) {
        for (const InSwitch& t : kInSwitches) *t.field(f) = 0;
        *s.field(f) = 1;
        CAdvFltrInModel model(host_);
        model.Load();
        for (const InSwitch& t : kInSwitches) EXPECT_EQ(model.IsChecked(t.box), t.box == s.box) << s.box << "/" << t.box;

        model.OnBoxClicked(s.box, false);
        EXPECT_EQ(*s.field(f), 0u) << s.box;
        model.OnBoxClicked(s.box, true);
        EXPECT_EQ(*s.field(f), 1u) << s.box;
        for (const InSwitch& t : kInSwitches) {
            if (t.box != s.box) {
                EXPECT_EQ(*t.field(f), 0u) << "box " << s.box << " touched " << t.box;
            }
        }
    }
    EXPECT_EQ(host_.modified.back(), std::make_pair(true, 0));
}

TEST_F(FiltrationModelTest, DisabledIncomingFiltrationGreysSwitchesButKeepsTheirChecks) {
    In().setEnable(false);
    In().setBlockBannerAdds(true);
    In().setIsBlockTitle(true);
    Adv().mDisableJavaApplets = 1;
    CAdvFltrInModel model(host_);
    model.Load();
    for (const InSwitch& s : kInSwitches) EXPECT_FALSE(model.GetControl(s.box).enabled) << s.box;
    EXPECT_TRUE(model.IsChecked(IDC_IN_BANNER_ADS));
    EXPECT_TRUE(model.IsChecked(IDC_IN_JAVA));
    EXPECT_FALSE(model.GetControl(IDC_IN_TITLE_TEXT).enabled);
    EXPECT_FALSE(model.GetControl(IDC_IN_BANNER_SETTINGS).enabled);
    EXPECT_FALSE(model.GetControl(IDC_IN_SELECT_ALL).enabled);
    EXPECT_TRUE(model.GetControl(IDC_IN_ENABLE).enabled);
    EXPECT_TRUE(host_.modified.empty()) << "loading changes nothing";

    model.OnBoxClicked(IDC_IN_ENABLE, true);
    EXPECT_TRUE(In().getEnable());
    EXPECT_TRUE(model.GetControl(IDC_IN_TITLE_TEXT).enabled);
    EXPECT_TRUE(model.GetControl(IDC_IN_BANNER_SETTINGS).enabled);
    model.OnBoxClicked(IDC_IN_BANNER_ADS, false);
    EXPECT_FALSE(model.GetControl(IDC_IN_BANNER_SETTINGS).enabled) << "banner settings follow 1019";
    model.OnBoxClicked(IDC_IN_TITLE, false);
    EXPECT_FALSE(model.GetControl(IDC_IN_TITLE_TEXT).enabled) << "the title edit follows 1012";
}

TEST_F(FiltrationModelTest, TitleOfFiftyCharactersIsKeptAndLongerOnesAreReplaced) {
    kvtest::MessageBoxRecorder boxes;
    CAdvFltrInModel model(host_);
    model.Load();
    const std::string fifty(50, 't');
    model.OnTitleChanged(fifty);
    EXPECT_EQ(model.GetTitle(), fifty);
    EXPECT_EQ(std::string(In().getBlockTitle()), fifty);
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(host_.modified.size(), 1u);

    model.OnTitleChanged(fifty);
    EXPECT_EQ(host_.modified.size(), 1u) << "the same text is no change";

    model.OnTitleChanged(std::string(51, 't'));
    EXPECT_EQ(model.GetTitle(), "Kavelin Professional Edition");
    EXPECT_EQ(std::string(In().getBlockTitle()), "Kavelin Professional Edition");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "You have exceeded the maximum allowed length of the page title.\r\n"
              "You can only use up to 50 characters.");
    EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin Professional Edition");
    EXPECT_EQ(host_.modified.size(), 2u);

    model.OnTitleChanged(std::string(25, '\xC3') + std::string(25, '\xA9') + "\xC3\xA9");
    EXPECT_EQ(boxes.boxes().size(), 1u) << "characters count, not bytes";
}

TEST_F(FiltrationModelTest, IncomingSelectAllChecksEverySwitchAndSwapsTheButtons) {
    In().setEnable(true);
    CAdvFltrInModel model(host_);
    model.Load();
    EXPECT_TRUE(model.GetControl(IDC_IN_SELECT_ALL).shown);
    EXPECT_FALSE(model.GetControl(IDC_IN_DESELECT_ALL).shown);

    model.OnSelectAll();
    CFiltrationSettings& f = *host_.settings.getFiltrationSettings();
    for (const InSwitch& s : kInSwitches) {
        EXPECT_TRUE(model.IsChecked(s.box)) << s.box;
        EXPECT_EQ(*s.field(f), 1u) << s.box;
    }
    EXPECT_TRUE(model.GetControl(IDC_IN_TITLE_TEXT).enabled);
    EXPECT_FALSE(model.GetControl(IDC_IN_SELECT_ALL).shown);
    EXPECT_FALSE(model.GetControl(IDC_IN_SELECT_ALL).enabled);
    EXPECT_TRUE(model.GetControl(IDC_IN_DESELECT_ALL).shown);
    EXPECT_TRUE(model.GetControl(IDC_IN_DESELECT_ALL).enabled);

    model.OnDeselectAll();
    for (const InSwitch& s : kInSwitches) EXPECT_EQ(*s.field(f), 0u) << s.box;
    EXPECT_TRUE(In().getEnable()) << "the enable flag is not one of the switches";
    EXPECT_FALSE(model.GetControl(IDC_IN_TITLE_TEXT).enabled);
    EXPECT_TRUE(model.GetControl(IDC_IN_SELECT_ALL).shown);
    EXPECT_FALSE(model.GetControl(IDC_IN_DESELECT_ALL).shown);
}

TEST_F(FiltrationModelTest, FilterSwitchNoticesActAsClicksOnTheEnableBoxes) {
    CAdvFltrInModel in(host_);
    in.Load();
    CAdvFltrOutModel out(host_, {}, [] {});
    out.Load();
    in.OnFilterSwitch(false);
    out.OnFilterSwitch(true);
    EXPECT_FALSE(In().getEnable());
    EXPECT_FALSE(in.IsChecked(IDC_IN_ENABLE));
    EXPECT_FALSE(in.GetControl(IDC_IN_SCRIPTS).enabled);
    EXPECT_EQ(Out().IsEnable(), 1);
    EXPECT_TRUE(out.GetControl(IDC_OUT_COOKIES).enabled);
    EXPECT_EQ(host_.modified, (std::vector<std::pair<bool, int>>{{true, 0}, {true, 0}}));
}

// ---- outgoing page ----

class OutgoingTest : public FiltrationModelTest {
protected:
    CAdvFltrOutModel Make() {
        return CAdvFltrOutModel(
            host_,
            [this](const std::string& sample) {
                samples_.push_back(sample);
                return answer_;
            },
            [this] { ++cacheClears_; });
    }

    std::optional<std::string> answer_;
    Strings samples_;
    int cacheClears_ = 0;
};

TEST_F(OutgoingTest, LoadsFlagsAndShowsTheStopListSorted) {
    Out().SetEnable(1);
    Out().SetDiabledCookies(1);
    Out().SetEnableServerList(1);
    Out().SetServerStopList({"zeta.example", "Alpha.example", "", "beta.example"});
    CAdvFltrOutModel model = Make();
    model.Load();
    EXPECT_EQ(model.GetLines(), (Strings{"Alpha.example", "beta.example", "zeta.example"}));
    EXPECT_TRUE(model.IsChecked(IDC_OUT_COOKIES));
    EXPECT_FALSE(model.IsChecked(IDC_OUT_OS_SHIELD));

    model.OnBoxClicked(IDC_OUT_REFERRER, true);
    EXPECT_EQ(Out().IsBlockReferrer(), 1);
    EXPECT_EQ(Out().GetServerStopList(), (Strings{"Alpha.example", "beta.example", "zeta.example"}))
        << "a store writes the list box's lines in its order";
}

TEST_F(OutgoingTest, ListControlsNeedFiltrationAndTheStopListBox) {
    struct Case {
        int enable, serverList;
        bool switches, list;
    };
    const Case cases[] = {{0, 0, false, false}, {0, 1, false, false}, {1, 0, true, false}, {1, 1, true, true}};
    for (const Case& c : cases) {
        Out().SetEnable(c.enable);
        Out().SetEnableServerList(c.serverList);
        Out().SetOsShield(1);
        CAdvFltrOutModel model = Make();
        model.Load();
        for (int box : {IDC_OUT_OS_SHIELD, IDC_OUT_COOKIES, IDC_OUT_REFERRER, IDC_OUT_FILE_CACHE, IDC_OUT_SELECT_ALL}) {
            EXPECT_EQ(model.GetControl(box).enabled, c.switches) << c.enable << c.serverList << " " << box;
        }
        for (int id : {IDC_OUT_STOP_LIST, IDC_OUT_ADD, IDC_OUT_REMOVE}) {
            EXPECT_EQ(model.GetControl(id).enabled, c.list) << c.enable << c.serverList << " " << id;
        }
        EXPECT_TRUE(model.GetControl(IDC_OUT_SERVER_LIST).enabled);
        EXPECT_TRUE(model.IsChecked(IDC_OUT_OS_SHIELD)) << "greyed boxes keep their checks";
    }
}

TEST_F(OutgoingTest, AddStoresLowerCaseNamesOnceAndRefusesEmptyOnes) {
    Out().SetServerStopList({"ads.example"});
    CAdvFltrOutModel model = Make();
    model.Load();

    answer_ = "Tracker.EXAMPLE";
    model.OnAdd();
    EXPECT_EQ(samples_, Strings{servernames::kSampleServer});
    EXPECT_EQ(model.GetLines(), (Strings{"ads.example", "tracker.example"}));
    EXPECT_EQ(Out().GetServerStopList(), (Strings{"ads.example", "tracker.example"}));
    EXPECT_EQ(host_.modified.size(), 1u);

    for (std::optional<std::string> again : {std::optional<std::string>("ADS.Example"), std::optional<std::string>(),
                                             std::optional<std::string>("")}) {
        answer_ = again;
        model.OnAdd();
    }
    EXPECT_EQ(Out().GetServerStopList(), (Strings{"ads.example", "tracker.example"}))
        << "a name in the list in any case, a cancel and an empty name change nothing";
    EXPECT_EQ(host_.modified.size(), 1u);
}

TEST_F(OutgoingTest, RemoveDropsTheSelectedLineAndAlwaysClearsTheCaches) {
    Out().SetServerStopList({"b.example", "a.example"});
    CAdvFltrOutModel model = Make();
    model.Load();
    model.OnRemove(-1);
    EXPECT_EQ(cacheClears_, 1) << "no line selected still clears the caches";
    EXPECT_TRUE(host_.modified.empty());
    model.OnRemove(5);
    EXPECT_EQ(model.GetLines().size(), 2u);

    model.OnRemove(0);
    EXPECT_EQ(model.GetLines(), Strings{"b.example"});
    EXPECT_EQ(Out().GetServerStopList(), Strings{"b.example"});
    EXPECT_EQ(cacheClears_, 3);
    EXPECT_EQ(host_.modified.size(), 1u);
}

TEST_F(OutgoingTest, SelectAllChecksTheFiveSwitchesAndNotTheEnableBox) {
    CAdvFltrOutModel model = Make();
    model.Load();
    model.OnSelectAll();
    EXPECT_EQ(Out().IsEnable(), 0);
    for (int value : {Out().IsOsShield(), Out().IsDiabledCookies(), Out().IsEnableServerList(), Out().IsBlockReferrer(),
                      Out().IsDisabledFileCache()}) {
        EXPECT_EQ(value, 1);
    }
    EXPECT_TRUE(model.GetControl(IDC_OUT_DESELECT_ALL).shown);
    EXPECT_FALSE(model.GetControl(IDC_OUT_SELECT_ALL).shown);
    model.OnDeselectAll();
    for (int value : {Out().IsOsShield(), Out().IsDiabledCookies(), Out().IsEnableServerList(), Out().IsBlockReferrer(),
                      Out().IsDisabledFileCache()}) {
        EXPECT_EQ(value, 0);
    }
    EXPECT_TRUE(model.GetControl(IDC_OUT_SELECT_ALL).shown);
}

TEST_F(OutgoingTest, DefaultCacheClearingRunsTheBrowserCleaners) {
    CAdvFltrOutModel model(host_, {});
    model.Load();
    model.OnRemove(-1);
    model.OnAdd();
    EXPECT_TRUE(Out().GetServerStopList().empty()) << "no dialog, no name";
}

// ---- ad-server lists ----

class AdServerTest : public FiltrationModelTest {
protected:
    AdServerTest() {
        engine_.SetAllowedServerList({"b.ads", "a.ads", "c.ads"});
        engine_.SetBlockedServerList({"z.ads"});
        engine_.SetCustomServerList({"mine.ads"});
        Banners() = engine_;
    }
    CAdServerModel Make() {
        return CAdServerModel(host_, engine_, [this](const std::string& sample) {
            samples_.push_back(sample);
            return answer_;
        });
    }

    CFiltrationBanners engine_;
    std::optional<std::string> answer_;
    Strings samples_;
};

TEST_F(AdServerTest, BoxesShowTheEngineListsSortedEvenAfterUnappliedChanges) {
    Banners().SetAllowedServerList({"working.only"});
    CAdServerModel model = Make();
    EXPECT_EQ(model.Allowed(), (Strings{"a.ads", "b.ads", "c.ads"}));
    EXPECT_EQ(model.Blocked(), Strings{"z.ads"});
    EXPECT_EQ(model.Custom(), Strings{"mine.ads"});
}

TEST_F(AdServerTest, MovesBetweenTheListsWithoutDuplicates) {
    Banners().SetBlockedServerList({"z.ads", "B.ADS"});
    CAdServerModel model = Make();
    EXPECT_FALSE(model.OnAdd(-1));
    EXPECT_TRUE(host_.modified.empty());

    ASSERT_TRUE(model.OnAdd(1));  // b.ads, which the blocked list holds already
    EXPECT_EQ(model.Allowed(), (Strings{"a.ads", "c.ads"}));
    EXPECT_EQ(Banners().GetAllowedServerList(), (Strings{"a.ads", "c.ads"}));
    EXPECT_EQ(Banners().GetBlockedServerList(), (Strings{"z.ads", "B.ADS"}));
    EXPECT_EQ(model.Blocked(), Strings{"z.ads"}) << "no duplicate on the other side";

    ASSERT_TRUE(model.OnAdd(0));
    EXPECT_EQ(model.Blocked(), (Strings{"a.ads", "z.ads"}));
    EXPECT_EQ(Banners().GetBlockedServerList(), (Strings{"z.ads", "B.ADS", "a.ads"}));

    ASSERT_TRUE(model.OnRemove(1));
    EXPECT_EQ(model.Allowed(), (Strings{"c.ads", "z.ads"}));
    EXPECT_EQ(Banners().GetBlockedServerList(), (Strings{"B.ADS", "a.ads"}));
    EXPECT_EQ(host_.modified.size(), 3u);
}

TEST_F(AdServerTest, AddAllAndRemoveAllMoveEveryLine) {
    CAdServerModel model = Make();
    model.OnAddAll();
    EXPECT_TRUE(model.Allowed().empty());
    EXPECT_EQ(model.Blocked(), (Strings{"a.ads", "b.ads", "c.ads", "z.ads"}));
    EXPECT_TRUE(Banners().GetAllowedServerList().empty());
    model.OnRemoveAll();
    EXPECT_TRUE(model.Blocked().empty());
    EXPECT_EQ(model.Allowed(), (Strings{"a.ads", "b.ads", "c.ads", "z.ads"}));
    EXPECT_TRUE(Banners().GetBlockedServerList().empty());
    EXPECT_EQ(Banners().GetAllowedServerList().size(), 4u);
}

TEST_F(AdServerTest, AddServerShowsTheNameAsTypedAndStoresItInLowerCase) {
    CAdServerModel model = Make();
    for (std::optional<std::string> nothing : {std::optional<std::string>(),
                                               std::optional<std::string>(servernames::kSampleServer),
                                               std::optional<std::string>("")}) {
        answer_ = nothing;
        model.OnAddServer();
    }
    EXPECT_EQ(samples_.size(), 3u);
    EXPECT_EQ(samples_[0], servernames::kSampleServer);
    EXPECT_EQ(model.Custom(), Strings{"mine.ads"}) << "cancel, the sample unchanged or an empty name add nothing";
    EXPECT_TRUE(host_.modified.empty());

    answer_ = "Big.ADS";
    model.OnAddServer();
    EXPECT_EQ(model.Custom(), (Strings{"Big.ADS", "mine.ads"}));
    EXPECT_EQ(Banners().GetCustomServerList(), (Strings{"mine.ads", "big.ads"}));
    answer_ = "BIG.ads";
    model.OnAddServer();
    EXPECT_EQ(Banners().GetCustomServerList(), (Strings{"mine.ads", "big.ads"}));
    EXPECT_EQ(model.Custom().size(), 2u);

    model.OnRemoveServer(0);
    EXPECT_EQ(model.Custom(), Strings{"mine.ads"});
    EXPECT_EQ(Banners().GetCustomServerList(), Strings{"mine.ads"});
    model.OnRemoveServer(-1);
    EXPECT_EQ(model.Custom().size(), 1u);
}

TEST_F(AdServerTest, BackgroundFollowsTheMixedChainSetting) {
    const CAdServerModel::Gradient mixed = CAdServerModel::Background(true);
    const CAdServerModel::Gradient plain = CAdServerModel::Background(false);
    EXPECT_EQ((std::vector<int>{mixed.top.red, mixed.top.green, mixed.top.blue, mixed.bottom.red, mixed.bottom.green,
                                mixed.bottom.blue}),
              (std::vector<int>{0xFF, 0xFF, 0xFF, 0xD6, 0xE6, 0xFF}));
    EXPECT_EQ((std::vector<int>{plain.top.red, plain.top.green, plain.top.blue, plain.bottom.red, plain.bottom.green,
                                plain.bottom.blue}),
              (std::vector<int>{0xCA, 0xFF, 0xFF, 0x68, 0xC8, 0xE6}));
}

}  // namespace
