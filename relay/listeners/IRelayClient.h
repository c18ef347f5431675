#pragma once
// What the destination side of a local connection asks of its client side:
// bytes for the client (sent now or kept, bounded), whether the client is
// behind, and the end of the client's socket. Client sides of every local
// listener implement it, so one destination side serves several listeners.

#include <string_view>

class IRelayClient {
public:
    // Sends now what the client can take and keeps the rest.
    virtual void QueueToClient(std::string_view bytes) = 0;
    // True while the client holds the limit already: the upstream waits.
    virtual bool ClientFull() const = 0;
    virtual bool ClientPendingEmpty() const = 0;
    // The upstream has room again: read the client if it was paused.
    virtual void ResumeReading() = 0;
    // Closes the client's socket only.
    virtual void CloseClientSocket() = 0;
    // The upstream ended its stream and the client took every byte: the
    // client gets the end of stream too and may go on sending.
    virtual void ShutDownClientSending() = 0;
    virtual void KillObject() = 0;

protected:
    ~IRelayClient() = default;
};
