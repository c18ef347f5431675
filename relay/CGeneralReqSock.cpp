#include "relay/CGeneralReqSock.h"

#include <algorithm>
#include <string>

#include "kvres/RelayStrings.h"
#include "relay/CBaseServer.h"

namespace {

constexpr std::string_view kBlockPageHead = "HTTP/1.0 403 Forbidden\r\nContent-Type: text/html\r\n\r\n";
constexpr unsigned kServerBlockedPage = 1001;
constexpr unsigned kAdBlockedPage = 1002;

bool Stopped(ChttpResponseSock::eLegState state) {
    return state == ChttpResponseSock::eLegState::Closing || state == ChttpResponseSock::eLegState::Closed;
}

bool Stopped(CSocksRelaySock::eLegState state) {
    return state == CSocksRelaySock::eLegState::Closing || state == CSocksRelaySock::eLegState::Closed;
}

}  // namespace

CGeneralReqSock::CGeneralReqSock() : CRelayClientSock(kMaxReceive), m_Http(this), m_Sock4(this), m_Sock5(this) {}

CGeneralReqSock::~CGeneralReqSock() = default;

CSocksRelaySock* CGeneralReqSock::SocksSide() {
    if (m_Protocol == PROTOCOL_SOCKS4) return &m_Sock4;
    if (m_Protocol == PROTOCOL_SOCKS5) return &m_Sock5;
    return nullptr;
}

void CGeneralReqSock::Close() { CloseConnection(); }

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

CRelayClientSock::eClientRead CGeneralReqSock::ClientReadState() {
    if (CSocksRelaySock* socks = SocksSide()) {
        if (Stopped(socks->GetState())) return eClientRead::Stop;
        return socks->UpstreamFull() ? eClientRead::Pause : eClientRead::Go;
    }
    if (m_Protocol == PROTOCOL_HTTP) {
        if (Stopped(m_Http.GetState())) return eClientRead::Stop;
        return m_Http.UpstreamFull() ? eClientRead::Pause : eClientRead::Go;
    }
    return eClientRead::Go;
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
    return HandleHttpBlock(data, length);
}

bool CGeneralReqSock::HandleHttpBlock(char* data, int length) {
    const ChttpResponseSock::eLegState state = m_Http.GetState();
    // Bytes for a tunnel (also those sent before it is open) pass as they
    // are.
    if (state == ChttpResponseSock::eLegState::Tunnel ||
        (state == ChttpResponseSock::eLegState::SettingUp && m_Http.GetTunnel())) {
        m_Http.ForwardTunnelData(data, length);
        return true;
    }
    data[length] = '\0';
    const eRequestState verdict = CBaseServer::FilterSend(data, length);
    length = std::clamp(length, 0, kBufferSize - 1);
    switch (verdict) {
    case REQUEST_STATE_PASS:
        return m_Http.HandleHttpRequest(data, length) == 0;
    case REQUEST_STATE_BLOCK_SERVER:
        SendBlockPage(kServerBlockedPage);
        return false;
    case REQUEST_STATE_BLOCK_AD:
        SendBlockPage(kAdBlockedPage);
        return false;
    default:
        m_Http.CloseBoth();
        return false;
    }
}

void CGeneralReqSock::SendBlockPage(unsigned id) {
    std::string page(kBlockPageHead);
    page += kvres::RelayStrings().LoadString(id);
    m_Http.SendBlockAnswer(page);
}

void CGeneralReqSock::OnClientClosed() {
    if (CSocksRelaySock* socks = SocksSide()) {
        socks->ClientClosed();
    } else if (m_Protocol == PROTOCOL_HTTP) {
        m_Http.ClientClosed();
    } else {
        CloseConnection();
    }
}

void CGeneralReqSock::CloseConnection() {
    if (CSocksRelaySock* socks = SocksSide()) {
        socks->CloseBoth();
    } else if (m_Protocol == PROTOCOL_HTTP) {
        m_Http.CloseBoth();
    } else {
        CloseClientSocket();
        KillObject();
    }
}

void CGeneralReqSock::OnClientRoom() {
    if (CSocksRelaySock* socks = SocksSide()) {
        if (!ClientFull()) socks->ResumeReading();
        socks->FinishClosingIfDone();
    } else if (m_Protocol == PROTOCOL_HTTP) {
        if (!ClientFull()) m_Http.ResumeReading();
        m_Http.FinishClosingIfDone();
    }
}
