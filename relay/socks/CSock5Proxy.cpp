#include "relay/socks/CSock5Proxy.h"

#include "relay/socks/CSock5ReqSock.h"

void CSock5Proxy::OnAccept(int nErrorCode) {
    if (nErrorCode == 0) AcceptClients<CSock5ReqSock>();
}
