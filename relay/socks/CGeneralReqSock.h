#pragma once
// The client side of one general-listener connection. The first byte the
// client sends fixes the protocol for the life of the connection: 4 SOCKS4,
// 5 SOCKS5, anything else HTTP. HTTP blocks are handled as the HTTP
// listener's (outgoing filter, block pages, CONNECT tunnels); SOCKS blocks
// go to the embedded SOCKS destination side.

#include "relay/http/ChttpResponseSock.h"
#include "relay/listeners/CRelayClientSock.h"
#include "relay/socks/CSock4SrvrClntSocket.h"
#include "relay/socks/CSock5SrvrClntSocket.h"

class CGeneralReqSock : public CRelayClientSock {
public:
    static constexpr int kMaxReceive = 10140;

    enum eProtocol : int { PROTOCOL_UNKNOWN = 0, PROTOCOL_HTTP = 1, PROTOCOL_SOCKS4 = 2, PROTOCOL_SOCKS5 = 3 };

    CGeneralReqSock();
    ~CGeneralReqSock() override;

    // CCommonBase
    void Free_Objects() override;
    bool IsSafeToDelete() override;
    bool IsObjectKilled() override;
    void KillObject() override;

protected:
    // CRelayClientSock
    CRelayServerSock* ServerSide() override;
    bool OnClientBlock(char* data, int length) override;

private:
    // The SOCKS side in use; null for HTTP or before the first byte.
    CSocksRelaySock* SocksSide();

    ChttpResponseSock m_Http;
    CSock4SrvrClntSocket m_Sock4;
    CSock5SrvrClntSocket m_Sock5;
    eProtocol m_Protocol = PROTOCOL_UNKNOWN;
};
