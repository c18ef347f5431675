#pragma once
// The engine's logs (chain, program, filtration counters) as the facade and
// the connections write them. The default (CEngineLogs) writes the
// facade's logs; tests put a recorder in its place with
// CBaseServer::SetEngineLogs.

class CBProxyChain;

class IEngineLogs {
public:
    virtual ~IEngineLogs() = default;

    // A connected chain and its destination (from a chain-setup worker).
    virtual void ChainLogAddItem(CBProxyChain&, const char*) {}
    // At every server start.
    virtual void ChainLogRemoveAllElements() {}
    // When the proxy-server thread ends: forget the attached window.
    virtual void ChainLogDettach() {}
    // At every server stop: free the stored chains.
    virtual void ChainLogFreeStoredChains() {}
    // The client program of a request (on the proxy-server thread).
    virtual void UpdateProgLog(const char*) {}
    virtual void ResetFiltrationLog() {}
};
