#include "relay/upstream/CUpstreamHandshake.h"

#include <utility>

HandshakeStep HandshakeStep::NeedMore(std::string send) {
    HandshakeStep step;
    step.send = std::move(send);
    return step;
}

HandshakeStep HandshakeStep::Done(eConnectionStatus status, std::string surplus) {
    HandshakeStep step;
    step.state = State::Done;
    step.status = status;
    if (status == CONNECTION_CONNECTED) {
        step.surplus = std::move(surplus);
    }
    return step;
}

HandshakeStep CUpstreamHandshake::Start() {
    if (done_) {
        return HandshakeStep::Done(result_);
    }
    return Remember(Begin());
}

HandshakeStep CUpstreamHandshake::Feed(std::string_view received) {
    if (done_) {
        return HandshakeStep::Done(result_);
    }
    return Remember(Parse(received));
}

HandshakeStep CUpstreamHandshake::Remember(HandshakeStep step) {
    if (step.done()) {
        done_ = true;
        result_ = step.status;
    }
    return step;
}
