#include "relay/upstream/CSocks5Handshake.h"

#include <cstdint>

#include "relay/upstream/HandshakeBytes.h"

namespace {
constexpr std::size_t kGreetingReplyLength = 2;
constexpr std::size_t kFixedReplyPart = 4;  // version, status, reserved, address type

unsigned char At(const std::string& bytes, std::size_t index) {
    return static_cast<unsigned char>(bytes[index]);
}
}  // namespace

CSocks5Handshake::CSocks5Handshake(platform::DWORD address, std::uint16_t port)
    : address_(address), port_(port) {}

std::string CSocks5Handshake::Greeting() {
    return {'\x05', '\x01', '\x00'};
}

std::string CSocks5Handshake::Request(platform::DWORD address, std::uint16_t port) {
    std::string request{'\x05', '\x01', '\x00', '\x01'};
    AppendAddress(request, address);
    AppendPort(request, port);
    return request;
}

std::size_t CSocks5Handshake::ReplyLength(std::string_view reply) {
    if (reply.size() < kFixedReplyPart) {
        return 0;
    }
    switch (static_cast<unsigned char>(reply[3])) {
    case 0x01:
        return kFixedReplyPart + 4 + 2;
    case 0x04:
        return kFixedReplyPart + 16 + 2;
    case 0x03:
        if (reply.size() < kFixedReplyPart + 1) {
            return 0;
        }
        return kFixedReplyPart + 1 + static_cast<unsigned char>(reply[4]) + 2;
    default:
        return SIZE_MAX;
    }
}

HandshakeStep CSocks5Handshake::Begin() {
    if (port_ == 0) {
        return HandshakeStep::Done(CONNECTION_REFUSED);
    }
    return HandshakeStep::NeedMore(Greeting());
}

HandshakeStep CSocks5Handshake::Parse(std::string_view received) {
    buffer_.append(received);
    return greeted_ ? ParseConnectReply() : ParseGreetingReply();
}

HandshakeStep CSocks5Handshake::ParseGreetingReply() {
    if (buffer_.size() < kGreetingReplyLength) {
        return HandshakeStep::NeedMore();
    }
    if (At(buffer_, 0) != 0x05 || At(buffer_, 1) != 0x00) {
        return HandshakeStep::Done(CONNECTION_FAILED);
    }
    greeted_ = true;
    // Anything after the method choice already belongs to the next reply.
    buffer_.erase(0, kGreetingReplyLength);
    HandshakeStep step = ParseConnectReply();
    step.send = Request(address_, port_);
    return step;
}

HandshakeStep CSocks5Handshake::ParseConnectReply() {
    const std::size_t length = ReplyLength(buffer_);
    if (length == 0) {
        return HandshakeStep::NeedMore();
    }
    if (At(buffer_, 0) != 0x05 || length == SIZE_MAX) {
        return HandshakeStep::Done(CONNECTION_FAILED);
    }
    if (buffer_.size() < length) {
        return HandshakeStep::NeedMore();
    }
    if (At(buffer_, 1) != 0x00) {
        return HandshakeStep::Done(CONNECTION_REFUSED);
    }
    return HandshakeStep::Done(CONNECTION_CONNECTED, buffer_.substr(length));
}
