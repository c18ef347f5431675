#include "relay/CSocksRelaySock.h"

#include <mutex>

#include "platform/Sockets.h"
#include "relay/CBaseServer.h"
#include "relay/CProxyServer.h"
#include "relay/ChttpResponseSock.h"

namespace {

// Upstream receives taken per read notice before the loop yields.
constexpr int kReadsPerNotice = 16;

bool WouldBlock() { return CAsyncSocketEx::GetLastError() == platform::WSAEWOULDBLOCK; }

}  // namespace

CSocksRelaySock::CSocksRelaySock(IRelayClient* owner, eRequestType type)
    : m_pOwner(owner), m_Type(type), m_pBuffer(std::make_unique<char[]>(kBufferSize)) {
    SetFirstData(true);
}

CSocksRelaySock::~CSocksRelaySock() = default;

void CSocksRelaySock::HandleClientData(const char* data, int length) {
    if (length <= 0) return;
    const std::string_view bytes(data, static_cast<std::size_t>(length));
    switch (m_State) {
    case eLegState::Handshake: {
        SocksStep step = ParseRequest(bytes);
        if (step.state == eSocksState::Failed) {
            SendFailureAnswer(step.reply);
        } else {
            m_pOwner->QueueToClient(step.reply);
            if (step.state == eSocksState::Done && m_State == eLegState::Handshake) StartSetup(step);
        }
        break;
    }
    case eLegState::SettingUp:
    case eLegState::Tunnel:
        // Relayed unchanged; kept until the upstream is attached.
        QueueToServer(bytes);
        break;
    default:
        break;
    }
}

bool CSocksRelaySock::UpstreamFull() const { return m_ToServer.Size() >= ChttpResponseSock::kPendingLimit; }

void CSocksRelaySock::StartSetup(const SocksStep& request) {
    SetFirstData(false);
    SetDestinationHost({});
    SetDestinationAddress(request.address);
    SetDestinationPort(request.port);
    SetTunnel(true);
    SetRequestType(m_Type);
    SetRequest(nullptr, 0);
    m_bServerDone = false;
    m_State = eLegState::SettingUp;
    // Bytes sent right after the request follow it upstream.
    QueueToServer(request.surplus);
    // A destination that cannot be reached fails without any connection.
    if (request.address == 0 || request.port == 0 || !StartChainSetupThread()) SendFailureAnswer(FailureReply());
}

void CSocksRelaySock::OnCreateConnection(bool ok) {
    if (m_State != eLegState::SettingUp) {
        CAsyncSocketEx::Close();
        return;
    }
    if (!ok) {
        SendFailureAnswer(FailureReply());
        return;
    }
    m_bWriteBlocked = false;
    FreeRequestCopy();
    m_State = eLegState::Tunnel;
    m_pOwner->QueueToClient(SuccessReply());
    m_pOwner->QueueToClient(TakeUpstreamSurplus());
    if (m_State == eLegState::Closed) return;
    if (!FlushToServer()) {
        CloseBoth();
        return;
    }
    m_pOwner->ResumeReading();
}

void CSocksRelaySock::QueueToServer(std::string_view bytes) {
    if (bytes.empty()) return;
    const bool open = m_State == eLegState::Tunnel && HoldsHandle();
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

bool CSocksRelaySock::FlushToServer() {
    if (m_ToServer.Empty() || !HoldsHandle()) return true;
    const eSendOutcome outcome = m_ToServer.SendTo(SendToServer());
    m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    return outcome != eSendOutcome::Failed;
}

SendFunction CSocksRelaySock::SendToServer() {
    return [this](const char* data, int length) { return CAsyncSocketEx::Send(data, length); };
}

void CSocksRelaySock::SendFailureAnswer(std::string_view reply) {
    m_ToServer.Clear();
    CAsyncSocketEx::Close();
    m_State = eLegState::Closing;
    m_bServerDone = true;
    m_pOwner->QueueToClient(reply);
    FinishClosingIfDone();
}

void CSocksRelaySock::ClientClosed() {
    switch (m_State) {
    case eLegState::Handshake:
        // A request cut short: the client may still read.
        SendFailureAnswer(FailureReply());
        break;
    case eLegState::Tunnel:
        m_State = eLegState::Closing;
        m_bServerDone = false;
        m_pOwner->CloseClientSocket();
        if (!FlushToServer()) CloseBoth();
        FinishClosingIfDone();
        break;
    case eLegState::Closed:
        break;
    default:
        // Nobody takes the rest any more; a running setup is abandoned.
        CloseBoth();
        break;
    }
}

void CSocksRelaySock::ServerClosed() {
    if (m_State != eLegState::Tunnel) {
        if (m_State == eLegState::Closing) CloseBoth();
        return;
    }
    m_State = eLegState::Closing;
    m_bServerDone = true;
    m_ToServer.Clear();
    CAsyncSocketEx::Close();
    FinishClosingIfDone();
}

void CSocksRelaySock::FinishClosingIfDone() {
    if (m_State != eLegState::Closing) return;
    const bool drained = m_bServerDone ? m_pOwner->ClientPendingEmpty() : m_ToServer.Empty();
    if (drained) CloseBoth();
}

void CSocksRelaySock::CloseBoth() {
    m_State = eLegState::Closed;
    m_ToServer.Clear();
    CAsyncSocketEx::Close();
    m_pOwner->CloseClientSocket();
    m_pOwner->KillObject();
}

void CSocksRelaySock::ResumeReading() {
    if (!m_bReadPaused) return;
    m_bReadPaused = false;
    OnReceive(0);
}

void CSocksRelaySock::Close() { CloseBoth(); }

int CSocksRelaySock::Receive(void* lpBuf, int nBufLen, int nFlags) {
    if (CProxyServer::m_bShuttingDown.load()) return 0;
    const int received = CAsyncSocketEx::Receive(lpBuf, nBufLen, nFlags);
    if (received > 0) CBaseServer::SetToolBarIncomingData(received);
    return received;
}

void CSocksRelaySock::OnReceive(int nErrorCode) {
    if (nErrorCode != 0 || !m_pBuffer || !HoldsHandle() || m_State != eLegState::Tunnel) return;
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
        m_pOwner->QueueToClient({buffer, static_cast<std::size_t>(received)});
        if (m_State != eLegState::Tunnel) return;
    }
}

void CSocksRelaySock::OnSend(int nErrorCode) {
    if (nErrorCode != 0) return;
    m_bWriteBlocked = false;
    if (!FlushToServer()) {
        CloseBoth();
        return;
    }
    if (!UpstreamFull()) m_pOwner->ResumeReading();
    FinishClosingIfDone();
}

void CSocksRelaySock::OnClose(int) {
    // Every byte was read before the notice: what the client still has to
    // take goes out, then both sides close.
    ServerClosed();
}

void CSocksRelaySock::Free_Buffer() {
    std::lock_guard lock(m_CS);
    m_pBuffer.reset();
}
