#include "relay/engine/CUtilThread.h"

#include <memory>

#include "platform/Thread.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/EngineMessages.h"
#include "relay/pool/CProxy.h"

CUtilThread::CUtilThread() {
    mStopped.Reset();
    SetAutoDelete(true);
}

CUtilThread::~CUtilThread() {
    CUtilThread* self = this;
    CBaseServer::mpUtilThread.compare_exchange_strong(self, nullptr);
}

bool CUtilThread::PostToThread(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
    const platform::DWORD id = msThreadId.load();
    return id != 0 && platform::PostThreadMessage(id, message, wParam, lParam);
}

bool CUtilThread::InitInstance() {
    msThreadId.store(platform::GetCurrentThreadId());
    // Posts from the proxy-server thread wake it; it waits its turn rather
    // than take the processor from that thread.
    platform::KeepFromPreemptingOnWake();
    mToolbarSrvr.Start();
    return true;
}

bool CUtilThread::PumpMessage() {
    if (CProxyServer::m_bShuttingDown.load()) return false;
    return UiThread::PumpMessage();
}

int CUtilThread::ExitInstance() {
    msThreadId.store(0);
    // A proxy server started after mStopped makes a new util thread.
    CUtilThread* self = this;
    CBaseServer::mpUtilThread.compare_exchange_strong(self, nullptr);
    mToolbarSrvr.Stop();
    // Pool stores still queued own their proxies.
    platform::MSG msg;
    while (platform::PeekMessage(msg, nullptr, WM_RELAY_ADD_PROXY, WM_RELAY_ADD_PROXY)) {
        if (!msg.hwnd && msg.wParam == 1) delete reinterpret_cast<CProxy*>(msg.lParam);
    }
    while (platform::PeekMessage(msg, nullptr, WM_RELAY_REMOVE_PROXY, WM_RELAY_REMOVE_PROXY)) {
        if (!msg.hwnd) delete reinterpret_cast<CProxy*>(msg.lParam);
    }
    mStopped.Set();
    return UiThread::ExitInstance();
}

bool CUtilThread::PreTranslateMessage(platform::MSG& msg) {
    if (msg.hwnd) return UiThread::PreTranslateMessage(msg);
    switch (msg.message) {
    case WM_RELAY_REMOVE_PROXY:
        if (msg.lParam) {
            std::unique_ptr<CProxy> proxy(reinterpret_cast<CProxy*>(msg.lParam));
            CBaseServer::m_ProxyPool.IRemoveProxy(*proxy);
        }
        return UiThread::PreTranslateMessage(msg);
    case WM_RELAY_ADD_PROXY:
        if (msg.lParam) {
            auto* proxy = reinterpret_cast<CProxy*>(msg.lParam);
            if (!proxy->getIsPrivate()) CBaseServer::m_ProxyPool.IAddProxy(*proxy);
            if (msg.wParam == 1) delete proxy;
        }
        return true;
    case WM_RELAY_TOOLBAR_DATA_IN:
    case WM_RELAY_TOOLBAR_DATA_OUT:
    case WM_RELAY_TOOLBAR_STATUS:
        if (CProxyServer::m_bShuttingDown.load()) return true;
        break;
    default:
        return UiThread::PreTranslateMessage(msg);
    }
    if (msg.message == WM_RELAY_TOOLBAR_DATA_IN) {
        if (m_BroadcastNextIn) mToolbarSrvr.Broadcast_DataArrived(static_cast<unsigned long>(msg.wParam));
        m_BroadcastNextIn = !m_BroadcastNextIn;
    } else if (msg.message == WM_RELAY_TOOLBAR_DATA_OUT) {
        if (m_BroadcastNextOut) mToolbarSrvr.Broadcast_Sent(static_cast<unsigned long>(msg.wParam));
        m_BroadcastNextOut = !m_BroadcastNextOut;
    } else {
        mToolbarSrvr.Broadcast_StatusChange(static_cast<short>(msg.wParam & 0xFFFF));
        CBaseServer::NotifyServerState(static_cast<unsigned>(msg.wParam));
    }
    return true;
}
