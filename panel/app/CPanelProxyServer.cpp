#include "panel/app/CPanelProxyServer.h"

CPanelProxyServer::~CPanelProxyServer() = default;
