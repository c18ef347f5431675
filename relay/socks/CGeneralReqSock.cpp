#include "relay/socks/CGeneralReqSock.h"

CGeneralReqSock::CGeneralReqSock() : CRelayClientSock(kMaxReceive), m_Http(this), m_Sock4(this), m_Sock5(this) {}

CGeneralReqSock::~CGeneralReqSock() = default;

CSocksRelaySock* CGeneralReqSock::SocksSide() {
    if (m_Protocol == PROTOCOL_SOCKS4) return &m_Sock4;
    if (m_Protocol == PROTOCOL_SOCKS5) return &m_Sock5;
    return nullptr;
}

void CGeneralReqSock::Free_Objects() {
    Free_Buffer();
    m_Http.Free_Buffer();
    m_Sock4.Free_Buffer();
    m_Sock5.Free_Buffer();
}

bool CGeneralReqSock::IsSafeToDelete() {
    return CCommonBase::IsSafeToDelete() && m_Http.IsSafeToDelete() && m_Sock4.IsSafeToDelete() &&
           m_Sock5.IsSafeToDelete();
}

bool CGeneralReqSock::IsObjectKilled() {
    return CCommonBase::IsObjectKilled() && m_Http.IsObjectKilled() && m_Sock4.IsObjectKilled() &&
           m_Sock5.IsObjectKilled();
}

void CGeneralReqSock::KillObject() {
    CCommonBase::KillObject();
    m_Http.KillObject();
    m_Sock4.KillObject();
    m_Sock5.KillObject();
}

CRelayServerSock* CGeneralReqSock::ServerSide() {
    if (m_Protocol == PROTOCOL_HTTP) return &m_Http;
    return SocksSide();
}

bool CGeneralReqSock::OnClientBlock(char* data, int length) {
    if (m_Protocol == PROTOCOL_UNKNOWN) {
        const auto first = static_cast<unsigned char>(data[0]);
        m_Protocol = first == 4 ? PROTOCOL_SOCKS4 : first == 5 ? PROTOCOL_SOCKS5 : PROTOCOL_HTTP;
    }
    if (CSocksRelaySock* socks = SocksSide()) {
        socks->HandleClientData(data, length);
        return true;
    }
    return m_Http.HandleClientBlock(data, length);
}
