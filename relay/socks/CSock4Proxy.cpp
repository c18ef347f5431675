#include "relay/socks/CSock4Proxy.h"

#include "relay/socks/CSock4ReqSock.h"

void CSock4Proxy::OnAccept(int nErrorCode) {
    if (nErrorCode == 0) AcceptClients<CSock4ReqSock>();
}
