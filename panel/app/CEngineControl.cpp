#include "panel/app/CEngineControl.h"

#include <mutex>

#include "panel/app/CPanelProxyServer.h"
#include "platform/Wait.h"
#include "relay/analyzer/CAnalyzerThread.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/hunter/CHunterThread.h"
#include "relay/toolbar/CToolBarNotifier.h"

namespace {

// The util thread ends right after the proxy-server thread tells it to;
// a util thread that never started must not hold the exit for ever.
constexpr platform::DWORD kUtilEndLimitMs = 20000;

}  // namespace

bool CEngineControl::InitEngine() { return CBaseServer::InitEngine(); }

bool CEngineControl::CreateServerThread() {
    auto* server = new CPanelProxyServer;
    CBaseServer::mpProxyServer.store(server);
    if (!server->CreateThread()) {
        CBaseServer::mpProxyServer.store(nullptr);
        delete server;
        return false;
    }
    m_ServerThread = server->thread();
    return true;
}

void CEngineControl::SetAnalyzerOnlyHttp(bool onlyHttp) {
    CBaseServer::mAnalyzerThread.GetConfig().setOnlyHttp(onlyHttp);
}

void CEngineControl::AttachView(platform::HWND view) { CBaseServer::AttachView(view); }
void CEngineControl::DettachView() { CBaseServer::DettachView(); }

void CEngineControl::StartServer() {
    if (CProxyServer* server = CBaseServer::mpProxyServer.load()) server->StartServer();
}

void CEngineControl::StopServer() {
    if (CProxyServer* server = CBaseServer::mpProxyServer.load()) server->StopServer();
}

bool CEngineControl::IsRunning() const {
    CProxyServer* server = CBaseServer::mpProxyServer.load();
    return server && server->IsRunning();
}

CProxyServer* CEngineControl::ProxyServer() const { return CBaseServer::mpProxyServer.load(); }

void CEngineControl::SetShuttingDown(bool shuttingDown) { CProxyServer::m_bShuttingDown.store(shuttingDown); }
bool CEngineControl::IsShuttingDown() const { return CProxyServer::m_bShuttingDown.load(); }
void CEngineControl::StopAnalyzer() { CBaseServer::mAnalyzerThread.Stop(); }
void CEngineControl::StopHunter() { CBaseServer::m_HunterThread.Stop(); }
void CEngineControl::StopAnalyzingPrivateList() { CBaseServer::m_ProxyPool.StopAnalyzingPrivateList(); }
void CEngineControl::PostQuitToServerThread() { CProxyServer::PostToThread(platform::WM_QUIT, 0, 0); }

void CEngineControl::PostQuitToUtilThread() {
    if (CBaseServer::mpUtilThread.load()) CUtilThread::PostToThread(platform::WM_QUIT, 0, 0);
}

void CEngineControl::WaitForServerThread() {
    platform::WaitForSingleObject(CProxyServer::mStopEvent, platform::INFINITE);
    // The thread object goes on to free the connections and the pool; the
    // engine is left alone only after that.
    if (m_ServerThread.IsValid()) m_ServerThread.Join();
    m_ServerThread = {};
}

void CEngineControl::WaitForUtilThread() {
    platform::WaitForSingleObject(CUtilThread::mStopped, kUtilEndLimitMs);
}

void CEngineControl::ExitEngine() { CBaseServer::ExitEngine(); }

CSettings CEngineControl::EngineSettings() const { return CBaseServer::GetSettings(); }
void CEngineControl::ApplySettings(CSettings& settings) { CBaseServer::ApplySettings(settings); }

void CEngineControl::HandleSettingsChange() {
    if (CProxyServer* server = CBaseServer::mpProxyServer.load()) server->HandleSettingsChange();
}

void CEngineControl::SendProxyStatusChange(unsigned state) { CToolBarNotifier::SendProxyStatusChange(state); }

void CEngineControl::RestoreConfiguration() {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    CBaseServer::mCnfgMngr.RestoreConfiguration(CBaseServer::mSettings.getSysConfig());
}

void CEngineControl::SetToIE() { CBaseServer::mCnfgMngr.m_IEConfig.SetToIE(); }

std::string CEngineControl::BallonText() const { return CBaseServer::GetBallonText(); }
