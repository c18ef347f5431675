#pragma once
// The general listener: HTTP, SOCKS4 and SOCKS5 on one port; each accepted
// client becomes a CGeneralReqSock, which tells the protocol by the first
// byte.

#include "relay/listeners/CVirtualProxy.h"

class CGeneralProxy : public CVirtualProxy {
public:
    // CAsyncSocketEx
    void OnAccept(int nErrorCode) override;
};
