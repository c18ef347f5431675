#include "relay/socks/CSock5Proxy.h"

#include "relay/listeners/AcceptClients.h"
#include "relay/socks/CSock5ReqSock.h"

void CSock5Proxy::OnAccept(int nErrorCode) {
    if (nErrorCode != 0) return;
    AcceptClients<CSock5ReqSock>(*this, [this](std::unique_ptr<CSock5ReqSock> client) {
        AddClient(std::move(client));
    });
    DeleteClosedSockets();
}
