#include "relay/toolbar/CToolbarSrvr.h"

#include <mutex>
#include <string>

#include "platform/MessageBox.h"
#include "platform/Time.h"

namespace {

constexpr const char* kListenErrorText = "toolbar comunicator error listening to at port 1022.\n";
constexpr const char* kListenErrorCaption = "Kavelin";
// Nothing listens beyond loopback.
constexpr const char* kListenAddress = "127.0.0.1";
// Connections taken per accept notice before the loop yields.
constexpr int kAcceptsPerNotice = 16;

}  // namespace

CToolbarSrvr::CToolbarSrvr() = default;

CToolbarSrvr::~CToolbarSrvr() {
    FreeClientsList();
}

bool CToolbarSrvr::Start() {
    std::lock_guard lock(m_StartStopCS);
    const platform::UINT port = ToolbarPortOverride().value_or(kToolbarChannelPort);
    bool created = false;
    for (int attempt = 1; attempt <= kCreateAttempts && !created; ++attempt) {
        if (attempt > 1) platform::Sleep(kCreateRetryMs);
        created = Create(port, SOCK_STREAM, kAllEvents, kListenAddress);
    }
    const bool listening = created && Listen(5);
    if (created && !listening) Close();
    if (!listening) {
        platform::MessageBox(nullptr, kListenErrorText, kListenErrorCaption, platform::MB_OK | platform::MB_ICONINFORMATION);
        return false;
    }
    std::string address;
    platform::UINT bound = 0;
    GetSockName(address, bound);
    m_nPort.store(bound);
    return true;
}

bool CToolbarSrvr::Stop() {
    {
        std::lock_guard lock(m_StartStopCS);
        m_nPort.store(0);
        if (HoldsHandle()) ShutDown(platform::SD_BOTH);
        Close();
        ShutdownClientList();
    }
    FreeClientsList();
    return true;
}

void CToolbarSrvr::OnAccept(int nErrorCode) {
    if (nErrorCode != 0) return;
    ReapClosedClients();
    for (int i = 0; i < kAcceptsPerNotice; ++i) {
        auto client = std::make_unique<CTlBrReq>();
        if (!Accept(*client)) break;
        if (m_Clients.size() >= kMaxClients) {
            client->Close();
            continue;
        }
        // Write notices too: the rest of a notice goes when there is room.
        client->AsyncSelect(platform::FD_READ | platform::FD_WRITE | platform::FD_CLOSE);
        m_Clients.push_back(std::move(client));
    }
}

template <typename F>
void CToolbarSrvr::ForEachClient(F&& notify) {
    ReapClosedClients();
    for (const auto& client : m_Clients) {
        if (client->HoldsHandle()) notify(*client);
    }
}

void CToolbarSrvr::Broadcast_DataArrived(unsigned long total) {
    ForEachClient([total](CTlBrReq& client) { client.Notify_DataArrived(total); });
}

void CToolbarSrvr::Broadcast_Sent(unsigned long total) {
    ForEachClient([total](CTlBrReq& client) { client.Notify_DataSent(total); });
}

void CToolbarSrvr::Broadcast_StatusChange(short value) {
    ForEachClient([value](CTlBrReq& client) { client.Notify_StatusChange(value); });
}

void CToolbarSrvr::ShutdownClientList() {
    for (const auto& client : m_Clients) {
        if (client->HoldsHandle()) client->ShutDown(platform::SD_BOTH);
    }
    for (const auto& client : m_Clients) client->Close();
}

void CToolbarSrvr::FreeClientsList() {
    while (!m_Clients.empty()) m_Clients.erase(m_Clients.begin());
}

void CToolbarSrvr::ReapClosedClients() {
    std::erase_if(m_Clients, [](const std::unique_ptr<CTlBrReq>& client) { return !client->HoldsHandle(); });
}
