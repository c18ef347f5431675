#include "relay/listeners/CRelayServerSock.h"

#include <mutex>
#include <utility>

#include "platform/DebugOutput.h"
#include "platform/Sockets.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"

namespace {

// Upstream receives taken per read notice before the loop yields.
constexpr int kReadsPerNotice = 16;

bool WouldBlock() { return CAsyncSocketEx::GetLastError() == platform::WSAEWOULDBLOCK; }

}  // namespace

CRelayServerSock::CRelayServerSock(IRelayClient* owner, int maxReceive)
    : m_pOwner(owner), m_MaxReceive(maxReceive), m_pBuffer(std::make_unique<char[]>(kBufferSize)) {
    SetFirstData(true);
    platform::OutputDebugString("\r\nnew connection with site\r\n");
}

CRelayServerSock::~CRelayServerSock() = default;

bool CRelayServerSock::UpstreamFull() const { return m_ToServer.Size() >= kPendingLimit; }

void CRelayServerSock::OnCreateConnection(bool ok) {
    if (m_State != eLegState::SettingUp) {
        CAsyncSocketEx::Close();
        return;
    }
    if (!ok) {
        SendFailureAnswer();
        return;
    }
    m_bWriteBlocked = false;
    OpenRelay();
    if (m_State == eLegState::Closed) return;
    if (!FlushToServer()) {
        CloseBoth();
        return;
    }
    m_pOwner->ResumeReading();
    // A client that ended during the setup ends the upstream's stream now.
    AdvanceClosing();
}

bool CRelayServerSock::RelayUpstreamBlock(char* buffer, int length) {
    m_pOwner->QueueToClient({buffer, static_cast<std::size_t>(length)});
    return true;
}

void CRelayServerSock::BeginSetup() {
    m_bServerDone = false;
    m_bUpstreamShut = false;
    m_bClientShut = false;
    m_State = eLegState::SettingUp;
}

void CRelayServerSock::AnswerAndClose(std::string_view answer) {
    m_ToServer.Clear();
    CAsyncSocketEx::Close();
    m_State = eLegState::Closing;
    m_pOwner->QueueToClient(answer);
    AdvanceClosing();
}

void CRelayServerSock::DropUpstream() {
    CAsyncSocketEx::Close();
    m_ToServer.Clear();
}

CPendingBuffer CRelayServerSock::TakeToServer() {
    CPendingBuffer taken = std::move(m_ToServer);
    m_ToServer.Clear();
    return taken;
}

void CRelayServerSock::QueueToServer(std::string_view bytes) {
    if (bytes.empty()) return;
    // Sent at once while nothing waits before them; the rest waits for the
    // write notice, which only a send that would block arms.
    if (Open() && HoldsHandle() && m_ToServer.Empty() && !m_bWriteBlocked) {
        const eSendOutcome outcome = SendUntilBlocked(bytes, SendToServer());
        if (outcome == eSendOutcome::Failed) {
            CloseBoth();
            return;
        }
        m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    }
    m_ToServer.Append(bytes);
}

bool CRelayServerSock::FlushToServer() {
    if (m_ToServer.Empty() || !HoldsHandle()) return true;
    const eSendOutcome outcome = m_ToServer.SendTo(SendToServer());
    m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    return outcome != eSendOutcome::Failed;
}

SendFunction CRelayServerSock::SendToServer() {
    return [this](const char* data, int length) { return CAsyncSocketEx::Send(data, length); };
}

void CRelayServerSock::ClientClosed() {
    switch (m_State) {
    case eLegState::SettingUp:
    case eLegState::Relaying:
    case eLegState::Tunnel:
        if (m_bClientDone) return;
        m_bClientDone = true;
        if (Open() && !FlushToServer()) {
            CloseBoth();
            return;
        }
        AdvanceClosing();
        break;
    case eLegState::Idle:
        // Nothing was asked for.
        CloseBoth();
        break;
    default:
        break;
    }
}

void CRelayServerSock::ServerClosed(bool failed) {
    if (!Open() || (m_bServerDone && !failed)) return;
    if (!m_bServerDone) UpstreamEnded();
    if (!Open()) return;
    m_bServerDone = true;
    // A plain HTTP answer ends the connection; nothing more can go to a lost
    // upstream or to one whose client ended already.
    if (failed || m_State == eLegState::Relaying || m_bClientDone) {
        m_State = eLegState::Closing;
        m_ToServer.Clear();
        CAsyncSocketEx::Close();
    }
    AdvanceClosing();
}

void CRelayServerSock::AdvanceClosing() {
    if (m_State == eLegState::Closing) {
        if (m_pOwner->ClientPendingEmpty()) CloseBoth();
        return;
    }
    if (!Open()) return;
    if (m_bClientDone && !m_bUpstreamShut && m_ToServer.Empty()) {
        m_bUpstreamShut = true;
        CAsyncSocketEx::ShutDown(platform::SD_SEND);
    }
    if (m_bServerDone && !m_bClientShut && m_pOwner->ClientPendingEmpty()) {
        m_bClientShut = true;
        m_pOwner->ShutDownClientSending();
    }
    if (m_bUpstreamShut && m_bClientShut) CloseBoth();
}

void CRelayServerSock::CloseBoth() {
    m_State = eLegState::Closed;
    m_ToServer.Clear();
    CAsyncSocketEx::Close();
    m_pOwner->CloseClientSocket();
    m_pOwner->KillObject();
}

void CRelayServerSock::ResumeReading() {
    if (!m_bReadPaused) return;
    m_bReadPaused = false;
    OnReceive(0);
}

void CRelayServerSock::Close() { CloseBoth(); }

int CRelayServerSock::Receive(void* lpBuf, int nBufLen, int nFlags) {
    if (CProxyServer::m_bShuttingDown.load()) return 0;
    const int received = CAsyncSocketEx::Receive(lpBuf, nBufLen, nFlags);
    if (received > 0) CBaseServer::SetToolBarIncomingData(received);
    return received;
}

void CRelayServerSock::OnReceive(int nErrorCode) {
    if (nErrorCode != 0 || !m_pBuffer || !HoldsHandle() || !Open() || m_bServerDone) return;
    char* const buffer = m_pBuffer.get();
    for (int i = 0; i < kReadsPerNotice; ++i) {
        if (m_pOwner->ClientFull()) {
            m_bReadPaused = true;
            return;
        }
        if (CProxyServer::m_bShuttingDown.load()) return;
        const int received = Receive(buffer, m_MaxReceive);
        if (received == 0 || (received < 0 && !WouldBlock())) {
            ServerClosed(received < 0);
            return;
        }
        if (received < 0 || CProxyServer::getStopFlag()) return;
        // The relay ends here as if the upstream were lost.
        if (!RelayUpstreamBlock(buffer, received)) {
            ServerClosed(true);
            return;
        }
        // Fewer bytes than asked for were all there were: more (or the
        // end) comes with the next notice.
        if (!Open() || received < m_MaxReceive) return;
    }
}

void CRelayServerSock::OnSend(int nErrorCode) {
    if (nErrorCode != 0) return;
    m_bWriteBlocked = false;
    if (!FlushToServer()) {
        CloseBoth();
        return;
    }
    if (!UpstreamFull()) m_pOwner->ResumeReading();
    AdvanceClosing();
}

void CRelayServerSock::OnClose(int nErrorCode) {
    // Every byte was read before the notice.
    ServerClosed(nErrorCode != 0);
}

void CRelayServerSock::Free_Buffer() {
    std::lock_guard lock(m_CS);
    m_pBuffer.reset();
}
