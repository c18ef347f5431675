#include <gtest/gtest.h>

#include <memory>
#include <mutex>

#include "FakeEngineHost.h"
#include "panel/automation/CFilterSwitch.h"
#include "relay/engine/CBaseServer.h"
#include "settings/CSettings.h"
#include "support/TempRoot.h"

namespace {

using autotest::RecordingHost;
using autotest::RecordingWindow;

enum Page { kOut, kIn, kPrivacy };

bool IsOn(const CSettings& settings, Page page) {
    switch (page) {
    case kOut: return settings.getFiltrationSettings()->mOutFiltration.IsEnable() > 0;
    case kIn: return settings.getFiltrationSettings()->mInFiltration.getEnable();
    case kPrivacy: return settings.getPrivacySettings()->mEnableIPShielding != 0;
    }
    return false;
}

void Set(CSettings& settings, Page page, bool on) {
    switch (page) {
    case kOut: settings.getFiltrationSettings()->mOutFiltration.SetEnable(on ? 1 : 0); break;
    case kIn: settings.getFiltrationSettings()->mInFiltration.setEnable(on); break;
    case kPrivacy: settings.getPrivacySettings()->mEnableIPShielding = on ? 1 : 0; break;
    }
}

CSettings EngineSettings() {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    return CBaseServer::mSettings;
}

CSettings StoredSettings() {
    CSettings stored;
    stored.QueryRegistry();
    return stored;
}

struct SwitchCase {
    const char* name;
    bool (CFilterSwitch::*operation)();
    Page page;
    bool on;
    platform::UINT notice;
};

const SwitchCase kCases[] = {
    {"StartOutFilter", &CFilterSwitch::StartOutFilter, kOut, true, 0x8C1},
    {"StopOutFilter", &CFilterSwitch::StopOutFilter, kOut, false, 0x8C2},
    {"StartInFilter", &CFilterSwitch::StartInFilter, kIn, true, 0x8BF},
    {"StopInFilter", &CFilterSwitch::StopInFilter, kIn, false, 0x8C0},
    {"StartPrivacy", &CFilterSwitch::StartPrivacy, kPrivacy, true, 0x8C3},
    {"StopPrivacy", &CFilterSwitch::StopPrivacy, kPrivacy, false, 0x8C4},
};

class FilterSwitchTest : public autotest::SuiteHostTest {
protected:
    void SetUp() override {
        autotest::ResetEngineSettings();
        host_->GetSettings() = CSettings();
        host_->applied = 0;
        host_->engine.live = true;
        CFilterSwitch& sw = host_->GetFilterSwitch();
        sw.SetOutFilterWnd(nullptr);
        sw.SetInFilterWnd(nullptr);
        sw.SetPrivacyWnd(nullptr);
    }

    // Both settings objects start with the page's switch the other way.
    static void Prepare(const SwitchCase& c) {
        CSettings engine = EngineSettings();
        Set(engine, c.page, !c.on);
        {
            std::lock_guard lock(CBaseServer::mSettingsCS);
            CBaseServer::mSettings = engine;
        }
        Set(host_->GetSettings(), c.page, !c.on);
    }
};

TEST_F(FilterSwitchTest, EachSwitchTellsItsPageChangesBothCopiesWritesAndApplies) {
    for (const SwitchCase& c : kCases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Prepare(c);
        RecordingWindow out, in, privacy;
        CFilterSwitch& sw = host_->GetFilterSwitch();
        sw.SetOutFilterWnd(out.hwnd());
        sw.SetInFilterWnd(in.hwnd());
        sw.SetPrivacyWnd(privacy.hwnd());

        EXPECT_TRUE((sw.*c.operation)());

        const std::vector<platform::UINT> told{c.notice};
        EXPECT_EQ(c.page == kOut ? told : std::vector<platform::UINT>{}, out.messages);
        EXPECT_EQ(c.page == kIn ? told : std::vector<platform::UINT>{}, in.messages);
        EXPECT_EQ(c.page == kPrivacy ? told : std::vector<platform::UINT>{}, privacy.messages);
        EXPECT_EQ(c.on, IsOn(EngineSettings(), c.page));
        EXPECT_EQ(c.on, IsOn(host_->GetSettings(), c.page));
        EXPECT_EQ(c.on, IsOn(StoredSettings(), c.page));
        EXPECT_EQ(1, host_->applied);
    }
}

TEST_F(FilterSwitchTest, SwitchWithoutItsPageStillChangesWritesAndApplies) {
    const SwitchCase& stopIn = kCases[3];
    Prepare(stopIn);
    RecordingWindow gone;
    const platform::HWND dead = gone.hwnd();
    platform::DestroyWindow(dead);
    host_->GetFilterSwitch().SetInFilterWnd(dead);

    host_->GetFilterSwitch().StopInFilter();

    EXPECT_TRUE(gone.messages.empty());
    EXPECT_FALSE(IsOn(EngineSettings(), kIn));
    EXPECT_FALSE(IsOn(host_->GetSettings(), kIn));
    EXPECT_FALSE(IsOn(StoredSettings(), kIn));
    EXPECT_EQ(1, host_->applied);
}

TEST_F(FilterSwitchTest, SwitchesDoNothingWithoutALiveEngine) {
    host_->engine.live = false;
    for (const SwitchCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Prepare(c);
        RecordingWindow out, in, privacy;
        CFilterSwitch& sw = host_->GetFilterSwitch();
        sw.SetOutFilterWnd(out.hwnd());
        sw.SetInFilterWnd(in.hwnd());
        sw.SetPrivacyWnd(privacy.hwnd());

        EXPECT_TRUE((sw.*c.operation)());

        EXPECT_TRUE(out.messages.empty() && in.messages.empty() && privacy.messages.empty());
        EXPECT_EQ(!c.on, IsOn(EngineSettings(), c.page));
        EXPECT_EQ(!c.on, IsOn(host_->GetSettings(), c.page));
    }
    EXPECT_EQ(0, host_->applied);
}

}  // namespace
