#pragma once
// The destination side of one local SOCKS connection: takes the client's
// greeting and request (the subclass parses them), starts the chain setup
// for the destination, answers once the upstream is attached, then relays
// bytes unchanged both ways. Embedded in its client side (its owner); every
// call runs on the proxy-server thread.
//
// The life of a connection: Idle (the handshake runs: the request is not
// whole yet) -> SettingUp (one setup at a time; client bytes are kept,
// bounded) -> Tunnel (after the success reply) -> Closing (flushing what
// one side still has to take) -> Closed. A failure answers the protocol's
// failure reply and closes.

#include <string>
#include <string_view>

#include "relay/listeners/CRelayServerSock.h"
#include "relay/listeners/IRelayClient.h"
#include "relay/socks/SocksStep.h"

class CSocksRelaySock : public CRelayServerSock {
public:
    // Bytes one upstream receive takes.
    static constexpr int kMaxReceive = 10239;

    CSocksRelaySock(IRelayClient* owner, eRequestType type);
    ~CSocksRelaySock() override;

    // One block of client data, in any state.
    void HandleClientData(const char* data, int length);
    // The client ended its stream: an unfinished request gets the failure
    // reply; a tunnel flushes what the upstream still has to take; then both
    // close.
    void ClientClosed() override;

protected:
    // The request parser of the protocol.
    virtual SocksStep ParseRequest(std::string_view bytes) = 0;
    virtual std::string SuccessReply() = 0;
    // The failure reply of the current stage.
    virtual std::string FailureReply() = 0;

    // CRelayServerSock
    void SendFailureAnswer() override;
    void OpenRelay() override;

private:
    void StartSetup(const SocksStep& request);

    const eRequestType m_Type;
};
