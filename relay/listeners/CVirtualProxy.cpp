#include "relay/listeners/CVirtualProxy.h"

#include <mutex>
#include <string>

#include "platform/MessageBox.h"
#include "platform/Time.h"
#include "relay/engine/CBaseServer.h"
#include "relay/upstream/CCommonBase.h"

namespace {

constexpr const char* kPortInUseText =
    "The specified port and IP address are used by a different application.\n"
    "Please modify Kavelin settings and try again.\n";
constexpr const char* kPortInUseCaption = "Kavelin";
// Nothing listens beyond loopback.
constexpr const char* kListenAddress = "127.0.0.1";

platform::UINT ListenerPort() {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    return CBaseServer::mSettings.getPrivacySettings()->mListenerPort;
}

}  // namespace

CVirtualProxy::CVirtualProxy() = default;

CVirtualProxy::~CVirtualProxy() {
    FreeClientsList(true);
}

bool CVirtualProxy::Start() {
    std::lock_guard lock(m_ListCS);
    const platform::UINT port = ListenerPort();
    bool listening = false;
    // Port 0 would listen on a port nobody configured.
    if (port >= 1 && port <= 65535) {
        bool created = false;
        for (int attempt = 1; attempt <= kCreateAttempts && !created; ++attempt) {
            if (attempt > 1) platform::Sleep(kCreateRetryMs);
            created = Create(port, SOCK_STREAM, kAllEvents, kListenAddress);
        }
        listening = created && Listen(5);
        if (created && !listening) CAsyncSocketEx::Close();
    }
    if (!listening) {
        platform::MessageBox(nullptr, kPortInUseText, kPortInUseCaption, platform::MB_OK | platform::MB_ICONINFORMATION);
    }
    return listening;
}

bool CVirtualProxy::Stop() {
    std::lock_guard lock(m_ListCS);
    if (HoldsHandle()) CAsyncSocketEx::ShutDown(platform::SD_BOTH);
    Close();
    ShutdownClientList();
    return true;
}

void CVirtualProxy::Close() {
    CAsyncSocketEx::Close();
}

void CVirtualProxy::ShutdownClientList() {
    std::lock_guard lock(m_ListCS);
    for (const auto& client : m_Clients) {
        if (client->HoldsHandle()) client->ShutDown(platform::SD_BOTH);
    }
    for (const auto& client : m_Clients) {
        if (client->HoldsHandle()) client->Close();
        client->KillObject();
    }
}

void CVirtualProxy::FreeClientsList(bool all) {
    std::lock_guard lock(m_ListCS);
    auto kept = m_Clients.begin();
    for (auto& client : m_Clients) {
        if (client->IsSafeToDelete()) {
            client->Free_Objects();
            client.reset();
        } else if (all) {
            // A chain-setup worker that outlived every wait still uses it:
            // it is given up rather than freed under the worker.
            client->Free_Objects();
            static_cast<void>(client.release());
        } else {
            *kept++ = std::move(client);
        }
    }
    m_Clients.erase(kept, m_Clients.end());
}

void CVirtualProxy::DeleteClosedSockets() {
    std::lock_guard lock(m_ListCS);
    std::erase_if(m_Clients, [](const std::unique_ptr<CCommonBase>& client) {
        // A connection that closed kills itself, so its setup ends too.
        if (!client->IsObjectKilled() || client->HoldsHandle() || !client->IsSafeToDelete()) return false;
        client->Free_Objects();
        return true;
    });
}

bool CVirtualProxy::HasBusyClients() {
    std::lock_guard lock(m_ListCS);
    for (const auto& client : m_Clients) {
        if (!client->IsSafeToDelete()) return true;
    }
    return false;
}

int CVirtualProxy::ClientCount() {
    std::lock_guard lock(m_ListCS);
    return static_cast<int>(m_Clients.size());
}

void CVirtualProxy::AddClient(std::unique_ptr<CCommonBase> client) {
    std::lock_guard lock(m_ListCS);
    m_Clients.push_back(std::move(client));
}
