#pragma once
// The client side of one local SOCKS4 or SOCKS5 connection: every block the
// client sends goes to the embedded destination side, which parses the
// request and then relays unchanged.

#include "relay/listeners/CRelayClientSock.h"
#include "relay/socks/CSocksRelaySock.h"

class CSocksClientSock : public CRelayClientSock {
public:
    static constexpr int kMaxReceive = 10239;

    // server: the destination side the subclass embeds (not used before the
    // subclass is constructed).
    explicit CSocksClientSock(CSocksRelaySock& server);

    // CCommonBase
    void Free_Objects() override;
    bool IsSafeToDelete() override;
    bool IsObjectKilled() override;
    void KillObject() override;

protected:
    // CRelayClientSock
    CRelayServerSock* ServerSide() override { return &m_Server; }
    bool OnClientBlock(char* data, int length) override;

private:
    CSocksRelaySock& m_Server;
};
