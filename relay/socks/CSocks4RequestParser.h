#pragma once
// The request of a SOCKS4 client: 04 01, port (2 bytes), IPv4 address (4
// bytes), a user id ended by a zero byte. An address 0.0.0.x (x not 0) asks
// for a host name, which follows the user id, ended by a zero byte too
// (SOCKS4a). The request is accumulated across reads to its end (user id
// and name are bounded) and judged from its first bytes: another version or
// command fails at once.

#include <string>
#include <string_view>

#include "relay/socks/SocksStep.h"

class CSocks4RequestParser {
public:
    static constexpr std::size_t kFixedPart = 8;
    static constexpr std::size_t kMaxUserId = 255;
    static constexpr std::size_t kMaxName = 255;

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
