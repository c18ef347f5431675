#include "relay/CSock4Proxy.h"

#include "relay/AcceptClients.h"
#include "relay/CSock4ReqSock.h"

void CSock4Proxy::OnAccept(int nErrorCode) {
    if (nErrorCode != 0) return;
    AcceptClients<CSock4ReqSock>(*this, [this](std::unique_ptr<CSock4ReqSock> client) {
        AddClient(std::move(client));
    });
    DeleteClosedSockets();
}
