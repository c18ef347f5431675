#pragma once
// The listening socket shared by the engine's local proxies. It owns the
// client connections it accepted; they stay in its list until they are
// closed on both sides and no chain setup uses them (then the next accept
// reaps them) or until FreeClientsList(true).

#include <memory>
#include <vector>

#include "platform/CriticalSection.h"
#include "platform/SocketNotify.h"
#include "platform/Sockets.h"
#include "relay/sockets/CAsyncSocketEx.h"
#include "relay/upstream/CCommonBase.h"

class CVirtualProxy : public CAsyncSocketEx {
public:
    // Attempts to create the listening socket before giving up, and the
    // pause between them.
    static constexpr int kCreateAttempts = 11;
    static constexpr int kCreateRetryMs = 200;

    CVirtualProxy();
    ~CVirtualProxy() override;

    // Listens on 127.0.0.1 and the engine settings' listener port; on
    // failure shows the port-in-use message box and returns false.
    bool Start();
    // Closes the listening socket, shuts every client down and kills it.
    bool Stop();
    void ShutdownClientList();
    // Frees the clients that are safe to delete, or all of them.
    void FreeClientsList(bool all);
    // Frees the clients closed on both sides (they kill themselves when they
    // close) that no setup uses.
    void DeleteClosedSockets();
    // True while a chain-setup worker still uses a client.
    bool HasBusyClients();
    int ClientCount();

    // CAsyncSocketEx
    void OnAccept(int nErrorCode) override = 0;
    void Close() override;

protected:
    // Takes the pending connections (a bounded number per notice) into new
    // client objects of one class, then reaps the closed ones. An object is
    // made only for a connection that was accepted.
    template <typename TClient>
    void AcceptClients();
    // Takes an accepted client into the list.
    void AddClient(std::unique_ptr<CCommonBase> client);

private:
    // Connections taken per accept notice before the loop yields.
    static constexpr int kAcceptsPerNotice = 64;

    std::vector<std::unique_ptr<CCommonBase>> m_Clients;
    platform::CriticalSection m_ListCS;
};

template <typename TClient>
void CVirtualProxy::AcceptClients() {
    for (int i = 0; i < kAcceptsPerNotice; ++i) {
        const platform::SOCKET accepted = platform::accept(GetSocketHandle(), nullptr, nullptr);
        if (accepted == platform::INVALID_SOCKET) break;
        auto client = std::make_unique<TClient>();
        // Write notices too: a client that reads slowly gets the rest when
        // it has room again.
        if (!client->Attach(accepted, platform::FD_READ | platform::FD_WRITE | platform::FD_CLOSE)) {
            if (client->HoldsHandle()) {
                client->Close();
            } else {
                platform::closesocket(accepted);
            }
            client->Free_Objects();
            continue;
        }
        AddClient(std::move(client));
    }
    DeleteClosedSockets();
}
