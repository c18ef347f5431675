#include "relay/socks/CGeneralProxy.h"

#include "relay/listeners/AcceptClients.h"
#include "relay/socks/CGeneralReqSock.h"

void CGeneralProxy::OnAccept(int nErrorCode) {
    if (nErrorCode != 0) return;
    AcceptClients<CGeneralReqSock>(*this, [this](std::unique_ptr<CGeneralReqSock> client) {
        AddClient(std::move(client));
    });
    DeleteClosedSockets();
}
