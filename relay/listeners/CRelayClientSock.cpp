#include "relay/listeners/CRelayClientSock.h"

#include <mutex>

#include "platform/DebugOutput.h"
#include "platform/Sockets.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"

namespace {

// Client receives taken per read notice before the loop yields.
constexpr int kReadsPerNotice = 16;

bool WouldBlock() { return CAsyncSocketEx::GetLastError() == platform::WSAEWOULDBLOCK; }

}  // namespace

CRelayClientSock::CRelayClientSock(int maxReceive)
    : m_MaxReceive(maxReceive), m_pBuffer(std::make_unique<char[]>(kBufferSize)) {
    platform::OutputDebugString("\r\nnew connection with internet explorer\r\n");
}

CRelayClientSock::~CRelayClientSock() = default;

void CRelayClientSock::QueueToClient(std::string_view bytes) {
    if (bytes.empty() || !HoldsHandle()) return;
    // Sent at once while nothing waits before them; the rest waits for the
    // write notice, which only a send that would block arms.
    if (m_ToClient.Empty() && !m_bWriteBlocked) {
        const eSendOutcome outcome = SendUntilBlocked(bytes, SendToClient());
        if (outcome == eSendOutcome::Failed) {
            CloseConnection();
            return;
        }
        m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    }
    m_ToClient.Append(bytes);
}

bool CRelayClientSock::ClientFull() const { return m_ToClient.Size() >= CRelayServerSock::kPendingLimit; }

void CRelayClientSock::ResumeReading() {
    if (!m_bReadPaused) return;
    m_bReadPaused = false;
    OnReceive(0);
}

void CRelayClientSock::CloseClientSocket() {
    m_ToClient.Clear();
    CAsyncSocketEx::Close();
}

void CRelayClientSock::ShutDownClientSending() {
    if (HoldsHandle()) CAsyncSocketEx::ShutDown(platform::SD_SEND);
}

void CRelayClientSock::KillObject() { CCommonBase::KillObject(); }

int CRelayClientSock::Send(const void* lpBuf, int nBufLen, int nFlags) {
    const int sent = CAsyncSocketEx::Send(lpBuf, nBufLen, nFlags);
    if (sent > 0) CBaseServer::SetToolBarOutgoingData(sent);
    return sent;
}

void CRelayClientSock::Close() { CloseConnection(); }

void CRelayClientSock::OnReceive(int nErrorCode) {
    if (!m_pBuffer || nErrorCode != 0 || m_bEnded || CProxyServer::getStopFlag()) return;
    char* const buffer = m_pBuffer.get();
    for (int i = 0; i < kReadsPerNotice; ++i) {
        if (const CRelayServerSock* side = ServerSide()) {
            const CRelayServerSock::eLegState state = side->GetState();
            if (state == CRelayServerSock::eLegState::Closing || state == CRelayServerSock::eLegState::Closed) return;
            if (side->UpstreamFull()) {
                m_bReadPaused = true;
                return;
            }
        }
        const int received = CAsyncSocketEx::Receive(buffer, m_MaxReceive);
        if (received == 0 || (received < 0 && !WouldBlock())) {
            ClientEnded(received < 0);
            return;
        }
        if (received < 0 || !OnClientBlock(buffer, received)) return;
        // Fewer bytes than asked for were all there were: more (or the
        // end) comes with the next notice.
        if (received < m_MaxReceive) return;
    }
}

void CRelayClientSock::OnSend(int nErrorCode) {
    if (nErrorCode != 0) return;
    m_bWriteBlocked = false;
    if (!FlushToClient()) {
        CloseConnection();
        return;
    }
    // The upstream may be read again, a closing connection may end.
    if (CRelayServerSock* side = ServerSide()) {
        if (!ClientFull()) side->ResumeReading();
        side->AdvanceClosing();
    }
}

void CRelayClientSock::OnClose(int nErrorCode) { ClientEnded(nErrorCode != 0); }

void CRelayClientSock::ClientEnded(bool failed) {
    if (m_bEnded && !failed) return;
    m_bEnded = true;
    CRelayServerSock* side = ServerSide();
    // A lost client takes nothing more.
    if (side && !failed) {
        side->ClientClosed();
    } else {
        CloseConnection();
    }
}

void CRelayClientSock::CloseConnection() {
    if (CRelayServerSock* side = ServerSide()) {
        side->CloseBoth();
    } else {
        CloseClientSocket();
        KillObject();
    }
}

void CRelayClientSock::Free_Buffer() {
    std::lock_guard lock(m_CS);
    m_pBuffer.reset();
}

bool CRelayClientSock::FlushToClient() {
    if (m_ToClient.Empty() || !HoldsHandle()) return true;
    const eSendOutcome outcome = m_ToClient.SendTo(SendToClient());
    m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    return outcome != eSendOutcome::Failed;
}

SendFunction CRelayClientSock::SendToClient() {
    return [this](const char* data, int length) { return Send(data, length); };
}
