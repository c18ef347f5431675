#pragma once
// The chain of proxies chosen for one client connection: the members the
// pool picked (private and public parts, and an HTTP proxy for the last hop
// of HTTP requests), the plan of how many of each to use, and the hops
// actually connected, which go to the chain log.

#include <vector>

#include "common/eProxyType.h"
#include "platform/CriticalSection.h"
#include "platform/SocketHandle.h"
#include "relay/pool/CBProxyChain.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/eConnectionStatus.h"

class CCommonBase;

class CProxyChain {
public:
    explicit CProxyChain(CCommonBase* owner = nullptr);
    CProxyChain(const CProxyChain&) = default;
    CProxyChain& operator=(const CProxyChain&) = default;
    virtual ~CProxyChain() = default;

    bool GetUseHttp() const { return m_UseHttp; }
    void SetUseHttp(bool use) { m_UseHttp = use; }
    CCommonBase* GetOwner() const { return m_pOwner; }
    void SetOwner(CCommonBase* owner) { m_pOwner = owner; }

    CBProxyChain& GetPrivatePart() { return m_PrivatePart; }
    CBProxyChain& GetPublicPart() { return m_PublicPart; }
    // The last hop when the use-HTTP flag is set.
    CProxy& GetRandomHttpProxy() { return m_RandomHttpProxy; }
    // The proxies actually connected, in order, the firewall proxy included.
    CBProxyChain& GetConnectedHops() { return m_ConnectedHops; }

    // Plans how many private and public members a chain of length hops
    // uses, from the sizes of the two parts and the use-HTTP flag.
    void ExtractChainRequirments(int length);
    int GetPrivateHopsToUse() const { return m_PrivateHops; }
    int GetPublicHopsToUse() const { return m_PublicHops; }

    // Appends a connected hop and makes it the last one.
    void AddConnectedHop(CProxy* proxy);
    // Empties both parts and the connected hops.
    void clear();
    // Empties the connected hops.
    void DeleteLogVector();
    // Empties the connected hops and sets their number to 0 (a failed hop).
    void ResetConnectedHops();

    // The connects, run by the owner's chain-setup worker (in
    // CProxyChainConnect.cpp). The socket connected to the last hop, or -1;
    // failed members go to the pool.
    platform::SOCKET ChainConnect();
    // One hop: with s -1, connects to second (through the firewall proxy
    // when there is one); otherwise asks first, over s, for second.
    eConnectionStatus ConnectFromTo(CProxy* first, CProxy* second, platform::SOCKET& s);
    // The last first hop failed at the firewall proxy itself (it refused,
    // or it failed and fails its own test too): no chain member is at fault.
    bool FirewallFailed() const { return m_bFirewallFailed; }
    // The first member of list that can be reached; the socket or -1.
    platform::SOCKET ConnectToPrivateProxy(const std::vector<CProxy*>& list);
    // The private lists SOCKS4, SOCKS5, HTTPS, and HTTP unless tunnel.
    platform::SOCKET ConnectToAnyPrivateProxy(bool tunnel);

    // The number of connected hops.
    int size() const { return m_HopCount; }
    CProxy* GetLastProxyInChain() const { return m_pLastProxy; }
    eProxyType GetLastProxyInChainType() const { return m_LastType; }

private:
    bool m_UseHttp = false;
    CCommonBase* m_pOwner;
    CBProxyChain m_PrivatePart;
    CBProxyChain m_PublicPart;
    CProxy m_RandomHttpProxy;
    // Constructed, copied and destroyed with the chain; nothing else uses it.
    CProxy m_SpareProxy;
    CBProxyChain m_ConnectedHops;
    int m_PrivateHops = 0;
    int m_PublicHops = 0;
    int m_HopCount = 0;
    eProxyType m_LastType = PROXY_TYPE_UNKNOWN;
    CProxy* m_pLastProxy = nullptr;
    bool m_bFirewallFailed = false;

    // Guards clear and DeleteLogVector of every chain.
    static platform::CriticalSection m_CS;
};
