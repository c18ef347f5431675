#include "relay/engine/CProxyServer.h"

#include <mutex>

#include "platform/Sockets.h"
#include "platform/Thread.h"
#include "platform/Time.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/IEngineLogs.h"
#include "relay/engine/eServerState.h"
#include "relay/toolbar/CToolBarNotifier.h"
#include "relay/upstream/CCommonBase.h"

namespace {

// How long the thread's end waits for chain-setup workers that still use
// connection objects (they end at once on the stop event).
constexpr platform::DWORD kWorkerEndLimitMs = 10000;
constexpr platform::DWORD kWorkerPollMs = 10;

}  // namespace

CProxyServer::CProxyServer() {
    mStopEvent.Reset();
    m_bShuttingDown.store(false);
    SetAutoDelete(true);
}

CProxyServer::~CProxyServer() {
    mStopEvent.Set();
    CProxyServer* self = this;
    CBaseServer::mpProxyServer.compare_exchange_strong(self, nullptr);
}

bool CProxyServer::PostToThread(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
    const platform::DWORD id = msThreadId.load();
    return id != 0 && platform::PostThreadMessage(id, message, wParam, lParam);
}

bool CProxyServer::InitInstance() {
    // Its clients and the servers it reaches may run on this host: each goes
    // on to its next step before this thread takes their last message.
    platform::KeepFromPreemptingOnWake();
    msThreadId.store(platform::GetCurrentThreadId());
    CBaseServer::mChainTimerThread.Start();
    if (!CBaseServer::mpUtilThread.load()) {
        auto util = std::make_unique<CUtilThread>();
        CUtilThread* raw = util.get();
        CBaseServer::mpUtilThread.store(raw);
        if (raw->CreateThread()) {
            // Nothing can end the new thread before its id is noted: no one
            // can post to it yet.
            CUtilThread::NoteThreadId(raw->thread().id());
            util.release();  // deletes itself when its thread ends
        } else {
            CBaseServer::mpUtilThread.store(nullptr);
        }
    }
    return true;
}

int CProxyServer::ExitInstance() {
    msThreadId.store(0);
    CBaseServer::EngineLogs().ChainLogDettach();
    StopListeners();
    FreeConnections();
    CBaseServer::mChainTimerThread.Stop();
    CBaseServer::m_ProxyPool.StopAnalyzingPrivateList();
    CBaseServer::m_ProxyPool.FreeProxyVectorMem();
    return UiThread::ExitInstance();
}

bool CProxyServer::PreTranslateMessage(platform::MSG& msg) {
    if (msg.hwnd) return UiThread::PreTranslateMessage(msg);
    switch (msg.message) {
    case WM_RELAY_START_SERVER:
        OnStartServer();
        return true;
    case WM_RELAY_STOP_SERVER:
        OnStopServer();
        return true;
    case WM_RELAY_ATTACH_SOCKET:
        OnAttachSocket(msg.wParam, msg.lParam);
        return true;
    case WM_RELAY_HUNTER_QUIT:
        return true;
    case platform::WM_QUIT:
        CUtilThread::PostToThread(platform::WM_QUIT, 0, 0);
        mStopEvent.Set();
        return true;
    default:
        return UiThread::PreTranslateMessage(msg);
    }
}

bool CProxyServer::Start() {
    m_bRunning.store(false);
    {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        CBaseServer::mCnfgMngr.BackupConfiguration(CBaseServer::mSettings.getSysConfig());
    }
    return CBaseServer::Startup();
}

void CProxyServer::PreRunServer() {
    setStopFlag(false);
    CBaseServer::Startup();
    CBaseServer::SetAutoConfigSettings();
}

bool CProxyServer::StartServer() {
    PostThreadMessage(WM_RELAY_START_SERVER, 0, 0);
    return true;
}

bool CProxyServer::StopServer() {
    PostThreadMessage(WM_RELAY_STOP_SERVER, 0, 0);
    return true;
}

bool CProxyServer::HandleSettingsChange() {
    {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        CBaseServer::mChainSettings = CBaseServer::mSettings;
    }
    if (IsRunning()) {
        StopServer();
        StartServer();
    }
    return true;
}

CVirtualProxy* CProxyServer::ListenerFor(int type) {
    switch (type) {
    case PROXY_TYPE_HTTP:
        return &mHttpProxy;
    case PROXY_TYPE_SOCKS4:
        return &mSock4Proxy;
    case PROXY_TYPE_SOCKS5:
        return &mSock5Proxy;
    default:
        // The general listener serves every client kind, so any other value
        // (a stray one in the registry too) starts it.
        return &mGeneralProxy;
    }
}

std::array<CVirtualProxy*, 4> CProxyServer::AllListeners() {
    return {&mHttpProxy, &mSock4Proxy, &mSock5Proxy, &mGeneralProxy};
}

void CProxyServer::StopListeners() {
    for (CVirtualProxy* listener : AllListeners()) listener->Stop();
}

void CProxyServer::OnStartServer() {
    mStopEvent.Reset();
    if (IsRunning()) return;
    {
        std::lock_guard lock(m_StartStopCS);
        CToolBarNotifier::Start();
        setStopFlag(false);
        CBaseServer::Startup();
        CBaseServer::SetAutoConfigSettings();
        m_bRunning.store(ListenerFor(m_nProxyType.load())->Start());
        if (IsRunning()) {
            // An analysis a previous start left running ends first, so that
            // its end cannot mark the lists read now as analysed.
            CBaseServer::m_ProxyPool.StopAnalyzingPrivateList();
            CBaseServer::m_ProxyPool.SetDBInitialized(false);
            CBaseServer::m_ProxyPool.Init();
        } else {
            // Nothing serves the client programs: give them their own
            // settings back.
            CBaseServer::ResetAutoConfigSettings();
        }
        CToolBarNotifier::SendProxyStatusChange(IsRunning() ? SERVER_RUNNING : SERVER_STOPPED);
    }
    CBaseServer::m_ProxyPool.AnalyzePrivateList();
}

void CProxyServer::OnStopServer() {
    mStopEvent.Reset();
    setStopFlag(true);
    std::lock_guard lock(m_StartStopCS);
    StopListeners();
    m_bRunning.store(false);
    CBaseServer::Shutdown();
    CToolBarNotifier::Stop();
    if (!m_bShuttingDown.load()) CToolBarNotifier::SendProxyStatusChange(SERVER_STOPPED);
}

void CProxyServer::OnAttachSocket(platform::WPARAM socket, platform::LPARAM object) {
    auto* connection = reinterpret_cast<CCommonBase*>(object);
    const auto handle = static_cast<platform::SOCKET>(socket);
    if (!connection) {
        if (handle != platform::INVALID_SOCKET) platform::closesocket(handle);
        return;
    }
    if (!connection->IsObjectKilled()) {
        if (handle == platform::INVALID_SOCKET) {
            connection->OnCreateConnection(false);
        } else if (connection->Attach(handle, CAsyncSocketEx::kAllEvents)) {
            connection->OnCreateConnection(true);
        } else {
            platform::closesocket(handle);
            connection->OnCreateConnection(false);
        }
    } else if (handle != platform::INVALID_SOCKET) {
        platform::shutdown(handle, platform::SD_BOTH);
        platform::closesocket(handle);
    }
    connection->SetSafeToDelete();
}

void CProxyServer::FreeConnections() {
    mStopEvent.Set();
    const platform::DWORD start = platform::GetTickCount();
    const auto busy = [] {
        for (CVirtualProxy* listener : AllListeners()) {
            if (listener->HasBusyClients()) return true;
        }
        return false;
    };
    while (busy() && platform::GetTickCount() - start < kWorkerEndLimitMs) {
        // Hand-overs that arrive meanwhile still close their sockets and
        // release their objects.
        DrainHandOvers();
        platform::Sleep(kWorkerPollMs);
    }
    DrainHandOvers();
    for (CVirtualProxy* listener : AllListeners()) listener->FreeClientsList(false);
}

void CProxyServer::DrainHandOvers() {
    platform::MSG msg;
    while (platform::PeekMessage(msg, nullptr, WM_RELAY_ATTACH_SOCKET, WM_RELAY_ATTACH_SOCKET)) {
        // A socket notice can carry the same number.
        if (msg.hwnd) {
            platform::DispatchMessage(msg);
        } else {
            OnAttachSocket(msg.wParam, msg.lParam);
        }
    }
}
