#include "relay/CSocksClientSock.h"

CSocksClientSock::CSocksClientSock(CSocksRelaySock& server) : CRelayClientSock(kMaxReceive), m_Server(server) {}

void CSocksClientSock::Close() { m_Server.CloseBoth(); }

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

CRelayClientSock::eClientRead CSocksClientSock::ClientReadState() {
    const CSocksRelaySock::eLegState state = m_Server.GetState();
    if (state == CSocksRelaySock::eLegState::Closing || state == CSocksRelaySock::eLegState::Closed) {
        return eClientRead::Stop;
    }
    return m_Server.UpstreamFull() ? eClientRead::Pause : eClientRead::Go;
}

bool CSocksClientSock::OnClientBlock(char* data, int length) {
    m_Server.HandleClientData(data, length);
    return true;
}

void CSocksClientSock::OnClientClosed() { m_Server.ClientClosed(); }

void CSocksClientSock::CloseConnection() { m_Server.CloseBoth(); }

void CSocksClientSock::OnClientRoom() {
    if (!ClientFull()) m_Server.ResumeReading();
    m_Server.FinishClosingIfDone();
}
