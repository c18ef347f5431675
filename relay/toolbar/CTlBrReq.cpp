#include "relay/toolbar/CTlBrReq.h"

#include <mutex>
#include <string_view>

#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/EngineMessages.h"
#include "relay/engine/eServerState.h"

namespace {

// Receives taken per read notice before the loop yields; the notice comes
// again while bytes wait.
constexpr int kReadsPerNotice = 16;
constexpr int kReadSize = 64;

bool ServerRunning() {
    // The thread object goes away at engine exit, which sets the flag first.
    if (CProxyServer::m_bShuttingDown.load()) return false;
    const CProxyServer* server = CBaseServer::mpProxyServer.load();
    return server && server->IsRunning();
}

}  // namespace

CTlBrReq::CTlBrReq() = default;

CTlBrReq::~CTlBrReq() = default;

void CTlBrReq::OnReceive(int nErrorCode) {
    if (nErrorCode != 0) return;
    for (int i = 0; i < kReadsPerNotice && HoldsHandle(); ++i) {
        char bytes[kReadSize];
        const int got = Receive(bytes, kReadSize);
        if (got == 0 || (got < 0 && GetLastError() != platform::WSAEWOULDBLOCK)) {
            Drop();
            return;
        }
        if (got < 0) return;
        // A request may come in pieces, several in one read.
        for (int k = 0; k < got; ++k) {
            m_Request[m_nRequestBytes++] = static_cast<std::uint8_t>(bytes[k]);
            if (m_nRequestBytes < kToolbarRequestSize) continue;
            m_nRequestBytes = 0;
            if (!HandleRequest()) {
                Drop();
                return;
            }
        }
    }
}

bool CTlBrReq::HandleRequest() {
    const std::uint8_t command = m_Request[1];
    if (m_Request[0] != 0 || command < TB_STOP_SERVER || command > TB_QUERY_PRIVACY) return false;
    switch (command) {
    case TB_STOP_SERVER:
        CProxyServer::PostToThread(WM_RELAY_STOP_SERVER, 0, 0);
        break;
    case TB_START_SERVER:
        CProxyServer::PostToThread(WM_RELAY_START_SERVER, 0, 0);
        break;
    case TB_QUERY_SERVER:
        SendNotice(MakeStatusNotice(ServerRunning() ? SERVER_RUNNING : SERVER_STOPPED));
        break;
    case TB_QUERY_IN_FILTER: {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        const bool on = CBaseServer::mSettings.getFiltrationSettings()->mInFiltration.getEnable();
        SendNotice(MakeStatusNotice(on ? TB_IN_FILTER_IS_ON : TB_IN_FILTER_IS_OFF));
        break;
    }
    case TB_QUERY_OUT_FILTER: {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        const bool on = CBaseServer::mSettings.getFiltrationSettings()->mOutFiltration.IsEnable() > 0;
        SendNotice(MakeStatusNotice(on ? TB_OUT_FILTER_IS_ON : TB_OUT_FILTER_IS_OFF));
        break;
    }
    case TB_QUERY_PRIVACY: {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        const bool on = CBaseServer::mSettings.getPrivacySettings()->mEnableIPShielding != 0;
        SendNotice(MakeStatusNotice(on ? TB_PRIVACY_IS_ON : TB_PRIVACY_IS_OFF));
        break;
    }
    default:
        // 4..9: the control panel performs the switch.
        CBaseServer::PostToolBarRequest(command);
        break;
    }
    return true;
}

int CTlBrReq::Notify_DataArrived(unsigned long total) {
    SendNotice(MakeToolbarNotice(TB_NOTICE_RECEIVED, static_cast<std::uint32_t>(total)));
    return 1;
}

int CTlBrReq::Notify_DataSent(unsigned long total) {
    SendNotice(MakeToolbarNotice(TB_NOTICE_SENT, static_cast<std::uint32_t>(total)));
    return 1;
}

int CTlBrReq::Notify_StatusChange(short value) {
    SendNotice(MakeStatusNotice(static_cast<unsigned>(value)));
    return 1;
}

void CTlBrReq::SendNotice(const TOOLBAR_NOTICE& notice) {
    std::lock_guard lock(m_NoticeCS);
    if (!HoldsHandle()) return;
    std::string_view bytes(reinterpret_cast<const char*>(notice.data()), notice.size());
    if (m_Pending.Empty() && !m_bWriteBlocked) {
        const eSendOutcome outcome =
            SendUntilBlocked(bytes, [this](const char* data, int length) { return Send(data, length); });
        if (outcome == eSendOutcome::Failed) {
            Drop();
            return;
        }
        m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    }
    m_Pending.Append(bytes);
    // A toolbar that stopped reading gets no torn notices: it goes.
    if (m_Pending.Size() > kPendingLimit) Drop();
}

void CTlBrReq::OnSend(int nErrorCode) {
    std::lock_guard lock(m_NoticeCS);
    if (nErrorCode != 0) {
        Drop();
        return;
    }
    const eSendOutcome outcome =
        m_Pending.SendTo([this](const char* data, int length) { return Send(data, length); });
    m_bWriteBlocked = outcome == eSendOutcome::WouldBlock;
    if (outcome == eSendOutcome::Failed) Drop();
}

void CTlBrReq::OnClose(int) {
    Drop();
}

void CTlBrReq::Drop() {
    std::lock_guard lock(m_NoticeCS);
    m_Pending.Clear();
    m_nRequestBytes = 0;
    Close();
}
