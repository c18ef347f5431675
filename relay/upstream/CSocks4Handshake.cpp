#include "relay/upstream/CSocks4Handshake.h"

#include <algorithm>

#include "relay/upstream/HandshakeBytes.h"

CSocks4Handshake::CSocks4Handshake(platform::DWORD address, std::uint16_t port)
    : address_(address), port_(port) {}

std::string CSocks4Handshake::Request(platform::DWORD address, std::uint16_t port) {
    std::string request{'\x04', '\x01'};
    AppendPort(request, port);
    AppendAddress(request, address);
    request.push_back('\0');
    return request;
}

HandshakeStep CSocks4Handshake::Begin() {
    if (port_ == 0) {
        return HandshakeStep::Done(CONNECTION_REFUSED);
    }
    return HandshakeStep::NeedMore(Request(address_, port_));
}

HandshakeStep CSocks4Handshake::Parse(std::string_view received) {
    const std::size_t wanted = kReplyLength - reply_.size();
    reply_.append(received.substr(0, wanted));
    if (reply_.size() < kReplyLength) {
        return HandshakeStep::NeedMore();
    }
    const std::string surplus(received.substr(std::min(wanted, received.size())));
    switch (static_cast<unsigned char>(reply_[1])) {
    case 0x5A:
        return HandshakeStep::Done(CONNECTION_CONNECTED, surplus);
    case 0x5B:
    case 0x5C:
    case 0x5D:
        return HandshakeStep::Done(CONNECTION_REFUSED);
    default:
        return HandshakeStep::Done(CONNECTION_FAILED);
    }
}
