#include "relay/upstream/CProxyProbe.h"

#include <utility>

#include "relay/upstream/HandshakeBytes.h"

namespace {
constexpr platform::BYTE kLoopback[4] = {127, 0, 0, 1};
constexpr std::size_t kSocks4ReplyLength = 8;
constexpr std::size_t kSocks5ShortestReply = 2;

void AppendLoopback(std::string& out) {
    out.append(reinterpret_cast<const char*>(kLoopback), sizeof kLoopback);
}

unsigned char At(const std::string& bytes, std::size_t index) {
    return static_cast<unsigned char>(bytes[index]);
}
}  // namespace

CProxyProbe::CProxyProbe(Kind kind, std::string request)
    : kind_(kind), request_(std::move(request)) {}

CProxyProbe CProxyProbe::Http(const std::string& address) {
    return {Kind::AnyReply, "GET / HTTP/1.0\r\nHost: " + address + "\r\n\r\n"};
}

CProxyProbe CProxyProbe::Https(const std::string& address) {
    return {Kind::AnyReply,
            "CONNECT " + address + ":443 HTTP/1.0\r\nHost: " + address + "\r\n\r\n"};
}

CProxyProbe CProxyProbe::Socks4() {
    std::string request{'\x04', '\x02'};
    AppendPort(request, kBindPort);
    AppendLoopback(request);
    request += "+";
    request.push_back('\0');
    return {Kind::Socks4, std::move(request)};
}

CProxyProbe CProxyProbe::Socks5() {
    return {Kind::Socks5, {'\x05', '\x01', '\x00'}};
}

HandshakeStep CProxyProbe::Begin() {
    return HandshakeStep::NeedMore(request_);
}

HandshakeStep CProxyProbe::Parse(std::string_view received) {
    switch (kind_) {
    case Kind::AnyReply:
        return received.empty() ? HandshakeStep::NeedMore()
                                : HandshakeStep::Done(CONNECTION_CONNECTED);
    case Kind::Socks4:
        buffer_.append(received.substr(0, kSocks4ReplyLength - buffer_.size()));
        return ParseSocks4();
    case Kind::Socks5:
        buffer_.append(received);
        return ParseSocks5();
    }
    return HandshakeStep::Done(CONNECTION_FAILED);
}

HandshakeStep CProxyProbe::ParseSocks4() {
    if (buffer_.size() < kSocks4ReplyLength) {
        return HandshakeStep::NeedMore();
    }
    const unsigned char code = At(buffer_, 1);
    return HandshakeStep::Done(code >= 0x5A && code <= 0x5D ? CONNECTION_CONNECTED
                                                            : CONNECTION_FAILED);
}

HandshakeStep CProxyProbe::ParseSocks5() {
    if (buffer_.size() < kSocks5ShortestReply) {
        return HandshakeStep::NeedMore();
    }
    if (greeted_) {
        return HandshakeStep::Done(At(buffer_, 0) == 0x05 ? CONNECTION_CONNECTED
                                                          : CONNECTION_FAILED);
    }
    if (At(buffer_, 0) != 0x05 || At(buffer_, 1) != 0x00) {
        return HandshakeStep::Done(CONNECTION_FAILED);
    }
    greeted_ = true;
    buffer_.erase(0, kSocks5ShortestReply);
    HandshakeStep step = ParseSocks5();
    std::string bind{'\x05', '\x02', '\x00', '\x01'};
    AppendLoopback(bind);
    AppendPort(bind, kBindPort);
    step.send = std::move(bind);
    return step;
}
