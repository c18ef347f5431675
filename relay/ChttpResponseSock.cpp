#include "relay/ChttpResponseSock.h"

#include <algorithm>
#include <mutex>

#include "platform/Sockets.h"
#include "relay/CBaseServer.h"
#include "relay/CProxyServer.h"
#include "relay/HttpRequestText.h"
#include "relay/IEngineLogs.h"

namespace {

// Upstream receives taken per read notice before the loop yields.
constexpr int kReadsPerNotice = 16;

constexpr std::string_view kFailureAnswer =
    "HTTP/1.0 502 Bad Gateway\r\n"
    "Content-Type: text/plain\r\n"
    "Content-Length: 29\r\n"
    "Connection: close\r\n"
    "\r\n"
    "Cannot find the desired page!";

bool WouldBlock() { return CAsyncSocketEx::GetLastError() == platform::WSAEWOULDBLOCK; }

// What a filter gives back stays inside the buffer.
int ClampToBuffer(int length, int size) { return std::clamp(length, 0, size - 1); }

}  // namespace

ChttpResponseSock::ChttpResponseSock(IRelayClient* owner)
    : m_pOwner(owner), m_pBuffer(std::make_unique<char[]>(kBufferSize)) {
    SetFirstData(true);
}

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

    switch (m_State) {
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
            CAsyncSocketEx::Close();
            m_ToServer.Clear();
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
    m_pOwner->QueueToClient(answer);
    m_bConnect = false;
}

void ChttpResponseSock::ForwardTunnelData(const char* data, int length) {
    if (length > 0) QueueToServer({data, static_cast<std::size_t>(length)});
}

bool ChttpResponseSock::UpstreamFull() const { return m_ToServer.Size() >= kPendingLimit; }

void ChttpResponseSock::StartSetup(const char* buffer, int length) {
    SetDestinationHost(m_Host);
    SetDestinationAddress(0);
    SetDestinationPort(m_Port);
    SetTunnel(m_bConnect);
    SetRequestType(REQUEST_HTTP);
    SetRequest(buffer, length);
    m_bServerDone = false;
    m_ScriptState.Reset();
    m_State = eLegState::SettingUp;
    if (!StartChainSetupThread()) SendFailureAnswer();
}

void ChttpResponseSock::OnCreateConnection(bool ok) {
    if (m_State != eLegState::SettingUp) {
        CAsyncSocketEx::Close();
        return;
    }
    if (!ok) {
        SendFailureAnswer();
        return;
    }
    m_bWriteBlocked = false;
    const std::string surplus = TakeUpstreamSurplus();
    if (GetTunnel()) {
        SendConnectionSuccess(GetDestinationHost().c_str());
        m_pOwner->QueueToClient(surplus);
        m_State = eLegState::Tunnel;
    } else {
        m_pOwner->QueueToClient(surplus);
        std::string request = GetRequestCopy();
        FreeRequestCopy();
        // The stored request goes first, then what arrived during the setup.
        CPendingBuffer arrived = std::move(m_ToServer);
        m_ToServer.Clear();
        m_State = eLegState::Relaying;
        QueueRequestBlock(request.data(), static_cast<int>(request.size()));
        QueueToServer(arrived.Front());
    }
    if (m_State == eLegState::Closed) return;
    if (!FlushToServer()) {
        CloseBoth();
        return;
    }
    m_pOwner->ResumeReading();
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

void ChttpResponseSock::QueueToServer(std::string_view bytes) {
    if (bytes.empty()) return;
    const bool open = (m_State == eLegState::Relaying || m_State == eLegState::Tunnel) && HoldsHandle();
    if (open && m_ToServer.Empty() && !m_bWriteBlocked) {
        const eSendOutcome outcome = SendUntilBlocked(bytes, SendToServer());
        if (outcome == eSendOutcome::Failed) {
            CloseBoth();
            return;
        }
        m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    }
    m_ToServer.Append(bytes);
}

bool ChttpResponseSock::FlushToServer() {
    if (m_ToServer.Empty() || !HoldsHandle()) return true;
    const eSendOutcome outcome = m_ToServer.SendTo(SendToServer());
    m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    return outcome != eSendOutcome::Failed;
}

SendFunction ChttpResponseSock::SendToServer() {
    return [this](const char* data, int length) { return CAsyncSocketEx::Send(data, length); };
}

void ChttpResponseSock::SendFailureAnswer() {
    SendBlockAnswer(kFailureAnswer);
}

void ChttpResponseSock::SendBlockAnswer(std::string_view page) {
    m_ToServer.Clear();
    CAsyncSocketEx::Close();
    m_State = eLegState::Closing;
    m_bServerDone = true;
    m_pOwner->QueueToClient(page);
    FinishClosingIfDone();
}

void ChttpResponseSock::ClientClosed() {
    switch (m_State) {
    case eLegState::Relaying:
    case eLegState::Tunnel:
        m_State = eLegState::Closing;
        m_bServerDone = false;
        m_pOwner->CloseClientSocket();
        if (!FlushToServer()) CloseBoth();
        FinishClosingIfDone();
        break;
    case eLegState::Closing:
        // Nobody takes the rest any more.
        CloseBoth();
        break;
    case eLegState::Closed:
        break;
    default:
        CloseBoth();
        break;
    }
}

void ChttpResponseSock::ServerClosed() {
    if (m_State != eLegState::Relaying && m_State != eLegState::Tunnel) {
        if (m_State == eLegState::Closing) CloseBoth();
        return;
    }
    m_State = eLegState::Closing;
    m_bServerDone = true;
    m_ToServer.Clear();
    CAsyncSocketEx::Close();
    m_Host.clear();
    FinishClosingIfDone();
}

void ChttpResponseSock::FinishClosingIfDone() {
    if (m_State != eLegState::Closing) return;
    const bool drained = m_bServerDone ? m_pOwner->ClientPendingEmpty() : m_ToServer.Empty();
    if (drained) CloseBoth();
}

void ChttpResponseSock::CloseBoth() {
    m_State = eLegState::Closed;
    m_ToServer.Clear();
    CAsyncSocketEx::Close();
    m_pOwner->CloseClientSocket();
    m_pOwner->KillObject();
}

void ChttpResponseSock::ResumeReading() {
    if (!m_bReadPaused) return;
    m_bReadPaused = false;
    OnReceive(0);
}

void ChttpResponseSock::Close() {
    CloseBoth();
}

int ChttpResponseSock::Receive(void* lpBuf, int nBufLen, int nFlags) {
    if (CProxyServer::m_bShuttingDown.load()) return 0;
    const int received = CAsyncSocketEx::Receive(lpBuf, nBufLen, nFlags);
    if (received > 0) CBaseServer::SetToolBarIncomingData(received);
    return received;
}

void ChttpResponseSock::OnReceive(int nErrorCode) {
    if (nErrorCode != 0 || !m_pBuffer || !HoldsHandle()) return;
    if (m_State != eLegState::Relaying && m_State != eLegState::Tunnel) return;
    char* const buffer = m_pBuffer.get();
    for (int i = 0; i < kReadsPerNotice; ++i) {
        if (m_pOwner->ClientFull()) {
            m_bReadPaused = true;
            return;
        }
        if (CProxyServer::m_bShuttingDown.load()) return;
        const int received = Receive(buffer, kMaxReceive);
        if (received == 0 || (received < 0 && !WouldBlock())) {
            ServerClosed();
            return;
        }
        if (received < 0 || CProxyServer::getStopFlag()) return;
        int length = received;
        if (m_State == eLegState::Relaying) {
            buffer[length] = '\0';
            CBaseServer::FilterRecv(buffer, length, m_ScriptState);
            length = ClampToBuffer(length, kBufferSize);
        }
        m_pOwner->QueueToClient({buffer, static_cast<std::size_t>(length)});
        if (m_State != eLegState::Relaying && m_State != eLegState::Tunnel) return;
    }
}

void ChttpResponseSock::OnSend(int nErrorCode) {
    if (nErrorCode != 0) return;
    m_bWriteBlocked = false;
    if (!FlushToServer()) {
        CloseBoth();
        return;
    }
    if (!UpstreamFull()) m_pOwner->ResumeReading();
    FinishClosingIfDone();
}

void ChttpResponseSock::OnClose(int) {
    // Every byte was read before the notice: what the client still has to
    // take goes out, then both sides close.
    ServerClosed();
}

void ChttpResponseSock::Free_Buffer() {
    std::lock_guard lock(m_CS);
    m_pBuffer.reset();
}
