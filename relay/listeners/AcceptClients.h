#pragma once
// The accept step the local listeners share: takes the pending connections
// into new client objects of one class.

#include <memory>

#include "platform/Sockets.h"

// Connections taken per accept notice before the loop yields.
inline constexpr int kAcceptsPerNotice = 64;

// add: the listener's AddClient.
template <typename TClient, typename TListener, typename TAdd>
void AcceptClients(TListener& listener, TAdd add) {
    for (int i = 0; i < kAcceptsPerNotice; ++i) {
        auto client = std::make_unique<TClient>();
        if (!listener.Accept(*client)) {
            client->Free_Objects();
            break;
        }
        // Write notices too: a client that reads slowly gets the rest when
        // it has room again.
        client->AsyncSelect(platform::FD_READ | platform::FD_WRITE | platform::FD_CLOSE);
        add(std::move(client));
    }
}
