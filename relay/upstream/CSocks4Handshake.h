#pragma once
// SOCKS4 CONNECT through a proxy: 04 01, port, address, empty user id. The
// reply is judged once all of its 8 bytes are in: byte 1 0x5A is granted;
// 0x5B, 0x5C and 0x5D are refusals of the destination; anything else means
// the proxy failed.

#include <cstdint>
#include <string>

#include "platform/Types.h"
#include "relay/upstream/CUpstreamHandshake.h"

class CSocks4Handshake : public CUpstreamHandshake {
public:
    static constexpr std::size_t kReplyLength = 8;

    // address in network byte order (as ConvertIP gives it), port in host order.
    CSocks4Handshake(platform::DWORD address, std::uint16_t port);

    // The 9 request bytes.
    static std::string Request(platform::DWORD address, std::uint16_t port);

protected:
    HandshakeStep Begin() override;
    HandshakeStep Parse(std::string_view received) override;

private:
    platform::DWORD address_;
    std::uint16_t port_;
    std::string reply_;
};
