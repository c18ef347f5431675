#include "relay/CGeneralProxy.h"

#include "relay/AcceptClients.h"
#include "relay/CGeneralReqSock.h"

void CGeneralProxy::OnAccept(int nErrorCode) {
    if (nErrorCode != 0) return;
    AcceptClients<CGeneralReqSock>(*this, [this](std::unique_ptr<CGeneralReqSock> client) {
        AddClient(std::move(client));
    });
    DeleteClosedSockets();
}
