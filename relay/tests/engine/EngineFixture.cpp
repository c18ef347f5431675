#include "engine/EngineFixture.h"

#include <cstdlib>
#include <filesystem>

#include "platform/Wait.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/EngineMessages.h"
#include "relay/pool/CThread.h"
#include "rig/Loopback.h"

namespace srvtest {
namespace {

class IdlePrivateListAnalysis : public CThread {
public:
    ~IdlePrivateListAnalysis() override { Stop(); }
    platform::DWORD Run() override { return 1; }
};

}  // namespace

EngineTest::EngineTest() {
    // Test programs run side by side: each engine's toolbar channel takes a
    // free port.
    setenv("KAVELIN_TOOLBAR_PORT", "0", 1);
    previousBoxHandler_ = platform::SetMessageBoxHandler(
        [this](platform::HWND, const std::string& text, const std::string& caption, platform::UINT type) {
            std::lock_guard lock(boxesMutex_);
            boxes_.push_back({text, caption, type});
            return platform::IDOK;
        });
}

EngineTest::~EngineTest() {
    StopEngine();
    platform::SetMessageBoxHandler(previousBoxHandler_);
}

CSettings EngineTest::MakeSettings(const EngineSettings& settings, std::uint16_t port) {
    CSettings s;
    CPrivacySettings& privacy = *s.getPrivacySettings();
    privacy.mEnableIPShielding = settings.chain ? 1 : 0;
    privacy.mEnableProxyChain = settings.chain ? 1 : 0;
    privacy.mChainLength = static_cast<platform::DWORD>(settings.chainLength);
    privacy.mProxyBestChoice = 0;
    privacy.mListenerPort = port;
    privacy.mListenerType = 2;
    privacy.mUsePrivateProxies = 1;
    s.getFiltrationSettings()->mInFiltration.setEnable(settings.incomingFilter);
    if (settings.adjust) settings.adjust(s);
    CSysConfig& sys = *s.getSysConfig();
    sys.mAutoIE = settings.autoIE ? 1 : 0;
    sys.mAutoNetscape = sys.mAutoYahooIM = sys.mAutoMSN = sys.mAutoWsFTP = sys.mAutoOpera = 0;
    sys.mAutoKaza = sys.mAutoCuteFtp = sys.mAutoMirc = 0;
    return s;
}

void EngineTest::StartEngine(const EngineSettings& settings) {
    port_ = settings.port ? settings.port : kvtest::FreeLoopbackPort();
    ASSERT_TRUE(CBaseServer::InitEngine());
    CBaseServer::m_ProxyPool.SetPrivateListAnalyzer(settings.privateListAnalyzer
                                                        ? settings.privateListAnalyzer()
                                                        : std::make_unique<IdlePrivateListAnalysis>());
    CSettings s = MakeSettings(settings, port_);
    CBaseServer::ApplySettings(s);
    CBaseServer::AttachView(view_.hwnd());
    auto* server = new CProxyServer;
    CBaseServer::mpProxyServer.store(server);
    ASSERT_TRUE(server->CreateThread());
    serverThread_ = server->thread();
    running_ = true;
    server->StartServer();
}

void EngineTest::StartRunningEngine(const EngineSettings& settings) {
    StartEngine(settings);
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_SERVER_RUNNING, 1, kEngineLimit));
}

void EngineTest::StopEngine() {
    if (!running_) return;
    running_ = false;
    CProxyServer::m_bShuttingDown.store(true);
    CProxyServer::PostToThread(WM_RELAY_STOP_SERVER, 0, 0);
    CProxyServer::PostToThread(platform::WM_QUIT, 0, 0);
    EXPECT_TRUE(serverThread_.Wait(20000));
    EXPECT_EQ(platform::WaitForSingleObject(CUtilThread::mStopped, 20000), platform::WAIT_OBJECT_0);
    CBaseServer::DettachView();
    CBaseServer::ExitEngine();
}

std::string EngineTest::ProxyAddress() const { return kvtest::LoopbackAddress(port_); }

std::vector<RecordedBox> EngineTest::Boxes() const {
    std::lock_guard lock(boxesMutex_);
    return boxes_;
}

int EngineTest::OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

}  // namespace srvtest
