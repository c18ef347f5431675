#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include <sched.h>
#include <sys/socket.h>

#include "engine/EngineFixture.h"
#include "platform/InternetOptions.h"
#include "platform/Time.h"
#include "pool/PoolFixture.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/EngineMessages.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/ProxyDatabaseFile.h"
#include "rig/Loopback.h"
#include "rig/LoopbackClient.h"

namespace {

using namespace std::chrono_literals;
using srvtest::EngineSettings;

constexpr const char* kPortInUseText =
    "The specified port and IP address are used by a different application.\n"
    "Please modify Kavelin settings and try again.\n";

// The system browser's proxy address as the configurator left it.
std::string BrowserProxy() {
    platform::InternetPerConnOptionList list;
    list.options.resize(1);
    list.options[0].dwOption = platform::INTERNET_PER_CONN_PROXY_SERVER;
    if (!platform::InternetQueryPerConnOptions(list)) return {};
    return list.options[0].text.value_or("");
}

bool Accepts(std::uint16_t port) {
    kvtest::LoopbackClient client;
    return client.Connect(port, 2s);
}

// A listener of another program on a loopback port.
kvtest::UniqueFd OccupyPort(std::uint16_t& port) {
    kvtest::UniqueFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return {};
    socklen_t length = sizeof address;
    ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length);
    ::listen(fd.get(), 5);
    port = ntohs(address.sin_port);
    return fd;
}

class EngineHostTest : public srvtest::EngineTest {};

TEST_F(EngineHostTest, StartReportsRunningAndPointsTheBrowserAtTheListener) {
    StartRunningEngine({.autoIE = true});
    EXPECT_TRUE(Accepts(port()));
    EXPECT_NE(BrowserProxy().find(std::to_string(port())), std::string::npos) << BrowserProxy();
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EngineHostTest, SecondStartWhileRunningStartsNothing) {
    StartEngine({});
    CBaseServer::mpProxyServer.load()->StartServer();
    CBaseServer::mpProxyServer.load()->StopServer();
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_SERVER_STOPPED, 1, srvtest::kEngineLimit));
    EXPECT_EQ(view_.Count(WM_RELAY_SERVER_RUNNING), 1);
    EXPECT_FALSE(Accepts(port()));
}

TEST_F(EngineHostTest, BusyPortGivesElevenAttemptsTheMessageBoxAndStopped) {
    std::uint16_t busy = 0;
    const kvtest::UniqueFd other = OccupyPort(busy);
    ASSERT_TRUE(other);
    const platform::DWORD started = platform::GetTickCount();
    StartEngine({.port = busy, .autoIE = true});
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_SERVER_STOPPED, 1, srvtest::kEngineLimit));
    // Ten pauses of 200 ms lie between the eleven attempts.
    EXPECT_GE(platform::GetTickCount() - started, 1900u);
    EXPECT_EQ(view_.Count(WM_RELAY_SERVER_RUNNING), 0);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kPortInUseText);
    EXPECT_EQ(boxes[0].caption, "Kavelin");
    EXPECT_EQ(boxes[0].type, platform::MB_OK | platform::MB_ICONINFORMATION);
    // Nothing serves the browser, so it keeps its own settings.
    EXPECT_EQ(BrowserProxy().find(std::to_string(busy)), std::string::npos) << BrowserProxy();
}

TEST_F(EngineHostTest, SettingsChangeRestartsOnTheNewPort) {
    StartRunningEngine();
    const std::uint16_t first = port();
    const std::uint16_t second = kvtest::FreeLoopbackPort();
    CSettings changed = MakeSettings({}, second);
    CBaseServer::ApplySettings(changed);
    ASSERT_TRUE(CBaseServer::mpProxyServer.load()->HandleSettingsChange());
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_SERVER_RUNNING, 2, srvtest::kEngineLimit));
    EXPECT_EQ(view_.Count(WM_RELAY_SERVER_STOPPED), 1);
    EXPECT_TRUE(Accepts(second));
    EXPECT_FALSE(Accepts(first));
}

// The preparations a host may make before the first start, on a server
// whose thread is not running: both read the stored settings.
TEST_F(EngineHostTest, StartAndPreRunServerReadTheStoredSettingsAndPreRunPointsTheBrowser) {
    ASSERT_TRUE(CBaseServer::InitEngine());
    const std::uint16_t listener = kvtest::FreeLoopbackPort();
    CSettings settings = MakeSettings({.autoIE = true}, listener);
    CBaseServer::ApplySettings(settings);
    const auto storedPort = [] {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        return CBaseServer::mSettings.getPrivacySettings()->mListenerPort;
    };
    const auto changeInMemory = [] {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        CBaseServer::mSettings.getPrivacySettings()->mListenerPort = 1;
    };
    {
        CProxyServer server;
        changeInMemory();
        EXPECT_TRUE(server.Start());
        EXPECT_FALSE(server.IsRunning());
        EXPECT_EQ(storedPort(), listener);
        EXPECT_EQ(BrowserProxy(), "");

        changeInMemory();
        CProxyServer::setStopFlag(true);
        server.PreRunServer();
        EXPECT_FALSE(CProxyServer::getStopFlag());
        EXPECT_EQ(storedPort(), listener);
        EXPECT_NE(BrowserProxy().find(std::to_string(listener)), std::string::npos) << BrowserProxy();
        CBaseServer::ResetAutoConfigSettings();
    }
    CBaseServer::ExitEngine();
}

TEST_F(EngineHostTest, UtilThreadStoresPublicProxiesAndKeepsOrFreesAsTold) {
    StartRunningEngine();
    CProxy kept("192.0.2.7", 3128, PROXY_TYPE_HTTP);
    kept.setIsPrivate(true);
    auto stored = std::make_unique<CProxy>("192.0.2.8", 1080, PROXY_TYPE_SOCKS5);
    auto privateOne = std::make_unique<CProxy>("192.0.2.9", 8080, PROXY_TYPE_HTTP);
    privateOne->setIsPrivate(true);
    ASSERT_TRUE(CUtilThread::PostToThread(WM_RELAY_ADD_PROXY, 0, reinterpret_cast<platform::LPARAM>(&kept)));
    ASSERT_TRUE(CUtilThread::PostToThread(WM_RELAY_ADD_PROXY, 1, reinterpret_cast<platform::LPARAM>(stored.release())));
    ASSERT_TRUE(
        CUtilThread::PostToThread(WM_RELAY_ADD_PROXY, 1, reinterpret_cast<platform::LPARAM>(privateOne.release())));
    // A status notice queued behind them marks their end.
    ASSERT_TRUE(CUtilThread::PostToThread(WM_RELAY_TOOLBAR_STATUS, 0, 0));
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_SERVER_RUNNING, 2, 5s));
    EXPECT_EQ(kept.getPort(), 3128);
    const auto rows = pooltest::Query(ProxyDatabasePath(), "SELECT IP, Port FROM Proxy ORDER BY IP");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "192.0.2.8");
}

// Clients on this host go on to their next step before the relay's threads
// take their message: neither the proxy-server thread nor the util thread
// it posts to preempts the thread that woke it.
TEST_F(EngineHostTest, ProxyServerAndUtilThreadsDoNotPreemptOnWake) {
    StartRunningEngine();
    for (const platform::DWORD id : {CBaseServer::mpProxyServer.load()->thread().id(),
                                     CBaseServer::mpUtilThread.load()->thread().id()}) {
        ASSERT_NE(id, 0u);
        EXPECT_EQ(::sched_getscheduler(static_cast<pid_t>(id)), SCHED_BATCH) << "thread " << id;
    }
}

}  // namespace
