#pragma once
// An upstream handshake as a pure step parser: it says what to send and
// judges the bytes received, and never touches a socket. The caller drives it:
//
//   step = handshake.Start();
//   loop: send step.send whole (a failed or short send: CONNECTION_FAILED);
//         when step.state is Done, step.status is the result and, on success,
//         step.surplus goes to the client before any later upstream byte;
//         otherwise receive with the time limit (time-out, error or end of
//         stream: CONNECTION_FAILED) and step = handshake.Feed(bytes).
//
// A reply is read to its exact end, so bytes that follow it in the same
// read are handed back as surplus instead of being lost.

#include <string>
#include <string_view>

#include "relay/pool/eConnectionStatus.h"

struct HandshakeStep {
    enum class State { NeedMore, Done };

    State state = State::NeedMore;
    std::string send;  // bytes to send before reading on or acting on Done
    eConnectionStatus status = CONNECTION_FAILED;  // meaningful once Done
    std::string surplus;  // bytes past the reply's end; only with CONNECTION_CONNECTED

    static HandshakeStep NeedMore(std::string send = {});
    static HandshakeStep Done(eConnectionStatus status, std::string surplus = {});
    bool done() const { return state == State::Done; }
};

class CUpstreamHandshake {
public:
    virtual ~CUpstreamHandshake() = default;

    // The opening request; Done at once when the target cannot be asked for.
    HandshakeStep Start();
    // Judges received bytes. After Done, further bytes are ignored and the
    // same status is given again without surplus.
    HandshakeStep Feed(std::string_view received);

protected:
    virtual HandshakeStep Begin() = 0;
    virtual HandshakeStep Parse(std::string_view received) = 0;

private:
    HandshakeStep Remember(HandshakeStep step);

    bool done_ = false;
    eConnectionStatus result_ = CONNECTION_FAILED;
};
