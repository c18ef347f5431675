#pragma once
// The client side of one local SOCKS5 connection, with its destination side.

#include "relay/socks/CSock5SrvrClntSocket.h"
#include "relay/socks/CSocksClientSock.h"

class CSock5ReqSock : public CSocksClientSock {
public:
    CSock5ReqSock() : CSocksClientSock(m_Server), m_Server(this) {}

private:
    CSock5SrvrClntSocket m_Server;
};
