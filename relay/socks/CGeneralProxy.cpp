#include "relay/socks/CGeneralProxy.h"

#include "relay/socks/CGeneralReqSock.h"

void CGeneralProxy::OnAccept(int nErrorCode) {
    if (nErrorCode == 0) AcceptClients<CGeneralReqSock>();
}
