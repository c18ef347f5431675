#pragma once
// The local SOCKS5 proxy's listener: each accepted client becomes a
// CSock5ReqSock.

#include "relay/listeners/CVirtualProxy.h"

class CSock5Proxy : public CVirtualProxy {
public:
    // CAsyncSocketEx
    void OnAccept(int nErrorCode) override;
};
