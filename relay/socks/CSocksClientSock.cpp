#include "relay/socks/CSocksClientSock.h"

CSocksClientSock::CSocksClientSock(CSocksRelaySock& server) : CRelayClientSock(kMaxReceive), m_Server(server) {}

void CSocksClientSock::Free_Objects() {
    Free_Buffer();
    m_Server.Free_Buffer();
}

bool CSocksClientSock::IsSafeToDelete() { return CCommonBase::IsSafeToDelete() && m_Server.IsSafeToDelete(); }

bool CSocksClientSock::IsObjectKilled() { return CCommonBase::IsObjectKilled() && m_Server.IsObjectKilled(); }

void CSocksClientSock::KillObject() {
    CCommonBase::KillObject();
    m_Server.KillObject();
}

bool CSocksClientSock::OnClientBlock(char* data, int length) {
    m_Server.HandleClientData(data, length);
    return true;
}
