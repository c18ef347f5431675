#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "panel/privacy/AdvancedPageIds.h"
#include "panel/privacy/CAdvPrivDlgModel.h"
#include "panel/tests/support/RecordingPageHost.h"
#include "settings/CSettings.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using FakeHost = paneltest::RecordingPageHost;

const std::vector<int> kUserProxyControls = {IDC_USER_IP,   IDC_USER_IP_LABEL,   IDC_USER_PORT,
                                             IDC_USER_PORT_LABEL, IDC_USER_TYPE, IDC_USER_TYPE_LABEL};
const std::vector<int> kChainControls = {IDC_CHAIN_LENGTH, IDC_CHAIN_LENGTH_LABEL, IDC_CHAIN_TIMER,
                                         IDC_CHAIN_TIMER_LABEL, IDC_CHAIN_TIMER_UNIT};

class AdvPrivDlgModelTest : public kvtest::RootedTest {
protected:
    CPrivacySettings& privacy() { return *host.settings.getPrivacySettings(); }
    const CAdvPrivDlgModel::State& state() const { return model.GetState(); }
    void ExpectEnabled(const std::vector<int>& controls, bool enabled) {
        for (int control : controls) EXPECT_EQ(state().IsEnabled(control), enabled) << "control " << control;
    }
    void Open(platform::DWORD shield, platform::DWORD chain, platform::DWORD best) {
        privacy().mEnableIPShielding = shield;
        privacy().mEnableProxyChain = chain;
        privacy().mProxyBestChoice = best;
        model.Init();
    }

    FakeHost host;
    CAdvPrivDlgModel model{host};
};

TEST_F(AdvPrivDlgModelTest, OpensInChainModeWithTheStoredChainAndMarksNothing) {
    privacy().mChainLength = 3;
    privacy().mChainTimer = 30;
    privacy().mUserType = 5;
    privacy().mUserIP = "10.1.2.3";
    privacy().mUserPort = 3128;
    kvtest::MessageBoxRecorder boxes;
    Open(1, 1, 1);

    EXPECT_TRUE(state().shield);
    EXPECT_TRUE(state().chain);
    EXPECT_FALSE(state().oneProxy);
    EXPECT_TRUE(state().bestProxy);
    EXPECT_EQ(state().chainLength, "3");
    EXPECT_EQ(state().chainTimer, "30");
    EXPECT_EQ(state().userIP, "10.1.2.3");
    EXPECT_EQ(state().userPort, "3128");
    EXPECT_EQ(state().userType, 3);
    ExpectEnabled(kChainControls, true);
    ExpectEnabled(kUserProxyControls, false);
    ExpectEnabled({IDC_BEST_PROXY, IDC_USER_PROXY}, false);
    ExpectEnabled({IDC_ONE_PROXY, IDC_PROXY_CHAIN, IDC_PRIVATE_PROXIES}, true);
    EXPECT_EQ(privacy().mChainLength, 3u);
    EXPECT_EQ(privacy().mChainTimer, 30u);
    EXPECT_EQ(privacy().mEnableIPShielding, 1u);
    EXPECT_TRUE(host.modified.empty()) << "opening the page changes nothing the user did";
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_FALSE(model.IsInitialising());
}

TEST_F(AdvPrivDlgModelTest, OpensInOneProxyModeWithChainLengthOne) {
    struct Case {
        platform::DWORD best;
        bool userControlsEnabled;
    };
    for (const Case& c : {Case{1, false}, Case{0, true}}) {
        SCOPED_TRACE(c.best);
        FakeHost h;
        h.settings.getPrivacySettings()->mChainLength = 4;
        h.settings.getPrivacySettings()->mEnableIPShielding = 1;
        h.settings.getPrivacySettings()->mEnableProxyChain = 0;
        h.settings.getPrivacySettings()->mProxyBestChoice = c.best;
        CAdvPrivDlgModel m(h);
        m.Init();
        EXPECT_TRUE(m.GetState().oneProxy);
        EXPECT_FALSE(m.GetState().chain);
        EXPECT_EQ(m.GetState().bestProxy, c.best == 1);
        EXPECT_EQ(m.GetState().userProxy, c.best != 1);
        EXPECT_EQ(h.settings.getPrivacySettings()->mChainLength, 1u);
        EXPECT_EQ(h.settings.getPrivacySettings()->mProxyBestChoice, c.best);
        EXPECT_EQ(m.GetState().IsEnabled(IDC_USER_IP), c.userControlsEnabled);
        EXPECT_EQ(m.GetState().IsEnabled(IDC_USER_TYPE_LABEL), c.userControlsEnabled);
        EXPECT_FALSE(m.GetState().IsEnabled(IDC_CHAIN_LENGTH));
        EXPECT_FALSE(m.GetState().IsEnabled(IDC_CHAIN_TIMER_UNIT));
        EXPECT_TRUE(m.GetState().IsEnabled(IDC_BEST_PROXY));
        EXPECT_TRUE(h.modified.empty());
    }
}

TEST_F(AdvPrivDlgModelTest, OpensInChainModeShowingTheStoredProxyChoice) {
    Open(1, 1, 0);
    EXPECT_FALSE(state().bestProxy);
    EXPECT_TRUE(state().userProxy);
    model.OnOneProxy();
    ExpectEnabled(kUserProxyControls, true);
    EXPECT_EQ(privacy().mProxyBestChoice, 0u);
}

TEST_F(AdvPrivDlgModelTest, OpensWithShieldingOffWritingZeroAndDisablingAllButTheShield) {
    Open(0, 1, 1);
    EXPECT_FALSE(state().shield);
    EXPECT_EQ(privacy().mEnableIPShielding, 0u);
    EXPECT_TRUE(state().IsEnabled(IDC_IP_SHIELDING));
    ExpectEnabled(kChainControls, false);
    ExpectEnabled(kUserProxyControls, false);
    ExpectEnabled({IDC_ONE_PROXY, IDC_BEST_PROXY, IDC_USER_PROXY, IDC_PROXY_CHAIN, IDC_PRIVATE_PROXIES}, false);
}

TEST_F(AdvPrivDlgModelTest, ChainLengthOutsideOneToFiveBringsTheMessageAndOne) {
    Open(1, 1, 1);
    const std::pair<const char*, platform::DWORD> cases[] = {
        {"", 1}, {"0", 1}, {"6", 1}, {"-2", 1}, {"5", 5}, {"2", 2}, {"3x", 3}};
    for (auto [text, field] : cases) {
        SCOPED_TRACE(text);
        kvtest::MessageBoxRecorder boxes;
        host.modified.clear();
        model.OnChainLengthChanged(text);
        EXPECT_EQ(privacy().mChainLength, field);
        const bool outOfRange = field == 1;
        ASSERT_EQ(boxes.boxes().size(), outOfRange ? 1u : 0u);
        if (outOfRange) {
            EXPECT_EQ(boxes.boxes()[0].text, "Chain length ranges between 1 and 5");
            EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin Professional Edition");
            EXPECT_EQ(state().chainLength, "1");
        } else {
            EXPECT_EQ(state().chainLength, text);
        }
        EXPECT_EQ(host.modified, (std::vector<std::pair<bool, int>>{{true, 0}}));
    }
}

TEST_F(AdvPrivDlgModelTest, TimeToChangeUpTo120IsTakenAsTypedAndAboveBringsFive) {
    Open(1, 1, 1);
    const std::pair<const char*, platform::DWORD> cases[] = {
        {"0", 0}, {"3", 3}, {"120", 120}, {"121", 5}, {"-4", 5}, {"99999999999", 5}};
    for (auto [text, field] : cases) {
        SCOPED_TRACE(text);
        kvtest::MessageBoxRecorder boxes;
        model.OnChainTimerChanged(text);
        EXPECT_EQ(privacy().mChainTimer, field);
        const bool reset = std::string(text) != "5" && field == 5;
        ASSERT_EQ(boxes.boxes().size(), reset ? 1u : 0u);
        if (reset) {
            EXPECT_EQ(boxes.boxes()[0].text, "Time to change chain ranges between 5 and 120 minutes");
            EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin Professional Edition");
            EXPECT_EQ(state().chainTimer, "5");
        }
    }
}

TEST_F(AdvPrivDlgModelTest, OnlyTheProxyAddressIsMarkedWithKindFive) {
    Open(1, 0, 0);
    model.OnUserIPChanged("192.168.7.9");
    model.OnUserPortChanged("8080");
    model.OnUserTypeChanged("SOCKS4");
    model.OnPrivateProxiesClicked(false);
    EXPECT_EQ(privacy().mUserIP, "192.168.7.9");
    EXPECT_EQ(privacy().mUserPort, 8080u);
    EXPECT_EQ(privacy().mUserType, 4u);
    EXPECT_EQ(privacy().mUsePrivateProxies, 0u);
    EXPECT_EQ(host.modified,
              (std::vector<std::pair<bool, int>>{{true, 5}, {true, 0}, {true, 0}, {true, 0}}));
}

TEST_F(AdvPrivDlgModelTest, ListShowsOnlyTypesTwoToFive) {
    const std::pair<platform::DWORD, int> cases[] = {{2, 0}, {3, 1}, {4, 2}, {5, 3}, {1, -1}, {6, -1}, {0, -1}};
    for (auto [type, index] : cases) {
        FakeHost h;
        h.settings.getPrivacySettings()->mUserType = type;
        CAdvPrivDlgModel m(h);
        m.Init();
        EXPECT_EQ(m.GetState().userType, index) << type;
        EXPECT_EQ(h.settings.getPrivacySettings()->mUserType, type);
    }
    model.Init();
    model.OnUserTypeChanged("HTTPS");
    EXPECT_EQ(privacy().mUserType, 3u);
    EXPECT_EQ(state().userType, 1);
}

TEST_F(AdvPrivDlgModelTest, ModeRadiosWriteTheirFieldsAndEnabling) {
    privacy().mChainTimer = 40;
    Open(1, 0, 0);
    model.OnChainLengthChanged("4");
    model.OnChain();
    EXPECT_EQ(privacy().mEnableProxyChain, 1u);
    EXPECT_EQ(privacy().mChainLength, 4u) << "the chain takes the length the edit shows";
    EXPECT_EQ(privacy().mChainTimer, 40u);
    ExpectEnabled(kChainControls, true);
    ExpectEnabled(kUserProxyControls, false);

    model.OnOneProxy();
    EXPECT_EQ(privacy().mEnableProxyChain, 0u);
    EXPECT_TRUE(state().oneProxy);
    ExpectEnabled(kUserProxyControls, true);
    ExpectEnabled(kChainControls, false);

    model.OnBestProxy();
    EXPECT_EQ(privacy().mProxyBestChoice, 1u);
    EXPECT_EQ(privacy().mChainLength, 1u);
    ExpectEnabled(kUserProxyControls, false);
    model.OnChainLengthChanged("3");
    model.OnUserProxy();
    EXPECT_EQ(privacy().mProxyBestChoice, 0u);
    EXPECT_EQ(privacy().mChainLength, 1u);
    ExpectEnabled(kUserProxyControls, true);
    EXPECT_EQ(host.modified.size(), 6u);
}

TEST_F(AdvPrivDlgModelTest, PrivacyNoticesSwitchTheShieldAndKeepTheMode) {
    Open(1, 1, 1);
    model.OnPrivacyNotice(false);
    EXPECT_FALSE(state().shield);
    EXPECT_EQ(privacy().mEnableIPShielding, 0u);
    ExpectEnabled(kChainControls, false);
    EXPECT_FALSE(state().IsEnabled(IDC_PRIVATE_PROXIES));

    model.OnPrivacyNotice(true);
    EXPECT_TRUE(state().shield);
    EXPECT_EQ(privacy().mEnableIPShielding, 1u);
    EXPECT_EQ(privacy().mEnableProxyChain, 1u);
    ExpectEnabled(kChainControls, true);
    ExpectEnabled({IDC_ONE_PROXY, IDC_PROXY_CHAIN, IDC_PRIVATE_PROXIES}, true);
    EXPECT_EQ(host.modified, (std::vector<std::pair<bool, int>>{{true, 0}, {true, 0}}));

    model.OnShieldClicked(false);
    EXPECT_EQ(privacy().mEnableIPShielding, 0u);
}

TEST_F(AdvPrivDlgModelTest, TipsComeFromTheStringTable) {
    const auto& tips = CAdvPrivDlgModel::Tips();
    ASSERT_EQ(tips.size(), 11u);
    EXPECT_EQ(tips[0].control, IDC_IP_SHIELDING);
    EXPECT_EQ(tips[0].text, "Hide your IP address.\\r\\nConnect to the Internet through proxy servers.");
    EXPECT_EQ(tips[7].text,
              "Choose to connect through a several proxy servers that is more than one proxy.         ");
    EXPECT_EQ(tips[10].control, IDC_PRIVATE_PROXIES);
    EXPECT_EQ(tips[10].text, "Check to use kavelin Proxy List");
}

}  // namespace
