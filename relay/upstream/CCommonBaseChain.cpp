// The last step of a setup: from the chain's last hop (or directly, or
// through the firewall proxy) to the destination, with its fallbacks, and
// the chain log and balloons that report it.

#include <cstring>
#include <strings.h>

#include "platform/Sockets.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/IEngineLogs.h"
#include "relay/pool/CProxy.h"
#include "relay/upstream/CCommonBase.h"

namespace {

constexpr unsigned kFailedToConnect = 1009;       // "Failed To Connect To The Desired Server."
constexpr unsigned kConnectedDirectly = 1012;     // "Couldn't Connect Though Chain, Connected Directly."

bool Connected(platform::SOCKET s) { return s != platform::INVALID_SOCKET && s != 0; }

bool KnownCountry(const std::string& country) {
    return !country.empty() && strcasecmp(country.c_str(), "unknown") != 0 && country != "NULL";
}

}  // namespace

platform::SOCKET CCommonBase::SConnect(platform::SOCKET& s, platform::DWORD address, int port, bool tunnel) {
    return SConnect(s, CProxyAttrib::ConvertIP(address).c_str(), port, tunnel);
}

platform::SOCKET CCommonBase::SConnect(platform::SOCKET& s, const char* host, int port, bool tunnel) {
    m_bAbsoluteForm = false;
    if (!host || std::strcmp(host, "0.0.0.0") == 0) {
        Abort(s);
        return s;
    }
    CheckIsKilled();
    CProxy destination(host, port, PROXY_TYPE_UNKNOWN);
    if (Connected(s)) {
        ConnectFromChainToHost(s, destination, tunnel);
        // A failure has shown its own balloon.
        if (Connected(s)) UpdateChainBallon();
        return s;
    }
    s = ConnectToHost(destination, tunnel);
    if (Connected(s)) {
        if (WantsChain()) m_Chain.clear();
        UpdateChainLog(host);
        UpdateChainBallon();
    } else {
        CBaseServer::LogToolTip(kFailedToConnect);
    }
    return s;
}

platform::SOCKET CCommonBase::ConnectToHost(CProxy& destination, bool tunnel) {
    platform::SOCKET s = platform::INVALID_SOCKET;
    if (!m_ChainSettings.IsBehindFireWall()) {
        Connect(s, destination.getIP(), destination.getPort());
        return s;
    }
    CProxy& firewall = m_ChainSettings.getFireWallProxy();
    if (!Connect(s, firewall.getIP(), firewall.getPort())) return s;
    // Only a plain HTTP firewall is asked nothing and forwards the request.
    m_bAbsoluteForm = !tunnel && firewall.getType() == PROXY_TYPE_HTTP;
    // A plain HTTP proxy carries a tunnel only once asked with CONNECT.
    const int type = firewall.getType() == PROXY_TYPE_HTTP && tunnel ? PROXY_TYPE_HTTPS : PROXY_TYPE_UNKNOWN;
    try {
        if (ConnectFromTo(firewall, destination, s, type) != CONNECTION_CONNECTED) Abort(s);
    } catch (bool) {
        Abort(s);
        throw;
    }
    return s;
}

void CCommonBase::ConnectFromChainToHost(platform::SOCKET& s, CProxy& destination, bool tunnel) {
    if (m_Chain.size() == 0) return;
    CProxy* last = m_Chain.GetLastProxyInChain();
    if (!last) {
        Abort(s);
        throw false;
    }
    eConnectionStatus result = CONNECTION_CONNECTED;
    switch (last->getType()) {
    case PROXY_TYPE_HTTP:
    case PROXY_TYPE_HTTPS:
        // Without a tunnel the client's request goes to the proxy as it is.
        if (tunnel) {
            result = ConnectFromTo(*last, destination, s, PROXY_TYPE_HTTPS);
        } else {
            m_bAbsoluteForm = true;
        }
        break;
    case PROXY_TYPE_SOCKS4:
    case PROXY_TYPE_SOCKS5:
        result = ConnectFromTo(*last, destination, s, PROXY_TYPE_UNKNOWN);
        break;
    default:
        break;
    }
    if (!Connected(s)) {
        m_bAbsoluteForm = false;
        Abort(s);
        if (result == CONNECTION_REFUSED) {
            CBaseServer::LogToolTip(kFailedToConnect);
            return;
        }
        CBaseServer::m_ProxyPool.HandleFailedProxy(last);
        m_Chain.clear();
        s = m_Chain.ConnectToAnyPrivateProxy(true);
        if (Connected(s)) {
            CProxy* privateProxy = m_Chain.GetLastProxyInChain();
            result = ConnectFromTo(*privateProxy, destination, s, PROXY_TYPE_UNKNOWN);
            if (result == CONNECTION_CONNECTED) {
                UpdateChainLog(destination.getIP());
                return;
            }
            Abort(s);
            if (result == CONNECTION_REFUSED) {
                CBaseServer::LogToolTip(kFailedToConnect);
                return;
            }
            CBaseServer::m_ProxyPool.HandleFailedProxy(privateProxy);
            m_Chain.clear();
        }
        s = ConnectToHost(destination, tunnel);
        if (!Connected(s)) {
            LogFailedConnectToDestinationServer(destination.getIP());
            return;
        }
    }
    UpdateChainLog(destination.getIP());
}

void CCommonBase::UpdateChainLog(const char* text) {
    const char* name = m_HostName.empty() ? (text ? text : "") : m_HostName.c_str();
    CBaseServer::EngineLogs().ChainLogAddItem(m_Chain.GetConnectedHops(), name);
}

void CCommonBase::UpdateChainBallon() {
    if (m_Chain.size() > 0) {
        CProxy* last = m_Chain.GetLastProxyInChain();
        if (!last) return;
        const char* typeText = CProxyMap::getTypeAsString(last->getType());
        const std::string type = typeText ? typeText : "";
        const std::string country = CBaseServer::m_ProxyPool.IFindCountry(last->getIP());
        std::string text = "Connecting through:\n\t";
        text += KnownCountry(country) ? "( " + type + " - " + country + " )" : "( " + type + " )";
        CBaseServer::LogToolTip(text);
    } else if (WantsChain()) {
        CBaseServer::LogToolTip(kConnectedDirectly);
    }
}

void CCommonBase::LogFailedConnectToDestinationServer(const char*) { CBaseServer::LogToolTip(kFailedToConnect); }
