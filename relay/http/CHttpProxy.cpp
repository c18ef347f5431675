#include "relay/http/CHttpProxy.h"

#include <memory>

#include "relay/http/ChttpReqSock.h"

namespace {

// Connections taken per accept notice before the loop yields.
constexpr int kAcceptsPerNotice = 64;

}  // namespace

void CHttpProxy::OnAccept(int nErrorCode) {
    if (nErrorCode != 0) return;
    for (int i = 0; i < kAcceptsPerNotice; ++i) {
        auto client = std::make_unique<ChttpReqSock>();
        if (!Accept(*client)) {
            client->Free_Objects();
            break;
        }
        // Write notices too: a client that reads slowly gets the rest of a
        // response when it has room again.
        client->AsyncSelect(platform::FD_READ | platform::FD_WRITE | platform::FD_CLOSE);
        AddClient(std::move(client));
    }
    DeleteClosedSockets();
}
