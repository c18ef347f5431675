#pragma once
// The request of a SOCKS4 client: 04 01, port (2 bytes), IPv4 address (4
// bytes), a user id ended by a zero byte. The request is accumulated across
// reads up to that zero byte (the user id is bounded) and judged from its
// first bytes: another version or command fails at once. An address
// 0.0.0.x (x not 0) asks for a name, which this server does not resolve.

#include <string>
#include <string_view>

#include "relay/socks/SocksStep.h"

class CSocks4RequestParser {
public:
    static constexpr std::size_t kFixedPart = 8;
    static constexpr std::size_t kMaxUserId = 255;

    // 00 5A, then the bound port and address (network order).
    static std::string SuccessReply(std::uint16_t networkPort, platform::DWORD networkAddress);
    // 00 5B and six zero bytes.
    static std::string FailureReply();

    // After Done or Failed, further bytes give the same state again.
    SocksStep Feed(std::string_view bytes);

private:
    SocksStep Judge() const;

    std::string buffer_;
    eSocksState state_ = eSocksState::NeedMore;
};
