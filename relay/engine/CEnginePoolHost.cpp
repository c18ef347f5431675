#include "relay/engine/CEnginePoolHost.h"

#include <mutex>

#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/EngineMessages.h"
#include "relay/hunter/CHunterThread.h"
#include "relay/pool/CProxy.h"

CPrivacySettings CEnginePoolHost::GetPrivacySettings() {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    return *CBaseServer::mSettings.getPrivacySettings();
}

bool CEnginePoolHost::GetMixChain() {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    return CBaseServer::mChainSettings.getMixChain();
}

bool CEnginePoolHost::GetUsePrivateProxies() {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    return CBaseServer::mChainSettings.getUsePrivateProxies();
}

bool CEnginePoolHost::IsShuttingDown() { return CProxyServer::m_bShuttingDown.load(); }

bool CEnginePoolHost::IsHunterRunning() { return CBaseServer::m_HunterThread.IsRunning(); }

void CEnginePoolHost::StartHunterWithAnalysis() {
    CBaseServer::m_HunterThread.SetAnalyzeAfterHunt(true);
    CBaseServer::m_HunterThread.Start();
}

bool CEnginePoolHost::PostAddProxy(std::unique_ptr<CProxy> proxy) {
    if (!CUtilThread::PostToThread(WM_RELAY_ADD_PROXY, 1, reinterpret_cast<platform::LPARAM>(proxy.get()))) {
        return false;
    }
    proxy.release();  // the util thread deletes it
    return true;
}

void CEnginePoolHost::SetListenerType(eProxyType type) { CProxyServer::SetType(type); }
