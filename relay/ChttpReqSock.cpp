#include "relay/ChttpReqSock.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "kvres/RelayStrings.h"
#include "platform/Sockets.h"
#include "relay/CBaseServer.h"
#include "relay/CProxyServer.h"

namespace {

// Client receives taken per read notice before the loop yields.
constexpr int kReadsPerNotice = 16;

constexpr std::string_view kBlockPageHead = "HTTP/1.0 403 Forbidden\r\nContent-Type: text/html\r\n\r\n";
constexpr unsigned kServerBlockedPage = 1001;
constexpr unsigned kAdBlockedPage = 1002;

bool WouldBlock() { return CAsyncSocketEx::GetLastError() == platform::WSAEWOULDBLOCK; }

}  // namespace

ChttpReqSock::ChttpReqSock() : m_Response(this), m_pBuffer(std::make_unique<char[]>(kBufferSize)) {}

ChttpReqSock::~ChttpReqSock() = default;

void ChttpReqSock::QueueToClient(std::string_view bytes) {
    if (bytes.empty() || !HoldsHandle()) return;
    // Sent at once while nothing waits before them; the rest waits for the
    // write notice, which only a send that would block arms.
    if (m_ToClient.Empty() && !m_bWriteBlocked) {
        const eSendOutcome outcome = SendUntilBlocked(bytes, SendToClient());
        if (outcome == eSendOutcome::Failed) {
            m_Response.CloseBoth();
            return;
        }
        m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    }
    m_ToClient.Append(bytes);
}

bool ChttpReqSock::ClientFull() const { return m_ToClient.Size() >= ChttpResponseSock::kPendingLimit; }

bool ChttpReqSock::FlushToClient() {
    if (m_ToClient.Empty() || !HoldsHandle()) return true;
    const eSendOutcome outcome = m_ToClient.SendTo(SendToClient());
    m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    return outcome != eSendOutcome::Failed;
}

SendFunction ChttpReqSock::SendToClient() {
    return [this](const char* data, int length) { return Send(data, length); };
}

void ChttpReqSock::ResumeReading() {
    if (!m_bReadPaused) return;
    m_bReadPaused = false;
    OnReceive(0);
}

void ChttpReqSock::CloseClientSocket() {
    m_ToClient.Clear();
    CAsyncSocketEx::Close();
}

void ChttpReqSock::SendBlockPage(unsigned id) {
    std::string page(kBlockPageHead);
    page += kvres::RelayStrings().LoadString(id);
    m_Response.SendBlockAnswer(page);
}

void ChttpReqSock::Close() {
    m_Response.CloseBoth();
}

int ChttpReqSock::Send(const void* lpBuf, int nBufLen, int nFlags) {
    const int sent = CAsyncSocketEx::Send(lpBuf, nBufLen, nFlags);
    if (sent > 0) CBaseServer::SetToolBarOutgoingData(sent);
    return sent;
}

void ChttpReqSock::OnReceive(int nErrorCode) {
    if (!m_pBuffer || nErrorCode != 0 || CProxyServer::getStopFlag()) return;
    char* const buffer = m_pBuffer.get();
    for (int i = 0; i < kReadsPerNotice; ++i) {
        const ChttpResponseSock::eLegState state = m_Response.GetState();
        if (state == ChttpResponseSock::eLegState::Closing || state == ChttpResponseSock::eLegState::Closed) return;
        if (m_Response.UpstreamFull()) {
            m_bReadPaused = true;
            return;
        }
        const int received = CAsyncSocketEx::Receive(buffer, kMaxReceive);
        if (received == 0 || (received < 0 && !WouldBlock())) {
            m_Response.ClientClosed();
            return;
        }
        if (received < 0) return;
        // Bytes for a tunnel (also those sent before it is open) pass as they
        // are.
        if (state == ChttpResponseSock::eLegState::Tunnel ||
            (state == ChttpResponseSock::eLegState::SettingUp && m_Response.GetTunnel())) {
            m_Response.ForwardTunnelData(buffer, received);
            continue;
        }
        buffer[received] = '\0';
        int length = received;
        const eRequestState verdict = CBaseServer::FilterSend(buffer, length);
        length = std::clamp(length, 0, kBufferSize - 1);
        switch (verdict) {
        case REQUEST_STATE_PASS:
            if (m_Response.HandleHttpRequest(buffer, length) != 0) return;
            break;
        case REQUEST_STATE_BLOCK_SERVER:
            SendBlockPage(kServerBlockedPage);
            return;
        case REQUEST_STATE_BLOCK_AD:
            SendBlockPage(kAdBlockedPage);
            return;
        default:
            m_Response.CloseBoth();
            return;
        }
    }
}

void ChttpReqSock::OnSend(int nErrorCode) {
    if (nErrorCode != 0) return;
    m_bWriteBlocked = false;
    if (!FlushToClient()) {
        m_Response.CloseBoth();
        return;
    }
    if (!ClientFull()) m_Response.ResumeReading();
    m_Response.FinishClosingIfDone();
}

void ChttpReqSock::OnClose(int) {
    m_Response.ClientClosed();
}

void ChttpReqSock::Free_Objects() {
    Free_Buffer();
    m_Response.Free_Buffer();
}

bool ChttpReqSock::IsSafeToDelete() { return CCommonBase::IsSafeToDelete() && m_Response.IsSafeToDelete(); }

bool ChttpReqSock::IsObjectKilled() { return CCommonBase::IsObjectKilled() && m_Response.IsObjectKilled(); }

void ChttpReqSock::KillObject() {
    CCommonBase::KillObject();
    m_Response.KillObject();
}

void ChttpReqSock::Free_Buffer() {
    std::lock_guard lock(m_CS);
    m_pBuffer.reset();
}
