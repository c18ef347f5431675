#include "relay/socks/CSock4Proxy.h"

#include "relay/listeners/AcceptClients.h"
#include "relay/socks/CSock4ReqSock.h"

void CSock4Proxy::OnAccept(int nErrorCode) {
    if (nErrorCode != 0) return;
    AcceptClients<CSock4ReqSock>(*this, [this](std::unique_ptr<CSock4ReqSock> client) {
        AddClient(std::move(client));
    });
    DeleteClosedSockets();
}
