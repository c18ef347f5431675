#include "relay/http/ChttpResponseSock.h"

#include <algorithm>

#include "kvres/RelayStrings.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/IEngineLogs.h"
#include "relay/http/HttpRequestText.h"
#include "relay/listeners/CRelayClientSock.h"

namespace {

constexpr std::string_view kFailureAnswer =
    "HTTP/1.0 502 Bad Gateway\r\n"
    "Content-Type: text/plain\r\n"
    "Content-Length: 29\r\n"
    "Connection: close\r\n"
    "\r\n"
    "Cannot find the desired page!";

constexpr std::string_view kBlockPageHead = "HTTP/1.0 403 Forbidden\r\nContent-Type: text/html\r\n\r\n";
constexpr unsigned kServerBlockedPage = 1001;
constexpr unsigned kAdBlockedPage = 1002;

// What a filter gives back stays inside the buffer.
int ClampToBuffer(int length, int size) { return std::clamp(length, 0, size - 1); }

}  // namespace

ChttpResponseSock::ChttpResponseSock(IRelayClient* owner) : CRelayServerSock(owner, kMaxReceive) {}

ChttpResponseSock::~ChttpResponseSock() = default;

int ChttpResponseSock::HandleHttpRequest(char* buffer, int& length) {
    m_RequestText = length > 0 ? std::string_view(buffer, static_cast<std::size_t>(length)) : std::string_view();
    m_Host.clear();
    if (length <= 0) {
        CloseBoth();
        return 1;
    }
    SetFirstData(false);
    CBaseServer::EngineLogs().UpdateProgLog(buffer);
    ExtractRequestInfo();

    switch (GetState()) {
    case eLegState::Idle:
        StartSetup(buffer, length);
        break;
    case eLegState::SettingUp:
        // One setup at a time: what comes meanwhile follows the request.
        QueueToServer({buffer, static_cast<std::size_t>(length)});
        break;
    case eLegState::Relaying:
        if (m_Host.empty() || (m_Host == GetDestinationHost() && m_Port == GetDestinationPort())) {
            QueueRequestBlock(buffer, length);
        } else {
            // A request for another destination needs an upstream of its own.
            DropUpstream();
            StartSetup(buffer, length);
        }
        break;
    default:
        break;
    }
    return 0;
}

void ChttpResponseSock::ExtractRequestInfo() {
    const HttpRequestInfo info = ::ExtractRequestInfo(m_RequestText);
    m_Host = info.host;
    m_Port = info.port;
    m_bConnect = info.connect;
}

bool ChttpResponseSock::MakeRequestRelative(char* buffer, int& length) {
    return length > 0 && ::MakeRequestRelative(buffer, static_cast<std::size_t>(length));
}

void ChttpResponseSock::SendConnectionSuccess(const char* host) {
    std::string answer = "HTTP/1.1 200 OK\r\nHost: ";
    answer += host ? host : "";
    answer += "\r\n\r\n";
    Owner().QueueToClient(answer);
    m_bConnect = false;
}

void ChttpResponseSock::ForwardTunnelData(const char* data, int length) {
    if (length > 0) QueueToServer({data, static_cast<std::size_t>(length)});
}

bool ChttpResponseSock::HandleClientBlock(char* data, int length) {
    // Bytes for a tunnel (also those sent before it is open) pass as they
    // are.
    const eLegState state = GetState();
    if (state == eLegState::Tunnel || (state == eLegState::SettingUp && GetTunnel())) {
        ForwardTunnelData(data, length);
        return true;
    }
    data[length] = '\0';
    const eRequestState verdict = CBaseServer::FilterSend(data, length);
    length = std::clamp(length, 0, CRelayClientSock::kBufferSize - 1);
    switch (verdict) {
    case REQUEST_STATE_PASS:
        return HandleHttpRequest(data, length) == 0;
    case REQUEST_STATE_BLOCK_SERVER:
        SendBlockPage(kServerBlockedPage);
        return false;
    case REQUEST_STATE_BLOCK_AD:
        SendBlockPage(kAdBlockedPage);
        return false;
    default:
        CloseBoth();
        return false;
    }
}

void ChttpResponseSock::SendBlockPage(unsigned id) {
    std::string page(kBlockPageHead);
    page += kvres::RelayStrings().LoadString(id);
    SendBlockAnswer(page);
}

void ChttpResponseSock::StartSetup(const char* buffer, int length) {
    SetDestinationHost(m_Host);
    SetDestinationAddress(0);
    SetDestinationPort(m_Port);
    SetTunnel(m_bConnect);
    SetRequestType(REQUEST_HTTP);
    SetRequest(buffer, length);
    m_ScriptState.Reset();
    BeginSetup();
    if (!StartChainSetupThread()) SendFailureAnswer();
}

void ChttpResponseSock::OpenRelay() {
    const std::string surplus = TakeUpstreamSurplus();
    if (GetTunnel()) {
        SendConnectionSuccess(GetDestinationHost().c_str());
        Owner().QueueToClient(surplus);
        SetState(eLegState::Tunnel);
        return;
    }
    Owner().QueueToClient(surplus);
    std::string request = GetRequestCopy();
    FreeRequestCopy();
    // The stored request goes first, then what arrived during the setup.
    const CPendingBuffer arrived = TakeToServer();
    SetState(eLegState::Relaying);
    QueueRequestBlock(request.data(), static_cast<int>(request.size()));
    QueueToServer(arrived.Front());
}

int ChttpResponseSock::TransformUpstreamBlock(char* buffer, int length) {
    if (GetState() != eLegState::Relaying) return length;
    buffer[length] = '\0';
    CBaseServer::FilterRecv(buffer, length, m_ScriptState);
    return ClampToBuffer(length, kBufferSize);
}

bool ChttpResponseSock::SendsRelative() {
    CProxyChain& chain = GetChain();
    const int hops = chain.size();
    const bool firewall = GetChainSettings().IsBehindFireWall();
    if ((GetChainSettings().getChainLength() == 0 || hops == 0) && !firewall) return true;
    const eProxyType last = chain.GetLastProxyInChainType();
    return hops > 0 && (last == PROXY_TYPE_SOCKS4 || last == PROXY_TYPE_SOCKS5);
}

void ChttpResponseSock::QueueRequestBlock(char* data, int length) {
    if (length <= 0) return;
    std::string_view block(data, static_cast<std::size_t>(length));
    // Only the blanks a rewrite put in front are dropped: blanks that begin
    // a block of a body are data.
    if (SendsRelative() && MakeRequestRelative(data, length)) block.remove_prefix(CountLeadingBlanks(block));
    QueueToServer(block);
}

void ChttpResponseSock::SendFailureAnswer() { SendBlockAnswer(kFailureAnswer); }

void ChttpResponseSock::SendBlockAnswer(std::string_view page) { AnswerAndClose(page); }
