// Connecting through a chain, hop by hop, on the owner's chain-setup
// worker: the firewall proxy (when there is one) as the very first hop, the
// planned private and public members, and the HTTP proxy of an HTTP request
// last. Whom a failed hop blames: 1 the proxy spoken to, 2 the next one; a
// firewall proxy that fails is not a chain member and blames nobody.

#include <exception>

#include "relay/engine/CBaseServer.h"
#include "relay/pool/CProxyChain.h"
#include "relay/upstream/CCommonBase.h"

platform::SOCKET CProxyChain::ChainConnect() {
    platform::SOCKET s = platform::INVALID_SOCKET;
    ResetConnectedHops();
    if (!m_pOwner) return s;
    CCommonBase& owner = *m_pOwner;
    CProxyMap& pool = CBaseServer::m_ProxyPool;
    try {
        owner.CheckIsKilled();
        ExtractChainRequirments(owner.GetChainSettings().getChainLength());
        owner.CheckIsKilled();
        const std::vector<CProxy*> privateMembers = m_PrivatePart.Snapshot();
        const std::vector<CProxy*> publicMembers = m_PublicPart.Snapshot();
        CProxy* current = nullptr;
        // The first hop is connected directly; every later one is asked of
        // the hop before it.
        const auto reach = [&](CProxy* next) {
            if (!current) {
                if (ConnectFromTo(next, next, s) != CONNECTION_CONNECTED) {
                    if (!FirewallFailed()) pool.HandleFailedProxy(next);
                    return false;
                }
            } else {
                owner.CheckIsKilled();
                const eConnectionStatus result = ConnectFromTo(current, next, s);
                if (result != CONNECTION_CONNECTED) {
                    pool.HandleFailedProxy(result == CONNECTION_FAILED ? current : next);
                    return false;
                }
            }
            current = next;
            return true;
        };
        for (int i = 0; i < m_PrivateHops && i < static_cast<int>(privateMembers.size()); ++i) {
            if (!reach(privateMembers[i])) return platform::INVALID_SOCKET;
        }
        for (int i = 0; i < m_PublicHops && i < static_cast<int>(publicMembers.size()); ++i) {
            if (!reach(publicMembers[i])) return platform::INVALID_SOCKET;
        }
        if (m_UseHttp && !reach(&m_RandomHttpProxy)) return platform::INVALID_SOCKET;
        return s;
    } catch (bool) {
        CCommonBase::Abort(s);
        throw;
    } catch (const std::exception&) {
        CCommonBase::Abort(s);
        ResetConnectedHops();
        return platform::INVALID_SOCKET;
    }
}

eConnectionStatus CProxyChain::ConnectFromTo(CProxy* first, CProxy* second, platform::SOCKET& s) {
    if (!m_pOwner || !second) return CONNECTION_FAILED;
    CCommonBase& owner = *m_pOwner;
    eConnectionStatus result = CONNECTION_CONNECTED;
    m_bFirewallFailed = false;
    if (s == platform::INVALID_SOCKET) {
        CChainSettings& settings = owner.GetChainSettings();
        if (!settings.IsBehindFireWall()) {
            if (owner.Connect(s, second->getIP(), second->getPort())) {
                AddConnectedHop(second);
                return CONNECTION_CONNECTED;
            }
            ResetConnectedHops();
            return CONNECTION_FAILED;
        }
        CProxy& firewall = settings.getFireWallProxy();
        if (!owner.Connect(s, firewall.getIP(), firewall.getPort())) {
            m_bFirewallFailed = true;
            ResetConnectedHops();
            return CONNECTION_REFUSED;
        }
        owner.CheckIsKilled();
        AddConnectedHop(&firewall);
        // Reaching another proxy through a plain HTTP proxy needs CONNECT.
        const int type = firewall.getType() == PROXY_TYPE_HTTP ? PROXY_TYPE_HTTPS : PROXY_TYPE_UNKNOWN;
        result = owner.ConnectFromTo(firewall, *second, s, type);
        m_bFirewallFailed = result == CONNECTION_FAILED;
    } else {
        if (!first) return CONNECTION_FAILED;
        result = owner.ConnectFromTo(*first, *second, s, PROXY_TYPE_UNKNOWN);
    }
    if (result != CONNECTION_CONNECTED) {
        ResetConnectedHops();
        CCommonBase::Abort(s);
        return result;
    }
    AddConnectedHop(second);
    return CONNECTION_CONNECTED;
}

platform::SOCKET CProxyChain::ConnectToPrivateProxy(const std::vector<CProxy*>& list) {
    for (CProxy* member : list) {
        m_pOwner->CheckIsKilled();
        platform::SOCKET s = platform::INVALID_SOCKET;
        try {
            if (ConnectFromTo(member, member, s) == CONNECTION_CONNECTED) return s;
        } catch (bool) {
            CCommonBase::Abort(s);
            throw;
        }
    }
    ResetConnectedHops();
    return platform::INVALID_SOCKET;
}

platform::SOCKET CProxyChain::ConnectToAnyPrivateProxy(bool tunnel) {
    ResetConnectedHops();
    if (!m_pOwner || !m_pOwner->GetChainSettings().getUsePrivateProxies()) return platform::INVALID_SOCKET;
    static constexpr eProxyType kOrder[] = {PROXY_TYPE_SOCKS4, PROXY_TYPE_SOCKS5, PROXY_TYPE_HTTPS, PROXY_TYPE_HTTP};
    for (const eProxyType type : kOrder) {
        // A plain HTTP proxy cannot carry a tunnel.
        if (type == PROXY_TYPE_HTTP && tunnel) continue;
        const platform::SOCKET s = ConnectToPrivateProxy(CBaseServer::m_ProxyPool.CopyPrivateList(type));
        if (s != platform::INVALID_SOCKET) return s;
    }
    return platform::INVALID_SOCKET;
}
