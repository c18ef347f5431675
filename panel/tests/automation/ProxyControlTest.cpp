#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "FakeEngineHost.h"
#include "panel/automation/ProxyControl.h"
#include "panel/tray/CSystemTray.h"
#include "relay/engine/CBaseServer.h"
#include "settings/CSettings.h"
#include "support/TempRoot.h"

namespace {

using autotest::RecordingHost;

// Records the events it gets as "DataArrive 5"; may run an action on each.
class RecordingSink : public IProxyControlEvents {
public:
    explicit RecordingSink(std::string name, std::vector<std::string>& log) : m_Name(std::move(name)), m_Log(log) {}

    platform::HRESULT DataArrive(std::int32_t n) override { return Note("DataArrive", n); }
    platform::HRESULT DataSent(std::int32_t n) override { return Note("DataSent", n); }
    platform::HRESULT ProxyStatusChange(std::int16_t n) override { return Note("ProxyStatusChange", n); }

    std::function<void()> onEvent;

private:
    platform::HRESULT Note(const char* event, long value) {
        m_Log.push_back(m_Name + " " + event + " " + std::to_string(value));
        if (onEvent) onEvent();
        return platform::S_OK;
    }

    std::string m_Name;
    std::vector<std::string>& m_Log;
};

class ProxyControlTest : public autotest::SuiteHostTest {
protected:
    void SetUp() override {
        autotest::ResetEngineSettings();
        host_->engine.live = true;
        host_->engine.running = false;
        host_->engine.shuttingDown = false;
        host_->engine.calls.clear();
        host_->GetTray().SetRunning();
    }

    static void ChangeEngineSettings(const std::function<void(CSettings&)>& change) {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        change(CBaseServer::mSettings);
    }
};

struct StatusCase {
    const char* name;
    std::function<void(CSettings&)> change;
    platform::HRESULT (ProxyControl::*getter)(std::int16_t&) const;
    std::int16_t expected;
};

TEST_F(ProxyControlTest, StatusesFollowTheEngineSettings) {
    const StatusCase cases[] = {
        {"in on", [](CSettings& s) { s.getFiltrationSettings()->mInFiltration.setEnable(true); },
         &ProxyControl::GetInFilterStatus, 7},
        {"in off", [](CSettings& s) { s.getFiltrationSettings()->mInFiltration.setEnable(false); },
         &ProxyControl::GetInFilterStatus, 8},
        {"out on", [](CSettings& s) { s.getFiltrationSettings()->mOutFiltration.SetEnable(1); },
         &ProxyControl::GetOutFilterStatus, 5},
        {"out 2 counts as on", [](CSettings& s) { s.getFiltrationSettings()->mOutFiltration.SetEnable(2); },
         &ProxyControl::GetOutFilterStatus, 5},
        {"out off", [](CSettings& s) { s.getFiltrationSettings()->mOutFiltration.SetEnable(0); },
         &ProxyControl::GetOutFilterStatus, 6},
        {"privacy on", [](CSettings& s) { s.getPrivacySettings()->mEnableIPShielding = 3; },
         &ProxyControl::GetPrivacyStatus, 9},
        {"privacy off", [](CSettings& s) { s.getPrivacySettings()->mEnableIPShielding = 0; },
         &ProxyControl::GetPrivacyStatus, 10},
    };
    ProxyControl control(*host_);
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        ChangeEngineSettings(c.change);
        std::int16_t state = -1;
        EXPECT_EQ(platform::S_OK, (control.*c.getter)(state));
        EXPECT_EQ(c.expected, state);
    }
}

TEST_F(ProxyControlTest, ProxyStatusIsStoppedUntilALiveEngineRuns) {
    ProxyControl control(*host_);
    std::int16_t state = -1;
    control.GetProxyStatus(state);
    EXPECT_EQ(1, state);

    host_->engine.running = true;
    control.GetProxyStatus(state);
    EXPECT_EQ(0, state);

    host_->engine.live = false;
    control.GetProxyStatus(state);
    EXPECT_EQ(1, state);
}

TEST_F(ProxyControlTest, RelayCommandsReachTheEngineOnlyWhileItLives) {
    ProxyControl control(*host_);
    EXPECT_EQ(platform::S_OK, control.StartProxy());
    EXPECT_EQ(platform::S_OK, control.StopProxy());
    EXPECT_EQ((std::vector<std::string>{"StartServer", "StopServer"}), host_->engine.calls);

    host_->engine.calls.clear();
    host_->engine.live = false;
    EXPECT_EQ(platform::S_OK, control.StartProxy());
    EXPECT_EQ(platform::S_OK, control.StopProxy());
    EXPECT_TRUE(host_->engine.calls.empty());
}

TEST_F(ProxyControlTest, StatusChangeMovesTheTrayThenFiresForZeroAndOneOnly) {
    ProxyControl control(*host_);
    std::vector<std::string> log;
    RecordingSink sink("s", log);
    control.Advise(&sink);
    const CTrayModel& tray = host_->GetTray().GetModel();

    control.FireProxyStatusChange(1);
    EXPECT_EQ(IDR_TRAY_STOPPED, tray.IconId());
    control.FireProxyStatusChange(2);
    EXPECT_EQ(IDR_TRAY_STOPPED, tray.IconId());
    control.FireProxyStatusChange(0);
    EXPECT_EQ(IDR_TRAY_RUNNING, tray.IconId());

    // While the engine shuts down the stopped notice changes nothing.
    host_->engine.shuttingDown = true;
    control.FireProxyStatusChange(1);
    EXPECT_EQ(IDR_TRAY_RUNNING, tray.IconId());

    // Without an engine the host is left alone; the event still goes out.
    host_->engine.shuttingDown = false;
    host_->engine.live = false;
    control.FireProxyStatusChange(1);
    EXPECT_EQ(IDR_TRAY_RUNNING, tray.IconId());

    EXPECT_EQ((std::vector<std::string>{"s ProxyStatusChange 1", "s ProxyStatusChange 2", "s ProxyStatusChange 0",
                                        "s ProxyStatusChange 1", "s ProxyStatusChange 1"}),
              log);
}

TEST_F(ProxyControlTest, EventsGoToEverySinkInAdviseOrder) {
    ProxyControl control(*host_);
    EXPECT_EQ(platform::S_OK, control.FireDataArrive(1));  // no sink yet

    std::vector<std::string> log;
    RecordingSink a("a", log), b("b", log), c("c", log);
    control.Advise(&a);
    const platform::DWORD cookieB = control.Advise(&b);
    control.Advise(&c);
    control.FireDataArrive(5);
    control.FireDataSent(-7);
    EXPECT_TRUE(control.Unadvise(cookieB));
    EXPECT_FALSE(control.Unadvise(cookieB));
    control.FireProxyStatusChange(2);

    EXPECT_EQ((std::vector<std::string>{"a DataArrive 5", "b DataArrive 5", "c DataArrive 5", "a DataSent -7",
                                        "b DataSent -7", "c DataSent -7", "a ProxyStatusChange 2",
                                        "c ProxyStatusChange 2"}),
              log);
}

TEST_F(ProxyControlTest, SinkUnadvisedDuringAFiringIsNotCalled) {
    ProxyControl control(*host_);
    std::vector<std::string> log;
    RecordingSink first("first", log), second("second", log);
    control.Advise(&first);
    const platform::DWORD cookie = control.Advise(&second);
    first.onEvent = [&] { control.Unadvise(cookie); };

    control.FireDataSent(3);

    EXPECT_EQ((std::vector<std::string>{"first DataSent 3"}), log);
}

TEST_F(ProxyControlTest, FilterCallsGoThroughTheHostsSwitch) {
    ProxyControl control(*host_);
    ChangeEngineSettings([](CSettings& s) { s.getFiltrationSettings()->mInFiltration.setEnable(false); });
    control.StartInFilter();
    std::int16_t state = 0;
    control.GetInFilterStatus(state);
    EXPECT_EQ(7, state);
    EXPECT_TRUE(host_->GetSettings().getFiltrationSettings()->mInFiltration.getEnable());
}

}  // namespace
