#pragma once
// The local SOCKS4 proxy's listener: each accepted client becomes a
// CSock4ReqSock.

#include "relay/listeners/CVirtualProxy.h"

class CSock4Proxy : public CVirtualProxy {
public:
    // CAsyncSocketEx
    void OnAccept(int nErrorCode) override;
};
