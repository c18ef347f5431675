#include "relay/engine/CBaseServer.h"

#include <mutex>

#include "kvres/RelayStrings.h"
#include "platform/Sockets.h"
#include "relay/analyzer/CAnalyzerThread.h"
#include "relay/analyzer/CPrivateListAnalyzer.h"
#include "relay/engine/CEnginePoolHost.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/EngineMessages.h"
#include "relay/engine/IEngineLogs.h"
#include "relay/hunter/CHunterThread.h"
#include "relay/logs/CEngineLogs.h"
#include "relay/toolbar/CToolBarNotifier.h"

// Every engine singleton is defined here, in this order: the pool takes the
// timer thread in its constructor, and the listeners are destroyed before
// the pool they may still point into.
CSettings CBaseServer::mSettings;
platform::CriticalSection CBaseServer::mSettingsCS;
std::atomic<CProxyServer*> CBaseServer::mpProxyServer{nullptr};
std::atomic<CUtilThread*> CBaseServer::mpUtilThread{nullptr};
std::atomic<std::int32_t> CBaseServer::m_nDataSent{0};
std::atomic<std::int32_t> CBaseServer::m_nDataReceived{0};
platform::HWND CBaseServer::mpView;
platform::CriticalSection CBaseServer::mVwCSect;
std::string CBaseServer::m_StrBallonLog;
CChainSettings CBaseServer::mChainSettings;
CTimerThread CBaseServer::mChainTimerThread;
CProxyMap CBaseServer::m_ProxyPool{CBaseServer::mChainTimerThread};
CAnalyzerThread CBaseServer::mAnalyzerThread{CBaseServer::m_ProxyPool};
// After the pool and the analyzer it uses.
CHunterThread CBaseServer::m_HunterThread;
CPrefsKeeper CBaseServer::mCnfgMngr;
CFiltrationManager CBaseServer::mFltrMngr;
CChainLogger CBaseServer::m_ChainLog;
CProgLog CBaseServer::m_ProgLog;
CFiltrationLogger CBaseServer::m_FiltrationLog;

platform::Event CProxyServer::mStopEvent{true, false};
std::atomic<bool> CProxyServer::m_bShuttingDown{false};
std::atomic<bool> CProxyServer::msShouldStop{false};
std::atomic<int> CProxyServer::m_nProxyType{PROXY_TYPE_HTTP};
std::atomic<platform::DWORD> CProxyServer::msThreadId{0};
CHttpProxy CProxyServer::mHttpProxy;
CSock4Proxy CProxyServer::mSock4Proxy;
CSock5Proxy CProxyServer::mSock5Proxy;
CGeneralProxy CProxyServer::mGeneralProxy;

platform::Event CUtilThread::mStopped{true, false};
CToolbarSrvr CUtilThread::mToolbarSrvr;
std::atomic<platform::DWORD> CUtilThread::msThreadId{0};

namespace {

CEngineLogs gOwnLogs;
std::atomic<IEngineLogs*> gLogs{&gOwnLogs};
CEnginePoolHost gPoolHost;
bool gWinsockStarted = false;

}  // namespace

bool CBaseServer::InitEngine() {
    platform::WSADATA data;
    if (platform::WSAStartup(platform::MAKEWORD(2, 2), &data) != 0) return false;
    // Anything but exactly 2.2 refuses the engine.
    if (data.wVersion != platform::MAKEWORD(2, 2)) {
        platform::WSACleanup();
        return false;
    }
    gWinsockStarted = true;
    SetPoolHost(&gPoolHost);
    m_ProxyPool.SetPrivateListAnalyzer(std::make_unique<CPrivateListAnalyzer>(&m_ProxyPool));
    // As the pool's own construction leaves it once its analyzer is built:
    // the private lists count as analysed until the flag is cleared.
    m_ProxyPool.SetIsPrivateAnalyzed(true);
    return true;
}

void CBaseServer::ExitEngine() {
    for (CVirtualProxy* listener : CProxyServer::AllListeners()) listener->FreeClientsList(true);
    SetPoolHost(nullptr);
    if (gWinsockStarted) platform::WSACleanup();
    gWinsockStarted = false;
}

bool CBaseServer::Startup() {
    {
        std::lock_guard lock(mSettingsCS);
        mSettings.QueryRegistry();
        mChainSettings = mSettings;
        mFltrMngr = mSettings;
    }
    m_HunterThread.SetSettings(mSettings.getHunterSettings());
    EngineLogs().ChainLogRemoveAllElements();
    return true;
}

void CBaseServer::ApplySettings(CSettings& settings) {
    {
        std::lock_guard lock(mSettingsCS);
        mSettings = settings;
        mSettings.SetRegistry();
    }
    m_HunterThread.SetSettings(mSettings.getHunterSettings());
}

void CBaseServer::ResetStatistics() {
    EngineLogs().ResetFiltrationLog();
}

void CBaseServer::SetAutoConfigSettings() {
    std::lock_guard lock(mSettingsCS);
    mCnfgMngr.SetAutoConfigSettings(mSettings);
}

void CBaseServer::ResetAutoConfigSettings() {
    std::lock_guard lock(mSettingsCS);
    mCnfgMngr.RestoreConfiguration(mSettings.getSysConfig());
}

bool CBaseServer::Shutdown() {
    EngineLogs().ChainLogFreeStoredChains();
    ResetAutoConfigSettings();
    return true;
}

eRequestState CBaseServer::FilterSend(char* data, int& length) {
    return mFltrMngr.FilterRequest(data, length);
}

bool CBaseServer::FilterRecvHead(std::string_view head, CScriptFilterState& state) {
    bool incoming = false;
    {
        std::lock_guard lock(mSettingsCS);
        incoming = mSettings.getFiltrationSettings()->mInFiltration.getEnable();
    }
    return incoming && mFltrMngr.FilterResponseHead(head, state);
}

void CBaseServer::FilterRecv(char* data, int& length, CScriptFilterState& state, bool last) {
    mFltrMngr.FilterResponse(data, length, state, last);
}

void CBaseServer::SetToolBarIncomingData(int n) {
    const std::int32_t total = m_nDataReceived.fetch_add(n) + n;
    CToolBarNotifier::SendDataIncoming(total);
}

void CBaseServer::SetToolBarOutgoingData(int n) {
    const std::int32_t total = m_nDataSent.fetch_add(n) + n;
    CToolBarNotifier::SendDataOutgoing(total);
}

void CBaseServer::AttachView(platform::HWND view) {
    std::lock_guard lock(mVwCSect);
    mpView = view;
    m_HunterThread.Startup();
}

void CBaseServer::DettachView() {
    std::lock_guard lock(mVwCSect);
    mpView = nullptr;
    m_HunterThread.Shutdown();
}

platform::HWND CBaseServer::GetView() {
    std::lock_guard lock(mVwCSect);
    return mpView;
}

void CBaseServer::LogToolTip(unsigned id) {
    LogToolTip(kvres::RelayStrings().LoadString(id));
}

void CBaseServer::LogToolTip(const std::string& text) {
    std::lock_guard lock(mVwCSect);
    m_StrBallonLog = text;
    LogToolTip();
}

void CBaseServer::LogToolTip() {
    std::lock_guard lock(mVwCSect);
    if (mpView && platform::IsWindow(mpView)) platform::PostMessage(mpView, WM_RELAY_BALLOON, 0, 0);
}

std::string CBaseServer::GetBallonText() {
    std::lock_guard lock(mVwCSect);
    return m_StrBallonLog;
}

void CBaseServer::PostToolBarRequest(unsigned code) {
    std::lock_guard lock(mVwCSect);
    if (mpView && platform::IsWindow(mpView)) {
        platform::PostMessage(mpView, WM_RELAY_TOOLBAR_REQUEST, 0, static_cast<platform::LPARAM>(code));
    }
}

void CBaseServer::NotifyServerState(unsigned state) {
    // The one post outside mVwCSect: it runs on the util thread, and a post
    // to a window that went meanwhile simply fails.
    const platform::HWND view = GetView();
    if (!view) return;
    if (state == SERVER_RUNNING) platform::PostMessage(view, WM_RELAY_SERVER_RUNNING, 0, 0);
    if (state == SERVER_STOPPED) platform::PostMessage(view, WM_RELAY_SERVER_STOPPED, 0, 0);
}

void CBaseServer::CheckServerStop() {
    if (CProxyServer::getStopFlag()) throw false;
}

CSettings CBaseServer::GetSettings() {
    std::lock_guard lock(mSettingsCS);
    return mSettings;
}

CChainSettings CBaseServer::GetChainSettings() {
    std::lock_guard lock(mSettingsCS);
    return mChainSettings;
}

void CBaseServer::SetEngineLogs(IEngineLogs* logs) { gLogs.store(logs ? logs : &gOwnLogs); }
IEngineLogs& CBaseServer::EngineLogs() { return *gLogs.load(); }
