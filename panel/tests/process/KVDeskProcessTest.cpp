// The control panel program itself, started by the test on its virtual
// display and private session bus: how it ends when it is asked to from
// outside, who owns the automation name, and a start without a bus.

#include <gtest/gtest.h>

#include <gio/gio.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "ChildProgram.h"
#include "ConfigFixture.h"
#include "platform/Root.h"
#include "rig/Loopback.h"
#include "settings/CSettings.h"
#include "support/FakeSessionManager.h"

namespace {

using namespace std::chrono_literals;
using cfgtest::Program;
using paneltest::ChildProgram;

constexpr const char* kBusName = "KVDesk.ProxyControl";
constexpr const char* kObjectPath = "/KVDesk/ProxyControl";
constexpr const char* kInterface = "KVDesk.IProxyControl";

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 20s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

bool Accepts(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

// Sync calls on a connection of the test's own: the programs answer from
// their own processes.
class Bus {
public:
    Bus() : connection_(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {}
    ~Bus() {
        if (connection_ != nullptr) g_object_unref(connection_);
    }

    bool Ready() const { return connection_ != nullptr; }

    // The unique name owning name, or empty.
    std::string Owner(const char* name) const {
        GVariant* reply = Call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                               "GetNameOwner", g_variant_new("(s)", name));
        if (reply == nullptr) return {};
        const gchar* owner = nullptr;
        g_variant_get(reply, "(&s)", &owner);
        std::string text = owner;
        g_variant_unref(reply);
        return text;
    }

    // The state an IProxyControl method answers, or -1.
    int State(const char* method) const {
        GVariant* reply = Call(kBusName, kObjectPath, kInterface, method, nullptr);
        if (reply == nullptr) return -1;
        gint16 state = -1;
        g_variant_get(reply, "(n)", &state);
        g_variant_unref(reply);
        return state;
    }

    bool Command(const char* method) const {
        GVariant* reply = Call(kBusName, kObjectPath, kInterface, method, nullptr);
        if (reply != nullptr) g_variant_unref(reply);
        return reply != nullptr;
    }

private:
    GVariant* Call(const char* name, const char* path, const char* interface, const char* method,
                   GVariant* parameters) const {
        return g_dbus_connection_call_sync(connection_, name, path, interface, method, parameters, nullptr,
                                           G_DBUS_CALL_FLAGS_NO_AUTO_START, 5000, nullptr, nullptr);
    }

    GDBusConnection* connection_;
};

// Every client program installed with the user's own proxy settings, and
// a panel that configures them all when its engine starts.
class KVDeskProcessTest : public cfgtest::ConfigTest {
protected:
    void SetUp() override {
        SeedUserPrograms();
        for (const Program program : cfgtest::AllPrograms()) before_[program] = Dump(program);
        port_ = kvtest::FreeLoopbackPort();
        CSettings::mRunningApp = kDefaultRunningApp;
        CSettings settings;
        settings.getPrivacySettings()->mListenerPort = port_;
        settings.getPrivacySettings()->mListenerType = 2;
        CSysConfig& sys = *settings.getSysConfig();
        for (const Program program : cfgtest::AllPrograms()) cfgtest::Choose(sys, program, true);
        sys.mLaunchAtStartup = 0;
        settings.getCleanupSettings()->mCleanupAdvanced.mWindowsExit = 0;
        ASSERT_TRUE(settings.SetRegistry());
    }

    // The panel with the test's root, display and bus; its home, XDG
    // folders and toolbar channel its own.
    std::unique_ptr<ChildProgram> Start(const std::vector<std::string>& arguments = {},
                                        std::map<std::string, std::optional<std::string>> environment = {}) {
        const std::string home = (root() / "home").string();
        const std::map<std::string, std::optional<std::string>> own = {
            {"HOME", home},
            {"XDG_CONFIG_HOME", home + "/.config"},
            {"XDG_DATA_HOME", home + "/.local/share"},
            {"XDG_CACHE_HOME", home + "/.cache"},
            {"KAVELIN_TOOLBAR_PORT", "0"},
            {"DESKTOP_AUTOSTART_ID", std::nullopt},
            // No accessibility bus of the program's own outlives it.
            {"NO_AT_BRIDGE", "1"},
        };
        for (const auto& [name, value] : own) environment.emplace(name, value);
        const std::string log = (root() / ("kvdesk-" + std::to_string(++started_) + ".log")).string();
        return std::make_unique<ChildProgram>(KV_DESK_PROGRAM, arguments, environment, log);
    }

    // Every client program points at the relay.
    bool Applied() const {
        for (const Program program : cfgtest::AllPrograms()) {
            if (Dump(program) == before_.at(program)) return false;
        }
        return true;
    }

    void ExpectEveryProgramRestored() const {
        for (const Program program : cfgtest::AllPrograms()) {
            EXPECT_EQ(Dump(program), before_.at(program)) << cfgtest::Name(program);
        }
    }

    std::uint16_t port_ = 0;
    std::map<Program, std::string> before_;
    int started_ = 0;
};

class EndSignalTest : public KVDeskProcessTest, public testing::WithParamInterface<int> {};

TEST_P(EndSignalTest, TheSignalTakesTheExitRoadAndEveryClientProgramGetsItsOwnSettingsBack) {
    const auto panel = Start();
    ASSERT_TRUE(WaitFor([&] { return (Applied() && Accepts(port_)) || !panel->Running(); })) << panel->Log();
    ASSERT_TRUE(panel->Running()) << panel->Log();

    panel->Signal(GetParam());
    const std::optional<int> code = panel->WaitExit(20s);
    ASSERT_TRUE(code.has_value()) << "the panel did not end";
    EXPECT_EQ(*code, 0) << panel->Log();
    ExpectEveryProgramRestored();
    EXPECT_FALSE(Accepts(port_)) << "the engine stopped";
}

INSTANTIATE_TEST_SUITE_P(Signals, EndSignalTest, testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(KVDeskProcessTest, ThePanelTakesTheAutomationNameFromAWindowLessInstance) {
    Bus bus;
    ASSERT_TRUE(bus.Ready());
    const auto windowLess = Start({"-Embedding"});
    ASSERT_TRUE(WaitFor([&] { return !bus.Owner(kBusName).empty() || !windowLess->Running(); }));
    const std::string first = bus.Owner(kBusName);
    ASSERT_FALSE(first.empty()) << windowLess->Log();
    EXPECT_EQ(bus.State("GetProxyStatus"), 1) << "no engine in the window-less instance";

    const auto panel = Start();
    ASSERT_TRUE(WaitFor([&] { return bus.Owner(kBusName) != first || !panel->Running(); })) << panel->Log();
    ASSERT_TRUE(panel->Running()) << panel->Log();
    ASSERT_TRUE(WaitFor([&] { return bus.State("GetProxyStatus") == 0 && Accepts(port_); }))
        << "the name reaches the engine";
    EXPECT_TRUE(bus.Command("StopProxy"));
    EXPECT_TRUE(WaitFor([&] { return !Accepts(port_); })) << "StopProxy stops the relay";
    EXPECT_TRUE(WaitFor([&] { return bus.State("GetProxyStatus") == 1; }));

    panel->Signal(SIGTERM);
    EXPECT_EQ(panel->WaitExit(20s), std::optional<int>(0));
    EXPECT_TRUE(WaitFor([&] { return bus.Owner(kBusName) == first; })) << "the window-less instance serves again";
    windowLess->Signal(SIGTERM);
    EXPECT_EQ(windowLess->WaitExit(20s), std::optional<int>(0));
    ExpectEveryProgramRestored();
}

TEST_F(KVDeskProcessTest, WithoutASessionBusThePanelRunsAndSaysSoOnce) {
    const std::string noBus = "unix:path=" + (root() / "no-bus").string();
    const auto panel = Start({}, {{"DBUS_SESSION_BUS_ADDRESS", noBus}});
    ASSERT_TRUE(WaitFor([&] { return (Applied() && Accepts(port_)) || !panel->Running(); })) << panel->Log();
    ASSERT_TRUE(panel->Running()) << panel->Log();

    panel->Signal(SIGTERM);
    EXPECT_EQ(panel->WaitExit(20s), std::optional<int>(0));
    const std::string log = panel->Log();
    const std::string notice = "the automation object is not served";
    const std::size_t first = log.find(notice);
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(notice, first + 1), std::string::npos) << "said once";
    ExpectEveryProgramRestored();
}

TEST_F(KVDeskProcessTest, TheSessionsEndRestoresTheBrowserOnTheQuestionAndEverythingAtTheEnd) {
    kvtest::FakeSessionManager manager;
    ASSERT_TRUE(manager.Start());
    const auto panel = Start();
    ASSERT_TRUE(WaitFor([&] {
        return (Applied() && Accepts(port_) && manager.Clients().size() == 1) || !panel->Running();
    })) << panel->Log();
    EXPECT_EQ(manager.Clients(), std::vector<std::string>{"KVDesk"});

    manager.QueryEndSession();
    ASSERT_TRUE(WaitFor([&] { return manager.Answers().size() == 1; }));
    EXPECT_EQ(Dump(Program::IE), before_.at(Program::IE)) << "the browser has its own settings back at once";
    EXPECT_NE(Dump(Program::MSN), before_.at(Program::MSN)) << "the others wait for the end";
    EXPECT_TRUE(panel->Running());
    EXPECT_TRUE(Accepts(port_)) << "the engine goes on";

    manager.EndSession();
    const std::optional<int> code = panel->WaitExit(20s);
    ASSERT_TRUE(code.has_value()) << "the panel did not end";
    EXPECT_EQ(*code, 0) << panel->Log();
    EXPECT_EQ(manager.Answers(), (std::vector<bool>{true, true})) << "the end was answered once ready";
    ExpectEveryProgramRestored();
}

}  // namespace
