#pragma once
// The client side of one local SOCKS4 connection, with its destination side.

#include "relay/socks/CSock4SrvrClntSocket.h"
#include "relay/socks/CSocksClientSock.h"

class CSock4ReqSock : public CSocksClientSock {
public:
    CSock4ReqSock() : CSocksClientSock(m_Server), m_Server(this) {}

private:
    CSock4SrvrClntSocket m_Server;
};
