#pragma once
// SOCKS5 CONNECT through a proxy without authentication. The greeting
// 05 01 00 must be answered with exactly 05 00 (any other method, 05 02
// included, means the proxy is unusable); then 05 01 00 01, address, port is
// sent and the reply is read to the end its address type gives (IPv4 10
// bytes, IPv6 22, a name 7 plus its length). Version 05 with status 00 is
// granted; another status is a refusal of the destination; a wrong version
// or an unknown address type means the proxy failed.

#include <cstdint>
#include <string>

#include "platform/Types.h"
#include "relay/upstream/CUpstreamHandshake.h"

class CSocks5Handshake : public CUpstreamHandshake {
public:
    // address in network byte order (as ConvertIP gives it), port in host order.
    CSocks5Handshake(platform::DWORD address, std::uint16_t port);

    // The 3 greeting bytes and the 10 request bytes.
    static std::string Greeting();
    static std::string Request(platform::DWORD address, std::uint16_t port);

    // Length of a reply from its first bytes: 0 while fewer than its fixed
    // part are in, SIZE_MAX for an unknown address type.
    static std::size_t ReplyLength(std::string_view reply);

protected:
    HandshakeStep Begin() override;
    HandshakeStep Parse(std::string_view received) override;

private:
    HandshakeStep ParseGreetingReply();
    HandshakeStep ParseConnectReply();

    platform::DWORD address_;
    std::uint16_t port_;
    bool greeted_ = false;
    std::string buffer_;
};
