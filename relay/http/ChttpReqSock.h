#pragma once
// The client side of one local HTTP proxy connection (the browser's
// socket). It reads the browser's data and hands it to its embedded
// destination side (outgoing filter, block pages, CONNECT tunnels); it
// sends what the destination side relays back, keeping what the browser
// cannot take yet (reading the upstream pauses until it drains).

#include "relay/http/ChttpResponseSock.h"
#include "relay/listeners/CRelayClientSock.h"

class ChttpReqSock : public CRelayClientSock {
public:
    // Bytes one client receive takes.
    static constexpr int kMaxReceive = 10140;

    ChttpReqSock();
    ~ChttpReqSock() override;

    ChttpResponseSock& Response() { return m_Response; }

    // CCommonBase
    void Free_Objects() override;
    bool IsSafeToDelete() override;
    bool IsObjectKilled() override;
    void KillObject() override;

protected:
    // CRelayClientSock
    CRelayServerSock* ServerSide() override { return &m_Response; }
    bool OnClientBlock(char* data, int length) override { return m_Response.HandleClientBlock(data, length); }

private:
    ChttpResponseSock m_Response;
};
