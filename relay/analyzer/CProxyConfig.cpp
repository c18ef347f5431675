#include "relay/analyzer/CProxyConfig.h"

#include "platform/Time.h"
#include "relay/engine/CBaseServer.h"
#include "relay/pool/IListSink.h"

CProxyConfig::CProxyConfig() = default;

CProxyConfig::CProxyConfig(const CProxyConfig& other) { *this = other; }

CProxyConfig& CProxyConfig::operator=(const CProxyConfig& other) {
    if (this == &other) return *this;
    std::string log;
    std::deque<CProxy> found;
    {
        std::lock_guard lock(other.m_DataCS);
        log = other.m_Log;
        found = other.m_Found;
    }
    std::lock_guard lock(m_DataCS);
    m_Log = std::move(log);
    m_Found = std::move(found);
    m_Window.store(other.m_Window.load());
    return *this;
}

void CProxyConfig::AttachWindow(platform::HWND window) { m_Window.store(window); }

void CProxyConfig::DetachWindow() { m_Window.store(platform::HWND()); }

platform::HWND CProxyConfig::GetWindow() const { return m_Window.load(); }

void CProxyConfig::setShouldStop(bool stop) {
    m_bShouldStop.store(stop);
    if (stop) {
        m_StopEvent.Set();
    } else {
        m_StopEvent.Reset();
    }
}

void CProxyConfig::Reset() {
    m_StopEvent.Reset();
    std::lock_guard lock(m_DataCS);
    m_Log.clear();
}

std::string CProxyConfig::getLog() const {
    std::lock_guard lock(m_DataCS);
    return m_Log;
}

bool CProxyConfig::PostToWindow(platform::UINT message) {
    const platform::HWND window = m_Window.load();
    if (!window || !platform::IsWindow(window)) return false;
    platform::PostMessage(window, message, 0, 0);
    platform::Sleep(kPostPaceMs);
    return true;
}

void CProxyConfig::AddToLog(const char* text) {
    const platform::HWND window = m_Window.load();
    if (!text || !window || !platform::IsWindow(window)) return;
    {
        std::lock_guard lock(m_DataCS);
        m_Log += text;
        m_Log += "\r\n";
    }
    PostToWindow(WM_RELAY_PROXYCONFIG_LOG);
}

void CProxyConfig::AddProxy(const CProxy& proxy) {
    if (!m_Window.load()) return;
    {
        std::lock_guard lock(m_DataCS);
        m_Found.push_back(proxy);
    }
    PostToWindow(WM_RELAY_PROXYCONFIG_FOUND);
}

void CProxyConfig::AddToList(IListSink& list) {
    if (!m_Window.load()) return;
    const bool hideFailed = CBaseServer::GetSettings().getHunterSettings()->GetIsAutoDeleteFailedProxiesEnabled() != 0;
    std::deque<CProxy> found;
    {
        std::lock_guard lock(m_DataCS);
        found.swap(m_Found);
    }
    for (CProxy& proxy : found) proxy.Write(list, hideFailed);
}

void CProxyConfig::SendEndProcessMsg() {
    std::lock_guard end(m_EndCS);
    PostToWindow(WM_RELAY_PROXYCONFIG_END);
    std::lock_guard lock(m_DataCS);
    m_Found.clear();
}

int CProxyConfig::GetQueuedCount() const {
    std::lock_guard lock(m_DataCS);
    return static_cast<int>(m_Found.size());
}

void CProxyConfig::PostCheckProxyRequest() {
    std::lock_guard end(m_EndCS);
    PostToWindow(WM_RELAY_CHECK_PROXY_REQUEST);
}
