#include "relay/upstream/CCommonBase.h"

#include <cstring>
#include <exception>
#include <utility>

#include "platform/InternetConnection.h"
#include "platform/Messages.h"
#include "platform/Sockets.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"
#include "relay/pool/CProxy.h"

namespace {

// How long a deleted object waits for its setup to notice the kill.
constexpr platform::DWORD kSetupEndLimitMs = 10000;

}  // namespace

CCommonBase::CCommonBase() : m_Chain(this) {}

CCommonBase::~CCommonBase() {
    // Once safe to delete, the worker touches nothing of the object any
    // more (it may still be ending): only a setup that runs is waited for.
    if (m_SetupThread.IsValid() && !m_SetupThread.IsCurrent() && !IsSafeToDelete()) {
        KillObject();
        m_SetupThread.Wait(kSetupEndLimitMs);
    }
}

bool CCommonBase::IsInternetAvilable() {
    platform::DWORD flags = 0;
    return platform::InternetGetConnectedState(&flags, 0) && (flags & platform::INTERNET_CONNECTION_OFFLINE) == 0;
}

bool CCommonBase::IsSafeToDelete() { return m_SafeToDelete.IsSignalled(); }

bool CCommonBase::IsObjectKilled() { return m_Killed.load(); }

void CCommonBase::KillObject() {
    m_Killed.store(true);
    m_KillEvent.Set();
}

void CCommonBase::SetSafeToDelete() { m_SafeToDelete.Set(); }

void CCommonBase::CheckIsKilled() {
    // The safe-to-delete event is left to the hand-over: the object must
    // outlive the worker's unwinding.
    if (m_Killed.load()) throw false;
}

void CCommonBase::SetRequest(const char* data, int length) {
    m_pRequest = data;
    m_RequestLength = data && length > 0 ? length : 0;
}

void CCommonBase::SetDestinationHost(const std::string& host) {
    // A cut name would name another host: a long one, or one the resolver
    // would end at a zero byte, fails the setup.
    m_bHostNameRefused = host.size() > kMaxHostName || host.find('\0') != std::string::npos;
    m_HostName = m_bHostNameRefused ? std::string() : host;
}

void CCommonBase::SetDestinationPort(int port) {
    m_DestinationPort = port >= 1 && port <= 65535 ? htons(static_cast<std::uint16_t>(port)) : 0;
}

int CCommonBase::GetDestinationPort() const { return ntohs(m_DestinationPort); }

void CCommonBase::FreeRequestCopy() {
    m_RequestCopy.clear();
    m_RequestCopy.shrink_to_fit();
}

std::string CCommonBase::TakeUpstreamSurplus() { return std::exchange(m_UpstreamSurplus, {}); }

bool CCommonBase::StartChainSetupThread() {
    // One setup per connection at a time.
    if (!m_SafeToDelete.IsSignalled()) return false;
    m_RequestCopy.assign(m_pRequest ? m_pRequest : "", m_pRequest ? m_RequestLength : 0);
    m_UpstreamSurplus.clear();
    m_OwnerThreadId = platform::GetCurrentThreadId();
    // The hand-over is posted to this thread: its queue must exist before
    // the worker can finish.
    platform::GetMessageQueueFd();
    m_SafeToDelete.Reset();
    // The worker is posted nothing, and the owning thread does not wait
    // for it to run.
    m_SetupThread = platform::Thread::StartWorker([this] { return ChainSetupThreadProc(this); });
    if (!m_SetupThread.IsValid()) {
        m_SafeToDelete.Set();
        return false;
    }
    return true;
}

platform::DWORD CCommonBase::ChainSetupThreadProc(CCommonBase* object) {
    if (!object) return static_cast<platform::DWORD>(-1);
    int connected = 0;
    try {
        connected = object->ExConnectToServer();
    } catch (bool) {
        connected = 0;
    } catch (const std::exception&) {
        connected = 0;
    }
    // A failure is answered on the owning thread too.
    if (!connected) object->HandOver(platform::INVALID_SOCKET);
    return 0;
}

void CCommonBase::HandOver(platform::SOCKET s) {
    // After a successful post the owning thread may free the object at any
    // moment: nothing of it is touched here afterwards.
    if (platform::PostThreadMessage(m_OwnerThreadId, WM_RELAY_ATTACH_SOCKET, static_cast<platform::WPARAM>(s),
                                    reinterpret_cast<platform::LPARAM>(this))) {
        return;
    }
    Abort(s);
    SetSafeToDelete();
}

int CCommonBase::ExConnectToServer() {
    m_ChainSettings = CBaseServer::GetChainSettings();
    if (m_bHostNameRefused) return 0;
    platform::DWORD address = m_DestinationAddress;
    // Names are resolved here, off the proxy-server thread; proxies are only
    // ever given the address. An unknown name stays 0.0.0.0.
    if (address == 0 && !m_HostName.empty()) address = CProxyAttrib::ConvertIP(m_HostName.c_str());
    CheckIsKilled();
    return ConnectToServer(CProxyAttrib::ConvertIP(address).c_str(), GetDestinationPort(), m_bTunnel,
                           m_RequestType);
}

bool CCommonBase::WantsChain() { return m_ChainSettings.getChainLength() != 0; }

int CCommonBase::ConnectToServer(const char* host, int port, bool tunnel, eRequestType request) {
    platform::SOCKET s = platform::INVALID_SOCKET;
    try {
        // A destination that cannot be reached costs no connection at all.
        if (!host || std::strcmp(host, "0.0.0.0") == 0 || port < 1 || port > 65535) return 0;
        if (WantsChain()) {
            bool chained = false;
            for (int attempt = 0; attempt < 2 && !chained; ++attempt) {
                CheckIsKilled();
                CBaseServer::m_ProxyPool.SetupChain(m_ChainSettings, m_Chain, tunnel,
                                                    CHAIN_PRIVATE_THEN_PUBLIC, request);
                s = m_Chain.ChainConnect();
                CheckIsKilled();
                chained = s != platform::INVALID_SOCKET && s != 0;
            }
            if (!chained) {
                s = m_Chain.ConnectToAnyPrivateProxy(tunnel);
                CheckIsKilled();
                if (s == platform::INVALID_SOCKET) {
                    CBaseServer::m_ProxyPool.SetupChain(m_ChainSettings, m_Chain, tunnel, CHAIN_PUBLIC_ONLY,
                                                        request);
                    s = m_Chain.ChainConnect();
                    CheckIsKilled();
                    if (s == platform::INVALID_SOCKET) m_Chain.clear();
                }
            }
        } else {
            m_Chain.clear();
        }
        CheckIsKilled();
        SConnect(s, host, port, tunnel);
        CheckIsKilled();
    } catch (bool) {
        Abort(s);
        return 0;
    } catch (const std::exception&) {
        Abort(s);
        return 0;
    }
    if (s == platform::INVALID_SOCKET) return 0;
    HandOver(s);
    return 1;
}
