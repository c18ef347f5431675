#include "relay/http/CHttpProxy.h"

#include "relay/http/ChttpReqSock.h"

void CHttpProxy::OnAccept(int nErrorCode) {
    if (nErrorCode == 0) AcceptClients<ChttpReqSock>();
}
