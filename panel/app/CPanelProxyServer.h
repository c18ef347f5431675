#pragma once
// The control panel's proxy-server thread object. One is made at start-up
// and kept in CBaseServer::mpProxyServer; it deletes itself when its thread
// ends (which clears that pointer).

#include "relay/engine/CProxyServer.h"

class CPanelProxyServer : public CProxyServer {
public:
    ~CPanelProxyServer() override;
};
