#pragma once
// The local HTTP proxy's listener: each accepted browser connection becomes
// a ChttpReqSock.

#include "relay/listeners/CVirtualProxy.h"

class CHttpProxy : public CVirtualProxy {
public:
    // CAsyncSocketEx
    void OnAccept(int nErrorCode) override;
};
